// The exported page in headless Chromium, from the file system, offline.
#include "WebFixture.h"

#include "cli/CliApp.h"
#include "exchange/WebExport.h"
#include "files/SectorFile.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <sstream>

namespace kalvion::test {
namespace {

std::string Chromium()
{
    for (const char *path : {"/usr/bin/chromium", "/usr/bin/chromium-browser"})
        if (::access(path, X_OK) == 0)
            return path;
    return {};
}

std::string Quote(const std::string &s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string PercentEncode(const std::string &s)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : s) {
        if (std::isalnum(c) || c == '-' || c == '_' || c == '.')
            out += static_cast<char>(c);
        else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

class WebPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        chromium_ = Chromium();
        if (chromium_.empty())
            GTEST_SKIP() << "Chromium is not installed (apt-get install chromium); the page is not tried in a browser";
        dir_ = FreshFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override
    {
        if (!dir_.empty())
            fs::remove_all(dir_);
    }

    // Runs Chromium on the page with the query; returns what it printed.
    std::string Browse(const fs::path &page, const std::string &query, const std::string &what)
    {
        const std::string url = "file://" + page.string() + (query.empty() ? "" : "?" + query);
        const std::string command = "timeout 120 " + chromium_ +
                                    " --headless --no-sandbox --disable-gpu-sandbox --use-angle=swiftshader"
                                    " --enable-unsafe-swiftshader --no-first-run --disable-extensions"
                                    " --user-data-dir=" + Quote((dir_ / "profile").string()) +
                                    " --virtual-time-budget=8000 --window-size=1000,700 " + what + " " +
                                    Quote(url) + " 2>/dev/null";
        std::string output;
        if (FILE *pipe = ::popen(command.c_str(), "r")) {
            char buf[4096];
            std::size_t n;
            while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0)
                output.append(buf, n);
            ::pclose(pipe);
        }
        return output;
    }

    std::string chromium_;
    fs::path dir_;
};

// The text between <pre id="errors"> and its end: the page's own record of
// every script error.
std::string PageErrors(const std::string &dom)
{
    const std::string open = "<pre id=\"errors\">";
    const auto a = dom.find(open);
    if (a == std::string::npos)
        return "(no error element)";
    const auto b = dom.find("</pre>", a);
    return dom.substr(a + open.size(), b - a - open.size());
}

TEST_F(WebPage, GeneratedSectorOpensAPanelOfTheNamedSystem)
{
    const std::string file = (dir_ / "reach.VexaDB").string();
    std::ostringstream out, err;
    ASSERT_EQ(cli::RunCli({"kalvion-cli", "--seed", "5", "generate", file, "--size", "20"}, out, err), 0) << err.str();
    TVexaSector sector;
    ASSERT_TRUE(LoadFromFile(sector, file, nullptr));
    TStellarBody *system = nullptr;
    for (const auto &root : sector.Systems) {
        sector.DynaLoad(root.get());
        if (root->ChildrenCount() >= 2) {
            system = root.get();
            break;
        }
    }
    ASSERT_NE(system, nullptr);
    ASSERT_EQ(cli::RunCli({"kalvion-cli", "web", file, (dir_ / "page").string()}, out, err), 0) << err.str();

    const fs::path page = dir_ / "page" / "index.html";
    const std::string dom = Browse(page, "system=" + PercentEncode(system->Name), "--dump-dom");
    ASSERT_NE(dom.find("data-ready=\"1\""), std::string::npos) << dom.substr(0, 2000);
    EXPECT_EQ(PageErrors(dom), "");
    const auto panel = dom.find("id=\"panel\"");
    ASSERT_NE(panel, std::string::npos);
    EXPECT_NE(dom.find("display: block", panel), std::string::npos);
    for (const auto &child : system->Children)
        EXPECT_NE(dom.find(">" + child->Name + "<", panel), std::string::npos) << child->Name;

    // The star map is drawn: the picture is not one colour.
    const std::string shot = (dir_ / "shot.png").string();
    Browse(page, "", "--screenshot=" + Quote(shot));
    const QImage image(QString::fromStdString(shot));
    ASSERT_FALSE(image.isNull());
    int lit = 0;
    for (int y = 100; y < image.height() - 100; ++y)
        for (int x = 320; x < image.width() - 100; ++x)
            lit += QColor(image.pixel(x, y)).value() > 60;
    EXPECT_GT(lit, 200);
}

TEST_F(WebPage, HostileNamesRunNoScript)
{
    auto sector = SmallSector();
    const TWebExportResult r = ExportSectorWebPage(*sector, (dir_ / "page").string(), {});
    ASSERT_TRUE(r.Ok) << r.Error;
    const fs::path page = dir_ / "page" / "index.html";
    for (const char *name : {HostileName, ScriptCloser}) {
        const std::string dom = Browse(page, "system=" + PercentEncode(name), "--dump-dom");
        ASSERT_NE(dom.find("data-ready=\"1\""), std::string::npos);
        EXPECT_EQ(dom.find("data-pwned"), std::string::npos) << name;
        EXPECT_EQ(PageErrors(dom), "");
        // The name shows as text in the panel's heading.
        EXPECT_NE(dom.find("<h2>&lt;"), std::string::npos) << name;
    }
}

} // namespace
} // namespace kalvion::test

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Reading the screenshot needs a Qt application; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
