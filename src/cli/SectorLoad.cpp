#include "cli/CliApp.h"

#include "files/SectorFile.h"
#include "files/SectorSchema.h"
#include "model/VexaSector.h"

#include <ostream>

namespace kalvion::cli {

bool LoadSectorForCommand(TVexaSector &sector, const std::string &file, bool willSave, std::ostream &err)
{
    std::string error;
    if (!LoadFromFile(sector, file, &error)) {
        err << "kalvion-cli: " << error << "\n";
        return false;
    }
    const std::string newer = NewerSectorFileWarning(file);
    if (newer.empty())
        return true;
    if (willSave) {
        err << "kalvion-cli: " << newer << "; nothing was changed\n";
        return false;
    }
    err << "kalvion-cli: warning: " << newer << "\n";
    return true;
}

} // namespace kalvion::cli
