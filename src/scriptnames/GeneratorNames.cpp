// The star-system generator: TSystemGenerator, the quick-generation and
// planet-template routines and the generator constants.
#include "generation/PlanetTemplates.h"
#include "generation/QuickGenerate.h"
#include "generation/SystemGenerator.h"
#include "model/StellarBody.h"
#include "scriptnames/HelperClasses.h"
#include "scriptnames/OwnedObjects.h"

#include <stdexcept>

namespace kalvion::names {

namespace {

using G = TSystemGenerator;
using Body = TStellarBody;
constexpr const char *C = "TSystemGenerator";
constexpr const char *BC = "TStellarBody";

// Generation replaces a body's children: references to them end first.
Body &Target(const TScriptValue &v, const char *routine)
{
    Body &b = Need<Body>(v, routine);
    for (auto &c : b.Children)
        EndTreeLifetime(*c);
    return b;
}

// The size argument of the naming steps: the extent of the sector around.
constexpr std::int32_t NAMING_MAX_SIZE = 1000000;

void RegisterGeneratorMethods(const TNames &n)
{
    n.Reg.AddConstructor(C, [n] { return n.Adopt(C, std::make_unique<G>()).Obj; });
    n.Method<G>(C, "WMin", {TInt(), TInt()}, TInt(), [](G &g, TScriptArgs &a) {
        return VInt(g.WMin(I32(a[0]), CheckedCount(a[1], DICE_SCRIPT_MAX_COUNT, "WMin")));
    });
    n.Method<G>(C, "WMinRange", {TDbl(), TDbl(), TInt()}, TDbl(), [](G &g, TScriptArgs &a) {
        return VDbl(g.WMinRange(a[0].Dbl, a[1].Dbl, CheckedCount(a[2], DICE_SCRIPT_MAX_COUNT, "WMinRange")));
    });
    n.Method<G>(C, "NRandom", {TInt()}, TInt(), [](G &g, TScriptArgs &a) { return VInt(g.NRandom(I32(a[0]))); });
    n.Method<G>(C, "SetOrbits", {}, TNone(), [](G &g, TScriptArgs &) {
        g.SetOrbits();
        return VNone();
    });
    n.Method<G>(C, "SetPickLists", {}, TNone(), [](G &g, TScriptArgs &) {
        g.SetPickLists();
        return VNone();
    });
    n.Method<G>(C, "PickSystemRootType", {}, TInt(), [](G &g, TScriptArgs &) { return VInt(g.PickSystemRootType()); });
    n.Method<G>(C, "PickPlanetType", {}, TInt(), [](G &g, TScriptArgs &) { return VInt(g.PickPlanetType()); });
    n.Method<G>(C, "SetTerraformingLevel", {TInt()}, TNone(), [](G &g, TScriptArgs &a) {
        g.SetTerraformingLevel(I32(a[0]));
        return VNone();
    });
    using TStep = void (G::*)(Body &);
    const std::pair<const char *, TStep> steps[] = {
        {"GenerateSystemInfo", &G::GenerateSystemInfo},   {"GenerateSingle", &G::GenerateSingle},
        {"GenerateStarInfo", &G::GenerateStarInfo},       {"GenerateMultSystem", &G::GenerateMultSystem},
        {"GenerateMultSystem2", &G::GenerateMultSystem2}, {"GenerateCloseMult", &G::GenerateCloseMult},
        {"GeneratePlanets", &G::GeneratePlanets},         {"GeneratePlanetSystem", &G::GeneratePlanetSystem},
        {"GenerateMoons", &G::GenerateMoons},             {"GenerateFreePlanet", &G::GenerateFreePlanet},
        {"GenerateRedGiant", &G::GenerateRedGiant},       {"GenerateBlueGiant", &G::GenerateBlueGiant},
        {"GenerateWhiteDwarf", &G::GenerateWhiteDwarf},   {"GenerateAtmosphere", &G::GenerateAtmosphere},
        {"CalcPlanetRotation", &G::CalcPlanetRotation},   {"GeneratePopulations", &G::GeneratePopulations},
        {"GenerateMultNames", &G::GenerateMultNames},     {"GenerateCloseMultNames", &G::GenerateCloseMultNames},
        {"GenerateSolarSystemNames", &G::GenerateSolarSystemNames},
        {"GenerateStarName", &G::GenerateStarName},       {"GeneratePlanetSystemName", &G::GeneratePlanetSystemName},
        {"PlaceEarthlike", &G::PlaceEarthlike}};
    for (const auto &[name, f] : steps) {
        TStep step = f;
        const char *routine = name;
        n.Method<G>(C, name, {TObj(BC)}, TNone(), [step, routine](G &g, TScriptArgs &a) {
            (g.*step)(Target(a[0], routine));
            return VNone();
        });
    }
    n.Method<G>(C, "RandomSystemName", {TObj(BC), TBool(), TStr()}, TStr(), [](G &g, TScriptArgs &a) {
        return VStr(g.RandomSystemName(Maybe<Body>(a[0]), a[1].AsBool(), a[2].Str));
    });
    n.Method<G>(C, "CalcGreenhouseTemp", {TDbl(), TDbl()}, TDbl(),
                [](G &, TScriptArgs &a) { return VDbl(G::CalcGreenhouseTemp(a[0].Dbl, a[1].Dbl)); });
    n.Method<G>(C, "isTerraformingCandidate", {TObj(BC)}, TBool(), [](G &g, TScriptArgs &a) {
        return VBool(g.isTerraformingCandidate(Need<Body>(a[0], "isTerraformingCandidate")));
    });
    // (body, size): the size in whole light years of the sector around.
    n.Method<G>(C, "GenerateNames", {TObj(BC), TInt()}, TNone(), [](G &g, TScriptArgs &a) {
        g.GenerateNames(Need<Body>(a[0], "GenerateNames"), CheckedCount(a[1], NAMING_MAX_SIZE, "GenerateNames"));
        return VNone();
    });
    n.Method<G>(C, "ReGenerateNames", {TObj(BC), TInt()}, TNone(), [](G &g, TScriptArgs &a) {
        g.ReGenerateNames(Need<Body>(a[0], "ReGenerateNames"), CheckedCount(a[1], NAMING_MAX_SIZE, "ReGenerateNames"));
        return VNone();
    });
    n.Method<G>(C, "GenerateOrbitalInfo", {TObj(BC), TInt()}, TNone(), [](G &g, TScriptArgs &a) {
        g.GenerateOrbitalInfo(Need<Body>(a[0], "GenerateOrbitalInfo"),
                              CheckedCount(a[1], MAX_ORBITS, "GenerateOrbitalInfo"));
        return VNone();
    });
    n.Prop(C, "NameTableFile", &G::NameTableFile);
    n.Prop(C, "WithPopulations", &G::WithPopulations);
    n.Prop(C, "StarsOnly", &G::StarsOnly);
    n.Prop(C, "Seed", &G::Seed);
    n.Prop(C, "TerraformingLevel", &G::TerraformingLevel);
    n.Prop(C, "OrganicNaming", &G::OrganicNaming);
}

void RegisterGeneratorRoutines(const TNames &n)
{
    TScriptAppHost *H = &n.Host;
    auto confirm = [H](const std::string &text, const std::string &caption) { return H->Confirm(text, caption); };
    n.Routine("RandomSystem", {TObj(BC), TBool()}, TNone(), [](TScriptArgs &a) {
        RandomSystem(Target(a[0], "RandomSystem"), a[1].AsBool());
        return VNone();
    });
    n.Routine("QuickGenerateChildren", {TObj(BC), TBool()}, TNone(), [confirm](TScriptArgs &a) {
        QuickGenerateChildren(Target(a[0], "QuickGenerateChildren"), a[1].AsBool(), confirm);
        return VNone();
    });
    n.Routine("QuickGenerateSystemContents", {TObj(BC), TBool()}, TNone(), [confirm](TScriptArgs &a) {
        QuickGenerateSystemContents(Target(a[0], "QuickGenerateSystemContents"), a[1].AsBool(), confirm);
        return VNone();
    });
    using TTemplate = void (*)(Body &, const std::string &);
    const std::pair<const char *, TTemplate> templates[] = {{"PlanetEarthlike", &PlanetEarthlike},
                                                            {"PlanetMarslike", &PlanetMarslike},
                                                            {"PlanetLargeBarren", &PlanetLargeBarren},
                                                            {"PlanetLargeThickAtm", &PlanetLargeThickAtm}};
    for (const auto &[name, f] : templates) {
        TTemplate fill = f;
        const char *routine = name;
        n.Routine(name, {TObj(BC), TStr()}, TNone(), [fill, routine](TScriptArgs &a) {
            fill(Target(a[0], routine), a[1].Str);
            return VNone();
        });
    }
    n.Routine("GasGiant", {TObj(BC), TInt(), TStr()}, TNone(), [](TScriptArgs &a) {
        GasGiant(Target(a[0], "GasGiant"), I32(a[1]), a[2].Str);
        return VNone();
    });
    n.Routine("AddSystemBodyList", {TObj("TStrings")}, TNone(), [](TScriptArgs &a) {
        AddSystemBodyList(NeedStrings(a[0], "AddSystemBodyList").Items);
        return VNone();
    });
    n.Routine("SystemTypeIDFromText", {TStr()}, TInt(), [](TScriptArgs &a) { return VInt(SystemTypeIDFromText(a[0].Str)); });

    n.ConstS("VEXA_GENERATOR_NAME", VEXA_GENERATOR_NAME);
    n.Const("STAR_TYPE_M", STAR_TYPE_M);
    n.Const("STAR_TYPE_K", STAR_TYPE_K);
    n.Const("STAR_TYPE_G", STAR_TYPE_G);
    n.Const("STAR_TYPE_F", STAR_TYPE_F);
    n.Const("STAR_TYPE_A", STAR_TYPE_A);
    n.Const("STAR_TYPE_B", STAR_TYPE_B);
    n.Const("STAR_TYPE_O", STAR_TYPE_O);
    n.Const("STAR_TYPE_S", STAR_TYPE_S);
    n.Const("SURFACE_TEMP_RANGE", SURFACE_TEMP_RANGE);
    n.Const("MAX_ORBITS", MAX_ORBITS);
}

} // namespace

void RegisterGeneratorNames(const TNames &n)
{
    RegisterGeneratorMethods(n);
    RegisterGeneratorRoutines(n);
}

} // namespace kalvion::names
