#include "mp4/mp4fileloader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/logwriter.h"
#include "boxbuilder.h"
#include "mp4/metadatadecoder.h"
#include "testsupport/tempdir.h"

namespace {

using namespace mp4test;

// A sample of the tagged layout: speed at 101, latitude and longitude at 104 and 108, the
// three accelerations (sign byte, value byte) from 114, the tag at 121.
Bytes TaggedSample(std::uint8_t speed, std::int32_t latitude, std::int32_t longitude,
                   std::string_view tag = "MIRALVETON") {
    Bytes sample(131);
    sample[101] = speed;
    const Bytes lat = U32(static_cast<std::uint32_t>(latitude));
    const Bytes lon = U32(static_cast<std::uint32_t>(longitude));
    std::copy(lat.begin(), lat.end(), sample.begin() + 104);
    std::copy(lon.begin(), lon.end(), sample.begin() + 108);
    const Bytes accelerations = {0x00, 0x40, 0xFF, 0xC0, 0x00, 0x20};  // 0.5, -0.5, 0.25
    std::copy(accelerations.begin(), accelerations.end(), sample.begin() + 114);
    std::copy(tag.begin(), tag.end(), sample.begin() + 121);
    return sample;
}

// A tagged sample without its last bytes: with 119 of them, the Z acceleration is incomplete.
Bytes CutTagged(std::size_t length) {
    Bytes sample = TaggedSample(1, 2, 3);
    sample.resize(length);
    return sample;
}

Bytes GSensorRecord(std::int8_t x, std::int8_t y, std::int8_t z) {
    return {'M', std::uint8_t(x), std::uint8_t(y), std::uint8_t(z), std::uint8_t(-x), 0, 32, 0};
}

Bytes GpsRecord(std::string_view sentence) {
    return Cat({Text("G"), Text(sentence)});
}

const Bytes kRmc = GpsRecord("$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,,W*6A");

CRecordingInfo NewRecording(std::string path = "/card/20120305_070809_E.mp4") {
    return CRecordingInfo({2012, 3, 5, 7, 8, 9}, RecordingType::Event, std::move(path), "clip.mp4");
}

// Reads `file` from memory into a fresh descriptor.
struct Read {
    explicit Read(Bytes file) {
        MP4FileLoader loader;
        result = loader.GetMetadataFromSource(std::make_unique<MemoryByteSource>(std::move(file)),
                                              recording);
    }
    CRecordingInfo recording = NewRecording();
    bool result = false;
};

std::vector<Bytes> Repeat(const Bytes& sample, int count) {
    return std::vector<Bytes>(static_cast<std::size_t>(count), sample);
}

TEST(MP4FileLoader, TaggedRecording) {
    std::vector<Bytes> samples = Repeat(TaggedSample(80, 375123456, 1271234567), 60);
    samples[1] = TaggedSample(90, 0, 0, "untagged!!");  // only the first sample's tag counts
    const Read read(RecordingBuilder()
                        .VideoTrack(Repeat(Bytes(16), 3), 60000)
                        .MetadataTrack(samples, 59000)
                        .Build());
    const CRecordingInfo& r = read.recording;
    EXPECT_TRUE(read.result);
    EXPECT_TRUE(r.metadataLoaded);
    EXPECT_TRUE(r.tagged);
    EXPECT_EQ(r.durationSeconds, 60);  // from the first track header
    ASSERT_EQ(r.gpsSamples.size(), 60u);
    ASSERT_EQ(r.gSensorSamples.size(), 60u);
    ASSERT_EQ(r.gSensorTimes.size(), 60u);
    EXPECT_DOUBLE_EQ(r.gSensorTimes.front(), 1.0);
    EXPECT_DOUBLE_EQ(r.gSensorTimes.back(), 60.0);
    EXPECT_EQ(r.gpsSamples[0].speedKmh, 80.0);
    EXPECT_NEAR(r.gpsSamples[0].latitude, 37.8565, 1e-9);
    EXPECT_NEAR(r.gpsSamples[0].longitude, 127 + 12 / 60.0 + 34.5 / 3600, 1e-9);
    EXPECT_EQ(r.gpsSamples[1].speedKmh, 90.0);
    const GSensorSample& g = r.gSensorSamples[0];
    EXPECT_EQ(std::vector<double>({g.x, g.y, g.z, g.secondX, g.secondY, g.secondZ}),
              std::vector<double>({0.5, -0.5, 0.25, 0, 0, 0}));
}

TEST(MP4FileLoader, UntaggedRecordingByRecordType) {
    const Read read(RecordingBuilder()
                        .VideoTrack(Repeat(Bytes(16), 3))
                        .MetadataTrack({GSensorRecord(16, -32, 64), kRmc, GSensorRecord(1, 2, 3),
                                        GpsRecord("$GPGGA,1,2,3,4,5,6,7,8*"), Text("Xjunk"),
                                        GpsRecord("$GPRMC,1,V,3730.5,N,12700.25,E,10*"),
                                        GSensorRecord(0, 0, 0)})
                        .Build());
    const CRecordingInfo& r = read.recording;
    EXPECT_TRUE(read.result);
    EXPECT_FALSE(r.tagged);
    ASSERT_EQ(r.gSensorSamples.size(), 3u);
    ASSERT_EQ(r.gpsSamples.size(), 2u);
    const GSensorSample& g = r.gSensorSamples[0];
    EXPECT_EQ(std::vector<double>({g.x, g.y, g.z, g.secondX, g.secondY, g.secondZ}),
              std::vector<double>({0.5, -1.0, 2.0, -0.5, 0.0, 1.0}));
    EXPECT_NEAR(r.gpsSamples[0].latitude, 48.1173, 1e-9);
    EXPECT_NEAR(r.gpsSamples[0].speedKmh, 41.4848, 1e-9);
    EXPECT_NEAR(r.gpsSamples[1].latitude, 37.5 + 0.5 / 60, 1e-9);
    EXPECT_DOUBLE_EQ(r.gSensorTimes.back(), 60.0);
}

TEST(MP4FileLoader, TagMustMatchExactly) {
    for (const std::string_view tag : {"MIRALVETON", "miralveton", "MIRALVETOn", "MIRALVETO "}) {
        const Read read(
            RecordingBuilder().MetadataTrack(Repeat(TaggedSample(1, 2, 3, tag), 4)).Build());
        const bool tagged = tag == "MIRALVETON";
        EXPECT_EQ(read.recording.tagged, tagged) << tag;
        // Untagged, these samples start with a zero byte: not a record type.
        EXPECT_EQ(read.recording.gpsSamples.size(), tagged ? 4u : 0u) << tag;
    }
}

TEST(MP4FileLoader, DurationFromTheFirstTrackHeader) {
    struct Case {
        std::uint32_t durationMs;
        std::int32_t seconds;
    } cases[] = {{59999, 59}, {60000, 60}, {999, 0}, {0xFFFFFFFF, 4294967}};
    for (const Case& c : cases) {
        const Read read(RecordingBuilder().VideoTrack({Bytes(8)}, c.durationMs).Build());
        EXPECT_EQ(read.recording.durationSeconds, c.seconds) << c.durationMs;
    }
    const Read noTracks(Cat({Box("moov", {FullBox("mvhd", 0, Bytes(96))}), Box("mdat")}));
    EXPECT_TRUE(noTracks.result);
    EXPECT_EQ(noTracks.recording.durationSeconds, 0);
    EXPECT_EQ(noTracks.recording.videoTrackCount, 0);
    EXPECT_EQ(noTracks.recording.videoChunkCount, -1);
}

TEST(MP4FileLoader, VideoTracksAndTheirChunks) {
    struct Case {
        const char* name;
        Bytes file;
        std::int32_t videoTracks;
        std::int32_t chunks;
        bool result;
    } cases[] = {
        {"one channel", RecordingBuilder().VideoTrack(Repeat(Bytes(8), 3)).Build(), 1, 3, true},
        {"two channels: the last one counts",
         RecordingBuilder().VideoTrack(Repeat(Bytes(8), 5)).VideoTrack(Repeat(Bytes(8), 7)).Build(),
         2, 7, true},
        {"no video", RecordingBuilder().MetadataTrack({kRmc}).Build(), 0, -1, true},
        {"video without chunks", RecordingBuilder().VideoTrack({}).Build(), 1, 0, false},
        // The media data is searched like any box: a unit that looks like "vmhd" counts.
        {"pseudo-box in media data",
         Cat({Box("moov", {FullBox("mvhd", 0, Bytes(96))}), Box("mdat", Box("vmhd"))}), 1, -1,
         true},
    };
    for (const Case& c : cases) {
        const Read read(c.file);
        EXPECT_EQ(read.result, c.result) << c.name;
        EXPECT_EQ(read.recording.videoTrackCount, c.videoTracks) << c.name;
        EXPECT_EQ(read.recording.videoChunkCount, c.chunks) << c.name;
        EXPECT_TRUE(read.recording.metadataLoaded) << c.name;
    }
}

TEST(MP4FileLoader, MetadataTrackMustBeUnambiguous) {
    const Bytes stco = Stco({0});
    auto file = [](const Bytes& minf) {
        return Cat({Box("moov", {Box("trak", {Tkhd(5000), Box("mdia", minf)})}), Box("mdat")});
    };
    const Bytes nmhd = FullBox("nmhd", 0, {});
    struct Case {
        const char* name;
        Bytes file;
    } cases[] = {
        {"no null media header", file(Box("minf", {Box("stbl", stco)}))},
        {"null media header deeper down",
         file(Box("minf", {Box("dinf", nmhd), Box("stbl", stco)}))},
        {"two sample tables", file(Box("minf", {nmhd, Box("stbl", stco), Box("stbl", stco)}))},
        {"no chunk offsets", file(Box("minf", {nmhd, Box("stbl", FullBox("stsz", 0, U32(0)))}))},
        {"empty chunk offset table", file(Box("minf", {nmhd, Box("stbl", Stco({}))}))},
    };
    for (const Case& c : cases) {
        const Read read(c.file);
        EXPECT_TRUE(read.result) << c.name;
        EXPECT_TRUE(read.recording.metadataLoaded) << c.name;
        EXPECT_EQ(read.recording.durationSeconds, 5) << c.name;
        EXPECT_TRUE(read.recording.gpsSamples.empty()) << c.name;
        EXPECT_TRUE(read.recording.gSensorSamples.empty()) << c.name;
    }
}

TEST(MP4FileLoader, ChunkOffsetsComeFromTheBoxSizeNotItsCount) {
    Bytes file = RecordingBuilder().MetadataTrack(Repeat(GSensorRecord(1, 1, 1), 3)).Build();
    // The entry count of the (only) chunk offset table lies 8 bytes after its type.
    const std::string text(file.begin(), file.end());
    const std::size_t stco = text.rfind("stco");
    file[stco + 11] = 1;
    EXPECT_EQ(Read(file).recording.gSensorSamples.size(), 3u);
}

// Hostile and damaged files: every sample whose bytes are not all in the file is skipped, and
// nothing is read outside the file.
TEST(MP4FileLoader, SamplesRunningPastTheEndAreSkipped) {
    struct Case {
        const char* name;
        Bytes file;
        std::size_t gSensor, gps;
    } cases[] = {
        {"'M' record cut at the end of the file",
         RecordingBuilder()
             .MovieFirst()
             .MetadataTrack({GSensorRecord(1, 1, 1), Text("M\x01\x02")})
             .Build(),
         1, 0},
        {"'M' type byte alone at the end",
         RecordingBuilder().MovieFirst().MetadataTrack({GSensorRecord(1, 1, 1), Text("M")}).Build(),
         1, 0},
        {"'G' record without '*' at the end",
         RecordingBuilder()
             .MovieFirst()
             .MetadataTrack({kRmc, GpsRecord("$GPRMC,1,A,1,N,2,E,3")})
             .Build(),
         0, 1},
        {"'G' record without '*' within its bound",
         RecordingBuilder()
             .MovieFirst()
             .MetadataTrack(
                 {kRmc, GpsRecord("$GPRMC,1,A,1,N,2,E,3," + std::string(300, '0') + "*")})
             .Build(),
         0, 1},
        {"tagged sample cut short",
         RecordingBuilder()
             .MovieFirst()
             .MetadataTrack({TaggedSample(1, 2, 3), CutTagged(119)})
             .Build(),
         1, 1},
        {"chunk offsets beyond the file",
         RecordingBuilder()
             .MetadataTrack({GSensorRecord(1, 1, 1)})
             .ExtraChunkOffsets({0x7FFFFFFF, 0x80000000, 0xFFFFFFFF})
             .Build(),
         1, 0},
    };
    for (const Case& c : cases) {
        const Read read(c.file);
        EXPECT_TRUE(read.recording.metadataLoaded) << c.name;
        EXPECT_EQ(read.recording.gSensorSamples.size(), c.gSensor) << c.name;
        EXPECT_EQ(read.recording.gpsSamples.size(), c.gps) << c.name;
    }
}

TEST(MP4FileLoader, ChunkCountIsBounded) {
    // A table that names one record over and over cannot fill memory.
    const std::uint32_t firstSample = 24 + 8 + 28;  // after ftyp, the mdat header, leading bytes
    const Bytes file =
        RecordingBuilder()
            .MetadataTrack({GSensorRecord(1, 1, 1)})
            .ExtraChunkOffsets(std::vector<std::uint32_t>(metadata::kMaxChunks, firstSample))
            .Build();
    EXPECT_EQ(Read(file).recording.gSensorSamples.size(), std::size_t(metadata::kMaxChunks));
}

TEST(MP4FileLoader, ChunkOffsetTableRunningPastTheEnd) {
    // The table's declared size reaches beyond the file: only the entries present are used.
    const Bytes records = Cat({GSensorRecord(1, 1, 1), GSensorRecord(2, 2, 2)});
    const Bytes stco = RawBox(2000, "stco", Cat({U32(0), U32(1000), U32(16), U32(24)}));
    const Bytes minf = Box("minf", {FullBox("nmhd", 0, {}), Box("stbl", stco)});
    const Bytes file = Cat({Box("free", Bytes(3000 - 8)), Box("mdat", records),
                            Box("moov", {Box("trak", Box("mdia", minf))})});
    // The records lie at 3000 + 8 and 3000 + 16; patch the offsets in.
    Bytes patched = file;
    const std::size_t table = patched.size() - 16 + 8;  // the two entries end the file
    const Bytes offsets = Cat({U32(3008), U32(3016)});
    std::copy(offsets.begin(), offsets.end(), patched.begin() + static_cast<long>(table));
    const Read read(patched);
    EXPECT_EQ(read.recording.gSensorSamples.size(), 2u);
}

TEST(MP4FileLoader, TruncatedFilesNeverReadOutside) {
    // Every prefix of a small recording either is refused or yields a subset of its samples.
    const Bytes whole = RecordingBuilder()
                            .VideoTrack(Repeat(Bytes(16), 2))
                            .MetadataTrack({GSensorRecord(1, 1, 1), kRmc, GSensorRecord(2, 2, 2)})
                            .Build();
    const Read full(whole);
    ASSERT_EQ(full.recording.gSensorSamples.size(), 2u);
    ASSERT_EQ(full.recording.gpsSamples.size(), 1u);
    for (std::size_t length = 0; length < whole.size(); ++length) {
        const Read cut(Bytes(whole.begin(), whole.begin() + static_cast<long>(length)));
        if (!cut.recording.metadataLoaded) {
            EXPECT_FALSE(cut.result) << length;
            EXPECT_EQ(cut.recording.durationSeconds, 0) << length;
        }
        EXPECT_LE(cut.recording.gSensorSamples.size(), 2u) << length;
        EXPECT_LE(cut.recording.gpsSamples.size(), 1u) << length;
    }
}

TEST(MP4FileLoader, ReadsFromDiskOnceAndLogs) {
    TempDir dir;
    const std::filesystem::path path = dir.path() / "20120305_070809_E.mp4";
    WriteBytes(path, RecordingBuilder().VideoTrack({Bytes(8)}).MetadataTrack({kRmc}).Build());
    LogWriter& log = LogWriter::Instance();
    log.SetLogFolder(dir.path());
    log.Configure(true, 3, 3);

    CRecordingInfo recording = NewRecording(path.string());
    MP4FileLoader loader;
    EXPECT_TRUE(loader.LoadMetadata(recording));
    log.Configure(false, 3, 3);
    log.SetLogFolder({});
    EXPECT_EQ(recording.gpsSamples.size(), 1u);

    // The two lines, in order, named after the loader.
    std::ostringstream text;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "LOG")) {
        text << std::ifstream(entry.path(), std::ios::binary).rdbuf();
    }
    const std::string lines = text.str();
    const std::size_t start =
        lines.find("[MP4FileLoader]\t[GetMetadataFromMP4File]\tMeta Data Parse Start!");
    const std::size_t end =
        lines.find("[MP4FileLoader]\t[GetMetadataFromMP4File]\tMeta Data Parse end!");
    ASSERT_NE(start, std::string::npos) << lines;
    ASSERT_NE(end, std::string::npos) << lines;
    EXPECT_LT(start, end);

    // Loaded once: the file is not read again, even when it is gone.
    std::filesystem::remove(path);
    recording.gpsSamples.clear();
    EXPECT_TRUE(MP4FileLoader().GetMetadataFromMP4File(recording));
    EXPECT_TRUE(recording.gpsSamples.empty());
}

TEST(MP4FileLoader, MissingOrRefusedFilesLeaveTheDescriptorAlone) {
    TempDir dir;
    WriteBytes(dir.path() / "nomovie.mp4", Cat({Box("ftyp"), Box("mdat")}));
    WriteBytes(dir.path() / "upper.MP4", RecordingBuilder().VideoTrack({Bytes(8)}).Build());
    for (const char* name : {"missing.mp4", "nomovie.mp4", "upper.MP4"}) {
        CRecordingInfo recording = NewRecording((dir.path() / name).string());
        MP4FileLoader loader;
        EXPECT_FALSE(loader.GetMetadataFromMP4File(recording)) << name;
        EXPECT_FALSE(loader.LastError().empty()) << name;
        EXPECT_FALSE(recording.metadataLoaded) << name;
        EXPECT_EQ(recording.durationSeconds, 0) << name;
        EXPECT_EQ(recording.videoChunkCount, 0) << name;
    }
}

}  // namespace
