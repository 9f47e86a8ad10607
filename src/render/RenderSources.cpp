#include "render/RenderSources.h"

#include "model/StellarBody.h"

namespace kalvion {

int BodyModelIndex(TRenderModelSource *source, TStellarBody &body, int contextIndex)
{
    body.InitRenderInfo();
    TVexaRenderInfo &info = *body.RenderInfo();
    if (!source || info.ModelFailed)
        return -1;
    source->UseContext(contextIndex);
    if (info.ModelIndex < 0)
        info.ModelIndex = source->LoadModel(body);
    if (info.ModelIndex < 0)
        info.ModelFailed = true;
    return info.ModelIndex;
}

} // namespace kalvion
