#pragma once
// Objects seen by scripts: class instances, the standard objects (Err,
// Dictionary, FileSystemObject and its parts), procedure references and
// program objects reached through the name registry.
#include "scripting/vbs/MemberCache.h"
#include "scripting/vbs/Variant.h"

#include <string>
#include <string_view>
#include <vector>

namespace kalvion::vbs {

class Interpreter;

enum class InvokeKind { Get, Call };


class Object : public HeapCell {
public:
    // What TypeName reports for the object.
    virtual std::string TypeName() const = 0;
    // Reads a property or calls a method.  `name` is lower case; an empty name
    // is the default member.  Arguments are references so that by-reference
    // parameters can write back.
    virtual Variant Invoke(Interpreter &in, std::string_view name, InvokeKind kind, Variant **args, int argc);
    // The same from a call site that keeps what it found; objects without
    // registered classes ignore the cache.
    virtual Variant InvokeCached(Interpreter &in, std::string_view name, InvokeKind kind, Variant **args, int argc,
                                 MemberCache &)
    {
        return Invoke(in, name, kind, args, argc);
    }
    // Writes a property (with optional index arguments).
    virtual void Put(Interpreter &in, std::string_view name, bool isSet, Variant **args, int argc, const Variant &value);
    // For Each: the elements in order; false when the object is not a collection.
    virtual bool Enumerate(Interpreter &in, std::vector<Variant> &out);
    // Drops every value the object holds, so that reference cycles fall apart
    // when the engine closes.
    virtual void Teardown() {}
    // A checked reference to a program object reports false once it is gone.
    virtual bool Alive() const { return true; }
    // What "Is" compares: two wrappers of one program object are the same object.
    virtual const void *Identity() const { return this; }
};

inline Object *Variant::RawObj() const noexcept
{
    return FType == VT_DISPATCH ? static_cast<Object *>(FP) : nullptr;
}

inline Variant Variant::Obj(Object *o)
{
    Variant v;
    v.FType = VT_DISPATCH;
    v.FP = o;
    if (o)
        AddRefCell(o);
    return v;
}

// Keeps an object alive for the duration of a scope.
class ObjHold {
public:
    explicit ObjHold(Object *o) : FObj(o) { if (FObj) AddRefCell(FObj); }
    ~ObjHold() { if (FObj) ReleaseCell(FObj); }
    ObjHold(const ObjHold &) = delete;
    ObjHold &operator=(const ObjHold &) = delete;
    Object *Get() const { return FObj; }

private:
    Object *FObj;
};

[[noreturn]] void ThrowNoMember(std::string_view name);
void CheckArgCount(int argc, int minArgs, int maxArgs);

} // namespace kalvion::vbs
