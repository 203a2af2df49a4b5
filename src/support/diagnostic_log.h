// The program's diagnostic log: one UTF-16LE line per entry, with a level
// word, a result code, the local date and time and a message, appended to a
// file that is written through to the disk and never read by the program.
#pragma once

#include "platform/platform.h"
#include "support/fixed_text.h"
#include "support/text_format.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

namespace corvane {

enum class LogLevel : std::int32_t {
    Error = 0,
    Warning = 1,
    Info = 2,
};

class DiagnosticLog {
public:
    static constexpr std::size_t kPathCapacity = 260;
    static constexpr int kDateTimeCapacity = 64;

    DiagnosticLog() = default;
    DiagnosticLog(const DiagnosticLog&) = delete;
    DiagnosticLog& operator=(const DiagnosticLog&) = delete;
    ~DiagnosticLog();

    // Expands environment references in `path` and opens the file for
    // appending. A path that expands beyond 260 characters, or a file that
    // cannot be opened, leaves the log without a file: every entry is still
    // formatted, and nothing is written or reported.
    void Open(platform::Platform& platform, std::u16string_view path);
    // Closes the file if it is open; further entries are not written.
    void Close();
    bool IsOpen() const {
        const std::lock_guard<std::mutex> lock(mutex_);
        return file_ != platform::kInvalidFile;
    }
    std::u16string_view Path() const { return path_.view(); }

    // Formats the message with the wide-printf meaning ("%s" wide, "%S"
    // narrow) and writes it as one entry.
    template <typename... Args>
    void Log(std::int32_t level, std::int32_t code, std::u16string_view format,
             const Args&... args) {
        WriteEntry(FormatText(format, args...), level, code);
    }
    template <typename... Args>
    void Log(LogLevel level, std::int32_t code, std::u16string_view format, const Args&... args) {
        Log(static_cast<std::int32_t>(level), code, format, args...);
    }

    // Builds one line from the message and writes it with a single write.
    void WriteEntry(std::u16string_view message, std::int32_t level, std::int32_t code);

    // The line as WriteEntry writes it, without the file: level word, "(",
    // code, "): ", date, ", ", time, " - ", message, CR LF.
    static std::u16string FormatLine(std::u16string_view message, std::int32_t level,
                                     std::int32_t code, std::u16string_view date,
                                     std::u16string_view time);

private:
    platform::Platform* platform_ = nullptr;
    FixedText<kPathCapacity> path_;
    platform::FileHandle file_ = platform::kInvalidFile;
    // The apply worker and the dialog thread both write entries; an
    // abandoned worker may still write while the program closes the log.
    mutable std::mutex mutex_;
};

} // namespace corvane
