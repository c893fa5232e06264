// Writes the seed corpus of the MP4 reader fuzzer: small recordings of each kind the reader
// meets, and the damaged shapes it must survive. Usage: mp4_fuzz_seeds FOLDER

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "boxbuilder.h"

namespace {

using namespace mp4test;

Bytes TaggedSample(std::uint8_t second) {
    Bytes sample(131);
    sample[101] = 60;
    const Bytes position = Cat({U32(375123456 + second), U32(1271234567)});
    std::copy(position.begin(), position.end(), sample.begin() + 104);
    const Bytes accelerations = {0x00, 0x40, 0xFF, 0xC0, 0x00, second};
    std::copy(accelerations.begin(), accelerations.end(), sample.begin() + 114);
    const Bytes tag = Text("MIRALVETON");
    std::copy(tag.begin(), tag.end(), sample.begin() + 121);
    return sample;
}

const Bytes kGSensor = {'M', 16, 0xF0, 32, 1, 2, 3};
const Bytes kRmc = Text("G$GPRMC,081000,A,3733.123,N,12658.456,E,022.4,084.4,020524,,,A*6A");

std::vector<std::pair<std::string, Bytes>> Seeds() {
    std::vector<Bytes> tagged;
    for (std::uint8_t second = 0; second < 4; ++second) {
        tagged.push_back(TaggedSample(second));
    }
    const Bytes video(24, 0x41);
    Bytes nested = Box("core");
    for (int i = 0; i < 64; ++i) {
        nested = Box("nest", nested);
    }
    const Bytes moov = Box("moov", {FullBox("mvhd", 0, Bytes(96))});
    return {
        {"tagged-two-channels", RecordingBuilder()
                                    .VideoTrack({video, video})
                                    .VideoTrack({video})
                                    .MetadataTrack(tagged)
                                    .Build()},
        {"untagged-movie-first", RecordingBuilder()
                                     .MovieFirst()
                                     .VideoTrack({video})
                                     .MetadataTrack({kGSensor, kRmc, kGSensor})
                                     .Build()},
        {"gsensor-cut-at-end",
         RecordingBuilder().MovieFirst().MetadataTrack({kRmc, Text("M\x01")}).Build()},
        {"offsets-past-end", RecordingBuilder()
                                 .MetadataTrack({kRmc})
                                 .ExtraChunkOffsets({0xFFFFFFF0, 0x7FFFFFFF})
                                 .Build()},
        {"large-size-box",
         Cat({Box("ftyp"), RawBox(1, "mdat", Cat({U32(0), U32(64), Bytes(8)})), moov})},
        {"box-past-end", Cat({moov, Box("free", Bytes(64)), RawBox(100, "mdat", Bytes(8))})},
        {"deep-nesting", Cat({moov, Box("mdat", nested)})},
        {"pseudo-boxes-in-media",
         Cat({moov, Box("mdat", {Box("unit", Box("vmhd")), Box("trak")})})},
    };
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: mp4_fuzz_seeds FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (const auto& [name, bytes] : Seeds()) {
        std::ofstream out(folder / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "mp4_fuzz_seeds: cannot write %s\n", name.c_str());
            return 1;
        }
    }
    return 0;
}
