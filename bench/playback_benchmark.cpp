// CPU time of the two channel panes playing a two-channel recording, against two plain VLC
// players (cvlc) showing the same two tracks at the same size, in the same run. cvlc has no
// option to pick a video track, so its second player plays SECOND_TRACK, a stream copy of the
// recording's second video track (the same bitstream to decode).
//
// playback_benchmark RECORDING SECOND_TRACK SECONDS
// Last line: playback: ours_cpu_s=<n> vlc_cpu_s=<n> ratio=<r>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <pwd.h>
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
// cvlc opens its window at the video's size times the zoom: a pane's size for 1080p video.
constexpr double kVlcZoom = kPaneWidth / 1920.0;

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

// VLC refuses to run as root: under root the players run as "nobody", with a copy of the display's
// authority file that this user can read. Empty when no change of user is needed.
struct PlayerUser {
    uid_t uid = 0;
    gid_t gid = 0;
    std::string authority;
};

PlayerUser PreparePlayerUser() {
    PlayerUser user;
    if (geteuid() != 0) {
        return user;
    }
    if (const passwd* nobody = getpwnam("nobody")) {
        user.uid = nobody->pw_uid;
        user.gid = nobody->pw_gid;
    }
    if (const char* authority = std::getenv("XAUTHORITY")) {
        user.authority = (std::filesystem::temp_directory_path() /
                          ("korvane-bench-xauth-" + std::to_string(getpid())))
                             .string();
        std::filesystem::copy_file(authority, user.authority,
                                   std::filesystem::copy_options::overwrite_existing);
        std::filesystem::permissions(user.authority, std::filesystem::perms::owner_read |
                                                         std::filesystem::perms::owner_write |
                                                         std::filesystem::perms::others_read);
    }
    return user;
}

pid_t StartVlc(const std::string& recording, const PlayerUser& user) {
    const std::vector<std::string> arguments = {"cvlc",
                                                "--ignore-config",
                                                "--no-osd",
                                                "--disable-screensaver",
                                                "--no-snapshot-preview",
                                                "--zoom=" + std::to_string(kVlcZoom),
                                                recording};
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv;
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        std::freopen("/dev/null", "w", stderr);
        if (user.uid != 0) {
            setenv("HOME", "/tmp", 1);
            if (!user.authority.empty()) {
                setenv("XAUTHORITY", user.authority.c_str(), 1);
            }
            if (setgid(user.gid) != 0 || setuid(user.uid) != 0) {
                _exit(126);
            }
        }
        execvp("cvlc", argv.data());
        _exit(127);
    }
    return pid;
}

double MeasureVlc(const std::string& recording, const std::string& secondTrack, double seconds) {
    const PlayerUser user = PreparePlayerUser();
    const pid_t players[] = {StartVlc(recording, user), StartVlc(secondTrack, user)};
    usleep(static_cast<useconds_t>(seconds * 1e6));
    double total = 0.0;
    for (pid_t pid : players) {
        kill(pid, SIGTERM);
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        total += CpuSeconds(usage);
        if (WIFEXITED(status) && WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "playback_benchmark: cvlc ended early with status %d\n",
                         WEXITSTATUS(status));
        }
    }
    if (!user.authority.empty()) {
        std::filesystem::remove(user.authority);
    }
    return total;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s RECORDING SECOND_TRACK SECONDS\n", argv[0]);
        return 2;
    }
    const std::string recording = argv[1];
    const std::string secondTrack = argv[2];
    const double seconds = std::atof(argv[3]);
    QApplication app(argc, argv);
    if (VlcFunctionExecutor::GetInstance() == nullptr) {
        std::fprintf(stderr, "playback_benchmark: no media engine\n");
        return 1;
    }
    const double ours = MeasureOurs(recording, seconds);
    const double vlc = MeasureVlc(recording, secondTrack, seconds);
    std::printf("playback: ours_cpu_s=%.2f vlc_cpu_s=%.2f ratio=%.2f\n", ours, vlc,
                vlc > 0 ? ours / vlc : 0.0);
    return 0;
}
