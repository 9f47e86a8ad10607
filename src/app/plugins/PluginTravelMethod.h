#pragma once
// A travel-calculator plug-in as one of the calculator's interstellar
// methods: the leg goes into the TravelCalc… variables, the plug-in runs,
// and its answer comes back from them.
#include "travel/TravelCalculator.h"

#include <functional>
#include <string>

namespace kalvion {
struct TScriptTravelCalc;
}

namespace kalvion::app {

class TPluginTravelMethod final : public TTravelCalcMethod {
public:
    // run: runs the plug-in of that name; failures of the run are ignored.
    TPluginTravelMethod(std::string name, TScriptTravelCalc &variables, std::function<void(const std::string &)> run)
        : FName(std::move(name)), FVariables(variables), FRun(std::move(run))
    {
    }
    std::string Name() const override { return FName; }
    void Run(TTravelCalcRequest &request) override;

private:
    std::string FName;
    TScriptTravelCalc &FVariables;
    std::function<void(const std::string &)> FRun;
};

} // namespace kalvion::app
