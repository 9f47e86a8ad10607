// TStellarBody as scripts see it: its published properties, its methods,
// the body routines (type names, number texts, sort comparers) and the body
// constants.
#include "base/NumberFormat.h"
#include "exchange/SectorReport.h"
#include "files/ObjectStreams.h"
#include "model/BodyTextureNames.h"
#include "model/StellarBody.h"
#include "science/Orbits.h"
#include "scriptnames/HelperClasses.h"
#include "scriptnames/OwnedObjects.h"

#include <stdexcept>

namespace kalvion::names {

namespace {

using B = TStellarBody;
constexpr const char *C = "TStellarBody";

void RegisterBaseProperties(const TNames &n, const char *cls)
{
    n.PropRO(cls, "IDString", &TVexaBase::IDString);
    n.PropRO(cls, "RecordID", &TVexaBase::RecordID);
    n.PropRO(cls, "Loaded", &TVexaBase::Loaded);
}

void RegisterBodyProperties(const TNames &n)
{
    RegisterBaseProperties(n, C);
    n.Prop(C, "Modified", &TVexaBase::Modified);
    n.Prop(C, "Name", &B::Name);
    n.Prop(C, "TypeID", &B::TypeID);
    n.Prop(C, "BodyType", &B::BodyType);
    n.Prop(C, "Spectral", &B::Spectral);
    n.Prop(C, "Distance", &B::Distance);
    n.Prop(C, "Radius", &B::Radius);
    n.Prop(C, "Density", &B::Density);
    n.Prop(C, "Mass", &B::Mass);
    n.Prop(C, "Rotation", &B::Rotation);
    n.Prop(C, "Luminosity", &B::Luminosity);
    n.Prop(C, "Albedo", &B::Albedo);
    n.Prop(C, "Temp", &B::Temp);
    n.Reg.AddProperty(
        C, "TempC", TDbl(), [](void *s) { return VDbl(static_cast<B *>(s)->GetTempC()); },
        [](void *s, const TScriptValue &v) { static_cast<B *>(s)->SetTempC(v.Dbl); });
    n.Reg.AddProperty(C, "Gravity", TDbl(), [](void *s) { return VDbl(static_cast<B *>(s)->Gravity()); }, {});
    n.Prop(C, "Atmosphere", &B::Atmosphere);
    n.Prop(C, "AtmosphereNotes", &B::AtmosphereNotes);
    n.Prop(C, "Water", &B::Water);
    n.Prop(C, "Population", &B::Population);
    n.Prop(C, "ChildPopulation", &B::ChildPopulation);
    n.Prop(C, "Habitability", &B::Habitability);
    n.Prop(C, "ChildHabitability", &B::ChildHabitability);
    n.Prop(C, "BodyCount", &B::BodyCount);
    n.Prop(C, "PoliticalAffiliation", &B::PoliticalAffiliation);
    n.Prop(C, "SphereInfluence", &B::SphereInfluence);
    n.Prop(C, "SphereInfluenceColor", &B::SphereInfluenceColor);
    n.Prop(C, "SphereInfluenceSize", &B::SphereInfluenceSize);
    n.Prop(C, "Notes", &B::Notes);
    n.Prop(C, "GMNotes", &B::GMNotes);
    n.Prop(C, "Color", &B::Color);
    n.Prop(C, "LabelColor", &B::LabelColor);
    n.Prop(C, "FontStyle", &B::FontStyle);
    n.Prop(C, "DSOIntensity", &B::DSOIntensity);
    n.Prop(C, "RenderDistance", &B::RenderDistance);
    n.Prop(C, "LabelDistance", &B::LabelDistance);
    n.Prop(C, "RouteDistance", &B::RouteDistance);
    n.Prop(C, "Selected", &B::Selected);
    n.Prop(C, "Visible", &B::Visible);
    n.Prop(C, "RetrogradeOrbit", &B::RetrogradeOrbit);
    n.Prop(C, "Eccentricity", &B::Eccentricity);
    n.Prop(C, "Inclination", &B::Inclination);
    n.Prop(C, "AngleAscendingNode", &B::AngleAscendingNode);
    n.Prop(C, "AnglePeriapsis", &B::AnglePeriapsis);
    n.Prop(C, "TimeOffset", &B::TimeOffset);
    n.Prop(C, "AxialTilt", &B::AxialTilt);
    n.Prop(C, "OrbitalPlaneX", &B::OrbitalPlaneX);
    n.Prop(C, "OrbitalPlaneY", &B::OrbitalPlaneY);
    n.Prop(C, "OrbitalPlaneZ", &B::OrbitalPlaneZ);
    n.Prop(C, "OrbitColor", &B::OrbitColor);
    n.Prop(C, "X", &B::X);
    n.Prop(C, "Y", &B::Y);
    n.Prop(C, "Z", &B::Z);
    n.PropRO(C, "RasterX", &B::RasterX);
    n.PropRO(C, "RasterY", &B::RasterY);
    n.PropRO(C, "Depth", &B::Depth);
    n.Prop(C, "RandomSeed", &B::RandomSeed);
    n.Prop(C, "PreviewImageFile", &B::PreviewImageFile);
    n.Prop(C, "BlazonImageFile", &B::BlazonImageFile);
    n.Prop(C, "BlazonDisplay", &B::BlazonDisplay);
    n.Prop(C, "BlazonWrap", &B::BlazonWrap);
    n.Prop(C, "ModelFile", &B::ModelFile);
    n.Reg.AddProperty(C, "Parent", TObj(C), [n](void *s) { return n.Model(C, static_cast<B *>(s)->Parent); }, {});
}

// The stream argument of the stream methods.
TAppFileStream &Stream(const TScriptValue &v, const char *routine)
{
    return Need<TAppFileStream>(v, routine);
}

void RegisterTreeMethods(const TNames &n)
{
    n.Method<B>(C, "ChildrenCount", {}, TInt(), [](B &b, TScriptArgs &) { return VInt(b.ChildrenCount()); });
    n.Method<B>(C, "GetChild", {TInt()}, TObj(C), [n](B &b, TScriptArgs &a) { return n.Model(C, b.GetChild(I32(a[0]))); });
    n.Method<B>(C, "AddChild", {TObj(C)}, TInt(), [n](B &b, TScriptArgs &a) {
        B &child = Need<B>(a[0], "AddChild");
        for (const B *p = &b; p; p = p->Parent)
            if (p == &child)
                throw std::runtime_error("AddChild: a body cannot become its own descendant");
        return VInt(b.AddChild(TakeScriptBody(n, child, "AddChild")));
    });
    n.Method<B>(C, "InsertBefore", {TObj(C)}, TInt(), [n](B &b, TScriptArgs &a) {
        B &other = Need<B>(a[0], "InsertBefore");
        if (!b.Parent)
            throw std::runtime_error("InsertBefore: the body has no parent");
        std::unique_ptr<B> owned = TakeScriptBody(n, other, "InsertBefore");
        B *raw = owned.get();
        const int r = b.InsertBefore(owned);
        if (owned) { // not taken: back to the script
            n.Pool().Adopt(std::move(owned));
            (void)raw;
        }
        return VInt(r);
    });
    n.Method<B>(C, "FindChildIndex", {TObj(C)}, TInt(),
                [](B &b, TScriptArgs &a) { return VInt(b.FindChildIndex(Maybe<B>(a[0]))); });
    n.Method<B>(C, "HasParent", {}, TBool(), [](B &b, TScriptArgs &) { return VBool(b.HasParent()); });
    n.Method<B>(C, "GetRootBody", {}, TObj(C), [n](B &b, TScriptArgs &) { return n.Model(C, b.GetRootBody()); });
    n.Method<B>(C, "GetParentStar", {}, TObj(C), [n](B &b, TScriptArgs &) { return n.Model(C, b.GetParentStar()); });
    n.Method<B>(C, "GetParentBody", {}, TObj(C), [n](B &b, TScriptArgs &) { return n.Model(C, b.GetParentBody()); });
    n.Method<B>(C, "GetOrbitalParent", {}, TObj(C),
                [n](B &b, TScriptArgs &) { return n.Model(C, b.GetOrbitalParent()); });
    n.Method<B>(C, "GetAllChildren", {TObj("TList")}, TNone(), [n](B &b, TScriptArgs &a) {
        TScriptList &list = Need<TScriptList>(a[0], "GetAllChildren");
        TStellarBodyList all;
        b.GetAllChildren(all);
        const TScriptClassInfo *cls = n.Class(C);
        for (B *c : all)
            list.Items.push_back(TScriptObjectRef(c, cls, c->LifetimeToken()));
        return VNone();
    });
    n.Method<B>(C, "DeleteChildren", {}, TNone(), [](B &b, TScriptArgs &) {
        for (auto &c : b.Children)
            EndTreeLifetime(*c);
        b.DeleteChildren();
        return VNone();
    });
    n.Method<B>(C, "UnloadChildren", {}, TNone(), [](B &b, TScriptArgs &) {
        for (auto &c : b.Children)
            EndTreeLifetime(*c);
        b.UnloadChildren();
        return VNone();
    });
    n.Method<B>(C, "SortChildrenByDistance", {}, TNone(), [](B &b, TScriptArgs &) {
        b.SortChildrenByDistance();
        return VNone();
    });
    n.Method<B>(C, "SystemModified", {}, TBool(), [](B &b, TScriptArgs &) { return VBool(b.SystemModified()); });
    n.Method<B>(C, "ModifySystem", {}, TNone(), [](B &b, TScriptArgs &) {
        b.ModifySystem();
        return VNone();
    });
    n.Method<B>(C, "SetChildDesignations", {TStr()}, TNone(), [](B &b, TScriptArgs &a) {
        b.SetChildDesignations(a[0].Str);
        return VNone();
    });
    n.Method<B>(C, "ClearChildrenNames", {}, TNone(), [](B &b, TScriptArgs &) {
        b.ClearChildrenNames();
        return VNone();
    });
    n.Method<B>(C, "UpdateRootBody", {}, TNone(), [](B &b, TScriptArgs &) {
        b.UpdateRootBody();
        return VNone();
    });
    // FillTree: TreeNames.cpp, with the other tree fills.
}

void RegisterValueMethods(const TNames &n)
{
    auto dbl0 = [&n](const char *name, double (B::*f)() const) {
        n.Method<B>(C, name, {}, TDbl(), [f](B &b, TScriptArgs &) { return VDbl((b.*f)()); });
    };
    auto str0 = [&n](const char *name, std::string (B::*f)() const) {
        n.Method<B>(C, name, {}, TStr(), [f](B &b, TScriptArgs &) { return VStr((b.*f)()); });
    };
    auto int0 = [&n](const char *name, int (B::*f)() const) {
        n.Method<B>(C, name, {}, TInt(), [f](B &b, TScriptArgs &) { return VInt((b.*f)()); });
    };
    dbl0("GreenhouseEffectK", &B::GreenhouseEffectK);
    dbl0("GreenhouseRatio", &B::GreenhouseRatio);
    dbl0("DistanceToParentStar", &B::DistanceToParentStar);
    dbl0("DistanceFromParentStar", &B::DistanceFromParentStar);
    dbl0("GetSystemPopulation", &B::GetSystemPopulation);
    dbl0("GetChildPopulation", &B::GetChildPopulation);
    dbl0("YearLength", &B::YearLength);
    dbl0("GetHillSphere", &B::GetHillSphere);
    dbl0("GetGeostationary", &B::GetGeostationary);
    dbl0("GetFarthestChildOrbit", &B::GetFarthestChildOrbit);
    dbl0("GetSurfaceGravity", &B::GetSurfaceGravity);
    dbl0("GetTempC", &B::GetTempC);
    str0("FormatPopulation", &B::FormatPopulation);
    str0("FormatSystemPopulation", &B::FormatSystemPopulation);
    str0("FormatChildPopulation", &B::FormatChildPopulation);
    str0("FormatYearLength", &B::FormatYearLength);
    str0("GexSurfaceMapLaunchParam", &B::GexSurfaceMapLaunchParam);
    int0("GetMaxHabitability", &B::GetMaxHabitability);
    int0("GetMaxChildHabitability", &B::GetMaxChildHabitability);
    int0("GetBodyCount", &B::GetBodyCount);
    int0("GetAtmElementCount", &B::GetAtmElementCount);
    n.Method<B>(C, "SetTempC", {TDbl()}, TNone(), [](B &b, TScriptArgs &a) {
        b.SetTempC(a[0].Dbl);
        return VNone();
    });
    n.Method<B>(C, "TempAt", {TDbl(), TDbl()}, TDbl(),
                [](B &b, TScriptArgs &a) { return VDbl(b.TempAt(a[0].Dbl, a[1].Dbl)); });
    n.Method<B>(C, "GetSurfaceTempInMultSystem", {TDbl(), TDbl()}, TDbl(),
                [](B &b, TScriptArgs &a) { return VDbl(b.GetSurfaceTempInMultSystem(a[0].Dbl, a[1].Dbl)); });
    n.Method<B>(C, "SetStarMetrics", {}, TNone(), [](B &b, TScriptArgs &) {
        b.SetStarMetrics();
        return VNone();
    });
    n.Method<B>(C, "GetOrbit", {}, TObj("TOrbit"), [n](B &b, TScriptArgs &) { return n.Adopt("TOrbit", GetOrbit(b)); });
    // Atmosphere
    n.Method<B>(C, "SetAtmElement", {TStr(), TDbl()}, TNone(), [](B &b, TScriptArgs &a) {
        b.SetAtmElement(a[0].Str, a[1].Dbl);
        return VNone();
    });
    n.Method<B>(C, "GetAtmElement", {TInt()}, TStr(), [](B &b, TScriptArgs &a) { return VStr(b.GetAtmElement(I32(a[0]))); });
    n.Method<B>(C, "GetAtmElementPercent", {TInt()}, TDbl(),
                [](B &b, TScriptArgs &a) { return VDbl(b.GetAtmElementPercent(I32(a[0]))); });
    n.Method<B>(C, "GetAtmElementPercentByName", {TStr()}, TDbl(),
                [](B &b, TScriptArgs &a) { return VDbl(b.GetAtmElementPercentByName(a[0].Str)); });
    n.Method<B>(C, "ResetAtmElements", {}, TNone(), [](B &b, TScriptArgs &) {
        b.ResetAtmElements();
        return VNone();
    });
}

void RegisterOtherMethods(const TNames &n)
{
    n.Method<B>(C, "CopyTo", {TObj(C)}, TNone(), [](B &b, TScriptArgs &a) {
        B &target = Need<B>(a[0], "CopyTo");
        if (&target == &b)
            return VNone();
        for (const B *p = target.Parent; p; p = p->Parent)
            if (p == &b)
                throw std::runtime_error("CopyTo: a body cannot be copied into its own descendant");
        for (auto &c : target.Children)
            EndTreeLifetime(*c);
        b.CopyTo(target);
        return VNone();
    });
    n.Method<B>(C, "InitRenderInfo", {}, TNone(), [](B &b, TScriptArgs &) {
        b.InitRenderInfo();
        return VNone();
    });
    n.Method<B>(C, "SetSystemDataConfig", {TObj("TSystemDataConfig")}, TNone(), [](B &b, TScriptArgs &a) {
        TSystemDataConfig *c = Maybe<TSystemDataConfig>(a[0]);
        if (!c) {
            b.SetSystemDataConfig(nullptr);
            return VNone();
        }
        auto copy = std::make_unique<TSystemDataConfig>();
        copy->CopyFrom(c);
        b.SetSystemDataConfig(std::move(copy));
        return VNone();
    });
    n.Method<B>(C, "SaveToStream", {TObj("TAppFileStream"), TBool()}, TNone(), [](B &b, TScriptArgs &a) {
        SaveToStream(b, Stream(a[0], "SaveToStream"), a[1].AsBool());
        return VNone();
    });
    n.Method<B>(C, "SaveChildrenToStream", {TObj("TAppFileStream")}, TNone(), [](B &b, TScriptArgs &a) {
        SaveChildrenToStream(b, Stream(a[0], "SaveChildrenToStream"));
        return VNone();
    });
    n.Method<B>(C, "LoadFromStream", {TObj("TAppFileStream")}, TNone(), [](B &b, TScriptArgs &a) {
        for (auto &c : b.Children)
            EndTreeLifetime(*c);
        LoadFromStream(b, Stream(a[0], "LoadFromStream"));
        return VNone();
    });
    n.Method<B>(C, "LoadChildrenFromStream", {TObj("TAppFileStream")}, TNone(), [](B &b, TScriptArgs &a) {
        for (auto &c : b.Children)
            EndTreeLifetime(*c);
        LoadChildrenFromStream(b, Stream(a[0], "LoadChildrenFromStream"));
        return VNone();
    });
    n.Method<B>(C, "ExportToHTML", {TObj("TStringList")}, TNone(), [](B &b, TScriptArgs &a) {
        TScriptStrings &list = Need<TScriptStrings>(a[0], "ExportToHTML");
        AppendLines(list, ExportBodyHTML(b, nullptr, true));
        return VNone();
    });
    n.Method<B>(C, "ExportSolarSystemHTML", {}, TStr(), [](B &b, TScriptArgs &) { return VStr(ExportSolarSystemHTML(b)); });
    n.Method<B>(C, "TexturePath", {}, TStr(), [](B &b, TScriptArgs &) { return VStr(TexturePath(b)); });
    n.Method<B>(C, "TextureName", {}, TStr(), [](B &b, TScriptArgs &) { return VStr(TextureName(b)); });
    n.Method<B>(C, "TextureNameFromSpectral", {}, TStr(),
                [](B &b, TScriptArgs &) { return VStr(TextureNameFromSpectral(b.Spectral)); });
    n.Method<B>(C, "TextureExists", {}, TBool(), [](B &b, TScriptArgs &) { return VBool(TextureExists(b)); });
    n.Method<B>(C, "DefaultTextureFile", {}, TStr(), [](B &b, TScriptArgs &) { return VStr(DefaultTextureFile(b)); });
    n.Method<B>(C, "SetGexColorGroup", {TObj("TGexColorGroup")}, TNone(), [](B &b, TScriptArgs &a) {
        b.SetGexColorGroup(Need<TGexColorGroup>(a[0], "SetGexColorGroup"));
        return VNone();
    });
    n.Method<B>(C, "GetGexColorGroup", {}, TObj("TGexColorGroup"), [n](B &b, TScriptArgs &) {
        return n.Tracked("TGexColorGroup", b.GetGexColorGroup(), b.LifetimeToken());
    });
    // Fields
    RegisterFieldMethods(n, C);
}

void RegisterBodyRoutines(const TNames &n)
{
    n.Routine("GetBodyTypeList", {TObj("TStringList")}, TNone(), [](TScriptArgs &a) {
        std::vector<std::string> list;
        GetBodyTypeList(list);
        for (auto &s : list)
            Need<TScriptStrings>(a[0], "GetBodyTypeList").Items.push_back(std::move(s));
        return VNone();
    });
    n.Routine("NameFromBodyType", {TInt()}, TStr(), [](TScriptArgs &a) { return VStr(NameFromBodyType(I32(a[0]))); });
    n.Routine("BodyTypeFromText", {TStr()}, TInt(), [](TScriptArgs &a) { return VInt(BodyTypeFromText(a[0].Str)); });
    n.Routine("BodyTypeFromSearchText", {TStr()}, TInt(),
              [](TScriptArgs &a) { return VInt(BodyTypeFromSearchText(a[0].Str)); });
    n.Routine("SearchTextFromBodyType", {TStr()}, TStr(),
              [](TScriptArgs &a) { return VStr(SearchTextFromBodyType(a[0].Str)); });
    n.Routine("HabitNameFromHabitCode", {TInt()}, TStr(),
              [](TScriptArgs &a) { return VStr(HabitNameFromHabitCode(I32(a[0]))); });
    n.Routine("VexaFloatStr", {TDbl()}, TStr(), [](TScriptArgs &a) { return VStr(VexaFloatStr(a[0].Dbl)); });
    n.Routine("VexaFloatStrRead", {TDbl()}, TStr(), [](TScriptArgs &a) { return VStr(VexaFloatStrRead(a[0].Dbl)); });
    using TCompare = int (*)(const B *, const B *);
    auto sorter = [&n](const char *name, TCompare f) {
        n.Routine(name, {TPtrTo("TStellarBody"), TPtrTo("TStellarBody")}, TInt(), [n, f, name](TScriptArgs &a) {
            const B *x = MaybeOf<B>(n, a[0], "TStellarBody"), *y = MaybeOf<B>(n, a[1], "TStellarBody");
            if (!x || !y)
                throw std::runtime_error(std::string(name) + ": sort comparers take two bodies");
            return VInt(f(x, y));
        });
    };
    sorter("SortOnDistance", &SortOnDistance);
    sorter("SortOnName", &SortOnName);
    sorter("SortOnSystemName", &SortOnSystemName);
    sorter("SortOnType", &SortOnType);
    sorter("SortOnPopulation", &SortOnPopulation);
    sorter("SortOnHabitability", &SortOnHabitability);
    sorter("SortOnPolitical", &SortOnPolitical);
}

void RegisterBodyConstants(const TNames &n)
{
    n.Const("BODY_TYPE_ANY", BODY_TYPE_ANY);
    n.Const("BODY_TYPE_NOTASSIGNED", BODY_TYPE_NOTASSIGNED);
    n.Const("BODY_TYPE_STAR", BODY_TYPE_STAR);
    n.Const("BODY_TYPE_MULT", BODY_TYPE_MULT);
    n.Const("BODY_TYPE_BLACKHOLE", BODY_TYPE_BLACKHOLE);
    n.Const("BODY_TYPE_STATION", BODY_TYPE_STATION);
    n.Const("BODY_TYPE_FREEOBJECT", BODY_TYPE_FREEOBJECT);
    n.Const("BODY_TYPE_NEUTRON", BODY_TYPE_NEUTRON);
    n.Const("BODY_TYPE_NEBULA", BODY_TYPE_NEBULA);
    n.Const("BODY_TYPE_WHITEDWARF", BODY_TYPE_WHITEDWARF);
    n.Const("BODY_TYPE_REDGIANT", BODY_TYPE_REDGIANT);
    n.Const("BODY_TYPE_BLUEGIANT", BODY_TYPE_BLUEGIANT);
    n.Const("BODY_TYPE_BROWNDWARF", BODY_TYPE_BROWNDWARF);
    n.Const("BODY_TYPE_CLOSEMULT", BODY_TYPE_CLOSEMULT);
    n.Const("BODY_TYPE_DSO", BODY_TYPE_DSO);
    n.Const("BODY_TYPE_TERRESTRIAL", BODY_TYPE_TERRESTRIAL);
    n.Const("BODY_TYPE_GASGIANT", BODY_TYPE_GASGIANT);
    n.Const("BODY_TYPE_ASTEROIDBELT", BODY_TYPE_ASTEROIDBELT);
    n.Const("BODY_TYPE_PLANETOID", BODY_TYPE_PLANETOID);
    n.Const("BODY_TYPE_RING", BODY_TYPE_RING);
    n.Const("BODY_TYPE_PLANETSYSTEM", BODY_TYPE_PLANETSYSTEM);
    n.Const("BODY_TYPE_SMALLBODY", BODY_TYPE_SMALLBODY);
    n.Const("BODY_TYPE_MEGASTRUCTURE", BODY_TYPE_MEGASTRUCTURE);
    n.Const("BODY_TYPE_FLEET", BODY_TYPE_FLEET);
    n.Const("BODY_TYPE_SHIP", BODY_TYPE_SHIP);
    n.Const("BODY_TYPE_MARKER", BODY_TYPE_MARKER);
    n.Const("BODY_TYPE_MAX", BODY_TYPE_MAX);
    n.ConstS("VEXA_FLOAT_FMT", VEXA_FLOAT_FMT);
    n.ConstS("VEXA_FLOAT_FMT_READ", VEXA_FLOAT_FMT_READ);
    n.Const("HAB_INHOSPITABLE", HAB_INHOSPITABLE);
    n.Const("HAB_HABITABLE", HAB_HABITABLE);
    n.Const("HAB_HOSPITABLE", HAB_HOSPITABLE);
    n.Const("SPHERE_INFLUENCE_NONE", SPHERE_INFLUENCE_NONE);
    n.Const("SPHERE_INFLUENCE_SPHERE", SPHERE_INFLUENCE_SPHERE);
    n.Const("SPHERE_INFLUENCE_CUBE", SPHERE_INFLUENCE_CUBE);
    n.Const("LABEL_FONTSTYLE_COUNT", LABEL_FONTSTYLE_COUNT);
    n.Const("LABEL_FONT_NORMAL", LABEL_FONT_NORMAL);
    n.Const("LABEL_FONT_BOLD", LABEL_FONT_BOLD);
    n.Const("LABEL_FONT_UNDERLINE", LABEL_FONT_UNDERLINE);
    n.Const("LABEL_FONT_BOLDUNDERLINE", LABEL_FONT_BOLDUNDERLINE);
    n.ConstD("BLACK_HOLE_MASS", BLACK_HOLE_MASS);
    n.Const("SURFACEMAP_DEFAULT_WIDTH", SURFACEMAP_DEFAULT_WIDTH);
    n.Const("SURFACEMAP_DEFAULT_HEIGHT", SURFACEMAP_DEFAULT_HEIGHT);
    n.ConstS("SYSTEMTREE_POLITICAL", SYSTEMTREE_POLITICAL);
    n.ConstS("SYSTEM_LABEL_UNNAMED", SYSTEM_LABEL_UNNAMED);
    n.ConstS("SYSTEM_LABEL_UNNAMED_C", SYSTEM_LABEL_UNNAMED_C);
    n.ConstS("VEXA_DEFAULT_NAME_TABLE", VEXA_DEFAULT_NAME_TABLE);
}

} // namespace

void RegisterBodyNames(const TNames &n)
{
    n.Reg.AddConstructor(C, [n]() {
        TScriptValue v = n.Adopt(C, TStellarBody::Create());
        return v.Obj;
    });
    RegisterBodyProperties(n);
    RegisterTreeMethods(n);
    RegisterValueMethods(n);
    RegisterOtherMethods(n);
    RegisterBodyRoutines(n);
    RegisterBodyConstants(n);
}

} // namespace kalvion::names
