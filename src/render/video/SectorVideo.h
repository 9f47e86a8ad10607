#pragma once
// A camera animation of the sector view drawn off screen, frame by frame,
// into a video recorder: what "kalvion-cli video" does, and what a window
// could do to record without showing the frames.
#include "render/CameraAnimations.h"

#include <functional>
#include <string>

namespace kalvion {

class TOffscreenGL;
class TRenderSectorOGL;
class TVexaSector;
class TVideoRecorder;

// Endless animations (Tour Guide, Bon Voyage) without a length run this long.
inline constexpr double VIDEO_DEFAULT_ENDLESS_SECONDS = 20.0;

struct TSectorVideoOptions {
    // Frames to record; 0: one run of a finite animation, or
    // VIDEO_DEFAULT_ENDLESS_SECONDS of an endless one.  A finite animation
    // asked for more frames starts again from where it ended.
    int Frames = 0;
    int Samples = 4;  // multisampling of the offscreen frames
    TAnimationPace Pace;
    TRandomPick Pick;                // random choices of the tours; shared random numbers when empty
    std::function<bool()> Cancelled;  // asked before every frame
    // Told after every frame: frames recorded, and how many there will be
    // (0 while a finite animation runs to its own end).
    std::function<void(int done, int total)> OnFrame;
};

struct TSectorVideoStats {
    int Frames = 0;          // frames handed to the recorder
    int Rendered = 0;        // of which drawn (the others hold a picture through a pause)
    double RenderSeconds = 0;  // drawing and reading back
    double AddSeconds = 0;     // waiting for the recorder to take frames
};

// Records the animation into `recorder`, which must have been started; the
// frames are drawn at the recorder's frame size.  The caller finishes the
// recorder.  False with `error` when a frame cannot be drawn or the recorder
// fails; the camera and selection are left as the animation left them.
bool RecordSectorAnimation(TOffscreenGL &gl, TRenderSectorOGL &renderer, TVexaSector &sector,
                           TCameraAnimationKind kind, TVideoRecorder &recorder, const TSectorVideoOptions &options,
                           std::string &error, TSectorVideoStats *stats = nullptr);

} // namespace kalvion
