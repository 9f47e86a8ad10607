#pragma once
// GUIDs in registry text form: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}",
// upper-case hexadecimal, 38 characters.
#include <string>
#include <string_view>

namespace kalvion {

inline constexpr std::size_t GUID_TEXT_LENGTH = 38;

// A new random (version 4) GUID.  Drawn from a generator seeded by the
// operating system, never from the program's own random recurrence, so that
// setting the shared seed for a repeatable run cannot repeat identities.
std::string NewGuidString();
bool IsGuidString(std::string_view text) noexcept;

} // namespace kalvion
