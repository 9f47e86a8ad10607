#include "exchange/VexaImportCSV.h"

#include "base/Colour.h"
#include "files/SectorFile.h"
#include "model/BodyTypes.h"
#include "model/VexaSector.h"
#include "base/PhysicalFormulas.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <filesystem>
#include <fstream>

namespace kalvion {
namespace {

namespace fs = std::filesystem;

const std::string FIXTURE = std::string(KALVION_TEST_DATA_DIR) + "/stars.csv";

fs::path TempDir(const std::string &name)
{
    fs::path dir = fs::temp_directory_path() / ("kalvion_exchange_" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

void WriteText(const fs::path &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

TEST(CsvImport, FixtureBodyByBodyAndReport)
{
    TVexaSector sector;
    int errors = -1;
    const auto report = ImportCSVWithReport(sector, FIXTURE, false, &errors);
    // Nine lines made a body or a route, and the blank line is a record too.
    const std::vector<std::string> expected = {"10 record(s) imported, 4 record(s) not imported",
                                               "Errors occurred during import on:",
                                               "Line 11 Body: Badstar",
                                               "Line 14 Body: Nowhere",
                                               "Line 15 Body: Unknown",
                                               "Line 16 Body: Short",
                                               "End Import."};
    EXPECT_EQ(report, expected);
    EXPECT_EQ(errors, 4);
    EXPECT_TRUE(sector.Modified);
    ASSERT_EQ(sector.SystemCount(), 4);

    const TStellarBody &sol = *sector.GetSystem(0);
    EXPECT_EQ(sol.Name, "Sol");
    EXPECT_EQ(sol.TypeID, BODY_TYPE_STAR);
    EXPECT_EQ(sol.Color, ColorRGB(255, 255, 0));
    EXPECT_EQ(sol.Notes, "Home");
    EXPECT_EQ(sol.Radius, 1.0);

    // Three consecutive key-2 lines: a multiple named after the first star,
    // at its position, with the stars as children keeping their own places.
    const TStellarBody &alpha = *sector.GetSystem(1);
    EXPECT_EQ(alpha.TypeID, BODY_TYPE_MULT);
    EXPECT_EQ(alpha.Name, "Alpha Centauri A");
    ASSERT_EQ(alpha.ChildrenCount(), 3);
    const TStellarBody &a = *alpha.GetChild(0);
    EXPECT_EQ(a.Parent, &alpha);
    EXPECT_EQ(a.X, 1.234);
    EXPECT_EQ(a.Z, 3.142);
    EXPECT_DOUBLE_EQ(alpha.X, a.X);
    EXPECT_DOUBLE_EQ(alpha.Z, a.Z);
    EXPECT_EQ(a.Mass, 1.1);
    EXPECT_EQ(a.Radius, StarRadiusFromMass(1.1)); // radius 0: from the mass
    EXPECT_EQ(a.Luminosity, StarLuminosityFromMass(1.1));
    EXPECT_EQ(a.Color, StarColorFromSpectral("G2V")); // no colour field
    EXPECT_TRUE(a.Notes.empty());
    const TStellarBody &b = *alpha.GetChild(1);
    // Kept to three decimals, each the double of its decimal: a search for
    // masses between 0.9 and 1.1 finds both stars.
    EXPECT_EQ(b.Mass, 0.9);
    EXPECT_EQ(b.Radius, 0.8);
    EXPECT_EQ(b.Luminosity, 0.5);
    EXPECT_EQ(b.Color, StarColorFromSpectral("K1V")); // empty colour field
    EXPECT_EQ(b.Notes, "Second component");
    const TStellarBody &proxima = *alpha.GetChild(2);
    EXPECT_EQ(proxima.Parent, &alpha);
    EXPECT_EQ(proxima.X, 1.4);
    EXPECT_EQ(proxima.Y, -0.7);
    EXPECT_EQ(proxima.Radius, StarRadiusFromMass(0.12)); // empty radius field
    EXPECT_EQ(proxima.Color, ColorRGB(255, 64, 32));

    const TStellarBody &sirius = *sector.GetSystem(2);
    EXPECT_EQ(sirius.TypeID, BODY_TYPE_WHITEDWARF);
    EXPECT_EQ(sirius.Color, ColorRGB(255, 255, 255));
    EXPECT_EQ(sirius.Spectral, "DA2");
    EXPECT_EQ(sirius.Notes, "A companion");

    // The failed key-5 line leaves the last key at 4: Trio B still joins.
    const TStellarBody &trio = *sector.GetSystem(3);
    EXPECT_EQ(trio.TypeID, BODY_TYPE_MULT);
    EXPECT_EQ(trio.Color, ColorRGB(0x10, 0x20, 0x30));
    ASSERT_EQ(trio.ChildrenCount(), 2);
    EXPECT_EQ(trio.GetChild(1)->Name, "Trio B");
    EXPECT_EQ(trio.GetChild(1)->Y, 5.25);
    EXPECT_EQ(trio.GetChild(1)->Color, ColorRGB(10, 11, 12));

    ASSERT_EQ(sector.RouteCount(), 1);
    const TStellarRoute &route = *sector.GetRoute(0);
    EXPECT_EQ(route.RouteType, "Trade");
    EXPECT_EQ(route.Name, "Main Line");
    EXPECT_DOUBLE_EQ(route.Green, 1.0);
    EXPECT_DOUBLE_EQ(route.Red, 0.0);
    EXPECT_EQ(route.LineStyle, 1);
    EXPECT_DOUBLE_EQ(route.LineWidth, 2.5);
    ASSERT_EQ(route.WaypointCount(), 2);
    EXPECT_EQ(route.GetWaypoint(1)->id, alpha.IDString);
    EXPECT_GE(sector.FindRouteType("Trade"), 0);
}

TEST(CsvImport, ReportTextsWithoutFailures)
{
    TVexaSector sector;
    EXPECT_EQ(ImportCSVWithReport(sector, "", false),
              (std::vector<std::string>{"Import could not be done - no import file selected", "End Import."}));
    EXPECT_EQ(ImportCSVWithReport(sector, "/nonexistent/x.csv", true),
              (std::vector<std::string>{"Import could not be done - /nonexistent/x.csv not found", "End Import."}));
    EXPECT_FALSE(sector.Modified);

    const fs::path dir = TempDir("ok");
    WriteText(dir / "ok.csv", "star,,One,1,2,3,1,1,1,G\nstar,,Two,1,2,3,1,1,1,G");
    EXPECT_EQ(ImportCSVWithReport(sector, (dir / "ok.csv").string(), false),
              (std::vector<std::string>{"2 record(s) imported",
                                        "Import Successful!  Close the window to see the results.", "End Import."}));
    // An empty key never groups.
    EXPECT_EQ(sector.SystemCount(), 2);
    fs::remove_all(dir);
}

// Every line that is not a comment and does not fail is a record, blank
// ones included; the end of the last line is no further line.
TEST(CsvImport, BlankLinesCountAsRecordsAndMakeNothing)
{
    const fs::path dir = TempDir("blank");
    WriteText(dir / "b.csv", "\xEF\xBB\xBF\r\n"          // a mark and nothing else
                             "; comment\n"
                             "star,7,Ann,1,2,3,1,1,1,G\n"
                             "\n"
                             " \t \r\n"
                             "star,7,Bea,1,2,3,1,1,1,K\n"   // still grouped: a blank line has no key
                             "\r\n");
    TVexaSector sector;
    EXPECT_EQ(ImportCSVWithReport(sector, (dir / "b.csv").string(), false),
              (std::vector<std::string>{"6 record(s) imported",
                                        "Import Successful!  Close the window to see the results.", "End Import."}));
    ASSERT_EQ(sector.SystemCount(), 1);
    EXPECT_EQ(sector.GetSystem(0)->TypeID, BODY_TYPE_MULT);
    EXPECT_EQ(sector.GetSystem(0)->Name, "Ann");
    EXPECT_EQ(sector.GetSystem(0)->ChildrenCount(), 2);

    TVexaSector empty;
    TVexaImportCSV imp(empty);
    imp.ImportText("\n\n");
    EXPECT_EQ(imp.ImportedCount, 2);
    EXPECT_EQ(imp.ErrorCount, 0);
    EXPECT_FALSE(imp.Changed);
    imp.ImportText("");
    EXPECT_EQ(imp.ImportedCount, 0);
    fs::remove_all(dir);
}

TEST(CsvImport, GroupingIsByConsecutiveKeysOnly)
{
    TVexaSector sector;
    TVexaImportCSV imp(sector);
    imp.ImportText("star,7,A,0,0,0,1,1,1,G\nstar,8,B,0,0,0,1,1,1,G\nstar,7,C,0,0,0,1,1,1,G\n"
                   "star,9,D,0,0,0,1,1,1,G\nroute,A,B,t,n,,0,1\nstar,9,E,0,0,0,1,1,1,G\n");
    EXPECT_EQ(imp.ErrorCount, 0) << imp.ErrorLines;
    // Route lines leave the key alone, so E joins D.
    ASSERT_EQ(sector.SystemCount(), 4);
    EXPECT_EQ(sector.GetSystem(3)->TypeID, BODY_TYPE_MULT);
    EXPECT_EQ(sector.GetSystem(3)->ChildrenCount(), 2);
}

// Route ends are found by name as the sector finds them: the first system
// of that name ignoring case, whether it was there before the import, came
// after the first route line, or became a multiple system meanwhile.
TEST(CsvImport, RouteEndsAreTheFirstSystemOfTheirName)
{
    TVexaSector sector;
    auto home = TStellarBody::Create();
    home->Name = "Home";
    TStellarBody *homeRaw = home.get();
    sector.AddSystem(std::move(home));
    TVexaImportCSV imp(sector);
    imp.ImportText("route,home,Far,t,early,,0,1\n"      // Far does not exist yet
                   "star,1,Alpha,0,0,0,1,1,1,G\n"
                   "star,2,ALPHA,0,0,0,1,1,1,G\n"
                   "star,3,Far,0,0,0,1,1,1,G\n"
                   "star,3,Far B,0,0,0,1,1,1,G\n"      // Far becomes a multiple system
                   "route,HOME,alpha,t,a,,0,1\n"
                   "route,far,Home,t,b,,0,1\n"
                   "route,Far ,Home,t,blank,,0,1\n"     // names are used as they stand
                   "star,4,Late,0,0,0,1,1,1,G\n"
                   "route,Late,Alpha,t,c,,0,1\n");
    EXPECT_EQ(imp.ErrorCount, 2) << imp.ErrorLines;
    ASSERT_EQ(sector.SystemCount(), 5);
    const TStellarBody *alpha = sector.GetSystem(1);
    const TStellarBody *far = sector.GetSystem(3);
    const TStellarBody *late = sector.GetSystem(4);
    ASSERT_EQ(far->TypeID, BODY_TYPE_MULT);
    ASSERT_EQ(sector.RouteCount(), 3);
    EXPECT_EQ(sector.GetRoute(0)->GetWaypoint(0)->Body, homeRaw);
    EXPECT_EQ(sector.GetRoute(0)->GetWaypoint(1)->Body, alpha);
    EXPECT_EQ(sector.GetRoute(1)->GetWaypoint(0)->Body, far);
    EXPECT_EQ(sector.GetRoute(2)->GetWaypoint(0)->Body, late);
    EXPECT_EQ(sector.GetRoute(2)->GetWaypoint(1)->Body, alpha);

    // A later import sees the sector as it is then, not as it was.
    sector.DeleteRootBody(sector.GetSystem(4));
    imp.ErrorLines.clear();
    imp.ImportText("route,Late,Alpha,t,d,,0,1\nroute,Home,Alpha,t,e,,0,1\n");
    EXPECT_EQ(imp.ErrorCount, 1) << imp.ErrorLines;
    EXPECT_EQ(sector.RouteCount(), 4);
}

TEST(CsvImport, DamagedLinesAreReportedNotImported)
{
    TVexaSector sector;
    TVexaImportCSV imp(sector);
    imp.ImportText("star,1,Nan,nan,0,0,1,1,1,G\n"            // not a number
                   "star,1,Inf,0,inf,0,1,1,1,G\n"
                   "star,1,Huge,0,0,1e999,1,1,1,G\n"
                   "route,A,B,t,n,#FFFFFF,dash,1\n"          // style not an integer
                   "route,A,B,t,n,#FFFFFF,1\n"               // missing width
                   ",1,NoKind,0,0,0,1,1,1,G\n"
                   "   \n"                                  // a blank line: a record that makes nothing
                   "\x01\xff,\xfe,,,,,,,,,,,,,,,,,,,,,,,\n"
                   "star,1,Ok,0 ,0 ,0 ,1 ,x ,y ,G ,#GGGGGG\n"); // trailing blanks in numbers; bad colour
    EXPECT_EQ(imp.ErrorCount, 7) << imp.ErrorLines;
    EXPECT_EQ(imp.ImportedCount, 2); // the blank line counts, though it made nothing
    ASSERT_EQ(sector.SystemCount(), 1);
    const TStellarBody &ok = *sector.GetSystem(0);
    EXPECT_EQ(ok.Spectral, "G ");                          // fields keep trailing blanks but the last
    EXPECT_EQ(ok.Color, ColorRGB(255, 255, 255));          // unreadable colour: the default
    EXPECT_EQ(ok.Radius, StarRadiusFromMass(1.0)); // unreadable radius: from the mass
    EXPECT_EQ(imp.ErrorLines.substr(0, 19), "Line 1 Body: Nan\r\nL");
}

// Failed lines are not counted as imported, the file is read as a stream, and
// neither an endless line nor endless failures are held whole.
TEST(CsvImport, CountsAreHonestAndLargeFilesStream)
{
    const fs::path dir = TempDir("stream");
    {
        std::ofstream blank(dir / "blank.csv", std::ios::binary);
        blank << std::string(1000000, '\n') << "\r\n  \r\n";
    }
    TVexaSector sector;
    auto report = ImportCSVWithReport(sector, (dir / "blank.csv").string(), false);
    EXPECT_EQ(report.front(), "1000002 record(s) imported");
    EXPECT_FALSE(sector.Modified);

    {
        std::ofstream mixed(dir / "mixed.csv", std::ios::binary);
        mixed << "\xEF\xBB\xBFstar,,First,1,2,3,1,1,1,G\n";
        mixed << "star,,Long," << std::string(2 << 20, '7') << ",0,0,1,1,1,G\n"; // over the line limit
        for (int i = 0; i < 3000; ++i)
            mixed << "comet,,Bad" << i << "\n";
        mixed << "star,,Last,1,2,3,1,1,1,G"; // no line end
    }
    TVexaImportCSV imp(sector);
    ASSERT_TRUE(imp.Import((dir / "mixed.csv").string()));
    EXPECT_EQ(imp.ImportedCount, 2);
    EXPECT_EQ(imp.ErrorCount, 3001);
    EXPECT_EQ(imp.ErrorLines.substr(0, 8), "Line 2\r\n");
    EXPECT_LT(imp.ErrorLines.size(), 40000u);
    ASSERT_EQ(sector.SystemCount(), 2);
    EXPECT_EQ(sector.GetSystem(0)->Name, "First");
    EXPECT_EQ(sector.GetSystem(1)->Name, "Last");
    report = ImportCSVWithReport(sector, (dir / "mixed.csv").string(), true);
    EXPECT_EQ(report[0], "2 record(s) imported, 3001 record(s) not imported");
    EXPECT_EQ(report[report.size() - 2], "... and 2001 more line(s)");
    fs::remove_all(dir);
}

TEST(CsvImport, SplitKeepsFieldZeroAndTrimsTheRest)
{
    std::vector<std::string_view> f;
    TVexaImportCSV::SplitFields(" star , a b ,  c  ", f);
    ASSERT_EQ(f.size(), 3u);
    EXPECT_EQ(f[0], " star ");
    EXPECT_EQ(f[1], "a b ");
    EXPECT_EQ(f[2], "c");
    TVexaImportCSV::SplitFields("", f);
    EXPECT_EQ(f.size(), 1u);
}

TEST(CsvImport, ReplaceRemovesOldContentsForGood)
{
    const fs::path dir = TempDir("replace");
    const std::string file = (dir / "s.VexaDB").string();
    {
        TVexaSector sector;
        ImportCSVWithReport(sector, FIXTURE, false);
        sector.AddSubsector(std::make_unique<TVexaSubsector>());
        ASSERT_TRUE(SaveToFile(sector, file, false));
    }
    WriteText(dir / "new.csv", "star,,Fresh,1,1,1,1,1,1,G\n");
    {
        TVexaSector sector;
        ASSERT_TRUE(LoadFromFile(sector, file));
        ASSERT_EQ(sector.SystemCount(), 4);
        EXPECT_FALSE(sector.GetSystem(1)->Loaded); // stored, never opened
        ImportCSVWithReport(sector, (dir / "new.csv").string(), true);
        EXPECT_TRUE(sector.Modified);
        ASSERT_TRUE(SaveToFile(sector, file, false));
    }
    TVexaSector reopened;
    ASSERT_TRUE(LoadFromFile(reopened, file));
    ASSERT_EQ(reopened.SystemCount(), 1);
    EXPECT_EQ(reopened.GetSystem(0)->Name, "Fresh");
    EXPECT_EQ(reopened.RouteCount(), 0);
    EXPECT_EQ(reopened.SubsectorCount(), 0);
    // No rows of the old systems' stars are left behind either.
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt *st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "select count(*) from bodies", -1, &st, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(st, 0), 1);
    sqlite3_finalize(st);
    sqlite3_close(db);
    fs::remove_all(dir);
}

TEST(CsvImport, ReplaceReadsTheWholeFileBeforeEmptyingTheSector)
{
    TVexaSector sector;
    ImportCSVWithReport(sector, FIXTURE, false);
    const int before = sector.SystemCount();
    ASSERT_GT(before, 0);
    sector.Modified = false;
    // A file that is there but fails as it is read.
    const std::string unreadable = "/proc/self/mem";
    std::error_code ec;
    if (!fs::is_regular_file(unreadable, ec))
        GTEST_SKIP() << "needs " << unreadable;
    const auto failed = ImportCSVWithReport(sector, unreadable, true);
    ASSERT_FALSE(failed.empty());
    EXPECT_EQ(failed.front(), "Import could not be done - " + unreadable + " not found");
    EXPECT_EQ(sector.SystemCount(), before);
    EXPECT_FALSE(sector.Modified);

    // A file that reads replaces everything; its routes join its own systems.
    const fs::path dir = TempDir("replace_late");
    WriteText(dir / "two.csv", "star,,Avel,1,0,0,1,1,1,G\nstar,,Brin,4,0,0,1,1,1,K\nroute,Avel,Brin,Trade,Lane,,0,1\n");
    ImportCSVWithReport(sector, (dir / "two.csv").string(), true);
    EXPECT_TRUE(sector.Modified);
    ASSERT_EQ(sector.SystemCount(), 2);
    EXPECT_EQ(sector.GetSystem(1)->Name, "Brin");
    ASSERT_EQ(sector.RouteCount(), 1);
    EXPECT_EQ(sector.GetRoute(0)->Sector, &sector);
    EXPECT_GE(sector.FindRouteType("Trade"), 0);
    fs::remove_all(dir);
}

} // namespace
} // namespace kalvion
