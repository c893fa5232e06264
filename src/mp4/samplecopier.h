#pragma once

#include "mp4/newfilewriter.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Bytes to copy from the source file to a place in the output.
struct CopyPiece {
    std::int64_t from = 0;  // source offset
    std::int64_t to = 0;    // output offset
    std::int64_t size = 0;
};

// Copies many small pieces (the samples of a cut) from a source file into an output whose
// layout differs from the source's: the recorder interleaves its tracks, the cut stores them
// one after the other. The source is read front to back; pieces that follow each other in both
// files are copied as one. Within one file system the kernel copies each piece
// (copy_file_range: no copy through memory, one call per piece, about 1.6 times one call over
// the same bytes). Across file systems (a card to a disk) the source is read in blocks, each
// once, and every block's pieces go out with one gathered write per stretch of output they
// fill. Memory stays at one block.
class SampleCopier {
public:
    // The block read at once when the kernel cannot copy; larger pieces are copied in blocks of
    // this size. Larger blocks cost more in page faults than they save in calls.
    static constexpr std::int64_t kBlockSize = 1 << 20;
    // Source bytes between two pieces that are read rather than skipped.
    static constexpr std::int64_t kMaxGap = 256 << 10;

    // Copies every piece from the file `sourceFd` into `out`; false with `error` set on a
    // read or write failure.
    bool Copy(int sourceFd, std::vector<CopyPiece> pieces, NewFileWriter& out, std::string& error);

private:
    bool CopyInBlocks(int sourceFd, std::span<CopyPiece> pieces, NewFileWriter& out,
                      std::string& error);
    // Writes `pieces`, all inside the block read from `blockStart`.
    bool CopyBlock(std::int64_t blockStart, std::span<CopyPiece> pieces, NewFileWriter& out,
                   std::string& error);
    bool CopyLargePiece(int sourceFd, const CopyPiece& piece, NewFileWriter& out,
                        std::string& error);
    bool ReadSource(int sourceFd, std::int64_t offset, std::size_t size, std::string& error);

    std::vector<std::uint8_t> block_;
};
