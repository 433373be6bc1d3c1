#pragma once

#include <QDialog>

#include <QStringList>
#include <functional>
#include <string>
#include "session/CKochModel.h"

class CNotifier;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// "Kochova metoda": the course order and the lesson to practise. The order is chosen from the
// shipped orders, read from a user's order file (`chooseOrderFile` names it; without it there is
// no such button) or edited like the letters set (capitals, characters without a code refused
// with a warning); the lesson's characters and its newest one are shown as the lesson changes.
// The rules are the model's; the dialog tells it what the user did and renders its view.
// User-interface thread only.
class CKochDlg : public QDialog {
    Q_OBJECT

public:
    CKochDlg(const std::string& order, int lesson, int minimumSent, const QString& languageFile,
             CNotifier& notifier, QWidget* parent = nullptr,
             std::function<QString()> chooseOrderFile = {});

    // The order as the course will use it, and the lesson within it.
    std::string GetOrder() const;
    int GetLesson() const;
    // The sent characters a check needs to offer the next lesson.
    int GetMinimumSent() const;

    void OnOrderChange();
    void OnLessonChange();
    void OnDefaultOrder();
    void OnOrderListChange();
    void OnOrderFile();

    QLineEdit* OrderEdit() const { return orderEdit; }
    QSpinBox* LessonSpin() const { return lessonSpin; }
    QLabel* LessonLabel() const { return lessonLabel; }
    QSpinBox* MinimumSpin() const { return minimumSpin; }
    QPushButton* OkButton() const { return okButton; }
    QComboBox* OrderList() const { return orderList; }
    QPushButton* FileButton() const { return fileButton; }
    QLabel* FileLabel() const { return fileLabel; }

    // The built-in captions, in the order of the language file "localKM".
    static QStringList CzechCaptions();

private:
    // Shows the model's view on every widget, in one place; the order's caret goes to `caret`.
    void Render(int caret);

    CKochModel model;
    bool rendering = false;
    std::function<QString()> chooseFile;
    QStringList captions;
    QComboBox* orderList = nullptr;
    QPushButton* fileButton = nullptr;
    QLabel* fileLabel = nullptr;
    QLineEdit* orderEdit = nullptr;
    QSpinBox* lessonSpin = nullptr;
    QLabel* lessonLabel = nullptr;
    QSpinBox* minimumSpin = nullptr;
    QPushButton* defaultButton = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
};
