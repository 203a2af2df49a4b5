// Settings and language files read with the private-profile functions, in
// each encoding the program's users store them in.
#include "contract/contract_target.h"
#include "contract/contract_text.h"

#include <array>

namespace corvane::contract {
namespace {

constexpr std::u16string_view kSettings = u"[Settings]\r\n"
                                          u"  Computer  =  WS-0815  \r\n"
                                          u"account=\"SALES\\installer\"\r\n"
                                          u"single='quoted'\r\n"
                                          u"half=\"open\r\n"
                                          u"domain=Dom\u00e4ne \u20ac\r\n"
                                          u"noequals\r\n"
                                          u"dhcp=1\r\n"
                                          u"number= 17abc\r\n"
                                          u"negative=-5\r\n"
                                          u"text=abc\r\n"
                                          u"empty=\r\n"
                                          u"COMPUTER=second\r\n"
                                          u"\r\n"
                                          u"[general]\r\n"
                                          u"title=Workstation set-up\r\n"
                                          u"[Empty]\r\n";

constexpr FileEncoding kEncodings[] = {FileEncoding::Ansi, FileEncoding::Utf16LeBom,
                                       FileEncoding::Utf8Bom};

class ProfileFile {
public:
    ProfileFile(ContractTarget& target, FileEncoding encoding)
        : path_(target.ScratchDirectory() + u"\\corvane.ini") {
        target.WriteTestFile(path_, EncodeFile(kSettings, encoding));
    }
    const char16_t* path() const { return path_.c_str(); }

private:
    std::u16string path_;
};

TEST_P(PlatformContract, ProfileStringsInEveryEncoding) {
    struct Case {
        const char16_t* section;
        const char16_t* key;
        const char16_t* fallback;
        std::u16string_view expected;
    };
    const Case cases[] = {
        {u"settings", u"COMPUTER", u"x", u"WS-0815"},         // case, blanks, first key wins
        {u"SETTINGS", u"account", u"x", u"SALES\\installer"}, // double quotes removed
        {u"Settings", u"single", u"x", u"quoted"},            // single quotes removed
        {u"Settings", u"half", u"x", u"\"open"},              // an unpaired quote stays
        {u"Settings", u"domain", u"x", u"Dom\u00e4ne \u20ac"},
        {u"Settings", u"noequals", u"fallback", u"fallback"},  // a line without '=' is no key
        {u"Settings", u"missing", u"fallback  ", u"fallback"}, // default loses trailing blanks
        {u"Settings", u"missing", nullptr, u""},
        {u"Settings", u"empty", u"fallback", u""}, // present but empty
        {u"Missing", u"computer", u"fallback", u"fallback"},
        {u"General", u"Title", u"x", u"Workstation set-up"},
    };
    for (FileEncoding encoding : kEncodings) {
        SCOPED_TRACE(EncodingName(encoding));
        const ProfileFile file(Target(), encoding);
        for (const Case& c : cases) {
            SCOPED_TRACE(Narrow(c.key));
            std::array<char16_t, 128> buffer{};
            const std::uint32_t length = Os().profile.GetString(c.section, c.key, c.fallback,
                                                                buffer.data(), 128, file.path());
            EXPECT_EQ(Terminated(buffer.data()), c.expected);
            EXPECT_EQ(length, c.expected.size());
        }
    }
}

TEST_P(PlatformContract, ProfileStringIsCutToBufferSizeMinusOne) {
    const ProfileFile file(Target(), FileEncoding::Ansi);
    struct Case {
        std::uint32_t size;
        std::u16string_view expected;
    };
    const Case cases[] = {{1, u""}, {5, u"WS-0"}, {7, u"WS-081"}, {8, u"WS-0815"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        std::array<char16_t, 16> buffer;
        buffer.fill(u'#');
        const std::uint32_t length = Os().profile.GetString(u"settings", u"computer", u"",
                                                            buffer.data(), c.size, file.path());
        EXPECT_EQ(length, c.expected.size());
        EXPECT_EQ(Terminated(buffer.data()), c.expected);
    }
}

TEST_P(PlatformContract, ProfileSectionListsEntriesAndIsCutToSizeMinusTwo) {
    for (FileEncoding encoding : kEncodings) {
        SCOPED_TRACE(EncodingName(encoding));
        const ProfileFile file(Target(), encoding);
        std::array<char16_t, 64> buffer;
        buffer.fill(u'#');
        // "title=Workstation set-up" and the list's two terminators.
        EXPECT_EQ(Os().profile.GetSection(u"GENERAL", buffer.data(), 64, file.path()), 25u);
        EXPECT_EQ(std::u16string(buffer.data(), 26),
                  std::u16string(u"title=Workstation set-up\0\0", 26));

        buffer.fill(u'#');
        EXPECT_EQ(Os().profile.GetSection(u"general", buffer.data(), 10, file.path()), 8u);
        EXPECT_EQ(std::u16string(buffer.data(), 10), std::u16string(u"title=Wo\0\0", 10));

        // The probe the language look-up makes: non-zero for a section with
        // entries, zero for an empty or missing one.
        EXPECT_EQ(Os().profile.GetSection(u"general", buffer.data(), 3, file.path()), 1u);
        EXPECT_EQ(Os().profile.GetSection(u"empty", buffer.data(), 3, file.path()), 0u);
        EXPECT_EQ(Os().profile.GetSection(u"missing", buffer.data(), 3, file.path()), 0u);
    }
}

TEST_P(PlatformContract, ProfileSectionKeepsQuotesAndLinesWithoutEquals) {
    const ProfileFile file(Target(), FileEncoding::Utf16LeBom);
    std::array<char16_t, 512> buffer{};
    const std::uint32_t length =
        Os().profile.GetSection(u"settings", buffer.data(), 512, file.path());
    const std::u16string list(buffer.data(), length);
    std::u16string expected;
    for (std::u16string_view entry :
         {u"Computer=WS-0815", u"account=\"SALES\\installer\"", u"single='quoted'", u"half=\"open",
          u"domain=Dom\u00e4ne \u20ac", u"noequals", u"dhcp=1", u"number=17abc", u"negative=-5",
          u"text=abc", u"empty=", u"COMPUTER=second"}) {
        expected += entry;
        expected.push_back(u'\0');
    }
    EXPECT_EQ(list, expected);
}

TEST_P(PlatformContract, ProfileIntegersAndDefaults) {
    struct Case {
        const char16_t* key;
        std::int32_t fallback;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {u"dhcp", -1, 1u},
        {u"number", -1, 17u},          // leading digits after blanks
        {u"negative", 0, 0xFFFFFFFBu}, // the sign is read
        {u"text", -1, 0u},             // not a number reads 0
        {u"empty", -1, 0xFFFFFFFFu},   // an empty value is the default
        {u"missing", -1, 0xFFFFFFFFu},
        {u"missing", 42, 42u},
    };
    for (FileEncoding encoding : kEncodings) {
        SCOPED_TRACE(EncodingName(encoding));
        const ProfileFile file(Target(), encoding);
        for (const Case& c : cases) {
            SCOPED_TRACE(Narrow(c.key));
            EXPECT_EQ(Os().profile.GetInt(u"Settings", c.key, c.fallback, file.path()), c.expected);
        }
    }
}

TEST_P(PlatformContract, ProfileMissingFileGivesDefaults) {
    const std::u16string path = Target().ScratchDirectory() + u"\\absent.ini";
    std::array<char16_t, 32> buffer{};
    EXPECT_EQ(
        Os().profile.GetString(u"settings", u"computer", u"none", buffer.data(), 32, path.c_str()),
        4u);
    EXPECT_EQ(Terminated(buffer.data()), u"none");
    EXPECT_EQ(Os().profile.GetSection(u"settings", buffer.data(), 32, path.c_str()), 0u);
    EXPECT_EQ(Os().profile.GetInt(u"settings", u"dhcp", -1, path.c_str()), 0xFFFFFFFFu);
}

TEST_P(PlatformContract, ProfileReadsOverlongValuesInFull) {
    std::u16string value(9000, u'x');
    value[8190] = u'y';
    const std::u16string path = Target().ScratchDirectory() + u"\\languages.ini";
    Target().WriteTestFile(
        path, EncodeFile(u"[de]\r\n113=" + value + u"\r\n114=next\r\n", FileEncoding::Utf16LeBom));
    std::vector<char16_t> buffer(8192);
    EXPECT_EQ(Os().profile.GetString(u"de", u"113", u"", buffer.data(), 8192, path.c_str()), 8191u);
    EXPECT_EQ(std::u16string(buffer.data()), value.substr(0, 8191));
    EXPECT_EQ(Os().profile.GetString(u"de", u"114", u"", buffer.data(), 8192, path.c_str()), 4u);
}

// Each read sees the file as it is now: rewritten between two reads (to a
// text of the same length, so that only the bytes differ), or read in turn
// with another file.
TEST_P(PlatformContract, ProfileReadsFollowTheFileAsItChanges) {
    const std::u16string first = Target().ScratchDirectory() + u"\\first.ini";
    const std::u16string second = Target().ScratchDirectory() + u"\\second.ini";
    Target().WriteTestFile(first, EncodeFile(u"[s]\r\nkey=one\r\n", FileEncoding::Ansi));
    Target().WriteTestFile(second, EncodeFile(u"[s]\r\nkey=two\r\n", FileEncoding::Ansi));
    const auto read = [&](const std::u16string& path) {
        std::array<char16_t, 16> buffer{};
        const std::uint32_t copied =
            Os().profile.GetString(u"s", u"key", u"", buffer.data(), 16, path.c_str());
        return std::u16string(buffer.data(), copied);
    };
    EXPECT_EQ(read(first), u"one");
    EXPECT_EQ(read(second), u"two");
    EXPECT_EQ(read(first), u"one");
    Target().WriteTestFile(first, EncodeFile(u"[s]\r\nkey=new\r\n", FileEncoding::Ansi));
    EXPECT_EQ(read(first), u"new");
    std::array<char16_t, 16> section{};
    EXPECT_EQ(Os().profile.GetSection(u"s", section.data(), 16, first.c_str()), 8u);
    EXPECT_EQ(std::u16string(section.data()), u"key=new");
    Target().WriteTestFile(first, EncodeFile(u"[t]\r\nkey=old\r\n", FileEncoding::Ansi));
    EXPECT_EQ(read(first), u"");
}

} // namespace
} // namespace corvane::contract
