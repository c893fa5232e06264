// Fuzzes the MP4 box reader (open, searches, reads) and the metadata track decoding over bytes
// held in memory. Besides crashes and sanitizer reports, it traps when the tree breaks its own
// rules: siblings follow each other from the start of their parent's payload, and every
// header lies inside the file.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "mp4/metadatadecoder.h"
#include "mp4/mp4fileloader.h"
#include "mp4/mp4fileparser.h"

namespace {

constexpr std::string_view kTypes[] = {"moov", "trak", "tkhd", "mdia", "minf", "nmhd",
                                       "vmhd", "stbl", "stco", "stsz", "mdat", "free"};

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

void CheckLevel(MP4FileParser& parser, const std::vector<FileNode>& nodes, std::int64_t start,
                std::int64_t end) {
    for (const FileNode& node : nodes) {
        Check(node.size >= 8 && node.offset == start && node.offset < end);
        Check(node.PayloadOffset() <= parser.FileSize());
        start = node.End();
        CheckLevel(parser, parser.ChildrenOf(node), node.PayloadOffset(), node.End());
    }
}

void ExerciseReader(const std::vector<std::uint8_t>& bytes) {
    MP4FileParser parser;
    if (!parser.OpenSource(std::make_unique<MemoryByteSource>(bytes))) {
        Check(parser.RootNodes().empty());
        return;
    }
    CheckLevel(parser, parser.RootNodes(), 0, parser.FileSize());
    for (const std::string_view type : kTypes) {
        NodeList found;
        parser.FindNodes(found, type);
        for (const FileNode* node : found) {
            Check(node->type == type);
            parser.FindChildNodes(*node, "stco");
            parser.HasChildNode(*node, "nmhd");
            parser.FindNodesBelow(*node, "vmhd");
            parser.ReadInt32(node->offset + 12);
        }
    }
}

void ExerciseMetadata(const std::vector<std::uint8_t>& bytes) {
    CRecordingInfo recording({2024, 5, 2, 8, 10, 0}, RecordingType::Always, "fuzz.mp4", "fuzz.mp4");
    MP4FileLoader loader;
    loader.GetMetadataFromSource(std::make_unique<MemoryByteSource>(bytes), recording);
    Check(recording.gSensorTimes.size() == recording.gSensorSamples.size() ||
          !recording.metadataLoaded);
    for (const double seconds : {0.0, 0.5, 59.9, 1e9}) {
        recording.GetGpsSampleAt(seconds);
        recording.GetGSensorSampleAt(seconds);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> bytes(data, data + size);
    ExerciseReader(bytes);
    ExerciseMetadata(bytes);
    metadata::DecodeGpsRecord(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
