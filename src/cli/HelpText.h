#pragma once
// The help that teaches: the commands in groups, the topics "search",
// "tables" and "dice", and a suggestion for a mistyped command.
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace CLI {
class App;
}

namespace kalvion::cli {

// Usage, the global options and every command of app under its group.
void PrintCommandList(const CLI::App &app, std::ostream &out);

// The text of a help topic that is not a command; null for any other word.
const char *HelpTopicText(std::string_view topic);

// The known word nearest to word in edits, when it is near enough to be a
// likely typing slip; empty otherwise.
std::string ClosestWord(std::string_view word, const std::vector<std::string> &known);

} // namespace kalvion::cli
