// The route planner window: the trip kalvion-cli's plot finds, listed and
// timed; its path handed to the map while the window is open; "Save as
// Route" as one step that undo takes back; refused choices; the way from
// the travel calculator.
#include "WindowTestSupport.h"

#include "app/ActionTable.h"
#include "app/travel/RoutePlannerWindow.h"
#include "app/travel/TravelCalcWindow.h"
#include "model/StellarBody.h"
#include "model/StellarRoute.h"
#include "model/VexaSector.h"

#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;

namespace {

template <class T>
T *Child(QWidget *w, const char *name)
{
    return w->findChild<T *>(QString::fromLatin1(name));
}

struct PlannerFixture : WindowFixture {
    QString file;
    QString from, to, jump;
    QJsonObject cli;  // plot's answer for from, to and jump at speed 2
    std::vector<std::vector<TVexaPoint>> paths;  // what the map was handed

    void SetUp() override
    {
        WindowFixture::SetUp();
        file = OpenCopy(QStringLiteral("planner.VexaDB"));
        const TVexaSector &s = window->Sector();
        ASSERT_GT(s.SystemCount(), 3);
        // A trip of two jumps or more between the first system and another.
        from = QString::fromStdString(s.GetSystem(0)->Name);
        for (const char *range : {"2", "3", "4", "6", "8"}) {
            for (int i = s.SystemCount() - 1; i > 0 && cli.isEmpty(); --i) {
                QProcess p;
                const QString name = QString::fromStdString(s.GetSystem(i)->Name);
                p.start(QStringLiteral(KALVION_BIN_DIR "/kalvion-cli"),
                        {QStringLiteral("--json"), QStringLiteral("plot"), file, from, name, QStringLiteral("--jump"),
                         QString::fromLatin1(range), QStringLiteral("--speed"), QStringLiteral("2")});
                p.waitForFinished(60000);
                const QJsonObject j = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
                if (p.exitCode() == 0 && j.value("jumps").toInt() >= 2) {
                    cli = j;
                    to = name;
                    jump = QString::fromLatin1(range);
                }
            }
            if (!cli.isEmpty())
                break;
        }
        ASSERT_FALSE(cli.isEmpty()) << "no trip of two jumps in the generated sector";
    }

    TfrmRoutePlanner *Open()
    {
        window->Actions().Action(QStringLiteral("Actions.PlanRoute"))->trigger();
        TfrmRoutePlanner *planner = window->RoutePlannerWindow();
        if (planner) {
            auto drawn = planner->OnPathChanged;
            planner->OnPathChanged = [this, drawn](const std::vector<TVexaPoint> &path) {
                paths.push_back(path);
                drawn(path);
            };
        }
        return planner;
    }
    void Fill(TfrmRoutePlanner *p, const QString &a, const QString &b, const QString &range)
    {
        Child<QLineEdit>(p, "edFrom")->setText(a);
        Child<QLineEdit>(p, "edTo")->setText(b);
        Child<QLineEdit>(p, "edJumpRange")->setText(range);
    }
    QStringList Stops(TfrmRoutePlanner *p) const
    {
        QStringList rows;
        auto *t = Child<QTableWidget>(p, "tblStops");
        for (int i = 0; i < t->rowCount(); ++i)
            rows << t->item(i, 0)->text() + QLatin1Char('|') + t->item(i, 1)->text();
        return rows;
    }
    QStringList CliStops() const
    {
        QStringList rows;
        const QJsonArray stops = cli.value("stops").toArray();
        for (int i = 0; i < stops.size(); ++i) {
            const QJsonObject o = stops[i].toObject();
            QString jumpText;
            // The command line gives the jump in the sector's unit.
            if (i > 0)
                jumpText = QString::fromStdString(PlanDistanceText(
                    window->Sector(), o.value("jump_distance").toDouble() * window->Sector().UnitStarMeasureRatio));
            rows << o.value("name").toString() + QLatin1Char('|') + jumpText;
        }
        return rows;
    }
};

TEST_F(PlannerFixture, PlansListsTimesDrawsAndSavesTheTripOfThePlotCommand)
{
    TVexaSector &s = window->Sector();
    s.SelectAll(false);
    s.SelectBody(s.FindRootBodyByName(from.toStdString()));
    s.SelectBody(s.FindRootBodyByName(to.toStdString()));
    window->UpdateActions();
    ASSERT_TRUE(window->Actions().Action(QStringLiteral("Actions.PlanRoute"))->isEnabled());
    TfrmRoutePlanner *p = Open();
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->isVisible());
    EXPECT_FALSE(p->isModal());
    // The ends come from the selection.
    EXPECT_EQ(Child<QLineEdit>(p, "edFrom")->text(), from);
    EXPECT_EQ(Child<QLineEdit>(p, "edTo")->text(), to);

    Child<QLineEdit>(p, "edJumpRange")->setText(jump);
    Child<QLineEdit>(p, "edSpeed")->setText(QStringLiteral("2"));
    Child<QPushButton>(p, "btnPlan")->click();
    ASSERT_TRUE(p->HasPlan()) << p->MessageText().toStdString();
    EXPECT_EQ(Stops(p), CliStops());
    EXPECT_EQ(p->TravelTimeText(), cli.value("travel_time_text").toString());
    ASSERT_FALSE(paths.empty());
    EXPECT_EQ(paths.back().size(), static_cast<std::size_t>(cli.value("stops").toArray().size()));
    const TStellarBody *start = s.FindRootBodyByName(from.toStdString());
    EXPECT_EQ(paths.back().front().X, start->X);
    EXPECT_EQ(s.RouteCount(), 0);  // drawn, not added

    // Saved as a route through the stops, one step that undo takes back and
    // redo brings again; the trip stays shown throughout.
    messages.Push(QStringLiteral("Trade Run"));
    Child<QPushButton>(p, "btnSaveRoute")->click();
    ASSERT_EQ(s.RouteCount(), 1);
    const TStellarRoute *route = s.GetRoute(0);
    EXPECT_EQ(route->Name, "Trade Run");
    ASSERT_EQ(route->WaypointCount(), cli.value("stops").toArray().size());
    EXPECT_EQ(route->Waypoints.front()->id, start->IDString.str());
    EXPECT_TRUE(s.Modified);
    QAction *undo = window->Actions().Action(QStringLiteral("Edit.Undo"));
    EXPECT_EQ(undo->text(), QStringLiteral("Undo Save as Route"));
    undo->trigger();
    EXPECT_EQ(s.RouteCount(), 0);
    EXPECT_TRUE(p->HasPlan());
    EXPECT_EQ(Stops(p), CliStops());
    window->Actions().Action(QStringLiteral("Edit.Redo"))->trigger();
    ASSERT_EQ(s.RouteCount(), 1);
    EXPECT_EQ(s.GetRoute(0)->Name, "Trade Run");
    // Cancelling the name keeps nothing.
    Child<QPushButton>(p, "btnSaveRoute")->click();
    EXPECT_EQ(s.RouteCount(), 1);

    // Closing takes the path off the map.
    Child<QPushButton>(p, "btnClose")->click();
    EXPECT_FALSE(p->isVisible());
    ASSERT_FALSE(paths.empty());
    EXPECT_TRUE(paths.back().empty());
}

TEST_F(PlannerFixture, RefusedChoicesSayWhyAndTakeThePathAway)
{
    TfrmRoutePlanner *p = Open();
    ASSERT_NE(p, nullptr);
    Fill(p, from, to, jump);
    ASSERT_TRUE(p->Plan());
    const struct {
        const char *to, *range, *avoid, *message;
    } cases[] = {
        {"Nowhere", "5", "", "No system named \"Nowhere\""},
        {nullptr, "0", "", "Jump Range must be a positive number"},
        {nullptr, "far", "", "Jump Range must be a positive number"},
        {nullptr, "5", "Nowhere Else", "No system named \"Nowhere Else\""},
        {"", "5", "", "Enter the system the trip goes to"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message);
        Fill(p, from, c.to ? QString::fromLatin1(c.to) : to, QString::fromLatin1(c.range));
        Child<QLineEdit>(p, "edAvoid")->setText(QString::fromLatin1(c.avoid));
        paths.clear();
        EXPECT_FALSE(p->Plan());
        EXPECT_EQ(p->MessageText(), QString::fromLatin1(c.message));
        EXPECT_FALSE(Child<QPushButton>(p, "btnSaveRoute")->isEnabled());
        ASSERT_EQ(paths.size(), 1u);
        EXPECT_TRUE(paths.back().empty());
        ASSERT_TRUE((Fill(p, from, to, jump), Child<QLineEdit>(p, "edAvoid")->clear(), p->Plan()));
    }
    // A range too short for any jump ends in the reason the command line
    // gives.
    Fill(p, from, to, QStringLiteral("0.001"));
    EXPECT_FALSE(p->Plan());
    EXPECT_TRUE(p->MessageText().startsWith(QStringLiteral("no path from \"") + from)) << p->MessageText().toStdString();
}

TEST_F(PlannerFixture, TheTravelCalculatorHandsItsTripToThePlanner)
{
    TVexaSector &s = window->Sector();
    s.SelectAll(false);
    s.SelectBody(s.FindRootBodyByName(from.toStdString()));
    s.SelectBody(s.FindRootBodyByName(to.toStdString()));
    window->UpdateActions();
    WhenShown<TfrmTravelCalc3>(window.get(), [](TfrmTravelCalc3 *d) {
        d->findChild<QLineEdit *>(QStringLiteral("edInterstellarSpeed"))->setText(QStringLiteral("3"));
        d->findChild<QPushButton *>(QStringLiteral("btnPlanRoute"))->click();
    });
    window->Actions().Action(QStringLiteral("Body.TravelCalculator"))->trigger();
    TfrmRoutePlanner *p = window->RoutePlannerWindow();
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->isVisible());
    EXPECT_EQ(Child<QLineEdit>(p, "edFrom")->text(), from);
    EXPECT_EQ(Child<QLineEdit>(p, "edTo")->text(), to);
    // The calculator's speed times the trip.
    EXPECT_EQ(Child<QLineEdit>(p, "edSpeed")->text(), QStringLiteral("3"));
    EXPECT_EQ(Child<QLabel>(p, "lblMethod")->text(), QStringLiteral("Light Speed"));
    p->close();
}

} // namespace
