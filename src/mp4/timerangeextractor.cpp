#include "mp4/timerangeextractor.h"

#include "mp4/bigendian.h"
#include "mp4/mp4fileparser.h"
#include "mp4/newfilewriter.h"
#include "mp4/samplecopier.h"
#include "mp4/sourcetrack.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace {

// The recorder's media data starts with 28 bytes of its own, kept in every cut.
constexpr std::int64_t kLeadingBytes = 28;
constexpr std::int64_t kMediaHeader = 8 + kLeadingBytes;
// Beyond any recording; keeps second counts far from overflowing when turned into time units.
constexpr std::int64_t kMaxSeconds = std::int64_t{1} << 40;

// Reads a file through a descriptor that the caller owns, so that the box tree and the sample
// copy see the same file even if its name is reused meanwhile. One range (the movie box, where
// every box header and table the cut reads lies) can be held in memory, so that walking it
// costs one read instead of one per box.
class DescriptorByteSource : public ByteSource {
public:
    DescriptorByteSource(int fd, std::int64_t size) : fd_(fd), size_(size) {}

    std::int64_t Size() const override { return size_; }
    bool ReadAt(std::int64_t offset, std::span<std::uint8_t> out) override {
        if (offset < 0 || offset > size_ || size_ - offset < std::int64_t(out.size())) {
            return false;
        }
        const std::int64_t cached = offset - heldFrom_;
        if (cached >= 0 && std::int64_t(held_.size()) - cached >= std::int64_t(out.size())) {
            std::copy_n(held_.begin() + cached, out.size(), out.begin());
            return true;
        }
        return ReadFully(offset, out);
    }

    // Holds the `size` bytes at `offset` in memory from now on.
    void Hold(std::int64_t offset, std::size_t size) {
        held_.resize(size);
        if (!ReadFully(offset, held_)) {
            held_.clear();
        }
        heldFrom_ = offset;
    }

private:
    bool ReadFully(std::int64_t offset, std::span<std::uint8_t> out) const {
        while (!out.empty()) {
            const ssize_t got = ::pread(fd_, out.data(), out.size(), offset);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                return false;
            }
            out = out.subspan(static_cast<std::size_t>(got));
            offset += got;
        }
        return true;
    }

    int fd_;
    std::int64_t size_;
    ByteBuffer held_;
    std::int64_t heldFrom_ = 0;
};

// Closes a descriptor when it goes away.
class ScopedDescriptor {
public:
    ScopedDescriptor() = default;
    ~ScopedDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    ScopedDescriptor(const ScopedDescriptor&) = delete;
    ScopedDescriptor& operator=(const ScopedDescriptor&) = delete;

    void Reset(int fd) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = fd;
    }
    int Get() const { return fd_; }

private:
    int fd_ = -1;
};

// One track of the cut: its source, the samples it keeps and its new trak box.
struct TrackCut {
    SourceTrack source;
    SampleRange range;
    ByteBuffer trak;
    std::uint32_t duration = 0;
};

// One extraction: everything is read, checked and built in memory (the tables, not the
// samples) before the destination is created, so a refused source leaves nothing behind.
class TimeRangeCut {
public:
    bool Run(const std::filesystem::path& sourcePath, std::int64_t startSeconds,
             std::int64_t endSeconds, const std::filesystem::path& destinationPath);
    const std::string& Error() const { return error_; }

private:
    bool OpenSource(const std::filesystem::path& path);
    bool ReadMovie();
    bool ChooseSamples(std::int64_t startSeconds, std::int64_t endSeconds);
    bool BuildTracks();
    bool BuildMovie();
    bool WriteOutput(const std::filesystem::path& path);
    bool ReadWhole(const FileNode& node, ByteBuffer& out);
    bool Fail(std::string error) {
        error_ = std::move(error);
        return false;
    }

    ScopedDescriptor source_;
    MP4FileParser parser_;
    std::vector<const FileNode*> copiedBoxes_;  // top-level boxes written unchanged
    std::int64_t copiedBytes_ = 0;
    std::int64_t mediaEnd_ = 0;  // where the media data box ends in the output
    const FileNode* mdat_ = nullptr;
    const FileNode* moov_ = nullptr;
    ByteBuffer mvhd_;
    ByteBuffer iods_;
    std::vector<TrackCut> tracks_;
    ByteBuffer movie_;
    std::vector<CopyPiece> pieces_;  // every kept sample, from the source to the output
    std::string error_;
};

bool TimeRangeCut::Run(const std::filesystem::path& sourcePath, std::int64_t startSeconds,
                       std::int64_t endSeconds, const std::filesystem::path& destinationPath) {
    if (sourcePath.empty() || destinationPath.empty()) {
        return Fail("No source or destination file given");
    }
    if (startSeconds < 0 || endSeconds < startSeconds) {
        return Fail("The range from " + std::to_string(startSeconds) + " to " +
                    std::to_string(endSeconds) + " s is empty");
    }
    std::error_code ignored;
    if (std::filesystem::symlink_status(destinationPath, ignored).type() !=
        std::filesystem::file_type::not_found) {
        return Fail(destinationPath.string() + " already exists");
    }
    if (!OpenSource(sourcePath) || !ReadMovie() || !ChooseSamples(startSeconds, endSeconds) ||
        !BuildTracks() || !BuildMovie()) {
        error_ = sourcePath.filename().string() + ": " + error_;
        return false;
    }
    return WriteOutput(destinationPath);
}

bool TimeRangeCut::OpenSource(const std::filesystem::path& path) {
    // The viewer's rule for recordings' names, checked before the file is touched.
    if (!path.native().ends_with("mp4")) {
        return Fail("not an mp4 recording");
    }
    source_.Reset(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (source_.Get() < 0 || ::fstat(source_.Get(), &info) != 0) {
        return Fail(std::strerror(errno));
    }
    if (!S_ISREG(info.st_mode)) {
        return Fail("not a regular file");
    }
    auto bytes = std::make_unique<DescriptorByteSource>(source_.Get(), info.st_size);
    DescriptorByteSource& held = *bytes;  // owned by the parser, which outlives its use here
    if (!parser_.OpenSource(std::move(bytes))) {
        return Fail(parser_.LastError());
    }
    for (const FileNode& node : parser_.RootNodes()) {
        if (node.type == "moov" && node.End() <= parser_.FileSize() &&
            node.size <= SourceTrack::kMaxTableBytes) {
            held.Hold(node.offset, static_cast<std::size_t>(node.size));
            break;
        }
    }
    return true;
}

bool TimeRangeCut::ReadWhole(const FileNode& node, ByteBuffer& out) {
    if (node.size > SourceTrack::kMaxTableBytes) {
        return Fail("the \"" + node.type + "\" box is too large");
    }
    out.resize(static_cast<std::size_t>(node.size));
    return parser_.ReadBytes(node.offset, out) || Fail("cannot read the \"" + node.type + "\" box");
}

bool TimeRangeCut::ReadMovie() {
    for (const FileNode& node : parser_.RootNodes()) {
        if (node.End() > parser_.FileSize()) {
            return Fail("the \"" + node.type + "\" box runs past the end of the file");
        }
        if (node.type == "moov") {
            moov_ = moov_ ? moov_ : &node;
        } else if (node.type == "mdat") {
            mdat_ = mdat_ ? mdat_ : &node;
        } else {
            copiedBoxes_.push_back(&node);
            copiedBytes_ += node.size;
        }
    }
    if (!moov_ || !mdat_) {
        return Fail("no movie box or no media data box");
    }
    if (mdat_->size < kMediaHeader) {
        return Fail("the media data box is too short");
    }
    for (const FileNode& child : parser_.ChildrenOf(*moov_)) {
        if (child.End() > moov_->End()) {
            return Fail("the \"" + child.type + "\" box runs past the end of the movie box");
        }
    }
    const NodeList mvhd = parser_.FindChildNodes(*moov_, "mvhd");
    const NodeList iods = parser_.FindChildNodes(*moov_, "iods");
    if (mvhd.empty() || iods.empty()) {
        return Fail("no movie header or no object descriptor");
    }
    if (!ReadWhole(*mvhd.front(), mvhd_) || !ReadWhole(*iods.front(), iods_)) {
        return false;
    }
    // Version 0 layout: time scale at 20, duration at 24.
    if (mvhd_.size() < 28 || mvhd_[8] != 0) {
        return Fail("version 1 movie header");
    }
    if (const std::uint32_t scale = ReadBigEndian32(mvhd_.data() + 20); scale != 1000) {
        return Fail("movie time scale " + std::to_string(scale) + " (the recorder writes 1000)");
    }
    const NodeList traks = parser_.FindChildNodes(*moov_, "trak");
    if (traks.empty()) {
        return Fail("no tracks");
    }
    tracks_.resize(traks.size());
    for (std::size_t t = 0; t < traks.size(); ++t) {
        std::string error;
        if (!tracks_[t].source.Load(parser_, *traks[t], error)) {
            return Fail("track " + std::to_string(t + 1) + ": " + error);
        }
    }
    return true;
}

bool TimeRangeCut::ChooseSamples(std::int64_t startSeconds, std::int64_t endSeconds) {
    std::uint64_t kept = 0;
    for (TrackCut& track : tracks_) {
        const std::uint32_t first = track.source.SampleIndexAt(std::min(startSeconds, kMaxSeconds));
        const std::uint32_t end = track.source.SampleIndexAt(std::min(endSeconds, kMaxSeconds) + 1);
        track.range = {first, end - first};
        kept += track.range.count;
    }
    if (kept == 0) {
        return Fail("the range from " + std::to_string(startSeconds) + " to " +
                    std::to_string(endSeconds) + " s holds no samples");
    }
    return true;
}

bool TimeRangeCut::BuildTracks() {
    std::int64_t position = copiedBytes_ + kMediaHeader;  // of the next sample in the output
    std::vector<std::uint32_t> offsets;
    for (std::size_t t = 0; t < tracks_.size(); ++t) {
        TrackCut& track = tracks_[t];
        offsets.clear();
        for (std::uint32_t s = track.range.first; s < track.range.End(); ++s) {
            const std::int64_t size = track.source.SampleSize(s);
            if (std::int64_t{track.source.SampleOffset(s)} + size > parser_.FileSize()) {
                return Fail("track " + std::to_string(t + 1) + ": sample " + std::to_string(s + 1) +
                            " lies outside the file");
            }
            offsets.push_back(static_cast<std::uint32_t>(position));
            pieces_.push_back({track.source.SampleOffset(s), position, size});
            position += size;
            if (position > MP4FileParser::kMaxFileSize) {
                return Fail("the range would make a file of 2 GiB or more");
            }
        }
        std::string error;
        if (!track.source.BuildTrack(track.range, offsets, track.trak, track.duration, error)) {
            return Fail("track " + std::to_string(t + 1) + ": " + error);
        }
    }
    mediaEnd_ = position;
    return true;
}

bool TimeRangeCut::BuildMovie() {
    std::uint32_t duration = 0;
    std::int64_t size = 8 + std::int64_t(mvhd_.size()) + std::int64_t(iods_.size());
    for (const TrackCut& track : tracks_) {
        duration = std::max(duration, track.duration);
        size += std::int64_t(track.trak.size());
    }
    if (mediaEnd_ + size > MP4FileParser::kMaxFileSize) {
        return Fail("the range would make a file of 2 GiB or more");
    }
    WriteBigEndian32(mvhd_.data() + 24, duration);
    movie_.clear();
    movie_.reserve(static_cast<std::size_t>(size));
    AppendU32(movie_, static_cast<std::uint32_t>(size));
    movie_.insert(movie_.end(), {'m', 'o', 'o', 'v'});
    movie_.insert(movie_.end(), mvhd_.begin(), mvhd_.end());
    movie_.insert(movie_.end(), iods_.begin(), iods_.end());
    for (const TrackCut& track : tracks_) {
        movie_.insert(movie_.end(), track.trak.begin(), track.trak.end());
    }
    return true;
}

bool TimeRangeCut::WriteOutput(const std::filesystem::path& path) {
    // The boxes kept whole and the media data's leading bytes are copied like the samples.
    std::int64_t position = 0;
    for (const FileNode* box : copiedBoxes_) {
        pieces_.push_back({box->offset, position, box->size});
        position += box->size;
    }
    pieces_.push_back({mdat_->PayloadOffset(), copiedBytes_ + 8, kLeadingBytes});
    ByteBuffer mediaHeader;
    AppendU32(mediaHeader, static_cast<std::uint32_t>(mediaEnd_ - copiedBytes_));
    mediaHeader.insert(mediaHeader.end(), {'m', 'd', 'a', 't'});
    NewFileWriter out;
    std::string error;
    if (!out.Create(path) || !out.WriteAt(copiedBytes_, mediaHeader)) {
        return Fail(out.Error());
    }
    if (!SampleCopier().Copy(source_.Get(), std::move(pieces_), out, error)) {
        return Fail(error);
    }
    return (out.WriteAt(mediaEnd_, movie_) && out.Commit()) || Fail(out.Error());
}

}  // namespace

bool ExtractTimeRange(const std::filesystem::path& sourcePath, std::int64_t startSeconds,
                      std::int64_t endSeconds, const std::filesystem::path& destinationPath,
                      std::string& error) {
    TimeRangeCut cut;
    if (!cut.Run(sourcePath, startSeconds, endSeconds, destinationPath)) {
        error = cut.Error();
        return false;
    }
    error.clear();
    return true;
}
