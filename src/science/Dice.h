#pragma once
// Dice for scripts and random tables.  Every roll draws from the shared
// generator, one SharedRandomInt(sides) per die.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kalvion {

// A dice expression whose count, side count or operand is not an integer
// ("d6", "1d6+2-1").  The table markup turns it into an empty value.
class EDiceConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A dice expression from outside (the command line, scripts, tables) whose
// roll would take too long or whose total would not fit 32 bits.
class EDiceRangeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
inline constexpr std::int32_t DICE_MAX_COUNT = 10000;
inline constexpr std::int32_t DICE_MAX_SIDES = 1000000;

// modifier + the sum of count dice of the given sides; count <= 0 rolls nothing.
// Takes as long as count says and wraps at 32 bits: a count or side count
// from outside goes through EvalDice, or is held to DICE_MAX_COUNT and
// DICE_MAX_SIDES by its caller, before it comes here.
std::int32_t RollDice(std::int32_t count, std::int32_t sides, std::int32_t modifier) noexcept;
// As RollDice; when open, a die that shows an open result is rolled again and
// added, for as long as it keeps doing so.  Dice of one side or fewer are
// never open (they would re-roll for ever).
std::int32_t RollDiceOpen(std::int32_t count, std::int32_t sides, std::int32_t modifier, bool open) noexcept;
// 96-100 on a d100, otherwise the highest face.
bool isOpenResult(std::int32_t value, std::int32_t sides) noexcept;

// Rolls "count d sides" optionally followed by one "+ n", "- n", "* n" or
// "/ n".  Text without a "d" is read as an integer, or gives 0.  Throws
// EDiceConvertError when a number field is empty or not an integer, and
// EDiceRangeError for more than DICE_MAX_COUNT dice, more than DICE_MAX_SIDES
// sides, or a result that could leave 32 bits.
std::int32_t EvalDice(std::string_view expr);
// Replaces up to ten "{dice}" groups of the text by their rolls.
std::string EvalDiceInString(std::string_view text);

std::int32_t d2() noexcept;
std::int32_t d4() noexcept;
std::int32_t d6() noexcept;
std::int32_t d8() noexcept;
std::int32_t d10() noexcept;
std::int32_t d12() noexcept;
std::int32_t d20() noexcept;
std::int32_t d30() noexcept;
std::int32_t d100() noexcept;

} // namespace kalvion
