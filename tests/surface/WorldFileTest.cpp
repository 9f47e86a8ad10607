#include "surface/GexTerrain.h"
#include "surface/PlanetTerrain.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

using namespace kalvion;

namespace {

// Builds world files field by field for the older versions.
struct Bytes {
    std::vector<std::uint8_t> b;
    Bytes &Magic(std::int32_t version)
    {
        b.insert(b.end(), {'G', 'e', 'x'});
        return I32(version);
    }
    Bytes &I32(std::int32_t v)
    {
        for (int i = 0; i < 4; ++i)
            b.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i)));
        return *this;
    }
    Bytes &Repeat(std::int32_t v, std::size_t n)
    {
        for (std::size_t i = 0; i < n; ++i)
            I32(v);
        return *this;
    }
    Bytes &F64(double v)
    {
        std::uint64_t u;
        std::memcpy(&u, &v, 8);
        for (int i = 0; i < 8; ++i)
            b.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
        return *this;
    }
};

std::vector<std::uint8_t> Save(const TGexTerrain &t)
{
    std::vector<std::uint8_t> out;
    t.SaveToStream(out);
    return out;
}

std::unique_ptr<TGexTerrain> SmallPlanet()
{
    TPlanetTerrainInput p;
    p.RandomSeed = 8080;
    p.Water = 0.6;
    p.Temp = 280;
    p.Atmosphere = 1.4;
    return SetupPlanetTerrain(p, 32, 16);
}

} // namespace

TEST(GexWorldFile, Version7RoundTrip)
{
    auto t = SmallPlanet();
    t->IceOffset = -3;
    t->StoredSettings[2] = 42;
    t->StoredSwitches = {true, false};
    t->CloudColor = ColorRGB(200, 210, 220);
    t->Elevation().SetRaw(0, 0, -150);  // -1.5 m: stored as -1 m
    t->Elevation().SetRaw(1, 0, 199);   // 1.99 m: stored as 1 m
    t->Elevation().SetRaw(2, 0, 5000000); // beyond int16 metres: clamped
    const auto bytes = Save(*t);
    ASSERT_GT(t->Clouds().Max(), 0);
    EXPECT_EQ(bytes.size(), static_cast<std::size_t>(GEX_HEADER_SIZE) + 32 * 16 * 6 + 12 + 32 * 16);
    EXPECT_EQ(std::memcmp(bytes.data(), "Gex\x07\0\0\0", 7), 0);

    TGexTerrain r(256, 128);
    ASSERT_TRUE(r.LoadFromBytes(bytes.data(), bytes.size())) << r.ErrorMessage();
    EXPECT_EQ(r.Width(), 32);
    EXPECT_EQ(r.Height(), 16);
    EXPECT_EQ(r.OriginFlag, GEX_ORIGIN_GENERATED);
    EXPECT_EQ(r.Circumference, t->Circumference);
    EXPECT_EQ(r.Seed, 8080);
    EXPECT_EQ(r.Lowland, t->Lowland);
    EXPECT_EQ(r.Desert, t->Desert);
    EXPECT_EQ(r.IceOffset, -3);
    EXPECT_EQ(r.ShadingDivisor, 40);
    EXPECT_EQ(r.ElevationMin(), -1000000);
    EXPECT_EQ(r.TemperatureMin(), t->TemperatureMin());
    EXPECT_EQ(r.RainfallMax(), 300);
    EXPECT_EQ(r.Temperature().MinRange(), t->TemperatureMin());
    EXPECT_EQ(r.CraterCount, 7);
    EXPECT_EQ(r.SeaLevelShift, 99999); // trunc((0.6 - 0.5) * 1e6) in doubles
    EXPECT_EQ(r.StoredSettings, t->StoredSettings);
    EXPECT_EQ(r.StoredSwitches, t->StoredSwitches);
    EXPECT_EQ(r.CloudColor, ColorRGB(200, 210, 220));
    EXPECT_EQ(r.CloudOffset, 40);
    EXPECT_EQ(r.Elevation().Get(0, 0), -100);
    EXPECT_EQ(r.Elevation().Get(1, 0), 100);
    EXPECT_EQ(r.Elevation().Get(2, 0), 3276700);
    for (std::size_t i = 3; i < t->CellCount(); ++i) {
        const std::int32_t e = t->Elevation().Cells()[i];
        ASSERT_EQ(r.Elevation().Cells()[i], e / 100 * 100) << i;
        ASSERT_EQ(r.Temperature().Cells()[i], t->Temperature().Cells()[i]) << i;
        ASSERT_EQ(r.Rainfall().Cells()[i], t->Rainfall().Cells()[i]) << i;
        const std::int32_t cl = t->Clouds().Cells()[i];
        ASSERT_EQ(r.Clouds().Cells()[i], cl < 0 ? 0 : cl) << i;
    }
    EXPECT_EQ(r.Clouds().MinRange(), -255);
    // Written again, the file is the same.
    EXPECT_EQ(Save(r), Save(*t));
}

TEST(GexWorldFile, WithoutCloudsNoCloudGridIsStored)
{
    TGexTerrain t(4, 2);
    const auto bytes = Save(t);
    EXPECT_EQ(bytes.size(), static_cast<std::size_t>(GEX_HEADER_SIZE) + 4 * 2 * 6 + 12);
    TGexTerrain r(4, 2);
    r.Clouds().Fill(100);
    r.CloudOffset = 9;
    ASSERT_TRUE(r.LoadFromBytes(bytes.data(), bytes.size()));
    EXPECT_EQ(r.Clouds().Max(), -255);
    EXPECT_EQ(r.CloudOffset, 0);
}

TEST(GexWorldFile, FilesOnDisk)
{
    const auto dir = std::filesystem::temp_directory_path() / "kalvion_gex_test";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "world.gex").string();
    auto t = SmallPlanet();
    ASSERT_TRUE(t->SaveToFile(path)) << t->ErrorMessage();
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    TGexTerrain r(256, 128);
    ASSERT_TRUE(r.LoadFromFile(path)) << r.ErrorMessage();
    EXPECT_EQ(r.Width(), 32);
    EXPECT_EQ(Save(r), Save(*t));

    // A missing file changes nothing.
    TGexTerrain m(8, 4);
    EXPECT_FALSE(m.LoadFromFile((dir / "missing.gex").string()));
    EXPECT_EQ(m.Width(), 8);
    EXPECT_EQ(m.Elevation().Get(0, 0), -100);
    EXPECT_FALSE(t->SaveToFile((dir / "no" / "such" / "folder.gex").string()));
    EXPECT_FALSE(t->ErrorMessage().empty());
    std::filesystem::remove_all(dir);
}

TEST(GexWorldFile, UnknownVersionsReadAsVersionOne)
{
    for (std::int32_t version : {0, 11, -5}) {
        Bytes f;
        f.Magic(version).Repeat(0x112233, 7); // colours
        f.I32(-500).I32(500).I32(-40).I32(40).I32(0).I32(200);
        for (int grid = 0; grid < 3; ++grid)
            for (int i = 0; i < 512 * 512; ++i)
                f.I32(grid * 1000 + i % 1000);
        TGexTerrain t(8, 4);
        ASSERT_TRUE(t.LoadFromBytes(f.b.data(), f.b.size())) << version << " " << t.ErrorMessage();
        EXPECT_EQ(t.Width(), 512);
        EXPECT_EQ(t.Height(), 512);
        EXPECT_EQ(t.DeepWater, 0x112233u);
        EXPECT_EQ(t.ElevationMax(), 500);
        EXPECT_EQ(t.Temperature().MinRange(), -40);
        // Raw values, the ranges applied afterwards without clamping.
        EXPECT_EQ(t.Elevation().Get(1100, 0), 0); // wraps once, still outside
        EXPECT_EQ(t.Elevation().Get(7, 1), (512 + 7) % 1000);
        EXPECT_EQ(t.Rainfall().Get(3, 0), 1003);
        EXPECT_EQ(t.Temperature().Get(0, 0), 2000);
    }
}

TEST(GexWorldFile, OlderVersions)
{
    // Version 2: colours, shading divisor, ranges, size, raw grids.
    Bytes v2;
    v2.Magic(2).Repeat(7, 7).I32(55).I32(-9).I32(9).I32(-8).I32(8).I32(-7).I32(7).I32(2).I32(1);
    v2.I32(11).I32(12).I32(21).I32(22).I32(31).I32(32);
    TGexTerrain a(8, 4);
    ASSERT_TRUE(a.LoadFromBytes(v2.b.data(), v2.b.size())) << a.ErrorMessage();
    EXPECT_EQ(a.ShadingDivisor, 55);
    EXPECT_EQ(a.Width(), 2);
    EXPECT_EQ(a.Elevation().Get(1, 0), 12);
    EXPECT_EQ(a.Rainfall().Get(0, 0), 21);
    EXPECT_EQ(a.Temperature().Get(1, 0), 32);
    EXPECT_EQ(a.Elevation().MaxRange(), 9);

    // Version 3 adds the eight settings and the first switch.
    Bytes v3;
    v3.Magic(3).Repeat(7, 7).I32(55).Repeat(0, 6).Repeat(5, 8).I32(1).I32(1).I32(1).Repeat(4, 3);
    TGexTerrain b(8, 4);
    b.StoredSwitches = {false, false};
    ASSERT_TRUE(b.LoadFromBytes(v3.b.data(), v3.b.size())) << b.ErrorMessage();
    EXPECT_EQ(b.StoredSettings[7], 5);
    EXPECT_TRUE(b.StoredSwitches[0]);
    EXPECT_FALSE(b.StoredSwitches[1]);
    EXPECT_EQ(b.Temperature().Get(0, 0), 4);

    // Version 6: origin flag, no circumference, ice offset, crater count and
    // shift, raw int32 grids and a raw int32 cloud grid.
    Bytes v6;
    v6.Magic(6).I32(1).I32(-77).Repeat(3, 7).I32(-4).I32(40).Repeat(0, 6).I32(9).I32(-300);
    v6.Repeat(1, 8).I32(0).I32(1).I32(2).I32(1);
    v6.I32(-250000).I32(1).I32(-6).I32(7).I32(150).I32(160); // elevation raw, rainfall, temperature
    v6.I32(0x00FF00).I32(25).I32(1).I32(-300).I32(200);
    TGexTerrain c(8, 4);
    c.Circumference = 123.0;
    ASSERT_TRUE(c.LoadFromBytes(v6.b.data(), v6.b.size())) << c.ErrorMessage();
    EXPECT_EQ(c.OriginFlag, 1);
    EXPECT_EQ(c.Circumference, 123.0);
    EXPECT_EQ(c.Seed, -77);
    EXPECT_EQ(c.IceOffset, -4);
    EXPECT_EQ(c.CraterCount, 9);
    EXPECT_EQ(c.SeaLevelShift, -300);
    EXPECT_FALSE(c.StoredSwitches[0]);
    EXPECT_TRUE(c.StoredSwitches[1]);
    EXPECT_EQ(c.Elevation().Get(0, 0), -250000);
    EXPECT_EQ(c.Temperature().Get(1, 0), 160);
    EXPECT_EQ(c.CloudColor, 0x00FF00u);
    EXPECT_EQ(c.CloudOffset, 25);
    EXPECT_EQ(c.Clouds().Get(0, 0), -300);
    EXPECT_EQ(c.Clouds().Get(1, 0), 200);

    // Versions 8 to 10: nothing after the version is read.
    Bytes v9;
    v9.Magic(9).Repeat(123, 50);
    TGexTerrain d(8, 4);
    EXPECT_TRUE(d.LoadFromBytes(v9.b.data(), v9.b.size()));
    EXPECT_EQ(d.Width(), 8);
    EXPECT_EQ(d.DeepWater, ColorRGB(0, 1, 49));
}

TEST(GexWorldFile, TruncatedFilesKeepWhatWasRead)
{
    auto t = SmallPlanet();
    const auto bytes = Save(*t);
    for (std::size_t n = 0; n < bytes.size(); n += (n < 200 ? 1 : 97)) {
        TGexTerrain r(8, 4);
        EXPECT_FALSE(r.LoadFromBytes(bytes.data(), n)) << n;
        EXPECT_FALSE(r.ErrorMessage().empty());
        // Before the size fields the grids stay as they were; afterwards they
        // have the file's size.
        if (n < static_cast<std::size_t>(GEX_HEADER_SIZE)) {
            EXPECT_EQ(r.Width(), 8) << n;
        }
    }
    // The header alone: seed and colours are kept, the grids are not touched.
    TGexTerrain r(8, 4);
    EXPECT_FALSE(r.LoadFromBytes(bytes.data(), GEX_HEADER_SIZE + 10));
    EXPECT_EQ(r.Seed, 8080);
    EXPECT_EQ(r.Width(), 8);
    EXPECT_EQ(r.Elevation().Get(0, 0), -100);
    EXPECT_FALSE(r.LoadFromBytes(nullptr, 100));
}

TEST(GexWorldFile, BadSizesAreDamage)
{
    auto header = [](std::int32_t w, std::int32_t h) {
        Bytes f;
        f.Magic(7).I32(2).F64(40000).I32(1).Repeat(0, 7).I32(0).I32(40).Repeat(0, 6).I32(0).I32(0);
        f.Repeat(0, 8).I32(0).I32(1).I32(w).I32(h);
        EXPECT_EQ(f.b.size(), static_cast<std::size_t>(GEX_HEADER_SIZE));
        return f;
    };
    const std::pair<std::int32_t, std::int32_t> bad[] = {{0, 4},         {4, -1},        {16385, 2},
                                                         {2, 16385},     {INT32_MIN, 2}, {16384, 16384},
                                                         {INT32_MAX, 1}};
    for (auto [w, h] : bad) {
        Bytes f = header(w, h);
        f.Repeat(0, 100);
        TGexTerrain t(8, 4);
        EXPECT_FALSE(t.LoadFromBytes(f.b.data(), f.b.size())) << w << "x" << h;
        EXPECT_EQ(t.Width(), 8);
        EXPECT_EQ(t.Height(), 4);
        EXPECT_EQ(t.Elevation().Get(0, 0), -100);
    }
    // One byte short of three int16 grids.
    Bytes f = header(4, 4);
    f.b.resize(f.b.size() + 4 * 4 * 6 - 1);
    TGexTerrain t(8, 4);
    EXPECT_FALSE(t.LoadFromBytes(f.b.data(), f.b.size()));
    EXPECT_EQ(t.Width(), 8);
    // A cloud grid flagged but missing.
    Bytes g = header(2, 1);
    g.b.resize(g.b.size() + 12, 0);
    g.I32(0).I32(0).I32(1).b.push_back(9);
    TGexTerrain u(8, 4);
    EXPECT_FALSE(u.LoadFromBytes(g.b.data(), g.b.size()));
    EXPECT_EQ(u.Width(), 2);
    EXPECT_EQ(u.Clouds().Max(), -255);
}

TEST(GexWorldFile, GarbageDoesNotCrash)
{
    TRandomState rnd{12345u};
    for (int round = 0; round < 300; ++round) {
        std::vector<std::uint8_t> junk(rnd.Random(600));
        for (auto &b : junk)
            b = static_cast<std::uint8_t>(rnd.Random(256));
        // Steer some rounds to each version so the readers behind them run too.
        if (junk.size() >= 7) {
            junk[3] = static_cast<std::uint8_t>(round % 12);
            junk[4] = junk[5] = junk[6] = 0;
        }
        TGexTerrain t(4, 2);
        t.LoadFromBytes(junk.data(), junk.size());
        // Whatever was read, it can be coloured and written again.
        TRgbImage img = RenderTerrainMap(t);
        std::vector<std::uint8_t> out;
        t.SaveToStream(out);
        EXPECT_GE(out.size(), static_cast<std::size_t>(GEX_HEADER_SIZE));
    }
}
