// Subsectors of a new sector: a grid of named cube regions over its box.
#include "generation/SectorGenerator.h"

#include "generation/SystemNames.h"
#include "model/Subsector.h"
#include "model/VexaSector.h"

namespace kalvion {

void GenerateSubsectors(TVexaSector &sector, std::int32_t across, std::int32_t high, const std::string &nameTable,
                        TColor colour, std::int32_t deep)
{
    if (across < 1 || high < 1 || deep < 1)
        return;
    TSubsectorNameSource names(nameTable);
    const double w = sector.SizeX / across;
    const double h = sector.SizeY / high;
    const double d = sector.SizeZ / deep;
    for (std::int32_t i = 1; i <= across; ++i)
        for (std::int32_t j = 1; j <= high; ++j)
            for (std::int32_t k = 1; k <= deep; ++k) {
                auto s = TVexaSubsector::Create();
                s->Shape = VEXA_SUBSECTOR_RECT;
                s->Color = colour;
                s->ShowLabel = true;
                s->Visible = true;
                s->SizeX = w;
                s->SizeY = h;
                s->SizeZ = d;
                s->X = (i - 1) * w + w / 2 - sector.SizeX / 2;
                s->Y = (j - 1) * h + h / 2 - sector.SizeY / 2;
                s->Z = (k - 1) * d + d / 2 - sector.SizeZ / 2;
                s->Name = names.Next();
                sector.AddSubsector(std::move(s));
            }
}

} // namespace kalvion
