// Help that teaches and output that does not surprise.
#include "CliRun.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>

#include <unistd.h>

using kalvion::cli::test::Result;
using kalvion::cli::test::RunCmd;

namespace {

namespace fs = std::filesystem;

TEST(CliHelp, CommandsComeInGroupsAndTopicsTeach)
{
    const Result r = RunCmd({"help"});
    ASSERT_EQ(r.code, 0);
    const std::size_t files = r.out.find("Sector files:"), generation = r.out.find("Generation:"),
                      inspection = r.out.find("Inspection:"), pictures = r.out.find("Pictures:"),
                      exchange = r.out.find("Import and export:");
    ASSERT_NE(files, std::string::npos);
    EXPECT_LT(files, generation);
    EXPECT_LT(generation, inspection);
    EXPECT_LT(inspection, pictures);
    EXPECT_LT(pictures, exchange);
    EXPECT_EQ(r.out.find("Other:"), std::string::npos) << "a command without a group";
    // A command is listed under its group.
    const std::size_t systems = r.out.find("\n  systems ");
    EXPECT_GT(systems, inspection);
    EXPECT_LT(systems, pictures);

    const Result search = RunCmd({"help", "search"});
    ASSERT_EQ(search.code, 0);
    for (const char *word : {"within", "on route", "show", "first", "water", "fraction", "--select"})
        EXPECT_NE(search.out.find(word), std::string::npos) << word;
    EXPECT_NE(RunCmd({"help", "tables"}).out.find("[@"), std::string::npos);
    EXPECT_NE(RunCmd({"help", "dice"}).out.find("d%"), std::string::npos);
    EXPECT_NE(RunCmd({"help", "systems"}).out.find("--where"), std::string::npos);
}

TEST(CliHelp, MistakesNameTheWayOut)
{
    const Result typo = RunCmd({"sytems", "x.VexaDB"});
    EXPECT_EQ(typo.code, 2);
    EXPECT_NE(typo.err.find("did you mean 'systems'?"), std::string::npos) << typo.err;
    EXPECT_NE(RunCmd({"generat"}).err.find("did you mean 'generate'?"), std::string::npos);
    EXPECT_NE(RunCmd({"help", "serch"}).err.find("did you mean 'search'?"), std::string::npos);
    const Result far = RunCmd({"xyzzy"});
    EXPECT_EQ(far.err.find("did you mean"), std::string::npos) << far.err;
    EXPECT_NE(far.err.find("kalvion-cli help'"), std::string::npos);

    // Every usage error names the command's own help, the parser's and the command's.
    for (const std::vector<std::string> &bad : {std::vector<std::string>{"map"}, {"dice", "3d6", "--count", "0"},
                                                {"generate", "x.VexaDB", "--shape", "cube"}}) {
        const Result r = RunCmd(bad);
        EXPECT_EQ(r.code, 2) << bad[0];
        EXPECT_NE(r.err.find("Run 'kalvion-cli help " + bad[0] + "' for its usage."), std::string::npos) << r.err;
    }
}

TEST(CliOutput, DiceAndCalcReadWhatPeopleWrite)
{
    for (const char *common : {"d20", "D20", "d%", "1d%", "-3", "3d6-1", "-d6"}) {
        const Result r = RunCmd({"--seed", "5", "dice", common, "--count", "20"});
        EXPECT_EQ(r.code, 0) << common << ": " << r.err;
    }
    const auto rolls = nlohmann::json::parse(RunCmd({"--json", "dice", "d%", "--count", "200"}).out)["rolls"];
    int high = 0;
    for (const auto &v : rolls) {
        EXPECT_GE(v.get<int>(), 1);
        EXPECT_LE(v.get<int>(), 100);
        high = std::max(high, v.get<int>());
    }
    EXPECT_GT(high, 20);
    EXPECT_EQ(RunCmd({"dice", "-3"}).out, "-3\n");
    for (const char *text : {"hello", "3x6", "d", "2d", "3d6+", ""}) {
        const Result r = RunCmd({"dice", text});
        EXPECT_EQ(r.code, 1) << text;
        EXPECT_NE(r.err.find("not a dice expression"), std::string::npos) << r.err;
    }
    EXPECT_EQ(RunCmd({"calc", "-2+5"}).out, "3\n");
    EXPECT_EQ(RunCmd({"calc", "-(2*3)"}).out, "-6\n");
}

TEST(CliOutput, SearchSaysWhenTheLimitCutsAndImportSpeaksTheCliLanguage)
{
    const fs::path dir = fs::temp_directory_path() / ("kalvion_cli_out_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string f = (dir / "s.VexaDB").string(), csv = (dir / "d.csv").string();
    ASSERT_EQ(RunCmd({"new", f}).code, 0);
    {
        std::ofstream out(csv);
        for (int i = 0; i < 1500; ++i)
            out << "star,,S" << i << "," << i % 10 << ",0,0,1,1,1,G2V\n";
    }
    const Result import = RunCmd({"import-csv", f, csv});
    ASSERT_EQ(import.code, 0) << import.err;
    EXPECT_EQ(import.out.find("Close the window"), std::string::npos) << import.out;
    EXPECT_NE(import.out.find("Import successful"), std::string::npos) << import.out;

    const Result cut = RunCmd({"search", f, "star"});
    EXPECT_NE(cut.out.find("showing 1,000 of 1,500 results"), std::string::npos) << cut.out.substr(cut.out.size() - 200);
    const auto j = nlohmann::json::parse(RunCmd({"--json", "search", f, "star", "--limit", "10"}).out);
    EXPECT_EQ(j["count"], 1500);
    EXPECT_EQ(j["shown"], 10);
    EXPECT_EQ(j["results"].size(), 10u);
    EXPECT_NE(RunCmd({"search", f, "star", "--limit", "0"}).out.find("\n1,500 results"), std::string::npos);
    // The search language's own message, unchanged.
    EXPECT_EQ(RunCmd({"search", f, "temp >"}).err.find("kalvion-cli"), std::string::npos);

    // new and generate take the calendar and the unit; new replaces on request.
    EXPECT_EQ(RunCmd({"new", f}).code, 1);
    ASSERT_EQ(RunCmd({"new", f, "--replace", "--epoch", "3200", "--unit", "pc"}).code, 0);
    const auto info = nlohmann::json::parse(RunCmd({"--json", "info", f}).out);
    EXPECT_EQ(info["calendar"]["epoch_year"], 3200);
    EXPECT_EQ(info["counts"]["systems"], 0);
    EXPECT_EQ(info["settings"]["unit_abbrev"], "pc");
    const std::string g = (dir / "g.VexaDB").string();
    ASSERT_EQ(RunCmd({"generate", g, "--systems", "5", "--epoch", "2450"}).code, 0);
    EXPECT_EQ(nlohmann::json::parse(RunCmd({"--json", "info", g}).out)["calendar"]["epoch_year"], 2450);

    // Pictures make their folders and refuse formats they cannot write.
    const fs::path pics = dir / "deep" / "er";
    EXPECT_EQ(RunCmd({"map", g, (pics / "m.png").string(), "--width", "100"}).code, 0);
    EXPECT_TRUE(fs::exists(pics / "m.png"));
    EXPECT_EQ(RunCmd({"map", g, (pics / "m.gif").string()}).code, 2);
    EXPECT_FALSE(fs::exists(pics / "m.gif"));
    EXPECT_EQ(RunCmd({"terrain", "--seed", "1", "--radius", "3000", "--water", "0.5", "--temp", "280",
                      "--atmosphere", "1", "--width", "32", "--out", (pics / "t.jpg").string()})
                  .code,
              2);
    // The default width keeps labels legible: 50 pixels a light year.
    const std::string wide = (dir / "wide.VexaDB").string();
    ASSERT_EQ(RunCmd({"new", wide, "--size", "100"}).code, 0);
    const auto map = nlohmann::json::parse(RunCmd({"--json", "map", wide, (pics / "w.png").string()}).out);
    EXPECT_EQ(map["width"], 5000);
    fs::remove_all(dir);
}

} // namespace
