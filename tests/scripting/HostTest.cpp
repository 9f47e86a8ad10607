// The script host: directives, includes, error reports, halting and nested runs.
#include "scripting/ScriptRegistry.h"
#include "scripting/ZentScripter.h"

#include "../support/StuckPipe.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

using namespace kalvion;
namespace fs = std::filesystem;

namespace {

struct Messages {
    std::vector<std::string> Captions, Texts;
    void Attach(TZentScripter &h)
    {
        h.OnShowMessage = [this](const std::string &c, const std::string &t) {
            Captions.push_back(c);
            Texts.push_back(t);
        };
    }
};

class Shown final : public TScriptUI {
public:
    std::vector<std::string> Lines;
    int MsgBox(const std::string &p, int, const std::string &) override
    {
        Lines.push_back(p);
        return 1;
    }
    std::optional<std::string> InputBox(const std::string &, const std::string &, const std::string &d) override
    {
        return d;
    }
};

// A second language that records what the host hands it.
struct Recorder {
    static inline std::vector<std::string> Lines;
    static inline int Runs = 0;
    static inline bool Throw = false;
};

class RecordingEngine final : public IScriptEngine {
public:
    bool SetLanguage(const std::string &) override { return true; }
    void SetScriptText(const std::vector<std::string> &lines) override { Recorder::Lines = lines; }
    bool AddNamedObject(const std::string &, const TScriptObjectRef &) override { return true; }
    void Run() override
    {
        ++Recorder::Runs;
        if (Recorder::Throw)
            throw std::runtime_error("engine failure");
    }
    void Halt() override {}
    void SetStepLimit(std::uint64_t) override {}
};

const bool kRegistered =
    RegisterScriptLanguage("RecordLang", [] { return std::unique_ptr<IScriptEngine>(new RecordingEngine); });

fs::path TempDir()
{
    fs::path d = fs::temp_directory_path() / ("kalvion_host_test_" + std::to_string(::getpid()));
    fs::create_directories(d);
    return d;
}

void WriteFile(const fs::path &p, const std::string &text)
{
    std::ofstream(p, std::ios::binary) << text;
}

TEST(ScriptHost, LanguageDirectiveSwitchesEngineAndKeepsLines)
{
    ASSERT_TRUE(kRegistered);
    TZentScripter h;
    Messages m;
    m.Attach(h);
    h.ScriptText = "#Language RecordLang\r\nline 1\r\nline 2";
    Recorder::Runs = 0;
    EXPECT_TRUE(h.Run());
    EXPECT_EQ(h.Language, "RecordLang");
    EXPECT_EQ(Recorder::Runs, 1);
    ASSERT_EQ(Recorder::Lines.size(), 3u);
    EXPECT_EQ(Recorder::Lines[0], "");
    EXPECT_EQ(Recorder::Lines[2], "line 2");
}

TEST(ScriptHost, HashLinesAreBlankedAndErrorsKeepTheirLine)
{
    TZentScripter h;
    Messages m;
    m.Attach(h);
    h.ScriptText = "#author someone\n#plugin x\nx = 1\n  # not a directive\n";
    h.Preprocess();
    EXPECT_EQ(h.ProcessedText, "\r\n\r\nx = 1\r\n  # not a directive\r\n");

    h.ScriptText = "#author someone\r\n#description text\r\n\r\n\r\nx = 1 / 0\r\n";
    EXPECT_FALSE(h.Run());
    ASSERT_EQ(m.Texts.size(), 1u);
    EXPECT_EQ(m.Captions[0], "Script Error");
    EXPECT_EQ(m.Texts[0].substr(0, 16), "Division by zero");
    EXPECT_NE(m.Texts[0].find("Error at line 5 char 1."), std::string::npos) << m.Texts[0];
    EXPECT_TRUE(h.HadError);
    EXPECT_EQ(h.ErrorText, "Division by zero");
}

TEST(ScriptHost, MissingIncludesAreListedInOneMessage)
{
    TZentScripter h;
    Messages m;
    m.Attach(h);
    h.IncludeFolders = {TempDir().string() + "/"};
    Recorder::Runs = 0;
    h.ScriptText = "#language RecordLang\n#insert nope1.vbs\n#append nope2\nx = 1\n";
    EXPECT_FALSE(h.Run());
    EXPECT_EQ(Recorder::Runs, 0);
    ASSERT_EQ(m.Texts.size(), 1u);
    EXPECT_EQ(m.Texts[0], "Insert file not found:nope1.vbs\r\nAppend file not found:nope2\r\n");
    EXPECT_EQ(h.RunDepth, 0);
}

TEST(ScriptHost, IncludesAreInsertedAndResolvedWithExtensions)
{
    const fs::path dir = TempDir();
    WriteFile(dir / "lib.vbs", "Function Twice(x) : Twice = x * 2 : End Function");
    WriteFile(dir / "tail.inc", "MsgBox \"tail\"");
    TZentScripter h;
    Messages m;
    m.Attach(h);
    Shown ui;
    h.UI = &ui;
    h.IncludeFolders = {"/no/such/folder/", dir.string() + "/"};
    h.IncludeExtensions = {"txt", "vbs"};
    EXPECT_EQ(h.ResolveIncludeFile("lib"), dir.string() + "/lib.vbs");
    EXPECT_EQ(h.ResolveIncludeFile("missing"), "");
    h.ScriptText = "#insert lib\nMsgBox Twice(21)\n#append tail.inc\n";
    EXPECT_TRUE(h.Run()) << (m.Texts.empty() ? "" : m.Texts[0]);
    EXPECT_EQ(ui.Lines, (std::vector<std::string>{"42", "tail"}));
}

TEST(ScriptHost, SelfIncludingFileStopsAtTheLimit)
{
    const fs::path dir = TempDir();
    WriteFile(dir / "loop.vbs", "#insert loop.vbs");
    TZentScripter h;
    Messages m;
    m.Attach(h);
    h.IncludeFolders = {dir.string() + "/"};
    h.ScriptText = "#insert loop.vbs\n";
    EXPECT_FALSE(h.Run());
    ASSERT_EQ(m.Texts.size(), 1u);
    EXPECT_NE(m.Texts[0].find("Insert file nesting too deep:loop.vbs"), std::string::npos);
}

TEST(ScriptHost, InsertedPluginFilesShareTheirCodeAndNestOnlySoDeep)
{
    const fs::path dir = TempDir() / "share";
    fs::create_directories(dir);
    // A plug-in used as a library: its header lines are blanked one by one,
    // and its own insert is expanded too.
    WriteFile(dir / "lib.vbs", "#plugin Library\n#author someone\nFunction Twice(x) : Twice = x * 2 : End Function\n"
                               "#insert inner.vbs\n");
    WriteFile(dir / "inner.vbs", "Function Thrice(x) : Thrice = x * 3 : End Function\n");
    TZentScripter h;
    Messages m;
    m.Attach(h);
    Shown ui;
    h.UI = &ui;
    h.IncludeFolders = {dir.string() + "/"};
    h.ScriptText = "#insert lib.vbs\nMsgBox Twice(21) & \" \" & Thrice(2)\n";
    EXPECT_TRUE(h.Run()) << (m.Texts.empty() ? "" : m.Texts[0]);
    EXPECT_EQ(ui.Lines, std::vector<std::string>{"42 6"});

    // A chain of files each inserting the next: as deep as the limit works,
    // one more is a script error naming the file that went too deep.
    for (int i = 1; i <= TZentScripter::kMaxIncludeDepth + 1; ++i)
        WriteFile(dir / ("chain" + std::to_string(i) + ".vbs"),
                  "#insert chain" + std::to_string(i + 1) + ".vbs\nMsgBox " + std::to_string(i) + "\n");
    WriteFile(dir / ("chain" + std::to_string(TZentScripter::kMaxIncludeDepth) + ".vbs"), "MsgBox \"bottom\"\n");
    ui.Lines.clear();
    h.ScriptText = "#insert chain1.vbs\n";
    EXPECT_TRUE(h.Run()) << (m.Texts.empty() ? "" : m.Texts[0]);
    ASSERT_EQ(ui.Lines.size(), static_cast<std::size_t>(TZentScripter::kMaxIncludeDepth));
    EXPECT_EQ(ui.Lines.front(), "bottom");
    WriteFile(dir / ("chain" + std::to_string(TZentScripter::kMaxIncludeDepth) + ".vbs"),
              "#insert chain" + std::to_string(TZentScripter::kMaxIncludeDepth + 1) + ".vbs\n");
    WriteFile(dir / ("chain" + std::to_string(TZentScripter::kMaxIncludeDepth + 1) + ".vbs"), "MsgBox \"deep\"\n");
    ui.Lines.clear();
    m.Texts.clear();
    EXPECT_FALSE(h.Run());
    EXPECT_TRUE(ui.Lines.empty());
    ASSERT_EQ(m.Texts.size(), 1u);
    EXPECT_EQ(m.Texts[0],
              "Insert file nesting too deep:chain" + std::to_string(TZentScripter::kMaxIncludeDepth + 1) + ".vbs\r\n");
}

TEST(ScriptHost, ScriptsAndIncludesAreReadOnlyFromRegularFiles)
{
    const fs::path a = TempDir() / "pipes_a", b = TempDir() / "pipes_b";
    fs::remove_all(a);
    fs::remove_all(b);
    fs::create_directories(a);
    fs::create_directories(b);
    test::TStuckPipe pipe((a / "pipe.vbs").string());
    test::TStuckPipe shadow((a / "lib.vbs").string());
    ASSERT_TRUE(pipe.Made && shadow.Made);
    WriteFile(b / "lib.vbs", "MsgBox \"from b\"\n");
    TZentScripter h;
    Messages m;
    m.Attach(h);
    Shown ui;
    h.UI = &ui;
    EXPECT_FALSE(h.LoadScriptFile((a / "pipe.vbs").string()));
    EXPECT_EQ(h.ErrorText, "Script file is not a regular file:" + (a / "pipe.vbs").string());
    EXPECT_EQ(h.ScriptText, "");
    h.IncludeFolders = {a.string() + "/", b.string() + "/"};
    // A pipe of the name lets the search go on to the next folder.
    h.ScriptText = "#insert lib.vbs\n";
    EXPECT_TRUE(h.Run());
    EXPECT_EQ(ui.Lines, std::vector<std::string>{"from b"});
    h.ScriptText = "#insert pipe.vbs\n#append " + std::string(200, 'x') + "\n";
    EXPECT_FALSE(h.Run());
    ASSERT_EQ(m.Texts.size(), 1u);
    EXPECT_EQ(m.Texts[0],
              "Insert file is not a regular file:pipe.vbs\r\nAppend file not found:" + std::string(200, 'x') + "\r\n");
    EXPECT_FALSE(pipe.Finish()) << "the host opened the pipe";
    EXPECT_FALSE(shadow.Finish()) << "the host opened the pipe";

    // A name of a megabyte and a hundred missing files: the box shows the
    // start of the name and of the list.
    std::string text = "#insert " + std::string(1u << 20, 'n') + "\n";
    for (int i = 0; i < 100; ++i)
        text += "#append gone.vbs\n";
    h.ScriptText = text;
    m.Texts.clear();
    EXPECT_FALSE(h.Run());
    ASSERT_EQ(m.Texts.size(), 1u);
    EXPECT_LT(m.Texts[0].size(), 4096u);
    EXPECT_EQ(m.Texts[0].substr(0, 22 + 260 + 5), "Insert file not found:" + std::string(260, 'n') + "...\r\n");
    EXPECT_EQ(m.Texts[0].substr(m.Texts[0].size() - 5), "...\r\n");
}

TEST(ScriptHost, SyntaxErrorIsReportedBeforeAnythingRuns)
{
    TZentScripter h;
    Messages m;
    m.Attach(h);
    Shown ui;
    h.UI = &ui;
    h.ScriptText = "MsgBox \"first\"\nIf x Then\n";
    EXPECT_FALSE(h.Run());
    EXPECT_TRUE(ui.Lines.empty());
    ASSERT_EQ(m.Texts.size(), 1u);
    EXPECT_EQ(m.Texts[0].substr(0, 14), "Expected 'End'");
    EXPECT_NE(m.Texts[0].find("VBScript compilation error"), std::string::npos);
}

TEST(ScriptHost, EngineFailureRestoresRunDepth)
{
    TZentScripter h;
    Messages m;
    m.Attach(h);
    Recorder::Throw = true;
    h.ScriptText = "#language RecordLang\n";
    EXPECT_FALSE(h.Run());
    Recorder::Throw = false;
    EXPECT_EQ(h.RunDepth, 0);
    EXPECT_EQ(h.Engine, nullptr);
    EXPECT_TRUE(h.Run());
}

TEST(ScriptHost, UnknownLanguageFails)
{
    TZentScripter h;
    Messages m;
    m.Attach(h);
    h.ScriptText = "#language Klingon\n";
    EXPECT_FALSE(h.Run());
    ASSERT_EQ(m.Texts.size(), 1u);
    EXPECT_EQ(m.Texts[0], "Script language not available: Klingon");
}

TEST(ScriptHost, HaltReportsScriptHaltedAndSucceeds)
{
    TZentScripter h;
    Messages m;
    m.Attach(h);
    TScriptRegistry reg;
    std::thread halter;
    reg.AddRoutine("HaltSoon", {}, {}, [&](TScriptArgs &) {
        IScriptEngine *e = h.Engine;
        halter = std::thread([e] {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            e->Halt();
        });
        return TScriptValue::None();
    });
    h.Registry = &reg;
    h.ScriptText = "HaltSoon\nDo\n i = i + 1\nLoop\n";
    EXPECT_TRUE(h.Run());
    halter.join();
    ASSERT_EQ(m.Texts.size(), 1u);
    EXPECT_EQ(m.Texts[0].substr(0, 13), "Script Halted");
    EXPECT_FALSE(h.HadError);
}

TEST(ScriptHost, NestedRunsHaltInnermostThenOuter)
{
    TZentScripter h;
    Messages m;
    m.Attach(h);
    Shown ui;
    h.UI = &ui;
    TScriptRegistry reg;
    std::vector<std::thread> halters;
    int innerDepth = 0;
    int finished = 0;
    h.OnRunsFinished = [&] { ++finished; };
    reg.AddRoutine("HaltSoon", {}, {}, [&](TScriptArgs &) {
        IScriptEngine *e = h.Engine;
        halters.emplace_back([e] {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            e->Halt();
        });
        return TScriptValue::None();
    });
    reg.AddRoutine("RunInner", {}, ArgOf(TScriptType::Boolean), [&](TScriptArgs &) {
        const std::string outer = h.ScriptText;
        h.ScriptText = "HaltSoon\nDo\nLoop\n";
        innerDepth = h.RunDepth + 1;
        const bool ok = h.Run();
        h.ScriptText = outer;
        return TScriptValue::FromBool(ok);
    });
    h.Registry = &reg;
    h.ScriptText = "r = RunInner()\nMsgBox \"outer continues \" & r\nHaltSoon\nDo\nLoop\n";
    EXPECT_TRUE(h.Run());
    for (auto &t : halters)
        t.join();
    EXPECT_EQ(innerDepth, 2);
    EXPECT_EQ(h.RunDepth, 0);
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(h.Engine, nullptr);
    EXPECT_EQ(ui.Lines, (std::vector<std::string>{"outer continues True"}));
    ASSERT_EQ(m.Texts.size(), 2u);
    EXPECT_EQ(m.Texts[0].substr(0, 13), "Script Halted");
    EXPECT_EQ(m.Texts[1].substr(0, 13), "Script Halted");
}

TEST(ScriptHost, RoutineExceptionBecomesScriptError)
{
    TZentScripter h;
    Messages m;
    m.Attach(h);
    TScriptRegistry reg;
    reg.AddRoutine("Boom", {}, {}, [](TScriptArgs &) -> TScriptValue { throw std::runtime_error("kaboom"); });
    h.Registry = &reg;
    h.ScriptText = "x = 1\n  Boom\nMsgBox \"not reached\"\n";
    EXPECT_FALSE(h.Run());
    ASSERT_EQ(m.Texts.size(), 1u);
    EXPECT_EQ(m.Texts[0].substr(0, 6), "kaboom");
    EXPECT_NE(m.Texts[0].find("Error at line 2 char 3."), std::string::npos) << m.Texts[0];
}

TEST(ScriptHost, MissingScriptFileRunsEmptyScript)
{
    TZentScripter h;
    Messages m;
    m.Attach(h);
    h.LoadScriptFile("/no/such/script.vbs");
    EXPECT_EQ(h.ScriptText, "");
    EXPECT_TRUE(h.Run());
    EXPECT_TRUE(m.Texts.empty());
}

} // namespace
