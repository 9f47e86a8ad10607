// kalvion-cli new and info.
#include "FilesTestHelpers.h"
#include "cli/CliApp.h"
#include "files/SectorFile.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace kalvion::test {
namespace {

using CliFileCommandsTest = TempDirTest;

int RunCliArgs(const std::vector<std::string> &args, std::string &out, std::string &err)
{
    std::vector<std::string> argv{"kalvion-cli"};
    argv.insert(argv.end(), args.begin(), args.end());
    std::ostringstream o, e;
    const int rc = cli::RunCli(argv, o, e);
    out = o.str();
    err = e.str();
    return rc;
}

TEST_F(CliFileCommandsTest, NewThenInfoReportsTheDefaults)
{
    const std::string file = PathOf("fresh.VexaDB");
    std::string out, err;
    ASSERT_EQ(RunCliArgs({"new", file}, out, err), cli::EXIT_OK) << err;
    ASSERT_EQ(RunCliArgs({"info", file, "--json"}, out, err), cli::EXIT_OK) << err;
    const auto j = nlohmann::json::parse(out);
    EXPECT_EQ(j["name"], "fresh");
    EXPECT_EQ(j["schema_version"], 303);
    EXPECT_EQ(j["settings"]["size"], nlohmann::json({20.0, 20.0, 20.0}));
    EXPECT_EQ(j["settings"]["spherical"], false);
    EXPECT_EQ(j["settings"]["unit"], "Light Years");
    EXPECT_EQ(j["settings"]["unit_abbrev"], "ly");
    EXPECT_EQ(j["settings"]["frequency"], 5.0);
    EXPECT_EQ(j["settings"]["grid_style"], 1);
    EXPECT_EQ(j["settings"]["grid_color"], 0x808080);
    EXPECT_EQ(j["settings"]["base_font"], "Verdana");
    EXPECT_EQ(j["calendar"]["epoch_year"], 2000);
    EXPECT_EQ(j["calendar"]["time"], 0.0);
    EXPECT_EQ(j["calendar"]["date_format"], "dd mmm y h:n:s");
    EXPECT_EQ(j["calendar"]["date"], "01 Jan 2000 00:00:00");
    for (const char *k : {"systems", "bodies", "routes", "subsectors", "views", "image_resources"})
        EXPECT_EQ(j["counts"][k], 0) << k;
}

TEST_F(CliFileCommandsTest, CommandsThatOnlyReadLeaveAnOlderFileAsItWas)
{
    const std::string file = PathOf("older.VexaDB");
    {
        TVexaSector s;
        s.AddSystem(MakeSystem("Sol", 2, 1));
        s.AddSystem(MakeSystem("Tau", 1, -2));
        ASSERT_TRUE(SaveToFile(s, file, false));
    }
    ExecSql(file, "drop index i_system_id");
    ExecSql(file, "drop index i_cf_owner");
    ExecSql(file, "drop table surface_maps");
    ExecSql(file, "update config set value = '302' where name = 'db_version'");
    const auto before = ReadBytes(file);
    const auto mtime = std::filesystem::last_write_time(file);

    std::string out, err;
    EXPECT_EQ(RunCliArgs({"info", file, "--json"}, out, err), cli::EXIT_OK) << err;
    EXPECT_EQ(nlohmann::json::parse(out)["schema_version"], 302); // as stored
    EXPECT_EQ(RunCliArgs({"search", file, "star"}, out, err), cli::EXIT_OK) << err;
    EXPECT_EQ(RunCliArgs({"report", file, PathOf("index.html")}, out, err), cli::EXIT_OK) << err;
    EXPECT_EQ(RunCliArgs({"map", file, PathOf("map.png"), "--width", "200"}, out, err), cli::EXIT_OK) << err;
    EXPECT_EQ(RunCliArgs({"travel", file, "--from", "Sol", "--to", "Tau"}, out, err), cli::EXIT_OK) << err;
    EXPECT_EQ(ReadBytes(file), before);
    EXPECT_EQ(std::filesystem::last_write_time(file), mtime);
    EXPECT_FALSE(std::filesystem::exists(file + "-journal"));
}

TEST_F(CliFileCommandsTest, NewTakesSizesSpheresAndParsecs)
{
    std::string out, err;
    const std::string box = PathOf("box.VexaDB");
    ASSERT_EQ(RunCliArgs({"new", box, "--size", "10,20,30"}, out, err), cli::EXIT_OK) << err;
    ASSERT_EQ(RunCliArgs({"info", box, "--json"}, out, err), cli::EXIT_OK);
    EXPECT_EQ(nlohmann::json::parse(out)["settings"]["size"], nlohmann::json({10.0, 20.0, 30.0}));

    const std::string ball = PathOf("ball.VexaDB");
    ASSERT_EQ(RunCliArgs({"new", ball, "--sphere", "10", "--unit", "pc"}, out, err), cli::EXIT_OK) << err;
    ASSERT_EQ(RunCliArgs({"info", ball, "--json"}, out, err), cli::EXIT_OK);
    const auto j = nlohmann::json::parse(out);
    EXPECT_EQ(j["settings"]["spherical"], true);
    EXPECT_EQ(j["settings"]["unit"], "Parsecs");
    EXPECT_DOUBLE_EQ(j["settings"]["size"][0].get<double>(), 65.232);

    EXPECT_EQ(RunCliArgs({"new", PathOf("bad.VexaDB"), "--size", "1,2"}, out, err), cli::EXIT_USAGE);
    for (const char *size : {"1e308", "1e-300", "10,1e7,10", "400000", "0"}) {
        const std::vector<std::string> args = {"new", PathOf("huge.VexaDB"), "--size", size, "--unit",
                                               std::string(size) == "400000" ? "pc" : "ly"};
        EXPECT_EQ(RunCliArgs(args, out, err), cli::EXIT_USAGE) << size;
    }
    EXPECT_EQ(RunCliArgs({"new", PathOf("huge.VexaDB"), "--sphere", "6e5"}, out, err), cli::EXIT_USAGE);
    EXPECT_FALSE(std::filesystem::exists(PathOf("huge.VexaDB")));
    EXPECT_EQ(RunCliArgs({"new", PathOf("bad.VexaDB"), "--unit", "km"}, out, err), cli::EXIT_USAGE);
    EXPECT_EQ(RunCliArgs({"new", box}, out, err), cli::EXIT_FAILURE_); // exists already
    EXPECT_EQ(RunCliArgs({"info", PathOf("missing.VexaDB")}, out, err), cli::EXIT_FAILURE_);
    EXPECT_FALSE(err.empty());
}

// A file a newer program wrote is read with a warning, and never saved over.
TEST_F(CliFileCommandsTest, NewerFilesWarnAndAreNotSavedOver)
{
    std::string out, err;
    const std::string file = PathOf("newer.VexaDB");
    ASSERT_EQ(RunCliArgs({"new", file}, out, err), cli::EXIT_OK) << err;
    ExecSql(file, "update config set value = '999' where name = 'db_version'");
    const auto before = ReadBytes(file);

    ASSERT_EQ(RunCliArgs({"info", file}, out, err), cli::EXIT_OK) << err;
    EXPECT_NE(err.find("warning"), std::string::npos) << err;
    EXPECT_NE(err.find("newer version"), std::string::npos) << err;

    const std::string csv = PathOf("d.csv");
    std::ofstream(csv) << "star,,Alpha,1,2,3,1,1,1,G\n";
    EXPECT_EQ(RunCliArgs({"import-csv", file, csv}, out, err), cli::EXIT_FAILURE_);
    EXPECT_NE(err.find("file version 999"), std::string::npos) << err;
    EXPECT_NE(err.find("nothing was changed"), std::string::npos) << err;
    EXPECT_EQ(RunCliArgs({"routes", file, "--proximity"}, out, err), cli::EXIT_FAILURE_);
    EXPECT_EQ(ReadBytes(file), before);

    // A file of this version says nothing.
    const std::string current = PathOf("current.VexaDB");
    ASSERT_EQ(RunCliArgs({"new", current}, out, err), cli::EXIT_OK);
    ASSERT_EQ(RunCliArgs({"info", current}, out, err), cli::EXIT_OK);
    EXPECT_EQ(err, "");
}

// Merging into or importing a catalogue into a file a newer program wrote
// would save over it: both are refused before anything is read into it.
TEST_F(CliFileCommandsTest, MergeAndCatalogueRefuseANewerTarget)
{
    std::string out, err;
    const std::string file = PathOf("newer-target.VexaDB");
    const std::string other = PathOf("other.VexaDB");
    ASSERT_EQ(RunCliArgs({"new", file}, out, err), cli::EXIT_OK) << err;
    {
        TVexaSector s;
        s.AddSystem(MakeSystem("Visitor", 1, 1));
        ASSERT_TRUE(SaveToFile(s, other, false));
    }
    ExecSql(file, "update config set value = '999' where name = 'db_version'");
    const auto before = ReadBytes(file);

    EXPECT_EQ(RunCliArgs({"merge", file, other}, out, err), cli::EXIT_FAILURE_);
    EXPECT_NE(err.find("file version 999"), std::string::npos) << err;
    EXPECT_NE(err.find("nothing was changed"), std::string::npos) << err;
    EXPECT_EQ(out.find("Merged"), std::string::npos) << out;

    const std::string cat = PathOf("cat.txt");
    std::ofstream(cat) << "Gliese code: Gl 1\nEarth-based (1, 0, 0)\n";
    EXPECT_EQ(RunCliArgs({"import-catalogue", file, cat}, out, err), cli::EXIT_FAILURE_);
    EXPECT_NE(err.find("file version 999"), std::string::npos) << err;
    EXPECT_EQ(out.find("Imported"), std::string::npos) << out;
    EXPECT_EQ(ReadBytes(file), before);

    // The file merged from may be newer: it is only read.
    ExecSql(file, "update config set value = '303' where name = 'db_version'");
    ExecSql(other, "update config set value = '999' where name = 'db_version'");
    EXPECT_EQ(RunCliArgs({"merge", file, other}, out, err), cli::EXIT_OK) << err;
    EXPECT_EQ(QueryInt(file, "select count(*) from bodies where name = 'Visitor'"), 1);
}

// Body rows no system reaches are not read; info says how many and why.
TEST_F(CliFileCommandsTest, InfoCountsRowsThatBelongToNoSystem)
{
    std::string out, err;
    const std::string file = PathOf("rows.VexaDB");
    ASSERT_EQ(RunCliArgs({"new", file}, out, err), cli::EXIT_OK) << err;
    ExecSql(file, "insert into bodies (parent_id, name) values (0, 'Root')");
    ExecSql(file, "insert into bodies (parent_id, name) values (987654, 'Orphan')");
    ExecSql(file, "insert into bodies (parent_id, name) values (0, 'Loop')");
    ExecSql(file, "update bodies set parent_id = id where name = 'Loop'");
    ASSERT_EQ(RunCliArgs({"--json", "info", file}, out, err), cli::EXIT_OK) << err;
    const auto j = nlohmann::json::parse(out);
    EXPECT_EQ(j["counts"]["systems"], 1);
    EXPECT_EQ(j["counts"]["skipped_body_rows"], 2);
    ASSERT_EQ(RunCliArgs({"info", file}, out, err), cli::EXIT_OK) << err;
    EXPECT_NE(out.find("Skipped rows:    2 body row(s) belong to no system"), std::string::npos) << out;
    EXPECT_EQ(QueryInt(file, "select count(*) from bodies"), 3); // still in the file
}

} // namespace
} // namespace kalvion::test
