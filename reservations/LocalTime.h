#pragma once
// Local calendar time of stored times and of the clock's "now". Reservations compare local hours,
// minutes, dates and weekdays; the conversion follows the process's time zone (TZ).
#include <cstdint>

namespace kelto {

struct LocalTime {
    int year = 1970;
    int month = 1;    // 1..12
    int day = 1;      // 1..31
    int weekday = 4;  // 0 Sunday .. 6 Saturday
    int hour = 0;
    int minute = 0;
    int second = 0;

    int minuteOfDay() const { return hour * 60 + minute; }
    bool sameDate(const LocalTime& other) const {
        return year == other.year && month == other.month && day == other.day;
    }
};

// Local time of seconds since 1970 UTC.
LocalTime toLocalTime(std::int64_t secondsSinceEpoch);
// The seconds since 1970 of a local date and time (the system normalises out-of-range fields,
// so day + 1 is the next day).
std::int64_t fromLocalTime(int year, int month, int day, int hour, int minute, int second);
// Now, from the process-wide clock, in seconds since 1970 UTC.
std::int64_t nowSeconds();
// Now in local time.
inline LocalTime localNow() { return toLocalTime(nowSeconds()); }

}  // namespace kelto
