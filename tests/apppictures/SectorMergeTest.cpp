// "Sector Merging and Updating": the checks, the choices as the merge
// reads them, and merging a file and a catalogue through the main window.
#include "PicturesTestSupport.h"

#include "app/MainWindow.h"
#include "app/SettingsStore.h"
#include "app/exchange/SectorMergeDialog.h"
#include "files/SectorFile.h"
#include "files/SectorImport.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;

TEST_F(PicturesTest, MergeDialogChecksAndChoices)
{
    TfrmSectorMerge dialog(Messages);
    dialog.show();
    Find<QLineEdit>(dialog, "edDY")->setText(QStringLiteral("up"));
    Find<QPushButton>(dialog, "btnOk")->click();
    Find<QLineEdit>(dialog, "edFileName")->setText(QStringLiteral("/tmp/other.VexaDB"));
    Find<QPushButton>(dialog, "btnOk")->click();
    EXPECT_EQ(Told(), QStringList({"File Name Required", "The offsets must be numbers"}));
    EXPECT_TRUE(dialog.isVisible());
    // Offsets only matter when they are used.
    Find<QRadioButton>(dialog, "rbRight")->setChecked(true);
    EXPECT_FALSE(Find<QLineEdit>(dialog, "edDY")->isEnabled());
    EXPECT_EQ(dialog.Validate(), QString());
    TMergeChoice c = dialog.Choice();
    EXPECT_EQ(c.Mode, SECTOR_IMPORT_UPDATE);
    EXPECT_EQ(c.Placement, SECTOR_IMPORT_RIGHT);
    Find<QRadioButton>(dialog, "rbOffset")->setChecked(true);
    Find<QRadioButton>(dialog, "rbSkip")->setChecked(true);
    Find<QLineEdit>(dialog, "edDY")->setText(QStringLiteral("2.5"));
    c = dialog.Choice();
    EXPECT_EQ(c.Mode, SECTOR_IMPORT_SKIP);
    EXPECT_EQ(c.Placement, SECTOR_IMPORT_COORDS);
    EXPECT_DOUBLE_EQ(c.DY, 2.5);
    Find<QRadioButton>(dialog, "rbCatalogue")->setChecked(true);
    EXPECT_FALSE(Find<QRadioButton>(dialog, "rbAllow")->isEnabled());
    EXPECT_TRUE(dialog.Choice().Catalogue);
}

using MergeWindowTest = PicturesWindowTest;

TEST_F(MergeWindowTest, MergingBesideTheSectorAndReadingACatalogue)
{
    auto other = RowSector(20, 20, 2);
    const QString file = dir.filePath(QStringLiteral("other.VexaDB"));
    ASSERT_TRUE(SaveToFile(*other, file.toStdString(), false));
    window->Sector().SizeX = 20;
    TMergeChoice c;
    c.FileName = file;
    c.Placement = SECTOR_IMPORT_RIGHT;
    ASSERT_TRUE(window->MergeWith(c));
    ASSERT_EQ(window->Sector().SystemCount(), 2);
    EXPECT_DOUBLE_EQ(window->Sector().GetSystem(0)->X, -1 + 20);
    EXPECT_TRUE(window->Sector().Modified);

    // Skipping shared systems adds nothing the second time.
    c.Mode = SECTOR_IMPORT_SKIP;
    ASSERT_TRUE(window->MergeWith(c));
    EXPECT_EQ(window->Sector().SystemCount(), 2);

    c.FileName = dir.filePath(QStringLiteral("missing.VexaDB"));
    EXPECT_FALSE(window->MergeWith(c));
    EXPECT_EQ(script.Log().size(), 1);

    const QString listing = dir.filePath(QStringLiteral("near.txt"));
    QFile f(listing);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Gliese code: 1\nSpectral type: G2\nRemarks:  Near One\nEarth-based (1,0,0)\n");
    f.close();
    TMergeChoice cat;
    cat.Catalogue = true;
    cat.FileName = listing;
    EXPECT_TRUE(window->MergeWith(cat));
    EXPECT_EQ(window->Sector().SystemCount(), 3);
}
