#pragma once
// Images stored inside the sector file, keyed by a lower-case resource name.
#include "model/VexaBase.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvion {

inline constexpr const char *BACKGROUNDRESOURCE_SECTOR = "BackgroundImage";
inline constexpr const char *BACKGROUNDRESOURCE_PREVIEW = "PreviewBackgroundImage";
inline constexpr const char *BACKGROUNDRESOURCE_ORBITAL = "OrbitalBackgroundImage";

// The bytes of an image file, kept unchanged (the program's memory stream).
using TByteStream = std::vector<std::uint8_t>;

class TVexaImageResource : public TVexaBase {
public:
    TVexaImageResource() { Loaded = false; }
    std::string ResourceName;
    double TimeStamp = 0; // days since 1899-12-30, the stored date-time form
    TByteStream Data;
    bool Deleted = false;
};

class TVexaImageResourceList : public TVexaBase {
public:
    std::vector<std::unique_ptr<TVexaImageResource>> Resources;
    // Told the lower-case name before an image already in the list changes
    // (the sector's undo history listens); new images need no call.
    std::function<void(std::string_view name)> OnChanging;
    int Count() const { return static_cast<int>(Resources.size()); }
    void Clear() { Resources.clear(); }

    int Add(std::unique_ptr<TVexaImageResource> resource);
    TVexaImageResource *GetResource(int index) const;
    // The first resource not deleted whose name equals the lower-cased name;
    // -1 for "" or when none does.
    int FindResource(std::string_view name) const;
    // Adds (or, with replace, refreshes) the resource named by the lower-cased
    // path from the file's bytes and time.  -1 when a new resource cannot be
    // read; the index of a known one either way.
    int AddResource(const std::string &fileName, bool replace);
    // The same, with the resource keyed by name instead of the path.
    int AddResourceFileAsName(std::string_view name, const std::string &fileName, bool replace);
    int AddResourceStream(std::string_view name, const TByteStream &stream, bool replace);
    // A copy of the data; none when the resource is absent or not loaded.
    std::optional<TByteStream> GetResourceStream(int index) const;
    std::optional<TByteStream> GetResourceStreamFromFile(std::string_view name) const;
    TVexaImageResource *GetResourceFromFile(std::string_view name) const;
    // True for a blank name, a known resource and an existing file.
    bool ResourceExists(std::string_view name) const;
    void AddFrom(const TVexaImageResourceList &other);
    bool DeleteByName(std::string_view name);
};

// Date-time values of resources: days since 30 Dec 1899, local time.
double DateTimeNow();
// The modification time of a file as such a value; none when unreadable.
std::optional<double> FileDateTime(const std::string &fileName);
// Reads a whole file; none when it cannot be read.
std::optional<TByteStream> ReadFileBytes(const std::string &fileName);
// Writes bytes to a file through a temporary file in the same folder.
bool WriteFileBytes(const std::string &fileName, const TByteStream &bytes);

} // namespace kalvion
