#include "cli/CliApp.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace kalvion::cli;

namespace {

struct TableResult {
    int code;
    std::string out, err;
};

TableResult RunTableArgs(std::vector<std::string> args)
{
    args.insert(args.begin(), "kalvion-cli");
    std::ostringstream out, err;
    const int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

const std::string kTables = std::string(KALVION_SOURCE_DIR) + "/tests/tables/data";

} // namespace

TEST(CliTable, PrintsResultsOnePerLine)
{
    const auto r = RunTableArgs({"table", kTables + "/golden/deck.ilt", "card2", "--count", "3", "--seed", "1"});
    EXPECT_EQ(r.code, EXIT_OK) << r.err;
    EXPECT_EQ(r.out, "only\nonly\nonly\n");

    const auto a = RunTableArgs({"table", kTables + "/golden/deck.ilt", "--count", "2", "--seed", "11"});
    const auto b = RunTableArgs({"--seed", "11", "table", kTables + "/golden/deck.ilt", "--count", "2"});
    EXPECT_EQ(a.out, b.out);
    EXPECT_EQ(std::count(a.out.begin(), a.out.end(), '\n'), 2);
}

TEST(CliTable, VariablesAndLibraryFolder)
{
    const auto r = RunTableArgs({"table", kTables + "/golden/include.ilt", "--lib", kTables, "--var", "self=me"});
    EXPECT_EQ(r.code, EXIT_OK) << r.err;
    // Built-in variables are set after the host's, so "self" stays the file.
    EXPECT_EQ(r.out, "crimson CRIMSON from include.ilt\n");
    const auto g = RunTableArgs({"table", kTables + "/golden/tags.ilt", "greet", "--var", "1=Ann", "--seed", "1"});
    EXPECT_EQ(g.out, "hello Ann and  and \n");
}

TEST(CliTable, ErrorsUseTheEngineText)
{
    const auto missing = RunTableArgs({"table", "/nonexistent/x.ilt"});
    EXPECT_EQ(missing.code, EXIT_FAILURE_);
    EXPECT_EQ(missing.err, "kalvion-cli: Missing File /nonexistent/x.ilt\n");
    const auto unknown = RunTableArgs({"table", kTables + "/golden/deck.ilt", "nosuch"});
    EXPECT_EQ(unknown.code, EXIT_FAILURE_);
    EXPECT_EQ(RunTableArgs({"table", kTables + "/golden/deck.ilt", "--var", "novalue"}).code, EXIT_USAGE);
    EXPECT_EQ(RunTableArgs({"table", kTables + "/golden/deck.ilt", "--count", "-1"}).code, EXIT_USAGE);
    EXPECT_EQ(RunTableArgs({"table"}).code, EXIT_USAGE);
}
