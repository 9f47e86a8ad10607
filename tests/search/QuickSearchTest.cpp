// The quick-search box: names typed as they are written find their bodies,
// queries still run as queries and report their errors.
#include "SearchTestSector.h"

#include "search/QuickSearch.h"
#include "search/Searcher.h"

#include <gtest/gtest.h>

namespace kalvion::test {
namespace {

struct QuickRun {
    std::vector<std::string> Found;
    std::string Error;
};

QuickRun Quick(TVexaSector &sector, const std::string &text)
{
    TVexaSearcher3 searcher;
    searcher.Sector = &sector;
    searcher.Search(QuickSearchQuery(text, &sector));
    return {Names(searcher.Results), searcher.ErrorText};
}

TEST(QuickSearch, NamesOfTwoWordsAndSystemsFindTheirBodies)
{
    auto sector = MakeSearchSector();
    // Two words that are no search terms: a name, with what contains it.
    QuickRun r = Quick(*sector, "Alpha A");
    EXPECT_EQ(r.Error, "");
    EXPECT_EQ(r.Found, (std::vector<std::string>{"Alpha A", "Alpha Ab"}));
    r = Quick(*sector, "  far i ");
    EXPECT_EQ(r.Error, "");
    EXPECT_EQ(r.Found, (std::vector<std::string>{"Far I"}));

    // A system named like a query is found by its name.
    TStellarBody *sol = FindBody(*sector, "Sol");
    ASSERT_NE(sol, nullptr);
    sol->Name = "Habitable Mass";
    r = Quick(*sector, "habitable mass");
    EXPECT_EQ(r.Error, "");
    EXPECT_EQ(r.Found, (std::vector<std::string>{"Habitable Mass"}));
}

TEST(QuickSearch, QueriesAndBrokenQueriesStayQueries)
{
    auto sector = MakeSearchSector();
    // A query runs as one.
    EXPECT_EQ(QuickSearchQuery("population > 0", sector.get()), "population > 0");
    EXPECT_EQ(Quick(*sector, "type = star").Error, "");
    // A query that fails as a query shows its own error.
    QuickRun r = Quick(*sector, "population >");
    EXPECT_TRUE(r.Error.starts_with("Number was expected")) << r.Error;
    EXPECT_TRUE(r.Found.empty());
    r = Quick(*sector, "Vesk > 3");
    EXPECT_TRUE(r.Error.starts_with("Unknown search term")) << r.Error;
    // A text with a double quote cannot become a name.
    EXPECT_EQ(QuickSearchQuery("Vesk \"IV", sector.get()), "Vesk \"IV");
    // Without a sector only the form of the text decides.
    EXPECT_EQ(QuickSearchQuery("Vesk IV", nullptr), "name like \"Vesk IV\"");
}

} // namespace
} // namespace kalvion::test
