#pragma once

#include <sched.h>

// Raises the send thread and the process while a transmission runs, and puts them back. Where the
// system does not allow it, nothing changes and nothing fails.
class CPriorityControl {
public:
    virtual ~CPriorityControl();
    // Raises the calling thread and the process.
    virtual void Raise() = 0;
    // Gives the calling thread and the process the priorities saved when this object was made.
    virtual void Restore() = 0;
    // Raises the calling thread, which marks the text as it is heard, to a real-time priority
    // below the sound's threads, so that the marking keeps with the sound on a busy desktop.
    // The thread keeps it until it ends.
    virtual void RaiseMarking() = 0;
};

// Real-time FIFO scheduling for the calling thread (from the kernel where the process may have it,
// else from the RealtimeKit service), else a lower nice value; the process's main
// thread gets a lower nice value too. The priorities of the creating thread are the ones restored.
class CSystemPriority : public CPriorityControl {
public:
    CSystemPriority();
    void Raise() override;
    void Restore() override;
    void RaiseMarking() override;

private:
    bool savedKnown = false;
    int savedPolicy = SCHED_OTHER;
    sched_param savedParam{};
    int savedThreadNice = 0;
    int savedProcessNice = 0;
};

// Leaves every priority alone; for tests and for callers that must not change scheduling.
class CNoPriorityChange : public CPriorityControl {
public:
    void Raise() override {}
    void Restore() override {}
    void RaiseMarking() override {}
};
