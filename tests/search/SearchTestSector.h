#pragma once
// A small hand-made sector for the search tests:
//   Sol (star, 0,0,0)        Earth (Luna), Mars, Jupiter (Io)
//   Alpha (multiple, 4,0,0)  Alpha A (Alpha Ab), Alpha B
//   Far (star, 50,0,0)       Far I
//   Lone (brown dwarf, -3,0,0, hidden)
// with a route Sol - Alpha and the subsectors "core" (around the origin) and
// "rim" (around Far).
#include "model/VexaSector.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kalvion::test {

std::unique_ptr<TVexaSector> MakeSearchSector();
TStellarBody *FindBody(TVexaSector &sector, const std::string &name);
std::vector<std::string> Names(const TStellarBodyList &list);

// Results as (index of the system in the sector, row id of the body), which
// compare across two openings of one file.
using ResultKey = std::pair<int, std::int64_t>;
std::vector<ResultKey> ResultKeys(const TVexaSector &sector, const TStellarBodyList &results);

class SearchTempDir : public ::testing::Test {
protected:
    std::filesystem::path Dir;
    void SetUp() override;
    void TearDown() override;
    std::string PathOf(const std::string &name) const { return (Dir / name).string(); }
};

} // namespace kalvion::test
