#pragma once

#include <sys/uio.h>

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

// Writes a new file that appears under its name only when it is complete, and never in place of
// a file that exists. The bytes go to an unnamed file in the destination's folder (or, where
// the file system has no unnamed files, to a hidden temporary name there); Commit then gives
// the file its name if that name is still free. A writer destroyed before Commit leaves
// nothing behind, and a process that dies meanwhile leaves at most the hidden name.
// One user at a time. Failures are a false result with Error() set.
class NewFileWriter {
public:
    NewFileWriter() = default;
    ~NewFileWriter();
    NewFileWriter(const NewFileWriter&) = delete;
    NewFileWriter& operator=(const NewFileWriter&) = delete;

    // Starts the file that will be named `path`.
    bool Create(const std::filesystem::path& path);
    // Writes `parts` one after the other from `offset` on, in one gathered write where the
    // system allows; consumes `parts` (their bases and lengths change).
    bool WriteAt(std::int64_t offset, std::span<iovec> parts);
    bool WriteAt(std::int64_t offset, std::span<const std::uint8_t> bytes);
    // Names the file; false, leaving no file, when the name is taken or naming fails.
    bool Commit();

    const std::string& Error() const { return error_; }

private:
    bool Fail(const std::string& what, int errorNumber);
    bool NameFile();
    void Discard();

    int fd_ = -1;
    std::filesystem::path path_;
    std::filesystem::path temporary_;  // empty while the file is unnamed
    std::string error_;
};
