#pragma once

// X-macro lists of the media engine entry points; no declarations, so that a stand-in engine
// can be built from the same names.

// The engine entry points the viewer requires, in lookup order.
#define KORVANE_VLC_ENTRY_POINTS(X)       \
    X(libvlc_new)                         \
    X(libvlc_media_new_path)              \
    X(libvlc_media_new_fd)                \
    X(libvlc_media_player_new)            \
    X(libvlc_media_player_new_from_media) \
    X(libvlc_media_release)               \
    X(libvlc_media_player_play)           \
    X(libvlc_media_player_stop)           \
    X(libvlc_media_player_release)        \
    X(libvlc_release)                     \
    X(libvlc_media_player_set_hwnd)       \
    X(libvlc_media_player_set_media)      \
    X(libvlc_media_player_get_media)      \
    X(libvlc_media_player_set_pause)      \
    X(libvlc_media_event_manager)         \
    X(libvlc_media_player_is_playing)     \
    X(libvlc_media_player_event_manager)  \
    X(libvlc_event_attach)                \
    X(libvlc_event_detach)                \
    X(libvlc_media_parse)                 \
    X(libvlc_media_parse_async)           \
    X(libvlc_video_get_adjust_float)      \
    X(libvlc_video_set_adjust_float)      \
    X(libvlc_video_get_adjust_int)        \
    X(libvlc_video_set_adjust_int)        \
    X(libvlc_audio_get_volume)            \
    X(libvlc_audio_set_volume)            \
    X(libvlc_media_player_get_rate)       \
    X(libvlc_media_player_set_rate)       \
    X(libvlc_media_player_get_position)   \
    X(libvlc_media_player_set_position)   \
    X(libvlc_video_get_track_count)       \
    X(libvlc_video_get_track)             \
    X(libvlc_video_set_track)             \
    X(libvlc_video_take_snapshot)         \
    X(libvlc_video_get_aspect_ratio)      \
    X(libvlc_video_set_aspect_ratio)

// What this platform needs beyond them: embedding into an X window and the engine's own video
// track identifiers. Required as well.
#define KORVANE_VLC_PLATFORM_ENTRY_POINTS(X) \
    X(libvlc_media_player_set_xwindow)       \
    X(libvlc_video_get_track_description)    \
    X(libvlc_track_description_list_release)
