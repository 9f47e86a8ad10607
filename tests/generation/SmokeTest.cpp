#include "generation/SystemGenerator.h"
#include "model/StellarBody.h"
#include "base/SharedRandom.h"
#include <gtest/gtest.h>
using namespace kalvion;
TEST(GeneratorSmoke, Runs)
{
    SetSharedRandomSeed(1);
    TSystemGenerator g;
    g.Seed = 42;
    for (int i = 0; i < 1000; ++i) {
        auto b = TStellarBody::Create();
        g.GenerateSystemInfo(*b);
        g.GeneratePopulations(*b);
    }
}
