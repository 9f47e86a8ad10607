// Commands over the science layer: dice, the calculator and the sector calendar.
#include "cli/CliApp.h"

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
    return EXIT_OK;
}

int RunCalc(const std::string &expr, std::ostream &out, std::ostream &err)
{
    double value = 0;
    std::string message;
    if (!CalcExpression(expr, value, message)) {
        err << "kalvion-cli: " << (message.empty() ? "Invalid expression: " + expr : message) << "\n";
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
    handler.SetToSector(epochYear, time, format);
    out << handler.FormatDate() << "\n";
    return EXIT_OK;
}

} // namespace kalvion::cli
