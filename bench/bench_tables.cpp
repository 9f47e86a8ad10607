// Names per second from a syllable-based name table, against a baseline of
// the same draws done directly (three syllables picked by RollDice and
// joined), measured in the same run.
#include "base/SharedRandom.h"
#include "tables/ClassTKTable.h"
#include "science/Dice.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace kalvion;

namespace {

const char *const kOnsets[] = {"b", "c", "d", "f", "g", "h", "k", "l", "m", "n", "p", "r", "s", "t", "v", "z",
                               "br", "dr", "kr", "st", "th", "tr", "vr", "zh"};
const char *const kVowels[] = {"a", "e", "i", "o", "u", "ae", "ai", "ei", "ou", "y"};

// Three syllable tables of 240 entries each and a main table that combines
// them: 720 syllables plus the patterns.
std::vector<std::string> Syllables(const char *suffix)
{
    std::vector<std::string> out;
    for (const char *onset : kOnsets)
        for (const char *vowel : kVowels)
            out.push_back(std::string(onset) + vowel + suffix);
    return out;
}

std::string WriteNameTable()
{
    const std::string path = "/tmp/kalvion_bench_names_" + std::to_string(::getpid()) + ".ilt";
    std::ofstream f(path, std::ios::binary);
    f << "table: name\n"
         "3: [@first][@middle][@last >> proper]\n"
         "2: [@first][@last]\n"
         "1: [@first]'[@last]\n";
    const char *names[] = {"first", "middle", "last"};
    const char *suffixes[] = {"", "n", "r"};
    for (int t = 0; t < 3; ++t) {
        f << "table: " << names[t] << "\n";
        for (const auto &s : Syllables(suffixes[t]))
            f << s << "\n";
    }
    return path;
}

void BM_TableNames(benchmark::State &state)
{
    const std::string path = WriteNameTable();
    TTKTableApplication app;
    if (!app.Load(path)) {
        state.SkipWithError("cannot load the name table");
        return;
    }
    std::remove(path.c_str());
    SetSharedRandomSeed(12345);
    const std::int32_t batch = 100;
    for (auto _ : state) {
        benchmark::DoNotOptimize(app.Go(batch));
    }
    state.SetItemsProcessed(state.iterations() * batch);
}
BENCHMARK(BM_TableNames);

void BM_DirectSyllables(benchmark::State &state)
{
    const auto first = Syllables(""), middle = Syllables("n"), last = Syllables("r");
    SetSharedRandomSeed(12345);
    const std::int32_t batch = 100;
    for (auto _ : state) {
        std::string out;
        for (std::int32_t i = 0; i < batch; ++i) {
            out += first[static_cast<std::size_t>(RollDice(1, 240, -1))];
            out += middle[static_cast<std::size_t>(RollDice(1, 240, -1))];
            out += last[static_cast<std::size_t>(RollDice(1, 240, -1))];
            out += "\r\n";
        }
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations() * batch);
}
BENCHMARK(BM_DirectSyllables);

} // namespace

BENCHMARK_MAIN();
