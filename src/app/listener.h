#pragma once

#include <cstdint>
#include <string>

// Notification kinds of the viewer's event bus. Value 7 is unassigned; the values above it keep
// their numbers because logs and peers refer to them by number.
enum VideoMessageType : std::int32_t {
    UPDATE_VIDEO_PLAYLIST = 0,
    VIDEO_FILES_OPENED = 1,
    VIDEO_PLAY = 2,
    VIDEO_PAUSE = 3,
    VIDEO_STOP = 4,
    VIDEO_END_REACHED = 5,
    VIDEO_PLAYING = 6,
    VIDEO_PREVIOUS = 8,
    VIDEO_NEXT = 9,
    CHANGE_VIDEO_INDEX = 10,
    LOAD_VIDEO_MEDIA = 11,
    CREATE_VIDEO_METADATA = 12,
    VIDEO_METADATA_CREATED = 13,
    VIDEO_FRAME_POSITION_CHANGED = 14,
    VIDEO_FRAME_POSITION_SLIDER_INTERVAL_VALUE_CHANGED = 15,
    NEW_VIDEO_PLAY = 16,
    CHANGE_VIDEO_FRAME_POSITION = 17,
    CHANGE_VIDEO_SPEED = 18,
    CHANGE_VIDEO_BRIGHTNESS = 19,
    CHANGE_VIDEO_VOLUME = 20,
    CAPTURE_VIDEO_SNAPSHOT = 21,
    VIDEO_FILE_NOT_FOUND = 22,
};

// The data of one notification. A sender sets only the fields its kind uses; the rest stay zero.
struct VideoMessageData {
    float position = 0.0f;       // 14, 17: playback position, fraction 0..1 of the length
    std::int32_t index = 0;      // 10: playlist index, 0-based
    float speed = 0.0f;          // 18: playback rate factor
    float brightness = 0.0f;     // 19: brightness handed to the engine
    std::int32_t volume = 0;     // 20: audio volume handed to the engine
    std::int32_t sliderInterval = 0;  // 15: position slider interval option
    std::string text;            // 21: full path (UTF-8) of the snapshot to write
};

// A receiver of bus notifications. update() runs on the bus's dispatcher thread only; `data` is
// valid for the duration of the call and must not be kept. Kinds a listener does not handle
// are ignored.
class IListener {
public:
    virtual ~IListener() = default;
    virtual void update(std::int32_t kind, const VideoMessageData& data) {
        (void)kind;
        (void)data;
    }
};
