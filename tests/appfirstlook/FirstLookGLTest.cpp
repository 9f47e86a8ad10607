// The window as a new user first meets it, drawn for real under an X
// display: each sample opens on a view that frames all its systems and
// names the nearer ones; every toolbar button shows a picture, sharp at a
// pixel ratio of 2, with a tooltip that says what it does; the status bar
// tells of unsaved changes; and the window comes back where it was left.
#include "../appdialogs/DialogTestSupport.h"
#include "../render/XDisplay.h"
#include "../render/XWindowTestMain.h"

#include "app/ActionTable.h"
#include "app/MainWindow.h"
#include "app/SettingsStore.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "render/SectorGLWidget.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;

namespace {

// The pale gold the samples' names are drawn in, where the text is solid.
bool LabelPixel(QRgb c)
{
    return qRed(c) >= 225 && qGreen(c) >= 210 && qBlue(c) >= 185 && qRed(c) - qBlue(c) >= 15;
}

class FirstLook : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    TTestMessages Messages;
    std::unique_ptr<TSettingsStore> Store;
    std::unique_ptr<TfrmVexaMain> Window;

    void SetUp() override
    {
        kalvion::test::EnsureXDisplay();
        Store = std::make_unique<TSettingsStore>(Dir.filePath(QStringLiteral("k.ini")));
        Store->SetBool(QStringLiteral("PerformanceSkip"), true);
    }
    void TearDown() override
    {
        if (Window)
            Window->close();
        Window.reset();
    }
    // A copy of the sample, so the shipped file stays as it is.
    void Open(const QString &sample, QSize size = QSize(1280, 800))
    {
        const QString file = Dir.filePath(sample + QStringLiteral(".VexaDB"));
        QFile::remove(file);
        ASSERT_TRUE(QFile::copy(QStringLiteral(KALVION_SAMPLES_DIR "/") + sample + QStringLiteral(".VexaDB"), file))
            << "the samples are built with the kalvion_samples target";
        Start(file, size);
    }
    void Start(const QString &file, QSize size = QSize(1280, 800))
    {
        TfrmVexaMain::TOptions o;
        o.ProgramFolder = Dir.path() + QLatin1Char('/');
        o.FileToOpen = file;
        Window = std::make_unique<TfrmVexaMain>(Messages, *Store, o);
        if (size.isValid())
            Window->resize(size);
        Window->show();
        QElapsedTimer clock;
        clock.start();
        while (!Window->FirstFrameDrawn() && clock.elapsed() < 30000)
            QTest::qWait(20);
        ASSERT_TRUE(Window->FirstFrameDrawn());
    }
    // A frame drawn now, with the screen positions of the systems.
    QImage Frame()
    {
        TSectorGLWidget *view = Window->SectorView();
        const int before = view->FramesDrawn();
        view->update();
        QElapsedTimer clock;
        clock.start();
        while (view->FramesDrawn() == before && clock.elapsed() < 10000)
            QTest::qWait(20);
        return view->grabFramebuffer();
    }
};

// A sample and what its opening view must show.
struct TSampleView {
    const char *Name;
    int NamedAtLeast;
};

TEST_F(FirstLook, EverySampleOpensFramedWithItsNearerSystemsNamed)
{
    for (const TSampleView &sample : {TSampleView{"Lantern Reach", 12}, TSampleView{"Thornwake Frontier", 10},
                                      TSampleView{"Ember Cluster", 10}}) {
        SCOPED_TRACE(sample.Name);
        ASSERT_NO_FATAL_FAILURE(Open(QString::fromLatin1(sample.Name)));
        const QImage image = Frame();
        ASSERT_FALSE(image.isNull());
        const TVexaSector &s = Window->Sector();
        int inside = 0, named = 0, labelled = 0;
        for (int i = 0; i < s.SystemCount(); ++i) {
            const TStellarBody *root = s.GetSystem(i);
            // Screen positions count from the bottom, as OpenGL's do.
            const int x = root->RasterX, y = image.height() - 1 - root->RasterY;
            inside += x >= 0 && x < image.width() && y >= 0 && y < image.height();
            const double d = std::hypot(root->X - s.Camera.X, root->Y - s.Camera.Y, root->Z - s.Camera.Z);
            if (d >= root->LabelDistance || !root->Visible)
                continue;
            ++labelled;
            // The name starts at the system and runs to its right.
            int pixels = 0;
            for (int py = std::max(0, y - 24); py < std::min(image.height(), y + 8); ++py)
                for (int px = std::max(0, x - 4); px < std::min(image.width(), x + 120); ++px)
                    pixels += LabelPixel(image.pixel(px, py));
            named += pixels >= 6;
        }
        EXPECT_EQ(inside, s.SystemCount()) << "systems outside the opening view";
        EXPECT_GE(labelled, sample.NamedAtLeast) << "too few systems within their label distance";
        // Names may overlap where systems crowd; nearly all still show.
        EXPECT_GE(named * 10, labelled * 9) << named << " of " << labelled << " names seen";
        if (std::string(sample.Name) == "Lantern Reach")
            EXPECT_EQ(named, 12);
        Window->close();
        Window.reset();
    }
}

TEST_F(FirstLook, EveryToolbarButtonHasAPictureAndSaysWhatItDoes)
{
    ASSERT_NO_FATAL_FAILURE(Open(QStringLiteral("Lantern Reach")));
    auto *bar = Window->findChild<QToolBar *>(QStringLiteral("toolbarMain"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->toolButtonStyle(), Qt::ToolButtonIconOnly);
    int buttons = 0;
    for (QAction *a : bar->actions()) {
        auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(a));
        if (a->isSeparator() || !button)
            continue;
        ++buttons;
        SCOPED_TRACE(a->iconText().toStdString());
        const QIcon icon = button->icon();
        ASSERT_FALSE(icon.isNull());
        const QImage normal = icon.pixmap(QSize(24, 24)).toImage();
        int opaque = 0;
        for (int y = 0; y < normal.height(); ++y)
            for (int x = 0; x < normal.width(); ++x)
                opaque += qAlpha(normal.pixel(x, y)) > 128;
        EXPECT_GE(opaque, 20) << "an empty picture";
        // Drawn for the screen: twice the pixels at a pixel ratio of 2.
        const QPixmap sharp = icon.pixmap(QSize(24, 24), 2.0);
        EXPECT_EQ(sharp.width(), 48);
        EXPECT_NE(icon.pixmap(QSize(24, 24), QIcon::Disabled).toImage(), normal) << "no disabled look";
        // The tooltip names the button and says what it does.
        const QString tip = a->toolTip();
        EXPECT_TRUE(tip.startsWith(a->iconText())) << tip.toStdString();
        EXPECT_TRUE(tip.contains(QLatin1Char('\n'))) << tip.toStdString();
    }
    EXPECT_GE(buttons, 21);
    EXPECT_TRUE(Window->Actions().Action(QStringLiteral("Navigation.Slide"))
                    ->toolTip()
                    .endsWith(QStringLiteral("Slide the camera to the selected system")));
}

TEST_F(FirstLook, TheStatusBarTellsOfUnsavedChangesAndTheWindowKeepsItsPlace)
{
    ASSERT_NO_FATAL_FAILURE(Open(QStringLiteral("Lantern Reach"), QSize(1100, 700)));
    auto *modified = Window->findChild<QLabel *>(QStringLiteral("statusModified"));
    ASSERT_NE(modified, nullptr);
    EXPECT_TRUE(modified->text().isEmpty());
    const QString caption = Window->windowTitle();

    TVexaSector &s = Window->Sector();
    s.SelectAll(false);
    s.SelectBody(s.GetSystem(0));
    Window->RefillTree();
    Window->UpdateActions();
    Window->Actions().Action(QStringLiteral("Actions.DeleteSystems"))->trigger();
    ASSERT_TRUE(s.Modified);
    EXPECT_EQ(modified->text(), QStringLiteral("Modified"));
    EXPECT_NE(Window->windowTitle(), caption);
    Window->Actions().Action(QStringLiteral("Edit.Undo"))->trigger();
    EXPECT_FALSE(s.Modified);
    EXPECT_TRUE(modified->text().isEmpty()) << "undone back to the saved state";
    EXPECT_EQ(Window->windowTitle(), caption);

    // Closed at another size and with the panel narrower: the next window
    // opens the same.
    Window->resize(900, 640);
    auto *splitter = Window->findChild<QSplitter *>(QStringLiteral("splitterMain"));
    ASSERT_NE(splitter, nullptr);
    splitter->setSizes({180, 700});
    QTest::qWait(50);
    const QSize size = Window->size();
    const QList<int> sizes = splitter->sizes();
    const QString file = QString::fromStdString(s.FileName);
    ASSERT_TRUE(Window->close());
    Window.reset();
    Store->Sync();
    ASSERT_NO_FATAL_FAILURE(Start(file, QSize()));
    EXPECT_EQ(Window->size(), size);
    EXPECT_EQ(Window->findChild<QSplitter *>(QStringLiteral("splitterMain"))->sizes(), sizes);
}

} // namespace

int main(int argc, char **argv) { return kalvion::test::RunXWindowTests(argc, argv); }
