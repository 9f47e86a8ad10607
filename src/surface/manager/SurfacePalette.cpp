#include "surface/manager/SurfacePalette.h"

#include "base/SharedRandom.h"
#include "model/BodyTypes.h"
#include "model/StellarBody.h"
#include "science/Chemistry.h"
#include "surface/TerrainRandom.h"

#include <array>

namespace kalvion {

namespace {

struct TLandPair {
    TColor Low, High;
};

// clang-format off
const std::array<TLandPair, PALETTE_LAND_COLOURS> LAND = {{
    {ColorRGB(64, 64, 64), ColorRGB(64, 64, 64)},
    {ColorRGB(122, 122, 122), ColorRGB(52, 52, 52)},
    {ColorRGB(98, 84, 71), ColorRGB(116, 97, 80)},
    {ColorRGB(212, 120, 57), ColorRGB(229, 212, 156)},
    {ColorRGB(81, 47, 38), ColorRGB(142, 128, 127)},
    {ColorRGB(118, 102, 69), ColorRGB(144, 106, 70)},
    {ColorRGB(143, 115, 91), ColorRGB(124, 87, 58)},
    {ColorRGB(88, 85, 66), ColorRGB(159, 118, 76)},
    {ColorRGB(135, 116, 85), ColorRGB(208, 170, 111)},
    {ColorRGB(110, 90, 86), ColorRGB(159, 158, 156)},
}};
// clang-format on

std::size_t Slot(int k) noexcept
{
    const int m = k % PALETTE_LAND_COLOURS;
    return static_cast<std::size_t>(m < 0 ? m + PALETTE_LAND_COLOURS : m);
}

} // namespace

TGexColorGroup DefaultVexaColorGroup() { return TGexColorGroup{}; }

TColor PaletteLowland(int k) noexcept { return LAND[Slot(k)].Low; }
TColor PaletteHighland(int k) noexcept { return LAND[Slot(k)].High; }

void ChooseSeededLandColours(TGexColorGroup &group, std::int32_t randomSeed, std::int32_t habitability) noexcept
{
    if (habitability == HAB_HOSPITABLE)
        return;
    // The seed is used as it is, 0 included, so every planet keeps its palette
    // from run to run.
    TRandomState random;
    random.State = static_cast<std::uint32_t>(randomSeed);
    const int k = static_cast<int>(random.Random(PALETTE_LAND_COLOURS));
    if (random.Random(10) > 4) {
        group.Lowland = PaletteLowland(k);
        group.Highland = PaletteHighland(k);
    } else {
        group.Lowland = PaletteHighland(k);
        group.Highland = PaletteLowland(k);
    }
}

void ApplyManagerPalette(TGexColorGroup &group, const TStellarBody &body)
{
    ChooseSeededLandColours(group, body.RandomSeed, body.Habitability);
    group.AtmosphereColor = DeriveAtmColor(body);
}

void DerivePlanetColors(const TStellarBody &body, TGexColorGroup &group)
{
    if (body.Habitability != HAB_HOSPITABLE) {
        const int k = static_cast<int>(SharedRandomInt(PALETTE_LAND_COLOURS));
        group.Lowland = PaletteLowland(k);
        group.Highland = PaletteHighland(k);
    }
    group.AtmosphereColor = DeriveAtmColor(body);
}

} // namespace kalvion
