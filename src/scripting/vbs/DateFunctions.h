#pragma once
// Built-ins on dates and times: the clock, the parts of a date, serials from
// parts, date arithmetic and the names of days and months.
#include "scripting/vbs/Interpreter.h"

#include <span>

namespace kalvion::vbs {

std::span<const BuiltinDef> DateBuiltins();

} // namespace kalvion::vbs
