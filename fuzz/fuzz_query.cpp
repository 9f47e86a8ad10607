// Queries are typed by users and passed by scripts: any bytes must end in
// conditions or one of the parser's messages, and searching with whatever
// was parsed must neither crash nor hang.
#include "model/VexaSector.h"
#include "search/QueryLanguage.h"
#include "search/SearchColumns.h"
#include "search/Searcher.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

const char *const kMessages[] = {
    "Unclosed quoted text",
    "A \"with\" was expected",
    "\"Route\" was expected",
    "Unknown search term",
    "Text to search for was expected",
    "A \"=\", \"<>\" or \"like\" is expected",
    "A \"=\", \">\", \"<\", or \"<>\" is expected",
    "A \"=\", \">\", \"<\", \"<>\" or \"like\" is expected",
    "A \"=\" is expected",
    "Number was expected",
    "The name of a subsector was expected",
    "A distance in LY was expected",
    "A number of results to return was expected",
    "A number was expected",
    "An \"and\" was expected",
    "A field name was expected",
    "Field value to search for was expected",
    "An atmosphere component was expected",
    "An atmosphere component value to search for was expected",
    "A property to display was expected",
    "A custom field to display was expected",
    "An atmosphere component to display was expected",
};

bool KnownMessage(const std::string &text)
{
    for (const char *m : kMessages) {
        const std::string_view msg(m);
        if (text == msg)
            return true;
        if (text.size() > msg.size() + 7 && text.compare(0, msg.size(), msg) == 0 &&
            text.compare(msg.size(), 7, " near \"") == 0 && text.back() == '"')
            return true;
    }
    return text.rfind("Unknown subsector \"", 0) == 0;
}

kalvion::TVexaSector &SmallSector()
{
    static kalvion::TVexaSector &sector = *[] {
        auto *sp = new kalvion::TVexaSector;  // lives for the whole run
        kalvion::TVexaSector &s = *sp;
        auto root = kalvion::TStellarBody::Create();
        root->Name = "Sol";
        root->TypeID = kalvion::BODY_TYPE_STAR;
        auto planet = kalvion::TStellarBody::Create();
        planet->Name = "Earth";
        planet->TypeID = kalvion::BODY_TYPE_TERRESTRIAL;
        planet->Population = 1e9;
        planet->SetField("size", "5");
        planet->SetAtmElement("O2", 21);
        root->AddChild(std::move(planet));
        s.AddSystem(std::move(root));
        s.SelectBody(s.GetSystem(0));
        return sp;
    }();
    return sector;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > 4096)
        return 0;
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    kalvion::TVexaSearcher3 searcher;
    searcher.Sector = &SmallSector();
    searcher.Search(text);
    if (!searcher.ErrorText.empty() && !KnownMessage(searcher.ErrorText))
        std::abort();
    if (!searcher.ErrorText.empty() && !searcher.Results.empty())
        std::abort();
    for (const auto &p : searcher.Parser.Params) {
        const std::string &op = p.Operator;
        if (op != "=" && op != "<>" && op != "like" && op != ">" && op != "<" && op != "between")
            std::abort();
        if (p.Scope < 0 || p.Scope > 3)
            std::abort();
    }
    std::vector<std::string> cells;
    for (kalvion::TStellarBody *body : searcher.Results)
        kalvion::SearchResultCells(body, searcher.Parser.Columns, cells);
    return 0;
}
