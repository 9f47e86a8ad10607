// What a generated system costs in memory: every body the system generator
// makes, with its texts, gases and names, counted by the allocator.
#include "base/SharedRandom.h"
#include "generation/SystemGenerator.h"
#include "model/StellarBody.h"

#include "../support/HeapCounts.h"

#include <gtest/gtest.h>

#include <malloc.h>

#include <cstdio>
#include <memory>
#include <vector>

using namespace kalvion;

TEST(GeneratedMemory, BytesPerGeneratedBodyStayBounded)
{
#ifdef KALVION_HEAP_COUNTS_UNRELIABLE
    GTEST_SKIP() << "the sanitizer's allocator keeps no malloc statistics";
#else
    SetSharedRandomSeed(77);
    TSystemGenerator gen;
    gen.Seed = 31337u;
    std::vector<std::unique_ptr<TStellarBody>> roots;
    int bodies = 0;
    for (int i = 0; i < 300; ++i) {
        auto root = TStellarBody::Create();
        gen.GenerateSystemInfo(*root);
        gen.GeneratePopulations(*root);
        root->UpdateRootBody();
        TStellarBodyList all;
        root->GetAllChildren(all);
        bodies += static_cast<int>(all.size());
        roots.push_back(std::move(root));
    }
    ASSERT_GT(bodies, 300);
    // Counted as what freeing the bodies gives back, so that the generator's
    // own tables and caches stay out of the figure.
    const auto held = mallinfo2().uordblks;
    roots.clear();
    const auto left = mallinfo2().uordblks;
    const double perBody = static_cast<double>(held - left) / bodies;
    std::printf("bytes per generated body: %.1f over %d bodies\n", perBody, bodies);
    // 979 bytes before the rarely used members were made compact, 632 after.
    EXPECT_LT(perBody, 660.0);
#endif
}
