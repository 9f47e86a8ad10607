// The application routines and variables: the window-level services scripts
// reach through the host, object creation and release, and the travel and
// filter variables plug-ins exchange with the program.
#include "model/StellarBody.h"
#include "model/StellarRoute.h"
#include "model/Subsector.h"
#include "model/VexaSector.h"
#include "scriptnames/NameHelpers.h"
#include "scriptnames/OwnedObjects.h"

#include <stdexcept>

namespace kalvion::names {

namespace {

constexpr double SECONDS_PER_DAY = 86400.0;
// Pause keeps a script's wait within a minute per call.
constexpr std::int64_t MAX_PAUSE_MS = 60000;

// A body the window is to show: one of its sector's.  A body the script
// made and did not place would be freed when the run ends while the window
// still showed it.
TStellarBody *WindowBody(TScriptAppHost &host, const TScriptValue &v, const char *routine)
{
    TStellarBody &body = Need<TStellarBody>(v, routine);
    if (!host.HasWindow())
        return &body; // the host says the routine needs the window
    const TVexaSector *sector = host.CurrentSector();
    if (!sector || !InSectorTree(*sector, body))
        throw std::runtime_error(std::string(routine) + ": the body is not in the current sector");
    return &body;
}

void RegisterTravelVariables(const TNames &n)
{
    TScriptAppHost *H = &n.Host;
    auto bodyVar = [n, H](const char *name, TObjectRef<TStellarBody> TScriptTravelCalc::*m) {
        n.Reg.AddVariable(
            name, TObj("TStellarBody"), [n, H, m] { return n.Model("TStellarBody", (H->Travel.*m).Get()); },
            [H, m](const TScriptValue &v) { H->Travel.*m = TObjectRef<TStellarBody>(Maybe<TStellarBody>(v)); });
    };
    bodyVar("TravelCalcStartBody", &TScriptTravelCalc::StartBody);
    bodyVar("TravelCalcEndBody", &TScriptTravelCalc::EndBody);
    auto dblVar = [n, H](const char *name, double TScriptTravelCalc::*m) {
        n.Reg.AddVariable(
            name, TDbl(), [H, m] { return VDbl(H->Travel.*m); },
            [H, m](const TScriptValue &v) { H->Travel.*m = v.Dbl; });
    };
    auto strVar = [n, H](const char *name, std::string TScriptTravelCalc::*m) {
        n.Reg.AddVariable(
            name, TStr(), [H, m] { return VStr(H->Travel.*m); },
            [H, m](const TScriptValue &v) { H->Travel.*m = v.Str; });
    };
    dblVar("TravelCalcDistance", &TScriptTravelCalc::Distance);
    strVar("TravelCalcDistanceUnit", &TScriptTravelCalc::DistanceUnit);
    dblVar("TravelCalcSublightSpeed", &TScriptTravelCalc::SublightSpeed);
    strVar("TravelCalcSpeedUnit", &TScriptTravelCalc::SpeedUnit);
    dblVar("TravelCalcInterstellarSpeed", &TScriptTravelCalc::InterstellarSpeed);
    dblVar("TravelCalcTravelTime", &TScriptTravelCalc::TravelTime);
    strVar("TravelCalcErrorMsg", &TScriptTravelCalc::ErrorMsg);
    n.Reg.AddVariable(
        "FilterTurningOn", TBool(), [H] { return VBool(H->FilterTurningOn); },
        [H](const TScriptValue &v) { H->FilterTurningOn = v.AsBool(); });
}

} // namespace

void RegisterApplicationNames(const TNames &n)
{
    TScriptAppHost *H = &n.Host;
    n.Routine("AppVersionMajor", {}, TStr(), [](TScriptArgs &) { return VStr(APP_VERSION_MAJOR); });
    n.Routine("AppVersionMinor", {}, TStr(), [](TScriptArgs &) { return VStr(APP_VERSION_MINOR); });
    n.Routine("AppVersionBuild", {}, TStr(), [](TScriptArgs &) { return VStr(APP_VERSION_BUILD); });
    n.Routine("VexaDirectory", {}, TStr(), [H](TScriptArgs &) { return VStr(H->ProgramDirectory()); });
    n.Routine("PluginDirectory", {}, TStr(), [H](TScriptArgs &) { return VStr(H->ProgramDirectory() + "Plugins/"); });
    n.Routine("ClearMap", {}, TNone(), [H](TScriptArgs &) {
        H->ClearMap();
        return VNone();
    });
    n.Routine("FileHandlerFileName", {}, TStr(), [H](TScriptArgs &) { return VStr(H->FileHandlerFileName()); });
    n.Routine("GetCurrentSector", {}, TObj("TVexaSector"), [n, H](TScriptArgs &) {
        TVexaSector *s = H->CurrentSector();
        if (!s)
            throw std::runtime_error("GetCurrentSector: no sector is open");
        return n.Model("TVexaSector", s);
    });
    n.Routine("CreateBody", {TStr()}, TObj("TStellarBody"), [n](TScriptArgs &a) {
        auto b = TStellarBody::Create();
        if (!a[0].Str.empty()) {
            b->TypeID = BodyTypeFromText(a[0].Str);
            b->BodyType = NameFromBodyType(b->TypeID);
        }
        return n.Adopt("TStellarBody", std::move(b));
    });
    n.Routine("CreateRoute", {}, TObj("TStellarRoute"),
              [n](TScriptArgs &) { return n.Adopt("TStellarRoute", TStellarRoute::Create()); });
    n.Routine("CreateWaypoint", {}, TObj("TRouteWaypoint"),
              [n](TScriptArgs &) { return n.Adopt("TRouteWaypoint", std::make_unique<TRouteWaypoint>()); });
    n.Routine("CreateSubsector", {}, TObj("TVexaSubsector"),
              [n](TScriptArgs &) { return n.Adopt("TVexaSubsector", TVexaSubsector::Create()); });
    n.Routine("CreateSector", {}, TObj("TVexaSector"),
              [n](TScriptArgs &) { return n.Adopt("TVexaSector", TVexaSector::Create()); });
    n.Routine("EditBody", {TObj("TStellarBody")}, TNone(), [H](TScriptArgs &a) {
        H->EditBody(WindowBody(*H, a[0], "EditBody"));
        return VNone();
    });
    n.Routine("EditingBody", {}, TObj("TStellarBody"),
              [n, H](TScriptArgs &) { return n.Model("TStellarBody", H->EditingBody()); });
    n.Routine("DeselectEditingBody", {}, TNone(), [H](TScriptArgs &) {
        H->DeselectEditingBody();
        return VNone();
    });
    n.Routine("ShowSystemDiagram", {TObj("TStellarBody")}, TNone(), [H](TScriptArgs &a) {
        H->ShowSystemDiagram(WindowBody(*H, a[0], "ShowSystemDiagram"));
        return VNone();
    });
    n.Routine("UpdateCaption", {}, TNone(), [H](TScriptArgs &) {
        H->UpdateCaption();
        return VNone();
    });
    n.Routine("RefreshScene", {}, TNone(), [H](TScriptArgs &) {
        H->RefreshScene();
        return VNone();
    });
    n.Routine("Pause", {TInt()}, TNone(), [H](TScriptArgs &a) {
        if (a[0].Int < 0 || a[0].Int > MAX_PAUSE_MS)
            throw std::runtime_error("Pause: milliseconds must be between 0 and 60000");
        H->Pause(I32(a[0]));
        return VNone();
    });
    n.Routine("ProcessMessages", {}, TNone(), [H](TScriptArgs &) {
        H->ProcessMessages();
        return VNone();
    });
    n.Routine("FreeObject", {TObj("TObject")}, TNone(), [n, H](TScriptArgs &a) {
        FreeScriptObject(n, *H, a[0]);
        return VNone();
    });
    // True for nil (Nothing, or an object that is gone) and, as the
    // language's own IsNull, for Null; false for any other value.
    n.Routine("isNull", {ArgProbe()}, TBool(), [](TScriptArgs &a) {
        if (a[0].Type == TScriptType::None)
            return VBool(true);
        return VBool(a[0].Type == TScriptType::Object && a[0].Obj.IsNil());
    });
    n.Routine("GetKey", {}, TInt(), [H](TScriptArgs &) { return VInt(H->GetKey()); });
    n.Routine("GetGenerateOptions", {}, TObj("TVexaGenerateOptions"), [n, H](TScriptArgs &) {
        return n.Tracked("TVexaGenerateOptions", &H->GenerateOptions, HostToken(*H));
    });
    n.Routine("SetTravelCalcTime", {TDbl(), TStr()}, TNone(), [H](TScriptArgs &a) {
        H->Travel.TravelTime = a[0].Dbl * SECONDS_PER_DAY;
        H->Travel.ErrorMsg = a[1].Str;
        return VNone();
    });
    n.Routine("SetMainWindowSize", {TInt(), TInt()}, TNone(), [H](TScriptArgs &a) {
        H->SetMainWindowSize(I32(a[0]), I32(a[1]));
        return VNone();
    });
    RegisterTravelVariables(n);
}

} // namespace kalvion::names
