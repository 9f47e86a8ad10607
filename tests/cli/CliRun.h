#pragma once
// Runs kalvion-cli in-process and keeps what it printed.
#include "cli/CliApp.h"

#include <sstream>
#include <string>
#include <vector>

namespace kalvion::cli::test {

struct Result {
    int code;
    std::string out, err;
};

// args without the program name.
inline Result RunCmd(std::vector<std::string> args)
{
    args.insert(args.begin(), "kalvion-cli");
    std::ostringstream out, err;
    const int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

} // namespace kalvion::cli::test
