#pragma once

#include <QObject>

class QMenuBar;
class QWidget;

// Alt + a letter in the main window: where a menu title and a button share the letter, the
// button acts (Qt would otherwise only cycle the focus between the two). The menus stay reachable
// with their letters where no button takes them, and with F10. User-interface thread only.
class CMnemonicKeys : public QObject {
    Q_OBJECT

public:
    // Watches `menuBar` and every button of `window` that exists now.
    CMnemonicKeys(QWidget& window, QMenuBar& menuBar);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Clicks the visible, enabled button of the window whose caption has this mnemonic.
    bool ClickButtonFor(const class QKeySequence& key);
    void OpenFirstMenu();

    QWidget& window;
    QMenuBar& menuBar;
};
