#include "exchange/SectorReport.h"

#include "exchange/ExchangePrompt.h"
#include "exchange/HtmlText.h"
#include "exchange/VexaImportCSV.h"
#include "files/SectorFile.h"
#include "files/SurfaceMapStore.h"
#include "model/BodyTypes.h"
#include "model/ImageResources.h"
#include "model/VexaSector.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <libxml/HTMLparser.h>
#include <libxml/xpath.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kalvion {
namespace {

namespace fs = std::filesystem;

fs::path TempDir(const std::string &name)
{
    fs::path dir = fs::temp_directory_path() / ("kalvion_report_" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::string ReadText(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class TScriptedPrompt final : public TExchangePrompt {
public:
    explicit TScriptedPrompt(bool answer) : Answer(answer) {}
    bool ConfirmWarning(const std::string &caption, const std::string &text) override
    {
        ++Asked;
        Caption = caption;
        Text = text;
        return Answer;
    }
    bool Answer;
    int Asked = 0;
    std::string Caption, Text;
};

// The fixture CSV, a planet with a two-line note under Sol, a star whose
// name is markup and an unnamed star.
void BuildSector(TVexaSector &sector)
{
    sector.Name = "Test";
    ImportCSVWithReport(sector, std::string(KALVION_TEST_DATA_DIR) + "/stars.csv", false);
    TStellarBody *sol = sector.FindRootBodyByName("Sol");
    auto planet = TStellarBody::Create();
    planet->TypeID = BODY_TYPE_TERRESTRIAL;
    planet->Name = "Terra";
    planet->Distance = 149597870;
    planet->Radius = 6378.14;
    planet->Density = 1;
    planet->Temp = 288;
    planet->Habitability = HAB_HOSPITABLE;
    planet->Population = 8e9;
    planet->Notes = "Line one\r\nLine two";
    planet->GMNotes = "Secret";
    sol->AddChild(std::move(planet));
    sol->UpdateRootBody();
    auto evil = TStellarBody::Create();
    evil->TypeID = BODY_TYPE_STAR;
    evil->Name = "Barnard's <b>Star</b>";
    evil->X = 1.005;
    sector.AddSystem(std::move(evil));
    auto unnamed = TStellarBody::Create();
    unnamed->TypeID = BODY_TYPE_STAR;
    unnamed->Name = " ";
    sector.AddSystem(std::move(unnamed));
}

int CountOf(const std::string &text, const std::string &what)
{
    int n = 0;
    for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1))
        ++n;
    return n;
}

TEST(SectorReport, PageContentsInOrder)
{
    TVexaSector sector;
    BuildSector(sector);
    const fs::path dir = TempDir("page");
    const std::string file = (dir / "vexa.html").string();
    std::string error;
    ASSERT_TRUE(ExportToHTML(sector, file, REPORTSTYLE_ALL, false, false, true, nullptr, &error)) << error;
    const std::string page = ReadText(file);

    EXPECT_EQ(page.rfind("<html>\r\n<head>\r\n<title>Test Report</title>\r\n</head>\r\n<style", 0), 0u);
    EXPECT_NE(page.find(".StellarBodyNonStar"), std::string::npos); // the style sheet went in
    EXPECT_NE(page.find("<span class=\"ReportTitle\">Test Sector</span><br>\r\nNumber of Systems: 6<br>\r\n"
                        "Sector Population: 8,000,000,000<br>\r\n<br>\r\n</div>\r\n"),
              std::string::npos);

    // Index sorted by name ignoring case; the multiple's row has no stray quote.
    const std::size_t idxAlpha = page.find("Alpha Centauri A</a></td><td>Multiple Star System</td><td></td></tr>");
    const std::size_t idxBarnard = page.find("Barnard&#39;s &lt;b&gt;Star&lt;/b&gt;</a></td><td>Star</td>");
    const std::size_t idxSirius = page.find("Sirius B</a></td><td></td><td></td></tr>");
    const std::size_t idxSol = page.find("Sol</a></td><td>Star</td><td>");
    ASSERT_NE(idxAlpha, std::string::npos);
    ASSERT_NE(idxBarnard, std::string::npos);
    ASSERT_NE(idxSirius, std::string::npos);
    ASSERT_NE(idxSol, std::string::npos);
    EXPECT_LT(idxAlpha, idxBarnard);
    EXPECT_LT(idxBarnard, idxSirius);
    EXPECT_LT(idxSirius, idxSol);
    const TStellarBody &alpha = *sector.FindRootBodyByName("Alpha Centauri A");
    EXPECT_NE(page.find("<tr><td><a href=\"#" + alpha.IDString + "\" onMouseOver=\"window.status='Alpha Centauri "
                        "A';return true;\" onMouseOut=\"window.status='';return true;\">Alpha Centauri A</a>"),
              std::string::npos);
    const TStellarBody &terra = *sector.FindRootBodyByName("Sol")->GetChild(0);
    EXPECT_NE(page.find("<a href=\"#" + terra.IDString + "\" \" onMouseOver=\"window.status='Terra';return true;\" "
                        "onMouseOut=\"window.status='';return true;\"><img src=\"ter-hosp.gif\" border=0 "
                        "alt=\"Terra\"></a><br></td></tr>"),
              std::string::npos);
    // The unnamed star: an empty link text in the index, "(Unnamed)" in its section.
    EXPECT_NE(page.find("window.status=' ';return true;\" onMouseOut=\"window.status='';return true;\"> </a></td>"
                        "<td>Star</td>"),
              std::string::npos);
    EXPECT_NE(page.find("<span class=\"StellarBodyStar\">(Unnamed)</span>"), std::string::npos);

    // Legend rows, in order.
    const std::size_t legend = page.find("<table valign=middle>\r\n<tr><td><img src=\"ter-nopop.gif\" border=0></td>"
                                         "<td>Terrestrial Planet, Not Populated</td></tr>\r\n");
    ASSERT_NE(legend, std::string::npos);
    EXPECT_EQ(CountOf(page, "border=0></td><td>"), 10);
    EXPECT_LT(page.find("ss-nopop.gif\" border=0></td>"), page.find("ss-pop.gif\" border=0></td>"));

    // A star's section.
    EXPECT_NE(page.find("<span class=\"StellarBodyName\"><span class=\"StellarBodyStar\">Sol</span></span><br>\r\n"
                        "<a href=\"#" + terra.IDString),
              std::string::npos);
    EXPECT_NE(page.find("Position: (0,0,0)<br>\r\nSpectral Class: G2V<br>\r\nMass: 1 sol<br>\r\nRadius: 1 sol<br>\r\n"
                        "Luminosity: 1 sol<br>\r\nNotes: <ul>Home</ul><br>\r\nPlanets: <a href=\"#" + terra.IDString),
              std::string::npos);
    EXPECT_NE(page.find("Position: (1.01,0,0)<br>"), std::string::npos);
    // A multiple: its heading line, its position and its components.
    EXPECT_NE(page.find("Alpha Centauri A</span></span><br>\r\nPosition: (1.23,-0.5,3.14)<br>\r\n"
                        "Multiple Star System<br>\r\nSystem Population: 0<br>\r\nComponents: "),
              std::string::npos);
    // A planet: non-star class, values, the bare habitability line, notes.
    EXPECT_NE(page.find("<span class=\"StellarBodyNonStar\">Terra</span></span><br>\r\n"
                        "Distance: 149,597,870 km<br>\r\nRadius: 6378 km<br>\r\nGravity: 1G<br>\r\n"),
              std::string::npos);
    EXPECT_NE(page.find("Mean Temp: 288K/15C<br>\r\n"), std::string::npos);
    EXPECT_NE(page.find("Hospitable<br>\r\nPopulation: 8,000,000,000<br>\r\n"), std::string::npos);
    EXPECT_NE(page.find("Notes: <ul>Line one<br>\r\nLine two</ul><br>\r\n"), std::string::npos);
    EXPECT_EQ(page.find("Secret"), std::string::npos); // GM notes were not asked for

    // Markup in names shows as text and runs nothing.
    EXPECT_EQ(page.find("<b>Star"), std::string::npos);
    EXPECT_NE(page.find("window.status='Barnard\\x27s \\x3Cb\\x3EStar\\x3C/b\\x3E'"), std::string::npos);

    // The symbol images lie beside the page.
    for (const char *gif : {"ter-nopop.gif", "ter-hosp.gif", "gg-pop.gif", "ast-pop.gif", "ss-nopop.gif"})
        EXPECT_TRUE(fs::exists(dir / gif)) << gif;
    fs::remove_all(dir);
}

TEST(SectorReport, ParsesAsHtml)
{
    TVexaSector sector;
    BuildSector(sector);
    const fs::path dir = TempDir("parse");
    const std::string file = (dir / "r.html").string();
    ASSERT_TRUE(ExportToHTML(sector, file, REPORTSTYLE_ALL, true, true, false, nullptr));
    const std::string page = ReadText(file);
    std::vector<std::string> problems;
    xmlSetStructuredErrorFunc(&problems, [](void *user, xmlErrorPtr e) {
        static_cast<std::vector<std::string> *>(user)->push_back(e && e->message ? e->message : "?");
    });
    htmlDocPtr doc = htmlReadMemory(page.data(), static_cast<int>(page.size()), "r.html", nullptr, HTML_PARSE_NONET);
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    ASSERT_NE(doc, nullptr);
    // The one thing the parser may remark on is the stray quote the links
    // have always carried; no unbalanced or unknown markup.
    EXPECT_FALSE(problems.empty());
    for (const std::string &p : problems)
        EXPECT_EQ(p, "error parsing attribute name\n");
    xmlXPathContextPtr ctx = xmlXPathNewContext(doc);
    auto count = [&](const char *xpath) {
        xmlXPathObjectPtr r = xmlXPathEvalExpression(reinterpret_cast<const xmlChar *>(xpath), ctx);
        const int n = r && r->nodesetval ? r->nodesetval->nodeNr : 0;
        xmlXPathFreeObject(r);
        return n;
    };
    auto text = [&](const char *xpath) {
        xmlXPathObjectPtr r = xmlXPathEvalExpression(reinterpret_cast<const xmlChar *>(xpath), ctx);
        std::string s;
        if (r && r->nodesetval && r->nodesetval->nodeNr > 0) {
            xmlChar *c = xmlNodeGetContent(r->nodesetval->nodeTab[0]);
            s = reinterpret_cast<const char *>(c);
            xmlFree(c);
        }
        xmlXPathFreeObject(r);
        return s;
    };
    EXPECT_EQ(text("/html/head/title"), "Test Report");
    EXPECT_EQ(count("//div[@class='ReportHeaderSection']"), 1);
    EXPECT_EQ(count("//div[@class='SystemIndex']//table/tr"), 11); // 6 systems + 3 components + 2 of Trio
    EXPECT_EQ(count("//div[@class='Legend']/table/tr"), 10);
    EXPECT_EQ(count("//div[@class='StarSystem']"), 6);
    EXPECT_EQ(count("//b"), 0);
    EXPECT_EQ(count("//script"), 0);
    EXPECT_EQ(text("//span[@class='StellarBodyStar' and starts-with(., 'Barnard')]"), "Barnard's <b>Star</b>");
    EXPECT_EQ(count("//*[contains(., 'GM Notes: ')]") > 0, true);
    // Every image the page shows is there.
    xmlXPathObjectPtr imgs = xmlXPathEvalExpression(reinterpret_cast<const xmlChar *>("//img/@src"), ctx);
    ASSERT_TRUE(imgs && imgs->nodesetval);
    EXPECT_GT(imgs->nodesetval->nodeNr, 10);
    for (int i = 0; i < imgs->nodesetval->nodeNr; ++i) {
        xmlChar *src = xmlNodeGetContent(imgs->nodesetval->nodeTab[i]);
        const std::string name = reinterpret_cast<const char *>(src);
        xmlFree(src);
        EXPECT_TRUE(fs::exists(dir / name)) << name;
    }
    xmlXPathFreeObject(imgs);
    xmlXPathFreeContext(ctx);
    xmlFreeDoc(doc);
    fs::remove_all(dir);
}

TEST(SectorReport, LargeReportQuestion)
{
    TVexaSector sector;
    for (int i = 0; i <= REPORTWARN_LIMIT; ++i)
        sector.NewSystem(BODY_TYPE_STAR)->Name = "S" + std::to_string(i);
    const fs::path dir = TempDir("large");
    const std::string file = (dir / "r.html").string();
    std::ofstream(file) << "old report";
    TScriptedPrompt no(false);
    std::string error;
    EXPECT_FALSE(ExportToHTML(sector, file, REPORTSTYLE_VISIBLE, true, false, true, &no, &error));
    EXPECT_EQ(error, REPORT_CANCELLED);
    EXPECT_EQ(no.Asked, 1);
    EXPECT_EQ(no.Caption, "Report Generation");
    EXPECT_EQ(no.Text, "This will generate a report with 1001 system entries.  Do you want to continue?");
    EXPECT_EQ(ReadText(file), "old report");
    EXPECT_FALSE(ExportToHTML2(sector, file, REPORTSTYLE_ALL, true, &no, &error));
    EXPECT_EQ(ReadText(file), "old report");
    // Nobody to answer: the question counts as No, as every unanswered one.
    error.clear();
    EXPECT_FALSE(ExportToHTML(sector, file, REPORTSTYLE_ALL, false, false, true, nullptr, &error));
    EXPECT_EQ(error, REPORT_CANCELLED);
    EXPECT_FALSE(ExportToHTML2(sector, file, REPORTSTYLE_ALL, true, nullptr, &error));
    EXPECT_EQ(ReadText(file), "old report");

    // Not asked without the confirm argument or under the limit.
    TScriptedPrompt yes(true);
    EXPECT_TRUE(ExportToHTML(sector, file, REPORTSTYLE_ALL, false, false, false, &yes));
    sector.GetSystem(0)->Selected = true;
    EXPECT_TRUE(ExportToHTML(sector, file, REPORTSTYLE_SELECTED, false, false, true, &yes));
    EXPECT_EQ(yes.Asked, 0);
    fs::remove_all(dir);
}

TEST(SectorReport, EmptyAndSelectedStyles)
{
    TVexaSector sector;
    sector.Name = "Void";
    const fs::path dir = TempDir("empty");
    const std::string file = (dir / "r.html").string();
    ASSERT_TRUE(ExportToHTML(sector, file, REPORTSTYLE_SELECTED, false, false, true, nullptr));
    const std::string page = ReadText(file);
    EXPECT_NE(page.find("Number of Systems: 0<br>\r\nSector Population: <br>"), std::string::npos);
    EXPECT_NE(page.find("<br><br>\r\nSelected systems only<br>\r\n<table>\r\n</table>\r\n"), std::string::npos);
    EXPECT_NE(page.find("<div class=\"SystemData\">\r\n<br>\r\n</div>\r\n</body>\r\n</html>\r\n"), std::string::npos);
    fs::remove_all(dir);
}

TEST(SectorReport, FailureKeepsTheOldPage)
{
    TVexaSector sector;
    std::string error;
    EXPECT_FALSE(ExportToHTML(sector, "/nonexistent-folder/r.html", 0, false, false, false, nullptr, &error));
    EXPECT_FALSE(error.empty());
    const fs::path dir = TempDir("fail");
    // A folder in the way of the page: the rename fails and says so.
    fs::create_directories(dir / "r.html" / "x");
    EXPECT_FALSE(ExportToHTML(sector, (dir / "r.html").string(), 0, false, false, false, nullptr, &error));
    EXPECT_TRUE(fs::exists(dir / "r.html" / "x"));
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1); // no file left beside
    fs::remove_all(dir);
}

// A file-size limit stands in for a full disk: the write fails, the report
// says so and the old page stays whole.
TEST(SectorReport, AFullDiskFailsAndKeepsTheOldPage)
{
    const fs::path dir = TempDir("full");
    const std::string page = (dir / "r.html").string();
    std::ofstream(page) << "old page";
    TVexaSector sector;
    auto star = TStellarBody::Create();
    star->TypeID = BODY_TYPE_STAR;
    star->Name = "Long";
    star->Notes = std::string(64 * 1024, 'n');
    sector.AddSystem(std::move(star));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{16 * 1024, 16 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::string error;
        const bool ok = ExportToHTML(sector, page, REPORTSTYLE_ALL, false, false, false, nullptr, &error);
        ::_exit(!ok && error.find("could not be written") != std::string::npos ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadText(page), "old page");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    fs::remove_all(dir);
}

// A report larger than any write buffer is written as it is made: the whole
// index comes before the first section, the sections keep the index's
// order, and nothing but the page and its images is left in the folder.
TEST(SectorReport, ALargeReportStreamsInPageOrder)
{
    const fs::path dir = TempDir("stream");
    const std::string page = (dir / "r.html").string();
    TVexaSector sector;
    constexpr int count = 300;
    for (int i = count - 1; i >= 0; --i) {
        auto star = TStellarBody::Create();
        star->TypeID = BODY_TYPE_STAR;
        char name[16];
        std::snprintf(name, sizeof name, "S%04d", i);
        star->Name = name;
        star->Notes = std::string(2000, static_cast<char>('a' + i % 26));
        sector.AddSystem(std::move(star));
    }
    std::string error;
    ASSERT_TRUE(ExportToHTML(sector, page, REPORTSTYLE_ALL, false, false, false, nullptr, &error)) << error;
    const std::string text = ReadText(page);
    ASSERT_GT(text.size(), 600u * 1024);
    const std::size_t data = text.find("<div class=\"SystemData\">");
    ASSERT_NE(data, std::string::npos);
    std::size_t indexAt = 0, sectionAt = data;
    for (int i = 0; i < count; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "S%04d", i);
        const std::size_t row = text.find(std::string(name) + "</a></td><td>Star", indexAt);
        ASSERT_LT(row, data) << name;
        indexAt = row;
        const std::size_t section = text.find("StellarBodyStar\">" + std::string(name) + "<", sectionAt);
        ASSERT_NE(section, std::string::npos) << name;
        EXPECT_EQ(text.compare(text.find("<ul>", section) + 4, 2000, std::string(2000, static_cast<char>('a' + i % 26))),
                  0) << name;
        sectionAt = section;
    }
    EXPECT_EQ(text.substr(text.size() - 26), "</div>\r\n</body>\r\n</html>\r\n");
    for (const auto &entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() != ".gif") {
            EXPECT_EQ(entry.path().filename(), "r.html");
        }
    }
    fs::remove_all(dir);
}

// The maps are written before the page; when the page then cannot be
// written, the maps this run added go again, and a map an earlier report
// left beside its page stays for that page.
TEST(SectorReport, AFailedPageTakesAwayTheMapsItAdded)
{
    const fs::path dir = TempDir("full-maps");
    const std::string page = (dir / "r.html").string();
    std::ofstream(page) << "old page";
    TVexaSector sector;
    const TByteStream png = {0x89, 'P', 'N', 'G', 4, 5, 6};
    auto star = TStellarBody::Create();
    star->TypeID = BODY_TYPE_STAR;
    star->Name = "Long";
    star->Notes = std::string(64 * 1024, 'n');
    auto fresh = TStellarBody::Create();
    fresh->TypeID = BODY_TYPE_TERRESTRIAL;
    fresh->PreviewImageFile = "fresh.png";
    auto earlier = TStellarBody::Create();
    earlier->TypeID = BODY_TYPE_TERRESTRIAL;
    earlier->PreviewImageFile = "earlier.png";
    const fs::path freshMap = dir / (fresh->IDString + ".png");
    const fs::path earlierMap = dir / (earlier->IDString + ".png");
    std::ofstream(earlierMap) << "map of an earlier report";
    sector.ImageResources.AddResourceStream("fresh.png", png, true);
    sector.ImageResources.AddResourceStream("earlier.png", png, true);
    star->AddChild(std::move(fresh));
    star->AddChild(std::move(earlier));
    sector.AddSystem(std::move(star));

    // Within the limit the maps are written and the page follows.
    const fs::path okDir = TempDir("full-maps-ok");
    ASSERT_TRUE(ExportToHTML(sector, (okDir / "r.html").string(), REPORTSTYLE_ALL, false, true, false, nullptr));
    EXPECT_TRUE(fs::exists(okDir / freshMap.filename()));
    fs::remove_all(okDir);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{16 * 1024, 16 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::string error;
        const bool ok = ExportToHTML(sector, page, REPORTSTYLE_ALL, false, true, false, nullptr, &error);
        ::_exit(!ok && error.find("could not be written") != std::string::npos ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadText(page), "old page");
    EXPECT_FALSE(fs::exists(freshMap));
    EXPECT_TRUE(fs::exists(earlierMap));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2); // page and earlier map
    fs::remove_all(dir);
}

TEST(SectorReport, IndexOnlyPage)
{
    TVexaSector sector;
    BuildSector(sector);
    const fs::path dir = TempDir("index");
    const std::string file = (dir / "i.html").string();
    ASSERT_TRUE(ExportToHTML2(sector, file, REPORTSTYLE_ALL, false, nullptr));
    const std::string page = ReadText(file);
    EXPECT_EQ(page.rfind("<html>\r\n<body>\r\n<basefont face=\"arial\">\r\n<font size=+2><b>Test Sector</b></font><br>\r\n"
                        "Number of Systems: 6<br>\r\n",
                        0),
              0u);
    EXPECT_EQ(page.find("StellarBody"), std::string::npos);
    EXPECT_EQ(CountOf(page, "<div style=\"page-break-after: always\">"), 2 + 6);
    EXPECT_FALSE(fs::exists(dir / "ter-hosp.gif"));
    fs::remove_all(dir);
}

TEST(SectorReport, SurfaceMapsTakeNamesTheReportChose)
{
    TVexaSector sector;
    sector.Name = "Maps";
    const TByteStream png = {0x89, 'P', 'N', 'G', 1, 2, 3};
    auto star = TStellarBody::Create();
    star->TypeID = BODY_TYPE_STAR;
    auto world = TStellarBody::Create();
    world->TypeID = BODY_TYPE_TERRESTRIAL;
    world->PreviewImageFile = "C:\\maps\\World Map.JPG";
    auto escape = TStellarBody::Create();
    escape->TypeID = BODY_TYPE_TERRESTRIAL;
    escape->PreviewImageFile = "../../escape.png";
    auto quoted = TStellarBody::Create();
    quoted->TypeID = BODY_TYPE_TERRESTRIAL;
    quoted->PreviewImageFile = "a\"><script>.sh";
    auto forged = TStellarBody::Create();
    forged->TypeID = BODY_TYPE_TERRESTRIAL;
    forged->IDString = "../../forged";
    forged->PreviewImageFile = "forged.png";
    for (const TStellarBody *b : {world.get(), escape.get(), quoted.get(), forged.get()})
        sector.ImageResources.AddResourceStream(b->PreviewImageFile, png, true);
    const TStellarBody *worldRaw = world.get();
    const TStellarBody *escapeRaw = escape.get();
    const TStellarBody *quotedRaw = quoted.get();
    star->AddChild(std::move(world));
    star->AddChild(std::move(escape));
    star->AddChild(std::move(quoted));
    star->AddChild(std::move(forged));
    sector.AddSystem(std::move(star));

    const fs::path dir = TempDir("maps");
    fs::create_directories(dir / "inner");
    const std::string file = (dir / "inner" / "r.html").string();
    TReportMapMarks marks;
    ExportSurfaceMapsForReport(sector, *sector.GetSystem(0), (dir / "inner/").string(), marks);
    EXPECT_EQ(marks.size(), 3u); // the body without a GUID gets no file
    EXPECT_EQ(marks[worldRaw], worldRaw->IDString + ".jpg");
    EXPECT_EQ(marks[escapeRaw], escapeRaw->IDString + ".png");
    EXPECT_EQ(marks[quotedRaw], quotedRaw->IDString + ".png");

    // Maps are written whatever the option; only the <img> depends on it.
    ASSERT_TRUE(ExportToHTML(sector, file, REPORTSTYLE_ALL, false, false, false, nullptr));
    EXPECT_EQ(ReadText(file).find("SurfaceMap\" src"), std::string::npos);
    fs::remove(dir / "inner" / (worldRaw->IDString + ".jpg"));
    ASSERT_TRUE(ExportToHTML(sector, file, REPORTSTYLE_ALL, false, true, false, nullptr));
    const std::string page = ReadText(file);
    EXPECT_NE(page.find("<img class=\"SurfaceMap\" src=\"" + worldRaw->IDString + ".jpg\">"), std::string::npos);
    EXPECT_NE(page.find("<img class=\"SurfaceMap\" src=\"" + escapeRaw->IDString + ".png\">"), std::string::npos);
    EXPECT_EQ(ReadText(dir / "inner" / (worldRaw->IDString + ".jpg")).size(), png.size());
    for (const char *name : {"World Map.JPG", "escape.png", "forged.png"})
        EXPECT_FALSE(fs::exists(dir / "inner" / name)) << name;
    EXPECT_FALSE(fs::exists(dir / "escape.png"));
    EXPECT_FALSE(fs::exists(dir / "forged.png"));
    EXPECT_EQ(page.find("<script>"), std::string::npos);
    fs::remove_all(dir);
}

// A sector that names its preview images after files of the user's, and
// links planted where the report used to put its temporary page.
TEST(SectorReport, HostileSectorLeavesTheUsersFilesAlone)
{
    const fs::path dir = TempDir("hostile");
    const fs::path sectorFile = dir / "campaign.VexaDB";
    {
        TVexaSector sector;
        auto star = TStellarBody::Create();
        star->TypeID = BODY_TYPE_STAR;
        star->Name = "Trap";
        for (const char *name : {"campaign.VexaDB", ".bashrc", "ter-pop.gif"}) {
            auto planet = TStellarBody::Create();
            planet->TypeID = BODY_TYPE_TERRESTRIAL;
            planet->PreviewImageFile = name;
            sector.ImageResources.AddResourceStream(name, TByteStream{'E', 'V', 'I', 'L'}, true);
            star->AddChild(std::move(planet));
        }
        sector.AddSystem(std::move(star));
        ASSERT_TRUE(SaveToFile(sector, sectorFile.string(), false));
    }
    const std::string sectorBytes = ReadText(sectorFile);
    std::ofstream(dir / ".bashrc") << "alias ls='ls -F'\n";
    std::ofstream(dir / "victim.txt") << "precious";
    fs::create_symlink(dir / "victim.txt", dir / "r.html.writing~");
    fs::create_symlink(dir / "elsewhere.gif", dir / "ter-pop.gif");

    TVexaSector sector;
    ASSERT_TRUE(LoadFromFile(sector, sectorFile.string()));
    std::string error;
    ASSERT_TRUE(ExportToHTML(sector, (dir / "r.html").string(), REPORTSTYLE_ALL, false, true, false, nullptr, &error))
        << error;
    EXPECT_EQ(ReadText(sectorFile), sectorBytes);
    EXPECT_EQ(ReadText(dir / ".bashrc"), "alias ls='ls -F'\n");
    EXPECT_EQ(ReadText(dir / "victim.txt"), "precious");
    EXPECT_TRUE(fs::is_symlink(dir / "ter-pop.gif"));
    EXPECT_FALSE(fs::exists(dir / "elsewhere.gif"));
    EXPECT_NE(ReadText(dir / "r.html").find("Trap"), std::string::npos);
    fs::remove_all(dir);
}

TEST(SectorReport, StoredSystemsAndTheirMaps)
{
    const fs::path dir = TempDir("stored");
    const std::string file = (dir / "s.VexaDB").string();
    {
        TVexaSector sector;
        auto star = TStellarBody::Create();
        star->TypeID = BODY_TYPE_STAR;
        star->Name = "Star";
        auto planet = TStellarBody::Create();
        planet->TypeID = BODY_TYPE_GASGIANT;
        planet->Name = "Giant";
        star->AddChild(std::move(planet));
        sector.AddSystem(std::move(star));
        ASSERT_TRUE(SaveToFile(sector, file, false));
    }
    TVexaSector sector;
    ASSERT_TRUE(LoadFromFile(sector, file));
    TStellarBody *root = sector.GetSystem(0);
    sector.DynaLoad(root);
    ASSERT_EQ(root->ChildrenCount(), 1);
    const std::string giantId = root->GetChild(0)->IDString;
    const TMemoryStream image = {0x89, 'P', 'N', 'G', 9, 9};
    ASSERT_TRUE(StoreSurfaceMap(file, TMemoryStream{1, 2, 3}, image, root->GetChild(0)->RecordID));
    sector.DynaUnload(root);
    ASSERT_FALSE(root->Loaded);

    const std::string page = (dir / "r.html").string();
    ASSERT_TRUE(ExportToHTML(sector, page, REPORTSTYLE_ALL, false, true, false, nullptr));
    const std::string text = ReadText(page);
    EXPECT_NE(text.find("<img class=\"SurfaceMap\" src=\"" + giantId + ".png\">"), std::string::npos);
    EXPECT_NE(text.find("<span class=\"StellarBodyNonStar\">Giant</span>"), std::string::npos);
    EXPECT_EQ(ReadText(dir / (giantId + ".png")).size(), image.size());
    EXPECT_FALSE(root->Loaded); // let go again after the report
    fs::remove_all(dir);
}

TEST(SectorReport, SymbolRowAndFileNames)
{
    TStellarBody star;
    auto belt = TStellarBody::Create();
    belt->TypeID = BODY_TYPE_ASTEROIDBELT;
    belt->Population = 5;
    belt->Name = "Belt";
    star.AddChild(std::move(belt));
    auto ship = TStellarBody::Create();
    ship->TypeID = BODY_TYPE_SHIP;
    star.AddChild(std::move(ship));
    const std::string row = ExportSolarSystemHTML(star);
    EXPECT_NE(row.find("<img src=\"ast-pop.gif\" border=0 alt=\"Belt\"></a>"), std::string::npos);
    EXPECT_EQ(PlainReportFileName("C:\\a\\b.png"), "b.png");
    EXPECT_EQ(PlainReportFileName("../x/.."), std::nullopt);
    EXPECT_EQ(PlainReportFileName("a\"b.png"), std::nullopt);
    EXPECT_EQ(PlainReportFileName("dir/"), std::nullopt);
    EXPECT_EQ(HtmlEscape("<a href='x'>&\""), "&lt;a href=&#39;x&#39;&gt;&amp;&quot;");
    EXPECT_EQ(JsAttrEscape("it's\\<\n"), "it\\x27s\\x5C\\x3C\\x0A");
    EXPECT_TRUE(row.ends_with("return true;\"></a><br>")) << row; // a ship has no symbol
}

} // namespace
} // namespace kalvion
