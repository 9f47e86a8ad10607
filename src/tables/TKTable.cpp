#include "base/AsciiText.h"
#include "tables/ClassTKTable.h"
#include "tables/TKTableText.h"
#include "science/Dice.h"

#include <algorithm>
#include <limits>

namespace kalvion {

namespace {

// A weight of 0 counts as 1, so a plain list of lines is a uniform table.
std::int64_t Weight(const TTKTableItem &item) noexcept
{
    return item.Low == 0 ? 1 : item.Low;
}

std::int64_t Span(const TTKTableItem &item) noexcept
{
    return static_cast<std::int64_t>(item.High) - item.Low + 1;
}

void SetVarIn(TTKVarList &list, std::string_view name, std::string_view value)
{
    std::string key = AsciiLower(name);
    for (auto &entry : list)
        if (entry.first == key) {
            entry.second.assign(value);
            return;
        }
    list.emplace_back(std::move(key), std::string(value));
}

} // namespace

void TTKTable::Clear()
{
    Type = TK_TYPE_WEIGHTED;
    Roll.clear();
    Default.clear();
    Items.clear();
    LastRoll = -1;
    VariableDefs.clear();
    Definitions.clear();
    ShuffleList.clear();
    FAnyDealt = false;
}

std::int64_t TTKTable::Total() const noexcept
{
    std::int64_t total = 0;
    for (const auto &item : Items) {
        if (item.Dealt)
            continue;
        total += Type == TK_TYPE_LOOKUP ? Span(item) : Weight(item);
    }
    return total;
}

const std::string &TTKTable::RandomPick(bool deal)
{
    std::int32_t r = 0;
    if (!Roll.empty()) {
        // An unreadable "roll:" expression (or one with absurdly many dice)
        // picks nothing and gives the default text, like an unmatched roll.
        if (!TKEvalDice(Roll, r)) {
            LastRoll = 0;
            return Default;
        }
    } else {
        const std::int64_t total = Total();
        // Negative weights can make the total 0 or less; an unguarded roll
        // of such a bound would still "hit" the first entry.
        if (total <= 0) {
            LastRoll = 0;
            return Default;
        }
        const std::int64_t bound = std::min<std::int64_t>(total, std::numeric_limits<std::int32_t>::max());
        r = RollDice(1, static_cast<std::int32_t>(bound), 0);
    }
    return GetItem(r, deal);
}

const std::string &TTKTable::GetItem(std::int32_t roll, bool deal)
{
    LastRoll = -1;
    if (Type == TK_TYPE_LOOKUP) {
        for (const auto &item : Items)
            if (roll == item.Low || (item.High != 0 && item.Low <= roll && roll <= item.High)) {
                LastRoll = roll;
                return item.Text;
            }
    } else if (roll > 0) {
        std::int64_t sum = 0;
        for (auto &item : Items) {
            if (item.Dealt)
                continue;
            sum += Weight(item);
            if (sum >= roll) {
                if (deal) {
                    item.Dealt = true;
                    FAnyDealt = true;
                }
                LastRoll = roll;
                return item.Text;
            }
        }
    }
    LastRoll = 0;
    return Default;
}

void TTKTable::AddVariableDef(std::string_view name, std::string_view value)
{
    SetVarIn(VariableDefs, name, value);
}

void TTKTable::AddDefinition(std::string_view name, std::string_view value)
{
    SetVarIn(Definitions, name, value);
}

void TTKTable::Shuffle() noexcept
{
    if (!FAnyDealt)
        return;
    for (auto &item : Items)
        item.Dealt = false;
    FAnyDealt = false;
}

} // namespace kalvion
