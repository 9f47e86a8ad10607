// Feeds random bytes to the star-catalogue reader as a listing file, into a
// sector that already holds a system and a route, so the final shift and the
// route update run over whatever positions the input gave.
#include "files/SectorImport.h"
#include "model/VexaSector.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

using namespace kalvion;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const std::string path = "/tmp/kalvion_catalogue_fuzz_" + std::to_string(::getpid()) + ".txt";
    std::FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    const bool written = std::fwrite(data, 1, size, f) == size;
    if (std::fclose(f) != 0 || !written)
        return 0;
    TVexaSector sector;
    TStellarBody *home = sector.NewSystem(BODY_TYPE_STAR);
    auto route = TStellarRoute::Create();
    route->AddSystem(home);
    route->AddSystem(home);
    sector.AddRoute(std::move(route));
    TCatalogueSkips skips;
    std::string error;
    const int added = ImportGliese(sector, path, &error, &skips);
    // Whatever was read, a sector never grows beyond the largest one.
    if (added < 0 || skips.Unplaced < 0 || !(sector.SizeX <= SECTOR_MAX_SIZE) ||
        sector.SystemCount() != 1 + added)
        __builtin_trap();
    return 0;
}
