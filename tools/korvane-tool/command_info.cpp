#include <cstdio>

#include "commands.h"
#include "jsonwriter.h"
#include "recordingfile.h"

namespace {

constexpr const char* kUsage = R"(Usage: korvane-tool info FILE

Reads the recording FILE as the viewer does when it plays it and prints one JSON object:
fileName, type, createdTime ("YYYY-MM-DD HH:MM:SS", from the name, else the file's time),
durationSeconds, videoTrackCount, videoChunkCount, tagged (metadata layout), gps (array of
{latitude, longitude, speedKmh}) and gsensor (array of {time, x, y, z}, time in seconds of
playback, values in g). A file the reader refuses gives a message and exit status 1.
)";

}  // namespace

int RunInfoCommand(const CommandArguments& arguments) {
    if (WantsHelp(arguments)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (arguments.size() != 1) {
        return ReportFailure("info", "give exactly one FILE", kUsage);
    }
    std::string error;
    const auto recording = LoadRecording(arguments.front(), error);
    if (!recording) {
        return ReportFailure("info", error);
    }

    JsonWriter json;
    json.BeginObject();
    json.Member("fileName", recording->fileName);
    json.Member("type", recording->GetEnglishTypeText());
    json.Member("createdTime", FormatDateTime(recording->createdTime));
    json.Member("durationSeconds", recording->durationSeconds);
    json.Member("videoTrackCount", recording->videoTrackCount);
    json.Member("videoChunkCount", recording->videoChunkCount);
    json.Member("tagged", recording->tagged);
    json.Key("gps");
    json.BeginArray();
    for (const GpsSample& fix : recording->gpsSamples) {
        json.BeginObject(true);
        json.Member("latitude", fix.latitude);
        json.Member("longitude", fix.longitude);
        json.Member("speedKmh", fix.speedKmh);
        json.EndObject();
    }
    json.EndArray();
    json.Key("gsensor");
    json.BeginArray();
    for (std::size_t i = 0; i < recording->gSensorSamples.size(); ++i) {
        const GSensorSample& sample = recording->gSensorSamples[i];
        json.BeginObject(true);
        json.Member("time", i < recording->gSensorTimes.size() ? recording->gSensorTimes[i] : 0.0);
        json.Member("x", sample.x);
        json.Member("y", sample.y);
        json.Member("z", sample.z);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    std::fputs(json.str().c_str(), stdout);
    return 0;
}
