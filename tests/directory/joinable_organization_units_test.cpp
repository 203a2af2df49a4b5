#include "directory/joinable_organization_units.h"
#include "fakes/fake_dialog_view.h"
#include "fakes/scripted_user_interface.h"
#include "platform/sim/world.h"
#include "support/text_format.h"
#include "ui/authentication_dialog.h"
#include "ui/dialog_ids.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace corvane {
namespace {

namespace error = platform::error;
constexpr int kList = ui::main_dialog::kOrganizationUnitList;
constexpr std::u16string_view kLog = u"C:\\Tools\\corvane.log";

std::vector<std::uint8_t> Utf16Le(std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

std::u16string DnsStatusLine(platform::ErrorCode status) {
    return FormatText(u"Info(%08d): 3/21/2009, 9:15:43 AM - GetDomainDnsName: Status\r\n", status);
}

platform::Platform WithUserInterface(platform::Platform& base, platform::UserInterface& ui) {
    return platform::Platform{base.clock,
                              base.locale,
                              base.environment,
                              base.files,
                              base.profile,
                              base.registry,
                              base.network,
                              base.ipHelper,
                              base.resources,
                              base.directory,
                              ui};
}

// The user types an account and a password into the authentication dialog
// and confirms it.
fakes::ScriptedUserInterface::Answer Confirm(std::u16string account, std::u16string password) {
    return [account, password](fakes::FakeDialogView& view, platform::DialogLogic& logic) {
        view.SetItemText(ui::auth_dialog::kAccount, account);
        logic.OnCommand(view, ui::auth_dialog::kAccount, platform::kEnChange);
        view.SetItemText(ui::auth_dialog::kPassword, password);
        logic.OnCommand(view, ui::auth_dialog::kPassword, platform::kEnChange);
        logic.OnCommand(view, ui::kItemOk, platform::kBnClicked);
    };
}

fakes::ScriptedUserInterface::Answer Cancel() {
    return [](fakes::FakeDialogView& view, platform::DialogLogic& logic) {
        logic.OnCommand(view, ui::kItemCancel, platform::kBnClicked);
    };
}

// Domain a.b.c (NetBIOS A) with OU=Sales and OU=Berlin below it; this
// computer, PC1, is a member and its account lies in OU=Sales.
class JoinableOrganizationUnitsTest : public testing::Test {
protected:
    JoinableOrganizationUnitsTest()
        : domain(world.AddDomain(u"A", u"a.b.c")), os(WithUserInterface(world.platform(), ui)) {
        world.SetJoinState(platform::JoinStatus::Domain, u"A");
        domain.SetAcceptsOwnLogon(true);
        domain.AddCredential(u"admin@a.b.c", u"right");
        const std::u16string path[] = {u"Sales", u"Berlin"};
        domain.Directory().EnsureOrganizationalUnits(path);
        domain.AddComputer(u"PC1", u"OU=Sales");
        state.CurrentComputerName.Assign(u"PC1");
        state.DialogInitialised = true;
        dialog.item(kList).sorted = true;
        state.Log.Open(os, kLog);
        world.ClearJournal();
    }

    bool Fill(std::u16string_view domainName = u"A") {
        field.Assign(domainName);
        return FillJoinableOrganizationUnits(os, state, dialog, kList, field, prompt);
    }

    std::vector<std::u16string> Entries() {
        std::vector<std::u16string> entries;
        for (int i = 0; i < dialog.ListCount(kList); ++i) {
            entries.push_back(dialog.ListItemText(kList, i));
        }
        return entries;
    }

    // The selected entry's text; "<none>" without a selection, so that an
    // empty entry and no selection read apart.
    std::u16string Selected() {
        const int selection = dialog.ListSelection(kList);
        return selection == platform::kNoListSelection ? u"<none>"
                                                       : dialog.ListItemText(kList, selection);
    }

    std::vector<std::uint8_t> LogBytes() {
        state.Log.Close();
        return world.FileBytes(kLog).value_or(std::vector<std::uint8_t>{});
    }

    void ExpectBuffersReleased() {
        EXPECT_EQ(0u, world.OutstandingNetApiBuffers());
        EXPECT_EQ(0u, world.InvalidNetApiFrees());
    }

    sim::World world;
    sim::Domain& domain;
    fakes::ScriptedUserInterface ui;
    platform::Platform os;
    fakes::FakeDialogView dialog;
    SetupState state;
    AuthenticationPrompt prompt{os, state};
    DomainText field;
};

using EntryList = std::vector<std::u16string>;

TEST_F(JoinableOrganizationUnitsTest, ListsTheUnitsSortedAndSelectsTheOneHoldingTheAccount) {
    EXPECT_TRUE(Fill());
    EXPECT_EQ((EntryList{u"", u"\\Sales", u"\\Sales\\Berlin"}), Entries());
    EXPECT_EQ(u"\\Sales", Selected());
    EXPECT_EQ(u"\\Sales", state.CurrentOrganizationUnit.view());
    EXPECT_EQ(u"a.b.c", field.view()); // the field now holds the DNS name
    EXPECT_EQ(1, state.OrganizationUnitListLoaded.load());
    EXPECT_EQ((std::vector<std::string>{"NetGetJoinableOUs(a.b.c, -, -) = 0"}),
              world.JournalLines("NetGetJoinableOUs"));
    ExpectBuffersReleased();
    // The list fill itself writes nothing; the DNS look-up logs its status.
    EXPECT_EQ(Utf16Le(DnsStatusLine(0)), LogBytes());
}

TEST_F(JoinableOrganizationUnitsTest, SelectsWhereverTheAccountLives) {
    struct Case {
        std::u16string_view container; // of the computer object; "" = CN=Computers
        std::u16string_view selected;
    };
    const Case cases[] = {
        {u"", u""},
        {u"OU=Sales", u"\\Sales"},
        {u"OU=Berlin,OU=Sales", u"\\Sales\\Berlin"},
    };
    for (const Case& c : cases) {
        sim::DirectoryTree& tree = domain.Directory();
        const sim::ObjectId computer = domain.FindComputer(u"PC1");
        ASSERT_EQ(0u, tree.Move(computer, c.container.empty()
                                              ? tree.DefaultComputerContainer()
                                              : tree.Find(domain.AbsoluteDn(c.container))));
        state.CurrentOrganizationUnit.Assign(u"\\Stale");
        state.OrganizationUnitListLoaded = 0;
        EXPECT_TRUE(Fill());
        EXPECT_EQ(3, dialog.ListCount(kList));
        EXPECT_EQ(c.selected, Selected());
        EXPECT_EQ(c.selected, state.CurrentOrganizationUnit.view());
    }
}

TEST_F(JoinableOrganizationUnitsTest, TheSelectionStaysOnItsEntryAsLaterEntriesSortInBeforeIt) {
    // The directory returns Zeta before the units that sort ahead of it.
    const std::u16string zeta[] = {u"Zeta"};
    domain.Directory().EnsureOrganizationalUnits(zeta);
    const std::u16string more[][1] = {{u"alpha"}, {u"Beta"}, {u"Alpha2"}};
    for (const auto& unit : more) {
        domain.Directory().EnsureOrganizationalUnits(unit);
    }
    sim::DirectoryTree& tree = domain.Directory();
    ASSERT_EQ(0u, tree.Move(domain.FindComputer(u"PC1"), tree.Find(domain.AbsoluteDn(u"OU=Zeta"))));

    EXPECT_TRUE(Fill());
    EXPECT_EQ((EntryList{u"", u"\\alpha", u"\\Alpha2", u"\\Beta", u"\\Sales", u"\\Sales\\Berlin",
                         u"\\Zeta"}),
              Entries());
    EXPECT_EQ(u"\\Zeta", Selected());
}

TEST_F(JoinableOrganizationUnitsTest, AFailedOrEmptyLocateSelectsTheDefaultContainerEntry) {
    struct Case {
        const char* what;
        bool member;         // a workgroup member cannot locate its account
        bool computerExists; // no object: located, but nothing found
        std::u16string_view current;
    };
    const Case cases[] = {
        {"locate fails", false, true, u"\\Old"}, // kept as it was
        {"no object", true, false, u""},
    };
    for (const Case& c : cases) {
        world.SetJoinState(c.member ? platform::JoinStatus::Domain
                                    : platform::JoinStatus::Workgroup,
                           c.member ? u"A" : u"WORKGROUP");
        if (!c.computerExists) {
            ASSERT_EQ(0u, domain.Directory().Delete(domain.FindComputer(u"PC1")));
        }
        state.CurrentOrganizationUnit.Assign(u"\\Old");
        state.OrganizationUnitListLoaded = 0;
        EXPECT_TRUE(Fill()) << c.what;
        EXPECT_EQ((EntryList{u"", u"\\Sales", u"\\Sales\\Berlin"}), Entries()) << c.what;
        EXPECT_EQ(u"", Selected()) << c.what;
        EXPECT_EQ(c.current, state.CurrentOrganizationUnit.view()) << c.what;
    }
}

TEST_F(JoinableOrganizationUnitsTest, ALoadedListIsKeptUntilTheDomainFieldChanges) {
    ASSERT_TRUE(Fill());
    dialog.SetListSelection(kList, 2); // the user picked \Sales\Berlin

    EXPECT_FALSE(Fill());
    EXPECT_EQ((EntryList{u"", u"\\Sales", u"\\Sales\\Berlin"}), Entries());
    EXPECT_EQ(u"\\Sales\\Berlin", Selected());
    EXPECT_EQ(1, state.OrganizationUnitListLoaded.load());
    EXPECT_EQ(1u, world.JournalLines("NetGetJoinableOUs").size());
    EXPECT_EQ(1u, world.JournalLines("DsGetDcName").size()); // not even resolved again

    // The dialog clears the counter when the domain field is edited.
    const std::u16string hamburg[] = {u"Hamburg"};
    domain.Directory().EnsureOrganizationalUnits(hamburg);
    state.OrganizationUnitListLoaded = 0;
    EXPECT_TRUE(Fill());
    EXPECT_EQ((EntryList{u"", u"\\Hamburg", u"\\Sales", u"\\Sales\\Berlin"}), Entries());
    EXPECT_EQ(u"\\Sales", Selected());
    ExpectBuffersReleased();
}

TEST_F(JoinableOrganizationUnitsTest, RefusedCredentialsAskForOthersAndTheListingIsRepeated) {
    for (platform::ErrorCode refusal :
         {error::kAccessDenied, error::kInvalidPassword, error::kWrongPassword,
          error::kLogonFailure, error::kAccountDisabled}) {
        sim::World local;
        sim::Domain& refusing = local.AddDomain(u"A", u"a.b.c");
        local.SetJoinState(platform::JoinStatus::Domain, u"A");
        refusing.AddCredential(u"admin@a.b.c", u"right");
        refusing.SetRefusalCode(sim::DomainOperation::JoinableOUs, refusal);
        fakes::ScriptedUserInterface prompts;
        platform::Platform localOs = WithUserInterface(local.platform(), prompts);
        SetupState localState;
        localState.DialogInitialised = true;
        localState.Account.Assign(u"wrong@a.b.c");
        localState.Password.Assign(u"nope");
        prompts.Script(Confirm(u"admin@a.b.c", u"right"));

        AuthenticationPrompt localPrompt(localOs, localState);
        fakes::FakeDialogView view;
        view.item(kList).sorted = true;
        DomainText name(u"A");
        EXPECT_TRUE(
            FillJoinableOrganizationUnits(localOs, localState, view, kList, name, localPrompt))
            << refusal;
        ASSERT_EQ(1u, prompts.openings().size()) << refusal;
        EXPECT_EQ(ui::kDialogAuthentication, prompts.openings()[0].templateId);
        EXPECT_EQ(view.Window(), prompts.openings()[0].owner);
        EXPECT_EQ(static_cast<std::intptr_t>(refusal), prompts.openings()[0].parameter);
        EXPECT_EQ(u"admin@a.b.c", localState.Account.view());
        EXPECT_EQ((std::vector<std::string>{"NetGetJoinableOUs(a.b.c, wrong@a.b.c, ***) = " +
                                                std::to_string(refusal),
                                            "NetGetJoinableOUs(a.b.c, admin@a.b.c, ***) = 0"}),
                  local.JournalLines("NetGetJoinableOUs"));
        EXPECT_EQ(1, view.ListCount(kList)); // CN=Computers only
        EXPECT_EQ(1, localState.OrganizationUnitListLoaded.load());
        EXPECT_EQ(0u, local.OutstandingNetApiBuffers());
    }
}

TEST_F(JoinableOrganizationUnitsTest, WithoutAnAccountTheListingAsksWithTheOwnLogon) {
    domain.SetAcceptsOwnLogon(false);
    state.Password.Assign(u"ignored"); // travels only with an account
    ui.Script(Confirm(u"A\\admin", u"wrong"));
    ui.Script(Confirm(u"A\\admin", u"right"));
    EXPECT_TRUE(Fill());
    EXPECT_EQ(2u, ui.openings().size());
    EXPECT_EQ((std::vector<std::string>{"NetGetJoinableOUs(a.b.c, -, -) = 1326",
                                        "NetGetJoinableOUs(a.b.c, admin@A, ***) = 1326",
                                        "NetGetJoinableOUs(a.b.c, admin@A, ***) = 0"}),
              world.JournalLines("NetGetJoinableOUs"));
    EXPECT_EQ((EntryList{u"", u"\\Sales", u"\\Sales\\Berlin"}), Entries());
    EXPECT_EQ(u"\\Sales", Selected());
    ExpectBuffersReleased();
}

TEST_F(JoinableOrganizationUnitsTest, ACancelledPromptLeavesTheListEmptyAndLoadable) {
    domain.SetAcceptsOwnLogon(false);
    dialog.AddListItem(kList, u"\\Stale");
    ui.Script(Cancel());
    EXPECT_FALSE(Fill());
    EXPECT_EQ(0, dialog.ListCount(kList));
    EXPECT_EQ(0, state.OrganizationUnitListLoaded.load());
    EXPECT_TRUE(state.Account.empty());
    EXPECT_EQ(1u, world.JournalLines("NetGetJoinableOUs").size());

    // Loadable again: the next drop-down asks once more.
    ui.Script(Confirm(u"admin@a.b.c", u"right"));
    EXPECT_TRUE(Fill());
    EXPECT_EQ(3, dialog.ListCount(kList));
    ExpectBuffersReleased();
}

TEST_F(JoinableOrganizationUnitsTest, ARefusalDuringInitialisationEndsAsCancelledWithoutAsking) {
    domain.SetAcceptsOwnLogon(false);
    state.DialogInitialised = false;
    ui.Script(Confirm(u"admin@a.b.c", u"right"));
    EXPECT_FALSE(Fill());
    ASSERT_EQ(1u, ui.openings().size());
    EXPECT_FALSE(ui.openings()[0].shown);
    EXPECT_EQ(1u, ui.unusedAnswers());
    EXPECT_EQ(0, dialog.ListCount(kList));
    EXPECT_EQ(0, state.OrganizationUnitListLoaded.load());
}

TEST_F(JoinableOrganizationUnitsTest, AFillStartedWhileOneRunsReturnsAtOnce) {
    domain.SetAcceptsOwnLogon(false);
    bool nestedResult = true;
    int countDuringPrompt = -1;
    int entriesDuringPrompt = -1;
    ui.Script([&](fakes::FakeDialogView& view, platform::DialogLogic& logic) {
        // The list drops down again behind the authentication dialog.
        countDuringPrompt = state.OrganizationUnitListLoaded.load();
        dialog.AddListItem(kList, u"\\Marker");
        DomainText other(u"A");
        nestedResult = FillJoinableOrganizationUnits(os, state, dialog, kList, other, prompt);
        entriesDuringPrompt = dialog.ListCount(kList);
        Confirm(u"admin@a.b.c", u"right")(view, logic);
    });
    EXPECT_TRUE(Fill());
    EXPECT_FALSE(nestedResult);
    EXPECT_EQ(1, countDuringPrompt);
    EXPECT_EQ(1, entriesDuringPrompt); // the nested call left the list alone
    EXPECT_EQ(1u, ui.openings().size());
    EXPECT_EQ(2u, world.JournalLines("NetGetJoinableOUs").size());
    EXPECT_EQ(1, state.OrganizationUnitListLoaded.load());
}

TEST_F(JoinableOrganizationUnitsTest, AnotherListingFailureEndsWithoutRetryOrPrompt) {
    ASSERT_TRUE(world.InjectFailure("NetGetJoinableOUs", error::kNotSupported));
    dialog.AddListItem(kList, u"\\Stale");
    EXPECT_FALSE(Fill());
    EXPECT_EQ(0, dialog.ListCount(kList));
    EXPECT_TRUE(ui.openings().empty());
    EXPECT_EQ(1u, world.JournalLines("NetGetJoinableOUs").size());
    EXPECT_EQ(0, state.OrganizationUnitListLoaded.load());
    ExpectBuffersReleased();
}

TEST_F(JoinableOrganizationUnitsTest, AnUnresolvableDomainGivesAnEmptyListAndTrue) {
    dialog.AddListItem(kList, u"\\Stale");
    EXPECT_TRUE(Fill(u"NOSUCH"));
    EXPECT_EQ(0, dialog.ListCount(kList));
    EXPECT_EQ(u"NOSUCH", field.view());
    EXPECT_TRUE(world.JournalLines("NetGetJoinableOUs").empty());
    EXPECT_EQ(0, state.OrganizationUnitListLoaded.load());
    EXPECT_EQ(Utf16Le(DnsStatusLine(error::kNoSuchDomain)), LogBytes());
}

TEST_F(JoinableOrganizationUnitsTest, ABusyOrLoadedCounterTouchesNothing) {
    for (std::int32_t busy : {1, 5}) {
        state.OrganizationUnitListLoaded = busy;
        dialog.ResetList(kList);
        dialog.AddListItem(kList, u"\\Kept");
        EXPECT_FALSE(Fill());
        EXPECT_EQ(busy, state.OrganizationUnitListLoaded.load());
        EXPECT_EQ((EntryList{u"\\Kept"}), Entries());
        EXPECT_EQ(u"A", field.view()); // not even resolved
        EXPECT_TRUE(world.Journal().empty());
    }
}

TEST_F(JoinableOrganizationUnitsTest, UnitNamesWithSpecialCharactersShowUnescaped) {
    const std::u16string units[][1] = {{u"R&D, Europe"}, {u"a+b=c"}};
    for (const auto& unit : units) {
        domain.Directory().EnsureOrganizationalUnits(unit);
    }
    EXPECT_TRUE(Fill());
    EXPECT_EQ((EntryList{u"", u"\\a+b=c", u"\\R&D, Europe", u"\\Sales", u"\\Sales\\Berlin"}),
              Entries());
}

// The units go into the list in the sorted list's own order, so that the
// control puts each at its end instead of moving the entries behind it: a
// list that keeps the order of adding shows them sorted already, with the
// account's unit selected.
TEST_F(JoinableOrganizationUnitsTest, UnitsAreAddedInTheListsOrder) {
    for (const char16_t* name : {u"zeta", u"Beta", u"alpha", u"Sales2", u"\u00C4rzte"}) {
        const std::u16string path[] = {name};
        domain.Directory().EnsureOrganizationalUnits(path);
    }
    dialog.item(kList).sorted = false;
    EXPECT_TRUE(Fill());
    EXPECT_EQ((EntryList{u"", u"\\alpha", u"\\Beta", u"\\Sales", u"\\Sales2", u"\\Sales\\Berlin",
                         u"\\zeta", u"\\\u00C4rzte"}),
              Entries());
    EXPECT_EQ(u"\\Sales", Selected());
}

TEST_F(JoinableOrganizationUnitsTest, TenThousandUnitsAreListedSortedOnce) {
    std::vector<std::u16string> names;
    for (int i = 0; i < 10000; ++i) {
        // Not in sorted order: the list sorts them.
        const int key = (i * 7919) % 10000;
        names.push_back(u"Unit" + std::u16string(FormatText(u"%05d", key)));
    }
    for (const std::u16string& name : names) {
        const std::u16string path[] = {name};
        domain.Directory().EnsureOrganizationalUnits(path);
    }
    EXPECT_TRUE(Fill());
    ASSERT_EQ(10003, dialog.ListCount(kList));
    for (int i = 1; i < dialog.ListCount(kList); ++i) {
        ASSERT_LE(fakes::FakeDialogView::CompareWithoutCase(dialog.ListItemText(kList, i - 1),
                                                            dialog.ListItemText(kList, i)),
                  0);
    }
    EXPECT_EQ(u"\\Sales", Selected());
    ExpectBuffersReleased();
}

} // namespace
} // namespace corvane
