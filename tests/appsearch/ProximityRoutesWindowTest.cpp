// "Create Proximity Routes": the defaults, the check of the numbers and its
// message, the routes equal to kalvion-cli's, and Escape during the run.
#include "WindowTestSupport.h"

#include "app/ActionTable.h"
#include "app/travel/ProximityRoutesDialog.h"
#include "files/SectorFile.h"
#include "model/StellarRoute.h"
#include "model/VexaSector.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;

namespace {

QLineEdit *Edit(QWidget *w, const char *name) { return w->findChild<QLineEdit *>(QString::fromLatin1(name)); }

// Every route as text: its ends, label, type, colour, style and width.
QStringList RoutesOf(const std::string &file)
{
    TVexaSector s;
    EXPECT_TRUE(LoadFromFile(s, file));
    QStringList routes;
    for (int i = 0; i < s.RouteCount(); ++i) {
        const TStellarRoute &r = *s.GetRoute(i);
        QString line = QString::fromStdString(r.Name + "|" + r.RouteType);
        for (const auto &w : r.Waypoints)
            line += QLatin1Char('|') + QString::fromStdString(w->id);
        line += QStringLiteral("|%1 %2 %3|%4|%5").arg(r.Red).arg(r.Green).arg(r.Blue).arg(r.LineStyle).arg(r.LineWidth);
        routes << line;
    }
    return routes;
}

} // namespace

TEST_F(WindowFixture, ProximityRoutesDialogChecksItsNumbersInOrder)
{
    TfrmProximityRoutes d(messages);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Create Proximity Routes"));
    const TProximityRouteOptions o = d.Options();
    EXPECT_EQ(o.Style, PROXIMITY_ROUTES_POP);
    EXPECT_EQ(o.MaxLength, 10);
    EXPECT_EQ(o.MinLength, 0);
    EXPECT_EQ(o.MaxRoutes, 2);
    EXPECT_EQ(o.LineWidth, 1);
    EXPECT_EQ(o.LineStyle, 0);
    EXPECT_FALSE(o.RandomColor);
    EXPECT_EQ(d.Validate(), QString());
    for (const char *box : {"edMaxLength", "edMinLength", "edMaxRoutes"}) {
        SCOPED_TRACE(box);
        const QString kept = Edit(&d, box)->text();
        Edit(&d, box)->setText(QStringLiteral("ten"));
        EXPECT_EQ(d.Validate(), QStringLiteral("Distances and Max Routes must be a number"));
        Edit(&d, box)->setText(kept);
    }
    // The choices map to the styles in the dialog's own order.
    const int styles[] = {PROXIMITY_ROUTES_POP, PROXIMITY_ROUTES_SEL, PROXIMITY_ROUTES_ALL, PROXIMITY_ROUTES_POPSEL};
    const char *texts[] = {"Populated Systems Only", "Selected Systems Only",
                           "All Visible Systems (not hidden by filters)", "Populated and Selected Systems Only"};
    for (int i = 0; i < 4; ++i) {
        auto *choice = d.findChild<QRadioButton *>(QStringLiteral("rbStyle") + QString::number(i));
        EXPECT_EQ(choice->text(), QString::fromLatin1(texts[i]));
        choice->setChecked(true);
        EXPECT_EQ(d.Options().Style, styles[i]);
    }
    EXPECT_EQ(d.findChild<QComboBox *>(QStringLiteral("cmbLineWidth"))->count(), 11);
    EXPECT_EQ(d.findChild<QComboBox *>(QStringLiteral("cmbLineStyle"))->count(), 5);
    d.findChild<QComboBox *>(QStringLiteral("cmbLineWidth"))->setCurrentIndex(0);
    EXPECT_EQ(d.Options().LineWidth, 0.5);
    const QByteArray shot = qgetenv("KALVION_PROXIMITY_SCREENSHOT");
    if (!shot.isEmpty()) {
        EXPECT_TRUE(d.grab().save(QString::fromLocal8Bit(shot)));
    }
}

TEST_F(WindowFixture, ProximityRoutesOkWithABadNumberKeepsTheDialogOpen)
{
    OpenCopy(QStringLiteral("bad.VexaDB"));
    const qsizetype before = messages.Log().size();
    bool stillOpen = false;
    WhenShown<TfrmProximityRoutes>(window.get(), [&](TfrmProximityRoutes *d) {
        Edit(d, "edMinLength")->setText(QStringLiteral("x"));
        d->findChild<QPushButton *>(QStringLiteral("btnOk"))->click();
        stillOpen = d->isVisible();
        d->reject();
    });
    window->Actions().Action(QStringLiteral("Actions.ProximityRoutes"))->trigger();
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(ToldSince(before), QStringList{QStringLiteral("Distances and Max Routes must be a number")});
    EXPECT_EQ(window->Sector().RouteCount(), 0);
}

TEST_F(WindowFixture, ProximityRoutesFromTheDialogEqualTheCommandLine)
{
    const QString cliFile = dir.filePath(QStringLiteral("cli.VexaDB"));
    ASSERT_TRUE(QFile::copy(GeneratedSector(), cliFile));
    QFile::setPermissions(cliFile, QFile::ReadOwner | QFile::WriteOwner);
    RunCli({QStringLiteral("routes"), cliFile, QStringLiteral("--style"), QStringLiteral("all"),
            QStringLiteral("--min"), QStringLiteral("1"), QStringLiteral("--max"), QStringLiteral("6"),
            QStringLiteral("--per-system"), QStringLiteral("3"), QStringLiteral("--type"), QStringLiteral("Lane"),
            QStringLiteral("--label"), QStringLiteral("Near"), QStringLiteral("--line-style"), QStringLiteral("2"),
            QStringLiteral("--width"), QStringLiteral("3")});

    const QString file = OpenCopy(QStringLiteral("window.VexaDB"));
    EXPECT_TRUE(window->Actions().Action(QStringLiteral("Actions.ProximityRoutes"))->isEnabled());
    WhenShown<TfrmProximityRoutes>(window.get(), [](TfrmProximityRoutes *d) {
        d->findChild<QRadioButton *>(QStringLiteral("rbStyle2"))->setChecked(true);
        Edit(d, "edMinLength")->setText(QStringLiteral("1"));
        Edit(d, "edMaxLength")->setText(QStringLiteral("6"));
        Edit(d, "edMaxRoutes")->setText(QStringLiteral("3"));
        Edit(d, "edLabel")->setText(QStringLiteral("Near"));
        d->findChild<QComboBox *>(QStringLiteral("cmbRouteType"))->setEditText(QStringLiteral("Lane"));
        d->findChild<QComboBox *>(QStringLiteral("cmbLineStyle"))->setCurrentIndex(2);
        d->findChild<QComboBox *>(QStringLiteral("cmbLineWidth"))->setCurrentText(QStringLiteral("3"));
        d->findChild<QPushButton *>(QStringLiteral("btnOk"))->click();
    });
    window->Actions().Action(QStringLiteral("Actions.ProximityRoutes"))->trigger();
    EXPECT_TRUE(window->Sector().Modified);
    ASSERT_GT(window->Sector().RouteCount(), 0);
    EXPECT_TRUE(window->Sector().RenderMessageBig.empty());
    ASSERT_TRUE(window->Save());
    const QStringList mine = RoutesOf(file.toStdString());
    const QStringList theirs = RoutesOf(cliFile.toStdString());
    EXPECT_EQ(mine, theirs);
}

TEST_F(WindowFixture, ProximityRoutesStopAtAWaitingKey)
{
    OpenCopy(QStringLiteral("escape.VexaDB"));
    const int systems = window->Sector().SystemCount();
    ASSERT_GT(systems, 30) << "the sector is too small to stop a run in its middle";
    WhenShown<TfrmProximityRoutes>(window.get(), [this](TfrmProximityRoutes *d) {
        d->findChild<QRadioButton *>(QStringLiteral("rbStyle2"))->setChecked(true);
        Edit(d, "edMaxLength")->setText(QStringLiteral("0"));
        Edit(d, "edMaxRoutes")->setText(QStringLiteral("1"));
        d->findChild<QPushButton *>(QStringLiteral("btnOk"))->click();
        // Waiting when the run looks for keys at its tenth system.
        QCoreApplication::postEvent(window.get(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    });
    window->Actions().Action(QStringLiteral("Actions.ProximityRoutes"))->trigger();
    // One route per system before the tenth (none is a duplicate of an
    // earlier one only by chance; at most nine).
    EXPECT_GT(window->Sector().RouteCount(), 0);
    EXPECT_LE(window->Sector().RouteCount(), 9);
    EXPECT_TRUE(window->Actions().Action(QStringLiteral("Actions.ProximityRoutes"))->isEnabled());
}
