#include "app/korvaneviewernewdlg.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QFrame>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>

#include <algorithm>
#include <QApplication>

#include "app/guithread.h"
#include "app/logwriter.h"
#include "app/resourcemanager.h"
#include "app/usertexts.h"
#include "app/viewercontext.h"
#include "mp4/mp4fileloader.h"
#include "playback/firstchannelvideopane.h"
#include "playback/secondchannelvideopane.h"
#include "recordings/recordingscan.h"
#include "widgets/cbuttonstyle.h"
#include "widgets/cmybitmapbutton.h"
#include "widgets/skincolors.h"

namespace {

constexpr const char* kClassName = "CKorvaneViewerNewDlg";

QString Text(std::int32_t id) { return QString::fromStdString(usertexts::Text(id)); }

}  // namespace

CKorvaneViewerNewDlg::CKorvaneViewerNewDlg(CViewerContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    context_.AddListener(*this);
    setWindowTitle("Korvane Viewer");
    setWindowIcon(ResourceManager::Instance().GetIcon(245));
    setMinimumSize(kMinimumSize);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAcceptDrops(true);
    OnInitDialog();
}

CKorvaneViewerNewDlg::~CKorvaneViewerNewDlg() {
    // The panes (children) unregister in their own destructors; make sure the bus is stopped
    // first so that none of them is waited for by a delivery in progress.
    context_.StopRunning();
    delete playerPane_;  // with the channel panes, which unregister
    delete mapPane_;
    delete listPane_;
    context_.RemoveListener(*this);
    context_.Shutdown();
    ResourceManager::Release();
}

void CKorvaneViewerNewDlg::OnInitDialog() {
    options_ = ViewerOptions::OpenOptions(ViewerOptions::DefaultOptionFilePath());

    LogWriter& log = LogWriter::Instance();
    log.Configure(options_.useLog, options_.logType, options_.logLevel);
    WriteLog(kClassName, "OnInitDialog", "Log Start!");
    WriteLog(kClassName, "OnInitDialog", "KorvaneViewerDlg Init");

    titleBar_ = ResourceManager::Instance().LoadBitmap(108);
    CreatePanes();
    CreateToolbar();
    LayoutPanes();
    ShowToolbar(true);
    EnableRecordingCommands(false);
    context_.ClearVideoMessages();
    InstallKeyHandling();
    PostSliderInterval();
    layoutReady_ = true;
}

void CKorvaneViewerNewDlg::CreatePanes() {
    auto makePane = [this](const char* name) {
        auto* pane = new QFrame(this);
        pane->setObjectName(name);
        pane->setAutoFillBackground(true);
        QPalette palette = pane->palette();
        palette.setColor(QPalette::Window, skin::kBackground);
        pane->setPalette(palette);
        return pane;
    };
    playerPane_ = makePane("playerPane");
    mapPane_ = makePane("mapPane");
    listPane_ = makePane("listPane");

    // The two channels side by side in the player area; they register on the bus right after
    // the main window, channel 1 first.
    firstChannel_ = new CFirstChannelVideoPane(context_, playerPane_);
    secondChannel_ = new CSecondChannelVideoPane(context_, playerPane_);
}

void CKorvaneViewerNewDlg::LayoutChannels() {
    // Two 16:9 pictures side by side, centred at the top of the player area.
    const int gap = 5;
    const int width = (playerPane_->width() - 3 * gap) / 2;
    const int height = std::min(width * 9 / 16, playerPane_->height() - 2 * gap);
    firstChannel_->setGeometry(gap, gap, width, height);
    secondChannel_->setGeometry(2 * gap + width, gap, width, height);
}

// The toolbar: tooltip text number and icon triples (normal, hot, pressed), with the disabled
// triple for the commands that need a recording.
struct CKorvaneViewerNewDlg::ToolbarEntry {
    ToolbarButton button;
    const char* objectName;
    std::int32_t tooltipId;
    std::array<int, 3> icons;
    std::array<int, 3> disabledIcons;
};

const CKorvaneViewerNewDlg::ToolbarEntry CKorvaneViewerNewDlg::kToolbar[] = {
    {Open, "openButton", 241, {194, 195, 196}, {}},
    {ImageCapture, "imageCaptureButton", 237, {208, 209, 211}, {210, 210, 210}},
    {VideoCapture, "videoCaptureButton", 238, {204, 205, 207}, {206, 206, 206}},
    {Print, "printButton", 240, {200, 201, 203}, {202, 202, 202}},
    {Settings, "settingsButton", 239, {197, 198, 199}, {}},
    {Maximize, "maximizeButton", 242, {191, 192, 193}, {}},
    {About, "aboutButton", 222, {188, 189, 190}, {}},
};

void CKorvaneViewerNewDlg::CreateToolbar() {
    for (const ToolbarEntry& entry : kToolbar) {
        auto* button = new CButtonStyle(this);
        button->setObjectName(entry.objectName);
        button->setToolTip(Text(entry.tooltipId));
        button->SetIcons(entry.icons[0], entry.icons[1], entry.icons[2]);
        button->setFixedSize(32, 32);
        button->setFocusPolicy(Qt::NoFocus);
        toolbar_[entry.button] = button;
    }
    connect(toolbar_[Maximize], &QAbstractButton::clicked, this,
            &CKorvaneViewerNewDlg::OnBnClickedVideoMaximizeBtn);

    logoButton_ = new CMyBitmapButton(this);
    logoButton_->setObjectName("logoButton");
    logoButton_->LoadBitmaps(153);
    logoButton_->SizeToContent();
    logoButton_->setFocusPolicy(Qt::NoFocus);
}

void CKorvaneViewerNewDlg::InstallKeyHandling() {
    // Keys are translated before any child sees them, whichever child has the focus and whether
    // or not a window manager made this window active.
    qApp->installEventFilter(this);
}

bool CKorvaneViewerNewDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QWidget::eventFilter(watched, event);
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != this) {
        return QWidget::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    return HandleKey(key->key(), key->modifiers());
}

bool CKorvaneViewerNewDlg::HandleKey(int key, Qt::KeyboardModifiers modifiers) {
    const bool alt = modifiers.testFlag(Qt::AltModifier);
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (alt && key == Qt::Key_F4) {
        close();
        return true;
    }
    if (alt && enter) {
        context_.videoMaximized ? OnBnClickedVideoMinimizeBtn() : OnBnClickedVideoMaximizeBtn();
        return true;
    }
    if (enter || key == Qt::Key_Escape) {
        return true;  // the window must not close on them
    }
    if (key == Qt::Key_F1) {
        ShowHelp();
        return true;
    }
    return false;
}

void CKorvaneViewerNewDlg::ShowHelp() {
    QMessageBox box(QMessageBox::NoIcon, windowTitle(), QString::fromUtf8("준비중입니다."),
                    QMessageBox::Ok, this);
    box.exec();
}

void CKorvaneViewerNewDlg::LayoutPanes() {
    const int w = width();
    const int h = height();
    if (context_.videoMaximized) {
        playerPane_->setGeometry(0, 0, w, h);
    } else {
        mapPane_->setGeometry(w - 285, kTitleBarHeight, 280, h / 3 + 50);
        listPane_->setGeometry(w - 285, kTitleBarHeight + h / 3 + 50, 280, 2 * h / 3 - 97);
        playerPane_->setGeometry(5, kTitleBarHeight, w - 295, h - 45);
    }
    LayoutChannels();
    logoButton_->move(w - logoButton_->width() - 6, 6);
    static constexpr int kToolbarOffsets[] = {15, 57, 99, 141, 183, 225, 267};
    for (int i = 0; i < ToolbarButton::Count; ++i) {
        toolbar_[i]->move(kToolbarOffsets[i], 9);
    }
    update();
}

void CKorvaneViewerNewDlg::ShowToolbar(bool show) {
    for (QAbstractButton* button : toolbar_) {
        button->setVisible(show);
    }
    logoButton_->setVisible(show);
}

void CKorvaneViewerNewDlg::EnableRecordingCommands(bool enable) {
    for (const ToolbarEntry& entry : kToolbar) {
        if (entry.disabledIcons[0] == 0) {
            continue;  // available without a recording
        }
        const auto& icons = enable ? entry.icons : entry.disabledIcons;
        toolbar_[entry.button]->SetIcons(icons[0], icons[1], icons[2]);
        toolbar_[entry.button]->setEnabled(enable);
    }
}

void CKorvaneViewerNewDlg::PostSliderInterval() {
    VideoMessageData data;
    data.sliderInterval = options_.playValue;
    context_.PostVideoMessage(VIDEO_FRAME_POSITION_SLIDER_INTERVAL_VALUE_CHANGED, data);
}

void CKorvaneViewerNewDlg::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void CKorvaneViewerNewDlg::dropEvent(QDropEvent* event) {
    QStringList names;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            names << url.toLocalFile();
        }
    }
    event->acceptProposedAction();
    OnDropFiles(names);
}

void CKorvaneViewerNewDlg::OnDropFiles(const QStringList& names) {
    WriteLog(kClassName, "OnDropFiles", "Drop Files start");
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::vector<std::string> folders;
    std::vector<std::string> files;
    for (const QString& name : names) {
        const std::string path = name.toStdString();
        (recordingscan::IsDroppedFolder(path) ? folders : files).push_back(path);
    }
    LoadSelection(files, folders);
    QApplication::restoreOverrideCursor();
    WriteLog(kClassName, "OnDropFiles", "Drop Files end");
}

bool CKorvaneViewerNewDlg::LoadSelection(const std::vector<std::string>& files,
                                         const std::vector<std::string>& folders) {
    MP4FileLoader loader;
    loader.SetMessageHandler([this](std::int32_t textId) {
        QMessageBox::information(this, windowTitle(), Text(textId));
    });
    RecordingList recordings = loader.LoadFiles(folders, files);
    if (recordings.empty()) {
        return false;
    }
    PublishLoadedRecordings(std::move(recordings));
    return true;
}

void CKorvaneViewerNewDlg::PublishLoadedRecordings(RecordingList list) {
    std::lock_guard lock(loadLock_);
    // A list still waiting from an earlier load is replaced: the playlist gets the newest.
    loadedRecordings_ = std::move(list);
    context_.PostVideoMessage(UPDATE_VIDEO_PLAYLIST);
    context_.PostVideoMessage(VIDEO_FILES_OPENED);
    VideoMessageData first;
    first.index = 0;
    context_.PostVideoMessage(CHANGE_VIDEO_INDEX, first);
    context_.PostVideoMessage(LOAD_VIDEO_MEDIA);
    context_.PostVideoMessage(NEW_VIDEO_PLAY);
}

void CKorvaneViewerNewDlg::OnBnClickedVideoMaximizeBtn() {
    WriteLog(kClassName, "OnBnClickedVideoMaximizeBtn", "Video Maximize Button Click");
    context_.videoMaximized = true;
    mapPane_->hide();
    listPane_->hide();
    ShowToolbar(false);
    LayoutPanes();
    WriteLog(kClassName, "OnBnClickedVideoMaximizeBtn", "Video Maximize end");
}

void CKorvaneViewerNewDlg::OnBnClickedVideoMinimizeBtn() {
    WriteLog(kClassName, "OnBnClickedVideoMinimizeBtn", "Video Minimize Button Click");
    context_.videoMaximized = false;
    mapPane_->show();
    listPane_->show();
    ShowToolbar(true);
    LayoutPanes();
    WriteLog(kClassName, "OnBnClickedVideoMinimizeBtn", "Video Minimize end");
}

void CKorvaneViewerNewDlg::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (layoutReady_) {
        LayoutPanes();
    }
}

void CKorvaneViewerNewDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), skin::kFrame);
    if (titleBar_.isNull()) {
        painter.fillRect(0, 0, width(), kTitleBarHeight, skin::kPanel);
    } else {
        painter.drawImage(QRect(0, 0, width(), kTitleBarHeight), titleBar_);
    }
}

void CKorvaneViewerNewDlg::closeEvent(QCloseEvent* event) {
    context_.StopRunning();
    options_.SaveOptions(ViewerOptions::DefaultOptionFilePath());
    WriteLog(kClassName, "OnClose", "Log End\n");
    event->accept();
}

void CKorvaneViewerNewDlg::update(std::int32_t kind, const VideoMessageData& data) {
    switch (kind) {
        case UPDATE_VIDEO_PLAYLIST: {
            std::lock_guard lock(loadLock_);
            if (!loadedRecordings_.empty()) {
                context_.playlist().SetRecordings(std::move(loadedRecordings_));
                loadedRecordings_.clear();
            }
            break;
        }
        case CHANGE_VIDEO_INDEX:
            if (data.index >= 0) {
                context_.playlist().SetCurrentIndex(static_cast<std::uint32_t>(data.index));
            }
            break;
        case CREATE_VIDEO_METADATA:
            context_.playlist().LoadCurrentMetadata();
            break;
        case VIDEO_PLAY:
        case VIDEO_PREVIOUS:
        case VIDEO_NEXT:
        case NEW_VIDEO_PLAY:
            guithread::Post(this, [this] { EnableRecordingCommands(true); });
            context_.ClearVideoMessages();
            break;
        case VIDEO_STOP:
            guithread::Post(this, [this] { EnableRecordingCommands(false); });
            context_.ClearVideoMessages();
            break;
        case VIDEO_FRAME_POSITION_CHANGED:
            context_.currentPosition = data.position;
            break;
        case VIDEO_FILE_NOT_FOUND:
            // Holds up further deliveries until the user has read the message.
            guithread::RunAndWait(this, context_, [this] {
                QMessageBox::information(this, windowTitle(), Text(292));
                EnableRecordingCommands(false);
            });
            break;
        default:
            break;
    }
}
