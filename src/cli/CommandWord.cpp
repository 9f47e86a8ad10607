#include "cli/CliApp.h"

namespace kalvion::cli {

std::string CliCommandWord(const std::vector<std::string> &args)
{
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--seed")
            ++i;
        else if (!args[i].empty() && args[i][0] != '-')
            return args[i];
    }
    return std::string();
}

} // namespace kalvion::cli
