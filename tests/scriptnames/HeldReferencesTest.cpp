// What the program keeps on a script's behalf (a searcher's sector and
// results, route waypoints, the tables of an engine) is checked where it is
// used: once the object is
// gone the script sees nil or a script error, never the freed object.
#include "ScriptRun.h"
#include "../streams/RecordFileV4.h"
#include "../support/OlderSectorFile.h"

#include "model/StellarBody.h"
#include "model/StellarRoute.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace kalvion;
using namespace kalvion::testing_names;

namespace {

// A separate sector of three systems, and a searcher that found them all.
constexpr const char *kSearched = R"(
Set s = CreateSector()
For i = 1 To 3
    Set b = CreateBody("Star")
    b.Name = "Sys" & i
    s.AddSystem b
Next
Set q = CreateVexaSearcher(s)
q.SearchAll
)";

} // namespace

TEST(HeldReferences, SearchResultsEndWithTheirSectorOrTheirBodies)
{
    TScriptRunner r;
    ASSERT_TRUE(r.Run(std::string(kSearched) + "MsgBox q.GetResultCount() & \"|\" & q.GetResult(2).Name")) << r.LastError();
    EXPECT_EQ(r.Printed.back(), "3|Sys2");

    // Emptying the sector frees the bodies the results name.
    ASSERT_TRUE(r.Run(std::string(kSearched) + "s.clear\nMsgBox isNull(q.GetResult(1))")) << r.LastError();
    EXPECT_EQ(r.Printed.back(), "True");
    EXPECT_FALSE(r.Run(std::string(kSearched) + "s.clear\nx = q.GetResult(1).Name"));
    EXPECT_NE(r.LastError().find("Object required"), std::string::npos) << r.LastError();

    // A second run adds to the results: of the first run's, only the bodies
    // still alive stay (the searcher read the freed ones before).
    ASSERT_TRUE(r.Run(std::string(kSearched) +
                      "s.clear\nSet b = CreateBody(\"Star\")\nb.Name = \"New\"\ns.AddSystem b\nq.SearchAll\n"
                      "MsgBox q.GetResultCount() & \"|\" & q.GetResult(1).Name\nq.SearchRootOnly\n"
                      "MsgBox q.GetResultCount()"))
        << r.LastError();
    EXPECT_EQ(r.Printed[r.Printed.size() - 2], "1|New");
    EXPECT_EQ(r.Printed.back(), "2");

    // Freeing the sector: no result, and the searcher has nothing to search.
    ASSERT_TRUE(r.Run(std::string(kSearched) + "Set k = s.GetSystem(0)\nFreeObject s\nMsgBox isNull(q.GetResult(1))"))
        << r.LastError();
    EXPECT_EQ(r.Printed.back(), "True");
    for (const char *use : {"q.SearchAll", "x = q.WithinRange(CreateBody(\"\"))"}) {
        EXPECT_FALSE(r.Run(std::string(kSearched) + "FreeObject s\n" + use)) << use;
        EXPECT_NE(r.LastError().find("the searcher has no sector"), std::string::npos) << use << ": " << r.LastError();
    }
}

TEST(HeldReferences, RoutesAndMovesTakeOnlyBodiesOfTheirSector)
{
    TVexaSector sector;
    TScriptRunner r;
    r.Host.Sector = &sector;
    // The usual way: a new route through two systems, added to their sector.
    ASSERT_TRUE(r.Run(R"(
Set s = GetCurrentSector()
For i = 1 To 2
    Set b = CreateBody("Star")
    b.Name = "Sys" & i
    s.AddSystem b
Next
Set t = CreateRoute()
t.AddSystem s.GetSystem(0)
t.AddSystem s.GetSystem(1)
MsgBox s.AddRoute(t)
)")) << r.LastError();
    ASSERT_EQ(sector.RouteCount(), 1);
    EXPECT_EQ(sector.GetRoute(0)->GetWaypoint(1)->Body, sector.GetSystem(1));

    struct TCase {
        const char *Script, *Error;
    };
    const TCase refused[] = {
        // A body the script made and never placed is freed when the run ends.
        {"Set t = CreateRoute()\nt.AddSystem CreateBody(\"Star\")", "the body is not in a sector"},
        {"GetCurrentSector().GetRoute(0).AddSystem CreateBody(\"Star\")", "not in the route's sector"},
        // A body of another sector, directly or through a route added later.
        {"Set o = CreateSector()\no.AddSystem CreateBody(\"Star\")\nGetCurrentSector().GetRoute(0).AddSystem o.GetSystem(0)",
         "not in the route's sector"},
        {"Set o = CreateSector()\no.AddSystem CreateBody(\"Star\")\nSet t = CreateRoute()\nt.AddSystem o.GetSystem(0)\n"
         "GetCurrentSector().AddRoute t",
         "is not in this sector"},
        // A system freed before the route is placed.
        {"Set o = CreateSector()\no.AddSystem CreateBody(\"Star\")\nSet t = CreateRoute()\nt.AddSystem o.GetSystem(0)\n"
         "FreeObject o\nGetCurrentSector().AddRoute t",
         "is gone"},
        // Nor may a body of the sector move under one the script made.
        {"Set s = GetCurrentSector()\nSet c = CreateBody(\"\")\ns.GetSystem(0).AddChild c\n"
         "s.ReassignChild c, CreateBody(\"\")",
         "both bodies must be in this sector"},
    };
    for (const TCase &c : refused) {
        EXPECT_FALSE(r.Run(c.Script)) << c.Script;
        EXPECT_NE(r.LastError().find(c.Error), std::string::npos) << c.Script << ": " << r.LastError();
    }
    EXPECT_EQ(sector.RouteCount(), 1);
    EXPECT_EQ(sector.GetRoute(0)->WaypointCount(), 2);
}

TEST(HeldReferences, AWaypointForgetsASystemThatIsFreed)
{
    TVexaSector sector;
    TStellarBody *a = sector.NewSystem(BODY_TYPE_STAR);
    TStellarBody *b = sector.NewSystem(BODY_TYPE_STAR);
    auto route = TStellarRoute::Create();
    route->AddSystem(a);
    route->AddSystem(b);
    sector.AddRoute(std::move(route));
    TRouteWaypoint &w = *sector.GetRoute(0)->GetWaypoint(1);
    // Freed without the sector's own bookkeeping (what a stale pointer saw).
    std::unique_ptr<TStellarBody> owned = std::move(sector.Systems[1]);
    owned.reset();
    EXPECT_EQ(w.Body, nullptr);
    EXPECT_EQ(sector.GetRoute(0)->GetWaypoint(0)->Body, a);
}

TEST(HeldReferences, ATableEndsWithItsEngine)
{
    TScriptRunner r;
    const std::string file = ::testing::TempDir() + "/kalvion_held_refs_" + std::to_string(::getpid()) + ".ilt";
    {
        std::ofstream out(file, std::ios::binary);
        out << "table: Main\r\nOne\r\nTwo\r\nendtable:\r\n";
    }
    const std::string load = "Set app = TTKTableApplication.Create\napp.Load \"" + file + "\", \"\"\n"
                             "Set t = app.GetTableByName(\"Main\")\n";
    ASSERT_TRUE(r.Run(load + "MsgBox isNull(t)")) << r.LastError();
    EXPECT_EQ(r.Printed.back(), "False");
    for (const char *end : {"FreeObject app", "app.Clear"}) {
        EXPECT_FALSE(r.Run(load + end + "\nt.Shuffle")) << end;
        EXPECT_NE(r.LastError().find("Object required"), std::string::npos) << end << ": " << r.LastError();
    }
    std::filesystem::remove(file);
}

// An object of another class never reaches a routine that reads a body.
TEST(HeldReferences, SortComparersTakeOnlyBodies)
{
    TScriptRunner r;
    ASSERT_TRUE(r.Run("Set a = CreateBody(\"\") : a.Name = \"A\"\nSet b = CreateBody(\"\") : b.Name = \"B\"\n"
                      "MsgBox SortOnName(a, b) & \"|\" & SortOnSystemName(b, a)"))
        << r.LastError();
    EXPECT_EQ(r.Printed.back(), "-1|1");
    for (const char *call : {"MsgBox SortOnSystemName(CreateRoute(), CreateRoute())",
                             "MsgBox SortOnName(CreateBody(\"\"), CreateSector())",
                             "Set l = TStringList.Create\nMsgBox VexaSearch3SortByProp(l, l)",
                             "MsgBox VexaSearch3SortByProp(1, 2)"}) {
        EXPECT_FALSE(r.Run(call)) << call;
        EXPECT_FALSE(r.LastError().empty()) << call;
    }
}

// An older file read after a record file lets the record file go: the
// sector no longer reads it (New used to call into the freed file).
TEST(HeldReferences, ASectorLetsGoOfTheRecordFileItNoLongerHolds)
{
    const std::string dir = ::testing::TempDir();
    const std::string records = dir + "/held-records.Sector", stream = dir + "/held-stream.Sector";
    {
        const std::vector<std::uint8_t> bytes = kalvion::test::RecordFileV4();
        std::ofstream(records, std::ios::binary)
            .write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    kalvion::test::WriteOlderSectorFile(stream, {"Alpha", "Beta"});
    TScriptRunner r;
    ASSERT_TRUE(r.Run("Set s = CreateSector()\ns.LoadFromFile_v1_v2 \"" + records + "\"\ns.LoadFromFile_v1_v2 \"" +
                      stream + "\"\nMsgBox s.SystemCount\ns.New\nMsgBox s.SystemCount"))
        << r.LastError();
    ASSERT_EQ(r.Printed.size(), 2u);
    EXPECT_EQ(r.Printed[0], "2");
    EXPECT_EQ(r.Printed[1], "0");
}
