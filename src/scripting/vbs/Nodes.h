#pragma once
// Concrete expression and statement nodes.
#include "scripting/vbs/Ast.h"
#include "scripting/vbs/Errors.h"
#include "scripting/vbs/MemberCache.h"

#include <new>
#include <string>
#include <vector>

namespace kalvion::vbs {

struct LitExpr final : Expr {
    Variant V;
    Variant Eval(Frame &) override { return V; }
    const Variant *Peek(Frame &) override { return &V; }
};

// A name without parentheses: a variable, a constant, or a call without arguments.
struct VarExpr final : Expr {
    VarExpr() { MayRef = true; }
    NameRef *R = nullptr;
    Variant Eval(Frame &f) override;
    Variant *Ref(Frame &f) override;
    const Variant *Peek(Frame &f) override;
    void Assign(Frame &f, Variant v, bool isSet) override;
    void Call(Frame &f) override;
    // The storage of a plain variable (local, parameter, field, ordinary
    // global) for the fast paths; nullptr for anything else.
    Variant *Plain(Frame &f) const;
};

// A name with an argument list: a call, an array element or a default member.
struct CallExpr final : Expr {
    CallExpr() { MayElementRef = true; }
    NameRef *R = nullptr;
    std::vector<Expr *> Args;
    Variant Eval(Frame &f) override;
    Variant *ElementRef(Frame &f, ArrCell *&locked) override;
    void Assign(Frame &f, Variant v, bool isSet) override;
    void Call(Frame &f) override;
};

struct MemberExpr final : Expr {
    Expr *Obj = nullptr;
    bool HasArgs = false;
    std::string Name;
    std::string LName;
    std::vector<Expr *> Args;
    MemberCache Cache;
    Variant Eval(Frame &f) override;
    void Assign(Frame &f, Variant v, bool isSet) override;
};

// An argument list applied to the result of another expression: f(1)(2).
struct IndexExpr final : Expr {
    Expr *Base = nullptr;
    std::vector<Expr *> Args;
    Variant Eval(Frame &f) override;
    void Assign(Frame &f, Variant v, bool isSet) override;
};

struct ParenExpr final : Expr {
    Expr *E = nullptr;
    Variant Eval(Frame &f) override
    {
        CheckStackSpace();
        return E->Eval(f);
    }
};

// The object of the innermost With block, kept in a hidden local slot.
struct WithObjExpr final : Expr {
    int Slot = 0;
    Variant Eval(Frame &f) override { return f.Locals[Slot]; }
};

// ".name" outside a With block: an error when it runs, not when it compiles.
struct UnqualifiedExpr final : Expr {
    Variant Eval(Frame &) override;
};

// An expression nested deeper than the evaluator goes: "Out of stack space"
// when it runs, so that On Error can catch it.
struct TooDeepExpr final : Expr {
    Variant Eval(Frame &) override;
};

struct MeExpr final : Expr {
    Variant Eval(Frame &f) override;
};

struct NewExpr final : Expr {
    std::string Name;
    std::string LName;
    Variant Eval(Frame &f) override;
};

enum class Op : std::uint8_t {
    Add, Sub, Mul, Div, IntDiv, Mod, Pow, Concat,
    Eq, Ne, Lt, Gt, Le, Ge, Is,
    And, Or, Xor, Eqv, Imp,
    Neg, Not,
};

struct UnaryExpr final : Expr {
    Op O = Op::Neg;
    Expr *E = nullptr;
    Variant Eval(Frame &f) override;
};

struct BinExpr final : Expr {
    Op O = Op::Add;
    Expr *L = nullptr;
    Expr *R = nullptr;
    Variant Eval(Frame &f) override;

    // How each operand is read, worked out on the first evaluation: 0 through
    // Peek/Eval, 1 a local slot, 2 a parameter, 3 a literal, 4 always evaluated.
    struct Access {
        std::int8_t Kind = -1;
        int Slot = 0;
        const Variant *Lit = nullptr;
    };
    static void Classify(Expr *e, Access &a);
    static const Variant *Fetch(Frame &f, Expr *e, const Access &a)
    {
        switch (a.Kind) {
        case 1: return &f.Locals[a.Slot];
        case 2: return f.Refs[a.Slot];
        case 3: return a.Lit;
        case 4: return nullptr;
        default: return e->Peek(f);
        }
    }

private:
    Access FA, FB;
};

// Operators on values (Operators.cpp).
Variant BinaryOp(Op o, const Variant &a, const Variant &b, bool aLit = false, bool bLit = false);
Variant UnaryOp(Op o, const Variant &a);
// -1, 0, 1, or 2 for Null.
int CompareValues(const Variant &a, const Variant &b, bool aLit, bool bLit, bool textCompare = false);
bool ValuesEqualForCase(const Variant &a, const Variant &b, bool bLit);

// ---- statements ----

struct CallStmt final : Stmt {
    Expr *E = nullptr;
    Flow Exec(Frame &f) override;
};

struct AssignStmt final : Stmt {
    Expr *Target = nullptr;
    Expr *Value = nullptr;
    bool IsSet = false;
    Flow Exec(Frame &f) override;

private:
    // "v = v & x", found on the first run: appended in place.
    std::int8_t FForm = -1; // 0 general, 1 append, 2 plain variable target, 3 "v = v +/- x"
    VarExpr *FVar = nullptr;
    BinExpr *FCat = nullptr;
    BinExpr::Access FRight;
    std::int8_t FTargetKind = 0; // 1 local slot, 2 parameter: written without a lookup
    int FTargetSlot = 0;
    Variant *Target0(Frame &f) const;
    Flow Append(Frame &f);
    Flow AddInPlace(Frame &f);
    Flow AddSlow(Frame &f, Variant *p);
};

struct IfStmt final : Stmt {
    std::vector<Expr *> Conds;
    std::vector<Block> Arms;
    Block Else;
    Flow Exec(Frame &f) override;
};

struct SelectStmt final : Stmt {
    Expr *E = nullptr;
    std::vector<std::vector<Expr *>> Values;
    std::vector<Block> Bodies;
    Block Else;
    Flow Exec(Frame &f) override;
};

struct ForStmt final : Stmt {
    Expr *Var = nullptr;
    Expr *From = nullptr, *To = nullptr, *Step = nullptr;
    Block Body;
    Flow Exec(Frame &f) override;
};

struct ForEachStmt final : Stmt {
    Expr *Var = nullptr;
    Expr *Coll = nullptr;
    Block Body;
    Flow Exec(Frame &f) override;
};

struct DoStmt final : Stmt {
    Expr *Cond = nullptr; // nullptr: no condition
    bool PreTest = true;
    bool Until = false;
    bool IsWend = false; // While...Wend: "Exit Do" passes through it
    Block Body;
    Flow Exec(Frame &f) override;
};

struct ExitStmt final : Stmt {
    Flow F = Flow::ExitProc;
    Flow Exec(Frame &) override { return F; }
};

struct DimItem {
    Expr *Var = nullptr;
    std::vector<Expr *> Bounds;
    bool IsArray = false;
};

struct DimStmt final : Stmt {
    std::vector<DimItem> Items;
    Flow Exec(Frame &f) override;
};

struct ReDimStmt final : Stmt {
    bool Preserve = false;
    std::vector<DimItem> Items;
    Flow Exec(Frame &f) override;
};

struct EraseStmt final : Stmt {
    Expr *Var = nullptr;
    Flow Exec(Frame &f) override;
};

struct OnErrorStmt final : Stmt {
    bool Resume = false;
    Flow Exec(Frame &f) override;
};

struct WithStmt final : Stmt {
    Expr *Obj = nullptr;
    int Slot = 0;
    Block Body;
    Flow Exec(Frame &f) override;
};

struct ConstStmt final : Stmt {
    Expr *Target = nullptr;
    Expr *Value = nullptr;
    Flow Exec(Frame &f) override;
};

struct NopStmt final : Stmt {
    Flow Exec(Frame &) override { return Flow::Normal; }
};

// Arguments evaluated into references (by-reference passing) or values.
class ArgPack {
public:
    ArgPack(Frame &f, const std::vector<Expr *> &args, bool byRef);
    Variant **Ptrs() { return FPtrs; }
    int Count() const { return FN; }
    ArgPack(const ArgPack &) = delete;
    ArgPack &operator=(const ArgPack &) = delete;

private:
    static constexpr int kInline = 6;
    // Values made so far; a member, so that they are released even when an
    // argument fails half-way through the constructor.
    struct Temps {
        alignas(Variant) unsigned char Buf[kInline * sizeof(Variant)];
        int Used = 0;
        Variant *Add(Variant &&v)
        {
            Variant *p = new (reinterpret_cast<Variant *>(Buf) + Used) Variant(std::move(v));
            ++Used;
            return p;
        }
        ~Temps()
        {
            for (int i = 0; i < Used; ++i)
                reinterpret_cast<Variant *>(Buf)[i].~Variant();
        }
    } FTmps;
    Variant *FPtrBuf[kInline];
    std::vector<Variant> FHeapTmp;
    std::vector<Variant *> FHeapPtr;
    Variant **FPtrs;
    // Arrays whose elements are passed by reference: locked against ReDim,
    // Erase and reassignment, and kept alive, until the call returns (a
    // member, so that an argument failing half-way unlocks them too).
    struct Locks {
        std::vector<ArrCell *> Cells;
        Locks() = default;
        Locks(const Locks &) = delete;
        Locks &operator=(const Locks &) = delete;
        ~Locks()
        {
            for (ArrCell *a : Cells) {
                --a->Locks;
                ReleaseCell(a);
            }
        }
    } FLocked;
    int FN;
};

} // namespace kalvion::vbs
