// Times the folder scan of a card (LoadFiles: walk, reader check of every recording, names,
// sort) against a floor that walks the same tree and reads the first three box headers of each
// recording with plain system calls. Usage: scan_benchmark CARD_FOLDER [RUNS]
// Both run once to warm the cache; the medians of RUNS runs are compared.

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "recordings/fileloader.h"
#include "recordings/recordingscan.h"

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The least any scan must do: list the folders and look at the top of each file.
std::size_t Floor(const std::filesystem::path& card) {
    std::size_t seen = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(card)) {
        const std::string path = entry.path().string();
        if (!entry.is_regular_file() || !recordingscan::HasRecordingExtension(path)) {
            continue;
        }
        const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (file < 0) {
            continue;
        }
        off_t offset = 0;
        for (int box = 0; box < 3; ++box) {
            std::array<unsigned char, 8> header{};
            if (::pread(file, header.data(), header.size(), offset) != 8) {
                break;
            }
            const std::uint32_t size = static_cast<std::uint32_t>(header[0]) << 24 |
                                       header[1] << 16 | header[2] << 8 | header[3];
            if (size < 8) {
                break;
            }
            offset += size;
        }
        ::close(file);
        ++seen;
    }
    return seen;
}

std::size_t Ours(const std::filesystem::path& card) {
    CFileLoader loader;
    return loader.LoadFiles({card.string()}, {}).size();
}

template <typename Scan>
double Time(Scan scan, const std::filesystem::path& card, std::size_t& files) {
    const Clock::time_point start = Clock::now();
    files = scan(card);
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: scan_benchmark CARD_FOLDER [RUNS]\n");
        return 2;
    }
    const std::filesystem::path card = argv[1];
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    std::size_t ourFiles = 0;
    std::size_t floorFiles = 0;
    Time(Ours, card, ourFiles);  // warm the cache
    Time(Floor, card, floorFiles);
    std::vector<double> ours;
    std::vector<double> floor;
    for (int run = 0; run < runs; ++run) {
        ours.push_back(Time(Ours, card, ourFiles));
        floor.push_back(Time(Floor, card, floorFiles));
    }
    if (ourFiles != floorFiles || ourFiles == 0) {
        std::fprintf(stderr, "scan found %zu recordings, the floor %zu files\n", ourFiles,
                     floorFiles);
        return 1;
    }
    const double oursMs = Median(ours);
    const double floorMs = Median(floor);
    std::printf("scan: runs=%d min_ours_ms=%.2f min_floor_ms=%.2f\n", runs,
                *std::min_element(ours.begin(), ours.end()),
                *std::min_element(floor.begin(), floor.end()));
    std::printf("scan: files=%zu ours_ms=%.2f floor_ms=%.2f ratio=%.2f\n", ourFiles, oursMs,
                floorMs, oursMs / floorMs);
    return 0;
}
