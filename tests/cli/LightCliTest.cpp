// kalvion-cli runs the version, info and search itself and hands every other
// command line to kalvion-cli-full: the user sees the same output, messages
// and exit status either way, and the quick program maps no Qt.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct Ran {
    int status = -1;
    std::string out, err;
};

std::string ReadAll(const std::string &command, int &status)
{
    std::string text;
    FILE *p = ::popen(command.c_str(), "r");
    if (!p)
        return text;
    std::array<char, 4096> buf;
    while (std::size_t n = std::fread(buf.data(), 1, buf.size(), p))
        text.append(buf.data(), n);
    status = ::pclose(p);
    return text;
}

std::string Quoted(const std::string &s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

Ran RunProgram(const fs::path &program, const std::vector<std::string> &args, const fs::path &dir)
{
    std::string line = Quoted(program.string());
    for (const auto &a : args)
        line += " " + Quoted(a);
    Ran r;
    const std::string errFile = (dir / "stderr.txt").string();
    r.out = ReadAll(line + " 2>" + Quoted(errFile), r.status);
    int ignored = 0;
    r.err = ReadAll("cat " + Quoted(errFile), ignored);
    return r;
}

class LightCliTest : public ::testing::Test {
protected:
    fs::path Bin, Dir;
    void SetUp() override
    {
        const char *bin = std::getenv("KALVION_DATA_DIR");
        ASSERT_NE(bin, nullptr);
        Bin = bin;
        ASSERT_TRUE(fs::exists(Bin / "kalvion-cli"));
        ASSERT_TRUE(fs::exists(Bin / "kalvion-cli-full"));
        Dir = fs::temp_directory_path() / ("kalvion_lightcli_" + std::to_string(::getpid()));
        fs::remove_all(Dir);
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }
};

TEST_F(LightCliTest, BothProgramsAnswerAlike)
{
    const std::string sector = (Dir / "s.VexaDB").string();
    // Generation is the whole program's: the quick one hands it over.
    const Ran gen = RunProgram(Bin / "kalvion-cli", {"--seed", "5", "generate", sector, "--systems", "12"}, Dir);
    ASSERT_EQ(gen.status, 0) << gen.err;
    ASSERT_TRUE(fs::exists(sector));

    const std::vector<std::vector<std::string>> lines = {
        {"--version"},
        {"info", sector},
        {"--json", "info", sector},
        {"info", sector, "--json"},
        {"info", (Dir / "missing.VexaDB").string()},
        {"search", sector, "star"},
        {"search", sector, "terrestrial population > 0", "--limit", "2"},
        {"--json", "search", sector, "systems with star"},
        {"search", sector, "star", "--root-only"},
        {"search", sector, "within 10 star", "--select", "no such system"},
        {"search", sector, "temp >"},
        {"search", sector},
        {"search", "--help"},
        {"search", sector, "star", "--bogus"},
        {"--seed", "3", "search", sector, "star"},
        {"dice", "2d1"},
        {"bogus-command"},
    };
    for (const auto &args : lines) {
        std::string shown;
        for (const auto &a : args)
            shown += a + " ";
        SCOPED_TRACE(shown);
        const Ran quick = RunProgram(Bin / "kalvion-cli", args, Dir);
        const Ran full = RunProgram(Bin / "kalvion-cli-full", args, Dir);
        EXPECT_EQ(quick.status, full.status);
        EXPECT_EQ(quick.out, full.out);
        EXPECT_EQ(quick.err, full.err);
    }
}

TEST_F(LightCliTest, TheQuickProgramMapsNoQt)
{
    int status = -1;
    const std::string libs = ReadAll("ldd " + Quoted((Bin / "kalvion-cli").string()), status);
    ASSERT_EQ(WEXITSTATUS(status), 0) << libs;
    EXPECT_EQ(libs.find("libQt6"), std::string::npos) << libs;
    EXPECT_EQ(libs.find("libavcodec"), std::string::npos) << libs;
}

} // namespace
