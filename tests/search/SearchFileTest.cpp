// Searching a sector whose systems stay in its file until needed: the same
// results as in memory, the database test loading only what may match, and
// systems loaded for nothing let go again.
#include "SearchTestSector.h"

#include "files/SectorFile.h"
#include "files/ZentDatabaseSQLite.h"
#include "model/SectorStore.h"
#include "search/SearchPrefilter.h"
#include "search/Searcher.h"

#include <gtest/gtest.h>

using namespace kalvion;
using namespace kalvion::test;

namespace {

const char *const kQueries[] = {
    "",
    "terrestrial population > 1000000",
    "star",
    "systems with star",
    "parent star temp > 5000 population > 0",
    "root temp > 4000 population > 0",
    "parent population > 1000 habitable",
    "not habitable temp < 200",
    "not population > 0 tempc between -30 and 20",
    "hospitable, water = 0",
    "rotation <> 0",
    "atmosphere between 0.001 and 0.01",
    "atm o2 > 10",
    "field size > 4",
    "in core not inhospitable",
    "root only temp > 2000",
    "tempc > 26.999999",
    "population <> 0",
    "not population = 0",
    "not hospitable not habitable",
};

int LoadedCount(const TVexaSector &s)
{
    int n = 0;
    for (auto &r : s.Systems)
        n += r->Loaded ? 1 : 0;
    return n;
}

} // namespace

class SearchFileTest : public SearchTempDir {};

TEST_F(SearchFileTest, SameResultsLoadedAndReopened)
{
    auto memory = MakeSearchSector();
    const std::string file = PathOf("search.VexaDB");
    std::string error;
    ASSERT_TRUE(SaveToFile(*memory, file, false, &error)) << error;

    for (const char *query : kQueries) {
        TVexaSector reopened;
        ASSERT_TRUE(LoadFromFile(reopened, file, &error)) << error;
        ASSERT_EQ(LoadedCount(reopened), 0);
        auto a = CreateVexaSearcher(memory.get());
        auto b = CreateVexaSearcher(&reopened);
        a->Search(query);
        b->Search(query);
        EXPECT_EQ(b->ErrorText, a->ErrorText) << query;
        EXPECT_EQ(Names(b->Results), Names(a->Results)) << query;
        // Systems loaded for nothing are unloaded again; those with results stay.
        for (auto &root : reopened.Systems) {
            bool holdsResult = false;
            for (TStellarBody *r : b->Results)
                holdsResult = holdsResult || r->GetRootBody() == root.get();
            if (!std::string(query).starts_with("root only")) {
                EXPECT_EQ(root->Loaded, holdsResult) << query << ": " << root->Name;
            }
        }
        // Searching again with everything loaded gives the same again.
        reopened.DynaLoadAll();
        b->Search(query);
        EXPECT_EQ(Names(b->Results), Names(a->Results)) << query << " (all loaded)";
    }
}

TEST_F(SearchFileTest, PrefilterSkipsOnlySystemsWithoutMatches)
{
    auto memory = MakeSearchSector();
    const std::string file = PathOf("prefilter.VexaDB");
    ASSERT_TRUE(SaveToFile(*memory, file, false));
    TVexaSector reopened;
    ASSERT_TRUE(LoadFromFile(reopened, file));
    auto s = CreateVexaSearcher(&reopened);

    // The parent star's temperature and the body's population lie on two
    // rows of the same system; Far's star is too cool, Lone holds nobody.
    s->Search("parent star temp > 5000 population > 0");
    EXPECT_EQ(Names(s->Results), (std::vector<std::string>{"Earth", "Mars", "Alpha Ab"}));
    EXPECT_EQ(s->SystemsLoaded, 2);
    EXPECT_EQ(s->SystemsSkipped, 2);
    EXPECT_NE(s->PrefilterSQL.find("exists"), std::string::npos);

    // Without the database test every system is loaded and tested.
    TVexaSector again;
    ASSERT_TRUE(LoadFromFile(again, file));
    auto t = CreateVexaSearcher(&again);
    t->UsePrefilter = false;
    t->Search("parent star temp > 5000 population > 0");
    EXPECT_EQ(Names(t->Results), Names(s->Results));
    EXPECT_EQ(t->SystemsLoaded, 4);
    EXPECT_EQ(t->SystemsSkipped, 0);
}

namespace {

// Hands out the children of a freshly made test sector, so that a sector can
// name any file while its systems still load.
class MemoryStore : public TSectorStore {
public:
    int Loads = 0;
    bool LoadSystemChildren(TVexaSector &sector, TStellarBody &root) override
    {
        auto source = MakeSearchSector();
        TStellarBody *from = source->GetSystem(sector.IndexOfSystem(&root));
        if (!from)
            return false;
        while (!from->Children.empty()) {
            auto child = from->ExtractChild(from->Children.front().get());
            child->Parent = &root;
            root.Children.push_back(std::move(child));
        }
        ++Loads;
        return true;
    }
    bool LoadResourceData(TVexaSector &, TVexaImageResource &) override { return false; }
};

} // namespace

TEST_F(SearchFileTest, FailingPrefilterLoadsAndTests)
{
    // A file without a bodies table: every prefilter statement fails.
    const std::string file = PathOf("nobodies.VexaDB");
    {
        TZentSqliteInterface db(file);
        ASSERT_TRUE(db.Open());
        db.Execute("create table x (y integer)");
        db.Close();
    }
    auto sector = MakeSearchSector();
    MemoryStore store;
    sector->Store = &store;
    sector->FileName = file;
    for (int i = 0; i < sector->SystemCount(); ++i) {
        TStellarBody *root = sector->GetSystem(i);
        root->UnloadChildren();
        root->Loaded = false;
        root->TVexaBase::Modified = false;
        root->RecordID = i + 1;
    }
    auto s = CreateVexaSearcher(sector.get());
    s->Search("hospitable");
    EXPECT_EQ(Names(s->Results), (std::vector<std::string>{"Earth"}));
    EXPECT_EQ(s->SystemsSkipped, 0);
    EXPECT_EQ(store.Loads, 4);
    EXPECT_TRUE(sector->GetSystem(0)->Loaded);
    EXPECT_FALSE(sector->GetSystem(1)->Loaded);
}

TEST(SearchPrefilter, StatementText)
{
    auto sql = [](const std::string &query) {
        TVexaQueryLanguage q;
        q.Clear();
        q.Parse(query);
        return BuildPrefilterSQL(q.Params);
    };
    EXPECT_EQ(sql("mass > 2 name like x star"), "");
    EXPECT_EQ(sql("population > 1e6"),
              "select id from bodies where (system_id = ?1) and (ifnull(population, 0) > 1e+06) limit 1");
    EXPECT_EQ(sql("not hospitable"),
              "select id from bodies where (system_id = ?1) and ( not ifnull(habitability, 0) = 2)  limit 1");
    EXPECT_EQ(sql("water between 0.25 and 0.5 not temp between 1 and 2"),
              "select id from bodies where (system_id = ?1) and ((ifnull(water, 0) >= 0.25) and "
              "(ifnull(water, 0) <= 0.5)) and ((ifnull(temp, 0) <= 1) or (ifnull(temp, 0) >= 2)) limit 1");
    EXPECT_EQ(sql("tempc < 15.5"),
              "select id from bodies where (system_id = ?1) and ((ifnull(temp, 0) - 273) < 15.5) limit 1");
    EXPECT_EQ(sql("root rotation = 24 atm > 1"),
              "select id from bodies where (system_id = ?1) and (ifnull(atmosphere, 0) > 1) and exists (select 1 "
              "from bodies where (id = ?1) and (ifnull(rotation, 0) = 24)) limit 1");
    EXPECT_EQ(PrefilterNumber(0.1), "0.1");
    EXPECT_EQ(PrefilterNumber(-273), "-273");
}
