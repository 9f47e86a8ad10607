// Atmosphere textures and the model file names of bodies.
#include "base/SharedRandom.h"
#include "model/GexColorGroup.h"
#include "graphics/AtmosphereTextures.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "science/Chemistry.h"
#include "surface/manager/SurfaceMapOps.h"
#include "surface/manager/SurfacePalette.h"
#include "scriptnames/NameHelpers.h"

#include <QImage>

namespace kalvion::names {

namespace {

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
    // The layer seed comes from the shared generator: a script that sets the
    // seed gets the same layer again.
    n.Routine("GenerateAtmLayer", {TObj("TBitmap"), TInt(), TInt()}, TNone(), [](TScriptArgs &a) {
        QImage &bitmap = Need<QImage>(a[0], "GenerateAtmLayer");
        PaintAtmLayer(bitmap, static_cast<TColor>(a[1].Int), static_cast<TColor>(a[2].Int), SharedRandomInt(1000000));
        return VNone();
    });
    // With a bitmap the layer is painted onto it; without one it goes to the
    // sector's image resources.
    n.Routine("GenerateTransAtmLayer", {TObj("TVexaSector"), TObj("TStellarBody"), TInt(), TObj("TBitmap")}, TNone(),
              [](TScriptArgs &a) {
                  GenerateTransAtmLayer(Maybe<TVexaSector>(a[0]), Need<TStellarBody>(a[1], "GenerateTransAtmLayer"),
                                        static_cast<TColor>(a[2].Int), Maybe<QImage>(a[3]));
                  return VNone();
              });
    n.Routine("DefaultVexaColorGroup", {}, TObj("TGexColorGroup"), [n](TScriptArgs &) {
        return n.Adopt("TGexColorGroup", std::make_unique<TGexColorGroup>(DefaultVexaColorGroup()));
    });
    n.Routine("DerivePlanetColors", {TObj("TStellarBody"), TObj("TGexColorGroup")}, TNone(), [](TScriptArgs &a) {
        DerivePlanetColors(Need<TStellarBody>(a[0], "DerivePlanetColors"),
                           Need<TGexColorGroup>(a[1], "DerivePlanetColors"));
        return VNone();
    });
    n.Routine("GenerateGexSurfaceMap", {TObj("TVexaSector"), TObj("TStellarBody"), TBool(), TObj("TGexColorGroup")},
              TBool(), [](TScriptArgs &a) {
                  return VBool(GenerateGexSurfaceMap(Need<TVexaSector>(a[0], "GenerateGexSurfaceMap"),
                                                     Need<TStellarBody>(a[1], "GenerateGexSurfaceMap"), a[2].AsBool(),
                                                     Need<TGexColorGroup>(a[3], "GenerateGexSurfaceMap")));
              });
    n.Routine("ClearUneditedGexFiles", {TStr(), TStr()}, TNone(), [](TScriptArgs &a) {
        ClearUneditedGexFiles(a[0].Str, a[1].Str);
        return VNone();
    });
    // The world file of a terrestrial planet, below the user's data folder.
    n.Method<TStellarBody>("TStellarBody", "GexFileName", {}, TStr(),
                           [](TStellarBody &b, TScriptArgs &) { return VStr(GexFileName(b)); });
    n.Method<TStellarBody>("TStellarBody", "GexUpdateTerrain", {}, TNone(), [](TStellarBody &b, TScriptArgs &) {
        GexUpdateTerrain(b);
        return VNone();
    });
    n.Method<TVexaSector>("TVexaSector", "HasTerrainData", {TObj("TStellarBody")}, TBool(), [](TVexaSector &s, TScriptArgs &a) {
        return VBool(HasTerrainData(s, Need<TStellarBody>(a[0], "HasTerrainData")));
    });
    n.Method<TVexaSector>("TVexaSector", "CheckGexRefresh", {TObj("TStellarBody")}, TNone(), [](TVexaSector &s, TScriptArgs &a) {
        CheckGexRefresh(s, Need<TStellarBody>(a[0], "CheckGexRefresh"));
        return VNone();
    });
    n.Method<TVexaSector>("TVexaSector", "RefreshGexSurfaceMap", {TObj("TStellarBody")}, TNone(),
                          [](TVexaSector &s, TScriptArgs &a) {
                              RefreshGexSurfaceMap(s, Need<TStellarBody>(a[0], "RefreshGexSurfaceMap"));
                              return VNone();
                          });
    n.Method<TVexaSector>("TVexaSector", "FindDefaultModel", {TObj("TStellarBody")}, TStr(), [](TVexaSector &s, TScriptArgs &a) {
        return VStr(s.FindDefaultModel(Need<TStellarBody>(a[0], "FindDefaultModel")));
    });
    n.Method<TVexaSector>("TVexaSector", "GetModelFileName", {TObj("TStellarBody")}, TStr(), [](TVexaSector &s, TScriptArgs &a) {
        return VStr(s.GetModelFileName(Need<TStellarBody>(a[0], "GetModelFileName")));
    });
}

} // namespace kalvion::names
