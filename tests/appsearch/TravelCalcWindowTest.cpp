// The travel calculator window: the same answers as kalvion-cli, its
// messages, "Advance Time", picking a body by name, and the remembered
// choices.
#include "WindowTestSupport.h"

#include "app/ActionTable.h"
#include "app/travel/TravelCalcWindow.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;

namespace {

QLineEdit *Edit(QWidget *w, const char *name) { return w->findChild<QLineEdit *>(QString::fromLatin1(name)); }

struct TravelFixture : WindowFixture {
    QString file;
    void SetUp() override
    {
        WindowFixture::SetUp();
        file = OpenCopy(QStringLiteral("travel.VexaDB"));
        ASSERT_GT(window->Sector().SystemCount(), 2);
    }
    // The first body below a root that is not the root, "System/Body".
    QString PathOfAPlanet(TStellarBody *&body)
    {
        for (auto &root : window->Sector().Systems) {
            window->Sector().DynaLoad(root.get());
            for (auto &child : root->Children)
                if (!child->Name.empty() && child->Name.find('/') == std::string::npos) {
                    body = child.get();
                    return QString::fromStdString(root->Name + "/" + child->Name);
                }
        }
        return {};
    }
    QStringList Answer(TfrmTravelCalc3 *d) const
    {
        return {QStringLiteral("Distance: ") + Edit(d, "edDistance")->text(),
                QStringLiteral("Travel Time: ") + Edit(d, "edTravelTime")->text().trimmed(),
                QStringLiteral("Arrival Date: ") + Edit(d, "edArrivalDate")->text()};
    }
};

QStringList Lines(const QByteArray &out)
{
    return QString::fromUtf8(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

TEST_F(TravelFixture, BetweenTwoSystemsAsTheCommandLineComputes)
{
    TVexaSector &s = window->Sector();
    EXPECT_FALSE(window->Actions().Action(QStringLiteral("Body.TravelCalculator"))->isEnabled());
    s.SelectBody(s.GetSystem(0));
    s.SelectBody(s.GetSystem(2));
    window->UpdateActions();
    EXPECT_TRUE(window->Actions().Action(QStringLiteral("Body.TravelCalculator"))->isEnabled());
    QStringList shown;
    QString start, end, departure;
    WhenShown<TfrmTravelCalc3>(window.get(), [&](TfrmTravelCalc3 *d) {
        Edit(d, "edSublightSpeed")->setText(QStringLiteral("2"));
        Edit(d, "edInterstellarSpeed")->setText(QStringLiteral("3.5"));
        Edit(d, "edStartBoundary")->setText(QStringLiteral("150000000"));
        d->findChild<QComboBox *>(QStringLiteral("cmbSublightUnit"))->setCurrentIndex(1);
        shown = Answer(d);
        start = Edit(d, "edStartBody")->text();
        end = Edit(d, "edEndBody")->text();
        departure = d->findChild<QLabel *>(QStringLiteral("lblDeparture"))->text();
        d->findChild<QPushButton *>(QStringLiteral("btnClose"))->click();
    });
    window->Actions().Action(QStringLiteral("Body.TravelCalculator"))->trigger();
    EXPECT_EQ(start.toStdString(), s.GetSystem(0)->Name);
    EXPECT_EQ(end.toStdString(), s.GetSystem(2)->Name);
    EXPECT_FALSE(departure.isEmpty());
    const QStringList cli = Lines(RunCli(
        {QStringLiteral("travel"), file, QStringLiteral("--from"), QString::fromStdString(s.GetSystem(0)->Name),
         QStringLiteral("--to"), QString::fromStdString(s.GetSystem(2)->Name), QStringLiteral("--sublight"),
         QStringLiteral("2"), QStringLiteral("--unit"), QStringLiteral("m/s"), QStringLiteral("--interstellar"),
         QStringLiteral("3.5"), QStringLiteral("--start-boundary"), QStringLiteral("150000000")}));
    EXPECT_EQ(shown, cli);
    // The choices are kept for the next use.
    EXPECT_EQ(window->Settings().SublightSpeedUnit, 1);
    EXPECT_EQ(window->Settings().InterstellarSpeedMethod, QStringLiteral("Light Speed"));
    int unit = -1;
    WhenShown<TfrmTravelCalc3>(window.get(), [&](TfrmTravelCalc3 *d) {
        unit = d->UnitChoice();
        d->findChild<QCheckBox *>(QStringLiteral("chkIntrasystem"))->setChecked(true);
        d->reject();
    });
    window->Actions().Action(QStringLiteral("Body.TravelCalculator"))->trigger();
    EXPECT_EQ(unit, 1);
    EXPECT_TRUE(window->Settings().AllowIntrasystemHyperlight);
}

TEST_F(TravelFixture, InsideASystemWithTheEndPickedByName)
{
    TStellarBody *planet = nullptr;
    const QString path = PathOfAPlanet(planet);
    ASSERT_NE(planet, nullptr);
    TVexaSector &s = window->Sector();
    s.SelectBody(planet->GetRootBody());
    window->UpdateActions();
    QStringList shown;
    WhenShown<TfrmTravelCalc3>(window.get(), [&](TfrmTravelCalc3 *d) {
        d->findChild<QToolButton *>(QStringLiteral("btnPickEnd"))->click();
        QLineEdit *find = d->findChild<QLineEdit *>(QStringLiteral("edFindBody"));
        ASSERT_NE(find, nullptr);
        EXPECT_TRUE(find->isVisible());
        QTest::keyClicks(find, path);
        QTest::keyClick(find, Qt::Key_Return);
        EXPECT_EQ(Edit(d, "edEndBody")->text().toStdString(), planet->Name);
        shown = Answer(d);
        d->accept();
    });
    window->Actions().Action(QStringLiteral("Body.TravelCalculator"))->trigger();
    ASSERT_EQ(shown.size(), 3);
    const QStringList cli = Lines(RunCli({QStringLiteral("travel"), file, QStringLiteral("--from"),
                                          QString::fromStdString(planet->GetRootBody()->Name),
                                          QStringLiteral("--to"), path}));
    EXPECT_EQ(shown, cli);
    EXPECT_TRUE(shown[0].endsWith(QLatin1String(" km")));
}

TEST_F(TravelFixture, BadNumbersAreToldAndShowNotAvailable)
{
    TVexaSector &s = window->Sector();
    TfrmTravelCalc3 d(messages, s, {});
    d.SetStartBody(s.GetSystem(0));
    d.SetEndBody(s.GetSystem(1));
    const qsizetype before = messages.Log().size();
    Edit(&d, "edOutToDistance")->setText(QStringLiteral("far"));
    d.Recalculate();
    Edit(&d, "edOutToDistance")->setText(QStringLiteral("1000"));
    Edit(&d, "edSublightSpeed")->setText(QStringLiteral("quick"));
    d.Recalculate();
    EXPECT_EQ(Edit(&d, "edTravelTime")->text(), QStringLiteral("n/a"));
    Edit(&d, "edOutToDistance")->clear();
    Edit(&d, "edSublightSpeed")->setText(QStringLiteral("1"));
    Edit(&d, "edInterstellarSpeed")->setText(QStringLiteral("warp"));
    d.Recalculate();
    EXPECT_EQ(ToldSince(before),
              (QStringList{QStringLiteral("Distance must be a number"), QStringLiteral("Sublight speed must be a number"),
                           QStringLiteral("Interstellar speed must be a number")}));
    // Leaving a box recalculates as Enter does.
    Edit(&d, "edInterstellarSpeed")->setText(QStringLiteral("1"));
    emit Edit(&d, "edInterstellarSpeed")->editingFinished();
    EXPECT_NE(Edit(&d, "edTravelTime")->text(), QStringLiteral("n/a"));
    EXPECT_EQ(d.findChild<QCheckBox *>(QStringLiteral("chkIntrasystem"))->text(),
              QStringLiteral("Allow Intrasystem Hyperlight Tavel"));
}

TEST_F(TravelFixture, AdvanceTimeMovesTheDateAndStartsFromTheEnd)
{
    TVexaSector &s = window->Sector();
    TfrmTravelCalc3 d(messages, s, {});
    d.SetStartBody(s.GetSystem(0));
    d.SetEndBody(s.GetSystem(1));
    d.Recalculate();
    const double seconds = d.Calculator().Result().TravelTime;
    ASSERT_GT(seconds, 0);
    const QString arrival = Edit(&d, "edArrivalDate")->text();
    const double before = s.Time;
    d.findChild<QPushButton *>(QStringLiteral("btnAdvanceTime"))->click();
    EXPECT_DOUBLE_EQ(s.Time, before + seconds / 86400);
    EXPECT_TRUE(s.Modified);
    EXPECT_EQ(d.findChild<QLabel *>(QStringLiteral("lblDeparture"))->text(), arrival);
    EXPECT_EQ(Edit(&d, "edStartBody")->text().toStdString(), s.GetSystem(1)->Name);
    // From a system to itself the trip takes no time: nothing more moves.
    EXPECT_FALSE(d.AdvanceTime());
    EXPECT_DOUBLE_EQ(s.Time, before + seconds / 86400);
}
