#include "scripting/vbs/RegExpObject.h"

#include "scripting/vbs/Convert.h"
#include "scripting/vbs/Interpreter.h"
#include "scripting/vbs/RegExpPattern.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>
#include <exception>
#include <memory>

namespace kalvion::vbs {

namespace {

// PCRE2 counts its match limit afresh at every start position, so a pattern
// that backtracks a little less than the limit at each of many positions
// would still run for hours.  Every pattern is compiled with automatic
// callouts instead, and the callouts count the steps of one whole Test,
// Execute or Replace against a budget that grows with the subject.
constexpr std::uint64_t kStepsPerByte = 16;
constexpr std::uint64_t kMaxSteps = 200'000'000;
// The host's halt and the run's step limit are looked at this often.
constexpr std::uint64_t kTickEvery = 1 << 16;
constexpr std::uint32_t kMatchLimit = 10'000'000;
constexpr std::uint32_t kDepthLimit = 250'000;
constexpr std::uint32_t kHeapLimitKiB = 64 * 1024;
constexpr PCRE2_SIZE kMaxPatternBytes = PCRE2_SIZE(1) << 20;
// Execute keeps the offsets of every match and group; past this many it is
// "Out of memory".
constexpr std::size_t kMaxOffsets = std::size_t(1) << 24;

constexpr std::uint32_t kUnset = 0xFFFFFFFFu;

struct CodeFree {
    void operator()(pcre2_code *c) const { pcre2_code_free(c); }
};
struct MatchDataFree {
    void operator()(pcre2_match_data *d) const { pcre2_match_data_free(d); }
};
struct MatchContextFree {
    void operator()(pcre2_match_context *c) const { pcre2_match_context_free(c); }
};
struct CompileContextFree {
    void operator()(pcre2_compile_context *c) const { pcre2_compile_context_free(c); }
};

struct Budget {
    Interpreter *In = nullptr;
    std::uint64_t Limit = 0;
    std::uint64_t Steps = 0;
    std::exception_ptr Stop; // a halt or step limit met inside a match
};

// Runs inside pcre2_match: nothing may be thrown through it.
int CountStep(pcre2_callout_block *, void *data)
{
    auto *b = static_cast<Budget *>(data);
    if (++b->Steps > b->Limit)
        return PCRE2_ERROR_CALLOUT;
    if (b->Steps % kTickEvery == 0) {
        try {
            b->In->Tick();
        } catch (...) {
            b->Stop = std::current_exception();
            return PCRE2_ERROR_CALLOUT;
        }
    }
    return 0;
}

std::int32_t CompileErrorNumber(int code)
{
    switch (code) {
    case PCRE2_ERROR_MISSING_SQUARE_BRACKET:
        return E_REGEXP_BRACKET;
    case PCRE2_ERROR_MISSING_CLOSING_PARENTHESIS:
        return E_REGEXP_PAREN;
    case PCRE2_ERROR_QUANTIFIER_INVALID:
        return E_REGEXP_QUANTIFIER;
    case PCRE2_ERROR_CLASS_RANGE_ORDER:
    case PCRE2_ERROR_CLASS_INVALID_RANGE:
        return E_REGEXP_RANGE;
    default:
        return E_REGEXP_SYNTAX;
    }
}

// What Execute found: the subject and, per match, the start and end of the
// whole match and of each group.
struct MatchSet {
    std::string Subject;
    std::uint32_t Groups = 0;
    std::vector<std::uint32_t> Offsets;

    std::size_t Stride() const { return 2 * (std::size_t(Groups) + 1); }
    std::size_t Count() const { return Offsets.size() / Stride(); }
    const std::uint32_t *Of(std::size_t match) const { return Offsets.data() + match * Stride(); }
};

using MatchSetRef = std::shared_ptr<const MatchSet>;

std::size_t IndexArg(Variant **a, int n, std::size_t count)
{
    CheckArgCount(n, 1, 1);
    const std::int32_t i = ToLong(LetValue(*a[0]));
    if (i < 0 || static_cast<std::size_t>(i) >= count)
        Throw(E_INVALID_CALL);
    return static_cast<std::size_t>(i);
}

Variant Long(std::size_t v) { return Variant::Long(static_cast<std::int32_t>(v)); }

class SubMatches final : public Object {
public:
    SubMatches(MatchSetRef set, std::size_t match) : FSet(std::move(set)), FMatch(match) {}
    std::string TypeName() const override { return "ISubMatches"; }
    Variant Invoke(Interpreter &, std::string_view name, InvokeKind, Variant **a, int n) override
    {
        if (name.empty() || name == "item")
            return Group(IndexArg(a, n, FSet->Groups));
        if (name == "count") {
            CheckArgCount(n, 0, 0);
            return Long(FSet->Groups);
        }
        ThrowNoMember(name);
    }
    bool Enumerate(Interpreter &, std::vector<Variant> &out) override
    {
        for (std::size_t g = 0; g < FSet->Groups; ++g)
            out.push_back(Group(g));
        return true;
    }

private:
    // A group that took no part in the match is Empty.
    Variant Group(std::size_t g) const
    {
        const std::uint32_t *o = FSet->Of(FMatch) + 2 * (g + 1);
        if (o[0] == kUnset)
            return {};
        return Variant::Str(std::string_view(FSet->Subject).substr(o[0], o[1] - o[0]));
    }
    MatchSetRef FSet;
    std::size_t FMatch;
};

class Match final : public Object {
public:
    Match(MatchSetRef set, std::size_t match) : FSet(std::move(set)), FMatch(match) {}
    std::string TypeName() const override { return "IMatch2"; }
    Variant Invoke(Interpreter &in, std::string_view name, InvokeKind, Variant **a, int n) override
    {
        const std::uint32_t *o = FSet->Of(FMatch);
        if (name == "submatches") {
            Variant sub = Variant::Obj(new SubMatches(FSet, FMatch));
            // m.SubMatches(0) indexes the collection.
            return n == 0 ? sub : sub.RawObj()->Invoke(in, {}, InvokeKind::Get, a, n);
        }
        CheckArgCount(n, 0, 0);
        if (name.empty() || name == "value")
            return Variant::Str(std::string_view(FSet->Subject).substr(o[0], o[1] - o[0]));
        if (name == "firstindex")
            return Long(o[0]);
        if (name == "length")
            return Long(o[1] - o[0]);
        ThrowNoMember(name);
    }

private:
    MatchSetRef FSet;
    std::size_t FMatch;
};

class Matches final : public Object {
public:
    explicit Matches(MatchSetRef set) : FSet(std::move(set)) {}
    std::string TypeName() const override { return "IMatchCollection2"; }
    Variant Invoke(Interpreter &, std::string_view name, InvokeKind, Variant **a, int n) override
    {
        if (name.empty() || name == "item")
            return Variant::Obj(new Match(FSet, IndexArg(a, n, FSet->Count())));
        if (name == "count") {
            CheckArgCount(n, 0, 0);
            return Long(FSet->Count());
        }
        ThrowNoMember(name);
    }
    bool Enumerate(Interpreter &, std::vector<Variant> &out) override
    {
        const std::size_t count = FSet->Count();
        out.reserve(out.size() + count);
        for (std::size_t i = 0; i < count; ++i)
            out.push_back(Variant::Obj(new Match(FSet, i)));
        return true;
    }

private:
    MatchSetRef FSet;
};

// Replace's text with $& (the match), $` (before it), $' (after it), $$ and
// $n / $nn (a group; a number past the last group is left as written).
void AppendReplacement(std::string &out, std::string_view rep, std::string_view subject, const PCRE2_SIZE *ov,
                       std::uint32_t groups)
{
    // Checked before each piece: "$'" a thousand times over a long subject
    // would otherwise grow far past the string limit in one replacement.
    auto add = [&](std::string_view piece) {
        CheckStringSize(out.size() + piece.size());
        out.append(piece);
    };
    auto group = [&](std::size_t g) {
        if (ov[2 * g] != PCRE2_UNSET)
            add(subject.substr(ov[2 * g], ov[2 * g + 1] - ov[2 * g]));
    };
    auto digit = [&](std::size_t i) { return i < rep.size() && rep[i] >= '0' && rep[i] <= '9'; };
    for (std::size_t i = 0; i < rep.size(); ++i) {
        const char c = rep[i];
        if (c != '$' || i + 1 >= rep.size()) {
            out += c;
            continue;
        }
        const char d = rep[i + 1];
        if (d == '$') {
            out += '$';
            ++i;
        } else if (d == '&') {
            group(0);
            ++i;
        } else if (d == '`') {
            add(subject.substr(0, ov[0]));
            ++i;
        } else if (d == '\'') {
            add(subject.substr(ov[1]));
            ++i;
        } else if (digit(i + 1)) {
            const std::size_t one = static_cast<std::size_t>(d - '0');
            const std::size_t two = digit(i + 2) ? one * 10 + static_cast<std::size_t>(rep[i + 2] - '0') : 0;
            if (two >= 1 && two <= groups) {
                group(two);
                i += 2;
            } else if (one >= 1 && one <= groups) {
                group(one);
                ++i;
            } else {
                out += '$';
            }
        } else {
            out += '$';
        }
    }
}

class RegExp final : public Object {
public:
    RegExp() : FMatchContext(pcre2_match_context_create(nullptr))
    {
        if (!FMatchContext)
            Throw(E_OUT_OF_MEMORY);
        pcre2_set_match_limit(FMatchContext.get(), kMatchLimit);
        pcre2_set_depth_limit(FMatchContext.get(), kDepthLimit);
        pcre2_set_heap_limit(FMatchContext.get(), kHeapLimitKiB);
    }
    std::string TypeName() const override { return "IRegExp2"; }

    Variant Invoke(Interpreter &in, std::string_view name, InvokeKind, Variant **a, int n) override
    {
        if (name == "test") {
            CheckArgCount(n, 1, 1);
            const std::string subject = ToStr(LetValue(*a[0]));
            bool found = false;
            Scan(in, subject, false, [&](const PCRE2_SIZE *) { found = true; });
            return Variant::Bool(found);
        }
        if (name == "execute") {
            CheckArgCount(n, 1, 1);
            return Execute(in, ToStr(LetValue(*a[0])));
        }
        if (name == "replace") {
            CheckArgCount(n, 2, 2);
            const std::string subject = ToStr(LetValue(*a[0]));
            const Variant r = LetValue(*a[1]);
            // The replacement is converted as a plain variant: True is "-1".
            const std::string rep = r.Type() == VT_BOOL ? std::to_string(r.RawInt()) : ToStr(r);
            return Variant::Str(Replace(in, subject, rep));
        }
        CheckArgCount(n, 0, 0);
        if (name == "pattern")
            return Variant::Str(FPattern);
        if (name == "ignorecase")
            return Variant::Bool(FIgnoreCase);
        if (name == "global")
            return Variant::Bool(FGlobal);
        if (name == "multiline")
            return Variant::Bool(FMultiline);
        ThrowNoMember(name);
    }

    void Put(Interpreter &, std::string_view name, bool, Variant **, int n, const Variant &v) override
    {
        CheckArgCount(n, 0, 0);
        const Variant value = LetValue(v);
        if (name == "pattern")
            FPattern = ToStr(value);
        else if (name == "ignorecase")
            FIgnoreCase = ToBool(value);
        else if (name == "global")
            FGlobal = ToBool(value);
        else if (name == "multiline")
            FMultiline = ToBool(value);
        else
            ThrowNoMember(name);
        FCode.reset();
    }

private:
    std::string FPattern;
    bool FIgnoreCase = false;
    bool FGlobal = false;
    bool FMultiline = false;
    std::unique_ptr<pcre2_code, CodeFree> FCode; // for the current pattern and flags
    std::uint32_t FGroups = 0;
    std::unique_ptr<pcre2_match_context, MatchContextFree> FMatchContext;

    // Compiled on first use, so that a bad pattern fails where it is used.
    // Not JIT-compiled: PCRE2's JIT ignores the depth and heap limits.
    const pcre2_code *Code()
    {
        if (FCode)
            return FCode.get();
        std::string translated;
        if (const std::int32_t err = TranslatePattern(FPattern, translated))
            Throw(err);
        std::unique_ptr<pcre2_compile_context, CompileContextFree> cc(pcre2_compile_context_create(nullptr));
        if (!cc)
            Throw(E_OUT_OF_MEMORY);
        pcre2_set_newline(cc.get(), PCRE2_NEWLINE_ANYCRLF);
        pcre2_set_bsr(cc.get(), PCRE2_BSR_ANYCRLF);
        pcre2_set_max_pattern_length(cc.get(), kMaxPatternBytes);
        // Without UTF mode one byte is one character; the NEVER options keep a
        // pattern from turning UTF, Unicode properties or \C on by itself.
        std::uint32_t options = PCRE2_ALLOW_EMPTY_CLASS | PCRE2_MATCH_UNSET_BACKREF | PCRE2_NEVER_UTF |
                                PCRE2_NEVER_UCP | PCRE2_NEVER_BACKSLASH_C | PCRE2_AUTO_CALLOUT;
        if (FIgnoreCase)
            options |= PCRE2_CASELESS;
        // Without Multiline "$" matches only at the very end, not before a
        // final line break.
        options |= FMultiline ? PCRE2_MULTILINE : PCRE2_DOLLAR_ENDONLY;
        int code = 0;
        PCRE2_SIZE offset = 0;
        pcre2_code *re = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(translated.data()), translated.size(), options,
                                       &code, &offset, cc.get());
        if (!re)
            Throw(code == PCRE2_ERROR_NOMEMORY ? E_OUT_OF_MEMORY : CompileErrorNumber(code));
        FCode.reset(re);
        std::uint32_t groups = 0;
        pcre2_pattern_info(re, PCRE2_INFO_CAPTURECOUNT, &groups);
        FGroups = groups;
        return re;
    }

    // Calls onMatch with the offsets of the first match, or of every match
    // when `all`.  After an empty match the search goes on one character
    // later.
    template <class OnMatch> void Scan(Interpreter &in, const std::string &subject, bool all, OnMatch &&onMatch)
    {
        const pcre2_code *code = Code();
        std::unique_ptr<pcre2_match_data, MatchDataFree> md(pcre2_match_data_create_from_pattern(code, nullptr));
        if (!md)
            Throw(E_OUT_OF_MEMORY);
        Budget budget;
        budget.In = &in;
        budget.Limit = std::min(kMaxSteps, in.RegExpSteps + kStepsPerByte * subject.size());
        pcre2_set_callout(FMatchContext.get(), CountStep, &budget);
        const auto *text = reinterpret_cast<PCRE2_SPTR>(subject.data());
        std::size_t pos = 0;
        while (pos <= subject.size()) {
            const int rc = pcre2_match(code, text, subject.size(), pos, 0, md.get(), FMatchContext.get());
            if (rc == PCRE2_ERROR_NOMATCH)
                return;
            if (rc < 0) {
                if (budget.Stop)
                    std::rethrow_exception(budget.Stop);
                // Out of steps, backtracking depth or backtracking memory.
                Throw(rc == PCRE2_ERROR_NOMEMORY ? E_OUT_OF_MEMORY : E_OUT_OF_STACK);
            }
            const PCRE2_SIZE *ov = pcre2_get_ovector_pointer(md.get());
            onMatch(ov);
            if (!all)
                return;
            pos = ov[1] > ov[0] ? ov[1] : ov[1] + 1;
        }
    }

    Variant Execute(Interpreter &in, std::string subject)
    {
        Code();
        auto set = std::make_shared<MatchSet>();
        set->Groups = FGroups;
        const std::size_t stride = set->Stride();
        Scan(in, subject, FGlobal, [&](const PCRE2_SIZE *ov) {
            if (set->Offsets.size() + stride > kMaxOffsets)
                Throw(E_OUT_OF_MEMORY);
            for (std::size_t k = 0; k < stride; ++k)
                set->Offsets.push_back(ov[k] == PCRE2_UNSET ? kUnset : static_cast<std::uint32_t>(ov[k]));
        });
        set->Subject = std::move(subject);
        return Variant::Obj(new Matches(std::move(set)));
    }

    std::string Replace(Interpreter &in, const std::string &subject, const std::string &rep)
    {
        std::string out;
        std::size_t last = 0;
        Scan(in, subject, FGlobal, [&](const PCRE2_SIZE *ov) {
            CheckStringSize(out.size() + (ov[0] - last));
            out.append(subject, last, ov[0] - last);
            AppendReplacement(out, rep, subject, ov, FGroups);
            CheckStringSize(out.size());
            last = ov[1];
        });
        CheckStringSize(out.size() + (subject.size() - last));
        out.append(subject, last, std::string::npos);
        return out;
    }
};

} // namespace

Object *NewRegExp() { return new RegExp; }

} // namespace kalvion::vbs
