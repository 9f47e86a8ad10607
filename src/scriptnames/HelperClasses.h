#pragma once
// The general classes scripts use with the object model: TList (object
// references), TStringList and TStrings (texts), each with Create, Count,
// Add, Items, Clear, Delete, IndexOf and, for texts, Text.
#include "scriptnames/NameHelpers.h"

#include <string>
#include <vector>

namespace kalvion::names {

struct TScriptList {
    std::vector<TScriptObjectRef> Items;
};

struct TScriptStrings {
    std::vector<std::string> Items;
};

// Appends text split at line breaks (CR LF, LF or CR), without a last empty line.
void AppendLines(TScriptStrings &list, const std::string &text);
// The texts joined with CR LF after each.
std::string JoinLines(const TScriptStrings &list);

// The user-defined field operations every model class offers.
void RegisterFieldMethods(const TNames &n, const char *cls);

// A list argument for a routine that fills one (nil is a script error).
TScriptStrings &NeedStrings(const TScriptValue &v, const char *routine);

} // namespace kalvion::names
