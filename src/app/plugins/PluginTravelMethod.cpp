#include "app/plugins/PluginTravelMethod.h"

#include "base/NumberParse.h"
#include "model/StellarBody.h"
#include "scriptnames/ScriptAppHost.h"

namespace kalvion::app {

void TPluginTravelMethod::Run(TTravelCalcRequest &request)
{
    TScriptTravelCalc &v = FVariables;
    v.StartBody = TObjectRef<TStellarBody>(request.StartBody);
    v.EndBody = TObjectRef<TStellarBody>(request.EndBody);
    v.Distance = request.Distance;
    v.DistanceUnit = request.DistanceUnit;
    v.TravelTime = 0;
    v.InterstellarSpeed = request.InterstellarSpeed;
    // The calculator has read the speed as a number before any method runs.
    v.SublightSpeed = StrToFloatDef(request.SublightSpeed, 0);
    v.ErrorMsg.clear();
    FRun(FName);
    request.TravelTime = v.TravelTime;
    request.ErrorMsg = v.ErrorMsg;
    // The bodies are the calculator's; a plug-in's reference to them ends here.
    v.StartBody = {};
    v.EndBody = {};
}

} // namespace kalvion::app
