#pragma once
// The language's regular-expression syntax (the ECMAScript dialect with its
// legacy forms) rewritten for PCRE2, which reads most of it the same way but
// gives other meanings to some escapes and accepts constructs the language
// refuses (named groups, inline options, verbs, recursion, possessive
// quantifiers).
#include <cstdint>
#include <string>
#include <string_view>

namespace kalvion::vbs {

// Rewrites `pattern` for a PCRE2 pattern compiled without UTF mode (one byte
// is one character, as in Len and Mid).  Returns 0, or the language's error
// number for a pattern it refuses.
std::int32_t TranslatePattern(std::string_view pattern, std::string &out);

// The number of capturing groups, counted the way the translation counts
// them (a back reference past the last group is an octal escape).
int CountGroups(std::string_view pattern);

} // namespace kalvion::vbs
