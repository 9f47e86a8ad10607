#include "app/AppSettings.h"
#include "app/RecentFiles.h"
#include "app/SettingsStore.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kalvion;
using namespace kalvion::app;

namespace {

struct SettingsFixture : ::testing::Test {
    QTemporaryDir dir;
    QString Ini() const { return dir.filePath(QStringLiteral("k.ini")); }
    // Every value of the closing list, written by a first run.
    void WriteAll()
    {
        TSettingsStore store(Ini());
        TAppSettings s(QStringLiteral("/opt/k/"), QStringLiteral("/home/u/Documents"));
        s.DataLabelColor = 0x112233;
        s.DataPopulatedColor = 0x445566;
        s.AnimationPerformanceAdjust = 2.5;
        s.SurfaceMapResolution = 4;
        s.SublightSpeedUnit = 3;
        s.InterstellarSpeedMethod = QStringLiteral("Jump");
        s.VideoFrameWidth = 640;
        s.VideoFPS = 25;
        s.EnableMultisample = false;
        s.ShowLensFlares = false;
        s.Write(store, QStringLiteral("/opt/k/"));
    }
};

} // namespace

TEST_F(SettingsFixture, FirstStartKeepsDefaultsAndClosingWritesEveryValue)
{
    TSettingsStore store(Ini());
    TAppSettings s(QStringLiteral("/opt/k/"), QStringLiteral("/home/u/Documents"));
    s.Read(store);
    EXPECT_EQ(s.DataLabelColor, 0x008000u);
    EXPECT_EQ(s.DataPopulatedColor, 0x00FFFFu);  // yellow in 0x00BBGGRR
    EXPECT_EQ(s.DialogPath, QStringLiteral("/opt/k/Samples"));
    EXPECT_EQ(s.VideoFolder, QStringLiteral("/home/u/Documents/"));
    EXPECT_EQ(s.UpdateChannel, QStringLiteral("release"));
    s.Write(store, QStringLiteral("/opt/k/"));
    for (const QString &name : SettingsReadOrder())
        EXPECT_TRUE(store.Value(name).has_value()) << name.toStdString();
    EXPECT_EQ(store.Value(QStringLiteral("TerrainEngine")), QStringLiteral("1"));
}

TEST_F(SettingsFixture, StopRuleKeepsDefaultsFromTheMissingValueOn)
{
    WriteAll();
    {
        TSettingsStore store(Ini());
        store.Remove(QStringLiteral("DataLabelColor"));
    }
    TSettingsStore store(Ini());
    TAppSettings s(QStringLiteral("/opt/k/"));
    s.Read(store);
    EXPECT_EQ(s.DataLabelColor, 0x008000u);
    EXPECT_EQ(s.DataPopulatedColor, 0x00FFFFu);
    EXPECT_DOUBLE_EQ(s.AnimationPerformanceAdjust, 1.0);
    EXPECT_EQ(s.SurfaceMapResolution, 3);
    EXPECT_TRUE(s.EnableMultisample);
}

TEST_F(SettingsFixture, GroupAndDefaultRulesAndWrongTypes)
{
    WriteAll();
    {
        TSettingsStore store(Ini());
        store.SetValue(QStringLiteral("InterstellarSpeedMethod"), QStringLiteral("Jump"));
        store.Remove(QStringLiteral("AllowIntrasystemHyperlight"));  // the travel group falls back
        store.SetValue(QStringLiteral("ShowLensFlares"), QStringLiteral("perhaps"));  // wrong type: default alone
        store.SetValue(QStringLiteral("VideoFPS"), QStringLiteral("nan"));          // not finite: missing
    }
    TSettingsStore store(Ini());
    TAppSettings s(QStringLiteral("/opt/k/"));
    s.Read(store);
    EXPECT_EQ(s.SublightSpeedUnit, 0);
    EXPECT_TRUE(s.InterstellarSpeedMethod.isEmpty());
    EXPECT_TRUE(s.ShowLensFlares);
    EXPECT_EQ(s.SurfaceMapResolution, 4);    // reading went on past the default rule
    EXPECT_EQ(s.VideoFrameWidth, 1280);      // the whole video group keeps its defaults
    EXPECT_DOUBLE_EQ(s.VideoFPS, 10.0);
    EXPECT_FALSE(s.EnableMultisample);        // and reading went on after the group
}

TEST_F(SettingsFixture, OutOfRangeAdjustmentAndNonFiniteFloatsAndHistory)
{
    WriteAll();
    {
        TSettingsStore store(Ini());
        store.SetValue(QStringLiteral("AnimationPerformanceAdjust"), QStringLiteral("5000"));
        store.SetValue(QStringLiteral("PerformanceFactor"), QStringLiteral("inf"));
    }
    TSettingsStore store(Ini());
    TAppSettings s(QStringLiteral("/opt/k/"));
    s.Read(store);
    EXPECT_DOUBLE_EQ(s.AnimationPerformanceAdjust, 1.0);
    // An infinite factor stops the reading like any missing value.
    EXPECT_DOUBLE_EQ(s.PerformanceFactor, 1.0);
    EXPECT_EQ(s.SurfaceMapResolution, 3);

    // Fifteen searches: the next start offers the last ten, in order.
    TSettingsStore again(dir.filePath(QStringLiteral("h.ini")));
    TAppSettings h(QStringLiteral("/opt/k/"));
    for (int i = 1; i <= 15; ++i)
        h.SearchHistory << QStringLiteral("q%1").arg(i);
    h.Write(again, QStringLiteral("/opt/k/"));
    TAppSettings back(QStringLiteral("/opt/k/"));
    back.Read(again);
    ASSERT_EQ(back.SearchHistory.size(), 10);
    EXPECT_EQ(back.SearchHistory.front(), QStringLiteral("q6"));
    EXPECT_EQ(back.SearchHistory.back(), QStringLiteral("q15"));
    again.SetValue(QStringLiteral("SearchHistoryCount"), QStringLiteral("100"));
    TAppSettings ignored(QStringLiteral("/opt/k/"));
    ignored.Read(again);
    EXPECT_TRUE(ignored.SearchHistory.isEmpty());
}

TEST(AnimationFrames, TruncatedByFactorAndAdjustment)
{
    TAppSettings s;
    s.PerformanceFactor = 2.0;
    s.AnimationPerformanceAdjust = 1.5;
    EXPECT_EQ(s.Frames(180), 135);
    s.PerformanceFactor = 0.7;
    s.AnimationPerformanceAdjust = 1.0;
    EXPECT_EQ(s.Frames(100), 142);
}

TEST(RecentFiles, FourthFileDropsTheFirstAndListedFilesChangeNothing)
{
    TRecentFiles r;
    EXPECT_TRUE(r.Empty());
    r.Add(QStringLiteral("/a"));
    r.Add(QStringLiteral("/b"));
    r.Add(QStringLiteral("/a"));
    EXPECT_EQ(r.Entries[0], QStringLiteral("/a"));
    EXPECT_EQ(r.Entries[1], QStringLiteral("/b"));
    EXPECT_TRUE(r.Entries[2].isEmpty());
    r.Add(QStringLiteral("/c"));
    r.Add(QStringLiteral("/d"));
    EXPECT_EQ(r.Entries[0], QStringLiteral("/b"));
    EXPECT_EQ(r.Entries[1], QStringLiteral("/c"));
    EXPECT_EQ(r.Entries[2], QStringLiteral("/d"));
    r.Add(QStringLiteral("/c"));
    EXPECT_EQ(r.Entries[2], QStringLiteral("/d"));
}
