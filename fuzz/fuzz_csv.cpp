// Feeds random bytes to the CSV importer as a whole file, then writes the
// index-only report of whatever it built (into memory-backed /tmp), so the
// names it takes from the input also pass through the report's escaping.
#include "exchange/SectorReport.h"
#include "exchange/VexaImportCSV.h"
#include "model/VexaSector.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unistd.h>

using namespace kalvion;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    TVexaSector sector;
    TVexaImportCSV importer(sector);
    importer.ImportText(std::string_view(reinterpret_cast<const char *>(data), size));
    if (importer.ErrorCount + importer.ImportedCount < 0)
        __builtin_trap();
    static const std::string path = "/tmp/kalvion_csv_fuzz_" + std::to_string(::getpid()) + ".html";
    ExportToHTML2(sector, path, REPORTSTYLE_ALL, false, nullptr);
    return 0;
}
