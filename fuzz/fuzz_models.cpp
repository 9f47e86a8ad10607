// Model files from outside: any bytes, read as any of the formats the
// program looks for, must import or fail without a crash or a hang of the
// program, and a scene that passes the checks must measure, fit and resolve
// its textures.  The first byte picks the format.  The input goes through a
// file, as in the program, so the importer's own trial in a child process
// is part of what runs.
#include "render/models/Model3DOGL.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const char *const hints[] = {"obj", "ply", "3ds", "x", "dae", "off", "stl", "gltf", "glb"};
    if (size < 1)
        return 0;
    const std::string file = "/tmp/kalvion-fuzz-model-" + std::to_string(::getpid()) + "." +
                             hints[data[0] % (sizeof hints / sizeof hints[0])];
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char *>(data + 1),
                                                static_cast<std::streamsize>(size - 1));
    kalvion::T3DModelOGL model(file);
    model.ImportTimeoutMs = 5000;
    model.Load();
    if (model.Loaded()) {
        model.FitToBox(100, 100, 100);
        model.ResolveTextures();
    }
    ::unlink(file.c_str());
    return 0;
}
