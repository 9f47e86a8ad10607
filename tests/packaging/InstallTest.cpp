// Kalvion as installed: `cmake --install` into a scratch prefix and the
// Debian package unpacked into a scratch root.  The installed programs find
// their data on their own (no KALVION_DATA_DIR) and never write into it.
#include "Shell.h"

#include <array>
#include <sstream>

namespace kalvion::test {
namespace {

const fs::path Source = KALVION_SOURCE_DIR;
const fs::path Binary = KALVION_BINARY_DIR;
const fs::path BinDir = KALVION_BIN_DIR;
const std::string AppId = KALVION_APP_ID;

// Width and height from a PNG file's header; {0, 0} when it is no PNG.
std::array<unsigned, 2> PngSize(const fs::path &file)
{
    const std::string b = ReadAll(file);
    if (b.size() < 24 || b.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || b.compare(12, 4, "IHDR") != 0)
        return {0, 0};
    auto be32 = [&](std::size_t at) {
        return (unsigned(static_cast<unsigned char>(b[at])) << 24) |
               (unsigned(static_cast<unsigned char>(b[at + 1])) << 16) |
               (unsigned(static_cast<unsigned char>(b[at + 2])) << 8) | unsigned(static_cast<unsigned char>(b[at + 3]));
    };
    return {be32(16), be32(20)};
}

// The environment of a user who never set anything up: no data folder named,
// a home of its own.
std::string CleanEnv(const fs::path &home)
{
    return "env -u KALVION_DATA_DIR -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME=" + Sh(home.string()) + " ";
}

// Runs the installed kalvion-cli the way a user would: the version, a
// generated sector, its report.  The program folder is left as it was.
void UseInstalledCli(const fs::path &prefix, const fs::path &work)
{
    const fs::path cli = prefix / "bin" / "kalvion-cli";
    const fs::path share = prefix / "share" / "kalvion";
    ASSERT_TRUE(fs::exists(cli));
    const std::string before = Listing(share);
    const std::string env = CleanEnv(work / "home");
    fs::create_directories(work / "home");

    const Ran version = RunShell(env + Sh(cli.string()) + " --version");
    EXPECT_EQ(version.code, 0) << version.output;
    EXPECT_EQ(version.output.rfind("kalvion-cli ", 0), 0u) << version.output;

    // Generation reads the schema and the name tables from the program folder.
    const fs::path sector = work / "frontier.VexaDB";
    const Ran gen = RunShell("cd " + Sh(work.string()) + " && " + env + Sh(cli.string()) + " --seed 11 generate " +
                        Sh(sector.string()) + " --size 12 --names 'Kalvion Frontier Names.ilt'");
    ASSERT_EQ(gen.code, 0) << gen.output;
    const Ran info = RunShell(env + Sh(cli.string()) + " --json info " + Sh(sector.string()));
    EXPECT_EQ(info.code, 0) << info.output;
    EXPECT_NE(info.output.find("\"systems\""), std::string::npos) << info.output;

    // The report copies its images and style sheet from the program folder.
    const fs::path report = work / "report" / "frontier.html";
    fs::create_directories(report.parent_path());
    const Ran rep = RunShell(env + Sh(cli.string()) + " report " + Sh(sector.string()) + " " + Sh(report.string()));
    ASSERT_EQ(rep.code, 0) << rep.output;
    EXPECT_TRUE(fs::exists(report.parent_path() / "ter-pop.gif") || fs::exists(report.parent_path() / "ter-nopop.gif") ||
                fs::exists(report.parent_path() / "ss-nopop.gif"));

    // The samples open from the installed folder.
    const Ran sample = RunShell(env + Sh(cli.string()) + " info " + Sh((share / "Samples" / "Lantern Reach.VexaDB").string()));
    EXPECT_EQ(sample.code, 0) << sample.output;

    EXPECT_EQ(Listing(share), before) << "the program wrote into its installed data folder";
}

TEST(BuildTree, ProgramFindsTheDataBesideIt)
{
    const fs::path work = ScratchFolder("buildtree");
    fs::create_directories(work / "home");
    const Ran r = RunShell(CleanEnv(work / "home") + Sh((BinDir / "kalvion-cli").string()) + " --seed 3 generate " +
                           Sh((work / "s.VexaDB").string()) + " --size 8 --names 'Kalvion Frontier Names.ilt'");
    EXPECT_EQ(r.code, 0) << r.output;
    fs::remove_all(work);
}

// A build-tree layout (data beside the program) with a share/kalvion folder
// above it that holds no data, as an interrupted or partial install leaves:
// the program still finds its data beside it.
TEST(BuildTree, AShareFolderWithoutDataDoesNotHideTheDataBesideTheProgram)
{
    const fs::path work = ScratchFolder("stray-share");
    const fs::path bin = work / "tree" / "bin";
    fs::create_directories(bin);
    fs::create_directories(work / "tree" / "share" / "kalvion" / "Samples");
    fs::copy_file(BinDir / "kalvion-cli", bin / "kalvion-cli");
    fs::copy_file(BinDir / "kalvion-cli-full", bin / "kalvion-cli-full");
    fs::copy_file(BinDir / "Vexa3DB.ddl", bin / "Vexa3DB.ddl");
    fs::copy(BinDir / "LangData", bin / "LangData", fs::copy_options::recursive);
    fs::create_directories(work / "home");
    const Ran r = RunShell(CleanEnv(work / "home") + Sh((bin / "kalvion-cli").string()) + " --seed 3 generate " +
                           Sh((work / "s.VexaDB").string()) + " --size 8 --names 'Kalvion Frontier Names.ilt'");
    EXPECT_EQ(r.code, 0) << r.output;
    fs::remove_all(work);
}

TEST(Install, LaysOutTheFreedesktopTreeAndRunsFromIt)
{
    const fs::path work = ScratchFolder("install");
    const fs::path prefix = work / "prefix";
    const Ran inst = RunShell("cmake --install " + Sh(Binary.string()) + " --prefix " + Sh(prefix.string()));
    ASSERT_EQ(inst.code, 0) << inst.output;

    const fs::path share = prefix / "share";
    const fs::path data = share / "kalvion";
    for (const fs::path &p :
         {prefix / "bin" / "kalvion-cli", prefix / "bin" / "kalvion-cli-full", data / "Vexa3DB.ddl", data / "Vexa.css",
          data / "LangData" / "Kalvion Standard Names.ilt", data / "SectorReports" / "ter-pop.gif",
          data / "WebExport" / "index.html", data / "Models" / "Space Station" / "default.obj" / "default.obj",
          data / "Models" / "Ship" / "default.obj" / "default.mtl", data / "Models" / "Fleet" / "default.obj" / "default.obj",
          data / "Samples" / "Lantern Reach.VexaDB",
          data / "Samples" / "Thornwake Frontier.VexaDB", data / "Samples" / "Ember Cluster.VexaDB",
          data / "Templates" / "Frontier Box 100 ly.VexaDB", data / "Templates" / "Parsec Sphere 20 pc.VexaDB",
          data / "Help" / "guide.md", data / "Help" / "guide.html", share / "applications" / (AppId + ".desktop"),
          share / "mime" / "packages" / (AppId + ".xml"), share / "metainfo" / (AppId + ".metainfo.xml"),
          share / "icons" / "hicolor" / "scalable" / "apps" / (AppId + ".svg"),
          share / "icons" / "hicolor" / "scalable" / "mimetypes" / "application-x-kalvion-sector.svg",
          share / "man" / "man1" / "kalvion.1.gz", share / "man" / "man1" / "kalvion-cli.1.gz",
          share / "doc" / "kalvion" / "copyright"})
        EXPECT_TRUE(fs::is_regular_file(p)) << p;
    // Folder names keep their case; empty ones exist too.
    for (const char *sub : {"LangData", "Common", "Models", "Templates", "Plugins", "Samples", "SectorReports"})
        EXPECT_TRUE(fs::is_directory(data / sub)) << sub;
    for (unsigned size : {16u, 22u, 24u, 32u, 48u, 64u, 128u, 256u, 512u}) {
        const std::string dim = std::to_string(size) + "x" + std::to_string(size);
        const auto got = PngSize(share / "icons" / "hicolor" / dim / "apps" / (AppId + ".png"));
        EXPECT_EQ(got[0], size) << dim;
        EXPECT_EQ(got[1], size) << dim;
    }
    if (fs::exists(BinDir / "kalvion")) {
        EXPECT_TRUE(fs::is_regular_file(prefix / "bin" / "kalvion"));
    }

    UseInstalledCli(prefix, work);
    fs::remove_all(work);
}

// The Debian package: made by CPack from this build, unpacked with dpkg -x.
class DebianPackage : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (Which("dpkg-deb").empty() || Which("cpack").empty())
            GTEST_SKIP() << "dpkg-deb or cpack is missing; the Debian package is not built here";
        work_ = ScratchFolder("deb");
        const Ran r = RunShell("cd " + Sh(work_.string()) + " && cpack -G DEB --config " +
                          Sh((Binary / "CPackConfig.cmake").string()) + " -B " + Sh((work_ / "out").string()));
        ASSERT_EQ(r.code, 0) << r.output;
        for (const auto &e : fs::directory_iterator(work_ / "out"))
            if (e.path().extension() == ".deb")
                deb_ = e.path();
        ASSERT_FALSE(deb_.empty()) << r.output;
    }
    void TearDown() override
    {
        if (!work_.empty())
            fs::remove_all(work_);
    }
    std::string Field(const std::string &name)
    {
        return RunShell("dpkg-deb -f " + Sh(deb_.string()) + " " + name).output;
    }

    fs::path work_, deb_;
};

TEST_F(DebianPackage, NamesItsLibrariesAndRunsFromAScratchRoot)
{
    EXPECT_EQ(Field("Package"), "kalvion\n");
    EXPECT_EQ(deb_.filename().string().rfind("kalvion_", 0), 0u) << deb_;
    const std::string depends = Field("Depends");
    // Found by dpkg-shlibdeps from the programs' libraries, and the run-time
    // pieces no library names.
    for (const char *pkg : {"libsqlite3-0", "libpcre2-8-0", "libqt6gui6", "libqt6core6", "libc6", "qt6-qpa-plugins"})
        EXPECT_NE(depends.find(pkg), std::string::npos) << pkg << " in " << depends;

    // Its dependencies resolve against this system's package lists.
    if (!Which("apt-get").empty()) {
        const Ran sim = RunShell("apt-get -s install " + Sh(deb_.string()));
        EXPECT_EQ(sim.code, 0) << sim.output;
    }

    const fs::path root = work_ / "root";
    const Ran x = RunShell("dpkg -x " + Sh(deb_.string()) + " " + Sh(root.string()));
    ASSERT_EQ(x.code, 0) << x.output;
    EXPECT_TRUE(fs::is_regular_file(root / "usr" / "share" / "applications" / (AppId + ".desktop")));
    EXPECT_TRUE(fs::is_regular_file(root / "usr" / "share" / "doc" / "kalvion" / "changelog.Debian.gz"));
    UseInstalledCli(root / "usr", work_);
}

TEST_F(DebianPackage, HasNoLintianErrors)
{
    const std::string lintian = Which("lintian");
    if (lintian.empty())
        GTEST_SKIP() << "lintian is not installed (apt-get install lintian)";
    const Ran r = RunShell(Sh(lintian) + " --fail-on error --tag-display-limit 0 " + Sh(deb_.string()));
    std::string errors;
    std::istringstream lines(r.output);
    std::string line;
    while (std::getline(lines, line))
        if (line.rfind("E: ", 0) == 0)
            errors += line + "\n";
    EXPECT_EQ(errors, "");
    EXPECT_EQ(r.code, 0) << r.output;
}

// Opening a sample from a file manager: xdg-open, the way a GNOME session
// runs it (gio), picks Kalvion from the installed menu entry and file types
// and starts it with the file.  A stand-in named kalvion first in PATH
// records what it was started with and then runs the real program, under
// Xvfb, for a few seconds.
TEST(FileManager, XdgOpenStartsKalvionWithASample)
{
    for (const char *tool : {"xdg-open", "gio", "update-desktop-database", "update-mime-database", "xvfb-run"})
        if (Which(tool).empty())
            GTEST_SKIP() << tool << " is missing (apt-get install xdg-utils libglib2.0-bin desktop-file-utils "
                                    "shared-mime-info xvfb)";
    const fs::path work = ScratchFolder("xdg-open");
    const fs::path prefix = work / "prefix";
    ASSERT_EQ(RunShell("cmake --install " + Sh(Binary.string()) + " --prefix " + Sh(prefix.string())).code, 0);
    const fs::path share = prefix / "share";
    ASSERT_EQ(RunShell("update-desktop-database " + Sh((share / "applications").string())).code, 0);
    ASSERT_EQ(RunShell("update-mime-database " + Sh((share / "mime").string())).code, 0);

    const fs::path kalvion = prefix / "bin" / "kalvion";
    const fs::path sample = share / "kalvion" / "Samples" / "Lantern Reach.VexaDB";
    const fs::path marker = work / "started";
    const fs::path wrapDir = work / "wrap";
    fs::create_directories(wrapDir);
    {
        std::ofstream w(wrapDir / "kalvion");
        w << "#!/bin/sh\nprintf '%s\\n' \"$@\" > " << Sh(marker.string()) << "\n";
        if (fs::exists(kalvion))
            w << "timeout 8 " << Sh(kalvion.string()) << " \"$@\"\necho \"exit $?\" >> " << Sh(marker.string())
              << "\n";
    }
    fs::permissions(wrapDir / "kalvion", fs::perms::owner_all);
    fs::create_directories(work / "home");
    const std::string env = "env -u DESKTOP_SESSION XDG_CURRENT_DESKTOP=GNOME " + CleanEnv(work / "home") +
                            "XDG_DATA_DIRS=" +
                            Sh(share.string() + ":/usr/share") + " PATH=" +
                            Sh(wrapDir.string() + ":" + (prefix / "bin").string()) + ":/usr/bin:/bin ";
    const Ran r = RunShell(env + "xvfb-run -a sh -c " + Sh("xdg-open " + Sh(sample.string()) + "; sleep 10"));
    EXPECT_EQ(r.code, 0) << r.output;
    const std::string started = ReadAll(marker);
    EXPECT_EQ(started.substr(0, started.find('\n') + 1), sample.string() + "\n") << started;
    if (!fs::exists(kalvion)) {
        fs::remove_all(work);
        GTEST_SKIP() << "the file manager's way to Kalvion works, but the window program kalvion is not part "
                        "of this build yet, so nothing was started";
    }
    // It ran until the timeout stopped it (124) rather than failing at once.
    EXPECT_NE(started.find("exit 124"), std::string::npos) << started;
    fs::remove_all(work);
}

} // namespace
} // namespace kalvion::test
