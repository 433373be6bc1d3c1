#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

#include "core/CEngineListener.h"

// Counts the transmissions that have finished and lets a thread wait for them.
class CFinishListener : public CEngineListener {
public:
    void SentTextChanged(const std::string& sentText) override;
    void TransmissionFinished() override;
    // The last sent text reported.
    std::string LastSent();
    // Waits until `count` transmissions have finished; false after `timeout`.
    bool WaitFor(int count, std::chrono::milliseconds timeout = std::chrono::minutes(5));

private:
    std::mutex mutex;
    std::condition_variable condition;
    int finished = 0;
    std::string lastSent;
};
