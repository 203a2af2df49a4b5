// Where the log goes when TEMP is unset, relative, missing, read-only, a
// file, or too long: the platform's temporary directory, then the Windows
// temporary folder, never the current folder; and what a run says when no
// place can be opened.
#include "app/program.h"
#include "platform/sim/world.h"

#include <cctype>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace corvane {
namespace {

constexpr std::u16string_view kUserTemp = u"C:\\Users\\Administrator\\AppData\\Local\\Temp";
constexpr std::u16string_view kProfile = u"C:\\Users\\Administrator";
constexpr std::u16string_view kShare = u"\\\\deploy\\share\\corvane";

struct LocationCase {
    const char* what;
    const char16_t* temp; // null: unset
    const char16_t* tmp;  // null: unset
    std::u16string_view expected;
};

class LogLocation : public testing::TestWithParam<LocationCase> {
protected:
    void SetUp() override {
        // The program started from the deployment share, as it often is.
        world.SetCurrentDirectory(kShare);
        world.PutFile(u"C:\\Data\\notes.txt", {'x'});
        world.CreateDirectory(u"C:\\ReadOnly");
        world.SetLocked(u"C:\\ReadOnly", true);
    }

    sim::World world;
    SetupState state;
};

TEST_P(LogLocation, FallsBackToATemporaryFolderThatCanBeOpened) {
    const LocationCase& c = GetParam();
    world.SetEnvironmentVariable(u"TEMP", c.temp);
    world.SetEnvironmentVariable(u"TMP", c.tmp);

    EXPECT_TRUE(OpenDiagnosticLog(world.platform(), state));
    EXPECT_EQ(state.Log.Path(), c.expected);
    state.Log.Log(LogLevel::Info, 0, u"%S: written", "Test");
    state.Log.Close();
    EXPECT_TRUE(world.FileBytes(c.expected).has_value());
    for (const std::u16string& path : world.FilePaths()) {
        EXPECT_NE(path.rfind(kShare, 0), 0u) << "nothing is written to the current folder";
    }
    EXPECT_TRUE(world.Desktop().MessageBoxes().empty());
}

const std::u16string kInUserTemp = std::u16string(kUserTemp) + u"\\corvane.log";
const std::u16string kInProfile = std::u16string(kProfile) + u"\\corvane.log";
const std::u16string kInWindowsTemp = u"C:\\Windows\\Temp\\corvane.log";
const std::u16string kLongFolder = u"C:\\" + std::u16string(250, u'x');

INSTANTIATE_TEST_SUITE_P(
    TempVariables, LogLocation,
    testing::Values(
        LocationCase{"as set up", kUserTemp.data(), kUserTemp.data(), kInUserTemp},
        LocationCase{"TEMP unset", nullptr, kUserTemp.data(), kInUserTemp},
        LocationCase{"TEMP and TMP unset", nullptr, nullptr, kInProfile},
        LocationCase{"TEMP relative", u"logs", nullptr, kInWindowsTemp},
        LocationCase{"TMP relative", kUserTemp.data(), u"logs", kInUserTemp},
        LocationCase{"TEMP the current folder", u".", kUserTemp.data(), kInUserTemp},
        LocationCase{"TEMP missing", u"C:\\Gone", kUserTemp.data(), kInUserTemp},
        LocationCase{"TEMP and TMP missing", u"C:\\Gone", u"C:\\Gone", kInWindowsTemp},
        LocationCase{"TEMP read-only", u"C:\\ReadOnly", u"C:\\ReadOnly", kInWindowsTemp},
        LocationCase{"TEMP a file", u"C:\\Data\\notes.txt", u"C:\\Data\\notes.txt", kInWindowsTemp},
        LocationCase{"TEMP too long", kLongFolder.c_str(), kLongFolder.c_str(), kInWindowsTemp}),
    [](const testing::TestParamInfo<LocationCase>& param) {
        std::string name;
        for (const char* c = param.param.what; *c != '\0'; ++c) {
            if (std::isalnum(static_cast<unsigned char>(*c)) != 0) {
                name.push_back(*c);
            }
        }
        return name;
    });

TEST(LogLocationCandidates, AreTriedInOrderWithoutRepeats) {
    sim::World world;
    EXPECT_EQ(LogFileCandidates(world.platform()),
              (std::vector<std::u16string>{kInUserTemp, kInWindowsTemp}));
    world.SetEnvironmentVariable(u"TEMP", u"D:\\Temp\\");
    EXPECT_EQ(LogFileCandidates(world.platform()),
              (std::vector<std::u16string>{u"D:\\Temp\\corvane.log", kInUserTemp, kInWindowsTemp}));
    EXPECT_EQ(LogFilePath(world.platform()), u"D:\\Temp\\corvane.log");
}

class NoLogAnywhere : public testing::Test {
protected:
    void SetUp() override {
        world.SetEnvironmentVariable(u"TEMP", u"C:\\Gone");
        world.SetEnvironmentVariable(u"TMP", nullptr);
        world.SetLocked(kProfile, true);
        world.SetLocked(u"C:\\Windows\\Temp", true);
    }

    sim::World world;
    SetupState state;
};

TEST_F(NoLogAnywhere, AnInteractiveRunSaysSoOnce) {
    EXPECT_FALSE(OpenDiagnosticLog(world.platform(), state));
    EXPECT_FALSE(state.Log.IsOpen());
    const std::vector<sim::MessageBoxRecord> boxes = world.Desktop().MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, platform::kDesktopWindow);
    EXPECT_EQ(boxes[0].caption, u"No log");
    EXPECT_EQ(boxes[0].text, u"The log file corvane.log could not be opened in any temporary "
                             u"folder. This run writes no log.");
    EXPECT_EQ(boxes[0].style, 0x2030u);
    EXPECT_FALSE(boxes[0].timed);
    // Entries of the run go nowhere, and say nothing more.
    state.Log.Log(LogLevel::Info, 0, u"%S: lost", "Test");
    EXPECT_EQ(world.Desktop().MessageBoxes().size(), 1u);
}

TEST_F(NoLogAnywhere, AnUnattendedRunRunsOnSilently) {
    state.AutoMode = true;
    EXPECT_FALSE(OpenDiagnosticLog(world.platform(), state));
    EXPECT_TRUE(world.Desktop().MessageBoxes().empty());
}

} // namespace
} // namespace corvane
