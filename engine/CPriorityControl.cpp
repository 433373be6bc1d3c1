#include "engine/CPriorityControl.h"

#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>

#include "output/RealtimeScheduling.h"

namespace {

constexpr int kRaisedNiceStep = 10;
constexpr int kMinimumNice = -20;
// The send thread's wake-ups key the real-time outputs to the microsecond, while the sound's
// threads have the sound server's buffer before them: the send thread stands above them and
// with the highest real-time threads of a desktop (a sound server's own take up to 88). It
// blocks on every element and gap and spins at most 1.5 ms before an edge. RealtimeKit grants
// up to its own maximum (commonly 20), still above the sound's threads.
constexpr int kSendThreadPriority = 80;
// The sound's threads, which the send thread stays above.
constexpr int kAudioThreadPriority = 10;
// Below the sound card's audio thread: the marking only has to wake when a place is heard.
constexpr int kMarkingThreadPriority = 5;

// On Linux the nice value belongs to a thread, addressed by its thread id.
int ThreadId() {
    return static_cast<int>(gettid());
}

bool ReadNice(int who, int& nice) {
    errno = 0;
    const int value = getpriority(PRIO_PROCESS, static_cast<id_t>(who));
    if (errno != 0) {
        return false;
    }
    nice = value;
    return true;
}

void SetNice(int who, int nice) {
    setpriority(PRIO_PROCESS, static_cast<id_t>(who), nice < kMinimumNice ? kMinimumNice : nice);
}

}  // namespace

CPriorityControl::~CPriorityControl() = default;

CSystemPriority::CSystemPriority() {
    savedKnown = pthread_getschedparam(pthread_self(), &savedPolicy, &savedParam) == 0 &&
                 ReadNice(ThreadId(), savedThreadNice) && ReadNice(getpid(), savedProcessNice);
}

void CSystemPriority::Raise() {
    if (!savedKnown) {
        return;
    }
    SetNice(getpid(), savedProcessNice - kRaisedNiceStep);
    // Real time from the kernel where the process has the right, else from the desktop's
    // RealtimeKit service; a lower nice value where neither grants it.
    // A limit on real-time priority below ours (a group's rtprio) is still a grant of the kernel's:
    // the thread takes the highest the limit allows rather than the service's.
    int priority = kSendThreadPriority;
    rlimit limit{};
    if (getrlimit(RLIMIT_RTPRIO, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        limit.rlim_cur > static_cast<rlim_t>(kAudioThreadPriority) &&
        limit.rlim_cur < static_cast<rlim_t>(kSendThreadPriority)) {
        priority = static_cast<int>(limit.rlim_cur);
    }
    if (MakeThreadRealtime(CurrentThreadId(), priority) == RealtimeGrant::Refused) {
        SetNice(ThreadId(), savedThreadNice - kRaisedNiceStep);
    }
}

void CSystemPriority::RaiseMarking() {
    MakeThreadRealtime(CurrentThreadId(), kMarkingThreadPriority);
}

void CSystemPriority::Restore() {
    if (!savedKnown) {
        return;
    }
    pthread_setschedparam(pthread_self(), savedPolicy, &savedParam);
    SetNice(ThreadId(), savedThreadNice);
    SetNice(getpid(), savedProcessNice);
}
