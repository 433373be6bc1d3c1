#include "ui/CMnemonicKeys.h"

#include <QAbstractButton>
#include <QAction>
#include <QEvent>
#include <QKeySequence>
#include <QMenuBar>
#include <QShortcut>
#include <QShortcutEvent>

CMnemonicKeys::CMnemonicKeys(QWidget& watchedWindow, QMenuBar& watchedMenuBar)
    : QObject(&watchedWindow), window(watchedWindow), menuBar(watchedMenuBar) {
    menuBar.installEventFilter(this);
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        button->installEventFilter(this);
    }
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), &window);
    connect(f10, &QShortcut::activated, this, [this] { OpenFirstMenu(); });
}

bool CMnemonicKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Shortcut) {
        return false;
    }
    const auto* shortcut = static_cast<QShortcutEvent*>(event);
    // A button's own letter that no menu shares reaches it unambiguously and acts as usual.
    if (watched != &menuBar && !shortcut->isAmbiguous()) {
        return false;
    }
    return ClickButtonFor(shortcut->key());
}

bool CMnemonicKeys::ClickButtonFor(const QKeySequence& key) {
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (button->isVisible() && button->isEnabled() &&
            QKeySequence::mnemonic(button->text()) == key) {
            button->animateClick();
            return true;
        }
    }
    return false;
}

void CMnemonicKeys::OpenFirstMenu() {
    for (QAction* action : menuBar.actions()) {
        if (action->isEnabled() && action->isVisible() && action->menu() != nullptr) {
            menuBar.setActiveAction(action);
            return;
        }
    }
}
