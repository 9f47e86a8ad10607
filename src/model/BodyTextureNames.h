#pragma once
// The texture image files the program ships for each kind of body, used for
// previews when a body has no image of its own.
#include <string>
#include <string_view>

namespace kalvion {

class TStellarBody;

// The folder of a body's texture: "Textures/SurfaceMaps/" below the program
// folder for terrestrial planets and gas giants, "Textures/" otherwise.
std::string TexturePath(const TStellarBody &body);
// The star texture file name for a spectral class text ("K5V" → "Star-K.png").
std::string TextureNameFromSpectral(std::string_view spectral);
// The full path of the body's texture file.
std::string TextureName(const TStellarBody &body);
bool TextureExists(const TStellarBody &body);
// "" for terrestrial planets and gas giants, else the path of "Star-F.png".
std::string DefaultTextureFile(const TStellarBody &body);

} // namespace kalvion
