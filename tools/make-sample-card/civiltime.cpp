#include "civiltime.h"

#include <cstdio>

CivilTime ToCivil(std::chrono::local_seconds time) {
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

std::chrono::local_seconds FromCivil(const CivilTime& civil) {
    using namespace std::chrono;
    const local_days day{year{civil.year} / civil.month / civil.day};
    return day + hours(civil.hour) + minutes(civil.minute) + seconds(civil.second);
}

std::string FormatCivil(const char* format, const CivilTime& civil) {
    char text[64];
    std::snprintf(text, sizeof text, format, civil.year, civil.month, civil.day, civil.hour,
                  civil.minute, civil.second);
    return text;
}
