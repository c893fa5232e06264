#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// Whole-file reads and writes for tests that check or prepare exact bytes.
namespace testsupport {

// The bytes of a file; empty when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Writes `bytes` as the whole file, creating its folders.
inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path());
    }
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace testsupport
