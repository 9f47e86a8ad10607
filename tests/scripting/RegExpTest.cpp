// RegExp beyond what the conformance scripts show: how the language's
// pattern syntax reaches PCRE2, the limits on hostile patterns and subjects,
// and Escape/Unescape on every kind of character the engine's strings hold.
#include "scripting/vbs/Escape.h"
#include "scripting/vbs/Interpreter.h"
#include "scripting/vbs/RegExpPattern.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kalvion::vbs;

namespace {

class Capture final : public HostServices {
public:
    std::vector<std::string> Shown;
    int MsgBox(const std::string &prompt, int, const std::string &) override
    {
        Shown.push_back(prompt);
        return 1;
    }
    std::optional<std::string> InputBox(const std::string &, const std::string &, const std::string &def) override
    {
        return def;
    }
};

// What the script shows, or "error N" when it fails (-1: halted).
std::string RunScript(const std::string &text, std::uint64_t steps = 10'000'000)
{
    Capture ui;
    Interpreter in;
    in.Host = &ui;
    in.SetStepLimit(steps);
    try {
        in.Execute(text);
    } catch (const ScriptError &e) {
        return "error " + std::to_string(e.Number);
    } catch (const HaltSignal &) {
        return "error -1";
    }
    std::string out;
    for (const auto &s : ui.Shown)
        out += (out.empty() ? "" : "|") + s;
    return out;
}

// Test(subject) for a pattern, as the script sees it.
std::string Matches(const std::string &pattern, const std::string &subjectExpr, bool ignoreCase = false)
{
    std::string quoted;
    for (char c : pattern)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return RunScript("Set r = New RegExp\nr.Pattern = \"" + quoted + "\"\nr.IgnoreCase = " +
               (ignoreCase ? "True" : "False") + "\nMsgBox r.Test(" + subjectExpr + ")\n");
}

TEST(RegExpSyntax, EscapesMeanWhatTheLanguageSaysNotWhatPcre2Says)
{
    // \v is the vertical tab only, not PCRE2's class of vertical space.
    EXPECT_EQ(Matches("^\\v$", "Chr(11)"), "True");
    EXPECT_EQ(Matches("^\\v$", "vbLf"), "False");
    // Letters with no meaning of their own stand for themselves.
    EXPECT_EQ(Matches("^\\p{L}$", "\"p{L}\""), "True");
    EXPECT_EQ(Matches("^\\Q\\E\\K\\A\\z$", "\"QEKAz\""), "True");
    EXPECT_EQ(Matches("^\\N\\R\\h\\X$", "\"NRhX\""), "True");
    // \c with a letter is a control character; without one it is "\c".
    EXPECT_EQ(Matches("^a\\cJb$", "\"a\" & vbLf & \"b\""), "True");
    EXPECT_EQ(Matches("^\\c1$", "\"\\c1\""), "True");
    // \x and \u need all their digits, else they are the letter.
    EXPECT_EQ(Matches("^\\x4$", "\"x4\""), "True");
    EXPECT_EQ(Matches("^\\u12G$", "\"u12G\""), "True");
    EXPECT_EQ(Matches("^\\u00E9$", "ChrW(233)"), "True");
    // \0 and octal escapes; \8 that refers to no group is the digit.
    EXPECT_EQ(Matches("^\\0$", "Chr(0)"), "True");
    EXPECT_EQ(Matches("^\\101\\8$", "\"A8\""), "True");
}

TEST(RegExpSyntax, ClassesKeepTheLanguagesReading)
{
    // No POSIX classes: "[[:digit:]]" is a class of "[:digt" then "]".
    EXPECT_EQ(Matches("^[[:digit:]]$", "\"5\""), "False");
    EXPECT_EQ(Matches("^[[:digit:]]$", "\":]\""), "True");
    // A hyphen beside \d is a literal, where PCRE2 refuses the range.
    EXPECT_EQ(Matches("^[\\d-z]+$", "\"1-z\""), "True");
    EXPECT_EQ(Matches("^[a-\\d]+$", "\"a-1\""), "True");
    EXPECT_EQ(Matches("^[a-\\d]$", "\"b\""), "False");
    // \b in a class is a backspace, \B the letter.
    EXPECT_EQ(Matches("^[\\b]$", "Chr(8)"), "True");
    EXPECT_EQ(Matches("^[\\B]$", "\"B\""), "True");
    // A bracket or parenthesis inside a class opens nothing.
    EXPECT_EQ(Matches("^[(](a)\\1$", "\"(aa\""), "True");
    EXPECT_EQ(Matches("^\\((a)\\2$", "\"(a\" & Chr(2)"), "True");
}

TEST(RegExpSyntax, MultiByteCharactersAreOneCharacterForQuantifiers)
{
    EXPECT_EQ(Matches("^x\\u00E9+$", "\"x\" & ChrW(233) & ChrW(233)"), "True");
    EXPECT_EQ(Matches("^x" + std::string("\xC3\xA9") + "{2}$", "\"x\" & ChrW(233) & ChrW(233)"), "True");
}

TEST(RegExpSyntax, IgnoreCaseFoldsAsciiOnly)
{
    EXPECT_EQ(Matches("^abc$", "\"AbC\"", true), "True");
    EXPECT_EQ(Matches("^\\u00E9$", "ChrW(201)", true), "False");
}

TEST(RegExpSyntax, RefusedFormsHaveTheLanguagesErrorNumbers)
{
    struct Case {
        const char *Pattern;
        std::int32_t Error;
    };
    for (const Case &c : std::vector<Case>{{"(?<n>a)", 5017},
                                           {"(?P<n>a)", 5017},
                                           {"(?#note)a", 5017},
                                           {"(?R)", 5017},
                                           {"(?>a)", 5017},
                                           {"(?", 5017},
                                           {"a\\", 5017},
                                           {"(*UTF)a", 5018},
                                           {"a{2}{3}", 5018},
                                           {"a*?+", 5018},
                                           {"a???", 5018},
                                           {"|*", 5018},
                                           {"^*", 5018}}) {
        std::string out;
        EXPECT_EQ(TranslatePattern(c.Pattern, out), c.Error) << c.Pattern;
    }
    std::string out;
    EXPECT_EQ(TranslatePattern("(?:a)(?=b)(?!c)a*?b+?c??d{1,2}?", out), 0);
    // A brace that starts no quantifier is a literal, as is one without digits.
    EXPECT_EQ(Matches("^a{,2}{x}{1$", "\"a{,2}{x}{1\""), "True");
}

TEST(RegExpSyntax, GroupsAreCountedAsTheTranslationSeesThem)
{
    EXPECT_EQ(CountGroups("(a)(?:b)(c)"), 2);
    EXPECT_EQ(CountGroups("\\((a)[(]"), 1);
    EXPECT_EQ(CountGroups("[]](a)"), 1);
    EXPECT_EQ(CountGroups("[^]](a)"), 1);
    EXPECT_EQ(CountGroups("[\\]](a)"), 1);
    // PCRE2 finds as many groups as the translation counted.
    EXPECT_EQ(RunScript("Set r = New RegExp\nr.Pattern = \"[^](a)[\\]](b)\"\n"
                  "Set m = r.Execute(\"xa]b\")(0)\nMsgBox m.SubMatches.Count & m.SubMatches(1)\n"),
              "2b");
    EXPECT_EQ(RunScript("Set r = New RegExp\nr.Pattern = \"a[]](b)\"\nMsgBox r.Test(\"a]b\")\n"), "False");
}

TEST(RegExpSyntax, BrokenPatternsEndInAnErrorNotACrash)
{
    // Whatever the pattern, Test answers or raises one of the language's
    // errors (under the sanitizers this also checks the translation's reads).
    const char *patterns[] = {"(", ")", "[", "\\", "{", "{1", "{1,", "{1,2", "a{99999}", "(?", "(?=", "[\\",
                              "\\u12", "\\x", "\\c", "[]]", "[^]]", "[a-", "[\\d-", "\\1", "(\\1)", "\\999",
                              "((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((((",
                              "a{65536}", "(a{60000}){60000}", "[\\u00E9-\\u00EA]", "\xC3", "\xC3(", "\xF0\x9F"};
    for (const char *p : patterns) {
        std::string quoted;
        for (const char *c = p; *c; ++c)
            quoted += *c == '"' ? std::string("\"\"") : std::string(1, *c);
        const std::string out =
            RunScript("Set r = New RegExp\nr.Pattern = \"" + quoted + "\"\nMsgBox r.Test(\"a(]\\1{\")\n");
        const bool answered = out == "True" || out == "False";
        const bool refused = out.rfind("error 50", 0) == 0 || out == "error 28" || out == "error 7";
        EXPECT_TRUE(answered || refused) << p << ": " << out;
    }
}

TEST(RegExpLimits, TheRunsStepLimitReachesIntoALongMatch)
{
    // The callouts look at the step limit now and then, so a run limited to a
    // few statements halts inside the match instead of finishing it.
    const std::string script = "Set r = New RegExp\nr.Pattern = \"(a+)+$\"\nx = r.Test(String(40, \"a\") & \"b\")\n";
    EXPECT_EQ(RunScript(script, 10), "error -1");
    EXPECT_EQ(RunScript(script), "error 28");
}

TEST(RegExpLimits, DeepBacktrackingOnALongSubjectIsAnError)
{
    // Every repetition of a group keeps a backtracking frame.
    const std::string out = RunScript("Set r = New RegExp\nr.Pattern = \"^(a|b)*$\"\n"
                                "x = r.Test(String(2000000, \"a\"))\nMsgBox x\n");
    EXPECT_TRUE(out == "error 28" || out == "error 7") << out;
    EXPECT_EQ(RunScript("Set r = New RegExp\nr.Pattern = \"^(a|b)*$\"\nMsgBox r.Test(String(1000, \"a\"))\n"), "True");
}

TEST(RegExpLimits, ExecuteKeepsABoundedNumberOfMatches)
{
    // Ten empty groups: each match keeps 22 offsets, and 16M offsets are the
    // most, so an empty match at each of a million places is too many.
    std::string groups;
    for (int i = 0; i < 10; ++i)
        groups += "()";
    EXPECT_EQ(RunScript("Set r = New RegExp\nr.Global = True\nr.Pattern = \"" + groups +
                        "\"\nSet m = r.Execute(String(1000000, \"a\"))\n"),
              "error 7");
    EXPECT_EQ(RunScript("Set r = New RegExp\nr.Global = True\nr.Pattern = \"" + groups +
                        "\"\nMsgBox r.Execute(String(1000, \"a\")).Count\n"),
              "1001");
}

TEST(RegExpObjects, MatchesOutliveTheirRegExpAndSubject)
{
    EXPECT_EQ(RunScript("Function Find(s)\n Dim r : Set r = New RegExp\n r.Pattern = \"(\\w)(\\d)\"\n"
                  " r.Global = True\n Set Find = r.Execute(s)\nEnd Function\n"
                  "Set ms = Find(\"a1 b2\")\nSet m = ms(1)\nSet ms = Nothing\n"
                  "MsgBox m & m.SubMatches(0) & m.FirstIndex\n"),
          "b2b3");
}

TEST(RegExpObjects, ArgumentsAreCheckedLikeTheLanguagesMethods)
{
    EXPECT_EQ(RunScript("Set r = New RegExp\nx = r.Test()\n"), "error 450");
    EXPECT_EQ(RunScript("Set r = New RegExp\nx = r.Replace(\"a\")\n"), "error 450");
    EXPECT_EQ(RunScript("Set r = New RegExp\nx = r.Test(Null)\n"), "error 94");
    EXPECT_EQ(RunScript("Set r = New RegExp\nx = r.Frobnicate\n"), "error 438");
    EXPECT_EQ(RunScript("Set r = New RegExp\nSet m = r.Execute(\"a\")\nx = m(-1)\n"), "error 5");
    EXPECT_EQ(RunScript("Set r = New RegExp\nr.Pattern = \"(a)\"\nx = r.Execute(\"a\")(0).SubMatches(1)\n"), "error 5");
    EXPECT_EQ(RunScript("Set r = New RegExp\nr.Pattern = \"(a)\"\nx = r.Execute(\"a\")(0).Value(0)\n"), "error 450");
}

TEST(EscapeText, EveryKindOfCharacterRoundTrips)
{
    // ASCII, a two-, three- and four-byte UTF-8 character, an encoded
    // surrogate as ChrW writes it, and a byte that starts no sequence.
    const std::string text = std::string("a ~") + "\xC3\xA9" + "\xE2\x82\xAC" + "\xF0\x9F\x98\x80" + "\xED\xA0\xBD";
    EXPECT_EQ(EscapeText(text), "a%20%7E%E9%u20AC%uD83D%uDE00%uD83D");
    EXPECT_EQ(UnescapeText(EscapeText(text)), text);
    EXPECT_EQ(EscapeText("\xE9x"), "%E9x");
    EXPECT_EQ(EscapeText("\xC3"), "%C3");
    EXPECT_EQ(EscapeText("\xC0\x80"), "%C0%80"); // an overlong form is two bytes
    EXPECT_EQ(UnescapeText("%uD83D%uDE00"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(UnescapeText("%uD83Dx"), "\xED\xA0\xBDx");
    EXPECT_EQ(UnescapeText("%00%7f%7F"), std::string("\0\x7F\x7F", 3));
    EXPECT_EQ(UnescapeText("%"), "%");
    EXPECT_EQ(UnescapeText("%u"), "%u");
    EXPECT_EQ(UnescapeText("%uD83D%u"), "\xED\xA0\xBD%u");
}

} // namespace
