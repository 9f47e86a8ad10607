#include "exchange/WebExport.h"

#include "base/Colour.h"
#include "base/Paths.h"
#include "base/SafeFile.h"
#include "base/TextEncoding.h"
#include "exchange/WebExportFolder.h"
#include "files/SurfaceMapStore.h"
#include "model/BodyTypes.h"
#include "model/VexaSector.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <unordered_set>

namespace kalvion {

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

std::string HexColour(TColor c)
{
    static const char digits[] = "0123456789abcdef";
    std::string s = "#";
    for (int v : {ColorRed(c), ColorGreen(c), ColorBlue(c)}) {
        s += digits[(v >> 4) & 15];
        s += digits[v & 15];
    }
    return s;
}

std::string HexColour(double r, double g, double b)
{
    auto byte = [](double v) { return static_cast<int>(std::lround(std::isfinite(v) ? std::clamp(v, 0.0, 1.0) * 255 : 0)); };
    return HexColour(ColorRGB(byte(r), byte(g), byte(b)));
}

double Finite(double v) { return std::isfinite(v) ? v : 0.0; }

bool ReadWhole(const std::string &file, std::string &out)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

std::string MapName(const std::string &idString)
{
    std::string name;
    for (char c : idString)
        if (std::isxdigit(static_cast<unsigned char>(c)) || c == '-')
            name += c;
    return "maps/" + (name.empty() ? std::string("map") : name) + ".png";
}

class TWebWriter {
public:
    TWebWriter(TVexaSector &sector, const std::string &outDir, const TWebExportOptions &options,
               TWebExportResult &result)
        : Sector(sector), OutDir(outDir), Options(options), Result(result)
    {
    }

    json Body(TStellarBody &body)
    {
        ++Result.Bodies;
        json b;
        b["n"] = BytesToUtf8(body.Name);
        b["t"] = NameFromBodyType(body.TypeID);
        if (!body.Spectral.empty())
            b["sp"] = BytesToUtf8(body.Spectral);
        if (body.Population > 0)
            b["pop"] = Finite(body.Population);
        b["hab"] = HabitNameFromHabitCode(body.Habitability);
        if (body.TypeID >= BODY_TYPE_TERRESTRIAL && body.TypeID <= BODY_TYPE_MEGASTRUCTURE && body.Radius > 0 &&
            body.Density > 0)
            b["g"] = Finite(body.GetSurfaceGravity());
        if (body.Temp > 0)
            b["k"] = Finite(body.Temp);
        if (!body.PoliticalAffiliation.empty())
            b["pol"] = BytesToUtf8(body.PoliticalAffiliation);
        if (!Options.HideNotes && !body.Notes.empty())
            b["notes"] = BytesToUtf8(body.Notes);
        if (Options.GameMaster) {
            if (!body.GMNotes.empty())
                b["gm"] = BytesToUtf8(body.GMNotes);
            json fields = json::object();
            for (int i = 0; i < body.GetFieldCount(); ++i)
                fields[BytesToUtf8(body.GetFieldNameByIndex(i))] = BytesToUtf8(body.GetFieldByIndex(i));
            if (!fields.empty())
                b["f"] = std::move(fields);
        }
        if ((body.TypeID == BODY_TYPE_TERRESTRIAL || body.TypeID == BODY_TYPE_GASGIANT) &&
            MapIds.count(body.RecordID) != 0) {
            if (auto map = Sector.GetSurfaceMapImageStream(&body); map && !map->empty()) {
                const std::string name = MapName(body.IDString);
                std::string error;
                if (ReplaceFileContents((fs::path(OutDir) / name).string(),
                                        std::string_view(reinterpret_cast<const char *>(map->data()), map->size()),
                                        &error)) {
                    b["map"] = name;
                    ++Result.Maps;
                }
            }
        }
        if (!body.Children.empty()) {
            json kids = json::array();
            for (const auto &child : body.Children)
                kids.push_back(Body(*child));
            b["c"] = std::move(kids);
        }
        return b;
    }

    TVexaSector &Sector;
    // The bodies that have a stored surface map, asked of the file once.
    std::unordered_set<std::int64_t> MapIds;
    std::string OutDir;
    const TWebExportOptions &Options;
    TWebExportResult &Result;
};

} // namespace

TWebExportResult ExportSectorWebPage(TVexaSector &sector, const std::string &outDir,
                                     const TWebExportOptions &options)
{
    TWebExportResult result;
    const std::string page = JoinPath(ProgramSubfolder("WebExport"), "index.html");
    std::string html, three, controls;
    if (!ReadWhole(page, html)) {
        result.Error = "The web page template " + page + " could not be read";
        return result;
    }
    const std::string threeFile = JoinPath(options.ThreeFolder, "build/three.min.js");
    const std::string controlsFile = JoinPath(options.ThreeFolder, "examples/js/controls/OrbitControls.js");
    if (!ReadWhole(threeFile, three) || !ReadWhole(controlsFile, controls)) {
        result.Error = "The 3D library (" + threeFile +
                       ") is missing; install Debian's libjs-three package to export web pages";
        return result;
    }
    result.Error = WebExportFolderProblem(outDir, options.Force);
    if (!result.Error.empty())
        return result;
    std::error_code ec;
    fs::create_directories(fs::path(outDir) / "maps", ec);
    if (ec) {
        result.Error = "The folder " + outDir + " could not be created: " + ec.message();
        return result;
    }
    // Marked first: an export that stops half way can be repeated there.
    if (!MarkWebExportFolder(outDir, result.Error))
        return result;

    TWebWriter writer(sector, outDir, options, result);
    if (!sector.FileName.empty())
        for (const std::int64_t id : SurfaceMapImageBodyIds(sector.FileName))
            writer.MapIds.insert(id);
    json data;
    data["title"] = BytesToUtf8(options.Title.empty() ? sector.Name : options.Title);
    data["unit"] = BytesToUtf8(sector.UnitStarMeasureAbbrev);
    data["ratio"] = sector.UnitStarMeasureRatio > 0 ? sector.UnitStarMeasureRatio : 1.0;
    data["size"] = {Finite(sector.SizeX), Finite(sector.SizeY), Finite(sector.SizeZ)};
    data["spherical"] = sector.Spherical;
    data["background"] = HexColour(sector.BackgroundColor);
    data["grid"] = {{"on", sector.GridsEnabled && sector.GridStyle != GRID_STYLE_NONE},
                    {"style", sector.GridStyle},
                    {"step", {Finite(sector.GridX), Finite(sector.GridY), Finite(sector.GridZ)}},
                    {"c", HexColour(sector.GridColor)}};

    std::map<const TStellarBody *, int> index;
    json systems = json::array();
    const int total = sector.SystemCount();
    for (int i = 0; i < total; ++i) {
        TStellarBody &root = *sector.Systems[static_cast<std::size_t>(i)];
        if (options.OnlyVisible && !root.Visible)
            continue;
        const bool wasLoaded = root.Loaded;
        sector.DynaLoad(&root);
        json s = writer.Body(root);
        s["p"] = {Finite(root.X), Finite(root.Y), Finite(root.Z)};
        s["col"] = HexColour(root.Color);
        s["lc"] = HexColour(root.LabelColor);
        s["l"] = Finite(root.Luminosity);
        s["pop"] = Finite(root.GetSystemPopulation());
        s["hab"] = HabitNameFromHabitCode(std::max(root.Habitability, root.ChildHabitability));
        index[&root] = static_cast<int>(systems.size());
        systems.push_back(std::move(s));
        if (!wasLoaded && !root.SystemModified())
            sector.DynaUnload(&root);
        if (options.Progress && i % 256 == 0 && options.Progress(static_cast<double>(i) / total)) {
            result.Error = "Cancelled";
            return result;
        }
    }
    result.Systems = static_cast<int>(systems.size());
    data["systems"] = std::move(systems);

    json routes = json::array();
    for (const auto &route : sector.Routes) {
        if (!route->Visible)
            continue;
        json stops = json::array();
        for (const auto &w : route->Waypoints) {
            const auto it = index.find(w->Body);
            stops.push_back(it == index.end() ? -1 : it->second);  // -1 cuts the line there
        }
        routes.push_back({{"n", BytesToUtf8(route->Name)},
                          {"type", BytesToUtf8(route->RouteType)},
                          {"c", HexColour(route->Red, route->Green, route->Blue)},
                          {"style", route->LineStyle},
                          {"w", Finite(route->LineWidth)},
                          {"s", std::move(stops)}});
    }
    result.Routes = static_cast<int>(routes.size());
    data["routes"] = std::move(routes);

    json subsectors = json::array();
    for (const auto &sub : sector.Subsectors) {
        if (!sub->Visible)
            continue;
        subsectors.push_back({{"n", BytesToUtf8(sub->Name)},
                              {"p", {Finite(sub->X), Finite(sub->Y), Finite(sub->Z)}},
                              {"s", {Finite(sub->SizeX), Finite(sub->SizeY), Finite(sub->SizeZ)}},
                              {"r", {Finite(sub->RotateX), Finite(sub->RotateY), Finite(sub->RotateZ)}},
                              {"shape", sub->Shape},
                              {"c", HexColour(sub->Color)}});
    }
    result.Subsectors = static_cast<int>(subsectors.size());
    data["subsectors"] = std::move(subsectors);

    // The data travel as a script assigning the JSON, since a page opened
    // from disk may not fetch files beside it.  The JSON library escapes
    // every text; "</" is broken up as well so that no text can ever close a
    // script element, wherever the file ends up.
    std::string text = data.dump(-1, ' ', false, json::error_handler_t::replace);
    std::string safe;
    safe.reserve(text.size() + 64);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '<' && i + 1 < text.size() && text[i + 1] == '/')
            safe += "<\\";
        else
            safe += text[i];
    }
    std::string error;
    const fs::path dir(outDir);
    if (!ReplaceFileContents((dir / WEB_EXPORT_DATA_FILE).string(), {"window.KALVION_SECTOR = ", safe, ";\n"}, &error) ||
        !ReplaceFileContents((dir / "three.min.js").string(), three, &error) ||
        !ReplaceFileContents((dir / "OrbitControls.js").string(), controls, &error) ||
        !ReplaceFileContents((dir / "index.html").string(), html, &error)) {
        result.Error = error;
        return result;
    }
    result.IndexFile = (dir / "index.html").string();
    result.Ok = true;
    return result;
}

} // namespace kalvion
