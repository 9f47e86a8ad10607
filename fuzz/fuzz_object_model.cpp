// Drives the script object model with random sequences of calls: bodies,
// sectors, routes and searchers are made, filled, freed, sorted, selected and
// edited in any order against a small sector, and the rest of the input runs
// as script text of its own.  Whatever the order, a freed object must give a
// script error, never a read of freed memory.
#include "model/VexaSector.h"
#include "scripting/ScriptRegistry.h"
#include "scripting/ZentScripter.h"
#include "scriptnames/ScriptAppHost.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace {

using namespace kalvion;

class Host final : public TScriptAppHost {
public:
    TVexaSector *Sector = nullptr;
    TVexaSector *CurrentSector() override { return Sector; }
};

class Silent final : public TScriptUI {
public:
    int MsgBox(const std::string &, int, const std::string &) override { return 1; }
    std::optional<std::string> InputBox(const std::string &, const std::string &, const std::string &d) override
    {
        return d;
    }
};

// One step each; %a and %b are body slots, %s a sector slot, %n a small number.
const char *const kSteps[] = {
    "Set b(%a) = CreateBody(\"Star\")",
    "Set b(%a) = CreateBody(\"Terrestrial\")",
    "Set b(%a) = CreateBody(\"Station\")",
    "b(%a).Name = \"N%n\"",
    "b(%a).AddChild b(%b)",
    "s(%s).AddSystem b(%a)",
    "FreeObject b(%a)",
    "Set b(%a) = Nothing",
    "Set s(1) = CreateSector()",
    "FreeObject s(%s)",
    "s(%s).Clear",
    "s(%s).DeleteRootBody b(%a)",
    "b(%a).DeleteChildren",
    "Set b(%a) = s(%s).GetSystem(%n)",
    "Set b(%a) = b(%b).GetChild(%n)",
    "Set b(%a) = b(%b).Parent",
    "x = b(%a).Name & b(%a).ChildrenCount",
    "Set r = CreateRoute()",
    "r.AddSystem b(%a)",
    "s(%s).AddRoute r",
    "FreeObject r",
    "Set w = CreateWaypoint()",
    "Set q = CreateVexaSearcher(s(%s))",
    "q.SearchAll",
    "x = q.GetResult(%n).Name",
    "FreeObject q",
    "x = SortOnSystemName(b(%a), b(%b))",
    "x = SortOnSystemName(r, q)",
    "x = VexaSearch3SortByProp(b(%a), b(%b))",
    "s(%s).SelectBody b(%a)",
    "Set b(%a) = s(%s).GetSelected(%n)",
    "EditBody b(%a)",
    "ShowSystemDiagram b(%a)",
    "Set b(%a) = EditingBody",
    "Set TravelCalcStartBody = b(%a)",
    "Set TravelCalcEndBody = b(%b)",
    "x = TravelCalcStartBody.Name & TravelCalcEndBody.Name",
    "Set t = CreateIloomTable(\"names\")",
    "FreeObject t",
    "ClearMap",
};
constexpr std::size_t kStepCount = sizeof kSteps / sizeof kSteps[0];

std::string Fill(const char *step, FuzzedDataProvider &in)
{
    std::string out;
    for (const char *p = step; *p; ++p) {
        if (*p != '%' || !p[1]) {
            out += *p;
            continue;
        }
        switch (*++p) {
        case 'a':
        case 'b': out += std::to_string(in.ConsumeIntegralInRange<int>(0, 3)); break;
        case 's': out += std::to_string(in.ConsumeIntegralInRange<int>(0, 1)); break;
        default: out += std::to_string(in.ConsumeIntegralInRange<int>(-1, 4)); break;
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > 4096)
        return 0;
    FuzzedDataProvider in(data, size);
    std::string script = "On Error Resume Next\nDim b(3), s(1)\nSet s(0) = GetCurrentSector()\n"
                         "Set s(1) = CreateSector()\n";
    const int steps = in.ConsumeIntegralInRange<int>(0, 64);
    for (int i = 0; i < steps && in.remaining_bytes() > 0; ++i) {
        script += Fill(kSteps[in.ConsumeIntegralInRange<std::size_t>(0, kStepCount - 1)], in);
        script += '\n';
    }
    // What is left is script text of its own, with the objects above in scope.
    script += in.ConsumeRemainingBytesAsString();
    script += "\n";

    // A fresh registry, host and sector each time: nothing carries over.
    auto sector = std::make_unique<TVexaSector>();
    Host host;
    host.Sector = sector.get();
    TScriptRegistry reg;
    RegisterKalvionScriptNames(reg, host);
    Silent ui;
    {
        TZentScripter run;
        run.Registry = &reg;
        run.UI = &ui;
        run.StepLimit = 20'000;
        run.OnShowMessage = [](const std::string &, const std::string &) {};
        run.ScriptText = script;
        run.Run();
    }
    host.ReleaseScriptObjects();
    return 0;
}
