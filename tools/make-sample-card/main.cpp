// make-sample-card: writes a folder tree like the recorder's SD card, filled with recordings in
// the recorder's own MP4 layout, for demos, tests and benchmarks.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "cardplan.h"
#include "civiltime.h"
#include "encodedvideo.h"
#include "recordingwriter.h"
#include "settings/tarsensetupdata.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage = R"(Usage: make-sample-card [options] CARD_FOLDER

Writes a folder tree like the Korvane recorder's SD card into CARD_FOLDER (which must be new
or empty): CL_KORVANE/MP4_INFINITE (continuous), CL_KORVANE/MP4_EVENT, CL_KORVANE/MP4_PARKING
and setting/velmar_setup.new. The recordings follow one simulated day: a drive through Seoul,
then parked. Each is an MP4 file in the recorder's layout with two H.264 channels (a few with
one) and a metadata track of GPS fixes and G-sensor readings. ffmpeg encodes each channel's
test pattern once; the recordings share those frames.

Options:
  --count N             recordings to write (default 12): half continuous, a quarter event,
                        a quarter parking
  --duration S|MIN-MAX  seconds per recording (default 20-60); continuous ones take MAX
  --resolution WxH      frame size of both channels (default 1280x720)
  --bitrate KBPS        constant bit rate of each channel (default: constant quality, which
                        keeps the files small); 6500 makes a 60-second recording of ~100 MB
  --seed N              varies the drive, the times and the names (default 1)
  --layout KIND         metadata layout: tagged, untagged or mixed (default mixed)
  --no-extras           leave out the entries the viewer must skip (a name ending in "MP4",
                        an "avi" file, a truncated recording)
  --manifest FILE       list every entry written, one per line, tab-separated: kind, path
                        below CARD_FOLDER, channels, layout, start time, seconds
  --help                show this text
)";

struct Arguments {
    CardOptions card;
    fs::path output;
    fs::path manifest;
};

std::optional<long> ParseNumber(std::string_view text, long low, long high) {
    if (text.empty() || text.size() > 10) {
        return std::nullopt;
    }
    long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    if (value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

// Two numbers joined by `separator`, or one number for both when `separator` is absent and
// `single` allows it.
bool ParsePair(std::string_view text, char separator, bool single, long low, long high, int& first,
               int& second) {
    const std::size_t cut = text.find(separator);
    if (cut == std::string_view::npos && !single) {
        return false;
    }
    const auto a = ParseNumber(text.substr(0, cut), low, high);
    const auto b = cut == std::string_view::npos ? a : ParseNumber(text.substr(cut + 1), low, high);
    if (!a || !b) {
        return false;
    }
    first = static_cast<int>(*a);
    second = static_cast<int>(*b);
    return true;
}

bool ParseArguments(int argc, char** argv, Arguments& arguments, std::string& error) {
    std::vector<std::string_view> positional;
    for (int i = 1; i < argc; ++i) {
        std::string_view name = argv[i];
        std::string_view value;
        const bool isOption = name.starts_with("--");
        if (isOption && name != "--help" && name != "--no-extras") {
            const std::size_t equals = name.find('=');
            if (equals != std::string_view::npos) {
                value = name.substr(equals + 1);
                name = name.substr(0, equals);
            } else if (i + 1 < argc) {
                value = argv[++i];
            } else {
                error = std::string(name) + " needs a value";
                return false;
            }
        }
        CardOptions& card = arguments.card;
        bool valid = true;
        if (!isOption) {
            positional.push_back(name);
        } else if (name == "--no-extras") {
            card.extras = false;
        } else if (name == "--count") {
            const auto count = ParseNumber(value, 1, 100000);
            valid = count.has_value();
            card.count = static_cast<int>(count.value_or(0));
        } else if (name == "--duration") {
            valid = ParsePair(value, '-', true, 1, 600, card.minSeconds, card.maxSeconds) &&
                    card.minSeconds <= card.maxSeconds;
        } else if (name == "--resolution") {
            valid = ParsePair(value, 'x', false, 32, 4096, card.width, card.height) &&
                    card.width % 2 == 0 && card.height % 2 == 0;
        } else if (name == "--bitrate") {
            const auto kbps = ParseNumber(value, 100, 100000);
            valid = kbps.has_value();
            card.bitrateKbps = static_cast<int>(kbps.value_or(0));
        } else if (name == "--seed") {
            const auto seed = ParseNumber(value, 0, 4294967295L);
            valid = seed.has_value();
            card.seed = static_cast<std::uint32_t>(seed.value_or(0));
        } else if (name == "--layout") {
            using Layouts = CardOptions::Layouts;
            valid = value == "tagged" || value == "untagged" || value == "mixed";
            card.layouts = value == "tagged"     ? Layouts::Tagged
                           : value == "untagged" ? Layouts::Untagged
                                                 : Layouts::Mixed;
        } else if (name == "--manifest") {
            arguments.manifest = fs::path(value);
        } else {
            error = "unknown option " + std::string(name);
            return false;
        }
        if (!valid) {
            error = "bad value for " + std::string(name) + ": " + std::string(value);
            return false;
        }
    }
    if (positional.size() != 1) {
        error = "give exactly one CARD_FOLDER";
        return false;
    }
    arguments.output = fs::path(positional.front());
    return true;
}

// A private folder for ffmpeg's output, removed with its contents.
class WorkFolder {
public:
    WorkFolder() {
        std::string pattern = (fs::temp_directory_path() / "make-sample-card-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~WorkFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// Everything the recordings of one card share: the two encoded channels and the drive.
struct CardSources {
    EncodedVideo front;
    EncodedVideo rear;
    std::vector<std::uint32_t> frameDurations;  // milliseconds, for the longest recording
};

bool WriteOne(const PlannedRecording& planned, const CardSources& sources, const Drive& drive,
              const fs::path& path, std::string& error) {
    const MetadataSamples metadata =
        BuildMetadata(drive, planned.driveSecond, planned.seconds, planned.start, planned.layout);
    const std::size_t frames =
        static_cast<std::size_t>(planned.seconds) * EncodedVideo::kFramesPerSecond;
    std::vector<RecordingTrack> tracks;
    for (const EncodedVideo* video : {&sources.front, &sources.rear}) {
        if (video == &sources.rear && !planned.twoChannel) {
            break;
        }
        RecordingTrack& track = tracks.emplace_back();
        track.sampleDescription = video->SampleDescription();
        track.width = video->width();
        track.height = video->height();
        track.syncInterval = EncodedVideo::kFramesPerSecond;
        for (std::size_t i = 0; i < frames; ++i) {
            track.samples.push_back(video->Sample(i));
        }
        track.durations.assign(sources.frameDurations.begin(),
                               sources.frameDurations.begin() + static_cast<long>(frames));
    }
    RecordingTrack& meta = tracks.emplace_back();
    meta.kind = RecordingTrack::Kind::Metadata;
    meta.constantSize = metadata.constantSize;
    meta.durations = metadata.durations;
    for (const auto& sample : metadata.samples) {
        meta.samples.emplace_back(sample);
    }
    return WriteRecording(path, tracks, planned.start.time_since_epoch().count(), error);
}

// The recorder's settings file with its defaults and the card's clock.
bool WriteSettings(const fs::path& card, std::chrono::local_seconds clock, std::string& error) {
    const DateTime time = ToDateTime(clock);
    std::tm cardClock{};
    cardClock.tm_year = time.year - 1900;
    cardClock.tm_mon = time.month - 1;
    cardClock.tm_mday = time.day;
    cardClock.tm_hour = time.hour;
    cardClock.tm_min = time.minute;
    cardClock.tm_sec = time.second;
    CTarsenSetupData settings([cardClock] { return cardClock; });
    settings.SetSettingFolder(card);
    return settings.SaveToFile(error);
}

struct ManifestLine {
    std::string kind;
    fs::path path;
    int channels;
    std::string layout;
    std::chrono::local_seconds start;
    int seconds;
};

// Entries a viewer must skip: a name whose extension is in capitals, a file of another type,
// and a recording cut short before its movie box.
bool WriteExtras(const fs::path& card, const CardPlan& plan, const CardSources& sources,
                 const Drive& drive, int seconds, std::vector<ManifestLine>& manifest,
                 std::string& error) {
    const auto dayBefore = plan.driveStart - std::chrono::days(1);
    PlannedRecording planned{RecordingKind::Always, {}, dayBefore, 0, seconds, true,
                             MetadataLayout::Tagged};
    const DateTime time = ToDateTime(dayBefore);
    const fs::path capitals = KindFolder(RecordingKind::Always) /
                              FormatDateTime("REC_%04d%02d%02d_%02d%02d%02d_FR.MP4", time);
    const fs::path truncated = KindFolder(RecordingKind::Event) /
                               FormatDateTime("EVT_%04d%02d%02d_%02d%02d%02d_FR.mp4", time);
    const fs::path other = KindFolder(RecordingKind::Event) /
                           FormatDateTime("EVT_%04d%02d%02d_%02d%02d%02d_F.avi", time);
    if (!WriteOne(planned, sources, drive, card / capitals, error) ||
        !WriteOne(planned, sources, drive, card / truncated, error)) {
        return false;
    }
    std::error_code failure;
    fs::resize_file(card / truncated, fs::file_size(card / truncated) * 3 / 5, failure);
    std::ofstream avi(card / other, std::ios::binary);
    avi << std::string("RIFF\x24\0\0\0AVI LIST\x0c\0\0\0hdrlavih\0\0\0\0", 32)
        << std::string(12, '\0');
    if (failure || !avi) {
        error = "cannot write the extra entries";
        return false;
    }
    manifest.push_back({"UppercaseExtension", capitals, 2, "tagged", dayBefore, seconds});
    manifest.push_back({"Truncated", truncated, 2, "tagged", dayBefore, seconds});
    manifest.push_back({"OtherExtension", other, 0, "-", dayBefore, 0});
    return true;
}

bool WriteManifest(const fs::path& path, const std::vector<ManifestLine>& lines) {
    std::ofstream out(path);
    for (const ManifestLine& line : lines) {
        out << line.kind << '\t' << line.path.generic_string() << '\t' << line.channels << '\t'
            << line.layout << '\t'
            << FormatDateTime("%04d-%02d-%02d %02d:%02d:%02d", ToDateTime(line.start)) << '\t'
            << line.seconds << '\n';
    }
    return static_cast<bool>(out);
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "make-sample-card: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    Arguments arguments;
    std::string error;
    if (!ParseArguments(argc, argv, arguments, error)) {
        std::fprintf(stderr, "make-sample-card: %s\n\n%s", error.c_str(), kUsage);
        return 2;
    }
    const fs::path& card = arguments.output;
    std::error_code failure;
    if (fs::exists(card) && !fs::is_empty(card, failure)) {
        return Fail(card.string() + " exists and is not empty");
    }
    const auto began = std::chrono::steady_clock::now();
    const CardOptions& options = arguments.card;
    const CardPlan plan = PlanCard(options);
    Drive drive(options.seed, plan.drivingSeconds);
    for (const PlannedShock& shock : plan.shocks) {
        drive.AddImpulse(shock.tick, shock.peak);
    }

    WorkFolder work;
    if (work.path().empty()) {
        return Fail("cannot create a temporary folder");
    }
    CardSources sources;
    const TestPattern front{"testsrc2", "CH1 FRONT", options.width, options.height,
                            options.maxSeconds, options.bitrateKbps};
    TestPattern rear = front;
    rear.source = "smptebars";
    rear.label = "CH2 REAR";
    if (!sources.front.Encode(front, work.path(), error) ||
        !sources.rear.Encode(rear, work.path(), error)) {
        return Fail(error);
    }
    const std::size_t frames =
        static_cast<std::size_t>(options.maxSeconds) * EncodedVideo::kFramesPerSecond;
    if (sources.front.SampleCount() < frames || sources.rear.SampleCount() < frames) {
        return Fail("ffmpeg delivered fewer frames than asked for");
    }
    // Millisecond times of a 30 frames per second stream: 33, 34, 33, ... adding up to whole
    // seconds.
    for (std::size_t k = 0; k < frames; ++k) {
        const auto at = [](std::size_t frame) {
            return static_cast<std::uint32_t>((frame * 1000 + 15) / EncodedVideo::kFramesPerSecond);
        };
        sources.frameDurations.push_back(at(k + 1) - at(k));
    }

    std::vector<ManifestLine> manifest;
    int kindCounts[4] = {};
    for (const PlannedRecording& planned : plan.recordings) {
        fs::create_directories(card / planned.relativePath.parent_path(), failure);
        if (!WriteOne(planned, sources, drive, card / planned.relativePath, error)) {
            return Fail(error);
        }
        ++kindCounts[static_cast<int>(planned.kind)];
        manifest.push_back({KindName(planned.kind), planned.relativePath,
                            planned.twoChannel ? 2 : 1,
                            planned.layout == MetadataLayout::Tagged ? "tagged" : "untagged",
                            planned.start, planned.seconds});
    }
    if (options.extras &&
        !WriteExtras(card, plan, sources, drive, options.minSeconds, manifest, error)) {
        return Fail(error);
    }
    if (!WriteSettings(card, plan.driveStart, error)) {
        return Fail(error);
    }
    if (!arguments.manifest.empty() && !WriteManifest(arguments.manifest, manifest)) {
        return Fail("cannot write " + arguments.manifest.string());
    }
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    std::printf(
        "make-sample-card: %zu recordings (%d Always, %d Event, %d Parking, %d ParkingMotion)"
        "%s in %s (%.1f s)\n",
        plan.recordings.size(), kindCounts[0], kindCounts[1], kindCounts[2], kindCounts[3],
        options.extras ? " and 3 entries to skip" : "", card.string().c_str(), elapsed);
    return 0;
}
