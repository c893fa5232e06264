#include "playback/secondchannelvideopane.h"

#include "app/logwriter.h"
#include "playback/snapshotpath.h"
#include "playback/vlcfunctionexecutor.h"
#include "recordings/recordinginfo.h"

#include <QPalette>

#include <functional>
#include <thread>
#include <vector>

namespace {

constexpr const char* kClassName = "CSecondChannelVideoPane";

void LogUpdate(const char* text) {
    WriteLog(kClassName, "update", text);
}

// Whether the recording loaded into channel 2 has its metadata; written when it is loaded
// (dispatcher thread), read by the track selection (engine thread). Keeping a copy spares the
// engine thread from reaching into the playlist, which the dispatcher may replace meanwhile.
std::atomic<bool> loadedRecordingHasMetadata{false};

// Repeats `attempt` until it succeeds, at most kTrackSelectionAttempts times.
bool Retry(const std::function<bool()>& attempt) {
    for (int i = 0; i < CSecondChannelVideoPane::kTrackSelectionAttempts; ++i) {
        if (attempt()) {
            return true;
        }
        std::this_thread::sleep_for(CSecondChannelVideoPane::kTrackSelectionRetryDelay);
    }
    return false;
}

}  // namespace

std::atomic<bool> CSecondChannelVideoPane::trackSelected{false};
std::atomic<bool> CSecondChannelVideoPane::secondChannelActive{false};

CSecondChannelVideoPane::CSecondChannelVideoPane(CViewerContext& context, QWidget* parent)
    : ChannelVideoPane(context, parent) {
    WriteLog(kClassName, "CSecondChannelVideoPane", "create");
    WriteLog(kClassName, "OnInitDialog", "init");
    trackSelected.store(false);
    secondChannelActive.store(false);
    videoSurface_->setAutoFillBackground(true);
    QPalette palette = videoSurface_->palette();
    palette.setColor(QPalette::Window, Qt::black);
    videoSurface_->setPalette(palette);
    WriteLog(kClassName, "initVideoPlayer", "init Video player");
    initEngine({libvlc_MediaPlayerPlaying}, &CSecondChannelVideoPane::OnEngineEvent);
    Register();
}

CSecondChannelVideoPane::~CSecondChannelVideoPane() {
    Unregister();
    ReleaseEngine();
}

void CSecondChannelVideoPane::update(std::int32_t kind, const VideoMessageData& data) {
    switch (kind) {
        case VIDEO_PLAY:
            LogUpdate("VIDEO_PLAY msg ");
            if (secondChannelActive.load()) {
                WriteLog(kClassName, "UPDATE", "VIDEO_PLAY msg Second Video Channel play true");
                engine().TogglePlayPause();
            }
            break;
        case VIDEO_PAUSE:
            LogUpdate("VIDEO_PAUSE msg ");
            engine().PauseIfPlaying();
            break;
        case VIDEO_STOP:
            LogUpdate("VIDEO_STOP msg ");
            engine().Stop();
            trackSelected.store(false);
            break;
        case VIDEO_PREVIOUS:
        case VIDEO_NEXT:
        case NEW_VIDEO_PLAY: {
            LogUpdate("NEW_VIDEO_PLAY VIDEO_PREVIOUS VIDEO_NEXT msg ");
            const CRecordingInfo* recording = CurrentRecording();
            if (recording != nullptr && FileExists(recording->path)) {
                engine().Pause();
                trackSelected.store(false);
                secondChannelActive.store(false);
            } else {
                engine().Stop();
            }
            break;
        }
        case VIDEO_METADATA_CREATED: {
            LogUpdate("VIDEO_METADATA_CREATED msg ");
            const CRecordingInfo* recording = CurrentRecording();
            if (recording != nullptr && recording->videoTrackCount >= 2) {
                engine().Pause();
                trackSelected.store(false);
                SetCurrentVideoMedia();
                engine().Play();
                secondChannelActive.store(true);
            }
            break;
        }
        case CHANGE_VIDEO_FRAME_POSITION:
            LogUpdate("CHANGE_VIDEO_FRAME_POSITION msg ");
            break;
        case CHANGE_VIDEO_SPEED:
            LogUpdate("CHANGE_VIDEO_SPEED msg ");
            break;
        case CHANGE_VIDEO_BRIGHTNESS:
            LogUpdate("CHANGE_VIDEO_BRIGHTNESS msg ");
            break;
        case CAPTURE_VIDEO_SNAPSHOT:
            LogUpdate("CAPTURE_VIDEO_SNAPSHOT msg ");
            Snapshot(data.text);
            break;
        default:
            break;
    }
    FollowCommonCommand(kind, data);
}

void CSecondChannelVideoPane::SetCurrentVideoMedia() const {
    WriteLog(kClassName, "SetCurrentVideoMedia", "Current Video Media");
    const CRecordingInfo* recording = CurrentRecording();
    if (recording == nullptr) {
        return;
    }
    loadedRecordingHasMetadata.store(recording->metadataLoaded);
    engine().Load(recording->path, 0);
}

void CSecondChannelVideoPane::Snapshot(const std::string& path) const {
    const CRecordingInfo* recording = CurrentRecording();
    if (recording == nullptr || recording->videoTrackCount < 2) {
        return;
    }
    engine().Snapshot(InsertBeforeExtension(path, "(Track2)"));
}

void CSecondChannelVideoPane::OnEngineEvent(const libvlc_event_t* event, void* /*userData*/) {
    if (event->type == libvlc_MediaPlayerPlaying) {
        SelectSecondTrack(static_cast<libvlc_media_player_t*>(event->p_obj));
    }
}

void CSecondChannelVideoPane::SelectSecondTrack(libvlc_media_player_t* player) {
    const VlcFunctionExecutor* vlc = VlcFunctionExecutor::GetInstance();
    if (trackSelected.load() || vlc == nullptr || player == nullptr) {
        return;
    }
    Retry([&] { return vlc->libvlc_video_set_track(player, -1) == 0; });
    if (loadedRecordingHasMetadata.load()) {
        // The engine numbers tracks its own way (not by the file's track ids): take the second
        // video track it lists.
        Retry([&] {
            const std::vector<int> ids = vlc->VideoTrackIds(player);
            return ids.size() >= 2 && vlc->libvlc_video_set_track(player, ids[1]) == 0;
        });
    }
    trackSelected.store(true);
}
