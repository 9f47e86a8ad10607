#include "app/AppSettings.h"
#include "app/RecentFiles.h"
#include "app/SettingsStore.h"
#include "app/edit/NewSystemDialog.h"
#include "generation/NewSectorOptions.h"
#include "model/VexaSector.h"

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

TEST_F(SettingsFixture, BothDialogsShareOneBooleanFormAndReadTheOlderOne)
{
    // The New Sector dialog remembers its switches as 0 and 1, and the New
    // System dialog reads its part of them past the two switches.
    TVexaSector current;
    TNewSectorOptions sectorChoice = ReadNewSectorOptions(TSettingsStore(Ini()), current, "Names.ilt");
    sectorChoice.Spherical = true;
    sectorChoice.Populations = false;
    sectorChoice.OrganicNaming = false;
    sectorChoice.Freq[9] = 33;  // terrestrial planets
    {
        TSettingsStore store(Ini());
        WriteNewSectorOptions(store, sectorChoice);
    }
    TSettingsStore store(Ini());
    EXPECT_EQ(store.Value(QStringLiteral("GeneratorSpherical")), QStringLiteral("1"));
    EXPECT_EQ(store.Value(QStringLiteral("GeneratorPopulations")), QStringLiteral("0"));
    EXPECT_EQ(store.Value(QStringLiteral("OrganicNaming")), QStringLiteral("0"));
    TNewSystemChoice systemChoice = ReadNewSystemChoice(store, TNewSystemChoice{});
    EXPECT_FALSE(systemChoice.Populations);
    EXPECT_FALSE(systemChoice.OrganicNaming);
    EXPECT_EQ(systemChoice.Freq[NS_TERRESTRIAL], 33);
    const TNewSectorOptions again = ReadNewSectorOptions(store, current, "Names.ilt");
    EXPECT_FALSE(again.Populations);
    EXPECT_EQ(again.Freq[9], 33);

    // A file of an earlier version holds "true" and "false": every reader
    // takes them.
    store.SetValue(QStringLiteral("GeneratorPopulations"), QStringLiteral("false"));
    store.SetValue(QStringLiteral("OrganicNaming"), QStringLiteral("True"));
    store.SetValue(QStringLiteral("AutoLock"), QStringLiteral("true"));
    systemChoice = ReadNewSystemChoice(store, TNewSystemChoice{});
    EXPECT_FALSE(systemChoice.Populations);
    EXPECT_TRUE(systemChoice.OrganicNaming);
    EXPECT_EQ(systemChoice.Freq[NS_TERRESTRIAL], 33);
    EXPECT_EQ(store.Bool(QStringLiteral("AutoLock")), std::optional<bool>(true));
    EXPECT_EQ(store.Bool(QStringLiteral("GeneratorPopulations")), std::optional<bool>(false));
    EXPECT_EQ(store.Bool(QStringLiteral("GeneratorNameTable")), std::nullopt);
    // The New System dialog writes the same form.
    WriteNewSystemChoice(store, systemChoice);
    EXPECT_EQ(store.Value(QStringLiteral("OrganicNaming")), QStringLiteral("1"));
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

TEST_F(SettingsFixture, RecoveryAndUndoSettingsRoundTripAndStayInRange)
{
    {
        TSettingsStore store(Ini());
        TAppSettings s(QStringLiteral("/opt/k/"));
        s.Read(store);
        EXPECT_EQ(s.RecoveryMinutes, 2);
        EXPECT_EQ(s.UndoLimit, 100);
        s.RecoveryMinutes = 0;
        s.UndoLimit = 7;
        s.Write(store, QStringLiteral("/opt/k/"));
    }
    {
        TSettingsStore store(Ini());
        TAppSettings s(QStringLiteral("/opt/k/"));
        s.Read(store);
        EXPECT_EQ(s.RecoveryMinutes, 0);
        EXPECT_EQ(s.UndoLimit, 7);
        // Values no one could have chosen are taken back into range.
        store.SetInt(QStringLiteral("RecoveryMinutes"), -5);
        store.SetInt(QStringLiteral("UndoLimit"), 0);
    }
    TSettingsStore store(Ini());
    TAppSettings s(QStringLiteral("/opt/k/"));
    s.Read(store);
    EXPECT_EQ(s.RecoveryMinutes, 0);
    EXPECT_EQ(s.UndoLimit, 1);
}
