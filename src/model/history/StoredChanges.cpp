#include "model/history/StoredChanges.h"

#include "model/VexaSector.h"

#include <algorithm>

namespace kalvion {

namespace {

// An unloaded image holds the file's bytes, which a step cannot change:
// a copy taken earlier in the step has them already.
const TResourceCopy *FindStoredCopy(const std::vector<TResourceCopy> *earlier, const TVexaImageResource &r)
{
    if (!earlier || r.RecordID <= 0)
        return nullptr;
    for (const TResourceCopy &c : *earlier)
        if (c.RecordID == r.RecordID && c.HasData && !c.Deleted)
            return &c;
    return nullptr;
}

} // namespace

std::vector<TResourceCopy> CopyResources(TVexaSector &sector, const std::string &name, std::size_t below,
                                         const std::vector<TResourceCopy> *earlier)
{
    std::vector<TResourceCopy> copies;
    const auto &list = sector.ImageResources.Resources;
    for (std::size_t i = 0; i < list.size() && i < below; ++i) {
        const TVexaImageResource &r = *list[i];
        if (r.ResourceName != name)
            continue;
        TResourceCopy &c = copies.emplace_back();
        c.Index = static_cast<int>(i);
        c.Name = r.ResourceName;
        c.Id = r.IDString;
        c.RecordID = r.RecordID;
        c.TimeStamp = r.TimeStamp;
        c.Deleted = r.Deleted;
        c.Modified = r.Modified;
        if (r.Deleted) {
            c.HasData = true; // a deleted image needs no bytes
        } else if (r.Loaded) {
            c.Data = r.Data;
            c.HasData = true;
        } else if (const TResourceCopy *known = FindStoredCopy(earlier, r)) {
            c.Data = known->Data;
            c.HasData = true;
        } else if (sector.Store && !sector.FileName.empty()) {
            // Read into a copy: the image itself stays unloaded.
            TVexaImageResource probe;
            probe.ResourceName = r.ResourceName;
            if (sector.Store->LoadResourceData(sector, probe)) {
                c.Data = std::move(probe.Data);
                c.HasData = true;
            }
        }
    }
    return copies;
}

void PutResources(TVexaSector &sector, const std::string &name, const std::vector<TResourceCopy> &copies)
{
    auto &list = sector.ImageResources.Resources;
    std::vector<std::unique_ptr<TVexaImageResource>> stored;
    for (std::size_t i = 0; i < list.size();) {
        if (list[i]->ResourceName != name) {
            ++i;
            continue;
        }
        std::unique_ptr<TVexaImageResource> r = std::move(list[i]);
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
        const bool kept = std::any_of(copies.begin(), copies.end(),
                                      [&](const TResourceCopy &c) { return c.RecordID == r->RecordID; });
        if (r->RecordID > 0 && !kept && !(r->Deleted && !r->Modified)) {
            r->Deleted = true;
            r->Modified = true;
            stored.push_back(std::move(r));
        }
    }
    for (const TResourceCopy &c : copies) {
        auto r = std::make_unique<TVexaImageResource>();
        r->ResourceName = c.Name;
        r->IDString = c.Id;
        r->RecordID = c.RecordID;
        r->TimeStamp = c.TimeStamp;
        r->Deleted = c.Deleted;
        // The bytes are written again with the next save: the file may have
        // lost or replaced them since.
        r->Loaded = c.HasData;
        r->Data = c.Data;
        r->Modified = c.HasData || c.Modified;
        const std::size_t at = std::min<std::size_t>(static_cast<std::size_t>(std::max(c.Index, 0)), list.size());
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), std::move(r));
    }
    for (auto &r : stored)
        list.push_back(std::move(r));
}

std::vector<TStoredSurfaceMap> ReadBodySurfaceMaps(TVexaSector &sector, std::int64_t bodyId)
{
    if (!sector.Store || sector.FileName.empty() || bodyId <= 0)
        return {};
    return sector.Store->ReadSurfaceMaps(sector, {bodyId});
}

void VisitDocumentBodies(TVexaSector &sector, const std::function<bool(TStellarBody &)> &visit)
{
    TStellarBodyList all;
    for (auto &root : sector.Systems) {
        all.clear();
        if (root->Loaded)
            root->GetAllChildren(all);
        else
            all.push_back(root.get());
        for (TStellarBody *b : all)
            if (!visit(*b))
                return;
    }
}

TStellarBody *FindDocumentBody(TVexaSector &sector, const std::string &identity)
{
    TStellarBody *found = nullptr;
    VisitDocumentBodies(sector, [&](TStellarBody &b) {
        if (b.IDString.str() == identity)
            found = &b;
        return found == nullptr;
    });
    return found;
}

std::size_t ChangeBytes(const TResourceChange &change)
{
    std::size_t n = sizeof(change) + change.Name.capacity();
    for (const auto *side : {&change.Before, &change.After})
        for (const TResourceCopy &c : *side)
            n += sizeof(c) + c.Name.capacity() + c.Data.capacity();
    return n;
}

std::size_t ChangeBytes(const TSurfaceMapChange &change)
{
    std::size_t n = sizeof(change);
    for (const auto *side : {&change.Before, &change.After})
        for (const TStoredSurfaceMap &m : *side)
            n += sizeof(m) + m.IdString.capacity() + m.Terrain.capacity() + m.Image.capacity();
    return n;
}

} // namespace kalvion
