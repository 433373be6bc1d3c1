#pragma once

#include <sys/types.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The conditions a benchmark runs under, as a learner's machine may be: busy processes that keep
// every core loaded, and a process without the right to real-time scheduling or a lower nice
// value (as a normal user is; root drops the capability for the benchmark's own threads).
// "desktop" runs a stand-in for a working desktop beside the benchmark: the program named by
// BRUMLO_DESKTOP_LOAD (processes streaming through memory, starting programs, faulting pages and
// syncing a file), stopped with SIGTERM at the end.
struct LoadConditions {
    bool busy = false;
    bool desktop = false;
    bool withoutRealtimeRight = false;
};

// Reads "busy", "desktop" and "user" among the arguments (others are left to the caller).
LoadConditions ParseLoadConditions(int argc, char** argv);

// Drops CAP_SYS_NICE from the calling thread (and so from every thread it creates later) and
// returns whether real-time scheduling is now refused. Processes started afterwards are not
// affected: a program run as root regains its capabilities when it starts.
bool DropRealtimeRight();

// One line on what the threads of this process may have: real time from the kernel, from the
// RealtimeKit service, or neither.
std::string DescribeSchedulingRights();

class CBusyLoad;

// The times the private sound server's debug log (BRUMLO_TEST_SERVER_LOG, from
// scripts/with-pulse) reports a stream of this program's found empty ("underrun of 'NAME'"),
// for the streams named Brumlo..., and the ALSA plug-in's; -1 when there is no log.
long ServerUnderruns();

// Runs a program beside the benchmark, in a process group of its own, until the object ends; the
// group is stopped with SIGTERM. `command` is run by the shell.
class CSideProgram {
public:
    explicit CSideProgram(const std::string& command);
    ~CSideProgram();
    CSideProgram(const CSideProgram&) = delete;
    CSideProgram& operator=(const CSideProgram&) = delete;
    bool Started() const { return child > 0; }
    // Waits for the program to end and returns what it printed.
    std::string Finish();

private:
    pid_t child = -1;
    int output = -1;
};

// The real-time probe (BRUMLO_WAKEPROBE, a program that prints "... p99 X ..." in microseconds),
// run for `seconds` beside the measurement; null when it is not named.
std::unique_ptr<CSideProgram> StartWakeProbe(double seconds);
// The probe's p99 lateness in microseconds from what it printed, or -1.
double ProbeP99(const std::string& printed);
// Runs `measure` with the probe beside it for the `seconds` the measurement takes, so that both
// meet the same minutes of the machine, and prints the probe's figures and the goal they set for
// every edge's p99: the probe's p99 + 50 us.
void WithWakeProbe(double seconds, const std::function<void()>& measure);

// Sets the conditions up: the busy processes or the desktop load (returned; they stop with it),
// the right dropped, and one line printed on what the threads may have. Standard output is made
// line-buffered, so that a line is out as each figure is ready and a run cut short still tells
// something.
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
    std::unique_ptr<CSideProgram> desktop;
    friend std::unique_ptr<CBusyLoad> EstablishLoadConditions(const LoadConditions&);
};
