#include "ui/Accessibility.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QSlider>
#include <mutex>

#include "ui/CAnnouncer.h"
#include "ui/CLabelledComboBoxAccessible.h"
#include "ui/CMenuAccessible.h"
#include "ui/CPercentSliderAccessible.h"
#include "ui/CTextView.h"
#include "ui/CTextViewAccessible.h"

namespace {

QAccessibleInterface* BrumloInterfaces(const QString& className, QObject* object) {
    if (className == QLatin1String("CTextView")) {
        if (auto* view = qobject_cast<CTextView*>(object)) {
            return new CTextViewAccessible(view);
        }
    }
    if (className == QLatin1String("QComboBox")) {
        if (auto* list = qobject_cast<QComboBox*>(object)) {
            return new CLabelledComboBoxAccessible(list);
        }
    }
    if (className == QLatin1String("CAnnouncer")) {
        if (auto* announcer = qobject_cast<CAnnouncer*>(object)) {
            return new CAnnouncerAccessible(announcer);
        }
    }
    if (className == QLatin1String("QSlider")) {
        if (auto* slider = qobject_cast<QSlider*>(object)) {
            return new CPercentSliderAccessible(slider);
        }
    }
    if (className == QLatin1String("QMenu")) {
        if (auto* menu = qobject_cast<QMenu*>(object)) {
            return new CMenuAccessible(menu);
        }
    }
    if (className == QLatin1String("QAction")) {
        auto* action = qobject_cast<QAction*>(object);
        if (QMenu* menu = CMenuItemAccessible::MenuOf(action)) {
            return new CMenuItemAccessible(menu, action);
        }
    }
    return nullptr;
}

}  // namespace

void InstallAccessibleInterfaces() {
    // Qt asks the factory installed last first, so ours comes before the built-in one.
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(&BrumloInterfaces); });
}

QString SpokenCaption(const QString& caption) {
    QString spoken;
    spoken.reserve(caption.size());
    for (qsizetype k = 0; k < caption.size(); ++k) {
        if (caption[k] == QLatin1Char('&') && k + 1 < caption.size()) {
            ++k;
        }
        spoken += caption[k];
    }
    return spoken;
}

QString SpokenLabel(const QString& caption) {
    QString spoken = SpokenCaption(caption).trimmed();
    if (spoken.endsWith(QLatin1Char(':'))) {
        spoken.chop(1);
    }
    return spoken.trimmed();
}

void NameFromLabel(QLabel& label, QWidget& control) {
    label.setBuddy(&control);
    control.setAccessibleName(SpokenCaption(label.text()));
}

void Announce(const QString& message) {
    QWidget* focused = QApplication::focusWidget();
    if (focused == nullptr || message.isEmpty() || !QAccessible::isActive()) {
        return;
    }
    QWidget* window = focused->window();
    auto* announcer = window->findChild<CAnnouncer*>(QString(), Qt::FindDirectChildrenOnly);
    if (announcer == nullptr) {
        announcer = new CAnnouncer(window);
    }
    announcer->Say(message);
}
