// Checkpoint saves during a generation add the new systems to the file and
// leave the rows written by earlier saves as they are.
#include "base/SharedRandom.h"
#include "files/SectorFile.h"
#include "files/VexaDBSQLite.h"
#include "files/ZentDatabaseSQLite.h"
#include "generation/SectorGenerator.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace kalvion {
namespace {

namespace fs = std::filesystem;

struct TRowChange {
    int Op;
    std::string Table;
    std::int64_t RowId;
};

// Every change made through the sector store's connections, by connection.
struct TChangeLog {
    std::vector<std::vector<TRowChange>> Connections;
};

TChangeLog *gLog = nullptr;

void OnRowChange(void *, int op, const char *, const char *table, sqlite3_int64 rowid)
{
    if (gLog && !gLog->Connections.empty())
        gLog->Connections.back().push_back({op, table, rowid});
}

TEST(SectorCheckpoints, SaveOnlyTheNewSystemsAndLeaveEarlierRowsUntouched)
{
    const fs::path dir = fs::temp_directory_path() / ("kalvion_checkpoint_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    TChangeLog log;
    gLog = &log;
    TVexaDB_SQLite::TestConnectionHook = [&log](TZentSqliteInterface &db) {
        log.Connections.emplace_back();
        sqlite3_update_hook(db.Handle(), OnRowChange, nullptr);
    };

    SetSharedRandomSeed(33);
    TVexaSector s;
    s.SizeX = 26;
    s.SizeY = 26;
    s.SizeZ = 30;
    s.Frequency = 200;  // 27 x 27 x 31 = 22599 cells, every one placed: two checkpoints and the end
    const std::string file = (dir / "c.VexaDB").string();
    ASSERT_TRUE(SaveToFile(s, file, false));
    TVexaGenThreadMgr &mgr = SectorGenThreadMgr(s);
    TSectorGenerateParams params;
    params.SystemData = GENERATE_NONE;
    mgr.Start(params);
    while (mgr.ProcessHandOvers(std::chrono::milliseconds(20))) {
    }
    TVexaDB_SQLite::TestConnectionHook = nullptr;
    gLog = nullptr;
    ASSERT_EQ(s.Systems.size(), 22599u);
    EXPECT_TRUE(mgr.ErrorMessage().empty()) << mgr.ErrorMessage();

    // Saves that wrote bodies, in order, with the body rows each inserted.
    std::vector<std::vector<std::int64_t>> inserted;
    std::vector<const std::vector<TRowChange> *> saves;
    for (const auto &changes : log.Connections) {
        std::vector<std::int64_t> rows;
        for (const TRowChange &c : changes)
            if (c.Table == "bodies" && c.Op == SQLITE_INSERT)
                rows.push_back(c.RowId);
        if (!rows.empty()) {
            inserted.push_back(std::move(rows));
            saves.push_back(&changes);
        }
    }
    ASSERT_EQ(inserted.size(), 3u);  // 10,000, 20,000 and the end

    std::int64_t before = 0;  // highest body row of the earlier saves
    std::vector<std::int64_t> atmBefore;
    for (std::size_t k = 0; k < saves.size(); ++k) {
        const auto &rows = inserted[k];
        EXPECT_GT(*std::min_element(rows.begin(), rows.end()), before) << "save " << k;
        for (const TRowChange &c : *saves[k]) {
            if (c.Table != "bodies" && c.Table != "atm_components")
                continue;
            if (c.Op == SQLITE_INSERT)
                continue;
            // Only a row this save inserted may be touched again by it.
            const bool own = c.Table == "bodies" && std::find(rows.begin(), rows.end(), c.RowId) != rows.end();
            EXPECT_TRUE(own) << "save " << k << " changed " << c.Table << " row " << c.RowId << " (op " << c.Op
                             << ")";
        }
        before = std::max(before, *std::max_element(rows.begin(), rows.end()));
    }
    std::size_t roots = 0;
    for (const auto &root : s.Systems)
        roots += root->RecordID > 0;
    EXPECT_EQ(roots, 22599u);

    TVexaSector back;
    ASSERT_TRUE(LoadFromFile(back, file));
    ASSERT_EQ(back.Systems.size(), 22599u);
    // A root is its own system.
    TZentSqliteInterface db(file, "", "", "", TZentOpenMode::ExistingOnly);
    auto rs = db.Query("select count(*) from bodies where parent_id = 0 and system_id <> id");
    ASSERT_TRUE(rs->Next());
    EXPECT_EQ(rs->AsInt64(0), 0);
    rs.reset();
    // The finished file has every body index.
    rs = db.Query("select group_concat(name, ' ') from (select name from sqlite_master where type = 'index' and "
                  "tbl_name in ('bodies', 'atm_components') order by name)");
    ASSERT_TRUE(rs->Next());
    EXPECT_EQ(rs->AsString(0), "i_atm_body i_parent_id i_political i_system_id i_system_tree");
    rs.reset();
    db.Close();
    fs::remove_all(dir);
}

TEST(SectorCheckpoints, RootsOfASecondSaveAreTheirOwnSystemsAndIdsFollowOn)
{
    const fs::path dir = fs::temp_directory_path() / ("kalvion_checkpoint_ids_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string file = (dir / "d.VexaDB").string();
    TVexaSector s;
    for (int i = 0; i < 3; ++i) {
        auto root = TStellarBody::Create();
        root->Name = "S" + std::to_string(i);
        auto planet = TStellarBody::Create();
        planet->Name = "P" + std::to_string(i);
        planet->AtmElements.resize(11);  // read back in the order written
        for (std::size_t g = 0; g < planet->AtmElements.size(); ++g) {
            planet->AtmElements[g].Gas = "G" + std::to_string(g);
            planet->AtmElements[g].Percent = static_cast<double>(g);
        }
        root->AddChild(std::move(planet));
        s.AddSystem(std::move(root));
    }
    ASSERT_TRUE(SaveToFile(s, file, false));
    auto late = TStellarBody::Create();
    late->Name = "Late";
    s.AddSystem(std::move(late));
    ASSERT_TRUE(SaveToFile(s, file, false));

    TZentSqliteInterface db(file, "", "", "", TZentOpenMode::ExistingOnly);
    auto rs = db.Query("select id, system_id from bodies where parent_id = 0 order by id");
    std::vector<std::int64_t> ids;
    while (rs->Next()) {
        EXPECT_EQ(rs->AsInt64(0), rs->AsInt64(1));
        ids.push_back(rs->AsInt64(0));
    }
    ASSERT_EQ(ids.size(), 4u);
    EXPECT_EQ(ids.back(), 7);  // after three roots and then their three planets (the first is 4)
    rs.reset();
    rs = db.Query("select group_concat(gas, ','), group_concat(percent, ',') from (select gas, percent from "
                  "atm_components where body_id = 4 order by rowid)");
    ASSERT_TRUE(rs->Next()) << db.ErrorMessage;
    EXPECT_EQ(rs->AsString(0), "G0,G1,G2,G3,G4,G5,G6,G7,G8,G9,G10");
    EXPECT_EQ(rs->AsString(1), "0.0,1.0,2.0,3.0,4.0,5.0,6.0,7.0,8.0,9.0,10.0");
    rs.reset();
    db.Close();
    fs::remove_all(dir);
}

} // namespace
} // namespace kalvion
