#pragma once
// Model objects handed to scripts: a checked reference through the object's
// lifetime token, so that a script holding a body that was freed or removed
// sees "Object required" instead of freed memory.
#include "base/AsciiText.h"
#include "model/VexaBase.h"
#include "scripting/ScriptRegistry.h"

#include <string_view>

namespace kalvion {

// The reference of a model object as an instance of a registered class;
// a nil reference for a null object.
inline TScriptObjectRef ScriptRefOf(const TScriptRegistry &reg, std::string_view className, TVexaBase *obj)
{
    if (!obj)
        return {};
    return TScriptObjectRef(obj, reg.FindClass(AsciiLower(className)), obj->LifetimeToken());
}

// The model object behind a script value, or nullptr (nil, freed, or not a model object).
template <class T>
T *ModelObjectOf(const TScriptValue &v)
{
    return static_cast<T *>(v.Obj.Get());
}

} // namespace kalvion
