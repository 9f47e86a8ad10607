#pragma once
// The per-body render cache of the 3D views.  The body owns it and drops it
// whenever its appearance changes; it is never copied or shared.  It keeps
// the values it was made from, so a view that finds them changed (a script
// or a dialog recoloured the body, or made a station a ship and so gave it
// another default model) rebuilds it instead of drawing stale colours.
#include "base/Colour.h"

#include <string>

namespace kalvion {

class TStellarBody;

class TVexaRenderInfo {
public:
    TVexaRenderInfo() = default;
    explicit TVexaRenderInfo(const TStellarBody &body) { Assign(body); }
    virtual ~TVexaRenderInfo() = default;

    double Red = 0, Green = 0, Blue = 0;  // Color split into bytes, each / 255
    double SizeFactor = 0;                // sqrt(Luminosity)
    bool HasModel = false;                // ModelFile is not empty
    int ModelIndex = -1;                  // index in the model manager; -1 until loaded
    bool ModelFailed = false;             // loading failed: draw as if there were no model

    // True when the body still looks as it did when this cache was made.
    bool Matches(const TStellarBody &body) const;
    // Rebuilds every value from the body (the model index and failure reset).
    void Assign(const TStellarBody &body);

private:
    TColor SourceColor_ = 0;
    int SourceType_ = 0;
    double SourceLuminosity_ = 0;
    std::string SourceModelFile_;
};

} // namespace kalvion
