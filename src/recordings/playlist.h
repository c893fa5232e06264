#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "recordings/fileloader.h"
#include "recordings/recordinginfo.h"

// The loaded recordings, the current one and the list filter that steers Previous and Next.
//
// Every operation holds playlistLock for its whole length, so the user-interface thread, the
// bus dispatcher and the media engine's threads may call any of them. The lock is re-entrant:
// LoadCurrentMetadata keeps it during the file read and callers may nest operations inside
// their own locked section (Lock()).
//
// Descriptors stay valid until the next SetRecordings (or ReleaseRecordings): panes keep
// pointers to them and to their samples across notifications.
class Playlist {
public:
    // List filters: 0 all, 1 Event, 2 Always, 3 Parking (which admits ParkingMotion too).
    static constexpr std::int32_t kAll = 0;
    static constexpr std::int32_t kParkingFilter = 3;

    Playlist() = default;
    Playlist(const Playlist&) = delete;
    Playlist& operator=(const Playlist&) = delete;

    // Replaces the recordings (the previous ones are deleted) and makes the first current.
    void SetRecordings(RecordingList recordings);
    // The recordings in list order; they stay owned by the playlist.
    std::vector<CRecordingInfo*> GetRecordings() const;
    std::size_t Count() const;
    // Empties the list without deleting the descriptors (they live until the next
    // SetRecordings) and leaves the current index as it was, so nothing is current afterwards.
    void ClearRecordings();
    // Deletes every descriptor, cleared ones included; for shutdown, when nobody holds them.
    void ReleaseRecordings();

    // The recording at the current index, or null when the index is not below the count.
    CRecordingInfo* GetCurrentRecording() const;
    // Sets the current index when `index` is below the count; false and no change otherwise.
    bool SetCurrentIndex(std::uint32_t index);
    // The neighbours within the list filter. They leave the current index alone; the caller
    // posts the answer. False when there is none (the index then says where to go instead).
    bool GetPreviousIndex(std::uint32_t& index) const;
    bool GetNextIndex(std::uint32_t& index) const;
    // Reads the current recording's metadata with a new MP4FileLoader, holding the lock for
    // the whole read; false when nothing is current or the read fails.
    bool LoadCurrentMetadata();

    std::uint32_t currentIndex() const;
    std::int32_t listType() const;
    // Accepts the filters 0 to 3; false and no change for any other value.
    bool SetListType(std::int32_t type);

    // Holds playlistLock for a sequence of operations that must see one state.
    std::unique_lock<std::recursive_mutex> Lock() const { return std::unique_lock(playlistLock); }

private:
    bool Matches(std::size_t index) const;

    mutable std::recursive_mutex playlistLock;
    // Guarded by playlistLock:
    RecordingList recordings_;
    RecordingList cleared_;  // emptied out of the list, kept alive for pointers still held
    std::uint32_t currentIndex_ = 0;
    std::int32_t listType_ = kAll;
};
