#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

// The diagnostic log: one text file a day, LOG/<application name> YYYYMMDD.log under the
// working directory, written in code page 949 with the line ends of the original viewer (each
// line ends CR CR LF, because its text-mode stream turned the "\r\n" of every line into
// "\r\r\n"). Off until Configure() switches it on. Safe to call from any thread.
class LogWriter {
public:
    static constexpr std::int32_t kLineType = 3;  // the only type callers write
    static constexpr std::int32_t kLevelNormal = 3;
    static constexpr std::int32_t kLevelVerbose = 5;  // the player pane's chatter

    // Called once per run, the first time a log file cannot be opened; lines are then lost.
    using OpenFailureHandler = std::function<void(const std::string& message)>;

    static LogWriter& Instance();

    // Copies the option switches; `folder` is where LOG/ goes (the start-up working directory).
    void Configure(bool enabled, std::int32_t type, std::int32_t level);
    void SetApplicationName(std::string name);
    void SetLogFolder(std::filesystem::path folder);
    void SetOpenFailureHandler(OpenFailureHandler handler);
    // The source of "now"; the system clock unless a test replaces it.
    void SetClock(std::function<std::time_t()> clock);

    // Writes one line when the writer is enabled, `level` is at most the configured level and
    // `type` equals the configured type; otherwise returns before any work.
    void WriteLog(std::string_view text, std::string_view className, std::string_view methodName,
                  std::int32_t type = kLineType, std::int32_t level = kLevelNormal);

private:
    LogWriter() = default;

    std::filesystem::path MakeLogFilePath(const std::tm& localTime) const;

    std::mutex lock_;  // guards every field below and serialises the writes
    bool enabled_ = false;
    std::int32_t type_ = kLineType;
    std::int32_t level_ = kLevelNormal;
    std::string applicationName_ = "KorvaneViewer";
    std::filesystem::path folder_;  // empty: the current working directory
    OpenFailureHandler openFailureHandler_;
    bool openFailureReported_ = false;
    std::function<std::time_t()> clock_;
};

// Shorthand used by every component: WriteLog with the usual type and level.
inline void WriteLog(std::string_view className, std::string_view methodName,
                     std::string_view text, std::int32_t level = LogWriter::kLevelNormal) {
    LogWriter::Instance().WriteLog(text, className, methodName, LogWriter::kLineType, level);
}
