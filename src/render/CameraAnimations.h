#pragma once
// The camera animations of the sector view ("Rotate 360", "Whirl", "Tour
// Guide", "Bon Voyage") as step generators: each Next() moves the sector's
// camera for one frame and says whether to draw it, to hold the picture for
// a while, or that the animation is over.  The window draws and checks the
// keyboard between steps; an offscreen recording draws each frame and turns
// a pause into repeated frames.  No widget, no GL.
//
// A step never leaves the camera on its target: the view direction would be
// lost.  A step that would (a slide whose eye passes through the point it
// looks at, a pan onto the system the eye sits on) is not taken, and the
// frame shows the camera as it was.
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kalvion {

class TStellarBody;
class TVexaSector;

enum class TCameraAnimationKind { Rotate, Whirl, TourGuide, BonVoyage };

// Frame counts scale with the machine's measured speed and the user's
// animation-speed choice: N(x) = trunc(x / performanceFactor × adjust), at
// least 1 (a factor that is not a positive number counts as 1).
struct TAnimationPace {
    double PerformanceFactor = 1.0;
    double AnimationPerformanceAdjust = 1.0;
    int Frames(double x) const;
};

enum class TAnimationStepKind { Frame, Pause, Done };

struct TAnimationStep {
    TAnimationStepKind Kind = TAnimationStepKind::Done;
    int PauseMs = 0;  // for Pause: how long the last picture stays
};

// Distances below this (light years) count as the camera sitting on its target.
inline constexpr double MIN_VIEW_DISTANCE = 1e-6;

class TCameraAnimation {
public:
    virtual ~TCameraAnimation() = default;
    virtual TAnimationStep Next(TVexaSector &sector) = 0;
    // Ends the animation early as its own end would: the selection it made
    // is undone, a whirl puts the camera back where it started.
    virtual void Stop(TVexaSector &sector) = 0;
    // Tour Guide and Bon Voyage run until stopped.
    virtual bool Endless() const = 0;
};

// Answers 0 … n-1; the program's shared random numbers by default.
using TRandomPick = std::function<int(int n)>;

std::unique_ptr<TCameraAnimation> MakeCameraAnimation(TCameraAnimationKind kind, const TAnimationPace &pace,
                                                      TRandomPick pick = {});

// "rotate", "whirl", "tour", "voyage" (ignoring case); false for others.
bool CameraAnimationFromName(const std::string &name, TCameraAnimationKind &kind);

// The visible root systems, the ones Tour Guide and Bon Voyage choose from.
std::vector<TStellarBody *> VisibleRootSystems(const TVexaSector &sector);

} // namespace kalvion
