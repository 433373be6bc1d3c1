#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSlider>

#include "core/Timing.h"
#include "session/ControlIds.h"
#include "ui/Accessibility.h"
#include "ui/CMorseDlg.h"
#include "ui/CTextView.h"
#include "ui/Captions.h"
#include "ui/LanguageCaptions.h"
#include "ui/Messages.h"

// The main window's widgets, menu and signals, and the captions they show.

namespace {

constexpr int kVolumeStep = 8191;

}  // namespace

void CMorseDlg::CreateControls() {
    const auto frame = [this](int id) {
        auto* box = new QGroupBox(this);
        controls[id] = box;
        return box;
    };
    const auto label = [this](int id) {
        auto* text = new QLabel(this);
        controls[id] = text;
        return text;
    };
    const auto button = [this](int id) {
        auto* push = new QPushButton(this);
        push->setAutoDefault(false);
        push->setDefault(false);
        controls[id] = push;
        return push;
    };
    const auto list = [this](int id) {
        auto* combo = new QComboBox(this);
        controls[id] = combo;
        return combo;
    };
    // Frames first, so that the controls inside them lie above them.
    frame(ids::kMorseTextFrame);
    frame(ids::kGeneratorFrame);
    frame(ids::kTextFrame);
    frame(ids::kOutputFrame);
    frame(ids::kParametersFrame);
    frame(ids::kRatioFrame);
    frame(ids::kVolumeFrame);
    frame(ids::kSendingFrame);

    morseView = new CTextView(this);
    controls[ids::kMorseText] = morseView;
    hideTextBox = new QCheckBox(this);
    controls[ids::kHideText] = hideTextBox;

    label(ids::kLettersLabel);
    lettersEdit = new QLineEdit(this);
    lettersEdit->setMaxLength(255);
    controls[ids::kLetters] = lettersEdit;
    label(ids::kDigitsLabel);
    digitsEdit = new QLineEdit(this);
    digitsEdit->setMaxLength(255);
    digitsEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), digitsEdit));
    controls[ids::kDigits] = digitsEdit;
    shortZerosBox = new QCheckBox(this);
    controls[ids::kShortZeros] = shortZerosBox;
    label(ids::kTextKindLabel);
    kindList = list(ids::kTextKind);
    generateButton = button(ids::kGenerate);

    button(ids::kLoad);
    button(ids::kSave);
    button(ids::kCustom);
    button(ids::kToPrint);

    toneList = list(ids::kTone);
    textSpeedList = list(ids::kTextSpeed);
    signSpeedList = list(ids::kSignSpeed);
    label(ids::kToneLabel);
    label(ids::kTextSpeedLabel);
    label(ids::kSignSpeedLabel);
    ratioList = list(ids::kRatio);
    label(ids::kRatioLabel);
    label(ids::kResultHeading);
    textSpeedResult = new CTextView(this);
    controls[ids::kResultText] = textSpeedResult;
    label(ids::kResultTextLabel);
    signSpeedResult = new CTextView(this);
    controls[ids::kResultSign] = signSpeedResult;
    label(ids::kResultSignLabel);

    volumeSlider = new QSlider(Qt::Vertical, this);
    volumeSlider->setRange(0, CMorseSession::kVolumeMaximum);
    // The value is the level: the top is the loudest for the mouse, the keys and the wheel.
    volumeSlider->setSingleStep(kVolumeStep);
    volumeSlider->setPageStep(kVolumeStep);
    volumeSlider->setTickInterval(kVolumeStep);
    volumeSlider->setTickPosition(QSlider::TicksBothSides);
    controls[ids::kVolume] = volumeSlider;

    startButton = button(ids::kStart);
    stopButton = button(ids::kStop);
    pauseButton = button(ids::kPause);
    stepButton = button(ids::kStep);

    // The display is reached by the keyboard like any control, so that a reader reads it; the
    // read-outs are labels that show a value.
    morseView->setFocusPolicy(Qt::StrongFocus);
    textSpeedResult->SetReadOut(true);
    signSpeedResult->SetReadOut(true);
    // The keyboard goes through the window as it reads: the check box above the text, the text,
    // then the columns from the left (generator, text, output) and the sending buttons below.
    const int order[] = {ids::kHideText,   ids::kMorseText, ids::kLetters,  ids::kDigits,
                         ids::kShortZeros, ids::kTextKind,  ids::kGenerate, ids::kLoad,
                         ids::kSave,       ids::kCustom,    ids::kToPrint,  ids::kTone,
                         ids::kTextSpeed,  ids::kSignSpeed, ids::kRatio,    ids::kVolume,
                         ids::kStart,      ids::kStop,      ids::kPause,    ids::kStep};
    for (std::size_t k = 1; k < std::size(order); ++k) {
        setTabOrder(Control(order[k - 1]), Control(order[k]));
    }
}

void CMorseDlg::NameControls() {
    // Each field, list and read-out is named by its label, each frame's one control by the frame;
    // the language set renames them with the captions.
    const std::pair<int, int> labelled[] = {
        {ids::kLettersLabel, ids::kLetters},      {ids::kDigitsLabel, ids::kDigits},
        {ids::kTextKindLabel, ids::kTextKind},    {ids::kToneLabel, ids::kTone},
        {ids::kTextSpeedLabel, ids::kTextSpeed},  {ids::kSignSpeedLabel, ids::kSignSpeed},
        {ids::kRatioLabel, ids::kRatio},          {ids::kResultTextLabel, ids::kResultText},
        {ids::kResultSignLabel, ids::kResultSign}};
    for (const auto& [label, control] : labelled) {
        NameFromLabel(*qobject_cast<QLabel*>(Control(label)), *Control(control));
    }
    const auto frameTitle = [this](int frame) {
        return SpokenCaption(qobject_cast<QGroupBox*>(Control(frame))->title());
    };
    morseView->setAccessibleName(frameTitle(ids::kMorseTextFrame));
    volumeSlider->setAccessibleName(frameTitle(ids::kVolumeFrame));
    const QString heading = qobject_cast<QLabel*>(Control(ids::kResultHeading))->text();
    textSpeedResult->setAccessibleDescription(heading);
    signSpeedResult->setAccessibleDescription(heading);
}

void CMorseDlg::CreateMenu() {
    menuBar = new QMenuBar(this);
    const auto add = [this](QMenu* menu, int id, bool checkable = false, bool checked = false) {
        QAction* action = menu->addAction(QString());
        action->setCheckable(checkable);
        action->setChecked(checked);
        commands[id] = action;
        return action;
    };
    QMenu* file = menuBar->addMenu(QString());
    add(file, ids::kMenuLoadText);
    add(file, ids::kMenuSaveText);
    add(file, ids::kMenuSaveSound);
    add(file, ids::kMenuSoundOptions);
    add(file, ids::kMenuPrint);
    file->addSeparator();
    add(file, ids::kMenuExit);
    QMenu* settings = menuBar->addMenu(QString());
    add(settings, ids::kMenuOutput);
    add(settings, ids::kMenuStepping, true, false);
    add(settings, ids::kMenuLanguage, true, false);
    add(settings, ids::kMenuRemember, true, true);
    add(settings, ids::kMenuPunctuation, true, false);
    QMenu* help = menuBar->addMenu(QString());
    add(help, ids::kMenuHelpContents);
    help->addSeparator();
    add(help, ids::kMenuAbout);
    QMenu* training = menuBar->addMenu(QString());
    add(training, ids::kMenuCopyCheck)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    add(training, ids::kMenuStatistics);
    training->addSeparator();
    add(training, ids::kMenuCourse);
    add(training, ids::kMenuWeakCharacters, true, false);
    training->addSeparator();
    add(training, ids::kMenuInstantRecognition);
    add(training, ids::kMenuCallsigns);
    training->addSeparator();
    add(training, ids::kMenuReceptionConditions);
    training->addSeparator();
    add(training, ids::kMenuSendingPractice);
    add(training, ids::kMenuKeying);
    menus = {file, settings, help, training};
}

void CMorseDlg::ConnectSignals() {
    const auto command = [this](int id, void (CMorseDlg::*handler)()) {
        connect(commands[id], &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    };
    // The check boxes act on every change of their marks but the window's own (a click, the
    // keyboard, or a screen reader's toggle).
    connect(hideTextBox, &QCheckBox::toggled, this, [this] {
        if (!rendering) {
            OnHideText();
        }
    });
    connect(kindList, &QComboBox::activated, this, [this] { OnKindChange(); });
    command(ids::kMenuExit, &CMorseDlg::OnExit);
    command(ids::kMenuStepping, &CMorseDlg::OnSteppingMode);
    connect(textSpeedList, &QComboBox::activated, this, [this] { OnTextSpeedChange(); });
    connect(signSpeedList, &QComboBox::activated, this, [this] { OnSignSpeedChange(); });
    connect(toneList, &QComboBox::activated, this, [this] { OnToneChange(); });
    connect(generateButton, &QPushButton::clicked, this, [this] { OnGenerate(); });
    connect(stepButton, &QPushButton::clicked, this, [this] { OnStep(); });
    connect(pauseButton, &QPushButton::clicked, this, [this] { OnPause(); });
    connect(startButton, &QPushButton::clicked, this, [this] { OnStart(); });
    connect(stopButton, &QPushButton::clicked, this, [this] { OnStop(); });
    connect(lettersEdit, &QLineEdit::textChanged, this, [this] { OnLettersChange(); });
    connect(digitsEdit, &QLineEdit::textChanged, this, [this] { OnDigitsChange(); });
    connect(volumeSlider, &QSlider::valueChanged, this,
            [this](int value) { OnVolumeScroll(value); });
    connect(ratioList, &QComboBox::activated, this, [this] { OnRatioChange(); });
    command(ids::kMenuRemember, &CMorseDlg::OnRemember);
    command(ids::kMenuLanguage, &CMorseDlg::OnLanguageChange);
    connect(shortZerosBox, &QCheckBox::toggled, this, [this] {
        if (!rendering) {
            OnShortZeros();
        }
    });
    command(ids::kMenuLoadText, &CMorseDlg::OnLoadText);
    const auto button = [this](int id) { return qobject_cast<QPushButton*>(Control(id)); };
    connect(button(ids::kLoad), &QPushButton::clicked, this, [this] { OnLoadText(); });
    command(ids::kMenuSaveText, &CMorseDlg::OnSaveText);
    connect(button(ids::kSave), &QPushButton::clicked, this, [this] { OnSaveText(); });
    connect(button(ids::kCustom), &QPushButton::clicked, this, [this] { OnCustomText(); });
    command(ids::kMenuOutput, &CMorseDlg::OnOutputSettings);
    command(ids::kMenuAbout, &CMorseDlg::OnAbout);
    connect(button(ids::kToPrint), &QPushButton::clicked, this, [this] { OnToPrint(); });
    command(ids::kMenuPrint, &CMorseDlg::OnPrint);
    command(ids::kMenuHelpContents, &CMorseDlg::OnHelpContents);
    command(ids::kMenuCopyCheck, &CMorseDlg::OnCopyCheck);
    command(ids::kMenuStatistics, &CMorseDlg::OnStatistics);
    command(ids::kMenuCourse, &CMorseDlg::OnCourse);
    command(ids::kMenuSaveSound, &CMorseDlg::OnSaveSound);
    command(ids::kMenuWeakCharacters, &CMorseDlg::OnWeakCharacters);
    command(ids::kMenuReceptionConditions, &CMorseDlg::OnReceptionConditions);
    command(ids::kMenuSoundOptions, &CMorseDlg::OnSoundOptions);
    command(ids::kMenuInstantRecognition, &CMorseDlg::OnInstantRecognition);
    command(ids::kMenuCallsigns, &CMorseDlg::OnCallsigns);
    command(ids::kMenuPunctuation, &CMorseDlg::OnPunctuation);
    command(ids::kMenuKeying, &CMorseDlg::OnKeying);
    command(ids::kMenuSendingPractice, &CMorseDlg::OnSendingPractice);
}

void CMorseDlg::RenderCaptions(bool language) {
    captionsLanguage = language;
    // The messages follow the language set, with the captions.
    messages::UseLanguageFile(
        language ? QString::fromStdString(session->Files().Language("localMS")) : QString());
    messages::UseToolkitCzech(!language);
    // The ratios are numbers: they take the language's decimal sign.
    for (int i = 0; i < ratioList->count(); ++i) {
        const std::string_view label = kDashRatioLabels[static_cast<std::size_t>(i)];
        ratioList->setItemText(i,
                               QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size()))
                                   .replace(QLatin1Char(','), messages::DecimalSign()));
    }
    const QString file = QString::fromStdString(session->Files().Language("local"));
    if (!language) {
        ApplyCaptions(CzechCaptions());
        ApplyTrainingCaptions(CzechTrainingCaptions());
        ApplyTrafficCaptions(BuiltInCaptions(kTrafficCaptionTargets));
    } else if (const auto texts = ReadCaptions(file, kMainCaptions)) {
        ApplyCaptions(*texts);
        ApplyTrainingCaptions(ReadCaptionsOver(file, kMainCaptions, CzechTrainingCaptions()));
        ApplyTrafficCaptions(ReadCaptionsOver(file, kMainCaptions + kTrainingCaptions,
                                              BuiltInCaptions(kTrafficCaptionTargets)));
    }
}

QStringList CMorseDlg::CzechCaptions() {
    return BuiltInCaptions(kCaptionTargets);
}

void CMorseDlg::ApplyCaption(const CaptionTarget& target, const QString& text) {
    switch (target.kind) {
        case CaptionTarget::Kind::Menu:
            menus[static_cast<std::size_t>(target.id)]->setTitle(text);
            break;
        case CaptionTarget::Kind::Command:
            // Changing the text keeps the check mark.
            commands[target.id]->setText(text);
            break;
        case CaptionTarget::Kind::Control:
            if (auto* button = qobject_cast<QAbstractButton*>(Control(target.id))) {
                button->setText(text);
            } else if (auto* label = qobject_cast<QLabel*>(Control(target.id))) {
                label->setText(text);
            } else if (auto* frame = qobject_cast<QGroupBox*>(Control(target.id))) {
                frame->setTitle(text);
            }
            break;
        case CaptionTarget::Kind::TextKind: {
            // The lesson kind and the kinds after it, which follow the five of the original list
            // and are named in their order.
            const auto extra = static_cast<qsizetype>(target.id - kLessonText);
            while (extraKindNames.size() <= extra) {
                extraKindNames << QString();
            }
            extraKindNames[extra] = text;
            if (kindList->count() > target.id) {
                kindList->setItemText(target.id, text);
            } else {
                kindList->addItem(text);
            }
            break;
        }
    }
}

void CMorseDlg::ApplyCaptions(const QStringList& texts) {
    QStringList kinds;
    for (int k = 0; k < kMainCaptions; ++k) {
        const CaptionTarget& target = kCaptionTargets[static_cast<std::size_t>(k)];
        const QString text = texts.value(k);
        if (target.kind != CaptionTarget::Kind::TextKind) {
            ApplyCaption(target, text);
            continue;
        }
        kinds << text;
        if (kinds.size() == 5) {
            // The list is rebuilt with the kind that was selected before.
            const int selected = kindList->currentIndex();
            kindList->clear();
            kindList->addItems(kinds);
            kindList->addItems(extraKindNames);
            kindList->setCurrentIndex(selected);
        }
    }
    NameControls();
}

QStringList CMorseDlg::CzechTrainingCaptions() {
    return BuiltInCaptions(kTrainingCaptionTargets);
}

void CMorseDlg::ApplyTrainingCaptions(const QStringList& texts) {
    for (int k = 0; k < kTrainingCaptions; ++k) {
        ApplyCaption(kTrainingCaptionTargets[static_cast<std::size_t>(k)], texts.value(k));
    }
}

void CMorseDlg::ApplyTrafficCaptions(const QStringList& texts) {
    for (int k = 0; k < kTrafficCaptions; ++k) {
        ApplyCaption(kTrafficCaptionTargets[static_cast<std::size_t>(k)], texts.value(k));
    }
}
