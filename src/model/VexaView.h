#pragma once
// A saved view: the camera together with the filter settings and the
// visibility of political affiliations, route types and subsectors.
#include "model/VexaBase.h"
#include "model/VexaPoint.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kalvion {

struct TVexaVisibilityEntry {
    std::string Name;
    bool Visible = true;
};

class TVexaView : public TVexaBase {
public:
    std::string Name;
    TVexaPoint Camera;
    TVexaPoint Target;
    std::int32_t FilterStyle = 0;
    std::int32_t FilterHabitable = 0;
    std::int32_t FilterPopulation = 0;
    bool FilterHideUnassignedSubsector = false;
    std::vector<TVexaVisibilityEntry> PoliticalVisibility;
    std::vector<TVexaVisibilityEntry> RouteTypeVisibility;
    std::vector<TVexaVisibilityEntry> SubsectorVisibility;
};

} // namespace kalvion
