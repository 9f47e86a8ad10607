// The real program's standard error carries its own messages only: Qt's
// notes about its environment never reach the user.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Runs a shell command line and returns what it wrote to standard error.
std::string StandardError(const std::string &command, int &status)
{
    std::string text;
    FILE *p = ::popen((command + " 2>&1 >/dev/null").c_str(), "r");
    if (!p)
        return text;
    std::array<char, 4096> buf;
    while (std::size_t n = std::fread(buf.data(), 1, buf.size(), p))
        text.append(buf.data(), n);
    status = ::pclose(p);
    return text;
}

TEST(CliProgram, QtNotesNeverReachStandardError)
{
    const char *bin = std::getenv("KALVION_DATA_DIR");
    ASSERT_NE(bin, nullptr);
    const std::string cli = (fs::path(bin) / "kalvion-cli").string();
    ASSERT_TRUE(fs::exists(cli));
    const fs::path dir = fs::temp_directory_path() / ("kalvion_qtmsg_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string sector = (dir / "s.VexaDB").string();
    int status = -1;
    EXPECT_EQ(StandardError("'" + cli + "' new '" + sector + "'", status), "");
    const std::string err = StandardError("env -u XDG_RUNTIME_DIR '" + cli + "' map '" + sector + "' '" +
                                              (dir / "m.png").string() + "' --grid --width 64",
                                          status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(err, "");
    fs::remove_all(dir);
}

} // namespace
