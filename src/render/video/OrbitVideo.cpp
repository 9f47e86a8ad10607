#include "render/video/OrbitVideo.h"

#include "model/VexaSector.h"
#include "render/OffscreenFrame.h"
#include "render/orbit/RenderOrbitOGL.h"
#include "render/video/VideoRecorder.h"

#include <cmath>

namespace kalvion {

int RecordOrbitAnimation(TOffscreenGL &gl, TRenderOrbitOGL &renderer, TVideoRecorder &recorder,
                         const TOrbitVideoOptions &options, std::string &error)
{
    if (!recorder.isRecording()) {
        error = "No video is being recorded";
        return -1;
    }
    TVexaSector *sector = renderer.Sector();
    if (!sector || !renderer.Root()) {
        error = "No system is shown";
        return -1;
    }
    const double fps = recorder.fps();
    const int frames = options.Frames > 0 ? options.Frames
                                          : static_cast<int>(std::nearbyint(ORBIT_VIDEO_DEFAULT_SECONDS * fps));
    const double step = options.DaysPerSecond / fps;
    int done = 0;
    for (; done < frames; ++done) {
        if (options.Cancelled && options.Cancelled())
            break;
        const QImage frame = gl.RenderOrbit(renderer, recorder.frameWidth(), recorder.frameHeight(), options.Samples);
        if (frame.isNull()) {
            error = "The 3D view could not be drawn: " + gl.ErrorMessage;
            return -1;
        }
        if (!recorder.addFrame(frame)) {
            error = recorder.lastError();
            return -1;
        }
        sector->Time += step;
        if (options.OnFrame)
            options.OnFrame(done + 1, frames);
    }
    return done;
}

} // namespace kalvion
