// kalvion-cli script: output, errors on standard error, exit status.
#include "cli/CliApp.h"

#include <gtest/gtest.h>

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

} // namespace
