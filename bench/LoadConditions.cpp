#include "bench/LoadConditions.h"

#include <linux/capability.h>
#include <sched.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>

#include "output/RealtimeScheduling.h"

LoadConditions ParseLoadConditions(int argc, char** argv) {
    LoadConditions conditions;
    for (int i = 1; i < argc; ++i) {
        conditions.busy = conditions.busy || std::strcmp(argv[i], "busy") == 0;
        conditions.desktop = conditions.desktop || std::strcmp(argv[i], "desktop") == 0;
        conditions.withoutRealtimeRight =
            conditions.withoutRealtimeRight || std::strcmp(argv[i], "user") == 0;
    }
    return conditions;
}

bool DropRealtimeRight() {
    __user_cap_header_struct header{};
    header.version = _LINUX_CAPABILITY_VERSION_3;
    header.pid = 0;
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
    if (syscall(SYS_capget, &header, data) != 0) {
        return false;
    }
    const unsigned word = CAP_SYS_NICE / 32;
    const unsigned bit = 1U << (CAP_SYS_NICE % 32);
    data[word].effective &= ~bit;
    data[word].permitted &= ~bit;
    data[word].inheritable &= ~bit;
    if (syscall(SYS_capset, &header, data) != 0) {
        return false;
    }
    // A probe thread asks the kernel directly, as the program would first.
    bool refused = false;
    std::thread([&refused] {
        sched_param param{};
        param.sched_priority = 1;
        refused = sched_setscheduler(0, SCHED_FIFO, &param) != 0;
    }).join();
    return refused;
}

std::string DescribeSchedulingRights() {
    std::string description;
    std::thread([&description] {
        switch (MakeThreadRealtime(CurrentThreadId(), 1)) {
            case RealtimeGrant::Kernel:
                description = "real-time scheduling: granted by the kernel (the right to it)";
                break;
            case RealtimeGrant::RealtimeKit:
                description = "real-time scheduling: granted by the RealtimeKit service";
                break;
            case RealtimeGrant::Refused:
                description =
                    "real-time scheduling: refused (no right to it, no RealtimeKit service)";
                break;
        }
    }).join();
    return description;
}

std::unique_ptr<CBusyLoad> EstablishLoadConditions(const LoadConditions& conditions) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    auto load = std::make_unique<CBusyLoad>(
        conditions.busy ? static_cast<int>(std::thread::hardware_concurrency()) : 0);
    std::string described = conditions.busy ? "a busy process on every core" : "no other load";
    if (conditions.desktop) {
        const char* program = std::getenv("BRUMLO_DESKTOP_LOAD");
        if (program == nullptr) {
            std::printf("BRUMLO_DESKTOP_LOAD names no desktop load; none runs\n");
        } else {
            load->desktop = std::make_unique<CSideProgram>(program);
            described =
                std::string("the desktop load") + (conditions.busy ? " and busy processes" : "");
            // Its processes take a moment to reach their full weight.
            std::this_thread::sleep_for(std::chrono::seconds(2));
        }
    }
    if (conditions.withoutRealtimeRight && !DropRealtimeRight()) {
        std::printf("could not drop the right to real-time scheduling\n");
    }
    std::printf("%s; %s\n", DescribeSchedulingRights().c_str(), described.c_str());
    return load;
}

long ServerUnderruns() {
    const char* path = std::getenv("BRUMLO_TEST_SERVER_LOG");
    if (path == nullptr) {
        return -1;
    }
    std::ifstream log(path);
    if (!log) {
        return -1;
    }
    long count = 0;
    for (std::string line; std::getline(log, line);) {
        if (line.find("underrun of 'Brumlo") != std::string::npos ||
            line.find("underrun of 'ALSA Playback'") != std::string::npos) {
            ++count;
        }
    }
    return count;
}

CSideProgram::CSideProgram(const std::string& command) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return;
    }
    child = fork();
    if (child == 0) {
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    output = pipeEnds[0];
    if (child > 0) {
        setpgid(child, child);
    }
}

std::string CSideProgram::Finish() {
    std::string printed;
    if (output >= 0) {
        char buffer[512];
        for (ssize_t n; (n = read(output, buffer, sizeof buffer)) > 0;) {
            printed.append(buffer, static_cast<std::size_t>(n));
        }
        close(output);
        output = -1;
    }
    if (child > 0) {
        waitpid(child, nullptr, 0);
        child = -1;
    }
    return printed;
}

CSideProgram::~CSideProgram() {
    if (child > 0) {
        kill(-child, SIGTERM);
        kill(child, SIGTERM);
    }
    Finish();
}

std::unique_ptr<CSideProgram> StartWakeProbe(double seconds) {
    const char* probe = std::getenv("BRUMLO_WAKEPROBE");
    if (probe == nullptr) {
        return nullptr;
    }
    char command[512];
    // Due moments every 10 ms, as often as edges come at the highest speeds.
    std::snprintf(command, sizeof command, "%s %.1f 10", probe, seconds);
    return std::make_unique<CSideProgram>(command);
}

double ProbeP99(const std::string& printed) {
    const std::size_t at = printed.find("p99 ");
    return at == std::string::npos ? -1.0 : std::atof(printed.c_str() + at + 4);
}

CBusyLoad::CBusyLoad(int processes) {
    for (int i = 0; i < processes; ++i) {
        const pid_t child = fork();
        if (child == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            std::atomic<unsigned long> spin{0};
            for (;;) {
                spin.fetch_add(1, std::memory_order_relaxed);
            }
        }
        if (child > 0) {
            children.push_back(child);
        }
    }
}

CBusyLoad::~CBusyLoad() {
    for (const pid_t child : children) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
}

void WithWakeProbe(double seconds, const std::function<void()>& measure) {
    std::unique_ptr<CSideProgram> probe = StartWakeProbe(seconds);
    measure();
    if (!probe) {
        std::printf("no real-time probe beside it (BRUMLO_WAKEPROBE names none)\n");
        return;
    }
    const std::string printed = probe->Finish();
    const double p99 = ProbeP99(printed);
    std::printf("real-time probe beside it: %s",
                printed.empty() ? "no figures\n" : printed.c_str());
    if (p99 >= 0) {
        std::printf("goal for every edge: p99 within %.1f us (the probe's p99 + 50 us)\n",
                    p99 + 50.0);
    }
}
