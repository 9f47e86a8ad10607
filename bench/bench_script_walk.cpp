// A script walks every body of a 10,000-system sector through the object
// model and sums a property; the same walk in C++ is the baseline of the
// same run.  The figure to watch is the ratio script / C++.
#include "model/VexaSector.h"
#include "scripting/ScriptRegistry.h"
#include "scripting/ZentScripter.h"
#include "scriptnames/ScriptAppHost.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace kalvion;

namespace {

constexpr int kSystems = 10000;
constexpr int kPlanets = 4;
constexpr int kMoons = 2;

struct THost final : TScriptAppHost {
    TVexaSector Sector;
    TVexaSector *CurrentSector() override { return &Sector; }
};

void Build(TVexaSector &s)
{
    for (int i = 0; i < kSystems; ++i) {
        auto root = TStellarBody::Create();
        root->TypeID = BODY_TYPE_STAR;
        root->Mass = 1.0 + (i % 10) * 0.1;
        for (int p = 0; p < kPlanets; ++p) {
            auto planet = TStellarBody::Create();
            planet->TypeID = BODY_TYPE_TERRESTRIAL;
            planet->Mass = p + 0.5;
            for (int m = 0; m < kMoons; ++m) {
                auto moon = TStellarBody::Create();
                moon->Mass = 0.01 * (m + 1);
                planet->AddChild(std::move(moon));
            }
            root->AddChild(std::move(planet));
        }
        s.AddSystem(std::move(root));
    }
}

double Walk(const TStellarBody &b)
{
    double sum = b.Mass;
    for (int i = 0; i < b.ChildrenCount(); ++i)
        sum += Walk(*b.GetChild(i));
    return sum;
}

const char *kScript = R"(
Function Walk(b)
    Dim sum, i
    sum = b.Mass
    For i = 0 To b.ChildrenCount - 1
        sum = sum + Walk(b.GetChild(i))
    Next
    Walk = sum
End Function
Set s = GetCurrentSector()
total = 0
For k = 0 To s.SystemCount - 1
    total = total + Walk(s.GetSystem(k))
Next
)";

THost &Shared()
{
    static THost *host = [] {
        auto *h = new THost;
        Build(h->Sector);
        return h;
    }();
    return *host;
}

void BM_WalkCpp(benchmark::State &state)
{
    THost &h = Shared();
    for (auto _ : state) {
        double total = 0;
        for (int k = 0; k < h.Sector.SystemCount(); ++k)
            total += Walk(*h.Sector.GetSystem(k));
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_WalkCpp)->Unit(benchmark::kMillisecond);

void BM_WalkScript(benchmark::State &state)
{
    THost &h = Shared();
    TScriptRegistry reg;
    RegisterKalvionScriptNames(reg, h);
    for (auto _ : state) {
        TZentScripter s;
        s.Registry = &reg;
        s.ScriptText = kScript;
        if (!s.Run())
            state.SkipWithError(s.ErrorText.c_str());
    }
}
BENCHMARK(BM_WalkScript)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
