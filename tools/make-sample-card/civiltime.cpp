#include "civiltime.h"

#include <cstdio>

DateTime ToDateTime(std::chrono::local_seconds time) {
    using namespace std::chrono;
    const auto day = floor<days>(time);
    const year_month_day date{day};
    const hh_mm_ss clock{time - day};
    return {static_cast<int>(date.year()),
            static_cast<int>(unsigned(date.month())),
            static_cast<int>(unsigned(date.day())),
            static_cast<int>(clock.hours().count()),
            static_cast<int>(clock.minutes().count()),
            static_cast<int>(clock.seconds().count())};
}

std::chrono::local_seconds FromDateTime(const DateTime& time) {
    using namespace std::chrono;
    const local_days day{year{time.year} / time.month / time.day};
    return day + hours(time.hour) + minutes(time.minute) + seconds(time.second);
}

std::string FormatDateTime(const char* format, const DateTime& time) {
    char text[64];
    std::snprintf(text, sizeof text, format, time.year, time.month, time.day, time.hour,
                  time.minute, time.second);
    return text;
}
