// "kalvion-cli generate": options, repeatability, replacing files, and the
// agreement of its counts with "info".
#include "CliRun.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <csignal>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kalvion::cli;
using kalvion::cli::test::Result;
using kalvion::cli::test::RunCmd;

namespace {

namespace fs = std::filesystem;

fs::path TempDir(const std::string &name)
{
    fs::path dir = fs::temp_directory_path() / ("kalvion_cli_gen_" + std::to_string(::getpid()) + "_" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

nlohmann::json Json(const Result &r)
{
    EXPECT_EQ(r.code, 0) << r.err;
    return nlohmann::json::parse(r.out);
}

TEST(CliGenerate, SameSeedSameSectorAndInfoAgrees)
{
    const fs::path dir = TempDir("seed");
    const std::string a = (dir / "a.VexaDB").string(), b = (dir / "b.VexaDB").string();
    const std::vector<std::string> args = {"--size", "16", "--frequency", "20", "--subsectors", "2,1,4"};
    auto with = [&](const std::string &file) {
        std::vector<std::string> v = {"--json", "--seed", "99", "generate", file};
        v.insert(v.end(), args.begin(), args.end());
        return v;
    };
    const nlohmann::json ga = Json(RunCmd(with(a)));
    const nlohmann::json gb = Json(RunCmd(with(b)));
    EXPECT_GT(ga["systems"].get<int>(), 50);
    EXPECT_EQ(ga["systems"], gb["systems"]);
    EXPECT_EQ(ga["bodies"], gb["bodies"]);
    EXPECT_EQ(ga["populated_systems"], gb["populated_systems"]);
    EXPECT_EQ(ga["subsectors"], 8);
    EXPECT_FALSE(ga["cancelled"].get<bool>());
    EXPECT_FALSE(fs::exists(a + ".generating~"));

    const nlohmann::json ia = Json(RunCmd({"--json", "info", a}));
    EXPECT_EQ(ia["counts"]["systems"], ga["systems"]);
    EXPECT_EQ(ia["counts"]["bodies"], ga["bodies"]);
    EXPECT_EQ(ia["counts"]["subsectors"], 8);
    EXPECT_EQ(ia["name"], "a");
    EXPECT_EQ(ia["settings"]["frequency"], 20);

    // Names and positions agree system by system.
    const Result sa = RunCmd({"--json", "search", a, "Name <> ''", "--root-only"});
    const Result sb = RunCmd({"--json", "search", b, "Name <> ''", "--root-only"});
    ASSERT_EQ(sa.code, 0) << sa.err;
    // GUIDs aside.
    const auto strip = [](const std::string &text) {
        nlohmann::json j = nlohmann::json::parse(text);
        for (auto &row : j["results"])
            row.erase("id");
        return j;
    };
    const nlohmann::json ja = strip(sa.out), jb = strip(sb.out);
    EXPECT_EQ(ja["count"], ga["systems"]);
    EXPECT_TRUE(ja == jb);
    fs::remove_all(dir);
}

TEST(CliGenerate, SpheresTotalsModesAndUnits)
{
    const fs::path dir = TempDir("modes");
    const std::string f = (dir / "s.VexaDB").string();
    nlohmann::json g = Json(RunCmd({"--json", "--seed", "1", "generate", f, "--shape", "sphere", "--systems", "40",
                                    "--data", "none", "--no-subsectors", "--unit", "pc"}));
    EXPECT_EQ(g["systems"], 40);
    EXPECT_EQ(g["bodies"], 40);
    EXPECT_EQ(g["subsectors"], 0);
    nlohmann::json info = Json(RunCmd({"--json", "info", f}));
    EXPECT_TRUE(info["settings"]["spherical"].get<bool>());
    EXPECT_EQ(info["settings"]["unit_abbrev"], "pc");

    // An existing file is kept unless --replace is given.
    Result r = RunCmd({"generate", f, "--size", "4"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("already exists"), std::string::npos);
    EXPECT_EQ(Json(RunCmd({"--json", "info", f}))["counts"]["systems"], 40);
    g = Json(RunCmd({"--json", "--seed", "2", "generate", f, "--replace", "--radius", "3", "--frequency", "100",
                     "--data", "stars", "--freq", "Mult=0", "--freq", "singlestar=50", "--no-populations"}));
    EXPECT_EQ(g["populated_systems"], 0);
    info = Json(RunCmd({"--json", "info", f}));
    EXPECT_EQ(info["counts"]["systems"], g["systems"]);
    EXPECT_NEAR(info["settings"]["size"][0].get<double>(), 6, 1e-9);
    fs::remove_all(dir);
}

TEST(CliGenerate, WrongOptionsAreUsageErrors)
{
    const fs::path dir = TempDir("usage");
    const std::string f = (dir / "u.VexaDB").string();
    for (const std::vector<std::string> &bad :
         {std::vector<std::string>{"--shape", "cube"}, {"--size", "10,20"}, {"--size", "-3"}, {"--unit", "au"},
          {"--distribution", "lumpy"}, {"--data", "lots"}, {"--subsectors", "6,2,2"}, {"--subsectors", "2,2"},
          {"--freq", "Comet=3"}, {"--freq", "Mult=60"}, {"--freq", "Mult"}, {"--frequency", "0"},
          {"--terraforming", "11"}, {"--radius", "-2"}, {"--shape", "box", "--radius", "4"},
          {"--size", "1e-300"}, {"--size", "1e308"}, {"--radius", "1e-300"}}) {
        std::vector<std::string> args = {"generate", f};
        args.insert(args.end(), bad.begin(), bad.end());
        const Result r = RunCmd(args);
        EXPECT_EQ(r.code, 2) << bad[0] << " " << bad.back() << ": " << r.err;
        EXPECT_FALSE(fs::exists(f));
    }
    const Result r = RunCmd({"generate", f, "--names", "No Such Table.ilt"});
    EXPECT_EQ(r.code, 1);
    fs::remove_all(dir);
}

// A request that could never be held is refused before any work starts,
// with the estimate and the reason.
TEST(CliGenerate, RequestsBeyondMemoryAreRefusedWithTheEstimate)
{
    const fs::path dir = TempDir("huge");
    const std::string f = (dir / "h.VexaDB").string();
    for (const std::vector<std::string> &huge :
         {std::vector<std::string>{"--size", "1000000"}, {"--radius", "400000", "--distribution", "clustered"}}) {
        std::vector<std::string> args = {"generate", f};
        args.insert(args.end(), huge.begin(), huge.end());
        const Result r = RunCmd(args);
        EXPECT_EQ(r.code, 1) << huge[1];
        EXPECT_NE(r.err.find("would make about"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("memory"), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_FALSE(fs::exists(f));
        EXPECT_FALSE(fs::exists(f + ".generating~"));
    }
    fs::remove_all(dir);
}

// A file-size limit stands in for a full disk: the final save fails and the
// command says only what is true about what was kept.
TEST(CliGenerate, AFullDiskIsReportedHonestly)
{
    const fs::path dir = TempDir("full");
    const std::string f = (dir / "g.VexaDB").string();
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(pipeFds[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{300 * 1024, 300 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const Result r = RunCmd({"generate", f, "--systems", "3000", "--data", "none"});
        const std::string text = std::to_string(r.code) + "\n" + r.out + "\x01" + r.err;
        [[maybe_unused]] const auto written = ::write(pipeFds[1], text.data(), text.size());
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    std::string text;
    char buf[4096];
    for (ssize_t n; (n = ::read(pipeFds[0], buf, sizeof buf)) > 0;)
        text.append(buf, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_EQ(text.substr(0, 2), "1\n") << text;
    const std::string err = text.substr(text.find('\x01') + 1);
    EXPECT_NE(err.find("none of the 3000 generated systems could be kept"), std::string::npos) << err;
    EXPECT_EQ(err.find("is kept in"), std::string::npos) << err;
    EXPECT_EQ(text.find("Saved "), std::string::npos);
    EXPECT_FALSE(fs::exists(f));
    EXPECT_FALSE(fs::exists(f + ".generating~"));
    fs::remove_all(dir);
}

TEST(CliGenerate, TenThousandSystemsOpenAndCountConsistently)
{
    const fs::path dir = TempDir("tenk");
    const std::string f = (dir / "Ten Thousand.VexaDB").string();
    const nlohmann::json g = Json(RunCmd({"--json", "--seed", "10000", "generate", f, "--systems", "10000"}));
    EXPECT_EQ(g["systems"], 10000);
    const nlohmann::json info = Json(RunCmd({"--json", "info", f}));
    EXPECT_EQ(info["counts"]["systems"], 10000);
    EXPECT_EQ(info["counts"]["bodies"], g["bodies"]);
    EXPECT_GT(info["counts"]["bodies"].get<int>(), 100000);
    EXPECT_EQ(info["counts"]["subsectors"], 8);
    EXPECT_EQ(info["name"], "Ten Thousand");
    fs::remove_all(dir);
}

} // namespace
