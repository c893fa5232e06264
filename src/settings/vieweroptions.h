#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

// The viewer's own options, kept in option.ini in the start-up working directory.
//
// Values are validated on the way in: a value that is out of range or not a plain number is
// replaced or ignored without a message. Keys the viewer does not know stay in the file.
class ViewerOptions {
public:
    // Defaults; saveDirectory is the current working directory.
    ViewerOptions();

    // Defaults, then the file when it exists; otherwise the file is created with the defaults.
    static ViewerOptions OpenOptions(const std::filesystem::path& optionFilePath);
    // The file the viewer uses: the working directory at program start joined with option.ini.
    static std::filesystem::path DefaultOptionFilePath();

    void LoadOptions(const std::filesystem::path& optionFilePath);
    // Writes all eight keys in their order; other keys stay. Returns false when the file could
    // not be written (the options stay in memory).
    bool SaveOptions(const std::filesystem::path& optionFilePath) const;

    std::string eventDirectory = "MP4_EVENT";
    std::string continuousDirectory = "MP4_INFINITE";
    std::string rootDirectory = "CL_KORVANE";
    std::string captureDirectory = "CAM_CAPTURE";  // not stored
    std::string saveDirectory;
    bool useLog = false;
    std::int32_t playValue = 5;
    std::int32_t logLevel = 3;
    std::int32_t logType = 3;
};
