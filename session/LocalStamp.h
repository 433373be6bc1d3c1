#pragma once

#include <chrono>
#include <ctime>

// Every record file stamps its records with the local date and time of their end, in the fields
// year, month, day, hour, minute and second: this writes them from `now`. Any thread.
template <typename Record>
Record StampLocalTime(Record record, std::chrono::system_clock::time_point now) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    record.year = local.tm_year + 1900;
    record.month = local.tm_mon + 1;
    record.day = local.tm_mday;
    record.hour = local.tm_hour;
    record.minute = local.tm_min;
    record.second = local.tm_sec;
    return record;
}
