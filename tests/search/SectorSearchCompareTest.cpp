// The search that answers from the file against the searcher that loads every
// system it tests, on generated sectors and random queries: the same bodies
// in the same order, with the sector unloaded, partly loaded and loaded.
// A failing sector prints the seed that replays it alone
// (KALVION_SEARCH_COMPARE_SEED).
#include "SearchTestSector.h"

#include "base/SharedRandom.h"
#include "files/SectorFile.h"
#include "generation/SystemGenerator.h"
#include "model/BodyTypes.h"
#include "search/SectorSearch.h"
#include "search/Searcher.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <unordered_map>
#include <utility>

using namespace kalvion;
using namespace kalvion::test;

namespace {

constexpr int kSectors = 50;
constexpr int kQueries = 100;
// One sector in five is larger, so that "within" leaves few of its systems
// and the search reads those systems' rows alone.
int SystemsOf(std::uint32_t seed) { return seed % 5 == 0 ? 40 : 6; }

using Key = std::pair<int, std::int64_t>;  // system index, body row

std::unordered_map<const TStellarBody *, int> RootIndex(const TVexaSector &sector)
{
    std::unordered_map<const TStellarBody *, int> index;
    for (std::size_t i = 0; i < sector.Systems.size(); ++i)
        index.emplace(sector.Systems[i].get(), static_cast<int>(i));
    return index;
}

std::vector<Key> Keys(const TVexaSector &sector, const TStellarBodyList &results)
{
    const auto index = RootIndex(sector);
    std::vector<Key> keys;
    for (const TStellarBody *b : results)
        keys.emplace_back(index.at(b->GetRootBody()), b->RecordID);
    return keys;
}

std::vector<Key> Keys(const TVexaSector &sector, const std::vector<TSearchHit> &hits)
{
    const auto index = RootIndex(sector);
    std::vector<Key> keys;
    for (const TSearchHit &h : hits)
        keys.emplace_back(index.at(h.Root), h.BodyID);
    return keys;
}

// A generated sector saved to `file`; with `reshape`, bodies added to saved
// systems afterwards, so that row ids no longer follow the tree.
void MakeSector(const std::string &file, std::uint32_t seed, bool reshape, int systems)
{
    SetSharedRandomSeed(seed);
    TSystemGenerator gen;
    gen.Seed = seed;
    gen.SetTerraformingLevel(static_cast<int>(seed % 11));
    TVexaSector sector;
    for (int i = 0; i < systems; ++i) {
        auto root = TStellarBody::Create();
        gen.GenerateSystemInfo(*root);
        gen.GeneratePopulations(*root);
        root->UpdateRootBody();
        root->Name = "System " + std::to_string(i + 1);
        root->X = SharedRandomFloat() * 30 - 15;
        root->Y = SharedRandomFloat() * 30 - 15;
        root->Z = SharedRandomFloat() * 30 - 15;
        root->Visible = i % 4 != 3;
        sector.AddSystem(std::move(root));
    }
    std::string error;
    ASSERT_TRUE(SaveToFile(sector, file, false, &error)) << error;
    if (!reshape)
        return;
    TVexaSector reopened;
    ASSERT_TRUE(LoadFromFile(reopened, file, &error)) << error;
    std::mt19937 rng(seed);
    for (auto &owned : reopened.Systems) {
        TStellarBody *root = owned.get();
        reopened.DynaLoad(root);
        TStellarBodyList bodies;
        root->GetAllChildren(bodies);
        for (int n = 0; n < 3; ++n) {
            TStellarBody *parent = bodies[rng() % bodies.size()];
            auto moon = TStellarBody::Create();
            moon->Name = "Added " + std::to_string(n);
            moon->TypeID = n == 0 ? BODY_TYPE_STAR : BODY_TYPE_TERRESTRIAL;
            moon->Population = n == 2 ? 5000 : 0;
            moon->Temp = 280 + 20 * n;
            parent->ModifySystem();
            parent->AddChild(std::move(moon));
        }
    }
    ASSERT_TRUE(SaveToFile(reopened, file, false, &error)) << error;
}

std::string RandomQuery(std::mt19937 &rng)
{
    auto pick = [&](std::initializer_list<const char *> list) {
        return std::string(list.begin()[rng() % list.size()]);
    };
    auto chance = [&](int percent) { return static_cast<int>(rng() % 100) < percent; };
    std::string q;
    if (chance(20))
        q += "within " + pick({"5", "10", "20"}) + " ";
    if (chance(10))
        q += "systems with ";
    else if (chance(8))
        q += "root only ";
    if (chance(5))
        q += "first " + pick({"1", "3"}) + " ";
    if (chance(8))
        q += "visible ";
    const int conditions = 1 + static_cast<int>(rng() % 3);
    for (int c = 0; c < conditions; ++c) {
        if (chance(35))
            q += pick({"parent ", "parent star ", "root "});
        const int kind = static_cast<int>(rng() % 100);
        if (kind < 25) {
            q += (chance(15) ? "not " : "") +
                 pick({"star", "terrestrial", "gasgiant", "asteroidbelt", "planetoid", "multiple", "browndwarf",
                       "smallbody", "planetsystem"});
        } else if (kind < 35) {
            q += (chance(25) ? "not " : "") + pick({"habitable", "hospitable", "inhospitable"});
        } else if (kind < 75) {
            const std::string term = pick({"population", "temp", "tempc", "rotation", "atmosphere", "water"});
            std::string value;
            if (term == "population")
                value = pick({"0", "1000", "1000000", "500000000"});
            else if (term == "temp")
                value = pick({"0", "150", "273", "300", "5000"});
            else if (term == "tempc")
                value = pick({"-100", "0", "27"});
            else
                value = pick({"0", "0.5", "1", "10", "50"});
            q += (chance(15) ? "not " : "") + term + " ";
            const std::string op = pick({">", "<", "=", "<>", "between"});
            q += op == "between" ? "between " + value + " and " + pick({"1", "300", "100000000"}) : op + " " + value;
        } else if (kind < 90) {
            q += pick({"name", "spectral", "political"}) + " " + pick({"like", "=", "<>"}) + " " +
                 pick({"\"1\"", "\"system 2\"", "\"a\"", "\"g\"", "\"added 1\""});
        } else {
            // Conditions only a loaded body answers.
            q += pick({"mass > 1", "atm o2 > 10", "radius < 5000", "field size > 4", "luminosity > 1"});
        }
        q += " ";
    }
    return q;
}

std::vector<std::uint32_t> Seeds()
{
    if (const char *one = std::getenv("KALVION_SEARCH_COMPARE_SEED"))
        return {static_cast<std::uint32_t>(std::strtoul(one, nullptr, 10))};
    std::vector<std::uint32_t> seeds;
    for (int i = 0; i < kSectors; ++i)
        seeds.push_back(7000u + static_cast<std::uint32_t>(i) * 7919u);
    return seeds;
}

} // namespace

class SectorSearchCompareTest : public SearchTempDir {};

TEST_F(SectorSearchCompareTest, RandomQueriesGiveTheOldSearchersResults)
{
    for (const std::uint32_t seed : Seeds()) {
        SCOPED_TRACE("replay with KALVION_SEARCH_COMPARE_SEED=" + std::to_string(seed));
        const std::string file = PathOf("compare-" + std::to_string(seed) + ".VexaDB");
        const int systems = SystemsOf(seed);
        MakeSector(file, seed, seed % 2 == 0, systems);
        if (HasFatalFailure())
            return;
        std::string error;
        // The new path on a sector kept unloaded (opened afresh now and then,
        // partly loaded by what it opens in between), the old searcher on one
        // of its own, and both on a sector with every system in memory.
        TVexaSector fresh, reference, loaded;
        ASSERT_TRUE(LoadFromFile(reference, file, &error)) << error;
        ASSERT_TRUE(LoadFromFile(loaded, file, &error)) << error;
        loaded.DynaLoadAll();
        const std::size_t selected = seed % static_cast<std::uint32_t>(systems);
        reference.SelectBody(reference.Systems[selected].get());
        loaded.SelectBody(loaded.Systems[selected].get());

        std::mt19937 rng(seed);
        int answeredFromFile = 0;
        for (int n = 0; n < kQueries; ++n) {
            if (n % 10 == 0) {
                fresh.clear();
                ASSERT_TRUE(LoadFromFile(fresh, file, &error)) << error;
                fresh.SelectBody(fresh.Systems[selected].get());
            }
            const std::string query = RandomQuery(rng);
            SCOPED_TRACE("query: " + query);

            auto old = CreateVexaSearcher(&reference);
            old->Search(query);
            TSectorSearch search(&fresh);
            search.Search(query);
            ASSERT_EQ(search.ErrorText, old->ErrorText);
            ASSERT_EQ(Keys(fresh, search.Hits), Keys(reference, old->Results));
            answeredFromFile += search.SystemsAnswered;
            // The user opens one result: the body the old searcher gave.
            if (!search.Hits.empty()) {
                const std::size_t i = rng() % search.Hits.size();
                const TStellarBody *opened = search.Open(search.Hits[i]);
                ASSERT_NE(opened, nullptr);
                EXPECT_EQ(opened->Name, old->Results[i]->Name);
                EXPECT_EQ(opened->RecordID, old->Results[i]->RecordID);
            }

            auto oldLoaded = CreateVexaSearcher(&loaded);
            oldLoaded->Search(query);
            TSectorSearch searchLoaded(&loaded);
            searchLoaded.Search(query);
            ASSERT_EQ(Keys(loaded, searchLoaded.Hits), Keys(loaded, oldLoaded->Results));
            EXPECT_EQ(searchLoaded.SystemsAnswered, 0);
        }
        // Most queries are the file's to answer: the comparison tests that path.
        EXPECT_GT(answeredFromFile, kQueries * systems / 4);
    }
}
