// Loading, picking and expansion of random tables, and their behaviour on
// damaged or hostile input.
#include "base/SharedRandom.h"
#include "tables/ClassTKTable.h"
#include "tables/TKTableText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace kalvion;

namespace {

const std::string kData = KALVION_TEST_DATA_DIR;

// Writes a scratch table file (outside input built by the test itself).
class TableFile {
public:
    explicit TableFile(const std::string &text, const std::string &name = "scratch.ilt")
    {
        Path = (fs::temp_directory_path() / ("kalvion_tables_" + std::to_string(::getpid()) + "_" + name)).string();
        std::ofstream(Path, std::ios::binary) << text;
    }
    ~TableFile() { fs::remove(Path); }
    std::string Path;
};

std::string Line(TTKTableApplication &app, const std::string &text, std::int32_t roll = 0)
{
    return UnEsc(app.ProcessLine(text, roll));
}

} // namespace

TEST(TKTable, WeightedAndLookupPicks)
{
    TTKTable t;
    t.Items = {{1, 1, false, "a"}, {3, 3, false, "b"}};
    EXPECT_EQ(t.Total(), 4);
    EXPECT_EQ(t.GetItem(1, false), "a");
    for (int r = 2; r <= 4; ++r)
        EXPECT_EQ(t.GetItem(r, false), "b");
    t.Default = "none";
    EXPECT_EQ(t.GetItem(5, false), "none");
    EXPECT_EQ(t.LastRoll, 0);
    EXPECT_EQ(t.GetItem(0, false), "none");

    TTKTable look;
    look.Type = TK_TYPE_LOOKUP;
    look.Items = {{1, 2, false, "x"}, {3, 6, false, "y"}};
    EXPECT_EQ(look.Total(), 6);
    EXPECT_EQ(look.GetItem(2, false), "x");
    EXPECT_EQ(look.LastRoll, 2);
    EXPECT_EQ(look.GetItem(6, false), "y");
    // A lookup ignores dealt flags.
    look.Items[0].Dealt = true;
    EXPECT_EQ(look.GetItem(1, false), "x");
}

TEST(TKTable, DealingGivesEachEntryOnceThenTheDefault)
{
    TTKTable t;
    t.Default = "empty";
    t.Items = {{0, 0, false, "a"}, {0, 0, false, "b"}, {0, 0, false, "c"}};
    SetSharedRandomSeed(99);
    std::vector<std::string> got;
    for (int k = 0; k < 3; ++k)
        got.push_back(t.RandomPick(true));
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(t.RandomPick(true), "empty");
    t.Shuffle();
    EXPECT_EQ(t.Total(), 3);
}

TEST(TKTable, EveryPickDrawsOnceEvenFromOneEntry)
{
    TTKTable t;
    t.Items = {{0, 0, false, "only"}};
    SetSharedRandomSeed(5);
    EXPECT_EQ(t.RandomPick(false), "only");
    EXPECT_EQ(SharedRandomSeed(), NextRandomSeed(5));
}

TEST(TKTable, NonPositiveTotalGivesTheDefaultWithoutRolling)
{
    TTKTable t;
    t.Default = "fallback";
    t.Items = {{-5, -5, false, "never"}, {2, 2, false, "also never"}};
    SetSharedRandomSeed(5);
    EXPECT_EQ(t.RandomPick(false), "fallback");
    EXPECT_EQ(SharedRandomSeed(), 5);
    TTKTable empty;
    EXPECT_EQ(empty.RandomPick(false), "");
}

TEST(TKTableLoad, DirectivesReachTheApplication)
{
    TTKTableApplication app;
    ASSERT_TRUE(app.Load(kData + "/golden/directives.ilt", kData));
    EXPECT_EQ(app.Title, "First title");  // no blank after "title:", first counts
    EXPECT_EQ(app.Header, "The header");
    EXPECT_EQ(app.Footer, "The footer");
    EXPECT_EQ(app.MaxReps, 3);
    EXPECT_EQ(app.Formatting, TK_FORMATTING_TEXT);
    ASSERT_EQ(app.TableCount(), 2);
    EXPECT_EQ(app.TableName(0), "main");
    TTKTable *main = app.GetTableByName("MAIN");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->Default, "main has no use for this");
    ASSERT_EQ(main->Definitions.size(), 1u);
    EXPECT_EQ(main->Definitions[0].second, "tight");
    ASSERT_EQ(app.GlobalDefinitions.size(), 1u);
    EXPECT_EQ(app.GlobalDefinitions[0].second, " keeps its blank");
    EXPECT_EQ(app.GetTableByName("other")->ShuffleList, std::vector<std::string>{"main"});

    ASSERT_EQ(app.PromptCount(), 1);
    EXPECT_EQ(GetPromptLabel(app.Prompts[0].Definition), "Size");
    EXPECT_EQ(GetPromptOptions(app.Prompts[0].Definition), (std::vector<std::string>{"small", "medium", "large"}));
    EXPECT_EQ(GetPromptDefault(app.Prompts[0].Definition), "medium");
    app.SetPrompt(1, "large");
    app.SetPrompt(6, "ignored");
    app.InitializeVariables();
    EXPECT_EQ(app.GetVar("prompt1"), "large");
    EXPECT_EQ(app.GetVar("self"), "directives.ilt");
    EXPECT_EQ(app.GetVar("APP"), "Idealoom");
}

TEST(TKTableLoad, MissingFileKeepsTheTablesAndSetsTheError)
{
    TTKTableApplication app;
    ASSERT_TRUE(app.Load(kData + "/golden/deck.ilt", kData));
    EXPECT_FALSE(app.Load(kData + "/no such file.ilt", kData));
    EXPECT_EQ(app.LastError(), "Missing File " + kData + "/no such file.ilt");
    EXPECT_EQ(TKLastError(), app.LastError());
    EXPECT_EQ(app.TableCount(), 3);
    EXPECT_EQ(app.FileName, kData + "/golden/deck.ilt");

    TTKTableApplication none;
    EXPECT_EQ(none.OutputILT(), "");
    EXPECT_EQ(none.LastError(), "No File Assigned");
    EXPECT_EQ(none.Go(3), "");
}

TEST(TKTableLoad, IncludesAreFoundOnceIgnoringCaseAndOutputInline)
{
    TTKTableApplication app;
    ASSERT_TRUE(app.Load(kData + "/golden/include.ilt", kData));
    EXPECT_EQ(app.IncludedFiles.size(), 2u);  // the file itself and colours.ilt
    EXPECT_EQ(app.TableCount(), 3);
    EXPECT_EQ(app.TableName(0), "main");

    const std::string out = app.OutputILT();
    EXPECT_NE(out.find("\r\n\r\nEndTable:\r\ntable: shade\r\ncrimson\r\n"), std::string::npos);
    EXPECT_NE(out.find("//could not include nowhere.ilt\r\n"), std::string::npos);
    EXPECT_EQ(out.find("use: Common"), std::string::npos);
    EXPECT_EQ(out.find("EndTable:"), out.rfind("EndTable:"));  // included once

    TableFile exported("", "exported.ilt");
    ASSERT_TRUE(app.ExportILT(exported.Path));
    TTKTableApplication again;
    ASSERT_TRUE(again.Load(exported.Path, kData));
    EXPECT_EQ(again.TableCount(), 3);
    // A write that fails is a failure, not a short file.
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_FALSE(app.ExportILT("/dev/full"));
    }
}

TEST(TKTableLoad, EntriesNumbersRangesAndContinuations)
{
    TableFile f("table: t\r\n"
                "plain line\r\n"
                "5: weighted\r\n"
                "Note: a colon within eleven characters\r\n"
                "a much longer label: keeps its colon\r\n"
                "-3: negative\r\n"
                "long &\r\n"
                "   continued &\r\n"
                "   twice\r\n"
                "endtable:\r\n"
                "outside: ignored\r\n"
                "table: r\r\n"
                "10\xE2\x80\x93" "20: utf8\n"
                "21\x96" "30: cp1252\n"
                "xx-yy: zero\n");
    TTKTableApplication app;
    ASSERT_TRUE(app.Load(f.Path, kData));
    TTKTable &t = *app.GetTableByName("t");
    EXPECT_EQ(t.Type, TK_TYPE_WEIGHTED);
    ASSERT_EQ(t.Items.size(), 6u);
    EXPECT_EQ(t.Items[0].Text, "plain line");
    EXPECT_EQ(t.Items[1].Low, 5);
    EXPECT_EQ(t.Items[1].Text, " weighted");  // the text after ":" as written
    EXPECT_EQ(t.Items[2].Low, 0);
    EXPECT_EQ(t.Items[2].Text, " a colon within eleven characters");
    EXPECT_EQ(t.Items[3].Text, "a much longer label: keeps its colon");
    EXPECT_EQ(t.Items[4].Low, -3);
    EXPECT_EQ(t.Items[4].High, -3);
    EXPECT_EQ(t.Items[5].Text, "long continued twice");

    TTKTable &r = *app.GetTableByName("r");
    EXPECT_EQ(r.Type, TK_TYPE_LOOKUP);
    ASSERT_EQ(r.Items.size(), 3u);
    EXPECT_EQ(r.Items[0].Low, 10);
    EXPECT_EQ(r.Items[0].High, 20);
    EXPECT_EQ(r.Items[1].Low, 21);
    EXPECT_EQ(r.Items[1].High, 30);
    EXPECT_EQ(r.Items[2].Low, 0);
    EXPECT_EQ(r.Items[2].High, 0);
}

TEST(TKTableLoad, DamagedFilesLoadWithoutHarm)
{
    std::string junk;
    for (int i = 0; i < 20000; ++i)
        junk.push_back(static_cast<char>((i * 7919) % 256));
    const std::string texts[] = {
        "",
        "\r\n\r\n\r",
        "table: a\n&\n&\n&",
        "table: a\nroll: 99999999999d6\n1\x96: x\n:\n" + std::string(5000, '&'),
        "use: " + std::string(300, '/') + "\nuse: \\\\server\\share\\x.ilt\nuse:\ntable:\ntype:\ndefault:",
        junk,
        "table: a\n" + std::string(100000, '['),
    };
    for (const auto &text : texts) {
        TableFile f(text);
        TTKTableApplication app;
        ASSERT_TRUE(app.Load(f.Path, kData));
        SetSharedRandomSeed(1);
        app.Go(3);
        EXPECT_EQ(app.ResultCount(), app.TableCount() == 0 ? 0 : 3);
    }
}

TEST(TKTableGo, ResultsAndSelections)
{
    TableFile f("maxreps: 4\ntable: main\n[|a|b|c]{$rep}\n");
    TTKTableApplication app;
    ASSERT_TRUE(app.Load(f.Path, kData));
    SetSharedRandomSeed(3);
    const std::string text = app.Go(10);
    ASSERT_EQ(app.ResultCount(), 4);
    EXPECT_EQ(text, app.ResultsAsString());
    EXPECT_EQ(app.GetResult(3).back(), '4');
    EXPECT_EQ(app.GetResult(4), "");
    EXPECT_EQ(app.GetResult(-1), "");
    app.Selected[1] = true;
    app.InvertSelected();
    app.DeleteSelected();
    ASSERT_EQ(app.ResultCount(), 1);
    EXPECT_EQ(app.GetResult(0).back(), '2');

    app.SetVar("Keep", "me");
    app.RunExpression("{$keep}-{$rep}", 2);
    EXPECT_EQ(app.ResultsAsString(), "me-1\r\nme-2\r\n");
}

TEST(TKTableMarkup, TagsAssignmentsAndFilters)
{
    TableFile f("table: colors\nred\ngreen\nblue\n");
    TTKTableApplication app;
    ASSERT_TRUE(app.Load(f.Path, kData));
    SetSharedRandomSeed(17);
    EXPECT_EQ(Line(app, "[@x==colors]"), "");
    const std::string x = app.GetVar("x");
    EXPECT_TRUE(x == "red" || x == "green" || x == "blue");
    EXPECT_EQ(Line(app, "{$X}"), x);
    const std::string y = Line(app, "[@y=colors]");
    EXPECT_EQ(y, app.GetVar("y"));

    const std::string three = Line(app, "[@3 colors >> sort >> implode /]");
    EXPECT_EQ(std::count(three.begin(), three.end(), '/'), 2);
    EXPECT_LE(three.substr(0, three.find('/')), three.substr(three.rfind('/') + 1));

    EXPECT_EQ(Line(app, "[Hello >> upper]"), "HELLO");
    EXPECT_EQ(Line(app, "\\[Hello >> upper]"), "[Hello >> upper]");
    for (const char *value : {"1", "01"}) {
        app.SetVar("a", value);
        EXPECT_EQ(Line(app, "[when]{$a}=1[do]one[else]other[end]"), "one");
    }
    app.SetVar("a", "x");
    EXPECT_EQ(Line(app, "[when]{$a}=1[do]one[else]other[end]"), "other");
    EXPECT_EQ(Line(app, "[when]{$a}=1[do]one[end]"), "");
    EXPECT_EQ(Line(app, "\\a apple, \\a hour, \\a unicorn and \\a dog"), "an apple, an hour, a unicorn and a dog");
    // A silent assignment; the calculator knows no names of its own.
    EXPECT_EQ(Line(app, "{!x==2^3}{!x*2}"), "(Invalid expression: x*2)");
    EXPECT_EQ(app.GetVar("x"), "8");
    EXPECT_EQ(Line(app, "{!{$x}*2}"), "16");
    EXPECT_EQ(Line(app, "{!1/0}"), "INF");
}

TEST(TKTableMarkup, ArticlesResolvedOnTheirOwn)
{
    const TTKTableApplication app;
    // The word after the marker decides, its case does not; other escapes and
    // tags are left for ProcessLine.
    EXPECT_EQ(app.ProcessAAn("\\a Apple and \\a HOUR and \\a Universe and \\a unit"),
              "an Apple and an HOUR and a Universe and an unit");
    EXPECT_EQ(app.ProcessAAn("\\a   orb, \\a [@x], \\n\\a"), "an   orb, a [@x], \\na");
    EXPECT_EQ(app.ProcessAAn(""), "");
    // The marker count is bounded; the rest stay as written.
    std::string many;
    for (int i = 0; i <= TK_MAX_AAN; ++i)
        many += "\\a x ";
    const std::string out = app.ProcessAAn(many);
    EXPECT_EQ(out.find("\\a"), out.size() - 5);
}

TEST(TKTableMarkup, LimitsOfLengthPassesAndCounts)
{
    TTKTableApplication app;
    const std::string long4001 = "[x]" + std::string(3998, 'y');
    EXPECT_EQ(app.ProcessLine(long4001, 0), long4001);
    EXPECT_EQ(app.ProcessLine(long4001.substr(1), 0), long4001.substr(1));
    EXPECT_EQ(app.ProcessLine("", 0), "");

    // A variable that expands to itself and more runs out of passes.
    app.SetVar("grow", "a{$grow}");
    const std::string grown = app.ProcessLine("{$grow}", 0);
    EXPECT_EQ(grown, std::string(TK_MAX_PASSES, 'a') + "{$grow}");

    EXPECT_EQ(app.ProcessLine("{10000d1}", 0), "10000");
    EXPECT_EQ(app.ProcessLine("{10001d1}", 0), "");
    EXPECT_EQ(app.ProcessLine("{2147483647d6}", 0), "");
}

TEST(TKTableMarkup, SelfReferenceStopsAtTheNestingLimit)
{
    TableFile f("table: twice\n[@twice][@twice]x\ntable: self\n[@self]y\n");
    TTKTableApplication app;
    ASSERT_TRUE(app.Load(f.Path, kData));
    EXPECT_EQ(app.ProcessLine("[@self]", 0), std::string(TK_MAX_NESTING, 'y'));
    // Doubling at every level would never end; the work budget ends it.
    const std::string out = app.ProcessLine("[@twice]", 0);
    EXPECT_LE(out.size(), TK_MAX_TEXT_LEN * 2);
    EXPECT_GT(out.size(), 100u);
}

TEST(TKTableText, HelpersFollowEscapes)
{
    EXPECT_EQ(PosEsc("=", "a\\=b=c"), 4);
    EXPECT_EQ(PosEsc("=", "=x"), 0);
    EXPECT_EQ(PosEsc("x", "abc"), -1);
    EXPECT_EQ(PosEsc("c", "abc"), 2);
    EXPECT_EQ(UnEsc("a\\[b\\\\c\\"), "a[b\\c");
    EXPECT_EQ(FindClose("a[b]c]d", 0, "[", "]"), 5);
    EXPECT_EQ(FindClose("a\\]b]", 0, "[", "]"), 4);
    EXPECT_EQ(FindClose("x[WHEN]y[end]z[END]", 0, "[when]", "[end]"), 14);
    EXPECT_EQ(FindClose("open", 0, "[", "]"), -1);
    // Scans pass over text that cannot start a match: case and escapes
    // still decide at the positions that can.
    EXPECT_EQ(PosEscText("DO", "a \\do dO"), 6);
    EXPECT_EQ(PosEscText("[else]", "x[ELSE]"), 1);
    EXPECT_EQ(PosEsc("ab", "aab"), 1);
    EXPECT_EQ(PosEsc("ab", "AB ab", 1), 3);
    EXPECT_EQ(FindClose("{a{b}}c}", 0, "{", "}"), 7);
    EXPECT_EQ(FindClose("<<x>>y>>", 0, "<<", ">>"), 6);
    EXPECT_EQ(FindClose("a[when not]b[End]c[eNd]", 0, "[when]", "[end]"), 18);
    EXPECT_EQ(ExtractTKTag("x{abc}y", "{", "}"), "abc");

    std::string c, y, n;
    ASSERT_TRUE(SplitTags("a[do]b[else]c", c, y, n));
    EXPECT_EQ(c + "|" + y + "|" + n, "a|b|c");
    ASSERT_TRUE(SplitTags("a[do][when]b[do]x[else]y[end][else]z", c, y, n));
    EXPECT_EQ(y, "[when]b[do]x[else]y[end]");
    EXPECT_EQ(n, "z");
    EXPECT_FALSE(SplitTags("a[else]b", c, y, n));
    ASSERT_TRUE(SplitTags("x\\[do]y[DO]z[Else]w", c, y, n));
    EXPECT_EQ(c + "|" + y + "|" + n, "x\\[do]y|z|w");

    std::vector<std::string> list;
    SplitEsc(" a | b\\|c |d ", "|", list);
    EXPECT_EQ(list, (std::vector<std::string>{"a", "b\\|c", "d"}));

    EXPECT_FALSE(EvalConditional("  "));
    EXPECT_TRUE(EvalConditional("word"));
    EXPECT_TRUE(EvalConditional("2 <> 3"));
    EXPECT_TRUE(EvalConditional("10 > 9"));  // numbers, not text
    EXPECT_TRUE(EvalConditional("b > a"));
    EXPECT_FALSE(EvalConditional("A = a"));
    EXPECT_TRUE(EvalConditional("1.0 = 1"));
    EXPECT_TRUE(EvalConditional("a\\=b"));  // an escaped operator is no operator

    double v = 0;
    std::string msg;
    SetSharedRandomSeed(1);
    EXPECT_TRUE(FullEvalExpression("1d1+2", v, msg));
    EXPECT_EQ(v, 3);
    EXPECT_FALSE(FullEvalExpression("d", v, msg));
    EXPECT_EQ(msg, "(Invalid Dice Expression)");
    EXPECT_TRUE(FullEvalExpression("2*3", v, msg));
    EXPECT_EQ(v, 6);
    EXPECT_TRUE(IsAAN_A_Exception("Universe"));
    EXPECT_TRUE(IsAAN_AN_Exception("hourglass"));
    EXPECT_EQ(TTKTableApplication::GetTKTag("[When not]"), TK_TAG_WHEN);
    EXPECT_EQ(TTKTableApplication::GetTKTag("[wonder]"), TK_TAG_LITERAL);
    EXPECT_EQ(TTKTableApplication::GetTKTag("{3d6}"), TK_TAG_DICE);
    EXPECT_EQ(TTKTableApplication::GetTKTag("x"), TK_TAG_NONE);
}
