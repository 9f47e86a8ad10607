#include "science/SectorDateEditor.h"

#include "base/NumberParse.h"

#include <limits>
#include <optional>

namespace kalvion {

namespace {

std::string &BoxText(TSectorDateFields &f, TSectorDateBox box)
{
    switch (box) {
    case TSectorDateBox::Year: return f.Year;
    case TSectorDateBox::Month: return f.Month;
    case TSectorDateBox::Day: return f.Day;
    case TSectorDateBox::Hour: return f.Hour;
    case TSectorDateBox::Minute: return f.Minute;
    case TSectorDateBox::Second: return f.Second;
    }
    return f.Year;
}

// Steps value by delta within lo … hi, wrapping past either end.
std::int32_t Wrap(std::int32_t value, int delta, std::int32_t lo, std::int32_t hi)
{
    if (delta > 0)
        return value == hi ? lo : value + 1;
    return value == lo ? hi : value - 1;
}

} // namespace

void TSectorDateEditor::Open(std::int64_t epochYear, double time)
{
    FHandler.SetDate(epochYear, 1, 1, 0, 0, 0);
    FEpochStart = FHandler.Ticks;
    FHandler.AddDays(time);
    ShowHandlerDate();
}

void TSectorDateEditor::ShowHandlerDate()
{
    const TDateParts p = FHandler.DecodeDate();
    Fields.Year = std::to_string(p.Year);
    Fields.Month = std::to_string(p.Month);
    Fields.Day = std::to_string(p.Day);
    Fields.Hour = std::to_string(p.Hour);
    Fields.Minute = std::to_string(p.Minute);
    Fields.Second = std::to_string(p.Second);
}

void TSectorDateEditor::Step(TSectorDateBox box, int delta)
{
    if (delta == 0)
        return;
    std::string &text = BoxText(Fields, box);
    const auto value = ParseInt32(text);
    if (!value)
        return;
    std::int32_t v = *value;
    switch (box) {
    case TSectorDateBox::Year:
        // No limit, but a box at the end of 32 bits stays where it is.
        if ((delta > 0 && v == std::numeric_limits<std::int32_t>::max()) ||
            (delta < 0 && v == std::numeric_limits<std::int32_t>::min()))
            return;
        v += delta > 0 ? 1 : -1;
        break;
    case TSectorDateBox::Month:
        v = Wrap(v, delta, 1, 12);
        break;
    case TSectorDateBox::Day: {
        const auto year = ParseInt32(Fields.Year);
        const auto month = ParseInt32(Fields.Month);
        if (!year || !month)
            return;
        const auto days = static_cast<std::int32_t>(FHandler.DaysInMonth(*month, *year));
        if (days < 1)
            return; // no month to wrap within
        v = Wrap(v, delta, 1, days);
        break;
    }
    case TSectorDateBox::Hour:
        v = Wrap(v, delta, 0, 23);
        break;
    case TSectorDateBox::Minute:
    case TSectorDateBox::Second:
        v = Wrap(v, delta, 0, 59);
        break;
    }
    text = std::to_string(v);
}

bool TSectorDateEditor::ReadFields(std::array<std::int32_t, 6> &values) const
{
    if (!Check().empty())
        return false;
    values = {*ParseInt32(Fields.Year), *ParseInt32(Fields.Month),  *ParseInt32(Fields.Day),
              *ParseInt32(Fields.Hour), *ParseInt32(Fields.Minute), *ParseInt32(Fields.Second)};
    return true;
}

std::string TSectorDateEditor::Check() const
{
    const auto year = ParseInt32(Fields.Year);
    if (!year)
        return "Year must be an integer";
    const auto month = ParseInt32(Fields.Month);
    if (!month || *month < 1 || *month > 12)
        return "Month must be an integer between 1 and 12";
    const std::int64_t days = FHandler.DaysInMonth(*month, *year);
    const auto day = ParseInt32(Fields.Day);
    if (!day || *day < 1 || *day > days)
        return "Day must be an integer between 1 and " + std::to_string(days);
    const auto hour = ParseInt32(Fields.Hour);
    if (!hour || *hour < 0 || *hour > 23)
        return "Hour must be an integer between 0 and 23";
    const auto minute = ParseInt32(Fields.Minute);
    if (!minute || *minute < 0 || *minute > 59)
        return "Minute must be an integer between 0 and 59";
    const auto second = ParseInt32(Fields.Second);
    if (!second || *second < 0 || *second > 59)
        return "Second must be an integer between 0 and 59";
    return {};
}

std::string TSectorDateEditor::Go()
{
    const auto amount = ParseDouble(Amount);
    if (!amount)
        return "Amount being added must be a number";
    std::array<std::int32_t, 6> v{};
    if (!ReadFields(v))
        return {};
    FHandler.SetDate(v[0], v[1], v[2], v[3], v[4], v[5]);
    if (const auto whole = ParseInt32(Amount)) {
        FHandler.AddToDate(DATE_UNIT_YEARS + static_cast<int>(Unit), *whole);
    } else {
        double days = *amount;
        switch (Unit) {
        case TSectorDateUnit::Years: days *= 365.2425; break;
        case TSectorDateUnit::Months: days *= 30.4375; break;
        case TSectorDateUnit::Days: break;
        case TSectorDateUnit::Hours: days /= 24; break;
        case TSectorDateUnit::Minutes: days /= 1440; break;
        case TSectorDateUnit::Seconds: days /= 86400; break;
        }
        FHandler.AddDays(days);
    }
    ShowHandlerDate();
    return {};
}

double TSectorDateEditor::ResultTime()
{
    std::array<std::int32_t, 6> v{};
    if (!ReadFields(v))
        return -1;
    FHandler.SetDate(v[0], v[1], v[2], v[3], v[4], v[5]);
    return static_cast<double>(static_cast<__int128>(FHandler.Ticks) - FEpochStart) / TICKS_PER_DAY;
}

} // namespace kalvion
