#include "tests/support/CVirtualTime.h"

std::int64_t CVirtualTime::Now() const {
    std::lock_guard lock(mutex);
    return now;
}

void CVirtualTime::Step(char kind, std::int32_t units) {
    std::function<void(std::size_t)> callHook;
    std::size_t index = 0;
    {
        std::lock_guard lock(mutex);
        callHook = hook;
        index = calls;
    }
    if (callHook) {
        callHook(index);
    }
    std::lock_guard lock(mutex);
    ++calls;
    events.push_back({kind, units});
    now += units > 0 ? units : 0;
    if (const auto extra = extras.find(index); extra != extras.end()) {
        now += extra->second;
    }
}

void CVirtualTime::Record(char kind, std::int64_t value) {
    std::lock_guard lock(mutex);
    events.push_back({kind, value});
}

std::vector<CVirtualTime::Event> CVirtualTime::Events() const {
    std::lock_guard lock(mutex);
    return events;
}

void CVirtualTime::Clear() {
    std::lock_guard lock(mutex);
    events.clear();
    calls = 0;
    extras.clear();
}

void CVirtualTime::AddExtra(std::size_t callIndex, std::int64_t extraUnits) {
    std::lock_guard lock(mutex);
    extras[callIndex] += extraUnits;
}

void CVirtualTime::SetHook(std::function<void(std::size_t)> newHook) {
    std::lock_guard lock(mutex);
    hook = std::move(newHook);
}

std::string Describe(const std::vector<CVirtualTime::Event>& events) {
    std::string text;
    for (const auto& event : events) {
        if (!text.empty()) {
            text += ' ';
        }
        text += event.kind + std::to_string(event.value);
    }
    return text;
}
