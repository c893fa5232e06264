#include "mp4/newfilewriter.h"

#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
#include <utility>

namespace {

std::filesystem::path FolderOf(const std::filesystem::path& path) {
    return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

// Opens a new hidden file beside `path` under a name nobody uses; -1 on failure.
int OpenHiddenFile(const std::filesystem::path& path, std::filesystem::path& hidden) {
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        hidden = FolderOf(path) /
                 ("." + path.filename().string() + "." + std::to_string(random()) + ".part");
        const int fd = ::open(hidden.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

}  // namespace

NewFileWriter::~NewFileWriter() {
    Discard();
}

bool NewFileWriter::Create(const std::filesystem::path& path) {
    Discard();
    path_ = path;
    // An unnamed file can be named later through /proc; without /proc use a hidden name.
    if (::access("/proc/self/fd", X_OK) == 0) {
        fd_ = ::open(FolderOf(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            return true;
        }
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            return Fail("Cannot create a file in " + FolderOf(path).string(), errno);
        }
    }
    fd_ = OpenHiddenFile(path, temporary_);
    if (fd_ < 0) {
        const int errorNumber = errno;
        temporary_.clear();
        return Fail("Cannot create a file in " + FolderOf(path).string(), errorNumber);
    }
    return true;
}

bool NewFileWriter::WriteAt(std::int64_t offset, std::span<iovec> parts) {
    while (!parts.empty()) {
        if (parts.front().iov_len == 0) {
            parts = parts.subspan(1);
            continue;
        }
        const auto count = static_cast<int>(std::min<std::size_t>(parts.size(), IOV_MAX));
        ssize_t written = ::pwritev(fd_, parts.data(), count, offset);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return Fail("Cannot write " + path_.string(), written == 0 ? EIO : errno);
        }
        offset += written;
        // Drop what was written, partly written parts included.
        while (written > 0) {
            const auto step = std::min(static_cast<std::size_t>(written), parts.front().iov_len);
            parts.front().iov_base = static_cast<std::uint8_t*>(parts.front().iov_base) + step;
            parts.front().iov_len -= step;
            written -= static_cast<ssize_t>(step);
            if (parts.front().iov_len == 0) {
                parts = parts.subspan(1);
            }
        }
    }
    return true;
}

bool NewFileWriter::WriteAt(std::int64_t offset, std::span<const std::uint8_t> bytes) {
    iovec part{const_cast<std::uint8_t*>(bytes.data()), bytes.size()};
    return WriteAt(offset, std::span(&part, 1));
}

bool NewFileWriter::Commit() {
    if (fd_ < 0 || !NameFile()) {
        Discard();
        return false;
    }
    Discard();  // closes the file, which keeps its name
    return true;
}

bool NewFileWriter::NameFile() {
    if (temporary_.empty()) {
        // linkat fails with EEXIST rather than replace an existing name.
        const std::string self = "/proc/self/fd/" + std::to_string(fd_);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path_.c_str(), AT_SYMLINK_FOLLOW) != 0) {
            return Fail("Cannot name " + path_.string(), errno);
        }
        return true;
    }
    if (::close(std::exchange(fd_, -1)) != 0) {
        return Fail("Cannot write " + path_.string(), errno);
    }
    if (::renameat2(AT_FDCWD, temporary_.c_str(), AT_FDCWD, path_.c_str(), RENAME_NOREPLACE) == 0) {
        temporary_.clear();
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return Fail("Cannot name " + path_.string(), errno);
    }
    // No exclusive rename on this file system: a hard link is just as exclusive.
    if (::link(temporary_.c_str(), path_.c_str()) != 0) {
        return Fail("Cannot name " + path_.string(), errno);
    }
    return true;  // Discard removes the temporary name
}

bool NewFileWriter::Fail(const std::string& what, int errorNumber) {
    error_ = what + ": " + std::strerror(errorNumber);
    return false;
}

void NewFileWriter::Discard() {
    if (fd_ >= 0) {
        ::close(std::exchange(fd_, -1));
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}
