#pragma once

// The subcommands of korvane-tool. Each lives in its own command_<name>.cpp and has one row in
// the table of main.cpp. A command receives the arguments after its name, answers "--help"
// itself, prints its result on standard output and its complaints on standard error, and
// returns the exit status: 0 done, 1 failed, 2 wrong use.

#include <string>
#include <vector>

using CommandArguments = std::vector<std::string>;

int RunInfoCommand(const CommandArguments& arguments);
int RunScanCommand(const CommandArguments& arguments);
int RunGpxCommand(const CommandArguments& arguments);
int RunSettingsCommand(const CommandArguments& arguments);
int RunCutCommand(const CommandArguments& arguments);

// For the commands: true when "--help" is among the arguments.
bool WantsHelp(const CommandArguments& arguments);
// Prints "korvane-tool <command>: <message>" and, for wrong use, the usage text; returns the
// matching exit status (1, or 2 when `usage` is given).
int ReportFailure(const char* command, const std::string& message, const char* usage = nullptr);
