#pragma once
// TStarFlareOGL: the glowing star sprite of the 3D views (core disc, halo
// rings, spikes and twinkling rays) and the lens-flare ghosts.  It draws in
// the plane z = 0 of the current, billboarded coordinate system.  The discs,
// halo and rays are display lists made on first use and deleted with the
// object, so an object lives within one GL context.
#include "model/VexaPoint.h"

#include <array>

namespace kalvion {

inline constexpr int FLARE_CORE = 1;
inline constexpr int FLARE_HALO = 2;
inline constexpr int FLARE_SPIKES = 4;
inline constexpr int FLARE_RAYS = 8;
inline constexpr int FLARE_SPARE = 16;
inline constexpr int FLARE_ALL = FLARE_CORE | FLARE_HALO | FLARE_SPIKES | FLARE_RAYS | FLARE_SPARE;

class TStarFlareOGL {
public:
    TStarFlareOGL() = default;
    TStarFlareOGL(float size, int segments) : Size(size), Segments(segments) {}
    ~TStarFlareOGL();
    TStarFlareOGL(const TStarFlareOGL &) = delete;
    TStarFlareOGL &operator=(const TStarFlareOGL &) = delete;

    float Size = 1.0f;
    float Aspect = 1.0f;
    float Spare = 0.0f;
    int SpikeCount = 6;
    float SpikeLineWidth = 2.0f;
    int SpareCount = 8;
    int Segments = 64;
    TVexaPoint Position;
    double ViewerDistance = 0;
    std::array<double, 4> Color{1, 0.8, 0.5, 0.1};
    std::array<double, 4> SelectedColor{1, 1, 0, 0};
    double SpikeRotation = 0;  // degrees
    bool Selected = false;
    bool VeryNear = false;     // the sector view sets it for stars within one light year
    int Elements = FLARE_ALL;

    void SetColor(double r, double g, double b, double a) { Color = {r, g, b, a}; }
    void Draw();
    // Kind 1 (blue) or 2 (violet) ghost ring, scaled; other kinds draw nothing.
    void DrawGhost(int kind, double scale);

    // The spike count a draw at the given viewer distance uses.
    static int SpikesForDistance(double distance) { return distance >= 5 ? 4 : 6; }
    static bool RaysForDistance(double distance) { return distance < 5; }

private:
    unsigned CoreList_ = 0, HaloList_ = 0, RaysList_ = 0;
    void MakeCore();
    void MakeHalo();
    void MakeRays();
    void DrawSpikes();
};

} // namespace kalvion
