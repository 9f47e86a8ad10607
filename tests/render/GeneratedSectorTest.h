#pragma once
// The start of every test of a command that draws the 3D views: the shared
// offscreen context, a scratch folder of the test's own and a sector file
// generated into it by the command line.
#include "GLFrame.h"

#include "cli/CliApp.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace kalvion::test {

struct TRun {
    int code;
    std::string out, err;
};

// kalvion-cli in this process; args without the program name.
inline TRun Cli(std::vector<std::string> args)
{
    args.insert(args.begin(), "kalvion-cli");
    std::ostringstream out, err;
    const int code = cli::RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

class TGeneratedSectorTest : public ::testing::Test {
protected:
    // Makes the folder and "reach.VexaDB" in it from the seed and size.
    void Generate(const std::string &folderPrefix, const std::string &seed, const std::string &size)
    {
        ASSERT_NE(SharedGL(), nullptr);
        dir_ = std::filesystem::temp_directory_path() /
               (folderPrefix + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        sector_ = (dir_ / "reach.VexaDB").string();
        const TRun gen = Cli({"--seed", seed, "generate", sector_, "--size", size, "--no-subsectors"});
        ASSERT_EQ(gen.code, 0) << gen.err;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::filesystem::path dir_;
    std::string sector_;
};

} // namespace kalvion::test
