#include "mp4/samplecopier.h"

#include <sys/mman.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

bool SampleCopier::Copy(int sourceFd, std::vector<CopyPiece> pieces, NewFileWriter& out,
                        std::string& error) {
    // Source order: the source is read front to back, which also suits a cold cache and a card.
    std::sort(pieces.begin(), pieces.end(),
              [](const CopyPiece& a, const CopyPiece& b) { return a.from < b.from; });
    std::size_t first = 0;
    while (first < pieces.size()) {
        if (pieces[first].size > kBlockSize) {
            if (!CopyLargePiece(sourceFd, pieces[first], out, error)) {
                return false;
            }
            ++first;
            continue;
        }
        // One block: the following pieces that fit in it without a long gap before them.
        const std::int64_t start = pieces[first].from;
        std::int64_t end = start + pieces[first].size;
        std::size_t last = first + 1;
        for (; last < pieces.size(); ++last) {
            const CopyPiece& piece = pieces[last];
            const std::int64_t pieceEnd = std::max(end, piece.from + piece.size);
            if (piece.from - end > kMaxGap || pieceEnd - start > kBlockSize) {
                break;
            }
            end = pieceEnd;
        }
        if (!ReadSource(sourceFd, start, static_cast<std::size_t>(end - start), error) ||
            !CopyBlock(start, std::span(pieces).subspan(first, last - first), out, error)) {
            return false;
        }
        first = last;
    }
    return true;
}

bool SampleCopier::CopyBlock(std::int64_t blockStart, std::span<CopyPiece> pieces,
                             NewFileWriter& out, std::string& error) {
    // In output order the pieces of one track follow each other: one gathered write each.
    std::sort(pieces.begin(), pieces.end(),
              [](const CopyPiece& a, const CopyPiece& b) { return a.to < b.to; });
    std::vector<iovec> parts;
    std::int64_t groupStart = 0;
    std::int64_t groupEnd = 0;
    const auto flush = [&] {
        if (parts.empty() || out.WriteAt(groupStart, parts)) {
            parts.clear();
            return true;
        }
        error = out.Error();
        return false;
    };
    for (const CopyPiece& piece : pieces) {
        if (piece.size == 0) {
            continue;
        }
        if (piece.to != groupEnd && !flush()) {
            return false;
        }
        if (parts.empty()) {
            groupStart = piece.to;
        }
        parts.push_back(
            {block_.Data() + (piece.from - blockStart), static_cast<std::size_t>(piece.size)});
        groupEnd = piece.to + piece.size;
    }
    return flush();
}

bool SampleCopier::CopyLargePiece(int sourceFd, const CopyPiece& piece, NewFileWriter& out,
                                  std::string& error) {
    for (std::int64_t done = 0; done < piece.size; done += kBlockSize) {
        const auto size = static_cast<std::size_t>(std::min(kBlockSize, piece.size - done));
        if (!ReadSource(sourceFd, piece.from + done, size, error)) {
            return false;
        }
        iovec part{block_.Data(), size};
        if (!out.WriteAt(piece.to + done, std::span(&part, 1))) {
            error = out.Error();
            return false;
        }
    }
    return true;
}

bool SampleCopier::ReadSource(int sourceFd, std::int64_t offset, std::size_t size,
                              std::string& error) {
    if (block_.Data() == nullptr) {
        error = "Cannot copy: out of memory";
        return false;
    }
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got =
            ::pread(sourceFd, block_.Data() + done, size - done, offset + std::int64_t(done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            // A source that ends early has changed since its tables were read.
            error = std::string("Cannot read the source: ") +
                    (got == 0 ? "it is shorter than it was" : std::strerror(errno));
            return false;
        }
        done += static_cast<std::size_t>(got);
    }
    return true;
}

SampleCopier::Block::~Block() {
    if (data_ != nullptr) {
        ::munmap(data_, kBlockSize);
    }
}

std::uint8_t* SampleCopier::Block::Data() {
    if (data_ == nullptr) {
        void* mapped = ::mmap(nullptr, kBlockSize, PROT_READ | PROT_WRITE,
                              MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
        data_ = mapped == MAP_FAILED ? nullptr : mapped;
    }
    return static_cast<std::uint8_t*>(data_);
}
