#include "files/LegacySectorFiles.h"

#include "base/Paths.h"
#include "files/AppFileStream.h"
#include "files/ObjectStreams.h"
#include "model/VexaSector.h"

#include <cmath>
#include <cstring>
#include <fstream>

namespace kalvion {

namespace {

constexpr int RECORD_SECTOR = 1;
constexpr int RECORD_SUBSECTOR = 2;
constexpr int RECORD_ROUTE = 3;
constexpr int RECORD_SYSTEM = 5;
constexpr int RECORD_RESOURCE = 6;
constexpr int RECORD_COUNT_TYPES = 21;
constexpr std::int32_t RECORD_COUNT_CAP = 10000000;
constexpr std::int64_t MIN_RECORD_BYTES = 20; // next offset, flag, type, empty id

TLegacyLoadResult Corrupted(TVexaSector &sector)
{
    sector.New();
    TLegacyLoadResult r;
    r.ErrorTitle = "Cannot Open";
    r.ErrorText = LEGACY_FILE_CORRUPTED;
    return r;
}

void FinishLoad(TVexaSector &sector, const std::string &fileName)
{
    sector.ResetCamera();
    sector.FileName = fileName;
    sector.Name = ExtractFileBaseName(fileName);
    sector.Modified = false;
}

// Reads the children of a body whose record lies at offset, when the record's
// identity matches.
bool ReadChildRecord(TAppFileStream &s, std::int64_t offset, const std::string &id, TStellarBody &root)
{
    if (offset <= 0 || offset >= s.Size())
        return false;
    s.ClearFailure();
    s.Seek(offset, TAppFileStream::Origin::Begin);
    s.ReadInt64();   // next record
    s.ReadInteger(); // deleted flag
    s.ReadInteger(); // record type
    const std::string recordId = s.ReadString();
    if (s.Failed() || recordId != id)
        return false;
    LoadChildrenFromStream(root, s);
    if (s.Failed()) {
        root.UnloadChildren();
        return false;
    }
    return true;
}

// A creator text names a program: printable, not empty.
bool IsCreatorText(const std::string &text)
{
    if (text.empty())
        return false;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F)
            return false;
    }
    return true;
}

} // namespace

int GetVexaFileVersion(const std::string &fileName)
{
    if (!FileExists(fileName))
        return 0;
    std::string error;
    auto s = TAppFileStream::OpenRead(fileName, error);
    if (!s)
        return 0;
    char head[6] = {};
    if (s->Read(head, 6) == 6 && std::memcmp(head, "SQLite", 6) == 0)
        return 3;
    s->Seek(0, TAppFileStream::Origin::Begin);
    s->ReadString();
    const std::int32_t v = s->ReadInteger();
    if (s->Failed())
        return 0;
    // Version 3 stream files are read by the same reader as 1 and 2.
    if (v == 1 || v == 2 || v == 3)
        return 1;
    if (v == 4)
        return 2;
    return 0;
}

TLegacyLoadResult LoadFromFile_v1_v2(TVexaSector &sector, const std::string &fileName)
{
    sector.Modified = false;
    TLegacyLoadResult result;
    if (!FileExists(fileName))
        return result;
    std::string error;
    auto s = TAppFileStream::OpenRead(fileName, error);
    if (!s) {
        result.ErrorTitle = "Cannot Open";
        result.ErrorText = error;
        return result;
    }
    const std::string creator = s->ReadString();
    const std::int32_t v = s->ReadInteger();
    if (s->Failed() || v < 1)
        return Corrupted(sector);
    s->StreamVersion = v;
    // Only a header with a creator text can come from a newer program; a
    // file of any other kind whose first bytes happen to read as a large
    // version is not one.
    if (v >= 5 && !IsCreatorText(creator))
        return Corrupted(sector);
    if (v >= 5) {
        result.ErrorTitle = "Cannot open file";
        result.ErrorText = std::string(FILE_ERROR_VERSION) + creator.substr(0, 32);
        return result;
    }
    if (v == 4) {
        s.reset();
        return LoadFromDB(sector, fileName);
    }

    LoadSectorInfoFromStream(sector, *s);
    if (v < 3)
        sector.FilterHideUnassignedSubsector = s->ReadBoolean();
    const std::int32_t subsectors = s->ReadCount(60);
    for (std::int32_t i = 0; i < subsectors && !s->Failed(); ++i) {
        auto sub = TVexaSubsector::Create();
        LoadFromStream(*sub, *s);
        sub->Modified = v < 3;
        sector.AddSubsector(std::move(sub));
    }
    const std::int32_t roots = s->ReadCount(100);
    for (std::int32_t i = 0; i < roots && !s->Failed(); ++i) {
        auto root = TStellarBody::Create();
        LoadFromStream(*root, *s);
        root->TVexaBase::Modified = v < 3;
        sector.AddSystem(std::move(root));
    }
    if (v < 3) {
        sector.RouteTypeList.clear();
        const std::int32_t types = s->ReadCount(8);
        for (std::int32_t i = 0; i < types && !s->Failed(); ++i) {
            TStellarRouteType t;
            t.Name = s->ReadString();
            t.Visible = s->ReadBoolean();
            sector.RouteTypeList.push_back(std::move(t));
        }
        if (sector.RouteTypeList.empty())
            sector.RouteTypeList.push_back({"", true});
    }
    const std::int32_t routes = s->ReadCount(40);
    for (std::int32_t i = 0; i < routes && !s->Failed(); ++i) {
        auto route = TStellarRoute::Create();
        LoadFromStream(*route, *s);
        route->TVexaBase::Modified = v < 3;
        sector.AddRoute(std::move(route));
    }
    if (s->Failed())
        return Corrupted(sector);

    FinishLoad(sector, fileName);
    sector.UpdateRootAttribs();
    sector.UpdateRouteBodies();
    sector.SetFilters();
    result.Ok = true;
    return result;
}

TLegacyLoadResult LoadFromDB(TVexaSector &sector, const std::string &fileName)
{
    sector.Modified = false;
    TLegacyLoadResult result;
    std::string error;
    auto s = TAppFileStream::OpenRead(fileName, error);
    if (!s) {
        result.ErrorTitle = "Cannot Open";
        result.ErrorText = error;
        return result;
    }
    const std::int64_t size = s->Size();
    s->ReadString(); // creator
    const std::int32_t version = s->ReadInteger();
    const std::int64_t first = s->ReadInteger();
    s->ReadInteger();
    s->ReadInteger();
    std::int32_t counts[RECORD_COUNT_TYPES] = {};
    for (int i = 0; i < RECORD_COUNT_TYPES; ++i) {
        counts[i] = s->ReadInteger();
        if (i > 0)
            counts[i] = std::clamp(counts[i], 0, RECORD_COUNT_CAP);
    }
    if (s->Failed() || version != 4 || first < s->Position() || first > size)
        return Corrupted(sector);
    s->StreamVersion = version;

    // The counts only size the lists, and no file holds more records than
    // its bytes allow.
    const std::int64_t maxRecords = size / MIN_RECORD_BYTES;
    auto reserveFor = [&](std::int32_t count, double factor) {
        return static_cast<std::size_t>(std::min<double>(std::round(count * factor), static_cast<double>(maxRecords)));
    };
    sector.Systems.reserve(reserveFor(counts[RECORD_SYSTEM], 1.25));
    sector.Subsectors.reserve(reserveFor(counts[RECORD_SUBSECTOR], 1.25));
    sector.Routes.reserve(reserveFor(counts[RECORD_ROUTE], 1.5));

    std::int64_t pos = first;
    while (pos < size) {
        s->ClearFailure();
        s->Seek(pos, TAppFileStream::Origin::Begin);
        const std::int64_t next = s->ReadInt64();
        const std::int32_t deleted = s->ReadInteger();
        const std::int32_t type = s->ReadInteger();
        const std::string id = s->ReadString();
        // Every record must lead forwards, or the reader would go round for ever.
        if (s->Failed() || next <= pos || next > size)
            return Corrupted(sector);
        if (deleted == 0) {
            switch (type) {
            case RECORD_SECTOR:
                LoadSectorInfoFromStream(sector, *s);
                sector.SetDBOffset(pos);
                break;
            case RECORD_SUBSECTOR: {
                auto sub = TVexaSubsector::Create();
                LoadFromStream(*sub, *s);
                sub->SetDBOffset(pos);
                sub->Modified = false;
                sector.AddSubsector(std::move(sub));
                break;
            }
            case RECORD_ROUTE: {
                auto route = TStellarRoute::Create();
                LoadFromStream(*route, *s);
                route->SetDBOffset(pos);
                route->TVexaBase::Modified = false;
                sector.AddRoute(std::move(route));
                break;
            }
            case RECORD_SYSTEM: {
                auto root = TStellarBody::Create();
                root->SetDBChildOffset(s->ReadInt64());
                root->X = s->ReadDouble();
                root->Y = s->ReadDouble();
                root->Z = s->ReadDouble();
                if (s->Failed())
                    return Corrupted(sector);
                LoadFromStream(*root, *s);
                if (!s->Failed()) {
                    root->LabelDistance = s->ReadDouble();
                    root->RouteDistance = s->ReadDouble();
                    root->SphereInfluence = s->ReadInteger();
                    root->SphereInfluenceColor = static_cast<TColor>(s->ReadInteger());
                    root->SphereInfluenceSize = s->ReadDouble();
                    root->BlazonDisplay = s->ReadBoolean();
                    root->BlazonImageFile = s->ReadString();
                    root->BlazonWrap = s->ReadBoolean();
                }
                // A system whose body form cannot be read is still kept, so
                // its contents can be reached through the children record.
                root->UnloadChildren();
                root->SetDBOffset(pos);
                root->Loaded = false;
                root->TVexaBase::Modified = false;
                sector.AddSystem(std::move(root));
                break;
            }
            case RECORD_RESOURCE: {
                auto res = std::make_unique<TVexaImageResource>();
                // The identity is only in the record header; the data record
                // is found again by it.
                res->IDString = id;
                res->SetDBChildOffset(s->ReadInt64());
                LoadFromStream(*res, *s, false);
                res->SetDBOffset(pos);
                res->Loaded = false;
                res->Modified = false;
                sector.ImageResources.Resources.push_back(std::move(res));
                break;
            }
            default:
                break;
            }
            if (s->Failed() && type != RECORD_SYSTEM)
                return Corrupted(sector);
        }
        pos = next;
    }

    sector.UpdateRouteBodies();
    sector.BuildRouteTypeList(true);
    sector.SetFilters();
    FinishLoad(sector, fileName);
    s->ClearFailure();
    result.RecordFile = std::make_unique<TLegacyRecordFile>(fileName, std::move(s), version);
    result.Ok = true;
    return result;
}

TLegacyRecordFile::TLegacyRecordFile(std::string fileName, std::unique_ptr<TAppFileStream> stream,
                                     std::int32_t version)
    : FFileName(std::move(fileName)), FStream(std::move(stream)), FVersion(version)
{
    if (FStream)
        FStream->StreamVersion = FVersion;
}

TLegacyRecordFile::~TLegacyRecordFile() = default;

bool TLegacyRecordFile::Reopen()
{
    if (FStream)
        return true;
    if (!FileExists(FFileName))
        return false;
    std::string error;
    FStream = TAppFileStream::OpenRead(FFileName, error);
    if (!FStream)
        return false;
    FStream->ReadString();
    FVersion = FStream->ReadInteger();
    FStream->StreamVersion = FVersion;
    return !FStream->Failed();
}

bool TLegacyRecordFile::LoadSystemChildren(TVexaSector &, TStellarBody &root)
{
    if (root.DBChildOffset() <= 0 || !Reopen())
        return false;
    return ReadChildRecord(*FStream, root.DBChildOffset(), root.IDString, root);
}

bool TLegacyRecordFile::LoadResourceData(TVexaSector &, TVexaImageResource &resource)
{
    if (resource.DBChildOffset() <= 0 || !Reopen())
        return false;
    TAppFileStream &s = *FStream;
    if (resource.DBChildOffset() >= s.Size())
        return false;
    s.ClearFailure();
    s.Seek(resource.DBChildOffset(), TAppFileStream::Origin::Begin);
    s.ReadInt64();
    s.ReadInteger();
    s.ReadInteger();
    const std::string id = s.ReadString();
    if (s.Failed() || id != resource.IDString)
        return false;
    std::vector<std::uint8_t> data = s.ReadBinary();
    if (s.Failed())
        return false;
    resource.Data = std::move(data);
    return true;
}

void TLegacyRecordFile::CloseActive()
{
    FStream.reset();
}

bool DynaLoad_v2(TVexaSector &sector, TLegacyRecordFile &file, TStellarBody &root)
{
    if (root.Loaded)
        return true;
    if (!file.LoadSystemChildren(sector, root))
        return false;
    root.Loaded = true;
    root.TVexaBase::Modified = false;
    return true;
}

bool DynaLoadResource_v2(TVexaSector &sector, TLegacyRecordFile &file, TVexaImageResource &resource)
{
    if (resource.Loaded)
        return true;
    if (!file.LoadResourceData(sector, resource))
        return false;
    resource.Loaded = true;
    return true;
}

bool SaveToDB(TVexaSector &, const std::string &, bool)
{
    // Older files are never written: nothing was saved, so the document keeps
    // its Modified flag.
    return false;
}

} // namespace kalvion
