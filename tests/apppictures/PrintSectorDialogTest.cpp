// "Print Sector": the settings read by "&Ok" and "Preview >>", "Fit To Page"
// against the map's proportions, and the preview's sheets.
#include "PicturesTestSupport.h"

#include "app/pictures/PrintSectorDialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <set>

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;

namespace {

struct PrintDialogTest : PicturesTest {
    TfrmPrintSector dialog{Messages};
    void SetUp() override
    {
        dialog.Printer().setPageSize(QPageSize(QPageSize::A4));
        dialog.Printer().setPageOrientation(QPageLayout::Portrait);
    }
    void Click(const char *name) { Find<QPushButton>(dialog, name)->click(); }
};

} // namespace

TEST_F(PrintDialogTest, FitToPageFollowsTheMapProportions)
{
    auto wide = RowSector(100, 50, 5);
    dialog.Load(*wide);
    EXPECT_TRUE(Find<QRadioButton>(dialog, "rbFitToPage")->isChecked());
    EXPECT_TRUE(Find<QRadioButton>(dialog, "rbPortrait")->isChecked());
    QString message;
    auto choice = dialog.ReadSettings(&message);
    ASSERT_TRUE(choice);
    EXPECT_DOUBLE_EQ(choice->PagesAcross, 1.0);

    auto tall = RowSector(50, 200, 5);
    dialog.Load(*tall);
    choice = dialog.ReadSettings(&message);
    ASSERT_TRUE(choice);
    EXPECT_LT(choice->PagesAcross, 1.0);
    // The map one page high: it fits the page height.
    const TPrintPage page = dialog.Page();
    EXPECT_LE(choice->PagesAcross * page.Width * 4, page.Height);

    // Landscape turns the printer too.
    Find<QRadioButton>(dialog, "rbLandscape")->setChecked(true);
    EXPECT_EQ(dialog.Printer().pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_GT(dialog.Page().Width, dialog.Page().Height);
}

TEST_F(PrintDialogTest, ChecksRunInOrderAndOkKeepsTheDialogOpen)
{
    auto sector = RowSector(40, 40, 5);
    sector->SelectBody(sector->GetSystem(2));
    dialog.Load(*sector);
    auto *pages = Find<QLineEdit>(dialog, "edPagesAcross");
    EXPECT_EQ(pages->text(), "2");
    EXPECT_EQ(Find<QRadioButton>(dialog, "rbDistance")->text(),
              "Print only those stars within a specific distance of Star 2");
    // Typing into the edit chooses "Pages Across:".
    pages->setFocus();
    QTest::keyClicks(pages, QStringLiteral("x"));
    EXPECT_TRUE(Find<QRadioButton>(dialog, "rbPagesAcross")->isChecked());
    Find<QRadioButton>(dialog, "rbDistance")->setChecked(true);
    Find<QLineEdit>(dialog, "edDistance")->setText(QStringLiteral("far"));
    dialog.show();
    Click("btnOk");
    for (const char *bad : {"0", "-1", "abc", "25"}) {
        pages->setText(QString::fromLatin1(bad));
        Click("btnOk");
    }
    pages->setText(QStringLiteral("2.5"));
    Click("btnOk");
    Find<QLineEdit>(dialog, "edDistance")->setText(QStringLiteral("0"));
    Click("btnPreview");
    // A number out of range is told the range, not that it is no number.
    const QString range = QStringLiteral("Pages across must be greater than 0 and no more than 20");
    EXPECT_EQ(Told(), QStringList({"Pages across must be a number", range, range, "Pages across must be a number",
                                   range, "Distance Limit must be a number", "Distance must be greater than 0"}));
    EXPECT_TRUE(dialog.isVisible());
    Find<QLineEdit>(dialog, "edDistance")->setText(QStringLiteral("3"));
    Click("btnOk");
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_TRUE(dialog.Choice());
    EXPECT_DOUBLE_EQ(dialog.Choice()->PagesAcross, 2.5);
    EXPECT_TRUE(dialog.Choice()->Area.Submap);
    EXPECT_DOUBLE_EQ(dialog.Choice()->Area.Distance, 3);
}

TEST_F(PrintDialogTest, WithoutASelectionTheDistanceOptionIsDisabled)
{
    auto sector = RowSector(40, 40, 5);
    dialog.Load(*sector);
    auto *distance = Find<QRadioButton>(dialog, "rbDistance");
    EXPECT_FALSE(distance->isEnabled());
    EXPECT_EQ(distance->text(), "Print only those stars within a specific distance of (unnamed)");
    EXPECT_TRUE(Find<QRadioButton>(dialog, "rbEntire")->isChecked());
    EXPECT_EQ(Find<QRadioButton>(dialog, "rbEntire")->text(), "Print Entire Sector Map");
}

TEST_F(PrintDialogTest, PreviewShowsCeilPagesAcrossSheetsPerRow)
{
    auto sector = RowSector(40, 40, 30);
    dialog.Load(*sector);
    dialog.resize(400, 600);
    dialog.show();
    Find<QLineEdit>(dialog, "edPagesAcross")->setText(QStringLiteral("2.5"));
    Find<QRadioButton>(dialog, "rbPagesAcross")->setChecked(true);
    ASSERT_TRUE(dialog.Preview());
    EXPECT_GE(dialog.width(), 780);
    const TPreviewLayout &l = dialog.LastPreviewLayout();
    EXPECT_EQ(l.ThumbWidth, 64);
    const TPrintPage page = dialog.Page();
    EXPECT_EQ(l.ThumbHeight, static_cast<int>(static_cast<double>(page.Height) / page.Width * 64));
    ASSERT_GE(l.Sheets.size(), 3u);
    EXPECT_EQ(l.Sheets.size() % 3, 0u);
    std::set<int> firstRow;
    for (const QRect &r : l.Sheets)
        if (r.y() == PREVIEW_GAP)
            firstRow.insert(r.x());
    EXPECT_EQ(firstRow, (std::set<int>{20, 20 + 84, 20 + 2 * 84}));

    const QImage &img = dialog.PreviewImage();
    EXPECT_GE(img.width(), (64 + 20) * 3 + 40);
    EXPECT_EQ(img.pixel(2, 2), QColor(228, 206, 203).rgb());
    const QRect s = l.Sheets[0];
    // Black frame, white page, grey shadow beyond the page's corner.
    EXPECT_EQ(img.pixel(s.left(), s.top() + 10), QColor(Qt::black).rgb());
    EXPECT_EQ(img.pixel(s.right() + 3, s.bottom() + 3), QColor(128, 128, 128).rgb());
    EXPECT_EQ(img.pixel(s.left() + 1, s.top() - 1), QColor(228, 206, 203).rgb());
    dialog.grab().save(QStringLiteral("/tmp/print-preview.png"));

    // Landscape pages make wider thumbnails.
    Find<QRadioButton>(dialog, "rbLandscape")->setChecked(true);
    ASSERT_TRUE(dialog.Preview());
    EXPECT_EQ(dialog.LastPreviewLayout().ThumbWidth, 83);
}

TEST(PreviewLayout, GrowsWithTheSheetsUpToItsLimit)
{
    const TPrintPage portrait{794, 1123, 96};
    const TPreviewLayout small = PreviewLayout(portrait, 1, 1, QSize(300, 300));
    EXPECT_EQ(small.Picture, QSize(300, 300));
    ASSERT_EQ(small.Sheets.size(), 1u);
    EXPECT_EQ(small.Sheets[0], QRect(20, 20, 64, 90));
    const TPreviewLayout many = PreviewLayout(portrait, 20, 200, QSize(300, 300));
    EXPECT_EQ(many.Picture, QSize((64 + 20) * 20 + 40, 10 * (90 + 20) + 40));
    EXPECT_EQ(many.Sheets[21], QRect(20 + 84, 20 + 110, 64, 90));
    const TPreviewLayout huge = PreviewLayout(portrait, 20, 2000, QSize(300, 300));
    EXPECT_EQ(huge.Picture.height(), PREVIEW_MAX_SIZE);
}

// The file printer has no driver settings: "Properties" is off for it, so
// no empty page dialog can hold the window.
TEST_F(PrintDialogTest, PropertiesNeedAPrinterWithADriver)
{
    auto *printers = Find<QComboBox>(dialog, "cmbPrinter");
    const int file = printers->findText(QStringLiteral("PDF File"));
    if (file < 0)
        GTEST_SKIP() << "printers are installed here";
    printers->setCurrentIndex(file);
    EXPECT_EQ(dialog.Printer().outputFormat(), QPrinter::PdfFormat);
    EXPECT_FALSE(Find<QPushButton>(dialog, "btnProperties")->isEnabled());
}
