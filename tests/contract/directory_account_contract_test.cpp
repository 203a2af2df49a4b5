// The program's directory steps against every reachable directory: where a
// computer's account lives, moving it between units, creating and deleting
// it, the units it may join, and what the directory answers to refused
// logons and missing rights. A real domain controller is shared by the whole
// test run, so each test works in a unit and with computer names of its own
// and removes them before and after.
#include "contract/directory_target.h"
#include "directory/computer_account.h"
#include "directory/joinable_organization_units.h"
#include "fakes/fake_dialog_view.h"
#include "ui/authentication_dialog.h"
#include "ui/dialog_ids.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace corvane::contract {
namespace {

TEST_P(DirectoryContract, LocateFollowsTheAccountThroughEveryMove) {
    target_->AddUnit(UnitDn(u"OU=Berlin"));
    target_->AddUnit(UnitDn(u"OU=R&D\\, Europe"));
    const std::u16string pc = Computer(u"A");
    target_->AddComputer(pc, {});

    struct Step {
        std::u16string path;      // the move's target
        std::u16string container; // where the account must be
    };
    const Step steps[] = {
        {UnitPath(u"Berlin"), UnitDn(u"OU=Berlin")},
        {UnitPath(u"R&D, Europe"), UnitDn(u"OU=R&D\\, Europe")},
        {UnitPath(), UnitDn()},
        {u"", u"CN=Computers"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(Narrow(step.path));
        EXPECT_EQ(MoveComputerAccountToOrganizationUnit(Os(), state_, Domain(), pc, step.path), 0u);
        EXPECT_EQ(target_->ComputerContainer(pc), step.container);
        OrganizationUnitText located;
        EXPECT_TRUE(GetComputerAccountOrganizationUnit(Os(), state_, Domain(), pc, located));
        EXPECT_EQ(located.view(), step.path);
    }
}

TEST_P(DirectoryContract, MoveRefusalsGiveThePlatformsCodes) {
    const DirectoryLogons logons = target_->Logons();
    const std::u16string pc = Computer(u"B");
    target_->AddComputer(pc, {});
    struct Case {
        const char* what;
        std::u16string account;
        std::u16string password;
        std::u16string computer;
        std::u16string path;
        platform::ErrorCode code;
    };
    const Case cases[] = {
        {"no such computer", logons.admin, logons.adminPassword, Computer(u"Z"), UnitPath(), 2697},
        {"no such unit", logons.admin, logons.adminPassword, pc, UnitPath(u"Nowhere"), 8240},
        {"missing rights", logons.reader, logons.readerPassword, pc, UnitPath(), 5},
        {"wrong password", logons.admin, u"not-the-password", pc, UnitPath(), 1326},
        {"no such account", u"nobody@" + Domain(), u"whatever-1", pc, UnitPath(), 1326},
        {"disabled account", logons.disabled, logons.disabledPassword, pc, UnitPath(), 1331},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UseLogon(c.account, c.password);
        EXPECT_EQ(MoveComputerAccountToOrganizationUnit(Os(), state_, Domain(), c.computer, c.path),
                  c.code);
        EXPECT_EQ(target_->ComputerContainer(pc), u"CN=Computers");
    }
}

TEST_P(DirectoryContract, CreatedAccountIsAWorkstationAccountInItsUnit) {
    target_->AddUnit(UnitDn(u"OU=Berlin"));
    const std::u16string plain = Computer(u"C");
    const std::u16string placed = Computer(u"D");

    EXPECT_EQ(CreateComputerAccount(Os(), state_, Domain(), plain, std::nullopt), 0u);
    EXPECT_EQ(target_->ComputerContainer(plain), u"CN=Computers");
    EXPECT_EQ(CreateComputerAccount(Os(), state_, Domain(), placed, UnitPath(u"Berlin")), 0u);
    EXPECT_EQ(target_->ComputerContainer(placed), UnitDn(u"OU=Berlin"));

    for (const std::u16string& name : {plain, placed}) {
        SCOPED_TRACE(Narrow(name));
        EXPECT_EQ(target_->ComputerAttribute(name, u"sAMAccountName"),
                  std::vector<std::u16string>{name + u"$"});
        const std::vector<std::u16string> classes =
            target_->ComputerAttribute(name, u"objectClass");
        EXPECT_NE(std::find(classes.begin(), classes.end(), u"computer"), classes.end());
        // A workstation trust account that needs no password until the
        // join sets one.
        EXPECT_EQ(target_->ComputerAttribute(name, u"userAccountControl"),
                  std::vector<std::u16string>{u"4128"});
    }
    OrganizationUnitText located;
    EXPECT_TRUE(GetComputerAccountOrganizationUnit(Os(), state_, Domain(), placed, located));
    EXPECT_EQ(located.view(), UnitPath(u"Berlin"));
}

TEST_P(DirectoryContract, CreationAndDeletionRefusals) {
    const DirectoryLogons logons = target_->Logons();
    const std::u16string taken = Computer(u"E");
    const std::u16string fresh = Computer(u"F");
    target_->AddComputer(taken, UnitDn());
    struct Case {
        const char* what;
        std::u16string account;
        std::u16string password;
        bool create;
        std::u16string computer;
        platform::ErrorCode code;
    };
    const Case cases[] = {
        {"create a name in use", logons.admin, logons.adminPassword, true, taken, 2224},
        {"create without rights", logons.reader, logons.readerPassword, true, fresh, 5},
        {"create, wrong password", logons.admin, u"not-the-password", true, fresh, 1326},
        {"create, disabled account", logons.disabled, logons.disabledPassword, true, fresh, 1331},
        {"delete without rights", logons.reader, logons.readerPassword, false, taken, 5},
        {"delete what is not there", logons.admin, logons.adminPassword, false, fresh, 2221},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UseLogon(c.account, c.password);
        const platform::ErrorCode code =
            c.create ? CreateComputerAccount(Os(), state_, Domain(), c.computer, std::nullopt)
                     : DeleteComputerAccount(Os(), state_, Domain(), c.computer);
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(target_->ComputerContainer(taken), UnitDn());
        EXPECT_EQ(target_->ComputerContainer(fresh), u"-");
    }
}

TEST_P(DirectoryContract, DeletionRemovesTheAccountWhereverItLives) {
    const std::u16string pc = Computer(u"G");
    target_->AddComputer(pc, UnitDn());
    EXPECT_EQ(DeleteComputerAccount(Os(), state_, Domain(), pc), 0u);
    EXPECT_EQ(target_->ComputerContainer(pc), u"-");
    EXPECT_EQ(MoveComputerAccountToOrganizationUnit(Os(), state_, Domain(), pc, UnitPath()), 2697u);
}

TEST_P(DirectoryContract, SearchFilterMatchesTheWholeNameOnly) {
    // The name goes into the filter escaped: a pattern character in a
    // computer name matches itself, not other names.
    const std::u16string pc = Computer(u"H");
    target_->AddComputer(pc, UnitDn());
    const std::u16string longer = Computer(u"HX");
    target_->AddComputer(longer, {});
    struct Case {
        std::u16string name;
        bool found;
    };
    const Case cases[] = {
        {pc, true},
        {pc + u"*", false},
        {u"*", false},
        {pc.substr(0, 3) + u"*)(name=" + pc, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.name));
        OrganizationUnitText located;
        located.Assign(u"untouched");
        EXPECT_TRUE(GetComputerAccountOrganizationUnit(Os(), state_, Domain(), c.name, located));
        EXPECT_EQ(located.view(), c.found ? UnitPath() : u"untouched");
    }
}

TEST_P(DirectoryContract, JoinableUnitsAreTheOnesTheLogonMayCreateComputersIn) {
    target_->AddUnit(UnitDn(u"OU=Berlin"));
    const std::u16string pc = Computer(u"J");
    target_->AddComputer(pc, UnitDn(u"OU=Berlin"));
    const DirectoryLogons logons = target_->Logons();
    platform::NetworkManagement& network = Os().network;

    auto list = [&](const std::u16string& account, const std::u16string& password,
                    std::vector<std::u16string>& units) {
        std::uint32_t count = 0;
        char16_t** array = nullptr;
        const platform::ErrorCode code = network.NetGetJoinableOUs(
            Domain().c_str(), account.c_str(), password.c_str(), &count, &array);
        units.clear();
        for (std::uint32_t i = 0; i < count; ++i) {
            units.emplace_back(array[i]);
        }
        network.NetApiBufferFree(array);
        return code;
    };
    auto has = [](const std::vector<std::u16string>& units, std::u16string_view prefix) {
        return std::any_of(units.begin(), units.end(),
                           [&](const std::u16string& unit) { return unit.rfind(prefix, 0) == 0; });
    };

    std::vector<std::u16string> units;
    ASSERT_EQ(list(logons.admin, logons.adminPassword, units), 0u);
    EXPECT_TRUE(has(units, UnitDn() + u",DC="));
    EXPECT_TRUE(has(units, UnitDn(u"OU=Berlin") + u",DC="));
    EXPECT_TRUE(has(units, u"CN=Computers,DC="));
    // Only units and the default computer container are offered.
    EXPECT_FALSE(has(units, u"CN=Users,"));

    EXPECT_EQ(list(logons.reader, logons.readerPassword, units), 0u);
    EXPECT_FALSE(has(units, UnitDn()));
    EXPECT_FALSE(has(units, u"CN=Computers,"));
    EXPECT_EQ(list(logons.admin, u"not-the-password", units), 1326u);
    EXPECT_EQ(list(logons.disabled, logons.disabledPassword, units), 1331u);

    // The dialog's list: OU paths, the account's unit selected.
    fakes::FakeDialogView dialog;
    dialog.item(ui::main_dialog::kOrganizationUnitList).sorted = true;
    state_.CurrentComputerName.Assign(pc);
    DomainText domain;
    domain.Assign(Domain());
    // The workstation's own logon is refused or unknown to the directory;
    // the stored account is used.
    AuthenticationPrompt prompt(Os(), state_);
    EXPECT_TRUE(FillJoinableOrganizationUnits(
        Os(), state_, dialog, ui::main_dialog::kOrganizationUnitList, domain, prompt));
    EXPECT_EQ(state_.CurrentOrganizationUnit.view(), UnitPath(u"Berlin"));
    const fakes::FakeDialogView::Item& combo = dialog.item(ui::main_dialog::kOrganizationUnitList);
    ASSERT_NE(combo.selection, platform::kNoListSelection);
    EXPECT_EQ(combo.list[static_cast<std::size_t>(combo.selection)].text, UnitPath(u"Berlin"));
    const bool hasEmpty = std::any_of(combo.list.begin(), combo.list.end(),
                                      [](const auto& item) { return item.text.empty(); });
    EXPECT_TRUE(hasEmpty);
}

TEST_P(DirectoryContract, PagedSearchDeliversEveryRowOnce) {
    // Three pages of 50: the last one short.
    constexpr int kComputers = 120;
    std::vector<std::u16string> names;
    for (int i = 0; i < kComputers; ++i) {
        names.push_back(u"P" + tag_ + std::u16string(1, static_cast<char16_t>(u'A' + i / 26 % 26)) +
                        std::u16string(1, static_cast<char16_t>(u'A' + i % 26)));
    }
    target_->AddComputers(names, UnitDn());

    platform::DirectoryService& directory = Os().directory;
    ASSERT_FALSE(platform::hresult::Failed(directory.CoInitialize()));
    const DirectoryLogons logons = target_->Logons();
    const std::u16string path = u"LDAP://" + Domain() + u"/" + UnitDn() + u"," + RootDn();
    platform::DirectoryInterface search = platform::kNoDirectoryInterface;
    ASSERT_EQ(directory.OpenObject(path.c_str(), logons.admin.c_str(), logons.adminPassword.c_str(),
                                   platform::kAdsSecureAuthentication,
                                   platform::DirectoryInterfaceKind::DirectorySearch, &search),
              platform::hresult::kOk)
        << Narrow(path);
    const platform::DirectorySearchPreference page{platform::kAdsSearchPrefPageSize,
                                                   platform::kAdsTypeInteger, 50};
    EXPECT_EQ(directory.SetSearchPreference(search, &page, 1), platform::hresult::kOk);
    const char16_t* attributes[] = {u"ADsPath", u"name"};
    platform::DirectorySearchHandle handle = platform::kNoDirectorySearch;
    ASSERT_EQ(directory.ExecuteSearch(search, u"(objectClass=computer)", attributes, 2, &handle),
              platform::hresult::kOk);
    std::vector<std::u16string> seen;
    const std::u16string prefix = u"LDAP://" + Domain() + u"/CN=";
    platform::HResult row = platform::hresult::kOk;
    while ((row = directory.GetNextRow(search, handle)) == platform::hresult::kOk) {
        platform::DirectorySearchColumn column;
        ASSERT_EQ(directory.GetColumn(search, handle, u"name", &column), platform::hresult::kOk);
        seen.emplace_back(column.text);
        EXPECT_EQ(column.valueCount, 1u);
        directory.FreeColumn(search, &column);
        ASSERT_EQ(directory.GetColumn(search, handle, u"ADsPath", &column), platform::hresult::kOk);
        EXPECT_EQ(std::u16string(column.text),
                  prefix + seen.back() + u"," + path.substr(8 + Domain().size()));
        directory.FreeColumn(search, &column);
        // An attribute the search did not ask for is no column.
        EXPECT_EQ(directory.GetColumn(search, handle, u"sAMAccountName", &column),
                  platform::hresult::kColumnNotSet);
    }
    EXPECT_EQ(row, platform::hresult::kNoMoreRows);
    EXPECT_EQ(directory.GetNextRow(search, handle), platform::hresult::kNoMoreRows);
    directory.CloseSearchHandle(search, handle);
    directory.Release(search);
    directory.CoUninitialize();
    std::sort(seen.begin(), seen.end());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(seen, names);
}

TEST_P(DirectoryContract, BindsOfMissingObjectsAndForeignServersFail) {
    platform::DirectoryService& directory = Os().directory;
    ASSERT_FALSE(platform::hresult::Failed(directory.CoInitialize()));
    const DirectoryLogons logons = target_->Logons();
    struct Case {
        std::u16string path;
        platform::HResult status;
    };
    const Case cases[] = {
        {u"LDAP://" + Domain() + u"/OU=Nowhere," + RootDn(),
         static_cast<platform::HResult>(0x80072030u)},
        {u"LDAP://other.invalid/" + RootDn(), static_cast<platform::HResult>(0x8007203Au)},
        {u"WinNT://other.invalid", static_cast<platform::HResult>(0x8007054Bu)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.path));
        platform::DirectoryInterface object = 1;
        EXPECT_EQ(directory.OpenObject(c.path.c_str(), logons.admin.c_str(),
                                       logons.adminPassword.c_str(),
                                       platform::kAdsSecureAuthentication,
                                       platform::DirectoryInterfaceKind::Container, &object),
                  c.status);
        EXPECT_EQ(object, platform::kNoDirectoryInterface);
    }
    directory.CoUninitialize();
}

} // namespace
} // namespace corvane::contract
