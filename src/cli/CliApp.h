#pragma once
// kalvion-cli: headless access to the core.  Exit status 0 success, 1 failure
// (one clear message on standard error), 2 wrong usage.
#include <iosfwd>
#include <string>
#include <vector>

namespace kalvion::cli {

inline constexpr int EXIT_OK = 0;
inline constexpr int EXIT_FAILURE_ = 1;
inline constexpr int EXIT_USAGE = 2;

struct CliOptions {
    bool json = false;
    bool haveSeed = false;
    long long seed = 0;
};

// Runs the command line (argv[0] included) with the given streams.
int RunCli(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);

// Sets the shared random seed when --seed was given; commands call it right
// before their random work begins.
void ApplySeed(const CliOptions &opts);

int RunDemo(const CliOptions &opts, std::ostream &out);
int RunBodyTypes(const CliOptions &opts, std::ostream &out);
int RunScript(const CliOptions &opts, const std::string &file, const std::vector<std::string> &args,
              std::ostream &out, std::ostream &err);
int RunFormat(const CliOptions &opts, const std::string &pattern, const std::string &value, std::ostream &out,
              std::ostream &err);

} // namespace kalvion::cli
