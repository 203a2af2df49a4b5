#include "fakes/fake_dialog_view.h"
#include "platform/sim/world.h"
#include "ui/authentication_dialog.h"
#include "ui/dialog_ids.h"

#include <gtest/gtest.h>
#include <string>

namespace corvane {
namespace {

namespace ids = ui::auth_dialog;
using sim::DialogAction;

std::string Narrow(std::u16string_view text) {
    return std::string(text.begin(), text.end());
}

class AuthenticationDialogTest : public testing::Test {
protected:
    AuthenticationDialogTest() { state.DialogInitialised.store(true); }

    // Runs WM_INITDIALOG of a fresh dialog on the plain fake.
    void Open(platform::ErrorCode code = 0) { logic.OnInitDialog(view, code); }

    sim::World world;
    SetupState state;
    AuthenticationDialog logic{world.platform(), state};
    fakes::FakeDialogView view;
};

TEST_F(AuthenticationDialogTest, TheStoredAccountGivesTheDomainAndTheOkState) {
    struct Case {
        std::u16string_view account;
        std::u16string_view domain;
        bool ok;
    };
    const Case cases[] = {
        {u"installer@SALES", u"SALES", true},
        {u"SALES\\installer", u"SALES", true},
        {u"", u"", false},
        {u"installer", u"", false},
        {u"@corp.example.com", u"corp.example.com", false}, // "@" first
        {u"SALES\\", u"SALES", false},                      // nothing after the backslash
        {u"\\installer", u"", true},
        {u"installer@", u"", true},
        {u"a\\b@c", u"c", true}, // "@" wins
        {u"x@y@z", u"y@z", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.account));
        state.Account.Assign(c.account);
        state.Password.Assign(u"secret");
        fakes::FakeDialogView fresh;
        AuthenticationDialog dialog(world.platform(), state);
        EXPECT_FALSE(dialog.OnInitDialog(fresh, 0));
        EXPECT_EQ(c.account, fresh.item(ids::kAccount).text);
        EXPECT_EQ(u"secret", fresh.item(ids::kPassword).text);
        EXPECT_EQ(c.domain, fresh.item(ids::kDomain).text);
        EXPECT_EQ(c.ok, fresh.item(ui::kItemOk).enabled);
        EXPECT_EQ(u"", fresh.item(ids::kErrorText).text);
        EXPECT_EQ(0, fresh.endResult());
    }
}

TEST_F(AuthenticationDialogTest, FocusSelectionAndErrorTextFollowTheCode) {
    struct Case {
        platform::ErrorCode code;
        int focus;
        bool accountSelected;
        bool passwordSelected;
        std::u16string_view errorText;
    };
    const Case cases[] = {
        {0, ids::kAccount, false, false, u""},
        {5, ids::kAccount, true, false, u"Access is denied.\r\n"},
        {86, ids::kPassword, false, true, u"The specified network password is not correct.\r\n"},
        {1323, ids::kAccount, false, false,
         u"Unable to update the password. The value provided as the current password is "
         u"incorrect.\r\n"},
        {1326, ids::kAccount, false, false, u"The user name or password is incorrect.\r\n"},
        {1331, ids::kAccount, false, false,
         u"This user can't sign in because this account is currently disabled.\r\n"},
        {54321, ids::kAccount, false, false, u""}, // no system text
    };
    state.Account.Assign(u"installer@SALES");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        fakes::FakeDialogView fresh;
        AuthenticationDialog dialog(world.platform(), state);
        dialog.OnInitDialog(fresh, static_cast<std::intptr_t>(c.code));
        EXPECT_EQ(c.focus, fresh.focused());
        EXPECT_EQ(c.accountSelected, fresh.item(ids::kAccount).selectAll);
        EXPECT_EQ(c.passwordSelected, fresh.item(ids::kPassword).selectAll);
        EXPECT_EQ(c.errorText, fresh.item(ids::kErrorText).text);
    }
}

TEST_F(AuthenticationDialogTest, AMissingSystemTextLeavesTheErrorFieldEmpty) {
    world.InjectFailure("FormatMessage", 317);
    Open(86);
    EXPECT_EQ(u"", view.item(ids::kErrorText).text);
    EXPECT_EQ(ids::kPassword, view.focused());
}

TEST_F(AuthenticationDialogTest, ADomainMemberShowsTheDomainTheAccountNames) {
    world.SetJoinState(platform::JoinStatus::Domain, u"SALES");
    for (const auto& [account, domain] :
         {std::pair<std::u16string_view, std::u16string_view>{u"", u""},
          {u"admin@corp.example.com", u"corp.example.com"}}) {
        state.Account.Assign(account);
        fakes::FakeDialogView fresh;
        AuthenticationDialog dialog(world.platform(), state);
        dialog.OnInitDialog(fresh, 0);
        EXPECT_EQ(domain, fresh.item(ids::kDomain).text);
        EXPECT_EQ(account, fresh.item(ids::kAccount).text);
    }
    EXPECT_EQ(0u, world.OutstandingNetApiBuffers());
}

TEST_F(AuthenticationDialogTest, RefusesToOpenWhileTheMainDialogInitialises) {
    state.DialogInitialised.store(false);
    state.Account.Assign(u"installer@SALES");
    Open(5);
    EXPECT_EQ(platform::kDialogCancel, view.endResult());
    EXPECT_EQ(u"", view.item(ids::kAccount).text);
    EXPECT_EQ(u"", view.item(ids::kErrorText).text);
    EXPECT_TRUE(world.JournalLines("NetGetJoinInformation").empty());
}

TEST_F(AuthenticationDialogTest, TheFieldsTakeNoMoreThanTheStateKeeps) {
    Open();
    EXPECT_EQ(127, view.item(ids::kAccount).limit);
    EXPECT_EQ(127, view.item(ids::kPassword).limit);
}

TEST_F(AuthenticationDialogTest, OkStoresTheNormalisedAccountAndThePassword) {
    Open();
    view.item(ids::kAccount).text = u"SALES\\installer";
    view.item(ids::kPassword).text = u"p@ss w\u00f6rd";
    logic.OnCommand(view, ui::kItemOk, platform::kBnClicked);
    EXPECT_EQ(platform::kDialogOk, view.endResult());
    EXPECT_EQ(u"installer@SALES", state.Account.view());
    EXPECT_EQ(u"p@ss w\u00f6rd", state.Password.view());
}

TEST_F(AuthenticationDialogTest, OkKeepsAtMost127CharactersOfEachField) {
    Open();
    view.item(ids::kAccount).text = u"DOM\\" + std::u16string(200, u'u');
    view.item(ids::kPassword).text = std::u16string(300, u'p');
    logic.OnCommand(view, ui::kItemOk, platform::kBnClicked);
    // 127 characters of the field, normalised: 123 of the user, "@DOM".
    EXPECT_EQ(std::u16string(123, u'u') + u"@DOM", state.Account.view());
    EXPECT_EQ(std::u16string(127, u'p'), state.Password.view());
}

TEST_F(AuthenticationDialogTest, CancelAndOtherNotificationsLeaveTheState) {
    state.Account.Assign(u"old@SALES");
    state.Password.Assign(u"old");
    Open();
    view.item(ids::kAccount).text = u"new@SALES";
    logic.OnCommand(view, ui::kItemOk, platform::kEnChange); // not a click
    logic.OnCommand(view, ids::kDomain, platform::kEnChange);
    EXPECT_EQ(0, view.endResult());
    logic.OnCommand(view, ui::kItemCancel, platform::kBnClicked);
    EXPECT_EQ(platform::kDialogCancel, view.endResult());
    EXPECT_EQ(u"old@SALES", state.Account.view());
    EXPECT_EQ(u"old", state.Password.view());
}

TEST_F(AuthenticationDialogTest, TheDomainBrowserRewritesTheAccount) {
    struct Case {
        std::u16string_view account;
        sim::DomainBrowserAnswer answer;
        std::u16string_view shownAccount;
        std::u16string_view shownDomain;
        bool ok;
    };
    const std::u16string longUser = u"DC\\" + std::u16string(100, u'u');
    const std::u16string longDomain = std::u16string(40, u'd') + u".example.com";
    const Case cases[] = {
        {u"", sim::DomainBrowserAnswer::Pick(u"corp.example.com"), u"@corp.example.com",
         u"corp.example.com", false},
        {u"DC\\user", sim::DomainBrowserAnswer::Pick(u"corp.example.com"), u"user@corp.example.com",
         u"corp.example.com", true},
        {u"user@old.example.com", sim::DomainBrowserAnswer::Pick(u"new.example.com"),
         u"user@new.example.com", u"new.example.com", true},
        {u"DC\\user", sim::DomainBrowserAnswer::Cancel(), u"DC\\user", u"DC", true},
        {u"DC\\user", sim::DomainBrowserAnswer::Unavailable(), u"DC\\user", u"DC", true},
        // The joined account would not fit: the pick changes nothing.
        {longUser, sim::DomainBrowserAnswer::Pick(longDomain), longUser, u"DC", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.account));
        state.Account.Assign(c.account);
        world.Desktop().AnswerDomainBrowser(c.answer);
        fakes::FakeDialogView fresh;
        AuthenticationDialog dialog(world.platform(), state);
        dialog.OnInitDialog(fresh, 0);
        dialog.OnCommand(fresh, ids::kDomainBrowser, platform::kBnClicked);
        EXPECT_EQ(c.shownAccount, fresh.item(ids::kAccount).text);
        EXPECT_EQ(c.shownDomain, fresh.item(ids::kDomain).text);
        EXPECT_EQ(c.ok, fresh.item(ui::kItemOk).enabled);
        EXPECT_EQ(0, fresh.endResult());
    }
    EXPECT_EQ(0u, world.Desktop().UnusedBrowserAnswers());
    EXPECT_EQ(u"", state.Password.view()); // nothing is stored before OK
}

TEST_F(AuthenticationDialogTest, OnlyTheErrorTextIsPaintedRed) {
    platform::StaticColors colors;
    EXPECT_TRUE(logic.OnStaticColors(view, ids::kErrorText, colors));
    EXPECT_EQ(0x004C3EBFu, colors.text);
    EXPECT_EQ(platform::SystemColor::ButtonFace, colors.background);
    for (const int other : {ids::kDomain, ids::kAccount, -1}) {
        EXPECT_FALSE(logic.OnStaticColors(view, other, colors));
    }
}

// --- The dialog as the sim runs it, with the user's typing.

class AuthenticationDialogRun : public AuthenticationDialogTest {
protected:
    sim::Desktop& desktop() { return world.Desktop(); }
    sim::DialogRecord Last() { return desktop().Dialogs(ui::kDialogAuthentication).back(); }
};

TEST_F(AuthenticationDialogRun, FromTheCredentialsButtonWithTheSettingsFileAccount) {
    state.Account.Assign(u"installer@SALES"); // SALES\installer, normalised at start
    EXPECT_EQ(platform::kDialogCancel, RunAuthenticationDialog(world.platform(), state, 0x500, 0));
    const sim::DialogRecord record = Last();
    EXPECT_TRUE(record.shown);
    EXPECT_TRUE(record.closedBySim); // no script: nobody confirmed
    EXPECT_EQ(0x500u, record.owner);
    EXPECT_EQ(u"installer@SALES", record.ItemAfterInit(ids::kAccount)->text);
    EXPECT_EQ(u"SALES", record.ItemAfterInit(ids::kDomain)->text);
    EXPECT_TRUE(record.ItemAfterInit(ui::kItemOk)->enabled);
    EXPECT_EQ(u"", record.ItemAfterInit(ids::kErrorText)->text);
    EXPECT_EQ(ids::kAccount, record.focusAfterInit);
}

TEST_F(AuthenticationDialogRun, OkIsEnabledOnlyOnceTheTypedAccountNamesADomain) {
    desktop().ScriptDialog(
        ui::kDialogAuthentication,
        {DialogAction::Press(ui::kItemOk), DialogAction::Type(ids::kAccount, u"installer"),
         DialogAction::Press(ui::kItemOk), DialogAction::Type(ids::kAccount, u"SALES\\"),
         DialogAction::Press(ui::kItemOk), DialogAction::Type(ids::kAccount, u"SALES\\installer"),
         DialogAction::Type(ids::kPassword, u"pw"), DialogAction::Press(ui::kItemOk)});
    EXPECT_EQ(platform::kDialogOk, RunAuthenticationDialog(world.platform(), state, 0, 0));
    const sim::DialogRecord record = Last();
    const std::vector<std::string> expected = {"press 1: refused (disabled)",
                                               "type 1021 \"installer\"",
                                               "press 1: refused (disabled)",
                                               "type 1021 \"SALES\\\"",
                                               "press 1: refused (disabled)",
                                               "type 1021 \"SALES\\installer\"",
                                               "type 1022 \"pw\"",
                                               "press 1"};
    EXPECT_EQ(expected, record.actions);
    EXPECT_EQ(u"SALES", record.ItemAtEnd(ids::kDomain)->text);
    EXPECT_EQ(u"installer@SALES", state.Account.view());
    EXPECT_EQ(u"pw", state.Password.view());
}

TEST_F(AuthenticationDialogRun, TheDomainFieldCannotBeTypedInto) {
    desktop().ScriptDialog(ui::kDialogAuthentication,
                           {DialogAction::Type(ids::kDomain, u"EVIL"), DialogAction::Escape()});
    EXPECT_EQ(platform::kDialogCancel, RunAuthenticationDialog(world.platform(), state, 0, 0));
    const sim::DialogRecord record = Last();
    EXPECT_EQ("type 1004 \"EVIL\": refused (read-only)", record.actions[0]);
    EXPECT_EQ(u"", record.ItemAtEnd(ids::kDomain)->text);
    EXPECT_FALSE(record.closedBySim);
}

TEST_F(AuthenticationDialogRun, TypedTextStopsAtTheFieldLimitAndEnterConfirms) {
    desktop().ScriptDialog(ui::kDialogAuthentication,
                           {DialogAction::Type(ids::kAccount, u"DOM\\" + std::u16string(200, u'u')),
                            DialogAction::Enter()});
    EXPECT_EQ(platform::kDialogOk, RunAuthenticationDialog(world.platform(), state, 0, 0));
    EXPECT_EQ(127u, Last().ItemAtEnd(ids::kAccount)->text.size());
    EXPECT_EQ(std::u16string(123, u'u') + u"@DOM", state.Account.view());
}

TEST_F(AuthenticationDialogRun, WithCode86ThePasswordIsSelected) {
    state.Password.Assign(u"wrong");
    EXPECT_EQ(platform::error::kCancelled,
              PromptForCredentials(world.platform(), state, 0, platform::error::kInvalidPassword));
    const sim::DialogRecord record = Last();
    EXPECT_EQ(86, record.parameter);
    EXPECT_EQ(ids::kPassword, record.focusAfterInit);
    EXPECT_TRUE(record.ItemAfterInit(ids::kPassword)->textSelected);
    EXPECT_FALSE(record.ItemAfterInit(ids::kAccount)->textSelected);
    EXPECT_EQ(u"The specified network password is not correct.\r\n",
              record.ItemAfterInit(ids::kErrorText)->text);
    EXPECT_EQ(u"wrong", state.Password.view());
}

TEST_F(AuthenticationDialogRun, AnyOpeningDuringInitialisationIsRefusedWithoutAWindow) {
    state.DialogInitialised.store(false);
    state.Account.Assign(u"installer@SALES");
    desktop().ScriptDialog(ui::kDialogAuthentication, {DialogAction::Press(ui::kItemOk)});
    for (const platform::ErrorCode code : {0u, 5u, 1326u, 1331u}) {
        EXPECT_EQ(platform::error::kCancelled,
                  PromptForCredentials(world.platform(), state, 0, code));
    }
    for (const sim::DialogRecord& record : desktop().Dialogs(ui::kDialogAuthentication)) {
        EXPECT_FALSE(record.shown);
        EXPECT_EQ(platform::kDialogCancel, record.endValue);
        EXPECT_TRUE(record.actions.empty());
    }
}

TEST_F(AuthenticationDialogRun, PromptMapsTheResultToCancelledOrRetry) {
    desktop().ScriptDialog(ui::kDialogAuthentication, {DialogAction::Type(ids::kAccount, u"a@b"),
                                                       DialogAction::Press(ui::kItemOk)});
    desktop().ScriptDialog(ui::kDialogAuthentication, {DialogAction::Press(ui::kItemCancel)});
    desktop().ScriptDialog(ui::kDialogAuthentication, {DialogAction::Close()});
    EXPECT_EQ(platform::error::kRetry, PromptForCredentials(world.platform(), state, 0, 1326));
    EXPECT_EQ(platform::error::kCancelled, PromptForCredentials(world.platform(), state, 0, 1326));
    EXPECT_EQ(platform::error::kCancelled, PromptForCredentials(world.platform(), state, 0, 5));
}

// A user interface whose dialogs can never be created.
class NoDialogs final : public platform::UserInterface {
public:
    int RunModalDialog(std::uint16_t, platform::LanguageId, platform::WindowId,
                       platform::DialogLogic&, std::intptr_t) override {
        return platform::kDialogFailed;
    }
    int MessageBox(platform::WindowId, const char16_t*, const char16_t*, std::uint32_t) override {
        return 1;
    }
    bool HasMessageBoxTimeout() override { return false; }
    int MessageBoxTimeout(platform::WindowId, const char16_t*, const char16_t*, std::uint32_t,
                          platform::LanguageId, std::uint32_t) override {
        return 1;
    }
    platform::HResult BrowseDomainTree(platform::WindowId, std::u16string&) override { return 1; }
    void ShowWaitCursor(bool) override {}
};

TEST_F(AuthenticationDialogRun, ADialogThatCannotBeShownIsACancellationNotARetry) {
    NoDialogs ui;
    platform::Platform& real = world.platform();
    platform::Platform os{real.clock,
                          real.locale,
                          real.environment,
                          real.files,
                          real.profile,
                          real.registry,
                          real.network,
                          real.ipHelper,
                          real.resources,
                          real.directory,
                          ui};
    EXPECT_EQ(platform::kDialogCancel, RunAuthenticationDialog(os, state, 0, 1326));
    EXPECT_EQ(platform::error::kCancelled, PromptForCredentials(os, state, 0, 1326));
}

} // namespace
} // namespace corvane
