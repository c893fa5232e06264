#include "playback/channelvideopane.h"

#include "app/viewercontext.h"
#include "playback/vlcfunctionexecutor.h"

#include <QResizeEvent>

#include <filesystem>
#include <system_error>

ChannelVideoPane::ChannelVideoPane(CViewerContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setFocusPolicy(Qt::NoFocus);
    videoSurface_ = new QWidget(this);
    videoSurface_->setObjectName("videoSurface");
    // The engine draws into a window of its own inside this one, which Qt's painting of the
    // surface never covers.
    videoSurface_->setAttribute(Qt::WA_NativeWindow);
    videoSurface_->setFocusPolicy(Qt::NoFocus);
}

ChannelVideoPane::~ChannelVideoPane() {
    Unregister();
    ReleaseEngine();
}

void ChannelVideoPane::initEngine(std::initializer_list<libvlc_event_type_t> events,
                                  libvlc_callback_t callback) {
    const auto windowId = static_cast<std::uint32_t>(videoSurface_->winId());
    engine_ = std::make_unique<ChannelEngine>(VlcFunctionExecutor::GetInstance(), windowId, events,
                                              callback);
}

void ChannelVideoPane::Register() {
    context_.AddListener(*this);
    registered_ = true;
}

void ChannelVideoPane::Unregister() {
    if (registered_) {
        context_.RemoveListener(*this);
        registered_ = false;
    }
}

void ChannelVideoPane::ReleaseEngine() {
    if (engine_) {
        engine_->Release();
    }
}

bool ChannelVideoPane::FollowCommonCommand(std::int32_t kind, const VideoMessageData& data) const {
    switch (kind) {
        case CHANGE_VIDEO_FRAME_POSITION:
            engine().Seek(data.position);
            return true;
        case CHANGE_VIDEO_SPEED:
            engine().SetRate(data.speed);
            return true;
        case CHANGE_VIDEO_BRIGHTNESS:
            engine().SetBrightness(data.brightness);
            return true;
        default:
            return false;
    }
}

void ChannelVideoPane::resizeEvent(QResizeEvent* event) {
    videoSurface_->setGeometry(rect());
    QWidget::resizeEvent(event);
}

CRecordingInfo* ChannelVideoPane::CurrentRecording() const {
    return context_.playlist().GetCurrentRecording();
}

bool ChannelVideoPane::FileExists(const std::string& path) {
    std::error_code failed;
    return std::filesystem::is_regular_file(path, failed);
}
