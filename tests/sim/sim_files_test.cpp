// The sim's file system, environment extras and private-profile details
// beyond the platform contract.
#include "platform/sim/text.h"
#include "platform/sim/world.h"

#include <array>
#include <gtest/gtest.h>

namespace corvane::sim {
namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

TEST(SimFiles, ResolvesPathsLikeWindows) {
    World world;
    world.SetCurrentDirectory(u"D:\\Work\\Run");
    struct Case {
        std::u16string_view path;
        std::u16string_view full;
    };
    const Case cases[] = {
        {u"corvane.log", u"D:\\Work\\Run\\corvane.log"},
        {u".\\sub\\..\\corvane.log", u"D:\\Work\\Run\\corvane.log"},
        {u"..\\..\\..\\x.ini", u"D:\\x.ini"},
        {u"\\Temp\\x.log", u"D:\\Temp\\x.log"},
        {u"c:/tools//corvane.exe", u"C:\\tools\\corvane.exe"},
        {u"C:\\Tools\\corvane.ini. ", u"C:\\Tools\\corvane.ini"},
        {u"D:x.log", u"D:\\Work\\Run\\x.log"},
        {u"E:x.log", u"E:\\x.log"},
        {u"\\\\?\\C:\\Temp\\x.log", u"C:\\Temp\\x.log"},
        {u"\\\\server\\share\\dir\\x.log", u"\\\\server\\share\\dir\\x.log"},
        {u"C:\\", u"C:\\"},
        {u"", u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf16ToUtf8(c.path));
        EXPECT_EQ(world.FullPath(c.path), c.full);
    }
}

TEST(SimFiles, RelativePathsUseTheCurrentDirectory) {
    World world;
    world.SetCurrentDirectory(u"C:\\Deploy");
    world.PutFile(u"C:\\Deploy\\languages.ini", Bytes("[de]\r\n"));
    EXPECT_TRUE(world.files().PathFileExists(u"languages.ini"));
    EXPECT_TRUE(world.files().PathFileExists(u"..\\deploy\\LANGUAGES.INI"));
    const platform::FileHandle file = world.files().OpenForAppend(u"run.log");
    ASSERT_NE(file, platform::kInvalidFile);
    EXPECT_TRUE(world.files().Close(file));
    EXPECT_TRUE(world.FileBytes(u"C:\\Deploy\\run.log").has_value());
}

TEST(SimFiles, LockedFilesAndDirectoriesRefuseWriting) {
    World world;
    platform::FileSystem& files = world.files();
    world.PutFile(u"C:\\Logs\\locked.log", Bytes("old"));
    world.SetLocked(u"C:\\Logs\\locked.log", true);
    world.CreateDirectory(u"C:\\ReadOnly");
    world.SetLocked(u"C:\\ReadOnly", true);
    world.PutFile(u"C:\\ReadOnly\\existing.log", Bytes(""));

    EXPECT_EQ(files.OpenForAppend(u"C:\\Logs\\locked.log"), platform::kInvalidFile);
    EXPECT_EQ(files.OpenForAppend(u"C:\\ReadOnly\\new.log"), platform::kInvalidFile);
    EXPECT_FALSE(world.FileBytes(u"C:\\ReadOnly\\new.log").has_value());
    // An existing file in a locked directory can still be written.
    const platform::FileHandle existing = files.OpenForAppend(u"C:\\ReadOnly\\existing.log");
    EXPECT_NE(existing, platform::kInvalidFile);
    EXPECT_TRUE(files.Close(existing));
    EXPECT_EQ(files.OpenForAppend(u"C:\\Logs"), platform::kInvalidFile); // a directory
    EXPECT_EQ(files.OpenForAppend(u""), platform::kInvalidFile);

    world.SetLocked(u"C:\\Logs\\locked.log", false);
    EXPECT_NE(files.OpenForAppend(u"C:\\Logs\\locked.log"), platform::kInvalidFile);
    EXPECT_EQ(world.JournalLines("CreateFile"),
              (std::vector<std::string>{
                  "CreateFile(C:\\Logs\\locked.log) = 5", "CreateFile(C:\\ReadOnly\\new.log) = 5",
                  "CreateFile(C:\\ReadOnly\\existing.log) = 0", "CreateFile(C:\\Logs) = 5",
                  "CreateFile(\"\") = 3", "CreateFile(C:\\Logs\\locked.log) = 0"}));
}

TEST(SimFiles, InjectedWriteFailuresLoseOnlyThatWrite) {
    World world;
    world.CreateDirectory(u"C:\\Temp");
    platform::FileSystem& files = world.files();
    const platform::FileHandle file = files.OpenForAppend(u"C:\\Temp\\corvane.log");
    ASSERT_NE(file, platform::kInvalidFile);
    ASSERT_TRUE(world.InjectFailure("WriteFile", 112, 1));
    EXPECT_FALSE(files.Write(file, "lost", 4));
    EXPECT_TRUE(files.Write(file, "kept", 4));
    EXPECT_FALSE(files.Write(0x4242, "x", 1)); // unknown handle
    EXPECT_FALSE(files.Write(file, nullptr, 3));
    EXPECT_TRUE(files.Close(file));
    EXPECT_FALSE(files.Close(file));
    EXPECT_EQ(world.FileBytes(u"C:\\Temp\\corvane.log"), Bytes("kept"));
    EXPECT_EQ(world.OpenFileCount(), 0u);
    EXPECT_EQ(world.JournalLines(),
              (std::vector<std::string>{"CreateFile(C:\\Temp\\corvane.log) = 0",
                                        "WriteFile(C:\\Temp\\corvane.log, 4) = 112 [injected]",
                                        "CloseHandle(C:\\Temp\\corvane.log) = 0"}));
}

TEST(SimFiles, OpenFilesCannotBeRemovedAndRestartClosesThem) {
    World world;
    world.CreateDirectory(u"C:\\Temp");
    const platform::FileHandle file = world.files().OpenForAppend(u"C:\\Temp\\corvane.log");
    ASSERT_NE(file, platform::kInvalidFile);
    EXPECT_FALSE(world.RemoveFile(u"C:\\Temp\\corvane.log"));
    world.Restart();
    EXPECT_EQ(world.OpenFileCount(), 0u);
    EXPECT_FALSE(world.files().Write(file, "x", 1));
    EXPECT_TRUE(world.RemoveFile(u"c:\\temp\\CORVANE.LOG"));
    EXPECT_FALSE(world.files().PathFileExists(u"C:\\Temp\\corvane.log"));
}

TEST(SimFiles, ModuleFileNameIsCutAndTerminated) {
    World world;
    world.SetModulePath(u"C:\\Program Files\\corvane\\corvane.exe"); // 36 characters
    std::array<char16_t, 64> buffer;
    buffer.fill(u'#');
    EXPECT_EQ(world.files().GetModuleFileName(buffer.data(), 64), 36u);
    EXPECT_EQ(std::u16string(buffer.data()), u"C:\\Program Files\\corvane\\corvane.exe");
    buffer.fill(u'#');
    EXPECT_EQ(world.files().GetModuleFileName(buffer.data(), 11), 11u);
    EXPECT_EQ(std::u16string(buffer.data()), u"C:\\Program");
    EXPECT_EQ(world.files().GetModuleFileName(buffer.data(), 0), 0u);
    EXPECT_TRUE(world.files().PathFileExists(u"C:\\Program Files\\corvane\\corvane.exe"));
}

TEST(SimEnvironment, DefaultsAndNameRules) {
    World world;
    std::array<char16_t, 128> buffer{};
    EXPECT_EQ(world.environment().ExpandStrings(u"%TEMP%\\corvane.log", buffer.data(), 128), 54u);
    EXPECT_EQ(std::u16string(buffer.data()),
              u"C:\\Users\\Administrator\\AppData\\Local\\Temp\\corvane.log");
    EXPECT_FALSE(world.environment().SetVariable(u"", u"x"));
    EXPECT_FALSE(world.environment().SetVariable(u"A=B", u"x"));
    EXPECT_TRUE(world.environment().SetVariable(u"=C:", u"C:\\"));
    world.SetEnvironmentVariable(u"TEMP", nullptr);
    EXPECT_EQ(world.environment().ExpandStrings(u"%TEMP%\\corvane.log", buffer.data(), 128), 19u);
    EXPECT_EQ(std::u16string(buffer.data()), u"%TEMP%\\corvane.log");
    // An unset reference is copied and scanning goes on behind it.
    world.SetEnvironmentVariable(u"X", u"1");
    EXPECT_EQ(world.environment().ExpandStrings(u"%NOPE%X%X%", buffer.data(), 128), 9u);
    EXPECT_EQ(std::u16string(buffer.data()), u"%NOPE%X1");
}

class SimProfileTest : public testing::Test {
protected:
    std::u16string Get(const char16_t* section, const char16_t* key, const char16_t* file,
                       std::uint32_t size = 256) {
        std::vector<char16_t> buffer(size + 1, u'#');
        const std::uint32_t length =
            world_.profile().GetString(section, key, u"(default)", buffer.data(), size, file);
        EXPECT_EQ(length, std::u16string(buffer.data()).size());
        return buffer.data();
    }

    World world_;
};

TEST_F(SimProfileTest, FirstSectionWinsAndCommentsAndStrayLinesAreSkipped) {
    world_.PutTextFile(u"C:\\Tools\\corvane.ini",
                       u"orphan=before any section\n"
                       u"[settings]\n"
                       u";computer=COMMENTED\n"
                       u"computer=FIRST\n"
                       u"[broken\n"
                       u"[SETTINGS]\n"
                       u"computer=SECOND\n"
                       u"late=1\n",
                       TextEncoding::Ansi);
    const char16_t* file = u"C:\\Tools\\corvane.ini";
    EXPECT_EQ(Get(u"settings", u"computer", file), u"FIRST");
    EXPECT_EQ(Get(u"settings", u"late", file), u"(default)");
    EXPECT_EQ(Get(u"settings", u";computer", file), u"(default)");
    EXPECT_EQ(Get(u"", u"orphan", file), u"before any section");
    // "[broken" is no header: it is a line without '=' of [settings].
    std::array<char16_t, 64> buffer{};
    const std::uint32_t length = world_.profile().GetSection(u"settings", buffer.data(), 64, file);
    EXPECT_EQ(std::u16string(buffer.data(), length),
              std::u16string(u"computer=FIRST\0[broken\0", 23));
}

TEST_F(SimProfileTest, NamesListsAndWindowsDirectory) {
    world_.PutTextFile(u"C:\\Windows\\setup.ini", u"[one]\r\na=1\r\nflag\r\nb=2\r\n[two]\r\n",
                       TextEncoding::Utf16LeBom);
    // A bare file name lies in the Windows directory.
    EXPECT_EQ(Get(u"one", u"b", u"setup.ini"), u"2");
    std::array<char16_t, 32> buffer{};
    EXPECT_EQ(world_.profile().GetString(nullptr, nullptr, u"", buffer.data(), 32, u"setup.ini"),
              8u);
    EXPECT_EQ(std::u16string(buffer.data(), 9), std::u16string(u"one\0two\0\0", 9));
    EXPECT_EQ(world_.profile().GetString(u"one", nullptr, u"", buffer.data(), 32, u"setup.ini"),
              4u);
    EXPECT_EQ(std::u16string(buffer.data(), 5), std::u16string(u"a\0b\0\0", 5));
    EXPECT_EQ(world_.profile().GetString(u"one", nullptr, u"", buffer.data(), 3, u"setup.ini"), 1u);
}

TEST_F(SimProfileTest, EncodingsWithoutMarksReadAsTheCodePage) {
    const char16_t* file = u"C:\\Tools\\corvane.ini";
    world_.PutTextFile(file, u"[s]\r\nk=\u00e4\u20ac\r\n", TextEncoding::Utf8);
    EXPECT_EQ(Get(u"s", u"k", file), u"\u00c3\u00a4\u00e2\u201a\u00ac"); // UTF-8 bytes as ANSI
    world_.PutTextFile(file, u"[s]\r\nk=\u00e4\u20ac\r\n", TextEncoding::Ansi);
    EXPECT_EQ(Get(u"s", u"k", file), u"\u00e4\u20ac");
    world_.PutFile(file, {0xFE, 0xFF, 0, '[', 0, 's', 0, ']', 0, '\n', 0, 'k', 0, '=', 0x20, 0xAC});
    EXPECT_EQ(Get(u"s", u"k", file), u"\u20ac"); // UTF-16 big-endian with its mark
    world_.PutFile(file, {});
    EXPECT_EQ(Get(u"s", u"k", file), u"(default)");
}

TEST_F(SimProfileTest, IntegersFollowTheRtlConversion) {
    world_.PutTextFile(u"C:\\Tools\\corvane.ini",
                       u"[s]\r\nhex=0x1F\r\nbin=0b101\r\noct=0o17\r\nlead=007\r\nplus=+3\r\n"
                       u"big=99999999999\r\nquoted=\"5\"\r\nsign=- 3\r\n",
                       TextEncoding::Ansi);
    struct Case {
        const char16_t* key;
        std::uint32_t value;
    };
    const Case cases[] = {{u"hex", 31}, {u"bin", 5},          {u"oct", 15},   {u"lead", 7},
                          {u"plus", 3}, {u"big", 1215752191}, {u"quoted", 5}, {u"sign", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf16ToUtf8(c.key));
        EXPECT_EQ(world_.profile().GetInt(u"s", c.key, -1, u"C:\\Tools\\corvane.ini"), c.value);
    }
}

TEST_F(SimProfileTest, InjectedFailureReadsAsAMissingFile) {
    world_.PutTextFile(u"C:\\Tools\\corvane.ini", u"[s]\r\nk=v\r\n", TextEncoding::Ansi);
    ASSERT_TRUE(world_.InjectFailure("GetPrivateProfileString", 5, 1));
    EXPECT_EQ(Get(u"s", u"k", u"C:\\Tools\\corvane.ini"), u"(default)");
    EXPECT_EQ(Get(u"s", u"k", u"C:\\Tools\\corvane.ini"), u"v");
}

} // namespace
} // namespace corvane::sim
