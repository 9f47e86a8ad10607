#pragma once
// An object of a class defined by the script.
#include "scripting/vbs/Ast.h"
#include "scripting/vbs/Object.h"

namespace kalvion::vbs {

class Instance final : public Object {
public:
    Instance(Interpreter *in, ClassDef *def);
    ~Instance() override;
    std::string TypeName() const override { return Def->Name; }
    Variant Invoke(Interpreter &in, std::string_view name, InvokeKind kind, Variant **args, int argc) override;
    void Put(Interpreter &in, std::string_view name, bool isSet, Variant **args, int argc, const Variant &value) override;
    void Teardown() override;
    void LastRelease() noexcept override;

    ClassDef *Def;
    std::vector<Variant> Fields;
    Interpreter *In;
    bool Terminated = false;

private:
    const ClassMember &Member(Interpreter &in, std::string_view name);
};

} // namespace kalvion::vbs
