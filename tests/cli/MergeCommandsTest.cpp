#include "cli/CliApp.h"
#include "files/SectorFile.h"
#include "model/VexaSector.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

using namespace kalvion;

namespace {

int Cli(std::vector<std::string> args, std::string *outText = nullptr, std::string *errText = nullptr)
{
    args.insert(args.begin(), "kalvion-cli");
    std::ostringstream out, err;
    const int rc = cli::RunCli(args, out, err);
    if (outText)
        *outText = out.str();
    if (errText)
        *errText = err.str();
    return rc;
}

std::string Temp(const std::string &name)
{
    const std::string p = ::testing::TempDir() + "/" + name;
    std::remove(p.c_str());
    return p;
}

void AddStar(const std::string &file, const std::string &name, double x)
{
    TVexaSector s;
    ASSERT_TRUE(LoadFromFile(s, file));
    auto b = TStellarBody::Create();
    b->Name = name;
    b->X = x;
    s.AddSystem(std::move(b));
    ASSERT_TRUE(SaveToFile(s, file, false));
}

} // namespace

TEST(MergeCommands, MergeAndCatalogueSaveTheTarget)
{
    const std::string a = Temp("merge-a.VexaDB"), b = Temp("merge-b.VexaDB");
    ASSERT_EQ(Cli({"new", a}), 0);
    ASSERT_EQ(Cli({"new", b}), 0);
    AddStar(b, "Visitor", 0);
    std::string out;
    ASSERT_EQ(Cli({"merge", a, b, "--placement", "5"}, &out), 0) << out;
    EXPECT_NE(out.find("1 systems added"), std::string::npos);
    ASSERT_EQ(Cli({"merge", a, b, "--mode", "skip"}, &out), 0);
    EXPECT_NE(out.find("0 systems added"), std::string::npos);
    ASSERT_EQ(Cli({"merge", a, b, "--offset", "1,2,3"}), 0);
    TVexaSector s;
    ASSERT_TRUE(LoadFromFile(s, a));
    ASSERT_EQ(s.SystemCount(), 2);
    EXPECT_DOUBLE_EQ(s.GetSystem(0)->X, 20); // beside the right face of a 20 ly sector
    EXPECT_DOUBLE_EQ(s.GetSystem(1)->Z, 3);

    const std::string cat = Temp("cat.txt");
    {
        std::ofstream f(cat);
        f << "Gliese code: Gl 1\nEarth-based (1, 0, 0)\n";
    }
    ASSERT_EQ(Cli({"import-catalogue", a, cat}, &out), 0);
    EXPECT_NE(out.find("Imported 1 stars"), std::string::npos);
    std::string err;
    EXPECT_EQ(Cli({"import-catalogue", a, cat + ".missing"}, nullptr, &err), 1);
}

TEST(MergeCommands, UsageAndFailures)
{
    const std::string a = Temp("merge-usage.VexaDB");
    ASSERT_EQ(Cli({"new", a}), 0);
    EXPECT_EQ(Cli({"merge", a, a, "--mode", "sideways"}), 2);
    EXPECT_EQ(Cli({"merge", a, a, "--offset", "1,2"}), 2);
    std::string err;
    EXPECT_EQ(Cli({"convert", a, a}, nullptr, &err), 1);
    EXPECT_NE(err.find("different name"), std::string::npos);
    EXPECT_EQ(Cli({"convert", Temp("none.Sector"), Temp("none.VexaDB")}, nullptr, &err), 1);
    EXPECT_EQ(Cli({"merge", Temp("absent.VexaDB"), a}, nullptr, &err), 1);
}

TEST(MergeCommands, NothingToMergeFromFailsAndLeavesTheTarget)
{
    const std::string a = Temp("merge-target.VexaDB");
    ASSERT_EQ(Cli({"new", a}), 0);
    AddStar(a, "Home", 0);
    const std::string text = Temp("merge-text.txt");
    std::ofstream(text) << "not a sector\n";
    const std::string empty = Temp("merge-empty.VexaDB");
    std::ofstream(empty).flush();
    std::string out, err;
    EXPECT_EQ(Cli({"merge", a, Temp("merge-missing.VexaDB")}, &out, &err), 1);
    EXPECT_NE(err.find("does not exist"), std::string::npos) << err;
    EXPECT_EQ(out.find("systems added"), std::string::npos);
    EXPECT_EQ(Cli({"merge", a, ::testing::TempDir()}, &out, &err), 1);
    EXPECT_NE(err.find("is a folder"), std::string::npos) << err;
    EXPECT_EQ(Cli({"merge", a, text}, &out, &err), 1);
    EXPECT_NE(err.find("cannot merge " + text), std::string::npos) << err;
    EXPECT_EQ(Cli({"merge", a, empty}, &out, &err), 1);
    EXPECT_EQ(out.find("systems added"), std::string::npos);
    TVexaSector s;
    ASSERT_TRUE(LoadFromFile(s, a));
    EXPECT_EQ(s.SystemCount(), 1);
}

TEST(MergeCommands, CatalogueFromAPipeOrADeviceEnds)
{
    const std::string a = Temp("catalogue-target.VexaDB");
    ASSERT_EQ(Cli({"new", a}), 0);
    std::string out, err;
    // An endless device stops at the bound with a clear message.
    EXPECT_EQ(Cli({"import-catalogue", a, "/dev/zero"}, &out, &err), 1);
    EXPECT_NE(err.find("longer than"), std::string::npos) << err;
    // A folder is not a listing.
    EXPECT_EQ(Cli({"import-catalogue", a, ::testing::TempDir()}, &out, &err), 1);
    EXPECT_NE(err.find("is a folder"), std::string::npos) << err;
    // A pipe nobody writes to reads as empty instead of waiting.
    const std::string fifo = Temp("catalogue.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(Cli({"import-catalogue", a, fifo}, &out, &err), 1);
    EXPECT_NE(err.find("no star with a position"), std::string::npos) << err;
    // A pipe whose writer has finished is read to its end.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const std::string listing = "Gliese code: Gl 1\nEarth-based (1, 0, 0)\n";
    ASSERT_EQ(::write(ends[1], listing.data(), listing.size()), static_cast<ssize_t>(listing.size()));
    ::close(ends[1]);
    const int rc = Cli({"import-catalogue", a, "/dev/fd/" + std::to_string(ends[0])}, &out, &err);
    ::close(ends[0]);
    EXPECT_EQ(rc, 0) << err;
    EXPECT_NE(out.find("Imported 1 stars"), std::string::npos);
    std::remove(fifo.c_str());
}

// What cannot be read says what it is and which file it is.
TEST(MergeCommands, MissingCatalogueAndNonSectorConvertSayWhatTheyAre)
{
    const std::string a = Temp("catalogue-missing-target.VexaDB");
    ASSERT_EQ(Cli({"new", a}), 0);
    std::string out, err;
    const std::string missing = Temp("no-such-listing.txt");
    EXPECT_EQ(Cli({"import-catalogue", a, missing}, &out, &err), 1);
    EXPECT_EQ(err, "kalvion-cli: The catalogue \"" + missing + "\" does not exist\n");
    EXPECT_EQ(out, "");

    // A text file and a sector database are no older sector files; neither
    // is described as the work of a newer program.
    const std::string text = Temp("convert-me.txt");
    std::ofstream(text) << "not a sector at all, just some words\n";
    const std::string target = Temp("converted.VexaDB");
    EXPECT_EQ(Cli({"convert", text, target}, &out, &err), 1);
    EXPECT_NE(err.find("\"" + text + "\" is not an older sector file"), std::string::npos) << err;
    EXPECT_EQ(err.find("newer version"), std::string::npos) << err;
    EXPECT_EQ(Cli({"convert", a, target}, &out, &err), 1);
    EXPECT_NE(err.find("is a sector database already"), std::string::npos) << err;
    EXPECT_EQ(err.find("newer version"), std::string::npos) << err;
    std::ifstream probe(target);
    EXPECT_FALSE(probe.good());
}

// Entries that could not be placed are said beside the success.
TEST(MergeCommands, CatalogueSaysWhatItPassedOver)
{
    const std::string a = Temp("catalogue-skips.VexaDB");
    ASSERT_EQ(Cli({"new", a}), 0);
    const std::string cat = Temp("skips.txt");
    std::ofstream(cat) << "Gliese code: Gl 1\nEarth-based (1, 0, 0)\n"
                       << "Gliese code: Gl 2\nEarth-based (one, 0, 0)\n"
                       << "Gliese code: Gl 3\nRemarks: no position\n";
    std::string out, err;
    ASSERT_EQ(Cli({"import-catalogue", a, cat}, &out, &err), 0) << err;
    EXPECT_NE(out.find("Imported 1 stars"), std::string::npos) << out;
    EXPECT_NE(err.find("warning: 2 catalogue entry(ies) without a readable position were skipped"), std::string::npos)
        << err;
}
