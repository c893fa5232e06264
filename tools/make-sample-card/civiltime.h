#pragma once

#include <chrono>
#include <string>

// A local date and time of day, as the recorder writes it into names and records.
struct CivilTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

CivilTime ToCivil(std::chrono::local_seconds time);
std::chrono::local_seconds FromCivil(const CivilTime& civil);
// printf-style formatting of the six fields, in the order year, month, day, hour, minute,
// second: "%04d%02d%02d_%02d%02d%02d".
std::string FormatCivil(const char* format, const CivilTime& civil);
