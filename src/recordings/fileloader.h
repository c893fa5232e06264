#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "recordings/recordinginfo.h"

using RecordingList = std::vector<std::unique_ptr<CRecordingInfo>>;

// Base of the recording loaders: builds recordings from chosen folders and files, and has a
// recording's metadata read by the format-specific subclass.
class CFileLoader {
public:
    // Receives the string-table number of a message for the user (287 "Not mp4 type file.",
    // 300 "Video File Not Found."): a message box in the viewer, standard error in the tool.
    using MessageHandler = std::function<void(std::int32_t textId)>;

    CFileLoader() = default;
    virtual ~CFileLoader() = default;
    CFileLoader(const CFileLoader&) = delete;
    CFileLoader& operator=(const CFileLoader&) = delete;

    // Fills the metadata fields of `recording`; true when the file's video could be found.
    virtual bool LoadMetadata(CRecordingInfo& recording);

    // Walks `folders` recursively and takes `files`, keeps the recordings the reader accepts,
    // sorts them oldest first and numbers them. The caller owns the result.
    RecordingList LoadFiles(const std::vector<std::string>& folders,
                            const std::vector<std::string>& files);

    void SetMessageHandler(MessageHandler handler) { messageHandler_ = std::move(handler); }

protected:
    void ShowMessage(std::int32_t textId) const {
        if (messageHandler_) {
            messageHandler_(textId);
        }
    }

    RecordingList recordings;  // built by the last LoadFiles

private:
    MessageHandler messageHandler_;
};
