// The one entry point of the script object model: the classes first (so
// that parents exist before their descendants and every name can refer to
// them), then each family's routines, methods, properties and constants.
#include "scriptnames/NameHelpers.h"

#include "base/AsciiText.h"
#include "scripting/ModelRefs.h"
#include "scripting/RoutePlannerNames.h"
#include "scriptui/MovieNames.h"
#include "scriptui/ZentScripterUI.h"

#include <stdexcept>

namespace kalvion {

namespace names {

const TScriptClassInfo *TNames::Class(const char *name) const
{
    const TScriptClassInfo *c = Reg.FindClass(AsciiLower(name));
    if (!c)
        throw std::logic_error(std::string("unregistered script class ") + name);
    return c;
}

TScriptValue TNames::Model(const char *cls, TVexaBase *obj) const
{
    if (!obj)
        return TScriptValue::FromObject({});
    return TScriptValue::FromObject(TScriptObjectRef(obj, Class(cls), obj->LifetimeToken()));
}

TScriptValue TNames::Tracked(const char *cls, void *obj, std::weak_ptr<void> token) const
{
    if (!obj)
        return TScriptValue::FromObject({});
    return TScriptValue::FromObject(TScriptObjectRef(obj, Class(cls), std::move(token)));
}

std::int32_t CheckedCount(const TScriptValue &v, std::int32_t max, const char *routine)
{
    if (v.Int < 0 || v.Int > max)
        throw std::runtime_error(std::string(routine) + ": " + std::to_string(v.Int) + " is out of range (0 to " +
                                 std::to_string(max) + ")");
    return static_cast<std::int32_t>(v.Int);
}

namespace {

void RegisterClasses(TScriptRegistry &reg)
{
    // General types first: the model classes descend from TObject.
    reg.AddClass("TObject");
    for (const char *c : {"TList", "TStrings", "TBitmap", "TCanvas", "TTreeView", "TTreeNode", "TMemoryStream",
                          "TAppFileStream", "TVexaGenerateOptions", "TOrbit", "TGexColorGroup", "TSystemGenerator",
                          "TTKTable", "TTKTableApplication", "TSystemDataConfig", "TSystemDataConfigHolder",
                          "TRouteWaypoint"})
        reg.AddClass(c, "TObject");
    reg.AddClass("TStringList", "TStrings");
    reg.AddClass("TVexaBase", "TObject");
    for (const char *c : {"TVexaSector", "TStellarBody", "TStellarRoute", "TVexaSubsector", "TVexaImageResource",
                          "TVexaView", "TVexaSearcher3"})
        reg.AddClass(c, "TVexaBase");
}

} // namespace

} // namespace names

void RegisterKalvionScriptNames(TScriptRegistry &reg, TScriptAppHost &host)
{
    using namespace names;
    RegisterClasses(reg);
    // Registrations keep copies of the context (two references).
    const TNames n(reg, host);
    RegisterApplicationNames(n);
    RegisterHelperClassNames(n);
    RegisterBodyNames(n);
    RegisterSectorFileNames(n);
    RegisterSectorContentNames(n);
    RegisterSectorConstants(n);
    RegisterRouteNames(n);
    RegisterSubsectorNames(n);
    RegisterSystemDataNames(n);
    RegisterGeneratorNames(n);
    RegisterTableNames(n);
    RegisterDiceNames(n);
    RegisterPhysicsNames(n);
    RegisterOrbitNames(n);
    RegisterSearchNames(n);
    RegisterBitmapNames(n);
    RegisterTextureNames(n);
    RegisterTreeNames(n);
    // The route planner works on the host's current sector.
    RegisterRoutePlannerNames(reg, [h = &host] { return h->CurrentSector(); });
    // Every host knows the dialog and video names; without a window the
    // routines that must show something say that they need it.  A window
    // registers its video routines before these.
    RegisterScriptDialogNames(reg, host.HasWindow() ? TDialogDisplay::Window : TDialogDisplay::Headless);
    RegisterWindowlessMovieNames(reg);
}

} // namespace kalvion
