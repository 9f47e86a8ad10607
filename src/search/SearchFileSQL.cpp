#include "search/SearchFileSQL.h"

#include "model/BodyTypes.h"
#include "search/SearchPrefilter.h"

namespace kalvion {

namespace {

// The column whose stored value is the loaded number, or empty.
std::string NumberColumn(const std::string &term, const std::string &alias)
{
    if (term == "population" || term == "temp" || term == "rotation" || term == "atmosphere" || term == "water")
        return "ifnull(" + alias + "." + term + ", 0)";
    if (term == "atm")
        return "ifnull(" + alias + ".atmosphere, 0)";
    // The loaded value is Temp - 273: the same subtraction gives the same double.
    if (term == "tempc")
        return "(ifnull(" + alias + ".temp, 0) - 273)";
    return std::string();
}

std::string TextColumn(const std::string &term, const std::string &alias)
{
    if (term == "name" || term == "spectral")
        return alias + "." + term;
    if (term == "political")
        return alias + ".political_affiliation";
    return std::string();
}

// A blob literal: no quoting to get wrong and no text encoding in between.
std::string BlobLiteral(const std::string &bytes)
{
    static const char hex[] = "0123456789abcdef";
    std::string s = "x'";
    for (unsigned char c : bytes) {
        s += hex[c >> 4];
        s += hex[c & 15];
    }
    return s + "'";
}

std::string Negated(const std::string &clause, bool negate)
{
    return negate ? "(not " + clause + ")" : clause;
}

std::string NumberClause(const TVexa3SearchParam &p, const std::string &col)
{
    const std::string &op = p.Operator;
    if (op == "between")
        return Negated("((" + col + " >= " + PrefilterNumber(p.Value) + ") and (" + col +
                           " <= " + PrefilterNumber(p.Value2) + "))",
                       p.Negate);
    if (op != "=" && op != ">" && op != "<" && op != "<>")
        return p.Negate ? "(1)" : "(0)";  // an unknown comparison is false, and its negation true
    return Negated("(" + col + " " + op + " " + PrefilterNumber(p.Value) + ")", p.Negate);
}

std::string TextClause(const TVexa3SearchParam &p, const std::string &col)
{
    const std::string folded = "cast(lower(ifnull(" + col + ", '')) as blob)";
    std::string clause;
    if (p.Operator == "=" || p.Operator == "is")
        clause = "(" + folded + " = " + BlobLiteral(p.TextValue) + ")";
    else if (p.Operator == "<>")
        clause = "(" + folded + " <> " + BlobLiteral(p.TextValue) + ")";
    else if (p.TextValue.empty())
        clause = "(1)";
    else
        clause = "(instr(" + folded + ", " + BlobLiteral(p.TextValue) + ") > 0)";
    return Negated(clause, p.Negate);
}

// The clause of one condition on the row `alias`; empty when the table
// cannot answer it.
std::string Clause(const TVexa3SearchParam &p, const std::string &alias)
{
    const std::string &t = p.Term;
    if (t == "subsector")
        return "(1)";  // the system filter tests the root's position
    if (t == "type")
        return Negated("(ifnull(" + alias + ".type_id, 0) = " + std::to_string(p.IntValue) + ")", p.Negate);
    if (t == "habit") {
        int code = -1;
        if (p.TextValue == "hospitable")
            code = HAB_HOSPITABLE;
        else if (p.TextValue == "habitable")
            code = HAB_HABITABLE;
        else if (p.TextValue == "inhospitable")
            code = HAB_INHOSPITABLE;
        return Negated("(ifnull(" + alias + ".habitability, 0) = " + std::to_string(code) + ")", p.Negate);
    }
    if (IsTextSearchTerm(t)) {
        const std::string col = TextColumn(t, alias);
        return col.empty() ? std::string() : TextClause(p, col);
    }
    const std::string col = NumberColumn(t, alias);
    return col.empty() ? std::string() : NumberClause(p, col);
}

const char *AliasOf(std::int32_t scope)
{
    switch (scope) {
    case SEARCH_SCOPE_SELF: return "b";
    case SEARCH_SCOPE_PARENT: return "p";
    case SEARCH_SCOPE_PARENT_STAR: return "s";
    default: return "r";
    }
}

} // namespace

TSearchFileSQL BuildSearchFileSQL(const std::vector<TVexa3SearchParam> &params)
{
    TSearchFileSQL out;
    std::string where[4];
    bool used[4] = {true, false, false, false};
    for (const auto &p : params) {
        if (p.Scope < SEARCH_SCOPE_SELF || p.Scope > SEARCH_SCOPE_ROOT)
            return out;  // no such body: the walk in memory decides
        const std::string clause = Clause(p, AliasOf(p.Scope));
        if (clause.empty())
            return out;
        used[p.Scope] = true;
        std::string &w = where[p.Scope];
        w += w.empty() ? "" : " and ";
        w += clause;
    }
    const std::string stars = "(ifnull(s.type_id, 0) = " + std::to_string(BODY_TYPE_STAR) + ")" +
                              (where[SEARCH_SCOPE_PARENT_STAR].empty() ? "" : " and " + where[SEARCH_SCOPE_PARENT_STAR]);
    auto candidates = [&](bool inSystem) {
        // A row without a parent is the root of its own system, whatever its
        // system_id says.
        const std::string system = "(case when b.parent_id = 0 then b.id else b.system_id end)";
        std::string sql = "select " + system + ", b.id, b.parent_id from bodies b";
        // A root has no parent: the inner join drops it as the walk does.
        if (used[SEARCH_SCOPE_PARENT])
            sql += " join bodies p on p.id = b.parent_id";
        if (used[SEARCH_SCOPE_ROOT])
            sql += " join bodies r on r.id = " + system;
        std::string conditions = inSystem ? "(b.system_id = ?1 or b.id = ?1)" : "";
        for (int scope : {SEARCH_SCOPE_SELF, SEARCH_SCOPE_PARENT, SEARCH_SCOPE_ROOT})
            if (!where[scope].empty())
                conditions += (conditions.empty() ? "" : " and ") + where[scope];
        // Only a system with an accepted star can hold a body below one.
        if (used[SEARCH_SCOPE_PARENT_STAR] && !inSystem)
            conditions += (conditions.empty() ? "" : " and ") +
                          (system + " in (select (case when s.parent_id = 0 then s.id else s.system_id end) "
                                     "from bodies s where " + stars + ")");
        if (!conditions.empty())
            sql += " where " + conditions;
        return sql;
    };
    out.Candidates = candidates(false);
    out.CandidatesInSystem = candidates(true);
    if (used[SEARCH_SCOPE_PARENT_STAR]) {
        out.ParentStars = "select s.id from bodies s where " + stars;
        out.ParentStarsInSystem = out.ParentStars + " and (s.system_id = ?1 or s.id = ?1)";
    }
    out.Answerable = true;
    return out;
}

} // namespace kalvion
