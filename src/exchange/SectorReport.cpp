#include "exchange/SectorReport.h"

#include "base/AsciiText.h"
#include "base/Guid.h"
#include "base/NumberFormat.h"
#include "base/Paths.h"
#include "base/Questions.h"
#include "base/SafeFile.h"
#include "exchange/ExchangePrompt.h"
#include "exchange/HtmlText.h"
#include "exchange/ReportFieldValue.h"
#include "files/SectorFile.h"
#include "files/SurfaceMapStore.h"
#include "model/BodyTypes.h"
#include "model/ImageResources.h"
#include "model/SystemDataDisplay.h"
#include "model/VexaSector.h"

#include <algorithm>
#include <filesystem>
#include <iterator>

namespace kalvion {

namespace fs = std::filesystem;

namespace {

constexpr const char *CRLF = "\r\n";

struct TLegendRow {
    const char *File;
    const char *Text;
};

constexpr TLegendRow LEGEND[] = {
    {"ter-nopop.gif", "Terrestrial Planet, Not Populated"},
    {"ter-pop.gif", "Terrestrial Planet, Populated"},
    {"ter-hosp.gif", "Terrestrial Planet, Hospitable (breathable atmosphere)"},
    {"gg-nopop.gif", "Gas Giant"},
    {"gg-pop.gif", "Gas Giant, Populated (on moons)"},
    {"gg-hosp.gif", "Gas Giant, Hospitable (on moons)"},
    {"ast-nopop.gif", "Asteroid Belt, Not Populated"},
    {"ast-pop.gif", "Asteroid Belt, Populated"},
    {"ss-nopop.gif", "Space Station / Megastructure, Not Populated (automated facility, abandoned, etc.)"},
    {"ss-pop.gif", "Space Station / Megastructure, Populated"},
};

void Line(std::string &out, std::string_view text)
{
    out += text;
    out += CRLF;
}

// The opening of a link to a body's section, with the status-bar script.
// The blank, quote, blank after the href is how the page has always been
// written; browsers read it as an empty attribute.
void AppendLinkOpen(std::string &out, const TStellarBody &b, bool strayQuote)
{
    out += "<a href=\"#";
    AppendHtml(out, b.IDString.str());
    out += strayQuote ? "\" \" onMouseOver=\"window.status='" : "\" onMouseOver=\"window.status='";
    out += JsAttrEscape(b.Name);
    out += "';return true;\" onMouseOut=\"window.status='';return true;\">";
}

const char *SymbolFile(const TStellarBody &c)
{
    switch (c.TypeID) {
    case BODY_TYPE_STATION:
    case BODY_TYPE_MEGASTRUCTURE:
        return c.Population > 0 ? "ss-pop.gif" : "ss-nopop.gif";
    case BODY_TYPE_TERRESTRIAL:
    case BODY_TYPE_PLANETOID:
    case BODY_TYPE_PLANETSYSTEM:
        if (c.GetMaxChildHabitability() == HAB_HOSPITABLE)
            return "ter-hosp.gif";
        return c.GetChildPopulation() > 0 ? "ter-pop.gif" : "ter-nopop.gif";
    case BODY_TYPE_GASGIANT:
        if (c.GetMaxChildHabitability() == HAB_HOSPITABLE)
            return "gg-hosp.gif";
        return c.GetChildPopulation() > 0 ? "gg-pop.gif" : "gg-nopop.gif";
    case BODY_TYPE_ASTEROIDBELT:
        return c.Population > 0 ? "ast-pop.gif" : "ast-nopop.gif";
    default:
        return nullptr;
    }
}

void AppendSymbolRow(std::string &out, const TStellarBody &body)
{
    for (const auto &child : body.Children) {
        AppendLinkOpen(out, *child, true);
        if (const char *file = SymbolFile(*child)) {
            out += "<img src=\"";
            out += file;
            out += "\" border=0 alt=\"";
            AppendHtml(out, child->Name);
            out += "\">";
        }
        out += "</a>";
    }
    if (!body.Children.empty())
        out += "<br>";
}

void AppendIndexRows(std::string &out, const TStellarBody &root)
{
    if (root.TypeID == BODY_TYPE_STAR) {
        out += "<tr><td>";
        AppendLinkOpen(out, root, true);
        AppendHtml(out, root.Name);
        out += "</a></td><td>Star</td><td>";
        AppendSymbolRow(out, root);
        Line(out, "</td></tr>");
    } else if (root.TypeID == BODY_TYPE_MULT) {
        out += "<tr><td>";
        AppendLinkOpen(out, root, false);
        AppendHtml(out, root.Name);
        Line(out, "</a></td><td>Multiple Star System</td><td></td></tr>");
        for (const auto &child : root.Children) {
            out += "<tr><td></td><td>";
            AppendLinkOpen(out, *child, true);
            AppendHtml(out, child->Name);
            out += "</a></td><td>";
            AppendSymbolRow(out, *child);
            Line(out, "</td></tr>");
        }
    } else {
        out += "<tr><td>";
        AppendLinkOpen(out, root, true);
        AppendHtml(out, root.Name);
        out += "</a></td><td>";
        AppendHtml(out, root.BodyType);
        Line(out, "</td><td></td></tr>");
    }
}

// Notes keep their line breaks on the page.
void AppendNotes(std::string &out, const char *caption, const std::string &notes)
{
    out += caption;
    out += "<ul>";
    std::string_view rest = notes;
    while (true) {
        const std::size_t br = rest.find("\r\n");
        AppendHtml(out, rest.substr(0, br));
        if (br == std::string_view::npos)
            break;
        out += "<br>\r\n";
        rest.remove_prefix(br + 2);
    }
    Line(out, "</ul><br>");
}

struct TSectionWriter {
    const TSystemDataConfigHolder *Holder;
    bool GMNotes;
    bool SurfaceMaps;
    const TReportMapMarks &Marks;

    void Write(std::string &out, const TStellarBody &body) const
    {
        const TSystemDataConfig *config = SystemDataConfigFor(body, Holder);
        if (!config)
            return;
        const bool root = body.Parent == nullptr;
        const bool starClass = root || body.TypeID == BODY_TYPE_STAR || body.TypeID == BODY_TYPE_MULT ||
                               body.TypeID == BODY_TYPE_CLOSEMULT;
        Line(out, "<div class=\"StellarBody\">");
        out += "<a name=\"";
        AppendHtml(out, body.IDString.str());
        out += "\" \" onMouseOver=\"window.status='";
        out += JsAttrEscape(body.Name);
        Line(out, "';return true;\" onMouseOut=\"window.status='';return true;\">");
        out += "<span class=\"StellarBodyName\"><span class=\"";
        out += starClass ? "StellarBodyStar" : "StellarBodyNonStar";
        out += "\">";
        if (TrimView(body.Name).empty())
            out += SYSTEM_LABEL_UNNAMED_C;
        else
            AppendHtml(out, body.Name);
        Line(out, "</span></span><br>");
        if (body.TypeID == BODY_TYPE_STAR && !body.Children.empty()) {
            AppendSymbolRow(out, body);
            out += CRLF;
        }
        if (root) {
            out += "Position: (" + FormatFloat("####0.##", body.X) + "," + FormatFloat("####0.##", body.Y) + "," +
                   FormatFloat("####0.##", body.Z) + ")";
            Line(out, "<br>");
        }
        if (SurfaceMaps) {
            auto it = Marks.find(&body);
            if (it != Marks.end()) {
                out += "<img class=\"SurfaceMap\" src=\"";
                AppendHtml(out, it->second);
                Line(out, "\">");
            }
        }

        const TSystemDataRec *children = nullptr;
        for (const TSystemDataRec &rec : config->Records) {
            if (rec.Source == "children") {
                if (!children)
                    children = &rec;
                continue;
            }
            const std::string value = ReportFieldValue(body, rec);
            const bool emptyValue = TrimView(value).empty();
            if (rec.HideIfEmpty && emptyValue)
                continue;
            const std::string_view label = TrimView(rec.DisplayText);
            if (label.empty()) {
                if (value.empty())
                    continue;
                AppendHtml(out, value);
            } else if (value.empty()) {
                AppendHtml(out, rec.DisplayText);
            } else {
                AppendHtml(out, label);
                out += ": ";
                AppendHtml(out, value);
            }
            Line(out, "<br>");
        }
        if (!body.Notes.empty())
            AppendNotes(out, "Notes: ", body.Notes);
        if (GMNotes && !body.GMNotes.empty())
            AppendNotes(out, "GM Notes: ", body.GMNotes);
        if (children && !body.Children.empty()) {
            AppendHtml(out, children->DisplayText);
            out += ": ";
            bool first = true;
            for (const auto &child : body.Children) {
                if (!first)
                    out += ",&nbsp;";
                first = false;
                AppendLinkOpen(out, *child, true);
                AppendHtml(out, child->Name);
                out += "</a>";
            }
            Line(out, "<br>");
            Line(out, "<br>");
            Line(out, "<ul>");
            for (const auto &child : body.Children)
                Write(out, *child);
            Line(out, "</ul>");
        }
        Line(out, "<br>");
        Line(out, "</div>");
    }
};

bool Included(const TStellarBody &root, int style)
{
    switch (style) {
    case REPORTSTYLE_ALL: return true;
    // Populated systems: those whose stored roll-up of population is above
    // zero (known without loading the system).
    case REPORTSTYLE_POPULATED: return root.ChildPopulation > 0;
    case REPORTSTYLE_SELECTED: return root.Selected;
    case REPORTSTYLE_VISIBLE: return root.Visible;
    default: return false;
    }
}

std::vector<TStellarBody *> CollectSystems(const TVexaSector &sector, int style)
{
    std::vector<TStellarBody *> list;
    for (const auto &root : sector.Systems)
        if (Included(*root, style))
            list.push_back(root.get());
    std::stable_sort(list.begin(), list.end(), [](const TStellarBody *a, const TStellarBody *b) {
        return CompareText(a->Name, b->Name) < 0;
    });
    return list;
}

bool Confirmed(std::size_t count, bool confirmLarge, TExchangePrompt *prompt)
{
    if (!confirmLarge || count <= static_cast<std::size_t>(REPORTWARN_LIMIT))
        return true;
    if (!prompt)
        return UNANSWERED_QUESTION_ANSWER;
    return prompt->ConfirmWarning("Report Generation", "This will generate a report with " + std::to_string(count) +
                                                           " system entries.  Do you want to continue?");
}

void SetError(std::string *error, const std::string &text)
{
    if (error)
        *error = text;
}

void SetWriteError(std::string *error, const std::string &fileName, const std::string &reason)
{
    SetError(error, "The report \"" + fileName + "\" could not be written: " + reason);
}

// The page goes through a new file beside it and a rename, so a failure
// leaves an older report as it was and a name planted in the folder is never
// written through.  It is written as it is made: a report of many systems is
// never held whole in memory.
bool OpenPage(TSafeFileWriter &page, const std::string &fileName, std::string *error)
{
    std::string reason;
    if (page.Open(fileName, &reason))
        return true;
    SetWriteError(error, fileName, reason);
    return false;
}

bool CommitPage(TSafeFileWriter &page, const std::string &fileName, std::string *error)
{
    std::string reason;
    if (page.Commit(&reason))
        return true;
    SetWriteError(error, fileName, reason);
    return false;
}

std::string ReportFolder(const std::string &fileName)
{
    const fs::path parent = fs::path(fileName).parent_path();
    return parent.empty() ? std::string("./") : JoinPath(parent.string(), "");
}

void AppendHeaderTotals(std::string &out, const TVexaSector &sector)
{
    Line(out, "Number of Systems: " + std::to_string(sector.SystemCount()) + "<br>");
    Line(out, "Sector Population: " + FormatFloat("###,###,###,###,###,###", sector.GetSectorPopulation()) + "<br>");
    Line(out, "<br>");
}

void AppendStyleLine(std::string &out, int style)
{
    if (style == REPORTSTYLE_POPULATED)
        Line(out, "Populated and notable systems<br>");
    else if (style == REPORTSTYLE_SELECTED)
        Line(out, "Selected systems only<br>");
}

void AppendLegendTable(std::string &out)
{
    Line(out, "<table valign=middle>");
    for (const TLegendRow &row : LEGEND)
        Line(out, std::string("<tr><td><img src=\"") + row.File + "\" border=0></td><td>" + row.Text + "</td></tr>");
    Line(out, "</table>");
}

// Only names that are still free are taken: the folder is the user's, and a
// file (or link) already there is left alone.
void CopySymbolImages(const std::string &folder)
{
    std::error_code ec;
    const fs::path source(ProgramSubfolder("SectorReports"));
    if (!fs::is_directory(source, ec))
        return;
    for (const auto &entry : fs::directory_iterator(source, ec)) {
        if (!entry.is_regular_file(ec) || !SameText(entry.path().extension().string(), ".gif"))
            continue;
        const fs::path target = fs::path(folder) / entry.path().filename();
        if (fs::exists(fs::symlink_status(target, ec)))
            continue;
        if (auto bytes = ReadFileBytes(entry.path().string()))
            CreateNewFile(target.string(),
                          std::string_view(reinterpret_cast<const char *>(bytes->data()), bytes->size()));
    }
}

// Loads a stored system for the moment it is needed and lets it go again
// afterwards unless something changed it meanwhile.
class TSystemLoad {
public:
    TSystemLoad(TVexaSector &sector, TStellarBody *root) : FSector(sector), FRoot(root), FWasLoaded(root->Loaded)
    {
        FSector.DynaLoad(FRoot);
    }
    ~TSystemLoad()
    {
        if (!FWasLoaded)
            FSector.DynaUnload(FRoot);
    }
    TSystemLoad(const TSystemLoad &) = delete;
    TSystemLoad &operator=(const TSystemLoad &) = delete;

private:
    TVexaSector &FSector;
    TStellarBody *FRoot;
    bool FWasLoaded;
};

} // namespace

std::optional<std::string> ReportMapFileName(const TStellarBody &body)
{
    if (!IsGuidString(body.IDString.str()))
        return std::nullopt;
    static constexpr const char *IMAGE_EXTENSIONS[] = {".png", ".jpg", ".jpeg", ".gif", ".bmp", ".tif", ".tiff"};
    const std::string ext = AsciiLower(fs::path(NormalizeStoredPath(body.PreviewImageFile)).extension().string());
    for (const char *known : IMAGE_EXTENSIONS)
        if (ext == known)
            return body.IDString + ext;
    return body.IDString + ".png";
}

std::string ExportBodyHTML(const TStellarBody &body, const TSystemDataConfigHolder *holder, bool gmNotes)
{
    TSystemDataConfigHolder defaults;
    if (!holder)
        SetDefaultSystemDataConfig(defaults);
    const TReportMapMarks noMarks;
    std::string out;
    TSectionWriter{holder ? holder : &defaults, gmNotes, false, noMarks}.Write(out, body);
    return out;
}

std::string ExportSolarSystemHTML(const TStellarBody &body)
{
    std::string out;
    AppendSymbolRow(out, body);
    return out;
}

void ExportSurfaceMapsForReport(TVexaSector &sector, TStellarBody &body, const std::string &folder,
                                TReportMapMarks &marks, const std::vector<std::int64_t> *storedMapIds,
                                std::vector<std::string> *created)
{
    std::vector<TStellarBody *> stack{&body};
    while (!stack.empty()) {
        TStellarBody *b = stack.back();
        stack.pop_back();
        for (auto it = b->Children.rbegin(); it != b->Children.rend(); ++it)
            stack.push_back(it->get());
        marks.erase(b);
        const std::optional<std::string> name = ReportMapFileName(*b);
        const bool mayHaveMap = !b->PreviewImageFile.empty() || !storedMapIds ||
                                std::binary_search(storedMapIds->begin(), storedMapIds->end(), b->RecordID);
        if (!name || !mayHaveMap)
            continue;
        auto image = sector.GetPreviewImageStream(b);
        if (!image || image->empty())
            continue;
        const std::string_view bytes(reinterpret_cast<const char *>(image->data()), image->size());
        const std::string path = JoinPath(folder, *name);
        std::error_code ec;
        const bool existed = fs::exists(fs::symlink_status(path, ec));
        if (!ReplaceFileContents(path, bytes))
            continue;
        marks[b] = *name;
        if (created && !existed)
            created->push_back(path);
    }
}

bool ExportToHTML(TVexaSector &sector, const std::string &fileName, int style, bool gmNotes, bool surfaceMaps,
                  bool confirmLarge, TExchangePrompt *prompt, std::string *error)
{
    SetError(error, "");
    const std::vector<TStellarBody *> systems = CollectSystems(sector, style);
    if (!Confirmed(systems.size(), confirmLarge, prompt)) {
        SetError(error, REPORT_CANCELLED);
        return false;
    }
    if (fileName.empty()) {
        SetError(error, "No report file name");
        return false;
    }
    const std::string folder = ReportFolder(fileName);
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        SetError(error, "The folder of the report \"" + fileName + "\" does not exist");
        return false;
    }
    // Images go beside the page: a page that cannot be a file of that folder
    // (a device, a folder) gets none, and no images either.
    if (fs::exists(fs::symlink_status(fileName, ec)) && !fs::is_regular_file(fileName, ec)) {
        SetError(error, "The report \"" + fileName + "\" is not a regular file");
        return false;
    }

    TSafeFileWriter page;
    if (!OpenPage(page, fileName, error))
        return false;
    // The sections follow the whole index on the page but are made system by
    // system with it, so they wait in a scratch file beside the page.
    TScratchFile sections;
    if (std::string reason; !sections.Open(folder, &reason)) {
        SetWriteError(error, fileName, reason);
        return false;
    }

    std::string text;
    Line(text, "<html>");
    Line(text, "<head>");
    Line(text, "<title>" + HtmlEscape(sector.Name) + " Report</title>");
    Line(text, "</head>");
    if (auto css = ReadFileBytes(JoinPath(ProgramFolder(), "Vexa.css"))) {
        text.append(css->begin(), css->end());
        if (!css->empty() && css->back() != '\n')
            text += CRLF;
    }
    Line(text, "<body>");
    Line(text, "<div class=\"ReportHeaderSection\">");
    Line(text, "<span class=\"ReportTitle\">" + HtmlEscape(sector.Name) + " Sector</span><br>");
    AppendHeaderTotals(text, sector);
    Line(text, "</div>");
    Line(text, "<div class=\"SystemIndex\">");
    Line(text, "<font size=+1>System Index:</font><br><br>");
    AppendStyleLine(text, style);
    Line(text, "<table>");
    page.Write(text);

    // One pass over the systems: each is loaded once and gives its index
    // rows and its section.
    // Which bodies have stored maps, asked once rather than once per body.
    std::optional<std::vector<std::int64_t>> storedMapIds;
    if (sector.Store == &SectorDatabaseStore() && !sector.FileName.empty())
        storedMapIds = SurfaceMapImageBodyIds(sector.FileName);
    TReportMapMarks marks;
    std::vector<std::string> createdMaps;
    // Images with no page to show them are litter in the user's folder.
    // Only files this run created go; those an earlier report left keep
    // serving the page that is still there.
    const auto RemoveCreatedMaps = [&createdMaps] {
        std::error_code ignored;
        for (const std::string &path : createdMaps)
            fs::remove(path, ignored);
    };
    const TSectionWriter writer{&sector.SystemDataDefaults, gmNotes, surfaceMaps, marks};
    for (TStellarBody *root : systems) {
        TSystemLoad load(sector, root);
        text.clear();
        AppendIndexRows(text, *root);
        page.Write(text);
        text.clear();
        Line(text, "<div class=\"StarSystem\">");
        marks.clear();
        ExportSurfaceMapsForReport(sector, *root, folder, marks, storedMapIds ? &*storedMapIds : nullptr,
                                   &createdMaps);
        writer.Write(text, *root);
        Line(text, "</div>");
        sections.Write(text);
    }

    text.clear();
    Line(text, "</table>");
    Line(text, "<br>");
    Line(text, "</div>");
    Line(text, "<div class=\"Legend\">");
    Line(text, "<font size=+1>Symbol Legend</font><br>");
    Line(text, "<br>");
    AppendLegendTable(text);
    Line(text, "<br>");
    Line(text, "</div>");
    Line(text, "<div class=\"SystemData\">");
    Line(text, "<br>");
    page.Write(text);
    if (std::string reason; !sections.CopyTo(page, &reason)) {
        SetWriteError(error, fileName, reason);
        RemoveCreatedMaps();
        return false;
    }
    text.clear();
    Line(text, "</div>");
    Line(text, "</body>");
    Line(text, "</html>");
    page.Write(text);
    if (!CommitPage(page, fileName, error)) {
        RemoveCreatedMaps();
        return false;
    }
    CopySymbolImages(folder);
    return true;
}

bool ExportToHTML2(TVexaSector &sector, const std::string &fileName, int style, bool confirmLarge,
                   TExchangePrompt *prompt, std::string *error)
{
    SetError(error, "");
    const std::vector<TStellarBody *> systems = CollectSystems(sector, style);
    if (!Confirmed(systems.size(), confirmLarge, prompt)) {
        SetError(error, REPORT_CANCELLED);
        return false;
    }
    if (fileName.empty()) {
        SetError(error, "No report file name");
        return false;
    }
    TSafeFileWriter out;
    if (!OpenPage(out, fileName, error))
        return false;
    std::string page;
    Line(page, "<html>");
    Line(page, "<body>");
    Line(page, "<basefont face=\"arial\">");
    Line(page, "<font size=+2><b>" + HtmlEscape(sector.Name) + " Sector</b></font><br>");
    AppendHeaderTotals(page, sector);
    Line(page, "<hr color=black>");
    Line(page, "<div style=\"page-break-after: always\">");
    Line(page, "<font size=+1>System Index:</font><br><br>");
    AppendStyleLine(page, style);
    Line(page, "<table>");
    for (TStellarBody *root : systems) {
        TSystemLoad load(sector, root);
        AppendIndexRows(page, *root);
        out.Write(page);
        page.clear();
    }
    Line(page, "</table>");
    Line(page, "<br>");
    Line(page, "</div>");
    Line(page, "<div style=\"page-break-after: always\">");
    Line(page, "<hr color=black>");
    Line(page, "<font size=+1>Symbol Legend</font><br>");
    Line(page, "<br>");
    AppendLegendTable(page);
    Line(page, "<br>");
    Line(page, "</div>");
    Line(page, "<hr color=black>");
    Line(page, "<br>");
    for (std::size_t i = 0; i < systems.size(); ++i) {
        Line(page, "<div style=\"page-break-after: always\">");
        if (static_cast<int>(i + 1) != sector.SystemCount())
            Line(page, "</div>");
        out.Write(page);
        page.clear();
    }
    Line(page, "</body>");
    Line(page, "</html>");
    out.Write(page);
    return CommitPage(out, fileName, error);
}

} // namespace kalvion
