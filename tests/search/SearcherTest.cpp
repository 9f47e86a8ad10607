// The searcher on a hand-made sector: every kind of term matching and not
// matching, the system filters, root-only searches, limits and result order.
#include "SearchTestSector.h"

#include "search/Searcher.h"

#include <gtest/gtest.h>

using namespace kalvion;
using namespace kalvion::test;

namespace {

using V = std::vector<std::string>;

class SearcherTest : public ::testing::Test {
protected:
    std::unique_ptr<TVexaSector> Sector = MakeSearchSector();
    std::unique_ptr<TVexaSearcher3> Searcher = CreateVexaSearcher(Sector.get());

    V Find(const std::string &query)
    {
        Searcher->Search(query);
        EXPECT_EQ(Searcher->ErrorText, "") << query;
        return Names(Searcher->Results);
    }
    void Select(const std::string &name) { Sector->SelectBody(FindBody(*Sector, name)); }
};

} // namespace

TEST_F(SearcherTest, CreationDefaults)
{
    TVexaSearcher3 plain;
    EXPECT_EQ(plain.ResultLimit, 500);
    EXPECT_EQ(plain.Sector, nullptr);
    EXPECT_EQ(Searcher->ResultLimit, 0);
    EXPECT_EQ(Searcher->Sector, Sector.get());
}

TEST_F(SearcherTest, NamesTypesAndEmptyQuery)
{
    EXPECT_EQ(Find("").size(), 13u);
    EXPECT_EQ(Find("SOL"), (V{"Sol"}));
    EXPECT_EQ(Find("name like alpha"), (V{"Alpha", "Alpha A", "Alpha Ab", "Alpha B"}));
    EXPECT_EQ(Find("name = \"alpha a\""), (V{"Alpha A"}));
    EXPECT_EQ(Find("name <> sol").size(), 12u);
    EXPECT_EQ(Find("terrestrial population > 1000000"), (V{"Earth", "Alpha Ab", "Far I"}));
    EXPECT_EQ(Find("is not terrestrial"), (V{"Sol", "Jupiter", "Alpha", "Alpha A", "Alpha B", "Far", "Lone"}));
    EXPECT_EQ(Find("parent is star"), (V{"Earth", "Mars", "Jupiter", "Alpha Ab", "Far I"}));
    EXPECT_EQ(Find("type = gasgiant"), (V{"Jupiter"}));
    EXPECT_EQ(Find("spectral like g2"), (V{"Sol"}));
    EXPECT_EQ(Find("political = \"Terran League\""), (V{"Sol"}));
}

TEST_F(SearcherTest, NumbersHabitabilityAndGases)
{
    EXPECT_EQ(Find("mass <> 1").size(), 11u);
    EXPECT_EQ(Find("mass between 0.9 and 1.1"), (V{"Sol", "Earth", "Alpha A", "Alpha B"}));
    EXPECT_EQ(Find("mass not between 0.1 and 400").size(), 6u);
    EXPECT_EQ(Find("atm > 0.5"), (V{"Earth"}));
    EXPECT_EQ(Find("atmosphere > 0.5"), (V{"Earth"}));
    EXPECT_EQ(Find("tempc between 14 and 16"), (V{"Earth"}));
    EXPECT_EQ(Find("atm o2 > 10"), (V{"Earth"}));
    // A gas the body lacks counts as 0 %.
    EXPECT_EQ(Find("atm o2 < 1").size(), 12u);
    EXPECT_EQ(Find("atm co2 = 95"), (V{"Mars"}));
    EXPECT_EQ(Find("hospitable"), (V{"Earth"}));
    EXPECT_EQ(Find("habitable"), (V{"Mars", "Alpha Ab"}));
    EXPECT_EQ(Find("inhospitable").size(), 10u);
    EXPECT_EQ(Find("not inhospitable"), (V{"Earth", "Mars", "Alpha Ab"}));
    EXPECT_EQ(Find("bodycount > 9"), (V{"Sol"}));
}

TEST_F(SearcherTest, CustomFields)
{
    EXPECT_EQ(Find("field government = democracy"), (V{"Earth"}));
    EXPECT_EQ(Find("field government like MOC"), (V{"Earth"}));
    EXPECT_EQ(Find("field size > 4"), (V{"Earth"}));
    // Text that is no number fails a numeric test, negated or not.
    EXPECT_EQ(Find("not field size > 4"), V{});
    EXPECT_EQ(Find("field size not between 6 and 9"), (V{"Earth"}));
    EXPECT_EQ(Find("field size = big"), (V{"Mars"}));
    EXPECT_EQ(Find("field size <> big").size(), 12u);
}

TEST_F(SearcherTest, ScopesFailWithoutTheirBody)
{
    EXPECT_EQ(Find("parent mass > 1"), (V{"Io", "Alpha Ab"}));
    // Roots have no parent: never a match, negated or not.
    const V notParent = Find("not parent mass > 1");
    EXPECT_EQ(notParent, (V{"Earth", "Luna", "Mars", "Jupiter", "Alpha A", "Alpha B", "Far I"}));
    EXPECT_EQ(Find("parent star temp > 5000 population > 0"), (V{"Earth", "Mars", "Alpha Ab"}));
    EXPECT_EQ(Find("not parent star temp > 5000 terrestrial"), (V{"Far I"}));
    EXPECT_EQ(Find("root temp > 4000 terrestrial"), (V{"Earth", "Luna", "Mars", "Io"}));
    EXPECT_EQ(Find("root is star").size(), 8u);
}

TEST_F(SearcherTest, SystemFilters)
{
    EXPECT_EQ(Find("browndwarf"), (V{"Lone"}));
    EXPECT_EQ(Find("visible browndwarf"), V{});
    EXPECT_EQ(Find("systems with star"), (V{"Sol", "Alpha", "Far"}));

    // Distance and routes need a selection.
    EXPECT_EQ(Find("within 10"), V{});
    EXPECT_EQ(Find("on route"), V{});
    EXPECT_EQ(Find("within 0 star"), (V{"Sol", "Alpha A", "Alpha B", "Far"}));
    Select("Sol");
    EXPECT_EQ(Find("within 4 star"), (V{"Sol", "Alpha A", "Alpha B"}));
    EXPECT_EQ(Find("within 3.9 star"), (V{"Sol"}));
    EXPECT_EQ(Find("on route root only"), (V{"Sol", "Alpha"}));
    EXPECT_EQ(Find("on route").size(), 10u);
    Sector->SelectAll(false);
    Select("Far");
    EXPECT_EQ(Find("on route"), V{});
    EXPECT_EQ(Find("within 1 root only"), (V{"Far"}));

    EXPECT_EQ(Find("in subsector core star"), (V{"Sol", "Alpha A", "Alpha B"}));
    EXPECT_EQ(Find("in CORE in rim star"), (V{"Sol", "Alpha A", "Alpha B", "Far"}));
    Searcher->Search("in subsector nowhere star");
    EXPECT_EQ(Searcher->ErrorText, "Unknown subsector \"nowhere\"");
    EXPECT_TRUE(Searcher->Results.empty());
    Searcher->Search("mass >= 2");
    EXPECT_EQ(Searcher->ErrorText, "Number was expected near \"mass > =\"");
    EXPECT_TRUE(Searcher->Results.empty());
}

TEST_F(SearcherTest, RootOnlyAndLimits)
{
    EXPECT_EQ(Find("root only mass > 0.2"), (V{"Sol", "Far"}));
    // The query's "root only" is for that search alone.
    EXPECT_EQ(Find("mass > 1"), (V{"Jupiter", "Alpha A"}));
    EXPECT_FALSE(Searcher->RootOnly);
    Searcher->RootOnly = true;
    EXPECT_EQ(Find("mass > 0.2"), (V{"Sol", "Far"}));
    Searcher->RootOnly = false;

    // SearchAll tests the limit after each system; root-only never overshoots.
    Searcher->ResultLimit = 2;
    EXPECT_EQ(Find("terrestrial"), (V{"Earth", "Luna", "Mars", "Io"}));
    EXPECT_EQ(Find("root only"), (V{"Sol", "Alpha"}));
    EXPECT_EQ(Find("first 1 root only"), (V{"Sol"}));
    EXPECT_EQ(Searcher->ResultLimit, 2);
    EXPECT_EQ(Find("first 0 root only"), (V{"Sol", "Alpha"}));
    Searcher->ResultLimit = 0;
    EXPECT_EQ(Find("first 3 star"), (V{"Sol", "Alpha A", "Alpha B"}));
    EXPECT_EQ(Searcher->ResultLimit, 0);
    EXPECT_EQ(Find("star").size(), 4u);
}

TEST_F(SearcherTest, ResultsByPosition)
{
    Find("star");
    EXPECT_EQ(Searcher->GetResultCount(), 4);
    EXPECT_EQ(Searcher->ResultCount(), 4);
    EXPECT_EQ(Searcher->GetResult(1)->Name, "Sol");
    EXPECT_EQ(Searcher->GetResult(4)->Name, "Far");
    EXPECT_EQ(Searcher->GetResult(5), nullptr);
    EXPECT_EQ(Searcher->GetResult(0), nullptr);
    EXPECT_EQ(Searcher->GetResult(-3), nullptr);
    Searcher->Clear();
    EXPECT_EQ(Searcher->GetResultCount(), 0);
}

TEST(SearcherCompare, TextAndNumbers)
{
    EXPECT_TRUE(TVexaSearcher3::TextCompare("sol", "=", "SOL", false));
    EXPECT_TRUE(TVexaSearcher3::TextCompare("sol", "is", "Sol", false));
    EXPECT_FALSE(TVexaSearcher3::TextCompare("sol", "=", "Sol", true));
    EXPECT_TRUE(TVexaSearcher3::TextCompare("ol", "like", "SOL", false));
    EXPECT_TRUE(TVexaSearcher3::TextCompare("", "like", "x", false));
    EXPECT_TRUE(TVexaSearcher3::TextCompare("a", "<>", "b", false));
    EXPECT_TRUE(TVexaSearcher3::NumCompare(1, "between", 1, 2, false));
    EXPECT_TRUE(TVexaSearcher3::NumCompare(1, "between", 2, 2, false));
    EXPECT_FALSE(TVexaSearcher3::NumCompare(1, "between", 2.5, 2, false));
    EXPECT_FALSE(TVexaSearcher3::NumCompare(1, "?", 1, 0, false));
    EXPECT_TRUE(TVexaSearcher3::NumCompare(1, "?", 1, 0, true));
    EXPECT_TRUE(TVexaSearcher3::NumCompare(1, "<>", 2, 0, false));
}

TEST_F(SearcherTest, MatchUsesTheParsedQuery)
{
    Searcher->Parser.Clear();
    Searcher->Parser.Parse("root temp > 4000");
    TStellarBody *earth = FindBody(*Sector, "Earth");
    EXPECT_TRUE(Searcher->Match(earth, Sector->GetSystem(0)));
    EXPECT_FALSE(Searcher->Match(FindBody(*Sector, "Alpha A"), Sector->GetSystem(1)));
    EXPECT_FALSE(Searcher->Match(nullptr, nullptr));
}
