#pragma once
// The language's standard objects: Err, Scripting.Dictionary,
// Scripting.FileSystemObject with its text streams, folders and files, and the
// procedure references that GetRef returns.
#include "scripting/vbs/Object.h"

#include <string_view>

namespace kalvion::vbs {

struct Procedure;

Object *NewErrObject();
Object *NewDictionary(Interpreter &in);
Object *NewFileSystemObject();
Object *NewProcRef(const Procedure *p);

} // namespace kalvion::vbs
