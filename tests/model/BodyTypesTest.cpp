#include "model/BodyTypes.h"

#include <gtest/gtest.h>

using namespace kalvion;

TEST(BodyTypes, NamesAndSearchWords)
{
    EXPECT_EQ(BodyTypeFromText("Gas Giant"), 101);
    EXPECT_EQ(BodyTypeFromText("gas giant"), 101);
    EXPECT_EQ(BodyTypeFromText("gasgiant"), 0);
    EXPECT_EQ(BodyTypeFromSearchText("gasgiant"), 101);
    EXPECT_EQ(BodyTypeFromSearchText("GasGiant"), 101);
    EXPECT_EQ(BodyTypeFromSearchText(""), 0);
    EXPECT_EQ(NameFromBodyType(55), "Not Assigned");
    EXPECT_EQ(NameFromBodyType(BODY_TYPE_CLOSEMULT), "Close Multiple System");
    EXPECT_EQ(SearchTextFromBodyType("Not Assigned"), "");
    EXPECT_EQ(SearchTextFromBodyType("Deep Space Object"), "deepspaceobject");
    EXPECT_EQ(SearchTextFromBodyType("Nonsense"), "");
    for (int code : AllBodyTypeCodes()) {
        if (code != 0) {
            EXPECT_EQ(BodyTypeFromSearchText(SearchTextFromBodyType(NameFromBodyType(code))), code);
        }
    }
}

TEST(BodyTypes, ListIsSortedAndComplete)
{
    std::vector<std::string> list;
    GetBodyTypeList(list);
    ASSERT_EQ(list.size(), 25u);
    EXPECT_TRUE(std::is_sorted(list.begin(), list.end()));
    EXPECT_EQ(list.front(), "Asteroid Belt");
}

TEST(BodyTypes, HabitabilityNames)
{
    EXPECT_EQ(HabitNameFromHabitCode(1), "Habitable");
    EXPECT_EQ(HabitNameFromHabitCode(2), "Hospitable");
    EXPECT_EQ(HabitNameFromHabitCode(0), "Inhospitable");
    EXPECT_EQ(HabitNameFromHabitCode(7), "Inhospitable");
    EXPECT_EQ(HabitNameFromHabitCode(-1), "Inhospitable");
}
