// kalvion-cli system --type and --names.
#include "cli/CliApp.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace kalvion::cli;

namespace {

struct TRun {
    int code;
    std::string out, err;
};

TRun RunCmd(std::vector<std::string> args)
{
    args.insert(args.begin(), "kalvion-cli");
    std::ostringstream out, err;
    const int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

TEST(CliSystemType, TypedStarIsNamedWithNamedPlanets)
{
    const TRun a = RunCmd({"system", "--type", "Star, Yellow", "--seed", "7"});
    ASSERT_EQ(a.code, 0) << a.err;
    EXPECT_EQ(a.out.rfind("Star \"", 0), 0u) << a.out;
    EXPECT_NE(a.out.find("\n  Terrestrial \""), std::string::npos) << a.out;
    EXPECT_EQ(a.out.find("Terrestrial\n"), std::string::npos) << "an unnamed planet";
    EXPECT_EQ(RunCmd({"system", "--type", "Star, Yellow", "--seed", "7"}).out, a.out);

    // Another table gives other names to the same system.
    const TRun f = RunCmd({"system", "--type", "Star, Yellow", "--seed", "7", "--names", "Kalvion Frontier Names.ilt"});
    ASSERT_EQ(f.code, 0) << f.err;
    EXPECT_NE(f.out, a.out);
    const TRun hole = RunCmd({"system", "--type", "Black Hole"});
    EXPECT_EQ(hole.code, 0);
    EXPECT_NE(hole.out.find("Mass: 100 solar masses"), std::string::npos) << hole.out;
}

TEST(CliSystemType, BadTypeOrTableIsReported)
{
    const TRun t = RunCmd({"system", "--type", "Star, Purple"});
    EXPECT_EQ(t.code, 2);
    EXPECT_NE(t.err.find("unknown system type 'Star, Purple'"), std::string::npos) << t.err;
    EXPECT_NE(t.err.find("  Star, White / Blue\n"), std::string::npos) << t.err;
    const TRun n = RunCmd({"system", "--names", "No Such Names.ilt"});
    EXPECT_EQ(n.code, 1);
    EXPECT_NE(n.err.find("name table not found: No Such Names.ilt"), std::string::npos) << n.err;
}

} // namespace
