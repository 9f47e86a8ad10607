#include "model/history/SectorHistory.h"

#include "model/VexaSector.h"
#include "model/history/SystemState.h"

#include <algorithm>
#include <iterator>
#include <unordered_set>

namespace kalvion {

// ---- recording ----

TSectorHistory::TSectorHistory(TVexaSector &sector) : FSector(sector) {}

TSectorHistory::~TSectorHistory() = default;

void TSectorHistory::BeginStep(const std::string &name)
{
    if (FDepth++ > 0)
        return;
    FOpen = std::make_unique<TStep>();
    FOpen->Name = name;
    FOpen->ResourcesAtOpen = FSector.ImageResources.Resources.size();
    FOpen->SavesAtOpen = FSaves;
    FStartIndex.clear();
    FStartIndexBuilt = false;
}

void TSectorHistory::EndStep()
{
    if (FDepth <= 0 || --FDepth > 0)
        return;
    CloseStep();
}

int TSectorHistory::StartIndexOf(const TStellarBody *root)
{
    if (!FStartIndexBuilt) {
        FStartIndexBuilt = true;
        FStartIndex.reserve(FSector.Systems.size());
        for (std::size_t i = 0; i < FSector.Systems.size(); ++i)
            FStartIndex.emplace(FSector.Systems[i].get(), static_cast<int>(i));
    }
    auto it = FStartIndex.find(root);
    return it == FStartIndex.end() ? -1 : it->second;
}

TSectorHistory::TSystemChange *TSectorHistory::FindOpen(const std::string &id)
{
    auto it = FOpen->SystemById.find(id);
    return it == FOpen->SystemById.end() ? nullptr : &FOpen->Systems[it->second];
}

TSectorHistory::TSystemChange &TSectorHistory::AddOpen(TStellarBody *root, int beforeIndex, bool hadBefore)
{
    FOpen->SystemById.emplace(root->IDString.str(), FOpen->Systems.size());
    TSystemChange &c = FOpen->Systems.emplace_back();
    c.Id = root->IDString;
    c.Full = root->Loaded;
    c.BeforeIndex = beforeIndex;
    c.Open = std::make_unique<TOpenSide>();
    c.Open->Live = root;
    c.Open->HadBefore = hadBefore;
    if (hadBefore)
        WriteSystemState(*root, c.Full, c.Open->Before, c.Full ? &c.Open->Rows.Before : nullptr);
    return c;
}

void TSectorHistory::TouchSystem(TStellarBody *body)
{
    if (!Recording() || !body)
        return;
    TStellarBody *root = body->GetRootBody();
    if (FindOpen(root->IDString.str()))
        return;
    const int index = StartIndexOf(root);
    // A tree not in the document (one being built, a copy) is not the
    // document's to record.
    if (index < 0)
        return;
    AddOpen(root, index, true);
}

void TSectorHistory::TouchPart(TSectorPart part)
{
    if (!Recording())
        return;
    int &slot = FOpen->PartIndex[static_cast<std::size_t>(part)];
    if (slot >= 0)
        return;
    slot = static_cast<int>(FOpen->Parts.size());
    TPartChange &c = FOpen->Parts.emplace_back();
    c.Part = part;
    WritePartState(FSector, part, c.OpenBefore);
}

void TSectorHistory::TouchResource(std::string_view name)
{
    if (!Recording() || name.empty())
        return;
    for (const TResourceChange &c : FOpen->Resources)
        if (c.Name == name)
            return;
    TResourceChange &c = FOpen->Resources.emplace_back();
    c.Name = std::string(name);
    c.Before = CopyResources(FSector, c.Name);
}

void TSectorHistory::TouchSurfaceMap(const TStellarBody &body)
{
    if (!Recording() || body.RecordID <= 0)
        return;
    const std::string id = body.IDString.str();
    for (const TSurfaceMapChange &c : FOpen->Maps)
        if (c.Body == id)
            return;
    TSurfaceMapChange &c = FOpen->Maps.emplace_back();
    c.Body = id;
    c.BodyId = body.RecordID;
    c.Before = ReadBodySurfaceMaps(FSector, body.RecordID);
}

void TSectorHistory::TouchEverything()
{
    if (!Recording())
        return;
    for (auto &root : FSector.Systems)
        TouchSystem(root.get());
    for (int p = 0; p < SECTOR_PART_COUNT; ++p)
        TouchPart(static_cast<TSectorPart>(p));
    for (const auto &r : FSector.ImageResources.Resources)
        TouchResource(r->ResourceName);
}

void TSectorHistory::CloseStoredChanges(TStep &step)
{
    // Images added during the step: what bore their names before is as it was.
    const auto &list = FSector.ImageResources.Resources;
    for (std::size_t i = std::min(step.ResourcesAtOpen, list.size()); i < list.size(); ++i) {
        const std::string &name = list[i]->ResourceName;
        if (std::none_of(step.Resources.begin(), step.Resources.end(),
                         [&](const TResourceChange &c) { return c.Name == name; })) {
            TResourceChange &c = step.Resources.emplace_back();
            c.Name = name;
            c.Before = CopyResources(FSector, name, step.ResourcesAtOpen);
        }
    }
    std::vector<TResourceChange> resources;
    for (TResourceChange &c : step.Resources) {
        // A save within the step may have put other bytes into the rows.
        c.After = CopyResources(FSector, c.Name, SIZE_MAX, step.SavesAtOpen == FSaves ? &c.Before : nullptr);
        if (c.After != c.Before)
            resources.push_back(std::move(c));
    }
    step.Resources = std::move(resources);
    std::vector<TSurfaceMapChange> maps;
    for (TSurfaceMapChange &c : step.Maps) {
        c.After = ReadBodySurfaceMaps(FSector, c.BodyId);
        if (c.After != c.Before)
            maps.push_back(std::move(c));
    }
    step.Maps = std::move(maps);
}

void TSectorHistory::SystemAdded(TStellarBody *root)
{
    if (!Recording() || !root)
        return;
    StartIndexOf(root); // the start order is taken before the document changes
    if (TSystemChange *c = FindOpen(root->IDString.str())) {
        c->Open->Live = root;
        return;
    }
    AddOpen(root, -1, false);
}

void TSectorHistory::SystemLeaving(TStellarBody *root)
{
    if (!Recording() || !root)
        return;
    TouchSystem(root);
    if (TSystemChange *c = FindOpen(root->IDString.str())) {
        if (c->Open->Live == root)
            c->Open->Live = nullptr;
        // Where it lands in the deleted list, an undo before the next save
        // takes the very object back; it is looked for there, never used
        // blindly.
        c->Pending = root;
    }
}

void TSectorHistory::SystemLoaded(TStellarBody *root)
{
    if (!Recording() || !root || root->Parent)
        return;
    TSystemChange *c = FindOpen(root->IDString.str());
    if (!c || c->Full || c->Open->Live != root)
        return;
    // The children come straight from the file: they are as they were
    // before the step.
    c->Full = true;
    TOpenSide &open = *c->Open;
    if (open.HadBefore && open.Before.size() >= EMPTY_CHILDREN_BYTES) {
        open.Before.resize(open.Before.size() - EMPTY_CHILDREN_BYTES);
        open.Rows.Before.assign(1, root->RecordID);
        WriteChildrenState(*root, open.Before, &open.Rows.Before);
    }
}

void TSectorHistory::CloseStep()
{
    std::unique_ptr<TStep> step = std::move(FOpen);
    FStartIndex.clear();
    FStartIndexBuilt = false;
    if (!step)
        return;

    std::unordered_map<const TStellarBody *, int> endIndex;
    if (!step->Systems.empty()) {
        endIndex.reserve(FSector.Systems.size());
        for (std::size_t i = 0; i < FSector.Systems.size(); ++i)
            endIndex.emplace(FSector.Systems[i].get(), static_cast<int>(i));
    }
    std::vector<TSystemChange> kept;
    kept.reserve(step->Systems.size());
    std::string after;
    for (TSystemChange &c : step->Systems) {
        TOpenSide &open = *c.Open;
        TStellarBody *live = open.Live;
        auto it = live ? endIndex.find(live) : endIndex.end();
        if (it == endIndex.end())
            live = nullptr;
        c.AfterIndex = live ? it->second : -1;
        after.clear();
        if (live) {
            if (c.Full && !live->Loaded)
                FSector.DynaLoad(live);
            WriteSystemState(*live, c.Full, after, c.Full ? &open.Rows.After : nullptr);
        }
        if (!open.HadBefore && !live)
            continue;
        c.State.Keep(open.HadBefore ? &open.Before : nullptr, live ? &after : nullptr, step->Pool);
        if (live)
            c.Pending = nullptr;
        if (c.State.Unchanged() && c.BeforeIndex == c.AfterIndex)
            continue;
        // With the same bodies on both sides every body is found again by
        // its identity: the row ids are needed only where bodies come and go.
        if (c.Full && !(open.HadBefore && live && open.Rows.Before == open.Rows.After)) {
            c.Rows = std::make_unique<TRowIds>(std::move(open.Rows));
            c.Rows->Before.shrink_to_fit();
            c.Rows->After.shrink_to_fit();
        }
        c.Open.reset();
        kept.push_back(std::move(c));
    }
    step->Systems = std::move(kept);
    step->Systems.shrink_to_fit();
    step->SystemById = {};

    std::vector<TPartChange> parts;
    for (TPartChange &c : step->Parts) {
        after.clear();
        WritePartState(FSector, c.Part, after);
        if (c.Part == TSectorPart::Date)
            c.State.KeepWhole(c.OpenBefore, after, step->Pool);
        else
            c.State.Keep(&c.OpenBefore, &after, step->Pool);
        std::string().swap(c.OpenBefore);
        if (c.State.Unchanged())
            continue;
        parts.push_back(std::move(c));
    }
    step->Parts = std::move(parts);
    CloseStoredChanges(*step);
    step->Pool.Seal();
    step->Bytes = StepBytes(*step);
    if (step->Systems.empty() && step->Parts.empty() && step->Resources.empty() && step->Maps.empty())
        return;

    if (FClean && *FClean > static_cast<long>(FUndo.size()))
        FClean.reset(); // the saved state was undone and is now out of reach
    for (const TStep &gone : FRedo)
        CountTrees(gone, -1);
    FRedo.clear();
    CountTrees(*step, +1);
    FUndo.push_back(std::move(*step));
    Trim();
}

void TSectorHistory::CountTrees(const TStep &step, int delta)
{
    for (const TSystemChange &c : step.Systems) {
        if (!c.Full)
            continue;
        const std::string id = c.Id.str();
        int &n = FTreeRefs[id];
        n += delta;
        if (n <= 0)
            FTreeRefs.erase(id);
    }
}

bool TSectorHistory::KeepsTree(const TStellarBody &root) const
{
    return !FTreeRefs.empty() && FTreeRefs.count(root.IDString.str()) > 0;
}

void TSectorHistory::Trim()
{
    while (static_cast<int>(FUndo.size()) > FLimit) {
        CountTrees(FUndo.front(), -1);
        FUndo.pop_front();
        if (FClean) {
            if (*FClean == 0)
                FClean.reset();
            else
                --*FClean;
        }
    }
}

void TSectorHistory::SetLimit(int steps)
{
    FLimit = std::max(1, steps);
    Trim();
}

void TSectorHistory::Clear()
{
    FUndo.clear();
    FRedo.clear();
    FTreeRefs.clear();
    FKeptMaps.clear();
    FClean = 0;
    FOpen.reset();
    FStartIndex.clear();
    FStartIndexBuilt = false;
}

std::size_t TSectorHistory::BytesHeld() const
{
    std::size_t n = 0;
    for (const auto *list : {&FUndo, &FRedo})
        for (const TStep &s : *list)
            n += s.Bytes;
    return n;
}

void TSectorHistory::PrepareForSave()
{
    ++FSaves;
    for (auto *list : {&FUndo, &FRedo})
        for (TStep &step : *list) {
            bool grew = false;
            for (TSystemChange &c : step.Systems) {
                if (!c.Pending)
                    continue;
                TStellarBody *pending = nullptr;
                for (auto &o : FSector.DeletedObjects)
                    if (o.get() == c.Pending && c.Pending->IDString == c.Id)
                        pending = c.Pending;
                c.Pending = nullptr;
                if (!pending || c.Full)
                    continue;
                // Its rows go with this save: keep the whole tree instead.
                FSector.DynaLoad(pending);
                std::string whole;
                const bool undoSide = c.State.HasSide(true) && !c.State.HasSide(false);
                if (!c.Rows)
                    c.Rows = std::make_unique<TRowIds>();
                std::vector<std::int64_t> &ids = undoSide ? c.Rows->Before : c.Rows->After;
                ids.clear();
                WriteSystemState(*pending, true, whole, &ids);
                c.State.Keep(undoSide ? &whole : nullptr, undoSide ? nullptr : &whole, step.Pool);
                c.Full = true;
                ++FTreeRefs[c.Id.str()];
                grew = true;
            }
            if (grew) {
                step.Pool.Seal();
                step.Bytes = StepBytes(step);
            }
        }
    KeepSurfaceMapsOfDeleted();
}

void TSectorHistory::KeepSurfaceMapsOfDeleted()
{
    if (!FSector.Store || FSector.FileName.empty())
        return;
    // The bodies the history may bring back whose rows this save deletes.
    std::vector<std::int64_t> held;
    for (auto *list : {&FUndo, &FRedo})
        for (const TStep &step : *list)
            for (const TSystemChange &c : step.Systems)
                if (c.Rows)
                    for (const auto *ids : {&c.Rows->Before, &c.Rows->After})
                        held.insert(held.end(), ids->begin(), ids->end());
    if (held.empty())
        return;
    std::sort(held.begin(), held.end());
    held.erase(std::unique(held.begin(), held.end()), held.end());
    std::vector<std::int64_t> live;
    VisitDocumentBodies(FSector, [&](TStellarBody &b) {
        live.push_back(b.RecordID);
        return true;
    });
    std::sort(live.begin(), live.end());
    std::vector<std::int64_t> leaving;
    std::set_difference(held.begin(), held.end(), live.begin(), live.end(), std::back_inserter(leaving));
    if (leaving.empty())
        return;
    const std::vector<std::int64_t> mapped = FSector.Store->SurfaceMapBodies(FSector);
    std::vector<std::int64_t> wanted;
    std::set_intersection(leaving.begin(), leaving.end(), mapped.begin(), mapped.end(), std::back_inserter(wanted));
    if (wanted.empty())
        return;
    // The bodies whose rows go are the deleted ones in memory.
    std::unordered_map<std::int64_t, std::string> identity;
    const auto note = [&](const TStellarBody &top) {
        std::vector<const TStellarBody *> stack{&top};
        while (!stack.empty()) {
            const TStellarBody *b = stack.back();
            stack.pop_back();
            if (b->RecordID > 0)
                identity.emplace(b->RecordID, b->IDString.str());
            for (auto &c : b->Children)
                stack.push_back(c.get());
            if (b->DeletedChildren())
                for (auto &c : *b->DeletedChildren())
                    stack.push_back(c.get());
        }
    };
    for (auto &o : FSector.DeletedObjects)
        if (auto *b = dynamic_cast<const TStellarBody *>(o.get()))
            note(*b);
    for (auto &root : FSector.Systems)
        if (root->Loaded)
            note(*root);
    std::unordered_set<std::string> fresh;
    for (TStoredSurfaceMap &row : FSector.Store->ReadSurfaceMaps(FSector, wanted)) {
        auto it = identity.find(row.BodyId);
        std::string id = it != identity.end() ? it->second : row.IdNull ? std::string() : row.IdString;
        if (id.empty())
            continue;
        // Kept at an earlier save already: that copy is the one.
        if (FKeptMaps.count(id) && !fresh.count(id))
            continue;
        fresh.insert(id);
        FKeptMaps[id].push_back(std::move(row));
    }
}

void TSectorHistory::PutSurfaceMaps(const std::string &body, const std::vector<TStoredSurfaceMap> &rows)
{
    if (!FSector.Store || FSector.FileName.empty())
        return;
    TStellarBody *b = FindDocumentBody(FSector, body);
    if (b && b->RecordID > 0 && FSector.Store->ReplaceSurfaceMaps(FSector, b->RecordID, body, rows)) {
        FKeptMaps.erase(body);
        return;
    }
    FKeptMaps[body] = rows;
}

std::vector<std::pair<TStellarBody *, std::vector<TStoredSurfaceMap>>> TSectorHistory::TakeSurfaceMapsToRestore()
{
    std::vector<std::pair<TStellarBody *, std::vector<TStoredSurfaceMap>>> back;
    if (FKeptMaps.empty())
        return back;
    VisitDocumentBodies(FSector, [&](TStellarBody &b) {
        auto it = b.RecordID > 0 ? FKeptMaps.find(b.IDString.str()) : FKeptMaps.end();
        if (it != FKeptMaps.end()) {
            back.emplace_back(&b, std::move(it->second));
            FKeptMaps.erase(it);
        }
        return !FKeptMaps.empty();
    });
    return back;
}

void TSectorHistory::ApplyStoredChanges(TStep &step, bool toBefore)
{
    if (toBefore)
        for (auto it = step.Resources.rbegin(); it != step.Resources.rend(); ++it)
            PutResources(FSector, it->Name, it->Before);
    else
        for (const TResourceChange &c : step.Resources)
            PutResources(FSector, c.Name, c.After);
    for (const TSurfaceMapChange &c : step.Maps)
        PutSurfaceMaps(c.Body, toBefore ? c.Before : c.After);
}

std::size_t TSectorHistory::StepBytes(const TStep &step)
{
    std::size_t n = sizeof(TStep) + step.Name.capacity() + step.Pool.Bytes() +
                    step.Systems.capacity() * sizeof(TSystemChange) + step.Parts.capacity() * sizeof(TPartChange);
    for (const TSystemChange &c : step.Systems)
        if (c.Rows)
            n += sizeof(TRowIds) + (c.Rows->Before.capacity() + c.Rows->After.capacity()) * sizeof(std::int64_t);
    for (const TResourceChange &c : step.Resources)
        n += ChangeBytes(c);
    for (const TSurfaceMapChange &c : step.Maps)
        n += ChangeBytes(c);
    return n;
}

// ---- undo and redo ----

bool TSectorHistory::Undo()
{
    if (FUndo.empty() || FDepth > 0)
        return false;
    TStep step = std::move(FUndo.back());
    FUndo.pop_back();
    if (!Apply(step, true)) {
        Clear();
        return false;
    }
    FRedo.push_back(std::move(step));
    return true;
}

bool TSectorHistory::Redo()
{
    if (FRedo.empty() || FDepth > 0)
        return false;
    TStep step = std::move(FRedo.back());
    FRedo.pop_back();
    if (!Apply(step, false)) {
        Clear();
        return false;
    }
    FUndo.push_back(std::move(step));
    return true;
}

bool TSectorHistory::Apply(TStep &step, bool toBefore)
{
    TVexaSector &s = FSector;
    const bool fromBefore = !toBefore;
    LastError.clear();

    // Everything is checked against the document before anything changes.
    std::unordered_map<std::string, std::size_t> rootById;
    rootById.reserve(s.Systems.size());
    for (std::size_t i = 0; i < s.Systems.size(); ++i)
        rootById.emplace(s.Systems[i]->IDString.str(), i);

    const std::size_t n = step.Systems.size();
    std::vector<std::string> target(n);
    std::vector<std::size_t> slot(n, SIZE_MAX);
    std::string current;
    for (std::size_t k = 0; k < n; ++k) {
        TSystemChange &c = step.Systems[k];
        const bool present = c.State.HasSide(fromBefore);
        if (present) {
            auto it = rootById.find(c.Id.str());
            if (it == rootById.end()) {
                LastError = "A system of the step is missing";
                return false;
            }
            slot[k] = it->second;
            TStellarBody *root = s.Systems[it->second].get();
            if (c.Full && !root->Loaded)
                s.DynaLoad(root);
            current.clear();
            WriteSystemState(*root, c.Full, current);
            if (c.State.HasSide(toBefore) && !c.State.Rebuild(toBefore, current, step.Pool, target[k])) {
                LastError = "A system changed outside the history";
                return false;
            }
            if (!c.State.HasSide(toBefore)) {
                // Going away: its state must still be the kept one.
                std::string check;
                if (!c.State.Rebuild(fromBefore, std::string_view(), step.Pool, check) || check != current) {
                    LastError = "A system changed outside the history";
                    return false;
                }
            }
        } else if (!c.State.Rebuild(toBefore, std::string_view(), step.Pool, target[k])) {
            LastError = "A step is damaged";
            return false;
        }
    }
    std::vector<std::string> partTarget(step.Parts.size());
    for (std::size_t k = 0; k < step.Parts.size(); ++k) {
        current.clear();
        WritePartState(s, step.Parts[k].Part, current);
        if (!step.Parts[k].State.Rebuild(toBefore, current, step.Pool, partTarget[k])) {
            LastError = "The sector changed outside the history";
            return false;
        }
    }

    FApplying = true;
    // Take out the systems as they are now, and the stored ones waiting to
    // be deleted that the step brings back.
    TBodyPool pool;
    // The originals waiting for the next save come first: they hold the
    // rows; a copy the step made of one (a dropped system) is not reused.
    for (TSystemChange &c : step.Systems) {
        if (!c.Pending || c.State.HasSide(fromBefore))
            continue;
        auto &gone = s.DeletedObjects;
        for (std::size_t i = 0; i < gone.size(); ++i)
            if (gone[i].get() == c.Pending && c.Pending->IDString == c.Id) {
                std::unique_ptr<TStellarBody> body(static_cast<TStellarBody *>(gone[i].release()));
                gone.erase(gone.begin() + static_cast<std::ptrdiff_t>(i));
                pool.Add(std::move(body), c.Full);
                break;
            }
        c.Pending = nullptr;
    }
    std::vector<bool> drop(s.Systems.size(), false);
    for (std::size_t k = 0; k < n; ++k)
        if (slot[k] != SIZE_MAX)
            drop[slot[k]] = true;
    std::size_t keep = 0;
    for (std::size_t i = 0; i < s.Systems.size(); ++i) {
        if (drop[i]) {
            s.ReleaseRootReferences(s.Systems[i].get());
            continue;
        }
        if (keep != i)
            std::swap(s.Systems[keep], s.Systems[i]);
        ++keep;
    }
    {
        std::unordered_map<std::string, bool> full;
        for (const TSystemChange &c : step.Systems)
            full.emplace(c.Id.str(), c.Full);
        for (std::size_t i = keep; i < s.Systems.size(); ++i) {
            auto &root = s.Systems[i];
            const bool tree = full[root->IDString.str()];
            pool.Add(std::move(root), tree);
        }
        s.Systems.resize(keep);
    }

    // Rebuild the systems of the other side and put them in their places.
    std::vector<std::pair<int, std::unique_ptr<TStellarBody>>> placed;
    bool ok = true;
    for (std::size_t k = 0; k < n; ++k) {
        TSystemChange &c = step.Systems[k];
        if (!c.State.HasSide(toBefore))
            continue;
        std::unique_ptr<TStellarBody> root;
        const std::vector<std::int64_t> *rows = c.Rows ? (toBefore ? &c.Rows->Before : &c.Rows->After) : nullptr;
        ok = ReadSystemState(target[k], c.Full, pool, root, rows) && ok;
        root->ModifySystem();
        placed.emplace_back(toBefore ? c.BeforeIndex : c.AfterIndex, std::move(root));
    }
    std::sort(placed.begin(), placed.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (auto &[index, root] : placed) {
        const std::size_t at = std::min<std::size_t>(static_cast<std::size_t>(std::max(index, 0)), s.Systems.size());
        s.Systems.insert(s.Systems.begin() + static_cast<std::ptrdiff_t>(at), std::move(root));
    }

    // What the other side does not hold: a stored one waits for the next
    // save to delete its rows; the step remembers where to find a stored
    // root again.
    std::unordered_map<std::string, TSystemChange *> goneById;
    for (TSystemChange &c : step.Systems)
        if (!c.State.HasSide(toBefore))
            goneById.emplace(c.Id.str(), &c);
    for (auto &body : pool.TakeRest()) {
        body->EndLifetime();
        body->Selected = false;
        auto it = goneById.find(body->IDString.str());
        if (body->RecordID <= 0 && it == goneById.end())
            continue;
        if (it != goneById.end())
            it->second->Pending = body.get();
        s.DeletedObjects.push_back(std::move(body));
    }

    for (std::size_t k = 0; k < step.Parts.size(); ++k)
        ok = ReadPartState(s, step.Parts[k].Part, partTarget[k]) && ok;
    ApplyStoredChanges(step, toBefore);

    // Waypoints point at the roots as they are now; a system moved into
    // another one is found in the tree of the root that holds it.
    const TRootIdIndex roots = s.BuildRootIdIndex();
    std::unordered_map<std::string, TStellarBody *> holders;
    for (auto &route : s.Routes) {
        route->Sector = &s;
        for (auto &wp : route->Waypoints) {
            TStellarBody *root = TVexaSector::FastFindRootBodyByID(wp->id, roots);
            if (!root) {
                if (holders.empty()) {
                    TStellarBodyList all;
                    for (auto &r : s.Systems) {
                        all.clear();
                        r->GetAllChildren(all);
                        for (TStellarBody *b : all)
                            holders.emplace(b->IDString.str(), r.get());
                    }
                }
                auto it = holders.find(wp->id);
                root = it == holders.end() ? nullptr : it->second;
            }
            wp->Body = root;
        }
    }
    s.Selection.erase(std::remove_if(s.Selection.begin(), s.Selection.end(),
                                     [](const TStellarBody *b) { return !b->Selected; }),
                      s.Selection.end());
    s.SetFilters();
    s.UpdateVisibleCount();
    FApplying = false;
    const long position = static_cast<long>(FUndo.size()) + (toBefore ? 0 : 1);
    s.Modified = !(FClean && *FClean == position);
    if (!ok)
        LastError = "A step could not be read back completely";
    return true;
}

} // namespace kalvion
