#include "FilesTestHelpers.h"

#include <fstream>
#include <iterator>
#include <random>
#include <cstdio>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kalvion::test {

namespace fs = std::filesystem;

void TempDirTest::SetUp()
{
    std::random_device rd;
    const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
    Dir = fs::temp_directory_path() /
          ("kalvion-files-" + std::string(info->name()) + "-" + std::to_string(rd()) + std::to_string(::getpid()));
    fs::remove_all(Dir);
    fs::create_directories(Dir);
}

void TempDirTest::TearDown()
{
    std::error_code ec;
    // A test may leave a folder read-only.
    for (auto it = fs::recursive_directory_iterator(Dir, ec); it != fs::recursive_directory_iterator(); ++it)
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::permissions(Dir, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(Dir, ec);
}

std::int64_t QueryInt(const std::string &file, const std::string &sql)
{
    TZentSqliteInterface db(file, "", "", "", TZentOpenMode::ExistingOnly);
    auto rs = db.Query(sql);
    EXPECT_FALSE(db.HasError) << sql << ": " << db.ErrorMessage;
    return rs->Next() ? rs->AsInt64(0) : -1;
}

std::string QueryText(const std::string &file, const std::string &sql)
{
    TZentSqliteInterface db(file, "", "", "", TZentOpenMode::ExistingOnly);
    auto rs = db.Query(sql);
    EXPECT_FALSE(db.HasError) << sql << ": " << db.ErrorMessage;
    return rs->Next() ? rs->AsString(0) : std::string();
}

std::vector<std::string> QueryColumn(const std::string &file, const std::string &sql)
{
    TZentSqliteInterface db(file, "", "", "", TZentOpenMode::ExistingOnly);
    auto rs = db.Query(sql);
    EXPECT_FALSE(db.HasError) << sql << ": " << db.ErrorMessage;
    std::vector<std::string> out;
    while (rs->Next())
        out.push_back(rs->AsString(0));
    return out;
}

void ExecSql(const std::string &file, const std::string &sql)
{
    TZentSqliteInterface db(file, "", "", "", TZentOpenMode::ExistingOnly);
    db.Execute(sql);
    EXPECT_FALSE(db.HasError) << sql << ": " << db.ErrorMessage;
}

bool RunningAsRoot() { return ::geteuid() == 0; }

namespace {

// A uid and gid no account uses: the unprivileged user of the tests.
constexpr uid_t THROWAWAY_ID = 61873;

void HandOver(const std::filesystem::path &dir)
{
    ::chown(dir.c_str(), THROWAWAY_ID, THROWAWAY_ID);
    for (const auto &entry : std::filesystem::recursive_directory_iterator(dir))
        ::lchown(entry.path().c_str(), THROWAWAY_ID, THROWAWAY_ID);
}

} // namespace

bool RunUnprivileged(const std::filesystem::path &dir, const std::function<void()> &body)
{
    if (!RunningAsRoot()) {
        body();
        return true;
    }
    HandOver(dir);
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
        // Exit status 2: the user could not be had; 1: an expectation failed.
        if (::setgroups(0, nullptr) != 0 || ::setgid(THROWAWAY_ID) != 0 || ::setuid(THROWAWAY_ID) != 0 ||
            ::geteuid() == 0)
            ::_exit(2);
        body();
        std::fflush(nullptr);
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) == 2)
        return false;
    EXPECT_EQ(WEXITSTATUS(status), 0) << "an expectation failed as the unprivileged user (see above)";
    return true;
}

std::vector<char> ReadBytes(const std::string &file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::unique_ptr<TStellarBody> MakeSystem(const std::string &name, int planets, double x)
{
    auto star = TStellarBody::Create();
    star->TypeID = BODY_TYPE_STAR;
    star->Name = name;
    star->X = x;
    star->Y = x / 2;
    star->Z = -x;
    for (int i = 0; i < planets; ++i) {
        auto p = TStellarBody::Create();
        p->TypeID = BODY_TYPE_TERRESTRIAL;
        p->Name = name + " " + std::to_string(i + 1);
        p->Distance = 1e7 * (i + 1);
        auto moon = TStellarBody::Create();
        moon->TypeID = BODY_TYPE_TERRESTRIAL;
        moon->Name = p->Name + " a";
        p->AddChild(std::move(moon));
        star->AddChild(std::move(p));
    }
    return star;
}

int CountBodies(TStellarBody &root)
{
    TStellarBodyList all;
    root.GetAllChildren(all);
    return static_cast<int>(all.size());
}

} // namespace kalvion::test
