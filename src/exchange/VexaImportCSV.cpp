#include "exchange/VexaImportCSV.h"

#include "base/AsciiText.h"
#include "base/Colour.h"
#include "base/LineSplitter.h"
#include "base/NumberParse.h"
#include "base/PhysicalFormulas.h"
#include "base/Rounding.h"
#include "model/BodyTypes.h"
#include "model/VexaSector.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace kalvion {

namespace {

constexpr TColor WHITE = ColorRGB(255, 255, 255);

// Seven characters: one ignored, then RRGGBB.  Anything else keeps the default.
TColor ParseCsvColor(std::string_view text, TColor def)
{
    if (text.size() != 7)
        return def;
    auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    int v[6];
    for (int i = 0; i < 6; ++i)
        if ((v[i] = hex(text[static_cast<std::size_t>(i) + 1])) < 0)
            return def;
    return ColorRGB(v[0] * 16 + v[1], v[2] * 16 + v[3], v[4] * 16 + v[5]);
}

// A body line's colour: field 10 when present and not empty, else the colour
// of the spectral class.
TColor BodyColor(const std::vector<std::string_view> &f, std::string_view spectral)
{
    if (f.size() > 10 && !f[10].empty())
        return ParseCsvColor(f[10], WHITE);
    return StarColorFromSpectral(spectral);
}

void SetNotes(TStellarBody &body, const std::vector<std::string_view> &f)
{
    if (f.size() > 11) {
        std::string_view notes = TrimView(f[11]);
        if (!notes.empty())
            body.Notes = std::string(notes);
    }
}

// Name, position and spectral class shared by the three body lines.
bool ReadCommon(TStellarBody &body, const std::vector<std::string_view> &f, bool round)
{
    auto x = ParseDouble(f[3]), y = ParseDouble(f[4]), z = ParseDouble(f[5]);
    if (!x || !y || !z)
        return false;
    body.Name = std::string(f[2]);
    body.X = round ? RoundToDecimals(3, *x) : *x;
    body.Y = round ? RoundToDecimals(3, *y) : *y;
    body.Z = round ? RoundToDecimals(3, *z) : *z;
    body.Spectral = std::string(f[9]);
    return true;
}

} // namespace

void TVexaImportCSV::SplitFields(std::string_view line, std::vector<std::string_view> &fields)
{
    fields.clear();
    std::size_t comma = line.find(',');
    fields.push_back(line.substr(0, comma));
    while (comma != std::string_view::npos) {
        line = TrimView(line.substr(comma + 1));
        comma = line.find(',');
        fields.push_back(line.substr(0, comma));
    }
}

bool TVexaImportCSV::Import(const std::string &fileName)
{
    std::error_code ec;
    if (fileName.empty() || !std::filesystem::is_regular_file(fileName, ec))
        return false;
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        return false;
    // Read as a stream: only the line at hand is held, however large the
    // file.  A line longer than CSV_MAX_LINE is a failed line, and its bytes
    // are passed over rather than kept.
    ErrorCount = 0;
    ImportedCount = 0;
    ResetIndex();
    TBoundedLineSplitter lines(CSV_MAX_LINE);
    bool first = true;
    int lineNo = 0;
    auto onLine = [&](std::string_view line, bool overlong) {
        ++lineNo;
        if (overlong)
            FailLine(lineNo, {});
        else
            ProcessLine(line, lineNo, first);
        first = false;
    };
    char buf[65536];
    while (in.read(buf, sizeof buf) || in.gcount() > 0) {
        lines.Feed(std::string_view(buf, static_cast<std::size_t>(in.gcount())), onLine);
        if (in.eof())
            break;
    }
    if (in.bad())
        return false;
    lines.Finish(onLine);
    return true;
}

void TVexaImportCSV::ImportText(std::string_view text)
{
    ErrorCount = 0;
    ImportedCount = 0;
    ResetIndex();
    int lineNo = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNo;
        ProcessLine(line, lineNo, lineNo == 1);
    }
}

void TVexaImportCSV::ProcessLine(std::string_view line, int lineNo, bool first)
{
    if (first && line.substr(0, 3) == "\xEF\xBB\xBF")
        line.remove_prefix(3);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (!line.empty() && line.front() == ';')
        return;
    // A blank line is a record with no kind word: it makes nothing and still
    // counts as imported, so the count is every line that is no comment and
    // did not fail.
    if (TrimView(line).empty()) {
        ++ImportedCount;
        return;
    }
    SplitFields(line, FFields);
    if (ImportLine(FFields)) {
        ++ImportedCount;
        return;
    }
    FailLine(lineNo, FFields.size() > 2 ? TrimView(FFields[2]) : std::string_view());
}

void TVexaImportCSV::FailLine(int lineNo, std::string_view name)
{
    ++ErrorCount;
    // The report names the first failures; a file of nothing but bad lines
    // must not make a report as large as itself.
    if (ErrorCount > CSV_MAX_ERROR_LINES)
        return;
    ErrorLines += "Line " + std::to_string(lineNo);
    if (!name.empty())
        ErrorLines += " Body: " + std::string(name.substr(0, 200));
    ErrorLines += "\r\n";
}

bool TVexaImportCSV::ImportLine(const std::vector<std::string_view> &f)
{
    const std::string kind = AsciiLower(f[0]);
    if (kind == "star")
        return ImportStar(f);
    if (kind == "white dwarf")
        return ImportWhiteDwarf(f);
    if (kind == "multiple")
        return ImportMultiple(f);
    if (kind == "route")
        return ImportRoute(f);
    // Any other word is a line we cannot read: reported, not dropped.
    return false;
}

bool TVexaImportCSV::ImportStar(const std::vector<std::string_view> &f)
{
    if (f.size() < 10)
        return false;
    auto body = TStellarBody::Create();
    body->TypeID = BODY_TYPE_STAR;
    auto mass = ParseDouble(f[6]);
    if (!mass || !ReadCommon(*body, f, true))
        return false;
    body->Mass = RoundToDecimals(3, *mass);
    auto radius = ParseDouble(f[7]);
    body->Radius = radius && *radius > 0 ? RoundToDecimals(3, *radius) : StarRadiusFromMass(body->Mass);
    auto lum = ParseDouble(f[8]);
    body->Luminosity = lum && *lum > 0 ? RoundToDecimals(3, *lum) : StarLuminosityFromMass(body->Mass);
    body->Color = BodyColor(f, body->Spectral);
    SetNotes(*body, f);
    PlaceBody(std::move(body), TrimView(f[1]));
    return true;
}

bool TVexaImportCSV::ImportWhiteDwarf(const std::vector<std::string_view> &f)
{
    if (f.size() < 10)
        return false;
    auto body = TStellarBody::Create();
    body->TypeID = BODY_TYPE_WHITEDWARF;
    if (!ReadCommon(*body, f, false))
        return false;
    body->Color = WHITE;
    SetNotes(*body, f);
    PlaceBody(std::move(body), TrimView(f[1]));
    return true;
}

bool TVexaImportCSV::ImportMultiple(const std::vector<std::string_view> &f)
{
    if (f.size() < 10)
        return false;
    auto body = TStellarBody::Create();
    body->TypeID = BODY_TYPE_MULT;
    if (!ReadCommon(*body, f, false))
        return false;
    body->Color = BodyColor(f, body->Spectral);
    SetNotes(*body, f);
    PlaceBody(std::move(body), TrimView(f[1]));
    return true;
}

void TVexaImportCSV::PlaceBody(std::unique_ptr<TStellarBody> body, std::string_view key)
{
    Changed = true;
    TStellarBody *last = Sector.Systems.empty() ? nullptr : Sector.Systems.back().get();
    if (key.empty() || key != LastSystemKey || !last) {
        body->ModifySystem();
        if (FIndexReady)
            FSystemsByName.try_emplace(body->Name, body.get());
        Sector.AddSystem(std::move(body));
    } else if (last->TypeID == BODY_TYPE_MULT) {
        last->AddChild(std::move(body));
        last->ModifySystem();
    } else {
        auto group = TStellarBody::Create();
        group->TypeID = BODY_TYPE_MULT;
        group->X = last->X;
        group->Y = last->Y;
        group->Z = last->Z;
        group->Name = last->Name;
        // The old root was the last system, so the group takes its place by
        // being appended.
        auto old = Sector.ExtractSystem(last);
        group->AddChild(std::move(old));
        group->AddChild(std::move(body));
        group->ModifySystem();
        // The group stands where the old root stood, under the same name.
        if (FIndexReady) {
            auto it = FSystemsByName.find(group->Name);
            if (it != FSystemsByName.end() && it->second == last)
                it->second = group.get();
        }
        Sector.AddSystem(std::move(group));
    }
    LastSystemKey = std::string(key);
}

bool TVexaImportCSV::ImportRoute(const std::vector<std::string_view> &f)
{
    if (f.size() < 8)
        return false;
    const TColor color = f[5].empty() ? WHITE : ParseCsvColor(f[5], WHITE);
    auto style = ParseInt32(f[6]);
    auto width = ParseDouble(f[7]);
    if (!style || !width)
        return false;
    // The system names are used as they stand: names may end in blanks.
    TStellarBody *from = nullptr, *to = nullptr;
    if (!f[1].empty() && !f[2].empty()) {
        from = FindSystem(f[1]);
        to = FindSystem(f[2]);
    }
    // A route to a system that is not there is an error the user must see.
    if (!from || !to)
        return false;
    Sector.CreateRouteSegment(from, to, Trim(f[3]), Trim(f[4]), color, *style, *width);
    Changed = true;
    return true;
}

void TVexaImportCSV::ResetIndex()
{
    // The sector may have changed since the last import.
    FSystemsByName.clear();
    FIndexReady = false;
}

TStellarBody *TVexaImportCSV::FindSystem(std::string_view name)
{
    if (!FIndexReady) {
        FSystemsByName.reserve(Sector.Systems.size());
        // try_emplace keeps the first system of a name.
        for (const auto &root : Sector.Systems)
            FSystemsByName.try_emplace(root->Name, root.get());
        FIndexReady = true;
    }
    const auto it = FSystemsByName.find(name);
    return it == FSystemsByName.end() ? nullptr : it->second;
}

void RemoveAllSectorContents(TVexaSector &sector)
{
    sector.DeleteAllRoutes();
    while (!sector.Systems.empty())
        sector.DeleteRootBody(sector.Systems.back().get());
    while (sector.SubsectorCount() > 0)
        sector.DeleteSubsector(sector.SubsectorCount() - 1);
    sector.Selection.clear();
    sector.BuildPoliticalList(true);
    sector.BuildRouteTypeList(true);
    sector.UpdateVisibleCount();
}

namespace {

// The systems and routes read into `from` join `to` (emptied before).
void MoveImported(TVexaSector &from, TVexaSector &to)
{
    for (auto &root : from.Systems)
        to.AddSystem(std::move(root));
    from.Systems.clear();
    for (auto &route : from.Routes) {
        to.AddRouteType(route->RouteType);
        to.AddRoute(std::move(route));
    }
    from.Routes.clear();
    to.UpdateVisibleCount();
}

} // namespace

std::vector<std::string> ImportCSVWithReport(TVexaSector &sector, const std::string &fileName, bool replace,
                                             int *errorCount)
{
    std::vector<std::string> report;
    if (errorCount)
        *errorCount = 0;
    if (fileName.empty()) {
        report = {"Import could not be done - no import file selected", "End Import."};
        return report;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(fileName, ec)) {
        report = {"Import could not be done - " + fileName + " not found", "End Import."};
        return report;
    }
    // Replacing reads the file into a sector of its own and empties this one
    // only once the whole file was read, so a file that cannot be read costs
    // nothing.  Its routes then name only the systems of the file, as they
    // would in an emptied sector.
    TVexaSector fresh;
    TVexaImportCSV importer(replace ? fresh : sector);
    if (!importer.Import(fileName)) {
        report = {"Import could not be done - " + fileName + " not found", "End Import."};
        return report;
    }
    if (replace) {
        if (!sector.Systems.empty() || !sector.Routes.empty() || !sector.Subsectors.empty()) {
            RemoveAllSectorContents(sector);
            sector.Modified = true;
        }
        MoveImported(fresh, sector);
    }
    if (importer.Changed)
        sector.Modified = true;
    if (errorCount)
        *errorCount = importer.ErrorCount;
    const std::string imported = std::to_string(importer.ImportedCount) + " record(s) imported";
    if (importer.ErrorCount == 0) {
        report = {imported, "Import Successful!  Close the window to see the results.", "End Import."};
        return report;
    }
    report.push_back(imported + ", " + std::to_string(importer.ErrorCount) + " record(s) not imported");
    report.push_back("Errors occurred during import on:");
    std::string_view lines = importer.ErrorLines;
    while (!lines.empty()) {
        const std::size_t end = lines.find("\r\n");
        report.emplace_back(lines.substr(0, end));
        lines = end == std::string_view::npos ? std::string_view() : lines.substr(end + 2);
    }
    if (importer.ErrorCount > CSV_MAX_ERROR_LINES)
        report.push_back("... and " + std::to_string(importer.ErrorCount - CSV_MAX_ERROR_LINES) + " more line(s)");
    report.push_back("End Import.");
    return report;
}

} // namespace kalvion
