#include "CliRun.h"

#include <QImage>
#include <QString>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace kalvion::cli;
using kalvion::cli::test::Result;
using kalvion::cli::test::RunCmd;

namespace {

namespace fs = std::filesystem;

fs::path TempDir(const std::string &name)
{
    fs::path dir = fs::temp_directory_path() / ("kalvion_cli_exchange_" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

TEST(CliExchange, ImportThenReport)
{
    const fs::path dir = TempDir("flow");
    const std::string sector = (dir / "s.VexaDB").string();
    const std::string csv = (dir / "d.csv").string();
    std::ofstream(csv) << "; two stars\nstar,1,Alpha,1,2,3,1,1,1,G2V\nstar,,Beta,4,5,6,2,,,K0V\nroute,Alpha,Gone,t,n,,0,1\n";
    ASSERT_EQ(RunCmd({"new", sector}).code, 0);

    // A line not imported makes the run a failure; the good lines are saved.
    Result r = RunCmd({"import-csv", sector, csv});
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_NE(r.err.find("1 line(s)"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "2 record(s) imported, 1 record(s) not imported\nErrors occurred during import on:\n"
                     "Line 4 Body: Gone\nEnd Import.\n");
    r = RunCmd({"--json", "info", sector});
    EXPECT_NE(r.out.find("\"systems\":2"), std::string::npos) << r.out;

    // Replacing twice leaves one copy, saved.
    r = RunCmd({"import-csv", sector, csv, "--replace"});
    EXPECT_EQ(r.code, 1);
    r = RunCmd({"--json", "info", sector});
    EXPECT_NE(r.out.find("\"systems\":2"), std::string::npos) << r.out;

    r = RunCmd({"import-csv", sector, (dir / "missing.csv").string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("not found"), std::string::npos);

    const std::string page = (dir / "out" / "r.html").string();
    fs::create_directories(dir / "out");
    r = RunCmd({"report", sector, page, "--style", "0", "--gm-notes"});
    EXPECT_EQ(r.code, 0) << r.err;
    std::ifstream in(page);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("<title>s Report</title>"), std::string::npos);
    EXPECT_NE(text.str().find("Number of Systems: 2<br>"), std::string::npos);

    EXPECT_EQ(RunCmd({"report", sector, page, "--style", "7"}).code, 2);
    // Output folders are made as they are for "new"; other formats are refused.
    EXPECT_EQ(RunCmd({"report", sector, (dir / "nowhere" / "r.html").string()}).code, 0);
    EXPECT_TRUE(fs::exists(dir / "nowhere" / "r.html"));
    EXPECT_EQ(RunCmd({"report", sector, (dir / "r.pdf").string()}).code, 2);
    EXPECT_FALSE(fs::exists(dir / "r.pdf"));
    fs::remove_all(dir);
}

TEST(CliExchange, LargeReportIsWrittenUnlessRefused)
{
    const fs::path dir = TempDir("large");
    const std::string sector = (dir / "s.VexaDB").string();
    const std::string csv = (dir / "d.csv").string();
    {
        std::ofstream out(csv);
        for (int i = 0; i < 1001; ++i)
            out << "star,,S" << i << "," << i << ",0,0,1,1,1,G\n";
    }
    ASSERT_EQ(RunCmd({"new", sector}).code, 0);
    ASSERT_EQ(RunCmd({"import-csv", sector, csv}).code, 0);
    const std::string page = (dir / "r.html").string();
    Result r = RunCmd({"report", sector, page, "--no-large"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("1001 system entries"), std::string::npos);
    EXPECT_FALSE(fs::exists(page));
    r = RunCmd({"report", sector, page});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(fs::exists(page));
    fs::remove_all(dir);
}

} // namespace

// The symbol images we ship are real GIF pictures of 16 by 16 pixels.
TEST(CliExchange, SymbolImagesDecode)
{
    const char *dataDir = std::getenv("KALVION_DATA_DIR");
    ASSERT_NE(dataDir, nullptr);
    int count = 0;
    for (const auto &entry : fs::directory_iterator(fs::path(dataDir) / "SectorReports")) {
        if (entry.path().extension() != ".gif")
            continue;
        ++count;
        QImage image;
        ASSERT_TRUE(image.load(QString::fromStdString(entry.path().string()), "GIF")) << entry.path();
        EXPECT_EQ(image.width(), 16);
        EXPECT_EQ(image.height(), 16);
    }
    EXPECT_EQ(count, 10);
}
