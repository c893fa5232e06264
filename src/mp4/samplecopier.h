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
// one after the other. The source is read front to back in blocks, each once, and every
// block's pieces go out with one gathered write per stretch of output they fill (one per track
// in the block). A cut thus costs a few system calls per block rather than per sample: for a
// 10-second cut of a 1080p recording (610 samples, 16 MB) the copy costs about as much as one
// copy_file_range over 16 contiguous MB, and half as much as one copy_file_range per sample.
// The same path serves every pair of file systems. Memory stays at one block.
class SampleCopier {
public:
    // The block read at once; larger pieces are copied in blocks of this size. Larger blocks
    // cost more in page faults than they save in calls.
    static constexpr std::int64_t kBlockSize = 1 << 20;
    // Source bytes between two pieces that are read rather than skipped.
    static constexpr std::int64_t kMaxGap = 256 << 10;

    // Copies every piece from the file `sourceFd` into `out`; false with `error` set on a
    // read or write failure.
    bool Copy(int sourceFd, std::vector<CopyPiece> pieces, NewFileWriter& out, std::string& error);

private:
    // Writes `pieces`, all inside the block read from `blockStart`.
    bool CopyBlock(std::int64_t blockStart, std::span<CopyPiece> pieces, NewFileWriter& out,
                   std::string& error);
    bool CopyLargePiece(int sourceFd, const CopyPiece& piece, NewFileWriter& out,
                        std::string& error);
    bool ReadSource(int sourceFd, std::int64_t offset, std::size_t size, std::string& error);

    // The block's memory, mapped on first use with its pages in place: touching fresh pages
    // one by one costs more than the copy itself (about 14 us a page on the virtual machines
    // measured, 3.7 ms for 1 MiB).
    class Block {
    public:
        Block() = default;
        ~Block();
        Block(const Block&) = delete;
        Block& operator=(const Block&) = delete;
        // Null when the memory cannot be had.
        std::uint8_t* Data();

    private:
        void* data_ = nullptr;
    };

    Block block_;
};
