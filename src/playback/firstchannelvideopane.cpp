#include "playback/firstchannelvideopane.h"

#include "app/guithread.h"
#include "app/logwriter.h"
#include "app/resourcemanager.h"
#include "app/viewercontext.h"
#include "playback/snapshotpath.h"
#include "recordings/recordinginfo.h"
#include "widgets/skincolors.h"

#include <QPaintEvent>
#include <QPainter>

namespace {

constexpr const char* kClassName = "CFirstChannelVideoPane";

// The bus of the channel 1 pane, for the engine callbacks (which get no user data). Set while
// the pane's engine exists.
std::atomic<CViewerContext*> engineReportBus{nullptr};

// One end of a recording is acted upon once: the engine may report a final position of 1.0 and
// then the end itself. Cleared when the engine opens the next recording.
std::atomic<bool> endHandled{false};

}  // namespace

std::atomic<bool> CFirstChannelVideoPane::loadingMedia{false};

CFirstChannelVideoPane::CFirstChannelVideoPane(CViewerContext& context, QWidget* parent)
    : ChannelVideoPane(context, parent) {
    WriteLog(kClassName, "OnInitDialog", "CFirstChannelVideoPane Init");
    setAttribute(Qt::WA_OpaquePaintEvent);
    videoSurface_->hide();
    placeholderImage_ = ResourceManager::Instance().LoadBitmap(kPlaceholderBitmap);
    loadingMedia.store(false);
    endHandled.store(false);
    engineReportBus.store(&context);
    initEngine({libvlc_MediaPlayerPositionChanged, libvlc_MediaPlayerPlaying,
                libvlc_MediaPlayerPaused, libvlc_MediaPlayerEndReached, libvlc_MediaPlayerOpening},
               &CFirstChannelVideoPane::OnEngineEvent);
    Register();
}

CFirstChannelVideoPane::~CFirstChannelVideoPane() {
    Unregister();
    ReleaseEngine();
    engineReportBus.store(nullptr);
}

void CFirstChannelVideoPane::update(std::int32_t kind, const VideoMessageData& data) {
    if (FollowCommonCommand(kind, data)) {
        return;
    }
    switch (kind) {
        case VIDEO_PLAY:
            guithread::Post(this, [this] { ShowPlaceholder(false); });
            PlayVideo();
            break;
        case VIDEO_PAUSE:
            engine().PauseIfPlaying();
            break;
        case VIDEO_STOP:
            engine().Stop();
            guithread::Post(this, [this] { ShowPlaceholder(true); });
            break;
        case VIDEO_PREVIOUS:
        case VIDEO_NEXT:
        case NEW_VIDEO_PLAY: {
            guithread::Post(this, [this] { ShowPlaceholder(false); });
            const CRecordingInfo* recording = CurrentRecording();
            if (recording != nullptr && FileExists(recording->path)) {
                engine().Play();
            } else {
                engine().Stop();
            }
            break;
        }
        case LOAD_VIDEO_MEDIA:
            loadingMedia.store(true);
            engine().Pause();
            if (const CRecordingInfo* recording = CurrentRecording()) {
                engine().Load(recording->path, volume_.load());
            }
            break;
        case CHANGE_VIDEO_VOLUME:
            volume_.store(data.volume);
            engine().SetVolume(data.volume);
            break;
        case CAPTURE_VIDEO_SNAPSHOT:
            Snapshot(data.text);
            break;
        case VIDEO_FILE_NOT_FOUND:
            guithread::Post(this, [this] { ShowPlaceholder(true); });
            break;
        default:
            break;
    }
}

void CFirstChannelVideoPane::PlayVideo() const {
    WriteLog(kClassName, "PlayVideo", "PlayVideo");
    engine().TogglePlayPause();
}

void CFirstChannelVideoPane::Snapshot(const std::string& path) const {
    const CRecordingInfo* recording = CurrentRecording();
    if (recording == nullptr) {
        return;
    }
    engine().Snapshot(recording->videoTrackCount >= 2 ? InsertBeforeExtension(path, "(Track1)")
                                                      : path);
}

void CFirstChannelVideoPane::ShowPlaceholder(bool show) {
    placeholderShown_ = show;
    videoSurface_->setVisible(!show);
    if (show) {
        QWidget::update();
    }
}

void CFirstChannelVideoPane::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), skin::kBackground);
    if (!placeholderImage_.isNull()) {
        painter.drawImage(rect(), placeholderImage_);
    }
}

void CFirstChannelVideoPane::OnEngineEvent(const libvlc_event_t* event, void* /*userData*/) {
    CViewerContext* bus = engineReportBus.load();
    if (bus == nullptr) {
        return;
    }
    switch (event->type) {
        case libvlc_MediaPlayerOpening:
            loadingMedia.store(false);
            endHandled.store(false);
            bus->PostVideoMessage(CREATE_VIDEO_METADATA);
            bus->PostVideoMessage(VIDEO_METADATA_CREATED);
            break;
        case libvlc_MediaPlayerPlaying:
            bus->PostVideoMessage(VIDEO_PLAYING);
            break;
        case libvlc_MediaPlayerPaused:
            if (!loadingMedia.load()) {
                bus->PostVideoMessage(VIDEO_PAUSE);
            }
            break;
        case libvlc_MediaPlayerPositionChanged: {
            const float position = event->u.media_player_position_changed.new_position;
            if (position < 1.0f) {
                VideoMessageData data;
                data.position = position;
                bus->PostVideoMessage(VIDEO_FRAME_POSITION_CHANGED, std::move(data));
            } else {
                OnEndReached(*bus);
            }
            break;
        }
        case libvlc_MediaPlayerEndReached:
            OnEndReached(*bus);
            break;
        default:
            break;
    }
}

void CFirstChannelVideoPane::OnEndReached(CViewerContext& bus) {
    if (endHandled.exchange(true)) {
        return;
    }
    bus.PostVideoMessage(VIDEO_END_REACHED);
    std::uint32_t next = 0;
    const bool hasNext = bus.playlist().GetNextIndex(next);
    VideoMessageData index;
    index.index = hasNext ? static_cast<std::int32_t>(next) : 0;
    bus.PostVideoMessage(CHANGE_VIDEO_INDEX, std::move(index));
    bus.PostVideoMessage(LOAD_VIDEO_MEDIA);
    bus.PostVideoMessage(hasNext ? VIDEO_NEXT : VIDEO_STOP);
}
