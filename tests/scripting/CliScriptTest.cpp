// kalvion-cli script: output, errors on standard error, exit status.
#include "cli/CliApp.h"

#include "../support/StuckPipe.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

std::string WriteScript(const std::string &name, const std::string &text)
{
    const auto p = std::filesystem::temp_directory_path() / (name + std::to_string(::getpid()) + ".vbs");
    std::ofstream(p, std::ios::binary) << text;
    return p.string();
}

TEST(CliScript, RunsAndPrintsMessageBoxes)
{
    const std::string f = WriteScript("cli_ok", "MsgBox \"hello \" & ScriptArgCount() & ScriptArg(1)\n");
    std::ostringstream out, err;
    EXPECT_EQ(kalvion::cli::RunCli({"kalvion-cli", "script", f, "a", "b"}, out, err), 0);
    EXPECT_EQ(out.str(), "hello 2b\n");
    EXPECT_EQ(err.str(), "");
}

TEST(CliScript, QuestionsNobodyAnswersGoNoFurther)
{
    const std::string f = WriteScript("cli_ask", "If MsgBox(\"Delete all?\", vbYesNo) = vbNo Then MsgBox \"kept\"\n"
                                                 "If MsgBox(\"Go on?\", vbOKCancel) = vbCancel Then MsgBox \"stopped\"\n");
    std::ostringstream out, err;
    EXPECT_EQ(kalvion::cli::RunCli({"kalvion-cli", "script", f}, out, err), 0);
    EXPECT_EQ(out.str(), "Delete all?\nkept\nGo on?\nstopped\n");
}

TEST(CliScript, ErrorsGoToStandardErrorWithPosition)
{
    const std::string f = WriteScript("cli_err", "x = 1\n  y = x / 0\n");
    std::ostringstream out, err;
    EXPECT_EQ(kalvion::cli::RunCli({"kalvion-cli", "script", f}, out, err), 1);
    EXPECT_NE(err.str().find("Division by zero"), std::string::npos);
    EXPECT_NE(err.str().find("Error at line 2 char 3."), std::string::npos) << err.str();
}

TEST(CliScript, MissingFileIsAFailure)
{
    std::ostringstream out, err;
    EXPECT_EQ(kalvion::cli::RunCli({"kalvion-cli", "script", "/no/such/file.vbs"}, out, err), 1);
    EXPECT_NE(err.str().find("script file not found"), std::string::npos);
}

TEST(CliScript, TimeoutHaltsARunawayScript)
{
    const std::string f = WriteScript("cli_loop", "MsgBox \"start\"\nDo : Loop\n");
    std::ostringstream out, err;
    EXPECT_EQ(kalvion::cli::RunCli({"kalvion-cli", "script", "--timeout", "0.2", f}, out, err), 1);
    EXPECT_EQ(out.str(), "start\n");
    EXPECT_NE(err.str().find("Script Halted"), std::string::npos) << err.str();
    // A script that ends in time is untouched by the limit.
    const std::string quick = WriteScript("cli_quick", "MsgBox \"done\"\n");
    std::ostringstream out2, err2;
    EXPECT_EQ(kalvion::cli::RunCli({"kalvion-cli", "script", "--timeout", "60", quick}, out2, err2), 0);
    EXPECT_EQ(out2.str(), "done\n");
    for (const char *bad : {"-1", "nan", "1e300"}) {
        std::ostringstream o, e;
        EXPECT_EQ(kalvion::cli::RunCli({"kalvion-cli", "script", "--timeout", bad, quick}, o, e), 2) << bad;
    }
}

TEST(CliScript, OversizedScriptFilesAreRefused)
{
    const std::string big = WriteScript("cli_big", "");
    {
        std::ofstream outFile(big, std::ios::binary);
        const std::string line(1023, '\'');
        for (int i = 0; i < 17 * 1024; ++i)
            outFile << line << '\n';
    }
    std::ostringstream out, err;
    EXPECT_EQ(kalvion::cli::RunCli({"kalvion-cli", "script", big}, out, err), 1);
    EXPECT_NE(err.str().find("too large"), std::string::npos) << err.str();
    std::filesystem::remove(big);
}

// Sets an environment variable for one test and puts it back after.
class TEnvSetting {
public:
    TEnvSetting(const char *name, const std::string &value) : FName(name)
    {
        if (const char *old = std::getenv(name)) {
            FOld = old;
            FHad = true;
        }
        ::setenv(name, value.c_str(), 1);
    }
    ~TEnvSetting()
    {
        if (FHad)
            ::setenv(FName, FOld.c_str(), 1);
        else
            ::unsetenv(FName);
    }

private:
    const char *FName;
    std::string FOld;
    bool FHad = false;
};

TEST(CliScript, IncludesComeFromTheScriptsFolderThenTheUsersThenTheProgramsPlugins)
{
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("cli_includes_" + std::to_string(::getpid()));
    fs::remove_all(root);
    const fs::path scripts = root / "scripts", user = root / "xdg" / "Zent Software" / "Kalvion" / "Plugins",
                   program = root / "prog" / "Plugins";
    for (const fs::path &d : {scripts, user, program})
        fs::create_directories(d);
    const auto write = [](const fs::path &p, const std::string &text) { std::ofstream(p, std::ios::binary) << text; };
    write(scripts / "own.vbs", "MsgBox \"own\"\n");
    write(program / "own.vbs", "MsgBox \"program own\"\n");
    write(user / "both.vbs", "#plugin Shared\nMsgBox \"user both\"\n");
    write(program / "both.vbs", "MsgBox \"program both\"\n");
    write(program / "tail.vbs", "MsgBox \"program tail\"\n");
    write(scripts / "main.vbs", "#append tail.vbs\n#insert own.vbs\n#insert both.vbs\nMsgBox \"main\"\n");
    TEnvSetting data("KALVION_DATA_DIR", (root / "prog").string());
    TEnvSetting xdg("XDG_DATA_HOME", (root / "xdg").string());
    {
        std::ostringstream out, err;
        EXPECT_EQ(kalvion::cli::RunCli({"kalvion-cli", "script", (scripts / "main.vbs").string()}, out, err), 0)
            << err.str();
        EXPECT_EQ(out.str(), "own\nuser both\nmain\nprogram tail\n");
    }
    // A pipe given as the script is refused without being opened.
    kalvion::test::TStuckPipe pipe((scripts / "pipe.vbs").string());
    ASSERT_TRUE(pipe.Made);
    {
        std::ostringstream out, err;
        EXPECT_EQ(kalvion::cli::RunCli({"kalvion-cli", "script", (scripts / "pipe.vbs").string()}, out, err), 1);
        EXPECT_NE(err.str().find("not a regular file"), std::string::npos) << err.str();
    }
    EXPECT_FALSE(pipe.Finish()) << "the script command opened the pipe";
    fs::remove_all(root);
}

} // namespace
