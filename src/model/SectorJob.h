#pragma once
// Background work a sector owns (the sector generator's worker).  The sector
// only needs to know whether it runs and to stop it when the sector goes
// away; the work itself lives in the layers above the model.
namespace kalvion {

class TSectorJob {
public:
    virtual ~TSectorJob() = default;
    virtual bool IsRunning() const = 0;
};

} // namespace kalvion
