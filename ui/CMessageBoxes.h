#pragma once

#include <QString>

class QWidget;

// Shows the program's modal message boxes; behind an interface so that tests can answer them
// without blocking. Called on the user-interface thread.
class CMessageBoxes {
public:
    enum class Icon { Error, Warning };

    virtual ~CMessageBoxes();
    virtual void Show(Icon icon, const QString& caption, const QString& text, QWidget* owner) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool Ask(const QString& caption, const QString& text, QWidget* owner) = 0;
};

// QMessageBox with an OK button, or Yes and No.
class CQtMessageBoxes : public CMessageBoxes {
public:
    void Show(Icon icon, const QString& caption, const QString& text, QWidget* owner) override;
    bool Ask(const QString& caption, const QString& text, QWidget* owner) override;
};
