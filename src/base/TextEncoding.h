#pragma once
// Sector texts are bytes.  Where they leave the program as Unicode (label
// glyphs, web pages, JSON) they are read as UTF-8 when they are valid UTF-8
// and as Windows-1252 otherwise, as the window shows them.
#include <string>
#include <string_view>

namespace kalvion {

// The Unicode character of a Windows-1252 byte (the five unassigned bytes
// give U+FFFD).
char16_t Windows1252ToUnicode(unsigned char byte);
bool IsValidUtf8(std::string_view text);
// The text as UTF-8: unchanged when it is valid UTF-8, else byte by byte
// from Windows-1252.
std::string BytesToUtf8(std::string_view text);

} // namespace kalvion
