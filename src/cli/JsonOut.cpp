#include "cli/JsonOut.h"

#include <iostream>
#include <ostream>
#include <unistd.h>

namespace kalvion::cli {

namespace {

bool IsTerminal(const std::ostream &out) { return &out == &std::cout && isatty(STDOUT_FILENO); }

template <class Json>
void Print(std::ostream &out, const Json &doc)
{
    out << doc.dump(IsTerminal(out) ? 2 : -1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
}

} // namespace

void PrintJson(std::ostream &out, const nlohmann::json &doc) { Print(out, doc); }
void PrintJson(std::ostream &out, const nlohmann::ordered_json &doc) { Print(out, doc); }

} // namespace kalvion::cli
