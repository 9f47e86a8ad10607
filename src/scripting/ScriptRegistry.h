#pragma once
// The names the program registers for scripts, once, at start-up: global
// routines, classes with methods, constructors and published properties,
// variables backed by program state, and constants.  Names match ignoring
// case; a second registration of a name leaves the first in place.  The
// registry knows no script language; each engine bridges it.
#include "scripting/ScriptValue.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kalvion {

struct TScriptArg {
    TScriptType Type = TScriptType::None;
    // For Object: the registered class, or "TObject" for any.  For Pointer:
    // the class an object passed must be of (a number still passes); empty
    // for any.
    std::string ClassName;
    bool ByRef = false;    // a "var" parameter: the routine's change goes back to the script's variable
    // An Object argument a routine only tests (isNull): whatever the script
    // passes arrives as the Variant type describes it, and an object that is
    // gone arrives as a nil reference instead of stopping the call.
    bool Probe = false;
};

using TScriptArgs = std::vector<TScriptValue>;

struct TScriptRoutine {
    std::string Name;
    std::vector<TScriptArg> Args;
    TScriptArg Result;
    std::function<TScriptValue(TScriptArgs &)> Impl;
};

struct TScriptMethod {
    std::string Name;
    std::vector<TScriptArg> Args;
    TScriptArg Result;
    std::function<TScriptValue(void *self, TScriptArgs &)> Impl;
};

struct TScriptProperty {
    std::string Name;
    TScriptArg Type;
    std::function<TScriptValue(void *self)> Get;
    std::function<void(void *self, const TScriptValue &)> Set; // empty: read-only
};

struct TScriptClassInfo {
    std::string Name;
    const TScriptClassInfo *Parent = nullptr;
    std::unordered_map<std::string, TScriptMethod> Methods;      // lower-case name
    std::unordered_map<std::string, TScriptProperty> Properties; // lower-case name
    std::function<TScriptObjectRef()> Constructor;               // "Create"; empty when none
    // FreeObject of an object of the class that is not in the host's pool
    // (a script dialog, a node of a script's tree): frees it and answers
    // true, or answers false when the object is the program's own.
    std::function<bool(void *)> Destroy;

    const TScriptMethod *FindMethod(std::string_view lname) const;
    const TScriptProperty *FindProperty(std::string_view lname) const;
    bool IsA(const TScriptClassInfo *other) const;
};

struct TScriptVariable {
    std::string Name;
    TScriptArg Type;
    std::function<TScriptValue()> Get;
    std::function<void(const TScriptValue &)> Set;
};

struct TScriptConstant {
    std::string Name;
    TScriptValue Value;
};

class TScriptRegistry {
public:
    // The program's one registry.
    static TScriptRegistry &Global();

    bool AddRoutine(std::string name, std::vector<TScriptArg> args, TScriptArg result,
                    std::function<TScriptValue(TScriptArgs &)> impl);
    // Adds a class; an existing class of that name is returned unchanged.
    TScriptClassInfo *AddClass(const std::string &name, const std::string &parent = {});
    bool AddMethod(const std::string &cls, std::string name, std::vector<TScriptArg> args, TScriptArg result,
                   std::function<TScriptValue(void *, TScriptArgs &)> impl);
    bool AddConstructor(const std::string &cls, std::function<TScriptObjectRef()> ctor);
    bool AddProperty(const std::string &cls, std::string name, TScriptArg type,
                     std::function<TScriptValue(void *)> get, std::function<void(void *, const TScriptValue &)> set);
    bool AddVariable(std::string name, TScriptArg type, std::function<TScriptValue()> get,
                     std::function<void(const TScriptValue &)> set);
    bool AddConstant(std::string name, TScriptValue value);

    const TScriptRoutine *FindRoutine(std::string_view lname) const;
    const TScriptVariable *FindVariable(std::string_view lname) const;
    const TScriptConstant *FindConstant(std::string_view lname) const;
    const TScriptClassInfo *FindClass(std::string_view lname) const;

    std::size_t RoutineCount() const { return FRoutines.size(); }
    std::size_t ClassCount() const { return FClasses.size(); }
    // Everything registered, by lower-case name (listings and their checks).
    const std::unordered_map<std::string, TScriptRoutine> &Routines() const { return FRoutines; }
    const std::unordered_map<std::string, TScriptVariable> &Variables() const { return FVariables; }
    const std::unordered_map<std::string, TScriptConstant> &Constants() const { return FConstants; }
    const std::unordered_map<std::string, std::unique_ptr<TScriptClassInfo>> &Classes() const { return FClasses; }

private:
    bool NameTaken(const std::string &lname) const;
    std::unordered_map<std::string, TScriptRoutine> FRoutines;
    std::unordered_map<std::string, TScriptVariable> FVariables;
    std::unordered_map<std::string, TScriptConstant> FConstants;
    std::unordered_map<std::string, std::unique_ptr<TScriptClassInfo>> FClasses;
};

// Argument-type shorthands for registrations.
inline TScriptArg ArgOf(TScriptType t) { return TScriptArg{t, {}, false}; }
inline TScriptArg ArgObj(std::string cls) { return TScriptArg{TScriptType::Object, std::move(cls), false}; }
inline TScriptArg ArgVar(TScriptType t) { return TScriptArg{t, {}, true}; }
// An object argument that is only tested, never used (see Probe).
inline TScriptArg ArgProbe() { return TScriptArg{TScriptType::Object, "TObject", false, true}; }
// A Pointer argument whose objects must be of a class (the sort comparers' bodies).
inline TScriptArg ArgPtrTo(std::string cls) { return TScriptArg{TScriptType::Pointer, std::move(cls), false}; }

} // namespace kalvion
