// "kalvion-cli search" on a saved sector.
#include "SearchTestSector.h"

#include "cli/CliApp.h"
#include "files/SectorFile.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

using namespace kalvion;
using namespace kalvion::test;

namespace {

struct Result {
    int code;
    std::string out, err;
};

class SearchCliTest : public SearchTempDir {
protected:
    std::string File;
    void SetUp() override
    {
        SearchTempDir::SetUp();
        File = PathOf("cli.VexaDB");
        auto sector = MakeSearchSector();
        ASSERT_TRUE(SaveToFile(*sector, File, false));
    }
    Result Run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"kalvion-cli", "search", File});
        std::ostringstream out, err;
        const int code = cli::RunCli(args, out, err);
        return {code, out.str(), err.str()};
    }
};

} // namespace

TEST_F(SearchCliTest, TableWithQueryColumnsAndCount)
{
    const Result r = Run({"terrestrial population > 1000000 show mass"});
    ASSERT_EQ(r.code, 0) << r.err;
    std::istringstream lines(r.out);
    std::string header, line;
    std::getline(lines, header);
    EXPECT_EQ(header, "Name      Type         System  Population     Habitability  Political  Mass");
    std::getline(lines, line);
    EXPECT_EQ(line, "Earth     Terrestrial  Sol     8,000,000,000  Hospitable               1");
    EXPECT_NE(r.out.find("\n3 results\n"), std::string::npos);

    const Result none = Run({"nebula"});
    EXPECT_EQ(none.code, 0);
    EXPECT_NE(none.out.find("0 results"), std::string::npos);
}

TEST_F(SearchCliTest, ParseErrorsPrintTheMessageExactly)
{
    Result r = Run({"mass >= 2"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Number was expected near \"mass > =\"\n");
    EXPECT_EQ(r.out, "");
    r = Run({"in nowhere"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Unknown subsector \"nowhere\"\n");
    r = Run({"star", "--select", "Nobody"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Nobody"), std::string::npos);

    std::ostringstream out, err;
    EXPECT_EQ(cli::RunCli({"kalvion-cli", "search", PathOf("missing.VexaDB"), "star"}, out, err), 1);
    EXPECT_FALSE(err.str().empty());
}

TEST_F(SearchCliTest, SelectionLimitRootOnlyAndJson)
{
    Result r = Run({"within 5 star", "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out)["count"], 0);

    r = Run({"within 5 star", "--select", "sol", "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["count"], 3);
    EXPECT_EQ(j["results"][1]["name"], "Alpha A");
    EXPECT_EQ(j["results"][1]["system"], "Alpha");
    // "within" gives each result its distance from the selected system.
    EXPECT_TRUE(j["results"][1]["distance"].is_number());
    EXPECT_EQ(j["columns"].size(), 6u);

    r = Run({"on route", "--select", "Alpha", "--root-only", "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["count"], 2);

    // The limit cuts what is shown; the count says how many matched.
    r = Run({"root only", "--limit", "1", "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["shown"], 1);
    EXPECT_EQ(j["results"].size(), 1u);
    EXPECT_GT(j["count"], 1);
}
