#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Gives `target` the contents `bytes` without a moment in which the file is missing or
// half-written: the bytes go to a temporary file in the same folder, are flushed to the device,
// and the temporary file then takes the target's name. On failure the previous file is left as
// it was, the temporary file is removed, and `error` says what failed.
bool ReplaceFileContents(const std::filesystem::path& target, std::string_view bytes,
                         std::string& error);
