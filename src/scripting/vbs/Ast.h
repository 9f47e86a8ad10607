#pragma once
// The parsed program: expression and statement nodes with every name resolved
// to a slot (local, parameter, global, class field) before anything runs.
#include "scripting/vbs/Variant.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace kalvion::vbs {

class Interpreter;
class Object;
struct Procedure;
struct ClassDef;
struct BuiltinDef;

struct Frame {
    Interpreter *In = nullptr;
    Variant *Locals = nullptr;
    Variant **Refs = nullptr; // one per parameter: the caller's variable or the local copy
    Object *Me = nullptr;
    const Procedure *Proc = nullptr;
    Frame *Outer = nullptr; // the frame an Execute or Eval snippet runs inside
    bool ResumeNext = false;
};

enum class RefKind : std::uint8_t {
    Unresolved,
    Local,         // Slot in Locals
    Param,         // Slot-th parameter, through Refs
    Global,        // Slot in the interpreter's globals
    GlobalChecked, // like Global, but "Variable is undefined" until declared (Option Explicit)
    MeField,       // Slot in the current instance's fields
    MeMember,      // a method or property of the current class, by name
    Builtin,       // Ptr: BuiltinDef
    Constant,      // Value
    Bridge,        // Ptr: a registry entry (routine, variable)
    OuterLocal,    // Slot in the enclosing frame's Locals (Execute/Eval inside a procedure)
    OuterParam,    // Slot-th parameter of the enclosing frame
};

struct NameRef {
    std::string Name;  // as written
    std::string LName; // lower case
    RefKind Kind = RefKind::Unresolved;
    int Slot = -1;
    const void *Ptr = nullptr;
    Variant Value;
    bool Assigned = false;   // the code assigns to it (makes an implicit local in a procedure)
    bool SelfCall = false;   // the function's own name used with parentheses: a recursive call
    bool CalledAs = false;   // used as a procedure: "Name args", "Name(args)" or "Call Name"
    int Line = 0, Col = 0;
};

struct Node {
    int Line = 0, Col = 0;
    virtual ~Node() = default;
};

struct Expr : Node {
    virtual Variant Eval(Frame &f) = 0;
    // The variable behind the expression, for by-reference arguments; nullptr
    // when the expression is a value.
    virtual Variant *Ref(Frame &) { return nullptr; }
    // The value in place, without a copy, when the expression is a variable
    // or a literal; nullptr otherwise.
    virtual const Variant *Peek(Frame &f) { return Ref(f); }
    virtual void Assign(Frame &f, Variant v, bool isSet);
    // Runs the expression as a statement (a Sub call).
    virtual void Call(Frame &f) { Eval(f); }
    bool IsStrLit = false;
    bool IsNumLit = false;
    bool MayRef = false; // only variables can be passed by reference
    // An element of an array variable, passed by reference: the element in
    // place, its array locked (and held) in `locked` until the call is over.
    // nullptr when the expression is not such an element; then nothing of it
    // has been evaluated yet.
    virtual Variant *ElementRef(Frame &, ArrCell *&) { return nullptr; }
    bool MayElementRef = false;
};

enum class Flow : std::uint8_t { Normal, ExitFor, ExitDo, ExitProc };

struct Stmt : Node {
    virtual Flow Exec(Frame &f) = 0;
};

using Block = std::vector<Stmt *>;

Flow ExecBlock(const Block &b, Frame &f);

struct Procedure {
    std::string Name;
    std::string LName;
    enum Kind { Sub, Function, PropGet, PropLet, PropSet } K = Sub;
    bool Public = true;
    bool IsDefault = false;
    std::vector<std::string> ParamNames;
    std::vector<bool> ByRef;
    std::vector<bool> ParamIsArray; // "p()" in the parameter list
    int NLocals = 1;                // slot 0 is the return value, then parameters, then locals
    std::unordered_map<std::string, int> LocalIndex; // lower-case name -> slot
    std::vector<NameRef *> Uses;
    std::vector<std::string> Declared; // lower-case names declared with Dim/Const/ReDim
    std::vector<std::string> ConstNames;
    std::vector<std::string> ReDimNames; // lower-case names given to ReDim: declared by it when undeclared
    bool IsTop = false;
    Block Consts;
    Block Body;
    ClassDef *Class = nullptr;
    int Line = 0, Col = 0;
    int NParams() const { return static_cast<int>(ParamNames.size()); }
};

struct ClassMember {
    int Field = -1;
    bool Public = true;
    Procedure *Get = nullptr;
    Procedure *Let = nullptr;
    Procedure *Set = nullptr;
    Procedure *Method = nullptr;
};

struct FieldInit {
    int Field;
    std::vector<int> Bounds; // empty: plain variable; {-1}: dynamic array
};

struct ClassDef {
    std::string Name;
    std::string LName;
    std::vector<std::string> FieldNames;
    std::vector<FieldInit> FieldInits;
    std::unordered_map<std::string, ClassMember> Members;
    std::string DefaultMember;
    Procedure *Init = nullptr;
    Procedure *Term = nullptr;
};

// One compiled piece of text: the main script, an included ExecuteGlobal text
// or an Eval/Execute snippet.  Owns its nodes, procedures and classes.
struct CodeUnit {
    std::vector<std::unique_ptr<Node>> Nodes;
    std::vector<std::unique_ptr<NameRef>> Names;
    std::vector<std::unique_ptr<Procedure>> Procs;
    std::vector<std::unique_ptr<ClassDef>> Classes;
    Procedure Top; // top-level code: its locals are hidden slots only
    Expr *EvalExpr = nullptr; // set for Eval snippets
    bool DefinesNames = false; // procedures or classes that must outlive the run of the snippet
    bool OptionExplicit = false;

    template <class T, class... A>
    T *Make(int line, int col, A &&...a)
    {
        auto p = std::make_unique<T>(std::forward<A>(a)...);
        p->Line = line;
        p->Col = col;
        T *raw = p.get();
        Nodes.push_back(std::move(p));
        return raw;
    }
};

} // namespace kalvion::vbs
