#pragma once
// Shorthands shared by the registration units of the script object model:
// argument types, result values, typed methods and properties, and checked
// references to the program's objects.
#include "base/CompactText.h"
#include "model/VexaBase.h"
#include "scripting/ScriptRegistry.h"
#include "scriptnames/ScriptAppHost.h"
#include "scriptnames/ScriptObjectPool.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

namespace kalvion::names {

// Argument and result types.
inline TScriptArg TStr() { return ArgOf(TScriptType::String); }
inline TScriptArg TInt() { return ArgOf(TScriptType::Integer); }
inline TScriptArg TDbl() { return ArgOf(TScriptType::Double); }
inline TScriptArg TBool() { return ArgOf(TScriptType::Boolean); }
inline TScriptArg TByte() { return ArgOf(TScriptType::Byte); }
inline TScriptArg TCard() { return ArgOf(TScriptType::Cardinal); }
inline TScriptArg TPtr() { return ArgOf(TScriptType::Pointer); }
// A Pointer whose objects must be of that class.
inline TScriptArg TPtrTo(const char *cls) { return ArgPtrTo(cls); }
inline TScriptArg TNone() { return ArgOf(TScriptType::None); }
inline TScriptArg TObj(const char *cls) { return ArgObj(cls); }
inline TScriptArg TVarStr() { return ArgVar(TScriptType::String); }
inline TScriptArg TVarDbl() { return ArgVar(TScriptType::Double); }
// "array of String": whatever the script passes (an array or one text).
inline TScriptArg TArr() { return ArgOf(TScriptType::Variant); }

// Result values.
inline TScriptValue VStr(std::string s) { return TScriptValue::FromString(std::move(s)); }
inline TScriptValue VInt(std::int64_t i) { return TScriptValue::FromInt(i); }
inline TScriptValue VDbl(double d) { return TScriptValue::FromDouble(d); }
inline TScriptValue VBool(bool b) { return TScriptValue::FromBool(b); }
inline TScriptValue VNone() { return TScriptValue::None(); }

// A whole number argument within 32 bits.
inline std::int32_t I32(const TScriptValue &v)
{
    return static_cast<std::int32_t>(v.Int);
}

// The registration context: the registry and the host every name is bound to.
class TNames {
public:
    TNames(TScriptRegistry &reg, TScriptAppHost &host) : Reg(reg), Host(host) {}
    TScriptRegistry &Reg;
    TScriptAppHost &Host;

    TScriptObjectPool &Pool() const { return Host.ScriptObjects(); }

    const TScriptClassInfo *Class(const char *name) const;

    // A model object (its own lifetime token).
    TScriptValue Model(const char *cls, TVexaBase *obj) const;
    // An object whose life a token tells (the owner's, or the pool's).
    TScriptValue Tracked(const char *cls, void *obj, std::weak_ptr<void> token) const;
    // A new object the script owns until something takes it.
    template <class T>
    TScriptValue Adopt(const char *cls, std::unique_ptr<T> obj) const
    {
        T *raw = Pool().Adopt(std::move(obj));
        return Tracked(cls, raw, Pool().TokenOf(raw));
    }
    // A pooled non-model object already known to the pool.
    TScriptValue Pooled(const char *cls, void *obj) const { return Tracked(cls, obj, Pool().TokenOf(obj)); }

    // Registration shorthands.  Fn for a method takes (T &self, TScriptArgs &).
    template <class T, class Fn>
    void Method(const char *cls, const char *name, std::vector<TScriptArg> args, TScriptArg result, Fn fn) const
    {
        Reg.AddMethod(cls, name, std::move(args), std::move(result),
                      [fn](void *self, TScriptArgs &a) -> TScriptValue { return fn(*static_cast<T *>(self), a); });
    }
    template <class Fn>
    void Routine(const char *name, std::vector<TScriptArg> args, TScriptArg result, Fn fn) const
    {
        Reg.AddRoutine(name, std::move(args), std::move(result),
                       [fn](TScriptArgs &a) -> TScriptValue { return fn(a); });
    }
    void Const(const char *name, std::int64_t value) const { Reg.AddConstant(name, VInt(value)); }
    void ConstD(const char *name, double value) const { Reg.AddConstant(name, VDbl(value)); }
    void ConstS(const char *name, const char *value) const { Reg.AddConstant(name, VStr(value)); }

    // Published properties backed by members.
    template <class T, class M>
    void Prop(const char *cls, const char *name, M T::*m) const
    {
        if constexpr (std::is_same_v<M, std::string> || std::is_same_v<M, TCompactText>) {
            Reg.AddProperty(
                cls, name, TStr(), [m](void *s) { return VStr(std::string(static_cast<T *>(s)->*m)); },
                [m](void *s, const TScriptValue &v) { static_cast<T *>(s)->*m = v.Str; });
        } else if constexpr (std::is_same_v<M, bool>) {
            Reg.AddProperty(
                cls, name, TBool(), [m](void *s) { return VBool(static_cast<T *>(s)->*m); },
                [m](void *s, const TScriptValue &v) { static_cast<T *>(s)->*m = v.AsBool(); });
        } else if constexpr (std::is_floating_point_v<M>) {
            Reg.AddProperty(
                cls, name, TDbl(), [m](void *s) { return VDbl(static_cast<T *>(s)->*m); },
                [m](void *s, const TScriptValue &v) { static_cast<T *>(s)->*m = static_cast<M>(v.Dbl); });
        } else if constexpr (std::is_same_v<M, std::uint32_t>) {
            Reg.AddProperty(
                cls, name, TCard(), [m](void *s) { return TScriptValue::FromInt(static_cast<T *>(s)->*m, TScriptType::Cardinal); },
                [m](void *s, const TScriptValue &v) { static_cast<T *>(s)->*m = static_cast<M>(v.Int); });
        } else {
            static_assert(std::is_integral_v<M>);
            Reg.AddProperty(
                cls, name, TInt(), [m](void *s) { return VInt(static_cast<std::int64_t>(static_cast<T *>(s)->*m)); },
                [m](void *s, const TScriptValue &v) { static_cast<T *>(s)->*m = static_cast<M>(v.Int); });
        }
    }
    template <class T, class M>
    void PropRO(const char *cls, const char *name, M T::*m) const
    {
        if constexpr (std::is_same_v<M, std::string> || std::is_same_v<M, TCompactText> ||
                      std::is_same_v<M, TIdentityText>)
            Reg.AddProperty(cls, name, TStr(), [m](void *s) { return VStr(std::string(static_cast<T *>(s)->*m)); }, {});
        else if constexpr (std::is_same_v<M, bool>)
            Reg.AddProperty(cls, name, TBool(), [m](void *s) { return VBool(static_cast<T *>(s)->*m); }, {});
        else if constexpr (std::is_floating_point_v<M>)
            Reg.AddProperty(cls, name, TDbl(), [m](void *s) { return VDbl(static_cast<T *>(s)->*m); }, {});
        else
            Reg.AddProperty(cls, name, TInt(),
                            [m](void *s) { return VInt(static_cast<std::int64_t>(static_cast<T *>(s)->*m)); }, {});
    }
};

// The object behind an argument; a script error naming the routine when nil.
template <class T>
T &Need(const TScriptValue &v, const char *routine)
{
    void *p = v.Obj.Get();
    if (!p)
        throw std::runtime_error(std::string(routine) + ": Object required");
    return *static_cast<T *>(p);
}
// The object behind an argument, or nullptr for nil.
template <class T>
T *Maybe(const TScriptValue &v)
{
    return static_cast<T *>(v.Obj.Get());
}
// The object behind an argument when it is of the class (or a descendant);
// nullptr for nil, a number, a gone object and an object of any other class.
// For arguments whose type does not hold the class (Pointer, TObject).
template <class T>
T *MaybeOf(const TNames &n, const TScriptValue &v, const char *cls)
{
    const TScriptClassInfo *c = v.Obj.Class();
    return c && c->IsA(n.Class(cls)) ? static_cast<T *>(v.Obj.Get()) : nullptr;
}

// Dice and draw counts a script may ask for, as many as table files may.
inline constexpr std::int32_t DICE_SCRIPT_MAX_COUNT = 10000;

// A script-supplied count or index checked against a limit; a script error
// naming the routine otherwise.
std::int32_t CheckedCount(const TScriptValue &v, std::int32_t max, const char *routine);

// Family registrations (one unit each).
void RegisterApplicationNames(const TNames &n);
void RegisterHelperClassNames(const TNames &n);
void RegisterBodyNames(const TNames &n);
void RegisterRouteNames(const TNames &n);
void RegisterSubsectorNames(const TNames &n);
void RegisterSystemDataNames(const TNames &n);
void RegisterGeneratorNames(const TNames &n);
void RegisterTableNames(const TNames &n);
void RegisterDiceNames(const TNames &n);
void RegisterPhysicsNames(const TNames &n);
void RegisterOrbitNames(const TNames &n);
void RegisterSearchNames(const TNames &n);
void RegisterSectorConstants(const TNames &n);
void RegisterTextureNames(const TNames &n);
void RegisterBitmapNames(const TNames &n);
void RegisterSectorFileNames(const TNames &n);
void RegisterSectorContentNames(const TNames &n);
void RegisterTreeNames(const TNames &n);

} // namespace kalvion::names
