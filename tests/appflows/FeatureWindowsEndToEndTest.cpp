// The real program under Xvfb goes through the feature windows one after
// another on a generated sector: "Create Proximity Routes" from its dialog,
// "Generate Sector Report", "Export as 2D Map...", the search window's
// "Select All" and a trip in the travel calculator with "Advance Time",
// then Ctrl+S.  Each result is compared with what kalvion-cli makes from the
// same file with the same options: the report's files and the map byte for
// byte; the routes and the date as the stored rows read back (a sector file
// holds identities and save times of its own, so two files never match
// byte for byte).
#include "../render/XDisplay.h"
#include "../support/ProgramRun.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using kalvion::test::TProgramRun;

namespace {

QByteArray Bytes(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every file below a folder by its relative name.
QStringList FilesBelow(const QString &folder)
{
    QStringList names;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        names << QDir(folder).relativeFilePath(it.next());
    names.sort();
    return names;
}

QJsonObject CliJson(const QStringList &args)
{
    QString out;
    EXPECT_EQ(TProgramRun::Cli(QStringList{QStringLiteral("--json")} + args, &out), 0) << args.join(' ').toStdString();
    return QJsonDocument::fromJson(out.toUtf8()).object();
}

class FeatureWindowsEndToEnd : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    QString WinFile, CliFile;
    std::unique_ptr<TProgramRun> Program;
    QString Main;

    void SetUp() override
    {
        kalvion::test::EnsureXDisplay();
        if (!TProgramRun::HaveXdotool())
            GTEST_SKIP() << "xdotool is not installed";
        // One generated sector, copied for the window and for the command
        // line under the same name (the report names the sector's file).
        const QString made = Dir.filePath(QStringLiteral("Gen.VexaDB"));
        ASSERT_EQ(TProgramRun::Cli({QStringLiteral("--seed"), QStringLiteral("41"), QStringLiteral("generate"), made,
                                    QStringLiteral("--systems"), QStringLiteral("24"), QStringLiteral("--size"),
                                    QStringLiteral("20")}),
                  0);
        QDir().mkpath(Dir.filePath(QStringLiteral("win")));
        QDir().mkpath(Dir.filePath(QStringLiteral("cli")));
        WinFile = Dir.filePath(QStringLiteral("win/Gen.VexaDB"));
        CliFile = Dir.filePath(QStringLiteral("cli/Gen.VexaDB"));
        ASSERT_TRUE(QFile::copy(made, WinFile));
        ASSERT_TRUE(QFile::copy(made, CliFile));
    }

    // Opens a window through keys, trying each way in turn: menus that other
    // commands join may move an item by a place.  A window that is not the
    // one asked for is closed with Escape.  The window's id, or empty.
    // A busy machine may lose the first keys to a window not yet ready for
    // them, so each way is tried twice unless the keys only make sense once
    // (in a pop-up menu: sent again to the map, arrow keys move the
    // selected systems).
    QString OpenWith(const QList<QStringList> &ways, const QString &caption, int triesEach = 2)
    {
        QList<QStringList> tries;
        for (const QStringList &keys : ways)
            for (int i = 0; i < triesEach; ++i)
                tries << keys;
        for (const QStringList &keys : tries) {
            TProgramRun::Focus(Main);
            TProgramRun::Keys(keys, 150);
            const QString id = TProgramRun::WaitForWindow(QStringLiteral("^") + caption + QStringLiteral("$"), 10000);
            if (!id.isEmpty())
                return id;
            const QString active = TProgramRun::XDo({QStringLiteral("getactivewindow")}).trimmed();
            if (!active.isEmpty() && active != Main)
                TProgramRun::Keys({QStringLiteral("Escape")});
            TProgramRun::Keys({QStringLiteral("Escape"), QStringLiteral("Escape")});
        }
        return {};
    }
    // Waits until the window is gone.
    static bool WaitClosed(const QString &caption, int ms)
    {
        for (int waited = 0; waited < ms; waited += 100) {
            if (TProgramRun::XDo({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                  QStringLiteral("^") + caption + QStringLiteral("$")})
                    .trimmed()
                    .isEmpty())
                return true;
            QThread::msleep(100);
        }
        return false;
    }
};

} // namespace

TEST_F(FeatureWindowsEndToEnd, WindowsWriteWhatTheCommandLineWrites)
{
    Program = std::make_unique<TProgramRun>(Dir.path());
    ASSERT_TRUE(Program->Start({}, {WinFile}));
    Main = TProgramRun::WaitForWindow(QStringLiteral("^Gen Sector \\("), 60000);
    ASSERT_FALSE(Main.isEmpty()) << "the main window did not appear";
    const QList<int> view = Program->ViewGeometry(30000);
    ASSERT_EQ(view.size(), 4);
    QThread::msleep(500);

    // Actions ▸ Create Proximity Routes...: File, then left to Actions;
    // up from the top past "Search" and "Plan Route...".  All visible
    // systems, at most 8 light years, 3 a system, labelled "Lane".
    const QStringList toActions = {QStringLiteral("alt+f"), QStringLiteral("Left"), QStringLiteral("Left"),
                                   QStringLiteral("Left"),  QStringLiteral("Left"), QStringLiteral("Left"),
                                   QStringLiteral("Left"),  QStringLiteral("Left")};
    const QString routes = OpenWith({toActions + QStringList{QStringLiteral("Up"), QStringLiteral("Up"),
                                                             QStringLiteral("Up"), QStringLiteral("Return")}},
                                    QStringLiteral("Create Proximity Routes"));
    ASSERT_FALSE(routes.isEmpty()) << "the proximity routes dialog did not open";
    TProgramRun::Focus(routes);
    TProgramRun::Keys({QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Tab")});
    TProgramRun::Type(QStringLiteral("8"));
    TProgramRun::Keys({QStringLiteral("Tab"), QStringLiteral("Tab")});
    TProgramRun::Type(QStringLiteral("3"));
    TProgramRun::Keys({QStringLiteral("Tab")});
    TProgramRun::Type(QStringLiteral("Lane"));
    TProgramRun::Keys({QStringLiteral("Return")});
    ASSERT_TRUE(WaitClosed(QStringLiteral("Create Proximity Routes"), 30000));
    ASSERT_EQ(TProgramRun::Cli({QStringLiteral("routes"), CliFile, QStringLiteral("--proximity"),
                                QStringLiteral("--style"), QStringLiteral("all"), QStringLiteral("--max"),
                                QStringLiteral("8"), QStringLiteral("--per-system"), QStringLiteral("3"),
                                QStringLiteral("--label"), QStringLiteral("Lane")}),
              0);

    // File ▸ Generate Sector Report (up past Exit, the recent file and
    // Print), its defaults: visible systems, surface maps, GM notes, the
    // default file below the data folder.
    const QString report = OpenWith({{QStringLiteral("alt+f"), QStringLiteral("Up"), QStringLiteral("Up"),
                                      QStringLiteral("Up"), QStringLiteral("Up"), QStringLiteral("Return")}},
                                    QStringLiteral("Sector Report Generation"));
    ASSERT_FALSE(report.isEmpty()) << "the report dialog did not open";
    TProgramRun::Focus(report);
    TProgramRun::Keys({QStringLiteral("Return")});
    ASSERT_TRUE(WaitClosed(QStringLiteral("Sector Report Generation"), 30000));
    const QString winReport = Dir.filePath(QStringLiteral("data/kalvion/SectorReports"));
    const QString cliReport = Dir.filePath(QStringLiteral("cli-report"));
    QDir().mkpath(cliReport);
    for (int waited = 0; !QFile::exists(winReport + QStringLiteral("/vexa.html")) && waited < 30000; waited += 100)
        QThread::msleep(100);

    // Ctrl+B, "Sector Export" with its defaults and a file name.
    const QString winMap = Dir.filePath(QStringLiteral("window-map.png"));
    const QString exportId = OpenWith({{QStringLiteral("ctrl+b")}}, QStringLiteral("Sector Export"));
    ASSERT_FALSE(exportId.isEmpty()) << "the sector export dialog did not open";
    TProgramRun::Focus(exportId);
    TProgramRun::Type(winMap);
    TProgramRun::Keys({QStringLiteral("Return")});
    ASSERT_TRUE(WaitClosed(QStringLiteral("Sector Export"), 60000));

    // The first two systems by the search window's "Select All"; the
    // context menu of the view opens the travel calculator on them.
    const QString search = OpenWith({{QStringLiteral("ctrl+f")}}, QStringLiteral("Search"));
    ASSERT_FALSE(search.isEmpty()) << "the search window did not open";
    TProgramRun::Focus(search);
    TProgramRun::Type(QStringLiteral("root only first 2"));
    TProgramRun::Keys({QStringLiteral("Return")});
    ASSERT_FALSE(TProgramRun::WaitForWindow(QStringLiteral("^Search - 2 Results$"), 20000).isEmpty());
    TProgramRun::Keys({QStringLiteral("shift+Tab"), QStringLiteral("shift+Tab"), QStringLiteral("space")});
    TProgramRun::Keys({QStringLiteral("Escape")});
    const int cx = view[0] + view[2] / 2, cy = view[1] + view[3] / 2;
    QString calc;
    // The last enabled item, "Show System Diagram", would open the system
    // view, whose clock runs: the calculator lies at least two places up.
    // Keys go to the menu only once the window says it is up: sent to the
    // map, arrow keys would move the two selected systems.
    for (int up = 2; up <= 6 && calc.isEmpty(); ++up) {
        TProgramRun::Focus(Main);
        const qsizetype menus = Program->LogLines(QStringLiteral("menu")).size();
        TProgramRun::XDo({QStringLiteral("mousemove"), QString::number(cx), QString::number(cy),
                          QStringLiteral("click"), QStringLiteral("3")});
        if (Program->WaitForLog(QStringLiteral("menu"), 10000, menus + 1).size() <= menus)
            continue;
        QThread::msleep(200);
        QStringList keys;
        for (int i = 0; i < up; ++i)
            keys << QStringLiteral("Up");
        calc = OpenWith({keys + QStringList{QStringLiteral("Return")}}, QStringLiteral("Travel Calculator"), 1);
    }
    ASSERT_FALSE(calc.isEmpty()) << "the travel calculator did not open";
    TProgramRun::Focus(calc);
    // Back from the first box: "&Close", then "Advance Time".
    TProgramRun::Keys({QStringLiteral("shift+Tab"), QStringLiteral("shift+Tab"), QStringLiteral("space")});
    QThread::msleep(300);
    TProgramRun::Keys({QStringLiteral("Escape")});
    ASSERT_TRUE(WaitClosed(QStringLiteral("Travel Calculator"), 10000));

    // Ctrl+S, then File ▸ Exit with nothing left to ask.
    TProgramRun::Focus(Main);
    TProgramRun::Keys({QStringLiteral("ctrl+s")});
    QThread::msleep(1500);
    TProgramRun::Keys({QStringLiteral("alt+f"), QStringLiteral("Up"), QStringLiteral("Return")});
    EXPECT_TRUE(Program->WaitForExit(30000));
    EXPECT_TRUE(Program->LogLines(QStringLiteral("ask")).isEmpty()) << Program->LogLines(QStringLiteral("ask")).join('\n').toStdString();
    EXPECT_TRUE(Program->LogLines(QStringLiteral("tell")).isEmpty()) << Program->LogLines(QStringLiteral("tell")).join('\n').toStdString();

    // The routes: the same rows.
    QString winRoutes, cliRoutes;
    ASSERT_EQ(TProgramRun::Cli({QStringLiteral("routes"), WinFile, QStringLiteral("--list")}, &winRoutes), 0);
    ASSERT_EQ(TProgramRun::Cli({QStringLiteral("routes"), CliFile, QStringLiteral("--list")}, &cliRoutes), 0);
    EXPECT_TRUE(cliRoutes.contains(QStringLiteral("Lane"))) << cliRoutes.toStdString();
    EXPECT_EQ(winRoutes.replace(WinFile, CliFile), cliRoutes) << winRoutes.toStdString() << "\n----\n"
                                                              << cliRoutes.toStdString();

    // The report: the same files, byte for byte.
    ASSERT_EQ(TProgramRun::Cli({QStringLiteral("report"), CliFile, cliReport + QStringLiteral("/vexa.html"),
                                QStringLiteral("--style"), QStringLiteral("3"), QStringLiteral("--gm-notes"),
                                QStringLiteral("--surface-maps")}),
              0);
    const QStringList reportFiles = FilesBelow(winReport);
    EXPECT_TRUE(reportFiles.contains(QStringLiteral("vexa.html"))) << reportFiles.join(' ').toStdString();
    EXPECT_EQ(reportFiles, FilesBelow(cliReport));
    for (const QString &f : reportFiles) {
        SCOPED_TRACE(f.toStdString());
        EXPECT_TRUE(Bytes(winReport + QLatin1Char('/') + f) == Bytes(cliReport + QLatin1Char('/') + f));
    }

    // The map: the dialog's defaults are black and white, X/Y, 1000 pixels,
    // middle sliders, the light-year grid, scaled systems and routes.
    const QString cliMap = Dir.filePath(QStringLiteral("cli-map.png"));
    ASSERT_EQ(TProgramRun::Cli({QStringLiteral("map"), CliFile, cliMap, QStringLiteral("--width"),
                                QStringLiteral("1000"), QStringLiteral("--unit-grid"),
                                QStringLiteral("--scale-by-depth"), QStringLiteral("--routes")}),
              0);
    const QByteArray map = Bytes(winMap);
    ASSERT_FALSE(map.isEmpty());
    EXPECT_TRUE(map == Bytes(cliMap));

    // The trip: the window's file now departs when the command line's trip
    // between the same two systems arrives.
    const QJsonArray found =
        CliJson({QStringLiteral("search"), CliFile, QStringLiteral("root only first 2")}).value("results").toArray();
    ASSERT_EQ(found.size(), 2);
    const QString a = found[0].toObject().value("name").toString(), b = found[1].toObject().value("name").toString();
    const QJsonObject trip = CliJson({QStringLiteral("travel"), CliFile, QStringLiteral("--from"), a,
                                      QStringLiteral("--to"), b});
    const QJsonObject after = CliJson({QStringLiteral("travel"), WinFile, QStringLiteral("--from"), a,
                                       QStringLiteral("--to"), a});
    EXPECT_NE(trip.value("arrival_date").toString(), trip.value("departure_date").toString());
    EXPECT_EQ(after.value("departure_date").toString(), trip.value("arrival_date").toString());
}
