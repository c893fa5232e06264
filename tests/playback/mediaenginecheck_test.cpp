#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace {

struct ProbeRun {
    int exitStatus = -1;  // 124 on a hang, 128 + n when a signal ended it
    std::string output;
};

// Runs the start-up probe with KORVANE_LIBVLC set to `library` (unset when empty).
ProbeRun RunProbe(const std::string& library) {
    std::string command = "env -u KORVANE_LIBVLC QT_QPA_PLATFORM=offscreen ";
    if (!library.empty()) {
        command += "KORVANE_LIBVLC='" + library + "'";
    }
    command += " timeout 60 '" KORVANE_ENGINE_CHECK_PROBE "' 2>/dev/null";
    ProbeRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        run.output += buffer;
    }
    const int status = pclose(pipe);
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace

TEST(MediaEngineCheck, AnUnusableEngineIsShownAndEndsTheViewerInOrder) {
    struct Case {
        std::string library;
        std::string message;
    };
    const Case cases[] = {
        {"/nonexistent/libvlc.so.5", "libvlc.dll or libvlccore.dll file is not exist."},
        {KORVANE_STANDIN_LIBVLC, "Vlc Function is not imported."},
    };
    for (const Case& c : cases) {
        const ProbeRun run = RunProbe(c.library);
        EXPECT_EQ(run.exitStatus, 1) << c.library;
        EXPECT_EQ(run.output, "message: " + c.message + "\n") << c.library;
    }
}

TEST(MediaEngineCheck, TheInstalledEngineStartsWithoutAMessage) {
    const ProbeRun run = RunProbe("");
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.output, "engine ready\n");
}
