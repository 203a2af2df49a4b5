#include "directory/computer_account.h"
#include "directory_scene.h"

#include <gtest/gtest.h>

namespace corvane::testing_directory {
namespace {

constexpr std::u16string_view kInfo = u"Info(00000000)";
constexpr std::u16string_view kComputers = u"CN=Computers,DC=a,DC=b,DC=c";
constexpr std::u16string_view kBerlin = u"OU=Berlin,OU=Sales,DC=a,DC=b,DC=c";

std::u16string Entry(std::u16string_view head, std::u16string_view operation,
                     std::u16string_view text) {
    return Line(head, std::u16string(operation) + u": " + std::u16string(text));
}

std::u16string Bound(std::u16string_view operation, std::u16string_view head,
                     std::u16string_view pointer) {
    return Entry(kInfo, operation, u"Path: WinNT://a.b.c") +
           Entry(head, operation, u"ADsOpenObject(IADsContainer) = " + std::u16string(pointer));
}

std::u16string CreationLog(std::u16string_view createHead = kInfo,
                           std::u16string_view queryHead = kInfo) {
    return Bound(u"CreateComputerAccount", kInfo, DirectoryScene::kFirst) +
           Entry(createHead, u"CreateComputerAccount", u"Create") +
           Entry(queryHead, u"CreateComputerAccount", u"QueryInterface");
}

TEST(CreateComputerAccount, CreatesTheAccountInTheDefaultContainer) {
    DirectoryScene scene;
    EXPECT_EQ(CreateComputerAccount(scene.os(), scene.state, u"a.b.c", u"PC9", std::nullopt), 0u);
    EXPECT_EQ(scene.ParentOf(u"PC9"), kComputers);
    const sim::ObjectId account = scene.domain.FindComputer(u"PC9");
    ASSERT_NE(scene.tree().Attribute(account, u"sAMAccountName"), nullptr);
    EXPECT_EQ(*scene.tree().Attribute(account, u"sAMAccountName"), u"PC9$");
    EXPECT_EQ(scene.LogText(), CreationLog());
    EXPECT_EQ(scene.Binds(),
              std::vector<std::string>{
                  "ADsOpenObject(WinNT://a.b.c, installer@a.b.c, ***, 0x1, IADsContainer) = 0"});
    EXPECT_EQ(scene.world.JournalLines("Create"),
              std::vector<std::string>{"Create(computer, PC9) = 0"});
    scene.ExpectAllReleased();
}

TEST(CreateComputerAccount, AnEmptyOuPathMovesNothing) {
    DirectoryScene scene;
    EXPECT_EQ(CreateComputerAccount(scene.os(), scene.state, u"a.b.c", u"PC9", u""), 0u);
    EXPECT_EQ(scene.ParentOf(u"PC9"), kComputers);
    EXPECT_EQ(scene.LogText(), CreationLog());
    EXPECT_EQ(scene.Binds().size(), 1u);
    scene.ExpectAllReleased();
}

TEST(CreateComputerAccount, AnOuPathMovesTheNewAccountThere) {
    DirectoryScene scene;
    EXPECT_EQ(CreateComputerAccount(scene.os(), scene.state, u"a.b.c", u"PC9", u"\\Sales\\Berlin"),
              0u);
    EXPECT_EQ(scene.ParentOf(u"PC9"), kBerlin);
    const std::u16string_view move = u"MoveComputerAccountToOrganizationUnit";
    EXPECT_EQ(
        scene.LogText(),
        CreationLog() +
            Entry(kInfo, move,
                  u"ADsOpenObject(IDirectorySearch) = " + std::u16string(DirectoryScene::kFirst)) +
            Entry(kInfo, move, u"SetSearchPreference") +
            Entry(kInfo, move, u"Path = LDAP://a.b.c/OU=Berlin,OU=Sales,DC=a,DC=b,DC=c") +
            Entry(kInfo, move,
                  u"ADsOpenObject(IADsContainer) = " + std::u16string(DirectoryScene::kSecond)) +
            Entry(kInfo, move,
                  u"MoveHere(Source: LDAP://a.b.c/CN=PC9,CN=Computers,DC=a,DC=b,DC=c)") +
            Entry(kInfo, move, u"QueryInterface(IADs)") +
            Line(kInfo, u"MoveComputerAccountToOrganizationUnit:IADs.SetInfo"));
    scene.ExpectAllReleased();
}

TEST(CreateComputerAccount, TheMovesResultIsReturned) {
    DirectoryScene scene;
    // The search of the move finds no row.
    scene.world.InjectFailure("GetNextRow", 0x80004005u);
    EXPECT_EQ(CreateComputerAccount(scene.os(), scene.state, u"a.b.c", u"PC9", u"\\Sales\\Berlin"),
              platform::error::kNerrComputerAccountNotFound);
    EXPECT_EQ(scene.ParentOf(u"PC9"), kComputers);
    scene.ExpectAllReleased();

    DirectoryScene missingUnit;
    EXPECT_EQ(
        CreateComputerAccount(missingUnit.os(), missingUnit.state, u"a.b.c", u"PC9", u"\\Nowhere"),
        8240u);
    EXPECT_EQ(missingUnit.ParentOf(u"PC9"), kComputers);
    missingUnit.ExpectAllReleased();
}

TEST(CreateComputerAccount, AFailureAtEachStepIsReturnedAndNothingIsMoved) {
    struct Case {
        const char* name;
        std::string_view operation;
        std::uint32_t code;
        platform::ErrorCode result;
        std::u16string log;
        bool created;
    };
    const std::u16string_view create = u"CreateComputerAccount";
    const Case cases[] = {
        {"bind", "ADsOpenObject", 0x8007052Eu, 1326,
         Bound(create, u"Info(0x8007052e)", DirectoryScene::kNull), false},
        {"create", "Create", 0x80070005u, 5,
         Bound(create, kInfo, DirectoryScene::kFirst) + Entry(u"Info(00000005)", create, u"Create"),
         false},
        // Without the commit there is no account, and the result says so.
        {"IADs", "QueryInterface", 0x80004002u, 0x4002, CreationLog(kInfo, u"Info(00016386)"),
         false},
        {"commit", "SetInfo", 0x80070005u, 5, CreationLog(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DirectoryScene scene;
        scene.world.InjectFailure(c.operation, c.code);
        EXPECT_EQ(
            CreateComputerAccount(scene.os(), scene.state, u"a.b.c", u"PC9", u"\\Sales\\Berlin"),
            c.result);
        EXPECT_EQ(scene.LogText(), c.log);
        EXPECT_EQ(scene.ParentOf(u"PC9"), u"-");
        // No move was tried.
        EXPECT_TRUE(scene.world.JournalLines("ExecuteSearch").empty());
        scene.ExpectAllReleased();
    }
}

TEST(CreateComputerAccount, TheDomainsRefusalsAtTheCommitReachTheCaller) {
    struct Case {
        const char* name;
        std::u16string_view computer;
        std::u16string_view account;
        std::u16string_view password;
        platform::ErrorCode result;
    };
    const Case cases[] = {
        {"account exists", u"PC1", u"installer@a.b.c", u"s3cret", 2224},       // NERR_UserExists
        {"no right to create", u"PC9", u"reader@a.b.c", u"look", 5},           // asks for others
        {"name not allowed", u"BAD/NAME", u"installer@a.b.c", u"s3cret", 123}, // ERROR_INVALID_NAME
        {"name too long", u"ABCDEFGHIJKLMNOP", u"installer@a.b.c", u"s3cret", 123},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DirectoryScene scene;
        scene.state.Account.Assign(c.account);
        scene.state.Password.Assign(c.password);
        const std::size_t before = scene.tree().Size();
        EXPECT_EQ(CreateComputerAccount(scene.os(), scene.state, u"a.b.c", c.computer, u""),
                  c.result);
        EXPECT_EQ(scene.tree().Size(), before);
        EXPECT_EQ(scene.LogText(), CreationLog());
        scene.ExpectAllReleased();
    }
}

TEST(CreateComputerAccount, UnknownDomainAndRefusedCredentials) {
    struct Case {
        const char* name;
        std::u16string_view domain;
        std::u16string_view password;
        platform::ErrorCode result;
        std::u16string_view head;
    };
    const Case cases[] = {
        {"unknown domain", u"nosuch", u"s3cret", 1355, u"Info(0x8007054b)"},
        {"wrong password", u"SALES", u"wrong", 1326, u"Info(0x8007052e)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DirectoryScene scene;
        scene.state.Password.Assign(c.password);
        EXPECT_EQ(CreateComputerAccount(scene.os(), scene.state, c.domain, u"PC9", u"\\Sales"),
                  c.result);
        const std::u16string path = u"Path: WinNT://" + std::u16string(c.domain);
        EXPECT_EQ(scene.LogText(), Entry(kInfo, u"CreateComputerAccount", path) +
                                       Entry(c.head, u"CreateComputerAccount",
                                             u"ADsOpenObject(IADsContainer) = 0000000000000000"));
        EXPECT_EQ(scene.ParentOf(u"PC9"), u"-");
        scene.ExpectAllReleased();
    }
}

TEST(DeleteComputerAccount, RemovesTheAccount) {
    DirectoryScene scene;
    scene.domain.AddComputer(u"PC7", u"OU=Berlin,OU=Sales");
    EXPECT_EQ(DeleteComputerAccount(scene.os(), scene.state, u"a.b.c", u"PC7"), 0u);
    EXPECT_EQ(scene.ParentOf(u"PC7"), u"-");
    EXPECT_EQ(scene.ParentOf(u"PC1"), kComputers);
    EXPECT_EQ(scene.LogText(), Bound(u"DeleteComputerAccount", kInfo, DirectoryScene::kFirst) +
                                   Entry(kInfo, u"DeleteComputerAccount", u"Delete"));
    EXPECT_EQ(scene.world.JournalLines("Delete"),
              std::vector<std::string>{"Delete(computer, PC7) = 0"});
    scene.ExpectAllReleased();
}

TEST(DeleteComputerAccount, ARefusedDeletionReturnsItsCode) {
    struct Case {
        const char* name;
        std::u16string_view computer;
        std::u16string_view account;
        std::u16string_view password;
        std::string_view inject;
        platform::ErrorCode result;
        std::u16string log;
    };
    const std::u16string_view del = u"DeleteComputerAccount";
    const std::u16string bound = Bound(del, kInfo, DirectoryScene::kFirst);
    const Case cases[] = {
        {"no such account", u"PC9", u"installer@a.b.c", u"s3cret", "", 2221,
         bound + Entry(u"Info(00002221)", del, u"Delete")},
        {"no right", u"PC1", u"reader@a.b.c", u"look", "", 5,
         bound + Entry(u"Info(00000005)", del, u"Delete")},
        {"injected", u"PC1", u"installer@a.b.c", u"s3cret", "Delete", 0x4005,
         bound + Entry(u"Info(00016389)", del, u"Delete")},
        {"refused bind", u"PC1", u"installer@a.b.c", u"wrong", "", 1326,
         Bound(del, u"Info(0x8007052e)", DirectoryScene::kNull)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DirectoryScene scene;
        scene.state.Account.Assign(c.account);
        scene.state.Password.Assign(c.password);
        if (!c.inject.empty()) {
            scene.world.InjectFailure(c.inject, 0x80004005u);
        }
        EXPECT_EQ(DeleteComputerAccount(scene.os(), scene.state, u"a.b.c", c.computer), c.result);
        EXPECT_EQ(scene.LogText(), c.log);
        EXPECT_EQ(scene.ParentOf(u"PC1"), kComputers);
        scene.ExpectAllReleased();
    }
}

} // namespace
} // namespace corvane::testing_directory
