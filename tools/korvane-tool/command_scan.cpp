#include <cstdio>

#include "app/usertexts.h"
#include "commands.h"
#include "jsonwriter.h"
#include "recordings/fileloader.h"
#include "recordings/recordingscan.h"

namespace {

constexpr const char* kUsage = R"(Usage: korvane-tool scan PATH...

Loads the recordings in the given folders and files as a drop on the viewer's window does: a
PATH is a folder when it is an existing directory or has no '.' (except as its first
character), a file otherwise; folders are walked with their subfolders. Prints a JSON array
of {index, date, time, type, path} in playlist order (oldest first). The loader's messages go
to standard error; the exit status is 1 when no recording results.
)";

}  // namespace

int RunScanCommand(const CommandArguments& arguments) {
    if (WantsHelp(arguments)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (arguments.empty()) {
        return ReportFailure("scan", "give at least one PATH", kUsage);
    }
    std::vector<std::string> folders;
    std::vector<std::string> files;
    for (const std::string& path : arguments) {
        (recordingscan::IsDroppedFolder(path) ? folders : files).push_back(path);
    }
    CFileLoader loader;
    loader.SetMessageHandler([](std::int32_t textId) {
        std::fprintf(stderr, "korvane-tool scan: %s\n", usertexts::Text(textId).c_str());
    });
    const RecordingList recordings = loader.LoadFiles(folders, files);

    JsonWriter json;
    json.BeginArray();
    for (const auto& recording : recordings) {
        json.BeginObject(true);
        json.Member("index", recording->listIndex);
        json.Member("date", recording->dateText);
        json.Member("time", recording->timeText);
        json.Member("type", recording->GetEnglishTypeText());
        json.Member("path", recording->path);
        json.EndObject();
    }
    json.EndArray();
    std::fputs(json.str().c_str(), stdout);
    return recordings.empty() ? 1 : 0;
}
