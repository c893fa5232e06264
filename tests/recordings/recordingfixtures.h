#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "testsupport/files.h"

// The smallest file the MP4 reader accepts as a recording: ftyp, moov and mdat at the top.
inline void WriteMinimalRecording(const std::filesystem::path& path) {
    std::string bytes;
    for (std::string_view type : {"ftyp", "moov", "mdat"}) {
        bytes += std::string("\0\0\0\x10", 4);
        bytes += type;
        bytes += std::string(8, 'x');
    }
    testsupport::WriteFile(path, bytes);
}
