// TVexaSector, first half: life cycle, files, dynamic loading, generation,
// imports, reports and the sector's published properties.
#include "exchange/SectorReport.h"
#include "files/LegacyConvert.h"
#include "files/LegacySectorFiles.h"
#include "files/ObjectStreams.h"
#include "files/SectorFile.h"
#include "files/SectorImport.h"
#include "generation/SectorGenerator.h"
#include "graphics/RenderSectorNG.h"
#include "model/VexaSector.h"
#include "scriptnames/OwnedObjects.h"
#include "scriptnames/SectorNamesInternal.h"

#include <stdexcept>

namespace kalvion::names {

namespace {

using S = TVexaSector;
constexpr const char *C = "TVexaSector";

[[noreturn]] void Fail(const char *routine, const std::string &why)
{
    throw std::runtime_error(std::string(routine) + ": " + (why.empty() ? std::string("failed") : why));
}

void RegisterSectorProperties(const TNames &n)
{
    n.PropRO(C, "IDString", &TVexaBase::IDString);
    n.Prop(C, "Name", &S::Name);
    n.PropRO(C, "FileName", &S::FileName);
    n.Prop(C, "Notes", &S::Notes);
    n.Prop(C, "GMNotes", &S::GMNotes);
    n.Prop(C, "EpochYear", &S::EpochYear);
    n.Prop(C, "Time", &S::Time);
    n.Prop(C, "DateFormat", &S::DateFormat);
    n.Prop(C, "RandomSeed", &S::RandomSeed);
    n.Prop(C, "Modified", &S::Modified);
    n.Prop(C, "UnitStarMeasureName", &S::UnitStarMeasureName);
    n.Prop(C, "UnitStarMeasureAbbrev", &S::UnitStarMeasureAbbrev);
    n.PropRO(C, "UnitStarMeasureRatio", &S::UnitStarMeasureRatio);
    // Sizes stay within what drawing and generation can handle.
    auto size = [&n](const char *name, double S::*m) {
        n.Reg.AddProperty(
            C, name, TDbl(), [m](void *s) { return VDbl(static_cast<S *>(s)->*m); },
            [m](void *s, const TScriptValue &v) {
                auto &sec = *static_cast<S *>(s);
                sec.*m = CheckedSectorSize(v.Dbl, sec.*m);
            });
    };
    size("SizeX", &S::SizeX);
    size("SizeY", &S::SizeY);
    size("SizeZ", &S::SizeZ);
    n.Prop(C, "Frequency", &S::Frequency);
    n.Prop(C, "Spherical", &S::Spherical);
    n.PropRO(C, "VisibleCount", &S::VisibleCount);
    n.Prop(C, "GridStyle", &S::GridStyle);
    size("GridX", &S::GridX);
    size("GridY", &S::GridY);
    size("GridZ", &S::GridZ);
    n.Prop(C, "GridTick", &S::GridTick);
    n.Prop(C, "GridTickLabels", &S::GridTickLabels);
    n.Prop(C, "GridColor", &S::GridColor);
    n.Prop(C, "GridsEnabled", &S::GridsEnabled);
    n.Prop(C, "BackgroundColor", &S::BackgroundColor);
    n.Prop(C, "BaseFont", &S::BaseFont);
    n.Prop(C, "FilterStyle", &S::FilterStyle);
    n.Prop(C, "FilterHabitable", &S::FilterHabitable);
    n.Prop(C, "FilterPopulation", &S::FilterPopulation);
    n.Prop(C, "FilterHideUnassignedSubsector", &S::FilterHideUnassignedSubsector);
    n.Prop(C, "RenderStatus", &S::RenderStatus);
    n.Prop(C, "RenderMessageBig", &S::RenderMessageBig);
    n.Prop(C, "RenderMessageSmall", &S::RenderMessageSmall);
}

// A sector's contents before it is emptied and read again: every script
// reference into it ends, including those to objects in the deleted lists.
void EndContents(S &s)
{
    for (auto &root : s.Systems)
        EndTreeLifetime(*root);
    EndDeletedLifetimes(s);
}

void RegisterFileMethods(const TNames &n)
{
    TScriptAppHost *H = &n.Host;
    n.Method<S>(C, "SaveToFile", {TStr(), TBool()}, TNone(), [H](S &s, TScriptArgs &a) {
        std::string error;
        if (!SaveToFile(s, a[0].Str, a[1].AsBool(), &error))
            Fail("SaveToFile", error);
        EndDeletedLifetimes(s);
        H->SectorSaved(s);
        return VNone();
    });
    n.Method<S>(C, "SaveToDB", {TStr(), TBool()}, TNone(), [H](S &s, TScriptArgs &a) {
        std::string error;
        if (!SaveToFile(s, a[0].Str, a[1].AsBool(), &error))
            Fail("SaveToDB", error);
        EndDeletedLifetimes(s);
        H->SectorSaved(s);
        return VNone();
    });
    auto load = [](const char *routine) {
        return [routine](S &s, TScriptArgs &a) {
            EndContents(s);
            s.New();
            std::string error;
            if (!LoadFromFile(s, a[0].Str, &error))
                Fail(routine, error);
            return VNone();
        };
    };
    n.Method<S>(C, "LoadFromFile", {TStr()}, TNone(), load("LoadFromFile"));
    n.Method<S>(C, "LoadFromDB", {TStr()}, TNone(), load("LoadFromDB"));
    n.Method<S>(C, "LoadFromFile_v1_v2", {TStr()}, TNone(), [](S &s, TScriptArgs &a) {
        EndContents(s);
        s.New();
        TLegacyLoadResult r = LoadFromFile_v1_v2(s, a[0].Str);
        if (!r.Ok)
            Fail("LoadFromFile_v1_v2", r.ErrorText);
        KeepLegacyFile(s, std::move(r.RecordFile));
        return VNone();
    });
    n.Method<S>(C, "LoadFromTemplate", {TStr()}, TNone(), [](S &s, TScriptArgs &a) {
        EndContents(s);
        s.New();
        std::string error;
        if (!LoadFromTemplate(s, a[0].Str, &error))
            Fail("LoadFromTemplate", error);
        return VNone();
    });
    n.Method<S>(C, "SaveSectorInfoToStream", {TObj("TAppFileStream")}, TNone(), [](S &s, TScriptArgs &a) {
        SaveSectorInfoToStream(s, Need<TAppFileStream>(a[0], "SaveSectorInfoToStream"));
        return VNone();
    });
    n.Method<S>(C, "LoadSectorInfoFromStream", {TObj("TAppFileStream")}, TNone(), [](S &s, TScriptArgs &a) {
        LoadSectorInfoFromStream(s, Need<TAppFileStream>(a[0], "LoadSectorInfoFromStream"));
        return VNone();
    });
    n.Method<S>(C, "DynaLoad", {TObj("TStellarBody")}, TNone(), [](S &s, TScriptArgs &a) {
        s.DynaLoad(&Need<TStellarBody>(a[0], "DynaLoad"));
        return VNone();
    });
    n.Method<S>(C, "DynaLoad_v2", {TObj("TStellarBody")}, TNone(), [](S &s, TScriptArgs &a) {
        TStellarBody &root = Need<TStellarBody>(a[0], "DynaLoad_v2");
        if (TLegacyRecordFile *f = LegacyFileOf(s))
            DynaLoad_v2(s, *f, root);
        else
            s.DynaLoad(&root);
        return VNone();
    });
    n.Method<S>(C, "DynaUnload", {TObj("TStellarBody")}, TNone(), [](S &s, TScriptArgs &a) {
        TStellarBody &root = Need<TStellarBody>(a[0], "DynaUnload");
        for (auto &c : root.Children)
            EndTreeLifetime(*c);
        s.DynaUnload(&root);
        return VNone();
    });
    n.Method<S>(C, "DynaLoadResource", {TObj("TVexaImageResource")}, TNone(), [](S &s, TScriptArgs &a) {
        s.DynaLoadResource(&Need<TVexaImageResource>(a[0], "DynaLoadResource"));
        return VNone();
    });
    n.Method<S>(C, "DynaLoadResource_v2", {TObj("TVexaImageResource")}, TNone(), [](S &s, TScriptArgs &a) {
        TVexaImageResource &r = Need<TVexaImageResource>(a[0], "DynaLoadResource_v2");
        if (TLegacyRecordFile *f = LegacyFileOf(s))
            DynaLoadResource_v2(s, *f, r);
        else
            s.DynaLoadResource(&r);
        return VNone();
    });
    n.Method<S>(C, "DynaClearActiveDB", {}, TNone(), [](S &s, TScriptArgs &) {
        s.DynaClearActiveDB();
        return VNone();
    });
    n.Method<S>(C, "DynaLoadAll", {}, TNone(), [](S &s, TScriptArgs &) {
        s.DynaLoadAll();
        return VNone();
    });
    n.Method<S>(C, "GetVexaFileVersion", {TStr()}, TInt(), [](S &, TScriptArgs &a) { return VInt(GetVexaFileVersion(a[0].Str)); });
    n.Method<S>(C, "clear", {}, TNone(), [](S &s, TScriptArgs &) {
        EndContents(s);
        s.clear();
        return VNone();
    });
    n.Method<S>(C, "New", {}, TNone(), [](S &s, TScriptArgs &) {
        EndContents(s);
        s.New();
        return VNone();
    });
    n.Method<S>(C, "ClearViews", {}, TNone(), [](S &s, TScriptArgs &) {
        for (auto &v : s.Views)
            v->EndLifetime();
        s.ClearViews();
        return VNone();
    });
    n.Method<S>(C, "ClearDeleted", {}, TNone(), [](S &s, TScriptArgs &) {
        s.ClearDeleted();
        return VNone();
    });
}

void RegisterGenerationMethods(const TNames &n)
{
    // GenerateSector (distribution, system data, populations, label colour,
    // populated colour, subsector colour, name table): the one-thread
    // generation, which reads the sector's own size, shape and Frequency.
    n.Method<S>(C, "GenerateSector", {TInt(), TInt(), TBool(), TInt(), TInt(), TInt(), TStr()}, TNone(),
                [](S &s, TScriptArgs &a) {
                    std::string error;
                    if (!GenerateSector(s, I32(a[0]), I32(a[1]), a[2].AsBool(), static_cast<TColor>(a[3].Int),
                                        static_cast<TColor>(a[4].Int), static_cast<TColor>(a[5].Int), a[6].Str, {},
                                        &error))
                        Fail("GenerateSector", error);
                    return VNone();
                });
    n.Method<S>(C, "GenerateFinished", {}, TNone(), [](S &s, TScriptArgs &) {
        std::string error;
        if (!GenerateFinished(s, &error))
            Fail("GenerateFinished", error);
        return VNone();
    });
    // (across, high, deep, colour, name table)
    n.Method<S>(C, "GenerateSubsectors", {TInt(), TInt(), TInt(), TInt(), TStr()}, TNone(), [](S &s, TScriptArgs &a) {
        const std::int32_t across = CheckedCount(a[0], SUBSECTOR_SCRIPT_MAX, "GenerateSubsectors");
        const std::int32_t high = CheckedCount(a[1], SUBSECTOR_SCRIPT_MAX, "GenerateSubsectors");
        const std::int32_t deep = CheckedCount(a[2], SUBSECTOR_SCRIPT_MAX, "GenerateSubsectors");
        GenerateSubsectors(s, across, high, a[4].Str, static_cast<TColor>(a[3].Int), deep);
        return VNone();
    });
    n.Method<S>(C, "GenerateTempFile", {}, TStr(), [](S &, TScriptArgs &) { return VStr(GenerateTempFile()); });
    n.Method<S>(C, "SaveGenerateTempFile", {TStr()}, TNone(), [](S &s, TScriptArgs &a) {
        std::string error;
        if (!SaveGenerateTempFile(s, a[0].Str, &error))
            Fail("SaveGenerateTempFile", error);
        return VNone();
    });
    n.Method<S>(C, "ImportGliese", {TStr()}, TNone(), [](S &s, TScriptArgs &a) {
        std::string error;
        ImportGliese(s, a[0].Str, &error);
        if (!error.empty())
            Fail("ImportGliese", error);
        return VNone();
    });
    n.Method<S>(C, "ImportSector", {TStr(), TInt(), TInt(), TDbl(), TDbl(), TDbl()}, TNone(), [](S &s, TScriptArgs &a) {
        std::string error;
        if (!ImportSector(s, a[0].Str, I32(a[1]), I32(a[2]), a[3].Dbl, a[4].Dbl, a[5].Dbl, &error))
            Fail("ImportSector", error);
        return VNone();
    });
    n.Method<S>(C, "CreateSubmapFromSelected", {TObj(C), TDbl(), TInt()}, TNone(), [](S &s, TScriptArgs &a) {
        S &target = Need<S>(a[0], "CreateSubmapFromSelected");
        if (&target == &s)
            Fail("CreateSubmapFromSelected", "the target must be another sector");
        EndContents(target);
        s.CreateSubmapFromSelected(target, a[1].Dbl, I32(a[2]));
        return VNone();
    });
    n.Method<S>(C, "UpdateUnits", {}, TNone(), [](S &s, TScriptArgs &) {
        s.UpdateUnits();
        return VNone();
    });
}

void RegisterReportMethods(const TNames &n)
{
    // A script that asks for a report gets it, however large the sector.
    n.Method<S>(C, "ExportToHTML", {TStr(), TInt(), TBool(), TBool(), TBool()}, TBool(), [](S &s, TScriptArgs &a) {
        return VBool(ExportToHTML(s, a[0].Str, I32(a[1]), a[2].AsBool(), a[3].AsBool(), a[4].AsBool(), nullptr));
    });
    n.Method<S>(C, "ExportToHTML2", {TStr(), TInt(), TBool()}, TBool(), [](S &s, TScriptArgs &a) {
        return VBool(ExportToHTML2(s, a[0].Str, I32(a[1]), a[2].AsBool(), nullptr));
    });
    n.Method<S>(C, "ExportSurfaceMapsForReport", {TObj("TStellarBody"), TStr()}, TNone(), [](S &s, TScriptArgs &a) {
        TReportMapMarks marks;
        std::string folder = a[1].Str;
        if (!folder.empty() && folder.back() != '/')
            folder += '/';
        ExportSurfaceMapsForReport(s, Need<TStellarBody>(a[0], "ExportSurfaceMapsForReport"), folder, marks);
        return VNone();
    });
    // (file, colour mode, show grid, scale by depth, show routes, system
    // size factor, label size factor, plane, width) as scripts pass them.
    n.Method<S>(C, "Export2D", {TStr(), TInt(), TBool(), TBool(), TBool(), TDbl(), TDbl(), TInt(), TInt()}, TBool(),
                [](S &s, TScriptArgs &a) {
                    const std::int32_t width = CheckedCount(a[8], EXPORT2D_SCRIPT_MAX_WIDTH, "Export2D");
                    return VBool(Export2D(s, a[0].Str, I32(a[1]), I32(a[7]), width, a[5].Dbl, a[6].Dbl, a[2].AsBool(),
                                          a[3].AsBool(), a[4].AsBool()));
                });
    // (preview, pages across, colour mode, show grid, scale by depth, show
    // routes, system size factor, label size factor, plane) as scripts pass them.
    TScriptAppHost *H = &n.Host;
    n.Method<S>(C, "Print", {TBool(), TDbl(), TInt(), TBool(), TBool(), TBool(), TDbl(), TDbl(), TInt()}, TInt(),
                [H](S &s, TScriptArgs &a) {
                    return VInt(H->PrintSector(s, a[0].AsBool(), a[1].Dbl, I32(a[2]), a[3].AsBool(), a[4].AsBool(),
                                               a[5].AsBool(), a[6].Dbl, a[7].Dbl, I32(a[8])));
                });
}

} // namespace

void RegisterSectorFileNames(const TNames &n)
{
    n.Reg.AddConstructor(C, [n] { return n.Adopt(C, TVexaSector::Create()).Obj; });
    RegisterSectorProperties(n);
    RegisterFileMethods(n);
    RegisterGenerationMethods(n);
    RegisterReportMethods(n);
    RegisterFieldMethods(n, C);
}

} // namespace kalvion::names
