#include "render/CameraAnimations.h"

#include "base/AsciiText.h"
#include "base/SharedRandom.h"
#include "model/VexaSector.h"

#include <cmath>

namespace kalvion {

int TAnimationPace::Frames(double x) const
{
    const double factor = std::isfinite(PerformanceFactor) && PerformanceFactor > 0 ? PerformanceFactor : 1.0;
    const double n = std::trunc(x / factor * AnimationPerformanceAdjust);
    // Far beyond any sensible setting; keeps the count an int.
    if (!(n >= 1))
        return 1;
    return n > 1e6 ? 1000000 : static_cast<int>(n);
}

std::vector<TStellarBody *> VisibleRootSystems(const TVexaSector &sector)
{
    std::vector<TStellarBody *> roots;
    for (const auto &root : sector.Systems)
        if (root->Visible)
            roots.push_back(root.get());
    return roots;
}

bool CameraAnimationFromName(const std::string &name, TCameraAnimationKind &kind)
{
    if (SameText(name, "rotate"))
        kind = TCameraAnimationKind::Rotate;
    else if (SameText(name, "whirl"))
        kind = TCameraAnimationKind::Whirl;
    else if (SameText(name, "tour"))
        kind = TCameraAnimationKind::TourGuide;
    else if (SameText(name, "voyage"))
        kind = TCameraAnimationKind::BonVoyage;
    else
        return false;
    return true;
}

namespace {

constexpr int PASS_PAUSE_MS = 500;
// Passes in a row that pick one system twice before a tour gives up: only a
// broken random source gets there.
constexpr int MAX_EMPTY_PASSES = 1000;

double ViewDistance(const TVexaSector &s)
{
    const double dx = s.Camera.X - s.Target.X, dy = s.Camera.Y - s.Target.Y, dz = s.Camera.Z - s.Target.Z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// Applies one camera move unless it would put the eye on its target.
template <class Move>
void GuardedStep(TVexaSector &s, Move move)
{
    const TVexaPoint camera = s.Camera, target = s.Target;
    move();
    if (!(ViewDistance(s) >= MIN_VIEW_DISTANCE)) {
        s.Camera = camera;
        s.Target = target;
    }
}

TAnimationStep Frame() { return {TAnimationStepKind::Frame, 0}; }
TAnimationStep Pause(int ms) { return {TAnimationStepKind::Pause, ms}; }
TAnimationStep Done() { return {TAnimationStepKind::Done, 0}; }

// Lets go of a system the animation selected, if the sector still holds it.
void Deselect(TVexaSector &s, TStellarBody *&body)
{
    if (body && s.IndexOfSystem(body) >= 0)
        body->Selected = false;
    body = nullptr;
}

class TRotate final : public TCameraAnimation {
public:
    explicit TRotate(const TAnimationPace &pace) : Frames_(pace.Frames(180)) {}
    TAnimationStep Next(TVexaSector &s) override
    {
        if (Step_ >= Frames_)
            return Done();
        ++Step_;
        GuardedStep(s, [&] { s.RotateCameraAroundTarget(0, 360.0 / Frames_, 0); });
        return Frame();
    }
    void Stop(TVexaSector &) override { Step_ = Frames_; }
    bool Endless() const override { return false; }

private:
    int Frames_, Step_ = 0;
};

// Speeds up over a hundred frames (about one turn), then slows down over a
// hundred more; the camera goes back to its start after each half.
class TWhirl final : public TCameraAnimation {
public:
    TAnimationStep Next(TVexaSector &s) override
    {
        if (Step_ == 0)
            Start_ = s.Camera;
        if (Step_ == HALF || Step_ == 2 * HALF)
            s.Camera = Start_;
        if (Step_ >= 2 * HALF) {
            Step_ = 2 * HALF + 1;
            return Done();
        }
        ++Step_;
        const int k = Step_ <= HALF ? Step_ : 2 * HALF + 1 - Step_;
        GuardedStep(s, [&] { s.RotateCameraAroundTarget(0, k / 14.025, 0); });
        return Frame();
    }
    void Stop(TVexaSector &s) override
    {
        if (Step_ > 0 && Step_ <= 2 * HALF)
            s.Camera = Start_;
        Step_ = 2 * HALF + 1;
    }
    bool Endless() const override { return false; }

private:
    static constexpr int HALF = 100;
    int Step_ = 0;
    TVexaPoint Start_;
};

// Looks from one random visible system at another, sliding eye and target
// together; a pass that picks one system twice ends at once.
class TTourGuide final : public TCameraAnimation {
public:
    TTourGuide(const TAnimationPace &pace, TRandomPick pick) : Steps_(pace.Frames(100)), Pick_(std::move(pick)) {}
    TAnimationStep Next(TVexaSector &s) override
    {
        if (Finished_)
            return Done();
        if (Step_ == 0 && !BeginPass(s)) {
            Finished_ = true;
            return Done();
        }
        if (Step_ <= Steps_) {
            GuardedStep(s, [&] { s.ComboSlideToSelected(Steps_, Step_); });
            ++Step_;
            return Frame();
        }
        EndPass(s);
        return Pause(PASS_PAUSE_MS);
    }
    void Stop(TVexaSector &s) override
    {
        if (Step_ > 0)
            EndPass(s);
        Finished_ = true;
    }
    bool Endless() const override { return true; }

private:
    bool BeginPass(TVexaSector &s)
    {
        const std::vector<TStellarBody *> roots = VisibleRootSystems(s);
        // With one system every pass would pick it twice and end at once,
        // for ever.
        if (roots.size() < 2)
            return false;
        const int n = static_cast<int>(roots.size());
        for (int pass = 0; pass < MAX_EMPTY_PASSES; ++pass) {
            TStellarBody *first = roots[static_cast<std::size_t>(PickIndex(n))];
            TStellarBody *second = roots[static_cast<std::size_t>(PickIndex(n))];
            if (first == second)
                continue;
            First_ = first;
            Second_ = second;
            First_->Selected = Second_->Selected = true;
            s.Selection = {First_, Second_};
            Step_ = 1;
            return true;
        }
        return false;
    }
    void EndPass(TVexaSector &s)
    {
        s.Selection.clear();
        Deselect(s, First_);
        Deselect(s, Second_);
        Step_ = 0;
    }
    int PickIndex(int n)
    {
        const int i = Pick_ ? Pick_(n) : SharedRandomInt(n);
        return i >= 0 && i < n ? i : 0;
    }

    int Steps_;
    TRandomPick Pick_;
    int Step_ = 0;
    bool Finished_ = false;
    TStellarBody *First_ = nullptr, *Second_ = nullptr;
};

// Turns to a random visible system and flies most of the way to it.
class TBonVoyage final : public TCameraAnimation {
public:
    explicit TBonVoyage(TRandomPick pick) : Pick_(std::move(pick)) {}
    TAnimationStep Next(TVexaSector &s) override
    {
        if (Finished_)
            return Done();
        if (Step_ == PAUSE_STEP + 1) {
            Deselect(s, Body_);
            Step_ = 0;
        }
        if (Step_ == 0) {
            const std::vector<TStellarBody *> roots = VisibleRootSystems(s);
            s.Selection.clear();
            if (roots.empty()) {
                Finished_ = true;
                return Done();
            }
            const int n = static_cast<int>(roots.size());
            int i = Pick_ ? Pick_(n) : SharedRandomInt(n);
            if (i < 0 || i >= n)
                i = 0;
            Body_ = roots[static_cast<std::size_t>(i)];
            s.SelectBody(Body_);
            Step_ = 1;
        }
        if (Step_ <= PAN_STEPS) {
            GuardedStep(s, [&] { s.PanCameraToSelected(PAN_STEPS, Step_); });
            ++Step_;
            return Frame();
        }
        if (Step_ <= PAN_STEPS + SLIDE_STEPS) {
            const int j = Step_ - PAN_STEPS;
            GuardedStep(s, [&] { s.SlideCameraToSelected(PAN_STEPS, j); });
            ++Step_;
            return Frame();
        }
        Step_ = PAUSE_STEP + 1;
        return Pause(PASS_PAUSE_MS);
    }
    void Stop(TVexaSector &s) override
    {
        Deselect(s, Body_);
        s.Selection.clear();
        Finished_ = true;
    }
    bool Endless() const override { return true; }

private:
    // The eye stops at 95 of 100 steps, short of the system it flies to.
    static constexpr int PAN_STEPS = 100, SLIDE_STEPS = 95, PAUSE_STEP = PAN_STEPS + SLIDE_STEPS + 1;
    TRandomPick Pick_;
    int Step_ = 0;
    bool Finished_ = false;
    TStellarBody *Body_ = nullptr;
};

} // namespace

std::unique_ptr<TCameraAnimation> MakeCameraAnimation(TCameraAnimationKind kind, const TAnimationPace &pace,
                                                      TRandomPick pick)
{
    switch (kind) {
    case TCameraAnimationKind::Rotate:
        return std::make_unique<TRotate>(pace);
    case TCameraAnimationKind::Whirl:
        return std::make_unique<TWhirl>();
    case TCameraAnimationKind::TourGuide:
        return std::make_unique<TTourGuide>(pace, std::move(pick));
    case TCameraAnimationKind::BonVoyage:
        return std::make_unique<TBonVoyage>(std::move(pick));
    }
    return nullptr;
}

} // namespace kalvion
