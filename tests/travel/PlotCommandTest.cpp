// kalvion-cli plot: trips in the sector's unit, the stop conditions, "no
// path" with its gap, travel times and a trip kept as a route in the file.
#include "cli/CliApp.h"
#include "files/SectorFile.h"
#include "model/VexaSector.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <sstream>
#include <unistd.h>

using namespace kalvion;

namespace {

struct Result {
    int code;
    std::string out, err;
};

Result Plot(std::vector<std::string> args, bool json = false)
{
    args.insert(args.begin(), "plot");
    if (json)
        args.insert(args.begin(), "--json");
    args.insert(args.begin(), "kalvion-cli");
    std::ostringstream out, err;
    const int code = cli::RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

struct PlotCommand : ::testing::Test {
    std::filesystem::path dir;
    std::string file;

    // A sector in parsecs: Home and Port populated, Waste not, all on the x
    // axis; Far lies beyond a gap.
    void SetUp() override
    {
        dir = std::filesystem::temp_directory_path() /
              ("kalvion-plot-" + std::to_string(getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        file = (dir / "Sector.VexaDB").string();

        TVexaSector sector;
        sector.UnitStarMeasureName = "Parsecs";
        sector.UnitStarMeasureAbbrev = "pc";
        sector.UnitStarMeasureRatio = 3.2616;
        const struct {
            const char *name;
            double xPc, yPc, population;
        } systems[] = {{"Home", 0, 0, 1e9}, {"Waste", 2, 0, 0}, {"Port", 2, 1.5, 5e5},
                       {"Goal", 4, 0, 0},   {"Far", 20, 0, 0}};
        for (const auto &s : systems) {
            auto root = TStellarBody::Create();
            root->Name = s.name;
            root->X = s.xPc * 3.2616;
            root->Y = s.yPc * 3.2616;
            root->Population = s.population;
            if (s.population > 0)
                root->PoliticalAffiliation = "League";
            root->UpdateRootBody();
            sector.AddSystem(std::move(root));
        }
        sector.UpdateRootAttribs();
        std::string error;
        ASSERT_TRUE(SaveToFile(sector, file, false, &error)) << error;
    }

    void TearDown() override { std::filesystem::remove_all(dir); }
};

TEST_F(PlotCommand, TripInTheSectorsUnit)
{
    const Result r = Plot({file, "home", "Goal", "--jump", "2.5"}, true);
    ASSERT_EQ(r.code, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["jumps"], 2);
    EXPECT_NEAR(j["total_distance"].get<double>(), 4, 1e-9);
    ASSERT_EQ(j["stops"].size(), 3u);
    EXPECT_EQ(j["stops"][0]["name"], "Home");
    EXPECT_EQ(j["stops"][0]["jump_distance"], 0);
    EXPECT_EQ(j["stops"][1]["name"], "Waste");
    EXPECT_NEAR(j["stops"][2]["jump_distance"].get<double>(), 2, 1e-9);
    EXPECT_FALSE(j.contains("travel_time_s"));

    const Result text = Plot({file, "Home", "Goal", "--jump", "2.5", "--speed", "2"});
    ASSERT_EQ(text.code, 0) << text.err;
    EXPECT_EQ(text.out, "Home to Goal: 2 jumps, 4 pc\n  Home\n  Waste (2 pc)\n  Goal (2 pc)\n"
                        "Travel Time: 6 yrs 189 days\n");

    const Result timed = Plot({file, "Home", "Goal", "--jump", "2.5", "--speed", "2"}, true);
    ASSERT_EQ(timed.code, 0) << timed.err;
    EXPECT_NEAR(nlohmann::json::parse(timed.out)["travel_time_s"].get<double>(), 4 * 3.2616 / 2 * 31536000, 1e-3);
}

TEST_F(PlotCommand, StopConditions)
{
    for (const auto &extra :
         {std::vector<std::string>{"--populated-only"}, {"--avoid", "waste"}, {"--affiliation", "league"}}) {
        std::vector<std::string> args{file, "Home", "Goal", "--jump", "2.5", "--shortest"};
        args.insert(args.end(), extra.begin(), extra.end());
        const Result r = Plot(args, true);
        ASSERT_EQ(r.code, 0) << r.err;
        const auto j = nlohmann::json::parse(r.out);
        ASSERT_EQ(j["stops"].size(), 3u);
        EXPECT_EQ(j["stops"][1]["name"], "Port");
        EXPECT_NEAR(j["total_distance"].get<double>(), 5, 1e-9);
    }
}

TEST_F(PlotCommand, NoPathNamesTheGap)
{
    const Result r = Plot({file, "Home", "Far", "--jump", "2.5"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "kalvion-cli: no path from \"Home\" to \"Far\": the nearest reachable system is Goal, 16 pc "
                     "from Far; the shortest jump on towards Far is 16 pc to Far, longer than 2.5 pc\n");
    const Result j = Plot({file, "Home", "Far", "--jump", "2.5"}, true);
    EXPECT_EQ(j.code, 1);
    const auto json = nlohmann::json::parse(j.out);
    EXPECT_EQ(json["found"], false);
    EXPECT_EQ(json["nearest_reachable"], "Goal");
    EXPECT_EQ(json["gap_to"], "Far");
    EXPECT_NEAR(json["gap"].get<double>(), 16, 1e-9);
}

TEST_F(PlotCommand, SavedRouteIsInTheFileAndFollowedAlongRoutes)
{
    const Result r = Plot({file, "Home", "Goal", "--jump", "2.5", "--populated-only", "--save-route", "Supply Run",
                           "--save-type", "Supply", "--color", "FF8000"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("Saved as route \"Supply Run\""), std::string::npos);
    {
        TVexaSector sector;
        ASSERT_TRUE(LoadFromFile(sector, file));
        ASSERT_EQ(sector.RouteCount(), 1);
        const TStellarRoute *route = sector.GetRoute(0);
        EXPECT_EQ(route->Name, "Supply Run");
        EXPECT_EQ(route->RouteType, "Supply");
        EXPECT_DOUBLE_EQ(route->Red, 1);
        EXPECT_DOUBLE_EQ(route->Green, 128 / 255.0);
        ASSERT_EQ(route->WaypointCount(), 3);
        const char *names[] = {"Home", "Port", "Goal"};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(route->GetWaypoint(i)->id, sector.FindRootBodyByName(names[i])->IDString);
            EXPECT_EQ(route->GetWaypoint(i)->Body, sector.FindRootBodyByName(names[i]));
        }
    }
    // Along routes the trip keeps to the saved route, though Waste is nearer.
    const Result along = Plot({file, "Goal", "Home", "--along-routes"}, true);
    ASSERT_EQ(along.code, 0) << along.err;
    const auto j = nlohmann::json::parse(along.out);
    ASSERT_EQ(j["stops"].size(), 3u);
    EXPECT_EQ(j["stops"][1]["name"], "Port");
    EXPECT_EQ(Plot({file, "Goal", "Home", "--along-routes", "--route-type", "Trade"}).code, 1);
    EXPECT_EQ(Plot({file, "Goal", "Home", "--along-routes", "--route-type", "supply"}).code, 0);
    // Waste lies on no route.
    EXPECT_EQ(Plot({file, "Home", "Waste", "--along-routes"}).code, 1);
}

TEST_F(PlotCommand, Usage)
{
    EXPECT_EQ(Plot({file, "Home", "Goal"}).code, 2);
    EXPECT_EQ(Plot({file, "Home", "Goal", "--jump", "0"}).code, 2);
    EXPECT_EQ(Plot({file, "Home", "Goal", "--jump", "-3"}).code, 2);
    EXPECT_EQ(Plot({file, "Home", "Goal", "--jump", "x"}).code, 2);
    EXPECT_EQ(Plot({file, "Home", "Goal", "--jump", "3", "--shortest", "--fewest-jumps"}).code, 2);
    EXPECT_EQ(Plot({file, "Home", "Goal", "--jump", "3", "--route-type", "Trade"}).code, 2);
    EXPECT_EQ(Plot({file, "Home", "Goal", "--jump", "3", "--save-route", "R", "--color", "red"}).code, 2);
    EXPECT_EQ(Plot({file, "Home", "Nowhere", "--jump", "3"}).code, 1);
    EXPECT_EQ(Plot({file, "Home", "Goal", "--jump", "3", "--avoid", "Nowhere"}).code, 1);
    EXPECT_EQ(Plot({file, "Home", "Goal", "--jump", "3", "--speed", "fast"}).code, 1);
    EXPECT_EQ(Plot({(dir / "missing.VexaDB").string(), "Home", "Goal", "--jump", "3"}).code, 1);
    TVexaSector sector;
    ASSERT_TRUE(LoadFromFile(sector, file));
    EXPECT_EQ(sector.RouteCount(), 0);
}

} // namespace
