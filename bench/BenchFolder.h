#pragma once
// Benchmarks that write files keep them in a fresh folder of their own under
// the system's temporary folder and remove it when they end.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace kalvion::bench {

// "kalvion-bench-<name>-<random number>", created.
inline std::filesystem::path MakeBenchFolder(const std::string &name)
{
    std::random_device rd;
    std::filesystem::path d =
        std::filesystem::temp_directory_path() / ("kalvion-bench-" + name + "-" + std::to_string(rd()));
    std::filesystem::create_directories(d);
    return d;
}

// The body of a benchmark program's main: run, then remove the folder.
inline int RunBenchmarksThenRemove(int argc, char **argv, const std::filesystem::path &folder)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return 0;
}

} // namespace kalvion::bench
