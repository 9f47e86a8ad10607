#include "cli/CliApp.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace kalvion::cli;

namespace {

struct Result {
    int rc;
    std::string out, err;
};

Result RunArgs(std::vector<std::string> args)
{
    args.insert(args.begin(), "kalvion-cli");
    std::ostringstream out, err;
    const int rc = RunCli(args, out, err);
    return {rc, out.str(), err.str()};
}

} // namespace

TEST(CliScience, Dice)
{
    EXPECT_EQ(RunArgs({"dice", "3d6+2", "--seed", "12345"}).out, "8\n");
    const Result three = RunArgs({"--seed", "12345", "dice", "3d6+2", "--count", "3"});
    EXPECT_EQ(three.rc, 0);
    EXPECT_EQ(three.out, "8\n13\n7\n");
    const Result bad = RunArgs({"dice", "1d6+2-1"});
    EXPECT_EQ(bad.rc, 1);
    EXPECT_EQ(bad.out, "");
    EXPECT_NE(bad.err.find("is not a dice expression"), std::string::npos) << bad.err;
    EXPECT_EQ(RunArgs({"dice", "3d6", "--count", "0"}).rc, 2);
    const Result longCount = RunArgs({"dice", std::string(5000, '9') + "d6"});
    EXPECT_EQ(longCount.rc, 1);
    EXPECT_LT(longCount.err.size(), 200u) << longCount.err.size();
    const Result longCalc = RunArgs({"calc", std::string(5000, '1') + "e+"});
    EXPECT_EQ(longCalc.rc, 1);
    EXPECT_LT(longCalc.err.size(), 200u) << longCalc.err.size();
    for (const char *absurd : {"2147483647d6", "2147483647d2147483647"}) {
        const Result huge = RunArgs({"dice", absurd});
        EXPECT_EQ(huge.rc, 1) << absurd;
        EXPECT_EQ(huge.out, "");
        EXPECT_NE(huge.err.find("too large"), std::string::npos) << huge.err;
    }
}

TEST(CliScience, Calc)
{
    EXPECT_EQ(RunArgs({"calc", "2^3^2"}).out, "64\n");
    EXPECT_EQ(RunArgs({"calc", "arctan(1)*4"}).out, "3.14159265358979\n");
    EXPECT_EQ(RunArgs({"calc", "1/0"}).out, "INF\n");
    const Result number = RunArgs({"calc", "1e+"});
    EXPECT_EQ(number.rc, 1);
    EXPECT_EQ(number.err, "kalvion-cli: Wrong number.\n");
    const Result grammar = RunArgs({"calc", "2*-3"});
    EXPECT_EQ(grammar.rc, 1);
    EXPECT_EQ(grammar.err, "kalvion-cli: Invalid expression: 2*-3\n");
}

TEST(CliScience, Date)
{
    EXPECT_EQ(RunArgs({"date", "--epoch", "2024", "--time", "59.5"}).out, "29 Feb 2024 12:00:00\n");
    EXPECT_EQ(RunArgs({"date", "--epoch", "2000", "--time", "0", "--format", "dddd d mmmm y"}).out,
              "Saturday 1 January 2000\n");
    EXPECT_EQ(RunArgs({"date", "--epoch", "900000000", "--time", "0"}).rc, 1);
    for (const char *far : {"1e12", "-1e12", "1e18", "146200000000"}) {
        const Result r = RunArgs({"date", "--epoch", "2000", "--time", far});
        EXPECT_EQ(r.rc, 1) << far << ": " << r.out;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("outside the calendar"), std::string::npos) << r.err;
    }
    EXPECT_EQ(RunArgs({"date", "--epoch", "2000", "--time", "36524250"}).rc, 0); // 100,000 years on
    EXPECT_EQ(RunArgs({"date", "--time", "0"}).rc, 2);
}
