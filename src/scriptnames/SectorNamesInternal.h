#pragma once
// Shared by the two registration units of TVexaSector.
#include "scriptnames/HelperClasses.h"

#include <memory>

namespace kalvion {
class TVexaSector;
class TLegacyRecordFile;
}

namespace kalvion::names {

// Subsector grids and exported maps a script may ask for.
inline constexpr std::int32_t SUBSECTOR_SCRIPT_MAX = 64;
inline constexpr std::int32_t EXPORT2D_SCRIPT_MAX_WIDTH = 20000;

// Ends the script references to the objects waiting in the deleted lists.
void EndDeletedLifetimes(TVexaSector &sector);

// The open record file of a sector read from an older file, kept for
// DynaLoad_v2 while the sector lives.
void KeepLegacyFile(TVexaSector &sector, std::unique_ptr<TLegacyRecordFile> file);
TLegacyRecordFile *LegacyFileOf(TVexaSector &sector);


} // namespace kalvion::names
