#pragma once
// The one form of a boolean in the settings file: written as "1" or "0";
// read from that form, from any other whole number (not 0 is on) and from
// "true" / "false" in any letter case, which files of earlier versions hold.
#include "base/AsciiText.h"
#include "base/NumberParse.h"

#include <optional>
#include <string>
#include <string_view>

namespace kalvion {

inline std::string SettingsBoolText(bool value) { return value ? "1" : "0"; }

inline std::optional<bool> ParseSettingsBool(std::string_view text)
{
    const std::string t = AsciiLower(TrimView(text));
    if (t == "true")
        return true;
    if (t == "false")
        return false;
    if (const auto v = ParseInt64(t))
        return *v != 0;
    return std::nullopt;
}

} // namespace kalvion
