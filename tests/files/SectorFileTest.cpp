// Sector database files: schema, upgrade, paging, incremental saves,
// deletions and the failure cases that must never lose data.
#include "FilesTestHelpers.h"
#include "files/SectorFile.h"
#include "files/SectorSchema.h"
#include "files/SurfaceMapStore.h"
#include "files/VexaDBSQLite.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace kalvion::test {
namespace {

namespace fs = std::filesystem;

class SectorFileTest : public TempDirTest {
protected:
    void TearDown() override
    {
        TVexaDB_SQLite::TestConnectionHook = nullptr;
        TempDirTest::TearDown();
    }

    // A saved sector of `systems` systems of two planets with a moon each.
    std::string MakeFile(const std::string &name, int systems)
    {
        TVexaSector s;
        for (int i = 0; i < systems; ++i)
            s.AddSystem(MakeSystem("Sys" + std::to_string(i), 2, i));
        const std::string file = PathOf(name);
        std::string error;
        EXPECT_TRUE(SaveToFile(s, file, false, &error)) << error;
        return file;
    }

    std::int64_t Count(const std::string &file, const std::string &table, const std::string &where = "")
    {
        return QueryInt(file, "select count(*) from " + table + (where.empty() ? "" : " where " + where));
    }
};

std::vector<std::string> Columns(const std::string &file, const std::string &table)
{
    return QueryColumn(file, "select name from pragma_table_info('" + table + "') order by cid");
}

TEST_F(SectorFileTest, NewFileHasTheWholeSchema)
{
    const std::string file = MakeFile("new.VexaDB", 2);
    EXPECT_EQ(QueryText(file, "select value from config where name = 'db_version'"), "303");
    EXPECT_EQ(Columns(file, "bodies"),
              (std::vector<std::string>{
                  "id", "parent_id", "system_id", "id_string", "name", "type_id", "body_type", "spectral", "distance",
                  "radius", "density", "mass", "rotation", "luminosity", "albedo", "temp", "atmosphere", "atm_notes",
                  "water", "population", "child_population", "habitability", "child_habitability", "body_count",
                  "political_affiliation", "sphere_influence", "sphere_color", "sphere_size", "notes", "gm_notes",
                  "color", "label_color", "font_style", "dso_intensity", "render_distance", "label_distance",
                  "route_distance", "visible", "retrograde_orbit", "eccentricity", "inclination",
                  "angle_ascending_node", "angle_periapsis", "time_offset", "axial_tilt", "orbital_plane_x",
                  "orbital_plane_y", "orbital_plane_z", "orbit_color", "x", "y", "z", "random_seed",
                  "gex_color_group", "preview_image_file", "blazon_image_file", "blazon_display", "blazon_wrap",
                  "has_atm_comp", "has_fields", "has_sdc", "has_fcg", "model"}));
    EXPECT_EQ(Columns(file, "atm_components"), (std::vector<std::string>{"body_id", "gas", "percent"}));
    EXPECT_EQ(Columns(file, "custom_fields"), (std::vector<std::string>{"type_id", "parent_id", "name", "value"}));
    EXPECT_EQ(Columns(file, "system_data_config"),
              (std::vector<std::string>{"body_id", "type_id", "sort_order", "name", "source", "field",
                                        "hide_if_empty"}));
    EXPECT_EQ(Columns(file, "gex_color_groups"),
              (std::vector<std::string>{"id", "body_id", "deep_water", "low_water", "beach", "low_land", "high_land",
                                        "ice", "dry", "gen_atm", "atm_color"}));
    EXPECT_EQ(Columns(file, "subsectors"),
              (std::vector<std::string>{"id", "id_string", "name", "color", "show_label", "shape", "visible",
                                        "center_x", "center_y", "center_z", "size_x", "size_y", "size_z",
                                        "show_grid", "grid_x", "grid_y", "grid_z", "rotate_x", "rotate_y",
                                        "rotate_z", "grid_tick", "tick_labels"}));
    EXPECT_EQ(Columns(file, "routes"),
              (std::vector<std::string>{"id", "id_string", "name", "route_type", "count", "round_trip", "visible",
                                        "red", "green", "blue", "line_width", "line_style", "line_stipple"}));
    EXPECT_EQ(Columns(file, "route_waypoints"),
              (std::vector<std::string>{"id", "route_id", "id_string", "body_id", "pos_x", "pos_y", "pos_z"}));
    EXPECT_EQ(Columns(file, "sector_views"),
              (std::vector<std::string>{"id", "name", "camera_pos_x", "camera_pos_y", "camera_pos_z",
                                        "target_pos_x", "target_pos_y", "target_pos_z", "filter_style",
                                        "filter_habitable", "filter_population",
                                        "filter_hide_unassigned_subsector"}));
    EXPECT_EQ(Columns(file, "sector_view_arrays"),
              (std::vector<std::string>{"type_id", "view_id", "name", "visible"}));
    EXPECT_EQ(Columns(file, "resources"), (std::vector<std::string>{"id", "id_string", "name", "data"}));
    EXPECT_EQ(Columns(file, "surface_maps"),
              (std::vector<std::string>{"id", "body_id", "id_string", "surface_map", "surface_map_image"}));
    EXPECT_EQ(Columns(file, "config"), (std::vector<std::string>{"name", "value"}));
    EXPECT_EQ(Columns(file, "sector_info").size(), 36u);
    EXPECT_EQ(QueryInt(file, "select count(*) from sqlite_master where type = 'index' and name in ('i_system_id', "
                             "'i_sdctbs')"),
              2);
    // Roots point at themselves, other bodies at their root.
    EXPECT_EQ(Count(file, "bodies"), 10);
    EXPECT_EQ(Count(file, "bodies", "parent_id = 0 and system_id = id"), 2);
    EXPECT_EQ(Count(file, "bodies b", "parent_id <> 0 and system_id <> (select system_id from bodies p where p.id "
                                      "= b.parent_id)"),
              0);
    EXPECT_EQ(Count(file, "sector_info"), 1);
}

TEST_F(SectorFileTest, NewFileStoresTheBuiltInDisplayDefaults)
{
    TVexaSector s;
    int rows = 0;
    for (int t = 0; t < SYSTEMDATACONFIG_HOLDER_COUNT; ++t)
        if (auto *c = s.SystemDataDefaults.GetConfigForType(t))
            rows += c->Count();
    if (rows == 0)
        GTEST_SKIP() << "the sector has no built-in display defaults yet";
    const std::string file = PathOf("d.VexaDB");
    ASSERT_TRUE(SaveToFile(s, file, false));
    EXPECT_EQ(Count(file, "system_data_config", "body_id = 0"), 110);
    EXPECT_EQ(rows, 110);
}

TEST_F(SectorFileTest, BuiltInSchemaServesWhenTheFileIsMissing)
{
    std::ifstream in(std::string(KALVION_SOURCE_DIR) + "/data/Vexa3DB.ddl", std::ios::binary);
    const std::string shipped((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(shipped, EmbeddedSchemaText());

    const char *old = std::getenv("KALVION_DATA_DIR");
    const std::string saved = old ? old : "";
    const fs::path empty = Dir / "nodata";
    fs::create_directories(empty);
    ::setenv("KALVION_DATA_DIR", empty.c_str(), 1);
    const std::string file = MakeFile("fallback.VexaDB", 1);
    if (old)
        ::setenv("KALVION_DATA_DIR", saved.c_str(), 1);
    else
        ::unsetenv("KALVION_DATA_DIR");
    EXPECT_EQ(QueryText(file, "select value from config where name = 'db_version'"), "303");
    EXPECT_EQ(Count(file, "bodies"), 5);
}

TEST_F(SectorFileTest, OlderSchemaIsUpgradedBySavingNotByOpening)
{
    const std::string file = MakeFile("old.VexaDB", 1);
    ExecSql(file, "drop index i_system_id");
    ExecSql(file, "drop index i_sdctbs");
    ExecSql(file, "drop index i_parent_id");
    ExecSql(file, "drop table surface_maps");
    ExecSql(file, "update config set value = '301' where name = 'db_version'");
    const auto before = ReadBytes(file);
    const auto indexes = [&] {
        return QueryInt(file, "select count(*) from sqlite_master where name in ('i_system_id', 'i_sdctbs', "
                              "'i_parent_id', 'surface_maps')");
    };

    TVexaSector s;
    ASSERT_TRUE(LoadFromFile(s, file));
    s.DynaLoadAll();
    EXPECT_EQ(s.GetSystem(0)->ChildrenCount(), 2);
    EXPECT_FALSE(s.GetResourceImageStream("none.png").has_value());
    EXPECT_EQ(ReadBytes(file), before); // reading wrote nothing
    EXPECT_EQ(indexes(), 0);

    s.GetSystem(0)->ModifySystem();
    ASSERT_TRUE(SaveToFile(s, file, false));
    EXPECT_EQ(QueryText(file, "select value from config where name = 'db_version'"), "303");
    EXPECT_EQ(indexes(), 4);
}

TEST_F(SectorFileTest, RootsAreReadInPagesInIdOrder)
{
    const std::string file = MakeFile("p.VexaDB", 7);
    TVexaDB_SQLite db;
    db.RootPageSize = 3;
    ASSERT_TRUE(db.OpenExistingSectorFile(file));
    TVexaSector s;
    ASSERT_TRUE(db.ReadSector(s));
    ASSERT_EQ(s.SystemCount(), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(s.GetSystem(i)->Name, "Sys" + std::to_string(i));
        if (i > 0) {
            EXPECT_GT(s.GetSystem(i)->RecordID, s.GetSystem(i - 1)->RecordID);
        }
    }
}

TEST_F(SectorFileTest, SecondSaveWritesNoBodiesAndKeepsIds)
{
    const std::string file = MakeFile("twice.VexaDB", 3);
    TVexaSector s;
    ASSERT_TRUE(LoadFromFile(s, file));
    auto sub = TVexaSubsector::Create();
    sub->Name = "A";
    s.AddSubsector(std::move(sub));
    ASSERT_TRUE(SaveToFile(s, file, false));
    const std::int64_t subId = s.Subsectors[0]->RecordID;
    const std::int64_t maxBody = QueryInt(file, "select max(id) from bodies");
    ExecSql(file, "update bodies set name = 'edited elsewhere' where parent_id <> 0");
    ASSERT_TRUE(SaveToFile(s, file, false));
    EXPECT_EQ(s.Subsectors[0]->RecordID, subId);
    EXPECT_EQ(Count(file, "subsectors"), 1);
    EXPECT_EQ(QueryInt(file, "select max(id) from bodies"), maxBody);
    // Unchanged systems are not written: another program's edits survive.
    EXPECT_EQ(Count(file, "bodies", "name = 'edited elsewhere'"), 12);
}

TEST_F(SectorFileTest, EmptiedFieldsSurviveAndLoadingMarksNothingModified)
{
    TVexaSector s;
    auto root = MakeSystem("Fields", 1);
    root->SetField("Owner", "guild");
    root->SetField("Owner", ""); // emptied by the user: still a field
    TStellarBody *planet = root->GetChild(0);
    planet->SetField("Notes2", "x");
    planet->SetField("notes2", "");
    planet->SetField("Port", "B");
    s.AddSystem(std::move(root));
    s.SetField("Empty", "y");
    s.SetField("empty", "");
    const std::string file = PathOf("fields.VexaDB");
    ASSERT_TRUE(SaveToFile(s, file, false));

    TVexaSector r;
    ASSERT_TRUE(LoadFromFile(r, file));
    EXPECT_EQ(r.GetFieldIndex("empty"), 0);
    TStellarBody *g = r.GetSystem(0);
    r.DynaLoad(g);
    ASSERT_TRUE(g->Loaded);
    EXPECT_EQ(g->GetFieldIndex("owner"), 0);
    EXPECT_EQ(g->GetField("owner"), "");
    TStellarBody *p = g->GetChild(0);
    ASSERT_EQ(p->GetFieldCount(), 2);
    EXPECT_EQ(p->GetFieldNameByIndex(0), "notes2");
    EXPECT_EQ(p->GetFieldByIndex(1), "B");
    // Reading is not a change: no body of the system is to be written again.
    EXPECT_FALSE(g->SystemModified());
    EXPECT_FALSE(p->TVexaBase::Modified);
}

TEST_F(SectorFileTest, IncrementalSaveWritesOnlyTheChangedSystem)
{
    const std::string file = MakeFile("inc.VexaDB", 3);
    TVexaSector s;
    ASSERT_TRUE(LoadFromFile(s, file));
    TStellarBody *root = s.GetSystem(1);
    s.DynaLoad(root);
    root->Children[0]->Name = "Renamed";
    root->Children[0]->ModifySystem();
    s.DynaLoad(s.GetSystem(2)); // loaded but unchanged
    ExecSql(file, "update bodies set notes = 'theirs' where system_id = " +
                      std::to_string(s.GetSystem(2)->RecordID) + " and parent_id <> 0");
    ASSERT_TRUE(SaveToFile(s, file, false));
    EXPECT_EQ(Count(file, "bodies", "name = 'Renamed'"), 1);
    EXPECT_EQ(Count(file, "bodies", "notes = 'theirs'"), 4);
    EXPECT_EQ(Count(file, "bodies"), 15);
    EXPECT_FALSE(root->Loaded); // written and not selected: unloaded
}

TEST_F(SectorFileTest, DeletedBodiesTakeTheirRowsAndDescendantsWithThem)
{
    const std::string file = PathOf("del.VexaDB");
    {
        TVexaSector s;
        s.AddSystem(MakeSystem("A", 2));
        TStellarBody *planet = s.GetSystem(0)->Children[0].get();
        planet->SetField("owner", "x");
        planet->SetAtmElement("N2", 80);
        planet->SetSystemDataConfig(std::make_unique<TSystemDataConfig>());
        planet->SystemDataConfig->Records.push_back({"Cap", "mass", "", false});
        planet->SetGexColorGroup(TGexColorGroup());
        s.AddSystem(MakeSystem("B", 1));
        ASSERT_TRUE(SaveToFile(s, file, false));
    }
    TVexaSector s;
    ASSERT_TRUE(LoadFromFile(s, file));
    TStellarBody *a = s.GetSystem(0);
    s.DynaLoad(a);
    TStellarBody *planet = a->Children[0].get();
    const std::int64_t pid = planet->RecordID;
    const std::int64_t moonId = planet->Children[0]->RecordID;
    ASSERT_TRUE(StoreSurfaceMap(file, TMemoryStream{1, 2}, TMemoryStream{3}, pid));
    EXPECT_TRUE(HasSurfaceMap(file, pid));
    s.DeleteChildBody(a, planet);
    ASSERT_TRUE(SaveToFile(s, file, false));
    const std::string id = std::to_string(pid);
    EXPECT_EQ(Count(file, "bodies", "id in (" + id + ", " + std::to_string(moonId) + ")"), 0);
    EXPECT_EQ(Count(file, "atm_components", "body_id = " + id), 0);
    EXPECT_EQ(Count(file, "custom_fields", "type_id = 2 and parent_id = " + id), 0);
    EXPECT_EQ(Count(file, "system_data_config", "body_id = " + id), 0);
    EXPECT_EQ(Count(file, "gex_color_groups", "body_id = " + id), 0);
    EXPECT_EQ(Count(file, "surface_maps", "body_id = " + id), 0);
    EXPECT_FALSE(HasSurfaceMap(file, pid));

    // DeleteChildren: the children go with their descendants.
    s.DynaLoad(a);
    a->DeleteChildren();
    ASSERT_TRUE(SaveToFile(s, file, false));
    EXPECT_EQ(Count(file, "bodies", "system_id = " + std::to_string(a->RecordID)), 1);
    EXPECT_EQ(Count(file, "bodies"), 4);
}

TEST_F(SectorFileTest, DeletingOrReassigningAnUnloadedRootLeavesNoOrphans)
{
    const std::string file = MakeFile("orph.VexaDB", 3);
    TVexaSector s;
    ASSERT_TRUE(LoadFromFile(s, file));
    // Deleting a root never opened: its stored children go too.
    s.DeleteRootBody(s.GetSystem(0));
    // Moving a root never opened into another system carries its whole tree.
    TStellarBody *target = s.GetSystem(0); // was Sys1
    TStellarBody *moved = s.GetSystem(1);  // Sys2
    s.DynaLoad(target);
    s.ReassignChild(moved, target);
    ASSERT_EQ(s.SystemCount(), 1);
    ASSERT_TRUE(SaveToFile(s, file, false));
    EXPECT_EQ(Count(file, "bodies"), 10);
    EXPECT_EQ(Count(file, "bodies", "parent_id = 0"), 1);
    EXPECT_EQ(Count(file, "bodies b", "parent_id <> 0 and not exists (select 1 from bodies p where p.id = "
                                      "b.parent_id)"),
              0);
    EXPECT_EQ(Count(file, "bodies", "system_id <> " + std::to_string(target->RecordID)), 0);

    TVexaSector r;
    ASSERT_TRUE(LoadFromFile(r, file));
    r.DynaLoad(r.GetSystem(0));
    TStellarBody *root = r.GetSystem(0);
    ASSERT_EQ(root->ChildrenCount(), 3);
    EXPECT_EQ(root->Children[2]->Name, "Sys2");
    EXPECT_EQ(CountBodies(*root->Children[2]), 5);
}

TEST_F(SectorFileTest, NewBodyNeverInheritsLeftoverRows)
{
    const std::string file = MakeFile("inh.VexaDB", 1);
    const std::int64_t next = QueryInt(file, "select max(id) from bodies") + 1;
    const std::string n = std::to_string(next);
    // Rows an older version left behind for an id not yet handed out.
    ExecSql(file, "insert into custom_fields (type_id, parent_id, name, value) values (2, " + n + ", 'old', 'x')");
    ExecSql(file, "insert into atm_components (body_id, gas, percent) values (" + n + ", 'XE', 5)");
    ExecSql(file, "insert into gex_color_groups (body_id, deep_water) values (" + n + ", 9)");
    TVexaSector s;
    ASSERT_TRUE(LoadFromFile(s, file));
    s.AddSystem(MakeSystem("Fresh", 0));
    ASSERT_TRUE(SaveToFile(s, file, false));
    EXPECT_EQ(s.GetSystem(1)->RecordID, next);
    EXPECT_EQ(Count(file, "custom_fields", "parent_id = " + n), 0);
    EXPECT_EQ(Count(file, "atm_components", "body_id = " + n), 0);
    EXPECT_EQ(Count(file, "gex_color_groups", "body_id = " + n), 0);
}

TEST_F(SectorFileTest, SaveToAnotherNameCarriesUnloadedSystems)
{
    const std::string file = MakeFile("orig.VexaDB", 3);
    for (bool copyFirst : {false, true}) {
        TVexaSector s;
        ASSERT_TRUE(LoadFromFile(s, file));
        s.AddSystem(MakeSystem("Extra", 1));
        const std::string other = PathOf(copyFirst ? "copy2.VexaDB" : "sub/copy1.VexaDB");
        std::ofstream(other + ".junk"); // unrelated file beside the target
        std::string error;
        ASSERT_TRUE(SaveToFile(s, other, copyFirst, &error)) << error;
        EXPECT_EQ(s.FileName, other);
        EXPECT_EQ(s.Name, copyFirst ? "copy2" : "copy1");
        EXPECT_EQ(Count(other, "bodies"), 18);
        EXPECT_EQ(Count(file, "bodies"), 15); // the original is untouched
        TVexaSector r;
        ASSERT_TRUE(LoadFromFile(r, other));
        ASSERT_EQ(r.SystemCount(), 4);
        r.DynaLoad(r.GetSystem(0));
        EXPECT_EQ(CountBodies(*r.GetSystem(0)), 5);
        EXPECT_FALSE(fs::exists(other + ".saving~"));
    }
}

TEST_F(SectorFileTest, SaveOverAnExistingOtherFileReplacesIt)
{
    const std::string big = MakeFile("big.VexaDB", 4);
    TVexaSector s;
    s.AddSystem(MakeSystem("Only", 0));
    ASSERT_TRUE(SaveToFile(s, big, false));
    EXPECT_EQ(Count(big, "bodies"), 1);
}

TEST_F(SectorFileTest, TemplateGivesANewSectorWithEverythingInMemory)
{
    const std::string file = PathOf("tpl.VexaDB");
    {
        TVexaSector s;
        s.AddSystem(MakeSystem("T", 1));
        auto res = std::make_unique<TVexaImageResource>();
        res->ResourceName = "backgroundimage";
        res->Data = {1, 2, 3};
        res->Loaded = true;
        s.ImageResources.Resources.push_back(std::move(res));
        auto route = TStellarRoute::Create();
        route->AddSystem(s.GetSystem(0));
        s.AddRoute(std::move(route));
        ASSERT_TRUE(SaveToFile(s, file, false));
    }
    TVexaSector t;
    ASSERT_TRUE(LoadFromTemplate(t, file));
    EXPECT_EQ(t.FileName, "");
    ASSERT_EQ(t.SystemCount(), 1);
    EXPECT_TRUE(t.GetSystem(0)->Loaded);
    EXPECT_EQ(t.GetSystem(0)->RecordID, 0);
    EXPECT_EQ(CountBodies(*t.GetSystem(0)), 3);
    EXPECT_EQ(t.Routes[0]->RecordID, 0);
    EXPECT_EQ(t.ImageResources.Resources[0]->RecordID, 0);
    const std::string out = PathOf("fromtpl.VexaDB");
    ASSERT_TRUE(SaveToFile(t, out, false));
    EXPECT_EQ(Count(out, "bodies"), 3);
    EXPECT_EQ(Count(out, "route_waypoints"), 1);
    EXPECT_EQ(QueryInt(out, "select length(data) from resources"), 3);
}

TEST_F(SectorFileTest, WaypointOfAMissingSystemIsDroppedOnLoad)
{
    const std::string file = PathOf("wp.VexaDB");
    {
        TVexaSector s;
        s.AddSystem(MakeSystem("A", 0, 1));
        s.AddSystem(MakeSystem("B", 0, 2));
        auto route = TStellarRoute::Create();
        route->AddSystem(s.GetSystem(0));
        route->AddSystem(s.GetSystem(1));
        s.AddRoute(std::move(route));
        ASSERT_TRUE(SaveToFile(s, file, false));
    }
    ExecSql(file, "delete from bodies where name = 'B'");
    TVexaSector s;
    ASSERT_TRUE(LoadFromFile(s, file));
    ASSERT_EQ(s.RouteCount(), 1);
    EXPECT_EQ(s.Routes[0]->WaypointCount(), 1);
}

TEST_F(SectorFileTest, ResourceAddedAndDeletedBeforeSavingLeavesNoRow)
{
    TVexaSector s;
    auto keep = std::make_unique<TVexaImageResource>();
    keep->ResourceName = "keep";
    keep->Data = {1};
    keep->Loaded = true;
    auto gone = std::make_unique<TVexaImageResource>();
    gone->ResourceName = "gone";
    gone->Deleted = true;
    s.ImageResources.Resources.push_back(std::move(keep));
    s.ImageResources.Resources.push_back(std::move(gone));
    const std::string file = PathOf("res.VexaDB");
    ASSERT_TRUE(SaveToFile(s, file, false));
    EXPECT_EQ(QueryColumn(file, "select name from resources"), (std::vector<std::string>{"keep"}));
    s.ImageResources.Resources[0]->Deleted = true;
    s.ImageResources.Resources[0]->Modified = true;
    ASSERT_TRUE(SaveToFile(s, file, false));
    EXPECT_EQ(Count(file, "resources"), 0);
}

// ---- failures ----

TEST_F(SectorFileTest, NonSectorFilesAreRefusedAndMissingOnesNotCreated)
{
    const std::string missing = PathOf("missing.VexaDB");
    TVexaSector s;
    EXPECT_FALSE(LoadFromFile(s, missing));
    EXPECT_FALSE(fs::exists(missing));
    TVexaDB_SQLite db;
    EXPECT_FALSE(db.OpenExistingSectorFile(missing));
    EXPECT_FALSE(fs::exists(missing));

    const std::string empty = PathOf("empty.VexaDB");
    std::ofstream(empty).close();
    const std::string text = PathOf("text.VexaDB");
    std::ofstream(text) << "Sector: Spinward Marches\nsystems: 12\n";
    const std::string noise = PathOf("noise.VexaDB");
    {
        std::ofstream out(noise, std::ios::binary);
        std::uint32_t x = 12345;
        for (int i = 0; i < 8192; ++i) {
            x = x * 134775813u + 1;
            out.put(static_cast<char>(x >> 24));
        }
    }
    const std::string other = PathOf("other.db");
    {
        TZentSqliteInterface db2(other);
        db2.Execute("create table bodies (id integer primary key, name text)");
    }
    // A damaged sector file: the right tables, but a broken bodies table.
    const std::string damaged = MakeFile("damaged.VexaDB", 1);
    ExecSql(damaged, "drop table bodies");
    ExecSql(damaged, "create table bodies (id integer primary key)");

    for (const std::string &f : {empty, text, noise, other, damaged}) {
        SCOPED_TRACE(f);
        TVexaSector t;
        t.Name = "untouched";
        std::string error;
        EXPECT_FALSE(LoadFromFile(t, f, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(t.SystemCount(), 0);
        EXPECT_EQ(t.FileName, "");
    }
    EXPECT_EQ(fs::file_size(empty), 0u); // opening did not give it a schema
}

TEST_F(SectorFileTest, DamagedRowsReadWithoutHarm)
{
    const std::string file = MakeFile("dmg.VexaDB", 2);
    // Out-of-range and mistyped values, a parent loop and a bad page size.
    ExecSql(file, "update bodies set type_id = 5000000000, color = -5000000000, habitability = 'lots', "
                  "random_seed = 2.5e300, font_style = x'00ff' where parent_id = 0");
    ExecSql(file, "update sector_info set grid_style = 99999999999, epoch_year = -7000000000");
    const std::int64_t root = QueryInt(file, "select min(id) from bodies where parent_id = 0");
    const std::int64_t planet = QueryInt(file, "select min(id) from bodies where parent_id = " +
                                                   std::to_string(root));
    const std::int64_t moon = QueryInt(file, "select min(id) from bodies where parent_id = " +
                                                 std::to_string(planet));
    ExecSql(file, "update bodies set parent_id = " + std::to_string(moon) + " where id = " + std::to_string(planet));
    ExecSql(file, "insert into bodies (parent_id, name) values (" + std::to_string(root) + ", 'self')");
    ExecSql(file, "update bodies set parent_id = id where name = 'self'");
    ExecSql(file, "update routes set line_stipple = 70000");

    TVexaSector s;
    std::string error;
    ASSERT_TRUE(LoadFromFile(s, file, &error)) << error;
    EXPECT_EQ(s.EpochYear, -7000000000LL);
    EXPECT_EQ(s.GridStyle, GRID_STYLE_CUBE); // out of range: the default stays
    TStellarBody *r = s.GetSystem(0);
    EXPECT_EQ(r->TypeID, 0);
    EXPECT_EQ(r->Color, TStellarBody().Color);
    EXPECT_EQ(r->Habitability, 0);
    EXPECT_EQ(r->RandomSeed, 0);
    s.DynaLoad(r); // the planet/moon loop is cut off, the self-parented row ignored
    EXPECT_TRUE(r->Loaded);
    EXPECT_LE(CountBodies(*r), 5);
}

TEST_F(SectorFileTest, AbsurdSectorSizesAreCappedOnReading)
{
    const std::string file = MakeFile("size.VexaDB", 1);
    ExecSql(file, "update sector_info set size_x = 1e308, size_y = -4, size_z = 1e-300");
    TVexaSector s;
    std::string error;
    ASSERT_TRUE(LoadFromFile(s, file, &error)) << error;
    EXPECT_EQ(s.SizeX, SECTOR_MAX_SIZE);
    EXPECT_EQ(s.SizeY, TVexaSector().SizeY); // not a size at all: the default
    EXPECT_EQ(s.SizeZ, SECTOR_MIN_SIZE);
    EXPECT_EQ(CheckedSectorSize(std::nan(""), 7), 7);
    EXPECT_EQ(CheckedSectorSize(250, 7), 250);
}

TEST_F(SectorFileTest, FailedSaveRollsBackAndKeepsEveryFlag)
{
    const std::string file = MakeFile("full.VexaDB", 2);
    TVexaSector s;
    ASSERT_TRUE(LoadFromFile(s, file));
    s.Modified = true;
    for (int i = 0; i < 200; ++i)
        s.AddSystem(MakeSystem("New" + std::to_string(i), 3, i));
    auto sub = TVexaSubsector::Create();
    s.AddSubsector(std::move(sub));
    s.DeleteRootBody(s.GetSystem(0));
    const auto before = ReadBytes(file);

    // A disk that cannot take another page.
    TVexaDB_SQLite::TestConnectionHook = [](TZentSqliteInterface &db) {
        const std::int64_t pages = db.Query("PRAGMA page_count")->AsInt64(0);
        db.Execute("PRAGMA max_page_count = " + std::to_string(pages));
    };
    std::string error;
    EXPECT_FALSE(SaveToFile(s, file, false, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadBytes(file), before);
    EXPECT_TRUE(s.Modified);
    EXPECT_EQ(s.DeletedObjects.size(), 1u);
    EXPECT_EQ(s.SystemCount(), 201);
    for (int i = 1; i < s.SystemCount(); ++i) {
        EXPECT_EQ(s.GetSystem(i)->RecordID, 0);
        EXPECT_TRUE(s.GetSystem(i)->TVexaBase::Modified);
        EXPECT_TRUE(s.GetSystem(i)->Loaded);
    }
    EXPECT_EQ(s.Subsectors[0]->RecordID, 0);

    // Saving to a new name on the same full disk leaves nothing behind.
    const std::string other = PathOf("other.VexaDB");
    EXPECT_FALSE(SaveToFile(s, other, false));
    EXPECT_FALSE(fs::exists(other));
    EXPECT_EQ(s.FileName, file);

    TVexaDB_SQLite::TestConnectionHook = nullptr;
    ASSERT_TRUE(SaveToFile(s, file, false, &error)) << error;
    EXPECT_EQ(Count(file, "bodies"), 5 + 200 * 7);
    EXPECT_EQ(Count(file, "subsectors"), 1);
    EXPECT_FALSE(s.Modified);
}

TEST_F(SectorFileTest, VanishedFileFailsUnlessEverythingIsInMemory)
{
    const std::string file = MakeFile("gone.VexaDB", 2);
    TVexaSector s;
    ASSERT_TRUE(LoadFromFile(s, file));
    fs::remove(file);
    std::string error;
    EXPECT_FALSE(SaveToFile(s, file, false, &error));
    EXPECT_NE(error.find("no longer exists"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(file));
    EXPECT_FALSE(SaveToFile(s, PathOf("elsewhere.VexaDB"), true));

    // With every system in memory the sector is written anew.
    TVexaSector t;
    t.AddSystem(MakeSystem("M", 1));
    const std::string f2 = PathOf("mem.VexaDB");
    ASSERT_TRUE(SaveToFile(t, f2, false));
    t.DynaLoad(t.GetSystem(0));
    fs::remove(f2);
    ASSERT_TRUE(SaveToFile(t, f2, false, &error)) << error;
    EXPECT_EQ(Count(f2, "bodies"), 3);
}

TEST_F(SectorFileTest, AFailedMoveIntoPlaceNeverAdoptsTheTemporaryNameSilently)
{
    const std::string own = MakeFile("own.VexaDB", 2);
    TVexaSector s;
    ASSERT_TRUE(LoadFromFile(s, own));
    s.AddSystem(MakeSystem("New", 1));
    // A folder with something in it cannot be replaced by a file.
    const fs::path busy = Dir / "busy.VexaDB";
    fs::create_directories(busy / "inside");
    std::string error;
    EXPECT_FALSE(SaveToFile(s, busy.string(), false, &error));
    const std::string temp = busy.string() + ".saving~";
    EXPECT_NE(error.find("saved as \"" + temp + "\""), std::string::npos) << error;
    EXPECT_EQ(s.FileName, temp);
    EXPECT_TRUE(s.FileNameUnconfirmed);
    EXPECT_TRUE(s.Modified);
    // The sector still reads what it had not loaded from where it was saved.
    TStellarBody *first = s.GetSystem(0);
    ASSERT_FALSE(first->Loaded);
    s.DynaLoad(first);
    EXPECT_EQ(first->ChildrenCount(), 2);

    // Saving again under that name is refused; a chosen name is accepted.
    const auto tempBytes = ReadBytes(temp);
    EXPECT_FALSE(SaveToFile(s, s.FileName, false, &error));
    EXPECT_NE(error.find("save it under a name of your choice"), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(temp), tempBytes);
    const std::string chosen = PathOf("chosen.VexaDB");
    ASSERT_TRUE(SaveToFile(s, chosen, false, &error)) << error;
    EXPECT_EQ(s.FileName, chosen);
    EXPECT_FALSE(s.FileNameUnconfirmed);
    EXPECT_EQ(Count(chosen, "bodies", "parent_id = 0"), 3);
}

TEST_F(SectorFileTest, UnwritablePlacesFailCleanly)
{
    const std::string file = MakeFile("ro.VexaDB", 1);
    TVexaSector s;
    ASSERT_TRUE(LoadFromFile(s, file));
    s.AddSystem(MakeSystem("New", 1));
    // A folder that cannot be made: its parent is a plain file.
    std::string error;
    EXPECT_FALSE(SaveToFile(s, PathOf("ro.VexaDB/sub/x.VexaDB"), false, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(s.GetSystem(1)->RecordID, 0);

    // Permission bits do not stop root: as root this part runs as a
    // throw-away unprivileged user.
    const bool ran = RunUnprivileged(Dir, [&] {
        fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        const auto before = ReadBytes(file);
        EXPECT_FALSE(SaveToFile(s, file, false));
        EXPECT_EQ(ReadBytes(file), before);
        EXPECT_TRUE(s.GetSystem(1)->TVexaBase::Modified);
        // A read-only file still loads.
        TVexaSector r;
        EXPECT_TRUE(LoadFromFile(r, file));

        const fs::path folder = Dir / "locked";
        fs::create_directories(folder);
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_FALSE(SaveToFile(s, (folder / "x.VexaDB").string(), false));
        EXPECT_FALSE(fs::exists(folder / "x.VexaDB"));
        // An unreadable file says why it cannot be opened.
        const std::string hidden = PathOf("hidden.VexaDB");
        fs::copy_file(file, hidden);
        fs::permissions(hidden, fs::perms::none);
        std::string error;
        EXPECT_FALSE(LoadFromFile(r, hidden, &error));
        EXPECT_NE(error.find("Permission denied"), std::string::npos) << error;
    });
    if (!ran)
        GTEST_SKIP() << "no unprivileged user could be had";
}

TEST_F(SectorFileTest, OpeningFailuresNameTheFileAndTheReason)
{
    TVexaSector s;
    std::string error;
    EXPECT_FALSE(LoadFromFile(s, PathOf("missing.VexaDB"), &error));
    EXPECT_NE(error.find("missing.VexaDB\" does not exist"), std::string::npos) << error;
    fs::create_directories(Dir / "folder.VexaDB");
    EXPECT_FALSE(LoadFromFile(s, PathOf("folder.VexaDB"), &error));
    EXPECT_NE(error.find("is a folder"), std::string::npos) << error;
    EXPECT_FALSE(LoadFromFile(s, "/dev/null", &error));
    EXPECT_NE(error.find("\"/dev/null\" is not a regular file"), std::string::npos) << error;
}

TEST_F(SectorFileTest, SurfaceMapStorage)
{
    const std::string file = MakeFile("sm.VexaDB", 1);
    const std::int64_t id = QueryInt(file, "select id from bodies where parent_id <> 0 limit 1");
    EXPECT_FALSE(HasSurfaceMap(file, id));
    EXPECT_EQ(LoadSurfaceMapImage(file, id), nullptr);
    ASSERT_TRUE(StoreSurfaceMap(file, TMemoryStream{1, 2, 3}, TMemoryStream{9, 8}, id));
    ASSERT_TRUE(StoreSurfaceMap(file, TMemoryStream{4}, TMemoryStream{7}, id));
    EXPECT_EQ(Count(file, "surface_maps"), 1);
    EXPECT_TRUE(HasSurfaceMap(file, id));
    auto img = LoadSurfaceMapImage(file, id);
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(*img, TMemoryStream{7});
    EXPECT_EQ(QueryText(file, "select id_string from surface_maps"),
              QueryText(file, "select id_string from bodies where id = " + std::to_string(id)));
    DeleteSurfaceMap(file, id);
    EXPECT_FALSE(HasSurfaceMap(file, id));
    EXPECT_FALSE(StoreSurfaceMap(PathOf("none.VexaDB"), {}, {}, 1));
    EXPECT_FALSE(fs::exists(PathOf("none.VexaDB")));
}

} // namespace
} // namespace kalvion::test

namespace kalvion::test {
namespace {

class SectorStoreReuseTest : public TempDirTest {};

TEST_F(SectorStoreReuseTest, AnOpenReaderNeitherBlocksSavesNorServesStaleData)
{
    const std::string file = PathOf("shared.VexaDB");
    {
        TVexaSector s;
        for (int i = 0; i < 3; ++i)
            s.AddSystem(MakeSystem("Sys" + std::to_string(i), 2, i));
        ASSERT_TRUE(SaveToFile(s, file, false));
    }
    TVexaSector reader, writer;
    ASSERT_TRUE(LoadFromFile(reader, file));
    ASSERT_TRUE(LoadFromFile(writer, file));
    reader.DynaLoad(reader.GetSystem(0)); // leaves the store's connection open
    ASSERT_TRUE(reader.GetSystem(0)->Loaded);

    // Another document saves into the same file while the reader is open.
    writer.DynaLoad(writer.GetSystem(1));
    writer.GetSystem(1)->GetChild(0)->Name = "Renamed";
    writer.GetSystem(1)->ModifySystem();
    std::string error;
    ASSERT_TRUE(SaveToFile(writer, file, false, &error)) << error;

    reader.DynaLoad(reader.GetSystem(1));
    ASSERT_TRUE(reader.GetSystem(1)->Loaded);
    EXPECT_EQ(reader.GetSystem(1)->GetChild(0)->Name, "Renamed");

    // A file replaced under the same name is read afresh.
    const std::string other = PathOf("other.VexaDB");
    {
        TVexaSector s;
        s.AddSystem(MakeSystem("Elsewhere", 1, 0));
        ASSERT_TRUE(SaveToFile(s, other, false));
    }
    fs::rename(other, file);
    TVexaSector fresh;
    ASSERT_TRUE(LoadFromFile(fresh, file));
    ASSERT_EQ(fresh.SystemCount(), 1);
    fresh.DynaLoad(fresh.GetSystem(0));
    EXPECT_EQ(fresh.GetSystem(0)->ChildrenCount(), 1);
    fs::remove(file);
    reader.GetSystem(2)->Loaded = false;
    reader.DynaLoad(reader.GetSystem(2)); // the file is gone: stays unloaded
    EXPECT_FALSE(reader.GetSystem(2)->Loaded);
}

} // namespace
} // namespace kalvion::test
