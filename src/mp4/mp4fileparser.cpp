#include "mp4/mp4fileparser.h"

#include "mp4/bigendian.h"

#include <algorithm>
#include <array>

bool MP4FileParser::Open(const std::filesystem::path& path) {
    Close();
    const std::string& name = path.native();
    if (name.size() < 3 || name.compare(name.size() - 3, 3, "mp4") != 0) {
        return Fail("Not an mp4 file: " + name);
    }
    const auto backslashes = static_cast<std::size_t>(std::count(name.begin(), name.end(), '\\'));
    if (name.size() + backslashes + 1 > kMaxPathBytes) {
        return Fail("Path too long: " + name);
    }
    std::string error;
    std::unique_ptr<FileByteSource> source = FileByteSource::Open(path, error);
    if (!source) {
        return Fail(error);
    }
    return OpenSource(std::move(source));
}

bool MP4FileParser::OpenSource(std::unique_ptr<ByteSource> source) {
    Close();
    if (!source) {
        return Fail("No file");
    }
    if (source->Size() > kMaxFileSize) {
        return Fail("Files of 2 GiB and more are not supported");
    }
    fileSize = static_cast<std::int32_t>(source->Size());
    file = std::move(source);
    ParseNodes(0, rootNodes, fileSize, 0);
    if (!IsValidStructure(rootNodes)) {
        Close();
        return Fail("Not an MP4 recording: no movie and media data boxes");
    }
    return true;
}

void MP4FileParser::FindNodesIn(NodeList& out, const std::vector<FileNode>& nodes,
                                std::string_view type) {
    for (const FileNode& node : nodes) {
        if (node.type == type) {
            out.push_back(&node);
        } else {
            FindNodesIn(out, ChildrenOf(node), type);
        }
    }
}

bool MP4FileParser::ReadBytes(std::int64_t offset, std::span<std::uint8_t> buffer) {
    if (!file || buffer.empty() || offset < 0 || offset >= fileSize ||
        fileSize - offset < static_cast<std::int64_t>(buffer.size())) {
        return false;
    }
    if (!file->ReadAt(offset, buffer)) {
        std::fill(buffer.begin(), buffer.end(), std::uint8_t{0});
        return false;
    }
    return true;
}

std::optional<std::uint32_t> MP4FileParser::ReadInt32(std::int64_t offset) {
    std::array<std::uint8_t, 4> bytes{};
    if (!ReadBytes(offset, bytes)) {
        return std::nullopt;
    }
    return ReadBigEndian32(bytes.data());
}

bool MP4FileParser::IsValidStructure(const std::vector<FileNode>& nodes) {
    const auto count = std::count_if(nodes.begin(), nodes.end(), [](const FileNode& node) {
        return node.type == "moov" || node.type == "mdat";
    });
    return count >= 2;
}

bool MP4FileParser::ParseNodes(std::int64_t start, std::vector<FileNode>& nodes, std::int64_t end,
                               std::int32_t depth) {
    if (start >= fileSize || end > fileSize) {
        return false;
    }
    while (start < end) {
        // One read for size and type: the common case at every node.
        std::array<std::uint8_t, 8> header{};
        if (!ReadBytes(start, header)) {
            break;  // fewer than 8 bytes left: no complete header
        }
        const auto size = static_cast<std::int32_t>(ReadBigEndian32(header.data()));
        if (size < 8 || size >= fileSize || header[4] == 0 || !TakeNodeBudget()) {
            break;
        }
        nodes.emplace_back(std::string(reinterpret_cast<const char*>(header.data() + 4), 4),
                           static_cast<std::int32_t>(start), size, depth);
        start += size;
    }
    return true;
}
