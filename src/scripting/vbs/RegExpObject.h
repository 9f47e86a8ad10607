#pragma once
// The language's RegExp object (New RegExp, CreateObject("VBScript.RegExp"))
// with the Matches, Match and SubMatches objects that Execute returns.
// Matching runs on PCRE2 in byte mode, so positions and lengths count bytes
// as Len and Mid do.
#include "scripting/vbs/Object.h"

namespace kalvion::vbs {

Object *NewRegExp();

} // namespace kalvion::vbs
