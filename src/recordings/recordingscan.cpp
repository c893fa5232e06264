#include "recordings/recordingscan.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <climits>
#include <ctime>
#include <set>
#include <system_error>

namespace recordingscan {

namespace {

namespace fs = std::filesystem;

constexpr std::array<std::string_view, 6> kMarkers = {"REC", "EVT", "PRK", "MDI", "PAK", "EVS"};

std::vector<std::string_view> Tokens(std::string_view name) {
    std::vector<std::string_view> tokens;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find('_', start);
        if (end == std::string_view::npos) {
            end = name.size();
        }
        if (end > start) {
            tokens.push_back(name.substr(start, end - start));
        }
        start = end + 1;
    }
    return tokens;
}

bool IsMarker(std::string_view token) {
    return std::find(kMarkers.begin(), kMarkers.end(), token) != kMarkers.end();
}

// The integer a text starts with: leading white space, an optional sign and the digits that
// follow; 0 when there are none. Saturates instead of overflowing.
int LeadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min<long long>(value * 10 + (text[i] - '0'), INT_MAX);
    }
    return static_cast<int>(negative ? -value : value);
}

// Substrings that, like the recorder tool's string class, take what is there when the text is
// shorter than asked.
std::string_view Left(std::string_view text, std::size_t count) {
    return text.substr(0, std::min(count, text.size()));
}
std::string_view Mid(std::string_view text, std::size_t first, std::size_t count) {
    return first >= text.size() ? std::string_view() : text.substr(first, count);
}
std::string_view Right(std::string_view text, std::size_t count) {
    return text.substr(text.size() - std::min(count, text.size()));
}

// "hhmmss": hour = first two characters, minute = characters 3-4, second = last two.
void ReadTimeText(std::string_view text, DateTime& time) {
    time.hour = LeadingInteger(Left(text, 2));
    time.minute = LeadingInteger(Mid(text, 2, 2));
    time.second = LeadingInteger(Right(text, 2));
}

// A date and time that exists: the range of an automation date (years 100 to 9999) and a real
// day of a real month.
bool IsValid(const DateTime& time) {
    using namespace std::chrono;
    if (time.year < 100 || time.year > 9999 || time.month < 1 || time.month > 12 || time.day < 1 ||
        time.hour < 0 || time.hour > 23 || time.minute < 0 || time.minute > 59 || time.second < 0 ||
        time.second > 59) {
        return false;
    }
    return year_month_day{year{time.year}, month{static_cast<unsigned>(time.month)},
                          day{static_cast<unsigned>(time.day)}}
        .ok();
}

std::optional<DateTime> LastWriteTime(const fs::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    std::tm local{};
    if (localtime_r(&status.st_mtime, &local) == nullptr) {
        return std::nullopt;
    }
    return DateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                    local.tm_hour,        local.tm_min,     local.tm_sec};
}

}  // namespace

bool HasRecordingExtension(std::string_view name) {
    return name.ends_with("mp4");
}

std::vector<std::string> ScanFolder(const fs::path& folder) {
    std::vector<std::string> found;
    std::set<fs::path> visited;
    const auto enter = [&visited](const fs::path& path) {
        std::error_code error;
        const fs::path canonical = fs::canonical(path, error);
        return !error && visited.insert(canonical).second;
    };
    // Explicit stack of open folders instead of recursion: the depth of a folder tree is not
    // ours to bound, the stack of the thread is.
    std::vector<fs::directory_iterator> open;
    const auto push = [&open, &enter](const fs::path& path) {
        std::error_code error;
        fs::directory_iterator entries(path, error);
        if (!error && enter(path)) {
            open.push_back(std::move(entries));
        }
    };
    push(folder);
    while (!open.empty()) {
        fs::directory_iterator& entries = open.back();
        if (entries == fs::directory_iterator()) {
            open.pop_back();
            continue;
        }
        const fs::directory_entry entry = *entries;
        std::error_code error;
        entries.increment(error);
        if (error) {
            entries = fs::directory_iterator();  // an unreadable rest of the folder ends it
        }
        const fs::path path = entry.path();
        const std::string name = path.filename().string();
        std::error_code typeError;
        if (entry.is_directory(typeError) && name.find('.') == std::string::npos) {
            push(path);  // may invalidate `entries`; the loop takes the back again
        } else if (HasRecordingExtension(name)) {
            found.push_back(path.string());
        }
    }
    return found;
}

std::optional<DateTime> ParseNameTime(std::string_view fileName) {
    const std::vector<std::string_view> tokens = Tokens(fileName);
    if (tokens.size() < 3) {
        return std::nullopt;
    }
    DateTime time;
    const bool marked = IsMarker(tokens[0]);
    if (marked && tokens.size() >= 7) {
        time = {LeadingInteger(tokens[1]), LeadingInteger(tokens[2]), LeadingInteger(tokens[3]),
                LeadingInteger(tokens[4]), LeadingInteger(tokens[5]), LeadingInteger(tokens[6])};
    } else if (marked && tokens.size() >= 4) {
        const std::string_view date = tokens[1];
        time.year = LeadingInteger(Left(date, 4));
        time.month = LeadingInteger(Mid(date, 4, 2));
        time.day = LeadingInteger(Right(date, 2));
        ReadTimeText(tokens[2], time);
    } else {
        const std::string_view date = tokens[0];
        if (date.size() >= 8) {
            time.year = LeadingInteger(Left(date, 4));
            time.month = LeadingInteger(Mid(date, 4, 2));
        } else {
            time.year = LeadingInteger("20" + std::string(Left(date, 2)));
            time.month = LeadingInteger(Mid(date, 2, 2));
        }
        time.day = LeadingInteger(Right(date, 2));
        ReadTimeText(tokens[1], time);
    }
    if (!IsValid(time)) {
        return std::nullopt;
    }
    return time;
}

DateTime ParseRecordingTime(const fs::path& path) {
    if (const auto fromName = ParseNameTime(path.filename().string())) {
        return *fromName;
    }
    return LastWriteTime(path).value_or(DateTime{});
}

RecordingType ClassifyRecording(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    const std::string_view stem =
        dot == std::string_view::npos ? fileName : fileName.substr(0, dot);
    const auto has = [stem](char letter) { return stem.find(letter) != std::string_view::npos; };
    if (stem.starts_with("MDI")) {
        return RecordingType::ParkingMotion;
    }
    if (has('I') || stem.starts_with("REC")) {
        return RecordingType::Always;
    }
    if (has('E') || stem.starts_with("EVT") || stem.starts_with("EVS")) {
        return RecordingType::Event;
    }
    if (has('M') || stem.starts_with("PRK") || stem.starts_with("PAK")) {
        return RecordingType::Parking;
    }
    return RecordingType::Unknown;
}

bool IsDroppedFolder(const std::string& path) {
    std::error_code error;
    return fs::is_directory(path, error) || path.find('.', 1) == std::string::npos;
}

void AddRecording(RecordingList& recordings, const std::string& path) {
    std::error_code error;
    if (!fs::exists(path, error)) {
        return;
    }
    const std::string fileName = fs::path(path).filename().string();
    recordings.push_back(std::make_unique<CRecordingInfo>(
        ParseRecordingTime(path), ClassifyRecording(fileName), path, fileName));
}

void SortAndNumber(RecordingList& recordings) {
    std::stable_sort(recordings.begin(), recordings.end(),
                     [](const auto& a, const auto& b) { return a->createdTime < b->createdTime; });
    std::int32_t index = 0;
    for (const auto& recording : recordings) {
        recording->listIndex = ++index;
    }
}

}  // namespace recordingscan
