// Commands over the science layer: dice, the calculator and the sector calendar.
#include "cli/CliApp.h"
#include "cli/JsonOut.h"

#include "base/AsciiText.h"
#include "science/CalcExpress.h"
#include "science/Dice.h"
#include "science/VexaDates.h"

#include <cmath>
#include <regex>
#include <vector>
#include <ostream>

namespace kalvion::cli {

namespace {

// The dice forms people write, in the form the roller reads: "d20" is
// 1d20 and "d%" is 1d100.  False for text that is no dice expression at all
// (the roller would read it as 0).
bool NormalizeDice(const std::string &text, std::string &expr, bool &negate)
{
    negate = false;
    static const std::regex form(R"(^([+-]?)(\d*)([dD])(\d+|%)(\s*[-+*/]\s*\d+)?$|^[+-]?\d+$)");
    const std::string t = Trim(text);
    std::smatch m;
    if (!std::regex_match(t, m, form))
        return false;
    if (!m[3].matched) {
        expr = t;
        return true;
    }
    // The roller reads no sign before the dice: "-d6" is the negated roll.
    negate = m[1].str() == "-";
    expr = (m[2].length() == 0 ? std::string("1") : m[2].str()) + "d" +
           (m[4].str() == "%" ? std::string("100") : m[4].str()) + m[5].str();
    return true;
}

} // namespace

int RunDice(const CliOptions &opts, const std::string &text, int count, std::ostream &out, std::ostream &err)
{
    std::string expr;
    bool negate = false;
    if (!NormalizeDice(text, expr, negate)) {
        err << "kalvion-cli: \"" << ShortForMessage(Trim(text))
            << "\" is not a dice expression (such as 3d6, d20, d% or 2d10+3; see 'kalvion-cli help dice')\n";
        return EXIT_FAILURE_;
    }
    ApplySeed(opts);
    std::vector<std::int32_t> rolls;
    try {
        for (int i = 0; i < count; ++i)
            rolls.push_back(negate ? -EvalDice(expr) : EvalDice(expr));
    } catch (const EDiceConvertError &e) {
        err << "kalvion-cli: " << e.what() << "\n";
        return EXIT_FAILURE_;
    }
    catch (const EDiceRangeError &e) {
        err << "kalvion-cli: " << e.what() << "\n";
        return EXIT_FAILURE_;
    }
    if (opts.json) {
        PrintJson(out, nlohmann::ordered_json{
                           {"expression", (negate ? "-" : "") + expr}, {"count", rolls.size()}, {"rolls", rolls}});
        return EXIT_OK;
    }
    for (std::int32_t r : rolls)
        out << r << "\n";
    return EXIT_OK;
}

int RunCalc(const CliOptions &opts, const std::string &text, std::ostream &out, std::ostream &err)
{
    const std::string expr = Trim(text);
    double value = 0;
    std::string message;
    if (!CalcExpression(expr, value, message)) {
        err << "kalvion-cli: " << (message.empty() ? "Invalid expression: " + ShortForMessage(expr) : message) << "\n";
        return EXIT_FAILURE_;
    }
    if (opts.json)
        PrintJson(out, nlohmann::ordered_json{{"expression", expr}, {"value", value}, {"value_text", CalcResultText(value)}});
    else
        out << CalcResultText(value) << "\n";
    return EXIT_OK;
}

int RunDate(const CliOptions &opts, std::int64_t epochYear, double time, const std::string &format, std::ostream &out, std::ostream &err)
{
    TVexaDateHandler handler;
    if (!handler.IsValidDate(epochYear, 1, 1, 0, 0, 0)) {
        err << "kalvion-cli: the epoch year must lie between -400000000 and 400000000\n";
        return EXIT_FAILURE_;
    }
    if (!std::isfinite(time)) {
        err << "kalvion-cli: the time must be a finite number of days\n";
        return EXIT_FAILURE_;
    }
    // The calendar runs from the first second of its first year to the last
    // second of its last; a time that lands outside has no date to show.
    TVexaDateHandler limits;
    const bool haveLimits = limits.SetDate(-TVexaDateHandler::YearOffset, 1, 1, 0, 0, 0);
    const std::int64_t first = limits.Ticks;
    const bool haveLast = limits.SetDate(TVexaDateHandler::YearOffset, 12, 31, 23, 59, 59);
    handler.SetDate(epochYear, 1, 1, 0, 0, 0);
    const long double target =
        static_cast<long double>(handler.Ticks) + static_cast<long double>(time) * TICKS_PER_DAY;
    if (haveLimits && haveLast &&
        (target < static_cast<long double>(first) || target > static_cast<long double>(limits.Ticks))) {
        err << "kalvion-cli: the time " << time << " days from " << epochYear
            << " lies outside the calendar (years -400000000 to 400000000)\n";
        return EXIT_FAILURE_;
    }
    handler.SetToSector(epochYear, time, format);
    if (opts.json)
        PrintJson(out, nlohmann::ordered_json{
                           {"epoch_year", epochYear}, {"time", time}, {"format", format}, {"date", handler.FormatDate()}});
    else
        out << handler.FormatDate() << "\n";
    return EXIT_OK;
}

} // namespace kalvion::cli
