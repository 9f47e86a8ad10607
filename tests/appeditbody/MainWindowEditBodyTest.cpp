// The main window's side of the dialog: "Properties" enabled for one
// selected system, the steps after "&Ok", a new system's edit with Cancel,
// and the save question before terrain data is assigned.
#include "EditBodyTestSupport.h"

#include "app/ActionTable.h"
#include "app/MainWindow.h"
#include "app/SettingsStore.h"
#include "app/SystemTree.h"
#include "files/SurfaceMapStore.h"
#include "surface/GexTerrain.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;

namespace {

class MainWindowEditBody : public DialogTest {
protected:
    void SetUp() override
    {
        qputenv("XDG_DATA_HOME", Dir.filePath(QStringLiteral("data")).toLocal8Bit());
        Store = std::make_unique<TSettingsStore>(Dir.filePath(QStringLiteral("k.ini")));
        Store->SetBool(QStringLiteral("PerformanceSkip"), true);
        TfrmVexaMain::TOptions o;
        o.ProgramFolder = Dir.path() + QLatin1Char('/');
        o.SkipGL = true;
        Window = std::make_unique<TfrmVexaMain>(Messages, *Store, o);
        Root = Window->Sector().NewSystem(BODY_TYPE_STAR);
        Root->Name = "Vega";
        Root->Luminosity = 1;
        auto planet = TStellarBody::Create();
        planet->TypeID = BODY_TYPE_TERRESTRIAL;
        planet->Name = "Vega I";
        planet->Distance = 1e8;
        Planet = planet.get();
        Root->AddChild(std::move(planet));
    }
    void SelectRoot()
    {
        Window->Sector().SelectBody(Root);
        Window->RefillTree();
        Window->UpdateActions();
    }
    // Runs `act` on the dialog once it is shown modally.
    void WhenShown(std::function<void(TfrmEditBody &)> act)
    {
        QTimer::singleShot(0, Window.get(), [this, act] {
            auto *dlg = Window->findChild<TfrmEditBody *>();
            ASSERT_NE(dlg, nullptr);
            act(*dlg);
        });
    }
    static QLineEdit *EditOf(TfrmEditBody &dlg, const char *name)
    {
        return dlg.findChild<QLineEdit *>(QString::fromLatin1(name));
    }

    QTemporaryDir Dir;
    std::unique_ptr<TSettingsStore> Store;
    std::unique_ptr<TfrmVexaMain> Window;
    TStellarBody *Root = nullptr, *Planet = nullptr;
};

TEST_F(MainWindowEditBody, PropertiesNeedsExactlyOneSelectedSystem)
{
    QAction *properties = Window->Actions().Action(QStringLiteral("Body.Properties"));
    Window->UpdateActions();
    EXPECT_FALSE(properties->isEnabled());
    SelectRoot();
    EXPECT_TRUE(properties->isEnabled());
    EXPECT_EQ(Window->CurrentBody(), Root);
    TStellarBody *other = Window->Sector().NewSystem(BODY_TYPE_STAR);
    Window->Sector().SelectBody(other);
    Window->RefillTree();
    Window->UpdateActions();
    EXPECT_FALSE(properties->isEnabled());
}

TEST_F(MainWindowEditBody, OkUpdatesPoliticalListTreeAndCaption)
{
    SelectRoot();
    Window->Sector().Modified = false;
    WhenShown([](TfrmEditBody &dlg) {
        EditOf(dlg, "edPlanetName")->setText("Nova");
        dlg.findChild<QComboBox *>(QStringLiteral("cbPlanetPolitical"))->setEditText("League");
        EditOf(dlg, "edPlanetPopulation")->setText("5000");
        dlg.accept();
    });
    Window->EditBody(Planet);
    EXPECT_EQ(Planet->Name, "Nova");
    EXPECT_TRUE(Window->Sector().Modified);
    EXPECT_GE(Window->Sector().FindPolitical("League"), 0);
    EXPECT_EQ(Root->ChildPopulation, 5000);
    EXPECT_TRUE(Root->SystemModified());
    EXPECT_EQ(Window->CurrentBody(), Planet);
    auto *tree = Window->findChild<TSystemTree *>();
    ASSERT_NE(tree->currentItem(), nullptr);
    EXPECT_EQ(tree->BodyOf(tree->currentItem()), Planet);
    EXPECT_EQ(tree->currentItem()->text(0), "Nova");
}

TEST_F(MainWindowEditBody, TheActionEditsTheCurrentBodyAndCancelChangesNothing)
{
    SelectRoot();
    Window->Sector().Modified = false;
    WhenShown([](TfrmEditBody &dlg) {
        EXPECT_EQ(EditOf(dlg, "edStarName")->text(), "Vega");
        EditOf(dlg, "edStarName")->setText("Altair");
        dlg.reject();
    });
    Window->Actions().Action(QStringLiteral("Body.Properties"))->trigger();
    EXPECT_EQ(Root->Name, "Vega");
    EXPECT_FALSE(Window->Sector().Modified);
}

TEST_F(MainWindowEditBody, NewSystemEditReportsCancelAndSkipsThePoliticalList)
{
    Window->Sector().AddPolitical("Empire");
    TStellarBody *fresh = Window->Sector().NewSystem(BODY_TYPE_STATION);
    WhenShown([](TfrmEditBody &dlg) {
        EXPECT_EQ(dlg.findChild<QComboBox *>(QStringLiteral("cbPopPolitical"))->count(), 0);
        dlg.reject();
    });
    EXPECT_FALSE(Window->EditNewBody(fresh));
    WhenShown([](TfrmEditBody &dlg) {
        EditOf(dlg, "edPopName")->setText("Outpost");
        dlg.accept();
    });
    EXPECT_TRUE(Window->EditNewBody(fresh));
    EXPECT_EQ(fresh->Name, "Outpost");
    EXPECT_FALSE(Window->EditNewBody(nullptr));
}

TEST_F(MainWindowEditBody, TerrainOfAnUnsavedBodyAsksToSaveFirst)
{
    TGexTerrain world(64, 32);
    world.Generate(64, 32);
    const QString gex = Dir.filePath(QStringLiteral("w.gex"));
    ASSERT_TRUE(world.SaveToFile(gex.toStdString()));
    SelectRoot();
    Messages.Push(gex);  // the world file chooser
    Messages.Push(QStringLiteral("No"));  // "Save this sector?"
    WhenShown([](TfrmEditBody &dlg) {
        dlg.findChild<QPushButton *>(QStringLiteral("btnGexSelect"))->click();
        EXPECT_EQ(EditOf(dlg, "edGexFile")->text(), "w.gex");
        EXPECT_FALSE(dlg.TerrainImage().isNull());
        dlg.accept();
    });
    Window->EditBody(Planet);
    EXPECT_TRUE(Messages.Log().contains(
        "ask\tSave Sector\tAssigning or clearing a terrain map requires that the sector file first be saved.  "
        "Save this sector?"));
    EXPECT_EQ(Planet->RecordID, 0);
}

} // namespace

namespace {

TEST_F(MainWindowEditBody, TerrainOfAStoredBodyIsStoredAndCleared)
{
    TGexTerrain world(64, 32);
    world.Generate(64, 32);
    const QString gex = Dir.filePath(QStringLiteral("w.gex"));
    ASSERT_TRUE(world.SaveToFile(gex.toStdString()));
    const QString file = Dir.filePath(QStringLiteral("Stored.VexaDB"));
    Messages.Push(file);  // Save As
    ASSERT_TRUE(Window->Save());
    // A save may drop the contents of the systems; the tree reads them again.
    SelectRoot();
    ASSERT_EQ(Root->ChildrenCount(), 1);
    Planet = Root->GetChild(0);
    ASSERT_GT(Planet->RecordID, 0);
    Messages.Push(gex);
    WhenShown([](TfrmEditBody &dlg) {
        dlg.findChild<QPushButton *>(QStringLiteral("btnGexSelect"))->click();
        dlg.accept();
    });
    Window->EditBody(Planet);
    EXPECT_TRUE(HasSurfaceMap(file.toStdString(), Planet->RecordID));
    WhenShown([](TfrmEditBody &dlg) {
        dlg.findChild<QPushButton *>(QStringLiteral("btnGexClear"))->click();
        EXPECT_TRUE(dlg.TerrainCleared());
        dlg.accept();
    });
    Window->EditBody(Planet);
    EXPECT_FALSE(HasSurfaceMap(file.toStdString(), Planet->RecordID));
    EXPECT_FALSE(Messages.Log().join('\n').contains(QStringLiteral("Assigning or clearing")));
}

} // namespace

namespace {

TEST_F(MainWindowEditBody, ATerrainFileThatDoesNotLoadIsRefusedAndSaid)
{
    const QString file = Dir.filePath(QStringLiteral("Refused.VexaDB"));
    Messages.Push(file);  // Save As
    ASSERT_TRUE(Window->Save());
    SelectRoot();
    Planet = Root->GetChild(0);
    ASSERT_GT(Planet->RecordID, 0);
    const QString broken = Dir.filePath(QStringLiteral("notes.gex"));
    {
        QFile f(broken);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("these are my notes, not a world");
    }
    Messages.Push(broken);
    WhenShown([](TfrmEditBody &dlg) {
        dlg.findChild<QPushButton *>(QStringLiteral("btnGexSelect"))->click();
        dlg.accept();
    });
    const qsizetype mark = Messages.Log().size();
    Window->EditBody(Planet);
    // Nothing stored, and the user is told so.
    EXPECT_FALSE(HasSurfaceMap(file.toStdString(), Planet->RecordID));
    bool told = false;
    for (qsizetype i = mark; i < Messages.Log().size(); ++i)
        told = told || (Messages.Log()[i].startsWith(QStringLiteral("tell\t")) &&
                        Messages.Log()[i].contains(QStringLiteral("The terrain file could not be stored")));
    EXPECT_TRUE(told) << Messages.Log().join('\n').toStdString();

    // A world that loads is stored with a picture rendered from it.
    TGexTerrain world(64, 32);
    world.Generate(64, 32);
    const QString gex = Dir.filePath(QStringLiteral("w.gex"));
    ASSERT_TRUE(world.SaveToFile(gex.toStdString()));
    Messages.Push(gex);
    WhenShown([](TfrmEditBody &dlg) {
        dlg.findChild<QPushButton *>(QStringLiteral("btnGexSelect"))->click();
        dlg.accept();
    });
    Window->EditBody(Planet);
    const auto picture = LoadSurfaceMapImage(file.toStdString(), Planet->RecordID);
    ASSERT_TRUE(picture);
    const QImage image = QImage::fromData(picture->data(), static_cast<int>(picture->size()), "PNG");
    EXPECT_EQ(image.size(), QSize(64, 32));
}

} // namespace
