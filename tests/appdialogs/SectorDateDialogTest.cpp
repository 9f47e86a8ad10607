// The "Sector Date" window over the sector calendar: checks in order, the
// up-down buttons, "Go" in whole and fractional amounts, and the result.
#include "DialogTestSupport.h"

#include "app/sector/SectorDateDialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

using namespace kalvion::app;
using namespace kalvion::app::test;

namespace {

class SectorDateDialogTest : public DialogTest {
protected:
    QString Box(const char *name) { return Find<QLineEdit>(Dlg, name)->text(); }
    void Set(const char *name, const QString &text) { Find<QLineEdit>(Dlg, name)->setText(text); }
    QString Date()
    {
        return Box("edYear") + "-" + Box("edMonth") + "-" + Box("edDay") + " " + Box("edHour") + ":" +
               Box("edMinute") + ":" + Box("edSecond");
    }
    void Add(const QString &amount, int unit)
    {
        Set("edAdd", amount);
        Find<QComboBox>(Dlg, "cmbInc")->setCurrentIndex(unit);
        Find<QPushButton>(Dlg, "btnGo")->click();
    }
    TfrmSectorDate Dlg{Messages};
};

TEST_F(SectorDateDialogTest, OpensOnTheSectorClockWithTheDefaultsOfAddRow)
{
    EXPECT_EQ(Dlg.windowTitle(), "Sector Date");
    Dlg.Load(1.5, 2010);
    EXPECT_EQ(Date(), "2010-1-2 12:0:0");
    EXPECT_EQ(Box("edAdd"), "0");
    EXPECT_EQ(Find<QComboBox>(Dlg, "cmbInc")->currentText(), "years");
    EXPECT_FALSE(Dlg.ResultTime().has_value());
}

TEST_F(SectorDateDialogTest, ChecksEachBoxInOrder)
{
    Dlg.Load(0, 2000);
    Set("edYear", "1e3");
    Set("edMonth", "13");
    EXPECT_EQ(Dlg.Validate(), "Year must be an integer");
    Set("edYear", "2024");
    EXPECT_EQ(Dlg.Validate(), "Month must be an integer between 1 and 12");
    Set("edMonth", "2");
    Set("edDay", "30");
    EXPECT_EQ(Dlg.Validate(), "Day must be an integer between 1 and 29");
    Set("edYear", "2023");
    EXPECT_EQ(Dlg.Validate(), "Day must be an integer between 1 and 28");
    Set("edDay", "28");
    Set("edHour", "24");
    EXPECT_EQ(Dlg.Validate(), "Hour must be an integer between 0 and 23");
    Set("edHour", "23");
    Set("edMinute", "-1");
    EXPECT_EQ(Dlg.Validate(), "Minute must be an integer between 0 and 59");
    Set("edMinute", "59");
    Set("edSecond", "60");
    EXPECT_EQ(Dlg.Validate(), "Second must be an integer between 0 and 59");
    Set("edSecond", "0");
    EXPECT_EQ(Dlg.Validate(), "");

    Set("edMonth", "13");
    Dlg.accept();
    EXPECT_EQ(Messages.Log().value(0), "tell\tKalvion\tMonth must be an integer between 1 and 12");
    EXPECT_FALSE(Dlg.ResultTime().has_value());
}

TEST_F(SectorDateDialogTest, OkGivesDaysFromTheEpochStart)
{
    Dlg.Load(0, 2000);
    Set("edYear", "2001");
    Set("edHour", "6");
    Dlg.accept();
    ASSERT_TRUE(Dlg.ResultTime().has_value());
    EXPECT_DOUBLE_EQ(*Dlg.ResultTime(), 366.25);
    // A date before the epoch gives a negative time, -1 included.
    Dlg.Load(0, 2000);
    Set("edYear", "1999");
    Set("edMonth", "12");
    Set("edDay", "31");
    Dlg.accept();
    ASSERT_TRUE(Dlg.ResultTime().has_value());
    EXPECT_DOUBLE_EQ(*Dlg.ResultTime(), -1.0);
}

TEST_F(SectorDateDialogTest, GoAddsWholeAmountsInCalendarUnitsAndFractionsInDays)
{
    Dlg.Load(0, 2000);
    Add("1.5", 0);
    EXPECT_EQ(Date(), "2001-7-1 20:43:48"); // 547.86375 days
    Dlg.accept();
    ASSERT_TRUE(Dlg.ResultTime().has_value());
    EXPECT_NEAR(*Dlg.ResultTime(), 547.86375, 1e-9);

    Dlg.Load(30, 2000); // 31 January 2000
    Add("1", 1);
    EXPECT_EQ(Date(), "2000-2-29 0:0:0");
    Add("-2", 2);
    EXPECT_EQ(Date(), "2000-2-27 0:0:0");
    Add("90", 5);
    EXPECT_EQ(Date(), "2000-2-27 0:1:30");
    // Half an hour goes in as days, in steps of 1/100,000 day: 1799.712 s.
    Add("0.5", 3);
    EXPECT_EQ(Date(), "2000-2-27 0:31:29");
    Add("-30", 4);
    EXPECT_EQ(Date(), "2000-2-27 0:1:29");

    Add("soon", 2);
    EXPECT_EQ(Messages.Log().value(0), "tell\tKalvion\tAmount being added must be a number");
    EXPECT_EQ(Date(), "2000-2-27 0:1:29");
    // Wrong boxes make "Go" do nothing, silently.
    Set("edDay", "31");
    Add("1", 2);
    EXPECT_EQ(Messages.Log().size(), 1);
    EXPECT_EQ(Box("edDay"), "31");
}

TEST_F(SectorDateDialogTest, UpDownButtonsWrapWithinTheirRange)
{
    Dlg.Load(0, 2000);
    Set("edMonth", "12");
    Find<QToolButton>(Dlg, "udMonthUp")->click();
    EXPECT_EQ(Box("edMonth"), "1");
    Find<QToolButton>(Dlg, "udMonthDown")->click();
    EXPECT_EQ(Box("edMonth"), "12");
    Set("edMonth", "2");
    Set("edDay", "29");
    Find<QToolButton>(Dlg, "udDayUp")->click();
    EXPECT_EQ(Box("edDay"), "1");
    Find<QToolButton>(Dlg, "udDayDown")->click();
    EXPECT_EQ(Box("edDay"), "29");
    Find<QToolButton>(Dlg, "udHourDown")->click();
    EXPECT_EQ(Box("edHour"), "23");
    Find<QToolButton>(Dlg, "udSecondDown")->click();
    EXPECT_EQ(Box("edSecond"), "59");
    Find<QToolButton>(Dlg, "udYearDown")->click();
    EXPECT_EQ(Box("edYear"), "1999");
    Set("edMinute", "x");
    Find<QToolButton>(Dlg, "udMinuteUp")->click();
    EXPECT_EQ(Box("edMinute"), "x");
}

TEST_F(SectorDateDialogTest, CancelLeavesNoResult)
{
    Dlg.Load(3, 2000);
    Find<QPushButton>(Dlg, "btnCancel")->click();
    EXPECT_FALSE(Dlg.ResultTime().has_value());
}

} // namespace
