#include "app/logwriter.h"

#include <cstdio>
#include <ctime>
#include <fstream>

#include "app/textencoding.h"

namespace {

std::string FormatTime(const char* format, const std::tm& time) {
    char buffer[64];
    const std::size_t length = std::strftime(buffer, sizeof buffer, format, &time);
    return std::string(buffer, length);
}

// Every "\n" of the line becomes "\r\n", as a text-mode stream of the original viewer wrote it.
std::string ToTextModeLineEnds(std::string_view line) {
    std::string out;
    out.reserve(line.size() + 4);
    for (char c : line) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

}  // namespace

LogWriter& LogWriter::Instance() {
    static LogWriter writer;
    return writer;
}

void LogWriter::Configure(bool enabled, std::int32_t type, std::int32_t level) {
    std::lock_guard lock(lock_);
    enabled_ = enabled;
    type_ = type;
    level_ = level;
}

void LogWriter::SetApplicationName(std::string name) {
    std::lock_guard lock(lock_);
    applicationName_ = std::move(name);
}

void LogWriter::SetLogFolder(std::filesystem::path folder) {
    std::lock_guard lock(lock_);
    folder_ = std::move(folder);
}

void LogWriter::SetOpenFailureHandler(OpenFailureHandler handler) {
    std::lock_guard lock(lock_);
    openFailureHandler_ = std::move(handler);
}

void LogWriter::SetClock(std::function<std::time_t()> clock) {
    std::lock_guard lock(lock_);
    clock_ = std::move(clock);
}

std::filesystem::path LogWriter::MakeLogFilePath(const std::tm& localTime) const {
    std::filesystem::path logFolder = folder_ / "LOG";
    std::error_code ignored;
    std::filesystem::create_directory(logFolder, ignored);
    return logFolder / (applicationName_ + " " + FormatTime("%Y%m%d", localTime) + ".log");
}

void LogWriter::WriteLog(std::string_view text, std::string_view className,
                         std::string_view methodName, std::int32_t type, std::int32_t level) {
    std::unique_lock lock(lock_);
    if (!enabled_ || level_ < level || type_ != type) {
        return;
    }

    const std::time_t now = clock_ ? clock_() : std::time(nullptr);
    std::tm localTime{};
    localtime_r(&now, &localTime);

    std::string line = FormatTime("%Y-%m-%d %H:%M:%S", localTime) + '\t';
    if (!className.empty() && !methodName.empty()) {
        line.append("[").append(className).append("]\t[").append(methodName).append("]\t");
    } else if (!methodName.empty()) {
        line.append("[").append(methodName).append("]\t");
    }
    line.append(text).append("\r\n");

    std::ofstream file(MakeLogFilePath(localTime), std::ios::binary | std::ios::app);
    if (!file) {
        if (!openFailureReported_ && openFailureHandler_) {
            openFailureReported_ = true;
            OpenFailureHandler handler = openFailureHandler_;
            lock.unlock();  // the handler may show a message; never hold the log lock for that
            handler("Cannot Open Log!!");
        }
        return;
    }
    file << ToTextModeLineEnds(Utf8ToCodePage949(line));
    file.flush();
}
