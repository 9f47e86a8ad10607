// Typed creation: the system types of the New System dialog.
#include "generation/QuickGenerate.h"

#include "generation/PlanetTemplates.h"
#include "model/StellarBody.h"

#include <array>

namespace kalvion {

namespace {

constexpr double kQuickNameSize = 4;

// In dialog order.
constexpr std::array<const char *, 28> kSystemTypeTexts = {
    "Star, Yellow",     "Star, Red Dwarf",      "Star, White / Blue", "Star, Red Giant",
    "Star, Blue Giant", "Star, White Dwarf",    "Star, Brown Dwarf",  "Star, Blank",
    "Multiple Star System", "Close Multiple",   "Black Hole",         "Station",
    "Free Planet",      "Free Planet, Blank",   "Free Gas Giant",     "Free Gas Giant, Blank",
    "Neutron Star",     "Nebula",               "Asteroid Belt",      "Free Planetoid",
    "Free Planet System", "Small Body",         "Mega Structure",     "Deep Space Object",
    "Fleet",            "Ship",                 "Marker",             "Unassigned",
};

struct TPlainType {
    const char *Text;
    std::int32_t TypeID;
};

// Rows that only set the type code; no generator runs for them.
constexpr TPlainType kPlainTypes[] = {
    {"Star, Blank", BODY_TYPE_STAR},
    {"Multiple Star System", BODY_TYPE_MULT},
    {"Close Multiple", BODY_TYPE_CLOSEMULT},
    {"Station", BODY_TYPE_STATION},
    {"Free Planet, Blank", BODY_TYPE_TERRESTRIAL},
    {"Planet, Blank", BODY_TYPE_TERRESTRIAL},
    {"Free Gas Giant, Blank", BODY_TYPE_GASGIANT},
    {"Gas Giant, Blank", BODY_TYPE_GASGIANT},
    {"Neutron Star", BODY_TYPE_NEUTRON},
    {"Nebula", BODY_TYPE_NEBULA},
    {"Asteroid Belt", BODY_TYPE_ASTEROIDBELT},
    {"Free Planetoid", BODY_TYPE_PLANETOID},
    {"Free Planet System", BODY_TYPE_PLANETSYSTEM},
    {"Small Body", BODY_TYPE_SMALLBODY},
    {"Mega Structure", BODY_TYPE_MEGASTRUCTURE},
    {"Deep Space Object", BODY_TYPE_DSO},
    {"Fleet", BODY_TYPE_FLEET},
    {"Ship", BODY_TYPE_SHIP},
    {"Marker", BODY_TYPE_MARKER},
    {"Unassigned", BODY_TYPE_NOTASSIGNED},
};

// A main-sequence star of the class; unlike a generated system its orbital
// plane is left as it is.
void TypedStar(TSystemGenerator &gen, TStellarBody &body, std::int32_t cls)
{
    body.TypeID = BODY_TYPE_STAR;
    gen.MainSequenceStar(body, cls);
    gen.StarRotation(body);
    body.SetStarMetrics();
    body.Luminosity = CutStarLuminosity(body.Luminosity);
    body.Name = gen.RandomSystemName(&body);
    gen.GeneratePlanets(body);
    gen.ReGenerateNames(body, kQuickNameSize);
}

void BrownDwarf(TSystemGenerator &gen, TStellarBody &body)
{
    body.TypeID = BODY_TYPE_STAR;
    body.Spectral = "L";
    body.BodyType = "Brown Dwarf";
    body.Mass = gen.WMinRange(0.02, 0.075, 2);
    gen.StarRotation(body);
    body.SetStarMetrics();
    body.Radius = gen.WMinRange(0.05, 0.15, 2);
    gen.GeneratePlanets(body);
    gen.GeneratePopulations(body);
    body.Name = gen.RandomSystemName(&body);
    body.ClearChildrenNames();
    gen.ReGenerateNames(body, kQuickNameSize);
}

// The rows that run a generator; false when the text is not one of them.
bool GenerateTyped(TSystemGenerator &gen, TStellarBody &body, const std::string &text)
{
    if (text == "Star, Yellow") {
        static constexpr std::int32_t kClasses[3] = {STAR_TYPE_K, STAR_TYPE_G, STAR_TYPE_F};
        TypedStar(gen, body, kClasses[gen.NRandom(3)]);
    } else if (text == "Star, Red Dwarf") {
        TypedStar(gen, body, STAR_TYPE_M);
    } else if (text == "Star, White / Blue") {
        static constexpr std::int32_t kClasses[3] = {STAR_TYPE_A, STAR_TYPE_B, STAR_TYPE_O};
        TypedStar(gen, body, kClasses[gen.NRandom(3)]);
    } else if (text == "Star, Red Giant") {
        body.TypeID = BODY_TYPE_STAR;
        body.Name = gen.RandomSystemName(&body);
        gen.GenerateRedGiant(body);
    } else if (text == "Star, Blue Giant") {
        body.TypeID = BODY_TYPE_STAR;
        body.Name = gen.RandomSystemName(&body);
        gen.GenerateBlueGiant(body);
    } else if (text == "Star, White Dwarf") {
        body.TypeID = BODY_TYPE_WHITEDWARF;
        body.Name = gen.RandomSystemName(&body);
    } else if (text == "Star, Brown Dwarf") {
        BrownDwarf(gen, body);
    } else {
        return false;
    }
    return true;
}

bool IsGeneratedRow(const std::string &text)
{
    return text == "Star, Yellow" || text == "Star, Red Dwarf" || text == "Star, White / Blue" ||
           text == "Star, Red Giant" || text == "Star, Blue Giant" || text == "Star, White Dwarf" ||
           text == "Star, Brown Dwarf";
}

// The rows that need no generator of ours; false when the text is none of them.
bool FillUntyped(TStellarBody &body, const std::string &text, const TSystemGeneratorOptions &options)
{
    for (const auto &row : kPlainTypes)
        if (text == row.Text) {
            body.TypeID = row.TypeID;
            return true;
        }
    if (text == "Black Hole") {
        body.TypeID = BODY_TYPE_BLACKHOLE;
        body.Mass = BLACK_HOLE_MASS;
    } else if (text == "Free Planet") {
        PlanetLargeBarren(body, options.NameTableFile);
    } else if (text == "Free Gas Giant") {
        GasGiant(body, 0, options.NameTableFile);
    } else {
        return false;
    }
    return true;
}

} // namespace

void AddSystemBodyList(std::vector<std::string> &list)
{
    for (const char *text : kSystemTypeTexts)
        list.emplace_back(text);
}

std::int32_t SystemTypeIDFromText(const std::string &) { return 0; }

bool CreateSystemOfType(TStellarBody &body, const std::string &typeText, const TSystemGeneratorOptions &options)
{
    if (!IsGeneratedRow(typeText))
        return FillUntyped(body, typeText, options);
    TSystemGenerator gen;
    return CreateSystemOfType(gen, body, typeText, options);
}

bool CreateSystemOfType(TSystemGenerator &gen, TStellarBody &body, const std::string &typeText,
                        const TSystemGeneratorOptions &options)
{
    if (!IsGeneratedRow(typeText))
        return FillUntyped(body, typeText, options);
    gen.ApplyOptions(options);
    gen.SetPickLists();
    return GenerateTyped(gen, body, typeText);
}

} // namespace kalvion
