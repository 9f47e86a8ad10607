// Every command that prints data follows one JSON convention with --json:
// one object per run, snake_case keys, numbers as JSON numbers (formatted
// texts only under *_text keys).  The walk fails when a command is added
// without being listed here.
#include "CliRun.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include <unistd.h>

using kalvion::cli::test::Result;
using kalvion::cli::test::RunCmd;

namespace {

namespace fs = std::filesystem;

bool SnakeCase(const std::string &key)
{
    static const std::regex snake("^[a-z][a-z0-9]*(_[a-z0-9]+)*$");
    return std::regex_match(key, snake);
}

// A display text standing where a number belongs: "1,234", "4.3 ly", "12 km".
bool LooksFormatted(const std::string &text)
{
    static const std::regex grouped(R"(^[-+]?\d{1,3}(,\d{3})+(\.\d+)?( .*)?$)");
    static const std::regex withUnit(R"(^[-+]?\d+(\.\d+)? ?(ly|pc|km|AU|K|g|%|days?|hours?|years?)$)");
    return std::regex_match(text, grouped) || std::regex_match(text, withUnit);
}

void CheckValue(const nlohmann::json &v, const std::string &path, const std::string &key,
                std::vector<std::string> &faults)
{
    if (v.is_object()) {
        for (auto it = v.begin(); it != v.end(); ++it) {
            if (!SnakeCase(it.key()))
                faults.push_back(path + ": key \"" + it.key() + "\" is not snake_case");
            CheckValue(it.value(), path + "." + it.key(), it.key(), faults);
        }
    } else if (v.is_array()) {
        for (std::size_t i = 0; i < v.size(); ++i)
            CheckValue(v[i], path + "[" + std::to_string(i) + "]", key, faults);
    } else if (v.is_string()) {
        const bool textKey = key.size() > 5 && key.compare(key.size() - 5, 5, "_text") == 0;
        if (!textKey && LooksFormatted(v.get<std::string>()))
            faults.push_back(path + ": \"" + v.get<std::string>() + "\" is a formatted number; give the number "
                                            "(and a *_text field if the text matters)");
    }
}

// The faults of one run's output; empty when it follows the convention.
std::vector<std::string> ConventionFaults(const std::string &output)
{
    nlohmann::json doc;
    try {
        doc = nlohmann::json::parse(output);
    } catch (const nlohmann::json::exception &e) {
        return {std::string("not one JSON value: ") + e.what()};
    }
    if (!doc.is_object())
        return {"the top level is not an object"};
    std::vector<std::string> faults;
    CheckValue(doc, "$", "", faults);
    if (output.find('\n') != output.size() - 1)
        faults.push_back("not one line (standard output is not a terminal)");
    return faults;
}

TEST(CliJsonConvention, TheCheckerCatchesWhatItShould)
{
    EXPECT_TRUE(ConventionFaults("{\"file\":\"a\",\"count\":2}\n").empty());
    EXPECT_FALSE(ConventionFaults("[1,2]\n").empty());
    EXPECT_FALSE(ConventionFaults("{\"a\":1}\n{\"a\":2}\n").empty());
    EXPECT_FALSE(ConventionFaults("{\"bodyCount\":1}\n").empty());
    EXPECT_FALSE(ConventionFaults("{\"x\":[{\"IDString\":\"a\"}]}\n").empty());
    EXPECT_FALSE(ConventionFaults("{\"population\":\"8,100,025,900\"}\n").empty());
    EXPECT_FALSE(ConventionFaults("{\"distance\":\"4.3 ly\"}\n").empty());
    EXPECT_TRUE(ConventionFaults("{\"distance_text\":\"4.3 ly\"}\n").empty());
    EXPECT_FALSE(ConventionFaults("{\"a\":1}").empty());
}

class CliJsonWalk : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = fs::temp_directory_path() / ("kalvion_cli_json_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        sector = (dir / "walk.VexaDB").string();
        ASSERT_EQ(RunCmd({"--seed", "3", "generate", sector, "--size", "12", "--frequency", "20"}).code, 0);
        ASSERT_EQ(RunCmd({"routes", sector, "--style", "all", "--max", "6"}).code, 0);
    }
    static void TearDownTestSuite() { fs::remove_all(dir); }
    static fs::path dir;
    static std::string sector;
};
fs::path CliJsonWalk::dir;
std::string CliJsonWalk::sector;

TEST_F(CliJsonWalk, EveryCommandFollowsTheConvention)
{
    const nlohmann::json systems = nlohmann::json::parse(RunCmd({"--json", "systems", sector}).out)["systems"];
    ASSERT_GE(systems.size(), 3u);
    const std::string a = systems[0]["id"], b = systems[1]["id"];
    const std::string nameA = systems[0]["name"], nameB = systems[1]["name"];
    const nlohmann::json giant =
        nlohmann::json::parse(RunCmd({"--json", "search", sector, "gasgiant", "--limit", "1"}).out)["results"];
    ASSERT_EQ(giant.size(), 1u);
    const std::string work = (dir / "work.VexaDB").string(), other = (dir / "other.VexaDB").string();
    fs::copy_file(sector, work);
    ASSERT_EQ(RunCmd({"new", other}).code, 0);
    const std::string csv = (dir / "in.csv").string(), cat = (dir / "cat.txt").string();
    std::ofstream(csv) << "star,,Vela,1,2,3,1,1,1,G2V\n";
    std::ofstream(cat) << "Gliese code: Gl 1\nEarth-based (1, 0, 0)\n";
    const std::string script = (dir / "s.vbs").string();
    std::ofstream(script) << "MsgBox \"hello\"\n";
    const std::string tables = std::string(KALVION_SOURCE_DIR) + "/tests/tables/data/golden/deck.ilt";
    const std::string pics = (dir / "pics").string();

    // Commands that print no data of their own, with the reason.
    const std::map<std::string, std::string> exempt = {
        {"help", "prints the help text"},
        {"convert", "needs an older sector file; its object is {file, out}, checked by the file tests"},
        {"render", "needs OpenGL; its object is checked by the render tests"},
        {"video", "needs OpenGL and writes a video file; checked by the video tests"},
    };
    const std::map<std::string, std::vector<std::string>> runs = {
        {"demo", {"demo"}},
        {"body-types", {"body-types"}},
        {"format", {"format", "#,##0.00", "1234.5"}},
        {"new", {"new", (dir / "fresh.VexaDB").string(), "--epoch", "3100"}},
        {"info", {"info", sector}},
        {"dice", {"dice", "3d6", "--count", "2"}},
        {"calc", {"calc", "-2^2+10"}},
        {"date", {"date", "--epoch", "3000", "--time", "12.5"}},
        {"system", {"system"}},
        {"table", {"table", tables}},
        {"merge", {"merge", work, other}},
        {"import-catalogue", {"import-catalogue", other, cat}},
        {"terrain", {"terrain", "--seed", "5", "--radius", "3000", "--water", "0.5", "--temp", "280", "--atmosphere",
                     "1", "--width", "64", "--out", pics + "/t.png"}},
        {"routes", {"routes", work, "--style", "all", "--max", "4"}},
        {"travel", {"travel", sector, "--from", nameA, "--to", nameB}},
        {"plot", {"plot", sector, nameA, nameB, "--jump", "30"}},
        {"script", {"script", script}},
        {"report", {"report", sector, pics + "/r.html"}},
        {"import-csv", {"import-csv", work, csv}},
        {"search", {"search", sector, "star", "--limit", "2"}},
        {"map", {"map", sector, pics + "/m.png", "--width", "200"}},
        {"web", {"web", sector, pics + "/web"}},
        {"diagram", {"diagram", sector, a, pics + "/d.png", "--width", "200", "--height", "200"}},
        {"texture", {"texture", sector, giant[0]["name"].get<std::string>(), pics + "/x.png", "--width", "64",
                     "--height", "32"}},
        {"generate", {"--seed", "4", "generate", (dir / "g.VexaDB").string(), "--systems", "5"}},
        {"systems", {"systems", sector, "--limit", "2"}},
        {"show", {"show", sector, a}},
        {"subsectors", {"subsectors", sector}},
        {"export", {"export", sector, (dir / "e.csv").string()}},
        {"set", {"set", work, a, "population=10"}},
        {"rename", {"rename", work, a, "Walked"}},
        {"delete", {"delete", work, b}},
    };

    // Every command the help lists is walked or exempt.
    const Result help = RunCmd({"help"});
    std::istringstream lines(help.out);
    std::set<std::string> listed;
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (std::regex_match(line, m, std::regex(R"(^  ([a-z][a-z-]*)\s{2,}.*)")))
            listed.insert(m[1]);
    }
    ASSERT_GT(listed.size(), 30u) << help.out;
    for (const std::string &command : listed)
        EXPECT_TRUE(runs.count(command) || exempt.count(command)) << command << " is not walked";

    for (const auto &[command, args] : runs) {
        std::vector<std::string> withJson = {"--json"};
        withJson.insert(withJson.end(), args.begin(), args.end());
        const Result r = RunCmd(withJson);
        EXPECT_EQ(r.code, 0) << command << ": " << r.err;
        for (const std::string &fault : ConventionFaults(r.out))
            ADD_FAILURE() << command << ": " << fault << "\n" << r.out.substr(0, 2000);
    }
}

} // namespace
