// The camera of the sector view: slides, pans, rotations and the moves of
// selected systems relative to the eye.
#include "model/VexaSector.h"
#include "model/history/SectorHistory.h"

#include "model/PointRotation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kalvion {

namespace {

constexpr double DEG = 180.0 / std::numbers::pi;
constexpr double MAX_LATITUDE = 89.9;

double Length(double x, double y, double z) { return std::sqrt(x * x + y * y + z * z); }

double Distance(const TVexaPoint &a, const TVexaPoint &b) { return Length(a.X - b.X, a.Y - b.Y, a.Z - b.Z); }

TVexaPoint PositionOf(const TStellarBody &b) { return {b.X, b.Y, b.Z}; }

// One step of an animated move of x towards d.  The start s is remembered at
// step 1; the last step (or any step past it, or a count below 1) lands on d.
void Slide(TVexaPoint &x, const TVexaPoint &d, TVexaPoint &s, int steps, int step)
{
    if (steps < 1 || step >= steps) {
        x = d;
        return;
    }
    if (step == 1)
        s = x;
    const double f = static_cast<double>(step) / static_cast<double>(steps);
    x = {s.X + f * (d.X - s.X), s.Y + f * (d.Y - s.Y), s.Z + f * (d.Z - s.Z)};
}

} // namespace

void TVexaSector::CenterCameraOnSelected()
{
    if (!Selection.empty())
        Target = PositionOf(*Selection.front());
}

void TVexaSector::PanCameraToOrigin(int steps, int step)
{
    Slide(Target, OriginTarget, SlideStartTarget, steps, step);
}

void TVexaSector::PanCameraToBody(const TStellarBody *body, int steps, int step)
{
    if (body)
        Slide(Target, PositionOf(*body), SlideStartTarget, steps, step);
}

void TVexaSector::PanCameraToSelected(int steps, int step)
{
    if (!Selection.empty())
        PanCameraToBody(Selection.front(), steps, step);
}

void TVexaSector::SlideCameraToSelected(int steps, int step)
{
    if (!Selection.empty())
        Slide(Camera, PositionOf(*Selection.front()), SlideStartCamera, steps, step);
}

void TVexaSector::ComboSlideReset(int steps, int step)
{
    if (OriginCamera == OriginTarget)
        return;
    Slide(Camera, OriginCamera, SlideStartCamera, steps, step);
    Slide(Target, OriginTarget, SlideStartTarget, steps, step);
}

void TVexaSector::ComboSlideToSelected(int steps, int step)
{
    if (Selection.size() < 2)
        return;
    const TVexaPoint eye = PositionOf(*Selection[0]);
    const TVexaPoint look = PositionOf(*Selection[1]);
    if (eye == look)
        return;
    Slide(Camera, eye, SlideStartCamera, steps, step);
    Slide(Target, look, SlideStartTarget, steps, step);
}

void TVexaSector::AdjustDistanceToTarget(double factor)
{
    Camera = {Target.X + factor * (Camera.X - Target.X), Target.Y + factor * (Camera.Y - Target.Y),
              Target.Z + factor * (Camera.Z - Target.Z)};
}

void TVexaSector::SetCameraDistance(double distance)
{
    const double d = Distance(Camera, Target);
    if (d == 0)
        return;
    const double f = distance / d;
    Camera = {Target.X + (Camera.X - Target.X) * f, Target.Y + (Camera.Y - Target.Y) * f,
              Target.Z + (Camera.Z - Target.Z) * f};
}

void TVexaSector::AdjustElevation(double dy)
{
    const double before = Distance(Camera, Target);
    Camera.Y += dy;
    SetCameraDistance(before);
}

void TVexaSector::AdjustCameraLatitude(double degrees)
{
    const double dx = Camera.X - Target.X, dy = Camera.Y - Target.Y, dz = Camera.Z - Target.Z;
    const double r = Length(dx, dy, dz);
    // On the target there is no direction to turn.
    if (r == 0)
        return;
    const double horizontal = std::sqrt(dx * dx + dz * dz);
    double latitude = std::atan2(std::fabs(dy), horizontal) * DEG;
    if (Camera.Y < Target.Y)
        latitude = -latitude;
    // Straight above or below the target the longitude is undefined: take 0.
    double longitude = 0;
    if (horizontal > 0) {
        longitude = std::acos(std::clamp(-dx / horizontal, -1.0, 1.0)) * DEG;
        if (Camera.Z < Target.Z)
            longitude = 360 - longitude;
    }
    latitude = std::clamp(latitude + degrees, -MAX_LATITUDE, MAX_LATITUDE);
    const double phi = latitude / DEG, lambda = longitude / DEG;
    const double ux = r * std::cos(phi) * std::cos(lambda);
    const double uy = r * std::cos(phi) * std::sin(lambda);
    const double uz = r * std::sin(phi);
    Camera = {Target.X - ux, Target.Y + uz, Target.Z + uy};
}

void TVexaSector::RotateCameraAroundTarget(double ax, double ay, double az)
{
    Camera = RotatePointAboutCentre(Camera, Target, ax, ay, az);
}

void TVexaSector::AdjustSelectedDistanceToCamera(double factor)
{
    for (auto &root : Systems) {
        if (!root->Selected)
            continue;
        FHistory->TouchSystem(root.get());
        const double d = Distance(Camera, PositionOf(*root));
        // Never pull a system closer than one light year to the eye.
        if (factor * d < 1)
            continue;
        root->X = Camera.X - factor * (Camera.X - root->X);
        root->Y = Camera.Y - factor * (Camera.Y - root->Y);
        root->Z = Camera.Z - factor * (Camera.Z - root->Z);
        root->TVexaBase::Modified = true;
    }
}

void TVexaSector::RotateSelectedAroundCamera(double ax, double ay, double az)
{
    for (auto &root : Systems) {
        if (!root->Selected)
            continue;
        FHistory->TouchSystem(root.get());
        const TVexaPoint p = RotatePointAboutCentre(PositionOf(*root), Camera, ax, ay, az);
        root->X = p.X;
        root->Y = p.Y;
        root->Z = p.Z;
        root->TVexaBase::Modified = true;
    }
}

} // namespace kalvion
