// The README's command-line examples, run as a new user would type them,
// in order, in an empty folder.
#include "CliRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

using kalvion::cli::test::Result;
using kalvion::cli::test::RunCmd;

namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path &file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The words of a command line as a shell splits them: blanks separate,
// double quotes group, a "#" outside quotes starts a comment.
std::vector<std::string> SplitWords(const std::string &line)
{
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, inWord = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && c == '#') {
            break;
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    return words;
}

// Every "kalvion-cli ..." line of the README's indented examples, with
// continued lines joined.
std::vector<std::string> ReadmeCommands()
{
    std::istringstream in(ReadText(fs::path(KALVION_SOURCE_DIR) / "README.md"));
    std::vector<std::string> commands;
    std::string pending;
    for (std::string line; std::getline(in, line);) {
        if (!pending.empty()) {
            pending += " " + line.substr(line.find_first_not_of(' '));
        } else if (line.rfind("    kalvion-cli ", 0) == 0) {
            pending = line.substr(4);
        } else {
            continue;
        }
        if (!pending.empty() && pending.back() == '\\') {
            pending.pop_back();
            continue;
        }
        commands.push_back(pending);
        pending.clear();
    }
    return commands;
}

class CwdGuard {
public:
    explicit CwdGuard(const fs::path &dir) : FOld(fs::current_path()) { fs::current_path(dir); }
    ~CwdGuard() { fs::current_path(FOld); }

private:
    fs::path FOld;
};

TEST(CliReadme, EveryExampleRunsAndTheWalkThroughComesBackTheSame)
{
    const std::vector<std::string> commands = ReadmeCommands();
    ASSERT_GT(commands.size(), 10u);
    const fs::path dir = fs::temp_directory_path() / ("kalvion_cli_readme_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    {
        CwdGuard cwd(dir);
        std::ofstream("FILE.vbs") << "MsgBox \"Hello from a script\"\n";
        for (const std::string &command : commands) {
            std::vector<std::string> words = SplitWords(command);
            words.erase(words.begin());
            // Placeholders of the syntax line stand for nothing to pass on.
            words.erase(std::remove(words.begin(), words.end(), "[ARG"), words.end());
            words.erase(std::remove(words.begin(), words.end(), "...]"), words.end());
            // The 3D picture needs OpenGL; the render tests draw it.
            if (words.front() == "render")
                continue;
            const Result r = RunCmd(words);
            EXPECT_EQ(r.code, 0) << command << "\n" << r.err;
        }
        // Export, import into a new file, export again: the same systems.
        ASSERT_TRUE(fs::exists("my-sector.csv"));
        ASSERT_TRUE(fs::exists("copy.csv"));
        const std::string a = ReadText("my-sector.csv"), b = ReadText("copy.csv");
        EXPECT_GT(a.size(), 1000u);
        EXPECT_EQ(a, b);
        EXPECT_NE(a.find("New Hope"), std::string::npos);
        EXPECT_TRUE(fs::exists("maps/my-sector.png"));
        EXPECT_TRUE(fs::exists("maps/new-hope.png"));
    }
    fs::remove_all(dir);
}

} // namespace
