#include "model/history/PartState.h"

#include "model/VexaSector.h"
#include "model/history/StateParts.h"

#include <unordered_map>

namespace kalvion {

namespace {

void PutPoint(const TVexaPoint &p, TStateWriter &w)
{
    w.Put(p.X);
    w.Put(p.Y);
    w.Put(p.Z);
}

void GetPoint(TVexaPoint &p, TStateReader &r)
{
    p.X = r.Get<double>();
    p.Y = r.Get<double>();
    p.Z = r.Get<double>();
}

void PutVisibility(const std::vector<TVexaVisibilityEntry> &list, TStateWriter &w)
{
    w.Put(static_cast<std::uint32_t>(list.size()));
    for (const auto &e : list) {
        w.Text(e.Name);
        w.Put(e.Visible);
    }
}

void GetVisibility(std::vector<TVexaVisibilityEntry> &list, TStateReader &r)
{
    list.clear();
    const auto n = r.Get<std::uint32_t>();
    for (std::uint32_t i = 0; i < n && !r.Failed(); ++i) {
        TVexaVisibilityEntry e;
        e.Name = std::string(r.Text());
        e.Visible = r.Get<bool>();
        list.push_back(std::move(e));
    }
}

// The named lists keep the visibility the filters gave each name.
template <class Entry>
void PutNames(const std::vector<Entry> &list, TStateWriter &w)
{
    w.Put(static_cast<std::uint32_t>(list.size()));
    for (const auto &e : list)
        w.Text(e.Name);
}

template <class Entry>
void GetNames(std::vector<Entry> &list, TStateReader &r)
{
    std::unordered_map<std::string, bool> shown;
    for (const auto &e : list)
        shown.emplace(e.Name, e.Visible);
    list.clear();
    const auto n = r.Get<std::uint32_t>();
    for (std::uint32_t i = 0; i < n && !r.Failed(); ++i) {
        Entry e;
        e.Name = std::string(r.Text());
        auto it = shown.find(e.Name);
        e.Visible = it == shown.end() || it->second;
        list.push_back(std::move(e));
    }
}

void PutSettings(const TVexaSector &s, TStateWriter &w)
{
    for (const std::string *t : {&s.Notes, &s.GMNotes, &s.DateFormat, &s.UnitStarMeasureName,
                                 &s.UnitStarMeasureAbbrev, &s.BaseFont})
        w.Text(*t);
    w.Put(s.EpochYear);
    for (double d : {s.UnitStarMeasureRatio, s.SizeX, s.SizeY, s.SizeZ, s.Frequency, s.GridX, s.GridY,
                     s.GridZ, s.GridTick})
        w.Put(d);
    for (std::int32_t i : {s.RandomSeed, s.GridStyle})
        w.Put(i);
    for (bool f : {s.Spherical, s.GridTickLabels})
        w.Put(f);
    w.Put(s.GridColor);
    w.Put(s.BackgroundColor);
    PutPoint(s.OriginCamera, w);
    PutPoint(s.OriginTarget, w);
    PutNames(s.PoliticalList, w);
    PutNames(s.RouteTypeList, w);
    for (const auto &cfg : s.SystemDataDefaults.Configs)
        PutDataConfig(cfg.get(), w);
    PutFields(s, w);
}

void GetSettings(TVexaSector &s, TStateReader &r)
{
    for (std::string *t : {&s.Notes, &s.GMNotes, &s.DateFormat, &s.UnitStarMeasureName,
                           &s.UnitStarMeasureAbbrev, &s.BaseFont})
        *t = std::string(r.Text());
    s.EpochYear = r.Get<std::int64_t>();
    for (double *d : {&s.UnitStarMeasureRatio, &s.SizeX, &s.SizeY, &s.SizeZ, &s.Frequency, &s.GridX,
                      &s.GridY, &s.GridZ, &s.GridTick})
        *d = r.Get<double>();
    for (std::int32_t *i : {&s.RandomSeed, &s.GridStyle})
        *i = r.Get<std::int32_t>();
    for (bool *f : {&s.Spherical, &s.GridTickLabels})
        *f = r.Get<bool>();
    s.GridColor = r.Get<TColor>();
    s.BackgroundColor = r.Get<TColor>();
    GetPoint(s.OriginCamera, r);
    GetPoint(s.OriginTarget, r);
    GetNames(s.PoliticalList, r);
    GetNames(s.RouteTypeList, r);
    for (auto &cfg : s.SystemDataDefaults.Configs)
        cfg = GetDataConfig(r);
    GetFields(s, r);
}

void PutRoutes(const TVexaSector &s, TStateWriter &w)
{
    w.Put(static_cast<std::uint32_t>(s.Routes.size()));
    for (const auto &route : s.Routes) {
        const TStellarRoute &rt = *route;
        w.Text(rt.IDString.str());
        w.Text(rt.Name);
        w.Text(rt.RouteType);
        w.Put(rt.RoundTrip);
        for (double d : {rt.Red, rt.Green, rt.Blue, rt.LineWidth})
            w.Put(d);
        w.Put(rt.LineStyle);
        w.Put(rt.Stipple);
        PutFields(rt, w);
        w.Put(static_cast<std::uint32_t>(rt.Waypoints.size()));
        for (const auto &wp : rt.Waypoints) {
            w.Text(wp->id);
            w.Put(wp->X);
            w.Put(wp->Y);
            w.Put(wp->Z);
        }
    }
}

// Objects of a list restored from a state: the ones still there by identity
// are kept (with their row ids), the others wait in the deleted list for
// the next save.
template <class T>
std::unordered_map<std::string, std::unique_ptr<T>> TakeById(std::vector<std::unique_ptr<T>> &list)
{
    std::unordered_map<std::string, std::unique_ptr<T>> byId;
    for (auto &o : list) {
        std::string id = o->IDString.str();
        byId.try_emplace(std::move(id), std::move(o));
    }
    list.clear();
    return byId;
}

template <class T>
std::unique_ptr<T> ReuseOrCreate(std::unordered_map<std::string, std::unique_ptr<T>> &byId, const std::string &id)
{
    auto it = byId.find(id);
    std::unique_ptr<T> o;
    if (it != byId.end()) {
        o = std::move(it->second);
        byId.erase(it);
    } else {
        o = std::make_unique<T>();
        o->IDString = id;
    }
    o->TVexaBase::Modified = true;
    return o;
}

template <class T>
void RetireRest(TVexaSector &s, std::unordered_map<std::string, std::unique_ptr<T>> &byId)
{
    for (auto &[id, o] : byId) {
        if (!o)
            continue;
        o->EndLifetime();
        if (o->RecordID > 0)
            s.DeletedObjects.push_back(std::move(o));
    }
}

void GetRoutes(TVexaSector &s, TStateReader &r)
{
    auto old = TakeById(s.Routes);
    const TRootIdIndex roots = s.BuildRootIdIndex();
    const auto n = r.Get<std::uint32_t>();
    for (std::uint32_t i = 0; i < n && !r.Failed(); ++i) {
        auto rt = ReuseOrCreate(old, std::string(r.Text()));
        rt->Sector = &s;
        rt->Name = std::string(r.Text());
        rt->RouteType = std::string(r.Text());
        rt->RoundTrip = r.Get<bool>();
        for (double *d : {&rt->Red, &rt->Green, &rt->Blue, &rt->LineWidth})
            *d = r.Get<double>();
        rt->LineStyle = r.Get<std::int32_t>();
        rt->Stipple = r.Get<std::uint16_t>();
        GetFields(*rt, r);
        rt->Waypoints.clear();
        const auto wps = r.Get<std::uint32_t>();
        for (std::uint32_t k = 0; k < wps && !r.Failed(); ++k) {
            auto wp = std::make_unique<TRouteWaypoint>();
            wp->id = std::string(r.Text());
            wp->X = r.Get<double>();
            wp->Y = r.Get<double>();
            wp->Z = r.Get<double>();
            wp->Body = TVexaSector::FastFindRootBodyByID(wp->id, roots);
            rt->Waypoints.push_back(std::move(wp));
        }
        s.Routes.push_back(std::move(rt));
    }
    RetireRest(s, old);
}

void PutSubsectors(const TVexaSector &s, TStateWriter &w)
{
    w.Put(static_cast<std::uint32_t>(s.Subsectors.size()));
    for (const auto &sub : s.Subsectors) {
        const TVexaSubsector &b = *sub;
        w.Text(b.IDString.str());
        w.Text(b.Name);
        w.Put(b.Color);
        w.Put(b.ShowLabel);
        w.Put(b.Shape);
        w.Put(b.ShowGrid);
        w.Put(b.TickLabels);
        for (double d : {b.X, b.Y, b.Z, b.SizeX, b.SizeY, b.SizeZ, b.RotateX, b.RotateY, b.RotateZ, b.GridX, b.GridY,
                         b.GridZ, b.GridTick})
            w.Put(d);
        PutFields(b, w);
    }
}

void GetSubsectors(TVexaSector &s, TStateReader &r)
{
    auto old = TakeById(s.Subsectors);
    const auto n = r.Get<std::uint32_t>();
    for (std::uint32_t i = 0; i < n && !r.Failed(); ++i) {
        std::string id(r.Text());
        const bool known = old.count(id) > 0;
        auto b = ReuseOrCreate(old, id);
        if (!known)
            b->Visible = true;
        b->Name = std::string(r.Text());
        b->Color = r.Get<TColor>();
        b->ShowLabel = r.Get<bool>();
        b->Shape = r.Get<std::int32_t>();
        b->ShowGrid = r.Get<bool>();
        b->TickLabels = r.Get<bool>();
        for (double *d : {&b->X, &b->Y, &b->Z, &b->SizeX, &b->SizeY, &b->SizeZ, &b->RotateX, &b->RotateY,
                          &b->RotateZ, &b->GridX, &b->GridY, &b->GridZ, &b->GridTick})
            *d = r.Get<double>();
        GetFields(*b, r);
        s.Subsectors.push_back(std::move(b));
    }
    RetireRest(s, old);
}

void PutViews(const TVexaSector &s, TStateWriter &w)
{
    w.Put(static_cast<std::uint32_t>(s.Views.size()));
    for (const auto &view : s.Views) {
        const TVexaView &v = *view;
        w.Text(v.Name);
        PutPoint(v.Camera, w);
        PutPoint(v.Target, w);
        for (std::int32_t i : {v.FilterStyle, v.FilterHabitable, v.FilterPopulation})
            w.Put(i);
        w.Put(v.FilterHideUnassignedSubsector);
        PutVisibility(v.PoliticalVisibility, w);
        PutVisibility(v.RouteTypeVisibility, w);
        PutVisibility(v.SubsectorVisibility, w);
    }
}

void GetViews(TVexaSector &s, TStateReader &r)
{
    // Saved views are written anew on every save: nothing to keep.
    s.Views.clear();
    const auto n = r.Get<std::uint32_t>();
    for (std::uint32_t i = 0; i < n && !r.Failed(); ++i) {
        auto v = std::make_unique<TVexaView>();
        v->Name = std::string(r.Text());
        GetPoint(v->Camera, r);
        GetPoint(v->Target, r);
        for (std::int32_t *k : {&v->FilterStyle, &v->FilterHabitable, &v->FilterPopulation})
            *k = r.Get<std::int32_t>();
        v->FilterHideUnassignedSubsector = r.Get<bool>();
        GetVisibility(v->PoliticalVisibility, r);
        GetVisibility(v->RouteTypeVisibility, r);
        GetVisibility(v->SubsectorVisibility, r);
        s.Views.push_back(std::move(v));
    }
}

} // namespace

void WritePartState(const TVexaSector &sector, TSectorPart part, std::string &out)
{
    TStateWriter w(out);
    switch (part) {
    case TSectorPart::Settings:
        PutSettings(sector, w);
        break;
    case TSectorPart::Routes:
        PutRoutes(sector, w);
        break;
    case TSectorPart::Subsectors:
        PutSubsectors(sector, w);
        break;
    case TSectorPart::Views:
        PutViews(sector, w);
        break;
    case TSectorPart::Date:
        w.Put(sector.Time);
        break;
    }
}

bool ReadPartState(TVexaSector &sector, TSectorPart part, std::string_view state)
{
    TStateReader r(state);
    switch (part) {
    case TSectorPart::Settings:
        GetSettings(sector, r);
        break;
    case TSectorPart::Routes:
        GetRoutes(sector, r);
        break;
    case TSectorPart::Subsectors:
        GetSubsectors(sector, r);
        break;
    case TSectorPart::Views:
        GetViews(sector, r);
        break;
    case TSectorPart::Date:
        sector.Time = r.Get<double>();
        break;
    }
    return !r.Failed() && r.AtEnd();
}

} // namespace kalvion
