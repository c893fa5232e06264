#pragma once

#include <memory>
#include <string>

#include "recordings/recordinginfo.h"

// A recording read the way the viewer reads the one it plays: start time and kind from its
// name, then its metadata. Null, with `error` set, when the reader refuses the file.
std::unique_ptr<CRecordingInfo> LoadRecording(const std::string& path, std::string& error);

// "2012-03-05 07:08:09", or with `separator` 'T' the ISO 8601 form.
std::string FormatDateTime(const DateTime& time, char separator = ' ');
