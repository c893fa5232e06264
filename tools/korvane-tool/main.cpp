// korvane-tool: the viewer's recording functions on the command line, for scripts and checks.

#include <cstdio>
#include <string>
#include <string_view>

#include "commands.h"

namespace {

struct Command {
    std::string_view name;
    std::string_view summary;
    int (*run)(const CommandArguments& arguments);
};

// One row per subcommand.
constexpr Command kCommands[] = {
    {"info", "print a recording's metadata (GPS, G-sensor) as JSON", RunInfoCommand},
    {"scan", "list the recordings found in folders and files as JSON", RunScanCommand},
    {"gpx", "write a recording's GPS track as GPX 1.1", RunGpxCommand},
    {"settings", "print or change the recorder settings on a card", RunSettingsCommand},
    {"cut", "save a time range of a recording as a new MP4 file", RunCutCommand},
};

void PrintUsage(std::FILE* out) {
    std::fputs("Usage: korvane-tool COMMAND [ARGUMENTS...]\n\nCommands:\n", out);
    for (const Command& command : kCommands) {
        std::fprintf(out, "  %-10.*s %.*s\n", static_cast<int>(command.name.size()),
                     command.name.data(), static_cast<int>(command.summary.size()),
                     command.summary.data());
    }
    std::fputs("\n\"korvane-tool COMMAND --help\" tells more about a command.\n", out);
}

}  // namespace

bool WantsHelp(const CommandArguments& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "--help") {
            return true;
        }
    }
    return false;
}

int ReportFailure(const char* command, const std::string& message, const char* usage) {
    std::fprintf(stderr, "korvane-tool %s: %s\n", command, message.c_str());
    if (usage != nullptr) {
        std::fprintf(stderr, "\n%s", usage);
        return 2;
    }
    return 1;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintUsage(stderr);
        return 2;
    }
    const std::string_view name = argv[1];
    if (name == "--help" || name == "help") {
        PrintUsage(stdout);
        return 0;
    }
    for (const Command& command : kCommands) {
        if (command.name == name) {
            return command.run(CommandArguments(argv + 2, argv + argc));
        }
    }
    std::fprintf(stderr, "korvane-tool: unknown command \"%s\"\n\n", argv[1]);
    PrintUsage(stderr);
    return 2;
}
