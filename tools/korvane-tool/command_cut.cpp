#include <cstdio>
#include <optional>
#include <string_view>

#include "commands.h"
#include "mp4/timerangeextractor.h"

namespace {

constexpr const char* kUsage =
    R"(Usage: korvane-tool cut SRC START END DST

Saves the seconds START to END (both included) of the recording SRC as a new MP4 file DST,
without re-encoding: every track is kept (both cameras and the GPS/G-sensor data), with the
samples that start within the range. START and END are whole seconds from the recording's
start, either a number of seconds (75) or HH:MM:SS (00:01:15). DST must not exist yet; it
appears only once it is complete. Recordings that do not follow the recorder's layout are
refused, and nothing is written.

Exit status: 0 saved, 1 not saved (the reason is printed on standard error).
)";

bool IsDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

std::optional<std::int64_t> Number(std::string_view digits) {
    if (!IsDigits(digits) || digits.size() > 9) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (const char c : digits) {
        value = value * 10 + (c - '0');
    }
    return value;
}

// "75" or "HH:MM:SS" (minutes and seconds below 60) as seconds.
std::optional<std::int64_t> ParseTime(std::string_view text) {
    if (IsDigits(text)) {
        return Number(text);
    }
    const std::size_t first = text.find(':');
    const std::size_t second = text.rfind(':');
    if (first == std::string_view::npos || first == second || second != text.size() - 3 ||
        second != first + 3) {
        return std::nullopt;
    }
    const auto hours = Number(text.substr(0, first));
    const auto minutes = Number(text.substr(first + 1, 2));
    const auto seconds = Number(text.substr(second + 1));
    if (!hours || !minutes || !seconds || *minutes >= 60 || *seconds >= 60) {
        return std::nullopt;
    }
    return *hours * 3600 + *minutes * 60 + *seconds;
}

}  // namespace

int RunCutCommand(const CommandArguments& arguments) {
    if (WantsHelp(arguments)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (arguments.size() != 4) {
        std::fprintf(stderr, "korvane-tool cut: give SRC START END DST\n\n%s", kUsage);
        return 1;
    }
    const auto start = ParseTime(arguments[1]);
    const auto end = ParseTime(arguments[2]);
    if (!start || !end) {
        return ReportFailure("cut", "START and END are seconds or HH:MM:SS, not \"" +
                                        arguments[start ? 2 : 1] + "\"");
    }
    std::string error;
    if (!ExtractTimeRange(arguments[0], *start, *end, arguments[3], error)) {
        return ReportFailure("cut", error);
    }
    std::printf("Saved seconds %lld to %lld of %s as %s\n", static_cast<long long>(*start),
                static_cast<long long>(*end), arguments[0].c_str(), arguments[3].c_str());
    return 0;
}
