#pragma once
// The plain rules of the 3D system view, on doubles and bodies with no GL:
// which kind of system a root is, the camera and its memory per system, the
// animation step, rotation phases, positions along orbits and the texts the
// view shows.  The renderer calls these; tests check them without a display.
#include "model/VexaPoint.h"
#include "render/SceneMath.h"

#include <memory>
#include <string>
#include <vector>

namespace kalvion {

class TOrbit;
class TStellarBody;

// System kinds and the scene unit of each.
inline constexpr int ORBIT_KIND_MULTIPLE = 0;  // 10,000 AU per unit
inline constexpr int ORBIT_KIND_STAR = 1;      // 1 AU per unit
inline constexpr int ORBIT_KIND_PLANET = 2;    // one Earth radius per unit
inline constexpr int ORBIT_KIND_CRAFT = 3;     // 100 km per unit

inline constexpr double ORBIT_KM_PER_AU = 149597890;
inline constexpr double ORBIT_KM_PER_EARTH_RADIUS = 6378.14;
inline constexpr double ORBIT_KM_PER_SOLAR_RADIUS = 695500;
// Inner orbits of a multiple star's components would vanish inside the
// component's flare: they are drawn this much wider.
inline constexpr double ORBIT_MULTIPLE_PAD_KM = 299195780;
inline constexpr double ORBIT_NEAR_PLANE = 0.001;
inline constexpr double ORBIT_FAR_PLANE = 5e10;
inline constexpr double ORBIT_MIN_DISTANCE = 0.01;
inline constexpr int ORBIT_SEGMENTS = 360;
// A ring is one flat, unlit colour: its disk's concentric loops cover the
// same pixels once each whatever their number, so one loop draws the same
// picture as 360 with a 360th of the triangles (a software renderer then
// keeps a ringed planet under 33 ms a frame).
inline constexpr int ORBIT_RING_LOOPS = 1;

inline constexpr const char *ORBIT_FIELD_DISTANCE = "camera-dist";
inline constexpr const char *ORBIT_FIELD_LATITUDE = "camera-lat";
inline constexpr const char *ORBIT_FIELD_LONGITUDE = "camera-long";

// Time rate codes of the Orbits menu.
inline constexpr int ORBIT_RATE_STOPPED = 0;
inline constexpr int ORBIT_RATE_REAL_TIME = 1;
inline constexpr int ORBIT_RATE_MINUTE = 2;
inline constexpr int ORBIT_RATE_HOURS = 3;
inline constexpr int ORBIT_RATE_DAYS = 4;
inline constexpr int ORBIT_RATE_WEEK = 5;
inline constexpr int ORBIT_RATE_MONTH = 6;
inline constexpr int ORBIT_RATE_YEAR = 8;

struct TOrbitCamera {
    double Distance = 2000000000;
    double Latitude = 90;   // degrees, −90 … 90
    double Longitude = 0;   // degrees, unbounded
};

// The system a chosen body opens: a ring or a field of small bodies shows
// the system of its parent.
TStellarBody *OrbitSystemRoot(TStellarBody *chosen);
int OrbitSystemKind(int typeId);
// Kilometres per scene unit of a kind's children (0 for kind 0, whose
// children are drawn by the multiple-star scene instead).
double OrbitChildScale(int kind);
// The camera distance a system opens with, before any remembered camera.
double OrbitDefaultDistance(const TStellarBody &root, int kind);

// Keeps a distance between the nearest allowed and the far plane; a
// non-finite value gives `previous` back.
double ClampOrbitDistance(double distance, double previous);
// Writes the camera into the root's fields as shortest decimal texts.  A
// non-finite value is never written; a field that already holds the same
// text is left alone, so showing a system again does not modify it.
void StoreOrbitCamera(TStellarBody &root, const TOrbitCamera &camera);
// Reads a remembered camera over `camera`: only when "camera-dist" is
// present, and only the fields that hold finite numbers (a distance is kept
// within the allowed range, a latitude within ±90).
bool RecallOrbitCamera(const TStellarBody &root, TOrbitCamera &camera);
TVexaPoint OrbitEye(const TOrbitCamera &camera);
// The view matrix from the eye to the origin with up (0, 1, 0), as
// gluLookAt gives it.  Straight above or below the origin the side vector
// is the limit of the nearby longitudes, so the view never degenerates at
// the poles and turns on smoothly through them.
TMatrix4 OrbitLookAt(const TOrbitCamera &camera);

// Days the sector clock moves in one 50 ms animation step.
double OrbitRateSeconds(int rate);
double OrbitTimeStep(int rate, int direction);

// Degrees the planet has turned at the sector date (half to even rounding
// of the turn count, sign flipped by each counter-rotating parent).
double OrbitRotationPhase(const TStellarBody &body, double date);
// The body's place relative to its parent at a date, in km (Part of the
// Keplerian orbit model); false when no finite place exists.
bool OrbitPositionAt(const TStellarBody &body, double date, double &x, double &y, double &z);
// A planet's place relative to its nearest star ancestor, in km: the X, Y,
// Z offsets of the bodies on the way up plus the orbital place of the body
// that orbits the star directly.  False when no star is above it.
bool PlanetPositionFromStar(const TStellarBody &planet, double date, double &x, double &y, double &z);
// The orbit of a multiple star's component child, drawn wider by the pad:
// built from a copy so the body itself never changes.
std::unique_ptr<TOrbit> PaddedOrbit(const TStellarBody &child);
// The closed curve of an orbit as GL vertices: the places at k/360 of the
// period for k = 1 … 360, each (x, y, z) km stored as (x, z, y) / scale.
// Places that are not finite are left out.
void OrbitLoopVertices(const TOrbit &orbit, double scale, std::vector<double> &xyz);

// What the multiple-star scene draws for a component: a star with its
// distance label, a nested multiple-star scene, or nothing at all.
enum class TMultiplePart { None, Star, Multiple };
TMultiplePart MultiplePartKind(int typeId);
// A distance in AU rounded and grouped ("1,234 AU").
std::string OrbitAuText(double au);
// A star component's label: its name and its distance from the eye, the
// component at position / 10,000 + offset in scene units of 10,000 AU.
std::string MultipleStarLabel(const TStellarBody &part, const TVexaPoint &offset, const TVexaPoint &eye);

std::string ShortestDecimal(double value);
std::string OrbitDistanceText(double distance, int kind);
std::string OrbitAnglesText(double latitude, double longitude);

} // namespace kalvion
