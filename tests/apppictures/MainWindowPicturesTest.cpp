// Maps written and printed through the main window: the commands are on,
// the sub-map holds only the systems near the first selected one, a
// zero-size sector prints one empty sheet, and sheets per row follow the
// pages across.
#include "PicturesTestSupport.h"

#include "app/ActionTable.h"
#include "app/MainWindow.h"
#include "app/SettingsStore.h"
#include "app/pictures/PrintSectorDialog.h"
#include "app/pictures/SectorExportDialog.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;

namespace {

int PdfPageCount(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    return static_cast<int>(QString::fromLatin1(f.readAll()).count(page));
}

struct MainPicturesTest : PicturesWindowTest {
    void Fill(double sx, double sy, int count)
    {
        TVexaSector &s = window->Sector();
        s.SizeX = sx;
        s.SizeY = sy;
        s.SizeZ = 10;
        for (int i = 0; i < count; ++i) {
            auto b = TStellarBody::Create();
            b->Name = "Star " + std::to_string(i);
            b->TypeID = 1;
            b->X = i - count / 2.0;
            s.AddSystem(std::move(b));
        }
    }
    QPrinter &PdfPrinter(const QString &name)
    {
        QPrinter &p = window->PrintDialog().Printer();
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setPageSize(QPageSize(QPageSize::A4));
        p.setPageOrientation(QPageLayout::Portrait);
        p.setOutputFileName(dir.filePath(name));
        return p;
    }
};

} // namespace

TEST_F(MainPicturesTest, MapCommandsAreOnAndThePrintWindowIsKept)
{
    window->UpdateActions();
    for (const auto *id : {"File.Export2D", "File.Print"}) {
        QAction *a = window->Actions().Action(QString::fromLatin1(id));
        ASSERT_NE(a, nullptr) << id;
        EXPECT_TRUE(a->isEnabled()) << id;
    }
    EXPECT_EQ(window->Actions().Action(QStringLiteral("File.Print"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
    EXPECT_EQ(window->Actions().Action(QStringLiteral("File.Export2D"))->shortcut(),
              QKeySequence(QStringLiteral("Ctrl+B")));
    EXPECT_EQ(window->findChildren<TfrmPrintSector *>().size(), 1);
}

TEST_F(MainPicturesTest, PrintingGivesCeilPagesAcrossSheetsPerRow)
{
    Fill(40, 20, 20);
    QPrinter &printer = PdfPrinter(QStringLiteral("a.pdf"));
    TPrintChoice choice;
    choice.PagesAcross = 2.5;
    const TPrintLayout layout =
        PrintLayout(40, 20, TPrintPage{printer.width(), printer.height(), printer.logicalDpiX()}, 2.5);
    const int sheets = window->PrintWithChoice(choice);
    EXPECT_EQ(sheets, static_cast<int>(layout.Offsets.size()));
    EXPECT_EQ(sheets % 3, 0);
    EXPECT_EQ(PdfPageCount(dir.filePath(QStringLiteral("a.pdf"))), sheets);

    // "Fit To Page" on a map twice as wide as high: one sheet.
    PdfPrinter(QStringLiteral("b.pdf"));
    choice.PagesAcross = 1;
    EXPECT_EQ(window->PrintWithChoice(choice), 1);
    EXPECT_EQ(PdfPageCount(dir.filePath(QStringLiteral("b.pdf"))), 1);
}

TEST_F(MainPicturesTest, AJobCutAtTheSheetLimitSaysSo)
{
    // Twenty pages across a map thirty times as high as wide: far more
    // sheets than anyone would glue together.
    Fill(1, 30, 2);
    PdfPrinter(QStringLiteral("cut.pdf"));
    TPrintChoice choice;
    choice.PagesAcross = 20;
    EXPECT_EQ(window->PrintWithChoice(choice), PRINT_MAX_SHEETS);
    ASSERT_FALSE(script.Log().isEmpty());
    EXPECT_EQ(script.Log().back(), QStringLiteral("tell\tKalvion\tOnly the first 400 sheets were printed: the whole "
                                                  "map needs more.  Print it fewer pages across to get all of it."));
    // A job that fits says nothing.
    const qsizetype told = script.Log().size();
    window->Sector().SizeY = 1;
    PdfPrinter(QStringLiteral("fits.pdf"));
    choice.PagesAcross = 1;
    EXPECT_EQ(window->PrintWithChoice(choice), 1);
    EXPECT_EQ(script.Log().size(), told);
}

TEST_F(MainPicturesTest, AZeroSizeSectorPrintsAndExportsAnEmptyPage)
{
    Fill(0, 0, 3);
    window->Sector().SizeZ = 0;
    PdfPrinter(QStringLiteral("zero.pdf"));
    TPrintChoice choice;
    choice.PagesAcross = 2.5;
    EXPECT_EQ(window->PrintWithChoice(choice), 1);
    EXPECT_EQ(PdfPageCount(dir.filePath(QStringLiteral("zero.pdf"))), 1);

    TSectorExportChoice e;
    e.FileName = dir.filePath(QStringLiteral("zero.png"));
    e.Width = 50;
    EXPECT_TRUE(window->WriteMap(e));
    EXPECT_EQ(QImage(e.FileName).size(), QSize(50, 50));
}

TEST_F(MainPicturesTest, TheSubmapHoldsOnlySystemsNearTheFirstSelected)
{
    Fill(40, 40, 11); // Star i at x = i - 5.5
    TVexaSector &s = window->Sector();
    s.UnitStarMeasureName = "Parsecs";
    s.UnitStarMeasureRatio = 3.2616;
    s.SelectBody(s.GetSystem(5));
    TMapArea area;
    area.Submap = true;
    area.Distance = 1; // 3.26 light years each way
    std::unique_ptr<TVexaSector> submap;
    const TVexaSector &subject = MapSubject(s, area, submap);
    ASSERT_EQ(&subject, submap.get());
    EXPECT_EQ(subject.SystemCount(), 7);
    EXPECT_DOUBLE_EQ(subject.SizeX, 2 * 3.2616);

    // Without the option, the sector itself.
    area.Submap = false;
    std::unique_ptr<TVexaSector> none;
    EXPECT_EQ(&MapSubject(s, area, none), &s);
    EXPECT_EQ(none, nullptr);

    TSectorExportChoice e;
    e.FileName = dir.filePath(QStringLiteral("near.png"));
    e.Width = 120;
    e.Area.Submap = true;
    e.Area.Distance = 1;
    EXPECT_TRUE(window->WriteMap(e));
    EXPECT_EQ(QImage(e.FileName).size(), QSize(120, 120));
}
