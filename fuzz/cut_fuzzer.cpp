// Fuzzes the time-range cut over recordings written to a file. Besides crashes and sanitizer
// reports, it traps when the cut breaks its promises: it writes nothing but its destination
// (the folder holds the source and, after a success, the cut, and nothing else), it never
// changes the source, a failure always comes with a reason, and what it writes the reader
// accepts as a recording again.

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "mp4/mp4fileparser.h"
#include "mp4/timerangeextractor.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

constexpr std::string_view kSandboxPrefix = "korvane-cut-fuzz-";

// A folder of this process's own, in shared memory where there is some, as every run creates
// and removes files. libFuzzer ends without running exit handlers, so each process removes the
// folders of processes that no longer run.
const std::filesystem::path& Sandbox() {
    static const std::filesystem::path folder = [] {
        std::error_code error;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        for (const auto& entry : std::filesystem::directory_iterator(base, error)) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with(kSandboxPrefix)) {
                const long pid = std::atol(name.c_str() + kSandboxPrefix.size());
                if (pid > 0 && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
                    std::filesystem::remove_all(entry.path(), error);
                }
            }
        }
        const std::filesystem::path own =
            base / (std::string(kSandboxPrefix) + std::to_string(getpid()));
        std::filesystem::remove_all(own, error);
        Check(std::filesystem::create_directory(own, error));
        return own;
    }();
    return folder;
}

std::set<std::string> Names(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Ranges the viewer's dialog can produce, and a few it cannot.
constexpr std::pair<std::int64_t, std::int64_t> kRanges[] = {
    {0, 0}, {1, 2}, {0, std::int64_t{1} << 40}, {5, 3}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path& folder = Sandbox();
    const std::filesystem::path source = folder / "source.mp4";
    const std::filesystem::path cut = folder / "cut.mp4";
    const std::vector<std::uint8_t> bytes(data, data + size);
    {
        std::ofstream out(source, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    for (const auto& [start, end] : kRanges) {
        std::string error;
        const bool saved = ExtractTimeRange(source, start, end, cut, error);
        Check(saved != !error.empty());
        const std::set<std::string> expected = saved
                                                   ? std::set<std::string>{"source.mp4", "cut.mp4"}
                                                   : std::set<std::string>{"source.mp4"};
        Check(Names(folder) == expected);
        Check(ReadFile(source) == bytes);
        if (saved) {
            MP4FileParser parser;
            Check(parser.Open(cut));
            std::filesystem::remove(cut);
        }
    }
    std::filesystem::remove(source);
    return 0;
}
