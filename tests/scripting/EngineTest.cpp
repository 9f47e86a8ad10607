// The engine boundary and hostile scripts: halting from another thread, step
// limits, nesting limits, size limits.  Nothing may crash or hang.
#include "scripting/ScriptEngine.h"
#include "scripting/vbs/Interpreter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <pthread.h>
#include <unistd.h>
#include <vector>
#include <string>
#include <thread>

using namespace kalvion;

namespace {

int ErrorOf(const std::string &text, std::uint64_t steps = 0)
{
    vbs::Interpreter in;
    in.SetStepLimit(steps);
    try {
        in.Execute(text);
    } catch (const vbs::ScriptError &e) {
        return e.Number;
    } catch (const vbs::HaltSignal &) {
        return -1;
    }
    return 0;
}

TEST(ScriptEngine, VBScriptIsTheBuiltInLanguage)
{
    EXPECT_NE(CreateScriptEngine("vbscript"), nullptr);
    EXPECT_NE(CreateScriptEngine(" VBScript "), nullptr);
    EXPECT_EQ(CreateScriptEngine("JScript"), nullptr);
    EXPECT_FALSE(RegisterScriptLanguage("VBSCRIPT", [] { return std::unique_ptr<IScriptEngine>(); }));
}

TEST(ScriptEngine, MessageBoxesWithoutAHostGetTheAnswerThatGoesNoFurther)
{
    // Error 1000 marks a wrong answer.
    EXPECT_EQ(ErrorOf("If MsgBox(\"Delete?\", vbYesNo) <> vbNo Then Err.Raise 1000"), 0);
    EXPECT_EQ(ErrorOf("If MsgBox(\"Go on?\", vbYesNoCancel) <> vbCancel Then Err.Raise 1000"), 0);
    EXPECT_EQ(ErrorOf("If MsgBox(\"Go on?\", vbOKCancel + vbQuestion) <> vbCancel Then Err.Raise 1000"), 0);
    EXPECT_EQ(ErrorOf("If MsgBox(\"Again?\", vbRetryCancel) <> vbCancel Then Err.Raise 1000"), 0);
    EXPECT_EQ(ErrorOf("If MsgBox(\"Failed\", vbAbortRetryIgnore) <> vbAbort Then Err.Raise 1000"), 0);
    EXPECT_EQ(ErrorOf("If MsgBox(\"Done\") <> vbOK Then Err.Raise 1000"), 0);
}

TEST(ScriptEngine, HaltStopsATightLoopFromAnotherThread)
{
    for (const char *loop : {"Do\nLoop\n", "For i = 1 To 2000000000\nNext\n", "While True : x = x + 1 : Wend\n",
                             "Sub R() : R2 : End Sub\nSub R2() : R : End Sub\nDo : i = i + 1 : Loop\n"}) {
        auto e = CreateScriptEngine("VBScript");
        std::vector<TScriptErrorInfo> errors;
        e->OnError = [&](const TScriptErrorInfo &i, bool &handled) {
            errors.push_back(i);
            handled = true;
        };
        e->SetScriptText({loop});
        std::thread halter([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            e->Halt();
        });
        e->Run();
        halter.join();
        ASSERT_EQ(errors.size(), 1u) << loop;
        EXPECT_EQ(errors[0].Description, "") << loop;
    }
}

TEST(ScriptEngine, HaltBeforeRunStopsAtOnce)
{
    auto e = CreateScriptEngine("VBScript");
    int reported = 0;
    e->OnError = [&](const TScriptErrorInfo &, bool &) { ++reported; };
    e->SetScriptText({"Do", "Loop"});
    e->Halt();
    e->Run();
    EXPECT_EQ(reported, 1);
}

TEST(ScriptEngine, ErrorCarriesLineColumnAndSourceLine)
{
    auto e = CreateScriptEngine("VBScript");
    TScriptErrorInfo got;
    e->OnError = [&](const TScriptErrorInfo &i, bool &) { got = i; };
    e->SetScriptText({"x = 1", "", "    y = x / 0"});
    e->Run();
    EXPECT_EQ(got.Number, 11);
    EXPECT_EQ(got.Description, "Division by zero");
    EXPECT_EQ(got.Line, 2);
    EXPECT_EQ(got.Column, 4);
    EXPECT_EQ(got.Text2, "VBScript runtime error: y = x / 0");
}

TEST(ScriptEngine, StepLimitEndsRunawayScripts)
{
    EXPECT_EQ(ErrorOf("Do\nLoop", 1000), -1);
    EXPECT_EQ(ErrorOf("Sub A() : A : End Sub\nA", 100), -1);
    EXPECT_EQ(ErrorOf("For i = 1 To 10 : Next", 1000), 0);
}

TEST(ScriptEngine, NestingAndSizeLimits)
{
    EXPECT_EQ(ErrorOf("x = " + std::string(5000, '(') + "1" + std::string(5000, ')')), vbs::S_TOO_COMPLEX);
    std::string ifs;
    for (int i = 0; i < 500; ++i)
        ifs += "If True Then\n";
    EXPECT_EQ(ErrorOf(ifs), vbs::S_TOO_COMPLEX);
    EXPECT_EQ(ErrorOf("x = " + std::string(3000, '-') + "1"), vbs::S_TOO_COMPLEX);
    EXPECT_EQ(ErrorOf("x = Space(2000000000)"), vbs::E_INVALID_CALL);
    EXPECT_EQ(ErrorOf("ReDim a(100000, 100000)"), vbs::E_OUT_OF_MEMORY);
    EXPECT_EQ(ErrorOf("ReDim a(1, 1)\nReDim Preserve a(1, 2147483646)"), vbs::E_OUT_OF_MEMORY);
    std::string dims = "Dim a(1";
    for (int i = 0; i < 34; ++i)
        dims += ",1";
    EXPECT_EQ(ErrorOf(dims + ")"), vbs::E_OUT_OF_MEMORY);
    EXPECT_EQ(ErrorOf(std::string("x = \"") + std::string(10, 'a')), vbs::S_UNTERMINATED_STRING);
    EXPECT_EQ(ErrorOf(std::string(300, 'a') + " = 1"), vbs::S_IDENT_TOO_LONG);
    EXPECT_EQ(ErrorOf(std::string("x = 1") + '\0' + "2"), vbs::S_EXPECTED_EOS);
}

// Shapes that recurse deeply on the native stack while evaluating; each must
// end with "Out of stack space", never crash the process.
std::vector<std::string> DeepStackScripts()
{
    std::string sum = "x = 1";
    for (int i = 0; i < 40000; ++i)
        sum += " + 1";
    std::string concat = "x = \"a\"";
    for (int i = 0; i < 50000; ++i)
        concat += " & \"a\"";
    std::string member = "Class C\nPublic Me2\nEnd Class\nSet o = New C\nSet o.Me2 = o\nx = o";
    for (int i = 0; i < 30000; ++i)
        member += ".Me2";
    const std::string parens = "Function F(n)\nF = " + std::string(150, '(') + "F(n + 1)" + std::string(150, ')') +
                               "\nEnd Function\nx = F(0)\n";
    std::string negations = "Function G(n)\nG = ";
    for (int i = 0; i < 90; ++i)
        negations += "-(";
    negations += "G(n + 1)" + std::string(90, ')') + "\nEnd Function\nx = G(0)\n";
    return {sum, concat, member, parens, negations};
}

TEST(ScriptEngine, DeepEvaluationEndsWithOutOfStackSpace)
{
    for (const std::string &script : DeepStackScripts())
        EXPECT_EQ(ErrorOf(script), vbs::E_OUT_OF_STACK) << script.substr(0, 80);
    // The same shapes at a sane size still run.
    EXPECT_EQ(ErrorOf("x = 1 + 1 + 1 + 1\nFunction F(n)\nIf n < 50 Then F = ((((F(n + 1))))) Else F = n\n"
                      "End Function\ny = F(0)\n"),
              0);
    // A script can catch it and go on.
    EXPECT_EQ(ErrorOf("On Error Resume Next\n" + DeepStackScripts()[0] +
                      "\nIf Err.Number <> 28 Then Err.Raise 5\nOn Error GoTo 0\n"),
              0);
}

// The limit follows the stack the thread really has, not a fixed count.
TEST(ScriptEngine, DeepEvaluationOnASmallThreadStack)
{
    pthread_attr_t attr;
    ASSERT_EQ(pthread_attr_init(&attr), 0);
    ASSERT_EQ(pthread_attr_setstacksize(&attr, 512 * 1024), 0);
    struct Job {
        std::vector<int> Codes;
    } job;
    pthread_t thread;
    ASSERT_EQ(pthread_create(
                  &thread, &attr,
                  [](void *p) -> void * {
                      auto *j = static_cast<Job *>(p);
                      for (const std::string &script : DeepStackScripts())
                          j->Codes.push_back(ErrorOf(script));
                      j->Codes.push_back(ErrorOf("Function F(n)\nF = F(n + 1)\nEnd Function\nx = F(0)\n"));
                      return nullptr;
                  },
                  &job),
              0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
    ASSERT_EQ(job.Codes.size(), 6u);
    for (int code : job.Codes)
        EXPECT_EQ(code, vbs::E_OUT_OF_STACK);
}

// The script fuzz target's seeds, run with its settings: the deep shapes end
// with "Out of stack space", the rest run.
TEST(ScriptEngine, FuzzSeedsRunClean)
{
    const std::filesystem::path dir = std::filesystem::path(KALVION_SOURCE_DIR) / "fuzz/corpus/fuzz_script";
    int deep = 0;
    for (const auto &entry : std::filesystem::directory_iterator(dir)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        ASSERT_LE(text.size(), 4096u) << entry.path(); // the target's input limit
        vbs::Interpreter in2;
        in2.SetStepLimit(2000);
        in2.MaxDepth = 200;
        int code = 0;
        try {
            in2.Execute(text);
        } catch (const vbs::ScriptError &e) {
            code = e.Number;
        } catch (const vbs::HaltSignal &) {
            code = -1;
        }
        if (entry.path().filename().string().rfind("deep_", 0) == 0) {
            ++deep;
            EXPECT_TRUE(code == vbs::E_OUT_OF_STACK || code == -1) << entry.path() << ": " << code;
        }
    }
    EXPECT_GE(deep, 5);
}

// What a script shows with MsgBox, in order.
struct TShown final : vbs::HostServices {
    std::vector<std::string> Shown;
    int MsgBox(const std::string &p, int, const std::string &) override
    {
        Shown.push_back(p);
        return 1;
    }
    std::optional<std::string> InputBox(const std::string &, const std::string &, const std::string &) override
    {
        return std::nullopt;
    }
};

// CreateObject("Probe"): a program object that counts the live ones, so a
// test sees whether the engine let go of everything it held.
struct TProbes final : vbs::NameProvider {
    struct TProbe final : vbs::Object {
        explicit TProbe(int &live) : Live(live) { ++Live; }
        ~TProbe() override { --Live; }
        std::string TypeName() const override { return "Probe"; }
        int &Live;
    };
    int Live = 0;
    bool Resolve(std::string_view, vbs::NameRef &) override { return false; }
    vbs::Variant Read(vbs::Interpreter &, const vbs::NameRef &) override { return {}; }
    vbs::Variant Call(vbs::Interpreter &, const vbs::NameRef &, vbs::Variant **, int) override { return {}; }
    void Write(vbs::Interpreter &, const vbs::NameRef &, const vbs::Variant &) override {}
    vbs::Object *CreateObject(vbs::Interpreter &, std::string_view progId) override
    {
        return progId == "probe" ? new TProbe(Live) : nullptr;
    }
};

TEST(ScriptEngine, ReferenceCyclesAndTerminateAtTeardown)
{
    TShown shown;
    TProbes probes;
    auto *in = new vbs::Interpreter;
    in->Host = &shown;
    in->Names = &probes;
    in->Execute("Class N\n Public Other, Held\n Private Sub Class_Terminate() : MsgBox \"N\" : End Sub\nEnd Class\n"
                "Set a = New N : Set b = New N\nSet a.Other = b : Set b.Other = a\nSet a.Held = CreateObject(\"Probe\")\n"
                "Set d = CreateObject(\"Scripting.Dictionary\")\nSet d(\"self\") = d\n"
                "Set d(\"probe\") = CreateObject(\"Probe\")\n"
                "Set alone = New N\n");
    ASSERT_EQ(probes.Live, 2);
    delete in;
    // The cycles fall apart: what they held is gone too.
    EXPECT_EQ(probes.Live, 0);
    // Only the instance outside a cycle ran its handler: the cycle's members
    // are taken apart without running script code.
    EXPECT_EQ(shown.Shown, std::vector<std::string>{"N"});
}

TEST(ScriptEngine, TerminateHandlersRunAtTheEndAndMayAddGlobals)
{
    TShown shown;
    auto *in = new vbs::Interpreter;
    in->Host = &shown;
    in->Execute(R"(
Class T
  Public Tag
  Private Sub Class_Terminate()
    For k = 1 To 20
      ExecuteGlobal "Dim g" & Tag & k
    Next
    MsgBox "end " & Tag
  End Sub
End Class
Set a = New T : a.Tag = "a"
Set b = New T : b.Tag = "b"
)");
    delete in;
    // Both handlers ran to their end, in the order of the globals, while the
    // first one's new globals were being added.
    EXPECT_EQ(shown.Shown, (std::vector<std::string>{"end a", "end b"}));
}

} // namespace

namespace {

TEST(ScriptEngine, FileSystemObjectWritesAndReadsTextFiles)
{
    const std::string dir = (std::filesystem::temp_directory_path() /
                             ("kalvion_fso_" + std::to_string(::getpid())))
                                .string();
    std::filesystem::remove_all(dir);
    vbs::Interpreter in;
    struct Capture final : vbs::HostServices {
        std::vector<std::string> Shown;
        int MsgBox(const std::string &p, int, const std::string &) override
        {
            Shown.push_back(p);
            return 1;
        }
        std::optional<std::string> InputBox(const std::string &, const std::string &, const std::string &) override
        {
            return std::string();
        }
    } ui;
    in.Host = &ui;
    in.Execute("Const ForReading = 1, ForAppending = 8\n"
               "dir = \"" + dir + "\"\n"
               "Set fso = CreateObject(\"Scripting.FileSystemObject\")\n"
               "fso.CreateFolder dir\n"
               "Set t = fso.CreateTextFile(fso.BuildPath(dir, \"a.txt\"), True)\n"
               "t.WriteLine \"first\"\n"
               "t.Write \"second\"\n"
               "t.Close\n"
               "Set t = fso.OpenTextFile(dir & \"/a.txt\", ForAppending)\n"
               "t.WriteLine \"!\"\n"
               "t.Close\n"
               "Set t = fso.OpenTextFile(dir & \"/a.txt\", ForReading)\n"
               "Do Until t.AtEndOfStream\n"
               "  MsgBox t.ReadLine\n"
               "Loop\n"
               "t.Close\n"
               "For Each f In fso.GetFolder(dir).Files\n"
               "  MsgBox f.Name & \" \" & f.Size\n"
               "Next\n"
               "MsgBox fso.FileExists(dir & \"/a.txt\")\n"
               "fso.DeleteFile dir & \"/a.txt\"\n"
               "MsgBox fso.FileExists(dir & \"/a.txt\")\n"
               "On Error Resume Next\n"
               "Set t = fso.OpenTextFile(dir & \"/a.txt\")\n"
               "MsgBox Err.Number & \" \" & Err.Description\n"
               "fso.DeleteFolder dir\n"
               "MsgBox fso.FolderExists(dir)\n");
    EXPECT_EQ(ui.Shown, (std::vector<std::string>{"first", "second!", "a.txt 16", "True", "False", "53 File not found",
                                                  "False"}));
}

} // namespace
