// Recording a video of the 3D sector view against drawing it alone, in the
// same run: a 1280 × 720 "Rotate 360" of a generated 10,000-system sector
// (offscreen, Mesa's software renderer, 4× multisampling), 60 frames drawn
// only, then the same 60 frames drawn and recorded at 30 frames per second
// (H.264; quick mode as the first argument).  Counters: frames per second of
// each and their ratio.  The second argument 0 draws every frame the way
// frames were drawn before the offscreen frame kept its framebuffers (new
// ones for each frame, read back through Qt's picture of the framebuffer),
// so the two ways compare in one run.  Needs an X display
// (scripts/with-display.sh gives one).
#include "BenchFolder.h"

#include "cli/CliApp.h"
#include "files/SectorFile.h"
#include "model/VexaSector.h"
#include "render/CameraAnimations.h"
#include "render/OffscreenFrame.h"
#include "render/RenderSectorOGL.h"
#include "render/video/SectorVideo.h"
#include "render/video/VideoRecorder.h"

#include "render/OpenGLContext.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <sstream>

namespace {

using namespace kalvion;
using Clock = std::chrono::steady_clock;

constexpr int Width = 1280, Height = 720, Frames = 60, Samples = 4;
constexpr double Fps = 30;

std::filesystem::path g_folder;

// Qt's GL objects must not be destroyed after the application during exit.
TOffscreenGL &GL()
{
    static TOffscreenGL *gl = new TOffscreenGL;
    static bool made = gl->Create();
    if (!made)
        throw std::runtime_error(gl->ErrorMessage);
    return *gl;
}

TVexaSector &Sector()
{
    static std::unique_ptr<TVexaSector> made;
    if (!made) {
        const std::string file = (g_folder / "sector10000.VexaDB").string();
        std::ostringstream out, err;
        cli::RunCli({"kalvion-cli", "--seed", "2026", "generate", file, "--systems", "10000", "--data", "stars",
                     "--no-subsectors"},
                    out, err);
        cli::RunCli({"kalvion-cli", "routes", file, "--proximity", "--max", "3", "--per-system", "1"}, out, err);
        made = TVexaSector::Create();
        if (!LoadFromFile(*made, file, nullptr))
            throw std::runtime_error("cannot generate the benchmark sector: " + err.str());
        made->UpdateRouteBodies();
        made->GridX = made->GridY = made->GridZ = std::max(1.0, made->SizeX / 10);
    }
    return *made;
}

// A frame as it was drawn before: framebuffers made for the frame and Qt's
// read-back, which resolves through a temporary framebuffer of its own.
QImage RenderFreshFramebuffers(TOffscreenGL &gl, TRenderSectorOGL &renderer, TVexaSector &sector)
{
    if (!gl.MakeCurrent())
        return {};
    QOpenGLFramebufferObjectFormat format;
    format.setAttachment(QOpenGLFramebufferObject::Depth);
    format.setInternalTextureFormat(0x8051 /* GL_RGB8 */);
    format.setSamples(Samples);
    QOpenGLFramebufferObject fbo(Width, Height, format);
    if (!fbo.isValid())
        return {};
    fbo.bind();
    TOpenGLContext context(gl.Context(), gl.Surface());
    renderer.Render(sector, nullptr, &context, Height, Width);
    gl.Context()->functions()->glFlush();
    fbo.release();
    QImage image = fbo.toImage();
    if (image.format() == QImage::Format_ARGB32_Premultiplied)
        image.reinterpretAsFormat(QImage::Format_ARGB32);
    else if (image.format() == QImage::Format_RGBA8888_Premultiplied)
        image.reinterpretAsFormat(QImage::Format_RGBA8888);
    return image.convertToFormat(QImage::Format_RGB32);
}

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

void BM_RecordAgainstRender(benchmark::State &state)
{
    const bool quick = state.range(0) != 0;
    const bool kept = state.range(1) != 0;
    TVexaSector &sector = Sector();
    TOffscreenGL &gl = GL();
    TRenderSectorOGL renderer;
    renderer.NoRaster = true;
    gl.RenderSector(renderer, sector, Width, Height, Samples);  // fonts made outside the timing
    double render = 0, record = 0, waiting = 0;
    for (auto _ : state) {
        const TVexaPoint camera = sector.Camera;
        auto turn = MakeCameraAnimation(TCameraAnimationKind::Rotate, {});
        auto t = Clock::now();
        for (int i = 0; i < Frames; ++i) {
            turn->Next(sector);
            benchmark::DoNotOptimize(kept ? gl.RenderSector(renderer, sector, Width, Height, Samples)
                                          : RenderFreshFramebuffers(gl, renderer, sector));
        }
        render += Seconds(t);
        sector.Camera = camera;

        TVideoRecorder recorder;
        t = Clock::now();
        if (!recorder.start((g_folder / "turn.mp4").string(), Width, Height, Fps, quick)) {
            state.SkipWithError(recorder.lastError().c_str());
            break;
        }
        TSectorVideoOptions options;
        options.Frames = Frames;
        options.Samples = Samples;
        std::string error;
        TSectorVideoStats stats;
        bool recorded = true;
        if (kept) {
            recorded = RecordSectorAnimation(gl, renderer, sector, TCameraAnimationKind::Rotate, recorder, options,
                                             error, &stats);
        } else {
            // The same turn frame by frame (a rotation never pauses).
            auto again = MakeCameraAnimation(TCameraAnimationKind::Rotate, {});
            for (int i = 0; recorded && i < Frames; ++i) {
                again->Next(sector);
                const QImage frame = RenderFreshFramebuffers(gl, renderer, sector);
                const auto w = Clock::now();
                recorded = recorder.addFrame(frame);
                stats.AddSeconds += Seconds(w);
            }
        }
        if (!recorded || !recorder.finish()) {
            state.SkipWithError((error.empty() ? recorder.lastError() : error).c_str());
            break;
        }
        record += Seconds(t);
        waiting += stats.AddSeconds;
        sector.Camera = camera;
    }
    renderer.ReleaseAll();
    const double n = static_cast<double>(state.iterations()) * Frames;
    state.counters["render_fps"] = n / render;
    state.counters["record_fps"] = n / record;
    state.counters["ratio"] = render / record;
    // Time the drawing thread waited for the encoder, per frame.
    state.counters["wait_ms"] = 1000 * waiting / n;
}
BENCHMARK(BM_RecordAgainstRender)
    ->ArgNames({"quick", "kept"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Iterations(2)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    g_folder = kalvion::bench::MakeBenchFolder("video");
    return kalvion::bench::RunBenchmarksThenRemove(argc, argv, g_folder);
}
