// Saving a sector.  The whole save is one transaction: when any statement
// fails it is rolled back, the row ids handed out are taken back and every
// change flag stays set, so the file and the document stay as they were.
#include "files/NewBodyRows.h"
#include "files/SectorSchema.h"
#include "files/VexaDBSQLite.h"
#include "files/VexaDBSQLiteInternal.h"
#include "model/VexaSector.h"

#include <algorithm>
#include <chrono>

namespace kalvion {

namespace {

constexpr std::size_t PROGRESS_EVERY = 100;

} // namespace

void TVexaDB_SQLite::AssignId(TVexaBase &object, std::int64_t id)
{
    FIdJournal.emplace_back(&object, object.RecordID);
    object.RecordID = id;
}

void TVexaDB_SQLite::Progress(const std::string &message, double fraction)
{
    if (OnProgress)
        OnProgress(message, fraction);
}

bool TVexaDB_SQLite::BeginCall()
{
    if (!FDb)
        return Fail("No sector file is open");
    HasError = false;
    ErrorMessage.clear();
    FDb->ClearError();
    return true;
}

bool TVexaDB_SQLite::WriteSector(TVexaSector &sector)
{
    if (!BeginCall())
        return false;
    FIdJournal.clear();
    FLiveBodyIds.clear();
    FLiveBuilt = false;
    FSaving = &sector;

    // Temporary data in memory, and a page cache large enough that a big
    // save does not spill pages into the file before it commits.
    Exec("PRAGMA temp_store = 2");
    Exec("PRAGMA cache_size = -65536");
    HasError = false;
    if (!Exec("begin immediate transaction")) {
        FSaving = nullptr;
        return false;
    }

    std::vector<TStellarBody *> written;
    std::vector<TVexaImageResource *> writtenResources;
    bool ok = true;

    // Ids at or below the highest one that dependent rows refer to may have
    // been used before (a file from an older version kept orphan rows);
    // such a new body starts with its dependent rows cleared.
    {
        TZentStatement hw(*FDb, "select max(coalesce((select max(body_id) from atm_components), 0), "
                                "coalesce((select max(parent_id) from custom_fields where type_id = 2), 0), "
                                "coalesce((select max(body_id) from system_data_config), 0), "
                                "coalesce((select max(body_id) from gex_color_groups), 0), "
                                "coalesce((select max(body_id) from surface_maps), 0))");
        FDependentHighWater = hw.Step() ? hw.ColumnInt64(0) : 0;
        hw.Reset();
        ok = !FDb->HasError || FailFromDb("Could not read the sector file");
    }
    ok = ok && StartNewRows();

    ok = ok && WriteSectorRow(sector) && WriteViews(sector) && WriteDisplayDefaults(sector) &&
         WriteFields(sector, 1, 0) && WriteDeletedObjects(sector);

    // A first save into an empty file builds the body indexes once at the end
    // instead of updating them row by row.
    std::vector<std::string> droppedIndexes;
    if (ok) {
        TZentStatement any(*FDb, "select exists (select 1 from bodies)");
        const bool empty = any.Step() && any.ColumnInt64(0) == 0;
        any.Reset();
        if (empty) {
            TZentStatement idx(*FDb, "select name, sql from sqlite_master where type = 'index' and tbl_name in "
                                     "('bodies', 'atm_components')");
            std::vector<std::pair<std::string, std::string>> found;
            while (idx.Step())
                if (!idx.IsNull(1)) // automatic indexes have no SQL and cannot be dropped
                    found.emplace_back(idx.ColumnText(0), idx.ColumnText(1));
            for (auto &[name, sql] : found) {
                ok = ok && Exec(("drop index \"" + name + "\"").c_str());
                droppedIndexes.push_back(sql);
            }
        }
        ok = ok && !FDb->HasError;
    }

    ok = ok && WriteSystems(sector, written);
    for (const std::string &sql : droppedIndexes)
        ok = ok && Exec(sql.c_str());

    if (ok) {
        const std::size_t n = sector.Subsectors.size();
        for (std::size_t i = 0; ok && i < n; ++i) {
            ok = WriteSubsector(*sector.Subsectors[i]);
            if ((i + 1) % PROGRESS_EVERY == 0)
                Progress("Saving Subsectors", static_cast<double>(i) / static_cast<double>(n));
        }
    }
    if (ok) {
        const std::size_t n = sector.Routes.size();
        for (std::size_t i = 0; ok && i < n; ++i) {
            ok = WriteRoute(*sector.Routes[i]);
            if ((i + 1) % PROGRESS_EVERY == 0)
                Progress("Saving Routes", static_cast<double>(i) / static_cast<double>(n));
        }
    }
    ok = ok && WriteResources(sector, writtenResources);
    ok = ok && Exec("commit transaction");

    if (!ok) {
        const std::string message = ErrorMessage;
        TZentStatement rollback(*FDb, "rollback transaction");
        rollback.Exec();
        // Undo in reverse so an object assigned twice gets its first id back.
        for (auto it = FIdJournal.rbegin(); it != FIdJournal.rend(); ++it)
            it->first->RecordID = it->second;
        FIdJournal.clear();
        FSaving = nullptr;
        Progress("", 0);
        return Fail(message.empty() ? "The sector could not be saved" : message);
    }

    // The file holds everything now: let go of what it replaced.
    FIdJournal.clear();
    sector.RecordID = 1;
    sector.DeletedObjects.clear();
    TStellarBodyList all;
    for (TStellarBody *root : written) {
        all.clear();
        root->GetAllChildren(all);
        for (TStellarBody *b : all) {
            b->ClearDeletedChildren();
            b->Modified = false;
        }
        if (!root->Selected)
            sector.DynaUnload(root);
    }
    for (auto &s : sector.Subsectors)
        s->Modified = false;
    for (auto &r : sector.Routes)
        r->Modified = false;
    for (auto &v : sector.Views)
        v->Modified = false;
    for (TVexaImageResource *res : writtenResources) {
        res->Modified = false;
        res->Loaded = false;
        res->Data.clear();
        res->Data.shrink_to_fit();
    }
    FSaving = nullptr;
    Progress("", 0);
    return true;
}

bool TVexaDB_SQLite::WriteSectorRow(TVexaSector &s)
{
    static constexpr const char *COLS =
        "id_string = ?, name = ?, notes = ?, gm_notes = ?, epoch_year = ?, time = ?, date_format = ?, "
        "unit_star_measure_name = ?, unit_star_measure_abbrev = ?, unit_star_measure_ratio = ?, size_x = ?, "
        "size_y = ?, size_z = ?, frequency = ?, spherical = ?, grid_style = ?, grid_x = ?, grid_y = ?, grid_z = ?, "
        "grid_tick = ?, grid_tick_labels = ?, grid_color = ?, grids_enabled = ?, background_color = ?, "
        "base_font = ?, filter_style = ?, filter_habitable = ?, filter_population = ?, "
        "filter_hide_unassigned_subsector = ?, origin_camera_x = ?, origin_camera_y = ?, origin_camera_z = ?, "
        "origin_target_x = ?, origin_target_y = ?, origin_target_z = ?";
    // A file whose settings row went missing gets it back.
    if (!Exec("insert or ignore into sector_info (id) values (1)"))
        return false;
    TZentStatement st(*FDb, std::string("update sector_info set ") + COLS + " where id = 1");
    int c = 1;
    st.BindTextCopy(c++, s.IDString.str());
    st.BindText(c++, s.Name);
    st.BindText(c++, s.Notes);
    st.BindText(c++, s.GMNotes);
    st.BindInt(c++, s.EpochYear);
    st.BindFloat(c++, s.Time);
    st.BindText(c++, s.DateFormat);
    st.BindText(c++, s.UnitStarMeasureName);
    st.BindText(c++, s.UnitStarMeasureAbbrev);
    st.BindFloat(c++, s.UnitStarMeasureRatio);
    st.BindFloat(c++, s.SizeX);
    st.BindFloat(c++, s.SizeY);
    st.BindFloat(c++, s.SizeZ);
    st.BindFloat(c++, s.Frequency);
    st.BindInt(c++, s.Spherical);
    st.BindInt(c++, s.GridStyle);
    st.BindFloat(c++, s.GridX);
    st.BindFloat(c++, s.GridY);
    st.BindFloat(c++, s.GridZ);
    st.BindFloat(c++, s.GridTick);
    st.BindInt(c++, s.GridTickLabels);
    st.BindInt(c++, StoredColor(s.GridColor));
    st.BindInt(c++, s.GridsEnabled);
    st.BindInt(c++, StoredColor(s.BackgroundColor));
    st.BindText(c++, s.BaseFont);
    st.BindInt(c++, s.FilterStyle);
    st.BindInt(c++, s.FilterHabitable);
    st.BindInt(c++, s.FilterPopulation);
    st.BindInt(c++, s.FilterHideUnassignedSubsector);
    st.BindFloat(c++, s.OriginCamera.X);
    st.BindFloat(c++, s.OriginCamera.Y);
    st.BindFloat(c++, s.OriginCamera.Z);
    st.BindFloat(c++, s.OriginTarget.X);
    st.BindFloat(c++, s.OriginTarget.Y);
    st.BindFloat(c++, s.OriginTarget.Z);
    if (!st.Exec())
        return FailFromDb("Could not write the sector settings");
    return true;
}

bool TVexaDB_SQLite::WriteViews(TVexaSector &sector)
{
    if (!Exec("delete from sector_views") || !Exec("delete from sector_view_arrays"))
        return false;
    TZentStatement &ins = St().Get(St().ViewInsert,
                                   "insert into sector_views (name, camera_pos_x, camera_pos_y, camera_pos_z, "
                                   "target_pos_x, target_pos_y, target_pos_z, filter_style, filter_habitable, "
                                   "filter_population, filter_hide_unassigned_subsector) values (?, ?, ?, ?, ?, ?, "
                                   "?, ?, ?, ?, ?)");
    TZentStatement &arr = St().Get(St().ViewArrayInsert, "insert into sector_view_arrays (type_id, view_id, name, "
                                                         "visible) values (?, ?, ?, ?)");
    for (auto &v : sector.Views) {
        int c = 1;
        ins.BindText(c++, v->Name);
        ins.BindFloat(c++, v->Camera.X);
        ins.BindFloat(c++, v->Camera.Y);
        ins.BindFloat(c++, v->Camera.Z);
        ins.BindFloat(c++, v->Target.X);
        ins.BindFloat(c++, v->Target.Y);
        ins.BindFloat(c++, v->Target.Z);
        ins.BindInt(c++, v->FilterStyle);
        ins.BindInt(c++, v->FilterHabitable);
        ins.BindInt(c++, v->FilterPopulation);
        ins.BindInt(c++, v->FilterHideUnassignedSubsector);
        if (!ins.Exec())
            return FailFromDb("Could not write the saved views");
        AssignId(*v, FDb->LastInsertID());
        const std::vector<TVexaVisibilityEntry> *lists[3] = {&v->PoliticalVisibility, &v->RouteTypeVisibility,
                                                             &v->SubsectorVisibility};
        for (int type = 1; type <= 3; ++type)
            for (const TVexaVisibilityEntry &e : *lists[type - 1]) {
                arr.BindInt(1, type);
                arr.BindInt(2, v->RecordID);
                arr.BindText(3, e.Name);
                arr.BindInt(4, e.Visible);
                if (!arr.Exec())
                    return FailFromDb("Could not write the saved views");
            }
    }
    return true;
}

bool TVexaDB_SQLite::WriteDisplayDefaults(TVexaSector &sector)
{
    if (!Exec("delete from system_data_config where body_id = 0"))
        return false;
    for (int type = 0; type < SYSTEMDATACONFIG_HOLDER_COUNT; ++type) {
        const TSystemDataConfig *config = sector.SystemDataDefaults.GetConfigForType(type);
        if (config && !InsertDisplayRecords(0, type, *config))
            return FailFromDb("Could not write the display-field settings");
    }
    return true;
}

bool TVexaDB_SQLite::InsertDisplayRecords(std::int64_t bodyId, int typeId, const TSystemDataConfig &config)
{
    TZentStatement &ins = St().Get(St().SdcInsert, "insert into system_data_config (body_id, type_id, sort_order, "
                                                   "name, source, field, hide_if_empty) values (?, ?, ?, ?, ?, ?, ?)");
    int order = 1;
    for (const TSystemDataRec &rec : config.Records) {
        ins.BindInt(1, bodyId);
        ins.BindInt(2, typeId);
        ins.BindInt(3, order++);
        ins.BindText(4, rec.DisplayText);
        ins.BindText(5, rec.Source);
        ins.BindText(6, rec.Field);
        ins.BindInt(7, rec.HideIfEmpty);
        if (!ins.Exec())
            return false;
    }
    return true;
}

bool TVexaDB_SQLite::WriteFields(const TVexaBase &object, int typeId, std::int64_t parentId)
{
    TZentStatement &del = St().Get(St().FieldDelete, "delete from custom_fields where type_id = ? and parent_id = ?");
    del.BindInt(1, typeId);
    del.BindInt(2, parentId);
    if (!del.Exec())
        return FailFromDb("Could not write user-defined fields");
    TZentStatement &ins = St().Get(St().FieldInsert, "insert into custom_fields (type_id, parent_id, name, value) "
                                                     "values (?, ?, ?, ?)");
    for (const TVexaFieldRec &f : object.Fields) {
        ins.BindInt(1, typeId);
        ins.BindInt(2, parentId);
        ins.BindText(3, f.Name);
        ins.BindText(4, f.Value);
        if (!ins.Exec())
            return FailFromDb("Could not write user-defined fields");
    }
    return true;
}

// ---- systems ----

namespace {

constexpr int BODY_BOUND_VALUES = 62;

} // namespace

bool TVexaDB_SQLite::WriteSystems(TVexaSector &sector, std::vector<TStellarBody *> &written)
{
    using Clock = std::chrono::steady_clock;
    auto last = Clock::now();
    const std::size_t n = sector.Systems.size();
    // Roots first, then their trees: the root rows of a sector written in
    // one go lie side by side in the file, so opening it (roots only) reads
    // a compact stretch instead of one page per system.
    for (std::size_t i = 0; i < n; ++i) {
        TStellarBody &root = *sector.Systems[i];
        if (!root.Modified)
            continue;
        if (!WriteBodyRow(root, 0, 0))
            return false;
        written.push_back(&root);
    }
    for (std::size_t k = 0; k < written.size(); ++k) {
        TStellarBody &root = *written[k];
        for (auto &child : root.Children)
            if (!WriteBody(*child, root.RecordID, root.RecordID))
                return false;
        const auto now = Clock::now();
        if (now - last > std::chrono::milliseconds(1000)) {
            last = now;
            Progress("Saving Bodies", static_cast<double>(k) / static_cast<double>(written.size()));
        }
    }
    return FlushNewRows();
}

bool TVexaDB_SQLite::WriteChildren(TStellarBody &body, std::int64_t systemId)
{
    if (!FDb)
        return Fail("No sector file is open");
    HasError = false;
    FIdJournal.clear();
    if (!Exec("begin immediate transaction"))
        return false;
    bool ok = StartNewRows();
    for (auto &child : body.Children)
        if (!(ok = ok && WriteBody(*child, systemId, body.RecordID)))
            break;
    ok = ok && FlushNewRows() && Exec("commit transaction");
    if (!ok) {
        const std::string message = ErrorMessage;
        TZentStatement rollback(*FDb, "rollback transaction");
        rollback.Exec();
        for (auto it = FIdJournal.rbegin(); it != FIdJournal.rend(); ++it)
            it->first->RecordID = it->second;
        HasError = true;
        ErrorMessage = message;
    }
    FIdJournal.clear();
    return ok;
}

bool TVexaDB_SQLite::WriteBody(TStellarBody &b, std::int64_t systemId, std::int64_t parentId)
{
    if (!WriteBodyRow(b, systemId, parentId))
        return false;
    for (auto &child : b.Children)
        if (!WriteBody(*child, systemId == 0 ? b.RecordID : systemId, b.RecordID))
            return false;
    return true;
}

bool TVexaDB_SQLite::WriteBodyRow(TStellarBody &b, std::int64_t systemId, std::int64_t parentId)
{
    if (b.DeletedChildren()) {
        // Deleting reads the stored tree: what is queued goes first.
        if (!FlushNewRows())
            return false;
        for (auto &gone : *b.DeletedChildren())
            if (!DeleteBody(*gone))
                return false;
    }

    bool isNew = b.RecordID <= 0;
    const std::int64_t formerId = b.RecordID;
    if (!isNew) {
        TZentStatement &up = St().Get(St().BodyUpdate, BodyUpdateSql());
        TIdentityText::TBuffer identity;
        BindBodyValues(up, 1, b, parentId, systemId == 0 ? b.RecordID : systemId, identity);
        up.BindInt(BODY_BOUND_VALUES + 1, b.RecordID);
        if (!up.Exec())
            return FailFromDb("Could not write a body");
        // The row is gone (another program removed it): store the body anew
        // rather than lose it.
        if (FDb->Changes() == 0)
            isNew = true;
    }
    if (isNew) {
        const std::int64_t id =
            formerId > 0 ? FNewRows->AddWithId(b, parentId, systemId, formerId) : FNewRows->Add(b, parentId, systemId);
        if (id <= 0)
            return FailFromDb("Could not write a body");
        AssignId(b, id);
        if (id <= FDependentHighWater && !DeleteDependentRows(id))
            return false;
    }
    const std::int64_t id = b.RecordID;

    // An existing body's dependent rows are replaced; lists that became empty
    // leave no rows behind.
    if (!isNew) {
        TZentStatement &da = St().Get(St().AtmDelete, "delete from atm_components where body_id = ?");
        TZentStatement &ds = St().Get(St().SdcDeleteBody, "delete from system_data_config where body_id = ?");
        TZentStatement &dg = St().Get(St().FcgDelete, "delete from gex_color_groups where body_id = ?");
        for (TZentStatement *d : {&da, &ds, &dg}) {
            d->BindInt(1, id);
            if (!d->Exec())
                return FailFromDb("Could not write a body");
        }
    }
    for (const TVexaAtmElement &e : b.AtmElements)
        FNewRows->AddGas(id, e);
    if ((!isNew || !b.Fields.empty()) && !WriteFields(b, 2, id))
        return false;
    if (b.SystemDataConfig() && !InsertDisplayRecords(id, 0, *b.SystemDataConfig()))
        return FailFromDb("Could not write a body");
    if (b.ColorGroup()) {
        const TGexColorGroup &g = *b.ColorGroup();
        TZentStatement &ins = St().Get(St().FcgInsert, "insert into gex_color_groups (body_id, deep_water, "
                                                       "low_water, beach, low_land, high_land, ice, dry, gen_atm, "
                                                       "atm_color) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        int c = 1;
        ins.BindInt(c++, id);
        ins.BindInt(c++, StoredColor(g.DeepWater));
        ins.BindInt(c++, StoredColor(g.ShallowWater));
        ins.BindInt(c++, StoredColor(g.Beach));
        ins.BindInt(c++, StoredColor(g.Lowland));
        ins.BindInt(c++, StoredColor(g.Highland));
        ins.BindInt(c++, StoredColor(g.Ice));
        ins.BindInt(c++, StoredColor(g.Desert));
        ins.BindInt(c++, g.CloudsEnabled);
        ins.BindInt(c++, StoredColor(g.AtmosphereColor));
        if (!ins.Exec())
            return FailFromDb("Could not write a body");
    }
    return true;
}

bool TVexaDB_SQLite::StartNewRows()
{
    if (!FNewRows)
        FNewRows = std::make_unique<TNewBodyRows>(*FDb);
    return FNewRows->Start() || FailFromDb("Could not read the sector file");
}

bool TVexaDB_SQLite::FlushNewRows() { return FNewRows->Flush() || FailFromDb("Could not write a body"); }

// ---- deleting ----

bool TVexaDB_SQLite::DeleteDependentRows(std::int64_t id)
{
    TZentStatement &da = St().Get(St().AtmDelete, "delete from atm_components where body_id = ?");
    TZentStatement &ds = St().Get(St().SdcDeleteBody, "delete from system_data_config where body_id = ?");
    TZentStatement &dg = St().Get(St().FcgDelete, "delete from gex_color_groups where body_id = ?");
    TZentStatement &dm = St().Get(St().SurfaceDelete, "delete from surface_maps where body_id = ?");
    TZentStatement &df = St().Get(St().FieldDelete, "delete from custom_fields where type_id = ? and parent_id = ?");
    for (TZentStatement *d : {&da, &ds, &dg, &dm}) {
        d->BindInt(1, id);
        if (!d->Exec())
            return FailFromDb("Could not delete a body");
    }
    df.BindInt(1, 2);
    df.BindInt(2, id);
    if (!df.Exec())
        return FailFromDb("Could not delete a body");
    return true;
}

bool TVexaDB_SQLite::DeleteBodyRows(std::int64_t id)
{
    if (id <= 0)
        return true;
    TZentStatement &del = St().Get(St().BodyDelete, "delete from bodies where id = ?");
    del.BindInt(1, id);
    if (!del.Exec())
        return FailFromDb("Could not delete a body");
    return DeleteDependentRows(id);
}

bool TVexaDB_SQLite::DeleteStoredSystem(std::int64_t rootId)
{
    // A root never loaded since the last save: its rows are exactly the
    // bodies of its system.
    static constexpr const char *SQL[] = {
        "delete from atm_components where body_id in (select id from bodies where system_id = ?1)",
        "delete from custom_fields where type_id = 2 and parent_id in (select id from bodies where system_id = ?1)",
        "delete from system_data_config where body_id in (select id from bodies where system_id = ?1) and body_id "
        "<> 0",
        "delete from gex_color_groups where body_id in (select id from bodies where system_id = ?1)",
        "delete from surface_maps where body_id in (select id from bodies where system_id = ?1)",
        "delete from bodies where system_id = ?1 or id = ?1",
    };
    for (const char *sql : SQL) {
        TZentStatement st(*FDb, sql);
        st.BindInt(1, rootId);
        if (!st.Prepared() || !st.Exec())
            return FailFromDb("Could not delete a system");
    }
    return true;
}

void TVexaDB_SQLite::BuildLiveBodyIds()
{
    if (FLiveBuilt || !FSaving)
        return;
    FLiveBuilt = true;
    TStellarBodyList all;
    for (auto &root : FSaving->Systems) {
        all.clear();
        root->GetAllChildren(all);
        for (TStellarBody *b : all)
            if (b->RecordID > 0)
                FLiveBodyIds.insert(b->RecordID);
    }
}

bool TVexaDB_SQLite::DeleteBody(TStellarBody &body)
{
    if (!body.Parent && !body.Loaded && body.RecordID > 0)
        return DeleteStoredSystem(body.RecordID);

    // Everything below the body, in memory (pending deletions included) and
    // in the file, goes, except bodies that moved on to a tree still in the
    // document.
    BuildLiveBodyIds();
    std::vector<std::int64_t> ids;
    std::vector<const TStellarBody *> stack{&body};
    while (!stack.empty()) {
        const TStellarBody *b = stack.back();
        stack.pop_back();
        if (b->RecordID > 0)
            ids.push_back(b->RecordID);
        for (auto &c : b->Children)
            stack.push_back(c.get());
        if (b->DeletedChildren())
            for (auto &c : *b->DeletedChildren())
                stack.push_back(c.get());
    }
    if (body.RecordID > 0) {
        TZentStatement &d = St().Get(St().Descendants,
                                     "with recursive sub(id) as (select id from bodies where parent_id = ?1 union "
                                     "select b.id from bodies b join sub on b.parent_id = sub.id) select id from sub");
        d.BindInt(1, body.RecordID);
        while (d.Step())
            ids.push_back(d.ColumnInt64(0));
        if (FDb->HasError)
            return FailFromDb("Could not delete a body");
    }
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    for (std::int64_t id : ids)
        if (!FLiveBodyIds.count(id) && !DeleteBodyRows(id))
            return false;
    return true;
}

bool TVexaDB_SQLite::WriteDeletedObjects(TVexaSector &sector)
{
    TZentStatement &delRoute = St().Get(St().RouteDelete, "delete from routes where id = ?");
    TZentStatement &delWp = St().Get(St().WaypointDelete, "delete from route_waypoints where route_id = ?");
    TZentStatement &delSub = St().Get(St().SubDelete, "delete from subsectors where id = ?");
    TZentStatement &delFields = St().Get(St().FieldDelete, "delete from custom_fields where type_id = ? and "
                                                           "parent_id = ?");
    for (auto &obj : sector.DeletedObjects) {
        if (auto *body = dynamic_cast<TStellarBody *>(obj.get())) {
            if (!DeleteBody(*body))
                return false;
        } else if (obj->RecordID <= 0) {
            continue;
        } else if (dynamic_cast<TStellarRoute *>(obj.get())) {
            delRoute.BindInt(1, obj->RecordID);
            delWp.BindInt(1, obj->RecordID);
            delFields.BindInt(1, 3);
            delFields.BindInt(2, obj->RecordID);
            if (!delRoute.Exec() || !delWp.Exec() || !delFields.Exec())
                return FailFromDb("Could not delete a route");
        } else if (dynamic_cast<TVexaSubsector *>(obj.get())) {
            delSub.BindInt(1, obj->RecordID);
            if (!delSub.Exec())
                return FailFromDb("Could not delete a subsector");
        }
    }
    return true;
}

// ---- subsectors, routes, resources ----

bool TVexaDB_SQLite::WriteSubsector(TVexaSubsector &s)
{
    static constexpr const char *COLS = "id_string, name, color, show_label, shape, visible, center_x, center_y, "
                                        "center_z, size_x, size_y, size_z, show_grid, grid_x, grid_y, grid_z, "
                                        "rotate_x, rotate_y, rotate_z, grid_tick, tick_labels";
    auto bind = [&](TZentStatement &st) {
        int c = 1;
        st.BindTextCopy(c++, s.IDString.str());
        st.BindText(c++, s.Name);
        st.BindInt(c++, StoredColor(s.Color));
        st.BindInt(c++, s.ShowLabel);
        st.BindInt(c++, s.Shape);
        st.BindInt(c++, s.Visible);
        st.BindFloat(c++, s.X);
        st.BindFloat(c++, s.Y);
        st.BindFloat(c++, s.Z);
        st.BindFloat(c++, s.SizeX);
        st.BindFloat(c++, s.SizeY);
        st.BindFloat(c++, s.SizeZ);
        st.BindInt(c++, s.ShowGrid);
        st.BindFloat(c++, s.GridX);
        st.BindFloat(c++, s.GridY);
        st.BindFloat(c++, s.GridZ);
        st.BindFloat(c++, s.RotateX);
        st.BindFloat(c++, s.RotateY);
        st.BindFloat(c++, s.RotateZ);
        st.BindFloat(c++, s.GridTick);
        st.BindInt(c++, s.TickLabels);
        return c;
    };
    if (s.RecordID > 0) {
        TZentStatement &up = St().Get(St().SubUpdate,
                                      "update subsectors set id_string = ?, name = ?, color = ?, show_label = ?, "
                                      "shape = ?, visible = ?, center_x = ?, center_y = ?, center_z = ?, size_x = ?, "
                                      "size_y = ?, size_z = ?, show_grid = ?, grid_x = ?, grid_y = ?, grid_z = ?, "
                                      "rotate_x = ?, rotate_y = ?, rotate_z = ?, grid_tick = ?, tick_labels = ? "
                                      "where id = ?");
        up.BindInt(bind(up), s.RecordID);
        if (!up.Exec())
            return FailFromDb("Could not write a subsector");
        if (FDb->Changes() > 0)
            return true;
    }
    TZentStatement &ins = St().Get(St().SubInsert, std::string("insert into subsectors (") + COLS +
                                                       ") values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                                       "?, ?, ?, ?)");
    bind(ins);
    if (!ins.Exec())
        return FailFromDb("Could not write a subsector");
    AssignId(s, FDb->LastInsertID());
    return true;
}

bool TVexaDB_SQLite::WriteRoute(TStellarRoute &r)
{
    auto bind = [&](TZentStatement &st) {
        int c = 1;
        st.BindTextCopy(c++, r.IDString.str());
        st.BindText(c++, r.Name);
        st.BindText(c++, r.RouteType);
        st.BindInt(c++, r.WaypointCount());
        st.BindInt(c++, r.RoundTrip);
        st.BindInt(c++, r.Visible);
        st.BindFloat(c++, r.Red);
        st.BindFloat(c++, r.Green);
        st.BindFloat(c++, r.Blue);
        st.BindFloat(c++, r.LineWidth);
        st.BindInt(c++, r.LineStyle);
        st.BindInt(c++, r.Stipple);
        return c;
    };
    bool inserted = true;
    if (r.RecordID > 0) {
        TZentStatement &up = St().Get(St().RouteUpdate, "update routes set id_string = ?, name = ?, route_type = ?, "
                                                        "count = ?, round_trip = ?, visible = ?, red = ?, green = ?, "
                                                        "blue = ?, line_width = ?, line_style = ?, line_stipple = ? "
                                                        "where id = ?");
        up.BindInt(bind(up), r.RecordID);
        if (!up.Exec())
            return FailFromDb("Could not write a route");
        inserted = FDb->Changes() == 0;
    }
    if (inserted) {
        TZentStatement &ins = St().Get(St().RouteInsert, "insert into routes (id_string, name, route_type, count, "
                                                         "round_trip, visible, red, green, blue, line_width, "
                                                         "line_style, line_stipple) values (?, ?, ?, ?, ?, ?, ?, ?, "
                                                         "?, ?, ?, ?)");
        bind(ins);
        if (!ins.Exec())
            return FailFromDb("Could not write a route");
        AssignId(r, FDb->LastInsertID());
    }
    TZentStatement &del = St().Get(St().WaypointDelete, "delete from route_waypoints where route_id = ?");
    del.BindInt(1, r.RecordID);
    if (!del.Exec())
        return FailFromDb("Could not write a route");
    TZentStatement &wp = St().Get(St().WaypointInsert, "insert into route_waypoints (route_id, id_string, body_id, "
                                                       "pos_x, pos_y, pos_z) values (?, ?, ?, ?, ?, ?)");
    for (auto &w : r.Waypoints) {
        wp.BindInt(1, r.RecordID);
        wp.BindText(2, w->id);
        // A waypoint not resolved to a system has no row to point at.
        wp.BindInt(3, w->Body ? w->Body->RecordID : 0);
        wp.BindFloat(4, w->X);
        wp.BindFloat(5, w->Y);
        wp.BindFloat(6, w->Z);
        if (!wp.Exec())
            return FailFromDb("Could not write a route");
    }
    return WriteFields(r, 3, r.RecordID);
}

bool TVexaDB_SQLite::WriteResources(TVexaSector &sector, std::vector<TVexaImageResource *> &written)
{
    auto &list = sector.ImageResources.Resources;
    for (std::size_t i = 0; i < list.size(); ++i) {
        TVexaImageResource &res = *list[i];
        if (!res.Modified)
            continue;
        if (res.Deleted) {
            if (res.RecordID > 0) {
                TZentStatement &del = St().Get(St().ResDelete, "delete from resources where id = ?");
                del.BindInt(1, res.RecordID);
                if (!del.Exec())
                    return FailFromDb("Could not delete an image");
            }
        } else {
            bool insert = res.RecordID <= 0;
            if (!insert) {
                // Data that was never read from the file stays as it is there.
                TZentStatement &up =
                    res.Loaded ? St().Get(St().ResUpdate, "update resources set id_string = ?, name = ?, data = ? "
                                                          "where id = ?")
                               : St().Get(St().ResUpdateNoData, "update resources set id_string = ?, name = ? "
                                                                "where id = ?");
                int c = 1;
                up.BindTextCopy(c++, res.IDString.str());
                up.BindText(c++, res.ResourceName);
                if (res.Loaded)
                    up.BindBlob(c++, res.Data.data(), res.Data.size());
                up.BindInt(c++, res.RecordID);
                if (!up.Exec())
                    return FailFromDb("Could not write an image");
                insert = FDb->Changes() == 0;
            }
            // An image whose row is gone (an undo brought it back after a
            // save) takes its own id again: the row is free.
            if (insert && res.RecordID > 0) {
                TZentStatement &back = St().Get(St().ResInsertWithId, "insert into resources (id, id_string, name, "
                                                                      "data) values (?, ?, ?, ?)");
                back.BindInt(1, res.RecordID);
                back.BindTextCopy(2, res.IDString.str());
                back.BindText(3, res.ResourceName);
                back.BindBlob(4, res.Data.data(), res.Data.size());
                if (!back.Exec())
                    return FailFromDb("Could not write an image");
                insert = false;
            }
            if (insert) {
                TZentStatement &ins = St().Get(St().ResInsert, "insert into resources (id_string, name, data) "
                                                               "values (?, ?, ?)");
                ins.BindTextCopy(1, res.IDString.str());
                ins.BindText(2, res.ResourceName);
                ins.BindBlob(3, res.Data.data(), res.Data.size());
                if (!ins.Exec())
                    return FailFromDb("Could not write an image");
                AssignId(res, FDb->LastInsertID());
            }
        }
        written.push_back(&res);
        if ((i + 1) % 100 == 0)
            Progress("Saving Resources", static_cast<double>(i) / static_cast<double>(list.size()));
    }
    return true;
}

} // namespace kalvion
