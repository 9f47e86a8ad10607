#pragma once
// TZentSceneController3D: an orbit camera around a target point, turned by
// dragging and zoomed by a factor.  The eye is kept relative to the target.
#include "model/VexaPoint.h"

namespace kalvion {

class TZentSceneController3D {
public:
    double Distance = 10;
    double Latitude = 0;    // degrees, -90 … 90
    double Longitude = 90;  // degrees, unbounded
    TVexaPoint Target;
    double MinimumDistance = 1;
    double MaximumDistance = 100;
    double DefaultDistance = 10;
    double DefaultLatitude = 0;
    double DefaultLongitude = 90;

    // The eye in world space: target + (d·cos lat·cos long, d·sin lat, d·cos lat·sin long).
    TVexaPoint Eye() const;
    // Distance × factor, clamped to the minimum and maximum.
    void Zoom(double factor);
    // Longitude += dLong; latitude += dLat, clamped to [-90, 90].
    void Rotate(double deltaLongitude, double deltaLatitude);
    void SetDistance(double distance) { Distance = distance; }
    void SetDefaults(double distance, double latitude, double longitude);
    void ResetToDefaults();
};

} // namespace kalvion
