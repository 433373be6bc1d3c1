#pragma once

#include <QObject>
#include <functional>
#include <string>

#include "core/CEngineListener.h"

// Hands the keying engine's reports to the user-interface thread: each is tagged on the engine's
// thread with the number of the transmission it belongs to, then posted to `receiver`'s thread,
// where `sent` or `ended` runs. Called on the engine's threads.
class CPostedEngineEvents : public CEngineListener {
public:
    CPostedEngineEvents(QObject& receiver, std::function<int()> transmission,
                        std::function<void(const std::string&, int)> sent,
                        std::function<void(int)> ended);

    void SentTextChanged(const std::string& sentText) override;
    void TransmissionFinished() override;

private:
    QObject& receiver;
    std::function<int()> transmission;
    std::function<void(const std::string&, int)> sent;
    std::function<void(int)> ended;
};
