#include "render/video/SectorVideo.h"

#include "model/VexaSector.h"
#include "render/OffscreenFrame.h"
#include "render/RenderSectorOGL.h"
#include "render/video/VideoRecorder.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace kalvion {

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

} // namespace

bool RecordSectorAnimation(TOffscreenGL &gl, TRenderSectorOGL &renderer, TVexaSector &sector,
                           TCameraAnimationKind kind, TVideoRecorder &recorder, const TSectorVideoOptions &options,
                           std::string &error, TSectorVideoStats *stats)
{
    TSectorVideoStats local;
    TSectorVideoStats &st = stats ? *stats : local;
    st = {};
    if (!recorder.isRecording()) {
        error = "No video is being recorded";
        return false;
    }
    const int width = recorder.frameWidth(), height = recorder.frameHeight();
    const double fps = recorder.fps();
    auto animation = MakeCameraAnimation(kind, options.Pace, options.Pick);
    int frames = options.Frames;
    if (frames <= 0 && animation->Endless())
        frames = static_cast<int>(std::nearbyint(VIDEO_DEFAULT_ENDLESS_SECONDS * fps));

    // Animations leave out the screen-position pass, as in the window.
    const bool noRaster = renderer.NoRaster;
    renderer.NoRaster = true;
    QImage last;
    bool ok = true;
    auto add = [&](const QImage &image) {
        const auto t = Clock::now();
        if (!recorder.addFrame(image)) {
            error = recorder.lastError();
            return false;
        }
        st.AddSeconds += SecondsSince(t);
        ++st.Frames;
        if (options.OnFrame)
            options.OnFrame(st.Frames, std::max(frames, 0));
        return true;
    };
    while (ok && (frames <= 0 || st.Frames < frames)) {
        if (options.Cancelled && options.Cancelled()) {
            animation->Stop(sector);
            break;
        }
        const TAnimationStep step = animation->Next(sector);
        if (step.Kind == TAnimationStepKind::Done) {
            if (frames <= 0 || st.Frames == 0)
                break;
            animation = MakeCameraAnimation(kind, options.Pace, options.Pick);
            continue;
        }
        if (step.Kind == TAnimationStepKind::Pause) {
            // The picture stays on screen; a video shows it again and again.
            int hold = static_cast<int>(std::nearbyint(step.PauseMs / 1000.0 * fps));
            for (; ok && hold > 0 && !last.isNull() && (frames <= 0 || st.Frames < frames); --hold)
                ok = add(last);
            continue;
        }
        const auto t = Clock::now();
        last = gl.RenderSector(renderer, sector, width, height, options.Samples);
        st.RenderSeconds += SecondsSince(t);
        if (last.isNull()) {
            error = "The 3D view could not be drawn: " + gl.ErrorMessage;
            ok = false;
            break;
        }
        ++st.Rendered;
        ok = add(last);
    }
    if (ok && frames > 0 && st.Frames >= frames)
        animation->Stop(sector);
    renderer.NoRaster = noRaster;
    return ok;
}

} // namespace kalvion
