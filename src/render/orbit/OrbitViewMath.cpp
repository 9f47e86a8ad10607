#include "render/orbit/OrbitViewMath.h"

#include "base/NumberFormat.h"
#include "base/NumberParse.h"
#include "model/StellarBody.h"
#include "science/Orbits.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <optional>

namespace kalvion {

namespace {

constexpr double DegToRad = std::numbers::pi / 180;

// Parents whose own spin turns the sense of their children's rotation.
bool IsRotationCarrierType(int type)
{
    switch (type) {
    case 1:
    case 3:
    case 5:
    case 6:
    case 8:
    case 9:
    case 10:
    case 11:
    case 100:
    case 101:
    case 103:
    case 107:
        return true;
    default:
        return false;
    }
}

double Length(double x, double y, double z) { return std::sqrt(x * x + y * y + z * z); }

std::optional<double> FiniteField(const TStellarBody &body, const char *name)
{
    const std::optional<double> value = ParseDouble(body.GetField(name));
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return value;
}

} // namespace

TStellarBody *OrbitSystemRoot(TStellarBody *chosen)
{
    if (chosen && (chosen->TypeID == BODY_TYPE_RING || chosen->TypeID == BODY_TYPE_SMALLBODY) && chosen->Parent)
        return chosen->Parent;
    return chosen;
}

int OrbitSystemKind(int typeId)
{
    switch (typeId) {
    case BODY_TYPE_MULT:
    case BODY_TYPE_CLOSEMULT:
        return ORBIT_KIND_MULTIPLE;
    case BODY_TYPE_TERRESTRIAL:
    case BODY_TYPE_GASGIANT:
    case 103:
    case 104:
    case 105:
    case 106:
        return ORBIT_KIND_PLANET;
    case BODY_TYPE_STATION:
    case BODY_TYPE_FLEET:
    case BODY_TYPE_SHIP:
        return ORBIT_KIND_CRAFT;
    default:
        return ORBIT_KIND_STAR;
    }
}

double OrbitChildScale(int kind)
{
    switch (kind) {
    case ORBIT_KIND_STAR:
        return ORBIT_KM_PER_AU;
    case ORBIT_KIND_PLANET:
        return ORBIT_KM_PER_EARTH_RADIUS;
    case ORBIT_KIND_CRAFT:
        return 100;
    default:
        return 0;
    }
}

double OrbitDefaultDistance(const TStellarBody &root, int kind)
{
    double distance = 200;
    if (kind == ORBIT_KIND_MULTIPLE) {
        double extent = 0;
        for (const auto &child : root.Children)
            extent = std::max(extent, Length(child->X, child->Y, child->Z));
        distance = std::max(extent / 10000 * 4, ORBIT_MIN_DISTANCE);
    } else if (kind == ORBIT_KIND_PLANET) {
        double extent = 0;
        for (const auto &child : root.Children)
            extent = std::max(extent, child->Distance);
        distance = 4 * extent;
        if (distance < 1)
            distance = 4 * root.Radius;
        if (distance < 1)
            distance = 1000;
        distance /= ORBIT_KM_PER_EARTH_RADIUS;
    } else if (kind == ORBIT_KIND_CRAFT) {
        distance = 100;
    }
    if (root.TypeID == BODY_TYPE_PLANETSYSTEM) {
        double extent = 5000;
        for (const auto &child : root.Children)
            extent = std::max(extent, Length(child->X, child->Y, child->Z));
        distance = 4 * extent / ORBIT_KM_PER_EARTH_RADIUS;
    }
    // Hostile values (a NaN child distance) must not give a camera that
    // shows nothing and cannot be zoomed back.
    return ClampOrbitDistance(distance, 200);
}

double ClampOrbitDistance(double distance, double previous)
{
    if (std::isnan(distance))
        return previous;
    return std::clamp(distance, ORBIT_MIN_DISTANCE, ORBIT_FAR_PLANE);
}

void StoreOrbitCamera(TStellarBody &root, const TOrbitCamera &camera)
{
    auto store = [&](const char *name, double value) {
        if (!std::isfinite(value))
            return;
        const std::string text = ShortestDecimal(value);
        if (root.GetField(name) != text)
            root.SetField(name, text);
    };
    store(ORBIT_FIELD_DISTANCE, camera.Distance);
    store(ORBIT_FIELD_LATITUDE, camera.Latitude);
    store(ORBIT_FIELD_LONGITUDE, camera.Longitude);
}

bool RecallOrbitCamera(const TStellarBody &root, TOrbitCamera &camera)
{
    if (root.GetField(ORBIT_FIELD_DISTANCE).empty())
        return false;
    if (const auto d = FiniteField(root, ORBIT_FIELD_DISTANCE))
        camera.Distance = ClampOrbitDistance(*d, camera.Distance);
    if (const auto lat = FiniteField(root, ORBIT_FIELD_LATITUDE))
        camera.Latitude = std::clamp(*lat, -90.0, 90.0);
    if (const auto lon = FiniteField(root, ORBIT_FIELD_LONGITUDE))
        camera.Longitude = *lon;
    return true;
}

TVexaPoint OrbitEye(const TOrbitCamera &camera)
{
    const double d = camera.Distance, lat = camera.Latitude * DegToRad, lon = camera.Longitude * DegToRad;
    return {d * std::cos(lat) * std::cos(lon), d * std::sin(lat), d * std::cos(lat) * std::sin(lon)};
}

TMatrix4 OrbitLookAt(const TOrbitCamera &camera)
{
    const TVexaPoint eye = OrbitEye(camera);
    double d = std::sqrt(eye.X * eye.X + eye.Y * eye.Y + eye.Z * eye.Z);
    // f: unit vector from the eye to the origin.
    double fx = -eye.X, fy = -eye.Y, fz = -eye.Z;
    if (!(d > 0) || !std::isfinite(d)) {
        fx = 0;
        fy = -1;
        fz = 0;
        d = 1;
    }
    fx /= d;
    fy /= d;
    fz /= d;
    // s = f × (0, 1, 0)
    double sx = -fz, sy = 0, sz = fx;
    double sl = std::sqrt(sx * sx + sz * sz);
    if (!(sl > 1e-9)) {
        // The limit of f × up as the latitude nears ±90 at this longitude.
        const double lon = camera.Longitude * DegToRad;
        sx = std::sin(lon);
        sz = -std::cos(lon);
        sl = 1;
    }
    sx /= sl;
    sz /= sl;
    // u = s × f
    const double ux = sy * fz - sz * fy, uy = sz * fx - sx * fz, uz = sx * fy - sy * fx;
    TMatrix4 m = IdentityMatrix();
    m[0] = sx;
    m[4] = sy;
    m[8] = sz;
    m[1] = ux;
    m[5] = uy;
    m[9] = uz;
    m[2] = -fx;
    m[6] = -fy;
    m[10] = -fz;
    m[12] = -(m[0] * eye.X + m[4] * eye.Y + m[8] * eye.Z);
    m[13] = -(m[1] * eye.X + m[5] * eye.Y + m[9] * eye.Z);
    m[14] = -(m[2] * eye.X + m[6] * eye.Y + m[10] * eye.Z);
    return m;
}

double OrbitRateSeconds(int rate)
{
    switch (rate) {
    case ORBIT_RATE_STOPPED:
        return 0;
    case ORBIT_RATE_MINUTE:
        return 60;
    case ORBIT_RATE_HOURS:
        return 3600;
    case ORBIT_RATE_DAYS:
        return 86400;
    case ORBIT_RATE_WEEK:
        return 604800;
    case ORBIT_RATE_MONTH:
        return 2592000;
    case ORBIT_RATE_YEAR:
        return 31557600;
    default:
        return 1;
    }
}

double OrbitTimeStep(int rate, int direction) { return OrbitRateSeconds(rate) / 86400 * 0.05 * direction; }

double OrbitRotationPhase(const TStellarBody &body, double date)
{
    double sign = 1;
    for (const TStellarBody *p = body.Parent; p && IsRotationCarrierType(p->TypeID); p = p->Parent)
        if (p->Rotation < 0)
            sign = -sign;
    double r = sign * body.Rotation / 24;
    if (r == 0)
        r = body.YearLength();
    if (r == 0 || !std::isfinite(r))
        return 0;
    const double q = date / r;
    if (!std::isfinite(q))
        return 0;
    return (q - std::nearbyint(q)) * 360;
}

bool OrbitPositionAt(const TStellarBody &body, double date, double &x, double &y, double &z)
{
    const std::unique_ptr<TOrbit> orbit = GetOrbit(body);
    orbit->GetPosition(date, x, y, z);
    return std::isfinite(x) && std::isfinite(y) && std::isfinite(z);
}

bool PlanetPositionFromStar(const TStellarBody &planet, double date, double &x, double &y, double &z)
{
    x = y = z = 0;
    const TStellarBody *body = &planet;
    for (const TStellarBody *p = planet.Parent; p; body = p, p = p->Parent) {
        if (p->TypeID == BODY_TYPE_STAR) {
            double ox, oy, oz;
            if (!OrbitPositionAt(*body, date, ox, oy, oz))
                return false;
            x += ox;
            y += oy;
            z += oz;
            return true;
        }
        x += body->X;
        y += body->Y;
        z += body->Z;
    }
    return false;
}

std::unique_ptr<TOrbit> PaddedOrbit(const TStellarBody &child)
{
    // Only what the orbit is built from is copied: the copy is no child of
    // the parent and owns no bodies, and the original stays unmodified.
    TStellarBody copy;
    copy.Parent = child.Parent;
    copy.TypeID = child.TypeID;
    copy.Distance = child.Distance + ORBIT_MULTIPLE_PAD_KM;
    copy.Eccentricity = child.Eccentricity;
    copy.Inclination = child.Inclination;
    copy.AngleAscendingNode = child.AngleAscendingNode;
    copy.AnglePeriapsis = child.AnglePeriapsis;
    copy.TimeOffset = child.TimeOffset;
    copy.RetrogradeOrbit = child.RetrogradeOrbit;
    return GetOrbit(copy);
}

void OrbitLoopVertices(const TOrbit &orbit, double scale, std::vector<double> &xyz)
{
    xyz.clear();
    xyz.reserve(ORBIT_SEGMENTS * 3);
    for (int k = 1; k <= ORBIT_SEGMENTS; ++k) {
        double x, y, z;
        orbit.GetPosition(orbit.Period * k / ORBIT_SEGMENTS, x, y, z);
        x /= scale;
        y /= scale;
        z /= scale;
        if (std::isfinite(x) && std::isfinite(y) && std::isfinite(z))
            xyz.insert(xyz.end(), {x, z, y});
    }
}

std::string ShortestDecimal(double value)
{
    // Plain digits as people write them ("2000000000", "0.1"); exponents
    // only for values that would need very many digits.
    char buf[400];
    const double a = std::abs(value);
    const bool plain = a == 0 || (a >= 1e-5 && a < 1e15);
    const auto result = plain ? std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed)
                              : std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, result.ptr);
}

TMultiplePart MultiplePartKind(int typeId)
{
    if (typeId == BODY_TYPE_STAR)
        return TMultiplePart::Star;
    if (typeId == BODY_TYPE_MULT || typeId == BODY_TYPE_CLOSEMULT)
        return TMultiplePart::Multiple;
    return TMultiplePart::None;
}

std::string OrbitAuText(double au) { return FormatFloat(VEXA_FLOAT_FMT_READ, std::nearbyint(au)) + " AU"; }

std::string MultipleStarLabel(const TStellarBody &part, const TVexaPoint &offset, const TVexaPoint &eye)
{
    const double ex = part.X / 10000 + offset.X - eye.X, ey = part.Y / 10000 + offset.Y - eye.Y,
                 ez = part.Z / 10000 + offset.Z - eye.Z;
    return part.Name + " (" + OrbitAuText(std::sqrt(ex * ex + ey * ey + ez * ez) * 10000) + ")";
}

std::string OrbitDistanceText(double distance, int kind)
{
    double value = distance;
    const char *unit = " AU";
    if (kind == ORBIT_KIND_MULTIPLE) {
        value = distance * 10000;
    } else if (kind == ORBIT_KIND_PLANET) {
        value = distance * ORBIT_KM_PER_EARTH_RADIUS;
        unit = " KM";
    } else if (kind == ORBIT_KIND_CRAFT) {
        unit = " KM";
    }
    return "Distance: " + FormatFloat(VEXA_FLOAT_FMT_READ, std::nearbyint(value)) + unit;
}

std::string OrbitAnglesText(double latitude, double longitude)
{
    // "º" in the program's 8-bit text (Windows-1252 0xBA), as the label
    // fonts read it.
    return "Lat " + ShortestDecimal(latitude) + "\xBA Lon: " + ShortestDecimal(longitude) + "\xBA";
}

} // namespace kalvion
