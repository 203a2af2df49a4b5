#include "platform/sim/world.h"
#include "support/diagnostic_log.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace corvane {
namespace {

std::vector<std::uint8_t> Utf16Le(std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

constexpr std::u16string_view kLogPath =
    u"C:\\Users\\Administrator\\AppData\\Local\\Temp\\corvane.log";

class DiagnosticLogTest : public testing::Test {
protected:
    std::vector<std::uint8_t> FileBytes() {
        return world.FileBytes(kLogPath).value_or(std::vector<std::uint8_t>{});
    }

    sim::World world; // clock fixed at 2009-03-21 09:15:43, user locale en-US
};

TEST(DiagnosticLogLine, LevelWordsAndCodeFormats) {
    struct Case {
        std::int32_t level;
        std::int32_t code;
        std::u16string_view line;
    };
    const Case cases[] = {
        {0, 0, u"Error(00000000): D, T - m\r\n"},
        {1, 5, u"Warning(00000005): D, T - m\r\n"},
        {2, 1326, u"Info(00001326): D, T - m\r\n"},
        {2, 123456789, u"Info(123456789): D, T - m\r\n"},
        {2, -1, u"Info(0xffffffff): D, T - m\r\n"},
        {0, static_cast<std::int32_t>(0x80004005u), u"Error(0x80004005): D, T - m\r\n"},
        {3, 0, u"(00000000): D, T - m\r\n"},
        {-1, 7, u"(00000007): D, T - m\r\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.line, DiagnosticLog::FormatLine(u"m", c.level, c.code, u"D", u"T"))
            << c.level << "/" << c.code;
    }
}

TEST_F(DiagnosticLogTest, WritesUtf16LittleEndianLinesWithoutByteOrderMark) {
    DiagnosticLog log;
    log.Open(world.platform(), u"%TEMP%\\corvane.log");
    ASSERT_TRUE(log.IsOpen());
    EXPECT_EQ(kLogPath, log.Path());
    log.Log(LogLevel::Info, 1326, u"%S: NetJoinDomain without Account", "SaveSettings");
    log.Log(LogLevel::Error, static_cast<std::int32_t>(0x80004005u), u"%S: SetSearchPreference",
            "MoveComputerAccountToOrganizationUnit");
    log.Close();
    EXPECT_EQ(
        Utf16Le(
            u"Info(00001326): 3/21/2009, 9:15:43 AM - SaveSettings: NetJoinDomain without "
            u"Account\r\n"
            u"Error(0x80004005): 3/21/2009, 9:15:43 AM - MoveComputerAccountToOrganizationUnit: "
            u"SetSearchPreference\r\n"),
        FileBytes());
}

TEST_F(DiagnosticLogTest, DateAndTimeFollowTheUserLocaleNotTheThreadLocale) {
    ASSERT_TRUE(world.SetUserDefaultLocale(0x0407));
    world.locale().SetThreadLocale(0x0409);
    DiagnosticLog log;
    log.Open(world.platform(), kLogPath);
    log.Log(LogLevel::Info, 0, u"%S: Status", "GetDomainDnsName");
    log.Close();
    EXPECT_EQ(Utf16Le(u"Info(00000000): 21.03.2009, 09:15:43 - GetDomainDnsName: Status\r\n"),
              FileBytes());
}

TEST_F(DiagnosticLogTest, AppendsAcrossRunsBehindWhateverTheFileHeld) {
    world.PutFile(kLogPath, {0xDE, 0xAD, 0xBE});
    for (int run = 1; run <= 2; ++run) {
        DiagnosticLog log;
        log.Open(world.platform(), kLogPath);
        log.Log(LogLevel::Info, run, u"run %d", run);
    } // the destructor closes
    std::vector<std::uint8_t> expected = {0xDE, 0xAD, 0xBE};
    for (std::u16string_view line : {u"Info(00000001): 3/21/2009, 9:15:43 AM - run 1\r\n",
                                     u"Info(00000002): 3/21/2009, 9:15:43 AM - run 2\r\n"}) {
        const std::vector<std::uint8_t> bytes = Utf16Le(line);
        expected.insert(expected.end(), bytes.begin(), bytes.end());
    }
    EXPECT_EQ(expected, FileBytes());
}

TEST_F(DiagnosticLogTest, MessageWithLineBreaksIsWrittenUnchanged) {
    DiagnosticLog log;
    log.Open(world.platform(), kLogPath);
    log.WriteEntry(u"first\r\nsecond\n", 2, 0);
    log.Close();
    EXPECT_EQ(Utf16Le(u"Info(00000000): 3/21/2009, 9:15:43 AM - first\r\nsecond\n\r\n"),
              FileBytes());
}

TEST_F(DiagnosticLogTest, ASecondInstanceCannotOpenTheFileAndTheFirstIsNotDisturbed) {
    DiagnosticLog first;
    first.Open(world.platform(), kLogPath);
    DiagnosticLog second;
    second.Open(world.platform(), kLogPath);
    EXPECT_TRUE(first.IsOpen());
    EXPECT_FALSE(second.IsOpen());
    second.Log(LogLevel::Info, 0, u"lost");
    first.Log(LogLevel::Info, 0, u"kept");
    first.Close();
    EXPECT_EQ(Utf16Le(u"Info(00000000): 3/21/2009, 9:15:43 AM - kept\r\n"), FileBytes());
}

TEST_F(DiagnosticLogTest, UnusablePathsLeaveTheProgramWithoutALog) {
    const std::u16string longName(300, u'x');
    const std::u16string cases[] = {
        u"C:\\No\\Such\\Directory\\corvane.log",
        u"C:\\Users\\Administrator\\" + longName + u".log", // longer than MAX_PATH
        u"%LONG%\\corvane.log",                             // expands beyond MAX_PATH
        u"",
    };
    world.SetEnvironmentVariable(u"LONG", (u"C:\\" + std::u16string(280, u'y')).c_str());
    const std::size_t filesBefore = world.FilePaths().size();
    for (const std::u16string& path : cases) {
        DiagnosticLog log;
        log.Open(world.platform(), path);
        EXPECT_FALSE(log.IsOpen()) << std::string(path.begin(), path.end());
        log.Log(LogLevel::Info, 0, u"%S: Status", "GetDomainDnsName"); // formats, writes nothing
        log.Close();
        log.Close(); // closing twice does nothing
    }
    EXPECT_EQ(filesBefore, world.FilePaths().size());
    EXPECT_EQ(0u, world.OpenFileCount());
}

TEST_F(DiagnosticLogTest, LockedDirectoryAndFailedWritesAreSilent) {
    world.SetLocked(u"C:\\Users\\Administrator\\AppData\\Local\\Temp", true);
    DiagnosticLog locked;
    locked.Open(world.platform(), kLogPath);
    EXPECT_FALSE(locked.IsOpen());
    world.SetLocked(u"C:\\Users\\Administrator\\AppData\\Local\\Temp", false);

    DiagnosticLog log;
    log.Open(world.platform(), kLogPath);
    ASSERT_TRUE(world.InjectFailure("WriteFile", 112, 1)); // disk full, once
    log.Log(LogLevel::Info, 1, u"dropped");
    log.Log(LogLevel::Info, 2, u"written");
    log.Close();
    EXPECT_EQ(Utf16Le(u"Info(00000002): 3/21/2009, 9:15:43 AM - written\r\n"), FileBytes());
}

TEST_F(DiagnosticLogTest, NothingIsWrittenAfterClose) {
    DiagnosticLog log;
    log.Open(world.platform(), kLogPath);
    log.Close();
    log.Log(LogLevel::Info, 0, u"late");
    EXPECT_TRUE(FileBytes().empty());
}

} // namespace
} // namespace corvane
