#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

// Saves the seconds `startSeconds` to `endSeconds` (whole seconds from the recording's start,
// both included) of the recording at `sourcePath` as a new MP4 file at `destinationPath`,
// without re-encoding: the samples of every track that start within the range are copied byte
// for byte into one media data box, track after track, and a new movie box describes exactly
// those samples. Every track of the source is kept.
//
// Only recordings in the recorder's layout are accepted; anything else (another time scale,
// several samples per chunk, 64-bit chunk offsets, version 1 headers, boxes after a sample
// table, files of 2 GiB and more) is refused before anything is written, as is a range that
// keeps no sample at all. The source is only read. The destination appears complete or not at
// all, and an existing file of that name is never touched. False with `error` set (a text the
// caller can show) when nothing was saved.
bool ExtractTimeRange(const std::filesystem::path& sourcePath, std::int64_t startSeconds,
                      std::int64_t endSeconds, const std::filesystem::path& destinationPath,
                      std::string& error);
