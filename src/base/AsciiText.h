#pragma once
// Case folding and comparisons on 8-bit text.  Only the ASCII letters fold;
// every other byte compares as itself, so stored names never depend on a locale.
#include <cstddef>
#include <string>
#include <string_view>

namespace kalvion {

// Inline: the table engine's scanners fold every character they pass.
constexpr char AsciiLowerChar(char c) noexcept
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr char AsciiUpperChar(char c) noexcept
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);

// True when both texts are equal ignoring ASCII case.
bool SameText(std::string_view a, std::string_view b) noexcept;
// Ordinal comparison ignoring ASCII case: <0, 0 or >0.
int CompareText(std::string_view a, std::string_view b) noexcept;
// Ordinal (byte by byte, unsigned) comparison: <0, 0 or >0.
int CompareStr(std::string_view a, std::string_view b) noexcept;

bool IsAsciiSpace(char c) noexcept;
// Removes blanks and control characters (bytes up to 32) at both ends.
std::string_view TrimView(std::string_view text) noexcept;
std::string Trim(std::string_view text);

bool ContainsText(std::string_view haystack, std::string_view needle) noexcept;

// An input echoed in a message: itself up to max bytes, else its first max
// bytes followed by "...", so a message about a huge input stays readable.
std::string ShortForMessage(std::string_view text, std::size_t max = 80);

} // namespace kalvion
