#pragma once
// The body-type and habitability vocabulary and the other constants of bodies.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kalvion {

inline constexpr int BODY_TYPE_ANY = -1;
inline constexpr int BODY_TYPE_NOTASSIGNED = 0;
inline constexpr int BODY_TYPE_STAR = 1;
inline constexpr int BODY_TYPE_MULT = 2;
inline constexpr int BODY_TYPE_BLACKHOLE = 3;
inline constexpr int BODY_TYPE_STATION = 4;
inline constexpr int BODY_TYPE_FREEOBJECT = 5;
inline constexpr int BODY_TYPE_NEUTRON = 6;
inline constexpr int BODY_TYPE_NEBULA = 7;
inline constexpr int BODY_TYPE_WHITEDWARF = 8;
inline constexpr int BODY_TYPE_REDGIANT = 9;
inline constexpr int BODY_TYPE_BLUEGIANT = 10;
inline constexpr int BODY_TYPE_BROWNDWARF = 11;
inline constexpr int BODY_TYPE_CLOSEMULT = 12;
inline constexpr int BODY_TYPE_DSO = 13;
inline constexpr int BODY_TYPE_TERRESTRIAL = 100;
inline constexpr int BODY_TYPE_GASGIANT = 101;
inline constexpr int BODY_TYPE_ASTEROIDBELT = 102;
inline constexpr int BODY_TYPE_PLANETOID = 103;
inline constexpr int BODY_TYPE_RING = 104;
inline constexpr int BODY_TYPE_PLANETSYSTEM = 105;
inline constexpr int BODY_TYPE_SMALLBODY = 106;
inline constexpr int BODY_TYPE_MEGASTRUCTURE = 107;
inline constexpr int BODY_TYPE_FLEET = 200;
inline constexpr int BODY_TYPE_SHIP = 201;
inline constexpr int BODY_TYPE_MARKER = 202;
inline constexpr int BODY_TYPE_MAX = 202;

inline constexpr int HAB_INHOSPITABLE = 0;
inline constexpr int HAB_HABITABLE = 1;
inline constexpr int HAB_HOSPITABLE = 2;

inline constexpr int SPHERE_INFLUENCE_NONE = 0;
inline constexpr int SPHERE_INFLUENCE_SPHERE = 1;
inline constexpr int SPHERE_INFLUENCE_CUBE = 2;

inline constexpr int LABEL_FONT_NORMAL = 0;
inline constexpr int LABEL_FONT_BOLD = 1;
inline constexpr int LABEL_FONT_UNDERLINE = 2;
inline constexpr int LABEL_FONT_BOLDUNDERLINE = 3;
inline constexpr int LABEL_FONTSTYLE_COUNT = 3;

inline constexpr double BLACK_HOLE_MASS = 100;
inline constexpr int SURFACEMAP_DEFAULT_WIDTH = 512;
inline constexpr int SURFACEMAP_DEFAULT_HEIGHT = 256;

inline constexpr const char *SYSTEMTREE_POLITICAL = "Political: ";
inline constexpr const char *SYSTEM_LABEL_UNNAMED = "(unnamed)";
inline constexpr const char *SYSTEM_LABEL_UNNAMED_C = "(Unnamed)";

// Display name of a type code; "Not Assigned" for a code not in the table.
std::string NameFromBodyType(int code);
// The code whose display name equals the lower-cased text; 0 when none does.
int BodyTypeFromText(std::string_view text);
// The code whose search word equals the lower-cased word; 0 when none does.
int BodyTypeFromSearchText(std::string_view word);
// The search word of a display name; "" when unknown or "Not Assigned".
std::string SearchTextFromBodyType(std::string_view displayName);
// The 25 display names, sorted.
void GetBodyTypeList(std::vector<std::string> &list);
// Every type code of the table, in table order.
const std::vector<int> &AllBodyTypeCodes();
bool IsKnownBodyType(int code);

std::string HabitNameFromHabitCode(int code);

// Type sets.
bool IsStarLikeComponent(int type);   // 1, 8, 9, 10, 11
bool IsRotationCarrier(int type);     // orbit direction follows their rotation
bool IsNonOrbitalParent(int type);    // skipped by GetOrbitalParent
bool IsSolidParent(int type);         // 100, 101, 103: orbits measured from the surface
bool IsGroupingType(int type);        // 2, 12, 105: children keep their order

} // namespace kalvion
