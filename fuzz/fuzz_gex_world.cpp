// World files from outside: any bytes must read without a crash, a hang or
// an allocation beyond what the file can hold, and what was read must colour
// and save.
#include "surface/GexTerrain.h"
#include "surface/PlanetTerrain.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    kalvion::TGexTerrain terrain(4, 2);
    terrain.LoadFromBytes(data, size);
    // Colouring reads every cell with its neighbours; keep big worlds cheap.
    if (terrain.CellCount() <= 65536) {
        const kalvion::TRgbImage image = kalvion::RenderTerrainMap(terrain);
        (void)image;
    }
    std::vector<std::uint8_t> out;
    terrain.SaveToStream(out);
    return 0;
}
