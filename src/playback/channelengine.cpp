#include "playback/channelengine.h"

#include "playback/vlcfunctionexecutor.h"

#include <utility>
#include <vector>

ChannelEngine::ChannelEngine(const VlcFunctionExecutor* vlc, std::uint32_t windowId,
                             std::initializer_list<libvlc_event_type_t> events,
                             libvlc_callback_t callback)
    : vlc_(vlc) {
    if (vlc_ == nullptr) {
        return;
    }
    const auto& f = vlc_->functions();
    const std::vector<std::string> arguments = VlcFunctionExecutor::MakeEngineArguments();
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    instance_ = f.libvlc_new(static_cast<int>(argv.size()), argv.data());
    if (instance_ == nullptr) {
        return;
    }
    player_ = f.libvlc_media_player_new(instance_);
    if (player_ == nullptr) {
        return;
    }
    vlc_->libvlc_media_player_set_hwnd(player_, windowId);
    libvlc_event_manager_t* manager = vlc_->libvlc_media_player_event_manager(player_);
    for (libvlc_event_type_t event : events) {
        vlc_->libvlc_event_attach(manager, event, callback);
    }
    vlc_->libvlc_video_set_aspect_ratio(player_);
}

void ChannelEngine::Release() {
    if (player_ != nullptr) {
        vlc_->functions().libvlc_media_player_release(std::exchange(player_, nullptr));
    }
    if (instance_ != nullptr) {
        vlc_->functions().libvlc_release(std::exchange(instance_, nullptr));
    }
}

void ChannelEngine::Load(const std::string& path, std::int32_t volume) const {
    if (player_ == nullptr) {
        return;
    }
    VlcFunctionExecutor::PathBuffer buffer;
    if (VlcFunctionExecutor::ToUtf8Path(path, buffer)) {
        const auto& f = vlc_->functions();
        libvlc_media_t* media = f.libvlc_media_new_path(instance_, buffer.data());
        if (media != nullptr) {
            vlc_->libvlc_media_player_set_media(player_, media);
            f.libvlc_media_release(media);
        }
    }
    vlc_->libvlc_audio_set_volume(player_, volume);
}

void ChannelEngine::TogglePlayPause() const {
    if (player_ == nullptr) {
        return;
    }
    if (vlc_->libvlc_media_player_is_playing(player_) != 0) {
        vlc_->libvlc_media_player_set_pause(player_);
    } else {
        vlc_->libvlc_media_player_play(player_);
    }
}

void ChannelEngine::PauseIfPlaying() const {
    if (player_ != nullptr && vlc_->libvlc_media_player_is_playing(player_) != 0) {
        vlc_->libvlc_media_player_set_pause(player_);
    }
}

void ChannelEngine::Pause() const {
    if (player_ != nullptr) {
        vlc_->libvlc_media_player_set_pause(player_);
    }
}

void ChannelEngine::Play() const {
    if (player_ != nullptr) {
        vlc_->libvlc_media_player_play(player_);
    }
}

void ChannelEngine::Stop() const {
    if (player_ != nullptr) {
        vlc_->libvlc_media_player_stop(player_);
    }
}

void ChannelEngine::Seek(float position) const {
    if (player_ != nullptr) {
        vlc_->libvlc_media_player_set_position(player_, position);
    }
}

void ChannelEngine::SetRate(float rate) const {
    if (player_ != nullptr) {
        vlc_->libvlc_media_player_set_rate(player_, rate);
    }
}

void ChannelEngine::SetBrightness(float brightness) const {
    if (player_ == nullptr) {
        return;
    }
    const auto& f = vlc_->functions();
    f.libvlc_video_set_adjust_int(player_, libvlc_adjust_Enable, 1);
    f.libvlc_video_set_adjust_float(player_, libvlc_adjust_Brightness, brightness);
}

void ChannelEngine::SetVolume(std::int32_t volume) const {
    if (player_ != nullptr) {
        vlc_->libvlc_audio_set_volume(player_, volume);
    }
}

void ChannelEngine::Snapshot(const std::string& path) const {
    if (player_ == nullptr) {
        return;
    }
    VlcFunctionExecutor::PathBuffer buffer;
    if (VlcFunctionExecutor::ToUtf8Path(path, buffer)) {
        vlc_->libvlc_video_take_snapshot(player_, buffer.data());
    }
}

bool ChannelEngine::IsPlaying() const {
    return player_ != nullptr && vlc_->functions().libvlc_media_player_is_playing(player_) != 0;
}

std::int32_t ChannelEngine::Volume() const {
    return player_ != nullptr ? vlc_->functions().libvlc_audio_get_volume(player_) : -1;
}

std::int32_t ChannelEngine::VideoTrack() const {
    return player_ != nullptr ? vlc_->functions().libvlc_video_get_track(player_) : -1;
}
