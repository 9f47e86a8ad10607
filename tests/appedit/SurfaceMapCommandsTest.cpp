// "Create Surface Map" and "Edit Surface Map": which bodies they act on,
// the questions they ask and what they hand to the surface map manager and
// the companion world editor (both stood in for here).
#include "EditTestSupport.h"

#include "app/ActionTable.h"
#include "app/edit/SurfaceMapDialogs.h"
#include "files/SectorFile.h"

#include <QAction>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>

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
    WhenShown<TfrmSurfaceMapOptions>(window.get(), [](TfrmSurfaceMapOptions *d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Surface Map Options"));
        // The preferences' palette with their atmosphere choice.
        EXPECT_EQ(d->Palette().Beach, ColorRGB(1, 2, 3));
        EXPECT_FALSE(d->Palette().CloudsEnabled);
        SetPanelColor(Control<QPushButton>(d, "btnGexIce"), ColorRGB(9, 9, 9));
        Click(d, "btnOk");
    });
    const std::int32_t seed = planet->RandomSeed;
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

    // Regenerate: the world file goes, a new seed below 1000000000, then the options.
    WhenShown<TfrmSurfaceMapChoice>(window.get(), [this](TfrmSurfaceMapChoice *d) {
        Click(d, "rbRegenerate");
        WhenShown<TfrmSurfaceMapOptions>(window.get(), [](TfrmSurfaceMapOptions *o) { Click(o, "btnOk"); });
        Click(d, "btnOk");
    });
    planet->RandomSeed = -5;
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
    EXPECT_EQ(LogSince(mark, QStringLiteral("tell")), QStringList{QStringLiteral("Kalvion\tGexworld editor not found")});
    EXPECT_EQ(started, 1);
}
