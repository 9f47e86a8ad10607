// Older sector files from random bytes: the stream-file and record-file
// readers and the on-demand loading behind them must end cleanly.
#include "files/LegacySectorFiles.h"
#include "model/VexaSector.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const std::string path = "/tmp/kalvion-fuzz-legacy-" + std::to_string(getpid()) + ".Sector";
    std::FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    kalvion::GetVexaFileVersion(path);
    kalvion::TVexaSector sector;
    kalvion::TLegacyLoadResult r = kalvion::LoadFromFile_v1_v2(sector, path);
    if (r.Ok && r.RecordFile) {
        for (auto &root : sector.Systems)
            kalvion::DynaLoad_v2(sector, *r.RecordFile, *root);
        for (auto &res : sector.ImageResources.Resources)
            kalvion::DynaLoadResource_v2(sector, *r.RecordFile, *res);
    }
    return 0;
}
