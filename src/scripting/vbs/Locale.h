#pragma once
// The regional settings a script can switch between with SetLocale: how
// numbers, amounts of money and dates are written and read back.  Date
// literals in the source (#1/2/2000#) never depend on them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kalvion::vbs {

struct LocaleInfo {
    std::int32_t Id;
    const char *Tag;       // lower case, as SetLocale accepts it: "de-de"
    char Decimal;          // '.' or ','
    const char *Group;     // thousands separator (UTF-8)
    bool DayFirst;         // short dates read and written day first
    const char *ShortDate; // patterns: d dd ddd dddd M MM MMM MMMM yyyy h hh H HH mm ss tt
    const char *LongDate;
    const char *LongTime;
    const char *Currency;  // the symbol
    bool SymbolFirst;      // "$1.00" rather than "1,00 €"
    bool ParensForNegativeMoney;
    const char *const *Months; // twelve full names, then twelve short ones
    const char *const *Days;   // seven full names from Sunday, then seven short ones
};

// en-US: what every run starts with.
const LocaleInfo &DefaultLocale();
// The locale of the interpreter running on this thread (en-US outside a run).
const LocaleInfo &ActiveLocale();
// nullptr when the id or tag ("en-gb", case ignored) is not one the engine knows.
const LocaleInfo *FindLocale(std::int32_t id);
const LocaleInfo *FindLocale(std::string_view tag);

// Writes a date serial with one of the locale's patterns.
std::string FormatDatePattern(std::string_view pattern, double serial, const LocaleInfo &loc);
// The general form: short date, long time, either left out when it is zero.
std::string FormatGeneralDate(double serial, const LocaleInfo &loc);

// Replaces the '.' and ',' that the number formatters write with the
// locale's separators.
void LocalizeSeparators(std::string &text, const LocaleInfo &loc);

// Rewrites number text in the locale's form ("1.234,5 €") into the plain
// form the number parser reads ("1234.5"); nullopt when it cannot be one.
std::optional<std::string> DelocalizeNumber(std::string_view text, const LocaleInfo &loc);

} // namespace kalvion::vbs
