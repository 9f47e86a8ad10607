#pragma once
// TSystemGenerator: turns an empty body into a random star system by a
// simplified physics of stars and planets.  One generator serves one job on
// one thread; it owns its random seed, so the same seeds (its own and the
// shared one) give the same system draw by draw.  Users share seeds and
// scripts rely on the numbers: keep every draw, its state and its order.
#include "base/Colour.h"
#include "model/BodyTypes.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kalvion {

class TStellarBody;
class TSystemGenerator;

inline constexpr const char *VEXA_GENERATOR_NAME = "Kalvion Standard Generator";
inline constexpr const char *VEXA_DEFAULT_NAME_TABLE = "Kalvion Standard Names.ilt";

inline constexpr int STAR_TYPE_M = 0;
inline constexpr int STAR_TYPE_K = 1;
inline constexpr int STAR_TYPE_G = 2;
inline constexpr int STAR_TYPE_F = 3;
inline constexpr int STAR_TYPE_A = 4;
inline constexpr int STAR_TYPE_B = 5;
inline constexpr int STAR_TYPE_O = 6;
inline constexpr int STAR_TYPE_S = 7;
inline constexpr int SURFACE_TEMP_RANGE = 500;
// Orbit slots 1 … MAX_ORBITS - 1 hold planets; moons use slots 2 … MAX_ORBITS.
inline constexpr int MAX_ORBITS = 26;
inline constexpr int ORBIT_TABLE_SIZE = 28;
inline constexpr int FREQUENCY_COUNT = BODY_TYPE_MAX + 1;  // 203, by type code

// One weighted choice: a body type owning the numbers First … Last of the draw.
struct TPickEntry {
    std::int32_t TypeID = 0;
    std::int32_t Weight = 0;
    std::int32_t First = 0;
    std::int32_t Last = -1;
};

struct TPickList {
    std::vector<TPickEntry> Entries;
    std::int32_t Total = 0;
};

// What a dialog hands to a generator.
struct TSystemGeneratorOptions {
    bool KeepDefaults = true;
    bool WithPopulations = true;
    TColor SystemLabelColor = 0;
    TColor PopulatedLabelColor = 0;
    TColor SubsectorColor = 0;
    std::string NameTableFile;
    bool OrganicNaming = true;
    std::int32_t TerraformingLevel = 0;
    std::array<std::int32_t, FREQUENCY_COUNT> Frequencies{};
    TSystemGeneratorOptions() { Frequencies.fill(10); }
};

// The naming seam.  Every new generator starts with the name-table namer
// (SystemNames.h); a factory set to nullptr leaves generators without a namer,
// and then generated bodies keep the names the generation steps themselves
// give ("Ring", "Smaller Bodies", a planet system's first member) and nothing else.
class TSystemNamer {
public:
    virtual ~TSystemNamer() = default;
    // One name from the name table for this body ("" when the table gives none).
    virtual std::string RandomSystemName(TSystemGenerator &gen, TStellarBody *body, bool defaultName,
                                         const std::string &padPattern) = 0;
    // Names a newly generated root system; size is of the order of the sector's extent.
    virtual void GenerateNames(TSystemGenerator &gen, TStellarBody &body, double size) = 0;
    // Names a system again after its contents changed.
    virtual void ReGenerateNames(TSystemGenerator &gen, TStellarBody &body, double size) = 0;
};

// Makes the namer that every new generator starts with (the name-table namer
// by default; nullptr for none).
using TSystemNamerFactory = std::unique_ptr<TSystemNamer> (*)();
void SetDefaultSystemNamerFactory(TSystemNamerFactory factory);

class TSystemGenerator {
public:
    TSystemGenerator();
    ~TSystemGenerator();
    TSystemGenerator(const TSystemGenerator &) = delete;
    TSystemGenerator &operator=(const TSystemGenerator &) = delete;

    // Settings
    std::string NameTableFile;
    bool WithPopulations = true;
    bool StarsOnly = false;
    std::array<double, ORBIT_TABLE_SIZE> Orbits{};  // AU around one solar mass
    TColor SystemLabelColor = 0;                     // kept for the options; no step reads it
    TColor PopulatedLabelColor = 0;
    TColor SubsectorColor = 0;                       // kept for the options; no step reads it
    std::uint32_t Seed = 0;                          // the generator's own random seed
    TPickList SystemTypePicks;
    TPickList PlanetTypePicks;
    std::array<std::int32_t, FREQUENCY_COUNT> Frequencies{};
    std::int32_t TerraformingLevel = 0;
    std::int32_t TerraformingChance = 20;  // percent
    std::int32_t EarthlikeChance = 0;      // percent per temperate orbit
    bool OrganicNaming = true;
    std::unique_ptr<TSystemNamer> Namer;

    // Set-up
    void SetOrbits();
    void SetPickLists();
    void ApplyOptions(const TSystemGeneratorOptions &options);
    void SetTerraformingLevel(std::int32_t level);
    std::int32_t PickSystemRootType();
    std::int32_t PickPlanetType();

    // Draws on the generator's seed (NRandom, WMin) and on the shared one (WMinRange).
    std::int32_t NRandom(std::int32_t n);
    std::int32_t WMin(std::int32_t n, std::int32_t count);
    double WMinRange(double lo, double hi, std::int32_t count);

    // Stars and multiple systems
    void GenerateSystemInfo(TStellarBody &body);
    void GenerateSingle(TStellarBody &body);
    void GenerateStarInfo(TStellarBody &body);
    void StarRotation(TStellarBody &body);
    void GenerateRedGiant(TStellarBody &body);
    void GenerateBlueGiant(TStellarBody &body);
    void GenerateWhiteDwarf(TStellarBody &body);
    void GenerateFreePlanet(TStellarBody &body);
    void GenerateMultSystem(TStellarBody &body);
    void GenerateMultSystem2(TStellarBody &body);
    void GenerateCloseMult(TStellarBody &body);
    // Spectral class, colour and mass of a main-sequence star of class code
    // cls (STAR_TYPE_M … STAR_TYPE_O); the subclass digit is drawn here.
    void MainSequenceStar(TStellarBody &body, std::int32_t cls);

    // Planets and moons
    void GeneratePlanets(TStellarBody &star);
    void GeneratePlanetSystem(TStellarBody &body);
    void GenerateMoons(TStellarBody &planet);
    void CalcPlanetRotation(TStellarBody &body);
    void GenerateOrbitalInfo(TStellarBody &body, std::int32_t slot);

    // Atmospheres, habitability and populations
    void GenerateAtmosphere(TStellarBody &planet);
    static double CalcGreenhouseTemp(double pressure, double temperature);
    bool isTerraformingCandidate(const TStellarBody &planet) const;
    void PlaceEarthlike(TStellarBody &planet);
    void GeneratePopulations(TStellarBody &body);

    // Names, through the installed namer (no-ops without one).
    std::string RandomSystemName(TStellarBody *body, bool defaultName = false, const std::string &padPattern = "");
    void GenerateNames(TStellarBody &body, double size);
    void ReGenerateNames(TStellarBody &body, double size);

    // The naming rules (GenerateNames.cpp); names come from RandomSystemName.
    void GenerateMultNames(TStellarBody &body);
    void GenerateCloseMultNames(TStellarBody &body);
    void GenerateSolarSystemNames(TStellarBody &body);
    void GenerateStarName(TStellarBody &body);
    void GeneratePlanetSystemName(TStellarBody &body);

    // The orbit radius of slot s around a star of the given mass, km.
    double SlotDistance(int slot, double starMass) const;

private:
    // A new body whose Parent is already set, so year length, Hill sphere and
    // tidal lock can be computed before it is appended.
    static std::unique_ptr<TStellarBody> NewChild(TStellarBody &parent);
    void MakeTerrestrial(TStellarBody &planet);
    std::int32_t Pick(const TPickList &list);
};

// The air of an Earth-like world (nitrogen, oxygen, argon, carbon dioxide),
// its pressure and notes; cheap enough to call from the body editor.
void ApplyEarthlikeAir(TSystemGenerator &gen, TStellarBody &body, double co2Lo, std::int32_t co2Count);

// A star's luminosity cut (not rounded) to 3 decimals below 1, 1 decimal
// below 10, whole above; values under 0.1 stay as they are.
double CutStarLuminosity(double luminosity);

// The shortest decimal text of a double, as the air notes write their shares.
std::string GeneralFloatText(double value);

} // namespace kalvion
