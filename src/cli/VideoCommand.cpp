// "kalvion-cli video": a camera animation of the 3D sector view, or the
// orbits of one system running in the 3D system view, drawn off screen, into
// a video file (MP4 with H.264, or WebM with VP9 by the name).  The video
// is written under a scratch name beside its target and renamed when whole.
// Ctrl-C stops the recording the way Escape does in the window: what was
// recorded is kept when the target did not exist, an existing file is never
// replaced by a partial video, and the exit status is 130 either way.
// SIGTERM removes the scratch file and ends the program by the signal.
#include "cli/CliApp.h"
#include "cli/Interrupt.h"
#include "cli/OffscreenViews.h"

#include "base/AsciiText.h"
#include "base/Paths.h"
#include "files/SectorFile.h"
#include "graphics/ZentImages.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "render/CameraAnimations.h"
#include "render/OffscreenFrame.h"
#include "render/RenderSectorOGL.h"
#include "render/models/ModelManager.h"
#include "render/orbit/RenderOrbitOGL.h"
#include "render/video/OrbitVideo.h"
#include "render/video/SectorVideo.h"
#include "render/video/VideoRecorder.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <ostream>

#include <unistd.h>

namespace kalvion::cli {

CLI::App *AddVideoCommand(CLI::App &app, VideoOptions &o)
{
    auto *cmd = app.add_subcommand("video", "Record a camera animation of the 3D star map into a video (mp4, webm)");
    cmd->add_option("file", o.file, "Sector file")->required();
    cmd->add_option("out", o.out, "Video to write: .mp4 (H.264) or .webm (VP9)")->required();
    cmd->add_option("--animation", o.animation, "rotate, whirl, tour, voyage or orbit")->required();
    cmd->add_option("--seconds", o.seconds,
                    "Length of the video; a rotation or whirl starts again to fill it (default: one rotation or "
                    "whirl, 20 seconds of a tour or voyage)");
    cmd->add_option("--width", o.width, "Frame width in pixels (default 1280)");
    cmd->add_option("--height", o.height, "Frame height in pixels (default 720)");
    cmd->add_option("--fps", o.fps, "Frames per second (default 10)");
    cmd->add_flag("--quick", o.quick, "Faster encoding, larger file");
    cmd->add_option("--view", o.view, "Start from this saved view");
    cmd->add_option("--system", o.system, "System of the orbit view (orbit animation)");
    cmd->add_option("--days", o.days, "Days the orbit view runs per second (orbit animation)");
    return cmd;
}

namespace {

bool IsVideoName(const std::string &name)
{
    const std::string ext = UpperExtension(name);
    return ext == ".MP4" || ext == ".M4V" || ext == ".WEBM";
}

// Ends a recording once its frames are drawn (`failure` empty) or could not
// be (`failure` says why): -1 when the video was written, else the exit
// status.  A SIGTERM drops the recording and its scratch file and does not
// return.
int EndRecording(TVideoRecorder &recorder, const std::string &out, bool existed, const std::string &failure,
                 std::ostream &err)
{
    if (Terminated()) {
        recorder.cancel();
        DieOfTermination();
    }
    if (Interrupted() && (existed || !failure.empty())) {
        recorder.cancel();
        err << "kalvion-cli: interrupted; "
            << (existed ? "\"" + out + "\" was left as it was" : std::string("no video was written")) << "\n";
        return EXIT_INTERRUPTED;
    }
    if (!failure.empty()) {
        recorder.cancel();
        err << "kalvion-cli: " << failure << "\n";
        return EXIT_FAILURE_;
    }
    if (!recorder.finish()) {
        err << "kalvion-cli: " << recorder.lastError() << "\n";
        return EXIT_FAILURE_;
    }
    // The video is whole and in place; the signal still ends the program.
    if (Terminated())
        DieOfTermination();
    return -1;
}

int RecordOrbitVideo(const CliOptions &opts, const VideoOptions &o, TVexaSector &sector, TOffscreenGL &gl,
                     TVideoRecorder &recorder, bool existed, std::ostream &out, std::ostream &err)
{
    TStellarBody *body = FindSystemOrBody(sector, o.system);
    if (!body)
        return EndRecording(recorder, o.out, existed, "no system or body named \"" + o.system + "\"", err);
    TCliOrbitView view(sector, body, err);
    TRenderOrbitOGL &renderer = view.Renderer;
    // The cameras of the file's systems stay as they are: nothing is saved.
    renderer.RememberCameras = false;
    TOrbitVideoOptions options;
    if (o.seconds > 0)
        options.Frames = std::max(1, static_cast<int>(std::nearbyint(o.seconds * o.fps)));
    if (o.days != 0)
        options.DaysPerSecond = o.days;
    options.Cancelled = [] { return Interrupted() || Terminated(); };
    std::string error;
    const int frames = RecordOrbitAnimation(gl, renderer, recorder, options, error);
    view.ReleaseGL();
    const int ended = EndRecording(recorder, o.out, existed,
                                   frames > 0 ? std::string() : frames < 0 ? error : "no frame was recorded", err);
    if (ended >= 0)
        return ended;
    if (opts.json)
        out << nlohmann::json{{"out", o.out},
                              {"animation", "orbit"},
                              {"system", renderer.Root()->Name},
                              {"encoder", recorder.encoderName()},
                              {"width", recorder.frameWidth()},
                              {"height", recorder.frameHeight()},
                              {"fps", o.fps},
                              {"frames", frames},
                              {"seconds", frames / o.fps},
                              {"days_per_second", options.DaysPerSecond},
                              {"size_notice", recorder.sizeNotice()},
                              {"interrupted", Interrupted()}}
                   .dump()
            << "\n";
    else
        out << "Wrote " << o.out << " (" << recorder.frameWidth() << " x " << recorder.frameHeight() << ", " << frames
            << " frames of " << renderer.Root()->Name << " at " << o.fps << " fps, " << recorder.encoderName()
            << ")\n";
    return Interrupted() ? EXIT_INTERRUPTED : EXIT_OK;
}

} // namespace

int RunVideo(const CliOptions &opts, const VideoOptions &o, std::ostream &out, std::ostream &err)
{
    TCameraAnimationKind kind = TCameraAnimationKind{};
    const bool orbit = SameText(o.animation, "orbit");
    if (!orbit && !CameraAnimationFromName(o.animation, kind)) {
        err << "kalvion-cli: --animation must be rotate, whirl, tour, voyage or orbit\n";
        return EXIT_USAGE;
    }
    if (orbit && o.system.empty()) {
        err << "kalvion-cli: the orbit animation needs --system NAME\n";
        return EXIT_USAGE;
    }
    if (!std::isfinite(o.days) || std::abs(o.days) > 1e9) {
        err << "kalvion-cli: --days must be a number of days per second\n";
        return EXIT_USAGE;
    }
    if (!IsVideoName(o.out)) {
        err << "kalvion-cli: the video must end in .mp4 or .webm\n";
        return EXIT_USAGE;
    }
    if (OutputIsAnInput(o.out, {o.file}, err))
        return EXIT_USAGE;
    if (o.width < VIDEO_MIN_SIZE || o.width > VIDEO_MAX_SIZE || o.height < VIDEO_MIN_SIZE ||
        o.height > VIDEO_MAX_SIZE) {
        err << "kalvion-cli: --width and --height must be between " << VIDEO_MIN_SIZE << " and " << VIDEO_MAX_SIZE
            << "\n";
        return EXIT_USAGE;
    }
    if (!std::isfinite(o.fps) || o.fps < VIDEO_MIN_FPS || o.fps > VIDEO_MAX_FPS) {
        err << "kalvion-cli: --fps must be between 1 and 240\n";
        return EXIT_USAGE;
    }
    // An hour is far more than anyone records this way, and keeps the frame
    // count well inside an int.
    if (o.seconds != 0 && (!std::isfinite(o.seconds) || o.seconds < 0 || o.seconds > 3600)) {
        err << "kalvion-cli: --seconds must be above 0 and at most 3600\n";
        return EXIT_USAGE;
    }

    TVexaSector sector;
    std::string error;
    if (!LoadFromFile(sector, o.file, &error)) {
        err << "kalvion-cli: " << error << "\n";
        return EXIT_FAILURE_;
    }
    sector.UpdateRouteBodies();
    if (!o.view.empty()) {
        if (sector.FindView(o.view) < 0) {
            err << "kalvion-cli: the sector has no view named \"" << o.view << "\"\n";
            return EXIT_FAILURE_;
        }
        sector.LoadView(o.view);
    }

    std::error_code ec;
    const bool existed = std::filesystem::exists(std::filesystem::symlink_status(o.out, ec));
    TOffscreenGL gl;
    if (!CreateOffscreenGL(gl, "video", err))
        return EXIT_FAILURE_;
    // From the start of the recording a scratch file lies beside the video:
    // both signals are watched for from before it exists.
    TInterruptGuard interruptGuard;
    TTerminateGuard terminateGuard;
    TVideoRecorder recorder;
    if (!recorder.start(o.out, o.width, o.height, o.fps, o.quick)) {
        err << "kalvion-cli: " << recorder.lastError() << "\n";
        return EXIT_FAILURE_;
    }
    if (!recorder.sizeNotice().empty())
        err << "kalvion-cli: " << recorder.sizeNotice() << "\n";

    if (orbit)
        return RecordOrbitVideo(opts, o, sector, gl, recorder, existed, out, err);

    TRenderSectorOGL renderer;
    TSectorVideoOptions options;
    if (o.seconds > 0)
        options.Frames = std::max(1, static_cast<int>(std::nearbyint(o.seconds * o.fps)));
    options.Cancelled = [] { return Interrupted() || Terminated(); };
    // On a terminal a line that rewrites itself; elsewhere nothing.
    const bool terminal = &err == &std::cerr && ::isatty(STDERR_FILENO) == 1;
    if (terminal)
        options.OnFrame = [&err](int done, int total) {
            err << "\rFrame " << done;
            if (total > 0)
                err << " of " << total;
            err << std::flush;
        };
    ApplySeed(opts);  // the systems a tour or voyage visits
    TSectorVideoStats stats;
    const bool drawn = RecordSectorAnimation(gl, renderer, sector, kind, recorder, options, error, &stats);
    renderer.ReleaseAll();
    if (terminal && stats.Frames > 0)
        err << "\n";
    const int ended = EndRecording(
        recorder, o.out, existed,
        !drawn               ? error
        : stats.Frames == 0 ? "the animation made no frames (a tour needs two visible systems, a voyage one)"
                            : std::string(),
        err);
    if (ended >= 0)
        return ended;
    const double seconds = stats.Frames / o.fps;
    if (opts.json)
        out << nlohmann::json{{"out", o.out},
                              {"animation", AsciiLower(o.animation)},
                              {"encoder", recorder.encoderName()},
                              {"width", recorder.frameWidth()},
                              {"height", recorder.frameHeight()},
                              {"fps", o.fps},
                              {"frames", stats.Frames},
                              {"seconds", seconds},
                              {"size_notice", recorder.sizeNotice()},
                              {"interrupted", Interrupted()}}
                   .dump()
            << "\n";
    else
        out << "Wrote " << o.out << " (" << recorder.frameWidth() << " x " << recorder.frameHeight() << ", "
            << stats.Frames << " frames at " << o.fps << " fps, " << recorder.encoderName() << ")\n";
    return Interrupted() ? EXIT_INTERRUPTED : EXIT_OK;
}

} // namespace kalvion::cli
