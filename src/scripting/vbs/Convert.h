#pragma once
// Conversions between variant subtypes, with the language's rules: Empty is 0
// or "", Null is refused where a value is needed, booleans are -1 and 0,
// numbers round half to even when they become integers.
#include "scripting/vbs/Variant.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kalvion::vbs {

class Interpreter;

// The value of an object's default property (or the variant itself).
Variant DefaultValue(const Variant &v);

double ToDouble(const Variant &v);
std::int32_t ToLong(const Variant &v);   // rounds half to even; Overflow outside 32 bits
std::int16_t ToInteger(const Variant &v); // rounds half to even; Overflow outside 16 bits
bool ToBool(const Variant &v);
std::string ToStr(const Variant &v);
double ToDate(const Variant &v);

struct LocaleInfo;

// Parses text the way the language reads numbers from strings (blanks around,
// sign, decimals, exponent, &H and &O forms), with "." for the decimals.
std::optional<double> ParseNumericText(std::string_view text);
// The same under the active locale: its decimal and thousands separators and
// its currency symbol.
std::optional<double> ParseLocalNumber(std::string_view text);
// Parses date or time text (M/D/YYYY, YYYY-MM-DD, month names, h:mm[:ss] [AM|PM]),
// as date literals in the source are read.
std::optional<double> ParseDateText(std::string_view text);
// The same with the locale's day-first order and month names.
std::optional<double> ParseDateText(std::string_view text, const LocaleInfo &loc);

std::string FormatDouble(double d, int digits = 15);
// A date as CStr writes it under the active locale.
std::string FormatDate(double serial);

// Coerces to a numeric variant (strings become Double), leaving numbers as they are.
Variant ToNumber(const Variant &v);

bool IsNumericValue(const Variant &v);
std::string TypeNameOf(const Variant &v);
std::int32_t VarTypeOf(const Variant &v);

// Date serials: days since 30 December 1899, time as the fraction.
double DateSerialOf(std::int64_t y, std::int64_t m, std::int64_t d);
void DateParts(double serial, int &y, int &m, int &d);
void TimeParts(double serial, int &h, int &mi, int &s);
int WeekdayOf(double serial); // 1 = Sunday

} // namespace kalvion::vbs
