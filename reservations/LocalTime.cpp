#include "reservations/LocalTime.h"

#include "platform/Clock.h"

#include <chrono>
#include <ctime>

namespace kelto {

LocalTime toLocalTime(std::int64_t secondsSinceEpoch) {
    const std::time_t value = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm parts{};
    LocalTime result;
    if (!::localtime_r(&value, &parts)) return result;
    result.year = parts.tm_year + 1900;
    result.month = parts.tm_mon + 1;
    result.day = parts.tm_mday;
    result.weekday = parts.tm_wday;
    result.hour = parts.tm_hour;
    result.minute = parts.tm_min;
    result.second = parts.tm_sec;
    return result;
}

std::int64_t fromLocalTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    parts.tm_isdst = -1;  // let the zone decide summer time
    return static_cast<std::int64_t>(std::mktime(&parts));
}

std::int64_t nowSeconds() {
    const auto now = platform::clock().now();
    return std::chrono::duration_cast<std::chrono::seconds>(now.time_since_epoch()).count();
}

}  // namespace kelto
