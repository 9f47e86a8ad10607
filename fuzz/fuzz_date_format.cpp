// Sector date formats come from sector files: any format text over any tick
// count, the calendar's edges included, must format without fault.
#include "science/VexaDates.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    kalvion::TVexaDateHandler h;
    if (size >= 16) {
        std::memcpy(&h.Ticks, data, 8);
        std::memcpy(&h.ReferenceTicks, data + 8, 8);
        data += 16;
        size -= 16;
    }
    h.Format.assign(reinterpret_cast<const char *>(data), size);
    (void)h.FormatDate();
    const auto p = h.DecodeDate();
    if (p.Month < 1 || p.Month > 12 || p.Day < 1 || p.Day > 31 || p.DayOfWeek < 1 || p.DayOfWeek > 7)
        __builtin_trap();
    h.AddToDate(static_cast<int>(size % 8), static_cast<std::int64_t>(h.ReferenceTicks));
    h.AddDays(static_cast<double>(h.ReferenceTicks) / 1e3);
    return 0;
}
