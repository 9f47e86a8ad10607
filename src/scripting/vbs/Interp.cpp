// Evaluation of expression and statement nodes, procedure calls and class
// instances.
#include "scripting/vbs/Convert.h"
#include "scripting/vbs/Instance.h"
#include "scripting/vbs/Interpreter.h"
#include "scripting/vbs/Nodes.h"
#include "scripting/vbs/RegExpObject.h"

#include <cmath>
#include <new>

namespace kalvion::vbs {

namespace {

inline GlobalSlot *G(const NameRef *r) { return static_cast<GlobalSlot *>(const_cast<void *>(r->Ptr)); }
inline Instance *Me(Frame &f) { return static_cast<Instance *>(f.Me); }

// An array one of whose elements is passed by reference cannot be replaced
// until that call returns.
inline void CheckNotLocked(const Variant &slot)
{
    if (slot.IsArray() && slot.RawArr() && slot.RawArr()->Locks > 0)
        Throw(E_ARRAY_FIXED);
}

// The storage behind a variable reference; nullptr for names that are not variables.
inline Variant *SlotPtr(Frame &f, const NameRef *r)
{
    switch (r->Kind) {
    case RefKind::Local: return &f.Locals[r->Slot];
    case RefKind::Param: return f.Refs[r->Slot];
    case RefKind::Global: {
        GlobalSlot *g = G(r);
        return g->Proc || g->Const ? nullptr : &g->Value;
    }
    case RefKind::GlobalChecked: {
        GlobalSlot *g = G(r);
        if (!g->Declared && !g->Proc)
            ThrowNamed(E_UNDEFINED_VAR, r->Name);
        return g->Proc || g->Const ? nullptr : &g->Value;
    }
    case RefKind::MeField: return &Me(f)->Fields[r->Slot];
    case RefKind::OuterLocal: return &f.Outer->Locals[r->Slot];
    case RefKind::OuterParam: return f.Outer->Refs[r->Slot];
    default: return nullptr;
    }
}

bool Truthy(const Variant &v)
{
    if (v.Type() == VT_BOOL)
        return v.RawInt() != 0;
    if (v.IsNull())
        return false;
    return ToBool(v);
}

Variant IndexValue(Frame &f, const Variant &base, const std::vector<Expr *> &args, const std::string &name)
{
    if (base.IsArray()) {
        ArgPack idx(f, args, false);
        return *ArrayElement(base.RawArr(), idx.Ptrs(), idx.Count());
    }
    if (base.IsObject()) {
        Object *o = base.RawObj();
        if (!o || !o->Alive())
            ThrowNamed(E_OBJECT_REQUIRED, name);
        ObjHold hold(o);
        ArgPack a(f, args, true);
        return o->Invoke(*f.In, {}, InvokeKind::Get, a.Ptrs(), a.Count());
    }
    if (name.empty())
        Throw(E_TYPE_MISMATCH);
    ThrowNamed(E_TYPE_MISMATCH, name);
}

void AssignIndexed(Frame &f, Variant *slot, const std::vector<Expr *> &args, Variant v, bool isSet,
                   const std::string &name)
{
    if (slot->IsArray()) {
        ArgPack idx(f, args, false);
        ArrCell *a = slot->MutableArr();
        *ArrayElement(a, idx.Ptrs(), idx.Count()) = std::move(v);
        return;
    }
    if (slot->IsObject()) {
        Variant hold = *slot;
        Object *o = hold.RawObj();
        if (!o || !o->Alive())
            ThrowNamed(E_OBJECT_REQUIRED, name);
        ArgPack a(f, args, true);
        o->Put(*f.In, {}, isSet, a.Ptrs(), a.Count(), v);
        return;
    }
    ThrowNamed(E_TYPE_MISMATCH, name);
}

std::string NameOf(const Expr *e)
{
    if (auto *v = dynamic_cast<const VarExpr *>(e))
        return v->R->Name;
    if (auto *c = dynamic_cast<const CallExpr *>(e))
        return c->R->Name;
    if (auto *m = dynamic_cast<const MemberExpr *>(e))
        return m->Name;
    return {};
}

Object *RequireObject(const Variant &o, const Expr *src)
{
    Object *p = o.RawObj();
    if (!o.IsObject() || !p || !p->Alive()) {
        const std::string n = NameOf(src);
        if (n.empty())
            Throw(E_OBJECT_REQUIRED);
        ThrowNamed(E_OBJECT_REQUIRED, n);
    }
    return p;
}

// The conversion functions give back a value of their own kind, which a call
// made as a statement has nowhere to put.
bool IsConversion(const BuiltinDef *b)
{
    static constexpr std::string_view kNames[] = {"CBool", "CByte", "CCur", "CDate", "CDbl",
                                                  "CInt",  "CLng",  "CSng", "CStr"};
    for (std::string_view n : kNames)
        if (n == b->Name)
            return true;
    return false;
}

Variant CallBuiltin(Frame &f, const BuiltinDef *b, const std::vector<Expr *> &args)
{
    const int n = static_cast<int>(args.size());
    if (n < b->MinArgs || n > b->MaxArgs)
        ThrowNamed(E_WRONG_ARGS, b->Name);
    ArgPack a(f, args, false);
    return b->Fn(f, a.Ptrs(), a.Count());
}

// An integer result of at least Integer (rank 2) or Long (rank 3) width.
inline Variant CounterValue(std::int64_t r, int rank)
{
    if (rank <= 2 && r >= -32768 && r <= 32767)
        return Variant::Int(static_cast<std::int32_t>(r));
    if (r >= INT32_MIN && r <= INT32_MAX)
        return Variant::Long(static_cast<std::int32_t>(r));
    return Variant::Dbl(static_cast<double>(r));
}

class LocalStore {
public:
    explicit LocalStore(int n) : FN(n)
    {
        if (n <= kInline) {
            FP = reinterpret_cast<Variant *>(FBuf);
            for (int i = 0; i < n; ++i)
                new (FP + i) Variant();
        } else {
            FHeap.reset(new Variant[static_cast<std::size_t>(n)]);
            FP = FHeap.get();
        }
    }
    ~LocalStore()
    {
        if (!FHeap)
            for (int i = 0; i < FN; ++i)
                FP[i].~Variant();
    }
    Variant *Data() { return FP; }

private:
    static constexpr int kInline = 12;
    alignas(Variant) unsigned char FBuf[kInline * sizeof(Variant)];
    std::unique_ptr<Variant[]> FHeap;
    Variant *FP;
    int FN;
};

} // namespace

// ---- arguments ----

ArgPack::ArgPack(Frame &f, const std::vector<Expr *> &args, bool byRef) : FN(static_cast<int>(args.size()))
{
    FPtrs = FPtrBuf;
    if (FN > kInline) {
        FHeapTmp.resize(static_cast<std::size_t>(FN));
        FHeapPtr.resize(static_cast<std::size_t>(FN));
        FPtrs = FHeapPtr.data();
    }
    for (int i = 0; i < FN; ++i) {
        Expr *e = args[static_cast<std::size_t>(i)];
        Variant *r = nullptr;
        if (byRef) {
            if (e->MayRef) {
                r = e->Ref(f);
            } else if (e->MayElementRef) {
                ArrCell *locked = nullptr;
                r = e->ElementRef(f, locked);
                if (locked) {
                    try {
                        FLocked.Cells.push_back(locked);
                    } catch (...) {
                        --locked->Locks;
                        ReleaseCell(locked);
                        throw;
                    }
                }
            }
        }
        if (r) {
            FPtrs[i] = r;
        } else if (FN > kInline) {
            FHeapTmp[static_cast<std::size_t>(i)] = e->Eval(f);
            FPtrs[i] = &FHeapTmp[static_cast<std::size_t>(i)];
        } else {
            FPtrs[i] = FTmps.Add(e->Eval(f));
        }
    }
}

// ---- expressions ----

void Expr::Assign(Frame &, Variant, bool) { Throw(E_ILLEGAL_ASSIGN); }

Variant LetValue(Variant v)
{
    if (v.IsObject())
        return DefaultValue(v);
    return v;
}

void CheckSetValue(const Variant &v)
{
    if (!v.IsObject())
        Throw(E_OBJECT_REQUIRED);
}

Variant VarExpr::Eval(Frame &f)
{
    switch (R->Kind) {
    case RefKind::Local: return f.Locals[R->Slot];
    case RefKind::Param: return *f.Refs[R->Slot];
    case RefKind::GlobalChecked:
        if (!G(R)->Declared && !G(R)->Proc)
            ThrowNamed(E_UNDEFINED_VAR, R->Name);
        [[fallthrough]];
    case RefKind::Global: {
        GlobalSlot *g = G(R);
        if (g->Proc)
            return f.In->CallProc(g->Proc, nullptr, nullptr, 0);
        return g->Value;
    }
    case RefKind::MeField: return Me(f)->Fields[R->Slot];
    case RefKind::MeMember: {
        ObjHold hold(f.Me);
        return f.Me->Invoke(*f.In, R->LName, InvokeKind::Get, nullptr, 0);
    }
    case RefKind::Builtin: {
        auto *b = static_cast<const BuiltinDef *>(R->Ptr);
        if (b->MinArgs > 0)
            ThrowNamed(E_WRONG_ARGS, b->Name);
        return b->Fn(f, nullptr, 0);
    }
    case RefKind::Constant: return R->Value;
    case RefKind::Bridge: return f.In->Names->Read(*f.In, *R);
    case RefKind::OuterLocal: return f.Outer->Locals[R->Slot];
    case RefKind::OuterParam: return *f.Outer->Refs[R->Slot];
    default: Throw(E_INTERNAL);
    }
}

Variant *VarExpr::Ref(Frame &f) { return SlotPtr(f, R); }

const Variant *VarExpr::Peek(Frame &f)
{
    switch (R->Kind) {
    case RefKind::Local: return &f.Locals[R->Slot];
    case RefKind::Param: return f.Refs[R->Slot];
    case RefKind::Constant: return &R->Value;
    default: return SlotPtr(f, R);
    }
}

Variant *VarExpr::Plain(Frame &f) const
{
    switch (R->Kind) {
    case RefKind::Local: return &f.Locals[R->Slot];
    case RefKind::Param: return f.Refs[R->Slot];
    case RefKind::MeField: return &Me(f)->Fields[R->Slot];
    case RefKind::Global: return !G(R)->Proc && !G(R)->Const ? &G(R)->Value : nullptr;
    default: return nullptr;
    }
}

void VarExpr::Assign(Frame &f, Variant v, bool isSet)
{
    if (!isSet && !v.IsObject()) {
        Variant *p = nullptr;
        switch (R->Kind) {
        case RefKind::Local: p = &f.Locals[R->Slot]; break;
        case RefKind::Param: p = f.Refs[R->Slot]; break;
        case RefKind::MeField: p = &Me(f)->Fields[R->Slot]; break;
        case RefKind::Global:
            if (!G(R)->Proc && !G(R)->Const)
                p = &G(R)->Value;
            break;
        default: break;
        }
        if (p) {
            CheckNotLocked(*p);
            *p = std::move(v);
            return;
        }
    }
    if (isSet)
        CheckSetValue(v);
    else if (R->Kind != RefKind::MeMember) // the class decides (a Property Let gets the object)
        v = LetValue(std::move(v));
    switch (R->Kind) {
    case RefKind::MeMember: {
        ObjHold hold(f.Me);
        f.Me->Put(*f.In, R->LName, isSet, nullptr, 0, v);
        return;
    }
    case RefKind::Bridge: f.In->Names->Write(*f.In, *R, v); return;
    case RefKind::Builtin:
    case RefKind::Constant: ThrowNamed(E_ILLEGAL_ASSIGN, R->Name);
    default: break;
    }
    Variant *p = SlotPtr(f, R);
    if (!p)
        ThrowNamed(E_ILLEGAL_ASSIGN, R->Name);
    CheckNotLocked(*p);
    *p = std::move(v);
}

void VarExpr::Call(Frame &f)
{
    switch (R->Kind) {
    case RefKind::Global:
    case RefKind::GlobalChecked:
        if (G(R)->Proc) {
            f.In->CallProc(G(R)->Proc, nullptr, nullptr, 0);
            return;
        }
        break;
    case RefKind::MeMember: {
        ObjHold hold(f.Me);
        f.Me->Invoke(*f.In, R->LName, InvokeKind::Call, nullptr, 0);
        return;
    }
    case RefKind::Builtin:
    case RefKind::Bridge:
        Eval(f);
        return;
    default: break;
    }
    Variant v = Eval(f);
    if (v.IsObject()) {
        Object *o = RequireObject(v, this);
        o->Invoke(*f.In, {}, InvokeKind::Call, nullptr, 0);
        return;
    }
    ThrowNamed(E_TYPE_MISMATCH, R->Name);
}

Variant CallExpr::Eval(Frame &f)
{
    CheckStackSpace();
    switch (R->Kind) {
    case RefKind::GlobalChecked:
        if (!G(R)->Declared && !G(R)->Proc)
            ThrowNamed(E_UNDEFINED_VAR, R->Name);
        [[fallthrough]];
    case RefKind::Global: {
        GlobalSlot *g = G(R);
        if (g->Proc) {
            ArgPack a(f, Args, true);
            Stmt *cur = f.In->Cur;
            Variant r = f.In->CallProc(g->Proc, nullptr, a.Ptrs(), a.Count());
            f.In->Cur = cur;
            return r;
        }
        return IndexValue(f, g->Value, Args, R->Name);
    }
    case RefKind::MeMember: {
        ObjHold hold(f.Me);
        ArgPack a(f, Args, true);
        Stmt *cur = f.In->Cur;
        Variant r = f.Me->Invoke(*f.In, R->LName, InvokeKind::Get, a.Ptrs(), a.Count());
        f.In->Cur = cur;
        return r;
    }
    case RefKind::Builtin: return CallBuiltin(f, static_cast<const BuiltinDef *>(R->Ptr), Args);
    case RefKind::Bridge: {
        ArgPack a(f, Args, true);
        return f.In->Names->Call(*f.In, *R, a.Ptrs(), a.Count());
    }
    case RefKind::Constant:
        if (Args.empty())
            return R->Value;
        ThrowNamed(E_TYPE_MISMATCH, R->Name);
    default: {
        Variant *p = SlotPtr(f, R);
        if (!p)
            Throw(E_INTERNAL);
        Variant base = *p;
        return IndexValue(f, base, Args, R->Name);
    }
    }
}

void CallExpr::Call(Frame &f)
{
    Eval(f);
    if (R->Kind == RefKind::Builtin && IsConversion(static_cast<const BuiltinDef *>(R->Ptr)))
        Throw(E_UNSUPPORTED_TYPE);
}

Variant *CallExpr::ElementRef(Frame &f, ArrCell *&locked)
{
    switch (R->Kind) {
    case RefKind::Local:
    case RefKind::Param:
    case RefKind::MeField:
    case RefKind::OuterLocal:
    case RefKind::OuterParam: break;
    case RefKind::Global:
    case RefKind::GlobalChecked:
        if (G(R)->Proc)
            return nullptr; // a call, not an element
        break;
    default: return nullptr;
    }
    Variant *p = SlotPtr(f, R);
    if (!p || !p->IsArray())
        return nullptr;
    ArgPack idx(f, Args, false);
    // The indexes may have run code that changed the variable.
    if (!p->IsArray())
        ThrowNamed(E_TYPE_MISMATCH, R->Name);
    ArrCell *a = p->MutableArr();
    Variant *element = ArrayElement(a, idx.Ptrs(), idx.Count());
    ++a->Locks;
    AddRefCell(a);
    locked = a;
    return element;
}

void CallExpr::Assign(Frame &f, Variant v, bool isSet)
{
    if (isSet)
        CheckSetValue(v);
    else if (R->Kind != RefKind::MeMember) // the class decides (a Property Let gets the object)
        v = LetValue(std::move(v));
    if (R->Kind == RefKind::MeMember) {
        ObjHold hold(f.Me);
        ArgPack a(f, Args, true);
        f.Me->Put(*f.In, R->LName, isSet, a.Ptrs(), a.Count(), v);
        return;
    }
    Variant *p = SlotPtr(f, R);
    if (!p)
        ThrowNamed(E_ILLEGAL_ASSIGN, R->Name);
    AssignIndexed(f, p, Args, std::move(v), isSet, R->Name);
}

Variant MemberExpr::Eval(Frame &f)
{
    CheckStackSpace();
    Variant o = Obj->Eval(f);
    Object *p = RequireObject(o, Obj);
    ArgPack a(f, Args, true);
    Stmt *cur = f.In->Cur;
    Variant r = p->InvokeCached(*f.In, LName, InvokeKind::Get, a.Ptrs(), a.Count(), Cache);
    f.In->Cur = cur;
    return r;
}

void MemberExpr::Assign(Frame &f, Variant v, bool isSet)
{
    if (isSet)
        CheckSetValue(v);
    Variant o = Obj->Eval(f);
    Object *p = RequireObject(o, Obj);
    // A script class decides for itself: its Property Let gets the object.
    if (!isSet && v.IsObject() && !dynamic_cast<Instance *>(p))
        v = LetValue(std::move(v));
    ArgPack a(f, Args, true);
    Stmt *cur = f.In->Cur;
    p->Put(*f.In, LName, isSet, a.Ptrs(), a.Count(), v);
    f.In->Cur = cur;
}

Variant IndexExpr::Eval(Frame &f)
{
    CheckStackSpace();
    Variant base = Base->Eval(f);
    return IndexValue(f, base, Args, NameOf(Base));
}

void IndexExpr::Assign(Frame &f, Variant v, bool isSet)
{
    if (isSet)
        CheckSetValue(v);
    else
        v = LetValue(std::move(v));
    // "x(0)(1) = 5": the element of an array variable is written in place.
    ArrCell *locked = nullptr;
    if (Variant *element = Base->MayElementRef ? Base->ElementRef(f, locked) : nullptr) {
        struct Unlock {
            ArrCell *A;
            ~Unlock()
            {
                --A->Locks;
                ReleaseCell(A);
            }
        } unlock{locked};
        if (!element->IsArray() && !element->IsObject())
            ThrowNamed(E_TYPE_MISMATCH, NameOf(Base));
        AssignIndexed(f, element, Args, std::move(v), isSet, NameOf(Base));
        return;
    }
    Variant base = Base->Eval(f);
    Object *p = RequireObject(base, Base);
    ArgPack a(f, Args, true);
    p->Put(*f.In, {}, isSet, a.Ptrs(), a.Count(), v);
}

Variant MeExpr::Eval(Frame &f) { return Variant::Obj(f.Me); }

Variant UnqualifiedExpr::Eval(Frame &) { Throw(E_UNQUALIFIED_REF); }

Variant TooDeepExpr::Eval(Frame &) { Throw(E_OUT_OF_STACK); }

Variant NewExpr::Eval(Frame &f) { return f.In->NewInstance(LName, Name); }

Variant UnaryExpr::Eval(Frame &f)
{
    CheckStackSpace();
    Variant a = E->Eval(f);
    return UnaryOp(O, a);
}

void BinExpr::Classify(Expr *e, Access &a)
{
    a.Kind = 0;
    if (auto *v = dynamic_cast<VarExpr *>(e)) {
        if (v->R->Kind == RefKind::Local) {
            a.Kind = 1;
            a.Slot = v->R->Slot;
        } else if (v->R->Kind == RefKind::Param) {
            a.Kind = 2;
            a.Slot = v->R->Slot;
        }
    } else if (auto *l = dynamic_cast<LitExpr *>(e)) {
        a.Kind = 3;
        a.Lit = &l->V;
    } else if (dynamic_cast<CallExpr *>(e) || dynamic_cast<BinExpr *>(e) || dynamic_cast<UnaryExpr *>(e) ||
               dynamic_cast<MemberExpr *>(e) || dynamic_cast<IndexExpr *>(e) || dynamic_cast<ParenExpr *>(e)) {
        a.Kind = 4; // never a variable: evaluate
    }
}

Variant BinExpr::Eval(Frame &f)
{
    CheckStackSpace();
    if (FA.Kind < 0) {
        Classify(L, FA);
        Classify(R, FB);
    }
    // Variables and literals are read in place; anything else is evaluated
    // into a temporary.  When the right side must run, the left value is
    // copied first, so a call that changes the left variable does not matter.
    Variant tmpA, tmpB;
    const Variant *pa = Fetch(f, L, FA);
    if (!pa) {
        tmpA = L->Eval(f);
        pa = &tmpA;
    }
    const Variant *pb = Fetch(f, R, FB);
    if (!pb) {
        if (pa != &tmpA) {
            tmpA = *pa;
            pa = &tmpA;
        }
        tmpB = R->Eval(f);
        pb = &tmpB;
    }
    const Variant &a = *pa, &b = *pb;
    const auto ta = a.Type(), tb = b.Type();
    if ((ta == VT_I2 || ta == VT_I4) && (tb == VT_I2 || tb == VT_I4)) {
        const std::int64_t x = a.RawInt(), y = b.RawInt();
        const bool wide = ta == VT_I4 || tb == VT_I4;
        switch (O) {
        case Op::Add:
        case Op::Sub: {
            const std::int64_t r = O == Op::Add ? x + y : x - y;
            return CounterValue(r, wide ? 3 : 2);
        }
        case Op::Eq: return Variant::Bool(x == y);
        case Op::Ne: return Variant::Bool(x != y);
        case Op::Lt: return Variant::Bool(x < y);
        case Op::Gt: return Variant::Bool(x > y);
        case Op::Le: return Variant::Bool(x <= y);
        case Op::Ge: return Variant::Bool(x >= y);
        default: break;
        }
    } else if ((ta == VT_R8 || ta == VT_I2 || ta == VT_I4) && (tb == VT_R8 || tb == VT_I2 || tb == VT_I4)) {
        const double x = ta == VT_R8 ? a.RawDbl() : static_cast<double>(a.RawInt());
        const double y = tb == VT_R8 ? b.RawDbl() : static_cast<double>(b.RawInt());
        switch (O) {
        case Op::Add: {
            const double r = x + y;
            if (std::isfinite(r))
                return Variant::Dbl(r);
            break;
        }
        case Op::Sub: {
            const double r = x - y;
            if (std::isfinite(r))
                return Variant::Dbl(r);
            break;
        }
        case Op::Mul: {
            const double r = x * y;
            if (std::isfinite(r))
                return Variant::Dbl(r);
            break;
        }
        case Op::Lt: return Variant::Bool(x < y);
        case Op::Gt: return Variant::Bool(x > y);
        case Op::Le: return Variant::Bool(x <= y);
        case Op::Ge: return Variant::Bool(x >= y);
        case Op::Eq: return Variant::Bool(x == y);
        case Op::Ne: return Variant::Bool(x != y);
        default: break;
        }
    } else if (O == Op::Concat && ta == VT_BSTR && tb == VT_BSTR) {
        CheckStringSize(a.RawStr().size() + b.RawStr().size());
        std::string s;
        s.reserve(a.RawStr().size() + b.RawStr().size());
        s += a.RawStr();
        s += b.RawStr();
        return Variant::Str(std::move(s));
    }
    return BinaryOp(O, a, b, L->IsStrLit || L->IsNumLit, R->IsStrLit || R->IsNumLit);
}

// ---- statements ----

Flow ExecBlock(const Block &b, Frame &f)
{
    Interpreter &in = *f.In;
    for (Stmt *s : b) {
        in.Cur = s;
        if (!f.ResumeNext) {
            const Flow r = s->Exec(f);
            if (r != Flow::Normal)
                return r;
            continue;
        }
        try {
            const Flow r = s->Exec(f);
            if (r != Flow::Normal)
                return r;
        } catch (const ScriptError &e) {
            in.SetErr(e);
        }
    }
    return Flow::Normal;
}

namespace {

// Under "On Error Resume Next" an error in a block's header does not skip
// the block: it is recorded, and the statement goes on with what follows the
// failed step, which is the first statement inside the block.  These run only
// once an error has been thrown; the paths without one are as before.
void RecordHeaderError(Frame &f, const ScriptError &e)
{
    if (!f.ResumeNext)
        throw;
    f.In->SetErr(e);
}

// A condition that failed answers onError (If: the branch is taken).
inline bool Condition(Frame &f, Expr *e, bool onError)
{
    try {
        return Truthy(e->Eval(f));
    } catch (const ScriptError &err) {
        RecordHeaderError(f, err);
        return onError;
    }
}

// A For or For Each loop whose header failed: its body runs once, with the
// loop variable untouched, then its "Next" fails with nextError, which ends it.
Flow RunBodyOnce(Frame &f, Stmt *loop, const Block &body, std::int32_t nextError)
{
    const Flow fl = ExecBlock(body, f);
    if (fl == Flow::ExitFor)
        return Flow::Normal;
    if (fl != Flow::Normal)
        return fl;
    f.In->Cur = loop;
    const ScriptError e(nextError);
    if (!f.ResumeNext)
        throw e;
    f.In->SetErr(e);
    return Flow::Normal;
}

} // namespace

Flow CallStmt::Exec(Frame &f)
{
    E->Call(f);
    return Flow::Normal;
}

Flow AssignStmt::Append(Frame &f)
{
    Variant *p = FVar->Ref(f);
    if (p && p->IsString()) {
        Variant r = FCat->R->Eval(f);
        p = FVar->Ref(f);
        if (r.IsString() && p && p->IsString()) {
            p->AppendStr(r.RawStr());
            return Flow::Normal;
        }
        Variant l = FVar->Eval(f);
        Target->Assign(f, BinaryOp(Op::Concat, l, r), false);
        return Flow::Normal;
    }
    Variant v = Value->Eval(f);
    Target->Assign(f, std::move(v), false);
    return Flow::Normal;
}

// The target variable without a lookup when it is a local or a parameter.
Variant *AssignStmt::Target0(Frame &f) const
{
    switch (FTargetKind) {
    case 1: return &f.Locals[FTargetSlot];
    case 2: return f.Refs[FTargetSlot];
    default: return FVar->Plain(f);
    }
}

namespace {
// Numbers only: v := v +/- x where both are Integer, Long or Double.
inline bool AddNumbers(Variant *p, const Variant &a, const Variant &b, bool sub)
{
    const auto ta = a.Type(), tb = b.Type();
    if ((ta == VT_I2 || ta == VT_I4) && (tb == VT_I2 || tb == VT_I4)) {
        const std::int64_t r = sub ? a.RawInt() - b.RawInt() : a.RawInt() + b.RawInt();
        p->SetIntegral(r, ta == VT_I4 || tb == VT_I4 ? VT_I4 : VT_I2);
        return true;
    }
    if ((ta == VT_R8 || ta == VT_I2 || ta == VT_I4) && (tb == VT_R8 || tb == VT_I2 || tb == VT_I4)) {
        const double x = ta == VT_R8 ? a.RawDbl() : static_cast<double>(a.RawInt());
        const double y = tb == VT_R8 ? b.RawDbl() : static_cast<double>(b.RawInt());
        const double r = sub ? x - y : x + y;
        if (std::isfinite(r)) {
            p->SetDouble(r);
            return true;
        }
    }
    return false;
}
} // namespace

// "v = v + x" and "v = v - x" on numbers update v where it lies.
Flow AssignStmt::AddInPlace(Frame &f)
{
    Variant *p = Target0(f);
    const bool sub = FCat->O == Op::Sub;
    if (p) {
        if (const Variant *pb = BinExpr::Fetch(f, FCat->R, FRight))
            if (AddNumbers(p, *p, *pb, sub))
                return Flow::Normal;
    }
    return AddSlow(f, p);
}

// The general form; the left value is taken before the right side runs.
Flow AssignStmt::AddSlow(Frame &f, Variant *p)
{
    if (!p) {
        Variant v = Value->Eval(f);
        Target->Assign(f, std::move(v), false);
        return Flow::Normal;
    }
    Variant left = *p;
    Variant right;
    if (const Variant *pb = BinExpr::Fetch(f, FCat->R, FRight))
        right = *pb;
    else
        right = FCat->R->Eval(f);
    p = Target0(f);
    if (p && AddNumbers(p, left, right, FCat->O == Op::Sub))
        return Flow::Normal;
    Target->Assign(f, BinaryOp(FCat->O, left, right), false);
    return Flow::Normal;
}

Flow AssignStmt::Exec(Frame &f)
{
    if (FForm < 0) {
        FForm = 0;
        auto *bin = dynamic_cast<BinExpr *>(Value);
        auto *tv = dynamic_cast<VarExpr *>(Target);
        auto *lv = bin ? dynamic_cast<VarExpr *>(bin->L) : nullptr;
        if (!IsSet && bin && bin->O == Op::Concat && tv && lv && tv->R->Kind == lv->R->Kind &&
            tv->R->Slot == lv->R->Slot && tv->R->Ptr == lv->R->Ptr && tv->R->LName == lv->R->LName) {
            FForm = 1;
            FVar = tv;
            FCat = bin;
        } else if (!IsSet && bin && (bin->O == Op::Add || bin->O == Op::Sub) && tv && lv &&
                   tv->R->Kind == lv->R->Kind && tv->R->Slot == lv->R->Slot && tv->R->Ptr == lv->R->Ptr &&
                   tv->R->LName == lv->R->LName) {
            FForm = 3;
            FVar = tv;
            FCat = bin;
            BinExpr::Classify(bin->R, FRight);
        } else if (!IsSet && tv) {
            FForm = 2;
            FVar = tv;
        }
        if (tv && tv->R->Kind == RefKind::Local) {
            FTargetKind = 1;
            FTargetSlot = tv->R->Slot;
        } else if (tv && tv->R->Kind == RefKind::Param) {
            FTargetKind = 2;
            FTargetSlot = tv->R->Slot;
        }
    }
    if (FForm == 2) {
        Variant v = Value->Eval(f);
        if (!v.IsObject())
            if (Variant *p = Target0(f)) {
                CheckNotLocked(*p);
                *p = std::move(v);
                return Flow::Normal;
            }
        Target->Assign(f, std::move(v), false);
        return Flow::Normal;
    }
    if (FForm == 3)
        return AddInPlace(f);
    if (FForm == 1)
        return Append(f);
    Variant v = Value->Eval(f);
    Target->Assign(f, std::move(v), IsSet);
    return Flow::Normal;
}

Flow IfStmt::Exec(Frame &f)
{
    for (std::size_t i = 0; i < Conds.size(); ++i)
        if (Condition(f, Conds[i], true))
            return ExecBlock(Arms[i], f);
    return ExecBlock(Else, f);
}

Flow SelectStmt::Exec(Frame &f)
{
    const Variant v = E->Eval(f);
    // An error in the Select line itself skips every case, Case Else too;
    // one in a case's value enters that case.
    for (std::size_t i = 0; i < Values.size(); ++i)
        for (Expr *e : Values[i]) {
            bool match;
            try {
                match = ValuesEqualForCase(v, e->Eval(f), e->IsStrLit || e->IsNumLit);
            } catch (const ScriptError &err) {
                RecordHeaderError(f, err);
                match = true;
            }
            if (match)
                return ExecBlock(Bodies[i], f);
        }
    return ExecBlock(Else, f);
}

namespace {
// The bounds of a For loop; false when one failed under "On Error Resume
// Next" (the error is recorded).  Kept out of line so that the error handling
// does not weigh on the counting loop's code.
[[gnu::noinline]] bool ForBounds(Frame &f, Expr *fromE, Expr *toE, Expr *stepE, Variant &from, Variant &to,
                                 Variant &step)
{
    try {
        from = ToNumber(LetValue(fromE->Eval(f)));
        to = ToNumber(LetValue(toE->Eval(f)));
        step = stepE ? ToNumber(LetValue(stepE->Eval(f))) : Variant::Int(1);
        if (from.IsNull() || to.IsNull() || step.IsNull())
            Throw(E_INVALID_NULL);
    } catch (const ScriptError &e) {
        RecordHeaderError(f, e);
        return false;
    }
    return true;
}
} // namespace

Flow ForStmt::Exec(Frame &f)
{
    Variant from, to, step;
    if (!ForBounds(f, From, To, Step, from, to, step))
        return RunBodyOnce(f, this, Body, E_FOR_NOT_INIT);
    Var->Assign(f, from, false);
    Variant *ctr = Var->Ref(f);
    if (!ctr)
        Throw(E_ILLEGAL_ASSIGN);
    if (from.IsIntegral() && to.IsIntegral() && step.IsIntegral()) {
        const int rank = (from.Type() == VT_I4 || to.Type() == VT_I4 || step.Type() == VT_I4) ? 3 : 2;
        std::int64_t i = from.RawInt();
        const std::int64_t e = to.RawInt(), s = step.RawInt();
        for (;;) {
            if (s >= 0 ? i > e : i < e)
                break;
            ctr->SetIntegral(i, rank == 3 ? VT_I4 : VT_I2);
            Flow fl;
            if (Body.size() == 1 && !f.ResumeNext) {
                f.In->Cur = Body[0];
                fl = Body[0]->Exec(f);
            } else {
                fl = ExecBlock(Body, f);
            }
            if (fl != Flow::Normal) {
                if (fl == Flow::ExitFor)
                    return Flow::Normal;
                return fl;
            }
            f.In->Tick();
            i = ctr->IsIntegral() ? ctr->RawInt() : static_cast<std::int64_t>(ToDouble(*ctr));
            i += s;
        }
        *ctr = CounterValue(i, rank);
        return Flow::Normal;
    }
    const bool asDate = from.Type() == VT_DATE;
    double i = ToDouble(from);
    const double e = ToDouble(to), s = ToDouble(step);
    for (;;) {
        if (s >= 0 ? i > e : i < e)
            break;
        *ctr = asDate ? Variant::Date(i) : Variant::Dbl(i);
        const Flow fl = ExecBlock(Body, f);
        if (fl != Flow::Normal) {
            if (fl == Flow::ExitFor)
                return Flow::Normal;
            return fl;
        }
        f.In->Tick();
        ctr = Var->Ref(f);
        if (!ctr)
            Throw(E_ILLEGAL_ASSIGN);
        i = ToDouble(*ctr) + s;
    }
    *ctr = asDate ? Variant::Date(i) : Variant::Dbl(i);
    return Flow::Normal;
}

Flow ForEachStmt::Exec(Frame &f)
{
    std::vector<Variant> items;
    bool failed = false;
    try {
        Variant coll = Coll->Eval(f);
        if (coll.IsArray()) {
            items = coll.RawArr()->Data;
        } else if (coll.IsObject()) {
            Object *o = RequireObject(coll, Coll);
            if (!o->Enumerate(*f.In, items))
                Throw(E_NOT_COLLECTION);
        } else {
            Throw(E_NOT_COLLECTION);
        }
    } catch (const ScriptError &e) {
        RecordHeaderError(f, e);
        failed = true;
    }
    if (failed)
        return RunBodyOnce(f, this, Body, E_NOT_COLLECTION);
    for (auto &item : items) {
        const bool isObj = item.IsObject();
        Var->Assign(f, std::move(item), isObj);
        const Flow fl = ExecBlock(Body, f);
        if (fl != Flow::Normal) {
            if (fl == Flow::ExitFor)
                return Flow::Normal;
            return fl;
        }
        f.In->Tick();
    }
    return Flow::Normal;
}

Flow DoStmt::Exec(Frame &f)
{
    for (;;) {
        // A failed condition enters the body at the top and leaves the loop at the bottom.
        if (PreTest && Cond && Condition(f, Cond, !Until) == Until)
            break;
        const Flow fl = ExecBlock(Body, f);
        if (fl != Flow::Normal) {
            if (fl == Flow::ExitDo && !IsWend)
                return Flow::Normal;
            return fl;
        }
        f.In->Tick();
        if (!PreTest && Cond && Condition(f, Cond, Until) == Until)
            break;
    }
    return Flow::Normal;
}

namespace {
std::vector<std::int32_t> EvalBounds(Frame &f, const std::vector<Expr *> &bounds)
{
    std::vector<std::int32_t> b;
    for (Expr *e : bounds) {
        const std::int32_t v = ToLong(LetValue(e->Eval(f)));
        if (v < -1)
            Throw(E_SUBSCRIPT);
        b.push_back(v);
    }
    if (b.size() > 60)
        Throw(E_SUBSCRIPT);
    return b;
}
} // namespace

Flow DimStmt::Exec(Frame &f)
{
    for (auto &item : Items) {
        if (!item.IsArray)
            continue;
        ArrCell *a = NewArray(EvalBounds(f, item.Bounds));
        a->Fixed = !item.Bounds.empty();
        Variant *p = item.Var->Ref(f);
        if (!p) {
            Variant hold = Variant::Arr(a);
            Throw(E_ILLEGAL_ASSIGN);
        }
        *p = Variant::Arr(a);
    }
    return Flow::Normal;
}

Flow ReDimStmt::Exec(Frame &f)
{
    for (auto &item : Items) {
        Variant *p = item.Var->Ref(f);
        if (!p)
            Throw(E_ILLEGAL_ASSIGN);
        const std::vector<std::int32_t> bounds = EvalBounds(f, item.Bounds);
        ArrCell *old = p->RawArr();
        if (old && (old->Fixed || old->Locks > 0))
            Throw(E_ARRAY_FIXED);
        CheckNotLocked(*p);
        if (Preserve && old && !old->Bounds.empty()) {
            if (old->Bounds.size() != bounds.size())
                Throw(E_SUBSCRIPT);
            for (std::size_t d = 0; d + 1 < bounds.size(); ++d)
                if (old->Bounds[d] != bounds[d])
                    Throw(E_SUBSCRIPT);
            ArrCell *a = p->MutableArr();
            std::size_t total = 1;
            for (auto b : bounds) {
                total *= static_cast<std::size_t>(b + 1);
                if (total > kMaxArrayElements)
                    Throw(E_OUT_OF_MEMORY);
            }
            a->Data.resize(total);
            a->Bounds = bounds;
            continue;
        }
        *p = Variant::Arr(NewArray(bounds));
    }
    return Flow::Normal;
}

Flow EraseStmt::Exec(Frame &f)
{
    Variant *p = Var->Ref(f);
    if (!p || !p->IsArray())
        Throw(E_TYPE_MISMATCH);
    CheckNotLocked(*p);
    ArrCell *a = p->MutableArr();
    if (a->Fixed) {
        for (auto &v : a->Data)
            v = Variant();
    } else {
        a->Bounds.clear();
        a->Data.clear();
    }
    return Flow::Normal;
}

Flow OnErrorStmt::Exec(Frame &f)
{
    f.ResumeNext = Resume;
    f.In->ClearErr();
    return Flow::Normal;
}

Flow WithStmt::Exec(Frame &f)
{
    try {
        Variant o = Obj->Eval(f);
        if (!o.IsObject())
            Throw(E_OBJECT_REQUIRED); // Nothing is an object: only its members fail
        f.Locals[Slot] = std::move(o);
    } catch (const ScriptError &e) {
        RecordHeaderError(f, e);
        f.Locals[Slot] = Variant();
    }
    struct Clear {
        Variant &V;
        ~Clear() { V = Variant(); }
    } clear{f.Locals[Slot]};
    return ExecBlock(Body, f);
}

Flow ConstStmt::Exec(Frame &f)
{
    auto *v = static_cast<VarExpr *>(Target);
    Variant val = LetValue(Value->Eval(f));
    if (v->R->Kind == RefKind::Global || v->R->Kind == RefKind::GlobalChecked) {
        G(v->R)->Value = std::move(val);
        return Flow::Normal;
    }
    Variant *p = v->Ref(f);
    if (p)
        *p = std::move(val);
    return Flow::Normal;
}

// ---- procedures ----

Variant Interpreter::CallProc(const Procedure *p, Object *me, Variant **args, int argc)
{
    if (argc != p->NParams())
        ThrowNamed(E_WRONG_ARGS, p->Name);
    Tick();
    if (Depth >= MaxDepth)
        Throw(E_OUT_OF_STACK);
    CheckStackSpace();
    struct DepthGuard {
        Interpreter &In;
        Object *SavedMe;
        ~DepthGuard()
        {
            --In.Depth;
            In.CurMe = SavedMe;
        }
    } guard{*this, CurMe};
    ++Depth;
    CurMe = me;
    LocalStore store(p->NLocals);
    Variant *locals = store.Data();
    Variant *refBuf[8];
    std::vector<Variant *> refHeap;
    Variant **refs = refBuf;
    if (argc > 8) {
        refHeap.resize(static_cast<std::size_t>(argc));
        refs = refHeap.data();
    }
    for (int i = 0; i < argc; ++i) {
        if (p->ByRef[static_cast<std::size_t>(i)]) {
            refs[i] = args[i];
        } else {
            locals[1 + i] = *args[i];
            refs[i] = &locals[1 + i];
        }
    }
    Frame f;
    f.In = this;
    f.Locals = locals;
    f.Refs = refs;
    f.Me = me;
    f.Proc = p;
    Stmt *saved = Cur;
    if (!p->Consts.empty())
        ExecBlock(p->Consts, f);
    ExecBlock(p->Body, f);
    Cur = saved;
    return std::move(locals[0]);
}

// ---- class instances ----

Instance::Instance(Interpreter *in, ClassDef *def) : Def(def), In(in)
{
    Fields.resize(def->FieldNames.size());
    for (const auto &fi : def->FieldInits) {
        std::vector<std::int32_t> b;
        if (!(fi.Bounds.size() == 1 && fi.Bounds[0] == -1))
            b.assign(fi.Bounds.begin(), fi.Bounds.end());
        ArrCell *a = NewArray(b);
        a->Fixed = !b.empty();
        Fields[static_cast<std::size_t>(fi.Field)] = Variant::Arr(a);
    }
    if (In)
        In->Track(this);
}

Instance::~Instance()
{
    if (In)
        In->Untrack(this);
}

void Instance::Teardown()
{
    Terminated = true;
    std::vector<Variant> drop;
    drop.swap(Fields);
    Fields.resize(drop.size());
}

void Instance::LastRelease() noexcept
{
    if (!Terminated && In && Def->Term) {
        Terminated = true;
        Refs = 1;
        try {
            In->CallProc(Def->Term, this, nullptr, 0);
        } catch (...) {
        }
        if (--Refs > 0)
            return;
    }
    delete this;
}

const ClassMember &Instance::Member(Interpreter &in, std::string_view name)
{
    std::string key(name.empty() ? std::string_view(Def->DefaultMember) : name);
    if (key.empty())
        Throw(E_NO_SUCH_MEMBER);
    auto it = Def->Members.find(key);
    if (it == Def->Members.end())
        ThrowNamed(E_NO_SUCH_MEMBER, name);
    if (!it->second.Public && in.CurMe != this)
        ThrowNamed(E_NO_SUCH_MEMBER, name);
    return it->second;
}

Variant Instance::Invoke(Interpreter &in, std::string_view name, InvokeKind, Variant **args, int argc)
{
    ObjHold hold(this);
    const ClassMember &m = Member(in, name);
    if (m.Field >= 0) {
        const Variant &v = Fields[static_cast<std::size_t>(m.Field)];
        if (argc == 0)
            return v;
        if (v.IsArray())
            return *ArrayElement(v.RawArr(), args, argc);
        if (v.IsObject() && v.RawObj()) {
            Variant keep = v;
            return keep.RawObj()->Invoke(in, {}, InvokeKind::Get, args, argc);
        }
        // A variable takes no arguments: the class has no such method.
        ThrowNoMember(name);
    }
    if (m.Method)
        return in.CallProc(m.Method, this, args, argc);
    if (m.Get)
        return in.CallProc(m.Get, this, args, argc);
    ThrowNamed(E_NO_SUCH_MEMBER, name);
}

void Instance::Put(Interpreter &in, std::string_view name, bool isSet, Variant **args, int argc, const Variant &value)
{
    ObjHold hold(this);
    const ClassMember &m = Member(in, name);
    if (m.Field >= 0) {
        // A variable given an object without Set holds its default value.
        const Variant stored = isSet || !value.IsObject() ? value : LetValue(value);
        Variant &slot = Fields[static_cast<std::size_t>(m.Field)];
        if (argc == 0) {
            slot = stored;
            return;
        }
        if (slot.IsArray()) {
            *ArrayElement(slot.MutableArr(), args, argc) = stored;
            return;
        }
        if (slot.IsObject() && slot.RawObj()) {
            Variant keep = slot;
            keep.RawObj()->Put(in, {}, isSet, args, argc, stored);
            return;
        }
        Throw(E_TYPE_MISMATCH);
    }
    Procedure *p = isSet ? (m.Set ? m.Set : nullptr) : (m.Let ? m.Let : nullptr);
    if (!p)
        p = m.Let ? m.Let : m.Set;
    if (!p)
        ThrowNamed(E_NO_SUCH_MEMBER, name);
    std::vector<Variant *> all(args, args + argc);
    Variant copy = value;
    all.push_back(&copy);
    in.CallProc(p, this, all.data(), static_cast<int>(all.size()));
}

Variant Interpreter::NewInstance(std::string_view lname, std::string_view display)
{
    // A script may declare a class named RegExp, but New always makes the
    // built-in object, as the language does.
    if (lname == "regexp")
        return Variant::Obj(NewRegExp());
    ClassDef *c = FindClass(lname);
    if (!c) {
        if (Names)
            if (Object *o = Names->CreateObject(*this, lname))
                return Variant::Obj(o);
        // Under Option Explicit an unknown class name is first of all an
        // undeclared name.
        ThrowNamed(OptionExplicit ? E_UNDEFINED_VAR : E_CLASS_NOT_DEFINED, display);
    }
    auto *inst = new Instance(this, c);
    Variant v = Variant::Obj(inst);
    if (c->Init) {
        Stmt *saved = Cur;
        CallProc(c->Init, inst, nullptr, 0);
        Cur = saved;
    }
    return v;
}

// ---- arrays ----

ArrCell *NewArray(const std::vector<std::int32_t> &bounds)
{
    auto *a = new ArrCell;
    a->Bounds = bounds;
    std::size_t total = bounds.empty() ? 0 : 1;
    for (auto b : bounds) {
        total *= static_cast<std::size_t>(b + 1);
        if (total > kMaxArrayElements) {
            delete a;
            Throw(E_OUT_OF_MEMORY);
        }
    }
    a->Data.resize(total);
    return a;
}

Variant *ArrayElement(ArrCell *a, Variant **idx, int n)
{
    if (static_cast<std::size_t>(n) != a->Bounds.size() || n == 0)
        Throw(E_SUBSCRIPT);
    std::size_t off = 0, mul = 1;
    for (int d = 0; d < n; ++d) {
        const std::int32_t i = ToLong(LetValue(*idx[d]));
        const std::int32_t ub = a->Bounds[static_cast<std::size_t>(d)];
        if (i < 0 || i > ub)
            Throw(E_SUBSCRIPT);
        off += static_cast<std::size_t>(i) * mul;
        mul *= static_cast<std::size_t>(ub + 1);
    }
    return &a->Data[off];
}

Variant MakeArray(std::vector<Variant> items)
{
    auto *a = new ArrCell;
    a->Bounds = {static_cast<std::int32_t>(items.size()) - 1};
    a->Data = std::move(items);
    return Variant::Arr(a);
}

} // namespace kalvion::vbs
