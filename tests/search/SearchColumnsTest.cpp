// Result rows, query columns and sorting by a column.
#include "SearchTestSector.h"

#include "model/BodyTypes.h"
#include "search/BodyProperties.h"
#include "search/SearchColumns.h"
#include "search/Searcher.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kalvion;
using namespace kalvion::test;

TEST(BodyProperties, NamesAliasesAndKinds)
{
    const TBodyProperty *atm = FindBodyProperty("ATM");
    ASSERT_NE(atm, nullptr);
    EXPECT_EQ(atm->Kind, TBodyPropertyKind::Float);
    TStellarBody b;
    b.Atmosphere = 2.5;
    b.Temp = 300;
    b.BodyCount = 7;
    b.AtmosphereNotes = "thin";
    b.PoliticalAffiliation = "League";
    EXPECT_EQ(atm->GetNumber(b), 2.5);
    EXPECT_EQ(FindBodyProperty("tempc")->GetNumber(b), 27);
    EXPECT_EQ(FindBodyProperty("bodycount")->Kind, TBodyPropertyKind::Integer);
    EXPECT_EQ(FindBodyProperty("bodycount")->GetNumber(b), 7);
    EXPECT_EQ(FindBodyProperty("atmnotes")->GetText(b), "thin");
    EXPECT_EQ(FindBodyProperty("political")->GetText(b), "League");
    EXPECT_EQ(FindBodyProperty("politicalaffiliation")->GetText(b), "League");
    EXPECT_EQ(FindBodyProperty("nosuch"), nullptr);
    EXPECT_EQ(FindBodyProperty(""), nullptr);
    EXPECT_EQ(FindBodyProperty(std::string(100, 'x')), nullptr);
    // Every entry is found under its own name.
    for (auto *p = BodyPropertiesBegin(); p != BodyPropertiesEnd(); ++p)
        EXPECT_EQ(FindBodyProperty(p->Name), p) << p->Name;
}

TEST(SearchColumns, HeadersAndCells)
{
    auto sector = MakeSearchSector();
    auto searcher = CreateVexaSearcher(sector.get());
    searcher->Search("name = earth show root bodycount show parent star temp show field government "
                     "show atm o2 show type show radius show nosuch show visible atm > 0.5");
    ASSERT_EQ(searcher->ErrorText, "");
    ASSERT_EQ(searcher->GetResultCount(), 1);
    const auto &cols = searcher->Parser.Columns;
    EXPECT_EQ(SearchResultHeaders(cols),
              (std::vector<std::string>{"Name", "Type", "System", "Population", "Habitability", "Political",
                                        "Root Bodycount", "Star Temp", "Government", "O2", "Type", "Radius",
                                        "Nosuch", "Visible", "Atm"}));
    std::vector<std::string> cells;
    SearchResultCells(searcher->GetResult(1), cols, cells);
    EXPECT_EQ(cells, (std::vector<std::string>{"Earth", NameFromBodyType(BODY_TYPE_TERRESTRIAL), "Sol",
                                               "8,000,000,000", "Hospitable", "", "10", "5,800", "Democracy",
                                               "21", NameFromBodyType(BODY_TYPE_TERRESTRIAL), "6,371", "", "",
                                               "1"}));

    TStellarBody *luna = FindBody(*sector, "Luna");
    EXPECT_EQ(SearchColumnText(luna, {0, "population", ""}), "");  // zero shows empty
    EXPECT_EQ(SearchColumnText(luna, {0, "bodycount", ""}), "0");
    EXPECT_EQ(SearchColumnText(luna, {0, "mass", ""}), "0.0123");
    EXPECT_EQ(SearchColumnText(luna, {SEARCH_SCOPE_PARENT, "name", ""}), "Earth");
    EXPECT_EQ(SearchColumnText(sector->GetSystem(0), {SEARCH_SCOPE_PARENT, "name", ""}), "");
}

TEST(SearchColumns, SortByProperty)
{
    auto sector = MakeSearchSector();
    auto searcher = CreateVexaSearcher(sector.get());
    searcher->Search("root only");
    ASSERT_EQ(searcher->GetResultCount(), 4);
    auto sorted = [&](const std::string &prop, const std::string &field, int target) {
        VexaSearch3SortPropertyName = prop;
        VexaSearch3SortFieldName = field;
        VexaSearch3SortTarget = target;
        TStellarBodyList list = searcher->Results;
        std::stable_sort(list.begin(), list.end(),
                         [](TStellarBody *a, TStellarBody *b) { return VexaSearch3SortByProp(a, b) < 0; });
        return Names(list);
    };
    using V = std::vector<std::string>;
    // Whole numbers sort as numbers: 0, 3, 9, 10.
    EXPECT_EQ(sorted("bodycount", "", 0), (V{"Lone", "Alpha", "Far", "Sol"}));
    EXPECT_EQ(sorted("temp", "", 0), (V{"Alpha", "Lone", "Far", "Sol"}));
    EXPECT_EQ(sorted("name", "", 0), (V{"Alpha", "Far", "Lone", "Sol"}));
    EXPECT_EQ(sorted("spectral", "", 0), (V{"Alpha", "Lone", "Sol", "Far"}));
    // Roots have no parent: nothing moves.
    EXPECT_EQ(sorted("temp", "", SEARCH_SCOPE_PARENT), (V{"Sol", "Alpha", "Far", "Lone"}));
    EXPECT_EQ(sorted("visible", "", 0), (V{"Sol", "Alpha", "Far", "Lone"}));
    EXPECT_EQ(sorted("nosuch", "", 0), (V{"Sol", "Alpha", "Far", "Lone"}));

    searcher->Search("terrestrial");
    VexaSearch3SortPropertyName = "field";
    VexaSearch3SortFieldName = "size";
    VexaSearch3SortTarget = 0;
    TStellarBody *earth = FindBody(*sector, "Earth"), *mars = FindBody(*sector, "Mars");
    EXPECT_EQ(VexaSearch3SortByProp(earth, mars), -1);  // "5" < "big" as text
    earth->SetField("size", "10");
    mars->SetField("size", "9");
    EXPECT_EQ(VexaSearch3SortByProp(earth, mars), 1);  // both numbers
    VexaSearch3SortPropertyName = "atmcomp";
    VexaSearch3SortFieldName = "o2";
    EXPECT_EQ(VexaSearch3SortByProp(earth, mars), 1);
    VexaSearch3SortPropertyName = "type";
    EXPECT_EQ(VexaSearch3SortByProp(earth, mars), 0);
}
