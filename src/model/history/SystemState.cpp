#include "model/history/SystemState.h"

#include "model/StellarBody.h"
#include "model/history/StateParts.h"

namespace kalvion {

namespace {

void PutBody(const TStellarBody &b, TStateWriter &w, bool withChildren, std::vector<std::int64_t> *rowIds)
{
    if (rowIds)
        rowIds->push_back(b.RecordID);
    w.Text(b.IDString.str());
    PutFields(b, w);
    w.Text(b.Name);
    w.Put(b.TypeID);
    w.Text(b.BodyType.view());
    w.Text(b.Spectral.view());
    for (double d : {b.X, b.Y, b.Z, b.Distance, b.Radius, b.Density, b.Mass, b.Rotation, b.Luminosity, b.Albedo,
                     b.Temp, b.Atmosphere, b.Water, b.Population, b.ChildPopulation, b.SphereInfluenceSize,
                     b.RenderDistance, b.LabelDistance, b.RouteDistance, b.Eccentricity, b.Inclination,
                     b.AngleAscendingNode, b.AnglePeriapsis, b.TimeOffset, b.AxialTilt, b.OrbitalPlaneX,
                     b.OrbitalPlaneY, b.OrbitalPlaneZ})
        w.Put(d);
    for (std::int32_t i : {b.Habitability, b.ChildHabitability, b.BodyCount, b.SphereInfluence, b.FontStyle,
                           b.DSOIntensity, b.RandomSeed})
        w.Put(i);
    for (TColor c : {b.SphereInfluenceColor, b.Color, b.LabelColor, b.OrbitColor})
        w.Put(c);
    for (bool f : {b.RetrogradeOrbit, b.BlazonDisplay, b.BlazonWrap})
        w.Put(f);
    for (const TCompactText *t : {&b.AtmosphereNotes, &b.PoliticalAffiliation, &b.Notes, &b.GMNotes,
                                  &b.PreviewImageFile, &b.BlazonImageFile, &b.ModelFile})
        w.Text(t->view());
    w.Put(static_cast<std::uint32_t>(b.AtmElements.size()));
    for (const auto &e : b.AtmElements) {
        w.Text(e.Gas);
        w.Put(e.Percent);
    }
    PutDataConfig(b.SystemDataConfig(), w);
    const TGexColorGroup *g = b.ColorGroup();
    w.Put(g != nullptr);
    if (g) {
        for (TColor c : {g->DeepWater, g->ShallowWater, g->Beach, g->Lowland, g->Highland, g->Ice, g->Desert,
                         g->AtmosphereColor})
            w.Put(c);
        w.Put(g->CloudsEnabled);
    }
    if (!withChildren) {
        w.Put(std::uint32_t{0});
        return;
    }
    w.Put(static_cast<std::uint32_t>(b.Children.size()));
    for (const auto &c : b.Children)
        PutBody(*c, w, true, rowIds);
}

void GetBody(TStellarBody &b, TStateReader &r)
{
    GetFields(b, r);
    b.Name = std::string(r.Text());
    b.TypeID = r.Get<std::int32_t>();
    b.BodyType = r.Text();
    b.Spectral = r.Text();
    for (double *d : {&b.X, &b.Y, &b.Z, &b.Distance, &b.Radius, &b.Density, &b.Mass, &b.Rotation, &b.Luminosity,
                      &b.Albedo, &b.Temp, &b.Atmosphere, &b.Water, &b.Population, &b.ChildPopulation,
                      &b.SphereInfluenceSize, &b.RenderDistance, &b.LabelDistance, &b.RouteDistance,
                      &b.Eccentricity, &b.Inclination, &b.AngleAscendingNode, &b.AnglePeriapsis, &b.TimeOffset,
                      &b.AxialTilt, &b.OrbitalPlaneX, &b.OrbitalPlaneY, &b.OrbitalPlaneZ})
        *d = r.Get<double>();
    for (std::int32_t *i : {&b.Habitability, &b.ChildHabitability, &b.BodyCount, &b.SphereInfluence, &b.FontStyle,
                            &b.DSOIntensity, &b.RandomSeed})
        *i = r.Get<std::int32_t>();
    for (TColor *c : {&b.SphereInfluenceColor, &b.Color, &b.LabelColor, &b.OrbitColor})
        *c = r.Get<TColor>();
    for (bool *f : {&b.RetrogradeOrbit, &b.BlazonDisplay, &b.BlazonWrap})
        *f = r.Get<bool>();
    for (TCompactText *t : {&b.AtmosphereNotes, &b.PoliticalAffiliation, &b.Notes, &b.GMNotes, &b.PreviewImageFile,
                            &b.BlazonImageFile, &b.ModelFile})
        *t = r.Text();
    b.AtmElements.clear();
    const auto gases = r.Get<std::uint32_t>();
    for (std::uint32_t i = 0; i < gases && !r.Failed(); ++i) {
        TVexaAtmElement e;
        e.Gas = std::string(r.Text());
        e.Percent = r.Get<double>();
        b.AtmElements.push_back(std::move(e));
    }
    b.SetSystemDataConfig(GetDataConfig(r));
    if (r.Get<bool>()) {
        TGexColorGroup g;
        for (TColor *c : {&g.DeepWater, &g.ShallowWater, &g.Beach, &g.Lowland, &g.Highland, &g.Ice, &g.Desert,
                          &g.AtmosphereColor})
            *c = r.Get<TColor>();
        g.CloudsEnabled = r.Get<bool>();
        b.SetGexColorGroup(g);
    } else {
        b.ClearGexColorGroup();
    }
    b.TVexaBase::Modified = true;
}

struct TRowIds {
    const std::vector<std::int64_t> *Ids;
    std::size_t Next = 0;
    std::int64_t Take() { return Ids && Next < Ids->size() ? (*Ids)[Next++] : 0; }
};

std::unique_ptr<TStellarBody> TakeOrCreate(const std::string &id, TBodyPool &pool, TRowIds &rowIds)
{
    const std::int64_t rowId = rowIds.Take();
    auto body = pool.Take(id);
    if (!body) {
        body = TStellarBody::Create();
        body->IDString = id;
        body->RecordID = rowId;
    }
    return body;
}

bool ReadTree(TStellarBody &parent, TStateReader &r, TBodyPool &pool, TRowIds &rowIds, int depth)
{
    const auto n = r.Get<std::uint32_t>();
    if (n > 0 && depth > 256)
        return false;
    parent.Children.reserve(n);
    for (std::uint32_t i = 0; i < n && !r.Failed(); ++i) {
        auto child = TakeOrCreate(std::string(r.Text()), pool, rowIds);
        child->Children.clear();
        child->Parent = &parent;
        child->Loaded = true;
        GetBody(*child, r);
        TStellarBody *raw = child.get();
        parent.Children.push_back(std::move(child));
        if (!ReadTree(*raw, r, pool, rowIds, depth + 1))
            return false;
    }
    return !r.Failed();
}

} // namespace

void WriteSystemState(const TStellarBody &root, bool withChildren, std::string &out, std::vector<std::int64_t> *rowIds)
{
    TStateWriter w(out);
    PutBody(root, w, withChildren, rowIds);
}

void WriteChildrenState(const TStellarBody &root, std::string &out, std::vector<std::int64_t> *rowIds)
{
    TStateWriter w(out);
    w.Put(static_cast<std::uint32_t>(root.Children.size()));
    for (const auto &c : root.Children)
        PutBody(*c, w, true, rowIds);
}

void TBodyPool::Add(std::unique_ptr<TStellarBody> body, bool withTree)
{
    if (!body)
        return;
    if (withTree) {
        for (auto &c : body->Children)
            Add(std::move(c), true);
        body->Children.clear();
        if (auto *gone = body->DeletedChildren()) {
            for (auto &c : *gone)
                Add(std::move(c), true);
            body->ClearDeletedChildren();
        }
    }
    body->Parent = nullptr;
    std::string id = body->IDString.str();
    auto it = FBodies.find(id);
    if (it == FBodies.end())
        FBodies.emplace(std::move(id), std::move(body));
    else
        FSeconds.push_back(std::move(body));
}

std::unique_ptr<TStellarBody> TBodyPool::Take(const std::string &id)
{
    auto it = FBodies.find(id);
    if (it == FBodies.end())
        return nullptr;
    auto body = std::move(it->second);
    FBodies.erase(it);
    return body;
}

std::vector<std::unique_ptr<TStellarBody>> TBodyPool::TakeRest()
{
    std::vector<std::unique_ptr<TStellarBody>> rest = std::move(FSeconds);
    FSeconds.clear();
    rest.reserve(rest.size() + FBodies.size());
    for (auto &[id, body] : FBodies)
        rest.push_back(std::move(body));
    FBodies.clear();
    return rest;
}

bool ReadSystemState(std::string_view state, bool withChildren, TBodyPool &pool, std::unique_ptr<TStellarBody> &root,
                     const std::vector<std::int64_t> *rowIds)
{
    TStateReader r(state);
    TRowIds ids{rowIds};
    root = TakeOrCreate(std::string(r.Text()), pool, ids);
    root->Parent = nullptr;
    GetBody(*root, r);
    if (!withChildren)
        return r.Get<std::uint32_t>() == 0 && !r.Failed();
    root->Children.clear();
    root->Loaded = true;
    return ReadTree(*root, r, pool, ids, 0);
}

} // namespace kalvion
