#include "output/RealtimeScheduling.h"

#include <sched.h>
#include <sys/resource.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>

namespace {

constexpr const char* kService = "org.freedesktop.RealtimeKit1";
constexpr const char* kObject = "/org/freedesktop/RealtimeKit1";
constexpr const char* kInterface = "org.freedesktop.RealtimeKit1";
// A bus that does not answer within this long is taken as absent.
constexpr std::uint64_t kCallTimeoutMicroseconds = 1000000;

// Once the service has been found absent, it is not asked again in this process: each attempt
// would cost a round trip at the start of every transmission.
std::atomic<bool> serviceAbsent{false};

// Closes and frees a bus connection.
struct CBusConnection {
    sd_bus* bus = nullptr;
    CBusConnection() = default;
    CBusConnection(const CBusConnection&) = delete;
    CBusConnection& operator=(const CBusConnection&) = delete;
    ~CBusConnection() { sd_bus_flush_close_unref(bus); }
};

bool ReadIntegerProperty(sd_bus* bus, const char* name, char type, std::int64_t& value) {
    sd_bus_error error = SD_BUS_ERROR_NULL;
    int result = 0;
    if (type == 'i') {
        std::int32_t v = 0;
        result =
            sd_bus_get_property_trivial(bus, kService, kObject, kInterface, name, &error, 'i', &v);
        value = v;
    } else {
        std::int64_t v = 0;
        result =
            sd_bus_get_property_trivial(bus, kService, kObject, kInterface, name, &error, 'x', &v);
        value = v;
    }
    sd_bus_error_free(&error);
    return result >= 0;
}

bool AskRealtimeKit(pid_t threadId, int priority) {
    if (serviceAbsent.load(std::memory_order_relaxed)) {
        return false;
    }
    CBusConnection connection;
    if (sd_bus_open_system(&connection.bus) < 0) {
        serviceAbsent = true;
        return false;
    }
    sd_bus_set_method_call_timeout(connection.bus, kCallTimeoutMicroseconds);
    std::int64_t maxPriority = 0;
    std::int64_t maxRealtimeMicroseconds = 0;
    if (!ReadIntegerProperty(connection.bus, "MaxRealtimePriority", 'i', maxPriority) ||
        !ReadIntegerProperty(connection.bus, "RTTimeUSecMax", 'x', maxRealtimeMicroseconds)) {
        serviceAbsent = true;
        return false;
    }
    // The service grants real time only to a process that limits how long a real-time thread
    // may run without blocking; ours block on every element and gap.
    rlimit limit{};
    if (getrlimit(RLIMIT_RTTIME, &limit) == 0 && maxRealtimeMicroseconds > 0 &&
        (limit.rlim_max == RLIM_INFINITY ||
         limit.rlim_max > static_cast<rlim_t>(maxRealtimeMicroseconds))) {
        limit.rlim_cur = static_cast<rlim_t>(maxRealtimeMicroseconds);
        limit.rlim_max = static_cast<rlim_t>(maxRealtimeMicroseconds);
        if (setrlimit(RLIMIT_RTTIME, &limit) != 0) {
            return false;
        }
    }
    const auto granted = static_cast<std::uint32_t>(
        std::clamp<std::int64_t>(priority, 1, std::max<std::int64_t>(maxPriority, 1)));
    sd_bus_error error = SD_BUS_ERROR_NULL;
    sd_bus_message* reply = nullptr;
    const int result =
        sd_bus_call_method(connection.bus, kService, kObject, kInterface, "MakeThreadRealtime",
                           &error, &reply, "tu", static_cast<std::uint64_t>(threadId), granted);
    sd_bus_message_unref(reply);
    sd_bus_error_free(&error);
    return result >= 0;
}

}  // namespace

pid_t CurrentThreadId() {
    return gettid();
}

RealtimeGrant MakeThreadRealtime(pid_t threadId, int priority) {
    sched_param param{};
    param.sched_priority = priority;
    if (sched_setscheduler(threadId, SCHED_FIFO, &param) == 0) {
        return RealtimeGrant::Kernel;
    }
    return AskRealtimeKit(threadId, priority) ? RealtimeGrant::RealtimeKit : RealtimeGrant::Refused;
}
