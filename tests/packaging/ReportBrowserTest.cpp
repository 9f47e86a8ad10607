// The pages we ship and write, in a real browser: the reports of the samples open
// in headless Chromium without console errors, every internal link and image
// resolves, and the index links bring their sections to the top.
#include "Shell.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <sstream>
#include <vector>

namespace kalvion::test {
namespace {

const fs::path BinDir = KALVION_BIN_DIR;
const fs::path Source = KALVION_SOURCE_DIR;

std::string Chromium()
{
    for (const char *path : {"/usr/bin/chromium", "/usr/bin/chromium-browser"})
        if (::access(path, X_OK) == 0)
            return path;
    return {};
}

// Put into a copy of the page, first thing after <head>: it records errors
// from the start, and once the page has loaded it checks the page and writes
// what it found into <pre id="kalvion-check">, one finding a line.
const char *Checker = R"JS(<script>
(function () {
  var problems = [];
  window.addEventListener('error', function (e) {
    var t = e.target;
    if (t && t !== window && (t.src || t.href))
      problems.push('resource failed: ' + (t.src || t.href));
    else
      problems.push('script error: ' + e.message);
  }, true);
  var oldError = console.error;
  console.error = function () {
    problems.push('console error: ' + Array.prototype.join.call(arguments, ' '));
    return oldError.apply(console, arguments);
  };
  // Every anchor name and id of the page, looked up once: the report of a
  // large sector has tens of thousands of links.
  var targets = null;
  function target(id) {
    if (!targets) {
      targets = new Map();
      var named = document.querySelectorAll('[id], a[name]');
      for (var n = 0; n < named.length; ++n) {
        var key = named[n].id || named[n].getAttribute('name');
        if (!targets.has(key)) targets.set(key, named[n]);
      }
    }
    return targets.get(id) || null;
  }
  window.addEventListener('load', function () {
    var stats = { links: 0, images: 0, jumps: 0 };
    var anchors = document.querySelectorAll('a[href]');
    for (var i = 0; i < anchors.length; ++i) {
      var href = anchors[i].getAttribute('href');
      if (href.charAt(0) !== '#') {
        if (!/^[a-z]+:/i.test(href)) problems.push('link to a file: ' + href);
        continue;
      }
      ++stats.links;
      if (!target(decodeURIComponent(href.substring(1)))) problems.push('broken link: ' + href);
    }
    var images = document.images;
    for (var j = 0; j < images.length; ++j) {
      ++stats.images;
      if (!images[j].complete || images[j].naturalWidth === 0)
        problems.push('image not shown: ' + images[j].getAttribute('src'));
    }
    // Index links: the first and last ones of the index are clicked and
    // must bring their section to the top of the window (or, near the end of
    // the page, scroll as far as the page goes).
    var index = document.querySelectorAll(window.kalvionIndexLinks || '.SystemIndex a[href^="#"]');
    var picks = [];
    for (var k = 0; k < index.length; ++k)
      if (k < 40 || k >= index.length - 40) picks.push(index[k]);
    for (var m = 0; m < picks.length; ++m) {
      var id = decodeURIComponent(picks[m].getAttribute('href').substring(1));
      var el = target(id);
      if (!el) continue;
      window.scrollTo(0, 0);
      picks[m].click();
      ++stats.jumps;
      var top = el.getBoundingClientRect().top;
      // The report has no doctype, so the body may be what scrolls.
      var scroller = document.scrollingElement || document.documentElement;
      var atEnd = window.scrollY + window.innerHeight >= scroller.scrollHeight - 2;
      if (location.hash !== '#' + encodeURI(id) && location.hash !== '#' + id)
        problems.push('index link did not navigate: ' + id + ' (' + location.hash + ')');
      else if (Math.abs(top) > 2 && !atEnd)
        problems.push('index link left its section at ' + top + ' px: ' + id);
    }
    if (index.length === 0) problems.push('the page has no index links');
    var pre = document.createElement('pre');
    pre.id = 'kalvion-check';
    pre.textContent = 'links ' + stats.links + ' images ' + stats.images + ' jumps ' + stats.jumps + '\n' +
                      problems.join('\n');
    document.body.appendChild(pre);
  });
})();
</script>
)JS";

struct Checked {
    std::string console, problems, counts;
    int links = 0, images = 0, jumps = 0;
};

class PageInBrowser : public ::testing::Test {
protected:
    void SetUp() override
    {
        chromium_ = Chromium();
        if (chromium_.empty())
            GTEST_SKIP() << "Chromium is not installed (apt-get install chromium); the report is not tried in a browser";
        dir_ = ScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override
    {
        if (!dir_.empty())
            fs::remove_all(dir_);
    }

    // Chromium on a page: the DOM after loading it, and the console
    // messages it logged on the way.
    std::string Browse(const fs::path &page, std::string &console)
    {
        const fs::path log = dir_ / "chromium.log";
        const std::string command = "timeout 300 " + chromium_ +
                                    " --headless --no-sandbox --disable-gpu-sandbox --use-angle=swiftshader"
                                    " --enable-unsafe-swiftshader --no-first-run --disable-extensions"
                                    " --user-data-dir=" + Sh((dir_ / "profile").string()) +
                                    " --virtual-time-budget=10000 --window-size=1000,700 --dump-dom"
                                    " --enable-logging=stderr --v=0 " +
                                    Sh("file://" + page.string()) + " 2>" + Sh(log.string());
        const std::string dom = RunShell(command).output;
        std::istringstream lines(ReadAll(log));
        std::string line;
        while (std::getline(lines, line))
            if (line.find(":CONSOLE(") != std::string::npos)
                console += line + "\n";
        return dom;
    }

    // Runs the page, with the checker put in first thing after <head>, from
    // a copy beside it (so relative pictures resolve).  indexLinks: the
    // selector of the links that must jump to their sections; empty for the
    // report's system index.
    Checked Check(const fs::path &page, const std::string &indexLinks)
    {
        Checked c;
        std::string html = ReadAll(page);
        auto head = html.find("<head>");
        if (head == std::string::npos) {
            ADD_FAILURE() << "no <head> in " << page;
            return c;
        }
        std::string script = Checker;
        if (!indexLinks.empty())
            script = "<script>window.kalvionIndexLinks = '" + indexLinks + "';</script>" + script;
        html.insert(head + 6, script);
        const fs::path checked = page.parent_path() / "checked.html";
        std::ofstream(checked, std::ios::binary) << html;
        const std::string dom = Browse(checked, c.console);
        const std::string open = "<pre id=\"kalvion-check\">";
        const auto a = dom.find(open);
        if (a == std::string::npos) {
            ADD_FAILURE() << "the checker did not finish: " << dom.substr(0, 1500);
            return c;
        }
        const std::string found = dom.substr(a + open.size(), dom.find("</pre>", a) - a - open.size());
        c.counts = found.substr(0, found.find('\n'));
        c.problems = found.size() > c.counts.size() + 1 ? found.substr(c.counts.size() + 1) : "";
        if (std::sscanf(c.counts.c_str(), "links %d images %d jumps %d", &c.links, &c.images, &c.jumps) != 3)
            ADD_FAILURE() << c.counts;
        return c;
    }

    std::string chromium_;
    fs::path dir_;
};

class ReportInBrowser : public PageInBrowser, public ::testing::WithParamInterface<const char *> {};

TEST_P(ReportInBrowser, LoadsCleanlyAndEveryLinkAndImageResolves)
{
    const fs::path sample = BinDir / "Samples" / (std::string(GetParam()) + ".VexaDB");
    ASSERT_TRUE(fs::exists(sample)) << sample;
    const fs::path page = dir_ / "report" / "report.html";
    fs::create_directories(page.parent_path());
    const Ran made = RunShell(Sh((BinDir / "kalvion-cli").string()) + " report --yes " + Sh(sample.string()) + " " +
                         Sh(page.string()));
    ASSERT_EQ(made.code, 0) << made.output;

    const Checked c = Check(page, "");
    EXPECT_EQ(c.console, "");
    EXPECT_EQ(c.problems, "") << c.counts;
    // The page is not empty: systems link to their sections, symbols show.
    EXPECT_GT(c.links, 5);
    EXPECT_GT(c.jumps, 5);
    EXPECT_GT(c.images, 0);
}

// The user guide's page, made from the Markdown text: its contents list
// jumps to the chapters and every picture it names is there (pictures that
// scripts/make-screenshots.sh has not made yet are only noted).
TEST_F(PageInBrowser, GuidePageLinksResolve)
{
    const fs::path guide = BinDir / "Help" / "guide.html";
    ASSERT_TRUE(fs::exists(guide));
    fs::create_directories(dir_ / "Help");
    fs::copy(BinDir / "Help", dir_ / "Help", fs::copy_options::recursive);
    const Checked c = Check(dir_ / "Help" / "guide.html", "a[href^=\"#\"]");
    EXPECT_EQ(c.console, "");
    std::istringstream lines(c.problems);
    std::string line, problems;
    while (std::getline(lines, line)) {
        const std::string prefix = "image not shown: ";
        if (line.rfind(prefix, 0) == 0 && !fs::exists(Source / "docs" / line.substr(prefix.size()))) {
            std::printf("note: %s (run scripts/make-screenshots.sh)\n", line.c_str());
            continue;
        }
        if (line.rfind("resource failed: ", 0) == 0 && line.find("/images/") != std::string::npos &&
            !fs::exists(Source / "docs" / "images" / fs::path(line).filename()))
            continue;
        if (!line.empty())
            problems += line + "\n";
    }
    EXPECT_EQ(problems, "") << c.counts;
    EXPECT_GE(c.jumps, 10);
}

INSTANTIATE_TEST_SUITE_P(Samples, ReportInBrowser,
                         ::testing::Values("Lantern Reach", "Thornwake Frontier", "Ember Cluster"),
                         [](const ::testing::TestParamInfo<const char *> &info) {
                             std::string n = info.param;
                             n.erase(std::remove(n.begin(), n.end(), ' '), n.end());
                             return n;
                         });

} // namespace
} // namespace kalvion::test
