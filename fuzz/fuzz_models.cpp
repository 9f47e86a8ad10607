// Model files from outside: any bytes, read as any of the formats the
// program looks for, must import or fail without a crash, and a scene that
// passes the checks must measure, fit and resolve its textures.  The first
// byte picks the format.
#include "render/models/Model3DOGL.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const char *const hints[] = {"obj", "ply", "3ds", "x", "dae", "off", "stl", "gltf", "glb"};
    if (size < 1)
        return 0;
    kalvion::T3DModelOGL model("/nonexistent/fuzz/model");
    model.LoadFromMemory(data + 1, size - 1, hints[data[0] % (sizeof hints / sizeof hints[0])]);
    if (model.Loaded()) {
        model.FitToBox(100, 100, 100);
        model.ResolveTextures();
    }
    return 0;
}
