// The external terrain program from the window: found at start-up on the
// PATH or as the default handler of its world files, then Create and Edit
// Surface Map run a stand-in program (a shell script) that writes the image
// the real one would.
#include "EditTestSupport.h"

#include "app/ActionTable.h"
#include "app/AppSettings.h"
#include "app/surface/TerrainProgramDetect.h"
#include "base/Paths.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>

#include <sys/stat.h>

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;

namespace {

// Map runs record their arguments in map-args.txt, interactive runs in
// open-args.txt, both in the program's own folder (its working folder).
constexpr const char *STAND_IN = R"(#!/bin/sh
image=
for a in "$@"; do
  case "$a" in -image=*) image="${a#-image=}" ;; esac
done
if [ -n "$image" ]; then
  printf '%s\n' "$@" > map-args.txt
  cp sample.bmp "$image"
else
  printf '%s\n' "$@" > open-args.txt
fi
)";

const char *const SELECT_ENGINE =
    "Select Terrain Engine\tRidgeworks was found on your system.  Do you want to use that as your default planet "
    "map & terrain generator instead of Kalvion' built-in terrain generator?  This option can always be changed in "
    "the program preferences window.";

void WriteScript(const QString &path, const char *text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
    f.close();
    ::chmod(path.toLocal8Bit().constData(), 0755);
}

QStringList ReadLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Sets PATH for the life of the object.
struct TPathGuard {
    QByteArray Saved = qgetenv("PATH");
    explicit TPathGuard(const QString &path) { qputenv("PATH", path.toLocal8Bit()); }
    ~TPathGuard() { qputenv("PATH", Saved); }
};

struct ExternalTerrain : EditWindowFixture {
    QString bin;
    QImage sample;
    std::unique_ptr<TPathGuard> path;

    void SetUp() override
    {
        bin = dir.filePath(QStringLiteral("bin"));
        ASSERT_TRUE(QDir().mkpath(bin));
        WriteScript(bin + QStringLiteral("/ridgeworks"), STAND_IN);
        sample = QImage(8, 4, QImage::Format_RGB32);
        sample.fill(qRgb(10, 200, 30));
        sample.setPixel(2, 1, qRgb(255, 0, 0));
        ASSERT_TRUE(sample.save(bin + QStringLiteral("/sample.bmp"), "BMP"));
        path = std::make_unique<TPathGuard>(bin + QLatin1Char(':') + QString::fromLocal8Bit(qgetenv("PATH")));
        // The start-up question, answered before the window asks it.
        messages.Push(QStringLiteral("Yes"));
        EditWindowFixture::SetUp();
    }
    void TearDown() override
    {
        EditWindowFixture::TearDown();
        path.reset();
    }
    TStellarBody *Planet()
    {
        TStellarBody *root = AddSystem("Sol", 0);
        root->Luminosity = 1;
        TStellarBody *planet = AddChild(root, "Sol III", BODY_TYPE_TERRESTRIAL);
        planet->Radius = 6378;
        planet->Distance = 149597890;
        planet->Habitability = HAB_HOSPITABLE;
        planet->Temp = 288;
        planet->RandomSeed = 42;
        Sector().SelectAll(false);
        Sector().SelectBody(root);
        window->RefillTree();
        window->PickBody(planet);
        window->UpdateActions();
        Sector().Modified = false;
        return planet;
    }
    void Trigger(const char *id) { window->Actions().Action(QString::fromLatin1(id))->trigger(); }
};

} // namespace

TEST_F(ExternalTerrain, FoundAtStartUpThenCreateAndEditSurfaceMapRunIt)
{
    // Found on the PATH: the empty program file takes it, and Yes chose it.
    EXPECT_EQ(LogSince(0, QStringLiteral("ask")), QStringList{QString::fromLatin1(SELECT_ENGINE)});
    EXPECT_EQ(window->Settings().TerrainEngine, 2);
    EXPECT_EQ(window->Settings().RWFilePathAlt, bin + QStringLiteral("/ridgeworks"));

    // Create Surface Map waits for the program and keeps its image.
    TStellarBody *planet = Planet();
    Trigger("Body.CreateSurfaceMap");
    const QString worlds = QString::fromStdString(UserDataFolder()) + QStringLiteral("RWPlanets/");
    const QString id = QString::fromStdString(planet->IDString.str());
    const QStringList args = ReadLines(bin + QStringLiteral("/map-args.txt"));
    ASSERT_EQ(args.size(), 7) << args.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(args[0], worlds + id + QStringLiteral(".rww"));
    EXPECT_EQ(args[1], QStringLiteral("-image=") + worlds + id + QStringLiteral(".bmp"));
    EXPECT_EQ(args[2], QStringLiteral("-imgwidth=512"));
    EXPECT_EQ(args[3], QStringLiteral("-color=Coloring/globe.lgt"));
    EXPECT_TRUE(args[5].startsWith(QStringLiteral("-parms=42,40074,")));
    EXPECT_EQ(QString::fromStdString(planet->PreviewImageFile), worlds + id + QStringLiteral(".png"));
    const auto stored = Sector().GetResourceImageStream(planet->PreviewImageFile);
    ASSERT_TRUE(stored.has_value());
    const QImage back = QImage::fromData(stored->data(), static_cast<int>(stored->size()), "PNG");
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), sample);
    EXPECT_FALSE(QFile::exists(worlds + id + QStringLiteral(".bmp")));
    EXPECT_TRUE(Sector().Modified);
    EXPECT_EQ(window->PreviewBody(), planet);
    EXPECT_TRUE(Sector().RenderMessageBig.empty());

    // Edit Surface Map saves first, then hands the planet to the program,
    // which makes the world from the planet's values (no world file yet).
    messages.Push(QStringLiteral("Yes"));
    messages.Push(dir.filePath(QStringLiteral("rw.VexaDB")));
    Trigger("Body.EditSurfaceMap");
    EXPECT_FALSE(Sector().Modified);
    const QString opened = bin + QStringLiteral("/open-args.txt");
    QDeadlineTimer deadline(30000);
    while (ReadLines(opened).size() < 3 && !deadline.hasExpired())
        QTest::qWait(20);
    const QStringList open = ReadLines(opened);
    ASSERT_EQ(open.size(), 3) << open.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(open[0], worlds + id + QStringLiteral(".rww"));
    EXPECT_TRUE(open[1].startsWith(QStringLiteral("-parms=42,40074,")));
    EXPECT_TRUE(open[2].startsWith(QStringLiteral("-parms=temp=14.85,")));

    // A program file that has gone: the message, and the image stays as it was.
    window->Settings().RWFilePathAlt = dir.filePath(QStringLiteral("gone/ridgeworks"));
    const int resources = Sector().ResourceCount();
    const qsizetype mark = messages.Log().size();
    Trigger("Body.CreateSurfaceMap");
    EXPECT_EQ(LogSince(mark, QStringLiteral("tell")),
              QStringList{QStringLiteral("Kalvion\tThe Ridgeworks program file was not found.  To find the program "
                                         "manually, please open Kalvion's preferences window by selecting File - "
                                         "Preferences from the main menu")});
    EXPECT_EQ(Sector().ResourceCount(), resources);
    EXPECT_EQ(QString::fromStdString(planet->PreviewImageFile), worlds + id + QStringLiteral(".png"));
}

TEST(TerrainProgramDetection, DefaultHandlerThenPathThenTheStartUpRules)
{
    QTemporaryDir dir;
    const QString bin = dir.filePath(QStringLiteral("bin"));
    const QString apps = dir.filePath(QStringLiteral("data/applications"));
    ASSERT_TRUE(QDir().mkpath(bin));
    ASSERT_TRUE(QDir().mkpath(apps));
    const QByteArray savedData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
    {
        const TPathGuard path(bin);
        // The world files' handler: a program of another name in a folder with a blank.
        const QString program = dir.filePath(QStringLiteral("terrain tools/terrain-studio"));
        ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("terrain tools"))));
        WriteScript(program, "#!/bin/sh\n");
        WriteScript(bin + QStringLiteral("/xdg-mime"),
                    "#!/bin/sh\n[ \"$1 $2 $3\" = \"query default application/x-ridgeworks-pro\" ] && "
                    "echo terrain-studio.desktop\nexit 0\n");
        QFile entry(apps + QStringLiteral("/terrain-studio.desktop"));
        ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write(("[Desktop Action Other]\nExec=/bin/false\n[Desktop Entry]\nName=Terrain\nExec=\"" +
                     program.toLocal8Bit() + "\" %f\n"));
        entry.close();
        EXPECT_EQ(DesktopEntryProgram(entry.fileName()), program);
        EXPECT_EQ(DetectTerrainProgram(), program);

        // Without a handler, the program's name on the PATH.
        WriteScript(bin + QStringLiteral("/xdg-mime"), "#!/bin/sh\nexit 4\n");
        EXPECT_EQ(DetectTerrainProgram(), QString());
        WriteScript(bin + QStringLiteral("/RW"), "#!/bin/sh\n");
        EXPECT_EQ(DetectTerrainProgram(), bin + QStringLiteral("/RW"));
    }
    if (savedData.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", savedData);

    // An engine already chosen asks nothing and only fills an empty program file.
    TScriptedMessages messages;
    TAppSettings s(QStringLiteral("/opt/k/"));
    s.TerrainEngine = 1;
    ApplyDetectedTerrainProgram(s, messages, QStringLiteral("/opt/rw/RW"));
    EXPECT_TRUE(messages.Log().isEmpty());
    EXPECT_EQ(s.TerrainEngine, 1);
    EXPECT_EQ(s.RWFilePathAlt, QStringLiteral("/opt/rw/RW"));
    ApplyDetectedTerrainProgram(s, messages, QStringLiteral("/usr/bin/ridgeworks"));
    EXPECT_EQ(s.RWFilePathAlt, QStringLiteral("/opt/rw/RW"));
    // Not chosen yet: No keeps the built-in terrain; nothing found asks nothing.
    s.TerrainEngine = 0;
    messages.Push(QStringLiteral("No"));
    ApplyDetectedTerrainProgram(s, messages, QStringLiteral("/opt/rw/RW"));
    EXPECT_EQ(messages.Log().size(), 1);
    EXPECT_EQ(s.TerrainEngine, 1);
    s.TerrainEngine = 0;
    ApplyDetectedTerrainProgram(s, messages, QString());
    EXPECT_EQ(messages.Log().size(), 1);
    EXPECT_EQ(s.TerrainEngine, 1);
}
