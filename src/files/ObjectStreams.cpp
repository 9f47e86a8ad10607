#include "files/ObjectStreams.h"

#include "model/VexaSector.h"

namespace kalvion {

namespace {

// Smallest stream forms, used to bound counts by the bytes left.
constexpr std::int64_t MIN_FIELD_BYTES = 8;      // two empty strings
constexpr std::int64_t MIN_RECORD_BYTES = 16;    // three strings and a boolean
constexpr std::int64_t MIN_ATM_BYTES = 12;       // a string and a double
constexpr std::int64_t MIN_BODY_BYTES = 100;
constexpr std::int64_t MIN_WAYPOINT_BYTES = 28;  // a string and three doubles
constexpr std::int64_t MIN_PAIR_BYTES = 8;       // a string and a boolean
constexpr std::int64_t MIN_VIEW_BYTES = 80;

void ReadVisibilityList(std::vector<TVexaVisibilityEntry> &list, TAppFileStream &s)
{
    list.clear();
    const std::int32_t n = s.ReadCount(MIN_PAIR_BYTES);
    for (std::int32_t i = 0; i < n && !s.Failed(); ++i) {
        TVexaVisibilityEntry e;
        e.Name = s.ReadString();
        e.Visible = s.ReadBoolean();
        list.push_back(std::move(e));
    }
}

void WriteVisibilityList(const std::vector<TVexaVisibilityEntry> &list, TAppFileStream &s)
{
    s.WriteInteger(static_cast<std::int32_t>(list.size()));
    for (const auto &e : list) {
        s.WriteString(e.Name);
        s.WriteBoolean(e.Visible);
    }
}

template <class Entry>
void WriteNamedFlags(const std::vector<Entry> &list, TAppFileStream &s)
{
    s.WriteInteger(static_cast<std::int32_t>(list.size()));
    for (const auto &e : list) {
        s.WriteString(e.Name);
        s.WriteBoolean(e.Visible);
    }
}

template <class Entry>
void ReadNamedFlags(std::vector<Entry> &list, TAppFileStream &s)
{
    list.clear();
    const std::int32_t n = s.ReadCount(MIN_PAIR_BYTES);
    for (std::int32_t i = 0; i < n && !s.Failed(); ++i) {
        Entry e;
        e.Name = s.ReadString();
        e.Visible = s.ReadBoolean();
        list.push_back(std::move(e));
    }
}

void WriteRecords(const std::vector<TSystemDataRec> &records, TAppFileStream &s)
{
    s.WriteInteger(static_cast<std::int32_t>(records.size()));
    for (const auto &r : records) {
        s.WriteString(r.DisplayText);
        s.WriteString(r.Source);
        s.WriteString(r.Field);
        s.WriteBoolean(r.HideIfEmpty);
    }
}

void ReadRecords(std::vector<TSystemDataRec> &records, TAppFileStream &s)
{
    records.clear();
    const std::int32_t n = s.ReadCount(MIN_RECORD_BYTES);
    for (std::int32_t i = 0; i < n && !s.Failed(); ++i) {
        TSystemDataRec r;
        r.DisplayText = s.ReadString();
        r.Source = s.ReadString();
        r.Field = s.ReadString();
        r.HideIfEmpty = s.ReadBoolean();
        records.push_back(std::move(r));
    }
}

void LoadBody(TStellarBody &b, TAppFileStream &s, int depth);

void LoadChildren(TStellarBody &body, TAppFileStream &s, int depth)
{
    const std::int32_t n = s.ReadCount(MIN_BODY_BYTES);
    if (n > 0 && depth >= STREAM_MAX_BODY_DEPTH) {
        s.Fail("bodies nested too deeply");
        return;
    }
    for (std::int32_t i = 0; i < n && !s.Failed(); ++i) {
        auto child = TStellarBody::Create();
        child->Parent = &body;
        LoadBody(*child, s, depth + 1);
        body.AddChild(std::move(child));
    }
}

void LoadBody(TStellarBody &b, TAppFileStream &s, int depth)
{
    const int v = s.StreamVersion;
    b.IDString = v > 2 ? s.ReadString() : s.ReadGuid();
    b.Name = s.ReadString();
    b.RandomSeed = s.ReadInteger();
    if (v < 3) {
        b.X = s.ReadDouble();
        b.Y = s.ReadDouble();
        b.Z = s.ReadDouble();
    }
    b.TypeID = s.ReadInteger();
    b.BodyType = s.ReadString();
    b.Spectral = s.ReadString();
    b.Color = static_cast<TColor>(s.ReadInteger());
    b.LabelColor = static_cast<TColor>(s.ReadInteger());
    b.FontStyle = s.ReadInteger();
    if (v > 2)
        b.DSOIntensity = s.ReadInteger();
    if (v == 2) {
        b.LabelDistance = s.ReadDouble();
        b.RouteDistance = s.ReadDouble();
    }
    b.Distance = s.ReadDouble();
    b.Radius = s.ReadDouble();
    b.Density = s.ReadDouble();
    b.Mass = s.ReadDouble();
    b.Rotation = s.ReadDouble();
    b.Luminosity = s.ReadDouble();
    b.Albedo = s.ReadDouble();
    b.Temp = s.ReadDouble();
    if (v > 2) {
        b.RetrogradeOrbit = s.ReadBoolean();
        b.Eccentricity = s.ReadDouble();
        b.Inclination = s.ReadDouble();
        b.AngleAscendingNode = s.ReadDouble();
        b.AnglePeriapsis = s.ReadDouble();
        b.TimeOffset = s.ReadDouble();
        b.AxialTilt = s.ReadDouble();
    }
    b.Atmosphere = s.ReadDouble();
    b.AtmosphereNotes = s.ReadString();
    if (v > 1)
        b.Water = s.ReadDouble();
    if (v > 2) {
        b.ResetAtmElements();
        const std::int32_t n = s.ReadCount(MIN_ATM_BYTES);
        for (std::int32_t i = 0; i < n && !s.Failed(); ++i) {
            TVexaAtmElement e;
            e.Gas = s.ReadString();
            e.Percent = s.ReadDouble();
            b.AtmElements.push_back(std::move(e));
        }
    }
    b.Habitability = s.ReadInteger();
    if (v > 2)
        b.ChildHabitability = s.ReadInteger();
    b.Population = s.ReadDouble();
    if (v > 2) {
        b.ChildPopulation = s.ReadDouble();
        b.BodyCount = s.ReadInteger();
    }
    b.PoliticalAffiliation = s.ReadString();
    if (v < 3) {
        b.SphereInfluence = s.ReadInteger();
        b.SphereInfluenceColor = static_cast<TColor>(s.ReadInteger());
        b.SphereInfluenceSize = s.ReadDouble();
    }
    if (v > 2)
        b.PreviewImageFile = s.ReadString();
    b.Notes = s.ReadString();
    b.GMNotes = s.ReadString();
    if (v > 2) {
        if (s.ReadBoolean() && !s.Failed()) {
            auto cfg = std::make_unique<TSystemDataConfig>();
            LoadFromStream(*cfg, s);
            b.SetSystemDataConfig(std::move(cfg));
        }
        if (s.ReadBoolean() && !s.Failed()) {
            TGexColorGroup group;
            LoadFromStream(group, s);
            b.SetGexColorGroup(group);
        }
        LoadFieldsFromStream(b, s);
    }
    LoadChildren(b, s, depth);
}

} // namespace

void SaveFieldsToStream(const TVexaBase &o, TAppFileStream &s)
{
    s.WriteInteger(o.GetFieldCount());
    for (const auto &f : o.Fields) {
        s.WriteString(f.Name);
        s.WriteString(f.Value);
    }
}

void LoadFieldsFromStream(TVexaBase &o, TAppFileStream &s)
{
    o.ClearFields();
    const std::int32_t n = s.ReadCount(MIN_FIELD_BYTES);
    for (std::int32_t i = 0; i < n && !s.Failed(); ++i) {
        std::string name = s.ReadString();
        std::string value = s.ReadString();
        // Stored names are already keys; folding again keeps a hand-edited
        // file consistent with lookups.
        o.Fields.push_back({FieldKey(name), std::move(value)});
    }
}

void SaveToStream(const TSystemDataConfig &c, TAppFileStream &s)
{
    s.WriteInteger(c.TypeID);
    WriteRecords(c.Records, s);
}

void LoadFromStream(TSystemDataConfig &c, TAppFileStream &s)
{
    c.TypeID = s.ReadInteger();
    ReadRecords(c.Records, s);
}

void SaveToStream(const TSystemDataConfigHolder &h, TAppFileStream &s)
{
    s.WriteInteger(SYSTEMDATACONFIG_HOLDER_COUNT);
    std::int32_t filled = 0;
    for (int i = 0; i < SYSTEMDATACONFIG_HOLDER_COUNT; ++i)
        if (h.Configs[static_cast<std::size_t>(i)])
            ++filled;
    s.WriteInteger(filled);
    for (int i = 0; i < SYSTEMDATACONFIG_HOLDER_COUNT; ++i) {
        const auto &cfg = h.Configs[static_cast<std::size_t>(i)];
        if (!cfg)
            continue;
        s.WriteInteger(i);
        WriteRecords(cfg->Records, s);
    }
}

void LoadFromStream(TSystemDataConfigHolder &h, TAppFileStream &s)
{
    const std::int32_t slots = s.ReadInteger();
    const std::int32_t filled = s.ReadCount(8);
    // The holder has a fixed number of slots; a slot beyond them ends the read.
    const std::int32_t limit = std::min<std::int32_t>(slots, static_cast<std::int32_t>(TSystemDataConfigHolder::SLOT_COUNT));
    for (std::int32_t k = 0; k < filled && !s.Failed(); ++k) {
        const std::int32_t index = s.ReadInteger();
        if (s.Failed() || index < 0 || index > limit || index >= static_cast<std::int32_t>(TSystemDataConfigHolder::SLOT_COUNT))
            break;
        auto cfg = std::make_unique<TSystemDataConfig>();
        cfg->TypeID = index;
        ReadRecords(cfg->Records, s);
        h.Configs[static_cast<std::size_t>(index)] = std::move(cfg);
    }
}

void SaveToStream(const TGexColorGroup &g, TAppFileStream &s)
{
    for (TColor c : {g.DeepWater, g.ShallowWater, g.Beach, g.Lowland, g.Highland, g.Ice, g.Desert})
        s.WriteInteger(static_cast<std::int32_t>(c));
    s.WriteBoolean(g.CloudsEnabled);
    s.WriteInteger(static_cast<std::int32_t>(g.AtmosphereColor));
}

void LoadFromStream(TGexColorGroup &g, TAppFileStream &s)
{
    for (TColor *c : {&g.DeepWater, &g.ShallowWater, &g.Beach, &g.Lowland, &g.Highland, &g.Ice, &g.Desert})
        *c = static_cast<TColor>(s.ReadInteger());
    g.CloudsEnabled = s.ReadBoolean();
    g.AtmosphereColor = static_cast<TColor>(s.ReadInteger());
}

void SaveToStream(const TStellarBody &b, TAppFileStream &s, bool withoutChildren)
{
    s.WriteString(b.IDString);
    s.WriteString(b.Name);
    s.WriteInteger(b.RandomSeed);
    s.WriteInteger(b.TypeID);
    s.WriteString(b.BodyType);
    s.WriteString(b.Spectral);
    s.WriteInteger(static_cast<std::int32_t>(b.Color));
    s.WriteInteger(static_cast<std::int32_t>(b.LabelColor));
    s.WriteInteger(b.FontStyle);
    s.WriteInteger(b.DSOIntensity);
    for (double d : {b.Distance, b.Radius, b.Density, b.Mass, b.Rotation, b.Luminosity, b.Albedo, b.Temp})
        s.WriteDouble(d);
    s.WriteBoolean(b.RetrogradeOrbit);
    for (double d : {b.Eccentricity, b.Inclination, b.AngleAscendingNode, b.AnglePeriapsis, b.TimeOffset, b.AxialTilt})
        s.WriteDouble(d);
    s.WriteDouble(b.Atmosphere);
    s.WriteString(b.AtmosphereNotes);
    s.WriteDouble(b.Water);
    s.WriteInteger(b.GetAtmElementCount());
    for (const auto &e : b.AtmElements) {
        s.WriteString(e.Gas);
        s.WriteDouble(e.Percent);
    }
    s.WriteInteger(b.Habitability);
    s.WriteInteger(b.ChildHabitability);
    s.WriteDouble(b.Population);
    s.WriteDouble(b.ChildPopulation);
    s.WriteInteger(b.BodyCount);
    s.WriteString(b.PoliticalAffiliation);
    s.WriteString(b.PreviewImageFile);
    s.WriteString(b.Notes);
    s.WriteString(b.GMNotes);
    s.WriteBoolean(b.SystemDataConfig() != nullptr);
    if (b.SystemDataConfig())
        SaveToStream(*b.SystemDataConfig(), s);
    s.WriteBoolean(b.ColorGroup() != nullptr);
    if (b.ColorGroup())
        SaveToStream(*b.ColorGroup(), s);
    SaveFieldsToStream(b, s);
    if (withoutChildren)
        s.WriteInteger(0);
    else
        SaveChildrenToStream(b, s);
}

void SaveChildrenToStream(const TStellarBody &b, TAppFileStream &s)
{
    s.WriteInteger(b.ChildrenCount());
    for (const auto &c : b.Children)
        SaveToStream(*c, s, false);
}

void LoadFromStream(TStellarBody &b, TAppFileStream &s) { LoadBody(b, s, 0); }

void LoadChildrenFromStream(TStellarBody &b, TAppFileStream &s) { LoadChildren(b, s, 0); }

void SaveToStream(const TStellarRoute &r, TAppFileStream &s)
{
    s.WriteString(r.Name);
    s.WriteString(r.IDString);
    s.WriteString(r.RouteType);
    s.WriteDouble(r.Red);
    s.WriteDouble(r.Green);
    s.WriteDouble(r.Blue);
    s.WriteInteger(r.LineStyle);
    s.WriteDouble(r.LineWidth);
    s.WriteInteger(r.WaypointCount());
    for (const auto &wp : r.Waypoints) {
        s.WriteString(wp->id);
        s.WriteDouble(wp->X);
        s.WriteDouble(wp->Y);
        s.WriteDouble(wp->Z);
    }
    SaveFieldsToStream(r, s);
}

void LoadFromStream(TStellarRoute &r, TAppFileStream &s)
{
    const int v = s.StreamVersion;
    r.Name = s.ReadString();
    if (v > 2)
        r.IDString = s.ReadString();
    r.RouteType = s.ReadString();
    r.Red = s.ReadDouble();
    r.Green = s.ReadDouble();
    r.Blue = s.ReadDouble();
    r.LineStyle = s.ReadInteger();
    r.LineWidth = s.ReadDouble();
    r.Waypoints.clear();
    const std::int32_t n = s.ReadCount(MIN_WAYPOINT_BYTES);
    for (std::int32_t i = 0; i < n && !s.Failed(); ++i) {
        auto wp = std::make_unique<TRouteWaypoint>();
        wp->id = s.ReadString();
        wp->X = s.ReadDouble();
        wp->Y = s.ReadDouble();
        wp->Z = s.ReadDouble();
        r.AddWaypoint(std::move(wp));
    }
    if (v > 3)
        LoadFieldsFromStream(r, s);
}

void SaveToStream(const TVexaSubsector &b, TAppFileStream &s)
{
    s.WriteString(b.Name);
    s.WriteString(b.IDString);
    s.WriteInteger(static_cast<std::int32_t>(b.Color));
    s.WriteBoolean(b.ShowLabel);
    s.WriteInteger(b.Shape);
    s.WriteBoolean(b.Visible);
    for (double d : {b.X, b.Y, b.Z, b.SizeX, b.SizeY, b.SizeZ, b.RotateX, b.RotateY, b.RotateZ})
        s.WriteDouble(d);
    s.WriteBoolean(b.ShowGrid);
    for (double d : {b.GridX, b.GridY, b.GridZ, b.GridTick})
        s.WriteDouble(d);
    s.WriteBoolean(b.TickLabels);
    SaveFieldsToStream(b, s);
}

void LoadFromStream(TVexaSubsector &b, TAppFileStream &s)
{
    const int v = s.StreamVersion;
    b.Name = s.ReadString();
    if (v > 2)
        b.IDString = s.ReadString();
    b.Color = static_cast<TColor>(s.ReadInteger());
    b.ShowLabel = s.ReadBoolean();
    b.Shape = s.ReadInteger();
    b.Visible = s.ReadBoolean();
    for (double *d : {&b.X, &b.Y, &b.Z, &b.SizeX, &b.SizeY, &b.SizeZ})
        *d = s.ReadDouble();
    if (v > 3) {
        for (double *d : {&b.RotateX, &b.RotateY, &b.RotateZ})
            *d = s.ReadDouble();
        b.ShowGrid = s.ReadBoolean();
        for (double *d : {&b.GridX, &b.GridY, &b.GridZ, &b.GridTick})
            *d = s.ReadDouble();
        b.TickLabels = s.ReadBoolean();
        LoadFieldsFromStream(b, s);
    }
}

void SaveToStream(const TVexaView &v, TAppFileStream &s)
{
    s.WriteString(v.Name);
    for (double d : {v.Camera.X, v.Camera.Y, v.Camera.Z, v.Target.X, v.Target.Y, v.Target.Z})
        s.WriteDouble(d);
    s.WriteInteger(v.FilterStyle);
    s.WriteInteger(v.FilterHabitable);
    s.WriteInteger(v.FilterPopulation);
    s.WriteBoolean(v.FilterHideUnassignedSubsector);
    WriteVisibilityList(v.PoliticalVisibility, s);
    WriteVisibilityList(v.RouteTypeVisibility, s);
    WriteVisibilityList(v.SubsectorVisibility, s);
}

void LoadFromStream(TVexaView &v, TAppFileStream &s)
{
    v.Name = s.ReadString();
    for (double *d : {&v.Camera.X, &v.Camera.Y, &v.Camera.Z, &v.Target.X, &v.Target.Y, &v.Target.Z})
        *d = s.ReadDouble();
    v.FilterStyle = s.ReadInteger();
    v.FilterHabitable = s.ReadInteger();
    v.FilterPopulation = s.ReadInteger();
    v.FilterHideUnassignedSubsector = s.ReadBoolean();
    ReadVisibilityList(v.PoliticalVisibility, s);
    ReadVisibilityList(v.RouteTypeVisibility, s);
    ReadVisibilityList(v.SubsectorVisibility, s);
}

void SaveSectorInfoToStream(const TVexaSector &x, TAppFileStream &s)
{
    s.WriteString(x.Name);
    s.WriteString(x.IDString);
    s.WriteString(x.Notes);
    s.WriteString(x.GMNotes);
    s.WriteBoolean(x.Spherical);
    s.WriteDouble(x.SizeX);
    s.WriteDouble(x.SizeY);
    s.WriteDouble(x.SizeZ);
    s.WriteInteger(x.RandomSeed);
    for (double d : {x.OriginTarget.X, x.OriginTarget.Y, x.OriginTarget.Z, x.OriginCamera.X, x.OriginCamera.Y,
                     x.OriginCamera.Z})
        s.WriteDouble(d);
    s.WriteInteger(x.GridStyle);
    for (double d : {x.GridX, x.GridY, x.GridZ, x.GridTick})
        s.WriteDouble(d);
    s.WriteBoolean(x.GridTickLabels);
    s.WriteInteger(static_cast<std::int32_t>(x.GridColor));
    s.WriteString(x.BaseFont);
    s.WriteInteger(x.FilterStyle);
    s.WriteInteger(x.FilterHabitable);
    s.WriteInteger(x.FilterPopulation);
    WriteNamedFlags(x.PoliticalList, s);
    s.WriteBoolean(x.FilterHideUnassignedSubsector);
    WriteNamedFlags(x.RouteTypeList, s);
    s.WriteInteger(static_cast<std::int32_t>(x.Views.size()));
    for (const auto &v : x.Views)
        SaveToStream(*v, s);
    s.WriteString(x.UnitStarMeasureName);
    s.WriteString(x.UnitStarMeasureAbbrev);
    s.WriteDouble(x.UnitStarMeasureRatio);
    s.WriteDouble(x.Frequency);
    SaveToStream(x.SystemDataDefaults, s);
    SaveFieldsToStream(x, s);
}

void LoadSectorInfoFromStream(TVexaSector &x, TAppFileStream &s)
{
    const int v = s.StreamVersion;
    x.Name = s.ReadString();
    if (v > 2)
        x.IDString = s.ReadString();
    x.Notes = s.ReadString();
    x.GMNotes = s.ReadString();
    x.Spherical = s.ReadBoolean();
    x.SizeX = CheckedSectorSize(s.ReadDouble(), x.SizeX);
    x.SizeY = CheckedSectorSize(s.ReadDouble(), x.SizeY);
    x.SizeZ = CheckedSectorSize(s.ReadDouble(), x.SizeZ);
    x.RandomSeed = s.ReadInteger();
    for (double *d : {&x.OriginTarget.X, &x.OriginTarget.Y, &x.OriginTarget.Z, &x.OriginCamera.X, &x.OriginCamera.Y,
                      &x.OriginCamera.Z})
        *d = s.ReadDouble();
    x.GridStyle = s.ReadInteger();
    for (double *d : {&x.GridX, &x.GridY, &x.GridZ, &x.GridTick})
        *d = s.ReadDouble();
    x.GridTickLabels = s.ReadBoolean();
    x.GridColor = static_cast<TColor>(s.ReadInteger());
    x.BaseFont = s.ReadString();
    x.FilterStyle = s.ReadInteger();
    x.FilterHabitable = s.ReadInteger();
    x.FilterPopulation = s.ReadInteger();
    ReadNamedFlags(x.PoliticalList, s);
    if (x.PoliticalList.empty())
        x.PoliticalList.push_back({"", true});
    if (v > 3) {
        x.FilterHideUnassignedSubsector = s.ReadBoolean();
        ReadNamedFlags(x.RouteTypeList, s);
        if (x.RouteTypeList.empty())
            x.RouteTypeList.push_back({"", true});
        x.Views.clear();
        const std::int32_t n = s.ReadCount(MIN_VIEW_BYTES);
        for (std::int32_t i = 0; i < n && !s.Failed(); ++i) {
            auto view = std::make_unique<TVexaView>();
            LoadFromStream(*view, s);
            x.Views.push_back(std::move(view));
        }
    }
    x.UnitStarMeasureName = s.ReadString();
    x.UnitStarMeasureAbbrev = s.ReadString();
    x.UnitStarMeasureRatio = s.ReadDouble();
    x.Frequency = s.ReadDouble();
    if (v > 2) {
        LoadFromStream(x.SystemDataDefaults, s);
        LoadFieldsFromStream(x, s);
    }
}

void SaveToStream(const TVexaImageResource &r, TAppFileStream &s, bool withData)
{
    s.WriteString(r.ResourceName);
    s.WriteDouble(r.TimeStamp);
    if (withData)
        s.WriteBinary(r.Data);
}

void LoadFromStream(TVexaImageResource &r, TAppFileStream &s, bool withData)
{
    r.ResourceName = s.ReadString();
    r.TimeStamp = s.ReadDouble();
    if (withData) {
        r.Data = s.ReadBinary();
        r.Loaded = !s.Failed();
    }
}

} // namespace kalvion
