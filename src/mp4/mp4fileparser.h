#pragma once

#include "mp4/fileparser.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// Reader of the recorder's MP4 files. It knows no box semantics: every box, media data
// included, is searched for children the same way, so the length-prefixed units of the media
// data show up as pseudo-boxes. Callers that need a real child therefore search the direct
// children of a node they found by type.
//
// Open reads only the top-level headers; the children of a node are built the first time a
// search reaches it, so checking a file costs a few reads whatever its size. Results are those
// of a walk of the whole file.
class MP4FileParser : public CFileParser {
public:
    // Offsets are 32-bit signed: larger files are refused.
    static constexpr std::int64_t kMaxFileSize = 0x7FFFFFFF;
    // Longest path accepted, in bytes, its terminator and the doubling of each backslash
    // included (the recorder's tools keep paths in a buffer of this size).
    static constexpr std::size_t kMaxPathBytes = 255;

    using CFileParser::CFileParser;

    // Accepts names ending in lowercase "mp4" only, checked before the file is touched.
    bool Open(const std::filesystem::path& path) override;
    // Open over bytes that do not come from a named file (memory in tests and fuzzing).
    bool OpenSource(std::unique_ptr<ByteSource> source);

    void FindNodesIn(NodeList& out, const std::vector<FileNode>& nodes,
                     std::string_view type) override;
    bool ReadBytes(std::int64_t offset, std::span<std::uint8_t> buffer) override;
    std::optional<std::uint32_t> ReadInt32(std::int64_t offset) override;
    // At least two top-level boxes that are "moov" or "mdat", in any mix.
    bool IsValidStructure(const std::vector<FileNode>& nodes) override;
    // One level of the box walk. A size field below 8 (64-bit and to-end sizes included), not
    // below the file size, or a type starting with NUL ends the level; a box running past the
    // end of the file is kept but ends the level after it. Fails when the range starts at or
    // runs past the end of the file.
    bool ParseNodes(std::int64_t start, std::vector<FileNode>& nodes, std::int64_t end,
                    std::int32_t depth) override;
};
