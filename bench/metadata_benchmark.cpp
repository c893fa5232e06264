// Times the metadata read of one recording (open, tree walk, decoding) against ffprobe's
// "-show_streams" on the same file. Usage: metadata_benchmark FILE [RUNS]
// Prints the median of each, in milliseconds, after one warm-up run of each.

#include "mp4/mp4fileloader.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// One metadata read as the viewer does it: a new loader and a new descriptor.
double TimeRead(const std::string& path, bool& ok) {
    CRecordingInfo recording({2024, 5, 2, 8, 10, 0}, RecordingType::Always, path, path);
    const Clock::time_point start = Clock::now();
    MP4FileLoader loader;
    ok = loader.GetMetadataFromMP4File(recording) && !recording.gpsSamples.empty();
    return Milliseconds(Clock::now() - start);
}

double TimeFfprobe(const std::string& path, bool& ok) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> args = {"ffprobe", "-v", "error", "-show_streams", path};
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    int status = 0;
    ok = posix_spawnp(&pid, "ffprobe", &actions, nullptr, argv.data(), environ) == 0 &&
         waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    const double elapsed = Milliseconds(Clock::now() - start);
    posix_spawn_file_actions_destroy(&actions);
    return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: metadata_benchmark FILE [RUNS]\n");
        return 2;
    }
    const std::string path = argv[1];
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    bool ok = true;
    TimeRead(path, ok);  // warm-up: the file's pages into the cache
    TimeFfprobe(path, ok);
    std::vector<double> reads, probes;
    for (int i = 0; i < runs && ok; ++i) {
        reads.push_back(TimeRead(path, ok));
    }
    for (int i = 0; i < std::max(3, runs / 4) && ok; ++i) {
        probes.push_back(TimeFfprobe(path, ok));
    }
    if (!ok) {
        std::fprintf(stderr, "metadata_benchmark: reading %s failed\n", path.c_str());
        return 1;
    }
    const double read = Median(reads), probe = Median(probes);
    std::printf("metadata: ms=%.3f ffprobe_ms=%.1f ratio=%.4f\n", read, probe, read / probe);
    return 0;
}
