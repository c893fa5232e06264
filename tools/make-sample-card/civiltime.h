#pragma once

#include <chrono>
#include <string>

#include "recordings/recordinginfo.h"

// Local dates and times as the recorder writes them into names and records.
DateTime ToDateTime(std::chrono::local_seconds time);
std::chrono::local_seconds FromDateTime(const DateTime& time);
// printf-style formatting of the six fields, in the order year, month, day, hour, minute,
// second: "%04d%02d%02d_%02d%02d%02d".
std::string FormatDateTime(const char* format, const DateTime& time);
