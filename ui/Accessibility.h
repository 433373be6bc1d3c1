#pragma once

#include <QString>

class QLabel;
class QWidget;

// Accessibility of the windows: the interfaces through which a screen reader reads the text
// display and the drop-down lists, and the naming of controls from their captions.
// User-interface thread only.

// Makes Qt give screen readers our interfaces for CTextView, QComboBox and QSlider. Once per
// process; any later call does nothing.
void InstallAccessibleInterfaces();

// A caption as a reader says it: without its mnemonic marks ("&Start" is "Start", "&&" is "&").
QString SpokenCaption(const QString& caption);

// A label's caption as a reader says the control it names: without its mnemonic marks and its
// final colon ("&Znaky:" is "Znaky").
QString SpokenLabel(const QString& caption);

// Links `label` to `control` (the label's mnemonic and a reader's relation) and names the control
// after the label's caption. Called again whenever the captions change.
void NameFromLabel(QLabel& label, QWidget& control);

// Says `message` through a screen reader without moving the focus: the window of the focused
// control shows it as a notification, which a reader speaks as it appears. A caller says each
// change once. Nothing happens without a focused control or a reader.
void Announce(const QString& message);
