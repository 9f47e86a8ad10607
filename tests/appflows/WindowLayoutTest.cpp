// The search window and the travel calculator read their layouts from .ui
// files: every control keeps its name, and Tab walks them in reading order
// (keyboard users, and the end-to-end runs, count on it).
#include "app/ScriptedMessages.h"
#include "app/search/SearchWindow.h"
#include "app/travel/RoutePlannerWindow.h"
#include "app/travel/TravelCalcWindow.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "travel/TravelCalculator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

using namespace kalvion;
using namespace kalvion::app;

namespace {

// The names of the controls Tab reaches, in order, from `first` round to it.
QStringList TabChain(QWidget *first)
{
    QStringList names;
    QWidget *w = first;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(first->window()) && w->isEnabled())
            names << w->objectName();
        w = w->nextInFocusChain();
    } while (w && w != first);
    return names;
}

TEST(WindowLayout, TravelCalculatorControlsAndTabOrder)
{
    TVexaSector sector;
    TStellarBody *a = sector.NewSystem(1);
    a->Name = "Near";
    TStellarBody *b = sector.NewSystem(1);
    b->Name = "Far";
    b->X = 3;
    TScriptedMessages messages;
    TfrmTravelCalc3 calc(messages, sector, {});
    EXPECT_EQ(calc.objectName(), QStringLiteral("frmTravelCalc3"));
    EXPECT_EQ(calc.windowTitle(), QStringLiteral("Travel Calculator"));
    auto *unit = calc.findChild<QComboBox *>(QStringLiteral("cmbSublightUnit"));
    ASSERT_NE(unit, nullptr);
    ASSERT_EQ(unit->count(), static_cast<int>(TRAVEL_UNIT_NAMES.size()));
    EXPECT_EQ(unit->itemText(0), QString::fromLatin1(TRAVEL_UNIT_NAMES[0]));
    auto *method = calc.findChild<QComboBox *>(QStringLiteral("cmbMethod"));
    ASSERT_NE(method, nullptr);
    EXPECT_EQ(method->itemText(0), QString::fromLatin1(TRAVEL_METHOD_LIGHT_SPEED));
    EXPECT_EQ(calc.findChild<QCheckBox *>(QStringLiteral("chkIntrasystem"))->text(),
              QString::fromLatin1(TRAVEL_INTRASYSTEM_CAPTION));
    EXPECT_TRUE(calc.findChild<QLineEdit *>(QStringLiteral("edArrivalDate"))->isReadOnly());
    EXPECT_EQ(calc.findChild<QLineEdit *>(QStringLiteral("edSublightSpeed"))->text(), QStringLiteral("1"));

    calc.SetStartBody(a);
    calc.SetEndBody(b);
    calc.Recalculate();
    EXPECT_FALSE(calc.findChild<QLineEdit *>(QStringLiteral("edTravelTime"))->text().isEmpty());

    const QStringList chain = TabChain(calc.findChild<QWidget *>(QStringLiteral("edStartBody")));
    EXPECT_EQ(chain, (QStringList{"edStartBody", "btnPickStart", "edEndBody", "btnPickEnd", "edOutToDistance",
                                  "edSublightSpeed", "cmbSublightUnit", "edInterstellarSpeed", "cmbMethod",
                                  "edStartBoundary", "edEndBoundary", "chkIntrasystem", "edDistance", "edTravelTime",
                                  "edArrivalDate", "btnPlanRoute", "btnAdvanceTime", "btnClose"}));
}

TEST(WindowLayout, RoutePlannerControlsAndTabOrder)
{
    TVexaSector sector;
    TScriptedMessages messages;
    TfrmRoutePlanner planner(messages, sector);
    EXPECT_EQ(planner.objectName(), QStringLiteral("frmRoutePlanner"));
    EXPECT_EQ(planner.windowTitle(), QStringLiteral("Route Planner"));
    EXPECT_FALSE(planner.isModal());
    EXPECT_EQ(planner.findChild<QPushButton *>(QStringLiteral("btnSaveRoute"))->text(), QStringLiteral("Save as Route"));
    EXPECT_FALSE(planner.findChild<QPushButton *>(QStringLiteral("btnSaveRoute"))->isEnabled());
    // Route types count only along routes.
    EXPECT_FALSE(planner.findChild<QWidget *>(QStringLiteral("lstRouteTypes"))->isEnabled());
    planner.findChild<QCheckBox *>(QStringLiteral("chkAlongRoutes"))->setChecked(true);
    EXPECT_TRUE(planner.findChild<QWidget *>(QStringLiteral("lstRouteTypes"))->isEnabled());
    planner.findChild<QCheckBox *>(QStringLiteral("chkAlongRoutes"))->setChecked(false);
    const QStringList chain = TabChain(planner.findChild<QWidget *>(QStringLiteral("edFrom")));
    EXPECT_EQ(chain, (QStringList{"edFrom", "edTo", "edJumpRange", "rbFewestJumps", "rbShortest", "edSpeed", "chkAlongRoutes",
                                  "chkPopulatedOnly", "lstAffiliations", "edAvoid", "tblStops", "btnPlan",
                                  "btnClose"}));
}

TEST(WindowLayout, SearchWindowControlsAndTabOrder)
{
    QStringList history;
    TScriptedMessages messages;
    TfrmVexaSearch3 search(messages, history);
    EXPECT_EQ(search.objectName(), QStringLiteral("frmVexaSearch3"));
    EXPECT_EQ(search.windowTitle(), QStringLiteral("Search"));
    EXPECT_FALSE(search.isModal());
    auto *grid = search.findChild<QTableWidget *>(QStringLiteral("gridResults"));
    ASSERT_NE(grid, nullptr);
    // One empty row of the six fixed columns stands for "nothing found".
    EXPECT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(grid->columnCount(), 6);
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    auto *builder = search.findChild<QGroupBox *>(QStringLiteral("pnlQueryBuilder"));
    ASSERT_NE(builder, nullptr);
    EXPECT_FALSE(builder->isVisibleTo(&search));
    auto *habit = search.findChild<QComboBox *>(QStringLiteral("cmbHabitability"));
    EXPECT_EQ(habit->count(), 4);
    EXPECT_GT(search.findChild<QComboBox *>(QStringLiteral("cmbType"))->count(), 1);
    EXPECT_TRUE(search.findChild<QPlainTextEdit *>(QStringLiteral("editQuery"))->tabChangesFocus());

    // Closed builder: its controls are out of the way of Tab.
    const QStringList closed = TabChain(search.findChild<QWidget *>(QStringLiteral("editQuery")));
    EXPECT_EQ(closed, (QStringList{"editQuery", "btnHistoryUp", "btnHistoryDown", "btnSearch", "btnQueryBuilder",
                                   "gridResults", "btnSelectAll", "btnClose"}));
    search.findChild<QWidget *>(QStringLiteral("btnQueryBuilder"))->setProperty("checked", true);
    EXPECT_TRUE(builder->isVisibleTo(&search));
    const QStringList open = TabChain(search.findChild<QWidget *>(QStringLiteral("editQuery")));
    EXPECT_EQ(open.indexOf(QStringLiteral("chkReturnRoots")), open.indexOf(QStringLiteral("btnQueryBuilder")) + 1);
    EXPECT_EQ(open.indexOf(QStringLiteral("btnBuild")) + 1, open.indexOf(QStringLiteral("gridResults")));
}

} // namespace
