// The files of an exported web page and what its data file holds.
#include "WebFixture.h"

#include "base/TextEncoding.h"
#include "cli/CliApp.h"
#include "exchange/WebExport.h"
#include "exchange/WebExportFolder.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <set>
#include <sstream>

namespace kalvion::test {
namespace {

nlohmann::json DataOf(const fs::path &dir)
{
    std::string text = ReadText(dir / WEB_EXPORT_DATA_FILE);
    const std::string prefix = "window.KALVION_SECTOR = ";
    EXPECT_EQ(text.rfind(prefix, 0), 0u);
    text = text.substr(prefix.size());
    while (!text.empty() && (text.back() == '\n' || text.back() == ';'))
        text.pop_back();
    // "<\/" is how the file spells "</"; JSON reads it back as "</".
    return nlohmann::json::parse(text);
}

std::set<std::string> Listing(const fs::path &dir)
{
    std::set<std::string> names;
    for (const auto &e : fs::recursive_directory_iterator(dir))
        names.insert(fs::relative(e.path(), dir).string());
    return names;
}

TEST(WebExport, WritesThePageItsDataAndTheLibraryOnlyIntoItsFolder)
{
    const fs::path root = FreshFolder("files");
    const fs::path out = root / "page";
    auto sector = SmallSector();
    const TWebExportResult r = ExportSectorWebPage(*sector, out.string(), {});
    ASSERT_TRUE(r.Ok) << r.Error;
    EXPECT_EQ(r.Systems, 3);
    EXPECT_EQ(r.Bodies, 4);
    EXPECT_EQ(r.Routes, 1);
    EXPECT_EQ(Listing(root), (std::set<std::string>{"page", "page/index.html", "page/sector-data.js",
                                                    "page/three.min.js", "page/OrbitControls.js", "page/maps",
                                                    "page/.kalvion-web"}));
    // No text can end the page's script element, whatever the file becomes.
    const std::string raw = ReadText(out / WEB_EXPORT_DATA_FILE);
    EXPECT_EQ(raw.find("</"), std::string::npos);
    const nlohmann::json data = DataOf(out);
    EXPECT_EQ(data["title"], "Border \"Reach\" & <Co>");
    ASSERT_EQ(data["systems"].size(), 3u);
    EXPECT_EQ(data["systems"][1]["n"], HostileName);
    EXPECT_EQ(data["systems"][2]["n"], ScriptCloser);
    EXPECT_EQ(data["routes"][0]["s"], nlohmann::json::array({0, 1}));
    EXPECT_EQ(data["routes"][0]["c"], "#00ff00");
    const auto &planet = data["systems"][0]["c"][0];
    EXPECT_EQ(planet["n"], "Homeworld");
    EXPECT_EQ(planet["pop"], 1500000.0);
    EXPECT_NEAR(planet["g"].get<double>(), 1.0, 0.02);
    EXPECT_EQ(planet["notes"], "Open notes");
    // What players must not see stays out unless the game master asks.
    EXPECT_FALSE(planet.contains("gm"));
    EXPECT_FALSE(planet.contains("f"));
    EXPECT_EQ(raw.find("Secret"), std::string::npos);
    EXPECT_EQ(raw.find("hidden value"), std::string::npos);
    fs::remove_all(root);
}

TEST(WebExport, NotesAndGameMasterTextsFollowTheOptions)
{
    const fs::path root = FreshFolder("options");
    auto sector = SmallSector();
    sector->Systems[2]->Visible = false;
    TWebExportOptions gm;
    gm.GameMaster = true;
    gm.HideNotes = true;
    gm.OnlyVisible = true;
    gm.Title = "Players' \xE9" "dition";  // Windows-1252 é becomes UTF-8
    const TWebExportResult r = ExportSectorWebPage(*sector, (root / "gm").string(), gm);
    ASSERT_TRUE(r.Ok) << r.Error;
    const nlohmann::json data = DataOf(root / "gm");
    EXPECT_EQ(data["title"], "Players' \xC3\xA9" "dition");
    EXPECT_EQ(data["systems"].size(), 2u);
    const auto &planet = data["systems"][0]["c"][0];
    EXPECT_FALSE(planet.contains("notes"));
    EXPECT_EQ(planet["gm"], "Secret GM notes");
    EXPECT_EQ(planet["f"]["secret field"], "hidden value");
    fs::remove_all(root);
}

TEST(WebExport, MissingLibraryOrUnwritableFolderFailsWithTheReason)
{
    const fs::path root = FreshFolder("fail");
    auto sector = SmallSector();
    TWebExportOptions noLibrary;
    noLibrary.ThreeFolder = (root / "nowhere").string();
    TWebExportResult r = ExportSectorWebPage(*sector, (root / "a").string(), noLibrary);
    EXPECT_FALSE(r.Ok);
    EXPECT_NE(r.Error.find("libjs-three"), std::string::npos) << r.Error;
    std::ofstream(root / "file") << "x";
    r = ExportSectorWebPage(*sector, (root / "file" / "page").string(), {});
    EXPECT_FALSE(r.Ok);
    EXPECT_NE(r.Error.find("could not be created"), std::string::npos) << r.Error;
    fs::remove_all(root);
}

int Cli(std::vector<std::string> args, std::string *messages = nullptr)
{
    args.insert(args.begin(), "kalvion-cli");
    std::ostringstream out, err;
    const int code = cli::RunCli(args, out, err);
    if (messages)
        *messages = err.str();
    return code;
}

// A user who points the export at their own site: nothing of theirs is
// replaced unless they insist, and an earlier export is simply redone.
TEST(WebExport, CommandWritesOnlyIntoAnEmptyFolderOrAnEarlierExport)
{
    const fs::path root = FreshFolder("cli");
    const std::string sector = (root / "reach.VexaDB").string();
    ASSERT_EQ(Cli({"--seed", "5", "generate", sector, "--systems", "6", "--no-subsectors"}), 0);
    const fs::path site = root / "site";
    fs::create_directories(site);
    std::ofstream(site / "index.html") << "my own home page";
    std::ofstream(site / WEB_EXPORT_DATA_FILE) << "var mine = 1;";
    std::string messages;
    EXPECT_EQ(Cli({"web", sector, site.string()}, &messages), 1);
    EXPECT_NE(messages.find("--force"), std::string::npos) << messages;
    EXPECT_TRUE(ReadText(site / "index.html") == "my own home page");
    EXPECT_TRUE(ReadText(site / WEB_EXPORT_DATA_FILE) == "var mine = 1;");
    EXPECT_EQ(Listing(site), (std::set<std::string>{"index.html", WEB_EXPORT_DATA_FILE}));

    // A new folder, then the same folder again: it holds our own export.
    const fs::path page = root / "page";
    ASSERT_EQ(Cli({"web", sector, page.string()}, &messages), 0) << messages;
    EXPECT_TRUE(fs::is_regular_file(page / WEB_EXPORT_MARKER));
    std::ofstream(page / "index.html") << "stale";
    ASSERT_EQ(Cli({"web", sector, page.string(), "--title", "Again"}, &messages), 0) << messages;
    EXPECT_NE(ReadText(page / "index.html"), "stale");
    EXPECT_NE(ReadText(page / WEB_EXPORT_DATA_FILE).find("\"Again\""), std::string::npos);

    // The user insists.
    ASSERT_EQ(Cli({"web", sector, site.string(), "--force"}, &messages), 0) << messages;
    EXPECT_NE(ReadText(site / "index.html"), "my own home page");

    // A folder where the page must go fails before anything is written,
    // --force or not.
    const fs::path odd = root / "odd";
    fs::create_directories(odd / "index.html");
    for (bool force : {false, true}) {
        std::vector<std::string> args{"web", sector, odd.string()};
        if (force)
            args.push_back("--force");
        EXPECT_EQ(Cli(args, &messages), 1);
        EXPECT_NE(messages.find("index.html"), std::string::npos) << messages;
        EXPECT_EQ(Listing(odd), (std::set<std::string>{"index.html"}));
    }
    fs::remove_all(root);
}

} // namespace
} // namespace kalvion::test
