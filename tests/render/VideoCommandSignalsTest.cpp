// "kalvion-cli video" as a user runs it: the program itself in a child
// process, stopped with Ctrl-C or SIGTERM half way through a recording.  A
// video that was there before stays as it was, a new one keeps what was
// recorded, no scratch file is left behind, and the sector file is never
// taken for the output.
#include "VideoDecode.h"
#include "XDisplay.h"

#include "cli/CliApp.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kalvion::test {
namespace {

namespace fs = std::filesystem;

std::string Bytes(const fs::path &file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

int Cli(std::vector<std::string> args, std::string *messages = nullptr)
{
    args.insert(args.begin(), "kalvion-cli");
    std::ostringstream out, err;
    const int code = cli::RunCli(args, out, err);
    if (messages)
        *messages = err.str();
    return code;
}

// The scratch files of recordings in the folder.
std::vector<fs::path> ScratchFiles(const fs::path &dir)
{
    std::vector<fs::path> found;
    for (const auto &e : fs::directory_iterator(dir))
        if (e.path().extension() == ".part")
            found.push_back(e.path());
    return found;
}

struct VideoCommandSignals : ::testing::Test {
    fs::path Dir;
    std::string Sector;

    void SetUp() override
    {
        EnsureXDisplay();
        Dir = fs::temp_directory_path() / ("kalvion-video-signals-" + std::to_string(::getpid()));
        fs::remove_all(Dir);
        fs::create_directories(Dir);
        Sector = (Dir / "reach.VexaDB").string();
        ASSERT_EQ(Cli({"--seed", "5", "generate", Sector, "--systems", "6", "--no-subsectors"}), 0);
    }
    void TearDown() override { fs::remove_all(Dir); }

    // Starts an hour-long recording into `video` in a child process and
    // waits until it has written frames (its scratch file has grown past
    // the container's header); -1 when the child ended first.
    pid_t StartRecording(const fs::path &video)
    {
        const std::string cli = std::string(KALVION_BIN_DIR) + "/kalvion-cli";
        const std::vector<std::string> args{cli,      "video",   Sector,  video.string(), "--animation",
                                            "rotate", "--seconds", "3600", "--width",      "320",
                                            "--height", "240"};
        std::vector<char *> argv;
        for (const std::string &a : args)
            argv.push_back(const_cast<char *>(a.c_str()));
        argv.push_back(nullptr);
        const std::string log = (Dir / "child.log").string();
        // Only what is safe between fork and exec in a process with threads.
        const pid_t child = ::fork();
        if (child == 0) {
            const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd >= 0) {
                ::dup2(fd, STDOUT_FILENO);
                ::dup2(fd, STDERR_FILENO);
            }
            ::execv(cli.c_str(), argv.data());
            ::_exit(127);
        }
        for (;;) {
            int status = 0;
            if (::waitpid(child, &status, WNOHANG) == child) {
                ADD_FAILURE() << "the recording ended by itself: " << Bytes(log);
                return -1;
            }
            for (const fs::path &part : ScratchFiles(Dir)) {
                std::error_code ec;
                if (fs::file_size(part, ec) > 4096 && !ec)
                    return child;
            }
            ::usleep(20000);
        }
    }

    // The child's exit status, or 1000 + the signal that ended it.
    static int WaitFor(pid_t child)
    {
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
    }
};

TEST_F(VideoCommandSignals, InterruptedRecordingsKeepTheOldFileAndLeaveNoScratch)
{
    const fs::path video = Dir / "reach.mp4";
    ASSERT_EQ(Cli({"video", Sector, video.string(), "--animation", "rotate", "--seconds", "1", "--fps", "4",
                   "--width", "64", "--height", "48"}),
              0);
    const std::string before = Bytes(video);
    ASSERT_FALSE(before.empty());

    // Ctrl-C while it replaces the video: the old one stays.
    pid_t child = StartRecording(video);
    ASSERT_GT(child, 0);
    ::kill(child, SIGINT);
    EXPECT_EQ(WaitFor(child), 130) << Bytes(Dir / "child.log");
    EXPECT_TRUE(Bytes(video) == before);
    EXPECT_TRUE(ScratchFiles(Dir).empty());

    // SIGTERM: the scratch file goes and the signal ends the program.
    child = StartRecording(video);
    ASSERT_GT(child, 0);
    ::kill(child, SIGTERM);
    EXPECT_EQ(WaitFor(child), 1000 + SIGTERM) << Bytes(Dir / "child.log");
    EXPECT_TRUE(Bytes(video) == before);
    EXPECT_TRUE(ScratchFiles(Dir).empty());

    // Ctrl-C in a new video keeps what was recorded, like Escape in the
    // window.
    const fs::path fresh = Dir / "fresh.mp4";
    child = StartRecording(fresh);
    ASSERT_GT(child, 0);
    ::kill(child, SIGINT);
    EXPECT_EQ(WaitFor(child), 130) << Bytes(Dir / "child.log");
    EXPECT_GT(DecodeVideo(fresh.string()).Frames, 0);
    EXPECT_TRUE(ScratchFiles(Dir).empty());
}

TEST_F(VideoCommandSignals, TheSectorFileIsNeverTheVideo)
{
    // A sector file whose name looks like a video's, named as the output
    // too, directly or through a link.
    const fs::path named = Dir / "reach.mp4";
    fs::copy_file(Sector, named);
    const std::string before = Bytes(named);
    fs::create_symlink(named, Dir / "link.mp4");
    for (const fs::path &out : {named, Dir / "link.mp4", Dir / "." / "reach.mp4"}) {
        std::string messages;
        EXPECT_EQ(Cli({"video", named.string(), out.string(), "--animation", "rotate", "--seconds", "1", "--fps",
                       "4", "--width", "64", "--height", "48"},
                      &messages),
                  2)
            << out;
        EXPECT_NE(messages.find("is the input"), std::string::npos) << messages;
    }
    EXPECT_TRUE(Bytes(named) == before);
    EXPECT_TRUE(fs::is_symlink(Dir / "link.mp4"));
    EXPECT_EQ(Cli({"info", named.string()}), 0);
}

} // namespace
} // namespace kalvion::test
