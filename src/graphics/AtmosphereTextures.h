#pragma once
// Procedural atmosphere pictures: the banded texture of a gas giant and the
// transparent cloud layer of a planet with air.  Each texture draws from its
// own copy of the random state, seeded from the body's RandomSeed, so the same
// body always gets the same picture and the shared generator is left alone.
#include "base/Colour.h"
#include "surface/TerrainRandom.h"

#include <QImage>

#include <cstdint>
#include <string>

namespace kalvion {

class TStellarBody;
class TVexaSector;

inline constexpr int ATM_DEFAULT_WIDTH = 512;
inline constexpr int ATM_DEFAULT_HEIGHT = 256;
// Band noise is scaled into integer grids of this range, the range the
// terrain grids use; the grid is rescaled to [-255, 255] afterwards.
inline constexpr int ATM_NOISE_RANGE = 100000;
// Largest texture side accepted; larger requests are clamped.
inline constexpr int ATM_MAX_DIMENSION = 8192;

// The darkness offset of a gas giant: trunc(albedo * 60 + 30), with a
// non-finite or absurd albedo held to a sane range.
int GasGiantColourOffset(double albedo) noexcept;

// Paints one band layer of the given noise seed: where the band noise is
// above 0 the pixel becomes the blend from base (at 0) to band (at 255).
// Grid row r is bitmap row height - 1 - r.  A bitmap in another format than
// 32-bit RGB or ARGB is converted to RGB first.
void PaintAtmLayer(QImage &bitmap, TColor base, TColor band, std::int32_t layerSeed, int workers = 4);
// The same with the layer seed, random(1,000,000), drawn from `random`.
void GenerateAtmLayer(QImage &bitmap, TColor base, TColor band, TRandomState &random, int workers = 4);

// The banded texture of a gas giant, width x height (clamped to 1 …
// ATM_MAX_DIMENSION).  With a sector, the picture is also encoded in the
// format of the body's TextureName, stored in the sector's image resources
// under that name, and the body's PreviewImageFile is set to it.
QImage GenerateGasGiantAtmTexture(TVexaSector *sector, TStellarBody &body, int width = ATM_DEFAULT_WIDTH,
                                  int height = ATM_DEFAULT_HEIGHT);

// The 512 x 256 transparent cloud layer in the given colour (a null image when
// the body's Atmosphere is below 0.005).  With a bitmap the layer is drawn
// onto it, stretched (an empty bitmap gets nothing); without one, with a
// sector, it is stored in the sector's image resources under the body's
// TextureName with ".atm.png".
QImage GenerateTransAtmLayer(TVexaSector *sector, TStellarBody &body, TColor colour, QImage *bitmap);

// The resource name of a body's cloud layer.
std::string AtmLayerName(const TStellarBody &body);

// Registered for scripts; does nothing.
void GenerateAtmTexture(TStellarBody &body);

} // namespace kalvion
