#pragma once

#include <QString>
#include <memory>

class QMessageBox;
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
    // A question as Ask shows it: Yes and No in the language in force, No the default, so that
    // Enter never says Yes to something the user has not read.
    static std::unique_ptr<QMessageBox> Question(const QString& caption, const QString& text,
                                                 QWidget* owner);
    void Show(Icon icon, const QString& caption, const QString& text, QWidget* owner) override;
    bool Ask(const QString& caption, const QString& text, QWidget* owner) override;
};
