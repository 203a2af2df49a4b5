#include "platform/sim/desktop/desktop.h"
#include "platform/sim/line_tokens.h"
#include "platform/sim/scenario/scenario.h"
#include "platform/sim/world.h"

#include <gtest/gtest.h>

namespace corvane::sim {
namespace {

// Quoted texts are marked with brackets: [a b].
std::string Shown(const std::vector<LineToken>& tokens) {
    std::string out;
    for (const LineToken& token : tokens) {
        out += (out.empty() ? "" : "|") + (token.quoted ? "[" + token.text + "]" : token.text);
    }
    return out;
}

TEST(LineTokens, CommentStartsWhereAWordCouldStart) {
    struct Case {
        std::string_view line;
        std::string_view tokens;
        std::string_view withoutComment;
    };
    const Case cases[] = {
        {"press 1 # the OK button", "press|1", "press 1 "},
        {"# a whole line", "", ""},
        {"  #indented", "", "  "},
        {"cwd C:\\Build#2", "cwd|C:\\Build#2", "cwd C:\\Build#2"},
        {"type 1003 \"# not a comment\" #but this", "type|1003|[# not a comment]",
         "type 1003 \"# not a comment\" "},
        {"x \"a \"\" #b\" c", "x|[a \" #b]|c", "x \"a \"\" #b\" c"},
        {"env A \"\"", "env|A|[]", "env A \"\""},
        {"\ttab\tseparated\t", "tab|separated", "\ttab\tseparated\t"},
    };
    for (const Case& c : cases) {
        std::vector<LineToken> tokens;
        std::string error;
        ASSERT_TRUE(TokenizeLine(c.line, tokens, error)) << c.line << ": " << error;
        EXPECT_EQ(Shown(tokens), c.tokens) << c.line;
        EXPECT_EQ(WithoutComment(c.line), c.withoutComment) << c.line;
    }
}

TEST(LineTokens, QuotedTokensReadBackAsThemselves) {
    for (const std::string_view text : {"", "plain", "#hash", "a b", "say \"hi\"", "a#b"}) {
        std::vector<LineToken> tokens;
        std::string error;
        ASSERT_TRUE(TokenizeLine("key " + QuoteToken(text), tokens, error)) << text;
        ASSERT_EQ(tokens.size(), 2u) << text;
        EXPECT_EQ(tokens[1].text, text);
    }
}

// Both file formats follow the one rule.
TEST(LineTokens, ScenarioAndActionScriptShareTheCommentRule) {
    World world;
    const ScenarioResult result = LoadScenario("[workstation] # the machine\n"
                                               "env BUILD C:\\Build#2 # where it came from\n"
                                               "env NOTE \"# kept\"\n",
                                               world);
    ASSERT_TRUE(result.ok()) << result.Text();
    EXPECT_EQ(world.EnvironmentVariable(u"BUILD"), u"C:\\Build#2");
    EXPECT_EQ(world.EnvironmentVariable(u"NOTE"), u"# kept");

    DesktopScript script;
    std::vector<std::string> errors;
    ASSERT_TRUE(ParseDesktopScript("dialog 105 # credentials\n"
                                   "type 1021 \"a#b\" # account\n",
                                   script, errors))
        << errors.front();
    ASSERT_EQ(script.dialogs.size(), 1u);
    ASSERT_EQ(script.dialogs[0].actions.size(), 1u);
    EXPECT_EQ(script.dialogs[0].actions[0].text, u"a#b");
    // "1#" is one word, and no item.
    EXPECT_FALSE(ParseDesktopScript("dialog 105\npress 1#\n", script, errors));
    EXPECT_EQ(errors, std::vector<std::string>{"line 2: dialog 105 has no item '1#'"});
}

} // namespace
} // namespace corvane::sim
