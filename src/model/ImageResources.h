#pragma once
// Images stored inside the sector file, keyed by a lower-case resource name.
#include "model/VexaBase.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kalvion {

inline constexpr const char *BACKGROUNDRESOURCE_SECTOR = "BackgroundImage";
inline constexpr const char *BACKGROUNDRESOURCE_PREVIEW = "PreviewBackgroundImage";
inline constexpr const char *BACKGROUNDRESOURCE_ORBITAL = "OrbitalBackgroundImage";

class TVexaImageResource : public TVexaBase {
public:
    TVexaImageResource() { Loaded = false; }
    std::string ResourceName;
    double TimeStamp = 0; // days since 1899-12-30, the stored date-time form
    std::vector<std::uint8_t> Data;
    bool Deleted = false;
};

class TVexaImageResourceList : public TVexaBase {
public:
    std::vector<std::unique_ptr<TVexaImageResource>> Resources;
    int Count() const { return static_cast<int>(Resources.size()); }
    void Clear() { Resources.clear(); }
};

} // namespace kalvion
