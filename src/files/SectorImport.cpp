#include "files/SectorImport.h"

#include "base/AsciiText.h"
#include "model/VexaSector.h"

namespace kalvion {

TImportOffset ImportPlacementOffset(const TVexaSector &s, const TVexaSector &o, int placement, TImportOffset given)
{
    switch (placement) {
    case SECTOR_IMPORT_CENTER: return {};
    case SECTOR_IMPORT_FRONT: return {0, 0, -(s.SizeZ + o.SizeZ) / 2};
    case SECTOR_IMPORT_BACK: return {0, 0, (s.SizeZ + o.SizeZ) / 2};
    case SECTOR_IMPORT_LEFT: return {-(s.SizeX + o.SizeX) / 2, 0, 0};
    case SECTOR_IMPORT_RIGHT: return {(s.SizeX + o.SizeX) / 2, 0, 0};
    case SECTOR_IMPORT_BOTTOM: return {0, -(s.SizeY + o.SizeY) / 2, 0};
    case SECTOR_IMPORT_TOP: return {0, (s.SizeY + o.SizeY) / 2, 0};
    default: return given;
    }
}

void ImportSectorFrom(TVexaSector &sector, TVexaSector &other, int mode, int placement, double dx, double dy,
                      double dz)
{
    // Listed in sector order and kept in step with Systems while update mode
    // removes roots, so a position in the list is a position in Systems.
    std::vector<std::string> ids;
    if (mode == SECTOR_IMPORT_UPDATE || mode == SECTOR_IMPORT_SKIP) {
        ids.reserve(sector.Systems.size());
        for (const auto &root : sector.Systems)
            ids.push_back(root->IDString);
    }
    auto findId = [&ids](const std::string &id) -> int {
        for (std::size_t i = 0; i < ids.size(); ++i)
            if (SameText(ids[i], id))
                return static_cast<int>(i);
        return -1;
    };

    const TImportOffset off = ImportPlacementOffset(sector, other, placement, {dx, dy, dz});
    // When merging a sector into itself the roots below are the sector's own:
    // take the list of sources first so removals cannot disturb the walk.
    std::vector<TStellarBody *> sources;
    sources.reserve(other.Systems.size());
    for (const auto &root : other.Systems)
        sources.push_back(root.get());

    std::vector<std::unique_ptr<TStellarBody>> copies;
    copies.reserve(sources.size());
    for (TStellarBody *src : sources) {
        const int at = findId(src->IDString);
        if (mode == SECTOR_IMPORT_SKIP && at >= 0)
            continue;
        const bool wasLoaded = src->Loaded;
        other.DynaLoad(src);
        auto copy = TStellarBody::Create();
        src->CopyTo(*copy);
        copy->X += off.X;
        copy->Y += off.Y;
        copy->Z += off.Z;
        copy->RecordID = 0;
        copy->Selected = false;
        copy->ModifySystem();
        if (!wasLoaded)
            other.DynaUnload(src);
        if (mode == SECTOR_IMPORT_UPDATE && at >= 0) {
            // In a merge into itself the source may be the root replaced here;
            // its copy is already made.
            sector.DeleteRootBody(sector.Systems[static_cast<std::size_t>(at)].get());
            ids.erase(ids.begin() + at);
        }
        copies.push_back(std::move(copy));
    }
    if (sector.Systems.capacity() < sector.Systems.size() + copies.size())
        sector.Systems.reserve(sector.Systems.size() + copies.size() + 1000);
    for (auto &copy : copies)
        sector.AddSystem(std::move(copy));

    std::vector<std::unique_ptr<TStellarRoute>> routes;
    for (const auto &route : other.Routes) {
        auto copy = TStellarRoute::Create();
        route->CopyTo(*copy, true);
        routes.push_back(std::move(copy));
    }
    for (auto &r : routes)
        sector.AddRoute(std::move(r));
    sector.UpdateRouteBodies();

    std::vector<std::unique_ptr<TVexaSubsector>> subsectors;
    const std::size_t subCount = other.Subsectors.size();
    for (std::size_t i = 0; i < subCount; ++i) {
        const TVexaSubsector &src = *other.Subsectors[i];
        const int existing = sector.GetSubsectorIndexByName(src.Name);
        TVexaSubsector *target = nullptr;
        if (mode == SECTOR_IMPORT_UPDATE && existing >= 0) {
            target = sector.GetSubsector(existing);
            if (target != &src)
                src.CopyTo(*target);
        } else if (mode == SECTOR_IMPORT_SKIP && existing >= 0) {
            continue;
        } else {
            auto sub = TVexaSubsector::Create();
            src.CopyTo(*sub);
            target = sub.get();
            subsectors.push_back(std::move(sub));
        }
        target->X += off.X;
        target->Y += off.Y;
        target->Z += off.Z;
        target->Modified = true;
    }
    for (auto &s : subsectors)
        sector.AddSubsector(std::move(s));

    if (&other != &sector) {
        for (auto &res : other.ImageResources.Resources)
            other.DynaLoadResource(res.get());
        sector.ImageResources.AddFrom(other.ImageResources);
    }
    sector.BuildPoliticalList(true);
    sector.Modified = true;
}

} // namespace kalvion
