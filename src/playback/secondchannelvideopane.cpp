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
// (dispatcher thread), read by the track selection. Keeping a copy spares the selection thread
// from reaching into the playlist, which the dispatcher may replace meanwhile.
std::atomic<bool> loadedRecordingHasMetadata{false};

// The channel 2 pane's track selection, for the engine callback (which gets no user data). Set
// while the pane's engine exists.
std::atomic<RequestedTask*> trackSelectionTask{nullptr};

// Orders the clearing of trackSelected by the dispatcher against the end of a selection, so that
// a selection made for an earlier playback never marks a newer one as done.
std::mutex selectionLock;
std::uint64_t selectionGeneration = 0;  // guarded by selectionLock; bumped by every clearing

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
    ForgetTrackSelection();
    secondChannelActive.store(false);
    videoSurface_->setAutoFillBackground(true);
    QPalette palette = videoSurface_->palette();
    palette.setColor(QPalette::Window, Qt::black);
    videoSurface_->setPalette(palette);
    WriteLog(kClassName, "initVideoPlayer", "init Video player");
    initEngine({libvlc_MediaPlayerPlaying}, &CSecondChannelVideoPane::OnEngineEvent);
    trackSelection_ = std::make_unique<RequestedTask>([this] { SelectSecondTrack(); });
    trackSelectionTask.store(trackSelection_.get());
    Register();
}

CSecondChannelVideoPane::~CSecondChannelVideoPane() {
    Unregister();
    // The selection uses the player: end it before the player goes. Requests that the engine
    // makes meanwhile are ignored.
    trackSelection_->Stop();
    ReleaseEngine();
    trackSelectionTask.store(nullptr);
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
            ForgetTrackSelection();
            break;
        case VIDEO_PREVIOUS:
        case VIDEO_NEXT:
        case NEW_VIDEO_PLAY: {
            LogUpdate("NEW_VIDEO_PLAY VIDEO_PREVIOUS VIDEO_NEXT msg ");
            const CRecordingInfo* recording = CurrentRecording();
            if (recording != nullptr && FileExists(recording->path)) {
                engine().Pause();
                ForgetTrackSelection();
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
    // Cleared once the old media is gone, so that no late report of it can count for the new.
    ForgetTrackSelection();
}

void CSecondChannelVideoPane::Snapshot(const std::string& path) const {
    const CRecordingInfo* recording = CurrentRecording();
    if (recording == nullptr || recording->videoTrackCount < 2) {
        return;
    }
    engine().Snapshot(InsertBeforeExtension(path, "(Track2)"));
}

void CSecondChannelVideoPane::OnEngineEvent(const libvlc_event_t* event, void* /*userData*/) {
    RequestedTask* selection = trackSelectionTask.load();
    if (event->type == libvlc_MediaPlayerPlaying && selection != nullptr) {
        selection->Request();
    }
}

void CSecondChannelVideoPane::ForgetTrackSelection() {
    std::lock_guard lock(selectionLock);
    ++selectionGeneration;
    trackSelected.store(false);
}

void CSecondChannelVideoPane::SelectSecondTrack() const {
    const VlcFunctionExecutor* vlc = VlcFunctionExecutor::GetInstance();
    libvlc_media_player_t* player = engine().player();
    std::uint64_t generation = 0;
    {
        std::lock_guard lock(selectionLock);
        if (trackSelected.load() || vlc == nullptr || player == nullptr) {
            return;
        }
        generation = selectionGeneration;
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
    std::lock_guard lock(selectionLock);
    if (generation == selectionGeneration) {
        trackSelected.store(true);
    }
}
