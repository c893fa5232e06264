#pragma once

#include "boxbuilder.h"

// A small recording in the recorder's layout for the time-range cut, with switches that break
// one of the layout's rules each.
namespace mp4test {

struct CutSourceOptions {
    std::uint32_t movieTimeScale = 1000;
    std::uint32_t trackTimeScale = 1000;
    std::uint8_t trackHeaderVersion = 0;
    std::uint8_t mediaHeaderVersion = 0;
    std::uint32_t samplesPerChunk = 1;
    bool co64 = false;
    bool editList = false;
    bool boxAfterSampleTable = false;  // a "udta" box at the end of the track
    bool objectDescriptor = true;
    std::uint32_t lastOffsetShift = 0;  // moves the video track's last sample
};

// Three seconds: a video track of six samples (500 units each, sync samples 1, 3, 5, sizes 10
// to 15) and a metadata track of three 16-byte samples (1000 units each, one constant size).
// Every byte of sample k of track t holds 0x10 × (t + 1) + k. The media data starts with 28
// leading bytes and interleaves the tracks as the recorder does: v0 v1 m0 v2 v3 m1 v4 v5 m2.
struct CutSource {
    static constexpr std::uint32_t kVideoSamples = 6;
    static constexpr std::uint32_t kMetadataSamples = 3;
    static constexpr std::uint32_t kMetadataSize = 16;

    static Bytes Sample(std::uint32_t track, std::uint32_t k) {
        const std::size_t size = track == 0 ? 10 + k : kMetadataSize;
        return Bytes(size, static_cast<std::uint8_t>(0x10 * (track + 1) + k));
    }

    static Bytes Build(const CutSourceOptions& options = {}) {
        const Bytes ftyp = Box("ftyp", Text(std::string_view("isom\0\0\0\0isomavc1", 16)));
        Bytes media = Box("free", Bytes(20, 'K'));  // the 28 leading bytes
        std::vector<std::uint32_t> videoOffsets, metadataOffsets;
        const std::uint32_t base = static_cast<std::uint32_t>(ftyp.size()) + 8;
        for (std::uint32_t second = 0; second < 3; ++second) {
            for (const std::uint32_t k : {2 * second, 2 * second + 1}) {
                videoOffsets.push_back(base + static_cast<std::uint32_t>(media.size()));
                media = Cat({media, Sample(0, k)});
            }
            metadataOffsets.push_back(base + static_cast<std::uint32_t>(media.size()));
            media = Cat({media, Sample(1, second)});
        }
        videoOffsets.back() += options.lastOffsetShift;
        Bytes videoSizes = Cat({U32(0), U32(kVideoSamples)});
        for (std::uint32_t k = 0; k < kVideoSamples; ++k) {
            videoSizes = Cat({videoSizes, U32(10 + k)});
        }
        const Bytes video =
            Track(options, 1, true, FullBox("stts", 0, Cat({U32(1), U32(6), U32(500)})),
                  FullBox("stss", 0, Cat({U32(3), U32(1), U32(3), U32(5)})),
                  FullBox("stsz", 0, videoSizes), videoOffsets);
        const Bytes metadata = Track(
            options, 2, false, FullBox("stts", 0, Cat({U32(1), U32(3), U32(1000)})), {},
            FullBox("stsz", 0, Cat({U32(kMetadataSize), U32(kMetadataSamples)})), metadataOffsets);
        const Bytes mvhd = FullBox(
            "mvhd", 0,
            Cat({U32(0), U32(0), U32(options.movieTimeScale), U32(3000), U32(0x10000), Bytes(76)}));
        const Bytes iods =
            options.objectDescriptor
                ? FullBox("iods", 0, {0x10, 0x07, 0x00, 0x4F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})
                : Bytes{};
        return Cat({ftyp, Box("mdat", media), Box("moov", {mvhd, iods, video, metadata})});
    }

private:
    static Bytes Track(const CutSourceOptions& options, std::uint32_t id, bool video,
                       const Bytes& stts, const Bytes& stss, const Bytes& stsz,
                       const std::vector<std::uint32_t>& offsets) {
        const std::uint32_t perChunk = options.samplesPerChunk;
        Bytes chunkTable =
            U32(static_cast<std::uint32_t>((offsets.size() + perChunk - 1) / perChunk));
        for (std::size_t k = 0; k < offsets.size(); k += perChunk) {
            chunkTable = Cat({chunkTable, options.co64 ? U32(0) : Bytes{}, U32(offsets[k])});
        }
        const Bytes stbl = Box(
            "stbl", {FullBox("stsd", 0, Cat({U32(1), Box(video ? "avc1" : "mett", Bytes(8))})),
                     stts, stss, FullBox("stsc", 0, Cat({U32(1), U32(1), U32(perChunk), U32(1)})),
                     stsz, FullBox(options.co64 ? "co64" : "stco", 0, chunkTable)});
        const Bytes minf =
            Box("minf", {video ? FullBox("vmhd", 1, Bytes(8)) : FullBox("nmhd", 0, {}),
                         Box("dinf", FullBox("dref", 0, U32(0))), stbl});
        const Bytes mdhd =
            FullBox("mdhd", std::uint32_t{options.mediaHeaderVersion} << 24,
                    Cat({U32(0), U32(0), U32(options.trackTimeScale), U32(3000), U32(0x55C40000)}));
        const Bytes hdlr =
            FullBox("hdlr", 0, Cat({U32(0), Text(video ? "vide" : "meta"), Bytes(13)}));
        const Bytes tkhd = FullBox("tkhd", std::uint32_t{options.trackHeaderVersion} << 24 | 3,
                                   Cat({U32(0), U32(0), U32(id), U32(0), U32(3000), Bytes(60)}));
        return Box("trak",
                   {tkhd, options.editList ? Box("edts", FullBox("elst", 0, U32(0))) : Bytes{},
                    Box("mdia", {mdhd, hdlr, minf}),
                    options.boxAfterSampleTable ? Box("udta", Bytes(4)) : Bytes{}});
    }
};

}  // namespace mp4test
