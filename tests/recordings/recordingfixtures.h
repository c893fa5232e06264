#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>

// The smallest file the MP4 reader accepts as a recording: ftyp, moov and mdat at the top.
inline void WriteMinimalRecording(const std::filesystem::path& path) {
    std::filesystem::create_directories(path.parent_path());
    std::string bytes;
    for (std::string_view type : {"ftyp", "moov", "mdat"}) {
        bytes += std::string("\0\0\0\x10", 4);
        bytes += type;
        bytes += std::string(8, 'x');
    }
    std::ofstream(path, std::ios::binary) << bytes;
}

inline void WriteText(const std::filesystem::path& path, std::string_view text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}
