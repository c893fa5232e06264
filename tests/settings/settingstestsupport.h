#pragma once

#include <ctime>
#include <filesystem>
#include <string>

#include "testsupport/files.h"

// Helpers shared by the settings tests.
namespace settingstest {

// The clock the settings tests run at: 3 March 2024, 09:05:07.
inline std::tm FixedTime() {
    std::tm time{};
    time.tm_year = 124;
    time.tm_mon = 2;
    time.tm_mday = 3;
    time.tm_hour = 9;
    time.tm_min = 5;
    time.tm_sec = 7;
    return time;
}

using testsupport::ReadFile;
using testsupport::WriteFile;

}  // namespace settingstest
