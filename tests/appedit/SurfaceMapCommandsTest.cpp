// "Create Surface Map" and "Edit Surface Map": which bodies they act on,
// the questions they ask and what they hand to the surface map manager and
// the companion world editor (both stood in for), then the real map makers
// with the world file and the sector file on disk.
#include "EditTestSupport.h"

#include "app/ActionTable.h"
#include "app/SettingsStore.h"
#include "app/edit/SurfaceMapDialogs.h"
#include "files/SectorFile.h"
#include "surface/GexTerrain.h"
#include "surface/manager/SurfaceMapMgr.h"
#include "surface/manager/SurfaceMapOps.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRadioButton>

#include <atomic>

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;

namespace {

struct SurfaceMaps : EditWindowFixture {
    int generated = 0, refreshed = 0, started = 0, shown = 0;
    bool forEditing = false;
    TGexColorGroup palette;
    QString program;
    QStringList arguments;
    QString worldFile;

    void SetUp() override
    {
        EditWindowFixture::SetUp();
        TEditHooks &h = window->EditHooks();
        h.GexFileName = [this](TVexaSector &, const TStellarBody &) { return worldFile.toStdString(); };
        h.GenerateGexSurfaceMap = [this](TVexaSector &, TStellarBody &, bool editing, const TGexColorGroup &p) {
            ++generated;
            forEditing = editing;
            palette = p;
            return true;
        };
        h.CheckGexRefresh = [this](TVexaSector &, TStellarBody &) { ++refreshed; };
        h.HasTerrainData = [](TVexaSector &, const TStellarBody &) { return false; };
        h.ShowBodyMap = [this](TStellarBody &) { ++shown; };
        h.StartProgram = [this](const QString &p, const QStringList &a) {
            ++started;
            program = p;
            arguments = a;
            return true;
        };
        h.WorldEditor.clear();
    }
    TStellarBody *Current(int type)
    {
        TStellarBody *root = AddSystem("Sol", 0);
        TStellarBody *body = AddChild(root, "Sol III", type);
        Select({root});
        window->PickBody(body);
        window->UpdateActions();
        Sector().Modified = false;
        return body;
    }
};

QAction *Act(TfrmVexaMain &w, const char *id) { return w.Actions().Action(QString::fromLatin1(id)); }

} // namespace

TEST_F(SurfaceMaps, OtherBodyTypesGetNothing)
{
    for (int type : {BODY_TYPE_STAR, BODY_TYPE_PLANETOID, BODY_TYPE_ASTEROIDBELT, BODY_TYPE_STATION, BODY_TYPE_SHIP}) {
        Sector().clear();
        TStellarBody *body = Current(type);
        const std::int32_t seed = body->RandomSeed;
        const qsizetype mark = messages.Log().size();
        Act(*window, "Body.CreateSurfaceMap")->trigger();
        Act(*window, "Body.EditSurfaceMap")->trigger();
        EXPECT_EQ(messages.Log().size(), mark) << type;
        EXPECT_EQ(generated + refreshed + started + shown, 0) << type;
        EXPECT_FALSE(Sector().Modified) << type;
        EXPECT_EQ(body->RandomSeed, seed);
        EXPECT_TRUE(body->PreviewImageFile.empty());
        EXPECT_TRUE(Sector().RenderMessageBig.empty());
    }
}

TEST_F(SurfaceMaps, GasGiantGetsItsBandedTexture)
{
    TStellarBody *giant = Current(BODY_TYPE_GASGIANT);
    giant->Albedo = 0.4;
    Act(*window, "Body.CreateSurfaceMap")->trigger();
    EXPECT_FALSE(giant->PreviewImageFile.empty());
    EXPECT_GE(Sector().FindResource(giant->PreviewImageFile), 0);
    EXPECT_EQ(window->PreviewBody(), giant);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(generated, 0);
    EXPECT_TRUE(Sector().RenderMessageBig.empty());
    EXPECT_TRUE(Sector().Modified);
}

TEST_F(SurfaceMaps, TerrestrialWithoutWorldFileRefreshesThroughTheOptions)
{
    TStellarBody *planet = Current(BODY_TYPE_TERRESTRIAL);
    ASSERT_EQ(planet->GetGexColorGroup(), nullptr);
    window->Settings().Palette.Beach = ColorRGB(1, 2, 3);
    window->Settings().GenAtmospheres = false;
    const std::int32_t seed = planet->RandomSeed;
    // Cancel leaves the body as it was: not even the preferences' palette.
    WhenShown<TfrmSurfaceMapOptions>(window.get(), [](TfrmSurfaceMapOptions *d) { Click(d, "btnCancel"); });
    Act(*window, "Body.CreateSurfaceMap")->trigger();
    EXPECT_EQ(generated + shown, 0);
    EXPECT_EQ(planet->GetGexColorGroup(), nullptr);
    EXPECT_FALSE(Sector().Modified);
    EXPECT_TRUE(Sector().RenderMessageBig.empty());

    WhenShown<TfrmSurfaceMapOptions>(window.get(), [](TfrmSurfaceMapOptions *d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Surface Map Options"));
        // The preferences' palette with their atmosphere choice.
        EXPECT_EQ(d->Palette().Beach, ColorRGB(1, 2, 3));
        EXPECT_FALSE(d->Palette().CloudsEnabled);
        SetPanelColor(Control<QPushButton>(d, "btnGexIce"), ColorRGB(9, 9, 9));
        Click(d, "btnOk");
    });
    Act(*window, "Body.CreateSurfaceMap")->trigger();
    EXPECT_EQ(generated, 1);
    EXPECT_FALSE(forEditing);
    EXPECT_EQ(palette.Ice, ColorRGB(9, 9, 9));
    ASSERT_NE(planet->GetGexColorGroup(), nullptr);
    EXPECT_EQ(planet->GetGexColorGroup()->Ice, ColorRGB(9, 9, 9));
    EXPECT_EQ(planet->RandomSeed, seed);
    EXPECT_EQ(shown, 1);
}

TEST_F(SurfaceMaps, ExistingWorldFileOffersTheThreeChoices)
{
    TStellarBody *planet = Current(BODY_TYPE_TERRESTRIAL);
    worldFile = dir.filePath(QStringLiteral("sol3.gex"));
    QFile f(worldFile);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("world");
    f.close();

    // Cancel stops before anything.
    WhenShown<TfrmSurfaceMapChoice>(window.get(), [](TfrmSurfaceMapChoice *d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Suface Map Generation"));
        EXPECT_TRUE(Control<QRadioButton>(d, "rbUseExisting")->isChecked());
        Click(d, "btnCancel");
    });
    Act(*window, "Body.CreateSurfaceMap")->trigger();
    EXPECT_EQ(generated + refreshed + shown, 0);

    // Use the existing file: brought up to date only.
    WhenShown<TfrmSurfaceMapChoice>(window.get(), [](TfrmSurfaceMapChoice *d) { Click(d, "btnOk"); });
    Act(*window, "Body.CreateSurfaceMap")->trigger();
    EXPECT_EQ(refreshed, 1);
    EXPECT_EQ(generated, 0);

    // Regenerate, then Cancel in the options: the world file, the seed and
    // the sector stay as they were.
    planet->RandomSeed = -5;
    WhenShown<TfrmSurfaceMapChoice>(window.get(), [this](TfrmSurfaceMapChoice *d) {
        Click(d, "rbRegenerate");
        WhenShown<TfrmSurfaceMapOptions>(window.get(), [](TfrmSurfaceMapOptions *o) { Click(o, "btnCancel"); });
        Click(d, "btnOk");
    });
    Act(*window, "Body.CreateSurfaceMap")->trigger();
    ASSERT_TRUE(QFile::exists(worldFile));  // else no choice would be offered below
    EXPECT_EQ(planet->RandomSeed, -5);
    EXPECT_EQ(generated, 0);
    EXPECT_FALSE(Sector().Modified);

    // Regenerate: the world file goes, a new seed below 1000000000, then the options.
    WhenShown<TfrmSurfaceMapChoice>(window.get(), [this](TfrmSurfaceMapChoice *d) {
        Click(d, "rbRegenerate");
        WhenShown<TfrmSurfaceMapOptions>(window.get(), [](TfrmSurfaceMapOptions *o) { Click(o, "btnOk"); });
        Click(d, "btnOk");
    });
    Act(*window, "Body.CreateSurfaceMap")->trigger();
    EXPECT_FALSE(QFile::exists(worldFile));
    EXPECT_GE(planet->RandomSeed, 0);
    EXPECT_LT(planet->RandomSeed, 1000000000);
    EXPECT_EQ(generated, 1);
    EXPECT_TRUE(Sector().Modified);
}

TEST_F(SurfaceMaps, EditSurfaceMapAsksToSaveFirstThenStartsTheEditor)
{
    TStellarBody *planet = Current(BODY_TYPE_TERRESTRIAL);
    window->EditHooks().WorldEditor = QStringLiteral("/opt/worldeditor");
    // No file yet: the question; No stops.
    messages.Push(QStringLiteral("No"));
    qsizetype mark = messages.Log().size();
    Act(*window, "Body.EditSurfaceMap")->trigger();
    EXPECT_EQ(LogSince(mark, QStringLiteral("ask")),
              QStringList{QStringLiteral("Save Sector\tEditing Surface Maps requires that the sector file first be "
                                         "saved.  Save this sector?")});
    EXPECT_EQ(started + generated, 0);

    // Yes saves (asking for a name), then the editor gets the body's record.
    const QString file = dir.filePath(QStringLiteral("edit.VexaDB"));
    messages.Push(QStringLiteral("Yes"));
    messages.Push(file);
    Act(*window, "Body.EditSurfaceMap")->trigger();
    ASSERT_EQ(started, 1);
    EXPECT_FALSE(Sector().Modified);
    EXPECT_GT(planet->RecordID, 0);
    EXPECT_EQ(program, QStringLiteral("/opt/worldeditor"));
    EXPECT_EQ(arguments, QStringList{QStringLiteral("vexadb#") + QString::number(planet->RecordID) +
                                     QLatin1Char('#') + QString::fromStdString(Sector().FileName)});
    EXPECT_EQ(generated, 1);  // no terrain data stored yet
    EXPECT_TRUE(forEditing);

    // Saved and unchanged: no question; without the editor a message.
    window->EditHooks().WorldEditor.clear();
    mark = messages.Log().size();
    Act(*window, "Body.EditSurfaceMap")->trigger();
    EXPECT_TRUE(LogSince(mark, QStringLiteral("ask")).isEmpty());
    // It says what is missing and where the program is looked for.
    const QStringList told = LogSince(mark, QStringLiteral("tell"));
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].startsWith(QStringLiteral("Kalvion\tGexworld editor not found\n"))) << told[0].toStdString();
    EXPECT_TRUE(told[0].contains(TSettingsStore::CompanionRecordFile(QStringLiteral("Gexworld"))));
    EXPECT_TRUE(told[0].contains(QStringLiteral("InstallDir")));
    EXPECT_TRUE(told[0].contains(QStringLiteral("File - Program Preferences")));
    EXPECT_EQ(started, 1);
}

namespace {

using SurfaceMapFiles = EditWindowFixture;

std::string FileBytes(const std::string &path)
{
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string("(missing)");
}

// The planet's seed and picture as a fresh sector reads them from the file.
struct TStoredPlanet {
    std::int32_t Seed = 0;
    std::string Picture;
};
TStoredPlanet ReadBack(const std::string &file, const std::string &id)
{
    TStoredPlanet out;
    TVexaSector back;
    EXPECT_TRUE(LoadFromFile(back, file));
    TStellarBody *root = back.FindRootBodyByName("Vesk");
    EXPECT_NE(root, nullptr);
    if (!root)
        return out;
    back.DynaLoad(root);
    for (int i = 0; i < root->ChildrenCount(); ++i) {
        TStellarBody *p = root->GetChild(i);
        if (p->IDString != id)
            continue;
        out.Seed = p->RandomSeed;
        if (const auto picture = back.GetPreviewImageStream(p))
            out.Picture.assign(picture->begin(), picture->end());
    }
    return out;
}

} // namespace

TEST_F(SurfaceMapFiles, RegenerateThenCancelLeavesWorldSeedAndPictureOnDisk)
{
    TStellarBody *root = AddSystem("Vesk", 0);
    TStellarBody *planet = AddChild(root, "Vesk VI", BODY_TYPE_TERRESTRIAL);
    planet->RandomSeed = 4242;
    planet->Radius = 6000;
    planet->Water = 0.5;
    planet->Temp = 280;
    planet->Atmosphere = 1;
    Select({root});
    window->PickBody(planet);
    window->UpdateActions();
    const std::string id = planet->IDString;

    // A first map from the options, and a world file beside it; then saved.
    WhenShown<TfrmSurfaceMapOptions>(window.get(), [](TfrmSurfaceMapOptions *d) { Click(d, "btnOk"); });
    Act(*window, "Body.CreateSurfaceMap")->trigger();
    ASSERT_FALSE(planet->PreviewImageFile.empty());
    const std::string world = GexFileName(*planet);
    ASSERT_FALSE(world.empty());
    ASSERT_TRUE(QDir().mkpath(QFileInfo(QString::fromStdString(world)).path()));
    TGexTerrain terrain(64, 32);
    terrain.Generate(64, 32);
    ASSERT_TRUE(terrain.SaveToFile(world));
    const std::string worldBytes = FileBytes(world);
    const QString file = dir.filePath(QStringLiteral("vesk.VexaDB"));
    messages.Push(file);
    Act(*window, "File.Save")->trigger();
    ASSERT_FALSE(Sector().Modified);
    const TStoredPlanet before = ReadBack(file.toStdString(), id);
    ASSERT_EQ(before.Seed, 4242);
    ASSERT_FALSE(before.Picture.empty());

    // Regenerate chosen, the options cancelled; then saved again.
    window->PickBody(planet);
    window->UpdateActions();
    WhenShown<TfrmSurfaceMapChoice>(window.get(), [this](TfrmSurfaceMapChoice *d) {
        Click(d, "rbRegenerate");
        WhenShown<TfrmSurfaceMapOptions>(window.get(), [](TfrmSurfaceMapOptions *o) { Click(o, "btnCancel"); });
        Click(d, "btnOk");
    });
    Act(*window, "Body.CreateSurfaceMap")->trigger();
    EXPECT_FALSE(Sector().Modified);
    Act(*window, "File.Save")->trigger();

    EXPECT_EQ(FileBytes(world), worldBytes);
    const TStoredPlanet after = ReadBack(file.toStdString(), id);
    EXPECT_EQ(after.Seed, 4242);
    EXPECT_EQ(after.Picture, before.Picture);
}

TEST_F(SurfaceMapFiles, ThePreferencePaletteReachesMapsTheViewsAskFor)
{
    // The user's palette, kept from an earlier run.
    {
        TAppSettings saved(dir.path() + QLatin1Char('/'));
        saved.Palette.Beach = ColorRGB(7, 8, 9);
        saved.GenAtmospheres = false;
        saved.PerformanceSkip = true;
        saved.Write(*store, dir.path() + QLatin1Char('/'));
    }
    window.reset();
    TfrmVexaMain::TOptions o;
    o.ProgramFolder = dir.path() + QLatin1Char('/');
    o.SkipGL = true;
    window = std::make_unique<TfrmVexaMain>(messages, *store, o);

    // A planet of a selected system that nobody picked: a view asks for it.
    TStellarBody *root = AddSystem("Vesk", 0);
    TStellarBody *planet = AddChild(root, "Vesk VI", BODY_TYPE_TERRESTRIAL);
    Select({root});
    std::atomic<int> beach{-1}, clouds{-1};
    window->SurfaceMaps().SetMapMaker([&](const TSurfaceMapJob &job, const std::atomic<bool> &) {
        clouds = job.Colors.CloudsEnabled ? 1 : 0;
        beach = static_cast<int>(job.Colors.Beach);
        return TMapBytes{};
    });
    EXPECT_TRUE(window->SurfaceMaps().CurrentMap(planet->IDString).isNull());
    for (int i = 0; i < 100000 && beach.load() < 0; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    window->SurfaceMaps().WaitAll();
    EXPECT_EQ(beach.load(), static_cast<int>(ColorRGB(7, 8, 9)));
    EXPECT_EQ(clouds.load(), 0);
}
