#include "cli/CliApp.h"

#include "base/AsciiText.h"

#include "base/SafeFile.h"

#include <filesystem>
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

int PrepareOutput(const std::string &output, std::initializer_list<std::string_view> extensions, std::ostream &err)
{
    const std::string ext = AsciiLower(std::filesystem::path(output).extension().string());
    bool known = false;
    std::string list;
    for (std::string_view e : extensions) {
        known = known || ext == e;
        list += (list.empty() ? "" : ", ") + std::string(e);
    }
    if (!known) {
        // Never a file of one format under another format's name.
        err << "kalvion-cli: \"" << output << "\" does not end in a supported extension (" << list << ")\n";
        return EXIT_USAGE;
    }
    const std::filesystem::path folder = std::filesystem::path(output).parent_path();
    std::error_code ec;
    if (!folder.empty() && !std::filesystem::is_directory(folder, ec) &&
        !std::filesystem::create_directories(folder, ec)) {
        err << "kalvion-cli: cannot create the folder \"" << folder.string() << "\": " << ec.message() << "\n";
        return EXIT_FAILURE_;
    }
    return -1;
}

} // namespace kalvion::cli
