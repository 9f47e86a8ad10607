#include "render/SceneController3D.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kalvion {

TVexaPoint TZentSceneController3D::Eye() const
{
    const double lat = Latitude * std::numbers::pi / 180;
    const double lon = Longitude * std::numbers::pi / 180;
    return {Target.X + Distance * std::cos(lat) * std::cos(lon), Target.Y + Distance * std::sin(lat),
            Target.Z + Distance * std::cos(lat) * std::sin(lon)};
}

void TZentSceneController3D::Zoom(double factor)
{
    Distance = std::clamp(Distance * factor, MinimumDistance, MaximumDistance);
}

void TZentSceneController3D::Rotate(double deltaLongitude, double deltaLatitude)
{
    Longitude += deltaLongitude;
    Latitude = std::clamp(Latitude + deltaLatitude, -90.0, 90.0);
}

void TZentSceneController3D::SetDefaults(double distance, double latitude, double longitude)
{
    DefaultDistance = distance;
    DefaultLatitude = latitude;
    DefaultLongitude = longitude;
}

void TZentSceneController3D::ResetToDefaults()
{
    Distance = DefaultDistance;
    Latitude = DefaultLatitude;
    Longitude = DefaultLongitude;
}

} // namespace kalvion
