#include "recordingfile.h"

#include <cstdio>
#include <filesystem>

#include "mp4/mp4fileloader.h"
#include "recordings/recordingscan.h"

std::unique_ptr<CRecordingInfo> LoadRecording(const std::string& path, std::string& error) {
    const std::string fileName = std::filesystem::path(path).filename().string();
    auto recording = std::make_unique<CRecordingInfo>(recordingscan::ParseRecordingTime(path),
                                                      recordingscan::ClassifyRecording(fileName),
                                                      path, fileName);
    MP4FileLoader loader;
    if (!loader.LoadMetadata(*recording)) {
        error = loader.LastError().empty() ? "no video found" : loader.LastError();
        if (error.find(path) == std::string::npos) {
            error = path + ": " + error;
        }
        return nullptr;
    }
    return recording;
}

std::string FormatDateTime(const DateTime& time, char separator) {
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d%c%02d:%02d:%02d", time.year, time.month,
                  time.day, separator, time.hour, time.minute, time.second);
    return text;
}
