#include "base/SafeFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kalvion;
namespace fs = std::filesystem;

namespace {

fs::path FreshFolder(const char *name)
{
    const fs::path dir = fs::temp_directory_path() / ("kalvion-safefile-" + std::to_string(::getpid())) / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::string Slurp(const fs::path &p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void Put(const fs::path &p, const std::string &text) { std::ofstream(p, std::ios::binary) << text; }

std::size_t EntryCount(const fs::path &dir)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

} // namespace

TEST(SafeFile, ReplacesThroughANewFileAndLeavesNothingBeside)
{
    const fs::path dir = FreshFolder("replace");
    const fs::path target = dir / "page.html";
    Put(target, "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    std::string error;
    ASSERT_TRUE(ReplaceFileContents(target.string(), {"<html>", "body", "</html>"}, &error)) << error;
    EXPECT_EQ(Slurp(target), "<html>body</html>");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(EntryCount(dir), 1u);
    ASSERT_TRUE(ReplaceFileContents((dir / "new.png").string(), std::string_view("png"), &error));
    EXPECT_EQ(Slurp(dir / "new.png"), "png");
}

TEST(SafeFile, NeverWritesThroughALinkPlantedAtTheTarget)
{
    const fs::path dir = FreshFolder("link");
    const fs::path victim = dir / "victim.txt";
    Put(victim, "precious");
    fs::create_symlink(victim, dir / "out.png");
    ASSERT_TRUE(ReplaceFileContents((dir / "out.png").string(), std::string_view("picture")));
    EXPECT_EQ(Slurp(victim), "precious");
    EXPECT_FALSE(fs::is_symlink(dir / "out.png"));
    EXPECT_EQ(Slurp(dir / "out.png"), "picture");
}

TEST(SafeFile, RefusesFoldersAndReportsDevicesThatCannotTakeTheBytes)
{
    const fs::path dir = FreshFolder("refuse");
    std::string error;
    EXPECT_FALSE(ReplaceFileContents(dir.string(), std::string_view("x"), &error));
    EXPECT_NE(error.find("folder"), std::string::npos);
    EXPECT_FALSE(ReplaceFileContents((dir / "missing" / "x.png").string(), std::string_view("x"), &error));
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;
    if (fs::exists("/dev/full")) {
        EXPECT_FALSE(ReplaceFileContents("/dev/full", std::string_view("bytes"), &error));
        EXPECT_NE(error.find("No space left"), std::string::npos) << error;
        EXPECT_TRUE(fs::is_character_file("/dev/full"));
    }
    EXPECT_TRUE(ReplaceFileContents("/dev/null", std::string_view("bytes"), &error)) << error;
}

// A file-size limit stands in for a full disk: the write fails part-way.
TEST(SafeFile, AFailedWriteKeepsTheOldFileAndRemovesTheNewOne)
{
    const fs::path dir = FreshFolder("full");
    const fs::path target = dir / "map.png";
    Put(target, "old picture");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100, 100};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::string error;
        const bool ok = ReplaceFileContents(target.string(), std::string(4096, 'x'), &error);
        ::_exit(!ok && error.find("cannot write") != std::string::npos ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(Slurp(target), "old picture");
    EXPECT_EQ(EntryCount(dir), 1u);
}

TEST(SafeFile, CreatesOnlyNewNamesAndCountsDanglingLinksAsTaken)
{
    const fs::path dir = FreshFolder("create");
    bool existed = true;
    ASSERT_TRUE(CreateNewFile((dir / "a.gif").string(), "gif", &existed));
    EXPECT_FALSE(existed);
    EXPECT_FALSE(CreateNewFile((dir / "a.gif").string(), "other", &existed));
    EXPECT_TRUE(existed);
    EXPECT_EQ(Slurp(dir / "a.gif"), "gif");
    fs::create_symlink(dir / "nowhere.txt", dir / "b.gif");
    EXPECT_FALSE(CreateNewFile((dir / "b.gif").string(), "gif", &existed));
    EXPECT_TRUE(existed);
    EXPECT_FALSE(fs::exists(dir / "nowhere.txt"));
}

TEST(SafeFile, SamePathSeesThroughDotsAndLinks)
{
    const fs::path dir = FreshFolder("same");
    Put(dir / "s.VexaDB", "x");
    fs::create_symlink(dir / "s.VexaDB", dir / "alias.VexaDB");
    EXPECT_TRUE(SameFilePath((dir / "s.VexaDB").string(), (dir / "." / "s.VexaDB").string()));
    EXPECT_TRUE(SameFilePath((dir / "s.VexaDB").string(), (dir / "alias.VexaDB").string()));
    EXPECT_FALSE(SameFilePath((dir / "s.VexaDB").string(), (dir / "r.html").string()));
    EXPECT_TRUE(SameFilePath((dir / "n.png").string(), (dir / ".." / "same" / "n.png").string()));
}

// A file written piece by piece: the old one stays readable until Commit,
// pieces small and larger than the buffer arrive in order, and nothing is
// left beside it.
TEST(SafeFileWriter, WritesInPiecesAndReplacesOnlyOnCommit)
{
    const fs::path dir = FreshFolder("writer");
    const fs::path target = dir / "page.html";
    Put(target, "old");
    std::string expected;
    {
        TSafeFileWriter out;
        std::string error;
        ASSERT_TRUE(out.Open(target.string(), &error)) << error;
        for (int i = 0; i < 20000; ++i) {
            const std::string piece = "<p>" + std::to_string(i) + "</p>\r\n";
            out.Write(piece);
            expected += piece;
        }
        const std::string large(600 * 1024, 'L');
        out.Write(large);
        expected += large;
        out.Write("end");
        expected += "end";
        EXPECT_FALSE(out.Failed());
        EXPECT_EQ(Slurp(target), "old");
        EXPECT_EQ(EntryCount(dir), 2u);
        ASSERT_TRUE(out.Commit(&error)) << error;
    }
    EXPECT_EQ(Slurp(target), expected);
    EXPECT_EQ(EntryCount(dir), 1u);

    // Given up without Commit: the old file stays and the new one goes.
    {
        TSafeFileWriter out;
        ASSERT_TRUE(out.Open(target.string()));
        out.Write("half a page");
    }
    EXPECT_EQ(Slurp(target), expected);
    EXPECT_EQ(EntryCount(dir), 1u);

    TSafeFileWriter folder;
    std::string error;
    EXPECT_FALSE(folder.Open(dir.string(), &error));
    EXPECT_NE(error.find("folder"), std::string::npos);
    EXPECT_FALSE(folder.Commit(&error));
    EXPECT_NE(error.find("folder"), std::string::npos);
}

TEST(SafeFileWriter, AFailedWriteFailsTheCommitAndKeepsTheOldFile)
{
    const fs::path dir = FreshFolder("writer-full");
    const fs::path target = dir / "page.html";
    Put(target, "old page");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64 * 1024, 64 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        TSafeFileWriter out;
        if (!out.Open(target.string()))
            ::_exit(2);
        for (int i = 0; i < 100000; ++i)
            out.Write("0123456789");
        std::string error;
        const bool ok = out.Commit(&error);
        ::_exit(!ok && error.find("cannot write") != std::string::npos ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(Slurp(target), "old page");
    EXPECT_EQ(EntryCount(dir), 1u);
}

// Bytes that wait in a scratch file come out whole and in order, and the
// scratch file never shows up in its folder.
TEST(ScratchFile, HoldsBytesWithoutANameAndCopiesThemOut)
{
    const fs::path dir = FreshFolder("scratch");
    std::string expected;
    {
        TScratchFile scratch;
        std::string error;
        ASSERT_TRUE(scratch.Open(dir.string(), &error)) << error;
        EXPECT_EQ(EntryCount(dir), 0u);
        for (int i = 0; i < 50000; ++i) {
            const std::string piece = "section " + std::to_string(i) + "\r\n";
            scratch.Write(piece);
            expected += piece;
        }
        TSafeFileWriter out;
        ASSERT_TRUE(out.Open((dir / "page.html").string(), &error)) << error;
        out.Write("head|");
        ASSERT_TRUE(scratch.CopyTo(out, &error)) << error;
        out.Write("|end");
        ASSERT_TRUE(out.Commit(&error)) << error;
    }
    EXPECT_EQ(Slurp(dir / "page.html"), "head|" + expected + "|end");
    EXPECT_EQ(EntryCount(dir), 1u);

    TScratchFile missing;
    std::string error;
    EXPECT_FALSE(missing.Open((dir / "no" / "such").string(), &error));
    EXPECT_FALSE(error.empty());
}
