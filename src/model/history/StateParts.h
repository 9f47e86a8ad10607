#pragma once
// The pieces of kept state that bodies and the sector share: user fields
// and display-line configurations.
#include "model/SystemDataConfig.h"
#include "model/VexaBase.h"
#include "model/history/StateBytes.h"

#include <memory>

namespace kalvion {

void PutFields(const TVexaBase &object, TStateWriter &w);
void GetFields(TVexaBase &object, TStateReader &r);
// A configuration, or its absence.
void PutDataConfig(const TSystemDataConfig *config, TStateWriter &w);
std::unique_ptr<TSystemDataConfig> GetDataConfig(TStateReader &r);

} // namespace kalvion
