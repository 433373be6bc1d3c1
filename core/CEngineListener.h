#pragma once

#include <string>

// How the keying engine reaches the main window. Called from the engine's threads: an
// implementation that touches widgets must hand the work to the user-interface thread.
class CEngineListener {
public:
    virtual ~CEngineListener();

    // Progress thread: the first characters of the display text, `sentText`, have been keyed.
    virtual void SentTextChanged(const std::string& sentText) = 0;
    // Send thread: the end sign has been keyed and the progress thread has ended. No further
    // SentTextChanged of this transmission follows.
    virtual void TransmissionFinished() = 0;
};

// Ignores both calls.
class CNullEngineListener : public CEngineListener {
public:
    void SentTextChanged(const std::string&) override {}
    void TransmissionFinished() override {}
};
