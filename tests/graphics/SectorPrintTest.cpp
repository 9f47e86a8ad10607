// The printed map: sheets per row, "Fit To Page", empty sectors, and real
// printing to PDF and to preview pictures.
#include "GraphicsFixtures.h"

#include "graphics/RenderSectorNG.h"
#include "graphics/SectorPrint.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

using namespace kalvion;
using namespace kalvion::test;

namespace {

// A4 portrait at 96 dots per inch: 794 x 1123, half an inch overlap 48.
constexpr TPrintPage PORTRAIT{794, 1123, 96};

int PdfPageCount(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray data = f.readAll();
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    return static_cast<int>(QString::fromLatin1(data).count(page));
}

std::map<int, int> SheetsPerRow(const TPrintLayout &layout)
{
    std::map<int, int> rows;
    for (const QPoint &p : layout.Offsets)
        ++rows[p.y()];
    return rows;
}

} // namespace

TEST(SectorPrint, FractionalPagesAcrossGiveTheNextWholeNumberOfSheetsPerRow)
{
    for (const double n : {2.5, 2.01, 3.0, 1.0, 0.75}) {
        const TPrintLayout layout = PrintLayout(100, 100, PORTRAIT, n);
        const int across = static_cast<int>(std::ceil(n));
        EXPECT_EQ(layout.PerRow, across) << n;
        for (const auto &[y, count] : SheetsPerRow(layout))
            EXPECT_EQ(count, across) << n << " row at " << y;
        // Sheets step by a printer page less the overlap; the last still
        // starts inside the map.
        for (int i = 1; i < across; ++i)
            EXPECT_EQ(layout.Offsets[static_cast<std::size_t>(i)].x(), i * (PORTRAIT.Width - 48)) << n;
        EXPECT_LT(layout.Offsets[static_cast<std::size_t>(across - 1)].x(), layout.MapWidth) << n;
    }
    // 2.5 pages: a map 2.5 pages wide less two overlaps, square.
    const TPrintLayout layout = PrintLayout(100, 100, PORTRAIT, 2.5);
    EXPECT_EQ(layout.MapWidth, 1985 - 2 * 48);
    EXPECT_EQ(layout.MapHeight, 1985);
    EXPECT_EQ(layout.Offsets.size(), 3u * 2u);
}

TEST(SectorPrint, FitToPageFollowsTheMapProportions)
{
    // Wide map on a portrait page: one page across, one sheet.
    EXPECT_DOUBLE_EQ(FitToPagePagesAcross(100, 50, PORTRAIT), 1.0);
    const TPrintLayout wide = PrintLayout(100, 50, PORTRAIT, 1.0);
    EXPECT_EQ(wide.Offsets.size(), 1u);
    // Tall map: fewer than one page across, so the map fits the page height.
    const double n = FitToPagePagesAcross(50, 200, PORTRAIT);
    EXPECT_LT(n, 1.0);
    EXPECT_NEAR(n, (1123.0 - 48) / (794.0 * 4), 1e-12);
    const TPrintLayout tall = PrintLayout(50, 200, PORTRAIT, n);
    EXPECT_EQ(tall.Offsets.size(), 1u);
    EXPECT_LE(tall.MapHeight, PORTRAIT.Height);
}

TEST(SectorPrint, NothingToDrawGivesOneEmptySheet)
{
    for (const auto &[w, h, n] : {std::tuple{0.0, 0.0, 1.0}, std::tuple{0.0, 50.0, 2.5}, std::tuple{10.0, 10.0, 0.0},
                                  std::tuple{10.0, 10.0, -1.0}, std::tuple{10.0, 10.0, std::nan("")}}) {
        const TPrintLayout layout = PrintLayout(w, h, PORTRAIT, n);
        ASSERT_EQ(layout.Offsets.size(), 1u) << w << " " << h << " " << n;
        EXPECT_EQ(layout.Offsets[0], QPoint(0, 0));
    }
    EXPECT_DOUBLE_EQ(FitToPagePagesAcross(0, 0, PORTRAIT), 1.0);
    // A page smaller than the overlap still advances: the overlap shrinks to
    // a quarter page (5), so sheets step by 15 over a map 50 wide and 60 high.
    EXPECT_EQ(PrintLayout(10, 10, TPrintPage{20, 20, 600}, 3).Offsets.size(), 4u * 3u);
    // Absurd pages across stop at a bounded number of sheets.
    const TPrintLayout absurd = PrintLayout(1, 1000, PORTRAIT, 1000);
    EXPECT_EQ(absurd.Offsets.size(), static_cast<std::size_t>(PRINT_MAX_SHEETS));
    // ... and say that they were cut, which a map of that many sheets is not.
    EXPECT_TRUE(absurd.Cut);
    EXPECT_FALSE(PrintLayout(10, 10, TPrintPage{20, 20, 600}, 3).Cut);
}

TEST(SectorPrint, EmptySectorPrintsAndExportsAnEmptyPage)
{
    QTemporaryDir dir;
    auto sector = TVexaSector::Create();
    sector->SizeX = sector->SizeY = sector->SizeZ = 0;
    AddRoot(*sector, "Alone", 1, 0, 0, 0);
    EnsureGuiApplication();
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("empty.pdf")));
    EXPECT_EQ(PrintSector(*sector, TMapOptions{}, 1.0, printer), 1);
    EXPECT_EQ(PdfPageCount(dir.filePath(QStringLiteral("empty.pdf"))), 1);

    const QString png = dir.filePath(QStringLiteral("empty.png"));
    ASSERT_TRUE(Export2D(*sector, png.toStdString(), MAP_MODE_COLOR_BLACK, MAP_PLANE_XY, 64, 1, 1, true, true, true));
    const QImage image(png);
    ASSERT_FALSE(image.isNull());
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            ASSERT_EQ(image.pixel(x, y), image.pixel(0, 0));
}

TEST(SectorPrint, PrintingToPdfMakesOneSheetPerTile)
{
    QTemporaryDir dir;
    auto sector = GeneratedSector(40, 30, 77);
    sector->SizeY = 15;
    const QString file = dir.filePath(QStringLiteral("map.pdf"));
    EnsureGuiApplication();
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setOutputFileName(file);
    const TPrintPage page{printer.width(), printer.height(), printer.logicalDpiX()};
    const TPrintLayout layout = PrintLayout(30, 15, page, 2.5);
    EXPECT_EQ(PrintSector(*sector, TMapOptions{}, 2.5, printer), static_cast<int>(layout.Offsets.size()));
    EXPECT_EQ(printer.docName(), QStringLiteral("Test Reach Sector"));
    EXPECT_EQ(PdfPageCount(file), static_cast<int>(layout.Offsets.size()));
    EXPECT_EQ(SheetsPerRow(layout).begin()->second, 3);

    // The preview draws the same sheets, each a page in size with something on it.
    const std::vector<QPicture> sheets = PreviewSector(*sector, TMapOptions{}, 2.5, page);
    ASSERT_EQ(sheets.size(), layout.Offsets.size());
    for (const QPicture &sheet : sheets) {
        EXPECT_GT(sheet.size(), 0u);
        EXPECT_EQ(sheet.boundingRect(), QRect(0, 0, page.Width, page.Height));
    }
    // The first sheet of a white-background map shows the frame near its
    // top left corner.
    QImage image(page.Width, page.Height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.drawPicture(0, 0, sheets[0]);
    }
    EXPECT_NE(image.pixel(4, 200), QColor(Qt::white).rgb());
}
