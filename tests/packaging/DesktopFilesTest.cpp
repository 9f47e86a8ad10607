// The files that tell a Linux desktop about Kalvion: the menu entry, the
// sector file types, the AppStream data and the manual pages.
#include "Shell.h"

#include <QCoreApplication>
#include <QMimeDatabase>

#include <set>
#include <sstream>

namespace kalvion::test {
namespace {

const fs::path Source = KALVION_SOURCE_DIR;
const fs::path Binary = KALVION_BINARY_DIR;
const fs::path BinDir = KALVION_BIN_DIR;
const std::string AppId = KALVION_APP_ID;

fs::path DesktopFile() { return Source / "packaging" / (AppId + ".desktop"); }
fs::path MimeFile() { return Source / "packaging" / "kalvion-mime.xml"; }

TEST(DesktopEntry, PassesTheValidator)
{
    const std::string validator = Which("desktop-file-validate");
    if (validator.empty())
        GTEST_SKIP() << "desktop-file-validate is not installed (apt-get install desktop-file-utils)";
    const Ran r = RunShell(Sh(validator) + " " + Sh(DesktopFile().string()));
    // Hints are advice; anything else it prints is a fault.
    std::istringstream lines(r.output);
    std::string line, faults;
    while (std::getline(lines, line))
        if (line.find(": hint: ") == std::string::npos)
            faults += line + "\n";
    EXPECT_EQ(r.code, 0) << r.output;
    EXPECT_EQ(faults, "");
}

TEST(DesktopEntry, StartsKalvionWithTheFilesAndNamesBothSectorTypes)
{
    const std::string text = ReadAll(DesktopFile());
    EXPECT_NE(text.find("\nExec=kalvion %F\n"), std::string::npos);
    EXPECT_NE(text.find("\nIcon=" + AppId + "\n"), std::string::npos);
    // Every type the entry claims is one the MIME package defines.
    const std::string mime = ReadAll(MimeFile());
    const auto a = text.find("\nMimeType=");
    ASSERT_NE(a, std::string::npos);
    std::istringstream types(text.substr(a + 10, text.find('\n', a + 1) - a - 10));
    std::string type;
    int count = 0;
    while (std::getline(types, type, ';')) {
        if (type.empty())
            continue;
        ++count;
        EXPECT_NE(mime.find("<mime-type type=\"" + type + "\">"), std::string::npos) << type;
    }
    EXPECT_EQ(count, 2);
}

TEST(AppStream, MetainfoPassesTheValidator)
{
    const fs::path metainfo = Binary / "packaging" / (AppId + ".metainfo.xml");
    ASSERT_TRUE(fs::exists(metainfo));
    const std::string text = ReadAll(metainfo);
    EXPECT_EQ(text.find('@'), std::string::npos) << "an unreplaced @VARIABLE@";
    EXPECT_NE(text.find("<launchable type=\"desktop-id\">" + AppId + ".desktop</launchable>"), std::string::npos);
    if (const std::string cli = Which("appstreamcli"); !cli.empty()) {
        const Ran r = RunShell(Sh(cli) + " validate --no-net --no-color " + Sh(metainfo.string()));
        EXPECT_EQ(r.code, 0) << r.output;
    } else if (const std::string util = Which("appstream-util"); !util.empty()) {
        const Ran r = RunShell(Sh(util) + " validate-relax --nonet " + Sh(metainfo.string()));
        EXPECT_EQ(r.code, 0) << r.output;
    } else {
        GTEST_SKIP() << "neither appstreamcli nor appstream-util is installed (apt-get install appstream)";
    }
}

// The MIME package compiled into a private data folder, and Qt's MIME
// database (which reads the same shared-mime-info files as the file
// managers) asked about sector files there.  Each test runs in a process of
// its own, so the folder is set before Qt first reads the database.
class SectorFileTypes : public ::testing::Test {
protected:
    void SetUp() override
    {
        updater_ = Which("update-mime-database");
        if (updater_.empty())
            GTEST_SKIP() << "update-mime-database is not installed (apt-get install shared-mime-info)";
        dir_ = ScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_ / "mime" / "packages");
        fs::copy_file(MimeFile(), dir_ / "mime" / "packages" / (AppId + ".xml"));
        const Ran r = RunShell(Sh(updater_) + " " + Sh((dir_ / "mime").string()));
        ASSERT_EQ(r.code, 0) << r.output;
        ::setenv("XDG_DATA_HOME", dir_.c_str(), 1);
    }
    void TearDown() override
    {
        if (!dir_.empty())
            fs::remove_all(dir_);
    }
    fs::path Sample(const std::string &name) { return BinDir / "Samples" / name; }

    std::string updater_;
    fs::path dir_;
};

TEST_F(SectorFileTypes, TheNameTellsASectorAndAnOlderSectorFile)
{
    const QMimeDatabase db;
    EXPECT_EQ(db.mimeTypeForFile("/nowhere/a.VexaDB", QMimeDatabase::MatchExtension).name().toStdString(),
              "application/x-kalvion-sector");
    // Names from older versions may come in any case.
    EXPECT_EQ(db.mimeTypeForFile("/nowhere/OLD MAP.SECTOR", QMimeDatabase::MatchExtension).name().toStdString(),
              "application/x-kalvion-old-sector");
    EXPECT_EQ(db.mimeTypeForFile("/nowhere/Old Map.Sector", QMimeDatabase::MatchExtension).name().toStdString(),
              "application/x-kalvion-old-sector");
    EXPECT_EQ(db.mimeTypeForName("application/x-kalvion-sector").comment().toStdString(), "Kalvion sector");
    EXPECT_TRUE(db.mimeTypeForName("application/x-kalvion-sector").inherits("application/vnd.sqlite3"));
}

TEST_F(SectorFileTypes, ASampleIsASectorAndAnotherDatabaseIsNot)
{
    const fs::path sample = Sample("Lantern Reach.VexaDB");
    ASSERT_TRUE(fs::exists(sample));
    const QMimeDatabase db;
    // Name and content together, as a file manager asks.
    EXPECT_EQ(db.mimeTypeForFile(QString::fromStdString(sample.string())).name().toStdString(),
              "application/x-kalvion-sector");
    // Without its name a sector is still known as a database.
    const fs::path renamed = dir_ / "sector-without-extension";
    fs::copy_file(sample, renamed);
    EXPECT_TRUE(db.mimeTypeForFile(QString::fromStdString(renamed.string())).inherits("application/vnd.sqlite3") ||
                db.mimeTypeForFile(QString::fromStdString(renamed.string())).name() == "application/vnd.sqlite3");
    // Another program's database is no sector.
    if (const std::string sqlite = Which("sqlite3"); !sqlite.empty()) {
        const fs::path other = dir_ / "addresses.db";
        const Ran r = RunShell(Sh(sqlite) + " " + Sh(other.string()) +
                               " 'create table people (name text); insert into people values (1);'");
        ASSERT_EQ(r.code, 0) << r.output;
        EXPECT_EQ(db.mimeTypeForFile(QString::fromStdString(other.string())).name().toStdString(),
                  "application/vnd.sqlite3");
    }
}

// Kalvion opens sector files: the desktop database built from the installed
// entry names it as the handler of both types.
TEST(DesktopEntry, BecomesTheDefaultHandlerOfSectorFiles)
{
    const std::string updater = Which("update-desktop-database");
    const std::string xdgMime = Which("xdg-mime");
    if (updater.empty() || xdgMime.empty())
        GTEST_SKIP() << "update-desktop-database or xdg-mime is missing "
                        "(apt-get install desktop-file-utils xdg-utils)";
    const fs::path dir = ScratchFolder("handler");
    fs::create_directories(dir / "data" / "applications");
    fs::copy_file(DesktopFile(), dir / "data" / "applications" / (AppId + ".desktop"));
    ASSERT_EQ(RunShell(Sh(updater) + " " + Sh((dir / "data" / "applications").string())).code, 0);
    const std::string env = "env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION XDG_DATA_HOME=" + Sh((dir / "data").string()) +
                            " XDG_CONFIG_HOME=" + Sh((dir / "config").string()) + " XDG_DATA_DIRS=" +
                            Sh((dir / "none").string()) + " ";
    for (const char *type : {"application/x-kalvion-sector", "application/x-kalvion-old-sector"}) {
        const Ran r = RunShell(env + Sh(xdgMime) + " query default " + type);
        EXPECT_EQ(r.output, AppId + ".desktop\n") << type;
    }
    fs::remove_all(dir);
}

// kalvion-cli's page lists every command its help lists; both pages read
// without complaints from man.
TEST(ManualPages, ListEveryCommandAndRenderCleanly)
{
    const fs::path man = Binary / "packaging" / "man";
    const fs::path cliPage = man / "kalvion-cli.1.gz";
    ASSERT_TRUE(fs::exists(cliPage));
    ASSERT_TRUE(fs::exists(man / "kalvion.1.gz"));
    const Ran help = RunShell(Sh((BinDir / "kalvion-cli").string()) + " help");
    ASSERT_EQ(help.code, 0);
    const Ran page = RunShell("gzip -dc " + Sh(cliPage.string()));
    ASSERT_EQ(page.code, 0);
    std::istringstream lines(help.output);
    std::string line;
    // Commands are listed under group headings, two spaces in; option
    // lines start with "--".
    int commands = 0;
    while (std::getline(lines, line)) {
        if (line.size() > 3 && line.rfind("  ", 0) == 0 && line[2] >= 'a' && line[2] <= 'z') {
            std::string name = line.substr(2, line.find(' ', 2) - 2);
            std::string roff;
            for (char c : name)
                roff += c == '-' ? std::string("\\-") : std::string(1, c);
            EXPECT_NE(page.output.find(".SS " + roff + "\n"), std::string::npos) << name;
            ++commands;
        }
    }
    EXPECT_GT(commands, 10);

    const std::string manProgram = Which("man");
    if (manProgram.empty())
        GTEST_SKIP() << "man is not installed; the pages were not rendered";
    for (const char *name : {"kalvion.1.gz", "kalvion-cli.1.gz"}) {
        const Ran r = RunShell("MANWIDTH=80 " + Sh(manProgram) + " --warnings -l " + Sh((man / name).string()) +
                          " 2>&1 >/dev/null");
        EXPECT_EQ(r.code, 0) << name;
        EXPECT_EQ(r.output, "") << name;
    }
}

} // namespace
} // namespace kalvion::test
