// Life cycle, dynamic loading and the systems of the sector document.
#include "model/VexaSector.h"

#include "base/AsciiText.h"
#include "model/SectorStore.h"
#include "model/history/SectorHistory.h"

#include <algorithm>
#include <cmath>

namespace kalvion {

double CheckedSectorSize(double size, double fallback) noexcept
{
    if (!(size > 0)) // NaN too
        return fallback;
    return size > SECTOR_MAX_SIZE ? SECTOR_MAX_SIZE : (size < SECTOR_MIN_SIZE ? SECTOR_MIN_SIZE : size);
}

TVexaSector::TVexaSector() : FHistory(std::make_unique<TSectorHistory>(*this))
{
    Systems.reserve(10000);
    ImageResources.OnChanging = [this](std::string_view name) { FHistory->TouchResource(name); };
    PoliticalList.push_back({"", true});
    RouteTypeList.push_back({"", true});
    SetDefaultSystemDataConfig(SystemDataDefaults);
    RestoreDefaultOrigins();
    ResetCamera();
}

TVexaSector::~TVexaSector()
{
    // A worker still generating must stop before the roots it adds to go.
    GenThreadMgr.reset();
    // Waypoints and the selection point at roots; drop them before the roots.
    Selection.clear();
    Routes.clear();
}

void TVexaSector::clear()
{
    FHistory->Clear();
    DynaClearActiveDB();
    RandomSeed = 0;
    GridsEnabled = true;
    Selection.clear();
    PoliticalList.clear();
    Subsectors.clear();
    Routes.clear();
    Systems.clear();
    Views.clear();
    ClearDeleted();
    BuildPoliticalList(true);
    BuildRouteTypeList(true);
    Modified = false;
    RestoreDefaultOrigins();
    UpdateVisibleCount();
    ImageResources.Clear();
}

void TVexaSector::New()
{
    clear();
    FileName.clear();
    FileNameUnconfirmed = false;
}

// ---- dynamic loading ----

void TVexaSector::DynaLoad(TStellarBody *root)
{
    if (!root || root->Loaded)
        return;
    if (FileName.empty() || !Store)
        return;
    root->UnloadChildren();
    // Loading reads the children; changes the root itself had (a move, a
    // mass edit) are still to be saved.
    const bool rootModified = root->TVexaBase::Modified;
    if (Store->LoadSystemChildren(*this, *root)) {
        root->Loaded = true;
        root->TVexaBase::Modified = rootModified;
        FHistory->SystemLoaded(root);
    } else {
        root->UnloadChildren();
    }
}

void TVexaSector::DynaUnload(TStellarBody *root)
{
    if (!root || !root->Loaded || root->TVexaBase::Modified || FHistory->KeepsTree(*root))
        return;
    if (OnChildrenUnloaded)
        OnChildrenUnloaded(std::move(root->Children));
    root->Children.clear();
    root->Loaded = false;
}

void TVexaSector::DynaLoadResource(TVexaImageResource *resource)
{
    if (!resource || resource->Loaded || FileName.empty() || !Store)
        return;
    if (Store->LoadResourceData(*this, *resource))
        resource->Loaded = true;
}

void TVexaSector::DynaLoadAll()
{
    for (auto &root : Systems)
        DynaLoad(root.get());
    for (auto &res : ImageResources.Resources)
        DynaLoadResource(res.get());
}

void TVexaSector::DynaClearActiveDB()
{
    if (Store)
        Store->CloseActive();
}

// ---- systems ----

int TVexaSector::AddSystem(std::unique_ptr<TStellarBody> body)
{
    if (!body)
        return -1;
    body->Parent = nullptr;
    FHistory->SystemAdded(body.get());
    Systems.push_back(std::move(body));
    return static_cast<int>(Systems.size()) - 1;
}

TStellarBody *TVexaSector::NewSystem(int typeCode)
{
    auto body = TStellarBody::Create();
    body->TypeID = typeCode;
    body->X = Camera.X + 0.9 * (Target.X - Camera.X);
    body->Y = Camera.Y + 0.9 * (Target.Y - Camera.Y);
    body->Z = Camera.Z + 0.9 * (Target.Z - Camera.Z);
    TStellarBody *raw = body.get();
    AddSystem(std::move(body));
    return raw;
}

TStellarBody *TVexaSector::GetSystem(int index) const
{
    if (index < 0 || index >= SystemCount())
        return nullptr;
    return Systems[static_cast<std::size_t>(index)].get();
}

int TVexaSector::IndexOfSystem(const TStellarBody *root) const
{
    if (!root)
        return -1;
    for (std::size_t i = 0; i < Systems.size(); ++i)
        if (Systems[i].get() == root)
            return static_cast<int>(i);
    return -1;
}

void TVexaSector::ReleaseRootReferences(TStellarBody *root)
{
    Selection.erase(std::remove(Selection.begin(), Selection.end(), root), Selection.end());
    root->Selected = false;
    for (auto &route : Routes)
        for (auto &wp : route->Waypoints)
            if (wp->Body == root)
                wp->Body = nullptr;
}

std::unique_ptr<TStellarBody> TVexaSector::ExtractSystem(TStellarBody *root)
{
    const int idx = IndexOfSystem(root);
    if (idx < 0)
        return nullptr;
    FHistory->SystemLeaving(root);
    ReleaseRootReferences(root);
    auto owned = std::move(Systems[static_cast<std::size_t>(idx)]);
    Systems.erase(Systems.begin() + idx);
    return owned;
}

void TVexaSector::RemoveSystems(const std::vector<bool> &drop)
{
    std::size_t keep = 0;
    for (std::size_t i = 0; i < Systems.size(); ++i) {
        if (i < drop.size() && drop[i]) {
            FHistory->SystemLeaving(Systems[i].get());
            ReleaseRootReferences(Systems[i].get());
            if (Systems[i]->RecordID > 0)
                DeletedObjects.push_back(std::move(Systems[i]));
            else
                Systems[i].reset();
            continue;
        }
        if (keep != i)
            Systems[keep] = std::move(Systems[i]);
        ++keep;
    }
    Systems.resize(keep);
}

void TVexaSector::DeleteRootBody(TStellarBody *root)
{
    if (auto owned = ExtractSystem(root))
        DeletedObjects.push_back(std::move(owned));
}

void TVexaSector::DeleteChildBody(TStellarBody *parent, TStellarBody *child)
{
    if (!child)
        return;
    if (!parent) {
        DeleteRootBody(child);
        return;
    }
    FHistory->TouchSystem(parent);
    auto owned = parent->ExtractChild(child);
    if (!owned)
        return;
    parent->ModifySystem();
    DeletedObjects.push_back(std::move(owned));
}

void TVexaSector::DeleteSelectedSystems()
{
    bool any = false;
    for (std::size_t i = Systems.size(); i-- > 0;) {
        TStellarBody *root = Systems[i].get();
        if (!root->Selected)
            continue;
        any = true;
        DeleteSystemFromRoutes(root);
        FHistory->SystemLeaving(root);
        ReleaseRootReferences(root);
        DeletedObjects.push_back(std::move(Systems[i]));
        Systems.erase(Systems.begin() + static_cast<std::ptrdiff_t>(i));
    }
    if (!any)
        DeleteSelectedRoutes();
    Selection.clear();
}

namespace {

bool IsSameOrAncestor(const TStellarBody *candidate, const TStellarBody *body)
{
    for (const TStellarBody *b = body; b; b = b->Parent)
        if (b == candidate)
            return true;
    return false;
}

// Waypoints name their system by IDString, which a move keeps: a waypoint
// whose system now lies in the moved tree follows the root that holds it,
// and stands where that root stands.
void FollowMovedTree(std::vector<std::unique_ptr<TStellarRoute>> &routes, TStellarBody &moved)
{
    if (routes.empty())
        return;
    TStellarBody *root = moved.GetRootBody();
    TStellarBodyList tree;
    moved.GetAllChildren(tree);
    std::vector<std::string> ids;
    ids.reserve(tree.size());
    for (const TStellarBody *b : tree)
        ids.emplace_back(b->IDString.str());
    std::sort(ids.begin(), ids.end());
    for (auto &route : routes)
        for (auto &wp : route->Waypoints)
            if (std::binary_search(ids.begin(), ids.end(), wp->id)) {
                wp->Body = root;
                wp->X = root->X;
                wp->Y = root->Y;
                wp->Z = root->Z;
            }
}

} // namespace

void TVexaSector::ReassignChild(TStellarBody *body, TStellarBody *newParent)
{
    if (!body)
        return;
    // Moving a body under itself or under one of its own descendants would
    // cut the subtree off from every owner.
    if (newParent && IsSameOrAncestor(body, newParent))
        return;
    // The system taking the body is written whole on the next save, and a
    // step keeps it whole: its stored bodies come in first.
    if (newParent)
        DynaLoad(newParent->GetRootBody());
    FHistory->TouchSystem(body);
    FHistory->TouchSystem(newParent);
    FHistory->TouchPart(TSectorPart::Routes);

    if (!newParent) {
        TStellarBody *oldParent = body->Parent;
        if (!oldParent)
            return;
        TStellarBody *oldRoot = oldParent->GetRootBody();
        auto owned = oldParent->ExtractChild(body);
        if (!owned)
            return;
        oldRoot->UpdateRootBody();
        oldRoot->ModifySystem();
        owned->X = oldRoot->X;
        owned->Y = oldRoot->Y;
        owned->Z = oldRoot->Z;
        owned->TVexaBase::Modified = true;
        TStellarBody *raw = owned.get();
        AddSystem(std::move(owned));
        FollowMovedTree(Routes, *raw);
        return;
    }

    if (!body->Parent) {
        // The copy must carry the whole stored tree: the root's rows are
        // deleted on the next save.
        DynaLoad(body);
        if (!body->Loaded)
            return;
        body->TVexaBase::Modified = true;
        auto copy = TStellarBody::Create();
        body->CopyTo(*copy);
        copy->Selected = false;
        TStellarBody *raw = copy.get();
        DeleteRootBody(body);
        newParent->AddChild(std::move(copy));
        newParent->UpdateRootBody();
        newParent->ModifySystem();
        FollowMovedTree(Routes, *raw);
        return;
    }

    TStellarBody *oldParent = body->Parent;
    auto owned = oldParent->ExtractChild(body);
    if (!owned)
        return;
    newParent->AddChild(std::move(owned));
    oldParent->UpdateRootBody();
    newParent->UpdateRootBody();
    // The old system lost a body: it must be written again as well.
    oldParent->ModifySystem();
    body->ModifySystem();
    newParent->ModifySystem();
    FollowMovedTree(Routes, *body);
}

TStellarBody *TVexaSector::FindRootBodyById(std::string_view idString) const
{
    for (const auto &root : Systems)
        if (root->IDString == idString)
            return root.get();
    return nullptr;
}

TStellarBody *TVexaSector::FindRootBodyById(const TIdentityText &id) const
{
    for (const auto &root : Systems)
        if (root->IDString == id)
            return root.get();
    return nullptr;
}

TRootIdIndex TVexaSector::BuildRootIdIndex() const
{
    TRootIdIndex list;
    list.reserve(Systems.size());
    for (const auto &root : Systems)
        list.emplace_back(root->IDString, root.get());
    std::sort(list.begin(), list.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    return list;
}

TStellarBody *TVexaSector::FastFindRootBodyByID(std::string_view idString, const TRootIdIndex &sortedList)
{
    // Plain binary search on the byte order the list was sorted by; it finds
    // the first and the last entry too and ends after log2(n) probes.
    auto it = std::lower_bound(sortedList.begin(), sortedList.end(), idString,
                               [](const auto &entry, std::string_view key) { return entry.first < key; });
    if (it != sortedList.end() && it->first == idString)
        return it->second;
    return nullptr;
}

TStellarBody *TVexaSector::FindRootBodyByName(std::string_view name) const
{
    for (const auto &root : Systems)
        if (SameText(root->Name, name))
            return root.get();
    return nullptr;
}

void TVexaSector::UpdateRootAttribs()
{
    for (auto &root : Systems)
        root->UpdateRootBody();
}

void TVexaSector::UpdateVisibleCount()
{
    std::int32_t n = 0;
    for (const auto &root : Systems)
        if (root->Visible)
            ++n;
    VisibleCount = n;
}

double TVexaSector::GetSectorPopulation() const
{
    double sum = 0;
    for (const auto &root : Systems)
        sum += root->ChildPopulation;
    return sum;
}

double TVexaSector::GetSectorBodyCount() const
{
    double sum = 0;
    for (const auto &root : Systems)
        sum += root->BodyCount;
    return sum;
}

void TVexaSector::CreateSubmapFromSelected(TVexaSector &target, double size, int shape)
{
    if (Selection.empty())
        return;
    const TStellarBody *c = Selection.front();
    const double cx = c->X, cy = c->Y, cz = c->Z;

    target.BaseFont = BaseFont;
    target.FilterStyle = FilterStyle;
    target.FilterHabitable = FilterHabitable;
    target.FilterPopulation = FilterPopulation;
    target.FilterHideUnassignedSubsector = FilterHideUnassignedSubsector;
    target.SizeX = target.SizeY = target.SizeZ = 2 * size;
    if (shape == 1) {
        target.Spherical = true;
        target.GridStyle = GridStyle;
        target.GridTick = GridTick;
        target.GridTickLabels = GridTickLabels;
        target.GridColor = GridColor;
        target.GridX = target.GridY = target.GridZ = 2 * size;
    } else {
        target.Spherical = false;
    }

    for (const auto &root : Systems) {
        if (!root->Visible)
            continue;
        const double dx = root->X - cx, dy = root->Y - cy, dz = root->Z - cz;
        const bool inside = shape == 1 ? std::sqrt(dx * dx + dy * dy + dz * dz) <= size
                                       : std::fabs(dx) <= size && std::fabs(dy) <= size && std::fabs(dz) <= size;
        if (!inside)
            continue;
        auto copy = TStellarBody::Create();
        root->CopyTo(*copy);
        copy->X = dx;
        copy->Y = dy;
        copy->Z = dz;
        copy->Selected = false;
        target.AddSystem(std::move(copy));
    }

    const TRootIdIndex copied = target.BuildRootIdIndex();
    for (const auto &route : Routes) {
        if (!route->Visible || route->WaypointCount() < 2)
            continue;
        for (int i = 1; i < route->WaypointCount(); ++i) {
            const TRouteWaypoint *a = route->GetWaypoint(i - 1);
            const TRouteWaypoint *b = route->GetWaypoint(i);
            if (!FastFindRootBodyByID(a->id, copied) || !FastFindRootBodyByID(b->id, copied))
                continue;
            auto seg = TStellarRoute::Create();
            route->CopyTo(*seg, false);
            for (const TRouteWaypoint *src : {a, b}) {
                auto wp = std::make_unique<TRouteWaypoint>();
                wp->id = src->id;
                wp->X = src->X - cx;
                wp->Y = src->Y - cy;
                wp->Z = src->Z - cz;
                seg->AddWaypoint(std::move(wp));
            }
            target.AddRoute(std::move(seg));
        }
    }
    target.UpdateRouteBodies();
}

void TVexaSector::ResetRecordIDs()
{
    TStellarBodyList all;
    for (auto &root : Systems) {
        if (!root->Loaded)
            continue;
        all.clear();
        root->GetAllChildren(all);
        for (TStellarBody *b : all) {
            b->RecordID = 0;
            b->TVexaBase::Modified = true;
            // Pending deletions name rows of the old file, which a save of
            // all-new rows must not touch.
            b->ClearDeletedChildren();
        }
    }
    ClearDeleted();
    for (auto &r : Routes) {
        r->RecordID = 0;
        r->TVexaBase::Modified = true;
    }
    for (auto &s : Subsectors) {
        s->RecordID = 0;
        s->Modified = true;
    }
    for (auto &v : Views) {
        v->RecordID = 0;
        v->Modified = true;
    }
    // Images too, so that a template's images reach the new file.
    for (auto &res : ImageResources.Resources) {
        res->RecordID = 0;
        res->Modified = true;
    }
}

} // namespace kalvion
