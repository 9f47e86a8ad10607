// "Sector Export": defaults, the height beside the width, the checks of
// "&Ok" in their order, and the area choice.
#include "PicturesTestSupport.h"

#include "app/FileFilters.h"
#include "app/pictures/SectorExportDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;

namespace {

struct SectorExportTest : PicturesTest {
    TfrmSectorExport dialog{Messages};
    // X/Y 100 x 50, X/Z 100 x 10, Y/Z 10 x 50.
    const double extents[3][2] = {{100, 50}, {100, 10}, {10, 50}};
};

} // namespace

TEST_F(SectorExportTest, DefaultsAndTheHeightFollowingAWholeWidth)
{
    dialog.Load(extents, QString(), QStringLiteral("Parsecs"), QStringLiteral("/tmp"));
    auto *width = Find<QLineEdit>(dialog, "edWidth");
    auto *height = Find<QLineEdit>(dialog, "edHeight");
    EXPECT_EQ(width->text(), "1000");
    EXPECT_TRUE(height->isReadOnly());
    EXPECT_EQ(height->text(), "500");
    EXPECT_FALSE(Find<QCheckBox>(dialog, "chkShowImage")->isChecked());
    EXPECT_EQ(Find<QCheckBox>(dialog, "chkShowImage")->text(), "Show image after creation:");
    width->setText(QStringLiteral("300"));
    EXPECT_EQ(height->text(), "150");
    // Not a whole number: the last height stays.
    width->setText(QStringLiteral("301.5"));
    EXPECT_EQ(height->text(), "150");
    width->setText(QStringLiteral("abc"));
    EXPECT_EQ(height->text(), "150");
    // Another plane has other proportions.
    width->setText(QStringLiteral("200"));
    Find<QComboBox>(dialog, "cmbPlane")->setCurrentIndex(2);
    EXPECT_EQ(height->text(), "1000");

    const TSectorExportChoice c = dialog.Choice();
    EXPECT_EQ(c.Map.ColourMode, 0);
    EXPECT_EQ(c.Map.Plane, 2);
    EXPECT_DOUBLE_EQ(c.Map.SystemFactor, 1.0);
    EXPECT_DOUBLE_EQ(c.Map.LabelFactor, 1.0);
    EXPECT_TRUE(c.Map.ShowGrid && c.Map.ScaleByDepth && c.Map.ShowRoutes);
    EXPECT_FALSE(c.Area.Submap);
}

TEST_F(SectorExportTest, BrowseOffersImagesWithJpgByDefault)
{
    dialog.Load(extents, QString(), QStringLiteral("Light Years"), QStringLiteral("/tmp"));
    Messages.Push(QStringLiteral("/tmp/map.jpg"));
    Find<QPushButton>(dialog, "btnBrowse")->click();
    EXPECT_EQ(Find<QLineEdit>(dialog, "edFileName")->text(), "/tmp/map.jpg");
    EXPECT_EQ(Messages.LastFilter, QString::fromLatin1(IMAGE_FILE_FILTER));
    EXPECT_EQ(Messages.LastDefaultExt, "jpg");
}

TEST_F(SectorExportTest, ChecksRunInOrderAndKeepTheDialogOpen)
{
    dialog.Load(extents, QStringLiteral("Vega"), QStringLiteral("Light Years"), QStringLiteral("/tmp"));
    auto *distance = Find<QRadioButton>(dialog, "rbDistance");
    EXPECT_TRUE(distance->isEnabled());
    EXPECT_EQ(distance->text(), "Export only those stars within a specific distance of Vega");
    distance->setChecked(true);
    Find<QLineEdit>(dialog, "edWidth")->setText(QStringLiteral("12.5"));
    Find<QLineEdit>(dialog, "edDistance")->setText(QStringLiteral("near"));
    dialog.show();
    Find<QPushButton>(dialog, "btnOk")->click();
    EXPECT_TRUE(dialog.isVisible());
    Find<QLineEdit>(dialog, "edWidth")->setText(QStringLiteral("640"));
    Find<QPushButton>(dialog, "btnOk")->click();
    Find<QLineEdit>(dialog, "edFileName")->setText(QStringLiteral("/tmp/x.png"));
    Find<QPushButton>(dialog, "btnOk")->click();
    Find<QLineEdit>(dialog, "edDistance")->setText(QStringLiteral("0"));
    Find<QPushButton>(dialog, "btnOk")->click();
    Find<QLineEdit>(dialog, "edDistance")->setText(QStringLiteral("-2"));
    Find<QPushButton>(dialog, "btnOk")->click();
    EXPECT_EQ(Told(), QStringList({"Image Width in Pixels must be a number", "File Name Required",
                                   "Distance Limit must be a number", "Distance must be greater than 0",
                                   "Distance must be greater than 0"}));
    EXPECT_TRUE(dialog.isVisible());
    Find<QLineEdit>(dialog, "edDistance")->setText(QStringLiteral("7.5"));
    Find<QRadioButton>(dialog, "rbSphere")->setChecked(true);
    Find<QPushButton>(dialog, "btnOk")->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const TSectorExportChoice c = dialog.Choice();
    EXPECT_EQ(c.Width, 640);
    EXPECT_EQ(c.FileName, "/tmp/x.png");
    EXPECT_TRUE(c.Area.Submap);
    EXPECT_DOUBLE_EQ(c.Area.Distance, 7.5);
    EXPECT_EQ(c.Area.Shape, 1);
}

TEST_F(SectorExportTest, WithoutASelectionTheDistanceOptionIsDisabled)
{
    dialog.Load(extents, QStringLiteral("Vega"), QStringLiteral("Light Years"), QString());
    Find<QRadioButton>(dialog, "rbDistance")->setChecked(true);
    dialog.Load(extents, QString(), QStringLiteral("Light Years"), QString());
    auto *distance = Find<QRadioButton>(dialog, "rbDistance");
    EXPECT_FALSE(distance->isEnabled());
    EXPECT_TRUE(distance->text().endsWith(QStringLiteral("(unnamed)")));
    EXPECT_TRUE(Find<QRadioButton>(dialog, "rbEntire")->isChecked());
    // A bad distance no longer matters.
    Find<QLineEdit>(dialog, "edDistance")->setText(QStringLiteral("x"));
    Find<QLineEdit>(dialog, "edFileName")->setText(QStringLiteral("/tmp/x.png"));
    EXPECT_EQ(dialog.Validate(), QString());
    EXPECT_FALSE(dialog.Choice().Area.Submap);
}
