// The text form of the sim's user actions: what it reads, what it refuses,
// and that no input makes it fail other than with errors.
#include "platform/sim/desktop/desktop.h"
#include "platform/sim/world.h"

#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <string>

namespace corvane::sim {
namespace {

std::vector<std::string> Texts(const std::vector<DialogAction>& actions) {
    std::vector<std::string> texts;
    for (const DialogAction& action : actions) {
        texts.push_back(action.Text());
    }
    return texts;
}

TEST(DesktopScript, ReadsEveryActionAndAnswer) {
    const std::string text = "\xEF\xBB\xBF# a comment\r\n"
                             "dialog 101\r\n"
                             "  type 1003 \"PC \"\"01\"\" \\x\"  # a comment after a text\n"
                             "  press 0x1\n"
                             "  check 1016\n"
                             "  uncheck 1022\n"
                             "  pick 1014 2\n"
                             "  pick 1034 \"\\Sales\\Clients\"\n"
                             "  dropdown 1034\n"
                             "  address 1011 192.168.1.5\n"
                             "  address 1013 blank\n"
                             "  key enter\n"
                             "  key escape\n"
                             "  wait 250\n"
                             "  close\n"
                             "\n"
                             "messagebox timeout\n"
                             "dialog 105\n"
                             "messagebox 6\n"
                             "browse \"corp.example.com\"\n"
                             "browse cancel\n"
                             "browse unavailable\n"
                             "dialog 105\n"
                             "  type 1022 \"\"";
    DesktopScript script;
    std::vector<std::string> errors;
    ASSERT_TRUE(ParseDesktopScript(text, script, errors)) << errors.front();
    ASSERT_EQ(3u, script.dialogs.size());
    EXPECT_EQ(101, script.dialogs[0].templateId);
    const std::vector<std::string> expected = {"type 1003 \"PC \"\"01\"\" \\x\"",
                                               "press 1",
                                               "check 1016",
                                               "uncheck 1022",
                                               "pick 1014 2",
                                               "pick 1034 \"\\Sales\\Clients\"",
                                               "dropdown 1034",
                                               "address 1011 192.168.1.5",
                                               "address 1013 blank",
                                               "key enter",
                                               "key escape",
                                               "wait 250",
                                               "close"};
    EXPECT_EQ(expected, Texts(script.dialogs[0].actions));
    EXPECT_EQ(u"PC \"01\" \\x", script.dialogs[0].actions[0].text);
    EXPECT_EQ(0xC0A80105u, script.dialogs[0].actions[7].address);
    EXPECT_TRUE(script.dialogs[1].actions.empty());
    EXPECT_EQ((std::vector<std::string>{"type 1022 \"\""}), Texts(script.dialogs[2].actions));
    EXPECT_EQ((std::vector<int>{kMessageBoxTimedOut, 6}), script.messageBoxAnswers);
    ASSERT_EQ(3u, script.browserAnswers.size());
    EXPECT_EQ(u"corp.example.com", script.browserAnswers[0].domain);
    EXPECT_EQ(DomainBrowserAnswer::Kind::Cancel, script.browserAnswers[1].kind);
    EXPECT_EQ(DomainBrowserAnswer::Kind::Unavailable, script.browserAnswers[2].kind);
}

TEST(DesktopScript, ReportsEachBadLineAndLoadsNothing) {
    struct Case {
        std::string line;
        std::string error;
    };
    {
        DesktopScript script;
        std::vector<std::string> errors;
        EXPECT_FALSE(ParseDesktopScript("press 1\ndialog 105", script, errors));
        EXPECT_EQ(std::vector<std::string>{"line 1: 'press' before the first 'dialog' line"},
                  errors);
    }
    // Each line below follows "dialog 105".
    const Case cases[] = {
        {"dialog 107", "line 2: no dialog template '107'"},
        {"dialog", "line 2: expected 'dialog TEMPLATE'"},
        {"jump 1", "line 2: unknown action 'jump'"},
        {"\"type\" 1021 \"x\"", "line 2: a line must start with an action"},
        {"type 1099 \"x\"", "line 2: dialog 105 has no item 1099"},
        {"type -1 \"x\"", "line 2: dialog 105 has no item -1"},
        {"type 1 \"x\"", "line 2: item 1 is no EDIT control"},
        {"type 1021 x", "line 2: the text must be quoted"},
        {"type 1021 \"x", "line 2: unterminated quoted text"},
        {"type 1021 \"x\"y", "line 2: a quoted text must be followed by a blank"},
        {"type 1021", "line 2: expected 'type ITEM \"TEXT\"'"},
        {"press", "line 2: expected 'press ITEM'"},
        {"press 99999999999999999999", "line 2: dialog 105 has no item '99999999999999999999'"},
        {"press 0x", "line 2: dialog 105 has no item '0x'"},
        {"type computer-name \"x\"", "line 2: dialog 105 has no item 'computer-name'"},
        {"press \"ok\"", "line 2: dialog 105 has no item 'ok'"},
        {"press error-text", "line 2: item error-text is no BUTTON control"},
        {"check 1", "line 2: item 1 is neither a check box nor a radio button"},
        {"pick 1021 0", "line 2: item 1021 is no COMBOBOX control"},
        {"wait -5", "line 2: no waiting time '-5' (0 to 86400000 ms)"},
        {"wait 86400001", "line 2: no waiting time '86400001' (0 to 86400000 ms)"},
        {"key tab", "line 2: no key 'tab'"},
        {"close now", "line 2: expected 'close'"},
        {"messagebox maybe", "line 2: no message-box button 'maybe'"},
        {"messagebox 0", "line 2: no message-box button '0'"},
        {"browse corp", "line 2: a domain must be quoted: 'corp'"},
    };
    for (const Case& c : cases) {
        DesktopScript script;
        std::vector<std::string> errors;
        EXPECT_FALSE(ParseDesktopScript("dialog 105\n" + c.line, script, errors)) << c.line;
        EXPECT_EQ(std::vector<std::string>{c.error}, errors) << c.line;
        EXPECT_TRUE(script.dialogs.empty()) << c.line;
    }

    // The main dialog's items and classes.
    DesktopScript script;
    std::vector<std::string> errors;
    EXPECT_FALSE(ParseDesktopScript("dialog 101\n"
                                    "uncheck 1015\n"
                                    "address 1011 1.2.3\n"
                                    "address 1011 1.2.3.256\n"
                                    "pick 1014 -1\n"
                                    "dropdown 1034\n",
                                    script, errors));
    const std::vector<std::string> expected = {
        "line 2: radio button 1015 cannot be unticked; tick another one",
        "line 3: no IP address '1.2.3'",
        "line 4: no IP address '1.2.3.256'",
        "line 5: no list index '-1'",
    };
    EXPECT_EQ(expected, errors);
}

TEST(DesktopScript, AnyInputEndsInAScriptOrErrors) {
    // Mutations of a valid script: every byte value, cut anywhere.
    const std::string valid =
        "dialog 105\ntype 1021 \"a\"\"b\"\npress 1\nwait 100\nmessagebox ok\nbrowse \"x\"\n";
    std::mt19937 random(20240607);
    for (int round = 0; round < 3000; ++round) {
        std::string text = valid;
        const int edits = 1 + static_cast<int>(random() % 6);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = random() % (text.size() + 1);
            switch (random() % 3) {
            case 0:
                text.insert(at, 1, static_cast<char>(random() % 256));
                break;
            case 1:
                if (at < text.size()) {
                    text.erase(at, 1);
                }
                break;
            default:
                text = text.substr(0, at);
                break;
            }
        }
        DesktopScript script;
        std::vector<std::string> errors;
        if (ParseDesktopScript(text, script, errors)) {
            EXPECT_TRUE(errors.empty());
        } else {
            ASSERT_FALSE(errors.empty());
            EXPECT_EQ(0u, errors.front().rfind("line ", 0)) << errors.front();
        }
    }
}

TEST(DesktopScript, LoadingTheTextScriptsTheDesktop) {
    World world;
    std::vector<std::string> errors;
    EXPECT_FALSE(world.Desktop().LoadText("dialog 105\npress 1\nfly\n", errors));
    EXPECT_EQ(0u, world.Desktop().UnusedDialogScripts());
    errors.clear();
    ASSERT_TRUE(world.Desktop().LoadText("dialog 106\nclose\ndialog 106\nmessagebox no\n", errors));
    EXPECT_EQ(2u, world.Desktop().UnusedDialogScripts());
    EXPECT_EQ(1u, world.Desktop().UnusedMessageBoxAnswers());
    EXPECT_EQ((std::vector<std::string>{"close"}), Texts(world.Desktop().TakeDialogScript(106)));
    world.Desktop().ClearScript();
    EXPECT_EQ(0u, world.Desktop().UnusedDialogScripts());
}

#ifdef CORVANE_DOCS_DIR
TEST(DesktopScript, TheDocumentedExampleParses) {
    std::ifstream file(CORVANE_DOCS_DIR "/sim-actions.md");
    ASSERT_TRUE(file.good());
    std::stringstream content;
    content << file.rdbuf();
    const std::string doc = content.str();
    const std::size_t marker = doc.find("<!-- desktop-script-example -->");
    ASSERT_NE(std::string::npos, marker);
    const std::size_t start = doc.find("```\n", marker) + 4;
    const std::size_t end = doc.find("```", start);
    DesktopScript script;
    std::vector<std::string> errors;
    ASSERT_TRUE(ParseDesktopScript(doc.substr(start, end - start), script, errors))
        << errors.front();
    ASSERT_EQ(2u, script.dialogs.size());
    EXPECT_EQ(u"Pa\"ss", script.dialogs[0].actions[1].text);
    EXPECT_EQ(u"SALES\\installer", script.dialogs[0].actions[0].text);
    EXPECT_EQ(1u, script.messageBoxAnswers.size());
    EXPECT_EQ(1u, script.browserAnswers.size());
}
#endif

} // namespace
} // namespace corvane::sim

namespace corvane::sim {
namespace {

// Every item name reads as the control id it stands for.
TEST(DesktopScript, ItemNamesAreTheControlIds) {
    const std::string named = "dialog main\n"
                              "  type computer-name \"WS-0815\"\n"
                              "  pick ou \"Berlin\"\n"
                              "  pick adapter 0\n"
                              "  check member-of-domain\n"
                              "  type domain \"SALES\"\n"
                              "  press credentials\n"
                              "  check member-of-workgroup\n"
                              "  type workgroup \"WG\"\n"
                              "  check automatic-address\n"
                              "  check fixed-address\n"
                              "  address ip-address 10.0.0.2\n"
                              "  address subnet-mask blank\n"
                              "  address default-gateway 10.0.0.1\n"
                              "  uncheck start-with-windows\n"
                              "  press cancel\n"
                              "  press ok\n"
                              "dialog credentials\n"
                              "  type account \"a\"\n"
                              "  type password \"p\"\n"
                              "  type domain \"d\"\n"
                              "  press browse\n"
                              "  press ok\n"
                              "dialog progress\n";
    const std::string numbered = "dialog 101\n"
                                 "  type 1003 \"WS-0815\"\n"
                                 "  pick 1034 \"Berlin\"\n"
                                 "  pick 1014 0\n"
                                 "  check 1015\n"
                                 "  type 1004 \"SALES\"\n"
                                 "  press 1025\n"
                                 "  check 1016\n"
                                 "  type 1005 \"WG\"\n"
                                 "  check 1009\n"
                                 "  check 1010\n"
                                 "  address 1011 10.0.0.2\n"
                                 "  address 1012 blank\n"
                                 "  address 1013 10.0.0.1\n"
                                 "  uncheck 1022\n"
                                 "  press 2\n"
                                 "  press 1\n"
                                 "dialog 105\n"
                                 "  type 1021 \"a\"\n"
                                 "  type 1022 \"p\"\n"
                                 "  type 1004 \"d\"\n"
                                 "  press 1026\n"
                                 "  press 1\n"
                                 "dialog 106\n";
    DesktopScript byName;
    DesktopScript byId;
    std::vector<std::string> errors;
    ASSERT_TRUE(ParseDesktopScript(named, byName, errors)) << errors.front();
    ASSERT_TRUE(ParseDesktopScript(numbered, byId, errors)) << errors.front();
    ASSERT_EQ(byName.dialogs.size(), byId.dialogs.size());
    for (std::size_t i = 0; i < byId.dialogs.size(); ++i) {
        EXPECT_EQ(byName.dialogs[i].templateId, byId.dialogs[i].templateId);
        EXPECT_EQ(Texts(byName.dialogs[i].actions), Texts(byId.dialogs[i].actions));
    }
}

} // namespace
} // namespace corvane::sim
