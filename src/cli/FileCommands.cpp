// "kalvion-cli new" and "kalvion-cli info": sector files from the command line.
#include "cli/CliApp.h"
#include "cli/JsonOut.h"
#include "cli/NumberList.h"
#include "science/VexaDates.h"

#include "base/AsciiText.h"
#include "base/NumberFormat.h"
#include "base/NumberParse.h"
#include "base/Rounding.h"
#include "files/SectorFile.h"
#include "files/SectorSchema.h"
#include "files/VexaDBSQLite.h"
#include "model/VexaSector.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <ostream>

namespace kalvion::cli {

namespace {

constexpr double PARSEC_LY = 3.2616;

bool ParsePositive(const std::string &text, double &out)
{
    const auto v = ParseDouble(text);
    if (!v || !std::isfinite(*v) || *v <= 0)
        return false;
    out = *v;
    return true;
}


} // namespace

int RunNew(const CliOptions &opts, const NewOptions &n, std::ostream &out, std::ostream &err)
{
    const std::string &file = n.file, &size = n.size, &sphere = n.sphere, &unit = n.unit;
    TVexaSector sector;
    double ratio = 1.0;
    if (!unit.empty()) {
        if (SameText(unit, "ly")) {
            sector.UnitStarMeasureName = "Light Years";
        } else if (SameText(unit, "pc")) {
            sector.UnitStarMeasureName = "Parsecs";
            ratio = PARSEC_LY;
        } else {
            err << "kalvion-cli: --unit must be ly or pc\n";
            return EXIT_USAGE;
        }
        sector.UpdateUnits();
    }
    if (!size.empty() && !sphere.empty()) {
        err << "kalvion-cli: give either --size or --sphere\n";
        return EXIT_USAGE;
    }
    if (!size.empty()) {
        std::vector<double> parts;
        if (!ParseNumberList(size, parts) || (parts.size() != 1 && parts.size() != 3) ||
            std::any_of(parts.begin(), parts.end(), [&](double v) {
                return v * ratio < SECTOR_MIN_SIZE || v * ratio > SECTOR_MAX_SIZE;
            })) {
            err << "kalvion-cli: --size takes one or three numbers separated by commas, each from "
                << SECTOR_MIN_SIZE / ratio << " to " << SECTOR_MAX_SIZE / ratio << "\n";
            return EXIT_USAGE;
        }
        for (double &v : parts)
            v *= ratio;
        sector.SizeX = parts[0];
        sector.SizeY = parts.size() == 3 ? parts[1] : parts[0];
        sector.SizeZ = parts.size() == 3 ? parts[2] : parts[0];
    }
    if (!sphere.empty()) {
        double r;
        if (!ParsePositive(sphere, r) || 2 * r * ratio < SECTOR_MIN_SIZE || 2 * r * ratio > SECTOR_MAX_SIZE) {
            err << "kalvion-cli: --sphere takes a radius from " << SECTOR_MIN_SIZE / ratio / 2 << " to "
                << SECTOR_MAX_SIZE / ratio / 2 << "\n";
            return EXIT_USAGE;
        }
        sector.Spherical = true;
        sector.SizeX = sector.SizeY = sector.SizeZ = 2 * r * ratio;
    }
    sector.EpochYear = n.epoch;
    sector.RestoreDefaultOrigins();
    sector.ResetCamera();

    std::error_code ec;
    if (std::filesystem::exists(file, ec) && !n.replace) {
        err << "kalvion-cli: \"" << file << "\" already exists (give --replace to replace it)\n";
        return EXIT_FAILURE_;
    }
    std::string error;
    if (!SaveToFile(sector, file, false, &error)) {
        err << "kalvion-cli: " << error << "\n";
        return EXIT_FAILURE_;
    }
    if (opts.json)
        PrintJson(out, nlohmann::ordered_json{{"file", file}, {"name", sector.Name}, {"epoch_year", sector.EpochYear}});
    else
        out << "Created " << file << "\n";
    return EXIT_OK;
}

int RunInfo(const CliOptions &opts, const std::string &file, std::ostream &out, std::ostream &err)
{
    int version = 0;
    std::int64_t rows = 0;
    {
        TVexaDB_SQLite db;
        if (!db.OpenExistingSectorFile(file)) {
            err << "kalvion-cli: " << db.ErrorMessage << "\n";
            return EXIT_FAILURE_;
        }
        version = ReadSchemaVersion(*db.Connection());
        auto count = db.Connection()->Query("select count(*) from bodies");
        if (!db.Connection()->HasError && count->Next())
            rows = count->AsInt64(0);
    }
    TVexaSector sector;
    std::string error;
    if (!LoadSectorForCommand(sector, file, false, err))
        return EXIT_FAILURE_;
    std::int64_t bodies = 0;
    TStellarBodyList all;
    for (auto &root : sector.Systems) {
        // Counting needs every system's contents; each is dropped again.
        const bool wasLoaded = root->Loaded;
        sector.DynaLoad(root.get());
        all.clear();
        root->GetAllChildren(all);
        bodies += static_cast<std::int64_t>(all.size());
        if (!wasLoaded)
            sector.DynaUnload(root.get());
    }
    // Rows no system reaches (a missing parent, parents in a loop) are left
    // in the file as they are, but the user is told they were not read.
    const std::int64_t skipped = std::max<std::int64_t>(0, rows - bodies);
    int resources = 0;
    for (auto &res : sector.ImageResources.Resources)
        if (!res->Deleted)
            ++resources;

    const std::string date = SectorDateText(sector);
    if (opts.json) {
        nlohmann::json j;
        j["file"] = file;
        j["name"] = sector.Name;
        j["schema_version"] = version;
        j["settings"] = {{"size", {sector.SizeX, sector.SizeY, sector.SizeZ}},
                         {"spherical", sector.Spherical},
                         {"unit", sector.UnitStarMeasureName},
                         {"unit_abbrev", sector.UnitStarMeasureAbbrev},
                         {"unit_ratio", sector.UnitStarMeasureRatio},
                         {"frequency", sector.Frequency},
                         {"grid_style", sector.GridStyle},
                         {"grid", {sector.GridX, sector.GridY, sector.GridZ}},
                         {"grid_tick", sector.GridTick},
                         {"grid_tick_labels", sector.GridTickLabels},
                         {"grid_color", sector.GridColor},
                         {"grids_enabled", sector.GridsEnabled},
                         {"background_color", sector.BackgroundColor},
                         {"base_font", sector.BaseFont},
                         {"filter_style", sector.FilterStyle},
                         {"filter_habitable", sector.FilterHabitable},
                         {"filter_population", sector.FilterPopulation},
                         {"filter_hide_unassigned_subsector", sector.FilterHideUnassignedSubsector}};
        j["calendar"] = {{"epoch_year", sector.EpochYear},
                         {"time", sector.Time},
                         {"date_format", sector.DateFormat},
                         {"date", date}};
        j["counts"] = {{"systems", sector.SystemCount()},
                       {"bodies", bodies},
                       {"routes", sector.RouteCount()},
                       {"subsectors", sector.SubsectorCount()},
                       {"views", static_cast<int>(sector.Views.size())},
                       {"image_resources", resources},
                       {"skipped_body_rows", skipped}};
        PrintJson(out, j);
        return EXIT_OK;
    }
    out << "Name:            " << sector.Name << "\n";
    out << "Schema version:  " << version << "\n";
    out << "Size:            " << VexaFloatStr(sector.DistanceInUnits(sector.SizeX)) << " x "
        << VexaFloatStr(sector.DistanceInUnits(sector.SizeY)) << " x "
        << VexaFloatStr(sector.DistanceInUnits(sector.SizeZ)) << " " << sector.UnitStarMeasureAbbrev
        << (sector.Spherical ? " (sphere)" : "") << "\n";
    out << "Unit:            " << sector.UnitStarMeasureName << "\n";
    out << "Star frequency:  " << VexaFloatStr(sector.Frequency) << "\n";
    out << "Grid:            style " << sector.GridStyle << ", " << VexaFloatStr(sector.GridX) << " x "
        << VexaFloatStr(sector.GridY) << " x " << VexaFloatStr(sector.GridZ) << " ly\n";
    out << "Date:            " << date << " (epoch year " << sector.EpochYear << ", day "
        << VexaFloatStr(sector.Time) << ")\n";
    out << "Systems:         " << FormatCount(sector.SystemCount()) << "\n";
    out << "Bodies:          " << FormatCount(static_cast<double>(bodies)) << "\n";
    out << "Routes:          " << FormatCount(sector.RouteCount()) << "\n";
    out << "Subsectors:      " << FormatCount(sector.SubsectorCount()) << "\n";
    out << "Views:           " << FormatCount(static_cast<double>(sector.Views.size())) << "\n";
    out << "Image resources: " << FormatCount(resources) << "\n";
    if (skipped > 0)
        out << "Skipped rows:    " << FormatCount(static_cast<double>(skipped))
            << " body row(s) belong to no system (a missing parent or parents in a loop); they stay in the file\n";
    return EXIT_OK;
}

} // namespace kalvion::cli
