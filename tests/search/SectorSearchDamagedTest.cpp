// A sector file changed behind the program's back: parents that loop or are
// missing, a body that lost its parent, texts stored as bytes, values stored
// as NULL, the tree index gone.  The search that answers from the file gives
// what loading the systems gives, and never more than the walk can reach.
#include "SearchTestSector.h"

#include "files/SectorFile.h"
#include "files/ZentDatabaseSQLite.h"
#include "search/SectorSearch.h"
#include "search/Searcher.h"

#include <gtest/gtest.h>

using namespace kalvion;
using namespace kalvion::test;

namespace {

const char *const kQueries[] = {
    "",
    "terrestrial",
    "star",
    "systems with terrestrial",
    "parent star temp > 0",
    "parent population > 1000",
    "root temp > 1000 temp < 400",
    "population = 0",
    "name like \"a\"",
    "name = \"\"",
    "within 10 not star",
    // One match in its system: no tree is read to order it.
    "name = \"luna\"",
    "name = \"io\"",
    "name = \"jupiter\"",
    "name = \"far i\"",
};

std::vector<ResultKey> HitKeys(const TVexaSector &sector, const TSectorSearch &search)
{
    TStellarBodyList bodies;
    std::vector<ResultKey> keys;
    for (const TSearchHit &h : search.Hits) {
        int index = -1;
        for (std::size_t i = 0; i < sector.Systems.size(); ++i)
            if (sector.Systems[i].get() == h.Root)
                index = static_cast<int>(i);
        keys.emplace_back(index, h.BodyID);
    }
    return keys;
}

// Runs the statements of `script`, separated by "; ".
void Damage(const std::string &file, const std::string &script)
{
    TZentSqliteInterface db(file, std::string(), std::string(), std::string(), TZentOpenMode::ExistingOnly);
    ASSERT_TRUE(db.Open());
    std::size_t start = 0;
    while (start < script.size()) {
        std::size_t end = script.find("; ", start);
        if (end == std::string::npos)
            end = script.size();
        const std::string sql = script.substr(start, end - start);
        db.Execute(sql);
        ASSERT_FALSE(db.HasError) << sql << ": " << db.ErrorMessage;
        start = end + 2;
    }
    db.Close();
}

} // namespace

class SectorSearchDamagedTest : public SearchTempDir {
protected:
    // Every query on the damaged file, the old searcher on one opening and
    // the new search on another; `after` damages again once both are open.
    void ExpectSameResults(const std::string &damage, const std::string &after = std::string())
    {
        SCOPED_TRACE(damage + after);
        auto made = MakeSearchSector();
        const std::string file = PathOf("damaged.VexaDB");
        std::string error;
        ASSERT_TRUE(SaveToFile(*made, file, false, &error)) << error;
        if (!damage.empty())
            Damage(file, damage);
        for (const char *query : kQueries) {
            SCOPED_TRACE(query);
            TVexaSector reference, fresh;
            ASSERT_TRUE(LoadFromFile(reference, file, &error)) << error;
            ASSERT_TRUE(LoadFromFile(fresh, file, &error)) << error;
            reference.SelectBody(reference.Systems.front().get());
            fresh.SelectBody(fresh.Systems.front().get());
            if (!after.empty())
                Damage(file, after);
            auto old = CreateVexaSearcher(&reference);
            old->Search(query);
            TSectorSearch search(&fresh);
            EXPECT_EQ(search.Search(query), old->ErrorText.empty());
            EXPECT_EQ(HitKeys(fresh, search), ResultKeys(reference, old->Results));
            for (TSearchHit &h : search.Hits)
                EXPECT_NE(search.Open(h), nullptr) << h.BodyID;
        }
    }
};

TEST_F(SectorSearchDamagedTest, BrokenParentsGiveWhatLoadingGives)
{
    ExpectSameResults("update bodies set parent_id = id where name = 'Io'");
    ExpectSameResults("update bodies set parent_id = 999999 where name = 'Luna'");
    // Two bodies each other's parent, out of reach of the root.
    ExpectSameResults("update bodies set parent_id = (select id from bodies where name = 'Mars') where name = "
                      "'Jupiter'; update bodies set parent_id = (select id from bodies where name = 'Jupiter') "
                      "where name = 'Mars'");
    // A body without a parent opens as a system of its own.
    ExpectSameResults("update bodies set parent_id = 0 where name = 'Far I'");
}

TEST_F(SectorSearchDamagedTest, OddStoredValuesCompareAsLoaded)
{
    ExpectSameResults("update bodies set name = x'ff41' where name = 'Mars'");
    ExpectSameResults("update bodies set name = NULL where name = 'Luna'");
    ExpectSameResults("update bodies set population = NULL, temp = NULL, type_id = NULL where name = 'Earth'");
}

TEST_F(SectorSearchDamagedTest, AFileWithoutTheTreeIndexStillAnswers)
{
    // Opening puts the index back: it goes while the sector is open.
    ExpectSameResults(std::string(), "drop index if exists i_system_tree");
}
