#include "model/BodyTextureNames.h"

#include "base/AsciiText.h"
#include "base/Paths.h"
#include "model/StellarBody.h"

#include <utility>

namespace kalvion {

namespace {

bool HasSurfaceMapTexture(int type) { return type == BODY_TYPE_TERRESTRIAL || type == BODY_TYPE_GASGIANT; }

} // namespace

std::string TexturePath(const TStellarBody &body)
{
    return HasSurfaceMapTexture(body.TypeID) ? ProgramSubfolder("Textures/SurfaceMaps")
                                             : ProgramSubfolder("Textures");
}

std::string TextureNameFromSpectral(std::string_view spectral)
{
    // Later matches win, so the two-letter giant classes override the letters.
    static const std::pair<const char *, const char *> table[] = {
        {"O", "Star-O.png"},  {"B", "Star-B.png"},  {"A", "Star-A.png"},  {"F", "Star-F.png"},
        {"G", "Star-G.png"},  {"K", "Star-K.png"},  {"M", "Star-M.png"},  {"L", "Star-M.png"},
        {"GO", "Star-O.png"}, {"GB", "Star-B.png"}, {"GA", "Star-A.png"}, {"GF", "Star-F.png"},
        {"GG", "Star-G.png"}, {"GK", "Star-K.png"}, {"GM", "Star-M.png"}};
    const std::string upper = AsciiUpper(spectral);
    std::string result = "Star-F.png";
    for (const auto &[key, file] : table)
        if (upper.find(key) != std::string::npos)
            result = file;
    return result;
}

std::string TextureName(const TStellarBody &body)
{
    std::string file;
    switch (body.TypeID) {
    case BODY_TYPE_STAR: file = TextureNameFromSpectral(body.Spectral); break;
    case BODY_TYPE_MULT: file = "FarMultiple.png"; break;
    case BODY_TYPE_BLACKHOLE: file = "Black-Hole.png"; break;
    case BODY_TYPE_STATION: file = "SpaceStation.png"; break;
    case BODY_TYPE_NEUTRON:
    case BODY_TYPE_WHITEDWARF: file = "Star-A.png"; break;
    case BODY_TYPE_NEBULA: file = "Nebulae.png"; break;
    case BODY_TYPE_CLOSEMULT: file = "CloseMultiple.png"; break;
    case BODY_TYPE_DSO: file = "Spiral.png"; break;
    case BODY_TYPE_TERRESTRIAL:
    case BODY_TYPE_GASGIANT: file = body.IDString + ".png"; break;
    case BODY_TYPE_ASTEROIDBELT:
    case BODY_TYPE_RING: file = "AsteroidBelt.png"; break;
    case BODY_TYPE_PLANETOID:
    case BODY_TYPE_SMALLBODY: file = "Planetoid.png"; break;
    case BODY_TYPE_PLANETSYSTEM: file = "PlanetSystem.png"; break;
    case BODY_TYPE_MEGASTRUCTURE: file = "MegaStructure.png"; break;
    case BODY_TYPE_FLEET: file = "Fleet1.png"; break;
    case BODY_TYPE_SHIP: file = "Ship1.png"; break;
    case BODY_TYPE_MARKER: file = "SpaceBeacon.png"; break;
    default: file = "Star-F.png"; break;
    }
    return TexturePath(body) + file;
}

bool TextureExists(const TStellarBody &body) { return FileExists(TextureName(body)); }

std::string DefaultTextureFile(const TStellarBody &body)
{
    if (HasSurfaceMapTexture(body.TypeID))
        return {};
    return TexturePath(body) + "Star-F.png";
}

} // namespace kalvion
