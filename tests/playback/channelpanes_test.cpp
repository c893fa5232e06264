// The two channel panes with the real engine, under a real display, driven through the bus the
// way the main window and the player pane drive them.
#include "playback/firstchannelvideopane.h"
#include "playback/secondchannelvideopane.h"

#include <QImage>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/viewercontext.h"
#include "recordings/recordinginfo.h"
#include "testsupport/tempdir.h"

namespace {

struct Notification {
    std::int32_t kind;
    float position;
    std::int32_t index;
};

// Stands in for the main window, the first listener: follows the index, has the metadata
// read, and records every notification in delivery order.
class ShellStandIn : public IListener {
public:
    explicit ShellStandIn(CViewerContext& context) : context_(context) {
        context_.AddListener(*this);
    }
    ~ShellStandIn() override { context_.RemoveListener(*this); }

    void update(std::int32_t kind, const VideoMessageData& data) override {
        if (kind == CHANGE_VIDEO_INDEX) {
            context_.playlist().SetCurrentIndex(static_cast<std::uint32_t>(data.index));
        } else if (kind == CREATE_VIDEO_METADATA) {
            context_.playlist().LoadCurrentMetadata();
        }
        std::lock_guard lock(lock_);
        received_.push_back({kind, data.position, data.index});
    }

    std::vector<Notification> received() const {
        std::lock_guard lock(lock_);
        return received_;
    }
    std::vector<std::int32_t> kinds() const {
        std::vector<std::int32_t> kinds;
        for (const Notification& n : received()) {
            kinds.push_back(n.kind);
        }
        return kinds;
    }
    void clear() {
        std::lock_guard lock(lock_);
        received_.clear();
    }

private:
    CViewerContext& context_;
    mutable std::mutex lock_;  // guards received_
    std::vector<Notification> received_;
};

// Whether `kinds` holds `sequence` as consecutive entries.
bool ContainsRun(const std::vector<std::int32_t>& kinds, const std::vector<std::int32_t>& run) {
    return std::search(kinds.begin(), kinds.end(), run.begin(), run.end()) != kinds.end();
}

std::size_t Count(const std::vector<std::int32_t>& kinds, std::int32_t kind) {
    return static_cast<std::size_t>(std::count(kinds.begin(), kinds.end(), kind));
}

// A waiting time, stretched by KORVANE_TEST_TIMEOUT_SCALE for slow runs (sanitizers).
int Timeout(int milliseconds) {
    const char* scale = std::getenv("KORVANE_TEST_TIMEOUT_SCALE");
    const int factor = scale != nullptr ? std::atoi(scale) : 1;
    return milliseconds * std::max(factor, 1);
}

// Position reports since the latest opening of a recording.
std::size_t PositionsSinceOpening(const std::vector<std::int32_t>& kinds) {
    const auto opening = std::find(kinds.rbegin(), kinds.rend(), VIDEO_METADATA_CREATED);
    if (opening == kinds.rend()) {
        return 0;
    }
    return static_cast<std::size_t>(
        std::count(kinds.rbegin(), opening, VIDEO_FRAME_POSITION_CHANGED));
}

// Encodes a recording with one H.264 video track per lavfi source and an AAC sound track.
bool MakeRecording(const std::filesystem::path& path, const std::vector<std::string>& sources,
                   int seconds) {
    std::string command = "ffmpeg -y -loglevel error";
    const std::string duration = std::to_string(seconds);
    for (const std::string& source : sources) {
        const char* separator = source.find('=') == std::string::npos ? "=" : ":";
        command +=
            " -f lavfi -i " + source + separator + "size=320x180:rate=25:duration=" + duration;
    }
    command += " -f lavfi -i sine=frequency=440:duration=" + duration;
    for (std::size_t i = 0; i <= sources.size(); ++i) {
        command += " -map " + std::to_string(i);
    }
    command +=
        " -c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 25 -c:a aac '" + path.string() + "'";
    return std::system(command.c_str()) == 0;
}

RecordingList MakePlaylist(const std::vector<std::filesystem::path>& paths) {
    RecordingList list;
    for (const auto& path : paths) {
        list.push_back(std::make_unique<CRecordingInfo>(DateTime{}, RecordingType::Always,
                                                        path.string(), path.filename().string()));
    }
    return list;
}

// Mean colour of a picture.
QColor MeanColour(const QImage& image) {
    double r = 0, g = 0, b = 0;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb pixel = rgb.pixel(x, y);
            r += qRed(pixel);
            g += qGreen(pixel);
            b += qBlue(pixel);
        }
    }
    const double n = static_cast<double>(rgb.width()) * rgb.height();
    return QColor(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n));
}

// The player pane's hosting of the two channels, and the order the viewer builds things in:
// main window (here its stand-in) first, then channel 1, then channel 2.
struct Viewer {
    explicit Viewer(const std::vector<std::filesystem::path>& recordings) : shell(context) {
        context.playlist().SetRecordings(MakePlaylist(recordings));
        window.resize(660, 200);
        first = std::make_unique<CFirstChannelVideoPane>(context, &window);
        second = std::make_unique<CSecondChannelVideoPane>(context, &window);
        first->setGeometry(0, 10, 320, 180);
        second->setGeometry(330, 10, 320, 180);
        window.show();
    }
    ~Viewer() {
        // The main window's order on close: stop the bus, delete the panes, shut down.
        context.StopRunning();
        second.reset();
        first.reset();
        context.Shutdown();
    }

    void Start(std::int32_t index) {
        VideoMessageData data;
        data.index = index;
        context.PostVideoMessage(CHANGE_VIDEO_INDEX, data);
        context.PostVideoMessage(LOAD_VIDEO_MEDIA);
        context.PostVideoMessage(NEW_VIDEO_PLAY);
    }

    CViewerContext context;
    ShellStandIn shell;
    QWidget window;
    std::unique_ptr<CFirstChannelVideoPane> first;
    std::unique_ptr<CSecondChannelVideoPane> second;
};

}  // namespace

class ChannelPanesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        twoA_ = dir_.path() / "REC_2012_03_04_05_06_07.mp4";
        twoB_ = dir_.path() / "REC_2012_03_04_05_07_07.mp4";
        one_ = dir_.path() / "EVT_2012_03_04_05_08_07.mp4";
        // Channel 1 sees the test card, channel 2 a blue picture: easy to tell apart.
        QVERIFY(MakeRecording(twoA_, {"testsrc", "color=c=blue"}, 5));
        QVERIFY(MakeRecording(twoB_, {"testsrc2", "color=c=blue"}, 2));
        QVERIFY(MakeRecording(one_, {"testsrc"}, 3));
    }

    void playsBothChannelsAndStepsThroughThePlaylist() {
        Viewer viewer({twoA_, twoB_});
        QVERIFY(viewer.first->placeholderShown());
        viewer.Start(0);

        // Opening: metadata request, then its completion, reported back to back.
        QTRY_VERIFY_WITH_TIMEOUT(Count(viewer.shell.kinds(), VIDEO_FRAME_POSITION_CHANGED) >= 5,
                                 Timeout(5000));
        QVERIFY(ContainsRun(viewer.shell.kinds(), {CREATE_VIDEO_METADATA, VIDEO_METADATA_CREATED}));
        QVERIFY(Count(viewer.shell.kinds(), VIDEO_PLAYING) >= 1);
        QVERIFY(!viewer.first->placeholderShown());
        QVERIFY(!CFirstChannelVideoPane::loadingMedia);

        // Positions grow.
        std::vector<float> positions;
        for (const Notification& n : viewer.shell.received()) {
            if (n.kind == VIDEO_FRAME_POSITION_CHANGED) {
                positions.push_back(n.position);
            }
        }
        QVERIFY(std::is_sorted(positions.begin(), positions.end()));
        QVERIFY(positions.back() > positions.front());
        QVERIFY(positions.back() < 1.0f);

        // Channel 2 plays the second camera; channel 1 the first, with sound.
        QTRY_VERIFY_WITH_TIMEOUT(CSecondChannelVideoPane::trackSelected, Timeout(5000));
        QVERIFY(CSecondChannelVideoPane::secondChannelActive);
        QCOMPARE(viewer.second->engine().VideoTrack(), 1);
        QCOMPARE(viewer.first->engine().VideoTrack(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(viewer.second->engine().IsPlaying(), Timeout(5000));

        TakeScreenshot("playback-two-channels.png");

        // The end of the first recording starts the second one.
        QTRY_VERIFY_WITH_TIMEOUT(
            ContainsRun(viewer.shell.kinds(),
                        {VIDEO_END_REACHED, CHANGE_VIDEO_INDEX, LOAD_VIDEO_MEDIA, VIDEO_NEXT}),
            Timeout(8000));
        QTRY_COMPARE_WITH_TIMEOUT(Count(viewer.shell.kinds(), VIDEO_METADATA_CREATED), 2ul,
                                  Timeout(5000));
        QCOMPARE(viewer.context.playlist().currentIndex(), 1u);

        // The end of the last one stops, back at the first recording, placeholder shown.
        QTRY_VERIFY_WITH_TIMEOUT(
            ContainsRun(viewer.shell.kinds(),
                        {VIDEO_END_REACHED, CHANGE_VIDEO_INDEX, LOAD_VIDEO_MEDIA, VIDEO_STOP}),
            Timeout(8000));
        QTRY_VERIFY_WITH_TIMEOUT(viewer.first->placeholderShown(), Timeout(5000));
        QCOMPARE(viewer.context.playlist().currentIndex(), 0u);
        QCOMPARE(Count(viewer.shell.kinds(), VIDEO_END_REACHED), 2ul);
        std::vector<std::int32_t> indexes;
        for (const Notification& n : viewer.shell.received()) {
            if (n.kind == CHANGE_VIDEO_INDEX) {
                indexes.push_back(n.index);
            }
        }
        QCOMPARE(indexes, (std::vector<std::int32_t>{0, 1, 0}));
    }

    void aPauseIsReportedUnlessALoadCausedIt() {
        Viewer viewer({twoB_, twoA_});
        viewer.Start(0);
        QTRY_VERIFY_WITH_TIMEOUT(CSecondChannelVideoPane::trackSelected &&
                                     Count(viewer.shell.kinds(), VIDEO_FRAME_POSITION_CHANGED) > 2,
                                 Timeout(5000));

        // A new recording while playing: the old media's pause stays unreported.
        viewer.shell.clear();
        viewer.Start(1);
        QTRY_VERIFY_WITH_TIMEOUT(PositionsSinceOpening(viewer.shell.kinds()) > 2, Timeout(5000));
        QTRY_VERIFY_WITH_TIMEOUT(CSecondChannelVideoPane::trackSelected, Timeout(5000));
        QCOMPARE(Count(viewer.shell.kinds(), VIDEO_PAUSE), 0ul);

        // A pause of channel 1 from anywhere else is reported, and channel 2 follows it.
        viewer.shell.clear();
        viewer.first->PlayVideo();
        QTRY_COMPARE_WITH_TIMEOUT(Count(viewer.shell.kinds(), VIDEO_PAUSE), 1ul, Timeout(5000));
        QTRY_VERIFY_WITH_TIMEOUT(!viewer.second->engine().IsPlaying(), Timeout(5000));
        QVERIFY(!viewer.first->engine().IsPlaying());

        // Play toggles both again while channel 2 is active.
        viewer.context.PostVideoMessage(VIDEO_PLAY);
        QTRY_VERIFY_WITH_TIMEOUT(
            viewer.first->engine().IsPlaying() && viewer.second->engine().IsPlaying(),
            Timeout(5000));
    }

    void volumeReachesChannelOneOnly() {
        Viewer viewer({twoA_});
        viewer.Start(0);
        QTRY_VERIFY_WITH_TIMEOUT(CSecondChannelVideoPane::secondChannelActive, Timeout(5000));
        QCOMPARE(viewer.first->engine().Volume(), CFirstChannelVideoPane::kInitialVolume);

        VideoMessageData data;
        data.volume = 77;
        viewer.context.PostVideoMessage(CHANGE_VIDEO_VOLUME, data);
        QTRY_COMPARE_WITH_TIMEOUT(viewer.first->engine().Volume(), 77, Timeout(5000));
        QCOMPARE(viewer.second->engine().Volume(), 0);

        // The next load keeps the changed volume for channel 1 and mutes channel 2 again.
        viewer.shell.clear();
        viewer.Start(0);
        QTRY_VERIFY_WITH_TIMEOUT(Count(viewer.shell.kinds(), VIDEO_METADATA_CREATED) == 1 &&
                                     CSecondChannelVideoPane::trackSelected,
                                 Timeout(5000));
        QCOMPARE(viewer.first->engine().Volume(), 77);
        QCOMPARE(viewer.second->engine().Volume(), 0);
    }

    void snapshotsOfATwoChannelRecordingShowBothCameras() {
        Viewer viewer({twoA_});
        viewer.Start(0);
        QTRY_VERIFY_WITH_TIMEOUT(CSecondChannelVideoPane::trackSelected &&
                                     Count(viewer.shell.kinds(), VIDEO_FRAME_POSITION_CHANGED) > 3,
                                 Timeout(5000));

        TempDir captures;
        const std::filesystem::path path = captures.path() / "20120304_050607.png";
        VideoMessageData data;
        data.text = path.string();
        viewer.context.PostVideoMessage(CAPTURE_VIDEO_SNAPSHOT, data);

        const auto first = captures.path() / "20120304_050607(Track1).png";
        const auto second = captures.path() / "20120304_050607(Track2).png";
        QTRY_VERIFY_WITH_TIMEOUT(std::filesystem::exists(first) && std::filesystem::exists(second),
                                 Timeout(5000));
        QVERIFY(!std::filesystem::exists(path));
        const QImage one(QString::fromStdString(first.string()));
        const QImage two(QString::fromStdString(second.string()));
        QCOMPARE(one.size(), QSize(320, 180));  // the video's own size
        QCOMPARE(two.size(), QSize(320, 180));
        const QColor blue = MeanColour(two);
        const QColor card = MeanColour(one);
        QVERIFY2(blue.blue() > 200 && blue.red() < 40 && blue.green() < 40,
                 qPrintable(blue.name()));
        QVERIFY2(card.blue() < 200 || card.red() > 60, qPrintable(card.name()));
    }

    void aOneChannelRecordingLeavesChannelTwoAloneAndWritesOneSnapshot() {
        Viewer viewer({one_});
        viewer.Start(0);
        QTRY_VERIFY_WITH_TIMEOUT(Count(viewer.shell.kinds(), VIDEO_FRAME_POSITION_CHANGED) > 3,
                                 Timeout(5000));
        QVERIFY(!CSecondChannelVideoPane::secondChannelActive);
        QVERIFY(!viewer.second->engine().IsPlaying());

        TempDir captures;
        const std::filesystem::path path = captures.path() / "single.png";
        VideoMessageData data;
        data.text = path.string();
        viewer.context.PostVideoMessage(CAPTURE_VIDEO_SNAPSHOT, data);
        QTRY_VERIFY_WITH_TIMEOUT(std::filesystem::exists(path), Timeout(5000));
        QTest::qWait(300);
        const auto entries = std::distance(std::filesystem::directory_iterator(captures.path()),
                                           std::filesystem::directory_iterator());
        QCOMPARE(entries, 1);
    }

    // The engine's reports, fed to channel 1's callback directly.
    void engineReportsBecomeNotifications() {
        Viewer viewer({twoA_, twoB_});
        auto report = [](libvlc_event_type_t type, float position = 0.0f) {
            libvlc_event_t event{};
            event.type = type;
            event.u.media_player_position_changed.new_position = position;
            CFirstChannelVideoPane::OnEngineEvent(&event, nullptr);
        };
        const std::vector<std::int32_t> next = {VIDEO_END_REACHED, CHANGE_VIDEO_INDEX,
                                                LOAD_VIDEO_MEDIA, VIDEO_NEXT};

        report(libvlc_MediaPlayerPositionChanged, 0.25f);
        CFirstChannelVideoPane::loadingMedia = true;
        report(libvlc_MediaPlayerPaused);
        report(libvlc_MediaPlayerOpening);
        report(libvlc_MediaPlayerPaused);
        report(libvlc_MediaPlayerPlaying);
        // A final position of 1.0 and the end itself step once, not twice.
        report(libvlc_MediaPlayerPositionChanged, 1.0f);
        report(libvlc_MediaPlayerEndReached);
        QTRY_VERIFY_WITH_TIMEOUT(ContainsRun(viewer.shell.kinds(), next), Timeout(5000));
        QTest::qWait(200);
        // (What follows comes from the engine playing the next recording for real.)
        std::vector<std::int32_t> kinds = viewer.shell.kinds();
        kinds.resize(9);
        QCOMPARE(kinds, (std::vector<std::int32_t>{
                            VIDEO_FRAME_POSITION_CHANGED, CREATE_VIDEO_METADATA,
                            VIDEO_METADATA_CREATED, VIDEO_PAUSE, VIDEO_PLAYING, VIDEO_END_REACHED,
                            CHANGE_VIDEO_INDEX, LOAD_VIDEO_MEDIA, VIDEO_NEXT}));
        QCOMPARE(viewer.shell.received().front().position, 0.25f);
        QCOMPARE(viewer.shell.received()[6].index, 1);
        QVERIFY(!CFirstChannelVideoPane::loadingMedia);
    }

    // Closing while both channels play and report must never hang.
    void closingDuringPlaybackNeverDeadlocks() {
        for (int round = 0; round < 6; ++round) {
            Viewer viewer({twoA_, twoB_});
            viewer.Start(round % 2);
            QTRY_VERIFY_WITH_TIMEOUT(
                Count(viewer.shell.kinds(), VIDEO_FRAME_POSITION_CHANGED) > std::size_t(round),
                Timeout(5000));
            if (round % 3 == 2) {
                // Stale notifications still queued when the window goes.
                for (int i = 0; i < 50; ++i) {
                    viewer.context.PostVideoMessage(VIDEO_PAUSE);
                    viewer.context.PostVideoMessage(VIDEO_PLAY);
                }
            }
        }
    }

private:
    static void TakeScreenshot(const char* name) {
        const char* folder = std::getenv("KORVANE_SCREENSHOT_DIR");
        if (folder == nullptr || *folder == '\0') {
            return;
        }
        QTest::qWait(500);
        const std::string command =
            std::string("import -window root '") + folder + "/" + name + "'";
        QCOMPARE(std::system(command.c_str()), 0);
    }

    TempDir dir_;
    std::filesystem::path twoA_;
    std::filesystem::path twoB_;
    std::filesystem::path one_;
};

QTEST_MAIN(ChannelPanesTest)
#include "channelpanes_test.moc"
