// Reading a sector: settings, views, display defaults, subsectors, the roots
// in pages, routes and image-resource names; one system's contents on demand.
#include "files/SectorSchema.h"
#include "files/VexaDBSQLite.h"
#include "files/VexaDBSQLiteInternal.h"
#include "model/VexaSector.h"

#include <algorithm>
#include <array>
#include <limits>
#include <deque>
#include <unordered_map>
#include <unordered_set>

namespace kalvion {

namespace {

// Capacity reserved up front is bounded; a larger sector still loads, the
// list just grows as it goes.
constexpr std::int64_t MAX_RESERVE = 10'000'000;

} // namespace

namespace {

// Reads run inside one read transaction: the file is locked once for the
// whole read instead of once per statement, and every statement sees the
// same state of the file.
class TReadTransaction {
public:
    explicit TReadTransaction(TZentSqliteInterface &db) : FDb(db)
    {
        TZentStatement begin(db, "begin transaction");
        FActive = begin.Exec();
    }
    ~TReadTransaction()
    {
        if (FActive) {
            TZentStatement end(FDb, "commit transaction");
            end.Exec();
        }
    }

private:
    TZentSqliteInterface &FDb;
    bool FActive = false;
};

} // namespace

bool TVexaDB_SQLite::ReadSector(TVexaSector &sector)
{
    if (!BeginCall())
        return false;
    TReadTransaction transaction(*FDb);
    const bool ok = ReadSectorInfo(sector) && ReadViews(sector) && ReadDisplayDefaults(sector) &&
                    ReadFields(sector, 1, 0);
    if (!ok)
        return false;

    {
        TZentStatement st(*FDb, "select distinct( political_affiliation) from bodies where length( "
                                "political_affiliation) > 0 order by political_affiliation");
        std::string name;
        while (st.Step()) {
            st.ColumnText(0, name);
            sector.AddPolitical(name);
        }
        if (FDb->HasError)
            return FailFromDb("Could not read the political affiliations");
    }
    if (!ReadSubsectors(sector) || !ReadRoots(sector) || !ReadRoutes(sector) || !ReadResourceList(sector))
        return false;
    sector.RecordID = 1;
    return true;
}

bool TVexaDB_SQLite::ReadSectorInfo(TVexaSector &s)
{
    TZentStatement st(*FDb, "select id_string, name, notes, gm_notes, epoch_year, time, date_format, "
                            "unit_star_measure_name, unit_star_measure_abbrev, unit_star_measure_ratio, "
                            "size_x, size_y, size_z, frequency, spherical, grid_style, grid_x, grid_y, grid_z, "
                            "grid_tick, grid_tick_labels, grid_color, grids_enabled, background_color, "
                            "base_font, filter_style, filter_habitable, filter_population, "
                            "filter_hide_unassigned_subsector, origin_camera_x, origin_camera_y, "
                            "origin_camera_z, origin_target_x, origin_target_y, origin_target_z "
                            "from sector_info where id = 1");
    if (!st.Step())
        return FDb->HasError ? FailFromDb("Could not read the sector settings")
                             : Fail("The sector settings are missing");
    int c = 0;
    std::string idString = st.ColumnText(c++);
    if (!idString.empty())
        s.IDString = std::move(idString);
    s.Name = st.ColumnText(c++);
    s.Notes = st.ColumnText(c++);
    s.GMNotes = st.ColumnText(c++);
    s.EpochYear = st.ColumnInt64(c++);
    s.Time = st.ColumnDouble(c++);
    s.DateFormat = st.ColumnText(c++);
    s.UnitStarMeasureName = st.ColumnText(c++);
    s.UnitStarMeasureAbbrev = st.ColumnText(c++);
    s.UnitStarMeasureRatio = st.ColumnDouble(c++);
    s.SizeX = CheckedSectorSize(st.ColumnDouble(c++), s.SizeX);
    s.SizeY = CheckedSectorSize(st.ColumnDouble(c++), s.SizeY);
    s.SizeZ = CheckedSectorSize(st.ColumnDouble(c++), s.SizeZ);
    s.Frequency = st.ColumnDouble(c++);
    s.Spherical = StoredBool(st.ColumnInt64(c++));
    s.GridStyle = CheckedInt32(st.ColumnInt64(c++), s.GridStyle);
    s.GridX = st.ColumnDouble(c++);
    s.GridY = st.ColumnDouble(c++);
    s.GridZ = st.ColumnDouble(c++);
    s.GridTick = st.ColumnDouble(c++);
    s.GridTickLabels = StoredBool(st.ColumnInt64(c++));
    s.GridColor = CheckedColor(st.ColumnInt64(c++), s.GridColor);
    s.GridsEnabled = StoredBool(st.ColumnInt64(c++));
    s.BackgroundColor = CheckedColor(st.ColumnInt64(c++), s.BackgroundColor);
    s.BaseFont = st.ColumnText(c++);
    s.FilterStyle = CheckedInt32(st.ColumnInt64(c++), s.FilterStyle);
    s.FilterHabitable = CheckedInt32(st.ColumnInt64(c++), s.FilterHabitable);
    s.FilterPopulation = CheckedInt32(st.ColumnInt64(c++), s.FilterPopulation);
    s.FilterHideUnassignedSubsector = StoredBool(st.ColumnInt64(c++));
    s.OriginCamera.X = st.ColumnDouble(c++);
    s.OriginCamera.Y = st.ColumnDouble(c++);
    s.OriginCamera.Z = st.ColumnDouble(c++);
    s.OriginTarget.X = st.ColumnDouble(c++);
    s.OriginTarget.Y = st.ColumnDouble(c++);
    s.OriginTarget.Z = st.ColumnDouble(c++);
    st.Reset();
    return true;
}

bool TVexaDB_SQLite::ReadViews(TVexaSector &sector)
{
    TZentStatement st(*FDb, "select id, name, camera_pos_x, camera_pos_y, camera_pos_z, target_pos_x, "
                            "target_pos_y, target_pos_z, filter_style, filter_habitable, filter_population, "
                            "filter_hide_unassigned_subsector from sector_views order by id");
    TZentStatement &arr = St().Get(St().ViewArraySelect, "select name, visible from sector_view_arrays where "
                                                         "type_id = ? and view_id = ? order by rowid");
    while (st.Step()) {
        auto v = std::make_unique<TVexaView>();
        int c = 0;
        v->RecordID = st.ColumnInt64(c++);
        v->Name = st.ColumnText(c++);
        v->Camera.X = st.ColumnDouble(c++);
        v->Camera.Y = st.ColumnDouble(c++);
        v->Camera.Z = st.ColumnDouble(c++);
        v->Target.X = st.ColumnDouble(c++);
        v->Target.Y = st.ColumnDouble(c++);
        v->Target.Z = st.ColumnDouble(c++);
        v->FilterStyle = CheckedInt32(st.ColumnInt64(c++), 0);
        v->FilterHabitable = CheckedInt32(st.ColumnInt64(c++), 0);
        v->FilterPopulation = CheckedInt32(st.ColumnInt64(c++), 0);
        v->FilterHideUnassignedSubsector = StoredBool(st.ColumnInt64(c++));
        std::vector<TVexaVisibilityEntry> *lists[3] = {&v->PoliticalVisibility, &v->RouteTypeVisibility,
                                                       &v->SubsectorVisibility};
        for (int type = 1; type <= 3; ++type) {
            arr.BindInt(1, type);
            arr.BindInt(2, v->RecordID);
            while (arr.Step()) {
                TVexaVisibilityEntry e;
                arr.ColumnText(0, e.Name);
                e.Visible = StoredBool(arr.ColumnInt64(1));
                lists[type - 1]->push_back(std::move(e));
            }
        }
        v->Modified = false;
        sector.Views.push_back(std::move(v));
    }
    if (FDb->HasError)
        return FailFromDb("Could not read the saved views");
    return true;
}

bool TVexaDB_SQLite::ReadDisplayDefaults(TVexaSector &sector)
{
    TZentStatement st(*FDb, "select type_id, name, source, field, hide_if_empty from system_data_config "
                            "where body_id = 0 order by type_id, sort_order");
    std::unique_ptr<TSystemDataConfig> current;
    std::int64_t currentType = -1;
    auto flush = [&] {
        if (current)
            sector.SystemDataDefaults.SetConfigForType(std::move(current), static_cast<int>(currentType));
        current.reset();
    };
    while (st.Step()) {
        const std::int64_t type = st.ColumnInt64(0);
        if (type < 0 || type >= SYSTEMDATACONFIG_HOLDER_COUNT)
            continue;
        if (!current || type != currentType) {
            flush();
            current = std::make_unique<TSystemDataConfig>();
            current->TypeID = static_cast<std::int32_t>(type);
            currentType = type;
        }
        TSystemDataRec rec;
        st.ColumnText(1, rec.DisplayText);
        st.ColumnText(2, rec.Source);
        st.ColumnText(3, rec.Field);
        rec.HideIfEmpty = StoredBool(st.ColumnInt64(4));
        current->Records.push_back(std::move(rec));
    }
    flush();
    if (FDb->HasError)
        return FailFromDb("Could not read the display-field settings");
    return true;
}

bool TVexaDB_SQLite::ReadFields(TVexaBase &object, int typeId, std::int64_t parentId)
{
    TZentStatement &st = St().Get(St().FieldSelect, "select name, value from custom_fields where type_id = ? "
                                                    "and parent_id = ? order by rowid");
    st.BindInt(1, typeId);
    st.BindInt(2, parentId);
    object.ClearFields();
    std::string name, value;
    while (st.Step()) {
        st.ColumnText(0, name);
        st.ColumnText(1, value);
        object.RestoreField(name, value);
    }
    if (FDb->HasError)
        return FailFromDb("Could not read user-defined fields");
    return true;
}

bool TVexaDB_SQLite::ReadSubsectors(TVexaSector &sector)
{
    TZentStatement st(*FDb, "select id, id_string, name, color, show_label, shape, visible, center_x, center_y, "
                            "center_z, size_x, size_y, size_z, show_grid, grid_x, grid_y, grid_z, rotate_x, "
                            "rotate_y, rotate_z, grid_tick, tick_labels from subsectors order by id");
    while (st.Step()) {
        auto s = TVexaSubsector::Create();
        int c = 0;
        s->RecordID = st.ColumnInt64(c++);
        std::string idString = st.ColumnText(c++);
        if (!idString.empty())
            s->IDString = std::move(idString);
        s->Name = st.ColumnText(c++);
        s->Color = CheckedColor(st.ColumnInt64(c++), 0);
        s->ShowLabel = StoredBool(st.ColumnInt64(c++));
        s->Shape = CheckedInt32(st.ColumnInt64(c++), 0);
        s->Visible = StoredBool(st.ColumnInt64(c++));
        s->X = st.ColumnDouble(c++);
        s->Y = st.ColumnDouble(c++);
        s->Z = st.ColumnDouble(c++);
        s->SizeX = st.ColumnDouble(c++);
        s->SizeY = st.ColumnDouble(c++);
        s->SizeZ = st.ColumnDouble(c++);
        s->ShowGrid = StoredBool(st.ColumnInt64(c++));
        s->GridX = st.ColumnDouble(c++);
        s->GridY = st.ColumnDouble(c++);
        s->GridZ = st.ColumnDouble(c++);
        s->RotateX = st.ColumnDouble(c++);
        s->RotateY = st.ColumnDouble(c++);
        s->RotateZ = st.ColumnDouble(c++);
        s->GridTick = st.ColumnDouble(c++);
        s->TickLabels = StoredBool(st.ColumnInt64(c++));
        s->Modified = false;
        sector.AddSubsector(std::move(s));
    }
    if (FDb->HasError)
        return FailFromDb("Could not read the subsectors");
    return true;
}

std::unique_ptr<TStellarBody> TVexaDB_SQLite::ReadBodyRow(TZentStatement &st, bool &atm, bool &fields, bool &sdc,
                                                          bool &fcg)
{
    using bodycol::Pos;
    auto b = TStellarBody::Create();
    TStellarBody &r = *b;
    // The stored column index of each member, in the order of BODY_COLUMNS.
    r.RecordID = st.ColumnInt64(bodycol::ID);
    std::string idString = st.ColumnText(Pos(3));
    if (!idString.empty())
        r.IDString = std::move(idString);
    st.ColumnText(Pos(4), r.Name);
    r.TypeID = CheckedInt32(st.ColumnInt64(Pos(5)), 0);
    st.ColumnText(Pos(6), r.BodyType);
    st.ColumnText(Pos(7), r.Spectral);
    r.Distance = st.ColumnDouble(Pos(8));
    r.Radius = st.ColumnDouble(Pos(9));
    r.Density = st.ColumnDouble(Pos(10));
    r.Mass = st.ColumnDouble(Pos(11));
    r.Rotation = st.ColumnDouble(Pos(12));
    r.Luminosity = st.ColumnDouble(Pos(13));
    r.Albedo = st.ColumnDouble(Pos(14));
    r.Temp = st.ColumnDouble(Pos(15));
    r.Atmosphere = st.ColumnDouble(Pos(16));
    st.ColumnText(Pos(17), r.AtmosphereNotes);
    r.Water = st.ColumnDouble(Pos(18));
    r.Population = st.ColumnDouble(Pos(19));
    r.ChildPopulation = st.ColumnDouble(Pos(20));
    r.Habitability = CheckedInt32(st.ColumnInt64(Pos(21)), 0);
    r.ChildHabitability = CheckedInt32(st.ColumnInt64(Pos(22)), 0);
    r.BodyCount = CheckedInt32(st.ColumnInt64(Pos(23)), 0);
    st.ColumnText(Pos(24), r.PoliticalAffiliation);
    r.SphereInfluence = CheckedInt32(st.ColumnInt64(Pos(25)), 0);
    r.SphereInfluenceColor = CheckedColor(st.ColumnInt64(Pos(26)), r.SphereInfluenceColor);
    r.SphereInfluenceSize = st.ColumnDouble(Pos(27));
    st.ColumnText(Pos(28), r.Notes);
    st.ColumnText(Pos(29), r.GMNotes);
    r.Color = CheckedColor(st.ColumnInt64(Pos(30)), r.Color);
    r.LabelColor = CheckedColor(st.ColumnInt64(Pos(31)), r.LabelColor);
    r.FontStyle = CheckedInt32(st.ColumnInt64(Pos(32)), 0);
    r.DSOIntensity = CheckedInt32(st.ColumnInt64(Pos(33)), 0);
    r.RenderDistance = st.ColumnDouble(Pos(34));
    r.LabelDistance = st.ColumnDouble(Pos(35));
    r.RouteDistance = st.ColumnDouble(Pos(36));
    r.Visible = StoredBool(st.ColumnInt64(Pos(37)));
    r.RetrogradeOrbit = StoredBool(st.ColumnInt64(Pos(38)));
    r.Eccentricity = st.ColumnDouble(Pos(39));
    r.Inclination = st.ColumnDouble(Pos(40));
    r.AngleAscendingNode = st.ColumnDouble(Pos(41));
    r.AnglePeriapsis = st.ColumnDouble(Pos(42));
    r.TimeOffset = st.ColumnDouble(Pos(43));
    r.AxialTilt = st.ColumnDouble(Pos(44));
    r.OrbitalPlaneX = st.ColumnDouble(Pos(45));
    r.OrbitalPlaneY = st.ColumnDouble(Pos(46));
    r.OrbitalPlaneZ = st.ColumnDouble(Pos(47));
    r.OrbitColor = CheckedColor(st.ColumnInt64(Pos(48)), r.OrbitColor);
    r.X = st.ColumnDouble(Pos(49));
    r.Y = st.ColumnDouble(Pos(50));
    r.Z = st.ColumnDouble(Pos(51));
    r.RandomSeed = CheckedInt32(st.ColumnInt64(Pos(52)), 0);
    // Pos(53), gex_color_group, is never read.
    st.ColumnText(Pos(54), r.PreviewImageFile);
    st.ColumnText(Pos(55), r.BlazonImageFile);
    r.BlazonDisplay = StoredBool(st.ColumnInt64(Pos(56)));
    r.BlazonWrap = StoredBool(st.ColumnInt64(Pos(57)));
    atm = StoredBool(st.ColumnInt64(Pos(58)));
    fields = StoredBool(st.ColumnInt64(Pos(59)));
    sdc = StoredBool(st.ColumnInt64(Pos(60)));
    fcg = StoredBool(st.ColumnInt64(Pos(61)));
    st.ColumnText(Pos(62), r.ModelFile);
    r.Modified = false;
    return b;
}

bool TVexaDB_SQLite::ReadBodyExtras(TStellarBody &body, bool atm, bool fields, bool sdc, bool fcg)
{
    const std::int64_t id = body.RecordID;
    if (atm) {
        TZentStatement &st = St().Get(St().AtmSelect, "select gas, percent from atm_components where body_id = ? "
                                                      "order by rowid");
        st.BindInt(1, id);
        while (st.Step()) {
            TVexaAtmElement e;
            st.ColumnText(0, e.Gas);
            e.Percent = st.ColumnDouble(1);
            body.AtmElements.push_back(std::move(e));
        }
    }
    if (fields && !ReadFields(body, 2, id))
        return false;
    if (sdc) {
        TZentStatement &st = St().Get(St().SdcSelectBody, "select name, source, field, hide_if_empty from "
                                                          "system_data_config where body_id = ? and type_id = 0 "
                                                          "order by sort_order");
        st.BindInt(1, id);
        auto config = std::make_unique<TSystemDataConfig>();
        while (st.Step()) {
            TSystemDataRec rec;
            st.ColumnText(0, rec.DisplayText);
            st.ColumnText(1, rec.Source);
            st.ColumnText(2, rec.Field);
            rec.HideIfEmpty = StoredBool(st.ColumnInt64(3));
            config->Records.push_back(std::move(rec));
        }
        body.SetSystemDataConfig(std::move(config));
    }
    if (fcg) {
        TZentStatement &st = St().Get(St().FcgSelect, "select deep_water, low_water, beach, low_land, high_land, "
                                                      "ice, dry, gen_atm, atm_color from gex_color_groups where "
                                                      "body_id = ? order by id limit 1");
        st.BindInt(1, id);
        if (st.Step()) {
            TGexColorGroup g;
            g.DeepWater = CheckedColor(st.ColumnInt64(0), g.DeepWater);
            g.ShallowWater = CheckedColor(st.ColumnInt64(1), g.ShallowWater);
            g.Beach = CheckedColor(st.ColumnInt64(2), g.Beach);
            g.Lowland = CheckedColor(st.ColumnInt64(3), g.Lowland);
            g.Highland = CheckedColor(st.ColumnInt64(4), g.Highland);
            g.Ice = CheckedColor(st.ColumnInt64(5), g.Ice);
            g.Desert = CheckedColor(st.ColumnInt64(6), g.Desert);
            g.CloudsEnabled = StoredBool(st.ColumnInt64(7));
            g.AtmosphereColor = CheckedColor(st.ColumnInt64(8), g.AtmosphereColor);
            body.SetGexColorGroup(g);
            st.Reset();
        }
    }
    if (FDb->HasError)
        return FailFromDb("Could not read a body");
    return true;
}

bool TVexaDB_SQLite::ReadRoots(TVexaSector &sector)
{
    {
        TZentStatement count(*FDb, "select count(*) from bodies where parent_id = 0");
        if (count.Step()) {
            const std::int64_t n = std::clamp<std::int64_t>(count.ColumnInt64(0), 0, MAX_RESERVE);
            if (static_cast<std::size_t>(n) > sector.Systems.capacity())
                sector.Systems.reserve(sector.Systems.size() + static_cast<std::size_t>(n));
            count.Reset();
        }
    }
    // Pages follow the row ids, so each page starts where the last one
    // ended instead of skipping over the rows already read.
    TZentStatement &st = St().Get(St().BodyRootsPage,
                                  BodySelectSql("where parent_id = 0 and id > ? order by id limit ?"));
    const int pageSize = std::max(1, RootPageSize);
    std::int64_t lastId = std::numeric_limits<std::int64_t>::min();
    for (;;) {
        st.BindInt(1, lastId);
        st.BindInt(2, pageSize);
        int rows = 0;
        while (st.Step()) {
            ++rows;
            bool atm, fields, sdc, fcg;
            auto root = ReadBodyRow(st, atm, fields, sdc, fcg);
            lastId = root->RecordID;
            if (!ReadBodyExtras(*root, atm, fields, sdc, fcg))
                return false;
            root->Loaded = false;
            root->Modified = false;
            sector.AddSystem(std::move(root));
        }
        if (FDb->HasError)
            return FailFromDb("Could not read the systems");
        if (rows < pageSize)
            break;
    }
    return true;
}

bool TVexaDB_SQLite::ReadRoutes(TVexaSector &sector)
{
    TZentStatement st(*FDb, "select id, id_string, name, route_type, count, round_trip, visible, red, green, "
                            "blue, line_width, line_style, line_stipple from routes order by id");
    TZentStatement &wp = St().Get(St().WaypointSelect, "select id, route_id, id_string, body_id, pos_x, pos_y, "
                                                       "pos_z from route_waypoints where route_id = ? order by id");
    std::vector<std::unique_ptr<TStellarRoute>> routes;
    while (st.Step()) {
        auto r = TStellarRoute::Create();
        int c = 0;
        r->RecordID = st.ColumnInt64(c++);
        std::string idString = st.ColumnText(c++);
        if (!idString.empty())
            r->IDString = std::move(idString);
        r->Name = st.ColumnText(c++);
        r->RouteType = st.ColumnText(c++);
        c++; // count: the waypoint rows decide
        r->RoundTrip = StoredBool(st.ColumnInt64(c++));
        r->Visible = StoredBool(st.ColumnInt64(c++));
        r->Red = st.ColumnDouble(c++);
        r->Green = st.ColumnDouble(c++);
        r->Blue = st.ColumnDouble(c++);
        r->LineWidth = st.ColumnDouble(c++);
        r->LineStyle = CheckedInt32(st.ColumnInt64(c++), 0);
        const std::int64_t stipple = st.ColumnInt64(c++);
        r->Stipple = stipple >= 0 && stipple <= 0xFFFF ? static_cast<std::uint16_t>(stipple) : 0xFFFF;
        routes.push_back(std::move(r));
    }
    if (FDb->HasError)
        return FailFromDb("Could not read the routes");
    for (auto &r : routes) {
        wp.BindInt(1, r->RecordID);
        while (wp.Step()) {
            auto w = std::make_unique<TRouteWaypoint>();
            wp.ColumnText(2, w->id);
            w->X = wp.ColumnDouble(4);
            w->Y = wp.ColumnDouble(5);
            w->Z = wp.ColumnDouble(6);
            r->AddWaypoint(std::move(w));
        }
        if (!ReadFields(*r, 3, r->RecordID))
            return false;
        r->Modified = false;
        sector.AddRoute(std::move(r));
    }
    if (FDb->HasError)
        return FailFromDb("Could not read the route waypoints");
    // A waypoint may name a system that was moved into another one: it then
    // belongs to the root whose tree holds that body.  One pass over the
    // stored children serves every such waypoint.
    const TRootIdIndex roots = sector.BuildRootIdIndex();
    std::unordered_set<std::string> nested;
    for (const auto &r : sector.Routes)
        for (const auto &w : r->Waypoints)
            if (!TVexaSector::FastFindRootBodyByID(w->id, roots))
                nested.insert(w->id);
    if (!nested.empty()) {
        std::unordered_map<std::int64_t, TStellarBody *> byRecord;
        for (const auto &root : sector.Systems)
            if (root->RecordID > 0)
                byRecord.emplace(root->RecordID, root.get());
        std::unordered_map<std::string, TStellarBody *> holder;
        TZentStatement children(*FDb, "select id_string, system_id from bodies where parent_id <> 0");
        std::string id;  // one buffer for every row
        while (children.Step()) {
            children.ColumnText(0, id);
            if (!nested.count(id))
                continue;
            const auto root = byRecord.find(children.ColumnInt64(1));
            if (root != byRecord.end())
                holder.emplace(id, root->second);
        }
        if (FDb->HasError)
            return FailFromDb("Could not read the route waypoints");
        for (const auto &r : sector.Routes)
            for (const auto &w : r->Waypoints)
                if (const auto h = holder.find(w->id); h != holder.end())
                    w->Body = h->second;
    }
    sector.UpdateRouteBodies();
    sector.BuildRouteTypeList(false);
    return true;
}

bool TVexaDB_SQLite::ReadResourceList(TVexaSector &sector)
{
    TZentStatement st(*FDb, "select id, id_string, name from resources order by id");
    while (st.Step()) {
        auto res = std::make_unique<TVexaImageResource>();
        res->RecordID = st.ColumnInt64(0);
        std::string idString = st.ColumnText(1);
        if (!idString.empty())
            res->IDString = std::move(idString);
        st.ColumnText(2, res->ResourceName);
        res->Loaded = false;
        res->Modified = false;
        sector.ImageResources.Resources.push_back(std::move(res));
    }
    if (FDb->HasError)
        return FailFromDb("Could not read the image resources");
    return true;
}

bool TVexaDB_SQLite::ReadSystemContents(TStellarBody &body)
{
    if (!BeginCall())
        return false;
    TReadTransaction transaction(*FDb);
    TZentStatement &st = St().Get(St().BodyChildren, BodySelectSql("where parent_id = ? order by id"));
    // Breadth first with a record of the rows seen: a damaged file whose
    // parent links form a loop cannot make the reader run forever.
    std::unordered_set<std::int64_t> seen;
    seen.insert(body.RecordID);
    std::deque<TStellarBody *> pending{&body};
    while (!pending.empty()) {
        TStellarBody *parent = pending.front();
        pending.pop_front();
        st.BindInt(1, parent->RecordID);
        std::vector<std::pair<std::unique_ptr<TStellarBody>, std::array<bool, 4>>> rows;
        while (st.Step()) {
            std::array<bool, 4> flags{};
            auto child = ReadBodyRow(st, flags[0], flags[1], flags[2], flags[3]);
            if (!seen.insert(child->RecordID).second)
                continue;
            rows.emplace_back(std::move(child), flags);
        }
        if (FDb->HasError)
            return FailFromDb("Could not read the system");
        for (auto &[child, flags] : rows) {
            if (!ReadBodyExtras(*child, flags[0], flags[1], flags[2], flags[3]))
                return false;
            TStellarBody *raw = child.get();
            parent->AddChild(std::move(child));
            pending.push_back(raw);
        }
    }
    body.Modified = false;
    body.Loaded = true;
    return true;
}

bool TVexaDB_SQLite::ReadResourceData(TVexaImageResource &resource)
{
    if (!FDb)
        return Fail("No sector file is open");
    TZentStatement &st = St().Get(St().ResSelectData, "select id, id_string, data from resources where name = ? "
                                                      "order by id limit 1");
    st.BindText(1, resource.ResourceName);
    if (!st.Step())
        return FDb->HasError ? FailFromDb("Could not read an image") : Fail("The image is not in the sector file");
    resource.RecordID = st.ColumnInt64(0);
    std::string idString = st.ColumnText(1);
    if (!idString.empty())
        resource.IDString = std::move(idString);
    st.ColumnBlob(2, resource.Data);
    st.Reset();
    resource.Loaded = true;
    return true;
}

} // namespace kalvion
