#pragma once
// Values as they cross between the program and a script language: the
// registered types of routines, methods, variables and constants.  Objects
// cross as checked references, so a script holding an object that the program
// has freed sees "nothing" instead of freed memory.
#include <cstdint>
#include <memory>
#include <string>

namespace kalvion {

enum class TScriptType : std::uint8_t {
    None,     // no value (a routine without result)
    String,
    Integer,  // 32-bit signed
    Double,
    Boolean,
    Byte,
    Cardinal, // 32-bit unsigned
    Pointer,  // an opaque reference (an object or a number)
    Object,   // a program object of a registered class (or any class for "TObject")
    Variant,  // whatever the script passes
};

struct TScriptClassInfo;

class TScriptObjectRef {
public:
    TScriptObjectRef() = default;
    // A checked reference: alive while the token is.
    TScriptObjectRef(void *ptr, const TScriptClassInfo *cls, std::weak_ptr<void> token)
        : FPtr(ptr), FClass(cls), FToken(std::move(token)), FChecked(true) {}
    // An unchecked reference, for objects that live as long as the program.
    static TScriptObjectRef Unchecked(void *ptr, const TScriptClassInfo *cls)
    {
        TScriptObjectRef r;
        r.FPtr = ptr;
        r.FClass = cls;
        return r;
    }

    void *Get() const { return FChecked && FToken.expired() ? nullptr : FPtr; }
    bool IsNil() const { return Get() == nullptr; }
    // The pointer as it was handed over, even if the object is gone (identity only).
    void *RawPointer() const { return FPtr; }
    const TScriptClassInfo *Class() const { return FClass; }

private:
    void *FPtr = nullptr;
    const TScriptClassInfo *FClass = nullptr;
    std::weak_ptr<void> FToken;
    bool FChecked = false;
};

struct TScriptValue {
    TScriptType Type = TScriptType::None;
    std::int64_t Int = 0;  // Integer, Byte, Cardinal, Pointer (as a number), Boolean (0/1)
    double Dbl = 0;
    std::string Str;
    TScriptObjectRef Obj;

    static TScriptValue None() { return {}; }
    static TScriptValue FromString(std::string s)
    {
        TScriptValue v;
        v.Type = TScriptType::String;
        v.Str = std::move(s);
        return v;
    }
    static TScriptValue FromInt(std::int64_t i, TScriptType t = TScriptType::Integer)
    {
        TScriptValue v;
        v.Type = t;
        v.Int = i;
        return v;
    }
    static TScriptValue FromDouble(double d)
    {
        TScriptValue v;
        v.Type = TScriptType::Double;
        v.Dbl = d;
        return v;
    }
    static TScriptValue FromBool(bool b)
    {
        TScriptValue v;
        v.Type = TScriptType::Boolean;
        v.Int = b ? 1 : 0;
        return v;
    }
    static TScriptValue FromObject(TScriptObjectRef r)
    {
        TScriptValue v;
        v.Type = TScriptType::Object;
        v.Obj = std::move(r);
        return v;
    }
    bool AsBool() const { return Int != 0; }
};

} // namespace kalvion
