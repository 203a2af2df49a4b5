// The sim's directory service on its own: binds, searches with their pages,
// the commit of created objects, moves and deletions, and the counters that
// show what was not given back.
#include "platform/sim/world.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace corvane::sim {
namespace {

using platform::DirectoryInterface;
using platform::DirectoryInterfaceKind;
using platform::HResult;

constexpr auto kSearch = DirectoryInterfaceKind::DirectorySearch;
constexpr auto kContainer = DirectoryInterfaceKind::Container;
constexpr auto kAds = DirectoryInterfaceKind::Ads;

HResult H(std::uint32_t value) {
    return static_cast<HResult>(value);
}

class SimDirectoryTest : public testing::Test {
protected:
    SimDirectoryTest() : domain(world.AddDomain(u"SALES", u"a.b.c")), ads(world.directory()) {
        domain.AddCredential(u"installer@a.b.c", u"s3cret");
        domain.AddCredential(u"reader@a.b.c", u"look", false, true);
        const std::u16string units[] = {u"Sales", u"Berlin"};
        domain.Directory().EnsureOrganizationalUnits(units);
        domain.AddComputer(u"PC1");
        EXPECT_EQ(ads.CoInitialize(), platform::hresult::kOk);
    }
    ~SimDirectoryTest() override { ads.CoUninitialize(); }

    HResult Open(std::u16string_view path, DirectoryInterfaceKind kind, DirectoryInterface* object,
                 const char16_t* user = u"installer@a.b.c", const char16_t* password = u"s3cret") {
        const std::u16string text(path);
        return ads.OpenObject(text.c_str(), user, password, platform::kAdsSecureAuthentication,
                              kind, object);
    }

    // The ADsPath of every row of a search at `base`, with the page size.
    std::vector<std::u16string> Search(std::u16string_view base, std::u16string_view filter,
                                       std::uint32_t pageSize = 100) {
        DirectoryInterface search = 0;
        EXPECT_EQ(Open(base, kSearch, &search), platform::hresult::kOk);
        if (pageSize != 0) {
            const platform::DirectorySearchPreference page{platform::kAdsSearchPrefPageSize,
                                                           platform::kAdsTypeInteger, pageSize};
            EXPECT_EQ(ads.SetSearchPreference(search, &page, 1), platform::hresult::kOk);
        }
        const std::u16string text(filter);
        const char16_t* const attributes[] = {u"ADsPath"};
        platform::DirectorySearchHandle handle = 0;
        EXPECT_EQ(ads.ExecuteSearch(search, text.c_str(), attributes, 1, &handle),
                  platform::hresult::kOk);
        std::vector<std::u16string> rows;
        HResult next = 0;
        while ((next = ads.GetNextRow(search, handle)) == platform::hresult::kOk) {
            platform::DirectorySearchColumn column;
            EXPECT_EQ(ads.GetColumn(search, handle, u"ADsPath", &column), platform::hresult::kOk);
            rows.emplace_back(column.text);
            EXPECT_EQ(ads.FreeColumn(search, &column), platform::hresult::kOk);
        }
        EXPECT_EQ(next, platform::hresult::kNoMoreRows);
        EXPECT_EQ(ads.CloseSearchHandle(search, handle), platform::hresult::kOk);
        ads.Release(search);
        return rows;
    }

    void ExpectNothingHeld() {
        EXPECT_EQ(world.LiveDirectoryInterfaces(), 0u);
        EXPECT_EQ(world.OpenDirectorySearches(), 0u);
        EXPECT_EQ(world.HeldSearchColumns(), 0u);
        EXPECT_EQ(world.InvalidDirectoryCalls(), 0u);
    }

    World world;
    Domain& domain;
    platform::DirectoryService& ads;
};

TEST_F(SimDirectoryTest, BindsPathsOfBothProviders) {
    world.SetJoinState(platform::JoinStatus::Domain, u"SALES");
    world.AddDomain(u"GONE", u"gone.example").SetReachable(false);
    struct Case {
        std::u16string_view path;
        DirectoryInterfaceKind kind;
        std::uint32_t status;
    };
    const Case cases[] = {
        {u"LDAP://a.b.c", kSearch, 0},
        {u"LDAP://A.B.C", kContainer, 0},
        {u"LDAP://SALES", kSearch, 0},
        {u"LDAP://a.b.c:389/CN=Computers,DC=a,DC=b,DC=c", kContainer, 0},
        {u"LDAP://a.b.c/OU=Berlin,OU=Sales,DC=a,DC=b,DC=c", kContainer, 0},
        {u"LDAP://a.b.c/ou=berlin,ou=sales,dc=A,dc=B,dc=C", kAds, 0},
        {u"LDAP://a.b.c/CN=PC1,CN=Computers,DC=a,DC=b,DC=c", kAds, 0},
        {u"LDAP://CN=Computers,DC=a,DC=b,DC=c", kContainer, 0}, // serverless
        {u"LDAP://a.b.c/OU=Paris,DC=a,DC=b,DC=c", kContainer, 0x80072030u},
        {u"LDAP://a.b.c/OU=Berlin,DC=x", kContainer, 0x80072030u},
        {u"LDAP://a.b.c/no DN", kContainer, 0x80072032u},
        {u"LDAP://a.b.c/,DC=a", kContainer, 0x80072032u},
        {u"LDAP://nosuch.example", kSearch, 0x8007203Au},
        {u"LDAP://gone.example", kSearch, 0x8007203Au},
        {u"LDAP://", kSearch, 0x80005000u},
        {u"ldap://a.b.c", kSearch, 0x80005000u},
        {u"GC://a.b.c", kSearch, 0x80005000u},
        {u"", kSearch, 0x80005000u},
        {u"WinNT://a.b.c", kContainer, 0},
        {u"WinNT://SALES", kAds, 0},
        {u"WinNT://SALES", kSearch, 0x80004002u},
        {u"WinNT://SALES/PC1", kAds, 0},
        {u"WinNT://SALES/PC1,computer", kContainer, 0x80004002u},
        {u"WinNT://SALES/PC9", kAds, 0x800708ADu},
        {u"WinNT://nosuch", kContainer, 0x8007054Bu},
        {u"WinNT://", kContainer, 0x80005000u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path.begin(), c.path.end()));
        DirectoryInterface object = 1;
        EXPECT_EQ(Open(c.path, c.kind, &object), H(c.status));
        EXPECT_EQ(object != 0, c.status == 0);
        if (object != 0) {
            EXPECT_EQ(ads.Release(object), 0u);
        }
    }
    ExpectNothingHeld();
}

TEST_F(SimDirectoryTest, ChecksTheCredentialsOfEveryBind) {
    domain.AddCredential(u"SALES\\old", u"pw", true);
    struct Case {
        const char16_t* user;
        const char16_t* password;
        std::uint32_t status;
    };
    const Case cases[] = {
        {u"installer@a.b.c", u"s3cret", 0},
        {u"SALES\\installer", u"s3cret", 0},
        {u"INSTALLER", u"s3cret", 0},
        {u"installer@a.b.c", u"wrong", 0x8007052Eu},
        {u"installer@other", u"s3cret", 0x8007052Eu},
        {u"old@a.b.c", u"pw", 0x80070533u},
        {u"", u"", 0x8007052Eu},
        {nullptr, nullptr, 0x8007052Eu}, // the own logon is refused here
    };
    for (const Case& c : cases) {
        DirectoryInterface object = 0;
        EXPECT_EQ(Open(u"LDAP://a.b.c", kSearch, &object, c.user, c.password), H(c.status));
        if (object != 0) {
            ads.Release(object);
        }
    }
    domain.SetRefusalCode(DomainOperation::Directory, 5);
    domain.SetAcceptsOwnLogon(true);
    DirectoryInterface object = 0;
    EXPECT_EQ(Open(u"LDAP://a.b.c", kSearch, &object, u"x", u"y"), H(0x80070005u));
    EXPECT_EQ(Open(u"LDAP://a.b.c", kSearch, &object, nullptr, nullptr), 0);
    ads.Release(object);
    ExpectNothingHeld();
}

TEST_F(SimDirectoryTest, NothingBindsOutsideACoInitializeBracket) {
    ads.CoUninitialize();
    DirectoryInterface object = 0;
    EXPECT_EQ(Open(u"LDAP://a.b.c", kSearch, &object), H(0x800401F0u));
    EXPECT_EQ(object, 0u);
    // Nested brackets: S_FALSE, and each is counted until undone.
    EXPECT_EQ(ads.CoInitialize(), platform::hresult::kOk);
    EXPECT_EQ(ads.CoInitialize(), platform::hresult::kFalse);
    EXPECT_EQ(world.OpenComBrackets(), 2u);
    ads.CoUninitialize();
    EXPECT_EQ(world.OpenComBrackets(), 1u);
    ExpectNothingHeld();
}

TEST_F(SimDirectoryTest, FindsComputersByExactName) {
    domain.AddComputer(u"PC2", u"OU=Berlin,OU=Sales");
    domain.AddComputer(u"PC*", u"OU=Sales");
    domain.AddComputer(u"SERVER");
    const std::u16string_view root = u"LDAP://a.b.c";
    EXPECT_EQ(
        Search(root, u"(&(objectClass=computer)(name=PC2))"),
        std::vector<std::u16string>{u"LDAP://a.b.c/CN=PC2,OU=Berlin,OU=Sales,DC=a,DC=b,DC=c"});
    EXPECT_EQ(Search(root, u"(&(objectClass=computer)(name=PC\\2a))"),
              std::vector<std::u16string>{u"LDAP://a.b.c/CN=PC*,OU=Sales,DC=a,DC=b,DC=c"});
    EXPECT_EQ(Search(root, u"(objectClass=organizationalUnit)").size(), 2u);
    // The search stays below its base, and the path keeps the server as bound.
    EXPECT_EQ(Search(u"LDAP://SALES/OU=Sales,DC=a,DC=b,DC=c", u"(objectClass=computer)"),
              (std::vector<std::u16string>{u"LDAP://SALES/CN=PC2,OU=Berlin,OU=Sales,DC=a,DC=b,DC=c",
                                           u"LDAP://SALES/CN=PC*,OU=Sales,DC=a,DC=b,DC=c"}));
    ExpectNothingHeld();
}

TEST_F(SimDirectoryTest, EscapesSlashesInThePathsItReturns) {
    const std::u16string units[] = {u"a/b"};
    domain.Directory().EnsureOrganizationalUnits(units);
    domain.AddComputer(u"PC5", u"OU=a/b");
    const std::vector<std::u16string> rows =
        Search(u"LDAP://a.b.c", u"(&(objectClass=computer)(name=PC5))");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], u"LDAP://a.b.c/CN=PC5,OU=a\\/b,DC=a,DC=b,DC=c");
    // That path binds the object again.
    DirectoryInterface object = 0;
    EXPECT_EQ(Open(rows[0], kAds, &object), 0);
    ads.Release(object);
    ExpectNothingHeld();
}

TEST_F(SimDirectoryTest, DeliversRowsPageByPage) {
    // 250 computers of one name, one per unit.
    for (int i = 0; i < 250; ++i) {
        std::u16string unit(u"U");
        unit.push_back(static_cast<char16_t>(u'A' + i % 26));
        unit.push_back(static_cast<char16_t>(u'A' + i / 26));
        const std::u16string units[] = {unit};
        domain.Directory().EnsureOrganizationalUnits(units);
        ASSERT_NE(domain.AddComputer(u"DUP", u"OU=" + unit), kNoObject);
    }
    struct Case {
        std::uint32_t pageSize;
        std::size_t rows;
        std::size_t pages;
    };
    const Case cases[] = {{100, 250, 3}, {1, 250, 250}, {250, 250, 1}, {1000, 250, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pageSize);
        const std::size_t before = world.DirectorySearchPages();
        EXPECT_EQ(
            Search(u"LDAP://a.b.c", u"(&(objectClass=computer)(name=DUP))", c.pageSize).size(),
            c.rows);
        EXPECT_EQ(world.DirectorySearchPages() - before, c.pages);
    }
    ExpectNothingHeld();
}

TEST_F(SimDirectoryTest, AnUnpagedSearchStopsAtTheServersLimit) {
    const std::u16string units[] = {u"Many"};
    domain.Directory().EnsureOrganizationalUnits(units);
    for (int i = 0; i < 1500; ++i) {
        std::u16string name(u"N");
        name.push_back(static_cast<char16_t>(0x4E00 + i));
        domain.AddComputer(name, u"OU=Many");
    }
    EXPECT_EQ(Search(u"LDAP://a.b.c/OU=Many,DC=a,DC=b,DC=c", u"(objectClass=computer)", 0).size(),
              1000u);
    EXPECT_EQ(Search(u"LDAP://a.b.c/OU=Many,DC=a,DC=b,DC=c", u"(objectClass=computer)", 100).size(),
              1500u);
    // Pages larger than the server's limit are cut to it.
    const std::size_t before = world.DirectorySearchPages();
    EXPECT_EQ(
        Search(u"LDAP://a.b.c/OU=Many,DC=a,DC=b,DC=c", u"(objectClass=computer)", 5000).size(),
        1500u);
    EXPECT_EQ(world.DirectorySearchPages() - before, 2u);
    ExpectNothingHeld();
}

TEST_F(SimDirectoryTest, ColumnsAndSearchHandlesFollowTheirRules) {
    DirectoryInterface search = 0;
    ASSERT_EQ(Open(u"LDAP://a.b.c", kSearch, &search), 0);
    const char16_t* const attributes[] = {u"ADsPath", u"sAMAccountName"};
    platform::DirectorySearchHandle handle = 0;
    ASSERT_EQ(ads.ExecuteSearch(search, u"(name=PC1)", attributes, 2, &handle), 0);
    platform::DirectorySearchColumn column;
    // Before the first row there is no column.
    EXPECT_EQ(ads.GetColumn(search, handle, u"ADsPath", &column), H(0x80005010u));
    ASSERT_EQ(ads.GetNextRow(search, handle), 0);
    ASSERT_EQ(ads.GetColumn(search, handle, u"sAMAccountName", &column), 0);
    EXPECT_EQ(std::u16string(column.text), u"PC1$");
    EXPECT_EQ(column.valueCount, 1u);
    EXPECT_EQ(world.HeldSearchColumns(), 1u);
    EXPECT_EQ(ads.FreeColumn(search, &column), 0);
    // An attribute that was not asked for is not delivered.
    EXPECT_EQ(ads.GetColumn(search, handle, u"distinguishedName", &column), H(0x80005010u));
    EXPECT_EQ(ads.GetNextRow(search, handle), platform::hresult::kNoMoreRows);
    EXPECT_EQ(ads.GetNextRow(search, handle), platform::hresult::kNoMoreRows);
    EXPECT_EQ(world.OpenDirectorySearches(), 1u);
    EXPECT_EQ(ads.CloseSearchHandle(search, handle), 0);
    // A bad filter is refused at once.
    EXPECT_EQ(ads.ExecuteSearch(search, u"(name=PC(1))", attributes, 2, &handle), H(0x8007203Eu));
    EXPECT_EQ(handle, 0u);
    ads.Release(search);
    ExpectNothingHeld();
}

TEST_F(SimDirectoryTest, CountsWhatIsNotGivenBackOrUsedAfterRelease) {
    DirectoryInterface search = 0;
    ASSERT_EQ(Open(u"LDAP://a.b.c", kSearch, &search), 0);
    DirectoryInterface second = 0;
    ASSERT_EQ(ads.QueryInterface(search, kAds, &second), 0);
    EXPECT_NE(second, search);
    EXPECT_EQ(world.LiveDirectoryInterfaces(), 2u);
    EXPECT_EQ(ads.Release(second), 0u);
    EXPECT_EQ(ads.Release(search), 0u);
    EXPECT_EQ(world.InvalidDirectoryCalls(), 0u);
    // Released twice, used after release, used as another interface.
    EXPECT_EQ(ads.Release(search), 0u);
    EXPECT_EQ(ads.SetInfo(search), platform::hresult::kPointer);
    DirectoryInterface container = 0;
    ASSERT_EQ(Open(u"LDAP://a.b.c", kContainer, &container), 0);
    platform::DirectorySearchHandle handle = 0;
    EXPECT_EQ(ads.ExecuteSearch(container, u"(name=PC1)", nullptr, 0, &handle),
              platform::hresult::kPointer);
    ads.Release(container);
    ads.CoUninitialize();
    ads.CoUninitialize(); // one more than opened
    EXPECT_EQ(ads.CoInitialize(), platform::hresult::kOk);
    EXPECT_EQ(world.InvalidDirectoryCalls(), 4u);
    EXPECT_EQ(world.LiveDirectoryInterfaces(), 0u);
}

TEST_F(SimDirectoryTest, ACreatedObjectExistsOnlyOnceCommitted) {
    DirectoryInterface domainObject = 0;
    ASSERT_EQ(Open(u"WinNT://SALES", kContainer, &domainObject), 0);
    DirectoryInterface created = 0;
    ASSERT_EQ(ads.Create(domainObject, "computer", u"PC9", &created), 0);
    EXPECT_EQ(domain.FindComputer(u"PC9"), kNoObject);
    DirectoryInterface notContainer = 1;
    EXPECT_EQ(ads.QueryInterface(created, kContainer, &notContainer), H(0x80004002u));
    EXPECT_EQ(notContainer, 0u);
    DirectoryInterface account = 0;
    ASSERT_EQ(ads.QueryInterface(created, kAds, &account), 0);
    EXPECT_EQ(ads.SetInfo(account), 0);
    const ObjectId object = domain.FindComputer(u"PC9");
    ASSERT_NE(object, kNoObject);
    EXPECT_EQ(domain.Directory().Parent(object), domain.Directory().DefaultComputerContainer());
    EXPECT_EQ(world.JournalLines("SetInfo"),
              std::vector<std::string>{"SetInfo(WinNT://SALES/PC9) = 0"});
    // Committing again writes nothing new.
    EXPECT_EQ(ads.SetInfo(account), 0);
    EXPECT_EQ(domain.Directory().Size(), 6u);
    // A second account of the name is refused at its commit.
    DirectoryInterface twin = 0;
    ASSERT_EQ(ads.Create(domainObject, "Computer", u"pc9", &twin), 0);
    DirectoryInterface twinAccount = 0;
    ASSERT_EQ(ads.QueryInterface(twin, kAds, &twinAccount), 0);
    EXPECT_EQ(ads.SetInfo(twinAccount), H(0x800708B0u));
    // The WinNT provider of the sim creates computers only.
    DirectoryInterface user = 1;
    EXPECT_EQ(ads.Create(domainObject, "user", u"bob", &user), H(0x80005004u));
    EXPECT_EQ(user, 0u);
    for (const DirectoryInterface held : {twinAccount, twin, account, created, domainObject}) {
        EXPECT_EQ(ads.Release(held), 0u);
    }
    ExpectNothingHeld();
}

TEST_F(SimDirectoryTest, CreatesThroughLdapInTheBoundContainer) {
    DirectoryInterface berlin = 0;
    ASSERT_EQ(Open(u"LDAP://a.b.c/OU=Berlin,OU=Sales,DC=a,DC=b,DC=c", kContainer, &berlin), 0);
    DirectoryInterface created = 0;
    ASSERT_EQ(ads.Create(berlin, "organizationalUnit", u"OU=Lab", &created), 0);
    DirectoryInterface unit = 0;
    ASSERT_EQ(ads.QueryInterface(created, kAds, &unit), 0);
    EXPECT_EQ(domain.Directory().Find(u"OU=Lab,OU=Berlin,OU=Sales,DC=a,DC=b,DC=c"), kNoObject);
    EXPECT_EQ(ads.SetInfo(unit), 0);
    EXPECT_NE(domain.Directory().Find(u"OU=Lab,OU=Berlin,OU=Sales,DC=a,DC=b,DC=c"), kNoObject);
    DirectoryInterface bad = 1;
    EXPECT_EQ(ads.Create(berlin, "computer", u"no name", &bad), H(0x80072032u));
    EXPECT_EQ(bad, 0u);
    for (const DirectoryInterface held : {unit, created, berlin}) {
        ads.Release(held);
    }
    ExpectNothingHeld();
}

TEST_F(SimDirectoryTest, MovesWithinTheDomainOnly) {
    world.AddDomain(u"OTHER", u"other.example").AddComputer(u"FAR");
    DirectoryInterface berlin = 0;
    ASSERT_EQ(Open(u"LDAP://a.b.c/OU=Berlin,OU=Sales,DC=a,DC=b,DC=c", kContainer, &berlin), 0);
    struct Case {
        const char16_t* source;
        std::uint32_t status;
    };
    const Case cases[] = {
        {u"LDAP://other.example/CN=FAR,CN=Computers,DC=other,DC=example", 0x80072035u},
        {u"LDAP://a.b.c/CN=PC9,CN=Computers,DC=a,DC=b,DC=c", 0x80072030u},
        {u"LDAP://a.b.c/bad", 0x80072032u},
        {u"WinNT://SALES/PC1", 0x80005000u},
        // A unit cannot go below itself.
        {u"LDAP://a.b.c/OU=Sales,DC=a,DC=b,DC=c", 0x80072035u},
        {u"LDAP://a.b.c/CN=PC1,CN=Computers,DC=a,DC=b,DC=c", 0},
    };
    for (const Case& c : cases) {
        DirectoryInterface moved = 0;
        EXPECT_EQ(ads.MoveHere(berlin, c.source, nullptr, &moved), H(c.status));
        EXPECT_EQ(moved != 0, c.status == 0);
        if (moved != 0) {
            ads.Release(moved);
        }
    }
    EXPECT_EQ(domain.Directory().DistinguishedName(domain.FindComputer(u"PC1")),
              u"CN=PC1,OU=Berlin,OU=Sales,DC=a,DC=b,DC=c");
    ads.Release(berlin);

    // A logon without write rights binds, but may not move.
    DirectoryInterface computers = 0;
    ASSERT_EQ(Open(u"LDAP://a.b.c/CN=Computers,DC=a,DC=b,DC=c", kContainer, &computers,
                   u"reader@a.b.c", u"look"),
              0);
    DirectoryInterface moved = 0;
    EXPECT_EQ(ads.MoveHere(computers, u"LDAP://a.b.c/CN=PC1,OU=Berlin,OU=Sales,DC=a,DC=b,DC=c",
                           nullptr, &moved),
              H(0x80070005u));
    ads.Release(computers);
    ExpectNothingHeld();
}

TEST_F(SimDirectoryTest, DeletesThroughEitherProvider) {
    DirectoryInterface root = 0;
    ASSERT_EQ(Open(u"LDAP://a.b.c", kContainer, &root), 0);
    // LDAP deletes leaves only, and of the class named.
    EXPECT_EQ(ads.Delete(root, "organizationalUnit", u"OU=Sales"), H(0x80072015u));
    DirectoryInterface sales = 0;
    ASSERT_EQ(Open(u"LDAP://a.b.c/OU=Sales,DC=a,DC=b,DC=c", kContainer, &sales), 0);
    EXPECT_EQ(ads.Delete(sales, "computer", u"OU=Berlin"), H(0x80072030u));
    EXPECT_EQ(ads.Delete(sales, "organizationalUnit", u"OU=Berlin"), 0);
    EXPECT_EQ(ads.Delete(root, "organizationalUnit", u"OU=Sales"), 0);
    EXPECT_EQ(domain.Directory().Find(u"OU=Sales,DC=a,DC=b,DC=c"), kNoObject);
    // The unit is gone under the interface that names it.
    DirectoryInterface gone = 0;
    ASSERT_EQ(ads.QueryInterface(sales, kAds, &gone), 0);
    EXPECT_EQ(ads.SetInfo(gone), H(0x80005009u));
    for (const DirectoryInterface held : {gone, sales, root}) {
        ads.Release(held);
    }

    DirectoryInterface winnt = 0;
    ASSERT_EQ(Open(u"WinNT://a.b.c", kContainer, &winnt), 0);
    EXPECT_EQ(ads.Delete(winnt, "computer", u"PC9"), H(0x800708ADu));
    EXPECT_EQ(ads.Delete(winnt, "computer", u"pc1"), 0);
    EXPECT_EQ(domain.FindComputer(u"PC1"), kNoObject);
    ads.Release(winnt);
    ExpectNothingHeld();
}

TEST_F(SimDirectoryTest, InjectedFailuresHaveNoEffect) {
    world.InjectFailure("MoveHere", 0x80004005u, 1);
    world.InjectFailure("QueryInterface", 0x80004002u, 1, u"IADs");
    DirectoryInterface berlin = 0;
    ASSERT_EQ(Open(u"LDAP://a.b.c/OU=Berlin,OU=Sales,DC=a,DC=b,DC=c", kContainer, &berlin), 0);
    DirectoryInterface moved = 0;
    const char16_t* pc1 = u"LDAP://a.b.c/CN=PC1,CN=Computers,DC=a,DC=b,DC=c";
    EXPECT_EQ(ads.MoveHere(berlin, pc1, nullptr, &moved), H(0x80004005u));
    EXPECT_EQ(moved, 0u);
    EXPECT_EQ(domain.Directory().Parent(domain.FindComputer(u"PC1")),
              domain.Directory().DefaultComputerContainer());
    DirectoryInterface object = 0;
    EXPECT_EQ(ads.QueryInterface(berlin, kContainer, &object), 0); // other subject
    ads.Release(object);
    EXPECT_EQ(ads.QueryInterface(berlin, kAds, &object), H(0x80004002u));
    EXPECT_EQ(ads.QueryInterface(berlin, kAds, &object), 0); // used up
    ads.Release(object);
    ads.Release(berlin);
    const std::vector<std::string> journal = world.JournalLines("MoveHere");
    ASSERT_EQ(journal.size(), 1u);
    EXPECT_NE(journal[0].find("[injected]"), std::string::npos);
    ExpectNothingHeld();
}

} // namespace
} // namespace corvane::sim
