#include "scripting/ScriptRegistry.h"

#include "base/AsciiText.h"

namespace kalvion {

const TScriptMethod *TScriptClassInfo::FindMethod(std::string_view lname) const
{
    for (const TScriptClassInfo *c = this; c; c = c->Parent) {
        auto it = c->Methods.find(std::string(lname));
        if (it != c->Methods.end())
            return &it->second;
    }
    return nullptr;
}

const TScriptProperty *TScriptClassInfo::FindProperty(std::string_view lname) const
{
    for (const TScriptClassInfo *c = this; c; c = c->Parent) {
        auto it = c->Properties.find(std::string(lname));
        if (it != c->Properties.end())
            return &it->second;
    }
    return nullptr;
}

bool TScriptClassInfo::IsA(const TScriptClassInfo *other) const
{
    for (const TScriptClassInfo *c = this; c; c = c->Parent)
        if (c == other)
            return true;
    return false;
}

TScriptRegistry &TScriptRegistry::Global()
{
    static TScriptRegistry r;
    return r;
}

bool TScriptRegistry::NameTaken(const std::string &l) const
{
    return FRoutines.count(l) || FVariables.count(l) || FConstants.count(l) || FClasses.count(l);
}

bool TScriptRegistry::AddRoutine(std::string name, std::vector<TScriptArg> args, TScriptArg result,
                                 std::function<TScriptValue(TScriptArgs &)> impl)
{
    const std::string l = AsciiLower(name);
    if (NameTaken(l))
        return false;
    FRoutines.emplace(l, TScriptRoutine{std::move(name), std::move(args), std::move(result), std::move(impl)});
    return true;
}

TScriptClassInfo *TScriptRegistry::AddClass(const std::string &name, const std::string &parent)
{
    const std::string l = AsciiLower(name);
    auto it = FClasses.find(l);
    if (it != FClasses.end())
        return it->second.get();
    if (NameTaken(l))
        return nullptr;
    auto c = std::make_unique<TScriptClassInfo>();
    c->Name = name;
    if (!parent.empty()) {
        auto p = FClasses.find(AsciiLower(parent));
        if (p != FClasses.end())
            c->Parent = p->second.get();
    }
    TScriptClassInfo *raw = c.get();
    FClasses.emplace(l, std::move(c));
    return raw;
}

bool TScriptRegistry::AddMethod(const std::string &cls, std::string name, std::vector<TScriptArg> args,
                                TScriptArg result, std::function<TScriptValue(void *, TScriptArgs &)> impl)
{
    auto it = FClasses.find(AsciiLower(cls));
    if (it == FClasses.end())
        return false;
    const std::string l = AsciiLower(name);
    if (it->second->Methods.count(l))
        return false;
    it->second->Methods.emplace(l, TScriptMethod{std::move(name), std::move(args), std::move(result), std::move(impl)});
    return true;
}

bool TScriptRegistry::AddConstructor(const std::string &cls, std::function<TScriptObjectRef()> ctor)
{
    auto it = FClasses.find(AsciiLower(cls));
    if (it == FClasses.end() || it->second->Constructor)
        return false;
    it->second->Constructor = std::move(ctor);
    return true;
}

bool TScriptRegistry::AddProperty(const std::string &cls, std::string name, TScriptArg type,
                                  std::function<TScriptValue(void *)> get,
                                  std::function<void(void *, const TScriptValue &)> set)
{
    auto it = FClasses.find(AsciiLower(cls));
    if (it == FClasses.end())
        return false;
    const std::string l = AsciiLower(name);
    if (it->second->Properties.count(l))
        return false;
    it->second->Properties.emplace(l, TScriptProperty{std::move(name), std::move(type), std::move(get), std::move(set)});
    return true;
}

bool TScriptRegistry::AddVariable(std::string name, TScriptArg type, std::function<TScriptValue()> get,
                                  std::function<void(const TScriptValue &)> set)
{
    const std::string l = AsciiLower(name);
    if (NameTaken(l))
        return false;
    FVariables.emplace(l, TScriptVariable{std::move(name), std::move(type), std::move(get), std::move(set)});
    return true;
}

bool TScriptRegistry::AddConstant(std::string name, TScriptValue value)
{
    const std::string l = AsciiLower(name);
    if (NameTaken(l))
        return false;
    FConstants.emplace(l, TScriptConstant{std::move(name), std::move(value)});
    return true;
}

const TScriptRoutine *TScriptRegistry::FindRoutine(std::string_view lname) const
{
    auto it = FRoutines.find(std::string(lname));
    return it == FRoutines.end() ? nullptr : &it->second;
}

const TScriptVariable *TScriptRegistry::FindVariable(std::string_view lname) const
{
    auto it = FVariables.find(std::string(lname));
    return it == FVariables.end() ? nullptr : &it->second;
}

const TScriptConstant *TScriptRegistry::FindConstant(std::string_view lname) const
{
    auto it = FConstants.find(std::string(lname));
    return it == FConstants.end() ? nullptr : &it->second;
}

const TScriptClassInfo *TScriptRegistry::FindClass(std::string_view lname) const
{
    auto it = FClasses.find(std::string(lname));
    return it == FClasses.end() ? nullptr : it->second.get();
}

} // namespace kalvion
