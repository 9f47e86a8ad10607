#include "cli/CliApp.h"

#include "base/SafeFile.h"

#include <ostream>

namespace kalvion::cli {

bool OutputIsAnInput(const std::string &output, std::initializer_list<std::string_view> inputs, std::ostream &err)
{
    for (std::string_view input : inputs) {
        if (input.empty() || !SameFilePath(output, std::string(input)))
            continue;
        err << "kalvion-cli: the output '" << output << "' is the input '" << input
            << "'; writing it would destroy the input: choose another output\n";
        return true;
    }
    return false;
}

} // namespace kalvion::cli
