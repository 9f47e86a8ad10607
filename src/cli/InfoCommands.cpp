// Commands that describe the program's vocabulary.
#include "cli/CliApp.h"
#include "cli/JsonOut.h"

#include "base/NumberFormat.h"
#include "base/NumberParse.h"
#include "model/BodyTypes.h"

#include <nlohmann/json.hpp>

#include <ostream>

namespace kalvion::cli {

int RunBodyTypes(const CliOptions &opts, std::ostream &out)
{
    if (opts.json) {
        nlohmann::json list = nlohmann::json::array();
        for (int code : AllBodyTypeCodes())
            list.push_back({{"code", code},
                            {"name", NameFromBodyType(code)},
                            {"search", SearchTextFromBodyType(NameFromBodyType(code))}});
        PrintJson(out, nlohmann::json{{"count", list.size()}, {"body_types", list}});
        return EXIT_OK;
    }
    for (int code : AllBodyTypeCodes()) {
        const std::string name = NameFromBodyType(code);
        const std::string word = SearchTextFromBodyType(name);
        out << FormatFloat("##0", code) << "  " << name;
        if (!word.empty())
            out << "  (" << word << ")";
        out << "\n";
    }
    return EXIT_OK;
}

int RunFormat(const CliOptions &opts, const std::string &pattern, const std::string &value, std::ostream &out,
              std::ostream &err)
{
    const auto v = ParseDouble(value);
    if (!v) {
        err << "kalvion-cli: '" << value << "' is not a number\n";
        return EXIT_FAILURE_;
    }
    const std::string text = FormatFloat(pattern, *v);
    if (opts.json)
        PrintJson(out, nlohmann::json({{"pattern", pattern}, {"value", *v}, {"value_text", text}}));
    else
        out << text << "\n";
    return EXIT_OK;
}

} // namespace kalvion::cli
