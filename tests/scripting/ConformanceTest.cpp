// Runs every script under data/<area>/ and compares what it shows (MsgBox
// texts, in order) and how it fails (number, description, zero-based line
// and column) with the expectations written at its end:
//   '> text                  one line the script shows
//   '! number @line:col description
#include "scripting/vbs/Interpreter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using namespace kalvion::vbs;

namespace {

class Capture final : public HostServices {
public:
    std::vector<std::string> Shown;
    int MsgBox(const std::string &prompt, int, const std::string &) override
    {
        Shown.push_back(prompt);
        return 1;
    }
    std::optional<std::string> InputBox(const std::string &, const std::string &, const std::string &def) override
    {
        return def;
    }
};

struct Expectation {
    std::vector<std::string> Out;
    bool HasError = false;
    int Number = 0, Line = 0, Col = 0;
    std::string Description;
};

std::string ReadFile(const fs::path &p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

Expectation Parse(const std::string &text)
{
    Expectation e;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("'> ", 0) == 0)
            e.Out.push_back(line.substr(3));
        else if (line.rfind("'! ", 0) == 0) {
            e.HasError = true;
            std::istringstream ls(line.substr(3));
            char at, colon;
            ls >> e.Number >> at >> e.Line >> colon >> e.Col;
            std::getline(ls, e.Description);
            if (!e.Description.empty() && e.Description[0] == ' ')
                e.Description.erase(0, 1);
        }
    }
    return e;
}

void RunCase(const fs::path &file)
{
    SCOPED_TRACE(file.string());
    const std::string text = ReadFile(file);
    const Expectation want = Parse(text);
    Capture ui;
    bool failed = false;
    ScriptError got(0);
    {
        Interpreter in;
        in.Host = &ui;
        in.SetStepLimit(10'000'000);
        try {
            in.Execute(text);
        } catch (const ScriptError &e) {
            failed = true;
            got = e;
        }
    }
    EXPECT_EQ(ui.Shown, want.Out);
    if (want.HasError) {
        ASSERT_TRUE(failed) << "expected error " << want.Number;
        EXPECT_EQ(got.Number, want.Number);
        EXPECT_EQ(got.Description, want.Description);
        EXPECT_EQ(got.Line, want.Line);
        EXPECT_EQ(got.Column, want.Col);
    } else {
        EXPECT_FALSE(failed) << "unexpected error " << got.Number << " " << got.Description << " at " << got.Line
                             << ":" << got.Column;
    }
}

std::vector<fs::path> CasesOf(const std::string &area)
{
    std::vector<fs::path> files;
    for (const auto &e : fs::directory_iterator(fs::path(KALVION_TEST_DATA_DIR) / area))
        if (e.path().extension() == ".vbs")
            files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

const std::vector<std::string> kAreas = {"arrays",  "classes", "comparison", "control",    "conversion",
                                         "dates",   "errors",  "eval",       "locale",     "math",
                                         "objects", "operators", "procedures", "regexp", "strings",
                                         "variables"};

class Conformance : public ::testing::TestWithParam<std::string> {};

TEST_P(Conformance, Area)
{
    const auto files = CasesOf(GetParam());
    ASSERT_FALSE(files.empty());
    for (const auto &f : files)
        RunCase(f);
}

INSTANTIATE_TEST_SUITE_P(Scripts, Conformance, ::testing::ValuesIn(kAreas),
                         [](const ::testing::TestParamInfo<std::string> &i) { return i.param; });

TEST(ConformanceSuite, EveryAreaListedAndLargeEnough)
{
    std::size_t total = 0;
    for (const auto &e : fs::directory_iterator(KALVION_TEST_DATA_DIR)) {
        if (!e.is_directory())
            continue;
        EXPECT_NE(std::find(kAreas.begin(), kAreas.end(), e.path().filename().string()), kAreas.end())
            << e.path();
        total += CasesOf(e.path().filename().string()).size();
    }
    EXPECT_GE(total, 300u);
}

} // namespace
