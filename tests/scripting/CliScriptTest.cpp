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

} // namespace
