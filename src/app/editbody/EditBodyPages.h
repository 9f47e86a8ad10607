#pragma once
// Which pages of the body property dialog a body gets, from its type and the
// type of its parent, and the values the planet and orbit pages work out
// while the user types.  Plain C++ so the window and the benchmark share it.
#include <cstdint>
#include <optional>
#include <string>

namespace kalvion {
class TStellarBody;
class TSystemDataConfig;
class TVexaSector;
} // namespace kalvion

namespace kalvion::app {

enum class TEditPage : int {
    Default,
    Star,
    Planet,
    Ring,
    Population,
    Orbit,
    Component,
    Position,
    ModelBlazon,
    AdditionalFields,
    ImagePreview,
    SurfaceMap,
    Terrain,
    Notes,
    GMNotes,
    DisplayFields,
    Count
};

class TEditPageSet {
public:
    void Add(TEditPage page) { FBits |= Bit(page); }
    bool Has(TEditPage page) const { return (FBits & Bit(page)) != 0; }
    bool operator==(const TEditPageSet &) const = default;

private:
    static std::uint32_t Bit(TEditPage page) { return 1u << static_cast<int>(page); }
    std::uint32_t FBits = 0;
};

// The page that edits the body's own values (one of the first five).
TEditPage TypePageFor(int typeID);
// The display fields in force for the body: its own, else the sector's for
// its type (none when neither exists).
const TSystemDataConfig *EffectiveDisplayFields(const TStellarBody &body, const TVexaSector &sector);
// Every page the body shows.
TEditPageSet PagesFor(const TStellarBody &body, const TVexaSector &sector);
// Members of a planet system are placed in km, other components in AU.
bool ComponentInKm(const TStellarBody &body);

// What the planet page shows beside its radius and density.
struct TPlanetDerived {
    std::string Mass, Gravity, EscapeVelocity, Geostationary;
};
TPlanetDerived PlanetDerivedValues(double radiusKm, double density, double rotationHours);

// "288K / 15C": the equilibrium temperature of the edited body, with the
// albedo and distance typed on the page where they read as numbers.  The
// rounded kelvin go to rounded (Random Atmosphere starts from them).
std::string EquilibriumTempText(const TStellarBody &body, std::optional<double> typedAlbedo,
                                std::optional<double> typedDistance, double *rounded = nullptr);

// The orbital period of the body at another distance, in the travel
// calculator's duration form.  scratch is a body the caller keeps, so a
// keystroke allocates nothing.
std::string OrbitalPeriodText(const TStellarBody &body, double distanceKm, TStellarBody &scratch);

} // namespace kalvion::app
