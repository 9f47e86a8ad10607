#include "scripting/vbs/Bridge.h"

#include "base/AsciiText.h"
#include "base/Rounding.h"
#include "scripting/vbs/Convert.h"

#include <cmath>
#include <exception>

namespace kalvion::vbs {

namespace {

// A program object seen by a script.
class BridgeObject final : public Object {
public:
    explicit BridgeObject(TScriptObjectRef ref) : FRef(std::move(ref)) {}
    std::string TypeName() const override { return FRef.Class() ? FRef.Class()->Name : "Object"; }
    bool Alive() const override { return !FRef.IsNil(); }
    const void *Identity() const override { return FRef.RawPointer(); }
    const TScriptObjectRef &Ref() const { return FRef; }

    Variant Invoke(Interpreter &in, std::string_view name, InvokeKind kind, Variant **args, int argc) override
    {
        MemberCache none;
        return InvokeCached(in, name, kind, args, argc, none);
    }
    Variant InvokeCached(Interpreter &, std::string_view name, InvokeKind, Variant **args, int argc,
                         MemberCache &cache) override;
    void Put(Interpreter &, std::string_view name, bool, Variant **args, int argc, const Variant &value) override;

private:
    TScriptObjectRef FRef;
};

// A registered class as a global name: "TStellarBody.Create".
class ClassObject final : public Object {
public:
    explicit ClassObject(const TScriptClassInfo *c) : FClass(c) {}
    std::string TypeName() const override { return FClass->Name; }
    Variant Invoke(Interpreter &, std::string_view name, InvokeKind, Variant **, int argc) override
    {
        if (name == "create" && FClass->Constructor) {
            if (argc != 0)
                ThrowNamed(E_WRONG_ARGS, "Create");
            return Variant::Obj(WrapObject(Guarded([&] { return FClass->Constructor(); })));
        }
        ThrowNoMember(name);
    }

private:
    template <class F>
    static auto Guarded(F &&f) -> decltype(f())
    {
        try {
            return f();
        } catch (const ScriptError &) {
            throw;
        } catch (const std::exception &e) {
            throw ScriptError(E_EXCEPTION, *e.what() ? e.what() : ErrorDescription(E_EXCEPTION));
        }
    }
    const TScriptClassInfo *FClass;
};

[[noreturn]] void RethrowAsScript(const std::exception &e)
{
    throw ScriptError(E_EXCEPTION, *e.what() ? std::string(e.what()) : std::string(ErrorDescription(E_EXCEPTION)));
}

// Converts the script's arguments, calls, and writes "var" arguments back.
template <class Call>
Variant CallRegistered(const std::string &name, const std::vector<TScriptArg> &types, const TScriptArg &result,
                       Variant **args, int argc, Call &&call)
{
    if (static_cast<std::size_t>(argc) != types.size())
        ThrowNamed(E_WRONG_ARGS, name);
    TScriptArgs conv;
    conv.reserve(types.size());
    for (std::size_t i = 0; i < types.size(); ++i) {
        // A value that does not convert is an error of this call: say whose.
        try {
            conv.push_back(FromVariant(*args[i], types[i]));
        } catch (const ScriptError &e) {
            ThrowNamed(e.Number, name);
        }
    }
    TScriptValue r;
    try {
        r = call(conv);
    } catch (const ScriptError &) {
        throw;
    } catch (const HaltSignal &) {
        throw;
    } catch (const std::exception &e) {
        RethrowAsScript(e);
    } catch (...) {
        throw ScriptError(E_EXCEPTION);
    }
    for (std::size_t i = 0; i < types.size(); ++i)
        if (types[i].ByRef)
            *args[i] = ToVariant(conv[i]);
    if (result.Type == TScriptType::None)
        return {};
    return ToVariant(r);
}

Variant BridgeObject::InvokeCached(Interpreter &, std::string_view name, InvokeKind, Variant **args, int argc,
                                   MemberCache &cache)
{
    void *self = FRef.Get();
    if (!self)
        Throw(E_OBJECT_REQUIRED);
    const TScriptClassInfo *c = FRef.Class();
    if (!c)
        ThrowNoMember(name);
    constexpr int kMethod = 1, kProperty = 2;
    if (cache.Owner != c) {
        cache.Owner = c;
        cache.Kind = 0;
        cache.Member = nullptr;
        if (const TScriptMethod *m = c->FindMethod(name)) {
            cache.Kind = kMethod;
            cache.Member = m;
        } else if (const TScriptProperty *p = c->FindProperty(name)) {
            cache.Kind = kProperty;
            cache.Member = p;
        }
    }
    if (cache.Kind == kMethod) {
        auto *m = static_cast<const TScriptMethod *>(cache.Member);
        return CallRegistered(m->Name, m->Args, m->Result, args, argc,
                              [&](TScriptArgs &a) { return m->Impl(self, a); });
    }
    if (cache.Kind == kProperty) {
        auto *p = static_cast<const TScriptProperty *>(cache.Member);
        if (argc != 0)
            ThrowNamed(E_WRONG_ARGS, p->Name);
        try {
            return ToVariant(p->Get(self));
        } catch (const std::exception &e) {
            RethrowAsScript(e);
        }
    }
    ThrowNoMember(name);
}

void BridgeObject::Put(Interpreter &, std::string_view name, bool, Variant **, int argc, const Variant &value)
{
    void *self = FRef.Get();
    if (!self)
        Throw(E_OBJECT_REQUIRED);
    const TScriptClassInfo *c = FRef.Class();
    const TScriptProperty *p = c ? c->FindProperty(name) : nullptr;
    if (!p)
        ThrowNoMember(name);
    if (!p->Set || argc != 0)
        ThrowNamed(E_WRONG_ARGS, p->Name);
    const TScriptValue v = FromVariant(value, p->Type);
    try {
        p->Set(self, v);
    } catch (const std::exception &e) {
        RethrowAsScript(e);
    }
}

} // namespace

Object *WrapObject(const TScriptObjectRef &ref)
{
    if (ref.IsNil())
        return nullptr;
    return new BridgeObject(ref);
}

Variant ToVariant(const TScriptValue &v)
{
    switch (v.Type) {
    case TScriptType::None: return {};
    case TScriptType::String: return Variant::Str(v.Str);
    case TScriptType::Boolean: return Variant::Bool(v.Int != 0);
    case TScriptType::Byte: return Variant::Byte(static_cast<std::uint8_t>(v.Int));
    case TScriptType::Double: return Variant::Dbl(v.Dbl);
    case TScriptType::Integer:
    case TScriptType::Cardinal:
    case TScriptType::Pointer:
        if (v.Type == TScriptType::Pointer && !v.Obj.IsNil())
            return Variant::Obj(WrapObject(v.Obj));
        if (v.Int >= INT32_MIN && v.Int <= INT32_MAX)
            return Variant::Long(static_cast<std::int32_t>(v.Int));
        return Variant::Dbl(static_cast<double>(v.Int));
    case TScriptType::Object: return Variant::Obj(WrapObject(v.Obj));
    case TScriptType::Variant:
        if (!v.Str.empty())
            return Variant::Str(v.Str);
        return Variant::Dbl(v.Dbl);
    }
    return {};
}

TScriptValue FromVariant(const Variant &v0, const TScriptArg &type)
{
    switch (type.Type) {
    case TScriptType::String: return TScriptValue::FromString(v0.IsNull() ? std::string() : ToStr(v0));
    case TScriptType::Integer: return TScriptValue::FromInt(ToLong(v0));
    case TScriptType::Double: return TScriptValue::FromDouble(ToDouble(v0));
    case TScriptType::Boolean: return TScriptValue::FromBool(ToBool(v0));
    case TScriptType::Byte: {
        const double d = Round(ToDouble(v0));
        if (!(d >= 0 && d <= 255))
            Throw(E_OVERFLOW);
        return TScriptValue::FromInt(static_cast<std::int64_t>(d), TScriptType::Byte);
    }
    case TScriptType::Cardinal: {
        const double d = Round(ToDouble(v0));
        if (!(d >= 0 && d <= 4294967295.0))
            Throw(E_OVERFLOW);
        return TScriptValue::FromInt(static_cast<std::int64_t>(d), TScriptType::Cardinal);
    }
    case TScriptType::Pointer:
    case TScriptType::Object: {
        if (type.Probe)
            return FromVariant(v0, ArgOf(TScriptType::Variant));
        if (v0.IsEmpty() || v0.IsNull() || (v0.IsObject() && !v0.RawObj()))
            return TScriptValue::FromObject({});
        if (!v0.IsObject()) {
            if (type.Type == TScriptType::Pointer)
                return TScriptValue::FromInt(static_cast<std::int64_t>(ToDouble(v0)), TScriptType::Pointer);
            Throw(E_TYPE_MISMATCH);
        }
        auto *b = dynamic_cast<BridgeObject *>(v0.RawObj());
        if (!b)
            Throw(E_TYPE_MISMATCH);
        if (!b->Alive())
            Throw(E_OBJECT_REQUIRED);
        // A Pointer that names a class is as strict as an Object of it: the
        // routine behind it reads the object as one of that class.
        if (!type.ClassName.empty() && !SameText(type.ClassName, "TObject")) {
            bool ok = false;
            for (const TScriptClassInfo *c = b->Ref().Class(); c && !ok; c = c->Parent)
                ok = SameText(c->Name, type.ClassName);
            if (!ok)
                Throw(E_TYPE_MISMATCH);
        }
        TScriptValue r = TScriptValue::FromObject(b->Ref());
        r.Type = type.Type;
        return r;
    }
    case TScriptType::Variant: {
        // Type tells what came: Object for any object (Nothing included),
        // None for Null, Variant for the rest.
        TScriptValue r;
        r.Type = TScriptType::Variant;
        if (v0.IsString())
            r.Str = v0.RawStr();
        else if (v0.IsObject()) {
            r.Type = TScriptType::Object;
            if (auto *b = dynamic_cast<BridgeObject *>(v0.RawObj()))
                r.Obj = b->Ref();
        } else if (v0.IsNull())
            r.Type = TScriptType::None;
        else if (!v0.IsArray())
            r.Dbl = ToDouble(v0);
        return r;
    }
    case TScriptType::None: return {};
    }
    return {};
}

// Ref kinds within RefKind::Bridge: Slot 0 routine, 1 variable.
bool RegistryNames::Resolve(std::string_view lname, NameRef &ref)
{
    if (const TScriptRoutine *r = FReg.FindRoutine(lname)) {
        ref.Kind = RefKind::Bridge;
        ref.Slot = 0;
        ref.Ptr = r;
        return true;
    }
    if (const TScriptVariable *v = FReg.FindVariable(lname)) {
        ref.Kind = RefKind::Bridge;
        ref.Slot = 1;
        ref.Ptr = v;
        return true;
    }
    if (const TScriptConstant *c = FReg.FindConstant(lname)) {
        ref.Kind = RefKind::Constant;
        ref.Value = ToVariant(c->Value);
        return true;
    }
    if (const TScriptClassInfo *c = FReg.FindClass(lname)) {
        ref.Kind = RefKind::Constant;
        ref.Value = Variant::Obj(new ClassObject(c));
        return true;
    }
    return false;
}

Variant RegistryNames::Read(Interpreter &in, const NameRef &ref)
{
    if (ref.Slot == 1) {
        auto *v = static_cast<const TScriptVariable *>(ref.Ptr);
        try {
            return ToVariant(v->Get());
        } catch (const std::exception &e) {
            RethrowAsScript(e);
        }
    }
    return Call(in, ref, nullptr, 0);
}

Variant RegistryNames::Call(Interpreter &in, const NameRef &ref, Variant **args, int argc)
{
    in.Tick();
    if (ref.Slot == 1) {
        Variant v = Read(in, ref);
        if (argc == 0)
            return v;
        ThrowNamed(E_TYPE_MISMATCH, ref.Name);
    }
    auto *r = static_cast<const TScriptRoutine *>(ref.Ptr);
    return CallRegistered(r->Name, r->Args, r->Result, args, argc, [&](TScriptArgs &a) { return r->Impl(a); });
}

void RegistryNames::Write(Interpreter &, const NameRef &ref, const Variant &value)
{
    if (ref.Slot != 1)
        ThrowNamed(E_ILLEGAL_ASSIGN, ref.Name);
    auto *v = static_cast<const TScriptVariable *>(ref.Ptr);
    if (!v->Set)
        ThrowNamed(E_ILLEGAL_ASSIGN, ref.Name);
    const TScriptValue tv = FromVariant(value, v->Type);
    try {
        v->Set(tv);
    } catch (const std::exception &e) {
        RethrowAsScript(e);
    }
}

Object *RegistryNames::CreateObject(Interpreter &, std::string_view progId)
{
    const TScriptClassInfo *c = FReg.FindClass(progId);
    if (!c || !c->Constructor)
        return nullptr;
    try {
        return WrapObject(c->Constructor());
    } catch (const std::exception &e) {
        RethrowAsScript(e);
    }
}

} // namespace kalvion::vbs
