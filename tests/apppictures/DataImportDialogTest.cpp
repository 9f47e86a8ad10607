// "Data Import": the report of each outcome, adding against replacing, and
// the file chooser's filter.
#include "PicturesTestSupport.h"

#include "app/exchange/DataImportDialog.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;

namespace {

struct DataImportTest : PicturesTest {
    QTemporaryDir dir;
    TfrmDataImport dialog{Messages};
    std::unique_ptr<TVexaSector> sector = RowSector(40, 40, 3);

    QString Write(const char *name, const char *text)
    {
        const QString file = dir.filePath(QString::fromLatin1(name));
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return file;
    }
    void Run(const QString &file)
    {
        Find<QLineEdit>(dialog, "edFileName")->setText(file);
        Find<QPushButton>(dialog, "btnImport")->click();
    }
};

} // namespace

TEST_F(DataImportTest, MissingFileNamesAreReportedAndChangeNothing)
{
    dialog.Load(*sector, dir.path());
    Find<QRadioButton>(dialog, "rbReplace")->setChecked(true);
    Run(QString());
    EXPECT_EQ(dialog.Report(), "Import could not be done - no import file selected\nEnd Import.");
    const QString missing = dir.filePath(QStringLiteral("none.csv"));
    Run(missing);
    EXPECT_EQ(dialog.Report(), "Import could not be done - " + missing + " not found\nEnd Import.");
    EXPECT_FALSE(dialog.Imported());
    EXPECT_EQ(sector->SystemCount(), 3);
}

TEST_F(DataImportTest, AddingReportsCountsAndFailedLines)
{
    dialog.Load(*sector, dir.path());
    EXPECT_TRUE(Find<QRadioButton>(dialog, "rbAdd")->isChecked());
    Run(Write("good.csv", "; a comment\n"
                          "star,7,Aldea,1,2,3,1.0,0,0,G2,#FFFF00,note\n"
                          "star,7,Aldea B,1,2,3,0.5,0,0,K1\n"));
    EXPECT_EQ(dialog.Report(), "2 record(s) imported\nImport Successful!  Close the window to see the results.\n"
                               "End Import.");
    EXPECT_TRUE(dialog.Imported());
    EXPECT_FALSE(dialog.Replaced());
    EXPECT_EQ(sector->SystemCount(), 4);

    Run(Write("bad.csv", "star,9,Brisk,1,2,3,heavy,0,0,G2\nstar,10,Calm,4,5,6,1,0,0,M1\nstar,11,Dun,7,8,9,1,0,0,M2\n"));
    EXPECT_EQ(dialog.Report(), "2 record(s) imported, 1 record(s) not imported\nErrors occurred during import on:\n"
                               "Line 1 Body: Brisk\nEnd Import.");
    EXPECT_EQ(sector->SystemCount(), 6);
}

TEST_F(DataImportTest, ReplacingEmptiesTheSectorFirst)
{
    dialog.Load(*sector, dir.path());
    Find<QRadioButton>(dialog, "rbReplace")->setChecked(true);
    Run(Write("one.csv", "star,1,Lone,0,0,0,1,0,0,G2\n"));
    EXPECT_TRUE(dialog.Replaced());
    ASSERT_EQ(sector->SystemCount(), 1);
    EXPECT_EQ(sector->GetSystem(0)->Name, "Lone");
}

TEST_F(DataImportTest, BrowseOffersCommaSeparatedFiles)
{
    dialog.Load(*sector, dir.path());
    Messages.Push(QStringLiteral("/tmp/stars.csv"));
    Find<QPushButton>(dialog, "btnBrowse")->click();
    EXPECT_EQ(Messages.LastFilter, "Comma Seperated (*.csv)|*.csv|All Files (*.*)|*.*");
    EXPECT_EQ(Find<QLineEdit>(dialog, "edFileName")->text(), "/tmp/stars.csv");
}
