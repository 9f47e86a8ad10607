#pragma once
// The 3D system view's clock running into a video: each frame is drawn off
// screen and the sector date then moves on by the chosen days per second of
// video.  What "kalvion-cli video --animation orbit" records.
#include <functional>
#include <string>

namespace kalvion {

class TOffscreenGL;
class TRenderOrbitOGL;
class TVideoRecorder;

// A video of the orbits without a length of its own runs this long.
inline constexpr double ORBIT_VIDEO_DEFAULT_SECONDS = 10.0;
// Without a chosen pace a video shows about a month a second.
inline constexpr double ORBIT_VIDEO_DEFAULT_DAYS_PER_SECOND = 30.0;

struct TOrbitVideoOptions {
    int Frames = 0;  // 0: ORBIT_VIDEO_DEFAULT_SECONDS of video
    double DaysPerSecond = ORBIT_VIDEO_DEFAULT_DAYS_PER_SECOND;
    int Samples = 4;
    std::function<bool()> Cancelled;
    std::function<void(int done, int total)> OnFrame;
};

// Records into a started recorder at its frame size; the renderer must show
// a system.  The sector's date is left where the last frame put it.  The
// frames recorded, or -1 with `error`.
int RecordOrbitAnimation(TOffscreenGL &gl, TRenderOrbitOGL &renderer, TVideoRecorder &recorder,
                         const TOrbitVideoOptions &options, std::string &error);

} // namespace kalvion
