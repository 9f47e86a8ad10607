#include "files/SectorImport.h"

#include "base/AsciiText.h"
#include "base/NumberParse.h"
#include "model/VexaSector.h"
#include "base/PhysicalFormulas.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

namespace {

bool StartsWith(const std::string &line, const char *prefix)
{
    return line.rfind(prefix, 0) == 0;
}

// The rest of a line from a 1-based character position.
std::string RestFrom(const std::string &line, std::size_t position)
{
    return position - 1 < line.size() ? line.substr(position - 1) : std::string();
}

} // namespace

namespace {

bool CatalogueError(std::string *error, const std::string &text)
{
    if (error)
        *error = text;
    return false;
}

// Reads the whole listing, at most CATALOGUE_MAX_BYTES.  Opened without
// waiting, so a pipe that nobody writes to reads as empty instead of
// blocking the open; an endless device ends at the bound.
bool ReadCatalogue(const std::string &fileName, std::string &text, std::string *error)
{
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return CatalogueError(error, "The catalogue " + fileName + " could not be opened: " + std::strerror(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return CatalogueError(error, "The catalogue " + fileName + " is a folder, not a listing");
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    text.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int why = errno;
            ::close(fd);
            return CatalogueError(error, "The catalogue " + fileName + " could not be read: " + std::strerror(why));
        }
        if (n == 0)
            break;
        if (text.size() + static_cast<std::size_t>(n) > CATALOGUE_MAX_BYTES) {
            ::close(fd);
            return CatalogueError(error, "The catalogue " + fileName + " is longer than " +
                                             std::to_string(CATALOGUE_MAX_BYTES >> 20) +
                                             " MB; nothing was imported");
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

} // namespace

int ImportGliese(TVexaSector &sector, const std::string &fileName, std::string *error)
{
    std::string text;
    if (!ReadCatalogue(fileName, text, error))
        return 0;
    std::istringstream in(std::move(text));
    std::vector<std::unique_ptr<TStellarBody>> stars;
    // The star being read stays current until the next entry starts, also
    // after its position line has placed it.
    std::unique_ptr<TStellarBody> pending;
    TStellarBody *current = nullptr;
    double reach = 0;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (StartsWith(line, "Gliese code:")) {
            pending = TStellarBody::Create();
            current = pending.get();
            current->BodyType = "Star";
            current->TypeID = BODY_TYPE_STAR;
            continue;
        }
        if (!current)
            continue; // a property line before the first entry has no star
        if (StartsWith(line, "Spectral type:")) {
            current->Spectral = Trim(RestFrom(line, 15));
            current->Color = StarColorFromSpectral(current->Spectral);
        } else if (StartsWith(line, "Luminosity:")) {
            current->Luminosity = StrToFloatDef(RestFrom(line, 12), 0);
        } else if (StartsWith(line, "Remarks:")) {
            current->Name = Trim(RestFrom(line, 9));
        } else if (StartsWith(line, "Earth-based (")) {
            std::string rest = RestFrom(line, 14);
            const std::size_t close = rest.find(')');
            if (close != std::string::npos)
                rest.resize(close);
            double v[3];
            std::size_t start = 0;
            bool ok = true;
            for (int k = 0; k < 3 && ok; ++k) {
                const std::size_t comma = k < 2 ? rest.find(',', start) : rest.size();
                if (comma == std::string::npos) {
                    ok = false;
                    break;
                }
                const auto num = ParseDouble(rest.substr(start, comma - start));
                ok = num.has_value();
                v[k] = ok ? *num * 3.26 : 0;
                start = comma + 1;
            }
            if (!ok)
                continue; // a position that does not read leaves the star unplaced
            current->X = v[0];
            current->Y = v[1];
            current->Z = v[2];
            reach = std::max(reach, std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]));
            if (pending)
                stars.push_back(std::move(pending));
        }
    }
    if (stars.empty())
        return 0;

    const int added = static_cast<int>(stars.size());
    for (auto &s : stars)
        sector.AddSystem(std::move(s));
    sector.SizeX = sector.SizeY = sector.SizeZ = reach;
    sector.GridX = sector.GridY = sector.GridZ = reach / 2;
    for (auto &root : sector.Systems) {
        root->X += reach / 2;
        root->Y += reach / 2;
        root->Z += reach / 2;
        root->ModifySystem();
    }
    sector.UpdateRoutes();
    sector.Camera = {0, sector.SizeY / 4, -(sector.SizeX + sector.GridX)};
    sector.Target = {sector.SizeX / 2, sector.SizeY / 2, sector.SizeZ / 2};
    sector.Modified = true;
    return added;
}

} // namespace kalvion
