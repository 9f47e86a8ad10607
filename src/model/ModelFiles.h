#pragma once
// Where a body's 3D model lies below a model folder.  Every model has a
// folder of its own, named like the model file, inside the folder of its
// body type ("Space Station/dock.obj/dock.obj"), together with its textures.
#include <string>

namespace kalvion {

class TStellarBody;

// The default-model formats, in the order they are looked for.
inline constexpr const char *MODEL_DEFAULT_EXTENSIONS[] = {".obj", ".3ds", ".x", ".dae"};

// The model of a body relative to a model folder: its own ModelFile when it
// names one, else the default model of its type found in modelsFolder.
std::string ModelFileNameIn(const TStellarBody &body, const std::string &modelsFolder);
// The default model of the body's type that exists in modelsFolder
// ("<type>/default<ext>/default<ext>"), or "" when there is none.
std::string DefaultModelIn(const TStellarBody &body, const std::string &modelsFolder);

} // namespace kalvion
