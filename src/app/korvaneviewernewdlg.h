#pragma once

#include <QImage>
#include <QWidget>

#include <array>
#include <mutex>

#include "app/listener.h"
#include "recordings/fileloader.h"
#include "settings/vieweroptions.h"

class CViewerContext;
class CButtonStyle;
class CFirstChannelVideoPane;
class CSecondChannelVideoPane;
class CMyBitmapButton;
class QFrame;

// The viewer's single top-level window: owns the panes, the toolbar, the keys and the viewer
// options, turns user commands into bus notifications, and as the first bus listener moves
// loaded recordings into the playlist before any pane sees a notification.
//
// Construction registers the window on the bus; destruction stops the bus, removes every
// listener and shuts the context down, so the context outlives everything that uses it.
class CKorvaneViewerNewDlg : public QWidget, public IListener {
    Q_OBJECT

public:
    explicit CKorvaneViewerNewDlg(CViewerContext& context, QWidget* parent = nullptr);
    ~CKorvaneViewerNewDlg() override;

    // Dispatcher thread only.
    using QWidget::update;
    void update(std::int32_t kind, const VideoMessageData& data) override;

    const ViewerOptions& options() const { return options_; }

    // Loads recordings as a drop of these names does (folders and files decided by name), and
    // publishes them when any result. GUI thread.
    void OnDropFiles(const QStringList& names);

    // Moves the window between the normal and the video-only layout.
    void OnBnClickedVideoMaximizeBtn();
    void OnBnClickedVideoMinimizeBtn();

    static constexpr QSize kMinimumSize{1065, 753};
    static constexpr int kTitleBarHeight = 46;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum ToolbarButton { Open, ImageCapture, VideoCapture, Print, Settings, Maximize, About, Count };
    struct ToolbarEntry;
    static const ToolbarEntry kToolbar[];

    void OnInitDialog();
    void CreateToolbar();
    void CreatePanes();
    void InstallKeyHandling();
    // Translates one key press for this window; true when it was consumed.
    bool HandleKey(int key, Qt::KeyboardModifiers modifiers);
    void LayoutPanes();
    void LayoutChannels();
    void ShowToolbar(bool show);
    void EnableRecordingCommands(bool enable);  // GUI thread
    void PostSliderInterval();
    // Builds the recordings of the chosen folders and files; true when any resulted.
    bool LoadSelection(const std::vector<std::string>& files,
                       const std::vector<std::string>& folders);
    // Hands a freshly loaded list to the bus: the playlist takes it when UPDATE_VIDEO_PLAYLIST
    // is delivered, then the first recording loads and plays.
    void PublishLoadedRecordings(RecordingList list);
    void ShowHelp();

    CViewerContext& context_;
    ViewerOptions options_;
    bool layoutReady_ = false;

    std::array<CButtonStyle*, ToolbarButton::Count> toolbar_{};
    CMyBitmapButton* logoButton_ = nullptr;
    QImage titleBar_;
    QFrame* playerPane_ = nullptr;
    QFrame* mapPane_ = nullptr;
    QFrame* listPane_ = nullptr;
    CFirstChannelVideoPane* firstChannel_ = nullptr;   // children of playerPane_
    CSecondChannelVideoPane* secondChannel_ = nullptr;

    std::mutex loadLock_;             // guards loadedRecordings_
    RecordingList loadedRecordings_;  // built by the last load, waiting for the bus
};
