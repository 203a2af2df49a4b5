// The log file: appended across runs, written through (every line is on
// disk before the call returns), closed to other writers while open; and
// the path look-ups around it.
#include "contract/contract_target.h"
#include "contract/contract_text.h"

#include <array>

namespace corvane::contract {
namespace {

bool Write(platform::FileSystem& files, platform::FileHandle file, std::string_view text) {
    return files.Write(file, text.data(), static_cast<std::uint32_t>(text.size()));
}

std::vector<std::uint8_t> Read(platform::FileSystem& files, const std::u16string& path) {
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(files.ReadFileBytes(path.c_str(), bytes));
    return bytes;
}

TEST_P(PlatformContract, LogFileIsCreatedAndWrittenThrough) {
    platform::FileSystem& files = Os().files;
    const std::u16string path = Target().ScratchDirectory() + u"\\corvane.log";
    ASSERT_FALSE(files.PathFileExists(path.c_str()));

    const platform::FileHandle file = files.OpenForAppend(path.c_str());
    ASSERT_NE(file, platform::kInvalidFile);
    EXPECT_TRUE(files.PathFileExists(path.c_str()));
    EXPECT_TRUE(Write(files, file, "first\r\n"));
    // Readable by others, and complete, while the log is still open.
    EXPECT_EQ(Read(files, path), AsciiBytes("first\r\n"));
    EXPECT_TRUE(Write(files, file, "second\r\n"));
    EXPECT_TRUE(files.Close(file));
    EXPECT_EQ(Read(files, path), AsciiBytes("first\r\nsecond\r\n"));
}

TEST_P(PlatformContract, LogFileAppendsBehindExistingContent) {
    platform::FileSystem& files = Os().files;
    const std::u16string path = Target().ScratchDirectory() + u"\\corvane.log";
    Target().WriteTestFile(path, AsciiBytes("earlier run\r\n"));
    for (std::string_view line : {"run two\r\n", "run three\r\n"}) {
        const platform::FileHandle file = files.OpenForAppend(path.c_str());
        ASSERT_NE(file, platform::kInvalidFile);
        EXPECT_TRUE(Write(files, file, line));
        EXPECT_TRUE(files.Close(file));
    }
    EXPECT_EQ(Read(files, path), AsciiBytes("earlier run\r\nrun two\r\nrun three\r\n"));
}

TEST_P(PlatformContract, LogFileRefusesASecondWriterWhileOpen) {
    platform::FileSystem& files = Os().files;
    const std::u16string path = Target().ScratchDirectory() + u"\\corvane.log";
    const platform::FileHandle first = files.OpenForAppend(path.c_str());
    ASSERT_NE(first, platform::kInvalidFile);
    EXPECT_EQ(files.OpenForAppend(path.c_str()), platform::kInvalidFile);
    // The first instance is not disturbed.
    EXPECT_TRUE(Write(files, first, "still mine\r\n"));
    EXPECT_TRUE(files.Close(first));

    const platform::FileHandle second = files.OpenForAppend(path.c_str());
    ASSERT_NE(second, platform::kInvalidFile);
    EXPECT_TRUE(files.Close(second));
    EXPECT_EQ(Read(files, path), AsciiBytes("still mine\r\n"));
}

TEST_P(PlatformContract, LogFileCannotBeCreatedInAMissingDirectory) {
    platform::FileSystem& files = Os().files;
    const std::u16string path = Target().ScratchDirectory() + u"\\missing\\corvane.log";
    EXPECT_EQ(files.OpenForAppend(path.c_str()), platform::kInvalidFile);
    EXPECT_FALSE(files.PathFileExists(path.c_str()));
}

TEST_P(PlatformContract, PathFileExistsForFilesAndDirectories) {
    const std::u16string scratch = Target().ScratchDirectory();
    Target().WriteTestFile(scratch + u"\\languages.ini", AsciiBytes("[de]\r\n"));
    struct Case {
        std::u16string path;
        bool exists;
    };
    const Case cases[] = {
        {scratch, true},
        {scratch + u"\\languages.ini", true},
        {scratch + u"\\LANGUAGES.INI", true},
        {scratch + u"/languages.ini", true},
        {scratch + u"\\corvane.ini", false},
        {scratch + u"\\missing\\languages.ini", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.path));
        EXPECT_EQ(Os().files.PathFileExists(c.path.c_str()), c.exists);
    }
}

TEST_P(PlatformContract, CurrentDirectoryReportsLengthOrNeededSize) {
    platform::FileSystem& files = Os().files;
    std::array<char16_t, 512> buffer{};
    const std::uint32_t length = files.GetCurrentDirectory(512, buffer.data());
    ASSERT_GT(length, 2u);
    ASSERT_LT(length, 512u);
    const std::u16string directory = Terminated(buffer.data());
    EXPECT_EQ(directory.size(), length);
    EXPECT_TRUE(files.PathFileExists(directory.c_str()));

    EXPECT_EQ(files.GetCurrentDirectory(0, nullptr), length + 1);
    EXPECT_EQ(files.GetCurrentDirectory(length, buffer.data()), length + 1);
    std::array<char16_t, 512> exact{};
    EXPECT_EQ(files.GetCurrentDirectory(length + 1, exact.data()), length);
    EXPECT_EQ(Terminated(exact.data()), directory);
}

TEST_P(PlatformContract, ModuleFileNameIsTheFullPathOfTheExecutable) {
    platform::FileSystem& files = Os().files;
    std::array<char16_t, 261> buffer{};
    const std::uint32_t length = files.GetModuleFileName(buffer.data(), 261);
    ASSERT_GT(length, 4u);
    ASSERT_LT(length, 261u);
    const std::u16string path = Terminated(buffer.data());
    EXPECT_EQ(path.size(), length);
    EXPECT_TRUE(path[1] == u':' || path.starts_with(u"\\\\")) << "not a full path";
    EXPECT_TRUE(EqualsIgnoringAsciiCase(path.substr(path.size() - 4), u".exe"));
    EXPECT_TRUE(files.PathFileExists(path.c_str()));
}

} // namespace
} // namespace corvane::contract
