// Compiling, linking names to slots, running units, Eval and Execute.
#include "scripting/vbs/Interpreter.h"

#include "base/AsciiText.h"
#include "scripting/vbs/Instance.h"
#include "scripting/vbs/Lexer.h"
#include "scripting/vbs/Locale.h"
#include "scripting/vbs/Nodes.h"
#include "scripting/vbs/Parser.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <unordered_set>

namespace kalvion::vbs {

namespace {
thread_local Interpreter *gCurrent = nullptr;
}

Interpreter &CurrentInterpreter()
{
    if (!gCurrent)
        Throw(E_INTERNAL);
    return *gCurrent;
}

const LocaleInfo &ActiveLocale() { return gCurrent ? *gCurrent->Locale : DefaultLocale(); }

CurrentScope::CurrentScope(Interpreter &in) : FPrev(gCurrent) { gCurrent = &in; }
CurrentScope::~CurrentScope() { gCurrent = FPrev; }

Interpreter::Interpreter() = default;

Interpreter::~Interpreter()
{
    CurrentScope cs(*this);
    // Globals go first, in order, so that class instances run their
    // terminate handlers while the code they need still exists.
    FHalt.store(false);
    FStepLimit = 100000;
    FSteps = 0;
    ErrObject = Variant();
    // By index: a terminate handler may still add globals (ExecuteGlobal).
    for (std::size_t i = 0; i < Globals.size(); ++i) {
        try {
            Variant drop = std::move(Globals[i]->Value);
        } catch (...) {
        }
    }
    // Whatever is left lives in reference cycles: empty every object so
    // the cycles fall apart without running any more script code.
    std::vector<Object *> live(FTracked.begin(), FTracked.end());
    for (Object *o : live)
        AddRefCell(o);
    for (Object *o : live) {
        if (auto *i = dynamic_cast<Instance *>(o)) {
            i->Terminated = true;
        }
        o->Teardown();
    }
    for (Object *o : live) {
        if (auto *i = dynamic_cast<Instance *>(o))
            i->In = nullptr;
        FTracked.erase(o);
        ReleaseCell(o);
    }
    for (Object *o : std::vector<Object *>(FTracked.begin(), FTracked.end()))
        if (auto *i = dynamic_cast<Instance *>(o))
            i->In = nullptr;
    Globals.clear();
}

GlobalSlot *Interpreter::FindGlobal(std::string_view lname)
{
    auto it = FGlobalIndex.find(std::string(lname));
    return it == FGlobalIndex.end() ? nullptr : it->second;
}

GlobalSlot *Interpreter::GlobalFor(std::string_view lname, std::string_view display)
{
    if (GlobalSlot *g = FindGlobal(lname))
        return g;
    auto g = std::make_unique<GlobalSlot>();
    g->Name = std::string(display);
    GlobalSlot *raw = g.get();
    Globals.push_back(std::move(g));
    FGlobalIndex.emplace(std::string(lname), raw);
    return raw;
}

void Interpreter::AddGlobal(std::string_view name, const Variant &v)
{
    GlobalSlot *g = GlobalFor(AsciiLower(name), name);
    g->Declared = true;
    g->Value = v;
}

ClassDef *Interpreter::FindClass(std::string_view lname)
{
    auto it = Classes.find(std::string(lname));
    return it == Classes.end() ? nullptr : it->second;
}

void Interpreter::SetErr(const ScriptError &e)
{
    ErrNumber = e.Number;
    ErrDescription = e.Description;
    ErrSource = e.Source.empty() ? kRuntimeErrorSource : e.Source;
    ErrHelpFile = e.HelpFile;
    ErrHelpContext = e.HelpContext;
}

void Interpreter::ClearErr()
{
    ErrNumber = 0;
    ErrDescription.clear();
    ErrSource.clear();
    ErrHelpFile.clear();
    ErrHelpContext = 0;
}

double Interpreter::NextRnd(std::optional<double> arg)
{
    // Rnd(0) repeats the last number, which before any call is the seed itself.
    if (arg && *arg == 0)
        return FRndSeed / 16777216.0;
    if (arg && *arg < 0) {
        float f = static_cast<float>(*arg);
        std::uint32_t bits;
        std::memcpy(&bits, &f, sizeof bits);
        FRndSeed = (bits + (bits >> 24)) & 0xFFFFFF;
    }
    FRndSeed = (FRndSeed * 1140671485u + 12820163u) & 0xFFFFFF;
    return FRndSeed / 16777216.0;
}

void Interpreter::Randomize(std::optional<double> seed)
{
    double s = seed ? *seed
                    : static_cast<double>(std::chrono::steady_clock::now().time_since_epoch().count() % 86400000) / 1000.0;
    std::uint64_t bits;
    std::memcpy(&bits, &s, sizeof bits);
    const std::uint32_t mix = static_cast<std::uint32_t>(bits >> 32) ^ static_cast<std::uint32_t>(bits);
    FRndSeed = (FRndSeed & 0xFF) | ((mix ^ (mix >> 8)) & 0xFFFF00);
}

// ---- compiling and linking ----

std::unique_ptr<CodeUnit> Interpreter::Compile(std::string_view text, const Procedure *outer, bool evalExpr)
{
    auto u = std::make_unique<CodeUnit>();
    auto toks = Tokenize(text);
    if (evalExpr)
        ParseExpression(std::move(toks), *u);
    else
        ParseProgram(std::move(toks), *u);
    Link(*u, outer);
    return u;
}

namespace {
[[noreturn]] void FailAt(std::int32_t code, int line, int col)
{
    ScriptError e(code);
    e.Line = line;
    e.Column = col;
    throw e;
}
} // namespace

void Interpreter::Link(CodeUnit &u, const Procedure *outer)
{
    if (u.OptionExplicit)
        OptionExplicit = true;
    std::unordered_set<std::string> names;
    for (auto &c : u.Classes) {
        if (!names.insert(c->LName).second)
            FailAt(S_NAME_REDEFINED, 0, 0);
    }
    // A procedure defined twice is the later definition; a procedure and a
    // class of one name are an error.
    std::unordered_set<std::string> procNames;
    for (auto &p : u.Procs) {
        if (p->Class)
            continue;
        if (names.count(p->LName))
            FailAt(S_NAME_REDEFINED, p->Line, p->Col);
        procNames.insert(p->LName);
    }
    names.insert(procNames.begin(), procNames.end());
    for (const auto &d : u.Top.Declared)
        if (names.count(d))
            FailAt(S_NAME_REDEFINED, 0, 0);
    // Only now, with no error left to find, do the names become visible.
    for (auto &c : u.Classes)
        Classes[c->LName] = c.get();
    for (auto &p : u.Procs) {
        if (p->Class)
            continue;
        GlobalSlot *g = GlobalFor(p->LName, p->Name);
        g->Proc = p.get();
        g->Declared = true;
    }
    const bool globalScope = !outer || outer->IsTop;
    if (globalScope) {
        for (const auto &d : u.Top.Declared) {
            GlobalSlot *g = GlobalFor(d, d);
            g->Declared = true;
            if (std::find(u.Top.ConstNames.begin(), u.Top.ConstNames.end(), d) != u.Top.ConstNames.end())
                g->Const = true;
        }
    } else {
        // Dim in a snippet that Execute runs inside a procedure: a name the
        // procedure does not have becomes a declared variable, so that Option
        // Explicit accepts it after the snippet too.
        for (const auto &d : u.Top.Declared)
            if (!outer->LocalIndex.count(d))
                GlobalFor(d, d)->Declared = true;
    }
    // ReDim of an undeclared name declares it.
    if (globalScope)
        for (const auto &d : u.Top.ReDimNames)
            GlobalFor(d, d)->Declared = true;
    ResolveTop(u, outer);
    for (auto &p : u.Procs)
        ResolveProc(*p);
}

void Interpreter::ResolveShared(NameRef &r, bool)
{
    if (GlobalSlot *g = FindGlobal(r.LName); g && (g->Declared || g->Proc)) {
        r.Kind = RefKind::Global;
        r.Ptr = g;
        return;
    }
    if (FindBuiltinConstant(r.LName, r.Value)) {
        r.Kind = RefKind::Constant;
        return;
    }
    // A name the program registers comes before a built-in function of the
    // same name: the program's isNull also answers for nil objects.
    if (Names && Names->Resolve(r.LName, r))
        return;
    if (const BuiltinDef *b = FindBuiltin(r.LName)) {
        r.Kind = RefKind::Builtin;
        r.Ptr = b;
        return;
    }
    r.Ptr = GlobalFor(r.LName, r.Name);
    r.Kind = OptionExplicit ? RefKind::GlobalChecked : RefKind::Global;
}

void Interpreter::ResolveTop(CodeUnit &u, const Procedure *outer)
{
    const bool local = outer && !outer->IsTop;
    for (NameRef *r : u.Top.Uses) {
        if (local) {
            if (r->LName == outer->LName && (outer->K == Procedure::Function || outer->K == Procedure::PropGet) &&
                !r->SelfCall) {
                r->Kind = RefKind::OuterLocal;
                r->Slot = 0;
                continue;
            }
            auto it = outer->LocalIndex.find(r->LName);
            if (it != outer->LocalIndex.end()) {
                const int s = it->second;
                if (s >= 1 && s <= outer->NParams()) {
                    r->Kind = RefKind::OuterParam;
                    r->Slot = s - 1;
                } else {
                    r->Kind = RefKind::OuterLocal;
                    r->Slot = s;
                }
                continue;
            }
            if (outer->Class) {
                auto m = outer->Class->Members.find(r->LName);
                if (m != outer->Class->Members.end()) {
                    if (m->second.Field >= 0) {
                        r->Kind = RefKind::MeField;
                        r->Slot = m->second.Field;
                    } else {
                        r->Kind = RefKind::MeMember;
                    }
                    continue;
                }
            }
        }
        ResolveShared(*r, false);
        if (r->Assigned && (r->Kind == RefKind::Global || r->Kind == RefKind::GlobalChecked))
            static_cast<GlobalSlot *>(const_cast<void *>(r->Ptr))->AssignedAtTop = true;
    }
}

void Interpreter::ResolveProc(Procedure &p)
{
    const bool hasRetName = p.K == Procedure::Function || p.K == Procedure::PropGet;
    auto known = [&](const NameRef &r) {
        if (hasRetName && r.LName == p.LName)
            return true;
        if (p.LocalIndex.count(r.LName))
            return true;
        if (p.Class && p.Class->Members.count(r.LName))
            return true;
        // Globals, top-level variables made by assignment included.
        if (GlobalSlot *g = FindGlobal(r.LName); g && (g->Declared || g->Proc || g->AssignedAtTop))
            return true;
        Variant dummy;
        if (FindBuiltinConstant(r.LName, dummy) || FindBuiltin(r.LName))
            return true;
        NameRef probe;
        probe.LName = r.LName;
        return Names && Names->Resolve(r.LName, probe);
    };
    for (const std::string &n : p.ReDimNames) {
        if (p.LocalIndex.count(n) || (hasRetName && n == p.LName))
            continue;
        NameRef probe;
        probe.LName = n;
        if (!known(probe))
            p.LocalIndex[n] = p.NLocals++;
    }
    if (!OptionExplicit) {
        // An undeclared name is a local of the procedure unless it is only
        // ever called (a procedure that may still be defined by ExecuteGlobal).
        std::unordered_map<std::string, std::pair<bool, bool>> use; // assigned, called
        for (NameRef *r : p.Uses) {
            auto &u = use[r->LName];
            u.first = u.first || r->Assigned;
            u.second = u.second || r->CalledAs || r->SelfCall;
        }
        for (NameRef *r : p.Uses) {
            const auto &u = use[r->LName];
            if ((u.first || !u.second) && !p.LocalIndex.count(r->LName) && !known(*r))
                p.LocalIndex[r->LName] = p.NLocals++;
        }
    }
    for (NameRef *r : p.Uses) {
        if (hasRetName && r->LName == p.LName && !r->SelfCall) {
            r->Kind = RefKind::Local;
            r->Slot = 0;
            continue;
        }
        auto it = p.LocalIndex.find(r->LName);
        if (it != p.LocalIndex.end()) {
            const int s = it->second;
            if (s >= 1 && s <= p.NParams()) {
                r->Kind = RefKind::Param;
                r->Slot = s - 1;
            } else {
                r->Kind = RefKind::Local;
                r->Slot = s;
            }
            continue;
        }
        if (p.Class) {
            auto m = p.Class->Members.find(r->LName);
            if (m != p.Class->Members.end()) {
                if (m->second.Field >= 0) {
                    r->Kind = RefKind::MeField;
                    r->Slot = m->second.Field;
                } else {
                    r->Kind = RefKind::MeMember;
                }
                continue;
            }
        }
        ResolveShared(*r, true);
    }
}

CodeUnit *Interpreter::CompileGlobal(std::string_view text)
{
    auto u = Compile(text, nullptr, false);
    CodeUnit *raw = u.get();
    FUnits.push_back(std::move(u));
    return raw;
}

namespace {
class LocalArray {
public:
    explicit LocalArray(int n) : FV(static_cast<std::size_t>(n)) {}
    Variant *Data() { return FV.data(); }

private:
    std::vector<Variant> FV;
};
} // namespace

void Interpreter::RunUnit(CodeUnit *u)
{
    CurrentScope cs(*this);
    LocalArray locals(u->Top.NLocals);
    Frame f;
    f.In = this;
    f.Locals = locals.Data();
    f.Proc = &u->Top;
    try {
        ExecBlock(u->Top.Consts, f);
        ExecBlock(u->Top.Body, f);
    } catch (ScriptError &e) {
        if (e.Line < 0 && Cur) {
            e.Line = Cur->Line;
            e.Column = Cur->Col;
        }
        throw;
    }
}

void Interpreter::Execute(std::string_view text) { RunUnit(CompileGlobal(text)); }

Variant Interpreter::EvalIn(Frame &f, std::string_view text)
{
    Frame *scope = f.Outer ? f.Outer : &f;
    const Procedure *outer = scope->Proc;
    std::unique_ptr<CodeUnit> u;
    try {
        u = Compile(text, outer, true);
    } catch (ScriptError &e) {
        // Eval's own expression parser reports a missing operand as a plain
        // syntax error, not as the statement parser's "Expected expression".
        if (e.Number == S_EXPECTED_EXPR) {
            e.Number = S_SYNTAX;
            e.Description = ErrorDescription(S_SYNTAX);
        }
        e.Source = kCompileErrorSource;
        e.Line = e.Column = -1;
        throw;
    }
    LocalArray locals(u->Top.NLocals);
    Frame sf;
    sf.In = this;
    sf.Locals = locals.Data();
    sf.Outer = (outer && !outer->IsTop) ? scope : nullptr;
    sf.Me = scope->Me;
    sf.Proc = &u->Top;
    Stmt *saved = Cur;
    Variant r = u->EvalExpr->Eval(sf);
    Cur = saved;
    return r;
}

void Interpreter::ExecuteIn(Frame &f, std::string_view text, bool global)
{
    Frame *scope = f.Outer ? f.Outer : &f;
    const Procedure *outer = global ? nullptr : scope->Proc;
    std::unique_ptr<CodeUnit> u;
    try {
        u = Compile(text, outer, false);
    } catch (ScriptError &e) {
        e.Source = kCompileErrorSource;
        e.Line = e.Column = -1;
        throw;
    }
    LocalArray locals(u->Top.NLocals);
    Frame sf;
    sf.In = this;
    sf.Locals = locals.Data();
    sf.Outer = (outer && !outer->IsTop) ? scope : nullptr;
    sf.Me = global ? nullptr : scope->Me;
    sf.Proc = &u->Top;
    Stmt *saved = Cur;
    CodeUnit *raw = u.get();
    if (u->DefinesNames)
        FUnits.push_back(std::move(u));
    try {
        ExecBlock(raw->Top.Consts, sf);
        ExecBlock(raw->Top.Body, sf);
    } catch (ScriptError &e) {
        Cur = saved;
        e.Line = e.Column = -1;
        throw;
    }
    Cur = saved;
}

} // namespace kalvion::vbs
