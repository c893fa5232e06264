#pragma once

#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

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

// The bytes of a file; empty when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Writes `bytes` as the whole file, creating its folders.
inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace settingstest
