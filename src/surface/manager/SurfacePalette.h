#pragma once
// Palettes of terrestrial surface maps: the default colour group, the land
// colours the background maker picks for a planet without a palette of its
// own, and the script routine that picks them from the shared generator.
#include "model/GexColorGroup.h"

#include <cstdint>

namespace kalvion {

class TStellarBody;

inline constexpr int PALETTE_LAND_COLOURS = 10;

// A new group with the default colours.
TGexColorGroup DefaultVexaColorGroup();

// The k-th pair of land colours (k taken modulo 10).
TColor PaletteLowland(int k) noexcept;
TColor PaletteHighland(int k) noexcept;

// The manager's choice: a random state seeded with the body's seed draws k and
// a second number that decides which of the pair lies low.  Hospitable worlds
// keep the group's own land colours.  Only the land colours change.
void ChooseSeededLandColours(TGexColorGroup &group, std::int32_t randomSeed, std::int32_t habitability) noexcept;

// The same choice for a body, followed by its atmosphere colour.
void ApplyManagerPalette(TGexColorGroup &group, const TStellarBody &body);

// The script routine: k from the shared generator, no swap, hospitable
// worlds skipped; then the atmosphere colour.
void DerivePlanetColors(const TStellarBody &body, TGexColorGroup &group);

} // namespace kalvion
