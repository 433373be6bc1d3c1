#include "ui/CPostedEngineEvents.h"

#include <QMetaObject>

CPostedEngineEvents::CPostedEngineEvents(QObject& target, std::function<int()> current,
                                         std::function<void(const std::string&, int)> onSent,
                                         std::function<void(int)> onEnded)
    : receiver(target),
      transmission(std::move(current)),
      sent(std::move(onSent)),
      ended(std::move(onEnded)) {}

void CPostedEngineEvents::SentTextChanged(const std::string& sentText) {
    const int current = transmission();
    QMetaObject::invokeMethod(
        &receiver, [this, sentText, current] { sent(sentText, current); }, Qt::QueuedConnection);
}

void CPostedEngineEvents::TransmissionFinished() {
    const int current = transmission();
    QMetaObject::invokeMethod(
        &receiver, [this, current] { ended(current); }, Qt::QueuedConnection);
}
