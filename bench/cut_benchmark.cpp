// Time-range cut against ffmpeg's stream copy and against cp of a file of the cut's size.
// Usage: cut_benchmark KORVANE_TOOL SOURCE START END ROUNDS WORK_FOLDER
// Each round runs, as separate processes and in turn: korvane-tool cut, ffmpeg -ss START -to
// END+1 -i SOURCE -map 0 -c copy, and cp; the outputs are removed between rounds (not timed).
// ffmpeg writes with its QuickTime muxer (-f mov): the MP4 muxer has no tag for the metadata
// track and refuses to copy it, and both tools should copy the same three tracks.
// The source stays in the page cache throughout. Prints the best time of each and, last, the
// summary line.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

// Runs `arguments` with standard output and error discarded; the wall time in milliseconds, or
// a negative value when it fails.
double TimeCommand(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto started = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return -1.0;
    }
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
        .count();
}

struct Best {
    double ms = 1e300;
    void Add(double sample) { ms = std::min(ms, sample); }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 7) {
        std::fputs("usage: cut_benchmark KORVANE_TOOL SOURCE START END ROUNDS WORK_FOLDER\n",
                   stderr);
        return 2;
    }
    const std::string tool = argv[1];
    const std::string source = argv[2];
    const int start = std::stoi(argv[3]);
    const int end = std::stoi(argv[4]);
    const int rounds = std::stoi(argv[5]);
    const std::filesystem::path work = argv[6];
    std::filesystem::create_directories(work);
    const std::string ours = (work / "ours.mp4").string();
    const std::string theirs = (work / "ffmpeg.mp4").string();
    const std::string copyFrom = (work / "copy-source.bin").string();
    const std::string copied = (work / "copy.bin").string();
    const auto clean = [&] {
        for (const std::string& path : {ours, theirs, copied}) {
            std::filesystem::remove(path);
        }
    };
    clean();

    Best oursBest, ffmpegBest, copyBest;
    for (int round = 0; round < rounds; ++round) {
        const double cut =
            TimeCommand({tool, "cut", source, std::to_string(start), std::to_string(end), ours});
        if (round == 0) {
            // cp copies a file of the cut's size; made once, then kept in the page cache.
            std::filesystem::copy_file(ours, copyFrom,
                                       std::filesystem::copy_options::overwrite_existing);
        }
        const double ffmpeg =
            TimeCommand({"ffmpeg", "-nostdin", "-v", "error", "-y", "-ss", std::to_string(start),
                         "-to", std::to_string(end + 1), "-i", source, "-map", "0", "-c", "copy",
                         "-f", "mov", theirs});
        const double copy = TimeCommand({"cp", copyFrom, copied});
        if (cut < 0 || ffmpeg < 0 || copy < 0) {
            std::fprintf(stderr,
                         "cut_benchmark: a command failed (cut %.1f, ffmpeg %.1f, cp %.1f)\n", cut,
                         ffmpeg, copy);
            return 1;
        }
        std::printf("round %d: ours %.1f ms, ffmpeg %.1f ms, cp %.1f ms\n", round + 1, cut, ffmpeg,
                    copy);
        oursBest.Add(cut);
        ffmpegBest.Add(ffmpeg);
        copyBest.Add(copy);
        if (round + 1 == rounds) {
            std::printf("sizes: source %ju bytes, ours %ju bytes, ffmpeg %ju bytes\n",
                        std::uintmax_t(std::filesystem::file_size(source)),
                        std::uintmax_t(std::filesystem::file_size(ours)),
                        std::uintmax_t(std::filesystem::file_size(theirs)));
        }
        clean();
    }
    std::filesystem::remove(copyFrom);
    std::printf("cut: ours_ms=%.1f ffmpeg_ms=%.1f cp_ms=%.1f ratio_ffmpeg=%.2f ratio_cp=%.2f\n",
                oursBest.ms, ffmpegBest.ms, copyBest.ms, oursBest.ms / ffmpegBest.ms,
                oursBest.ms / copyBest.ms);
    return 0;
}
