#include "model/ModelFiles.h"

#include "base/Paths.h"
#include "model/BodyTypes.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"

namespace kalvion {

std::string DefaultModelIn(const TStellarBody &body, const std::string &modelsFolder)
{
    const std::string type = NameFromBodyType(body.TypeID);
    for (const char *ext : MODEL_DEFAULT_EXTENSIONS) {
        const std::string file = std::string("default") + ext;
        const std::string relative = type + "/" + file + "/" + file;
        if (FileExists(JoinPath(modelsFolder, relative)))
            return relative;
    }
    return {};
}

std::string ModelFileNameIn(const TStellarBody &body, const std::string &modelsFolder)
{
    if (body.ModelFile.empty())
        return DefaultModelIn(body, modelsFolder);
    // Names stored by older versions may carry "\".
    const std::string file = NormalizeStoredPath(body.ModelFile);
    return NameFromBodyType(body.TypeID) + "/" + file + "/" + file;
}

std::string TVexaSector::GetModelFileName(const TStellarBody &body) const
{
    return ModelFileNameIn(body, ProgramSubfolder("Models"));
}

std::string TVexaSector::FindDefaultModel(const TStellarBody &body) const
{
    return DefaultModelIn(body, ProgramSubfolder("Models"));
}

} // namespace kalvion
