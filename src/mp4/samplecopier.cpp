#include "mp4/samplecopier.h"

#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

bool SampleCopier::Copy(int sourceFd, std::vector<CopyPiece> pieces, NewFileWriter& out,
                        std::string& error) {
    // Output order: the output is written front to back.
    std::sort(pieces.begin(), pieces.end(),
              [](const CopyPiece& a, const CopyPiece& b) { return a.to < b.to; });
    // Pieces adjacent in the source and in the output are one piece.
    std::size_t kept = 0;
    for (const CopyPiece& piece : pieces) {
        if (piece.size == 0) {
            continue;
        }
        CopyPiece& last = pieces[kept > 0 ? kept - 1 : 0];
        if (kept > 0 && last.from + last.size == piece.from && last.to + last.size == piece.to) {
            last.size += piece.size;
        } else {
            pieces[kept++] = piece;
        }
    }
    pieces.resize(kept);
    std::size_t first = 0;
    while (first < pieces.size()) {
        CopyPiece& piece = pieces[first];
        const NewFileWriter::KernelCopy copied =
            out.CopyInKernel(sourceFd, piece.from, piece.to, piece.size);
        if (copied == NewFileWriter::KernelCopy::Failed) {
            error = out.Error();
            return false;
        }
        if (copied == NewFileWriter::KernelCopy::Unsupported) {
            // Another file system: the rest goes through memory.
            return CopyInBlocks(sourceFd, std::span(pieces).subspan(first), out, error);
        }
        ++first;
    }
    return true;
}

bool SampleCopier::CopyInBlocks(int sourceFd, std::span<CopyPiece> pieces, NewFileWriter& out,
                                std::string& error) {
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
            !CopyBlock(start, pieces.subspan(first, last - first), out, error)) {
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
            {block_.data() + (piece.from - blockStart), static_cast<std::size_t>(piece.size)});
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
        iovec part{block_.data(), size};
        if (!out.WriteAt(piece.to + done, std::span(&part, 1))) {
            error = out.Error();
            return false;
        }
    }
    return true;
}

bool SampleCopier::ReadSource(int sourceFd, std::int64_t offset, std::size_t size,
                              std::string& error) {
    block_.resize(static_cast<std::size_t>(kBlockSize));
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got =
            ::pread(sourceFd, block_.data() + done, size - done, offset + std::int64_t(done));
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
