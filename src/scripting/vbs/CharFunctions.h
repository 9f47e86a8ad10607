#pragma once
// Built-ins that work on character codes and on the byte form of strings
// (Chr, Asc and their W and B forms, LenB, LeftB, RightB, MidB, InStrB).
#include "scripting/vbs/Interpreter.h"

#include <span>

namespace kalvion::vbs {

std::span<const BuiltinDef> CharacterBuiltins();

} // namespace kalvion::vbs
