#include "ui/CAnnouncer.h"

#include <QApplication>

CAnnouncer::CAnnouncer(QWidget* window) : QWidget(window) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 1, 1);
    hide();
}

void CAnnouncer::Say(const QString& said) {
    message = said;
    // Appearing is what a reader announces: a message already shown appears again.
    hide();
    show();
}

CAnnouncerAccessible::CAnnouncerAccessible(CAnnouncer* announcer)
    : QAccessibleWidget(announcer, QAccessible::Notification) {}

QString CAnnouncerAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name) {
        return static_cast<const CAnnouncer*>(widget())->Message();
    }
    return QAccessibleWidget::text(t);
}

QAccessibleInterface* CAnnouncerAccessible::parent() const {
    return QAccessible::queryAccessibleInterface(qApp);
}
