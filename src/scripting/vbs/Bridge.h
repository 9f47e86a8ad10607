#pragma once
// Connects the interpreter to the name registry: registered routines,
// variables, constants and classes become script names, values are converted
// both ways, and program objects are wrapped in checked references.
#include "scripting/ScriptRegistry.h"
#include "scripting/vbs/Interpreter.h"

namespace kalvion::vbs {

class RegistryNames final : public NameProvider {
public:
    explicit RegistryNames(const TScriptRegistry &reg) : FReg(reg) {}
    bool Resolve(std::string_view lname, NameRef &ref) override;
    Variant Read(Interpreter &in, const NameRef &ref) override;
    Variant Call(Interpreter &in, const NameRef &ref, Variant **args, int argc) override;
    void Write(Interpreter &in, const NameRef &ref, const Variant &v) override;
    Object *CreateObject(Interpreter &in, std::string_view progId) override;

private:
    const TScriptRegistry &FReg;
};

Variant ToVariant(const TScriptValue &v);
TScriptValue FromVariant(const Variant &v, const TScriptArg &type);
Object *WrapObject(const TScriptObjectRef &ref);

} // namespace kalvion::vbs
