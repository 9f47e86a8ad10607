// Commands over the science layer: dice, the calculator and the sector calendar.
#include "cli/CliApp.h"

#include "base/AsciiText.h"
#include "science/CalcExpress.h"
#include "science/Dice.h"
#include "science/VexaDates.h"

#include <cmath>
#include <ostream>

namespace kalvion::cli {

int RunDice(const CliOptions &opts, const std::string &expr, int count, std::ostream &out, std::ostream &err)
{
    ApplySeed(opts);
    try {
        for (int i = 0; i < count; ++i)
            out << EvalDice(expr) << "\n";
    } catch (const EDiceConvertError &e) {
        err << "kalvion-cli: " << e.what() << "\n";
        return EXIT_FAILURE_;
    }
    catch (const EDiceRangeError &e) {
        err << "kalvion-cli: " << e.what() << "\n";
        return EXIT_FAILURE_;
    }
    return EXIT_OK;
}

int RunCalc(const std::string &expr, std::ostream &out, std::ostream &err)
{
    double value = 0;
    std::string message;
    if (!CalcExpression(expr, value, message)) {
        err << "kalvion-cli: " << (message.empty() ? "Invalid expression: " + ShortForMessage(expr) : message) << "\n";
        return EXIT_FAILURE_;
    }
    out << CalcResultText(value) << "\n";
    return EXIT_OK;
}

int RunDate(std::int64_t epochYear, double time, const std::string &format, std::ostream &out, std::ostream &err)
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
    out << handler.FormatDate() << "\n";
    return EXIT_OK;
}

} // namespace kalvion::cli
