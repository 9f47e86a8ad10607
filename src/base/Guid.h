#pragma once
// GUIDs in registry text form: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}",
// upper-case hexadecimal, 38 characters.
#include <cstdint>
#include <string>
#include <string_view>

namespace kalvion {

inline constexpr std::size_t GUID_TEXT_LENGTH = 38;

// A new random (version 4) GUID.  Drawn from a generator seeded by the
// operating system, never from the program's own random recurrence, so that
// setting the shared seed for a repeatable run cannot repeat identities.
std::string NewGuidString();
bool IsGuidString(std::string_view text) noexcept;

// The same in binary: 16 random bytes with the version and variant set.
void NewGuidBytes(std::uint8_t (&bytes)[16]);
// The registry text form of 16 bytes, upper case, into 38 characters.
void FormatGuid(const std::uint8_t (&bytes)[16], char (&text)[GUID_TEXT_LENGTH]) noexcept;
// The bytes of a GUID written exactly as FormatGuid writes it (upper case);
// false for any other text, which then has no binary form that gives the
// same bytes back.
bool ParseCanonicalGuid(std::string_view text, std::uint8_t (&bytes)[16]) noexcept;

} // namespace kalvion
