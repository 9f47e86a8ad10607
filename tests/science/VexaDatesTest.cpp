#include "model/VexaSector.h"
#include "science/SectorDateEditor.h"
#include "science/VexaDates.h"

#include <gtest/gtest.h>

#include <limits>

using namespace kalvion;

namespace {

void ExpectDate(const TVexaDateHandler &h, std::int64_t y, std::int64_t mo, std::int64_t d, std::int64_t hh = 0,
                std::int64_t mi = 0, std::int64_t s = 0)
{
    const TDateParts p = h.DecodeDate();
    EXPECT_EQ(p.Year, y);
    EXPECT_EQ(p.Month, mo);
    EXPECT_EQ(p.Day, d);
    EXPECT_EQ(p.Hour, hh);
    EXPECT_EQ(p.Minute, mi);
    EXPECT_EQ(p.Second, s);
}

TVexaDateHandler At(std::int64_t y, std::int64_t mo, std::int64_t d, std::int64_t hh = 0, std::int64_t mi = 0,
                    std::int64_t s = 0)
{
    TVexaDateHandler h;
    EXPECT_TRUE(h.SetDate(y, mo, d, hh, mi, s));
    return h;
}

} // namespace

TEST(VexaDates, LeapYearsAndMonthLengths)
{
    EXPECT_FALSE(TVexaDateHandler::IsLeapYear(1900));
    EXPECT_TRUE(TVexaDateHandler::IsLeapYear(2000));
    EXPECT_TRUE(TVexaDateHandler::IsLeapYear(2024));
    EXPECT_TRUE(TVexaDateHandler::IsLeapYear(0));
    EXPECT_TRUE(TVexaDateHandler::IsLeapYear(-4));
    EXPECT_FALSE(TVexaDateHandler::IsLeapYear(-1));
    EXPECT_FALSE(TVexaDateHandler::IsLeapYear(-100));
    EXPECT_TRUE(TVexaDateHandler::IsLeapYear(-400));

    TVexaDateHandler h;
    EXPECT_EQ(h.DaysInMonth(2, 2000), 29);
    EXPECT_EQ(h.DaysInMonth(2, 1900), 28);
    EXPECT_EQ(h.DaysInMonth(0, 2000), -1);
    EXPECT_EQ(h.DaysInMonth(13, 2000), -1);
    EXPECT_TRUE(h.IsValidDate(2000, 12, 31, 23, 59, 59));
    EXPECT_FALSE(h.IsValidDate(2000, 12, 31, 24, 0, 0));
    EXPECT_FALSE(h.IsValidDate(2000, 12, 31, 0, 60, 0));
    EXPECT_FALSE(h.IsValidDate(400000001, 1, 1, 0, 0, 0));
    EXPECT_TRUE(h.IsValidDate(-400000000, 1, 1, 0, 0, 0));
}

TEST(VexaDates, SetAndDecode)
{
    TVexaDateHandler h = At(2000, 1, 1);
    ExpectDate(h, 2000, 1, 1);
    EXPECT_EQ(h.DecodeDate().DayOfWeek, 7);
    EXPECT_EQ(h.DayOfWeek(), 7);
    EXPECT_EQ(h.DecodeDate().DayOfYear, 1);
    EXPECT_EQ(At(2000, 12, 31).DecodeDate().DayOfYear, 366);
    EXPECT_EQ(At(2001, 12, 31).DecodeDate().DayOfYear, 365);

    const std::int64_t before = h.Ticks;
    EXPECT_FALSE(h.SetDate(2001, 2, 29, 0, 0, 0));
    EXPECT_EQ(h.Ticks, before);
    EXPECT_TRUE(h.SetDate(2000, 2, 29, 0, 0, 0));

    ExpectDate(At(2010, 3, 5, 25, 0, 0), 2010, 3, 6, 1, 0, 0);
    ExpectDate(At(1999, 12, 31, 23, 59, 59), 1999, 12, 31, 23, 59, 59);

    // Year 0 and the years before it.
    TVexaDateHandler y0 = At(0, 1, 1);
    ExpectDate(y0, 0, 1, 1);
    EXPECT_EQ(y0.DayOfWeek(), 7);
    EXPECT_EQ(At(1, 1, 1).DayOfWeek(), 2);
    TVexaDateHandler neg = At(-1, 12, 31, 23, 59, 59);
    neg.AddToDate(DATE_UNIT_SECONDS, 1);
    ExpectDate(neg, 0, 1, 1);
    EXPECT_TRUE(h.SetDate(-4, 2, 29, 0, 0, 0));
    EXPECT_FALSE(h.SetDate(-100, 2, 29, 0, 0, 0));
    ExpectDate(At(-44, 3, 15, 12, 0, 0), -44, 3, 15, 12, 0, 0);

    // The calendar's ends.
    ExpectDate(At(-400000000, 1, 1), -400000000, 1, 1);
    EXPECT_EQ(At(-400000000, 1, 1).Ticks, 0);
    EXPECT_EQ(At(-399999600, 1, 1).Ticks, h.CycleTicks);
    EXPECT_EQ(h.CycleTicks, 1262278080000LL);
    ExpectDate(At(400000000, 12, 31, 23, 59, 59), 400000000, 12, 31, 23, 59, 59);
}

TEST(VexaDates, ReferenceDate)
{
    TVexaDateHandler h = At(2010, 1, 1);
    const std::int64_t ticks = h.Ticks;
    h.SetReference(2000, 1, 1, 0, 0, 0);
    EXPECT_EQ(h.Ticks, ticks);
    EXPECT_EQ(h.ReferenceTicks, At(2000, 1, 1).Ticks);
    h.SetReference(2001, 2, 29, 0, 0, 0);
    EXPECT_EQ(h.ReferenceTicks, ticks);
}

TEST(VexaDates, DatesBeforeTheCalendarDecodeSafely)
{
    TVexaDateHandler h;
    h.Ticks = -1;
    ExpectDate(h, -400000001, 12, 31, 23, 59, 59);
    h.Ticks = std::numeric_limits<std::int64_t>::min();
    const TDateParts p = h.DecodeDate();
    EXPECT_GE(p.Month, 1);
    EXPECT_LE(p.Month, 12);
    EXPECT_GE(p.DayOfWeek, 1);
    EXPECT_LE(p.DayOfWeek, 7);
    h.Format = "dddd dd mmmm y";
    EXPECT_FALSE(h.FormatDate().empty());
    h.Ticks = std::numeric_limits<std::int64_t>::max();
    EXPECT_FALSE(h.FormatDate().empty());
}

TEST(VexaDates, YearAndMonthArithmeticClipsTheDay)
{
    TVexaDateHandler h = At(2000, 2, 29, 10, 20, 30);
    h.AddToDate(DATE_UNIT_YEARS, 1);
    ExpectDate(h, 2001, 2, 28, 10, 20, 30);

    h = At(2010, 1, 15);
    h.AddToDate(DATE_UNIT_MONTHS, -1);
    ExpectDate(h, 2009, 12, 15);

    h = At(2010, 1, 31);
    h.AddToDate(DATE_UNIT_MONTHS, 13);
    ExpectDate(h, 2011, 2, 28);

    h = At(2010, 3, 31);
    h.AddToDate(DATE_UNIT_MONTHS, -13);
    ExpectDate(h, 2009, 2, 28);

    h = At(2012, 1, 31);
    h.AddToDate(DATE_UNIT_MONTHS, 1);
    ExpectDate(h, 2012, 2, 29);

    h = At(2010, 11, 30);
    h.AddToDate(DATE_UNIT_MONTHS, 2);
    ExpectDate(h, 2011, 1, 30);

    // Fractions of a second are lost when the date is rebuilt.
    h = At(2010, 1, 1);
    h.Ticks += 55;
    h.AddToDate(DATE_UNIT_YEARS, 0);
    EXPECT_EQ(h.Ticks, At(2010, 1, 1).Ticks);

    // Out of the calendar: the date stays.
    h = At(400000000, 6, 1);
    const std::int64_t end = h.Ticks;
    h.AddToDate(DATE_UNIT_YEARS, 1);
    EXPECT_EQ(h.Ticks, end);
    h.AddToDate(DATE_UNIT_YEARS, std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(h.Ticks, end);
    h.AddToDate(DATE_UNIT_MONTHS, std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(h.Ticks, end);
    h.AddToDate(99, 5);
    EXPECT_EQ(h.Ticks, end);
}

TEST(VexaDates, SmallUnitsAndDays)
{
    TVexaDateHandler h = At(2010, 1, 1);
    const std::int64_t t0 = h.Ticks;
    h.AddToDate(DATE_UNIT_DAYS, 2);
    h.AddToDate(DATE_UNIT_HOURS, 3);
    h.AddToDate(DATE_UNIT_MINUTES, -4);
    h.AddToDate(DATE_UNIT_SECONDS, 5);
    ExpectDate(h, 2010, 1, 3, 2, 56, 5);

    h.Ticks = t0;
    h.AddToDate(DATE_UNIT_MILLISECONDS, 15);
    EXPECT_EQ(h.Ticks, t0 + 1);
    h.Ticks = t0;
    h.AddToDate(DATE_UNIT_MILLISECONDS, -15);
    EXPECT_EQ(h.Ticks, t0 - 2);

    h.Ticks = t0;
    h.AddToDate(DATE_UNIT_DAYS, std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(h.Ticks, t0);

    h.Ticks = t0;
    EXPECT_EQ(h.AddDays(0.5), t0 + 4320000);
    ExpectDate(h, 2010, 1, 1, 12, 0, 0);
    h.Ticks = t0;
    EXPECT_EQ(h.AddDays(1.0 / 86400), t0 + 86);
    h.Ticks = t0;
    h.AddDays(-1.0 / 86400);
    EXPECT_EQ(h.Ticks, t0 - 86);
    h.Ticks = t0;
    h.AddDays(std::numeric_limits<double>::quiet_NaN());
    h.AddDays(std::numeric_limits<double>::infinity());
    h.AddDays(1e300);
    EXPECT_EQ(h.Ticks, t0);
}

TEST(VexaDates, AddDaysIsExactFarFromTheEpoch)
{
    // 100,000 years are 250 cycles of 146,097 days; the step count times the
    // ticks of a day no longer fits 64 bits.
    TVexaDateHandler h = At(2000, 1, 1);
    h.AddDays(36524250);
    ExpectDate(h, 102000, 1, 1);
    h.AddDays(-36524250 * 2.0);
    ExpectDate(h, -98000, 1, 1);
    TVexaDateHandler far = At(-399999000, 1, 1);
    far.AddDays(146097.0 * 1999995); // 799,998,000 years
    ExpectDate(far, 399999000, 1, 1);
}

TEST(VexaDates, FormatTokens)
{
    TVexaDateHandler h = At(2010, 3, 5, 14, 7, 9);
    h.Format = "dddd ddd dd d mmmm mmm mm m oo o y h n s";
    EXPECT_EQ(h.FormatDate(), "Friday Fri 05 5 March Mar 03 3 064 64 2010 14 07 09");
    h.Format = "hh:n h:m";
    EXPECT_EQ(h.FormatDate(), "1414:07 14:3");
    h.Format = "\\d\\a\\y d";
    EXPECT_EQ(h.FormatDate(), "day 5");
    h.Format = "[y-mm-dd]\\";
    EXPECT_EQ(h.FormatDate(), "[2010-03-05]");
    h.Format = "dd mmm y h:n:s";
    EXPECT_EQ(h.FormatDate(), "05 Mar 2010 14:07:09");

    TVexaDateHandler early = At(-44, 3, 15);
    early.Format = "y/mm/dd";
    EXPECT_EQ(early.FormatDate(), "-44/03/15");
}

TEST(VexaDates, SectorClock)
{
    TVexaDateHandler h;
    h.SetToSector(2000, 1.5, "j a");
    EXPECT_EQ(h.FormatDate(), "1.5000 0.0041");
    EXPECT_EQ(h.ReferenceTicks, At(2000, 1, 1).Ticks);

    TVexaSector sector;
    sector.EpochYear = 2024;
    sector.Time = 59.5;
    EXPECT_EQ(SectorDateText(sector), "29 Feb 2024 12:00:00");
    sector.Time = -0.5;
    EXPECT_EQ(SectorDateText(sector), "31 Dec 2023 12:00:00");
    sector.DateFormat = "mmmm d, y";
    sector.Time = 0;
    EXPECT_EQ(SectorDateText(sector), "January 1, 2024");
}

TEST(SectorDateEditor, OpenAndCheck)
{
    TSectorDateEditor ed;
    ed.Open(2010, 30.25);
    EXPECT_EQ(ed.Fields.Year, "2010");
    EXPECT_EQ(ed.Fields.Month, "1");
    EXPECT_EQ(ed.Fields.Day, "31");
    EXPECT_EQ(ed.Fields.Hour, "6");
    EXPECT_EQ(ed.Check(), "");
    EXPECT_DOUBLE_EQ(ed.ResultTime(), 30.25);

    ed.Fields.Month = "13";
    EXPECT_EQ(ed.Check(), "Month must be an integer between 1 and 12");
    EXPECT_EQ(ed.ResultTime(), -1);
    ed.Fields = TSectorDateFields{"2024", "2", "30", "0", "0", "0"};
    EXPECT_EQ(ed.Check(), "Day must be an integer between 1 and 29");
    ed.Fields = TSectorDateFields{"x", "2", "30", "0", "0", "0"};
    EXPECT_EQ(ed.Check(), "Year must be an integer");
    ed.Fields = TSectorDateFields{"2024", "2", "3", "24", "0", "0"};
    EXPECT_EQ(ed.Check(), "Hour must be an integer between 0 and 23");
    ed.Fields = TSectorDateFields{"2024", "2", "3", "0", "1.5", "0"};
    EXPECT_EQ(ed.Check(), "Minute must be an integer between 0 and 59");
    ed.Fields = TSectorDateFields{"2024", "2", "3", "0", "0", "60"};
    EXPECT_EQ(ed.Check(), "Second must be an integer between 0 and 59");
    ed.Fields = TSectorDateFields{"99999999999", "1", "1", "0", "0", "0"};
    EXPECT_EQ(ed.Check(), "Year must be an integer");

    // A year beyond the calendar passes the check but keeps the last date.
    ed.Open(2010, 30.25);
    ed.Fields.Year = "500000000";
    EXPECT_DOUBLE_EQ(ed.ResultTime(), 30.25);
}

TEST(SectorDateEditor, UpDownButtonsWrap)
{
    TSectorDateEditor ed;
    ed.Fields = TSectorDateFields{"2023", "12", "28", "23", "59", "0"};
    ed.Step(TSectorDateBox::Month, +1);
    EXPECT_EQ(ed.Fields.Month, "1");
    ed.Step(TSectorDateBox::Month, -1);
    EXPECT_EQ(ed.Fields.Month, "12");
    ed.Fields.Month = "2";
    ed.Step(TSectorDateBox::Day, +1);
    EXPECT_EQ(ed.Fields.Day, "1");
    ed.Step(TSectorDateBox::Day, -1);
    EXPECT_EQ(ed.Fields.Day, "28");
    ed.Step(TSectorDateBox::Hour, +1);
    EXPECT_EQ(ed.Fields.Hour, "0");
    ed.Step(TSectorDateBox::Minute, +1);
    EXPECT_EQ(ed.Fields.Minute, "0");
    ed.Step(TSectorDateBox::Second, -1);
    EXPECT_EQ(ed.Fields.Second, "59");
    ed.Step(TSectorDateBox::Year, -1);
    EXPECT_EQ(ed.Fields.Year, "2022");

    ed.Fields.Year = "two";
    ed.Step(TSectorDateBox::Year, +1);
    EXPECT_EQ(ed.Fields.Year, "two");
    ed.Step(TSectorDateBox::Day, +1); // needs an integer year
    EXPECT_EQ(ed.Fields.Day, "28");
}

TEST(SectorDateEditor, AddOrSubtractTime)
{
    TSectorDateEditor ed;
    ed.Open(2010, 30); // 31 January 2010
    ed.Amount = "abc";
    EXPECT_EQ(ed.Go(), "Amount being added must be a number");
    EXPECT_EQ(ed.Fields.Day, "31");

    ed.Amount = "1";
    ed.Unit = TSectorDateUnit::Months;
    EXPECT_EQ(ed.Go(), "");
    EXPECT_EQ(ed.Fields.Month, "2");
    EXPECT_EQ(ed.Fields.Day, "28");

    ed.Open(2010, 0);
    ed.Amount = "1.5";
    ed.Unit = TSectorDateUnit::Years;
    ed.Go();
    EXPECT_NEAR(ed.ResultTime(), 547.86375, 1e-5);

    ed.Open(2010, 0);
    ed.Amount = "-90";
    ed.Unit = TSectorDateUnit::Minutes;
    ed.Go();
    EXPECT_EQ(ed.Fields.Year, "2009");
    EXPECT_EQ(ed.Fields.Hour, "22");
    EXPECT_EQ(ed.Fields.Minute, "30");

    // Wrong boxes: nothing happens, silently.
    ed.Fields.Month = "0";
    EXPECT_EQ(ed.Go(), "");
    EXPECT_EQ(ed.Fields.Month, "0");
}
