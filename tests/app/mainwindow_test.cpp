#include "app/korvaneviewernewdlg.h"

#include <QAbstractButton>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "app/guithread.h"
#include "app/viewercontext.h"
#include "testsupport/tempdir.h"

namespace {

// A pane-like listener that changes a widget for every notification, half of them through the
// waiting hand-over (as the map pane does with positions).
class WidgetToucher : public IListener {
public:
    WidgetToucher(CViewerContext& context, QLabel& label) : context_(context), label_(label) {
        context_.AddListener(*this);
    }
    ~WidgetToucher() override { context_.RemoveListener(*this); }

    void update(std::int32_t kind, const VideoMessageData& data) override {
        if (kind != VIDEO_FRAME_POSITION_CHANGED) {
            return;
        }
        const QString text = QString::number(data.position);
        if (data.index % 2 == 0) {
            guithread::RunAndWait(&label_, context_, [this, text] { label_.setText(text); });
        } else {
            guithread::Post(&label_, [this, text] { label_.setText(text); });
        }
    }

private:
    CViewerContext& context_;
    QLabel& label_;
};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_.path());
    }
    void cleanupTestCase() { std::filesystem::current_path(previous_); }

    void startWithoutOptionFileCreatesIt() {
        CViewerContext context;
        {
            CKorvaneViewerNewDlg window(context);
            QCOMPARE(window.options().playValue, 5);
        }
        QVERIFY(std::filesystem::exists(dir_.path() / "option.ini"));
    }

    void enterAndEscapeNeverCloseAltF4Does() {
        CViewerContext context;
        CKorvaneViewerNewDlg window(context);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::keyClick(&window, Qt::Key_Return);
        QTest::keyClick(&window, Qt::Key_Escape);
        QTest::keyClick(&window, Qt::Key_Enter);
        QVERIFY(window.isVisible());
        QTest::keyClick(&window, Qt::Key_F4, Qt::AltModifier);
        QTRY_VERIFY(!window.isVisible());
    }

    void altEnterTwiceRestoresTheNormalLayout() {
        CViewerContext context;
        CKorvaneViewerNewDlg window(context);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* map = window.findChild<QWidget*>("mapPane");
        auto* list = window.findChild<QWidget*>("listPane");
        auto* open = window.findChild<QAbstractButton*>("openButton");
        QTest::keyClick(&window, Qt::Key_Return, Qt::AltModifier);
        QVERIFY(context.videoMaximized);
        QVERIFY(!map->isVisible() && !list->isVisible() && !open->isVisible());
        QCOMPARE(window.findChild<QWidget*>("playerPane")->geometry(), window.rect());
        QTest::keyClick(&window, Qt::Key_Return, Qt::AltModifier);
        QVERIFY(!context.videoMaximized);
        QVERIFY(map->isVisible() && list->isVisible() && open->isVisible());
    }

    void layoutFollowsTheWindowSize() {
        CViewerContext context;
        CKorvaneViewerNewDlg window(context);
        window.resize(1200, 900);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.findChild<QWidget*>("mapPane")->geometry(), QRect(915, 46, 280, 350));
        QCOMPARE(window.findChild<QWidget*>("listPane")->geometry(), QRect(915, 396, 280, 503));
        QCOMPARE(window.findChild<QWidget*>("playerPane")->geometry(), QRect(5, 46, 905, 855));
    }

    void recordingCommandsFollowPlayAndStop() {
        CViewerContext context;
        CKorvaneViewerNewDlg window(context);
        auto* print = window.findChild<QAbstractButton*>("printButton");
        QVERIFY(!print->isEnabled());
        context.PostVideoMessage(NEW_VIDEO_PLAY);
        QTRY_VERIFY(print->isEnabled());
        context.PostVideoMessage(VIDEO_STOP);
        QTRY_VERIFY(!print->isEnabled());
    }

    // A dropped card folder and a dropped file load together in one load sequence; the main
    // window, first on the bus, moves them into the playlist, makes the first current and
    // reads its metadata when channel 1 asks.
    void dropLoadsIntoThePlaylist() {
        const auto card = dir_.path() / "card";
        const std::string command = std::string(KORVANE_MAKE_SAMPLE_CARD) +
                                    " --count 4 --duration 3 --resolution 160x96 --no-extras " +
                                    card.string() + " > /dev/null";
        QCOMPARE(std::system(command.c_str()), 0);
        const auto loose = dir_.path() / "loose.mp4";
        std::filesystem::path first;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(card)) {
            if (entry.path().extension() == ".mp4") {
                first = entry.path();
                break;
            }
        }
        std::filesystem::copy_file(first, loose);

        CViewerContext context;
        CKorvaneViewerNewDlg window(context);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.OnDropFiles({QString::fromStdString((card / "CL_KORVANE").string()),
                            QString::fromStdString(loose.string())});
        QTRY_COMPARE(context.playlist().Count(), std::size_t{5});
        QCOMPARE(context.playlist().currentIndex(), 0u);
        context.PostVideoMessage(CREATE_VIDEO_METADATA);
        QTRY_VERIFY(context.playlist().GetCurrentRecording()->metadataLoaded);
        QCOMPARE(context.playlist().GetCurrentRecording()->durationSeconds, 3);

        VideoMessageData index;
        index.index = 7;  // beyond the list: ignored
        context.PostVideoMessage(CHANGE_VIDEO_INDEX, index);
        index.index = 2;
        context.PostVideoMessage(CHANGE_VIDEO_INDEX, index);
        QTRY_COMPARE(context.playlist().currentIndex(), 2u);

        // Both channels play; a screenshot of the whole display, for a person to look at.
        if (const char* folder = std::getenv("KORVANE_SCREENSHOT_DIR")) {
            QTest::qWait(2500);
            const std::string grab = std::string("import -window root '") + folder +
                                        "/viewer-playing.png'";
            QCOMPARE(std::system(grab.c_str()), 0);
        }
    }

    // Closing while notifications are in flight, over and over, never hangs and never crashes.
    void closeDuringDeliveriesRepeatedly() {
        for (int round = 0; round < 25; ++round) {
            CViewerContext context;
            auto* window = new CKorvaneViewerNewDlg(context);
            QLabel label(window);
            WidgetToucher toucher(context, label);
            window->show();
            std::atomic<bool> sending{true};
            std::thread sender([&] {
                for (int i = 0; sending; ++i) {
                    VideoMessageData data;
                    data.position = float(i % 1000) / 1000.0f;
                    data.index = i;
                    context.PostVideoMessage(VIDEO_FRAME_POSITION_CHANGED, data);
                    if (i % 64 == 0) std::this_thread::yield();
                }
            });
            QTest::qWait(5 + round % 7);
            window->close();
            label.setParent(nullptr);  // the label outlives the window for the toucher's sake
            delete window;             // stops the bus, joins the dispatcher
            sending = false;
            sender.join();
            QVERIFY(!context.IsRunning());
        }
    }

private:
    TempDir dir_;
    std::filesystem::path previous_;
};

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
