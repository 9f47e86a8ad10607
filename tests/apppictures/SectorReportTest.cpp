// "Sector Report Generation": the choices, the default file below the
// user's data folder and the size question.
#include "PicturesTestSupport.h"

#include "app/MainWindow.h"
#include "app/SettingsStore.h"
#include "app/exchange/SectorReportDialog.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;

TEST_F(PicturesTest, ReportDialogDefaultsAndChoices)
{
    TfrmSectorReport dialog(Messages);
    dialog.Load(QStringLiteral("/tmp"));
    TReportChoice c = dialog.Choice();
    EXPECT_EQ(c.Style, 3);
    EXPECT_TRUE(c.SurfaceMaps);
    EXPECT_TRUE(c.GMNotes);
    EXPECT_TRUE(c.FileName.isEmpty());
    Find<QRadioButton>(dialog, "rbSelected")->setChecked(true);
    Find<QCheckBox>(dialog, "chkGMNotes")->setChecked(false);
    Messages.Push(QStringLiteral("/tmp/out.htm"));
    Find<QPushButton>(dialog, "btnSelect")->click();
    EXPECT_EQ(Messages.LastFilter, "HTML Files (*.htm, *.html)|*.htm|All Files (*.*)|*.*");
    EXPECT_EQ(Messages.LastDefaultExt, "htm");
    c = dialog.Choice();
    EXPECT_EQ(c.Style, 2);
    EXPECT_FALSE(c.GMNotes);
    EXPECT_EQ(c.FileName, "/tmp/out.htm");
    Find<QRadioButton>(dialog, "rbAll")->setChecked(true);
    EXPECT_EQ(dialog.Choice().Style, 0);
}

namespace {

struct ReportWindowTest : PicturesWindowTest {
    void SetUp() override
    {
        PicturesWindowTest::SetUp();
        window->Sector().Name = "Verge";
    }
    void Add(int count)
    {
        for (int i = 0; i < count; ++i) {
            auto b = TStellarBody::Create();
            b->Name = "Star " + std::to_string(i);
            b->TypeID = 1;
            window->Sector().AddSystem(std::move(b));
        }
    }
};

} // namespace

TEST_F(ReportWindowTest, WithoutAFileTheReportGoesBelowTheUserDataFolder)
{
    Add(3);
    const QString file = window->WriteReport(TReportChoice{}, false);
    EXPECT_EQ(file, dir.filePath(QStringLiteral("data/kalvion/SectorReports/vexa.html")));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray html = f.readAll();
    EXPECT_TRUE(html.contains("Verge Sector"));
    EXPECT_TRUE(html.contains("Star 2"));

    TReportChoice named;
    named.FileName = dir.filePath(QStringLiteral("mine.htm"));
    EXPECT_EQ(window->WriteReport(named, false), named.FileName);
    EXPECT_TRUE(QFile::exists(named.FileName));
}

TEST_F(ReportWindowTest, ALargeReportAsksFirstAndNoWritesNothing)
{
    Add(1001);
    script.Push(QStringLiteral("No"));
    TReportChoice c;
    c.Style = 0;
    c.FileName = dir.filePath(QStringLiteral("big.htm"));
    EXPECT_TRUE(window->WriteReport(c, false).isEmpty());
    EXPECT_FALSE(QFile::exists(c.FileName));
    ASSERT_EQ(script.Log().size(), 1);
    EXPECT_TRUE(script.Log()[0].startsWith(QStringLiteral("ask\tReport Generation\tThis will generate a report with 1001")))
        << script.Log()[0].toStdString();
}
