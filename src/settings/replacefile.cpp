#include "settings/replacefile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// An open file descriptor, closed when the object goes away.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    // Closes now, so that a failure of the close itself can be reported.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::string Failure(const std::filesystem::path& target, int errorNumber) {
    return "Cannot write " + target.string() + ": " + std::strerror(errorNumber);
}

// A new, empty file beside `target` that no other writer uses; -1 on failure.
int CreateTemporaryFile(const std::filesystem::path& target, std::filesystem::path& temporary) {
    const std::string stem = "." + target.filename().string() + "." + std::to_string(::getpid());
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target.parent_path() / (stem + "." + std::to_string(attempt) + ".tmp");
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

}  // namespace

bool ReplaceFileContents(const std::filesystem::path& target, std::string_view bytes,
                         std::string& error) {
    error.clear();
    std::filesystem::path temporary;
    FileDescriptor file(CreateTemporaryFile(target, temporary));
    if (file.get() < 0) {
        error = Failure(target, errno);
        return false;
    }
    // errno is read when the argument is evaluated, before the clean-up can change it.
    const auto fail = [&](int errorNumber) {
        ::unlink(temporary.c_str());
        error = Failure(target, errorNumber);
        return false;
    };
    if (!WriteAll(file.get(), bytes) || ::fsync(file.get()) != 0) {
        return fail(errno);
    }
    if (!file.Close() || ::rename(temporary.c_str(), target.c_str()) != 0) {
        return fail(errno);
    }
    // The new name must reach the card too before the user pulls it out.
    FileDescriptor folder(::open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) {
        ::fsync(folder.get());
    }
    return true;
}
