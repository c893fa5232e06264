// CPU time of the two channel panes playing a two-channel recording, against two plain VLC
// players (cvlc) showing the same two tracks at the same size, in the same run.
//
// playback_benchmark RECORDING SECONDS
// Last line: playback: ours_cpu_s=<n> vlc_cpu_s=<n> ratio=<r>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/viewercontext.h"
#include "playback/firstchannelvideopane.h"
#include "playback/secondchannelvideopane.h"
#include "playback/vlcfunctionexecutor.h"
#include "recordings/recordinginfo.h"

namespace {

constexpr int kPaneWidth = 640;
constexpr int kPaneHeight = 360;

double Seconds(const timeval& time) {
    return time.tv_sec + time.tv_usec / 1e6;
}

double CpuSeconds(const rusage& usage) {
    return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

double SelfCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return CpuSeconds(usage);
}

// Follows the index and has the metadata "read", as the main window does.
class Shell : public IListener {
public:
    explicit Shell(CViewerContext& context) : context_(context) { context_.AddListener(*this); }
    ~Shell() override { context_.RemoveListener(*this); }
    void update(std::int32_t kind, const VideoMessageData& data) override {
        if (kind == CHANGE_VIDEO_INDEX) {
            context_.playlist().SetCurrentIndex(static_cast<std::uint32_t>(data.index));
        } else if (kind == CREATE_VIDEO_METADATA) {
            context_.playlist().LoadCurrentMetadata();
        }
    }

private:
    CViewerContext& context_;
};

// Runs the event loop for `seconds`.
void RunFor(double seconds) {
    QTimer::singleShot(static_cast<int>(seconds * 1000), qApp, &QCoreApplication::quit);
    QApplication::exec();
}

double MeasureOurs(const std::string& recording, double seconds) {
    const double start = SelfCpuSeconds();
    {
        CViewerContext context;
        RecordingList list;
        list.push_back(
            std::make_unique<CRecordingInfo>(DateTime{}, RecordingType::Always, recording,
                                             std::filesystem::path(recording).filename().string()));
        context.playlist().SetRecordings(std::move(list));
        Shell shell(context);
        QWidget window;
        window.resize(2 * kPaneWidth + 10, kPaneHeight);
        auto* first = new CFirstChannelVideoPane(context, &window);
        auto* second = new CSecondChannelVideoPane(context, &window);
        first->setGeometry(0, 0, kPaneWidth, kPaneHeight);
        second->setGeometry(kPaneWidth + 10, 0, kPaneWidth, kPaneHeight);
        window.show();
        VideoMessageData index;
        context.PostVideoMessage(CHANGE_VIDEO_INDEX, index);
        context.PostVideoMessage(LOAD_VIDEO_MEDIA);
        context.PostVideoMessage(NEW_VIDEO_PLAY);
        RunFor(seconds);
        if (!CSecondChannelVideoPane::trackSelected) {
            std::fprintf(stderr, "playback_benchmark: channel 2 never selected its track\n");
        }
        context.StopRunning();
        delete second;
        delete first;
        context.Shutdown();
    }
    return SelfCpuSeconds() - start;
}

pid_t StartVlc(const std::string& recording, int videoTrack) {
    const std::vector<std::string> arguments = {"cvlc",
                                                "--ignore-config",
                                                "--no-osd",
                                                "--disable-screensaver",
                                                "--no-snapshot-preview",
                                                "--width=" + std::to_string(kPaneWidth),
                                                "--height=" + std::to_string(kPaneHeight),
                                                "--video-track=" + std::to_string(videoTrack),
                                                recording};
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv;
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        std::freopen("/dev/null", "w", stderr);
        execvp("cvlc", argv.data());
        _exit(127);
    }
    return pid;
}

double MeasureVlc(const std::string& recording, double seconds) {
    const pid_t players[] = {StartVlc(recording, 0), StartVlc(recording, 1)};
    usleep(static_cast<useconds_t>(seconds * 1e6));
    double total = 0.0;
    for (pid_t pid : players) {
        kill(pid, SIGTERM);
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        total += CpuSeconds(usage);
    }
    return total;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s RECORDING SECONDS\n", argv[0]);
        return 2;
    }
    const std::string recording = argv[1];
    const double seconds = std::atof(argv[2]);
    QApplication app(argc, argv);
    if (VlcFunctionExecutor::GetInstance() == nullptr) {
        std::fprintf(stderr, "playback_benchmark: no media engine\n");
        return 1;
    }
    const double ours = MeasureOurs(recording, seconds);
    const double vlc = MeasureVlc(recording, seconds);
    std::printf("playback: ours_cpu_s=%.2f vlc_cpu_s=%.2f ratio=%.2f\n", ours, vlc,
                vlc > 0 ? ours / vlc : 0.0);
    return 0;
}
