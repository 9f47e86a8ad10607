// The real program under Xvfb: the route planner draws its trip over the map
// (seen in the view's own image export) and keeps it as a route that undo
// takes back; the quick-search box finds a name of two words; a script's
// message of 300 lines opens as a window that fits the screen and whose OK
// closes it.
#include "../render/XDisplay.h"
#include "../support/ProgramRun.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using kalvion::test::TProgramRun;

namespace {

QJsonObject CliJson(const QStringList &args)
{
    QString out;
    TProgramRun::Cli(QStringList{QStringLiteral("--json")} + args, &out);
    return QJsonDocument::fromJson(out.toUtf8()).object();
}

// Pixels of the planner's path colour (255, 89, 217) in an image file.
int PathPixels(const QString &file)
{
    const QImage image(file);
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            n += qRed(c) > 230 && qGreen(c) > 60 && qGreen(c) < 120 && qBlue(c) > 190 ? 1 : 0;
        }
    return n;
}

bool WaitForFile(const QString &file, int ms)
{
    for (int waited = 0; waited < ms; waited += 100) {
        if (QFileInfo(file).size() > 0)
            return true;
        QThread::msleep(100);
    }
    return false;
}

class PlannerEndToEnd : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    QString File;
    std::unique_ptr<TProgramRun> Program;
    QString Main;

    void SetUp() override
    {
        kalvion::test::EnsureXDisplay();
        if (!TProgramRun::HaveXdotool())
            GTEST_SKIP() << "xdotool is not installed";
        File = Dir.filePath(QStringLiteral("Gen.VexaDB"));
        ASSERT_EQ(TProgramRun::Cli({QStringLiteral("--seed"), QStringLiteral("41"), QStringLiteral("generate"), File,
                                    QStringLiteral("--systems"), QStringLiteral("24"), QStringLiteral("--size"),
                                    QStringLiteral("20")}),
                  0);
    }
    void Start(const QStringList &answers)
    {
        Program = std::make_unique<TProgramRun>(Dir.path());
        ASSERT_TRUE(Program->Start(answers, {File}));
        Main = TProgramRun::WaitForWindow(QStringLiteral("^Gen Sector \\("), 60000);
        ASSERT_FALSE(Main.isEmpty()) << "the main window did not appear";
    }
    // File, then left to Actions.
    static QStringList ActionsMenu()
    {
        QStringList keys{QStringLiteral("alt+f")};
        for (int i = 0; i < 7; ++i)
            keys << QStringLiteral("Left");
        return keys;
    }
    // File ▸ "Export as Image File...", answered with the next file: five
    // down from "New" where "Open Template" is enabled, else four.  Five is
    // tried first: one too few would reach "Save As", which would take the
    // answer meant for the image; one too many opens "Sector Export", which
    // Escape closes.  True once the file is written.
    int ExportDowns = 0;
    bool ExportView(const QString &file)
    {
        for (int down : ExportDowns ? QList<int>{ExportDowns} : QList<int>{5, 4}) {
            const qsizetype asked = Program->LogLines(QStringLiteral("save")).size();
            TProgramRun::Focus(Main);
            QStringList keys{QStringLiteral("alt+f")};
            for (int i = 0; i < down; ++i)
                keys << QStringLiteral("Down");
            TProgramRun::Keys(keys + QStringList{QStringLiteral("Return")}, 150);
            const QStringList saves = Program->WaitForLog(QStringLiteral("save"), 4000, asked + 1);
            if (saves.size() > asked && saves.back().contains(QLatin1String("Export as Image File"))) {
                ExportDowns = down;
                return WaitForFile(file, 30000);
            }
            TProgramRun::Keys({QStringLiteral("Escape"), QStringLiteral("Escape")});
        }
        return false;
    }
};

} // namespace

TEST_F(PlannerEndToEnd, ThePlannerDrawsItsTripAndSavesItAsARouteThatUndoRemoves)
{
    // Two systems four jumps of at most 4 ly apart, or as near as there are.
    const QJsonArray roots =
        CliJson({QStringLiteral("search"), File, QStringLiteral("root only")}).value("results").toArray();
    ASSERT_GT(roots.size(), 3);
    QString from, to;
    QJsonObject trip;
    for (int i = 0; i < roots.size() && trip.isEmpty(); ++i)
        for (int k = roots.size() - 1; k > i && trip.isEmpty(); --k) {
            const QString a = roots[i].toObject().value("name").toString();
            const QString b = roots[k].toObject().value("name").toString();
            const QJsonObject j = CliJson({QStringLiteral("plot"), File, a, b, QStringLiteral("--jump"), QStringLiteral("4")});
            if (j.value("jumps").toInt() >= 3) {
                from = a, to = b, trip = j;
            }
        }
    ASSERT_FALSE(trip.isEmpty()) << "no trip of three jumps";

    const QString before = Dir.filePath(QStringLiteral("before.png"));
    const QString drawn = Dir.filePath(QStringLiteral("drawn.png"));
    const QString closed = Dir.filePath(QStringLiteral("closed.png"));
    Start({before, drawn, QStringLiteral("Trade Run"), closed});
    ASSERT_FALSE(Program->WaitForLog(QStringLiteral("view"), 30000).isEmpty());
    QThread::msleep(500);
    ASSERT_TRUE(ExportView(before));
    EXPECT_EQ(PathPixels(before), 0);

    // Actions ▸ Plan Route...: up from the top past "Search".
    QString planner;
    for (int attempt = 0; attempt < 2 && planner.isEmpty(); ++attempt) {
        TProgramRun::Focus(Main);
        TProgramRun::Keys(ActionsMenu() + QStringList{QStringLiteral("Up"), QStringLiteral("Up"),
                                                      QStringLiteral("Return")},
                          150);
        planner = TProgramRun::WaitForWindow(QStringLiteral("^Route Planner$"), 10000);
        if (planner.isEmpty())
            TProgramRun::Keys({QStringLiteral("Escape"), QStringLiteral("Escape")});
    }
    ASSERT_FALSE(planner.isEmpty()) << "the route planner did not open";
    TProgramRun::Focus(planner);
    TProgramRun::Type(from);
    TProgramRun::Keys({QStringLiteral("Tab")});
    TProgramRun::Type(to);
    TProgramRun::Keys({QStringLiteral("Tab"), QStringLiteral("ctrl+a")});
    TProgramRun::Type(QStringLiteral("4"));
    TProgramRun::Keys({QStringLiteral("Return")});
    QThread::msleep(500);

    // The trip is drawn over the map while the planner is open.
    ASSERT_TRUE(ExportView(drawn));
    EXPECT_GT(PathPixels(drawn), 40);

    // Back from the jump range past the ends and "&Close" to "Save as
    // Route"; the name is answered, Ctrl+S writes it.
    TProgramRun::Focus(planner);
    TProgramRun::Keys({QStringLiteral("shift+Tab"), QStringLiteral("shift+Tab"), QStringLiteral("shift+Tab"),
                       QStringLiteral("shift+Tab"), QStringLiteral("space")});
    ASSERT_FALSE(Program->WaitForLog(QStringLiteral("input"), 10000).isEmpty()) << "Save as Route asked no name";
    TProgramRun::Focus(Main);
    TProgramRun::Keys({QStringLiteral("ctrl+s")});
    QStringList stops;
    for (const QJsonValue &v : trip.value("stops").toArray())
        stops << v.toObject().value("name").toString();
    QString listed;
    for (int waited = 0; waited < 20000 && !listed.contains(QLatin1String("Trade Run")); waited += 250) {
        QThread::msleep(250);
        TProgramRun::Cli({QStringLiteral("routes"), File, QStringLiteral("--list")}, &listed);
    }
    EXPECT_TRUE(listed.contains(QStringLiteral("Trade Run"))) << listed.toStdString();
    EXPECT_TRUE(listed.contains(stops.join(QStringLiteral(" - ")))) << listed.toStdString();

    // Undo takes the route back out; saved again, the file has none.
    TProgramRun::Focus(Main);
    TProgramRun::Keys({QStringLiteral("ctrl+z")});
    QThread::msleep(300);
    TProgramRun::Keys({QStringLiteral("ctrl+s")});
    for (int waited = 0; waited < 20000 && listed.contains(QLatin1String("Trade Run")); waited += 250) {
        QThread::msleep(250);
        TProgramRun::Cli({QStringLiteral("routes"), File, QStringLiteral("--list")}, &listed);
    }
    EXPECT_FALSE(listed.contains(QStringLiteral("Trade Run"))) << listed.toStdString();

    // Closed, the planner takes its path with it.
    TProgramRun::Focus(planner);
    TProgramRun::Keys({QStringLiteral("Escape")});
    ASSERT_TRUE(ExportView(closed));
    EXPECT_EQ(PathPixels(closed), 0);
    EXPECT_TRUE(Program->LogLines(QStringLiteral("tell")).isEmpty())
        << Program->LogLines(QStringLiteral("tell")).join('\n').toStdString();
}

TEST_F(PlannerEndToEnd, TheQuickSearchFindsANameOfTwoWords)
{
    // A planet's name of two words, as "Trellae II": one blank, and not the
    // name of its system.
    const QJsonArray bodies =
        CliJson({QStringLiteral("search"), File, QStringLiteral("type = terrestrial")}).value("results").toArray();
    QString name;
    for (const QJsonValue &v : bodies) {
        const QString n = v.toObject().value("name").toString();
        if (n.count(QLatin1Char(' ')) == 1 && n != v.toObject().value("system").toString()) {
            name = n;
            break;
        }
    }
    ASSERT_FALSE(name.isEmpty()) << "no planet of two words";
    Start({});
    ASSERT_FALSE(Program->WaitForLog(QStringLiteral("view"), 30000).isEmpty());
    QThread::msleep(500);
    // The box is told again as the layout settles: its last place counts.
    const QStringList box = Program->WaitForLog(QStringLiteral("quicksearch"), 30000);
    ASSERT_FALSE(box.isEmpty());
    const QStringList at = box.back().section(QLatin1Char('\t'), 2).split(QLatin1Char(' '));
    ASSERT_EQ(at.size(), 4);
    for (const QString &typed : {name, QStringLiteral("population >")}) {
        SCOPED_TRACE(typed.toStdString());
        const qsizetype results = Program->LogLines(QStringLiteral("results")).size();
        const qsizetype told = Program->LogLines(QStringLiteral("tell")).size();
        TProgramRun::Focus(Main);
        TProgramRun::ClickAt(at[0].toInt() + at[2].toInt() / 2, at[1].toInt() + at[3].toInt() / 2);
        TProgramRun::Keys({QStringLiteral("ctrl+a"), QStringLiteral("BackSpace")});
        TProgramRun::Type(typed);
        TProgramRun::Keys({QStringLiteral("Return")});
        if (typed == name) {
            const QStringList found = Program->WaitForLog(QStringLiteral("results"), 20000, results + 1);
            ASSERT_GT(found.size(), results);
            EXPECT_EQ(found.back().section(QLatin1Char('\t'), 2).split(QLatin1Char('|')).front(), name);
            EXPECT_EQ(Program->LogLines(QStringLiteral("tell")).size(), told);
        } else {
            // A query that is broken as a query keeps its error.
            const QStringList tells = Program->WaitForLog(QStringLiteral("tell"), 20000, told + 1);
            ASSERT_GT(tells.size(), told);
            EXPECT_TRUE(tells.back().contains(QStringLiteral("Number was expected"))) << tells.back().toStdString();
        }
    }
}

TEST_F(PlannerEndToEnd, AMessageOfThreeHundredLinesFitsTheScreenAndItsOkCloses)
{
    const QString script = Dir.filePath(QStringLiteral("long.vbs"));
    QFile f(script);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Dim s, i\r\ns = \"\"\r\nFor i = 1 To 300\r\n"
            "  s = s & \"Line \" & i & \" of the populated systems listed by this report\" & vbCrLf\r\n"
            "Next\r\nMsgBox s, 0, \"Long Report\"\r\nMsgBox \"Done\", 0, \"Finished\"\r\n");
    f.close();
    // Real message boxes: no answers file.
    Program = std::make_unique<TProgramRun>(Dir.path());
    Program->SetEnv(QStringLiteral("KALVION_ANSWERS_FILE"), QString());
    ASSERT_TRUE(Program->Start({}, {File}));
    Main = TProgramRun::WaitForWindow(QStringLiteral("^Gen Sector \\("), 60000);
    ASSERT_FALSE(Main.isEmpty());
    QThread::msleep(1500);

    // Plugins ▸ "Run from file..." (File, then left past Help; "Halt Script"
    // is disabled, so the menu opens on it), and the file typed into the
    // chooser.
    QString chooser;
    for (int attempt = 0; attempt < 2 && chooser.isEmpty(); ++attempt) {
        TProgramRun::Focus(Main);
        TProgramRun::Keys({QStringLiteral("alt+f"), QStringLiteral("Left"), QStringLiteral("Left"),
                           QStringLiteral("Return")},
                          150);
        chooser = TProgramRun::WaitForWindow(QStringLiteral("^Run Script$"), 10000);
        if (chooser.isEmpty())
            TProgramRun::Keys({QStringLiteral("Escape"), QStringLiteral("Escape")});
    }
    ASSERT_FALSE(chooser.isEmpty()) << "the script chooser did not open";
    TProgramRun::Focus(chooser);
    TProgramRun::Type(script);
    TProgramRun::Keys({QStringLiteral("Return")});

    const QString box = TProgramRun::WaitForWindow(QStringLiteral("^Long Report$"), 30000);
    ASSERT_FALSE(box.isEmpty()) << "the message did not appear";
    QThread::msleep(500);
    const QStringList screen =
        TProgramRun::XDo({QStringLiteral("getdisplaygeometry")}).trimmed().split(QLatin1Char(' '));
    ASSERT_EQ(screen.size(), 2);
    // "getwindowgeometry --shell" prints X=, Y=, WIDTH=, HEIGHT=.
    QMap<QString, int> g;
    for (const QString &line :
         TProgramRun::XDo({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), box}).split(QLatin1Char('\n')))
        if (line.contains(QLatin1Char('=')))
            g[line.section(QLatin1Char('='), 0, 0)] = line.section(QLatin1Char('='), 1).toInt();
    EXPECT_GE(g.value(QStringLiteral("Y"), -1), 0);
    EXPECT_LE(g.value(QStringLiteral("Y")) + g.value(QStringLiteral("HEIGHT")), screen[1].toInt());
    EXPECT_LE(g.value(QStringLiteral("X")) + g.value(QStringLiteral("WIDTH")), screen[0].toInt());
    // 300 lines are far taller than the window: the text scrolls.
    EXPECT_LT(g.value(QStringLiteral("HEIGHT")), 300 * 12);

    // OK, at the bottom right, is on the screen and closes it; the script
    // goes on to its next message.
    TProgramRun::ClickAt(g.value(QStringLiteral("X")) + g.value(QStringLiteral("WIDTH")) - 50,
                         g.value(QStringLiteral("Y")) + g.value(QStringLiteral("HEIGHT")) - 24);
    const QString next = TProgramRun::WaitForWindow(QStringLiteral("^Finished$"), 20000);
    EXPECT_FALSE(next.isEmpty()) << "OK did not close the long message";
    if (!next.isEmpty()) {
        TProgramRun::Focus(next);
        TProgramRun::Keys({QStringLiteral("Return")});
    }
    Program->Kill();
}
