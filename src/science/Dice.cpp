#include "science/Dice.h"

#include "base/AsciiText.h"
#include "base/NumberParse.h"
#include "base/SharedRandom.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace kalvion {

namespace {

// Sums wrap at 32 bits like the rest of the program's integer arithmetic;
// doing it in unsigned keeps an absurd count or modifier from being undefined.
std::int32_t WrapAdd(std::int32_t a, std::int32_t b) noexcept
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

std::int32_t WrapMul(std::int32_t a, std::int32_t b) noexcept
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

std::int32_t DiceInt(std::string_view text)
{
    if (auto v = ParseInt32(text))
        return *v;
    throw EDiceConvertError("'" + ShortForMessage(text) + "' is not a valid integer value");
}

[[noreturn]] void DiceRangeError()
{
    throw EDiceRangeError("The dice expression is too large: at most " + std::to_string(DICE_MAX_COUNT) +
                          " dice of at most " + std::to_string(DICE_MAX_SIDES) +
                          " sides, with a result that fits 32 bits");
}

// Every result the roll can give, the modifier or factor applied, must fit.
void CheckDiceRange(std::int32_t count, std::int32_t sides, std::int32_t modifier, std::int32_t factor, char op)
{
    if (count > DICE_MAX_COUNT || sides > DICE_MAX_SIDES)
        DiceRangeError();
    const std::int64_t dice = std::max<std::int64_t>(count, 0);
    const std::int64_t low = modifier + dice;
    const std::int64_t high = modifier + dice * std::max<std::int64_t>(sides, 1);
    std::int64_t lo = low, hi = high;
    if (op == '*') {
        lo = std::min(low * factor, high * factor);
        hi = std::max(low * factor, high * factor);
    }
    constexpr std::int64_t MIN32 = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t MAX32 = std::numeric_limits<std::int32_t>::max();
    if (lo < MIN32 || hi > MAX32)
        DiceRangeError();
}

} // namespace

std::int32_t RollDice(std::int32_t count, std::int32_t sides, std::int32_t modifier) noexcept
{
    std::int32_t total = modifier;
    for (std::int32_t i = 0; i < count; ++i)
        total = WrapAdd(total, SharedRandomInt(sides) + 1);
    return total;
}

bool isOpenResult(std::int32_t value, std::int32_t sides) noexcept
{
    if (sides == 100)
        return value > 95;
    return value == sides;
}

std::int32_t RollDiceOpen(std::int32_t count, std::int32_t sides, std::int32_t modifier, bool open) noexcept
{
    const bool canOpen = open && sides > 1;
    std::int32_t total = modifier;
    for (std::int32_t i = 0; i < count; ++i) {
        std::int32_t r = SharedRandomInt(sides) + 1;
        total = WrapAdd(total, r);
        if (!canOpen)
            continue;
        while (isOpenResult(r, sides)) {
            r = SharedRandomInt(sides) + 1;
            total = WrapAdd(total, r);
        }
    }
    return total;
}

std::int32_t EvalDice(std::string_view expr)
{
    static constexpr std::string_view kKeep = "0123456789Dd+-*/";
    std::string s;
    s.reserve(expr.size());
    for (char c : expr) {
        const char lc = AsciiLowerChar(c);
        if (kKeep.find(lc) != std::string_view::npos)
            s.push_back(lc);
    }

    const std::size_t d = s.find('d');
    if (d == std::string::npos) {
        if (auto v = ParseInt32(s))
            return *v;
        return 0;
    }

    char op = 0;
    std::size_t opPos = std::string::npos;
    for (char candidate : {'+', '-', '*', '/'}) {
        opPos = s.find(candidate);
        if (opPos != std::string::npos) {
            op = candidate;
            break;
        }
    }

    const std::string_view sv = s;
    const std::int32_t count = DiceInt(sv.substr(0, d));
    std::int32_t sides = 0;
    std::int32_t modifier = 0;
    std::int32_t factor = 0;
    if (op == 0) {
        sides = DiceInt(sv.substr(d + 1));
    } else {
        // An operator in front of the "d" leaves nothing between them.
        sides = DiceInt(opPos > d ? sv.substr(d + 1, opPos - d - 1) : std::string_view());
        const std::int32_t value = DiceInt(sv.substr(opPos + 1));
        if (op == '+')
            modifier = value;
        else if (op == '-')
            modifier = WrapMul(value, -1);
        else
            factor = value;
    }

    CheckDiceRange(count, sides, modifier, factor, op);
    const std::int32_t roll = RollDice(count, sides, modifier);
    if (op == '*')
        return WrapMul(roll, factor);
    if (op == '/') {
        if (factor == 0)
            return roll;
        // The one quotient that does not fit 32 bits wraps instead of trapping.
        if (factor == -1)
            return WrapMul(roll, -1);
        return roll / factor;
    }
    return roll;
}

std::string EvalDiceInString(std::string_view text)
{
    std::string result(text);
    if (result.find('{') == std::string::npos)
        return result;
    for (int round = 0; round < 10; ++round) {
        const std::size_t open = result.find('{');
        const std::size_t close = result.find('}');
        if (open == std::string::npos || close == std::string::npos || open >= close)
            break;
        const std::int32_t value = EvalDice(std::string_view(result).substr(open + 1, close - open - 1));
        result.replace(open, close - open + 1, std::to_string(value));
    }
    return result;
}

std::int32_t d2() noexcept { return RollDice(1, 2, 0); }
std::int32_t d4() noexcept { return RollDice(1, 4, 0); }
std::int32_t d6() noexcept { return RollDice(1, 6, 0); }
std::int32_t d8() noexcept { return RollDice(1, 8, 0); }
std::int32_t d10() noexcept { return RollDice(1, 10, 0); }
std::int32_t d12() noexcept { return RollDice(1, 12, 0); }
std::int32_t d20() noexcept { return RollDice(1, 20, 0); }
std::int32_t d30() noexcept { return RollDice(1, 30, 0); }
std::int32_t d100() noexcept { return RollDice(1, 100, 0); }

} // namespace kalvion
