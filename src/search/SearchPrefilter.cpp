#include "search/SearchPrefilter.h"

#include "model/BodyTypes.h"

#include <charconv>

namespace kalvion {

std::string PrefilterNumber(double value)
{
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

namespace {

// The column expression that reads as the body's value once loaded.
std::string ColumnFor(const std::string &term)
{
    if (term == "population" || term == "temp" || term == "rotation" || term == "atmosphere" || term == "water")
        return "ifnull(" + term + ", 0)";
    if (term == "atm")
        return "ifnull(atmosphere, 0)";
    // The loaded value is Temp - 273; the same subtraction in the database
    // gives the same double, where raising the bounds by 273 could round
    // differently and drop a boundary match.
    if (term == "tempc")
        return "(ifnull(temp, 0) - 273)";
    return std::string();
}

std::string ComparisonClause(const TVexa3SearchParam &p, const std::string &col)
{
    const std::string &op = p.Operator;
    if (op == "between") {
        const std::string lo = PrefilterNumber(p.Value), hi = PrefilterNumber(p.Value2);
        if (p.Negate)
            return "((" + col + " <= " + lo + ") or (" + col + " >= " + hi + "))";
        return "((" + col + " >= " + lo + ") and (" + col + " <= " + hi + "))";
    }
    if (op != "=" && op != ">" && op != "<" && op != "<>")
        return std::string();  // never matches in memory either; leave it to the full test
    std::string clause = p.Negate ? "(not " : "(";
    clause += col;
    clause += ' ';
    clause += op;
    clause += ' ';
    clause += PrefilterNumber(p.Value);
    clause += ')';
    return clause;
}

std::string Clause(const TVexa3SearchParam &p)
{
    if (p.Term == "habit") {
        int code = -1;
        if (p.TextValue == "hospitable")
            code = 2;
        else if (p.TextValue == "habitable")
            code = 1;
        else if (p.TextValue == "inhospitable")
            code = 0;
        if (code < 0)
            return std::string();
        return "( " + std::string(p.Negate ? "not " : "") + "ifnull(habitability, 0) = " + std::to_string(code) + ") ";
    }
    const std::string col = ColumnFor(p.Term);
    if (col.empty())
        return std::string();
    return ComparisonClause(p, col);
}

} // namespace

std::string BuildPrefilterSQL(const std::vector<TVexa3SearchParam> &params)
{
    std::string scoped[4];
    for (const auto &p : params) {
        if (p.Scope < SEARCH_SCOPE_SELF || p.Scope > SEARCH_SCOPE_ROOT)
            continue;
        const std::string clause = Clause(p);
        if (clause.empty())
            continue;
        std::string &target = scoped[p.Scope];
        if (!target.empty())
            target += " and ";
        target += clause;
    }
    std::string sql;
    if (!scoped[SEARCH_SCOPE_SELF].empty())
        sql += " and " + scoped[SEARCH_SCOPE_SELF];
    // The parent and the parent star of a body lie in its system, the root is
    // the row whose id is the system's.
    if (!scoped[SEARCH_SCOPE_PARENT].empty())
        sql += " and exists (select 1 from bodies where (system_id = ?1) and " + scoped[SEARCH_SCOPE_PARENT] + ")";
    if (!scoped[SEARCH_SCOPE_PARENT_STAR].empty())
        sql += " and exists (select 1 from bodies where (system_id = ?1) and (type_id = " +
               std::to_string(BODY_TYPE_STAR) + ") and " + scoped[SEARCH_SCOPE_PARENT_STAR] + ")";
    if (!scoped[SEARCH_SCOPE_ROOT].empty())
        sql += " and exists (select 1 from bodies where (id = ?1) and " + scoped[SEARCH_SCOPE_ROOT] + ")";
    if (sql.empty())
        return std::string();
    return "select id from bodies where (system_id = ?1)" + sql + " limit 1";
}

} // namespace kalvion
