#pragma once
// The interpreter of one script run: global names, classes, compiled code,
// the Err object's state, the halt flag and the host's services.
#include "scripting/vbs/Ast.h"
#include "scripting/vbs/Errors.h"
#include "scripting/vbs/Object.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace kalvion::vbs {

struct GlobalSlot {
    std::string Name;
    Variant Value;
    Procedure *Proc = nullptr;
    bool Declared = false;
    bool Const = false;
    bool AssignedAtTop = false; // top-level code assigns it: procedures share it
};

// What a script asks of the program around it.
class HostServices {
public:
    virtual ~HostServices() = default;
    virtual int MsgBox(const std::string &prompt, int buttons, const std::string &title) = 0;
    // nullopt when the user cancelled.
    virtual std::optional<std::string> InputBox(const std::string &prompt, const std::string &title,
                                                const std::string &def) = 0;
};

// Names the program registers for scripts (routines, variables, constants,
// classes).  Implemented by the bridge to the name registry.
class NameProvider {
public:
    virtual ~NameProvider() = default;
    // Resolves a name; fills ref (Kind Bridge with Ptr, or Constant with Value).
    virtual bool Resolve(std::string_view lname, NameRef &ref) = 0;
    virtual Variant Read(Interpreter &in, const NameRef &ref) = 0;
    virtual Variant Call(Interpreter &in, const NameRef &ref, Variant **args, int argc) = 0;
    virtual void Write(Interpreter &in, const NameRef &ref, const Variant &v) = 0;
    // Creates a program object for CreateObject or New; nullptr when unknown.
    virtual Object *CreateObject(Interpreter &in, std::string_view progId) = 0;
};

struct LocaleInfo;
const LocaleInfo &DefaultLocale();

struct BuiltinDef {
    const char *Name;
    int MinArgs, MaxArgs;
    Variant (*Fn)(Frame &f, Variant **a, int n);
};
const BuiltinDef *FindBuiltin(std::string_view lname);
bool FindBuiltinConstant(std::string_view lname, Variant &out);

class Interpreter {
public:
    Interpreter();
    ~Interpreter();
    Interpreter(const Interpreter &) = delete;
    Interpreter &operator=(const Interpreter &) = delete;

    // Compiles a text into the global scope (definitions become visible) and
    // returns its unit; throws ScriptError with line and column on a syntax error.
    CodeUnit *CompileGlobal(std::string_view text);
    // Runs a unit's top-level code.  Errors propagate as ScriptError with the
    // zero-based line and column of the failing statement.
    void RunUnit(CodeUnit *unit);
    // Compiles and runs a whole script.
    void Execute(std::string_view text);

    // Eval/Execute inside a running frame.
    Variant EvalIn(Frame &f, std::string_view text);
    void ExecuteIn(Frame &f, std::string_view text, bool global);

    void AddGlobal(std::string_view name, const Variant &v);
    GlobalSlot *FindGlobal(std::string_view lname);
    GlobalSlot *GlobalFor(std::string_view lname, std::string_view display);

    // Thread-safe: the run stops at its next loop turn or call.
    void Halt() { FHalt.store(true, std::memory_order_relaxed); }
    void ClearHalt() { FHalt.store(false, std::memory_order_relaxed); }
    void SetStepLimit(std::uint64_t limit) { FStepLimit = limit; }
    void Tick()
    {
        if (FHalt.load(std::memory_order_relaxed))
            throw HaltSignal(false);
        if (FStepLimit && ++FSteps > FStepLimit)
            throw HaltSignal(true);
    }

    Variant CallProc(const Procedure *p, Object *me, Variant **args, int argc);
    Variant NewInstance(std::string_view lname, std::string_view display);
    ClassDef *FindClass(std::string_view lname);

    // The Err object.
    void SetErr(const ScriptError &e);
    void ClearErr();
    std::int32_t ErrNumber = 0;
    std::string ErrDescription;
    std::string ErrSource;
    std::string ErrHelpFile;
    std::int32_t ErrHelpContext = 0;

    // Rnd and Randomize.
    double NextRnd(std::optional<double> arg);
    void Randomize(std::optional<double> seed);

    // SetLocale's choice; the conversions of this run read it through ActiveLocale().
    const LocaleInfo *Locale = &DefaultLocale();

    void Track(Object *o) { FTracked.insert(o); }
    void Untrack(Object *o) { FTracked.erase(o); }

    Variant ErrObject; // the Err object, made on first use
    HostServices *Host = nullptr;
    NameProvider *Names = nullptr;
    bool OptionExplicit = false;
    int MaxDepth = 1000;
    // The steps one RegExp Test, Execute or Replace may take before it ends
    // with "Out of stack space" (more for a longer subject); a host that runs
    // many untrusted scripts quickly may lower it.
    std::uint64_t RegExpSteps = 10'000'000;
    int Depth = 0;
    Stmt *Cur = nullptr;
    Object *CurMe = nullptr;
    std::vector<std::unique_ptr<GlobalSlot>> Globals;
    std::unordered_map<std::string, ClassDef *> Classes;

private:
    std::unique_ptr<CodeUnit> Compile(std::string_view text, const Procedure *outer, bool evalExpr);
    void Link(CodeUnit &u, const Procedure *outer);
    void ResolveTop(CodeUnit &u, const Procedure *outer);
    void ResolveProc(Procedure &p);
    void ResolveShared(NameRef &r, bool implicitLocalOk);
    std::unordered_map<std::string, GlobalSlot *> FGlobalIndex;
    std::vector<std::unique_ptr<CodeUnit>> FUnits;
    std::unordered_set<Object *> FTracked;
    std::atomic<bool> FHalt{false};
    std::uint64_t FStepLimit = 0;
    std::uint64_t FSteps = 0;
    std::uint32_t FRndSeed = 0x50000; // the generator's state is also the last number it gave
    Interpreter *FPrevCurrent = nullptr;
    friend class CurrentScope;
};

Interpreter &CurrentInterpreter();

// Makes an interpreter the current one of this thread for conversions that
// need to read an object's default property.
class CurrentScope {
public:
    explicit CurrentScope(Interpreter &in);
    ~CurrentScope();

private:
    Interpreter *FPrev;
};

// Array helpers.
ArrCell *NewArray(const std::vector<std::int32_t> &bounds);
Variant *ArrayElement(ArrCell *a, Variant **idx, int n);
Variant MakeArray(std::vector<Variant> items);

// Assigns with Set/Let semantics: Let reads an object's default value, Set
// requires an object.
Variant LetValue(Variant v);
void CheckSetValue(const Variant &v);

} // namespace kalvion::vbs
