#include "recordings/playlist.h"

#include "mp4/mp4fileloader.h"

void Playlist::SetRecordings(RecordingList recordings) {
    std::lock_guard lock(playlistLock);
    cleared_.clear();
    recordings_ = std::move(recordings);
    currentIndex_ = 0;
}

std::vector<CRecordingInfo*> Playlist::GetRecordings() const {
    std::lock_guard lock(playlistLock);
    std::vector<CRecordingInfo*> list;
    list.reserve(recordings_.size());
    for (const auto& recording : recordings_) {
        list.push_back(recording.get());
    }
    return list;
}

std::size_t Playlist::Count() const {
    std::lock_guard lock(playlistLock);
    return recordings_.size();
}

void Playlist::ClearRecordings() {
    std::lock_guard lock(playlistLock);
    for (auto& recording : recordings_) {
        cleared_.push_back(std::move(recording));
    }
    recordings_.clear();
}

void Playlist::ReleaseRecordings() {
    std::lock_guard lock(playlistLock);
    recordings_.clear();
    cleared_.clear();
    currentIndex_ = 0;
}

CRecordingInfo* Playlist::GetCurrentRecording() const {
    std::lock_guard lock(playlistLock);
    return currentIndex_ < recordings_.size() ? recordings_[currentIndex_].get() : nullptr;
}

bool Playlist::SetCurrentIndex(std::uint32_t index) {
    std::lock_guard lock(playlistLock);
    if (index >= recordings_.size()) {
        return false;
    }
    currentIndex_ = index;
    return true;
}

bool Playlist::Matches(std::size_t index) const {
    const RecordingType type = recordings_[index]->type;
    return static_cast<std::int32_t>(type) == listType_ ||
           (listType_ == kParkingFilter && type == RecordingType::ParkingMotion);
}

bool Playlist::GetNextIndex(std::uint32_t& index) const {
    std::lock_guard lock(playlistLock);
    const std::size_t count = recordings_.size();
    std::size_t candidate = 0;
    if (listType_ == kAll) {
        candidate = std::size_t{currentIndex_} + 1;
    } else {
        bool found = false;
        for (std::size_t i = std::size_t{currentIndex_} + 1; i < count && !found; ++i) {
            found = Matches(i);
            candidate = i;
        }
        // Wrap around to the first match before the current one.
        for (std::size_t i = 0; i < currentIndex_ && i < count && !found; ++i) {
            found = Matches(i);
            candidate = i;
        }
        if (!found) {
            candidate = 0;
        }
    }
    // Index 0 always counts as "no next recording": stepping on from the end starts over.
    if (candidate == 0 || candidate >= count) {
        index = 0;
        return false;
    }
    index = static_cast<std::uint32_t>(candidate);
    return true;
}

bool Playlist::GetPreviousIndex(std::uint32_t& index) const {
    std::lock_guard lock(playlistLock);
    const std::size_t count = recordings_.size();
    if (listType_ != kAll) {
        for (std::size_t i = std::min<std::size_t>(currentIndex_, count); i-- > 0;) {
            if (Matches(i)) {
                index = static_cast<std::uint32_t>(i);
                return true;
            }
        }
        for (std::size_t i = currentIndex_; i < count; ++i) {
            if (Matches(i)) {
                index = static_cast<std::uint32_t>(i);
                return i != currentIndex_;
            }
        }
    }
    if (currentIndex_ == 0) {
        index = 0;
        return false;
    }
    index = currentIndex_ - 1;
    return true;
}

bool Playlist::LoadCurrentMetadata() {
    std::lock_guard lock(playlistLock);
    CRecordingInfo* current = GetCurrentRecording();
    if (current == nullptr) {
        return false;
    }
    MP4FileLoader loader;
    return loader.LoadMetadata(*current);
}

std::uint32_t Playlist::currentIndex() const {
    std::lock_guard lock(playlistLock);
    return currentIndex_;
}

std::int32_t Playlist::listType() const {
    std::lock_guard lock(playlistLock);
    return listType_;
}

bool Playlist::SetListType(std::int32_t type) {
    if (type < kAll || type > kParkingFilter) {
        return false;
    }
    std::lock_guard lock(playlistLock);
    listType_ = type;
    return true;
}
