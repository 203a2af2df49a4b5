// A domain member workstation with a simulated domain "a.b.c" (NetBIOS
// SALES) whose directory holds the units \Sales\Berlin and the computer PC1
// in CN=Computers; the stored credentials are accepted, the own logon is
// refused. The log goes to a file whose lines the tests read back.
#pragma once

#include "fakes/pointer_text.h"
#include "model/setup_state.h"
#include "platform/sim/text.h"
#include "platform/sim/world.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace corvane::testing_directory {

class DirectoryScene {
public:
    static constexpr std::u16string_view kLogPath = u"C:\\Tools\\corvane.log";
    // The interfaces a run binds, in their order, as LogText() shows them:
    // any pointer but null (fakes/pointer_text.h).
    static constexpr std::u16string_view kFirst = fakes::kAnyPointer16;
    static constexpr std::u16string_view kSecond = fakes::kAnyPointer16;
    static constexpr std::u16string_view kThird = fakes::kAnyPointer16;
    static constexpr std::u16string_view kNull = u"0000000000000000";

    DirectoryScene() : domain(world.AddDomain(u"SALES", u"a.b.c")) {
        domain.AddCredential(u"SALES\\installer", u"s3cret");
        domain.AddCredential(u"reader@a.b.c", u"look", false, true);
        domain.AddCredential(u"retired@a.b.c", u"old", true);
        const std::u16string units[] = {u"Sales", u"Berlin"};
        domain.Directory().EnsureOrganizationalUnits(units);
        domain.AddComputer(u"PC1");
        world.SetJoinState(platform::JoinStatus::Domain, u"SALES");
        state.Account.Assign(u"installer@a.b.c");
        state.Password.Assign(u"s3cret");
        state.Log.Open(world.platform(), kLogPath);
    }

    platform::Platform& os() { return world.platform(); }
    sim::DirectoryTree& tree() { return domain.Directory(); }

    // The DN of the container that holds the (oldest) computer of that
    // name, or "-" when there is none.
    std::u16string ParentOf(std::u16string_view computer) {
        const sim::ObjectId object = domain.FindComputer(computer);
        if (object == sim::kNoObject) {
            return u"-";
        }
        return tree().DistinguishedName(tree().Parent(object));
    }

    // The log's text so far (the log is closed for the read), each pointer
    // masked.
    std::u16string LogText() {
        state.Log.Close();
        const std::vector<std::uint8_t> bytes =
            world.FileBytes(kLogPath).value_or(std::vector<std::uint8_t>{});
        std::u16string text;
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
            text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
        }
        return fakes::MaskPointers(std::u16string_view(text));
    }

    // Every interface, search, column and COM bracket given back, and no
    // call on anything that was not live.
    void ExpectAllReleased() {
        EXPECT_EQ(world.LiveDirectoryInterfaces(), 0u);
        EXPECT_EQ(world.OpenComBrackets(), 0u);
        EXPECT_EQ(world.OpenDirectorySearches(), 0u);
        EXPECT_EQ(world.HeldSearchColumns(), 0u);
        EXPECT_EQ(world.InvalidDirectoryCalls(), 0u);
    }

    std::vector<std::string> Binds() { return world.JournalLines("ADsOpenObject"); }

    sim::World world;
    sim::Domain& domain;
    SetupState state;
};

// One log line as the sim's en-US clock writes it: "Info(00000000)" or
// "Error(0x80070005)" as `head`, then the fixed date and time.
inline std::u16string Line(std::u16string_view head, std::u16string_view message) {
    return std::u16string(head) + u": 3/21/2009, 9:15:43 AM - " + std::u16string(message) + u"\r\n";
}

inline std::u16string
Lines(std::initializer_list<std::pair<std::u16string_view, std::u16string>> lines) {
    std::u16string text;
    for (const auto& [head, message] : lines) {
        text += Line(head, message);
    }
    return text;
}

inline std::string Narrow(std::u16string_view text) {
    return sim::Utf16ToUtf8(text);
}

} // namespace corvane::testing_directory
