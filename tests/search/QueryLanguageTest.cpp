// The query language: tokens, every keyword and prefix, and the exact
// messages with their "near" decoration.
#include "model/BodyTypes.h"
#include "search/QueryLanguage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kalvion;

namespace {

std::vector<std::string> TokensOf(const std::string &text)
{
    TVexaQueryLanguage q;
    q.Clear();
    EXPECT_TRUE(q.Tokenize(text)) << text;
    return q.Tokens;
}

TVexaQueryLanguage Parsed(const std::string &query)
{
    TVexaQueryLanguage q;
    q.Clear();
    q.Parse(query);
    return q;
}

std::string ErrorOf(const std::string &query) { return Parsed(query).ErrorText; }

using V = std::vector<std::string>;

} // namespace

TEST(QueryTokenizer, SeparatorsOperatorsAndQuotes)
{
    EXPECT_EQ(TokensOf("Mass>2"), (V{"mass", ">", "2"}));
    EXPECT_EQ(TokensOf("a<>b <= c>=d"), (V{"a", "<>", "b", "<", "=", "c", ">", "=", "d"}));
    EXPECT_EQ(TokensOf("1,000"), (V{"1", ",", "000"}));
    EXPECT_EQ(TokensOf("x\r\ny\nz"), (V{"x", "y", "z"}));
    // Tabs are no separators; at the edges of a token they are trimmed.
    EXPECT_EQ(TokensOf("a\tb \tc"), (V{"a\tb", "c"}));
    // Quotes glue to their neighbours, keep inner blanks, lose edge blanks.
    EXPECT_EQ(TokensOf("ab\"c d\" e"), (V{"abc d", "e"}));
    EXPECT_EQ(TokensOf("name = \"  Alpha Centauri \""), (V{"name", "=", "alpha centauri"}));
    EXPECT_EQ(TokensOf("\"a=b,c\""), (V{"a=b,c"}));
    EXPECT_EQ(TokensOf("\"say \"\"hi\"\"\""), (V{"say \"hi\""}));
    // An empty quoted text is no token at all.
    EXPECT_EQ(TokensOf("x \"\" y"), (V{"x", "y"}));
    EXPECT_EQ(TokensOf("<"), (V{"<"}));
    EXPECT_EQ(TokensOf("   "), V{});
}

TEST(QueryTokenizer, UnclosedQuoteStopsWithoutDecorationOrColumns)
{
    const auto q = Parsed("mass > 2 name = \"sol");
    EXPECT_EQ(q.ErrorText, "Unclosed quoted text");
    EXPECT_TRUE(q.Params.empty());
    EXPECT_TRUE(q.Columns.empty());
    EXPECT_EQ(ErrorOf("\"\"\""), "Unclosed quoted text");
}

TEST(QueryParser, EmptyQueryAndLoneWords)
{
    auto q = Parsed("");
    EXPECT_TRUE(q.ErrorText.empty());
    EXPECT_TRUE(q.Params.empty());

    q = Parsed("Sol");
    ASSERT_EQ(q.Params.size(), 1u);
    EXPECT_EQ(q.Params[0].Term, "name");
    EXPECT_EQ(q.Params[0].Operator, "like");
    EXPECT_EQ(q.Params[0].TextValue, "sol");
    EXPECT_TRUE(q.Columns.empty());

    EXPECT_EQ(ErrorOf("sol mass > 1"), "Unknown search term near \"  sol\"");
    EXPECT_EQ(ErrorOf("mass > 1 sol"), "Unknown search term near \"> 1 sol\"");
}

TEST(QueryParser, BodyTypeWordsAndIs)
{
    auto q = Parsed("star");
    ASSERT_EQ(q.Params.size(), 1u);
    EXPECT_EQ(q.Params[0].Term, "type");
    EXPECT_EQ(q.Params[0].IntValue, BODY_TYPE_STAR);

    q = Parsed("is not gasgiant");
    ASSERT_EQ(q.Params.size(), 1u);
    EXPECT_TRUE(q.Params[0].Negate);
    EXPECT_EQ(q.Params[0].IntValue, BODY_TYPE_GASGIANT);

    q = Parsed("parent is star");
    ASSERT_EQ(q.Params.size(), 1u);
    EXPECT_EQ(q.Params[0].Scope, SEARCH_SCOPE_PARENT);
    EXPECT_EQ(q.Params[0].IntValue, BODY_TYPE_STAR);

    // "is" before anything but a type word is an ordinary word.
    EXPECT_EQ(ErrorOf("is mass > 1"), "Unknown search term near \"  is\"");
    EXPECT_EQ(Parsed("is").Params[0].Term, "name");

    q = Parsed("type = terrestrial, type like redgiant, type is nowhere");
    ASSERT_EQ(q.Params.size(), 3u);
    EXPECT_EQ(q.Params[0].IntValue, BODY_TYPE_TERRESTRIAL);
    EXPECT_EQ(q.Params[1].IntValue, BODY_TYPE_REDGIANT);
    EXPECT_EQ(q.Params[2].IntValue, 0);
    EXPECT_EQ(q.Params[2].Operator, "=");
    EXPECT_EQ(ErrorOf("type not = star"), "A \"=\" is expected near \" type not\"");
    EXPECT_EQ(ErrorOf("type > star"), "A \"=\" is expected near \" type >\"");
}

TEST(QueryParser, PrefixesApplyToOneConditionOnly)
{
    auto q = Parsed("not habitable parent star temp > 5000 root mass < 2 population > 0");
    ASSERT_EQ(q.Params.size(), 4u);
    EXPECT_TRUE(q.Params[0].Negate);
    EXPECT_EQ(q.Params[0].Term, "habit");
    EXPECT_EQ(q.Params[0].TextValue, "habitable");
    EXPECT_EQ(q.Params[1].Scope, SEARCH_SCOPE_PARENT_STAR);
    EXPECT_FALSE(q.Params[1].Negate);
    EXPECT_EQ(q.Params[2].Scope, SEARCH_SCOPE_ROOT);
    EXPECT_EQ(q.Params[3].Scope, SEARCH_SCOPE_SELF);

    q = Parsed("name not like x mass not between 1 and 2");
    ASSERT_EQ(q.Params.size(), 2u);
    EXPECT_TRUE(q.Params[0].Negate);
    EXPECT_TRUE(q.Params[1].Negate);
    EXPECT_EQ(q.Params[1].Operator, "between");
    EXPECT_EQ(q.Params[1].Value, 1);
    EXPECT_EQ(q.Params[1].Value2, 2);

    // Dangling prefixes have no effect.
    for (const char *text : {"star not", "star parent", "star root", "star parent star"}) {
        q = Parsed(text);
        EXPECT_TRUE(q.ErrorText.empty()) << text;
        ASSERT_EQ(q.Params.size(), 1u) << text;
        EXPECT_FALSE(q.Params[0].Negate);
        EXPECT_EQ(q.Params[0].Scope, 0);
    }
}

TEST(QueryParser, SearchWideOptions)
{
    auto q = Parsed("root only visible systems with star within 12.5 first 20 on route");
    EXPECT_TRUE(q.ErrorText.empty());
    EXPECT_TRUE(q.RootOnly);
    EXPECT_TRUE(q.VisibleOnly);
    EXPECT_TRUE(q.SystemsWith);
    EXPECT_TRUE(q.OnRoute);
    EXPECT_EQ(q.WithinLY, 12.5);
    EXPECT_EQ(q.FirstCount, 20);

    EXPECT_EQ(ErrorOf("within far"), "A distance in LY was expected near \" within far\"");
    EXPECT_EQ(ErrorOf("within"), "A distance in LY was expected");
    EXPECT_EQ(ErrorOf("first 2.5"), "A number of results to return was expected near \" first 2.5\"");
    EXPECT_EQ(ErrorOf("first"), "A number of results to return was expected");
    EXPECT_EQ(ErrorOf("on road"), "\"Route\" was expected near \"  on\"");
    EXPECT_EQ(ErrorOf("systems star"), "A \"with\" was expected near \"  systems\"");
    EXPECT_EQ(ErrorOf("star on"), "\"Route\" was expected near \" star on\"");
}

TEST(QueryParser, TextConditions)
{
    const auto a = Parsed("Name = \"Alpha Centauri\"");
    const auto b = Parsed("name is \"alpha centauri\"");
    ASSERT_EQ(a.Params.size(), 1u);
    ASSERT_EQ(b.Params.size(), 1u);
    EXPECT_EQ(a.Params[0].Operator, "=");
    EXPECT_EQ(b.Params[0].Operator, "=");
    EXPECT_EQ(a.Params[0].TextValue, "alpha centauri");
    EXPECT_EQ(b.Params[0].TextValue, "alpha centauri");

    // Any token may be the value, keywords included.
    auto q = Parsed("notes like star political <> league spectral = g2v gmnotes like x atmnotes like y "
                    "atmospherenotes like z idstring = q");
    EXPECT_TRUE(q.ErrorText.empty());
    ASSERT_EQ(q.Params.size(), 7u);
    EXPECT_EQ(q.Params[0].TextValue, "star");
    EXPECT_EQ(q.Params[1].Operator, "<>");

    EXPECT_EQ(ErrorOf("name > x"), "A \"=\", \"<>\" or \"like\" is expected near \" name >\"");
    EXPECT_EQ(ErrorOf("name ="), "Text to search for was expected");
    EXPECT_EQ(ErrorOf("name = , star"), "Text to search for was expected near \"name = ,\"");
}

TEST(QueryParser, NumericConditionsAndMessages)
{
    auto q = Parsed("mass > 2 temp < -1e2 x <> 0 tempc = 15");
    ASSERT_EQ(q.Params.size(), 4u);
    EXPECT_EQ(q.Params[1].Value, -100);
    EXPECT_EQ(q.Params[2].Operator, "<>");

    EXPECT_EQ(ErrorOf("mass >= 2"), "Number was expected near \"mass > =\"");
    EXPECT_EQ(ErrorOf("mass > abc"), "Number was expected near \"mass > abc\"");
    EXPECT_EQ(ErrorOf("mass >"), "Number was expected");
    EXPECT_EQ(ErrorOf("mass like 2"), "A \"=\", \">\", \"<\", or \"<>\" is expected near \" mass like\"");
    EXPECT_EQ(ErrorOf("mass between x and 2"), "A number was expected near \"mass between x\"");
    EXPECT_EQ(ErrorOf("mass between 1 or 2"), "An \"and\" was expected near \"between 1 or\"");
    EXPECT_EQ(ErrorOf("mass between 1 and"), "A number was expected");

    q = Parsed("population > 1,000,000");
    EXPECT_EQ(q.ErrorText, "Unknown search term near \"1 , 000\"");
    ASSERT_EQ(q.Params.size(), 1u);
    EXPECT_EQ(q.Params[0].Value, 1);

    // Every numeric word of the language parses.
    for (const char *term : {"distance", "radius", "density", "mass", "rotation", "luminosity", "albedo", "temp",
                             "tempc", "water", "population", "childpopulation", "bodycount", "dsointensity", "x",
                             "y", "z", "eccentricity", "inclination", "angleascendingnode", "angleperiapsis",
                             "axialtilt", "timeoffset", "orbitalplanex", "orbitalplaney", "orbitalplanez",
                             "gravity", "atm", "atmosphere"}) {
        q = Parsed(std::string(term) + " = 1");
        EXPECT_TRUE(q.ErrorText.empty()) << term;
        ASSERT_EQ(q.Params.size(), 1u) << term;
        EXPECT_EQ(q.Params[0].Term, term);
    }
}

TEST(QueryParser, AtmosphereComponents)
{
    auto q = Parsed("atm o2 > 10 atmosphere co2 not between 1 and 5");
    ASSERT_EQ(q.Params.size(), 2u);
    EXPECT_EQ(q.Params[0].Term, "atmcomp");
    EXPECT_EQ(q.Params[0].FieldName, "o2");
    EXPECT_EQ(q.Params[0].Value, 10);
    EXPECT_TRUE(q.Params[1].Negate);
    EXPECT_EQ(q.Params[1].Value2, 5);

    EXPECT_EQ(ErrorOf("atm"), "An atmosphere component was expected");
    EXPECT_EQ(ErrorOf("atm o2 like 1"), "A \"=\", \">\", \"<\", or \"<>\" is expected near \"atm o2 like\"");
    EXPECT_EQ(ErrorOf("atm o2 > lots"), "An atmosphere component value to search for was expected near \"o2 > lots\"");
    EXPECT_EQ(ErrorOf("atm o2 >"), "An atmosphere component value to search for was expected");
}

TEST(QueryParser, CustomFieldsAndSubsectors)
{
    auto q = Parsed("field government is democracy field size > 5 field age not between 1 and 3");
    ASSERT_EQ(q.Params.size(), 3u);
    EXPECT_EQ(q.Params[0].FieldName, "government");
    EXPECT_EQ(q.Params[0].Operator, "=");
    EXPECT_EQ(q.Params[0].TextValue, "democracy");
    EXPECT_EQ(q.Params[1].TextValue, "5");
    EXPECT_EQ(q.Params[1].Value, 5);
    EXPECT_TRUE(q.Params[2].Negate);

    EXPECT_EQ(ErrorOf("field"), "A field name was expected");
    EXPECT_EQ(ErrorOf("field ,"), "A field name was expected near \" field ,\"");
    EXPECT_EQ(ErrorOf("field a between"), "A number was expected");
    EXPECT_EQ(ErrorOf("field a ! b"), "A \"=\", \">\", \"<\", \"<>\" or \"like\" is expected near \"field a !\"");
    EXPECT_EQ(ErrorOf("field a ="), "Field value to search for was expected");

    q = Parsed("in subsector core in \"outer rim\"");
    ASSERT_EQ(q.Params.size(), 2u);
    EXPECT_EQ(q.Params[0].Term, "subsector");
    EXPECT_EQ(q.Params[0].TextValue, "core");
    EXPECT_EQ(q.Params[1].TextValue, "outer rim");
    EXPECT_TRUE(q.Columns.empty());
    EXPECT_EQ(ErrorOf("in subsector"), "The name of a subsector was expected");
    EXPECT_EQ(ErrorOf("in , star"), "The name of a subsector was expected near \" in ,\"");
}

TEST(QueryParser, ColumnsExplicitAndImplicit)
{
    auto q = Parsed("show parent star mass show atm co2 show political show root atmnotes show field gov show radius");
    ASSERT_EQ(q.Columns.size(), 6u);
    EXPECT_EQ(q.Columns[0].Scope, SEARCH_SCOPE_PARENT_STAR);
    EXPECT_EQ(q.Columns[0].Property, "mass");
    EXPECT_EQ(q.Columns[1].Property, "atmcomp");
    EXPECT_EQ(q.Columns[1].FieldName, "co2");
    EXPECT_EQ(q.Columns[2].Property, "politicalaffiliation");
    EXPECT_EQ(q.Columns[3].Scope, SEARCH_SCOPE_ROOT);
    EXPECT_EQ(q.Columns[3].Property, "atmospherenotes");
    EXPECT_EQ(q.Columns[4].FieldName, "gov");
    EXPECT_EQ(q.Columns[5].Property, "radius");

    // Implicit columns follow the explicit ones; names, types, habitability,
    // politics, populations and subsectors add none.
    q = Parsed("show x mass > 2 name like a star habitable political = b population > 1 parent star temp < 400 "
               "atm o2 > 10");
    ASSERT_EQ(q.Columns.size(), 4u);
    EXPECT_EQ(q.Columns[0].Property, "x");
    EXPECT_EQ(q.Columns[1].Property, "mass");
    EXPECT_EQ(q.Columns[2].Scope, SEARCH_SCOPE_PARENT_STAR);
    EXPECT_EQ(q.Columns[2].Property, "temp");
    EXPECT_EQ(q.Columns[3].Property, "atmcomp");
    EXPECT_EQ(q.Columns[3].FieldName, "o2");

    EXPECT_EQ(ErrorOf("show"), "A property to display was expected");
    EXPECT_EQ(ErrorOf("show parent star"), "A property to display was expected");
    EXPECT_EQ(ErrorOf("show field"), "A custom field to display was expected");
    EXPECT_EQ(ErrorOf("show atm ,"), "An atmosphere component to display was expected near \"show atm ,\"");

    // Other errors still add the implicit columns of what was parsed.
    q = Parsed("mass > 2 temp >");
    EXPECT_EQ(q.ErrorText, "Number was expected");
    ASSERT_EQ(q.Params.size(), 1u);
    ASSERT_EQ(q.Columns.size(), 1u);
}

TEST(QueryParser, ParseKeepsListsUntilCleared)
{
    TVexaQueryLanguage q;
    q.Clear();
    q.Parse("mass > 1 within 5");
    q.Parse("star");
    EXPECT_EQ(q.Params.size(), 2u);
    EXPECT_EQ(q.WithinLY, 5);
    q.Clear();
    q.Parse("star");
    EXPECT_EQ(q.Params.size(), 1u);
    EXPECT_EQ(q.WithinLY, 0);
}
