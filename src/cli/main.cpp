// kalvion-cli: the light commands here, every other one by the whole program
// (kalvion-cli-full beside this one), which takes over this process.
#include "cli/CliApp.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <unistd.h>

int main(int argc, char **argv)
{
    const std::vector<std::string> args(argv, argv + argc);
    if (const auto rc = kalvion::cli::RunLightCli(args, std::cout, std::cerr))
        return *rc;
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        self = argv[0];
    const std::string full = self.replace_filename("kalvion-cli-full").string();
    std::cout.flush();
    execv(full.c_str(), argv);
    std::cerr << "kalvion-cli: cannot run " << full << ": " << std::strerror(errno) << "\n";
    return kalvion::cli::EXIT_FAILURE_;
}
