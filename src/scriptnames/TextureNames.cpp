// Atmosphere textures and the model file names of bodies.
#include "base/Paths.h"
#include "files/SurfaceMapStore.h"
#include "model/GexColorGroup.h"
#include "graphics/AtmosphereTextures.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "science/Chemistry.h"
#include "scriptnames/NameHelpers.h"

#include <QImage>

namespace kalvion::names {

namespace {

// The default model of a body's type, relative to the models folder: a
// folder per model, inside the folder of the body type.
std::string FindDefaultModel(const TStellarBody &body)
{
    const std::string type = NameFromBodyType(body.TypeID);
    for (const char *ext : {".obj", ".3ds", ".x", ".dae"}) {
        const std::string rel = type + "/default" + ext + "/default" + ext;
        if (FileExists(ProgramSubfolder("Models") + rel))
            return rel;
    }
    return {};
}

std::string GetModelFileName(const TStellarBody &body)
{
    if (body.ModelFile.empty())
        return FindDefaultModel(body);
    return NameFromBodyType(body.TypeID) + "/" + body.ModelFile + "/" + body.ModelFile;
}

std::int32_t Side(const TScriptValue &v, const char *routine)
{
    return CheckedCount(v, ATM_MAX_DIMENSION, routine);
}

} // namespace

void RegisterTextureNames(const TNames &n)
{
    n.Routine("GenerateAtmTexture", {TObj("TStellarBody")}, TNone(), [](TScriptArgs &a) {
        GenerateAtmTexture(Need<TStellarBody>(a[0], "GenerateAtmTexture"));
        return VNone();
    });
    n.Routine("DeriveAtmColor", {TObj("TStellarBody")}, TInt(), [](TScriptArgs &a) {
        return VInt(static_cast<std::int64_t>(DeriveAtmColor(Need<TStellarBody>(a[0], "DeriveAtmColor"))));
    });
    n.Routine("GenerateGasGiantAtmTexture", {TObj("TVexaSector"), TObj("TStellarBody"), TInt(), TInt()}, TNone(),
              [](TScriptArgs &a) {
                  GenerateGasGiantAtmTexture(Maybe<TVexaSector>(a[0]), Need<TStellarBody>(a[1], "GenerateGasGiantAtmTexture"),
                                             Side(a[2], "GenerateGasGiantAtmTexture"),
                                             Side(a[3], "GenerateGasGiantAtmTexture"));
                  return VNone();
              });
    // Scripts have no bitmaps of their own: the layer goes to the sector.
    n.Routine("GenerateTransAtmLayer", {TObj("TVexaSector"), TObj("TStellarBody"), TInt(), TObj("TBitmap")}, TNone(),
              [](TScriptArgs &a) {
                  GenerateTransAtmLayer(Maybe<TVexaSector>(a[0]), Need<TStellarBody>(a[1], "GenerateTransAtmLayer"),
                                        static_cast<TColor>(a[2].Int), nullptr);
                  return VNone();
              });
    n.Routine("DefaultVexaColorGroup", {}, TObj("TGexColorGroup"),
              [n](TScriptArgs &) { return n.Adopt("TGexColorGroup", std::make_unique<TGexColorGroup>()); });
    // The world file of a terrestrial planet.
    n.Method<TStellarBody>("TStellarBody", "GexFileName", {}, TStr(), [](TStellarBody &b, TScriptArgs &) {
        if (b.TypeID != BODY_TYPE_TERRESTRIAL)
            return VStr("");
        return VStr(ProgramSubfolder("Planets") + b.IDString + ".gex");
    });
    n.Method<TVexaSector>("TVexaSector", "HasTerrainData", {TObj("TStellarBody")}, TBool(), [](TVexaSector &s, TScriptArgs &a) {
        const TStellarBody &b = Need<TStellarBody>(a[0], "HasTerrainData");
        return VBool(!s.FileName.empty() && b.RecordID != 0 && HasSurfaceMap(s.FileName, b.RecordID));
    });
    n.Method<TVexaSector>("TVexaSector", "FindDefaultModel", {TObj("TStellarBody")}, TStr(), [](TVexaSector &, TScriptArgs &a) {
        return VStr(FindDefaultModel(Need<TStellarBody>(a[0], "FindDefaultModel")));
    });
    n.Method<TVexaSector>("TVexaSector", "GetModelFileName", {TObj("TStellarBody")}, TStr(), [](TVexaSector &, TScriptArgs &a) {
        return VStr(GetModelFileName(Need<TStellarBody>(a[0], "GetModelFileName")));
    });
}

} // namespace kalvion::names
