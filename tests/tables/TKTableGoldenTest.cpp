// Every fixture under data/golden/ is loaded and generated with the seed and
// count of its first line ("// seed: N count: M"); the output, one result per
// line, must equal the fixture's .expected file byte for byte.
#include "base/SharedRandom.h"
#include "tables/ClassTKTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using namespace kalvion;

namespace {

std::string ReadAll(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string CrLfToLf(std::string text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            out.push_back(text[i]);
    return out;
}

} // namespace

TEST(TKTableGolden, EveryFixtureGivesItsExpectedOutput)
{
    const fs::path dir = fs::path(KALVION_TEST_DATA_DIR) / "golden";
    std::vector<fs::path> files;
    for (const auto &entry : fs::directory_iterator(dir))
        if (entry.path().extension() == ".ilt")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    ASSERT_GE(files.size(), 8u);

    for (const auto &file : files) {
        SCOPED_TRACE(file.filename().string());
        long seed = 0;
        int count = 0;
        const std::string text = ReadAll(file);
        ASSERT_EQ(std::sscanf(text.c_str(), "// seed: %ld count: %d", &seed, &count), 2);

        TTKTableApplication app;
        ASSERT_TRUE(app.Load(file.string(), KALVION_TEST_DATA_DIR)) << app.LastError();
        SetSharedRandomSeed(static_cast<std::int32_t>(seed));
        const std::string actual = CrLfToLf(app.Go(count));

        fs::path expectedPath = file;
        expectedPath.replace_extension(".expected");
        if (std::getenv("KALVION_UPDATE_GOLDEN")) {
            std::ofstream(expectedPath, std::ios::binary) << actual;
            continue;
        }
        ASSERT_TRUE(fs::exists(expectedPath));
        EXPECT_EQ(actual, ReadAll(expectedPath));
    }
}
