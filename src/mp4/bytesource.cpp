#include "mp4/bytesource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

// Whether [offset, offset + count) lies inside [0, size).
bool InRange(std::int64_t offset, std::size_t count, std::int64_t size) {
    return offset >= 0 && offset <= size && static_cast<std::uint64_t>(size - offset) >= count;
}

}  // namespace

std::unique_ptr<FileByteSource> FileByteSource::Open(const std::filesystem::path& path,
                                                     std::string& error) {
    // O_NONBLOCK only matters for special files: opening a FIFO must not wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        error = "Cannot open " + path.string() + ": " + std::strerror(errno);
        return nullptr;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        error = path.string() + " is not a regular file";
        return nullptr;
    }
    return std::unique_ptr<FileByteSource>(new FileByteSource(fd, info.st_size));
}

FileByteSource::FileByteSource(int fd, std::int64_t size) : fd_(fd), size_(size) {}

FileByteSource::~FileByteSource() {
    ::close(fd_);
}

bool FileByteSource::ReadAt(std::int64_t offset, std::span<std::uint8_t> out) {
    if (!InRange(offset, out.size(), size_)) {
        return false;
    }
    if (out.size() > kBlockSize) {
        return ReadFully(offset, out);
    }
    const bool cached =
        offset >= blockStart_ && offset - blockStart_ + static_cast<std::int64_t>(out.size()) <=
                                     static_cast<std::int64_t>(block_.size());
    if (!cached) {
        const auto length =
            static_cast<std::size_t>(std::min<std::int64_t>(kBlockSize, size_ - offset));
        block_.resize(length);
        if (!ReadFully(offset, block_)) {
            block_.clear();
            return false;
        }
        blockStart_ = offset;
    }
    std::memcpy(out.data(), block_.data() + (offset - blockStart_), out.size());
    return true;
}

bool FileByteSource::ReadFully(std::int64_t offset, std::span<std::uint8_t> out) const {
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t n = ::pread(fd_, out.data() + done, out.size() - done,
                                  static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;  // an error, or the file shrank since it was opened
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool MemoryByteSource::ReadAt(std::int64_t offset, std::span<std::uint8_t> out) {
    if (!InRange(offset, out.size(), Size())) {
        return false;
    }
    std::memcpy(out.data(), bytes_.data() + offset, out.size());
    return true;
}
