// TVexaSector, second half: systems, selection, routes, subsectors, views,
// political and route-type lists, image resources, camera moves and counts.
#include "files/LegacySectorFiles.h"
#include "model/StellarRoute.h"
#include "model/Subsector.h"
#include "model/VexaSector.h"
#include "scriptnames/OwnedObjects.h"
#include "scriptnames/SectorNamesInternal.h"
#include "travel/ProximityRoutes.h"

#include <stdexcept>
#include <utility>
#include <vector>

namespace kalvion::names {

namespace {

using S = TVexaSector;
using Body = TStellarBody;
constexpr const char *C = "TVexaSector";
constexpr const char *BC = "TStellarBody";

// Record files kept open for the sectors read from them.
std::vector<std::pair<std::weak_ptr<void>, std::unique_ptr<TLegacyRecordFile>>> &LegacyFiles()
{
    static std::vector<std::pair<std::weak_ptr<void>, std::unique_ptr<TLegacyRecordFile>>> files;
    return files;
}

Body *Root(S &s, const TScriptValue &v, const char *routine)
{
    Body &b = Need<Body>(v, routine);
    if (s.IndexOfSystem(&b) < 0)
        throw std::runtime_error(std::string(routine) + ": the body is not a system of this sector");
    return &b;
}

void RegisterSystemMethods(const TNames &n)
{
    n.Method<S>(C, "SystemCount", {}, TInt(), [](S &s, TScriptArgs &) { return VInt(s.SystemCount()); });
    n.Method<S>(C, "GetSystem", {TInt()}, TObj(BC), [n](S &s, TScriptArgs &a) { return n.Model(BC, s.GetSystem(I32(a[0]))); });
    n.Method<S>(C, "AddSystem", {TObj(BC)}, TInt(), [n](S &s, TScriptArgs &a) {
        Body &b = Need<Body>(a[0], "AddSystem");
        return VInt(s.AddSystem(TakeScriptBody(n, b, "AddSystem")));
    });
    n.Method<S>(C, "NewSystem", {TInt()}, TObj(BC), [n](S &s, TScriptArgs &a) { return n.Model(BC, s.NewSystem(I32(a[0]))); });
    n.Method<S>(C, "DeleteRootBody", {TObj(BC)}, TNone(), [](S &s, TScriptArgs &a) {
        Body *root = Root(s, a[0], "DeleteRootBody");
        EndTreeLifetime(*root);
        s.DeleteRootBody(root);
        return VNone();
    });
    n.Method<S>(C, "DeleteSelectedSystems", {}, TNone(), [](S &s, TScriptArgs &) {
        for (Body *b : s.Selection)
            EndTreeLifetime(*b);
        s.DeleteSelectedSystems();
        return VNone();
    });
    n.Method<S>(C, "ReassignChild", {TObj(BC), TObj(BC)}, TNone(), [](S &s, TScriptArgs &a) {
        Body &body = Need<Body>(a[0], "ReassignChild");
        Body &parent = Need<Body>(a[1], "ReassignChild");
        if (!body.Parent)
            throw std::runtime_error("ReassignChild: the body has no parent");
        // Both stay in this sector: a body moved under one the script made
        // would be freed with it when the run ends.
        if (!InSectorTree(s, body) || !InSectorTree(s, parent))
            throw std::runtime_error("ReassignChild: both bodies must be in this sector");
        for (const Body *p = &parent; p; p = p->Parent)
            if (p == &body)
                throw std::runtime_error("ReassignChild: a body cannot become its own descendant");
        s.ReassignChild(&body, &parent);
        return VNone();
    });
    n.Method<S>(C, "FindRootBodyById", {TStr()}, TObj(BC),
                [n](S &s, TScriptArgs &a) { return n.Model(BC, s.FindRootBodyById(a[0].Str)); });
    // The list argument is the program's sorted index; a script's list of
    // texts carries no systems, so the sector's own lookup answers.
    n.Method<S>(C, "FastFindRootBodyByID", {TStr(), TObj("TStringList")}, TObj(BC),
                [n](S &s, TScriptArgs &a) { return n.Model(BC, s.FindRootBodyById(a[0].Str)); });
    n.Method<S>(C, "FindRootBodyByName", {TStr()}, TObj(BC),
                [n](S &s, TScriptArgs &a) { return n.Model(BC, s.FindRootBodyByName(a[0].Str)); });
    n.Method<S>(C, "UpdateRootAttribs", {}, TNone(), [](S &s, TScriptArgs &) {
        s.UpdateRootAttribs();
        return VNone();
    });
    n.Method<S>(C, "UpdateVisibleCount", {}, TNone(), [](S &s, TScriptArgs &) {
        s.UpdateVisibleCount();
        return VNone();
    });
    n.Method<S>(C, "GetSectorPopulation", {}, TDbl(), [](S &s, TScriptArgs &) { return VDbl(s.GetSectorPopulation()); });
    n.Method<S>(C, "GetSectorBodyCount", {}, TDbl(), [](S &s, TScriptArgs &) { return VDbl(s.GetSectorBodyCount()); });
    n.Method<S>(C, "DistanceString", {TDbl(), TBool()}, TStr(),
                [](S &s, TScriptArgs &a) { return VStr(s.DistanceString(a[0].Dbl, a[1].AsBool())); });
    n.Method<S>(C, "DistanceInUnits", {TDbl()}, TDbl(), [](S &s, TScriptArgs &a) { return VDbl(s.DistanceInUnits(a[0].Dbl)); });
    n.Method<S>(C, "SetFilters", {}, TNone(), [](S &s, TScriptArgs &) {
        s.SetFilters();
        return VNone();
    });
    n.Method<S>(C, "ShowAll", {}, TNone(), [](S &s, TScriptArgs &) {
        s.ShowAll();
        return VNone();
    });
}

void RegisterSelectionMethods(const TNames &n)
{
    n.Method<S>(C, "BodyAtXY", {TInt(), TInt()}, TObj(BC),
                [n](S &s, TScriptArgs &a) { return n.Model(BC, s.BodyAtXY(I32(a[0]), I32(a[1]))); });
    n.Method<S>(C, "SelectBodies", {TInt(), TInt(), TBool()}, TInt(),
                [](S &s, TScriptArgs &a) { return VInt(s.SelectBodies(I32(a[0]), I32(a[1]), a[2].AsBool())); });
    n.Method<S>(C, "SelectAll", {TBool()}, TNone(), [](S &s, TScriptArgs &a) {
        s.SelectAll(a[0].AsBool());
        return VNone();
    });
    n.Method<S>(C, "SelectBody", {TObj(BC)}, TNone(), [](S &s, TScriptArgs &a) {
        s.SelectBody(Root(s, a[0], "SelectBody"));
        return VNone();
    });
    n.Method<S>(C, "SelectAllHabitable", {TInt()}, TNone(), [](S &s, TScriptArgs &a) {
        s.SelectAllHabitable(I32(a[0]));
        return VNone();
    });
    n.Method<S>(C, "SelectedCount", {}, TInt(), [](S &s, TScriptArgs &) { return VInt(s.SelectedCount()); });
    n.Method<S>(C, "GetSelected", {TInt()}, TObj(BC), [n](S &s, TScriptArgs &a) { return n.Model(BC, s.GetSelected(I32(a[0]))); });
    // FillTreeSelected, FillTreeShort: TreeNames.cpp, with the script's trees.
    n.Method<S>(C, "SetPoliticalSelected", {TStr()}, TNone(), [](S &s, TScriptArgs &a) {
        s.SetPoliticalSelected(a[0].Str);
        return VNone();
    });
    n.Method<S>(C, "SetDisplayStyleSelected", {TInt(), TInt(), TBool(), TBool()}, TNone(), [](S &s, TScriptArgs &a) {
        s.SetDisplayStyleSelected(static_cast<TColor>(a[0].Int), static_cast<TColor>(a[1].Int), a[2].AsBool(),
                                  a[3].AsBool());
        return VNone();
    });
    n.Method<S>(C, "SetSphereStyleSelected", {TInt(), TInt(), TDbl()}, TNone(), [](S &s, TScriptArgs &a) {
        s.SetSphereStyleSelected(I32(a[0]), static_cast<TColor>(a[1].Int), a[2].Dbl);
        return VNone();
    });
    n.Method<S>(C, "ChangeBodyTypeSelected", {TInt()}, TNone(), [](S &s, TScriptArgs &a) {
        s.ChangeBodyTypeSelected(I32(a[0]));
        return VNone();
    });
    n.Method<S>(C, "SetLabelDistanceSelected", {TDbl(), TDbl()}, TNone(), [](S &s, TScriptArgs &a) {
        s.SetLabelDistanceSelected(a[0].Dbl, a[1].Dbl);
        return VNone();
    });
    n.Method<S>(C, "MoveSelected", {TDbl(), TDbl(), TDbl()}, TNone(), [](S &s, TScriptArgs &a) {
        s.MoveSelected(a[0].Dbl, a[1].Dbl, a[2].Dbl);
        return VNone();
    });
    n.Method<S>(C, "AdjustSelectedDistanceToCamera", {TDbl()}, TNone(), [](S &s, TScriptArgs &a) {
        s.AdjustSelectedDistanceToCamera(a[0].Dbl);
        return VNone();
    });
    n.Method<S>(C, "RotateSelectedAroundCamera", {TDbl(), TDbl(), TDbl()}, TNone(), [](S &s, TScriptArgs &a) {
        s.RotateSelectedAroundCamera(a[0].Dbl, a[1].Dbl, a[2].Dbl);
        return VNone();
    });
    n.Method<S>(C, "GetAllOnRoutesWithSelected", {TObj("TList")}, TNone(), [n](S &s, TScriptArgs &a) {
        TScriptList &list = Need<TScriptList>(a[0], "GetAllOnRoutesWithSelected");
        TStellarBodyList found;
        s.GetAllOnRoutesWithSelected(found);
        const TScriptClassInfo *cls = n.Class(BC);
        for (Body *b : found)
            list.Items.push_back(TScriptObjectRef(b, cls, b->LifetimeToken()));
        return VNone();
    });
}

void RegisterListMethods(const TNames &n)
{
    n.Method<S>(C, "BuildPoliticalList", {TBool()}, TNone(), [](S &s, TScriptArgs &a) {
        s.BuildPoliticalList(a[0].AsBool());
        return VNone();
    });
    n.Method<S>(C, "UpdatePoliticalFrom", {TObj(BC)}, TNone(), [](S &s, TScriptArgs &a) {
        s.UpdatePoliticalFrom(Need<Body>(a[0], "UpdatePoliticalFrom"));
        return VNone();
    });
    n.Method<S>(C, "FindPolitical", {TStr()}, TInt(), [](S &s, TScriptArgs &a) { return VInt(s.FindPolitical(a[0].Str)); });
    n.Method<S>(C, "AddPolitical", {TStr()}, TInt(), [](S &s, TScriptArgs &a) { return VInt(s.AddPolitical(a[0].Str)); });
    n.Method<S>(C, "BuildRouteTypeList", {TBool()}, TNone(), [](S &s, TScriptArgs &a) {
        s.BuildRouteTypeList(a[0].AsBool());
        return VNone();
    });
    n.Method<S>(C, "FindRouteType", {TStr()}, TInt(), [](S &s, TScriptArgs &a) { return VInt(s.FindRouteType(a[0].Str)); });
    n.Method<S>(C, "AddRouteType", {TStr()}, TInt(), [](S &s, TScriptArgs &a) { return VInt(s.AddRouteType(a[0].Str)); });
    n.Method<S>(C, "DeleteRouteType", {TStr()}, TNone(), [](S &s, TScriptArgs &a) {
        s.DeleteRouteType(a[0].Str);
        return VNone();
    });
    // Views
    n.Method<S>(C, "FindView", {TStr()}, TInt(), [](S &s, TScriptArgs &a) { return VInt(s.FindView(a[0].Str)); });
    n.Method<S>(C, "AddCurrentViewAsView", {TStr()}, TNone(), [](S &s, TScriptArgs &a) {
        s.AddCurrentViewAsView(a[0].Str);
        return VNone();
    });
    n.Method<S>(C, "LoadView", {TStr()}, TNone(), [](S &s, TScriptArgs &a) {
        s.LoadView(a[0].Str);
        return VNone();
    });
    n.Method<S>(C, "DeleteView", {TStr()}, TNone(), [](S &s, TScriptArgs &a) {
        const int i = s.FindView(a[0].Str);
        if (i >= 0)
            s.Views[static_cast<std::size_t>(i)]->EndLifetime();
        s.DeleteView(a[0].Str);
        return VNone();
    });
    n.Method<S>(C, "ViewsToList", {TObj("TStringList")}, TNone(), [](S &s, TScriptArgs &a) {
        s.ViewsToList(NeedStrings(a[0], "ViewsToList").Items);
        return VNone();
    });
}

void RegisterRouteAndSubsectorMethods(const TNames &n)
{
    constexpr const char *RC = "TStellarRoute";
    constexpr const char *SC = "TVexaSubsector";
    n.Method<S>(C, "AddRoute", {TObj(RC)}, TInt(), [n](S &s, TScriptArgs &a) {
        TStellarRoute &route = Need<TStellarRoute>(a[0], "AddRoute");
        if (n.Pool().Owns(&route))
            CheckRouteForSector(route, s, "AddRoute");
        auto owned = n.Pool().Release(&route);
        if (!owned)
            throw std::runtime_error("AddRoute: the route already belongs to a sector");
        return VInt(s.AddRoute(std::move(owned)));
    });
    n.Method<S>(C, "RouteCount", {}, TInt(), [](S &s, TScriptArgs &) { return VInt(s.RouteCount()); });
    n.Method<S>(C, "GetRoute", {TInt()}, TObj(RC), [n](S &s, TScriptArgs &a) { return n.Model(RC, s.GetRoute(I32(a[0]))); });
    n.Method<S>(C, "DeleteRoute", {TInt()}, TNone(), [](S &s, TScriptArgs &a) {
        if (TStellarRoute *r = s.GetRoute(I32(a[0])))
            r->EndLifetime();
        s.DeleteRoute(I32(a[0]));
        return VNone();
    });
    n.Method<S>(C, "RoutesSelected", {}, TBool(), [](S &s, TScriptArgs &) { return VBool(s.RoutesSelected()); });
    n.Method<S>(C, "DeleteSelectedRoutes", {}, TNone(), [](S &s, TScriptArgs &) {
        for (auto &r : s.Routes)
            if (r->Selected)
                r->EndLifetime();
        s.DeleteSelectedRoutes();
        return VNone();
    });
    // (route type, name, red, green, blue, line style, line width); colour channels 0 to 1.
    n.Method<S>(C, "CreateRouteSelected", {TStr(), TStr(), TDbl(), TDbl(), TDbl(), TInt(), TDbl()}, TNone(),
                [](S &s, TScriptArgs &a) {
                    s.CreateRouteSelected(a[0].Str, a[1].Str, a[2].Dbl, a[3].Dbl, a[4].Dbl, I32(a[5]), a[6].Dbl);
                    return VNone();
                });
    // (style, minimum, maximum, routes per system, route type, label, colour,
    // random colour, line style, line width).  Refused when the routes asked
    // for would not fit in memory.
    n.Method<S>(C, "CreateProximityRoutes",
                {TInt(), TDbl(), TDbl(), TDbl(), TStr(), TStr(), TInt(), TBool(), TInt(), TDbl()}, TNone(),
                [](S &s, TScriptArgs &a) {
                    TProximityRouteOptions o;
                    o.Style = I32(a[0]);
                    o.MinLength = a[1].Dbl;
                    o.MaxLength = a[2].Dbl;
                    o.MaxRoutes = a[3].Dbl;
                    o.RouteType = a[4].Str;
                    o.Label = a[5].Str;
                    o.Color = static_cast<TColor>(a[6].Int);
                    o.RandomColor = a[7].AsBool();
                    o.LineStyle = I32(a[8]);
                    o.LineWidth = a[9].Dbl;
                    const std::string refusal = CheckProximityRoutes(s, o);
                    if (!refusal.empty())
                        throw std::runtime_error("CreateProximityRoutes: " + refusal);
                    CreateProximityRoutes(s, o);
                    return VNone();
                });
    n.Method<S>(C, "CreateRouteSegment", {TObj(BC), TObj(BC), TStr(), TStr(), TInt(), TInt(), TDbl()}, TNone(),
                [](S &s, TScriptArgs &a) {
                    s.CreateRouteSegment(Root(s, a[0], "CreateRouteSegment"), Root(s, a[1], "CreateRouteSegment"),
                                         a[2].Str, a[3].Str, static_cast<TColor>(a[4].Int), I32(a[5]), a[6].Dbl);
                    return VNone();
                });
    n.Method<S>(C, "DeleteSystemFromRoutes", {TObj(BC)}, TNone(), [](S &s, TScriptArgs &a) {
        s.DeleteSystemFromRoutes(&Need<Body>(a[0], "DeleteSystemFromRoutes"));
        return VNone();
    });
    n.Method<S>(C, "UpdateRoutes", {}, TNone(), [](S &s, TScriptArgs &) {
        s.UpdateRoutes();
        return VNone();
    });
    n.Method<S>(C, "UpdateRouteBodies", {}, TNone(), [](S &s, TScriptArgs &) {
        s.UpdateRouteBodies();
        return VNone();
    });
    n.Method<S>(C, "UpdateRoutesSelected", {}, TNone(), [](S &s, TScriptArgs &) {
        s.UpdateRoutesSelected();
        return VNone();
    });
    n.Method<S>(C, "UpdateRoutesForBody", {TObj(BC)}, TNone(), [](S &s, TScriptArgs &a) {
        s.UpdateRoutesForBody(&Need<Body>(a[0], "UpdateRoutesForBody"));
        return VNone();
    });
    // Subsectors
    n.Method<S>(C, "AddSubsector", {TObj(SC)}, TInt(), [n](S &s, TScriptArgs &a) {
        auto owned = n.Pool().Release(&Need<TVexaSubsector>(a[0], "AddSubsector"));
        if (!owned)
            throw std::runtime_error("AddSubsector: the subsector already belongs to a sector");
        return VInt(s.AddSubsector(std::move(owned)));
    });
    n.Method<S>(C, "SubsectorCount", {}, TInt(), [](S &s, TScriptArgs &) { return VInt(s.SubsectorCount()); });
    n.Method<S>(C, "GetSubsector", {TInt()}, TObj(SC),
                [n](S &s, TScriptArgs &a) { return n.Model(SC, s.GetSubsector(I32(a[0]))); });
    n.Method<S>(C, "GetSubsectorIndexByName", {TStr()}, TInt(),
                [](S &s, TScriptArgs &a) { return VInt(s.GetSubsectorIndexByName(a[0].Str)); });
    n.Method<S>(C, "DeleteSubsector", {TInt()}, TNone(), [](S &s, TScriptArgs &a) {
        if (TVexaSubsector *sub = s.GetSubsector(I32(a[0])))
            sub->EndLifetime();
        s.DeleteSubsector(I32(a[0]));
        return VNone();
    });
    n.Method<S>(C, "ChangeSubsectorName", {TObj(SC), TStr()}, TNone(), [](S &s, TScriptArgs &a) {
        s.ChangeSubsectorName(&Need<TVexaSubsector>(a[0], "ChangeSubsectorName"), a[1].Str);
        return VNone();
    });
}

void RegisterCameraMethods(const TNames &n)
{
    auto none0 = [&n](const char *name, void (S::*f)()) {
        n.Method<S>(C, name, {}, TNone(), [f](S &s, TScriptArgs &) {
            (s.*f)();
            return VNone();
        });
    };
    auto steps = [&n](const char *name, void (S::*f)(int, int)) {
        n.Method<S>(C, name, {TInt(), TInt()}, TNone(), [f](S &s, TScriptArgs &a) {
            (s.*f)(I32(a[0]), I32(a[1]));
            return VNone();
        });
    };
    auto dbl1 = [&n](const char *name, void (S::*f)(double)) {
        n.Method<S>(C, name, {TDbl()}, TNone(), [f](S &s, TScriptArgs &a) {
            (s.*f)(a[0].Dbl);
            return VNone();
        });
    };
    none0("ResetCamera", &S::ResetCamera);
    none0("RestoreDefaultOrigins", &S::RestoreDefaultOrigins);
    none0("SetOriginsFromCurrentView", &S::SetOriginsFromCurrentView);
    none0("CenterOnOrigin", &S::CenterOnOrigin);
    none0("CenterCameraOnSelected", &S::CenterCameraOnSelected);
    none0("TourGuide", &S::TourGuide);
    steps("PanCameraToOrigin", &S::PanCameraToOrigin);
    steps("PanCameraToSelected", &S::PanCameraToSelected);
    steps("SlideCameraToSelected", &S::SlideCameraToSelected);
    steps("ComboSlideReset", &S::ComboSlideReset);
    steps("ComboSlideToSelected", &S::ComboSlideToSelected);
    dbl1("AdjustDistanceToTarget", &S::AdjustDistanceToTarget);
    dbl1("AdjustElevation", &S::AdjustElevation);
    dbl1("AdjustCameraLatitude", &S::AdjustCameraLatitude);
    dbl1("SetCameraDistance", &S::SetCameraDistance);
    n.Method<S>(C, "RotateCameraAroundTarget", {TDbl(), TDbl(), TDbl()}, TNone(), [](S &s, TScriptArgs &a) {
        s.RotateCameraAroundTarget(a[0].Dbl, a[1].Dbl, a[2].Dbl);
        return VNone();
    });
    n.Method<S>(C, "PanCameraToBody", {TObj(BC), TInt(), TInt()}, TNone(), [](S &s, TScriptArgs &a) {
        s.PanCameraToBody(&Need<Body>(a[0], "PanCameraToBody"), I32(a[1]), I32(a[2]));
        return VNone();
    });
}

void RegisterResourceMethods(const TNames &n)
{
    auto stream = [n](std::optional<TByteStream> bytes) {
        if (!bytes)
            return TScriptValue::FromObject({});
        return n.Adopt("TMemoryStream", std::make_unique<TByteStream>(std::move(*bytes)));
    };
    n.Method<S>(C, "GetResourceImageStream", {TStr()}, TObj("TMemoryStream"),
                [stream](S &s, TScriptArgs &a) { return stream(s.GetResourceImageStream(a[0].Str)); });
    n.Method<S>(C, "GetPreviewImageStream", {TObj(BC)}, TObj("TMemoryStream"), [stream](S &s, TScriptArgs &a) {
        return stream(s.GetPreviewImageStream(&Need<Body>(a[0], "GetPreviewImageStream")));
    });
    n.Method<S>(C, "SetPreviewImage", {TObj(BC), TStr()}, TNone(), [](S &s, TScriptArgs &a) {
        s.SetPreviewImage(&Need<Body>(a[0], "SetPreviewImage"), a[1].Str);
        return VNone();
    });
    n.Method<S>(C, "SetBlazonImage", {TObj(BC), TStr()}, TNone(), [](S &s, TScriptArgs &a) {
        s.SetBlazonImage(&Need<Body>(a[0], "SetBlazonImage"), a[1].Str);
        return VNone();
    });
    n.Method<S>(C, "SetBlazonSelected", {TBool(), TBool(), TStr()}, TNone(), [](S &s, TScriptArgs &a) {
        s.SetBlazonSelected(a[0].AsBool(), a[1].AsBool(), a[2].Str);
        return VNone();
    });
    n.Method<S>(C, "SaveResourceToFile", {TStr(), TStr()}, TBool(),
                [](S &s, TScriptArgs &a) { return VBool(s.SaveResourceToFile(a[0].Str, a[1].Str)); });
    n.Method<S>(C, "AddResourceFile", {TStr()}, TBool(), [](S &s, TScriptArgs &a) {
        const int before = s.ResourceCount();
        s.AddResourceFile(a[0].Str);
        return VBool(s.ResourceCount() > before || s.FindResource(a[0].Str) >= 0);
    });
    n.Method<S>(C, "SaveResourceByIndex", {TInt(), TStr()}, TBool(),
                [](S &s, TScriptArgs &a) { return VBool(s.SaveResourceByIndex(I32(a[0]), a[1].Str)); });
    n.Method<S>(C, "ResourceCount", {}, TInt(), [](S &s, TScriptArgs &) { return VInt(s.ResourceCount()); });
    n.Method<S>(C, "FindResource", {TStr()}, TInt(), [](S &s, TScriptArgs &a) { return VInt(s.FindResource(a[0].Str)); });
    n.Method<S>(C, "GetResourceName", {TInt()}, TStr(), [](S &s, TScriptArgs &a) { return VStr(s.GetResourceName(I32(a[0]))); });
    n.Method<S>(C, "SetDefaultSystemDataConfig", {TObj("TSystemDataConfigHolder")}, TNone(), [](S &s, TScriptArgs &a) {
        s.SystemDataDefaults.CopyFrom(Need<TSystemDataConfigHolder>(a[0], "SetDefaultSystemDataConfig"));
        return VNone();
    });
    n.Method<S>(C, "GetSystemDataConfigHolder", {}, TObj("TSystemDataConfigHolder"), [n](S &s, TScriptArgs &) {
        return n.Tracked("TSystemDataConfigHolder", s.GetSystemDataConfigHolder(), s.LifetimeToken());
    });
    n.Reg.AddProperty("TMemoryStream", "Size", TInt(),
                      [](void *p) { return VInt(static_cast<std::int64_t>(static_cast<TByteStream *>(p)->size())); }, {});
}

} // namespace

void EndDeletedLifetimes(TVexaSector &sector)
{
    for (auto &o : sector.DeletedObjects) {
        if (auto *b = dynamic_cast<Body *>(o.get()))
            EndTreeLifetime(*b);
        else
            o->EndLifetime();
    }
}

void KeepLegacyFile(TVexaSector &sector, std::unique_ptr<TLegacyRecordFile> file)
{
    auto &files = LegacyFiles();
    const auto mine = sector.LifetimeToken().lock();
    std::erase_if(files, [&](auto &e) {
        if (e.first.expired())
            return true;
        if (e.first.lock() != mine)
            return false;
        // The sector's earlier record file goes: it must not keep reading it.
        if (sector.Store == e.second.get())
            sector.Store = nullptr;
        return true;
    });
    if (!file)
        return;
    sector.Store = file.get();
    files.emplace_back(sector.LifetimeToken(), std::move(file));
}

TLegacyRecordFile *LegacyFileOf(TVexaSector &sector)
{
    const auto token = sector.LifetimeToken().lock();
    for (auto &e : LegacyFiles())
        if (e.first.lock() == token)
            return e.second.get();
    return nullptr;
}

void RegisterSectorContentNames(const TNames &n)
{
    RegisterSystemMethods(n);
    RegisterSelectionMethods(n);
    RegisterListMethods(n);
    RegisterRouteAndSubsectorMethods(n);
    RegisterCameraMethods(n);
    RegisterResourceMethods(n);
}

} // namespace kalvion::names
