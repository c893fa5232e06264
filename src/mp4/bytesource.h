#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

// Random-access, read-only bytes: a file on disk or a buffer in memory. The box reader reads
// through this so that it can be driven from memory (tests, fuzzing) as well as from files.
// Not thread-safe: one user at a time.
class ByteSource {
public:
    virtual ~ByteSource() = default;

    // Total number of bytes, fixed when the source was opened.
    virtual std::int64_t Size() const = 0;
    // Fills `out` with the bytes at `offset`; false (contents of `out` unspecified) unless all
    // of them could be read.
    virtual bool ReadAt(std::int64_t offset, std::span<std::uint8_t> out) = 0;
};

// A regular file read with pread. Small reads are served from a read-ahead block, so that a
// walk over neighbouring box headers costs one system call per block rather than per header.
class FileByteSource : public ByteSource {
public:
    // Opens a regular file for reading; null with `error` set when it cannot. Never blocks on
    // special files (a FIFO named like a recording is refused, not waited on).
    static std::unique_ptr<FileByteSource> Open(const std::filesystem::path& path,
                                                std::string& error);
    ~FileByteSource() override;
    FileByteSource(const FileByteSource&) = delete;
    FileByteSource& operator=(const FileByteSource&) = delete;

    std::int64_t Size() const override { return size_; }
    bool ReadAt(std::int64_t offset, std::span<std::uint8_t> out) override;

private:
    static constexpr std::size_t kBlockSize = 4096;

    FileByteSource(int fd, std::int64_t size);
    bool ReadFully(std::int64_t offset, std::span<std::uint8_t> out) const;

    int fd_;
    std::int64_t size_;
    std::vector<std::uint8_t> block_;  // the bytes at blockStart_, block_.size() of them
    std::int64_t blockStart_ = 0;
};

// Bytes held in memory.
class MemoryByteSource : public ByteSource {
public:
    explicit MemoryByteSource(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }
    bool ReadAt(std::int64_t offset, std::span<std::uint8_t> out) override;

private:
    std::vector<std::uint8_t> bytes_;
};
