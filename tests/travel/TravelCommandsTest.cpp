#include "cli/CliApp.h"
#include "cli/JsonOut.h"
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

Result RunArgs(std::vector<std::string> args)
{
    args.insert(args.begin(), "kalvion-cli");
    std::ostringstream out, err;
    const int code = cli::RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

struct TravelCommands : ::testing::Test {
    std::filesystem::path dir;
    std::string file;

    static std::unique_ptr<TStellarBody> Body(const char *name, int type, double distance)
    {
        auto b = TStellarBody::Create();
        b->Name = name;
        b->TypeID = type;
        b->Distance = distance;
        b->Mass = 1;
        return b;
    }

    void SetUp() override
    {
        dir = std::filesystem::temp_directory_path() /
              ("kalvion-travel-" + std::to_string(getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        file = (dir / "Sector.VexaDB").string();

        TVexaSector sector;
        sector.EpochYear = 3000;
        sector.DateFormat = "y-mm-dd h:n:s";
        const double xs[] = {0, 4.3, 9, 30};
        const char *names[] = {"Sol", "Far", "Farther", "Alone"};
        for (int i = 0; i < 4; ++i) {
            auto root = Body(names[i], BODY_TYPE_STAR, 0);
            root->X = xs[i];
            if (i == 0) {
                auto planet = Body("Terra", BODY_TYPE_TERRESTRIAL, 1.5e8);
                planet->Population = 1e9;
                planet->AddChild(Body("Luna", BODY_TYPE_TERRESTRIAL, 4e5));
                root->AddChild(std::move(planet));
                root->AddChild(Body("Jove", BODY_TYPE_GASGIANT, 7.8e8));
                root->UpdateRootBody();
            }
            sector.AddSystem(std::move(root));
        }
        std::string error;
        ASSERT_TRUE(SaveToFile(sector, file, false, &error)) << error;
    }

    void TearDown() override { std::filesystem::remove_all(dir); }

    int StoredRoutes()
    {
        TVexaSector sector;
        EXPECT_TRUE(LoadFromFile(sector, file));
        return sector.RouteCount();
    }
};

TEST_F(TravelCommands, ProximityRoutesAreSaved)
{
    const Result r = RunArgs({"routes", file, "--proximity", "--style", "all", "--max", "10", "--per-system", "1",
                              "--type", "Trade", "--color", "FF8000"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "2 routes created\n");
    EXPECT_EQ(StoredRoutes(), 2);

    // Populated systems only (the default): Sol alone has people.
    const Result pop = RunArgs({"--json", "routes", file, "--proximity"});
    EXPECT_EQ(pop.code, 0) << pop.err;
    EXPECT_EQ(nlohmann::json::parse(pop.out)["routes"], 0);

    const Result sel = RunArgs({"routes", file, "--proximity", "--style", "sel", "--select", "Far", "--select",
                                "Farther", "--random-color", "--seed", "5"});
    EXPECT_EQ(sel.code, 0) << sel.err;
    EXPECT_EQ(sel.out, "1 route created\n");
    EXPECT_EQ(StoredRoutes(), 3);
}

TEST_F(TravelCommands, RoutesUsage)
{
    // Proximity is the default mode.
    EXPECT_EQ(RunArgs({"routes", file}).code, 0);
    EXPECT_EQ(RunArgs({"routes", file, "--proximity", "--style", "near"}).code, 2);
    EXPECT_EQ(RunArgs({"routes", file, "--proximity", "--color", "12345G"}).code, 2);
    EXPECT_EQ(RunArgs({"routes", file, "--proximity", "--color", "FFFFFF", "--random-color"}).code, 2);
    EXPECT_EQ(RunArgs({"routes", file, "--proximity", "--select", "Nowhere"}).code, 1);
    EXPECT_EQ(RunArgs({"routes", (dir / "missing.VexaDB").string(), "--proximity"}).code, 1);
    for (const std::vector<std::string> &bad :
         {std::vector<std::string>{"--max", "-5"}, {"--min", "-1"}, {"--per-system", "-1"}, {"--line-style", "999"},
          {"--line-style", "-1"}, {"--width", "-5"}, {"--width", "0"}}) {
        std::vector<std::string> args = {"routes", file, "--proximity"};
        args.insert(args.end(), bad.begin(), bad.end());
        const Result r = RunArgs(args);
        EXPECT_EQ(r.code, 2) << bad[0] << " " << bad[1];
        EXPECT_FALSE(r.err.empty());
    }
    EXPECT_EQ(StoredRoutes(), 0);
}

// Every pair of 50,000 systems would be over a billion routes: refused with
// the count before any memory is spent, and the file is left as it was.
TEST_F(TravelCommands, RoutesBeyondMemoryAreRefusedWithTheCount)
{
    {
        TVexaSector sector;
        for (int i = 0; i < 50000; ++i) {
            auto root = Body("S", BODY_TYPE_STAR, 0);
            root->X = i % 100;
            root->Y = i / 100;
            sector.AddSystem(std::move(root));
        }
        ASSERT_TRUE(SaveToFile(sector, file, false));
    }
    const Result r = RunArgs({"routes", file, "--proximity", "--style", "all", "--max", "0", "--per-system", "0"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("up to 1.25e+09 routes"), std::string::npos) << r.err;
    EXPECT_EQ(StoredRoutes(), 0);
}

// Away from a terminal the progress comes as a line per tenth.
TEST_F(TravelCommands, RoutesShowTheirProgress)
{
    {
        TVexaSector sector;
        for (int i = 0; i < 200; ++i) {
            auto root = Body("S", BODY_TYPE_STAR, 0);
            root->X = i;
            sector.AddSystem(std::move(root));
        }
        ASSERT_TRUE(SaveToFile(sector, file, false));
    }
    const Result r = RunArgs({"routes", file, "--proximity", "--style", "all", "--per-system", "1"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.err.find("Generating Proximity Routes 50%"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Generating Proximity Routes 100%"), std::string::npos) << r.err;
}

TEST_F(TravelCommands, TravelTimes)
{
    const Result between = RunArgs({"travel", file, "--from", "Sol", "--to", "Far"});
    EXPECT_EQ(between.code, 0) << between.err;
    EXPECT_EQ(between.out, "Distance: 4.3 ly\nTravel Time: 4 yrs 108 days\nArrival Date: 3004-04-19 12:00:00\n");

    const Result typed = RunArgs({"travel", file, "--distance", "150000000"});
    EXPECT_EQ(typed.code, 0) << typed.err;
    EXPECT_EQ(typed.out, "Distance: 150,000,000 km\nTravel Time: 2 days 20 hrs\nArrival Date: 3000-01-03 20:42:31\n");

    const Result inside = RunArgs({"--json", "travel", file, "--from", "Sol/Terra", "--to", "sol/jove", "--unit",
                                   "k/h", "--sublight", "100000"});
    EXPECT_EQ(inside.code, 0) << inside.err;
    const auto j = nlohmann::json::parse(inside.out);
    EXPECT_EQ(j["departure_date"], "3000-01-01 00:00:00");
    EXPECT_GT(j["seconds"].get<double>(), 0);

    const Result moon = RunArgs({"travel", file, "--from", "Sol/Terra/Luna", "--to", "Sol", "--unit", "c"});
    EXPECT_EQ(moon.code, 0) << moon.err;

    const Result still = RunArgs({"travel", file, "--distance", "1000", "--sublight", "0"});
    EXPECT_EQ(still.code, 0);
    EXPECT_NE(still.out.find("Travel Time: n/a\n"), std::string::npos);
}

TEST_F(TravelCommands, TravelUsageAndRefusals)
{
    EXPECT_EQ(RunArgs({"travel", file}).code, 2);
    EXPECT_EQ(RunArgs({"travel", file, "--from", "Sol"}).code, 2);
    EXPECT_EQ(RunArgs({"travel", file, "--from", "Sol", "--to", "Far", "--distance", "5"}).code, 2);
    EXPECT_EQ(RunArgs({"travel", file, "--distance", "5", "--unit", "parsec"}).code, 2);
    const Result missing = RunArgs({"travel", file, "--from", "Sol/Pluto", "--to", "Far"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("Sol/Pluto"), std::string::npos);
    const Result negative = RunArgs({"travel", file, "--distance", "-5"});
    EXPECT_EQ(negative.code, 1);
    EXPECT_EQ(negative.err, "kalvion-cli: Distance must be a number\n");
    const Result boundary = RunArgs({"travel", file, "--from", "Sol", "--to", "Far", "--end-boundary", "x"});
    EXPECT_EQ(boundary.err, "kalvion-cli: Hyperlight start boundary must be a number\n");
}

} // namespace
