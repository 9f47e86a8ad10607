// Ctrl-C during "generate": an existing file is never replaced by a partial
// sector, a new one keeps what was made, and the exit status is 130.
#include "CliRun.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

using kalvion::cli::test::Result;
using kalvion::cli::test::RunCmd;

namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path &file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs a long generation in a child process and presses Ctrl-C at it until
// it ends; returns its exit status.  SIGINT is ignored in the child outside
// the command's own handler, so a press that comes early is simply lost.
int GenerateInterrupted(const std::vector<std::string> &args)
{
    int ready[2];
    if (::pipe(ready) != 0)
        return -2;
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGINT, SIG_IGN);
        [[maybe_unused]] const auto n = ::write(ready[1], "r", 1);
        const Result r = RunCmd(args);
        ::_exit(r.code);
    }
    ::close(ready[1]);
    char byte = 0;
    [[maybe_unused]] const auto n = ::read(ready[0], &byte, 1);
    ::close(ready[0]);
    int status = 0;
    for (;;) {
        ::kill(child, SIGINT);
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child)
            break;
        ::usleep(20000);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -100 - WTERMSIG(status);
}

TEST(CliGenerateInterrupt, AnExistingFileIsNeverReplacedByAPartialSector)
{
    const fs::path dir = fs::temp_directory_path() / ("kalvion_cli_int_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path target = dir / "kept.VexaDB";
    ASSERT_EQ(RunCmd({"--seed", "1", "generate", target.string(), "--systems", "30"}).code, 0);
    const std::string before = ReadBytes(target);

    const int rc = GenerateInterrupted({"generate", target.string(), "--replace", "--systems", "300000", "--data",
                                        "none", "--no-subsectors"});
    EXPECT_EQ(rc, 130);
    EXPECT_EQ(ReadBytes(target), before);
    EXPECT_FALSE(fs::exists(target.string() + ".generating~"));

    // A new file keeps what was made before the interrupt.
    const fs::path fresh = dir / "fresh.VexaDB";
    EXPECT_EQ(GenerateInterrupted({"generate", fresh.string(), "--systems", "300000", "--data", "none",
                                   "--no-subsectors"}),
              130);
    EXPECT_TRUE(fs::exists(fresh));
    EXPECT_EQ(RunCmd({"info", fresh.string()}).code, 0);
    fs::remove_all(dir);
}

} // namespace
