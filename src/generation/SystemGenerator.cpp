// The generator object: settings, orbit table, weighted picks and the biased draws.
#include "generation/SystemGenerator.h"

#include "base/Rounding.h"
#include "generation/SystemNames.h"
#include "model/StellarBody.h"
#include "base/PhysicalFormulas.h"
#include "science/ZentRand.h"

#include <atomic>

namespace kalvion {

namespace {

std::atomic<TSystemNamerFactory> gNamerFactory{&MakeTableSystemNamer};

struct TPickBase {
    std::int32_t TypeID;
    std::int32_t BaseWeight;
    std::int32_t FrequencyIndex;
};

// Base weights per thousand at the average setting, in draw order.
constexpr TPickBase kSystemPicks[] = {
    {BODY_TYPE_STAR, 405, 1},      {BODY_TYPE_CLOSEMULT, 180, 12}, {BODY_TYPE_MULT, 225, 2},
    {BODY_TYPE_WHITEDWARF, 36, 8}, {BODY_TYPE_REDGIANT, 27, 9},    {BODY_TYPE_BLUEGIANT, 27, 10},
    {BODY_TYPE_NEBULA, 30, 7},     {BODY_TYPE_FREEOBJECT, 40, 5},  {BODY_TYPE_STATION, 20, 4},
    {BODY_TYPE_NEUTRON, 8, 6},     {BODY_TYPE_BLACKHOLE, 2, 3},
};

// Stations share their frequency with stations at system level.
constexpr TPickBase kPlanetPicks[] = {
    {BODY_TYPE_TERRESTRIAL, 160, 100}, {BODY_TYPE_GASGIANT, 120, 101}, {BODY_TYPE_PLANETSYSTEM, 20, 105},
    {BODY_TYPE_ASTEROIDBELT, 60, 102}, {BODY_TYPE_PLANETOID, 30, 103}, {BODY_TYPE_STATION, 10, 4},
};

template <std::size_t N>
void BuildPickList(TPickList &list, const TPickBase (&bases)[N], const std::array<std::int32_t, FREQUENCY_COUNT> &freq)
{
    list.Entries.clear();
    list.Total = 0;
    for (const auto &b : bases) {
        // A slider above the average counts squared, so high settings dominate quickly.
        const double x = freq[static_cast<std::size_t>(b.FrequencyIndex)] / 10.0;
        const double factor = x > 1 ? x * x : x;
        TPickEntry e;
        e.TypeID = b.TypeID;
        e.Weight = RoundToInt32Clamped(factor * b.BaseWeight);
        if (e.Weight > 0) {
            e.First = list.Total;
            e.Last = list.Total + e.Weight - 1;
            list.Total += e.Weight;
        }
        list.Entries.push_back(e);
    }
}

} // namespace

void SetDefaultSystemNamerFactory(TSystemNamerFactory factory) { gNamerFactory.store(factory); }

TSystemGenerator::TSystemGenerator() : Seed(static_cast<std::uint32_t>(RandomTickCount()))
{
    Frequencies.fill(10);
    SetOrbits();
    SetPickLists();
    if (const TSystemNamerFactory f = gNamerFactory.load())
        Namer = f();
}

TSystemGenerator::~TSystemGenerator() = default;

void TSystemGenerator::SetOrbits()
{
    static constexpr std::array<double, ORBIT_TABLE_SIZE> kOrbits = {
        0,     0.125, 0.162, 0.211, 0.274, 0.357, 0.464, 0.603, 0.784, 1.019, 1.325, 1.723, 2.24,  2.912,
        3.785, 4.921, 6.398, 8.317, 10.81, 14.05, 18.27, 23.75, 30.88, 40.14, 52.19, 67.85, 88.2,  114.66,
    };
    Orbits = kOrbits;
}

void TSystemGenerator::SetPickLists()
{
    BuildPickList(SystemTypePicks, kSystemPicks, Frequencies);
    BuildPickList(PlanetTypePicks, kPlanetPicks, Frequencies);
}

void TSystemGenerator::ApplyOptions(const TSystemGeneratorOptions &o)
{
    NameTableFile = o.NameTableFile;
    if (o.KeepDefaults)
        return;
    WithPopulations = o.WithPopulations;
    SystemLabelColor = o.SystemLabelColor;
    PopulatedLabelColor = o.PopulatedLabelColor;
    SubsectorColor = o.SubsectorColor;
    OrganicNaming = o.OrganicNaming;
    // The level alone is stored; the chances follow only SetTerraformingLevel.
    TerraformingLevel = o.TerraformingLevel;
    Frequencies = o.Frequencies;
}

void TSystemGenerator::SetTerraformingLevel(std::int32_t level)
{
    TerraformingLevel = level;
    if (level >= 1 && level <= 5) {
        TerraformingChance = 10 * level;
        EarthlikeChance = 0;
        return;
    }
    switch (level) {
    case 6: TerraformingChance = 60; EarthlikeChance = 2; break;
    case 7: TerraformingChance = 70; EarthlikeChance = 4; break;
    case 8: TerraformingChance = 80; EarthlikeChance = 10; break;
    case 9: TerraformingChance = 90; EarthlikeChance = 20; break;
    case 10: TerraformingChance = 100; EarthlikeChance = 50; break;
    default: TerraformingChance = 0; EarthlikeChance = 0; break;
    }
}

std::int32_t TSystemGenerator::Pick(const TPickList &list)
{
    if (list.Total <= 0)
        return BODY_TYPE_NOTASSIGNED;
    const std::int32_t r = NRandom(list.Total);
    for (const auto &e : list.Entries)
        if (e.Weight > 0 && r >= e.First && r <= e.Last)
            return e.TypeID;
    return BODY_TYPE_NOTASSIGNED;
}

std::int32_t TSystemGenerator::PickSystemRootType() { return Pick(SystemTypePicks); }

std::int32_t TSystemGenerator::PickPlanetType() { return Pick(PlanetTypePicks); }

std::int32_t TSystemGenerator::NRandom(std::int32_t n) { return kalvion::NRandom(Seed, n); }

std::int32_t TSystemGenerator::WMin(std::int32_t n, std::int32_t count) { return kalvion::WMin(Seed, n, count); }

double TSystemGenerator::WMinRange(double lo, double hi, std::int32_t count)
{
    return kalvion::WMinRange(lo, hi, count);
}

double TSystemGenerator::SlotDistance(int slot, double starMass) const
{
    return Orbits[static_cast<std::size_t>(slot)] * AU * starMass;
}

std::unique_ptr<TStellarBody> TSystemGenerator::NewChild(TStellarBody &parent)
{
    auto child = TStellarBody::Create();
    child->Parent = &parent;
    return child;
}

std::string TSystemGenerator::RandomSystemName(TStellarBody *body, bool defaultName, const std::string &padPattern)
{
    return Namer ? Namer->RandomSystemName(*this, body, defaultName, padPattern) : std::string();
}

void TSystemGenerator::GenerateNames(TStellarBody &body, double size)
{
    if (Namer)
        Namer->GenerateNames(*this, body, size);
}

void TSystemGenerator::ReGenerateNames(TStellarBody &body, double size)
{
    if (Namer)
        Namer->ReGenerateNames(*this, body, size);
}

} // namespace kalvion
