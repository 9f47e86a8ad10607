// The real program under Xvfb: a generated sector opens, a click selects its
// system, the tree leads to a planet, Enter opens "Edit Properties", the
// planet gets a new name and distance, "&Ok", Ctrl+S, and the file on disk
// holds the new values while the other planets keep their designations.
#include "../render/XDisplay.h"

#include "files/SectorFile.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace kalvion;

namespace {

QString XDo(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    p.waitForFinished(10000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

void Keys(const QStringList &keys)
{
    XDo(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("80")} + keys);
}

void Click(const QString &place)
{
    const QStringList xy = place.split(QLatin1Char(' '));
    ASSERT_EQ(xy.size(), 2) << place.toStdString();
    XDo({QStringLiteral("mousemove"), xy[0], xy[1], QStringLiteral("click"), QStringLiteral("1")});
}

class Program {
public:
    Program(const QTemporaryDir &dir, const QString &sector)
    {
        QDir().mkpath(dir.filePath(QStringLiteral("cfg/Zent Software")));
        QFile ini(dir.filePath(QStringLiteral("cfg/Zent Software/Kalvion.ini")));
        EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[CurrentVersion]\nDataBackgroundColor=0\nDataLabelColor=32768\nDataPopulatedColor=65535\n"
                  "AnimationPerformanceAdjust=1\nTerrainEngine=1\nSectorX=0\nSectorY=0\nSectorZ=0\n"
                  "SectorIsSphere=0\nSectorGrid=0\nSectorGridTick=0\nSectorTickLabels=0\nSectorGridColor=0\n"
                  "PerformanceFactor=1\nPerformanceSkip=1\nAutoLock=0\n");
        ini.close();
        FAnswers = dir.filePath(QStringLiteral("answers.txt"));
        QFile a(FAnswers);
        EXPECT_TRUE(a.open(QIODevice::WriteOnly));
        a.write("No\n");
        a.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("cfg")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("KALVION_ANSWERS_FILE"), FAnswers);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("LIBGL_ALWAYS_SOFTWARE"), QStringLiteral("1"));
        FProcess.setProcessEnvironment(env);
        FProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        FProcess.start(QStringLiteral(KALVION_BIN_DIR "/kalvion"), {sector});
    }
    ~Program()
    {
        if (FProcess.state() != QProcess::NotRunning) {
            FProcess.kill();
            FProcess.waitForFinished(5000);
        }
    }
    // The text of the first log line of that kind, waiting up to a minute.
    QString WaitForLog(const QString &kind)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 60000) {
            QFile f(FAnswers + QStringLiteral(".log"));
            if (f.open(QIODevice::ReadOnly))
                for (const QByteArray &line : f.readAll().split('\n'))
                    if (line.startsWith(kind.toUtf8() + '\t'))
                        return QString::fromUtf8(line).section(QLatin1Char('\t'), 2);
            QThread::msleep(100);
        }
        return {};
    }
    QString WholeLog() const
    {
        QFile f(FAnswers + QStringLiteral(".log"));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    // "name=x y;…" of a layout note as a table.
    QHash<QString, QString> Places(const QString &kind)
    {
        QHash<QString, QString> places;
        for (const QString &entry : WaitForLog(kind).split(QLatin1Char(';')))
            places.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
        return places;
    }

private:
    QString FAnswers;
    QProcess FProcess;
};

// A system with at least three planets, alone at the origin of a generated
// sector (so that a click into the middle of the view selects it).
bool MakeSector(const QString &generated, const QString &file, std::string &target, std::vector<std::string> &others)
{
    TVexaSector s;
    if (!LoadFromFile(s, generated.toStdString()))
        return false;
    s.DynaLoadAll();
    std::vector<bool> drop(static_cast<std::size_t>(s.SystemCount()), true);
    TStellarBody *chosen = nullptr;
    for (int i = 0; i < s.SystemCount() && !chosen; ++i) {
        TStellarBody *root = s.GetSystem(i);
        int planets = 0;
        for (const auto &c : root->Children)
            planets += c->TypeID == BODY_TYPE_TERRESTRIAL && !c->Name.empty() ? 1 : 0;
        if (root->TypeID == BODY_TYPE_STAR && !root->Name.empty() && planets >= 3) {
            chosen = root;
            drop[static_cast<std::size_t>(i)] = false;
        }
    }
    if (!chosen)
        return false;
    s.RemoveSystems(drop);
    chosen->X = chosen->Y = chosen->Z = 0;
    chosen->ModifySystem();
    s.RestoreDefaultOrigins();
    s.ResetCamera();
    // The planet to edit: one whose name starts no other name in the system,
    // so typing it in the tree finds it alone.
    TStellarBodyList all;
    chosen->GetAllChildren(all);
    for (const auto &c : chosen->Children) {
        if (c->TypeID != BODY_TYPE_TERRESTRIAL || c->Name.empty())
            continue;
        bool unique = true;
        for (const TStellarBody *b : all)
            if (b != c.get() && b->Name.rfind(c->Name, 0) == 0)
                unique = false;
        if (unique && target.empty())
            target = c->Name;
        else
            others.push_back(c->Name);
    }
    return !target.empty() && SaveToFile(s, file.toStdString(), false);
}

const TStellarBody *FindChild(const TVexaSector &s, const std::string &name)
{
    if (s.SystemCount() != 1)
        return nullptr;
    for (const auto &c : s.GetSystem(0)->Children)
        if (c->Name == name)
            return c.get();
    return nullptr;
}

} // namespace

TEST(EditBodyEndToEnd, RenamedAndMovedPlanetIsSavedAndSiblingsKeepTheirNames)
{
    kalvion::test::EnsureXDisplay();
    if (QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("version")}) != 0)
        GTEST_SKIP() << "xdotool is not installed";
    QTemporaryDir dir;
    const QString generated = dir.filePath(QStringLiteral("Gen.VexaDB"));
    QProcess cli;
    cli.start(QStringLiteral(KALVION_BIN_DIR "/kalvion-cli"),
              {QStringLiteral("--seed"), QStringLiteral("11"), QStringLiteral("generate"), generated,
               QStringLiteral("--size"), QStringLiteral("30"), QStringLiteral("--frequency"), QStringLiteral("40")});
    ASSERT_TRUE(cli.waitForFinished(120000));
    ASSERT_EQ(cli.exitCode(), 0);
    const QString file = dir.filePath(QStringLiteral("Edit.VexaDB"));
    std::string target;
    std::vector<std::string> others;
    ASSERT_TRUE(MakeSector(generated, file, target, others));

    Program program(dir, file);
    const QStringList view = program.WaitForLog(QStringLiteral("view")).split(QLatin1Char(' '));
    ASSERT_EQ(view.size(), 4);
    QThread::msleep(1000);
    Click(QStringLiteral("%1 %2").arg(view[0].toInt() + view[2].toInt() / 2).arg(view[1].toInt() + view[3].toInt() / 2));
    ASSERT_FALSE(program.WaitForLog(QStringLiteral("select")).endsWith(QLatin1Char(' ')));
    // Into the tree: End reaches the last planet, typing a name searches
    // among its siblings, and Enter opens the planet's properties.
    const QStringList tree = program.WaitForLog(QStringLiteral("tree")).split(QLatin1Char(' '));
    ASSERT_EQ(tree.size(), 4);
    Click(QStringLiteral("%1 %2").arg(tree[0].toInt() + tree[2].toInt() / 2).arg(tree[1].toInt() + tree[3].toInt() / 2));
    Keys({QStringLiteral("End")});
    XDo({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("60"), QString::fromStdString(target)});
    Keys({QStringLiteral("Return")});

    const auto first = program.Places(QStringLiteral("editbody"));
    ASSERT_TRUE(first.contains(QStringLiteral("edPlanetName"))) << program.WholeLog().toStdString() << " target "
                                                                 << target;
    Keys({QStringLiteral("ctrl+a")});
    XDo({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), QStringLiteral("Newhome")});
    Click(first.value(QStringLiteral("tab:Orbital Properites")));
    const auto orbit = program.Places(QStringLiteral("editpage-tabOrbit"));
    Click(orbit.value(QStringLiteral("edDistance")));
    Keys({QStringLiteral("ctrl+a")});
    XDo({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), QStringLiteral("123456789")});
    Keys({QStringLiteral("Return")});
    // The dialog closes after its checks; the main window takes the keys
    // again once clicked.
    QThread::msleep(1000);
    ASSERT_FALSE(program.WholeLog().contains(QStringLiteral("\ntell\t"))) << program.WholeLog().toStdString();
    Click(QStringLiteral("%1 %2").arg(tree[0].toInt() + tree[2].toInt() / 2).arg(tree[1].toInt() + tree[3].toInt() - 5));
    Keys({QStringLiteral("ctrl+s")});

    QElapsedTimer clock;
    clock.start();
    const TStellarBody *edited = nullptr;
    TVexaSector saved;
    while (clock.elapsed() < 30000) {
        saved.clear();
        if (LoadFromFile(saved, file.toStdString()) && saved.SystemCount() == 1) {
            saved.DynaLoadAll();
            edited = FindChild(saved, "Newhome");
            if (edited)
                break;
        }
        QThread::msleep(200);
    }
    ASSERT_NE(edited, nullptr) << "planet " << target << "\n" << program.WholeLog().toStdString();
    EXPECT_EQ(edited->Distance, 123456789);
    EXPECT_EQ(FindChild(saved, target), nullptr);
    for (const std::string &name : others)
        EXPECT_NE(FindChild(saved, name), nullptr) << name;
}
