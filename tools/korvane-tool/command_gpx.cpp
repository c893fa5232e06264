#include <chrono>
#include <cstdio>
#include <fstream>
#include <string_view>

#include "commands.h"
#include "jsonwriter.h"
#include "recordingfile.h"

namespace {

constexpr const char* kUsage =
    R"(Usage: korvane-tool gpx [--output OUT.gpx] [--utc-offset +HH:MM] FILE

Writes the GPS track of the recording FILE as a GPX 1.1 document, for mapping programs: one
track point per GPS sample, timed at the recording's start (from its name) plus the sample's
second, with the speed in Garmin's TrackPointExtension (metres per second). The recorder keeps
local time without a zone; --utc-offset adds one to every time (the recorder's default zone is
+09:00). Without --output the document goes to standard output.
)";

std::string XmlEscape(std::string_view text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            default:
                // Control characters are not allowed in XML 1.0 at all.
                if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n') {
                    escaped += c;
                }
        }
    }
    return escaped;
}

// "+HH:MM" or "-HH:MM", hours up to 14.
bool IsUtcOffset(std::string_view text) {
    const auto digit = [&text](std::size_t i) { return text[i] >= '0' && text[i] <= '9'; };
    return text.size() == 6 && (text[0] == '+' || text[0] == '-') && digit(1) && digit(2) &&
           text[3] == ':' && digit(4) && digit(5) && (text[1] - '0') * 10 + (text[2] - '0') <= 14 &&
           text[4] < '6';
}

// The ISO 8601 time `milliseconds` after `start`.
std::string TimeAfter(const DateTime& start, std::int64_t milliseconds, std::string_view zone) {
    using namespace std::chrono;
    const local_days day{year{start.year} / start.month / start.day};
    const auto time = day + hours(start.hour) + minutes(start.minute) + seconds(start.second) +
                      std::chrono::milliseconds(milliseconds);
    const auto wholeDay = floor<days>(time);
    const year_month_day date{wholeDay};
    const hh_mm_ss clock{floor<std::chrono::milliseconds>(time - wholeDay)};
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(clock.hours().count()),
                  static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    std::string result = text;
    if (const auto fraction = clock.subseconds().count(); fraction != 0) {
        std::snprintf(text, sizeof text, ".%03d", static_cast<int>(fraction));
        result += text;
    }
    return result + std::string(zone);
}

std::string MakeGpx(const CRecordingInfo& recording, std::string_view zone) {
    // Tagged recordings may hold several fixes a second (a whole number of them).
    std::size_t perSecond = 1;
    if (recording.tagged && recording.durationSeconds > 0) {
        perSecond = std::max<std::size_t>(
            1, recording.gpsSamples.size() / static_cast<std::size_t>(recording.durationSeconds));
    }
    const std::string name = XmlEscape(recording.fileName);
    std::string gpx =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<gpx version=\"1.1\" creator=\"korvane-tool\" "
        "xmlns=\"http://www.topografix.com/GPX/1/1\" "
        "xmlns:gpxtpx=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v2\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
        "xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 "
        "http://www.topografix.com/GPX/1/1/gpx.xsd\">\n"
        "  <metadata>\n    <name>" +
        name + "</name>\n    <time>" + TimeAfter(recording.createdTime, 0, zone) +
        "</time>\n  </metadata>\n  <trk>\n    <name>" + name + "</name>\n    <type>" +
        XmlEscape(recording.GetEnglishTypeText()) + "</type>\n    <trkseg>\n";
    for (std::size_t k = 0; k < recording.gpsSamples.size(); ++k) {
        const GpsSample& fix = recording.gpsSamples[k];
        if (!(fix.latitude >= -90.0 && fix.latitude <= 90.0 && fix.longitude >= -180.0 &&
              fix.longitude <= 180.0)) {
            continue;  // not a position
        }
        const auto milliseconds = static_cast<std::int64_t>(k * 1000 / perSecond);
        gpx += "      <trkpt lat=\"" + JsonWriter::FormatNumber(fix.latitude) + "\" lon=\"" +
               JsonWriter::FormatNumber(fix.longitude) + "\">\n        <time>" +
               TimeAfter(recording.createdTime, milliseconds, zone) + "</time>\n";
        if (fix.speedKmh >= 0.0) {
            gpx += "        <extensions><gpxtpx:TrackPointExtension><gpxtpx:speed>" +
                   JsonWriter::FormatNumber(fix.speedKmh / 3.6) +
                   "</gpxtpx:speed></gpxtpx:TrackPointExtension></extensions>\n";
        }
        gpx += "      </trkpt>\n";
    }
    return gpx + "    </trkseg>\n  </trk>\n</gpx>\n";
}

}  // namespace

int RunGpxCommand(const CommandArguments& arguments) {
    if (WantsHelp(arguments)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    std::string output;
    std::string zone;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool takesValue =
            argument == "--output" || argument == "-o" || argument == "--utc-offset";
        if (takesValue && i + 1 == arguments.size()) {
            return ReportFailure("gpx", argument + " needs a value", kUsage);
        }
        if (argument == "--output" || argument == "-o") {
            output = arguments[++i];
        } else if (argument == "--utc-offset") {
            zone = arguments[++i];
            if (!IsUtcOffset(zone)) {
                return ReportFailure("gpx", "bad --utc-offset " + zone, kUsage);
            }
        } else if (argument.starts_with("--")) {
            return ReportFailure("gpx", "unknown option " + argument, kUsage);
        } else {
            files.push_back(argument);
        }
    }
    if (files.size() != 1) {
        return ReportFailure("gpx", "give exactly one FILE", kUsage);
    }
    std::string error;
    const auto recording = LoadRecording(files.front(), error);
    if (!recording) {
        return ReportFailure("gpx", error);
    }
    const std::string gpx = MakeGpx(*recording, zone);
    if (output.empty()) {
        std::fputs(gpx.c_str(), stdout);
        return 0;
    }
    std::ofstream out(output, std::ios::binary);
    out << gpx;
    out.close();
    return out ? 0 : ReportFailure("gpx", "cannot write " + output);
}
