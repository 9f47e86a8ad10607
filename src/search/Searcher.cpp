#include "search/Searcher.h"

#include "base/AsciiText.h"
#include "base/NumberParse.h"
#include "files/ZentDatabaseSQLite.h"
#include "model/Subsector.h"
#include "model/VexaSector.h"
#include "search/BodyProperties.h"
#include "search/SearchPrefilter.h"

#include <cmath>
#include <filesystem>

namespace kalvion {

namespace {

// Equality and containment of the lower-cased text, folded as it is read so
// that no copy is made for every body.
bool EqualsLowered(std::string_view search, std::string_view text)
{
    if (search.size() != text.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (AsciiLowerChar(text[i]) != search[i])
            return false;
    return true;
}

bool ContainsLowered(std::string_view text, std::string_view search)
{
    if (search.empty())
        return true;
    if (search.size() > text.size())
        return false;
    for (std::size_t start = 0; start + search.size() <= text.size(); ++start) {
        std::size_t i = 0;
        while (i < search.size() && AsciiLowerChar(text[start + i]) == search[i])
            ++i;
        if (i == search.size())
            return true;
    }
    return false;
}

enum class TextOp { Eq, Ne, Like };

TextOp TextOpOf(std::string_view op)
{
    if (op == "=" || op == "is")
        return TextOp::Eq;
    if (op == "<>")
        return TextOp::Ne;
    return TextOp::Like;
}

bool TextMatch(std::string_view search, TextOp op, std::string_view text, bool negate)
{
    bool r;
    switch (op) {
    case TextOp::Eq: r = EqualsLowered(search, text); break;
    case TextOp::Ne: r = !EqualsLowered(search, text); break;
    default: r = ContainsLowered(text, search); break;
    }
    return r != negate;
}

bool NumMatch(double value, std::string_view op, double bodyValue, double high, bool negate)
{
    bool r = false;
    if (op == "=")
        r = bodyValue == value;
    else if (op == ">")
        r = bodyValue > value;
    else if (op == "<")
        r = bodyValue < value;
    else if (op == "<>")
        r = bodyValue != value;
    else if (op == "between")
        r = value <= bodyValue && bodyValue <= high;
    else
        return negate;
    return r != negate;
}

TStellarBody *ScopeBody(TStellarBody *body, TStellarBody *root, std::int32_t scope)
{
    switch (scope) {
    case SEARCH_SCOPE_SELF: return body;
    case SEARCH_SCOPE_PARENT: return body->Parent;
    case SEARCH_SCOPE_PARENT_STAR: return body->GetParentStar();
    case SEARCH_SCOPE_ROOT: return root;
    default: return nullptr;
    }
}

// The identity is kept in binary; its text is made in the caller's buffer.
std::string_view TextOf(const TStellarBody &b, const std::string &term, std::string &idText)
{
    if (term == "name")
        return b.Name;
    if (term == "idstring") {
        idText = b.IDString.str();
        return idText;
    }
    if (term == "spectral")
        return b.Spectral;
    if (term == "notes")
        return b.Notes;
    if (term == "gmnotes")
        return b.GMNotes;
    if (term == "atmnotes" || term == "atmospherenotes")
        return b.AtmosphereNotes;
    return b.PoliticalAffiliation;  // "political"
}

} // namespace

TVexaSearcher3::TVexaSearcher3() = default;
TVexaSearcher3::~TVexaSearcher3() = default;

bool TVexaSearcher3::TextCompare(std::string_view search, std::string_view op, std::string_view text, bool negate)
{
    return TextMatch(search, TextOpOf(op), text, negate);
}

bool TVexaSearcher3::NumCompare(double value, std::string_view op, double bodyValue, double high, bool negate)
{
    return NumMatch(value, op, bodyValue, high, negate);
}

TStellarBody *TVexaSearcher3::GetResult(int position) const
{
    if (position < 1 || position > GetResultCount())
        return nullptr;
    return Results[static_cast<std::size_t>(position - 1)];
}

void TVexaSearcher3::Compile()
{
    FConditions.clear();
    FConditions.reserve(Parser.Params.size());
    for (const auto &p : Parser.Params) {
        Condition c;
        c.negate = p.Negate;
        c.scope = p.Scope;
        const std::string &t = p.Term;
        if (IsTextSearchTerm(t)) {
            c.kind = Kind::Text;
        } else if (t == "habit") {
            c.kind = Kind::Habit;
            if (p.TextValue == "hospitable")
                c.habit = HAB_HOSPITABLE;
            else if (p.TextValue == "habitable")
                c.habit = HAB_HABITABLE;
            else if (p.TextValue == "inhospitable")
                c.habit = HAB_INHOSPITABLE;
        } else if (t == "type") {
            c.kind = Kind::Type;
        } else if (t == "field") {
            c.kind = Kind::Field;
        } else if (t == "atmcomp") {
            c.kind = Kind::AtmComp;
        } else if (t == "subsector") {
            c.kind = Kind::Subsector;
        } else if (IsNumericSearchTerm(t) || t == "atm" || t == "atmosphere") {
            c.property = FindBodyProperty(t);
            c.kind = c.property && c.property->GetNumber ? Kind::Number : Kind::Never;
        }
        FConditions.push_back(c);
    }
}

bool TVexaSearcher3::Match(TStellarBody *body, TStellarBody *root)
{
    if (!body)
        return false;
    Compile();
    return MatchCompiled(body, root ? root : body->GetRootBody());
}

bool TVexaSearcher3::MatchCompiled(TStellarBody *body, TStellarBody *root) const
{
    const auto &params = Parser.Params;
    std::string idText;
    for (std::size_t i = 0; i < FConditions.size(); ++i) {
        const Condition &c = FConditions[i];
        const TVexa3SearchParam &p = params[i];
        // A missing parent, parent star or root fails whatever the negation.
        const TStellarBody *b = ScopeBody(body, root, c.scope);
        if (!b)
            return false;
        bool ok = false;
        switch (c.kind) {
        case Kind::Text: ok = TextMatch(p.TextValue, TextOpOf(p.Operator), TextOf(*b, p.Term, idText), p.Negate); break;
        case Kind::Habit: ok = (b->Habitability == c.habit) != p.Negate; break;
        case Kind::Type: ok = (b->TypeID == p.IntValue) != p.Negate; break;
        case Kind::Number:
            ok = NumMatch(p.Value, p.Operator, c.property->GetNumber(*b), p.Value2, p.Negate);
            break;
        case Kind::Field: {
            const std::string text = b->GetField(p.FieldName);
            if (p.Operator == ">" || p.Operator == "<" || p.Operator == "between") {
                // Text that is no number fails, negated or not.
                const auto number = ParseDouble(text);
                ok = number && NumMatch(p.Value, p.Operator, *number, p.Value2, p.Negate);
            } else {
                ok = TextMatch(p.TextValue, TextOpOf(p.Operator), text, p.Negate);
            }
            break;
        }
        case Kind::AtmComp:
            ok = NumMatch(p.Value, p.Operator, b->GetAtmElementPercentByName(p.FieldName), p.Value2, p.Negate);
            break;
        case Kind::Subsector: ok = true; break;
        case Kind::Never: ok = false; break;
        }
        if (!ok)
            return false;
    }
    return true;
}

void TVexaSearcher3::BuildSubsectorList()
{
    SubsectorFilter.clear();
    for (const auto &p : Parser.Params) {
        if (p.Term != "subsector")
            continue;
        const int index = Sector ? Sector->GetSubsectorIndexByName(p.TextValue) : -1;
        if (index < 0) {
            ErrorText = "Unknown subsector \"" + p.TextValue + "\"";
            SubsectorFilter.clear();
            return;
        }
        SubsectorFilter.push_back(Sector->GetSubsector(index));
    }
    FSubsectorRegions.clear();
    for (const TVexaSubsector *s : SubsectorFilter)
        FSubsectorRegions.emplace_back(*s);
}

bool TVexaSearcher3::WithinRange(const TStellarBody *root) const
{
    const double limit = Parser.WithinLY;
    if (limit == 0)
        return true;
    if (!Sector || !root)
        return false;
    for (const TStellarBody *s : Sector->Selection) {
        const double dx = root->X - s->X, dy = root->Y - s->Y, dz = root->Z - s->Z;
        if (std::sqrt(dx * dx + dy * dy + dz * dz) <= limit)
            return true;
    }
    return false;
}

bool TVexaSearcher3::PassesSystemFilters(const TStellarBody *root) const
{
    if (Parser.VisibleOnly && !root->Visible)
        return false;
    if (Parser.WithinLY > 0 && !WithinRange(root))
        return false;
    if (Parser.OnRoute && FRouteSet.find(root) == FRouteSet.end())
        return false;
    if (!SubsectorFilter.empty()) {
        bool inside = false;
        if (FSubsectorRegions.size() == SubsectorFilter.size()) {
            for (const TSubsectorRegion &r : FSubsectorRegions)
                if (r.Contains(root->X, root->Y, root->Z)) {
                    inside = true;
                    break;
                }
        } else {
            for (const TVexaSubsector *s : SubsectorFilter)
                if (s->ContainsPoint(root->X, root->Y, root->Z)) {
                    inside = true;
                    break;
                }
        }
        if (!inside)
            return false;
    }
    return true;
}

bool TVexaSearcher3::ResultLimitReached() const
{
    return ResultLimit > 0 && Results.size() >= static_cast<std::size_t>(ResultLimit);
}

bool TVexaSearcher3::Prepare(std::string_view query)
{
    Results.clear();
    SubsectorFilter.clear();
    ErrorText.clear();
    Parser.Clear();
    Parser.Parse(query);
    ErrorText = Parser.ErrorText;
    if (!ErrorText.empty())
        return false;
    BuildSubsectorList();
    if (!ErrorText.empty())
        return false;
    RouteSystems.clear();
    if (Parser.OnRoute && Sector)
        Sector->GetAllOnRoutesWithSelected(RouteSystems);
    PrepareWalk();
    return true;
}

void TVexaSearcher3::PrepareWalk()
{
    Compile();
    FRouteSet.clear();
    FRouteSet.insert(RouteSystems.begin(), RouteSystems.end());
}

void TVexaSearcher3::Search(std::string_view query)
{
    if (!Prepare(query))
        return;
    // "first N" bounds this search only; the caller's limit stays.
    const std::int32_t savedLimit = ResultLimit;
    if (Parser.FirstCount > 0)
        ResultLimit = Parser.FirstCount;
    if (RootOnly || Parser.RootOnly)
        SearchRootOnly();
    else
        SearchAll();
    ResultLimit = savedLimit;
}

bool TVexaSearcher3::SearchSystem(TStellarBody *root)
{
    bool loadedHere = false;
    if (!root->Loaded) {
        Sector->DynaLoad(root);
        loadedHere = root->Loaded;
        if (loadedHere)
            ++SystemsLoaded;
    }
    FBodies.clear();
    root->GetAllChildren(FBodies);
    bool added = false;
    for (TStellarBody *body : FBodies) {
        if (!MatchCompiled(body, root))
            continue;
        added = true;
        if (Parser.SystemsWith) {
            Results.push_back(root);
            break;
        }
        Results.push_back(body);
    }
    if (loadedHere && !added && !root->TVexaBase::Modified)
        Sector->DynaUnload(root);
    return !ResultLimitReached();
}

void TVexaSearcher3::SearchAll()
{
    SystemsLoaded = 0;
    SystemsSkipped = 0;
    if (!Sector)
        return;
    PrepareWalk();
    PrefilterSQL = BuildPrefilterSQL(Parser.Params);

    // The prefilter connection lives for this search only.
    std::unique_ptr<TZentSqliteInterface> db;
    TZentStatement statement;
    if (UsePrefilter && !PrefilterSQL.empty() && !Sector->FileName.empty()) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(Sector->FileName, ec)) {
            db = std::make_unique<TZentSqliteInterface>(Sector->FileName, std::string(), std::string(),
                                                        std::string(), TZentOpenMode::ExistingOnly);
            if (db->Open()) {
                statement = TZentStatement(*db, PrefilterSQL);
                db->ClearError();  // a statement that failed to prepare just leaves the test out
            }
        }
    }

    for (auto &owned : Sector->Systems) {
        TStellarBody *root = owned.get();
        if (!PassesSystemFilters(root))
            continue;
        if (!root->Loaded && statement.Prepared() && root->RecordID > 0) {
            statement.BindInt(1, root->RecordID);
            const bool row = statement.Step();
            if (db->HasError) {
                // A failed test says nothing: load and test the system.
                db->ClearError();
                statement.Reset();
            } else if (!row) {
                ++SystemsSkipped;
                continue;
            } else {
                statement.Reset();
            }
        }
        if (!SearchSystem(root))
            break;
    }
    statement = TZentStatement();
    if (db)
        db->Close();
}

void TVexaSearcher3::SearchRootOnly()
{
    if (!Sector)
        return;
    PrepareWalk();
    for (auto &owned : Sector->Systems) {
        TStellarBody *root = owned.get();
        if (!PassesSystemFilters(root))
            continue;
        if (MatchCompiled(root, root))
            Results.push_back(root);
        if (ResultLimitReached())
            break;
    }
}

std::unique_ptr<TVexaSearcher3> CreateVexaSearcher(TVexaSector *sector)
{
    auto searcher = std::make_unique<TVexaSearcher3>();
    searcher->Sector = sector;
    searcher->ResultLimit = 0;
    return searcher;
}

} // namespace kalvion
