#pragma once
// Shared helpers of the sector-file tests: a fresh folder per test, small
// direct SQL look-ups, and sectors filled with recognisable values.
#include "files/ZentDatabaseSQLite.h"
#include "model/VexaSector.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kalvion::test {

class TempDirTest : public ::testing::Test {
protected:
    std::filesystem::path Dir;
    void SetUp() override;
    void TearDown() override;
    std::string PathOf(const std::string &name) const { return (Dir / name).string(); }
};

// One value from a query on a file, read through a connection of its own.
std::int64_t QueryInt(const std::string &file, const std::string &sql);
std::string QueryText(const std::string &file, const std::string &sql);
void ExecSql(const std::string &file, const std::string &sql);
std::vector<std::string> QueryColumn(const std::string &file, const std::string &sql);

bool RunningAsRoot();
// Runs body as an unprivileged user, so that permission bits hold: directly
// when the tests do not run as root; as root, in a child process that has
// dropped to a throw-away uid and gid, dir (and all in it) handed to that
// user first.  Expectations failing in the child fail the calling test.
// False when no unprivileged user could be had (the caller skips).
bool RunUnprivileged(const std::filesystem::path &dir, const std::function<void()> &body);
std::vector<char> ReadBytes(const std::string &file);

// A system: a star with `planets` planets, each with one moon.
std::unique_ptr<TStellarBody> MakeSystem(const std::string &name, int planets, double x = 0);
int CountBodies(TStellarBody &root);

} // namespace kalvion::test
