// The main window's logic on the offscreen platform: caption, recent files,
// the save check, the close question, the filters menu and generation.
#include "app/ActionTable.h"
#include "app/AppSettings.h"
#include "../support/ScratchWindow.h"
#include "app/MainWindow.h"
#include "app/ScriptedMessages.h"
#include "app/SettingsStore.h"

#include "files/SectorFile.h"
#include "generation/NewSectorOptions.h"
#include "model/StellarBody.h"
#include "model/Subsector.h"
#include "model/VexaSector.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include "render/CameraAnimations.h"
#include "render/SectorGLWidget.h"

#include <gtest/gtest.h>

#include <memory>

using namespace kalvion;
using namespace kalvion::app;

namespace {

struct WindowFixture : ::testing::Test, kalvion::app::test::TScratchWindow<TScriptedMessages> {
    void SetUp() override
    {
        PrepareScratch();
        Open();
    }
    void Open(std::optional<std::int32_t> seed = std::nullopt) { OpenWindow(seed); }
    // A small sector file with n systems in a row along x.
    QString MakeSector(const QString &name, int n)
    {
        TVexaSector s;
        for (int i = 0; i < n; ++i) {
            TStellarBody *b = s.NewSystem(1);
            b->Name = "Star " + std::to_string(i);
            b->X = i;
        }
        s.UpdateRootAttribs();
        const QString file = dir.filePath(name);
        EXPECT_TRUE(SaveToFile(s, file.toStdString(), false));
        return file;
    }
};

} // namespace

TEST_F(WindowFixture, CaptionFollowsFileCountsAndVisibility)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("(Untitled) Sector (0 Systems; 0 total bodies) "));
    ASSERT_TRUE(window->OpenSectorFile(MakeSector(QStringLiteral("Rim.VexaDB"), 1200)));
    EXPECT_EQ(window->windowTitle().toStdString(), "Rim Sector (1,200 Systems; 1,200 total bodies) ");
    window->Sector().GetSystem(0)->ChildPopulation = 0;
    window->FilterCommand(QStringLiteral("Filters.Populated"));
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("Rim Sector (1,200 Systems; 0 visible; ")))
        << window->windowTitle().toStdString();
    EXPECT_TRUE(window->Sector().Modified);
}

TEST_F(WindowFixture, RecentFilesKeepThreeAndTheMenuShowsThem)
{
    QStringList files;
    for (int i = 0; i < 4; ++i)
        files << MakeSector(QStringLiteral("s%1.VexaDB").arg(i), 2);
    for (const auto &f : files.mid(0, 3))
        ASSERT_TRUE(window->OpenSectorFile(f));
    window->OpenSectorFile(files[1]);
    EXPECT_EQ(window->RecentFiles().Entries[0], files[0]);
    ASSERT_TRUE(window->OpenSectorFile(files[3]));
    EXPECT_EQ(window->RecentFiles().Entries[0], files[1]);
    EXPECT_EQ(window->RecentFiles().Entries[2], files[3]);
    QAction *third = window->Actions().Action(QStringLiteral("File.Recent3"));
    EXPECT_EQ(third->text(), files[3]);
    EXPECT_TRUE(third->isVisible());
    // Written at close and read back at the next start.
    window->close();
    Open();
    EXPECT_EQ(window->RecentFiles().Entries[1], files[2]);
}

TEST_F(WindowFixture, SaveCheckBranches)
{
    window->Sector().NewSystem(1)->Name = "Kept";
    window->Sector().Modified = true;
    messages.Push(QStringLiteral("Cancel"));
    window->BlankSector();
    EXPECT_EQ(window->Sector().SystemCount(), 1);  // cancelled: nothing happens
    messages.Push(QStringLiteral("No"));
    window->BlankSector();
    EXPECT_EQ(window->Sector().SystemCount(), 0);
    EXPECT_FALSE(window->Sector().Modified);

    window->Sector().NewSystem(1)->Name = "Saved";
    window->Sector().Modified = true;
    const QString target = dir.filePath(QStringLiteral("saved.VexaDB"));
    messages.Push(QStringLiteral("Yes"));
    messages.Push(target);  // the "Save Sector" dialog
    window->BlankSector();
    EXPECT_EQ(window->Sector().SystemCount(), 0);
    TVexaSector back;
    ASSERT_TRUE(LoadFromFile(back, target.toStdString()));
    EXPECT_EQ(back.SystemCount(), 1);
    const QStringList &log = messages.Log();
    EXPECT_TRUE(log.contains(QStringLiteral("ask\tKalvion\tSave Changes?")));
    EXPECT_TRUE(log.contains(QStringLiteral("save\tSave Sector\t")));
}

TEST_F(WindowFixture, CloseQuestionCancelKeepsTheWindowAndTheSector)
{
    window->show();
    window->Sector().NewSystem(1);
    window->Sector().Modified = true;
    messages.Push(QStringLiteral("Cancel"));
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->Sector().SystemCount(), 1);
    EXPECT_EQ(messages.Log().back(),
              QStringLiteral("ask\tKalvion\tDo you want to save the changes you made to \"Untitled\""));
    messages.Push(QStringLiteral("No"));
    EXPECT_TRUE(window->close());
}

TEST_F(WindowFixture, FiltersMenuFollowsTheSector)
{
    ASSERT_TRUE(window->OpenSectorFile(MakeSector(QStringLiteral("f.VexaDB"), 3)));
    TVexaSector &s = window->Sector();
    auto sub = std::make_unique<TVexaSubsector>();
    sub->Name = "Core";
    sub->Visible = true;
    s.AddSubsector(std::move(sub));
    s.FilterHabitable = 2;
    s.FilterStyle = SECTOR_FILTER_NOLABEL;
    window->RefreshFilterMenu();
    EXPECT_TRUE(window->Actions().Action(QStringLiteral("Filters.Hospitable"))->isChecked());
    EXPECT_FALSE(window->Actions().Action(QStringLiteral("Filters.Habitable"))->isChecked());
    EXPECT_TRUE(window->Actions().Action(QStringLiteral("Filters.HideLabels"))->isChecked());
    QMenu *subs = window->Actions().Menu(QStringLiteral("Filters.SubsectorList"));
    QAction *core = nullptr;
    for (QAction *a : subs->actions())
        if (a->text() == QLatin1String("Core"))
            core = a;
    ASSERT_NE(core, nullptr);
    EXPECT_TRUE(core->isChecked());
    core->trigger();
    EXPECT_FALSE(s.GetSubsector(0)->Visible);
    window->FilterCommand(QStringLiteral("Filters.ShowAll"));
    EXPECT_EQ(s.FilterHabitable, 0);
}

TEST_F(WindowFixture, KeysMoveSelectedSystemsUnlessLocked)
{
    ASSERT_TRUE(window->OpenSectorFile(MakeSector(QStringLiteral("k.VexaDB"), 2)));
    TVexaSector &s = window->Sector();
    s.SelectBody(s.GetSystem(1));
    const double y = s.GetSystem(1)->Y;
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &up);
    EXPECT_NEAR(s.GetSystem(1)->Y, y + 0.05, 1e-12);
    EXPECT_TRUE(s.Modified);
    window->SetLock(true);
    const TVexaPoint camera = s.Camera;
    const double x = s.GetSystem(1)->X, z = s.GetSystem(1)->Z;
    QKeyEvent shiftUp(QEvent::KeyPress, Qt::Key_Up, Qt::ShiftModifier);
    QCoreApplication::sendEvent(window.get(), &shiftUp);
    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &left);
    EXPECT_DOUBLE_EQ(s.GetSystem(1)->X, x);
    EXPECT_DOUBLE_EQ(s.GetSystem(1)->Z, z);
    EXPECT_NEAR(s.GetSystem(1)->Y, y + 0.05, 1e-12);
    EXPECT_EQ(s.Camera, camera);
    // Pan mode moves the camera instead.
    window->SetMouseMode(MOUSE_MODE_PAN);
    QCoreApplication::sendEvent(window.get(), &shiftUp);
    EXPECT_NE(s.Camera, camera);
}

TEST_F(WindowFixture, ViewsAreAddedReplacedAndListed)
{
    messages.Push(QStringLiteral("Harbour"));
    window->AddAsView();
    EXPECT_EQ(window->Sector().FindView("Harbour"), 0);
    messages.Push(QStringLiteral("Harbour"));
    messages.Push(QStringLiteral("No"));
    window->AddAsView();
    EXPECT_EQ(messages.Log().back(),
              QStringLiteral("ask\tView Exists\tA view with this name already exists.  Replace it?"));
    EXPECT_EQ(window->Sector().Views.size(), 1u);
    bool listed = false;
    for (QAction *a : window->Actions().Menu(QStringLiteral("Views"))->actions())
        listed = listed || a->text() == QLatin1String("Harbour");
    EXPECT_TRUE(listed);
}

TEST_F(WindowFixture, GenerationWithASeedMatchesTheCommandLine)
{
    const QString cli = QStringLiteral(KALVION_BIN_DIR "/kalvion-cli");
    const QString cliFile = dir.filePath(QStringLiteral("cli.VexaDB"));
    QProcess p;
    p.start(cli, {QStringLiteral("--seed"), QStringLiteral("4242"), QStringLiteral("generate"), cliFile,
                  QStringLiteral("--size"), QStringLiteral("10"), QStringLiteral("--frequency"),
                  QStringLiteral("20")});
    ASSERT_TRUE(p.waitForFinished(120000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();

    Open(4242);
    TVexaSector blank;
    const auto tables = NameTableFiles();
    TNewSectorOptions o = DefaultNewSectorOptions(blank, tables.empty() ? std::string() : tables.front());
    o.Width = o.Height = o.Depth = 10;
    o.Radius = 5;
    o.Frequency = 20;
    o.SaveAs = dir.filePath(QStringLiteral("window.VexaDB")).toStdString();
    ASSERT_TRUE(GenerateAndWait(o));

    TVexaSector a, b;
    ASSERT_TRUE(LoadFromFile(a, cliFile.toStdString()));
    ASSERT_TRUE(LoadFromFile(b, o.SaveAs));
    ASSERT_GT(a.SystemCount(), 0);
    ASSERT_EQ(a.SystemCount(), b.SystemCount());
    for (int i = 0; i < a.SystemCount(); ++i) {
        EXPECT_EQ(a.GetSystem(i)->Name, b.GetSystem(i)->Name);
        EXPECT_EQ(a.GetSystem(i)->X, b.GetSystem(i)->X);
        EXPECT_EQ(a.GetSystem(i)->Z, b.GetSystem(i)->Z);
    }
    ASSERT_EQ(a.SubsectorCount(), b.SubsectorCount());
    for (int i = 0; i < a.SubsectorCount(); ++i)
        EXPECT_EQ(a.GetSubsector(i)->Name, b.GetSubsector(i)->Name);
    EXPECT_EQ(window->RecentFiles().Entries[0], QString::fromStdString(o.SaveAs));
}

TEST_F(WindowFixture, CameraMovesNeverLandOnTheTarget)
{
    TVexaSector &s = window->Sector();
    TStellarBody *a = s.NewSystem(1);
    a->X = 3, a->Y = 1, a->Z = -2;
    // The eye sits on the system it is sent to look at.
    s.Camera = {3, 1, -2};
    s.Target = {0, 0, 0};
    s.SelectBody(a);
    window->CenterOnTarget();
    const double dx = s.Camera.X - s.Target.X, dy = s.Camera.Y - s.Target.Y, dz = s.Camera.Z - s.Target.Z;
    EXPECT_GT(dx * dx + dy * dy + dz * dz, 0.0);
    EXPECT_EQ(s.Target, (TVexaPoint{3, 1, -2}));
}

TEST_F(WindowFixture, CloseDuringGenerationStopsItAndClosesOnceNothingRuns)
{
    window->show();
    TVexaSector blank;
    TNewSectorOptions o = DefaultNewSectorOptions(blank, std::string());
    o.Width = o.Height = o.Depth = 60;
    o.Frequency = 100;
    o.Subsectors = false;
    ASSERT_TRUE(window->GenerateNewSector(o));
    ASSERT_TRUE(window->GenerationRunning());
    messages.Push(QStringLiteral("No"));  // the save question once it has stopped
    EXPECT_FALSE(window->close());
    QElapsedTimer clock;
    clock.start();
    while (window->isVisible() && clock.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->GenerationRunning());
}

namespace {
struct KeyCounter : QObject {
    int presses = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(e)->key() == Qt::Key_Q)
            ++presses;
        return false;
    }
};
} // namespace

TEST_F(WindowFixture, AKeyStopsRotationAndStillReachesTheWindow)
{
    window->show();
    const TVexaPoint start = window->Sector().Camera;
    QTimer::singleShot(0, [this] {
        QCoreApplication::postEvent(window.get(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, "q"));
    });
    EXPECT_FALSE(window->RunAnimation(TCameraAnimationKind::Rotate));
    EXPECT_EQ(window->MouseMode(), MOUSE_MODE_PAN);
    KeyCounter counter;
    qApp->installEventFilter(&counter);
    QCoreApplication::processEvents();
    qApp->removeEventFilter(&counter);
    EXPECT_EQ(counter.presses, 1);
    // Stopped early: not a whole turn, and not where it started either.
    EXPECT_NE(window->Sector().Camera, start);
    EXPECT_TRUE(window->RunAnimation(TCameraAnimationKind::Rotate));
}

TEST(MainWindowView, MultisamplingFollowsTheSetting)
{
    for (const bool on : {true, false}) {
        kalvion::app::test::TScratchWindow<TScriptedMessages> scratch;
        scratch.PrepareScratch();
        TfrmVexaMain::TOptions o;
        o.ProgramFolder = scratch.dir.path() + QLatin1Char('/');
        // The settings of an earlier run, as its closing wrote them.
        TAppSettings earlier(o.ProgramFolder);
        earlier.EnableMultisample = on;
        earlier.PerformanceSkip = true;
        earlier.Write(*scratch.store, o.ProgramFolder);
        TfrmVexaMain window(scratch.messages, *scratch.store, o);
        ASSERT_NE(window.SectorView(), nullptr);
        EXPECT_EQ(window.SectorView()->format().samples(), on ? 4 : -1) << on;
    }
}
