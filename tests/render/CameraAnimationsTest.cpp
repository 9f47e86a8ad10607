// The camera animations step by step: frame counts, where the camera ends,
// the selection the tours make and undo, and that the eye never lands on
// the point it looks at.
#include "model/VexaSector.h"
#include "render/CameraAnimations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <deque>

using namespace kalvion;

namespace {

double ViewDistance(const TVexaSector &s)
{
    return std::hypot(s.Camera.X - s.Target.X, s.Camera.Y - s.Target.Y, s.Camera.Z - s.Target.Z);
}

TStellarBody *AddSystem(TVexaSector &s, const char *name, double x, double y, double z)
{
    auto body = TStellarBody::Create();
    body->Name = name;
    body->X = x;
    body->Y = y;
    body->Z = z;
    TStellarBody *raw = body.get();
    s.AddSystem(std::move(body));
    return raw;
}

// Random answers from a list, then 0.
TRandomPick Picks(std::deque<int> answers)
{
    auto list = std::make_shared<std::deque<int>>(std::move(answers));
    return [list](int) {
        if (list->empty())
            return 0;
        const int i = list->front();
        list->pop_front();
        return i;
    };
}

struct TPlayed {
    int Frames = 0, Pauses = 0, PauseMs = 0;
    double Nearest = 1e300;  // smallest eye-to-target distance over the frames
};

// Steps until the animation ends or `maxSteps` steps were taken, or until
// the first pause when `toPause`.
TPlayed Play(TCameraAnimation &a, TVexaSector &s, int maxSteps, bool toPause = false)
{
    TPlayed r;
    for (int i = 0; i < maxSteps; ++i) {
        const TAnimationStep step = a.Next(s);
        if (step.Kind == TAnimationStepKind::Done)
            break;
        if (step.Kind == TAnimationStepKind::Pause) {
            ++r.Pauses;
            r.PauseMs = step.PauseMs;
            if (toPause)
                break;
            continue;
        }
        ++r.Frames;
        r.Nearest = std::min(r.Nearest, ViewDistance(s));
    }
    return r;
}

TEST(AnimationPace, FrameCountsFollowSpeedAndAdjustment)
{
    EXPECT_EQ((TAnimationPace{1, 1}.Frames(180)), 180);
    EXPECT_EQ((TAnimationPace{2, 1}.Frames(180)), 90);
    EXPECT_EQ((TAnimationPace{1, 0.5}.Frames(100)), 50);
    EXPECT_EQ((TAnimationPace{3, 1}.Frames(100)), 33);  // truncated
    EXPECT_EQ((TAnimationPace{1, 0.001}.Frames(100)), 1);
    EXPECT_EQ((TAnimationPace{0, 1}.Frames(100)), 100);
    EXPECT_EQ((TAnimationPace{std::nan(""), 1}.Frames(100)), 100);
    EXPECT_EQ((TAnimationPace{1, std::nan("")}.Frames(100)), 1);
}

TEST(CameraAnimation, NamesOfTheCommandLine)
{
    TCameraAnimationKind k;
    ASSERT_TRUE(CameraAnimationFromName("Rotate", k));
    EXPECT_EQ(k, TCameraAnimationKind::Rotate);
    ASSERT_TRUE(CameraAnimationFromName("voyage", k));
    EXPECT_EQ(k, TCameraAnimationKind::BonVoyage);
    EXPECT_FALSE(CameraAnimationFromName("orbit", k));
}

TEST(CameraAnimation, RotateTurnsOnceAroundTheTarget)
{
    TVexaSector s;
    s.Camera = {0, 5, 20};
    s.Target = {1, 2, 3};
    const double distance = ViewDistance(s);
    auto a = MakeCameraAnimation(TCameraAnimationKind::Rotate, TAnimationPace{2, 1});
    EXPECT_FALSE(a->Endless());
    for (int i = 0; i < 45; ++i)
        ASSERT_EQ(a->Next(s).Kind, TAnimationStepKind::Frame);
    // Half of 90 frames: the eye is on the far side of the target now.
    EXPECT_NEAR(s.Camera.X, 2, 1e-9);
    EXPECT_NEAR(s.Camera.Y, 5, 1e-12);
    EXPECT_NEAR(s.Camera.Z, -14, 1e-9);
    const TPlayed rest = Play(*a, s, 1000);
    EXPECT_EQ(rest.Frames, 45);
    EXPECT_NEAR(ViewDistance(s), distance, 1e-9);
    EXPECT_NEAR(s.Camera.X, 0, 1e-9);
    EXPECT_NEAR(s.Camera.Y, 5, 1e-12);
    EXPECT_NEAR(s.Camera.Z, 20, 1e-9);
}

TEST(CameraAnimation, WhirlSpeedsUpSlowsDownAndReturns)
{
    TVexaSector s;
    s.Camera = {0, 0, 10};
    s.Target = {0, 0, 0};
    auto a = MakeCameraAnimation(TCameraAnimationKind::Whirl, TAnimationPace{5, 1});
    ASSERT_EQ(a->Next(s).Kind, TAnimationStepKind::Frame);
    // First frame: 1 / 14.025 degrees.
    EXPECT_NEAR(std::atan2(-s.Camera.X, s.Camera.Z) * 180 / M_PI, 1 / 14.025, 1e-9);
    Play(*a, s, 99);
    // A hundred frames turn 5050 / 14.025 degrees, a little over a full turn.
    EXPECT_NEAR(std::atan2(-s.Camera.X, s.Camera.Z) * 180 / M_PI, 5050 / 14.025 - 360, 1e-9);
    ASSERT_EQ(a->Next(s).Kind, TAnimationStepKind::Frame);
    // The second half starts from the start, with the largest step.
    EXPECT_NEAR(std::atan2(-s.Camera.X, s.Camera.Z) * 180 / M_PI, 100 / 14.025, 1e-9);
    const TPlayed rest = Play(*a, s, 1000);
    EXPECT_EQ(rest.Frames, 99);
    EXPECT_EQ(s.Camera, (TVexaPoint{0, 0, 10}));

    // Stopped half way, the camera goes back too.
    auto b = MakeCameraAnimation(TCameraAnimationKind::Whirl, {});
    Play(*b, s, 37);
    b->Stop(s);
    EXPECT_EQ(s.Camera, (TVexaPoint{0, 0, 10}));
    EXPECT_EQ(b->Next(s).Kind, TAnimationStepKind::Done);
}

struct Tours : ::testing::Test {
    TVexaSector S;
    TStellarBody *A = nullptr, *B = nullptr, *C = nullptr;
    void SetUp() override
    {
        A = AddSystem(S, "A", 0, 0, 0);
        B = AddSystem(S, "B", 10, 0, 0);
        C = AddSystem(S, "C", 0, 10, 0);
        S.Camera = {0, 0, 30};
        S.Target = {0, 0, 0};
    }
};

TEST_F(Tours, TourGuideLooksFromOneSystemAtAnother)
{
    // First pass picks A twice and ends at once; the next looks from B at C.
    auto a = MakeCameraAnimation(TCameraAnimationKind::TourGuide, TAnimationPace{2, 1}, Picks({0, 0, 1, 2}));
    EXPECT_TRUE(a->Endless());
    const TPlayed pass = Play(*a, S, 1000, true);
    EXPECT_EQ(pass.Frames, 50);
    EXPECT_EQ(pass.Pauses, 1);
    EXPECT_EQ(pass.PauseMs, 500);
    EXPECT_EQ(S.Camera, (TVexaPoint{10, 0, 0}));
    EXPECT_EQ(S.Target, (TVexaPoint{0, 10, 0}));
    // The pass leaves nothing selected.
    EXPECT_TRUE(S.Selection.empty());
    EXPECT_FALSE(B->Selected || C->Selected || A->Selected);
}

TEST_F(Tours, TourGuideSelectsBothWhileItSlides)
{
    auto a = MakeCameraAnimation(TCameraAnimationKind::TourGuide, {}, Picks({2, 0}));
    ASSERT_EQ(a->Next(S).Kind, TAnimationStepKind::Frame);
    ASSERT_EQ(S.Selection.size(), 2u);
    EXPECT_EQ(S.Selection[0], C);
    EXPECT_EQ(S.Selection[1], A);
    EXPECT_TRUE(C->Selected && A->Selected);
    a->Stop(S);
    EXPECT_TRUE(S.Selection.empty());
    EXPECT_FALSE(C->Selected || A->Selected);
    EXPECT_EQ(a->Next(S).Kind, TAnimationStepKind::Done);
}

TEST_F(Tours, TourGuideNeverPutsTheEyeOnItsTarget)
{
    // A to B, then B to A: eye and target pass through each other half way.
    auto a = MakeCameraAnimation(TCameraAnimationKind::TourGuide, {}, Picks({0, 1, 1, 0}));
    const TPlayed first = Play(*a, S, 1000, true);
    const TPlayed back = Play(*a, S, 1000, true);
    EXPECT_EQ(back.Frames, 100);
    EXPECT_GE(back.Nearest, MIN_VIEW_DISTANCE);
    EXPECT_GE(first.Nearest, MIN_VIEW_DISTANCE);
    EXPECT_EQ(S.Camera, (TVexaPoint{10, 0, 0}));
    EXPECT_EQ(S.Target, (TVexaPoint{0, 0, 0}));
}

TEST_F(Tours, ToursNeedVisibleSystems)
{
    B->Visible = C->Visible = false;
    auto tour = MakeCameraAnimation(TCameraAnimationKind::TourGuide, {}, Picks({}));
    EXPECT_EQ(tour->Next(S).Kind, TAnimationStepKind::Done);
    // A voyage flies to the one visible system only.
    auto voyage = MakeCameraAnimation(TCameraAnimationKind::BonVoyage, {}, Picks({0, 0, 0}));
    Play(*voyage, S, 1000, true);
    EXPECT_EQ(S.Target, (TVexaPoint{0, 0, 0}));
    A->Visible = false;
    auto none = MakeCameraAnimation(TCameraAnimationKind::BonVoyage, {}, Picks({}));
    EXPECT_EQ(none->Next(S).Kind, TAnimationStepKind::Done);
}

TEST_F(Tours, BonVoyageTurnsThenFliesMostOfTheWay)
{
    auto a = MakeCameraAnimation(TCameraAnimationKind::BonVoyage, TAnimationPace{4, 1}, Picks({1, 2}));
    const TPlayed pass = Play(*a, S, 1000, true);
    // Pace does not change a voyage: 100 steps turning, 95 flying.
    EXPECT_EQ(pass.Frames, 195);
    EXPECT_EQ(S.Target, (TVexaPoint{10, 0, 0}));
    EXPECT_NEAR(S.Camera.X, 9.5, 1e-12);
    EXPECT_NEAR(S.Camera.Z, 1.5, 1e-12);
    // Still selected through the pause; let go when the next pass begins.
    EXPECT_TRUE(B->Selected);
    ASSERT_EQ(a->Next(S).Kind, TAnimationStepKind::Frame);
    EXPECT_FALSE(B->Selected);
    ASSERT_EQ(S.Selection.size(), 1u);
    EXPECT_EQ(S.Selection[0], C);
    a->Stop(S);
    EXPECT_TRUE(S.Selection.empty());
    EXPECT_FALSE(C->Selected);
}

TEST_F(Tours, BonVoyageFromTheSystemItselfKeepsAView)
{
    // The eye sits on B; turning to B would look at the eye itself.
    S.Camera = {10, 0, 0};
    auto a = MakeCameraAnimation(TCameraAnimationKind::BonVoyage, {}, Picks({1, 1}));
    const TPlayed pass = Play(*a, S, 1000, true);
    const TPlayed again = Play(*a, S, 1000, true);
    EXPECT_EQ(pass.Frames, 195);
    EXPECT_GE(pass.Nearest, MIN_VIEW_DISTANCE);
    EXPECT_GE(again.Nearest, MIN_VIEW_DISTANCE);
    EXPECT_TRUE(std::isfinite(S.Camera.X) && std::isfinite(S.Target.X));
}

} // namespace
