// The regional settings behind SetLocale: finding them by id or tag, writing
// dates with their patterns, and turning their number text back into the
// plain form the number parser reads.
#include "scripting/vbs/Convert.h"
#include "scripting/vbs/Interpreter.h"
#include "scripting/vbs/Locale.h"

#include <gtest/gtest.h>

using namespace kalvion::vbs;

namespace {

const LocaleInfo &Get(std::int32_t id)
{
    const LocaleInfo *l = FindLocale(id);
    EXPECT_NE(l, nullptr) << id;
    return l ? *l : DefaultLocale();
}

TEST(ScriptLocale, FoundByIdOrTagInAnyCase)
{
    EXPECT_EQ(DefaultLocale().Id, 1033);
    EXPECT_EQ(FindLocale("DE-de"), FindLocale(1031));
    EXPECT_EQ(FindLocale(" en-GB "), FindLocale(2057));
    EXPECT_EQ(FindLocale("fr_FR"), FindLocale(1036));
    EXPECT_EQ(FindLocale(1), nullptr);
    EXPECT_EQ(FindLocale("de"), nullptr);
    EXPECT_EQ(FindLocale("de-dex"), nullptr);
    EXPECT_EQ(FindLocale(""), nullptr);
}

TEST(ScriptLocale, DatePatternsWriteEachField)
{
    const double d = DateSerialOf(2004, 3, 7) + (9 * 3600 + 5 * 60 + 2) / 86400.0; // a Sunday
    EXPECT_EQ(FormatDatePattern("dddd ddd dd d", d, DefaultLocale()), "Sunday Sun 07 7");
    EXPECT_EQ(FormatDatePattern("MMMM MMM MM M yyyy", d, Get(1031)), "M\xC3\xA4rz M\xC3\xA4r 03 3 2004");
    EXPECT_EQ(FormatDatePattern("hh:mm:ss tt|H", d + 0.5, DefaultLocale()), "09:05:02 PM|21");
    EXPECT_EQ(FormatGeneralDate(d, Get(1036)), "07/03/2004 09:05:02");
    EXPECT_EQ(FormatGeneralDate(DateSerialOf(2004, 3, 7), Get(2057)), "07/03/2004");
    EXPECT_EQ(FormatGeneralDate(0.75, Get(1031)), "18:00:00");
    EXPECT_EQ(FormatGeneralDate(0, DefaultLocale()), "12/30/1899");
}

TEST(ScriptLocale, SeparatorsSwapForTheLocale)
{
    std::string s = "1,234,567.5";
    LocalizeSeparators(s, Get(1031));
    EXPECT_EQ(s, "1.234.567,5");
    s = "1,234.5";
    LocalizeSeparators(s, Get(1036));
    EXPECT_EQ(s, "1\xC2\xA0" "234,5");
    s = "1,234.5";
    LocalizeSeparators(s, Get(2057));
    EXPECT_EQ(s, "1,234.5");
}

TEST(ScriptLocale, NumberTextLosesGroupsAndCurrency)
{
    const LocaleInfo &de = Get(1031), &fr = Get(1036), &us = DefaultLocale();
    EXPECT_EQ(DelocalizeNumber("1.234,5", de), "1234.5");
    EXPECT_EQ(DelocalizeNumber(" -12,5 \xE2\x82\xAC", de), "-12.5");
    EXPECT_EQ(DelocalizeNumber("1,5e3", de), "1.5e3");
    EXPECT_EQ(DelocalizeNumber("1 234,5", fr), "1234.5");
    EXPECT_EQ(DelocalizeNumber("1\xE2\x80\xAF" "234", fr), "1234");
    EXPECT_EQ(DelocalizeNumber("-$1,000.25", us), "-1000.25");
    EXPECT_EQ(DelocalizeNumber("&HFF", de), "&HFF");
    // A point is not a decimal where the comma is; a group cannot lead.
    EXPECT_EQ(DelocalizeNumber("1.5", fr), std::nullopt);
    EXPECT_EQ(DelocalizeNumber(".5", de), std::nullopt);
    // Groups stop at the decimals: what is left is for the parser to refuse.
    EXPECT_EQ(DelocalizeNumber("1.5,5.5", de), std::nullopt);
    EXPECT_FALSE(ParseNumericText(*DelocalizeNumber("1.5,5,5", de)).has_value());
}

TEST(ScriptLocale, DateTextFollowsTheDayFirstOrder)
{
    const auto jan31 = DateSerialOf(2000, 1, 31);
    EXPECT_EQ(ParseDateText("31/1/2000", Get(2057)), jan31);
    EXPECT_EQ(ParseDateText("31.01.2000", Get(1031)), jan31);
    EXPECT_EQ(ParseDateText("31. Januar 2000", Get(1031)), jan31);
    EXPECT_EQ(ParseDateText("31 janv. 2000", Get(1036)), jan31);
    EXPECT_EQ(ParseDateText("1/31/2000", DefaultLocale()), jan31);
    EXPECT_FALSE(ParseDateText("1/31/2000", Get(2057)).has_value());
    // Source literals are always month first.
    EXPECT_EQ(ParseDateText("1/31/2000"), jan31);
}

TEST(ScriptLocale, BelongsToOneInterpreterAndOnlyWhileItRuns)
{
    Interpreter german;
    german.Execute("SetLocale 1031");
    EXPECT_EQ(german.Locale->Id, 1031);
    // Outside a run, and in another interpreter, numbers are written as en-US.
    EXPECT_EQ(ToStr(Variant::Dbl(1.5)), "1.5");
    Interpreter other;
    other.Execute("If CStr(1.5) <> \"1.5\" Then Err.Raise 1000");
    // The next run of the same interpreter keeps its choice.
    german.Execute("If CStr(1.5) <> \"1,5\" Or GetLocale() <> 1031 Then Err.Raise 1000");
}

} // namespace
