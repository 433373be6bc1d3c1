#include "bench/LoadConditions.h"

#include <linux/capability.h>
#include <sched.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <thread>

#include "output/RealtimeScheduling.h"

LoadConditions ParseLoadConditions(int argc, char** argv) {
    LoadConditions conditions;
    for (int i = 1; i < argc; ++i) {
        conditions.busy = conditions.busy || std::strcmp(argv[i], "busy") == 0;
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
    std::unique_ptr<CBusyLoad> load;
    if (conditions.busy) {
        load = std::make_unique<CBusyLoad>(static_cast<int>(std::thread::hardware_concurrency()));
    }
    if (conditions.withoutRealtimeRight && !DropRealtimeRight()) {
        std::printf("could not drop the right to real-time scheduling\n");
    }
    std::printf("%s; %s\n", DescribeSchedulingRights().c_str(),
                conditions.busy ? "a busy process on every core" : "no other load");
    return load;
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
