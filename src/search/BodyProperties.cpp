#include "search/BodyProperties.h"

#include "base/AsciiText.h"

#include <algorithm>
#include <array>
#include <vector>

namespace kalvion {

namespace {

using K = TBodyPropertyKind;

#define KV_FLOAT(name, expr) \
    TBodyProperty { name, K::Float, [](const TStellarBody &b) -> double { return (expr); }, nullptr }
#define KV_INT(name, expr) \
    TBodyProperty { name, K::Integer, [](const TStellarBody &b) -> double { return static_cast<double>(expr); }, nullptr }
#define KV_BOOL(name, expr) \
    TBodyProperty { name, K::Boolean, [](const TStellarBody &b) -> double { return (expr) ? 1.0 : 0.0; }, nullptr }
#define KV_TEXT(name, member) \
    TBodyProperty { name, K::String, nullptr, [](const TStellarBody &b) -> std::string { return b.member; } }

const TBodyProperty kProperties[] = {
    KV_TEXT("name", Name),
    KV_TEXT("idstring", IDString),
    KV_INT("typeid", b.TypeID),
    KV_TEXT("bodytype", BodyType),
    KV_TEXT("spectral", Spectral),
    KV_FLOAT("distance", b.Distance),
    KV_FLOAT("radius", b.Radius),
    KV_FLOAT("density", b.Density),
    KV_FLOAT("mass", b.Mass),
    KV_FLOAT("rotation", b.Rotation),
    KV_FLOAT("luminosity", b.Luminosity),
    KV_FLOAT("albedo", b.Albedo),
    KV_FLOAT("temp", b.Temp),
    KV_FLOAT("tempc", b.GetTempC()),
    KV_FLOAT("atmosphere", b.Atmosphere),
    KV_FLOAT("atm", b.Atmosphere),
    KV_TEXT("atmospherenotes", AtmosphereNotes),
    KV_TEXT("atmnotes", AtmosphereNotes),
    KV_FLOAT("water", b.Water),
    KV_FLOAT("population", b.Population),
    KV_FLOAT("childpopulation", b.ChildPopulation),
    KV_INT("habitability", b.Habitability),
    KV_INT("childhabitability", b.ChildHabitability),
    KV_INT("bodycount", b.BodyCount),
    KV_TEXT("politicalaffiliation", PoliticalAffiliation),
    KV_TEXT("political", PoliticalAffiliation),
    KV_INT("sphereinfluence", b.SphereInfluence),
    KV_INT("sphereinfluencecolor", b.SphereInfluenceColor),
    KV_FLOAT("sphereinfluencesize", b.SphereInfluenceSize),
    KV_TEXT("notes", Notes),
    KV_TEXT("gmnotes", GMNotes),
    KV_INT("color", b.Color),
    KV_INT("labelcolor", b.LabelColor),
    KV_INT("fontstyle", b.FontStyle),
    KV_INT("dsointensity", b.DSOIntensity),
    KV_FLOAT("renderdistance", b.RenderDistance),
    KV_FLOAT("labeldistance", b.LabelDistance),
    KV_FLOAT("routedistance", b.RouteDistance),
    KV_BOOL("selected", b.Selected),
    KV_BOOL("visible", b.Visible),
    KV_BOOL("retrogradeorbit", b.RetrogradeOrbit),
    KV_FLOAT("eccentricity", b.Eccentricity),
    KV_FLOAT("inclination", b.Inclination),
    KV_FLOAT("angleascendingnode", b.AngleAscendingNode),
    KV_FLOAT("angleperiapsis", b.AnglePeriapsis),
    KV_FLOAT("timeoffset", b.TimeOffset),
    KV_FLOAT("axialtilt", b.AxialTilt),
    KV_FLOAT("orbitalplanex", b.OrbitalPlaneX),
    KV_FLOAT("orbitalplaney", b.OrbitalPlaneY),
    KV_FLOAT("orbitalplanez", b.OrbitalPlaneZ),
    KV_INT("orbitcolor", b.OrbitColor),
    KV_FLOAT("x", b.X),
    KV_FLOAT("y", b.Y),
    KV_FLOAT("z", b.Z),
    KV_INT("rasterx", b.RasterX),
    KV_INT("rastery", b.RasterY),
    KV_FLOAT("depth", b.Depth),
    KV_INT("randomseed", b.RandomSeed),
    KV_TEXT("previewimagefile", PreviewImageFile),
    KV_TEXT("blazonimagefile", BlazonImageFile),
    KV_BOOL("blazondisplay", b.BlazonDisplay),
    KV_BOOL("blazonwrap", b.BlazonWrap),
    KV_TEXT("modelfile", ModelFile),
    KV_FLOAT("gravity", b.Gravity()),
};

#undef KV_FLOAT
#undef KV_INT
#undef KV_BOOL
#undef KV_TEXT

constexpr std::size_t kCount = sizeof(kProperties) / sizeof(kProperties[0]);

// Names sorted once for binary search; the table itself keeps its order.
const std::vector<const TBodyProperty *> &SortedIndex()
{
    static const std::vector<const TBodyProperty *> index = [] {
        std::vector<const TBodyProperty *> v;
        v.reserve(kCount);
        for (const auto &p : kProperties)
            v.push_back(&p);
        std::sort(v.begin(), v.end(), [](const TBodyProperty *a, const TBodyProperty *b) {
            return std::string_view(a->Name) < std::string_view(b->Name);
        });
        return v;
    }();
    return index;
}

} // namespace

const TBodyProperty *FindBodyProperty(std::string_view name)
{
    if (name.empty() || name.size() > 32)
        return nullptr;
    char buf[32];
    for (std::size_t i = 0; i < name.size(); ++i)
        buf[i] = AsciiLowerChar(name[i]);
    const std::string_view key(buf, name.size());
    const auto &index = SortedIndex();
    auto it = std::lower_bound(index.begin(), index.end(), key,
                               [](const TBodyProperty *p, std::string_view k) { return std::string_view(p->Name) < k; });
    if (it != index.end() && std::string_view((*it)->Name) == key)
        return *it;
    return nullptr;
}

const TBodyProperty *BodyPropertiesBegin() { return kProperties; }
const TBodyProperty *BodyPropertiesEnd() { return kProperties + kCount; }

} // namespace kalvion
