#include "directory/computer_account.h"
#include "directory_scene.h"

#include <gtest/gtest.h>

namespace corvane::testing_directory {
namespace {

constexpr std::u16string_view kBerlin = u"OU=Berlin,OU=Sales,DC=a,DC=b,DC=c";
constexpr std::u16string_view kComputers = u"CN=Computers,DC=a,DC=b,DC=c";
constexpr std::u16string_view kInfo = u"Info(00000000)";

std::u16string Message(std::u16string_view text) {
    return u"MoveComputerAccountToOrganizationUnit: " + std::u16string(text);
}

// The entries of each step, with the code word and interface as given.
std::u16string SearchBind(std::u16string_view head, std::u16string_view pointer) {
    return Line(head, Message(u"ADsOpenObject(IDirectorySearch) = " + std::u16string(pointer)));
}
std::u16string Preference(std::u16string_view head = kInfo) {
    return Line(head, Message(u"SetSearchPreference"));
}
std::u16string TargetBind(std::u16string_view head, std::u16string_view path,
                          std::u16string_view pointer) {
    return Line(head, Message(u"Path = " + std::u16string(path))) +
           Line(head, Message(u"ADsOpenObject(IADsContainer) = " + std::u16string(pointer)));
}
std::u16string Moved(std::u16string_view head, std::u16string_view source) {
    return Line(head, Message(u"MoveHere(Source: " + std::u16string(source) + u")"));
}
std::u16string Queried(std::u16string_view head = kInfo) {
    return Line(head, Message(u"QueryInterface(IADs)"));
}
std::u16string Committed(std::u16string_view head = kInfo) {
    // No blank behind the colon in this one.
    return Line(head, u"MoveComputerAccountToOrganizationUnit:IADs.SetInfo");
}

constexpr std::u16string_view kBerlinPath = u"LDAP://a.b.c/OU=Berlin,OU=Sales,DC=a,DC=b,DC=c";
constexpr std::u16string_view kPc1Path = u"LDAP://a.b.c/CN=PC1,CN=Computers,DC=a,DC=b,DC=c";

TEST(MoveComputerAccount, MovesIntoTheUnitAndLogsEveryStep) {
    DirectoryScene scene;
    EXPECT_EQ(MoveComputerAccountToOrganizationUnit(scene.os(), scene.state, u"a.b.c", u"PC1",
                                                    u"\\Sales\\Berlin"),
              0u);
    EXPECT_EQ(scene.ParentOf(u"PC1"), kBerlin);
    EXPECT_EQ(scene.LogText(), SearchBind(kInfo, DirectoryScene::kFirst) + Preference() +
                                   TargetBind(kInfo, kBerlinPath, DirectoryScene::kSecond) +
                                   Moved(kInfo, kPc1Path) + Queried() + Committed());
    // The search: the domain with the stored account, the exact filter, the
    // one attribute, pages of 100.
    const std::vector<std::string> binds = scene.Binds();
    ASSERT_EQ(binds.size(), 2u);
    EXPECT_EQ(binds[0],
              "ADsOpenObject(LDAP://a.b.c, installer@a.b.c, ***, 0x1, IDirectorySearch) = 0");
    EXPECT_EQ(binds[1], "ADsOpenObject(LDAP://a.b.c/OU=Berlin,OU=Sales,DC=a,DC=b,DC=c, "
                        "installer@a.b.c, ***, 0x1, IADsContainer) = 0");
    EXPECT_EQ(scene.world.JournalLines("ExecuteSearch"),
              std::vector<std::string>{
                  "ExecuteSearch((&(objectClass=computer)(name=PC1)), ADsPath) = 0"});
    EXPECT_EQ(scene.world.DirectorySearchPages(), 1u);
    scene.ExpectAllReleased();
}

TEST(MoveComputerAccount, AnEmptyOuPathMovesBackToTheDefaultContainer) {
    DirectoryScene scene;
    scene.domain.AddComputer(u"PC2", kBerlin);
    EXPECT_EQ(MoveComputerAccountToOrganizationUnit(scene.os(), scene.state, u"a.b.c", u"PC2", u""),
              0u);
    EXPECT_EQ(scene.ParentOf(u"PC2"), kComputers);
    EXPECT_EQ(scene.LogText(),
              SearchBind(kInfo, DirectoryScene::kFirst) + Preference() +
                  TargetBind(kInfo, u"LDAP://a.b.c/CN=Computers,DC=a,DC=b,DC=c",
                             DirectoryScene::kSecond) +
                  Moved(kInfo, u"LDAP://a.b.c/CN=PC2,OU=Berlin,OU=Sales,DC=a,DC=b,DC=c") +
                  Queried() + Committed());
    scene.ExpectAllReleased();
}

TEST(MoveComputerAccount, AMissingComputerIs2697WithoutAContainerBind) {
    DirectoryScene scene;
    EXPECT_EQ(MoveComputerAccountToOrganizationUnit(scene.os(), scene.state, u"a.b.c", u"PC9",
                                                    u"\\Sales\\Berlin"),
              platform::error::kNerrComputerAccountNotFound);
    EXPECT_EQ(scene.LogText(), SearchBind(kInfo, DirectoryScene::kFirst) + Preference());
    EXPECT_EQ(scene.Binds().size(), 1u);
    EXPECT_EQ(scene.ParentOf(u"PC1"), kComputers);
    scene.ExpectAllReleased();
}

TEST(MoveComputerAccount, AUnitThatDoesNotExistFailsTheContainerBind) {
    DirectoryScene scene;
    EXPECT_EQ(MoveComputerAccountToOrganizationUnit(scene.os(), scene.state, u"a.b.c", u"PC1",
                                                    u"\\Sales\\Paris"),
              8240u); // ERROR_DS_NO_SUCH_OBJECT
    EXPECT_EQ(scene.LogText(),
              SearchBind(kInfo, DirectoryScene::kFirst) + Preference() +
                  TargetBind(u"Error(0x80072030)", u"LDAP://a.b.c/OU=Paris,OU=Sales,DC=a,DC=b,DC=c",
                             DirectoryScene::kNull));
    EXPECT_EQ(scene.ParentOf(u"PC1"), kComputers);
    scene.ExpectAllReleased();
}

TEST(MoveComputerAccount, AFailureAtEachStepIsLoggedAndReturnedReduced) {
    struct Case {
        const char* name;
        std::string_view operation;
        std::uint32_t code;
        std::u16string_view subject;
        platform::ErrorCode result;
        std::u16string log;
        std::u16string_view parentAfter;
    };
    const std::u16string searched = SearchBind(kInfo, DirectoryScene::kFirst) + Preference();
    const std::u16string bound = searched + TargetBind(kInfo, kBerlinPath, DirectoryScene::kSecond);
    const Case cases[] = {
        {"search bind", "ADsOpenObject", 0x80070005u, u"LDAP://a.b.c", 5,
         SearchBind(u"Error(0x80070005)", DirectoryScene::kNull), kComputers},
        {"page size", "SetSearchPreference", 0x80004005u, u"", 0x4005,
         SearchBind(kInfo, DirectoryScene::kFirst) + Preference(u"Error(0x80004005)"), kComputers},
        {"search", "ExecuteSearch", 0x80004005u, u"", 0x4005, searched, kComputers},
        {"first row", "GetNextRow", 0x80004005u, u"", 2697, searched, kComputers},
        {"no more rows", "GetNextRow", 0x00005012u, u"", 2697, searched, kComputers},
        {"path column", "GetColumn", 0x80005010u, u"ADsPath", 2697, searched, kComputers},
        {"container bind", "ADsOpenObject", 0x8007052Eu, kBerlinPath, 1326,
         searched + TargetBind(u"Error(0x8007052e)", kBerlinPath, DirectoryScene::kNull),
         kComputers},
        {"move", "MoveHere", 0x80070005u, u"", 5, bound + Moved(u"Error(0x80070005)", kPc1Path),
         kComputers},
        // MoveHere has moved the object already when the commit fails.
        {"IADs", "QueryInterface", 0x80004002u, u"IADs", 0x4002,
         bound + Moved(kInfo, kPc1Path) + Queried(u"Error(0x80004002)"), kBerlin},
        {"commit", "SetInfo", 0x80004005u, u"", 0x4005,
         bound + Moved(kInfo, kPc1Path) + Queried() + Committed(u"Error(0x80004005)"), kBerlin},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DirectoryScene scene;
        ASSERT_TRUE(scene.world.InjectFailure(c.operation, c.code, sim::kAlways, c.subject));
        EXPECT_EQ(MoveComputerAccountToOrganizationUnit(scene.os(), scene.state, u"a.b.c", u"PC1",
                                                        u"\\Sales\\Berlin"),
                  c.result);
        EXPECT_EQ(scene.LogText(), c.log);
        EXPECT_EQ(scene.ParentOf(u"PC1"), c.parentAfter);
        scene.ExpectAllReleased();
    }
}

TEST(MoveComputerAccount, RefusedCredentialsGiveTheirCodes) {
    struct Case {
        const char* name;
        std::u16string_view account;
        std::u16string_view password;
        platform::ErrorCode refusal; // the domain's code for refused binds
        platform::ErrorCode result;
        std::u16string_view head;
    };
    const Case cases[] = {
        {"wrong password", u"installer@a.b.c", u"wrong", 1326, 1326, u"Error(0x8007052e)"},
        {"refused as access denied", u"nobody", u"x", 5, 5, u"Error(0x80070005)"},
        {"disabled account", u"retired@a.b.c", u"old", 1326, 1331, u"Error(0x80070533)"},
        // No stored account: the own logon, which this domain refuses.
        {"own logon", u"", u"s3cret", 1326, 1326, u"Error(0x8007052e)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DirectoryScene scene;
        scene.domain.SetRefusalCode(sim::DomainOperation::Directory, c.refusal);
        scene.state.Account.Assign(c.account);
        scene.state.Password.Assign(c.password);
        EXPECT_EQ(MoveComputerAccountToOrganizationUnit(scene.os(), scene.state, u"a.b.c", u"PC1",
                                                        u"\\Sales\\Berlin"),
                  c.result);
        EXPECT_EQ(scene.LogText(), SearchBind(c.head, DirectoryScene::kNull));
        scene.ExpectAllReleased();
    }
}

TEST(MoveComputerAccount, WithoutAStoredAccountTheOwnLogonBindsEveryStep) {
    DirectoryScene scene;
    scene.domain.SetAcceptsOwnLogon(true);
    scene.state.Account.Clear();
    scene.state.Password.Assign(u"ignored");
    EXPECT_EQ(MoveComputerAccountToOrganizationUnit(scene.os(), scene.state, u"a.b.c", u"PC1",
                                                    u"\\Sales\\Berlin"),
              0u);
    for (const std::string& bind : scene.Binds()) {
        EXPECT_NE(bind.find(", -, -, 0x1, "), std::string::npos) << bind;
    }
    EXPECT_EQ(scene.ParentOf(u"PC1"), kBerlin);
    scene.ExpectAllReleased();
}

TEST(MoveComputerAccount, AnAccountWithoutRightsIsRefusedAtTheMove) {
    DirectoryScene scene;
    scene.state.Account.Assign(u"reader@a.b.c");
    scene.state.Password.Assign(u"look");
    EXPECT_EQ(MoveComputerAccountToOrganizationUnit(scene.os(), scene.state, u"a.b.c", u"PC1",
                                                    u"\\Sales\\Berlin"),
              5u);
    EXPECT_EQ(scene.LogText(), SearchBind(kInfo, DirectoryScene::kFirst) + Preference() +
                                   TargetBind(kInfo, kBerlinPath, DirectoryScene::kSecond) +
                                   Moved(u"Error(0x80070005)", kPc1Path));
    EXPECT_EQ(scene.ParentOf(u"PC1"), kComputers);
    scene.ExpectAllReleased();
}

TEST(MoveComputerAccount, TheNameIsMatchedExactlyNeverAsAPattern) {
    DirectoryScene scene;
    scene.domain.AddComputer(u"PC2");
    // PC* matches PC1 and PC2 as a pattern; as a name it matches nothing.
    EXPECT_EQ(MoveComputerAccountToOrganizationUnit(scene.os(), scene.state, u"a.b.c", u"PC*",
                                                    u"\\Sales\\Berlin"),
              platform::error::kNerrComputerAccountNotFound);
    EXPECT_EQ(scene.ParentOf(u"PC1"), kComputers);
    EXPECT_EQ(scene.ParentOf(u"PC2"), kComputers);
    EXPECT_EQ(scene.world.JournalLines("ExecuteSearch"),
              std::vector<std::string>{
                  "ExecuteSearch((&(objectClass=computer)(name=PC\\2a)), ADsPath) = 0"});
    // Filter syntax in a name does not widen the search either.
    EXPECT_EQ(MoveComputerAccountToOrganizationUnit(scene.os(), scene.state, u"a.b.c", u"x)(name=*",
                                                    u"\\Sales\\Berlin"),
              platform::error::kNerrComputerAccountNotFound);
    EXPECT_EQ(scene.ParentOf(u"PC1"), kComputers);
    // An object that really bears such a name is found.
    scene.domain.AddComputer(u"LAB(1)*");
    EXPECT_EQ(MoveComputerAccountToOrganizationUnit(scene.os(), scene.state, u"a.b.c", u"LAB(1)*",
                                                    u"\\Sales\\Berlin"),
              0u);
    EXPECT_EQ(scene.ParentOf(u"LAB(1)*"), kBerlin);
    EXPECT_EQ(scene.ParentOf(u"PC1"), kComputers);
    scene.ExpectAllReleased();
}

TEST(MoveComputerAccount, TheRowReturnedLastIsMoved) {
    DirectoryScene scene;
    const std::u16string units[] = {u"Old"};
    scene.tree().EnsureOrganizationalUnits(units);
    const sim::ObjectId second = scene.domain.AddComputer(u"PC1", u"OU=Old");
    ASSERT_NE(second, sim::kNoObject);
    EXPECT_EQ(MoveComputerAccountToOrganizationUnit(scene.os(), scene.state, u"a.b.c", u"PC1",
                                                    u"\\Sales\\Berlin"),
              0u);
    EXPECT_EQ(scene.tree().DistinguishedName(second), u"CN=PC1," + std::u16string(kBerlin));
    EXPECT_EQ(scene.ParentOf(u"PC1"), kComputers); // the oldest stays
    scene.ExpectAllReleased();
}

TEST(MoveComputerAccount, APathLongerThanTheSourceFieldIsNeverCutAndMoved) {
    // "LDAP://a.b.c/CN=PC1,OU=<unit>,DC=a,DC=b,DC=c" is 38 characters and
    // the unit's name; the field holds 128.
    struct Case {
        std::size_t unitLength;
        platform::ErrorCode result;
        bool moved;
    };
    const Case cases[] = {{90, 0, true},
                          {91, platform::error::kBufferOverflow, false},
                          {200, platform::error::kBufferOverflow, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.unitLength);
        DirectoryScene scene;
        scene.tree().Delete(scene.domain.FindComputer(u"PC1"));
        const std::u16string units[] = {std::u16string(c.unitLength, u'u')};
        scene.tree().EnsureOrganizationalUnits(units);
        const std::u16string unitDn = u"OU=" + units[0] + u",DC=a,DC=b,DC=c";
        const sim::ObjectId pc1 = scene.domain.AddComputer(u"PC1", unitDn);
        ASSERT_EQ(scene.tree().DistinguishedName(pc1).size() + 13, 38 + c.unitLength);
        EXPECT_EQ(MoveComputerAccountToOrganizationUnit(scene.os(), scene.state, u"a.b.c", u"PC1",
                                                        u"\\Sales\\Berlin"),
                  c.result);
        EXPECT_EQ(scene.ParentOf(u"PC1"), c.moved ? std::u16string(kBerlin) : unitDn);
        if (!c.moved) {
            // Nothing was bound or moved after the search.
            EXPECT_EQ(scene.Binds().size(), 1u);
            EXPECT_EQ(scene.LogText(), SearchBind(kInfo, DirectoryScene::kFirst) + Preference());
        }
        scene.ExpectAllReleased();
    }
}

TEST(MoveComputerAccount, AUsableRowStillWinsOverAnOverlongOne) {
    DirectoryScene scene;
    const std::u16string units[] = {std::u16string(120, u'u')};
    scene.tree().EnsureOrganizationalUnits(units);
    ASSERT_NE(scene.domain.AddComputer(u"PC1", u"OU=" + units[0]), sim::kNoObject);
    EXPECT_EQ(MoveComputerAccountToOrganizationUnit(scene.os(), scene.state, u"a.b.c", u"PC1",
                                                    u"\\Sales\\Berlin"),
              0u);
    // The first PC1 (in CN=Computers) was the one that could be named.
    EXPECT_EQ(scene.tree().Children(scene.tree().Find(kBerlin)).size(), 1u);
    EXPECT_EQ(scene.tree().Children(scene.tree().DefaultComputerContainer()).size(), 0u);
    scene.ExpectAllReleased();
}

TEST(MoveComputerAccount, AnUnreachableDomainFailsTheSearchBind) {
    DirectoryScene scene;
    scene.domain.SetReachable(false);
    EXPECT_EQ(MoveComputerAccountToOrganizationUnit(scene.os(), scene.state, u"a.b.c", u"PC1",
                                                    u"\\Sales\\Berlin"),
              8250u); // ERROR_DS_SERVER_DOWN
    EXPECT_EQ(scene.LogText(), SearchBind(u"Error(0x8007203a)", DirectoryScene::kNull));
    scene.ExpectAllReleased();
}

TEST(MoveComputerAccount, LeavesAComBracketOfTheCallerAlone) {
    // CoInitialize refused because the thread already runs another
    // apartment model: the operation works in that apartment and must not
    // end it.
    DirectoryScene scene;
    platform::DirectoryService& directory = scene.os().directory;
    ASSERT_FALSE(platform::hresult::Failed(directory.CoInitialize()));
    scene.world.InjectFailure("CoInitialize", 0x80010106u, 1);
    EXPECT_EQ(MoveComputerAccountToOrganizationUnit(scene.os(), scene.state, u"a.b.c", u"PC1",
                                                    u"\\Sales\\Berlin"),
              0u);
    EXPECT_EQ(scene.world.OpenComBrackets(), 1u);
    directory.CoUninitialize();
    EXPECT_EQ(scene.ParentOf(u"PC1"), kBerlin);
    scene.ExpectAllReleased();
}

TEST(MoveComputerAccount, AFailedCoInitializeIsNotUndone) {
    DirectoryScene scene;
    scene.world.InjectFailure("CoInitialize", 0x8007000Eu, 1);
    // Without COM on the thread the bind fails (CO_E_NOTINITIALIZED).
    EXPECT_EQ(MoveComputerAccountToOrganizationUnit(scene.os(), scene.state, u"a.b.c", u"PC1",
                                                    u"\\Sales\\Berlin"),
              0x01F0u);
    EXPECT_EQ(scene.LogText(), SearchBind(u"Error(0x800401f0)", DirectoryScene::kNull));
    scene.ExpectAllReleased();
}

} // namespace
} // namespace corvane::testing_directory
