// StartMovie, AddMovieFrame and FinishMovie as scripts call them: ten frames
// make a ten-frame video, and every refusal is a False, not a script error.
#include "render/video/VideoRecorder.h"
#include "scripting/ScriptRegistry.h"
#include "scripting/ZentScripter.h"
#include "scriptui/MovieNames.h"
#include "../render/VideoDecode.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

using namespace kalvion;
namespace fs = std::filesystem;

namespace {

class Lines final : public TScriptUI {
public:
    std::vector<std::string> Shown;
    int MsgBox(const std::string &p, int, const std::string &) override
    {
        Shown.push_back(p);
        return 1;
    }
    std::optional<std::string> InputBox(const std::string &, const std::string &, const std::string &d) override
    {
        return d;
    }
};

struct MovieScript : ::testing::Test {
    fs::path Dir;
    TScriptRegistry Reg;
    TVideoRecorder Recorder;
    Lines UI;
    std::vector<std::string> Errors, Failures, Sizes;
    bool DrawNothing = false;

    void SetUp() override
    {
        Dir = fs::temp_directory_path() / ("kalvion-movie-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Dir);
        fs::create_directories(Dir);
        TMovieScriptHooks hooks;
        hooks.Frame = [this](int width, int height) {
            Sizes.push_back(std::to_string(width) + "x" + std::to_string(height));
            if (DrawNothing)
                return QImage();
            QImage image(width, height, QImage::Format_RGB32);
            image.fill(qRgb(30, 60, static_cast<int>(Sizes.size()) * 20));
            return image;
        };
        hooks.Folder = [this] { return Dir.string(); };
        hooks.Fps = [] { return 5.0; };
        hooks.OnFailure = [this](const std::string &why) { Failures.push_back(why); };
        RegisterMovieNames(Reg, Recorder, hooks);
    }
    void TearDown() override { fs::remove_all(Dir); }

    bool Run(const std::string &text)
    {
        TZentScripter host;
        host.Registry = &Reg;
        host.UI = &UI;
        host.OnShowMessage = [this](const std::string &, const std::string &t) { Errors.push_back(t); };
        host.ScriptText = text;
        return host.Run();
    }
};

TEST_F(MovieScript, TenFramesOfTheViewMakeAVideo)
{
    ASSERT_TRUE(Run("ok = StartMovie(\"ten.mp4\", 161, 120)\n"
                    "n = 0\n"
                    "For i = 1 To 10\n"
                    "  If AddMovieFrame() Then n = n + 1\n"
                    "Next\n"
                    "MsgBox ok & \" \" & n & \" \" & FinishMovie()\n"))
        << (Errors.empty() ? "" : Errors[0]);
    ASSERT_EQ(UI.Shown, std::vector<std::string>{"True 10 True"});
    // The view is drawn at the size the encoder takes.
    ASSERT_EQ(Sizes.size(), 10u);
    EXPECT_EQ(Sizes[0], "160x120");
    const test::TDecodedVideo v = test::DecodeVideo((Dir / "ten.mp4").string());
    ASSERT_TRUE(v.Error.empty()) << v.Error;
    EXPECT_EQ(v.Frames, 10);
    EXPECT_EQ(v.Width, 160);
    EXPECT_NEAR(v.Seconds, 2.0, 0.05);
    EXPECT_TRUE(Failures.empty());
}

TEST_F(MovieScript, RefusalsAnswerFalse)
{
    ASSERT_TRUE(Run("MsgBox AddMovieFrame() & \" \" & FinishMovie()\n"
                    "MsgBox StartMovie(\"nowhere/a.mp4\", 160, 120)\n"
                    "MsgBox StartMovie(\"tiny.mp4\", 4, 4)\n"))
        << (Errors.empty() ? "" : Errors[0]);
    EXPECT_EQ(UI.Shown, (std::vector<std::string>{"False False", "False", "False"}));
    ASSERT_EQ(Failures.size(), 4u);
    EXPECT_NE(Failures[2].find("Cannot write the video file"), std::string::npos) << Failures[2];

    // A view that cannot be drawn fails the frame, and the recording goes on.
    DrawNothing = true;
    ASSERT_TRUE(Run("a = StartMovie(\"b.webm\", 64, 48)\nb = AddMovieFrame()\nMsgBox a & \" \" & b\n"));
    EXPECT_EQ(UI.Shown.back(), "True False");
    EXPECT_TRUE(Recorder.isRecording());
    Recorder.cancel();
    EXPECT_TRUE(fs::is_empty(Dir));
}

} // namespace
