#pragma once
// The per-body render cache of the 3D views.  The body owns it and drops it
// whenever its appearance changes; it is never copied or shared.
namespace kalvion {

class TVexaRenderInfo {
public:
    virtual ~TVexaRenderInfo() = default;
};

} // namespace kalvion
