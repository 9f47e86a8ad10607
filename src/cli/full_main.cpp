#include "cli/CliApp.h"

#include <iostream>

int main(int argc, char **argv)
{
    kalvion::cli::InstallCliMessageHandler();
    std::vector<std::string> args(argv, argv + argc);
    return kalvion::cli::RunCli(args, std::cout, std::cerr);
}
