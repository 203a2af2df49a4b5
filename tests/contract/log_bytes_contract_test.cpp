// The log's bytes depend only on the entries, the local time and the user's
// locale: with those fixed through the platform, every build writes the same
// file, byte for byte.
#include "contract/contract_target.h"
#include "contract/contract_text.h"
#include "support/diagnostic_log.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace corvane::contract {
namespace {

class FixedClock final : public platform::Clock {
public:
    platform::SystemTime GetLocalTime() override {
        return platform::SystemTime{2009, 3, 6, 21, 21, 5, 7, 0};
    }
};

std::vector<std::uint8_t> Utf16LeBytes(std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

// The text of UTF-16LE bytes with everything outside printable ASCII
// spelled \uXXXX, so that a difference reads in the failure message.
std::string Readable(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const unsigned c = bytes[i] | (unsigned{bytes[i + 1]} << 8);
        if (c >= 0x20 && c < 0x7F) {
            text.push_back(static_cast<char>(c));
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", c);
            text += escape;
        }
    }
    return text;
}

struct LocaleCase {
    platform::LocaleId locale;
    std::u16string_view fileName;
    // The stamp every build writes; empty where the builds' locale data
    // differ (Wine writes the German short date as "21.3.2009", Windows
    // and the sim as "21.03.2009"), and the target's own formatting of the
    // clock's time is the stamp.
    std::u16string_view dateAndTime;
};

std::u16string FormattedStamp(platform::Locale& locale, const platform::SystemTime& time) {
    char16_t date[64] = {};
    char16_t clock[64] = {};
    const int dateLength = locale.GetShortDate(time, date, 64);
    const int clockLength = locale.GetTimeText(time, clock, 64);
    if (dateLength <= 0 || clockLength <= 0) {
        return u"(no stamp)";
    }
    return std::u16string(date) + u", " + std::u16string(clock);
}

TEST_P(PlatformContract, LogBytesDependOnlyOnEntriesClockAndUserLocale) {
    const LocaleCase cases[] = {
        {0x0409, u"\\en.log", u"3/21/2009, 9:05:07 PM"},
        {0x0407, u"\\de.log", u""},
    };
    for (const LocaleCase& c : cases) {
        SCOPED_TRACE(c.locale);
        Target().SetUserLocale(c.locale);
        FixedClock clock;
        platform::Platform os = Os();
        platform::Platform fixed{clock,        os.locale,    os.environment, os.files,
                                 os.profile,   os.registry,  os.network,     os.ipHelper,
                                 os.resources, os.directory, os.ui};
        const std::u16string path = Target().ScratchDirectory() + std::u16string(c.fileName);

        DiagnosticLog log;
        log.Open(fixed, path);
        ASSERT_TRUE(log.IsOpen());
        log.Log(LogLevel::Info, 0, u"%S: Status", "GetDomainDnsName");
        log.Log(LogLevel::Warning, 1326, u"%S: NetJoinDomain %s", "SaveSettings",
                u"Anmeldung fehlgeschlagen \u00FC\u20AC");
        log.Log(LogLevel::Error, static_cast<std::int32_t>(0x80072030u), u"%S: %p", "Bind",
                reinterpret_cast<const void*>(std::uintptr_t{0x1234ABCD}));
        log.Close();

        const std::u16string stamp = c.dateAndTime.empty()
                                         ? FormattedStamp(os.locale, clock.GetLocalTime())
                                         : std::u16string(c.dateAndTime);
        const std::u16string expected =
            u"Info(00000000): " + stamp + u" - GetDomainDnsName: Status\r\n" +
            u"Warning(00001326): " + stamp +
            u" - SaveSettings: NetJoinDomain Anmeldung fehlgeschlagen \u00FC\u20AC\r\n" +
            u"Error(0x80072030): " + stamp + u" - Bind: 000000001234ABCD\r\n";
        std::vector<std::uint8_t> bytes;
        ASSERT_TRUE(Os().files.ReadFileBytes(path.c_str(), bytes));
        EXPECT_EQ(Readable(Utf16LeBytes(expected)), Readable(bytes));
        EXPECT_EQ(bytes, Utf16LeBytes(expected));
    }
}

} // namespace
} // namespace corvane::contract
