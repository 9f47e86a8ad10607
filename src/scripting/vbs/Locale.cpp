#include "scripting/vbs/Locale.h"

#include "base/AsciiText.h"
#include "scripting/vbs/Convert.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace kalvion::vbs {

namespace {

const char *const kEnglishMonths[] = {
    "January", "February", "March", "April", "May", "June", "July", "August", "September", "October",
    "November", "December", "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char *const kEnglishDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday",
                                    "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char *const kGermanMonths[] = {
    "Januar", "Februar", "M\xC3\xA4rz", "April", "Mai", "Juni", "Juli", "August", "September", "Oktober",
    "November", "Dezember", "Jan", "Feb", "M\xC3\xA4r", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov",
    "Dez"};
const char *const kGermanDays[] = {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag",
                                   "So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
const char *const kFrenchMonths[] = {
    "janvier", "f\xC3\xA9vrier", "mars", "avril", "mai", "juin", "juillet", "ao\xC3\xBBt", "septembre", "octobre",
    "novembre", "d\xC3\xA9" "cembre", "janv.", "f\xC3\xA9vr.", "mars", "avr.", "mai", "juin", "juil.",
    "ao\xC3\xBBt", "sept.", "oct.", "nov.", "d\xC3\xA9" "c."};
const char *const kFrenchDays[] = {"dimanche", "lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi",
                                   "dim.", "lun.", "mar.", "mer.", "jeu.", "ven.", "sam."};

// The no-break space French writes between thousands.
constexpr const char *kNbsp = "\xC2\xA0";

const LocaleInfo kLocales[] = {
    {1033, "en-us", '.', ",", false, "M/d/yyyy", "dddd, MMMM d, yyyy", "h:mm:ss tt", "$", true, true,
     kEnglishMonths, kEnglishDays},
    {2057, "en-gb", '.', ",", true, "dd/MM/yyyy", "dd MMMM yyyy", "HH:mm:ss", "\xC2\xA3", true, false,
     kEnglishMonths, kEnglishDays},
    {1031, "de-de", ',', ".", true, "dd.MM.yyyy", "dddd, d. MMMM yyyy", "HH:mm:ss", "\xE2\x82\xAC", false, false,
     kGermanMonths, kGermanDays},
    {1036, "fr-fr", ',', kNbsp, true, "dd/MM/yyyy", "dddd d MMMM yyyy", "HH:mm:ss", "\xE2\x82\xAC", false, false,
     kFrenchMonths, kFrenchDays},
};

bool StartsWith(std::string_view s, std::size_t at, std::string_view what)
{
    return !what.empty() && s.size() - at >= what.size() && s.compare(at, what.size(), what) == 0;
}

} // namespace

const LocaleInfo &DefaultLocale() { return kLocales[0]; }

const LocaleInfo *FindLocale(std::int32_t id)
{
    for (const auto &l : kLocales)
        if (l.Id == id)
            return &l;
    return nullptr;
}

const LocaleInfo *FindLocale(std::string_view tag)
{
    const std::string_view t = TrimView(tag);
    for (const auto &l : kLocales)
        if (SameText(t, l.Tag) || (t.size() == 5 && t[2] == '_' && SameText(t.substr(0, 2), std::string_view(l.Tag, 2)) &&
                                   SameText(t.substr(3), std::string_view(l.Tag + 3, 2))))
            return &l;
    return nullptr;
}

std::string FormatDatePattern(std::string_view pattern, double serial, const LocaleInfo &loc)
{
    int y, m, d, h, mi, s;
    DateParts(serial, y, m, d);
    TimeParts(serial, h, mi, s);
    std::string out;
    char buf[16];
    auto num = [&](int v, bool pad) {
        std::snprintf(buf, sizeof buf, pad ? "%02d" : "%d", v);
        out += buf;
    };
    for (std::size_t i = 0; i < pattern.size();) {
        const char c = pattern[i];
        std::size_t n = 1;
        while (i + n < pattern.size() && pattern[i + n] == c)
            ++n;
        switch (c) {
        case 'd':
            if (n >= 3)
                out += loc.Days[WeekdayOf(serial) - 1 + (n == 3 ? 7 : 0)];
            else
                num(d, n == 2);
            break;
        case 'M':
            if (n >= 3)
                out += loc.Months[m - 1 + (n == 3 ? 12 : 0)];
            else
                num(m, n == 2);
            break;
        case 'y': num(y, false); break;
        case 'h': num(h % 12 == 0 ? 12 : h % 12, n == 2); break;
        case 'H': num(h, n == 2); break;
        case 'm': num(mi, n == 2); break;
        case 's': num(s, n == 2); break;
        case 't': out += h < 12 ? "AM" : "PM"; break;
        default: out.append(n, c); break;
        }
        i += n;
    }
    return out;
}

std::string FormatGeneralDate(double serial, const LocaleInfo &loc)
{
    const bool hasDate = std::trunc(serial) != 0;
    const bool hasTime = serial != std::trunc(serial);
    std::string out;
    if (hasDate || !hasTime)
        out = FormatDatePattern(loc.ShortDate, serial, loc);
    if (hasTime) {
        if (!out.empty())
            out += ' ';
        out += FormatDatePattern(loc.LongTime, serial, loc);
    }
    return out;
}

void LocalizeSeparators(std::string &text, const LocaleInfo &loc)
{
    if (loc.Decimal == '.' && std::strcmp(loc.Group, ",") == 0)
        return;
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        if (c == '.')
            out += loc.Decimal;
        else if (c == ',')
            out += loc.Group;
        else
            out += c;
    }
    text = std::move(out);
}

std::optional<std::string> DelocalizeNumber(std::string_view text, const LocaleInfo &loc)
{
    std::string_view t = TrimView(text);
    if (t.size() >= 2 && t[0] == '&')
        return std::string(t);
    // The currency symbol may stand before or after the number (after a sign).
    std::string body;
    const std::string_view sym(loc.Currency);
    std::size_t from = 0;
    if (!t.empty() && (t[0] == '-' || t[0] == '+')) {
        body += t[0];
        from = 1;
    }
    if (StartsWith(t, from, sym))
        from += sym.size();
    else if (t.size() >= sym.size() && t.substr(t.size() - sym.size()) == sym)
        t.remove_suffix(sym.size());
    t = TrimView(t.substr(0, t.size()));
    const std::string_view group(loc.Group);
    bool digits = false, fraction = false, exponent = false;
    for (std::size_t i = from; i < t.size();) {
        const char c = t[i];
        if (!fraction && !exponent && digits) {
            std::size_t skip = StartsWith(t, i, group) ? group.size() : 0;
            // French text often has a plain or narrow space in place of the no-break one.
            if (!skip && group == kNbsp)
                skip = c == ' ' ? 1 : StartsWith(t, i, "\xE2\x80\xAF") ? 3 : 0;
            if (skip) {
                i += skip;
                continue;
            }
        }
        if (c == loc.Decimal && !fraction && !exponent) {
            body += '.';
            fraction = true;
        } else if (c == '.') {
            return std::nullopt;
        } else {
            if (c >= '0' && c <= '9')
                digits = true;
            else if (c == 'e' || c == 'E')
                exponent = true;
            body += c;
        }
        ++i;
    }
    return body;
}

} // namespace kalvion::vbs
