#include "directory/computer_account.h"
#include "directory_scene.h"

#include <gtest/gtest.h>

namespace corvane::testing_directory {
namespace {

// The own logon is accepted unless a case says otherwise.
class LocateScene : public DirectoryScene {
public:
    LocateScene() { domain.SetAcceptsOwnLogon(true); }

    bool Locate(std::u16string_view computer, OrganizationUnitText& located) {
        return GetComputerAccountOrganizationUnit(os(), state, u"a.b.c", computer, located);
    }
};

TEST(LocateComputerAccount, GivesTheOuPathOfTheUnitHoldingTheAccount) {
    struct Case {
        const char* name;
        std::u16string_view containerDn; // where PC7 is put
        std::u16string_view located;
    };
    const Case cases[] = {
        {"default container", u"", u""},
        {"unit", u"OU=Berlin,OU=Sales", u"\\Sales\\Berlin"},
        {"top unit", u"OU=Sales", u"\\Sales"},
        {"container below a unit", u"CN=Lab,OU=Sales", u"\\Sales"},
        {"unit with special characters", u"OU=R&D\\, Europe", u"\\R&D, Europe"},
        {"unit with a slash", u"OU=a/b", u"\\a/b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LocateScene scene;
        const std::u16string rd[] = {u"R&D, Europe"};
        scene.tree().EnsureOrganizationalUnits(rd);
        const std::u16string slash[] = {u"a/b"};
        scene.tree().EnsureOrganizationalUnits(slash);
        scene.tree().Create(scene.tree().Find(u"OU=Sales,DC=a,DC=b,DC=c"),
                            sim::directory_class::kContainer, u"Lab");
        ASSERT_NE(scene.domain.AddComputer(u"PC7", c.containerDn), sim::kNoObject);
        OrganizationUnitText located(u"previous");
        EXPECT_TRUE(scene.Locate(u"PC7", located));
        EXPECT_EQ(located.view(), c.located);
        // The locate writes no log entries.
        EXPECT_EQ(scene.LogText(), u"");
        scene.ExpectAllReleased();
    }
}

TEST(LocateComputerAccount, NoMatchingObjectLeavesTheOuPathAsGiven) {
    LocateScene scene;
    OrganizationUnitText located(u"\\Kept");
    EXPECT_TRUE(scene.Locate(u"PC9", located));
    EXPECT_EQ(located.view(), u"\\Kept");
    // A pattern is no name.
    EXPECT_TRUE(scene.Locate(u"PC*", located));
    EXPECT_EQ(located.view(), u"\\Kept");
    scene.ExpectAllReleased();
}

TEST(LocateComputerAccount, AWorkgroupComputerBindsNothing) {
    LocateScene scene;
    scene.world.SetJoinState(platform::JoinStatus::Workgroup, u"WORKGROUP");
    OrganizationUnitText located(u"\\Kept");
    EXPECT_FALSE(scene.Locate(u"PC1", located));
    EXPECT_EQ(located.view(), u"\\Kept");
    EXPECT_TRUE(scene.Binds().empty());
    scene.ExpectAllReleased();
}

TEST(LocateComputerAccount, TriesTheOwnLogonFirstThenTheStoredAccount) {
    struct Case {
        const char* name;
        bool ownLogon;
        std::u16string_view account;
        std::u16string_view password;
        bool found;
        std::vector<std::string> binds;
    };
    const Case cases[] = {
        {"own logon accepted",
         true,
         u"installer@a.b.c",
         u"s3cret",
         true,
         {"ADsOpenObject(LDAP://a.b.c, -, -, 0x1, IDirectorySearch) = 0"}},
        {"stored account accepted",
         false,
         u"installer@a.b.c",
         u"s3cret",
         true,
         {"ADsOpenObject(LDAP://a.b.c, -, -, 0x1, IDirectorySearch) = 2147943726",
          "ADsOpenObject(LDAP://a.b.c, installer@a.b.c, ***, 0x1, IDirectorySearch) = 0"}},
        // The second bind passes the empty texts as they stand.
        {"nothing stored",
         false,
         u"",
         u"",
         false,
         {"ADsOpenObject(LDAP://a.b.c, -, -, 0x1, IDirectorySearch) = 2147943726",
          "ADsOpenObject(LDAP://a.b.c, \"\", ***, 0x1, IDirectorySearch) = 2147943726"}},
        {"both refused",
         false,
         u"installer@a.b.c",
         u"wrong",
         false,
         {"ADsOpenObject(LDAP://a.b.c, -, -, 0x1, IDirectorySearch) = 2147943726",
          "ADsOpenObject(LDAP://a.b.c, installer@a.b.c, ***, 0x1, IDirectorySearch) = "
          "2147943726"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LocateScene scene;
        scene.domain.SetAcceptsOwnLogon(c.ownLogon);
        scene.state.Account.Assign(c.account);
        scene.state.Password.Assign(c.password);
        scene.domain.AddComputer(u"PC7", u"OU=Berlin,OU=Sales");
        OrganizationUnitText located(u"\\Kept");
        EXPECT_EQ(scene.Locate(u"PC7", located), c.found);
        EXPECT_EQ(located.view(), c.found ? u"\\Sales\\Berlin" : u"\\Kept");
        EXPECT_EQ(scene.Binds(), c.binds);
        scene.ExpectAllReleased();
    }
}

TEST(LocateComputerAccount, AFailureAtAnyStepIsFalseOrEndsTheWalk) {
    struct Case {
        const char* name;
        std::string_view operation;
        std::uint32_t code;
        bool result;
    };
    const Case cases[] = {
        {"join information", "NetGetJoinInformation", 5, false},
        {"bind", "ADsOpenObject", 0x8007203Au, false},
        {"page size", "SetSearchPreference", 0x80004005u, false},
        {"search", "ExecuteSearch", 0x80004005u, false},
        // A failing row walk is still a search that ran to its end.
        {"row", "GetNextRow", 0x80004005u, true},
        {"column", "GetColumn", 0x80005010u, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LocateScene scene;
        scene.domain.AddComputer(u"PC7", u"OU=Berlin,OU=Sales");
        scene.world.InjectFailure(c.operation, c.code);
        OrganizationUnitText located(u"\\Kept");
        EXPECT_EQ(scene.Locate(u"PC7", located), c.result);
        EXPECT_EQ(located.view(), u"\\Kept");
        scene.ExpectAllReleased();
    }
}

TEST(LocateComputerAccount, AnOuPathTooLongForTheFieldIsNotCut) {
    // \ and the unit's name: 127 characters fit, 128 do not.
    struct Case {
        std::size_t unitLength;
        bool written;
    };
    for (const Case& c : {Case{126, true}, Case{127, false}}) {
        SCOPED_TRACE(c.unitLength);
        LocateScene scene;
        const std::u16string units[] = {std::u16string(c.unitLength, u'u')};
        scene.tree().EnsureOrganizationalUnits(units);
        scene.domain.AddComputer(u"PC7", u"OU=" + units[0]);
        OrganizationUnitText located(u"\\Kept");
        EXPECT_TRUE(scene.Locate(u"PC7", located));
        EXPECT_EQ(located.view(), c.written ? u"\\" + units[0] : u"\\Kept");
        scene.ExpectAllReleased();
    }
}

TEST(LocateComputerAccount, TheRowReturnedLastWins) {
    LocateScene scene;
    scene.domain.AddComputer(u"PC7", u"OU=Sales");
    scene.domain.AddComputer(u"PC7", u"OU=Berlin,OU=Sales");
    OrganizationUnitText located;
    EXPECT_TRUE(scene.Locate(u"PC7", located));
    EXPECT_EQ(located.view(), u"\\Sales\\Berlin");
    scene.ExpectAllReleased();
}

} // namespace
} // namespace corvane::testing_directory
