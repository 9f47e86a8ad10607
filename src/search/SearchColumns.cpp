#include "search/SearchColumns.h"

#include "base/AsciiText.h"
#include "base/NumberFormat.h"
#include "base/NumberParse.h"
#include "model/BodyTypes.h"
#include "search/BodyProperties.h"

namespace kalvion {

std::string VexaSearch3SortPropertyName;
std::string VexaSearch3SortFieldName;
std::int32_t VexaSearch3SortTarget = 0;

TStellarBody *SearchScopeBody(TStellarBody *body, std::int32_t scope)
{
    if (!body)
        return nullptr;
    switch (scope) {
    case SEARCH_SCOPE_SELF: return body;
    case SEARCH_SCOPE_PARENT: return body->Parent;
    case SEARCH_SCOPE_PARENT_STAR: return body->GetParentStar();
    case SEARCH_SCOPE_ROOT: return body->GetRootBody();
    default: return nullptr;
    }
}

std::string SearchColumnHeader(const TVexa3SearchColumn &column)
{
    std::string name = column.FieldName.empty() ? column.Property : column.FieldName;
    if (!name.empty())
        name[0] = AsciiUpperChar(name[0]);
    switch (column.Scope) {
    case SEARCH_SCOPE_PARENT: return "Parent " + name;
    case SEARCH_SCOPE_PARENT_STAR: return "Star " + name;
    case SEARCH_SCOPE_ROOT: return "Root " + name;
    default: return name;
    }
}

std::vector<std::string> SearchResultHeaders(const std::vector<TVexa3SearchColumn> &columns)
{
    std::vector<std::string> headers = {"Name", "Type", "System", "Population", "Habitability", "Political"};
    for (const auto &c : columns)
        headers.push_back(SearchColumnHeader(c));
    return headers;
}

std::string SearchColumnText(TStellarBody *body, const TVexa3SearchColumn &column)
{
    const TStellarBody *b = SearchScopeBody(body, column.Scope);
    if (!b)
        return std::string();
    const std::string &prop = column.Property;
    if (prop == "type")
        return NameFromBodyType(b->TypeID);
    if (prop == "atmcomp")
        return FormatFloat(SEARCH_DECIMAL_FMT, b->GetAtmElementPercentByName(column.FieldName));
    if (prop == "field")
        return b->GetField(column.FieldName);
    const TBodyProperty *p = FindBodyProperty(prop);
    if (!p)
        return std::string();
    switch (p->Kind) {
    case TBodyPropertyKind::String: return p->GetText(*b);
    case TBodyPropertyKind::Float: {
        const bool whole = prop == "population" || prop == "radius" || prop == "distance";
        return FormatFloat(whole ? SEARCH_INTEGER_FMT : SEARCH_DECIMAL_FMT, p->GetNumber(*b));
    }
    // Whole-number properties (body counts, codes) show as numbers, zero included.
    case TBodyPropertyKind::Integer: return FormatFloat(SEARCH_DECIMAL_FMT, p->GetNumber(*b));
    case TBodyPropertyKind::Boolean: return std::string();
    }
    return std::string();
}

void SearchResultCells(TStellarBody *body, const std::vector<TVexa3SearchColumn> &columns,
                       std::vector<std::string> &cells)
{
    cells.clear();
    if (!body)
        return;
    const TStellarBody *root = body->GetRootBody();
    cells.push_back(body->Name);
    cells.push_back(NameFromBodyType(body->TypeID));
    cells.push_back(root ? root->Name : std::string());
    cells.push_back(FormatFloat(SEARCH_INTEGER_FMT, body->Population));
    cells.push_back(HabitNameFromHabitCode(body->Habitability));
    cells.push_back(body->PoliticalAffiliation);
    for (const auto &c : columns)
        cells.push_back(SearchColumnText(body, c));
}

namespace {

template <class T>
int Sign(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

int SignOf(int c) { return c < 0 ? -1 : (c > 0 ? 1 : 0); }

} // namespace

int VexaSearch3SortByProp(const void *a, const void *b)
{
    TStellarBody *ba = SearchScopeBody(static_cast<TStellarBody *>(const_cast<void *>(a)), VexaSearch3SortTarget);
    TStellarBody *bb = SearchScopeBody(static_cast<TStellarBody *>(const_cast<void *>(b)), VexaSearch3SortTarget);
    if (!ba || !bb)
        return 0;
    const std::string &prop = VexaSearch3SortPropertyName;
    if (prop == "type")
        return SignOf(CompareStr(NameFromBodyType(ba->TypeID), NameFromBodyType(bb->TypeID)));
    if (prop == "atmcomp")
        return Sign(ba->GetAtmElementPercentByName(VexaSearch3SortFieldName),
                    bb->GetAtmElementPercentByName(VexaSearch3SortFieldName));
    if (prop == "field") {
        const std::string ta = ba->GetField(VexaSearch3SortFieldName), tb = bb->GetField(VexaSearch3SortFieldName);
        const auto na = ParseDouble(ta), nb = ParseDouble(tb);
        if (na && nb)
            return Sign(*na, *nb);
        return SignOf(CompareStr(ta, tb));
    }
    const TBodyProperty *p = FindBodyProperty(prop);
    if (!p)
        return 0;
    switch (p->Kind) {
    case TBodyPropertyKind::Float:
    case TBodyPropertyKind::Integer: return Sign(p->GetNumber(*ba), p->GetNumber(*bb));
    case TBodyPropertyKind::String: return SignOf(CompareStr(p->GetText(*ba), p->GetText(*bb)));
    case TBodyPropertyKind::Boolean: return 0;
    }
    return 0;
}

} // namespace kalvion
