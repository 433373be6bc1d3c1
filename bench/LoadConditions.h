#pragma once

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

// The conditions a benchmark runs under, as a learner's machine may be: busy processes that keep
// every core loaded, and a process without the right to real-time scheduling or a lower nice
// value (as a normal user is; root drops the capability for the benchmark's own threads).
struct LoadConditions {
    bool busy = false;
    bool withoutRealtimeRight = false;
};

// Reads "busy" and "user" among the arguments (others are left to the caller).
LoadConditions ParseLoadConditions(int argc, char** argv);

// Drops CAP_SYS_NICE from the calling thread (and so from every thread it creates later) and
// returns whether real-time scheduling is now refused. Processes started afterwards are not
// affected: a program run as root regains its capabilities when it starts.
bool DropRealtimeRight();

// One line on what the threads of this process may have: real time from the kernel, from the
// RealtimeKit service, or neither.
std::string DescribeSchedulingRights();

class CBusyLoad;

// Sets the conditions up: the busy processes (returned; they stop with it), the right dropped,
// and one line printed on what the threads may have. Standard output is made line-buffered, so
// that a line is out as each figure is ready and a run cut short still tells something.
std::unique_ptr<CBusyLoad> EstablishLoadConditions(const LoadConditions& conditions);

// Busy processes, one per core unless told otherwise, each spinning at the normal nice value for
// as long as the object lives; they die with the benchmark, also when it is killed.
class CBusyLoad {
public:
    explicit CBusyLoad(int processes);
    ~CBusyLoad();
    CBusyLoad(const CBusyLoad&) = delete;
    CBusyLoad& operator=(const CBusyLoad&) = delete;

private:
    std::vector<pid_t> children;
};
