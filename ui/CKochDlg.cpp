#include "ui/CKochDlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/AsciiText.h"
#include "core/CMorseTable.h"
#include "training/CCourseOrders.h"
#include "training/CKochCourse.h"
#include "ui/Cp1250.h"
#include "ui/LanguageCaptions.h"

namespace {

enum Caption {
    kTitle,
    kOrder,
    kLesson,
    kCharacters,
    kDefault,
    kOk,
    kCancel,
    kMinimum,
    kOrderList,
    kOwnOrder,
    kFromFile,
    kUnusableFile,
};

}  // namespace

QStringList CKochDlg::CzechCaptions() {
    return {QStringLiteral("Kochova metoda"),
            QStringLiteral("Pořadí &znaků:"),
            QStringLiteral("&Lekce:"),
            QStringLiteral("Znaky lekce: %1 (nový: %2)"),
            QStringLiteral("&Výchozí pořadí"),
            QStringLiteral("&OK"),
            QStringLiteral("&Storno"),
            QStringLiteral("Nejméně odeslaných znaků pro &další lekci:"),
            QStringLiteral("&Pořadí kurzu:"),
            QStringLiteral("Vlastní pořadí"),
            QStringLiteral("Ze &souboru…"),
            QStringLiteral("V souboru %1 není pořadí aspoň dvou znaků.")};
}

CKochDlg::CKochDlg(const std::string& order, int lesson, int minimumSent,
                   const QString& languageFile, CNotifier& warnings, QWidget* parent,
                   std::function<QString()> chooseOrderFile)
    : QDialog(parent),
      notifier(warnings),
      chooseFile(std::move(chooseOrderFile)),
      captions(ReadCaptionsOver(languageFile, 0, CzechCaptions())) {
    setWindowTitle(captions[kTitle]);
    orderEdit = new QLineEdit(FromCp1250(order), this);
    orderEdit->setMaxLength(255);
    // An order is read from its first character, the lesson's.
    orderEdit->setCursorPosition(0);
    lessonSpin = new QSpinBox(this);
    lessonLabel = new QLabel(this);
    minimumSpin = new QSpinBox(this);
    minimumSpin->setRange(CKochCourse::kLowestMinimumSent, CKochCourse::kHighestMinimumSent);
    minimumSpin->setValue(minimumSent);
    defaultButton = new QPushButton(captions[kDefault], this);
    orderList = new QComboBox(this);
    for (const CCourseOrders::Order& shipped : CCourseOrders::Shipped()) {
        orderList->addItem(FromCp1250(shipped.name));
    }
    orderList->addItem(captions[kOwnOrder]);
    fileButton = new QPushButton(captions[kFromFile], this);
    fileButton->setVisible(static_cast<bool>(chooseFile));
    fileLabel = new QLabel(this);
    fileLabel->setWordWrap(true);
    okButton = new QPushButton(captions[kOk], this);
    okButton->setDefault(true);
    cancelButton = new QPushButton(captions[kCancel], this);

    auto* form = new QFormLayout;
    auto* orderRow = new QHBoxLayout;
    orderRow->addWidget(orderEdit, 1);
    orderRow->addWidget(defaultButton);
    // Each label names its field and carries its mnemonic (a row of a layout would show the "&").
    const auto label = [this](const QString& caption, QWidget* buddy) {
        auto* text = new QLabel(caption, this);
        text->setBuddy(buddy);
        return text;
    };
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(orderList, 1);
    listRow->addWidget(fileButton);
    form->addRow(label(captions[kOrderList], orderList), listRow);
    form->addRow(QString(), fileLabel);
    form->addRow(label(captions[kOrder], orderEdit), orderRow);
    form->addRow(label(captions[kLesson], lessonSpin), lessonSpin);
    form->addRow(QString(), lessonLabel);
    form->addRow(label(captions[kMinimum], minimumSpin), minimumSpin);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addLayout(buttons);
    resize(560, sizeHint().height());

    connect(orderEdit, &QLineEdit::textEdited, this, [this] { OnOrderChange(); });
    connect(lessonSpin, &QSpinBox::valueChanged, this, [this] { OnLessonChange(); });
    connect(defaultButton, &QPushButton::clicked, this, [this] { OnDefaultOrder(); });
    connect(orderList, &QComboBox::activated, this, [this] { OnOrderListChange(); });
    connect(fileButton, &QPushButton::clicked, this, [this] { OnOrderFile(); });
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    OnOrderChange();
    lessonSpin->setValue(CKochCourse(order, lesson).Lesson());
    OnLessonChange();
}

std::string CKochDlg::GetOrder() const {
    return CKochCourse(ToCp1250(orderEdit->text()), 1).Order();
}

int CKochDlg::GetMinimumSent() const {
    return minimumSpin->value();
}

int CKochDlg::GetLesson() const {
    return CKochCourse(GetOrder(), lessonSpin->value()).Lesson();
}

void CKochDlg::OnOrderChange() {
    // Typed letters become capitals; characters without a code go, each with its warning.
    const int caret = orderEdit->cursorPosition();
    std::string typed = AsciiUpper(ToCp1250(orderEdit->text()));
    const int removed = CMorseTable::RemoveInvalidCharacters(typed, false, notifier);
    const QString shown = FromCp1250(typed);
    if (shown != orderEdit->text()) {
        orderEdit->setText(shown);
        orderEdit->setCursorPosition(removed >= 0 ? removed : caret);
    }
    lessonSpin->setRange(1, CKochCourse(GetOrder(), 1).LessonCount());
    // The list names the shipped order the edit holds, or the user's own.
    const std::optional<std::size_t> shipped = CCourseOrders::ShippedIndex(typed);
    orderList->setCurrentIndex(shipped ? static_cast<int>(*shipped) : orderList->count() - 1);
    OnLessonChange();
}

void CKochDlg::OnOrderListChange() {
    const auto index = static_cast<std::size_t>(orderList->currentIndex());
    const auto& shipped = CCourseOrders::Shipped();
    if (index < shipped.size()) {
        orderEdit->setText(FromCp1250(shipped[index].order));
        orderEdit->setCursorPosition(0);
        OnOrderChange();
    }
}

void CKochDlg::OnOrderFile() {
    const QString path = chooseFile ? chooseFile() : QString();
    if (path.isEmpty()) {
        return;
    }
    const std::optional<CCourseOrders::Order> read = CCourseOrders::ReadFile(path.toStdString());
    if (!read) {
        fileLabel->setText(captions[kUnusableFile].arg(path));
        return;
    }
    fileLabel->setText(FromCp1250(read->name));
    orderEdit->setText(FromCp1250(read->order));
    orderEdit->setCursorPosition(0);
    OnOrderChange();
}

void CKochDlg::OnLessonChange() {
    const CKochCourse course(GetOrder(), lessonSpin->value());
    QStringList characters;
    for (const char c : course.Characters()) {
        characters << FromCp1250(c);
    }
    lessonLabel->setText(
        captions[kCharacters].arg(characters.join(QLatin1Char(' ')), FromCp1250(course.Newest())));
}

void CKochDlg::OnDefaultOrder() {
    orderEdit->setText(FromCp1250(CKochCourse::DefaultOrder()));
    orderEdit->setCursorPosition(0);
    OnOrderChange();
}
