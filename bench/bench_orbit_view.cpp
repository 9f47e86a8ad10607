// Frame time of the 3D system view (offscreen, Mesa's software renderer,
// 1280 × 800): a star with planets and an asteroid belt, a ringed gas giant
// with its moons, and a star with 30 planets, each against the same bodies
// drawn as plain points at their places in the same run.  Target: under
// 33 ms a frame.  Needs an X display (scripts/with-display.sh gives one).
#include "BenchFolder.h"
#include "OffscreenTarget.h"

#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "render/GLHeaders.h"
#include "render/OffscreenFrame.h"
#include "render/orbit/RenderOrbitOGL.h"

#include <benchmark/benchmark.h>

#include <QOpenGLFramebufferObject>

#include <memory>
#include <stdexcept>

namespace {

using namespace kalvion;

constexpr int Width = 1280, Height = 800;

std::filesystem::path g_folder;

void Target() { bench::Target(Width, Height); }

TStellarBody *Add(TStellarBody &parent, int type, double distance, double radius)
{
    auto body = TStellarBody::Create();
    body->Name = parent.Name + " " + std::to_string(parent.ChildrenCount() + 1);
    body->TypeID = type;
    body->Distance = distance;
    body->Radius = radius;
    body->Mass = 1;
    body->Rotation = 20 + parent.ChildrenCount();
    body->Eccentricity = 0.01 * (parent.ChildrenCount() % 5);
    body->Inclination = parent.ChildrenCount() % 7;
    body->AxialTilt = 23;
    TStellarBody *raw = body.get();
    parent.AddChild(std::move(body));
    return raw;
}

struct TScene {
    std::unique_ptr<TVexaSector> Sector = TVexaSector::Create();
    TStellarBody *Root = nullptr;
};

// 0: a star with eight planets and a belt; 1: a ringed gas giant with
// moons; 2: a star with 30 planets.
TScene &Scene(int which)
{
    static std::unique_ptr<TScene> made[3];
    auto &slot = made[which];
    if (slot)
        return *slot;
    slot = std::make_unique<TScene>();
    TVexaSector &s = *slot->Sector;
    s.BaseFont = "DejaVu Sans";
    s.Time = 1234.5;
    TStellarBody *star = s.NewSystem(1);
    star->Name = "Bench";
    star->TypeID = BODY_TYPE_STAR;
    star->Mass = 1;
    star->Radius = 1;
    constexpr double Au = ORBIT_KM_PER_AU;
    if (which == 2) {
        for (int i = 0; i < 30; ++i)
            Add(*star, i % 3 == 2 ? BODY_TYPE_GASGIANT : BODY_TYPE_TERRESTRIAL, (0.3 + i * 0.9) * Au, 8000 + 900 * i);
        slot->Root = star;
        return *slot;
    }
    for (int i = 0; i < 8; ++i)
        Add(*star, i < 4 ? BODY_TYPE_TERRESTRIAL : BODY_TYPE_GASGIANT, (0.4 + i * i * 0.6) * Au, 6000 + 9000 * i);
    Add(*star, BODY_TYPE_ASTEROIDBELT, 2.8 * Au, 0);
    TStellarBody *giant = star->GetChild(5);
    for (int k = 0; k < 3; ++k) {
        TStellarBody *ring = Add(*giant, BODY_TYPE_RING, giant->Radius * (1.3 + 0.5 * k), giant->Radius * 0.4);
        ring->Name.clear();
    }
    for (int k = 0; k < 6; ++k)
        Add(*giant, BODY_TYPE_TERRESTRIAL, giant->Radius * (4 + 3 * k), 1500 + 300 * k);
    slot->Root = which == 1 ? giant : star;
    return *slot;
}

// Second and third arguments: orbits and names shown (1) or not (0), to
// see where a frame's time goes.
void BM_OrbitFrame(benchmark::State &state)
{
    TScene &scene = Scene(static_cast<int>(state.range(0)));
    Target();
    TRenderOrbitOGL view;
    view.SetSystem(scene.Sector.get(), scene.Root);
    view.Camera.Latitude = 35;
    view.ShowOrbits = state.range(1) != 0;
    view.ShowNames = state.range(2) != 0;
    view.Render(Width, Height);  // lists and fonts made outside the timing
    glFinish();
    for (auto _ : state) {
        view.AdvanceTime();
        view.Render(Width, Height);
        glFinish();
    }
    view.ReleaseLists();
    view.ReleaseFonts();
    state.counters["bodies"] = static_cast<double>(scene.Root->ChildrenCount() + 1);
}
BENCHMARK(BM_OrbitFrame)
    ->Args({0, 1, 1})
    ->Args({1, 1, 1})
    ->Args({2, 1, 1})
    ->Args({2, 0, 1})
    ->Args({2, 1, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The same bodies as points at their places under the same camera: the
// floor of any frame of these scenes.
void BM_OrbitPointsBaseline(benchmark::State &state)
{
    TScene &scene = Scene(static_cast<int>(state.range(0)));
    Target();
    TRenderOrbitOGL view;
    view.SetSystem(scene.Sector.get(), scene.Root);
    view.Camera.Latitude = 35;
    const double scale = OrbitChildScale(view.Kind());
    const TMatrix4 projection = PerspectiveMatrix(45, static_cast<double>(Width) / Height, ORBIT_NEAR_PLANE,
                                                  ORBIT_FAR_PLANE);
    const TMatrix4 modelview = OrbitLookAt(view.Camera);
    for (auto _ : state) {
        glViewport(0, 0, Width, Height);
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixd(projection.data());
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixd(modelview.data());
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glBegin(GL_POINTS);
        glColor3d(1, 1, 1);
        glVertex3d(0, 0, 0);
        for (const auto &child : scene.Root->Children) {
            double x, y, z;
            if (OrbitPositionAt(*child, scene.Sector->Time, x, y, z))
                glVertex3d(x / scale, z / scale, y / scale);
        }
        glEnd();
        glFinish();
    }
}
BENCHMARK(BM_OrbitPointsBaseline)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    g_folder = kalvion::bench::MakeBenchFolder("orbit");
    return kalvion::bench::RunBenchmarksThenRemove(argc, argv, g_folder);
}
