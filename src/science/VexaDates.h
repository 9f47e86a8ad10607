#pragma once
// The sector calendar: a proleptic Gregorian calendar with hundredth-second
// ticks counted from 1 January of year -400,000,000, reaching as far after
// year 0.  Every date the program shows goes through a TVexaDateHandler.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kalvion {

class TVexaSector;

inline constexpr std::int64_t TICKS_PER_SECOND = 100;
inline constexpr std::int64_t TICKS_PER_MINUTE = 6000;
inline constexpr std::int64_t TICKS_PER_HOUR = 360000;
inline constexpr std::int64_t TICKS_PER_DAY = 8640000;

// Units of AddToDate.
inline constexpr int DATE_UNIT_YEARS = 1;
inline constexpr int DATE_UNIT_MONTHS = 2;
inline constexpr int DATE_UNIT_DAYS = 3;
inline constexpr int DATE_UNIT_HOURS = 4;
inline constexpr int DATE_UNIT_MINUTES = 5;
inline constexpr int DATE_UNIT_SECONDS = 6;
inline constexpr int DATE_UNIT_MILLISECONDS = 7;

struct TDateParts {
    std::int64_t Year = 0;
    std::int64_t Month = 1;     // 1-12
    std::int64_t Day = 1;       // 1-31
    std::int64_t Hour = 0;
    std::int64_t Minute = 0;
    std::int64_t Second = 0;
    std::int64_t DayOfWeek = 1; // 1 Sunday … 7 Saturday
    std::int64_t DayOfYear = 1; // 1-366
};

// Month and weekday names for the "mmm", "mmmm", "ddd" and "dddd" tokens.
struct TDateNames {
    std::array<std::string, 12> LongMonths;
    std::array<std::string, 12> ShortMonths;
    std::array<std::string, 7> LongDays;   // Sunday first
    std::array<std::string, 7> ShortDays;
};
const TDateNames &EnglishDateNames();

class TVexaDateHandler {
public:
    TVexaDateHandler();

    std::int64_t Ticks = 0;
    std::int64_t ReferenceTicks = 0;
    std::string Format;
    TDateNames Names;

    static constexpr std::int64_t YearOffset = 400000000;
    std::int64_t CycleTicks = 0;
    std::array<std::int64_t, 400> YearStart{};
    // [0] common year, [1] leap year; index 1 … 12 (0 unused).
    std::array<std::array<std::int64_t, 13>, 2> MonthDays{};
    std::array<std::array<std::int64_t, 13>, 2> MonthStart{};

    static bool IsLeapYear(std::int64_t year) noexcept;
    // -1 for a month outside 1-12.
    std::int64_t DaysInMonth(std::int64_t month, std::int64_t year) const noexcept;
    bool IsValidDate(std::int64_t year, std::int64_t month, std::int64_t day, std::int64_t hour,
                     std::int64_t minute, std::int64_t second) const noexcept;
    // Sets Ticks; false with Ticks unchanged when the year, month or day is
    // invalid.  Hours, minutes and seconds are multiplied out as given, so 25
    // hours carry into the next day.
    bool SetDate(std::int64_t year, std::int64_t month, std::int64_t day, std::int64_t hour,
                 std::int64_t minute, std::int64_t second);
    // ReferenceTicks <- the ticks SetDate would give (the current Ticks when
    // the date is invalid); Ticks stays.
    void SetReference(std::int64_t year, std::int64_t month, std::int64_t day, std::int64_t hour,
                      std::int64_t minute, std::int64_t second);
    TDateParts DecodeDate() const;
    std::int64_t DayOfWeek() const noexcept;
    // Calendar arithmetic in DATE_UNIT_* units; another unit does nothing.
    void AddToDate(int unit, std::int64_t amount);
    // Adds days in steps of 1/100,000 day and returns the new Ticks.
    std::int64_t AddDays(double days);
    std::string FormatDate() const;

    // Points the handler at a sector's clock: its format, the epoch as the
    // reference of "j" and "a", then the sector time added.
    void SetToSector(std::int64_t epochYear, double time, std::string_view dateFormat);
    void SetToSector(const TVexaSector &sector);

private:
    bool AddYears(std::int64_t amount);
    bool DateTicks(std::int64_t year, std::int64_t month, std::int64_t day, std::int64_t hour,
                   std::int64_t minute, std::int64_t second, std::int64_t &ticks) const;
    TDateParts DecodeTicks(std::int64_t ticks) const;
};

// The sector's current date as the program shows it.
std::string SectorDateText(const TVexaSector &sector);

} // namespace kalvion
