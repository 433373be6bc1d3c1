#include "ui/CKochDlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "print/Cp1250.h"
#include "training/CKochCourse.h"
#include "ui/Accessibility.h"
#include "ui/LanguageCaptions.h"

using C = CKochModel;

QStringList CKochDlg::CzechCaptions() {
    return Captions(C::CzechCaptions());
}

CKochDlg::CKochDlg(const std::string& order, int lesson, int minimumSent,
                   const QString& languageFile, CNotifier& warnings, QWidget* parent,
                   std::function<QString()> chooseOrderFile)
    : QDialog(parent),
      model(order, lesson, minimumSent, warnings),
      chooseFile(std::move(chooseOrderFile)),
      captions(ReadCaptionsOver(languageFile, 0, CzechCaptions())) {
    model.SetCaptions(Utf8Captions(captions));
    setWindowTitle(captions[C::kTitle]);
    orderEdit = new QLineEdit(this);
    orderEdit->setMaxLength(255);
    lessonSpin = new QSpinBox(this);
    lessonLabel = new QLabel(this);
    // The characters of a late lesson wrap rather than widen the window past the screen; room
    // for three lines from the start, as a window does not grow for a label that wraps.
    lessonLabel->setWordWrap(true);
    lessonLabel->setMinimumHeight(3 * fontMetrics().lineSpacing());
    minimumSpin = new QSpinBox(this);
    minimumSpin->setRange(CKochCourse::kLowestMinimumSent, CKochCourse::kHighestMinimumSent);
    defaultButton = new QPushButton(captions[C::kDefault], this);
    orderList = new QComboBox(this);
    for (const std::string& name : CKochModel::ShippedNames()) {
        orderList->addItem(FromCp1250(name));
    }
    orderList->addItem(captions[C::kOwnOrder]);
    fileButton = new QPushButton(captions[C::kFromFile], this);
    fileButton->setVisible(static_cast<bool>(chooseFile));
    fileLabel = new QLabel(this);
    fileLabel->setWordWrap(true);
    // Room for a message of three lines (a file that could not be used): a window does not grow
    // for a label that wraps.
    fileLabel->setMinimumHeight(3 * fontMetrics().lineSpacing());
    okButton = new QPushButton(captions[C::kOk], this);
    okButton->setDefault(true);
    cancelButton = new QPushButton(captions[C::kCancel], this);

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
    form->addRow(label(captions[C::kOrderList], orderList), listRow);
    form->addRow(QString(), fileLabel);
    form->addRow(label(captions[C::kOrder], orderEdit), orderRow);
    form->addRow(label(captions[C::kLesson], lessonSpin), lessonSpin);
    form->addRow(QString(), lessonLabel);
    form->addRow(label(captions[C::kMinimum], minimumSpin), minimumSpin);
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
    connect(minimumSpin, &QSpinBox::valueChanged, this, [this](int minimum) {
        if (!rendering) {
            model.SetMinimumSent(minimum);
        }
    });
    connect(defaultButton, &QPushButton::clicked, this, [this] { OnDefaultOrder(); });
    connect(orderList, &QComboBox::activated, this, [this] { OnOrderListChange(); });
    connect(fileButton, &QPushButton::clicked, this, [this] { OnOrderFile(); });
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    // An order is read from its first character, the lesson's.
    Render(0);
}

std::string CKochDlg::GetOrder() const {
    return model.Order();
}

int CKochDlg::GetMinimumSent() const {
    return model.MinimumSent();
}

int CKochDlg::GetLesson() const {
    return model.Lesson();
}

void CKochDlg::Render(int caret) {
    const CKochModel::View view = model.GetView();
    rendering = true;
    const QString order = FromCp1250(view.order);
    if (orderEdit->text() != order) {
        orderEdit->setText(order);
    }
    orderEdit->setCursorPosition(caret);
    lessonSpin->setRange(1, view.lessonCount);
    lessonSpin->setValue(view.lesson);
    minimumSpin->setValue(view.minimumSent);
    orderList->setCurrentIndex(view.listIndex);
    if (!view.fileText.empty()) {
        fileLabel->setText(QString::fromStdString(view.fileText));
    }
    const QString lesson = QString::fromStdString(view.lessonText);
    if (lesson != lessonLabel->text()) {
        lessonLabel->setText(lesson);
        if (isVisible()) {
            Announce(lesson);
        }
    }
    rendering = false;
}

void CKochDlg::OnOrderChange() {
    // Typed letters become capitals; characters without a code go, each with its warning.
    const TypedText typed =
        model.TypeOrder(ToCp1250(orderEdit->text()), orderEdit->cursorPosition());
    Render(typed.caret);
}

void CKochDlg::OnOrderListChange() {
    model.ChooseShipped(orderList->currentIndex());
    Render(0);
}

void CKochDlg::OnOrderFile() {
    const QString path = chooseFile ? chooseFile() : QString();
    if (!path.isEmpty()) {
        model.ReadOrderFile(path.toStdString());
        Render(0);
    }
}

void CKochDlg::OnLessonChange() {
    if (!rendering) {
        model.SetLesson(lessonSpin->value());
        Render(orderEdit->cursorPosition());
    }
}

void CKochDlg::OnDefaultOrder() {
    model.DefaultOrder();
    Render(0);
}
