// Feeds random bytes to the random-table loader, to generation and to the
// markup expansion.  The input is split at the first NUL byte: the part
// before it is a table file, the part after it a markup text.
#include "base/SharedRandom.h"
#include "tables/ClassTKTable.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

using namespace kalvion;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char *>(data), size);
    const std::size_t nul = input.find('\0');
    const std::string file = input.substr(0, nul);
    const std::string markup = nul == std::string::npos ? input : input.substr(nul + 1);

    static const std::string path = "/tmp/kalvion_tables_fuzz_" + std::to_string(::getpid()) + ".ilt";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << file;

    SetSharedRandomSeed(static_cast<std::int32_t>(size));
    TTKTableApplication app;
    // The library folder is the temporary folder: includes resolve only to
    // files that happen to exist there.
    app.Load(path, "/tmp/kalvion_tables_fuzz_lib");
    app.Go(2);
    app.RunExpression(markup, 1);
    app.ProcessLine(markup, 3);
    app.OutputILT();
    return 0;
}
