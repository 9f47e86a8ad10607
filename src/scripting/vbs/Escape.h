#pragma once
// Escape and Unescape: the language's %XX and %uXXXX encoding of text.  The
// engine's strings keep characters past ASCII as UTF-8 (as ChrW writes
// them), so Escape reads UTF-8 sequences as one character each and
// Unescape writes UTF-8; a byte that starts no sequence is one character.
// Escape raises "Out of string space" rather than grow past the string limit.
#include <cstddef>
#include <string>
#include <string_view>

namespace kalvion::vbs {

std::string EscapeText(std::string_view text);
std::string UnescapeText(std::string_view text);

// The value of `count` hex digits at s[i], or -1 (for %XX, %uXXXX and the
// \xXX and \uXXXX of patterns).
long HexRun(std::string_view s, std::size_t i, std::size_t count);

} // namespace kalvion::vbs
