#include "surface/manager/SurfaceMapOps.h"

#include "base/Guid.h"
#include "base/Paths.h"
#include "files/SurfaceMapStore.h"
#include "model/BodyTextureNames.h"
#include "model/BodyTypes.h"
#include "model/ImageResources.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "model/history/SectorHistory.h"
#include "surface/GexTerrain.h"
#include "surface/PlanetTerrain.h"

#include <fnmatch.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace kalvion {

namespace {

std::string WithSlash(std::string folder)
{
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

// Loads a world file and renders it at its own size; false when the file is
// missing or damaged.
bool RenderWorldFile(const std::string &path, TMapBytes &png, TMapBytes *worldBytes = nullptr)
{
    if (path.empty() || !FileExists(path))
        return false;
    TGexTerrain terrain(256, 128);
    if (!terrain.LoadFromFile(path))
        return false;
    if (worldBytes) {
        auto bytes = ReadFileBytes(path);
        if (!bytes)
            return false;
        *worldBytes = std::move(*bytes);
    }
    return EncodeMapPng(RenderTerrainMap(terrain), png);
}

void StoreImageResource(TVexaSector &sector, TStellarBody &body, const TMapBytes &png)
{
    const std::string name = SurfaceMapResourceName(body);
    sector.ImageResources.AddResourceStream(name, png, true);
    if (body.PreviewImageFile != name) {
        body.PreviewImageFile = name;
        body.Modified = true;
        body.ModifySystem();
    }
}

} // namespace

std::string SurfaceMapResourceName(const TStellarBody &body) { return ExtractFileName(TextureName(body)); }

std::string GexFileName(const TStellarBody &body)
{
    if (body.TypeID != BODY_TYPE_TERRESTRIAL || !IsGuidString(body.IDString.str()))
        return {};
    return UserDataFolder() + "Planets/" + body.IDString + ".gex";
}

bool GenerateGexSurfaceMap(TVexaSector &sector, TStellarBody &body, bool saveTerrain, const TGexColorGroup &group)
{
    return GenerateGexSurfaceMap(sector, body, saveTerrain, group, GEX_STORED_MAP_WIDTH, GEX_STORED_MAP_HEIGHT);
}

bool GenerateGexSurfaceMap(TVexaSector &sector, TStellarBody &body, bool saveTerrain, const TGexColorGroup &group,
                           int width, int height)
{
    if (body.TypeID != BODY_TYPE_TERRESTRIAL || !IsGuidString(body.IDString.str()) || width < 2 || height < 1)
        return false;
    TSurfaceMapJob job = SurfaceMapJobFor(body, group, width, height);
    job.Colors = group;
    const auto terrain = SetupJobTerrain(job);
    TMapBytes png;
    if (!EncodeMapPng(RenderTerrainMap(*terrain), png))
        return false;
    // The picture is the sector's in any case; the terrain data hangs on the
    // body's row in a sector file, so a body never stored keeps the picture
    // only.
    StoreImageResource(sector, body, png);
    if (!saveTerrain)
        return true;
    if (body.RecordID <= 0 || sector.FileName.empty())
        return false;
    TMapBytes world;
    terrain->SaveToStream(world);
    sector.History().TouchSurfaceMap(body);
    return StoreSurfaceMap(sector.FileName, world, png, body.RecordID);
}

bool RefreshGexSurfaceMap(TVexaSector &sector, TStellarBody &body)
{
    TMapBytes png;
    if (!RenderWorldFile(GexFileName(body), png))
        return false;
    StoreImageResource(sector, body, png);
    return true;
}

bool CheckGexRefresh(TVexaSector &sector, TStellarBody &body)
{
    const std::string world = GexFileName(body);
    if (world.empty() || !FileExists(world))
        return false;
    const TVexaImageResource *res =
        body.PreviewImageFile.empty() ? nullptr : sector.ImageResources.GetResourceFromFile(body.PreviewImageFile);
    const auto worldTime = FileDateTime(world);
    if (res && worldTime && res->TimeStamp >= *worldTime)
        return false;
    return RefreshGexSurfaceMap(sector, body);
}

bool GexUpdateTerrain(const TStellarBody &body)
{
    // The body's own texture file, which the views read when its picture
    // is not among the sector's images.
    TMapBytes png;
    const std::string world = GexFileName(body);
    if (world.empty() || !RenderWorldFile(world, png))
        return false;
    const std::string target = TextureName(body);
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(target).parent_path(), ec);
    return WriteFileBytes(target, png);
}

bool HasTerrainData(const TVexaSector &sector, const TStellarBody &body)
{
    return body.RecordID > 0 && !sector.FileName.empty() && HasSurfaceMap(sector.FileName, body.RecordID);
}

bool StoreTerrainFile(TVexaSector &sector, const TStellarBody &body, const std::string &worldFile)
{
    if (body.RecordID <= 0 || sector.FileName.empty())
        return false;
    TMapBytes png, world;
    if (!RenderWorldFile(worldFile, png, &world))
        return false;
    sector.History().TouchSurfaceMap(body);
    return StoreSurfaceMap(sector.FileName, world, png, body.RecordID);
}

bool IsUneditedGexHeader(const std::uint8_t *data, std::size_t size) noexcept
{
    if (data == nullptr || size < 11 || std::memcmp(data, "Gex", 3) != 0)
        return false;
    auto i32 = [data](std::size_t at) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(data[at]) |
                                         (static_cast<std::uint32_t>(data[at + 1]) << 8) |
                                         (static_cast<std::uint32_t>(data[at + 2]) << 16) |
                                         (static_cast<std::uint32_t>(data[at + 3]) << 24));
    };
    const std::int32_t version = i32(3);
    return version >= 5 && version <= 7 && i32(7) == GEX_ORIGIN_GENERATED;
}

int ClearUneditedGexFiles(const std::string &folder, const std::string &pattern)
{
    namespace fs = std::filesystem;
    int deleted = 0;
    std::error_code ec;
    fs::directory_iterator it(WithSlash(folder), ec);
    if (ec)
        return 0;
    for (const fs::directory_entry &entry : it) {
        std::error_code e2;
        // Links are never followed: only plain files of this folder count.
        if (!entry.is_regular_file(e2) || entry.is_symlink(e2))
            continue;
        const std::string name = entry.path().filename().string();
        if (!pattern.empty() && fnmatch(pattern.c_str(), name.c_str(), 0) != 0)
            continue;
        std::uint8_t header[11] = {};
        std::ifstream in(entry.path(), std::ios::binary);
        in.read(reinterpret_cast<char *>(header), sizeof header);
        if (!in || !IsUneditedGexHeader(header, sizeof header))
            continue;
        in.close();
        if (fs::remove(entry.path(), e2))
            ++deleted;
    }
    return deleted;
}

} // namespace kalvion
