// The orbit camera: zoom and rotation limits, the memory per system in the
// root's fields (also across saving and reopening), and the clock.
#include "files/SectorFile.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "render/orbit/RenderOrbitOGL.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

#include <unistd.h>

namespace kalvion {
namespace {

namespace fs = std::filesystem;

TStellarBody *AddStar(TVexaSector &sector, const std::string &name)
{
    auto star = TStellarBody::Create();
    star->Name = name;
    star->TypeID = BODY_TYPE_STAR;
    star->Mass = 1;
    star->Radius = 1;
    auto planet = TStellarBody::Create();
    planet->Name = name + " I";
    planet->TypeID = BODY_TYPE_TERRESTRIAL;
    planet->Distance = ORBIT_KM_PER_AU;
    planet->Radius = 6000;
    star->AddChild(std::move(planet));
    TStellarBody *raw = star.get();
    sector.AddSystem(std::move(star));
    return raw;
}

TEST(OrbitCamera, ZoomAndRotateLimits)
{
    TRenderOrbitOGL view;
    EXPECT_DOUBLE_EQ(view.Camera.Distance, 2000000000);
    EXPECT_DOUBLE_EQ(view.Camera.Latitude, 90);
    for (int i = 0; i < 400; ++i)
        view.Zoom(0.5);
    EXPECT_DOUBLE_EQ(view.Camera.Distance, 0.01);
    // Zooming out ends at the far plane, where the scene would vanish.
    for (int i = 0; i < 2000; ++i)
        view.Zoom(1.1);
    EXPECT_DOUBLE_EQ(view.Camera.Distance, ORBIT_FAR_PLANE);
    view.Zoom(std::numeric_limits<double>::infinity());
    EXPECT_DOUBLE_EQ(view.Camera.Distance, ORBIT_FAR_PLANE);
    view.Zoom(std::numeric_limits<double>::quiet_NaN());
    EXPECT_DOUBLE_EQ(view.Camera.Distance, ORBIT_FAR_PLANE);
    view.Zoom(0);
    EXPECT_DOUBLE_EQ(view.Camera.Distance, 0.01);

    for (int i = 0; i < 100; ++i)
        view.Rotate(2, 2);
    EXPECT_DOUBLE_EQ(view.Camera.Latitude, 90);
    EXPECT_DOUBLE_EQ(view.Camera.Longitude, 200);
    for (int i = 0; i < 200; ++i)
        view.Rotate(2, -2);
    EXPECT_DOUBLE_EQ(view.Camera.Latitude, -90);
    EXPECT_DOUBLE_EQ(view.Camera.Longitude, 600);  // the longitude is unbounded
    view.Rotate(std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity());
    EXPECT_DOUBLE_EQ(view.Camera.Latitude, -90);
    EXPECT_DOUBLE_EQ(view.Camera.Longitude, 600);
}

TEST(OrbitCamera, RingOpensItsParentsSystem)
{
    auto sector = TVexaSector::Create();
    TStellarBody *star = AddStar(*sector, "Aldra");
    TStellarBody *planet = star->GetChild(0);
    auto ring = TStellarBody::Create();
    ring->TypeID = BODY_TYPE_RING;
    ring->Distance = 10000;
    TStellarBody *rawRing = ring.get();
    planet->AddChild(std::move(ring));
    TRenderOrbitOGL view;
    view.SetSystem(sector.get(), rawRing);
    EXPECT_EQ(view.Root(), planet);
    EXPECT_EQ(view.Kind(), ORBIT_KIND_PLANET);
    EXPECT_DOUBLE_EQ(view.Camera.Distance, 4 * 10000 / 6378.14);
}

TEST(OrbitCamera, AdvanceTimeMovesTheSectorClock)
{
    auto sector = TVexaSector::Create();
    TStellarBody *star = AddStar(*sector, "Aldra");
    sector->Time = 100;
    TRenderOrbitOGL view;
    view.AdvanceTime();  // no system yet: nothing moves
    EXPECT_DOUBLE_EQ(sector->Time, 100);
    view.SetSystem(sector.get(), star);
    view.TimeRate = ORBIT_RATE_REAL_TIME;
    view.TimeDirection = -1;
    view.AdvanceTime();
    EXPECT_DOUBLE_EQ(sector->Time, 100 - 0.05 / 86400);
    sector->Time = 100;
    view.TimeRate = ORBIT_RATE_YEAR;
    view.TimeDirection = 1;
    view.AdvanceTime();
    EXPECT_DOUBLE_EQ(sector->Time, 118.2625);
    view.TimeRate = ORBIT_RATE_STOPPED;
    view.AdvanceTime();
    EXPECT_DOUBLE_EQ(sector->Time, 118.2625);
}

TEST(OrbitCamera, StoredValuesThatAreNotFiniteNumbersCountAsMissing)
{
    TStellarBody root;
    TOrbitCamera camera{123, 45, 67};
    EXPECT_FALSE(RecallOrbitCamera(root, camera));  // no "camera-dist": nothing read
    root.SetField("camera-lat", "10");
    EXPECT_FALSE(RecallOrbitCamera(root, camera));
    EXPECT_DOUBLE_EQ(camera.Latitude, 45);

    root.SetField("camera-dist", "1e999");
    root.SetField("camera-lat", "nan");
    root.SetField("camera-long", "east");
    EXPECT_TRUE(RecallOrbitCamera(root, camera));
    EXPECT_DOUBLE_EQ(camera.Distance, 123);
    EXPECT_DOUBLE_EQ(camera.Latitude, 45);
    EXPECT_DOUBLE_EQ(camera.Longitude, 67);

    root.SetField("camera-dist", "5e20");
    root.SetField("camera-lat", "120");
    root.SetField("camera-long", "-400.5");
    EXPECT_TRUE(RecallOrbitCamera(root, camera));
    EXPECT_DOUBLE_EQ(camera.Distance, ORBIT_FAR_PLANE);
    EXPECT_DOUBLE_EQ(camera.Latitude, 90);
    EXPECT_DOUBLE_EQ(camera.Longitude, -400.5);

    // A non-finite camera is never written; an unchanged one changes nothing.
    TStellarBody other;
    StoreOrbitCamera(other, {std::numeric_limits<double>::infinity(), 30, std::nan("")});
    EXPECT_EQ(other.GetField("camera-dist"), "");
    EXPECT_EQ(other.GetField("camera-lat"), "30");
    EXPECT_EQ(other.GetField("camera-long"), "");
    StoreOrbitCamera(other, {250.5, 30, 12});
    other.Modified = false;
    StoreOrbitCamera(other, {250.5, 30, 12});
    EXPECT_FALSE(other.Modified);
    EXPECT_EQ(other.GetField("camera-dist"), "250.5");
}

TEST(OrbitCamera, EachSystemKeepsItsCameraAlsoAfterSavingAndReopening)
{
    const fs::path dir = fs::temp_directory_path() / ("kalvion-orbitcam-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string file = (dir / "pair.VexaDB").string();
    {
        auto sector = TVexaSector::Create();
        TStellarBody *a = AddStar(*sector, "Aldra");
        TStellarBody *b = AddStar(*sector, "Brisk");
        TRenderOrbitOGL view;
        view.SetSystem(sector.get(), a);
        EXPECT_DOUBLE_EQ(view.Camera.Distance, 200);
        view.Zoom(0.5);
        view.Rotate(30, -20);
        view.SetSystem(sector.get(), b);
        EXPECT_DOUBLE_EQ(view.Camera.Distance, 200);
        EXPECT_DOUBLE_EQ(view.Camera.Latitude, 90);
        EXPECT_DOUBLE_EQ(view.Camera.Longitude, 0);
        view.Zoom(2);
        view.SetSystem(sector.get(), a);
        EXPECT_DOUBLE_EQ(view.Camera.Distance, 100);
        EXPECT_DOUBLE_EQ(view.Camera.Latitude, 70);
        EXPECT_DOUBLE_EQ(view.Camera.Longitude, 30);
        // Showing the same system again keeps the camera as it is.
        view.Rotate(5, 0);
        view.SetSystem(sector.get(), a);
        EXPECT_DOUBLE_EQ(view.Camera.Longitude, 35);
        view.SetSystem(sector.get(), b->GetChild(0));  // a planet of B: its own camera
        EXPECT_EQ(view.Kind(), ORBIT_KIND_PLANET);
        ASSERT_TRUE(SaveToFile(*sector, file, false));
    }
    auto reopened = TVexaSector::Create();
    ASSERT_TRUE(LoadFromFile(*reopened, file));
    TStellarBody *a = reopened->FindRootBodyByName("Aldra");
    TStellarBody *b = reopened->FindRootBodyByName("Brisk");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    reopened->DynaLoad(a);
    reopened->DynaLoad(b);
    TRenderOrbitOGL view;
    view.SetSystem(reopened.get(), a);
    EXPECT_DOUBLE_EQ(view.Camera.Distance, 100);
    EXPECT_DOUBLE_EQ(view.Camera.Latitude, 70);
    EXPECT_DOUBLE_EQ(view.Camera.Longitude, 35);
    view.SetSystem(reopened.get(), b);
    EXPECT_DOUBLE_EQ(view.Camera.Distance, 400);
    fs::remove_all(dir);
}

} // namespace
} // namespace kalvion
