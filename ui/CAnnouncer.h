#pragma once

#include <QAccessibleWidget>
#include <QString>
#include <QWidget>

// A window's messages for a screen reader: an invisible notification that appears anew with each
// message, which a reader speaks as it appears (the focus stays where it is). It draws nothing
// and takes no focus. User-interface thread only.
class CAnnouncer : public QWidget {
    Q_OBJECT

public:
    explicit CAnnouncer(QWidget* window);

    void Say(const QString& message);
    const QString& Message() const { return message; }

private:
    QString message;
};

// What a reader gets from a CAnnouncer: a notification named by the message, which belongs to the
// application rather than to its window, as a desktop notification does: a reader then says the
// message alone, not the window's title and texts before it each time.
class CAnnouncerAccessible : public QAccessibleWidget {
public:
    explicit CAnnouncerAccessible(CAnnouncer* announcer);

    QString text(QAccessible::Text t) const override;
    QAccessibleInterface* parent() const override;
};
