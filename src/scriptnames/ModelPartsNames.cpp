// Routes and waypoints, subsectors, display-field configurations, saved
// views, image resources and terrain colour groups.
#include "files/ObjectStreams.h"
#include "model/GexColorGroup.h"
#include "model/ImageResources.h"
#include "model/StellarBody.h"
#include "model/StellarRoute.h"
#include "model/Subsector.h"
#include "model/SystemDataConfig.h"
#include "model/VexaView.h"
#include "scriptnames/HelperClasses.h"
#include "scriptnames/OwnedObjects.h"

#include <stdexcept>

namespace kalvion::names {

namespace {

TAppFileStream &Stream(const TScriptValue &v, const char *routine)
{
    return Need<TAppFileStream>(v, routine);
}

// Stream methods of a class whose stream form is SaveToStream/LoadFromStream(obj, stream).
template <class T>
void StreamMethods(const TNames &n, const char *cls)
{
    n.Method<T>(cls, "SaveToStream", {TObj("TAppFileStream")}, TNone(), [](T &o, TScriptArgs &a) {
        SaveToStream(o, Stream(a[0], "SaveToStream"));
        return VNone();
    });
    n.Method<T>(cls, "LoadFromStream", {TObj("TAppFileStream")}, TNone(), [](T &o, TScriptArgs &a) {
        LoadFromStream(o, Stream(a[0], "LoadFromStream"));
        return VNone();
    });
}

// Destroy: frees an object the script owns, like FreeObject.
void DestroyMethod(const TNames &n, const char *cls, const char *name)
{
    n.Reg.AddMethod(cls, name, {}, TNone(), [n, name](void *self, TScriptArgs &) {
        if (!n.Pool().Free(self))
            throw std::runtime_error(std::string(name) + ": the object belongs to the program and cannot be freed");
        return VNone();
    });
}

void RegisterRoutes(const TNames &n)
{
    using R = TStellarRoute;
    constexpr const char *C = "TStellarRoute";
    constexpr const char *WC = "TRouteWaypoint";
    n.Reg.AddConstructor(C, [n] { return n.Adopt(C, R::Create()).Obj; });
    DestroyMethod(n, C, "Destroy");
    n.Method<R>(C, "CopyTo", {TObj(C), TBool()}, TNone(), [](R &r, TScriptArgs &a) {
        R &t = Need<R>(a[0], "CopyTo");
        if (&t != &r)
            r.CopyTo(t, a[1].AsBool());
        return VNone();
    });
    StreamMethods<R>(n, C);
    n.Method<R>(C, "AddSystem", {TObj("TStellarBody")}, TNone(), [n](R &r, TScriptArgs &a) {
        TStellarBody &body = Need<TStellarBody>(a[0], "AddSystem");
        CheckRouteBody(n, r, body, "AddSystem");
        r.AddSystem(&body);
        return VNone();
    });
    n.Method<R>(C, "AddWaypoint", {TObj(WC)}, TNone(), [n](R &r, TScriptArgs &a) {
        auto owned = n.Pool().Release(&Need<TRouteWaypoint>(a[0], "AddWaypoint"));
        if (!owned)
            throw std::runtime_error("AddWaypoint: the waypoint already belongs to a route");
        r.AddWaypoint(std::move(owned));
        return VNone();
    });
    // (x, y, any visibility as a number: non-zero for any)
    n.Method<R>(C, "SelectObject", {TInt(), TInt(), TInt()}, TBool(),
                [](R &r, TScriptArgs &a) { return VBool(r.SelectObject(I32(a[0]), I32(a[1]), a[2].Int != 0)); });
    n.Method<R>(C, "ClickedOn", {TInt(), TInt(), TInt()}, TBool(),
                [](R &r, TScriptArgs &a) { return VBool(r.ClickedOn(I32(a[0]), I32(a[1]), a[2].Int != 0)); });
    n.Method<R>(C, "WaypointCount", {}, TInt(), [](R &r, TScriptArgs &) { return VInt(r.WaypointCount()); });
    n.Method<R>(C, "GetWaypoint", {TInt()}, TObj(WC), [n](R &r, TScriptArgs &a) {
        TRouteWaypoint *w = r.GetWaypoint(I32(a[0]));
        return w ? n.Tracked(WC, w, w->LifetimeToken()) : TScriptValue::FromObject({});
    });
    n.Method<R>(C, "DeleteWaypoint", {TInt()}, TNone(), [](R &r, TScriptArgs &a) {
        r.DeleteWaypoint(I32(a[0]));
        return VNone();
    });
    n.Method<R>(C, "OnRoute", {TObj("TStellarBody")}, TBool(),
                [](R &r, TScriptArgs &a) { return VBool(r.OnRoute(Maybe<TStellarBody>(a[0]))); });
    RegisterFieldMethods(n, C);
    n.PropRO(C, "IDString", &TVexaBase::IDString);
    n.Prop(C, "Name", &R::Name);
    n.Prop(C, "RouteType", &R::RouteType);
    n.Prop(C, "RoundTrip", &R::RoundTrip);
    n.Prop(C, "Selected", &R::Selected);
    n.Prop(C, "Visible", &R::Visible);
    n.Prop(C, "Red", &R::Red);
    n.Prop(C, "Green", &R::Green);
    n.Prop(C, "Blue", &R::Blue);
    n.Prop(C, "LineWidth", &R::LineWidth);
    n.Prop(C, "LineStyle", &R::LineStyle);
    // Waypoints
    using W = TRouteWaypoint;
    n.Prop(WC, "id", &W::id);
    n.Prop(WC, "X", &W::X);
    n.Prop(WC, "Y", &W::Y);
    n.Prop(WC, "Z", &W::Z);

    n.Const("ROUTE_LINE_SOLID", ROUTE_LINE_SOLID);
    n.Const("ROUTE_LINE_DASH", ROUTE_LINE_DASH);
    n.Const("ROUTE_LINE_SHORTDASH", ROUTE_LINE_SHORTDASH);
    n.Const("ROUTE_LINE_LONGSHORT", ROUTE_LINE_LONGSHORT);
    n.Const("ROUTE_LINE_LONGSHORTSHORT", ROUTE_LINE_LONGSHORTSHORT);
    n.Const("ROUTE_STIPPLEOGL_SOLID", ROUTE_STIPPLEOGL_SOLID);
    n.Const("ROUTE_STIPPLEOGL_DASH", ROUTE_STIPPLEOGL_DASH);
    n.Const("ROUTE_STIPPLEOGL_SHORTDASH", ROUTE_STIPPLEOGL_SHORTDASH);
    n.Const("ROUTE_STIPPLEOGL_LONGSHORT", ROUTE_STIPPLEOGL_LONGSHORT);
    n.Const("ROUTE_STIPPLEOGL_LONGSHORTSHORT", ROUTE_STIPPLEOGL_LONGSHORTSHORT);
}

void RegisterSubsectors(const TNames &n)
{
    using Sub = TVexaSubsector;
    constexpr const char *C = "TVexaSubsector";
    n.Reg.AddConstructor(C, [n] { return n.Adopt(C, Sub::Create()).Obj; });
    n.Method<Sub>(C, "CopyTo", {TObj(C)}, TNone(), [](Sub &s, TScriptArgs &a) {
        s.CopyTo(Need<Sub>(a[0], "CopyTo"));
        return VNone();
    });
    StreamMethods<Sub>(n, C);
    RegisterFieldMethods(n, C);
    n.PropRO(C, "IDString", &TVexaBase::IDString);
    n.Prop(C, "Name", &Sub::Name);
    n.Prop(C, "Color", &Sub::Color);
    n.Prop(C, "ShowLabel", &Sub::ShowLabel);
    n.Prop(C, "Shape", &Sub::Shape);
    n.Prop(C, "Visible", &Sub::Visible);
    n.Prop(C, "X", &Sub::X);
    n.Prop(C, "Y", &Sub::Y);
    n.Prop(C, "Z", &Sub::Z);
    n.Prop(C, "SizeX", &Sub::SizeX);
    n.Prop(C, "SizeY", &Sub::SizeY);
    n.Prop(C, "SizeZ", &Sub::SizeZ);
    n.Prop(C, "RotateX", &Sub::RotateX);
    n.Prop(C, "RotateY", &Sub::RotateY);
    n.Prop(C, "RotateZ", &Sub::RotateZ);
    n.Prop(C, "ShowGrid", &Sub::ShowGrid);
    n.Prop(C, "GridX", &Sub::GridX);
    n.Prop(C, "GridY", &Sub::GridY);
    n.Prop(C, "GridZ", &Sub::GridZ);
    n.Prop(C, "GridTick", &Sub::GridTick);
    n.Prop(C, "TickLabels", &Sub::TickLabels);
    n.Const("VEXA_SUBSECTOR_RECT", VEXA_SUBSECTOR_RECT);
    n.Const("VEXA_SUBSECTOR_SPHERE", VEXA_SUBSECTOR_SPHERE);
}

// Fields per configuration a script may set aside room for.
constexpr std::int32_t SYSTEMDATA_MAX_FIELDS = 10000;

void RegisterSystemData(const TNames &n)
{
    using Cfg = TSystemDataConfig;
    using Hold = TSystemDataConfigHolder;
    constexpr const char *C = "TSystemDataConfig";
    constexpr const char *HC = "TSystemDataConfigHolder";
    n.Routine("SystemDataGetSourceTypeList", {TObj("TStrings")}, TNone(), [](TScriptArgs &a) {
        SystemDataGetSourceTypeList(NeedStrings(a[0], "SystemDataGetSourceTypeList").Items);
        return VNone();
    });
    n.Routine("CreateSystemDataConfig", {}, TObj(C),
              [n](TScriptArgs &) { return n.Adopt(C, Cfg::CreateSystemDataConfig()); });
    n.Method<Cfg>(C, "CopyFrom", {TObj(C)}, TNone(), [](Cfg &c, TScriptArgs &a) {
        c.CopyFrom(&Need<Cfg>(a[0], "CopyFrom"));
        return VNone();
    });
    n.Method<Cfg>(C, "AddField", {TStr(), TStr(), TStr(), TBool()}, TNone(), [](Cfg &c, TScriptArgs &a) {
        c.AddField(a[0].Str, a[1].Str, a[2].Str, a[3].AsBool());
        return VNone();
    });
    n.Method<Cfg>(C, "Insert", {TStr(), TStr(), TStr(), TInt()}, TNone(), [](Cfg &c, TScriptArgs &a) {
        c.Insert(a[0].Str, a[1].Str, a[2].Str, I32(a[3]));
        return VNone();
    });
    n.Method<Cfg>(C, "MoveUpDown", {TInt(), TInt()}, TNone(), [](Cfg &c, TScriptArgs &a) {
        c.MoveUpDown(I32(a[0]), I32(a[1]));
        return VNone();
    });
    n.Method<Cfg>(C, "FindField", {TStr()}, TInt(), [](Cfg &c, TScriptArgs &a) { return VInt(c.FindField(a[0].Str)); });
    n.Method<Cfg>(C, "DeleteField", {TStr()}, TNone(), [](Cfg &c, TScriptArgs &a) {
        c.DeleteField(a[0].Str);
        return VNone();
    });
    n.Method<Cfg>(C, "Clear", {}, TNone(), [](Cfg &c, TScriptArgs &) {
        c.Clear();
        return VNone();
    });
    n.Method<Cfg>(C, "SetFieldArrayLength", {TInt()}, TNone(), [](Cfg &c, TScriptArgs &a) {
        c.SetFieldArrayLength(CheckedCount(a[0], SYSTEMDATA_MAX_FIELDS, "SetFieldArrayLength"));
        return VNone();
    });
    n.Method<Cfg>(C, "Count", {}, TInt(), [](Cfg &c, TScriptArgs &) { return VInt(c.Count()); });
    StreamMethods<Cfg>(n, C);
    n.Prop(C, "TypeID", &Cfg::TypeID);

    n.Reg.AddConstructor(HC, [n] { return n.Adopt(HC, std::make_unique<Hold>()).Obj; });
    DestroyMethod(n, HC, "destroy");
    n.Method<Hold>(HC, "CopyFrom", {TObj(HC)}, TNone(), [](Hold &h, TScriptArgs &a) {
        Hold &other = Need<Hold>(a[0], "CopyFrom");
        if (&other != &h)
            h.CopyFrom(other);
        return VNone();
    });
    StreamMethods<Hold>(n, HC);
    // (configuration, type): the holder keeps its own copy.
    n.Method<Hold>(HC, "SetConfigForType", {TObj(C), TInt()}, TNone(), [](Hold &h, TScriptArgs &a) {
        auto copy = std::make_unique<Cfg>();
        copy->CopyFrom(Maybe<Cfg>(a[0]));
        h.SetConfigForType(Maybe<Cfg>(a[0]) ? std::move(copy) : nullptr, I32(a[1]));
        return VNone();
    });
    n.Const("SYSTEMDATACONFIG_HOLDER_COUNT", SYSTEMDATACONFIG_HOLDER_COUNT);
}

void RegisterViewsResourcesColours(const TNames &n)
{
    StreamMethods<TVexaView>(n, "TVexaView");
    n.Prop("TVexaView", "Name", &TVexaView::Name);
    using Res = TVexaImageResource;
    n.PropRO("TVexaImageResource", "ResourceName", &Res::ResourceName);
    n.PropRO("TVexaImageResource", "TimeStamp", &Res::TimeStamp);

    using G = TGexColorGroup;
    constexpr const char *C = "TGexColorGroup";
    n.Routine("NewGexColorGroup", {}, TObj(C), [n](TScriptArgs &) { return n.Adopt(C, std::make_unique<G>()); });
    n.Method<G>(C, "CopyFrom", {TObj(C)}, TNone(), [](G &g, TScriptArgs &a) {
        g.CopyFrom(Need<G>(a[0], "CopyFrom"));
        return VNone();
    });
    StreamMethods<G>(n, C);
    n.Prop(C, "DeepWater", &G::DeepWater);
    n.Prop(C, "ShallowWater", &G::ShallowWater);
    n.Prop(C, "Beach", &G::Beach);
    n.Prop(C, "Lowland", &G::Lowland);
    n.Prop(C, "Highland", &G::Highland);
    n.Prop(C, "Ice", &G::Ice);
    n.Prop(C, "Desert", &G::Desert);
    n.Prop(C, "CloudsEnabled", &G::CloudsEnabled);
    n.Prop(C, "AtmosphereColor", &G::AtmosphereColor);
}

} // namespace

void RegisterRouteNames(const TNames &n)
{
    RegisterRoutes(n);
}

void RegisterSubsectorNames(const TNames &n)
{
    RegisterSubsectors(n);
    RegisterViewsResourcesColours(n);
}

void RegisterSystemDataNames(const TNames &n)
{
    RegisterSystemData(n);
}

} // namespace kalvion::names
