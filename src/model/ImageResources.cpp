#include "model/ImageResources.h"

#include "base/AsciiText.h"
#include "base/Paths.h"
#include "base/SafeFile.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <limits>
#include <system_error>

namespace kalvion {

namespace fs = std::filesystem;

namespace {

// 1970-01-01 in days since 1899-12-30.
constexpr double UNIX_EPOCH_DAYS = 25569.0;

double LocalDateTimeFromUnix(std::time_t seconds, double fraction)
{
    std::tm local{};
    long offset = 0;
    if (localtime_r(&seconds, &local))
        offset = local.tm_gmtoff;
    return UNIX_EPOCH_DAYS + (static_cast<double>(seconds) + fraction + static_cast<double>(offset)) / 86400.0;
}

double UnixToDateTime(std::chrono::system_clock::time_point tp)
{
    const auto since = tp.time_since_epoch();
    const auto whole = std::chrono::floor<std::chrono::seconds>(since);
    const double fraction = std::chrono::duration<double>(since - whole).count();
    return LocalDateTimeFromUnix(static_cast<std::time_t>(whole.count()), fraction);
}

} // namespace

double DateTimeNow()
{
    return UnixToDateTime(std::chrono::system_clock::now());
}

std::optional<double> FileDateTime(const std::string &fileName)
{
    std::error_code ec;
    const auto ft = fs::last_write_time(fileName, ec);
    if (ec)
        return std::nullopt;
    return UnixToDateTime(std::chrono::time_point_cast<std::chrono::system_clock::duration>(std::chrono::file_clock::to_sys(ft)));
}

std::optional<TByteStream> ReadFileBytes(const std::string &fileName)
{
    if (!FileExists(fileName))
        return std::nullopt;
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        return std::nullopt;
    TByteStream bytes;
    // Read in chunks rather than trusting a size taken before the read.
    char buf[65536];
    while (in.read(buf, sizeof buf) || in.gcount() > 0) {
        bytes.insert(bytes.end(), reinterpret_cast<const std::uint8_t *>(buf),
                     reinterpret_cast<const std::uint8_t *>(buf) + in.gcount());
        if (in.eof())
            break;
    }
    if (in.bad())
        return std::nullopt;
    return bytes;
}

bool WriteFileBytes(const std::string &fileName, const TByteStream &bytes)
{
    return ReplaceFileContents(fileName,
                               std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size()));
}

int TVexaImageResourceList::Add(std::unique_ptr<TVexaImageResource> resource)
{
    if (!resource)
        return -1;
    Resources.push_back(std::move(resource));
    return Count() - 1;
}

TVexaImageResource *TVexaImageResourceList::GetResource(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return Resources[static_cast<std::size_t>(index)].get();
}

int TVexaImageResourceList::FindResource(std::string_view name) const
{
    if (name.empty())
        return -1;
    const std::string key = AsciiLower(name);
    for (std::size_t i = 0; i < Resources.size(); ++i)
        if (!Resources[i]->Deleted && Resources[i]->ResourceName == key)
            return static_cast<int>(i);
    return -1;
}

int TVexaImageResourceList::AddResource(const std::string &fileName, bool replace)
{
    return AddResourceFileAsName(fileName, fileName, replace);
}

int TVexaImageResourceList::AddResourceFileAsName(std::string_view name, const std::string &fileName, bool replace)
{
    const int known = FindResource(name);
    if (known >= 0) {
        if (replace && FileExists(fileName)) {
            auto bytes = ReadFileBytes(fileName);
            if (bytes) {
                TVexaImageResource &r = *Resources[static_cast<std::size_t>(known)];
                if (OnChanging)
                    OnChanging(r.ResourceName);
                r.TimeStamp = FileDateTime(fileName).value_or(DateTimeNow());
                r.Deleted = false;
                r.Data = std::move(*bytes);
                r.Loaded = true;
                r.Modified = true;
            }
        }
        return known;
    }
    if (!FileExists(fileName))
        return -1;
    auto bytes = ReadFileBytes(fileName);
    if (!bytes)
        return -1;
    auto r = std::make_unique<TVexaImageResource>();
    r->ResourceName = AsciiLower(name);
    r->TimeStamp = FileDateTime(fileName).value_or(DateTimeNow());
    r->Data = std::move(*bytes);
    r->Loaded = true;
    r->Modified = true;
    return Add(std::move(r));
}

int TVexaImageResourceList::AddResourceStream(std::string_view name, const TByteStream &stream, bool replace)
{
    const int known = FindResource(name);
    if (known >= 0) {
        if (replace) {
            TVexaImageResource &r = *Resources[static_cast<std::size_t>(known)];
            if (OnChanging)
                OnChanging(r.ResourceName);
            r.Data = stream;
            // The new bytes are the resource now: a later load on demand must
            // not bring the stored ones back over them.
            r.Loaded = true;
            r.Modified = true;
        }
        return known;
    }
    auto r = std::make_unique<TVexaImageResource>();
    r->ResourceName = AsciiLower(name);
    r->TimeStamp = DateTimeNow();
    r->Data = stream;
    r->Loaded = true;
    return Add(std::move(r));
}

std::optional<TByteStream> TVexaImageResourceList::GetResourceStream(int index) const
{
    const TVexaImageResource *r = GetResource(index);
    if (!r || !r->Loaded)
        return std::nullopt;
    return r->Data;
}

std::optional<TByteStream> TVexaImageResourceList::GetResourceStreamFromFile(std::string_view name) const
{
    return GetResourceStream(FindResource(name));
}

TVexaImageResource *TVexaImageResourceList::GetResourceFromFile(std::string_view name) const
{
    return GetResource(FindResource(name));
}

bool TVexaImageResourceList::ResourceExists(std::string_view name) const
{
    if (TrimView(name).empty())
        return true;
    if (FindResource(name) >= 0)
        return true;
    return FileExists(std::string(name));
}

void TVexaImageResourceList::AddFrom(const TVexaImageResourceList &other)
{
    if (&other == this)
        return;
    for (const auto &src : other.Resources) {
        // A resource the other sector's user removed is not brought back.
        if (src->Deleted || FindResource(src->ResourceName) >= 0)
            continue;
        auto r = std::make_unique<TVexaImageResource>();
        r->ResourceName = src->ResourceName;
        r->TimeStamp = src->TimeStamp;
        r->Data = src->Data;
        r->Loaded = true;
        r->Modified = true;
        Add(std::move(r));
    }
}

bool TVexaImageResourceList::DeleteByName(std::string_view name)
{
    TVexaImageResource *r = GetResourceFromFile(name);
    if (!r)
        return false;
    if (OnChanging)
        OnChanging(r->ResourceName);
    r->Deleted = true;
    r->Modified = true;
    return true;
}

} // namespace kalvion
