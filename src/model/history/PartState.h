#pragma once
// The kept state of the parts of a sector that are not systems: its own
// settings and lists, its routes, its subsectors and its saved views.  What
// the filters and the selection set (visibility, selected flags) is left
// out: it changes outside edits.
#include <cstdint>
#include <string>
#include <string_view>

namespace kalvion {

class TVexaSector;

// The sector's date is a part of its own: the orrery moves it on while it
// runs, so a step keeps it whole instead of checking it.  Whether grids are
// drawn is a view toggle and not kept.
enum class TSectorPart : std::uint8_t { Settings, Routes, Subsectors, Views, Date };
inline constexpr int SECTOR_PART_COUNT = 5;

void WritePartState(const TVexaSector &sector, TSectorPart part, std::string &out);
// False when the state is damaged; the part is then left as it was read so far.
bool ReadPartState(TVexaSector &sector, TSectorPart part, std::string_view state);

} // namespace kalvion
