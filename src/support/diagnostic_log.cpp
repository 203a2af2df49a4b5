#include "support/diagnostic_log.h"

#include <array>
#include <vector>

namespace corvane {

namespace {

std::u16string_view LevelWord(std::int32_t level) {
    switch (level) {
    case static_cast<std::int32_t>(LogLevel::Error):
        return u"Error";
    case static_cast<std::int32_t>(LogLevel::Warning):
        return u"Warning";
    case static_cast<std::int32_t>(LogLevel::Info):
        return u"Info";
    default:
        return u"";
    }
}

// Characters of a platform date or time result: the count includes the
// terminator, 0 means failure (an empty text then stands in the line).
std::u16string_view
FromPlatformText(const std::array<char16_t, DiagnosticLog::kDateTimeCapacity>& buffer,
                 int written) {
    if (written <= 0) {
        return {};
    }
    return std::u16string_view(buffer.data(), BoundedLength(buffer.data(), buffer.size()));
}

} // namespace

DiagnosticLog::~DiagnosticLog() {
    Close();
}

void DiagnosticLog::Open(platform::Platform& platform, std::u16string_view path) {
    Close();
    const std::lock_guard<std::mutex> lock(mutex_);
    platform_ = &platform;
    path_.Clear();
    const std::u16string source(path.substr(0, path.find(u'\0')));
    std::array<char16_t, kPathCapacity> expanded{};
    const std::uint32_t needed = platform.environment.ExpandStrings(
        source.c_str(), expanded.data(), static_cast<std::uint32_t>(expanded.size()));
    // A path that does not fit is not opened at all: a cut path could name
    // another file.
    if (needed == 0 || needed > expanded.size()) {
        return;
    }
    path_.Assign(
        std::u16string_view(expanded.data(), BoundedLength(expanded.data(), expanded.size())));
    file_ = platform.files.OpenForAppend(path_.c_str());
}

void DiagnosticLog::Close() {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (file_ != platform::kInvalidFile && platform_ != nullptr) {
        platform_->files.Close(file_);
    }
    file_ = platform::kInvalidFile;
}

std::u16string DiagnosticLog::FormatLine(std::u16string_view message, std::int32_t level,
                                         std::int32_t code, std::u16string_view date,
                                         std::u16string_view time) {
    std::u16string line;
    line.reserve(message.size() + date.size() + time.size() + 32);
    line.append(LevelWord(level));
    line.append(u"(");
    line.append(code < 0 ? FormatText(u"%#08x", code) : FormatText(u"%08d", code));
    line.append(u"): ");
    line.append(date);
    line.append(u", ");
    line.append(time);
    line.append(u" - ");
    line.append(message);
    line.append(u"\r\n");
    return line;
}

void DiagnosticLog::WriteEntry(std::u16string_view message, std::int32_t level, std::int32_t code) {
    std::array<char16_t, kDateTimeCapacity> date{};
    std::array<char16_t, kDateTimeCapacity> time{};
    int dateWritten = 0;
    int timeWritten = 0;
    if (platform_ != nullptr) {
        // One reading of the clock gives both the date and the time.
        const platform::SystemTime now = platform_->clock.GetLocalTime();
        dateWritten = platform_->locale.GetShortDate(now, date.data(), kDateTimeCapacity);
        timeWritten = platform_->locale.GetTimeText(now, time.data(), kDateTimeCapacity);
    }
    const std::u16string line =
        FormatLine(message, level, code, FromPlatformText(date, dateWritten),
                   FromPlatformText(time, timeWritten));
    const std::lock_guard<std::mutex> lock(mutex_);
    if (file_ == platform::kInvalidFile || platform_ == nullptr) {
        return;
    }
    // UTF-16 little-endian whatever the host's byte order, no terminator.
    std::vector<std::uint8_t> bytes;
    bytes.reserve(line.size() * 2);
    for (char16_t c : line) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFFu));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    if (bytes.size() > UINT32_MAX) {
        return;
    }
    platform_->files.Write(file_, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

} // namespace corvane
