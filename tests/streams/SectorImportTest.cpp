#include "files/SectorImport.h"
#include "model/VexaSector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>

using namespace kalvion;

namespace {

TStellarBody *Root(TVexaSector &s, const std::string &name, double x)
{
    auto b = TStellarBody::Create();
    b->Name = name;
    b->TypeID = BODY_TYPE_STAR;
    b->X = x;
    b->RecordID = 5;
    auto p = TStellarBody::Create();
    p->TypeID = BODY_TYPE_TERRESTRIAL;
    p->Population = 10;
    b->AddChild(std::move(p));
    TStellarBody *raw = b.get();
    s.AddSystem(std::move(b));
    return raw;
}

void MakeOther(TVexaSector &o, TStellarBody *shared)
{
    TStellarBody *a = Root(o, "Other A", 0);
    TStellarBody *b = Root(o, "Shared copy", 1);
    std::string id = shared->IDString;
    for (char &c : id)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c))); // ids compare ignoring case
    b->IDString = id;
    auto route = TStellarRoute::Create();
    route->AddSystem(a);
    route->AddSystem(b);
    o.AddRoute(std::move(route));
    auto sub = TVexaSubsector::Create();
    sub->Name = "Core";
    sub->SizeX = 99;
    sub->Color = 7;
    o.AddSubsector(std::move(sub));
}

} // namespace

TEST(SectorImport, Placements)
{
    TVexaSector a, b;
    a.SizeX = 20;
    b.SizeX = 20;
    b.SizeZ = 40;
    auto off = ImportPlacementOffset(a, b, SECTOR_IMPORT_RIGHT, {5, 5, 5});
    EXPECT_DOUBLE_EQ(off.X, 20);
    EXPECT_DOUBLE_EQ(off.Y, 0);
    off = ImportPlacementOffset(a, b, SECTOR_IMPORT_FRONT, {5, 5, 5});
    EXPECT_DOUBLE_EQ(off.Z, -30);
    off = ImportPlacementOffset(a, b, SECTOR_IMPORT_TOP, {});
    EXPECT_DOUBLE_EQ(off.Y, 20);
    off = ImportPlacementOffset(a, b, SECTOR_IMPORT_LEFT, {});
    EXPECT_DOUBLE_EQ(off.X, -20);
    off = ImportPlacementOffset(a, b, SECTOR_IMPORT_BACK, {});
    EXPECT_DOUBLE_EQ(off.Z, 30);
    off = ImportPlacementOffset(a, b, SECTOR_IMPORT_BOTTOM, {});
    EXPECT_DOUBLE_EQ(off.Y, -20);
    off = ImportPlacementOffset(a, b, SECTOR_IMPORT_CENTER, {5, 5, 5});
    EXPECT_DOUBLE_EQ(off.X, 0);
    off = ImportPlacementOffset(a, b, SECTOR_IMPORT_COORDS, {1, 2, 3});
    EXPECT_DOUBLE_EQ(off.Z, 3);
    off = ImportPlacementOffset(a, b, 42, {1, 2, 3});
    EXPECT_DOUBLE_EQ(off.Y, 2);
}

TEST(SectorImport, ModesAgainstSharedSystems)
{
    for (int mode : {SECTOR_IMPORT_ALLOW, SECTOR_IMPORT_UPDATE, SECTOR_IMPORT_SKIP}) {
        TVexaSector s;
        TStellarBody *mine = Root(s, "Mine", 0);
        TStellarBody *shared = Root(s, "Shared", 3);
        auto sub = TVexaSubsector::Create();
        sub->Name = "core";
        sub->SizeX = 1;
        s.AddSubsector(std::move(sub));
        s.SelectBody(shared);
        TVexaSector o;
        MakeOther(o, shared);
        ImportSectorFrom(s, o, mode, SECTOR_IMPORT_RIGHT, 0, 0, 0);
        EXPECT_TRUE(s.Modified);
        const int expected = mode == SECTOR_IMPORT_ALLOW ? 4 : 3;
        ASSERT_EQ(s.SystemCount(), expected) << mode;
        EXPECT_EQ(s.GetSystem(0), mine);
        TStellarBody *importedA = s.FindRootBodyByName("Other A");
        ASSERT_NE(importedA, nullptr);
        EXPECT_DOUBLE_EQ(importedA->X, 20); // both sectors are 20 ly wide
        EXPECT_EQ(importedA->RecordID, 0);
        EXPECT_TRUE(importedA->TVexaBase::Modified);
        ASSERT_EQ(importedA->ChildrenCount(), 1);
        ASSERT_EQ(s.RouteCount(), 1);
        TStellarRoute *route = s.GetRoute(0);
        // Waypoints resolve by exact id: a skipped system differing in case drops out.
        EXPECT_EQ(route->WaypointCount(), mode == SECTOR_IMPORT_SKIP ? 1 : 2);
        EXPECT_EQ(route->GetWaypoint(0)->Body, importedA);
        if (mode == SECTOR_IMPORT_UPDATE) {
            EXPECT_EQ(s.FindRootBodyByName("Shared"), nullptr);
            EXPECT_NE(s.FindRootBodyByName("Shared copy"), nullptr);
            EXPECT_EQ(s.SelectedCount(), 0); // the replaced root left the selection
            EXPECT_EQ(s.DeletedObjects.size(), 1u);
            ASSERT_EQ(s.SubsectorCount(), 1);
            EXPECT_DOUBLE_EQ(s.GetSubsector(0)->SizeX, 99);
            EXPECT_DOUBLE_EQ(s.GetSubsector(0)->X, 20);
            EXPECT_EQ(s.GetSubsector(0)->Name, "Core");
        } else if (mode == SECTOR_IMPORT_SKIP) {
            EXPECT_NE(s.FindRootBodyByName("Shared"), nullptr);
            EXPECT_EQ(s.FindRootBodyByName("Shared copy"), nullptr);
            EXPECT_EQ(s.SelectedCount(), 1);
            EXPECT_EQ(s.SubsectorCount(), 1);
            EXPECT_DOUBLE_EQ(s.GetSubsector(0)->SizeX, 1);
        } else {
            EXPECT_EQ(s.SubsectorCount(), 2);
        }
    }
}

TEST(SectorImport, RoutesOfSkippedSystemsAttachToTheExistingOnes)
{
    TVexaSector s;
    TStellarBody *shared = Root(s, "Shared", 3);
    TVexaSector o;
    MakeOther(o, shared);
    // Exact same id so the waypoint resolves to our own system.
    o.GetSystem(1)->IDString = shared->IDString;
    o.GetRoute(0)->GetWaypoint(1)->id = shared->IDString;
    ImportSectorFrom(s, o, SECTOR_IMPORT_SKIP, SECTOR_IMPORT_CENTER, 0, 0, 0);
    ASSERT_EQ(s.RouteCount(), 1);
    ASSERT_EQ(s.GetRoute(0)->WaypointCount(), 2);
    EXPECT_EQ(s.GetRoute(0)->GetWaypoint(1)->Body, shared);
}

TEST(SectorImport, IntoItself)
{
    for (int mode : {SECTOR_IMPORT_ALLOW, SECTOR_IMPORT_UPDATE, SECTOR_IMPORT_SKIP}) {
        TVexaSector s;
        Root(s, "A", 0);
        Root(s, "B", 1);
        const std::string idA = s.GetSystem(0)->IDString;
        ImportSectorFrom(s, s, mode, SECTOR_IMPORT_CENTER, 0, 0, 0);
        if (mode == SECTOR_IMPORT_ALLOW) {
            ASSERT_EQ(s.SystemCount(), 4);
            EXPECT_EQ(s.GetSystem(2)->IDString, idA);
        } else if (mode == SECTOR_IMPORT_UPDATE) {
            ASSERT_EQ(s.SystemCount(), 2);
            EXPECT_EQ(s.GetSystem(0)->IDString, idA);
            EXPECT_EQ(s.GetSystem(0)->RecordID, 0); // stored as new rows
            EXPECT_EQ(s.DeletedObjects.size(), 2u);
        } else {
            EXPECT_EQ(s.SystemCount(), 2);
        }
    }
}

TEST(Catalogue, StarsArePlacedScaledAndShifted)
{
    const std::string path = ::testing::TempDir() + "/catalogue.txt";
    {
        std::ofstream f(path, std::ios::binary);
        f << "Spectral type: ignored before the first entry\r\n"
          << "Gliese code: Gl 1\r\n"
          << "Spectral type: M3V   \r\n"
          << "Luminosity:  0.0035\r\n"
          << "Earth-based (1.0, 0.0, 0.0)\r\n"
          << "Remarks: Near Star\r\n"
          << "Gliese code: Gl 2\r\n"
          << "Spectral type: G2V\r\n"
          << "Remarks: No position\r\n"
          << "Gliese code: Gl 3\r\n"
          << "Earth-based (0, -2, 0)\n";
    }
    TVexaSector s;
    auto existing = TStellarBody::Create();
    existing->X = 1;
    s.AddSystem(std::move(existing));
    auto route = TStellarRoute::Create();
    route->AddSystem(s.GetSystem(0));
    route->AddSystem(s.GetSystem(0));
    s.AddRoute(std::move(route));
    EXPECT_EQ(ImportGliese(s, path), 2);
    ASSERT_EQ(s.SystemCount(), 3);
    const double R = 6.52;
    TStellarBody *near = s.GetSystem(1);
    EXPECT_EQ(near->Name, "Near Star");
    EXPECT_EQ(near->Spectral, "M3V");
    EXPECT_EQ(near->BodyType, "Star");
    EXPECT_EQ(near->Color, ColorRGB(255, 204, 111));
    EXPECT_DOUBLE_EQ(near->Luminosity, 0.0035);
    EXPECT_DOUBLE_EQ(near->X, 3.26 + R / 2);
    EXPECT_DOUBLE_EQ(s.GetSystem(2)->Y, -6.52 + R / 2);
    EXPECT_DOUBLE_EQ(s.GetSystem(0)->X, 1 + R / 2); // every root moves
    EXPECT_TRUE(s.GetSystem(0)->TVexaBase::Modified);
    EXPECT_DOUBLE_EQ(s.GetRoute(0)->GetWaypoint(0)->X, 1 + R / 2);
    EXPECT_DOUBLE_EQ(s.SizeX, R);
    EXPECT_DOUBLE_EQ(s.GridZ, R / 2);
    EXPECT_EQ(s.Camera, (TVexaPoint{0, R / 4, -(R + R / 2)}));
    EXPECT_EQ(s.Target, (TVexaPoint{R / 2, R / 2, R / 2}));
    EXPECT_TRUE(s.Modified);
}

TEST(Catalogue, NothingUsableChangesNothing)
{
    const std::string path = ::testing::TempDir() + "/empty-catalogue.txt";
    {
        std::ofstream f(path);
        f << "Gliese code: Gl 9\nEarth-based (x, y, z)\nRemarks: broken\n";
    }
    TVexaSector s;
    s.SizeX = 33;
    EXPECT_EQ(ImportGliese(s, path), 0);
    EXPECT_EQ(ImportGliese(s, path + ".missing"), 0);
    EXPECT_EQ(s.SystemCount(), 0);
    EXPECT_DOUBLE_EQ(s.SizeX, 33);
    EXPECT_FALSE(s.Modified);
}

// A listing of some megabytes read line by line: good entries among damaged
// ones (numbers that do not read, positions beyond any sector, a line far
// longer than any catalogue line, stray bytes) come in; the damaged ones are
// counted, not guessed at.
TEST(Catalogue, LargeListingWithDamagedLinesIsReadLineByLine)
{
    const std::string path = ::testing::TempDir() + "/large-catalogue.txt";
    constexpr int GOOD = 40000;
    {
        std::ofstream f(path, std::ios::binary);
        for (int i = 0; i < GOOD; ++i) {
            f << "Gliese code: Gl " << i << "\r\n"
              << "Spectral type: G2V\r\n"
              << "Remarks: Star " << i << "\r\n"
              << "Earth-based (" << (i % 100) * 0.25 << ", " << (i % 7) << ", -1.5)\r\n";
            if (i % 10000 == 0) {
                f << "Gliese code: broken " << i << "\n"
                  << "Earth-based (1,, 2)\n"
                  << "Gliese code: far " << i << "\n"
                  << "Earth-based (1e308, 0, 0)\n"
                  << "Gliese code: beyond " << i << "\n"
                  << "Earth-based (400000, 0, 0)\n"
                  << std::string(1000, '\0') << "\n";
            }
        }
        // A position line longer than any line is worth: passed over, and
        // its star stays unplaced.
        f << "Gliese code: long\n" << "Earth-based (1, 2, 3" << std::string(CATALOGUE_MAX_LINE, ' ') << ")\n";
        f << "Gliese code: last, no line end\nEarth-based (0, 0, 2)";
    }
    ASSERT_GT(std::ifstream(path, std::ios::ate | std::ios::binary).tellg(), 3 << 20);

    TVexaSector s;
    TCatalogueSkips skips;
    std::string error;
    EXPECT_EQ(ImportGliese(s, path, &error, &skips), GOOD + 1) << error;
    EXPECT_EQ(error, "");
    EXPECT_EQ(skips.Unplaced, 3 * 4 + 1); // three damaged entries each 10000 lines, and the long one
    EXPECT_EQ(skips.LongLines, 1);
    ASSERT_EQ(s.SystemCount(), GOOD + 1);
    const double reach = std::sqrt(24.75 * 24.75 + 6.0 * 6.0 + 1.5 * 1.5) * 3.26;
    EXPECT_NEAR(s.SizeX, reach, 1e-9);
    EXPECT_EQ(s.GetSystem(1)->Name, "Star 1");
    EXPECT_EQ(s.GetSystem(1)->Spectral, "G2V");
    EXPECT_DOUBLE_EQ(s.GetSystem(GOOD)->Z, 2 * 3.26 + s.SizeX / 2);
    std::remove(path.c_str());
}

// A missing listing, a folder and an endless device fail with the file's name
// and change nothing.
TEST(Catalogue, ListingsThatCannotBeReadSaySo)
{
    TVexaSector s;
    std::string error;
    const std::string missing = ::testing::TempDir() + "/no-such-catalogue.txt";
    EXPECT_EQ(ImportGliese(s, missing, &error), 0);
    EXPECT_EQ(error, "The catalogue \"" + missing + "\" does not exist");
    EXPECT_EQ(ImportGliese(s, ::testing::TempDir(), &error), 0);
    EXPECT_NE(error.find("is a folder"), std::string::npos) << error;
    EXPECT_EQ(ImportGliese(s, "/dev/zero", &error), 0);
    EXPECT_NE(error.find("longer than 64 MB; nothing was imported"), std::string::npos) << error;
    EXPECT_EQ(s.SystemCount(), 0);
    EXPECT_FALSE(s.Modified);
}
