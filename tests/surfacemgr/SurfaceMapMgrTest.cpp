// The manager's queue, cache and worker bookkeeping, with map makers the
// test controls, and its built-in makers against the terrain code.
#include "SurfaceTestSupport.h"

#include "model/BodyTypes.h"
#include "model/StellarBody.h"
#include "surface/GexTerrain.h"
#include "surface/PlanetTerrain.h"
#include "surface/manager/SurfaceMapMgr.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace kalvion {
namespace {

using test::NewGuid;
using test::TinyPng;
using test::WaitUntil;

TSurfaceMapJob Job(int n, std::int32_t type = BODY_TYPE_GASGIANT)
{
    TSurfaceMapJob j;
    j.IDString = NewGuid(n);
    j.TypeID = type;
    j.RandomSeed = n;
    return j;
}

// A map maker that records the order of its jobs and holds each one until
// the test lets it go.
struct TGatedMaker {
    std::mutex Lock;
    std::condition_variable Cv;
    bool Open = false;
    std::vector<std::string> Order;
    std::atomic<int> Calls{0};
    std::atomic<int> Returned{0};
    bool EmptyResult = false;

    TFunctionMapThread::TMaker Maker()
    {
        return [this](const TSurfaceMapJob &job, const std::atomic<bool> &stop) {
            ++Calls;
            {
                std::unique_lock<std::mutex> l(Lock);
                Order.push_back(job.IDString);
                while (!Open && !stop.load())
                    Cv.wait_for(l, std::chrono::milliseconds(5));
            }
            TMapBytes result = EmptyResult ? TMapBytes{} : TinyPng(job.RandomSeed & 255);
            ++Returned;
            return result;
        };
    }
    void Release()
    {
        std::lock_guard<std::mutex> l(Lock);
        Open = true;
        Cv.notify_all();
    }
};

TEST(SurfaceMapMgrQueue, RequestsAreServedMostRecentFirst)
{
    TGatedMaker gate;
    TSurfaceMapMgr mgr;
    mgr.SetMaxWorkers(1);
    mgr.SetMapMaker(gate.Maker());
    for (int n = 1; n <= 4; ++n)
        mgr.RequestJob(Job(n));
    EXPECT_EQ(mgr.ActiveCount(), 1);
    EXPECT_EQ(mgr.QueuedCount(), 3);
    gate.Release();
    ASSERT_TRUE(WaitUntil([&] { return mgr.FinishedCount() == 4; }));
    const std::vector<std::string> expected{NewGuid(1), NewGuid(4), NewGuid(3), NewGuid(2)};
    EXPECT_EQ(gate.Order, expected);
    EXPECT_EQ(mgr.ActiveCount(), 0);
}

TEST(SurfaceMapMgrQueue, TheWorkInHandIsToldAsItChanges)
{
    TGatedMaker gate;
    TSurfaceMapMgr mgr;
    mgr.SetMaxWorkers(1);
    mgr.SetMapMaker(gate.Maker());
    std::vector<int> told;
    QObject::connect(&mgr, &TSurfaceMapMgr::workChanged, [&](int making) { told.push_back(making); });
    mgr.RequestJob(Job(1));
    mgr.RequestJob(Job(2));
    mgr.RequestJob(Job(2));  // already waiting: nothing new to tell
    EXPECT_EQ(told, (std::vector<int>{1, 2}));
    EXPECT_EQ(mgr.MakingCount(), 2);
    gate.Release();
    ASSERT_TRUE(WaitUntil([&] { return mgr.FinishedCount() == 2; }));
    ASSERT_TRUE(WaitUntil([&] { return !told.empty() && told.back() == 0; }));
    EXPECT_EQ(mgr.MakingCount(), 0);
    // Each change once, ending with nothing in hand.
    for (std::size_t i = 1; i < told.size(); ++i)
        EXPECT_NE(told[i], told[i - 1]);
    // Stopping the work tells too.
    {
        std::lock_guard<std::mutex> l(gate.Lock);
        gate.Open = false;
    }
    mgr.RequestJob(Job(3));
    EXPECT_EQ(told.back(), 1);
    mgr.WaitAll();
    EXPECT_EQ(told.back(), 0);
}

TEST(SurfaceMapMgrQueue, ASecondRequestWhileTheMapIsMadeStartsNoSecondJob)
{
    TGatedMaker gate;
    TSurfaceMapMgr mgr;
    mgr.SetMaxWorkers(4);
    mgr.SetMapMaker(gate.Maker());
    mgr.RequestJob(Job(7));
    mgr.RequestJob(Job(7));
    mgr.RequestJob(Job(7));
    EXPECT_EQ(mgr.ThreadCount(), 1);
    EXPECT_EQ(mgr.QueuedCount(), 0);
    gate.Release();
    ASSERT_TRUE(WaitUntil([&] { return mgr.FinishedCount() == 1; }));
    mgr.RequestJob(Job(7)); // the map exists now: nothing to do
    EXPECT_EQ(mgr.ThreadCount(), 0);
    EXPECT_EQ(gate.Calls.load(), 1);
}

TEST(SurfaceMapMgrQueue, AQueuedPlanetAskedAgainMovesToTheFrontWithoutACopy)
{
    TGatedMaker gate;
    TSurfaceMapMgr mgr;
    mgr.SetMaxWorkers(1);
    mgr.SetMapMaker(gate.Maker());
    mgr.RequestJob(Job(1));
    mgr.RequestJob(Job(2));
    mgr.RequestJob(Job(3));
    mgr.RequestJob(Job(2));
    EXPECT_EQ(mgr.QueuedCount(), 2);
    gate.Release();
    ASSERT_TRUE(WaitUntil([&] { return mgr.FinishedCount() == 3; }));
    EXPECT_EQ(gate.Order, (std::vector<std::string>{NewGuid(1), NewGuid(2), NewGuid(3)}));
}

TEST(SurfaceMapMgrQueue, TheFiftyFirstMapEvictsTheOldestWhichIsMadeAgainOnRequest)
{
    TGatedMaker gate;
    gate.Release();
    TSurfaceMapMgr mgr;
    mgr.SetMaxWorkers(1);
    mgr.SetMapMaker(gate.Maker());
    for (int n = 1; n <= 51; ++n) {
        mgr.RequestJob(Job(n));
        ASSERT_TRUE(WaitUntil([&] { return mgr.IndexOfMap(NewGuid(n)) >= 0; }));
    }
    EXPECT_EQ(mgr.FinishedCount(), SURFACE_MAP_CACHE_SIZE);
    EXPECT_EQ(mgr.IndexOfMap(NewGuid(1)), -1);
    EXPECT_GE(mgr.IndexOfMap(NewGuid(2)), 0);
    mgr.RequestJob(Job(1));
    ASSERT_TRUE(WaitUntil([&] { return mgr.IndexOfMap(NewGuid(1)) >= 0; }));
    EXPECT_EQ(gate.Calls.load(), 52);
    EXPECT_EQ(mgr.IndexOfMap(NewGuid(2)), -1);
}

TEST(SurfaceMapMgrQueue, OneWorkerPerProcessorAndNoWaitingPlanetIsDropped)
{
    TSurfaceMapMgr fresh;
    EXPECT_EQ(fresh.MaxWorkers(), DefaultTerrainWorkers());

    // More planets wait than the cache holds: every one is still made.
    TGatedMaker gate;
    TSurfaceMapMgr mgr;
    mgr.SetMaxWorkers(1);
    mgr.SetMapMaker(gate.Maker());
    constexpr int Planets = SURFACE_MAP_CACHE_SIZE + 10;
    for (int n = 1; n <= Planets; ++n)
        mgr.RequestJob(Job(n));
    EXPECT_EQ(mgr.QueuedCount(), Planets - 1);
    gate.Release();
    ASSERT_TRUE(WaitUntil([&] { return gate.Returned.load() == Planets && mgr.ActiveCount() == 0; }));
    EXPECT_EQ(mgr.QueuedCount(), 0);
    std::vector<std::string> made = gate.Order;
    std::sort(made.begin(), made.end());
    made.erase(std::unique(made.begin(), made.end()), made.end());
    EXPECT_EQ(made.size(), static_cast<std::size_t>(Planets));
    // The longest-waiting planet was served last and is in the cache.
    EXPECT_EQ(gate.Order.back(), NewGuid(2));
    EXPECT_GE(mgr.IndexOfMap(NewGuid(2)), 0);
}

TEST(SurfaceMapMgrQueue, AnEmptyResultIsNotCachedAndTheNextRequestTriesAgain)
{
    TGatedMaker gate;
    gate.EmptyResult = true;
    gate.Release();
    TSurfaceMapMgr mgr;
    mgr.SetMapMaker(gate.Maker());
    TStellarBody body;
    body.IDString = NewGuid(3);
    body.TypeID = BODY_TYPE_GASGIANT;
    int lookups = 0;
    mgr.FindBody = [&](const std::string &id) -> const TStellarBody * {
        ++lookups;
        return id == body.IDString ? &body : nullptr;
    };
    EXPECT_TRUE(mgr.CurrentMap(body.IDString).isNull());
    ASSERT_TRUE(WaitUntil([&] { return gate.Returned.load() == 1 && mgr.ActiveCount() == 0; }));
    EXPECT_EQ(mgr.IndexOfMap(body.IDString), -1);
    // The views ask every frame; a failed planet is not retried by them ...
    EXPECT_TRUE(mgr.CurrentMap(body.IDString).isNull());
    EXPECT_EQ(mgr.ThreadCount(), 0);
    // ... but an explicit request tries again.
    gate.EmptyResult = false;
    mgr.RequestMap(body);
    ASSERT_TRUE(WaitUntil([&] { return mgr.IndexOfMap(body.IDString) >= 0; }));
    const QImage image = mgr.CurrentMap(body.IDString);
    EXPECT_EQ(image.width(), 4);
    EXPECT_EQ(gate.Calls.load(), 2);
}

TEST(SurfaceMapMgrQueue, AnIdentityThatIsNotAGuidGetsNoMap)
{
    TGatedMaker gate;
    gate.Release();
    TSurfaceMapMgr mgr;
    mgr.SetMapMaker(gate.Maker());
    for (const char *id : {"../../../etc/passwd", "{00000000-0000-0000-0000-00000000000}", "x\" -evil",
                           "{00000000-0000-0000-0000-00000000000G}", ""}) {
        TSurfaceMapJob j = Job(1);
        j.IDString = id;
        mgr.RequestJob(j);
    }
    EXPECT_EQ(mgr.ThreadCount(), 0);
    EXPECT_EQ(mgr.QueuedCount(), 0);
    EXPECT_EQ(gate.Calls.load(), 0);
}

TEST(SurfaceMapMgrQueue, OnlyPlanetsWithMapsAreQueued)
{
    TSurfaceMapMgr mgr;
    TGatedMaker gate;
    mgr.SetMapMaker(gate.Maker());
    TStellarBody star;
    star.IDString = NewGuid(9);
    star.TypeID = BODY_TYPE_STAR;
    mgr.RequestMap(star);
    EXPECT_EQ(mgr.ThreadCount() + mgr.QueuedCount(), 0);
    gate.Release();
}

TEST(SurfaceMapMgrQueue, TheWorkerIsCountedAndKeptUntilItsReportIsHandled)
{
    TGatedMaker gate;
    TSurfaceMapMgr mgr;
    mgr.SetMapMaker(gate.Maker());
    mgr.RequestJob(Job(5));
    gate.Release();
    // The worker has made its map, but no event has been handled yet.
    while (gate.Returned.load() == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(mgr.ActiveCount(), 1);
    EXPECT_EQ(mgr.ThreadCount(), 1);
    EXPECT_EQ(mgr.IndexOfMap(NewGuid(5)), -1);
    // Reaping happens in ProcessNext only, and only for handled workers.
    mgr.ProcessNext();
    EXPECT_EQ(mgr.ThreadCount(), 1);
    int ready = 0;
    mgr.OnMapReady = [&] { ++ready; };
    ASSERT_TRUE(WaitUntil([&] { return mgr.ActiveCount() == 0; }));
    EXPECT_EQ(ready, 1);
    EXPECT_EQ(mgr.ThreadCount(), 0);
    EXPECT_GE(mgr.IndexOfMap(NewGuid(5)), 0);
}

TEST(SurfaceMapMgrQueue, AMapForgottenWhileMadeIsMadeAgainFromTheNewValues)
{
    TGatedMaker gate;
    TSurfaceMapMgr mgr;
    mgr.SetMapMaker(gate.Maker());
    mgr.RequestJob(Job(6));
    mgr.ForgetMap(NewGuid(6));  // the planet was edited
    TSurfaceMapJob edited = Job(6);
    edited.RandomSeed = 99;
    mgr.RequestJob(edited);
    // The edited planet waits for the old job: never two workers on one planet.
    EXPECT_EQ(mgr.ThreadCount(), 1);
    EXPECT_EQ(mgr.QueuedCount(), 1);
    gate.Release();
    ASSERT_TRUE(WaitUntil([&] { return mgr.IndexOfMap(NewGuid(6)) >= 0 && mgr.ActiveCount() == 0; }));
    EXPECT_EQ(gate.Calls.load(), 2);
    const auto map = mgr.GetMap(NewGuid(6));
    ASSERT_TRUE(map);
    EXPECT_EQ(map->Stream, TinyPng(99));
}

TEST(SurfaceMapMgrQueue, ResolutionLevelsSizeOnlyTheMapsMadeAfterwards)
{
    TGatedMaker gate;
    gate.Release();
    TSurfaceMapMgr mgr;
    mgr.SetMapMaker(gate.Maker());
    EXPECT_EQ(mgr.MapWidth(), 512);
    mgr.RequestJob(Job(1));
    ASSERT_TRUE(WaitUntil([&] { return mgr.FinishedCount() == 1; }));
    mgr.SetResolution(0);
    mgr.SetResolution(6);
    EXPECT_EQ(mgr.Resolution(), 3);
    const int widths[] = {256, 360, 512, 720, 1024};
    for (int level = 1; level <= 5; ++level) {
        mgr.SetResolution(level);
        EXPECT_EQ(mgr.MapWidth(), widths[level - 1]);
        EXPECT_EQ(mgr.MapHeight(), widths[level - 1] / 2);
    }
    mgr.SetResolution(1);
    mgr.RequestJob(Job(2));
    ASSERT_TRUE(WaitUntil([&] { return mgr.FinishedCount() == 2; }));
    EXPECT_EQ(mgr.GetMap(NewGuid(1))->Width, 512);
    EXPECT_EQ(mgr.GetMap(NewGuid(2))->Width, 256);
    EXPECT_EQ(mgr.GetMap(NewGuid(2))->Height, 128);
}

TEST(SurfaceMapMgrQueue, WaitAllStopsWorkersThatWouldNeverEnd)
{
    TGatedMaker gate;  // never released: only the stop request ends it
    auto mgr = std::make_unique<TSurfaceMapMgr>();
    mgr->SetMapMaker(gate.Maker());
    mgr->RequestJob(Job(1));
    mgr->RequestJob(Job(2));
    while (gate.Calls.load() < 2)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    mgr->WaitAll();
    EXPECT_EQ(mgr->ThreadCount(), 0);
    EXPECT_EQ(mgr->ActiveCount(), 0);
    // Reports still on their way find nothing.
    QCoreApplication::processEvents();
    EXPECT_EQ(mgr->FinishedCount(), 0);
    mgr.reset();
    QCoreApplication::processEvents();
}

TEST(SurfaceMapMgrMakers, TheSameGasGiantGivesTheSamePixelsTwice)
{
    const QImage a = MakeGasGiantMap(12345, 0.5, 256, 128);
    const QImage b = MakeGasGiantMap(12345, 0.5, 256, 128);
    ASSERT_FALSE(a.isNull());
    EXPECT_EQ(a, b);
    EXPECT_NE(a, MakeGasGiantMap(12346, 0.5, 256, 128));

    TSurfaceMapMgr mgr;
    mgr.SetResolution(1);
    TStellarBody giant;
    giant.IDString = NewGuid(44);
    giant.TypeID = BODY_TYPE_GASGIANT;
    giant.RandomSeed = 12345;
    giant.Albedo = 0.5;
    mgr.RequestMap(giant);
    ASSERT_TRUE(WaitUntil([&] { return mgr.IndexOfMap(giant.IDString) >= 0; }));
    EXPECT_EQ(mgr.CurrentMap(giant.IDString).convertToFormat(QImage::Format_RGB32), a);
}

TEST(SurfaceMapMgrMakers, TheGasGiantOffsetRoundsWhereTheStoredTextureTruncates)
{
    EXPECT_EQ(ManagerGasGiantOffset(0.51), 61);  // 60.6
    EXPECT_EQ(ManagerGasGiantOffset(0.5), 60);
    EXPECT_EQ(ManagerGasGiantOffset(0.0), 30);
    EXPECT_EQ(ManagerGasGiantOffset(std::nan("")), 30);
    EXPECT_EQ(ManagerGasGiantOffset(1e300), 1000);
    // Albedo far outside 0 … 1 still gives colours inside their channels.
    EXPECT_EQ(GasGiantMapBaseColour(3, 7.0) >> 16, 255u);        // blue held, nothing spilled above it
    EXPECT_EQ(GasGiantMapBaseColour(3, -50.0) >> 16, 0u);         // and never below 0
    for (double albedo : {-50.0, 0.3, 7.0, 1e300, std::nan("")})
        EXPECT_EQ(GasGiantMapBaseColour(99, albedo) & 0xFF000000u, 0u) << albedo;
    // Seed 3 draws 9, 52 and 88 before its bands: blue, green, red.
    EXPECT_EQ(GasGiantMapBaseColour(3, 0.3), ColorRGB(88 + 48, 52 + 48, 9 + 48));
    EXPECT_EQ(GasGiantMapBaseColour(3, 3.0), ColorRGB((88 + 210) & 255, (52 + 210) & 255, 219));
}

TEST(SurfaceMapMgrMakers, ATerrestrialMapIsTheTerrainCodesMap)
{
    TSurfaceMapMgr mgr;
    mgr.SetResolution(1);
    TStellarBody planet;
    planet.IDString = NewGuid(77);
    planet.TypeID = BODY_TYPE_TERRESTRIAL;
    planet.RandomSeed = 4242;
    planet.Radius = 6000;
    planet.Water = 0.6;
    planet.Temp = 290;
    planet.Atmosphere = 1.2;
    planet.Habitability = HAB_HOSPITABLE;
    TGexColorGroup own;
    own.Lowland = ColorRGB(1, 2, 3);
    planet.SetGexColorGroup(own);
    mgr.RequestMap(planet);
    ASSERT_TRUE(WaitUntil([&] { return mgr.IndexOfMap(planet.IDString) >= 0; }));

    TPlanetTerrainInput in;
    in.RandomSeed = 4242;
    in.Radius = 6000;
    in.Water = 0.6;
    in.Temp = 290;
    in.Atmosphere = 1.2;
    in.Colors = own;
    const auto terrain = SetupPlanetTerrain(in, 256, 128);
    TMapBytes expected;
    ASSERT_TRUE(EncodeMapPng(RenderTerrainMap(*terrain), expected));
    EXPECT_EQ(mgr.GetMap(planet.IDString)->Stream, expected);
}

} // namespace
} // namespace kalvion
