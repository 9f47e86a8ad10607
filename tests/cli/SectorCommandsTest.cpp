// Looking inside, editing and exporting a sector file from the command line.
#include "CliRun.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include <unistd.h>

using namespace kalvion::cli;
using kalvion::cli::test::Result;
using kalvion::cli::test::RunCmd;

namespace {

namespace fs = std::filesystem;

fs::path TempDir(const std::string &name)
{
    fs::path dir = fs::temp_directory_path() / ("kalvion_cli_sector_" + std::to_string(::getpid()) + "_" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

nlohmann::json Json(const Result &r)
{
    EXPECT_EQ(r.code, 0) << r.err;
    return nlohmann::json::parse(r.out.empty() ? std::string("{}") : r.out);
}

std::string ReadBytes(const std::string &file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A small generated sector with populated worlds, subsectors and routes.
std::string MakeSector(const fs::path &dir, const std::string &name = "s.VexaDB")
{
    const std::string f = (dir / name).string();
    const Result g = RunCmd({"--seed", "7", "generate", f, "--size", "12", "--frequency", "20", "--subsectors", "2,1,1"});
    EXPECT_EQ(g.code, 0) << g.err;
    const Result r = RunCmd({"routes", f, "--style", "all", "--max", "6"});
    EXPECT_EQ(r.code, 0) << r.err;
    return f;
}

nlohmann::json Systems(const std::string &f) { return Json(RunCmd({"--json", "systems", f}))["systems"]; }

const nlohmann::json *ByName(const nlohmann::json &systems, const std::string &name)
{
    for (const auto &s : systems)
        if (s["name"] == name)
            return &s;
    return nullptr;
}

// The name of a system whose name no other system shares.
std::string UniqueName(const nlohmann::json &systems, std::size_t skip = 0)
{
    std::map<std::string, int> count;
    for (const auto &s : systems)
        ++count[s["name"].get<std::string>()];
    for (const auto &s : systems)
        if (count[s["name"].get<std::string>()] == 1 && skip-- == 0)
            return s["name"];
    return std::string();
}

class CliSector : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = TempDir("suite");
        file = MakeSector(dir);
    }
    static void TearDownTestSuite() { fs::remove_all(dir); }
    // A copy the test may change.
    std::string Copy(const std::string &name)
    {
        const std::string f = (dir / name).string();
        fs::copy_file(file, f, fs::copy_options::overwrite_existing);
        return f;
    }
    static fs::path dir;
    static std::string file;
};
fs::path CliSector::dir;
std::string CliSector::file;

TEST_F(CliSector, SystemsListsFiltersSortsAndLimits)
{
    const nlohmann::json info = Json(RunCmd({"--json", "info", file}));
    const nlohmann::json all = Json(RunCmd({"--json", "systems", file}));
    const int count = info["counts"]["systems"];
    ASSERT_GT(count, 10);
    EXPECT_EQ(all["count"], count);
    EXPECT_EQ(all["systems"].size(), static_cast<std::size_t>(count));
    EXPECT_TRUE(all["systems"][0]["population"].is_number());
    EXPECT_TRUE(all["systems"][0]["x"].is_number());

    const Result text = RunCmd({"systems", file, "--limit", "3"});
    ASSERT_EQ(text.code, 0) << text.err;
    EXPECT_NE(text.out.find("showing 3 of " + std::to_string(count)), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("Subsector"), std::string::npos);

    const nlohmann::json sorted = Json(RunCmd({"--json", "systems", file, "--sort", "-population"}))["systems"];
    for (std::size_t i = 1; i < sorted.size(); ++i)
        EXPECT_GE(sorted[i - 1]["population"].get<double>(), sorted[i]["population"].get<double>());

    const nlohmann::json populated = Json(RunCmd({"--json", "systems", file, "--where", "population > 0"}));
    ASSERT_GT(populated["count"].get<int>(), 0);
    EXPECT_LT(populated["count"].get<int>(), count);
    for (const auto &s : populated["systems"])
        EXPECT_GT(s["population"].get<double>(), 0) << s["name"];

    EXPECT_EQ(RunCmd({"systems", file, "--sort", "colour"}).code, 2);
    // The search language speaks for itself.
    const Result bad = RunCmd({"systems", file, "--where", "temp >"});
    EXPECT_EQ(bad.code, 1);
    EXPECT_NE(bad.err.find("Number was expected"), std::string::npos) << bad.err;
}

TEST_F(CliSector, ShowPrintsTheTreeOfASystemOrABody)
{
    const nlohmann::json systems = Systems(file);
    const std::string name = UniqueName(systems);
    ASSERT_FALSE(name.empty());
    const Result text = RunCmd({"show", file, name});
    ASSERT_EQ(text.code, 0) << text.err;
    EXPECT_NE(text.out.find("\"" + name + "\""), std::string::npos);
    EXPECT_NE(text.out.find("Coordinates:"), std::string::npos) << text.out;

    const nlohmann::json j = Json(RunCmd({"--json", "show", file, name}));
    EXPECT_EQ(j["body"]["name"], name);
    EXPECT_EQ(j["body"]["x"], ByName(systems, name)->at("x"));
    // Any body inside is found by its name too.
    const nlohmann::json populated = Json(RunCmd({"--json", "search", file, "population > 0", "--limit", "1"}));
    ASSERT_EQ(populated["results"].size(), 1u);
    const std::string world = populated["results"][0]["name"];
    const Result inner = RunCmd({"show", file, populated["results"][0]["id"].get<std::string>()});
    ASSERT_EQ(inner.code, 0) << inner.err;
    EXPECT_NE(inner.out.find("In system"), std::string::npos) << inner.out;
    EXPECT_NE(inner.out.find(world), std::string::npos);

    const Result missing = RunCmd({"show", file, "No Such Star"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("no system or body is named \"No Such Star\""), std::string::npos) << missing.err;
}

TEST_F(CliSector, SubsectorsAndRoutesAreListed)
{
    const nlohmann::json subs = Json(RunCmd({"--json", "subsectors", file}));
    ASSERT_EQ(subs["count"], 2);
    int inside = 0;
    for (const auto &s : subs["subsectors"])
        inside += s["systems"].get<int>();
    EXPECT_GT(inside, 0);
    int assigned = 0;
    for (const auto &s : Systems(file))
        assigned += s["subsector"] != "";
    EXPECT_EQ(inside, assigned);

    const nlohmann::json routes = Json(RunCmd({"--json", "routes", file, "--list"}));
    ASSERT_GT(routes["count"].get<int>(), 0);
    EXPECT_EQ(routes["routes"][0]["systems"].size(), 2u);
    EXPECT_GT(routes["routes"][0]["length"].get<double>(), 0);
    const Result text = RunCmd({"routes", file, "--list"});
    EXPECT_NE(text.out.find(" - "), std::string::npos) << text.out;
}

TEST_F(CliSector, RoutesNeverDuplicateAndReplaceStartsAfresh)
{
    const std::string f = Copy("routes.VexaDB");
    const int before = Json(RunCmd({"--json", "info", f}))["counts"]["routes"];
    const nlohmann::json again = Json(RunCmd({"--json", "routes", f, "--style", "all", "--max", "6"}));
    EXPECT_EQ(again["routes"], 0);
    EXPECT_EQ(again["skipped"], before);
    EXPECT_EQ(Json(RunCmd({"--json", "info", f}))["counts"]["routes"], before);
    const nlohmann::json fresh = Json(RunCmd({"--json", "routes", f, "--style", "all", "--max", "6", "--replace"}));
    EXPECT_EQ(fresh["removed"], before);
    EXPECT_EQ(fresh["routes"], before);
    EXPECT_EQ(Json(RunCmd({"--json", "info", f}))["counts"]["routes"], before);
    const Result text = RunCmd({"routes", f, "--style", "all", "--max", "6"});
    EXPECT_NE(text.out.find("skipped (already there)"), std::string::npos) << text.out;
}

TEST_F(CliSector, RenameKeepsRoutesAndRefusesEmptyNames)
{
    const std::string f = Copy("rename.VexaDB");
    const nlohmann::json routes = Json(RunCmd({"--json", "routes", f, "--list"}))["routes"];
    ASSERT_FALSE(routes.empty());
    const std::string old = routes[0]["systems"][0];
    const std::string before = ReadBytes(f);
    EXPECT_EQ(RunCmd({"rename", f, old, "  "}).code, 2);
    EXPECT_EQ(ReadBytes(f), before);

    const Result r = RunCmd({"rename", f, old, "Kessaro Prime"});
    ASSERT_EQ(r.code, 0) << r.err;
    const nlohmann::json systems = Systems(f);
    EXPECT_NE(ByName(systems, "Kessaro Prime"), nullptr);
    EXPECT_EQ(Json(RunCmd({"--json", "routes", f, "--list"}))["routes"][0]["systems"][0], "Kessaro Prime");
}

TEST_F(CliSector, SetChecksEveryValueBeforeSavingAnything)
{
    const std::string f = Copy("set.VexaDB");
    const std::string name = UniqueName(Systems(f));
    const std::string before = ReadBytes(f);
    for (const std::vector<std::string> &bad :
         {std::vector<std::string>{"population=lots"}, {"population=-5"}, {"population=1e30"}, {"x=abc"},
          {"x=1e300"}, {"position=1,2"}, {"color=12345"}, {"colour=GG0000"}, {"name="}, {"height=4"},
          {"notes=fine", "population=NaN"}, {"novalue"}}) {
        std::vector<std::string> args = {"set", f, name};
        args.insert(args.end(), bad.begin(), bad.end());
        const Result r = RunCmd(args);
        EXPECT_EQ(r.code, 2) << bad.back();
        EXPECT_NE(r.err.find("kalvion-cli help set"), std::string::npos) << r.err;
        EXPECT_EQ(ReadBytes(f), before) << bad.back();
    }
    const Result ok = RunCmd({"set", f, name, "population=1500000", "political=Dominion", "color=#FF8000",
                              "notes=Capital of the march", "field.Faction=Blue", "position=1,2,3"});
    ASSERT_EQ(ok.code, 0) << ok.err;
    const nlohmann::json body = Json(RunCmd({"--json", "show", f, name}))["body"];
    EXPECT_EQ(body["population"], 1500000.0);
    EXPECT_EQ(body["political"], "Dominion");
    EXPECT_EQ(body["color_text"], "#FF8000");
    EXPECT_EQ(body["notes"], "Capital of the march");
    EXPECT_EQ(body["fields"][0]["value"], "Blue");
    EXPECT_EQ(body["x"], 1.0);
    EXPECT_EQ(body["z"], 3.0);
}

TEST_F(CliSector, MovedSystemsTakeTheirRoutesAlong)
{
    const std::string f = Copy("move.VexaDB");
    const nlohmann::json routes = Json(RunCmd({"--json", "routes", f, "--list"}))["routes"];
    ASSERT_FALSE(routes.empty());
    const std::string a = routes[0]["systems"][0], b = routes[0]["systems"][1];
    const nlohmann::json systems = Systems(f);
    if (!ByName(systems, a) || !ByName(systems, b) || a == b)
        GTEST_SKIP() << "route ends share a name";
    const nlohmann::json &sb = *ByName(systems, b);
    ASSERT_EQ(RunCmd({"set", f, a, "position=" + std::to_string(sb["x"].get<double>() + 3) + "," +
                                       std::to_string(sb["y"].get<double>()) + "," +
                                       std::to_string(sb["z"].get<double>())})
                  .code,
              0);
    const nlohmann::json after = Json(RunCmd({"--json", "routes", f, "--list"}))["routes"][0];
    EXPECT_NEAR(after["length"].get<double>(), 3.0, 1e-6);
}

TEST_F(CliSector, DeleteTakesSystemsOffRoutesOrDeletesNothing)
{
    const std::string f = Copy("delete.VexaDB");
    const nlohmann::json routes = Json(RunCmd({"--json", "routes", f, "--list"}))["routes"];
    ASSERT_FALSE(routes.empty());
    const std::string a = routes[0]["systems"][0];
    const std::size_t systems = Systems(f).size();
    const std::string before = ReadBytes(f);
    const Result missing = RunCmd({"delete", f, a, "No Such Star"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("nothing was deleted"), std::string::npos);
    EXPECT_EQ(ReadBytes(f), before);

    int onRoutes = 0;
    for (const auto &r : routes)
        for (const auto &s : r["systems"])
            onRoutes += s == a;
    ASSERT_EQ(RunCmd({"delete", f, a}).code, 0);
    EXPECT_EQ(Systems(f).size(), systems - 1);
    const nlohmann::json left = Json(RunCmd({"--json", "routes", f, "--list"}))["routes"];
    EXPECT_EQ(left.size(), routes.size() - static_cast<std::size_t>(onRoutes));
    for (const auto &r : left)
        for (const auto &s : r["systems"])
            EXPECT_NE(s, a);
}

TEST_F(CliSector, CsvExportImportsAsTheSameSystems)
{
    const fs::path out = dir / "exported" / "sector.csv";
    const Result e = RunCmd({"export", file, out.string()});
    ASSERT_EQ(e.code, 0) << e.err;
    EXPECT_NE(e.err.find("export to .json keeps every system"), std::string::npos) << e.err;
    const std::string copy = (dir / "reimported.VexaDB").string();
    ASSERT_EQ(RunCmd({"new", copy, "--size", "12"}).code, 0);
    const Result i = RunCmd({"import-csv", copy, out.string()});
    ASSERT_EQ(i.code, 0) << i.err << i.out;

    // The kinds of system a CSV line can make come back; the others are
    // named on standard error.
    nlohmann::json a = nlohmann::json::array();
    for (const auto &s : Systems(file))
        if (s["type"] == "Star" || s["type"] == "Multiple Star System" || s["type"] == "White Dwarf")
            a.push_back(s);
    const nlohmann::json b = Systems(copy);
    ASSERT_GT(a.size(), 10u);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t k = 0; k < a.size(); ++k) {
        EXPECT_EQ(a[k]["name"], b[k]["name"]);
        EXPECT_EQ(a[k]["type"], b[k]["type"]) << a[k]["name"];
        for (const char *axis : {"x", "y", "z"})
            EXPECT_NEAR(a[k][axis].get<double>(), b[k][axis].get<double>(), 5.01e-4) << a[k]["name"] << axis;
    }
    // Exported again, the copy gives the very same lines.
    const fs::path again = dir / "exported" / "again.csv";
    ASSERT_EQ(RunCmd({"export", copy, again.string()}).code, 0);
    EXPECT_EQ(ReadBytes(again.string()), ReadBytes(out.string()));
}

TEST_F(CliSector, JsonExportHoldsEveryBodyAndOddOutputsAreRefused)
{
    const std::string out = (dir / "all.json").string();
    ASSERT_EQ(RunCmd({"export", file, out}).code, 0);
    const nlohmann::json doc = nlohmann::json::parse(ReadBytes(out));
    const nlohmann::json info = Json(RunCmd({"--json", "info", file}));
    EXPECT_EQ(doc["systems"].size(), info["counts"]["systems"].get<std::size_t>());
    std::function<int(const nlohmann::json &)> count = [&](const nlohmann::json &b) {
        int n = 1;
        for (const auto &c : b["children"])
            n += count(c);
        return n;
    };
    int bodies = 0;
    for (const auto &s : doc["systems"])
        bodies += count(s);
    EXPECT_EQ(bodies, info["counts"]["bodies"]);

    const std::string xml = (dir / "all.xml").string();
    EXPECT_EQ(RunCmd({"export", file, xml}).code, 2);
    EXPECT_FALSE(fs::exists(xml));
    EXPECT_EQ(RunCmd({"export", file, file}).code, 2);
}

} // namespace
