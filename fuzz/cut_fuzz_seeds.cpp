// Writes seeds for the time-range cut fuzzer: a small recording in the recorder's layout, and
// the same with one of the layout's rules broken. Usage: cut_fuzz_seeds FOLDER

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "cutfixture.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: cut_fuzz_seeds FOLDER\n", stderr);
        return 2;
    }
    using mp4test::CutSourceOptions;
    std::vector<std::pair<std::string, CutSourceOptions>> seeds(8);
    seeds[0].first = "recorder-layout";
    seeds[1] = {"track-time-scale", {.trackTimeScale = 600}};
    seeds[2] = {"version-1-header", {.trackHeaderVersion = 1}};
    seeds[3] = {"two-samples-per-chunk", {.samplesPerChunk = 2}};
    seeds[4] = {"co64", {.co64 = true}};
    seeds[5] = {"edit-list", {.editList = true}};
    seeds[6] = {"box-after-sample-table", {.boxAfterSampleTable = true}};
    seeds[7] = {"sample-past-the-end", {.lastOffsetShift = 5000}};
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (const auto& [name, options] : seeds) {
        const mp4test::Bytes bytes = mp4test::CutSource::Build(options);
        std::ofstream(folder / (name + ".mp4"), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    return 0;
}
