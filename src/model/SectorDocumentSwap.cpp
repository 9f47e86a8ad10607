#include "model/SectorDocumentSwap.h"

#include "model/StellarRoute.h"
#include "model/VexaSector.h"
#include "model/history/SectorHistory.h"

#include <utility>

namespace kalvion {

namespace {

void SwapBase(TVexaBase &a, TVexaBase &b)
{
    using std::swap;
    swap(a.IDString, b.IDString);
    const bool loaded = a.Loaded, modified = a.Modified;
    a.Loaded = b.Loaded;
    a.Modified = b.Modified;
    b.Loaded = loaded;
    b.Modified = modified;
    swap(a.RecordID, b.RecordID);
    swap(a.Fields, b.Fields);
    if (a.DBOffset() != 0 || b.DBOffset() != 0 || a.DBChildOffset() != 0 || b.DBChildOffset() != 0) {
        const auto offset = a.DBOffset(), child = a.DBChildOffset();
        a.SetDBOffset(b.DBOffset());
        a.SetDBChildOffset(b.DBChildOffset());
        b.SetDBOffset(offset);
        b.SetDBChildOffset(child);
    }
}

} // namespace

void SwapSectorDocuments(TVexaSector &a, TVexaSector &b)
{
    if (&a == &b)
        return;
    using std::swap;
    // Each history belongs to its document object and speaks of the
    // contents it had: both start afresh.
    a.History().Clear();
    b.History().Clear();
    SwapBase(a, b);
    swap(a.Name, b.Name);
    swap(a.FileName, b.FileName);
    swap(a.FileNameUnconfirmed, b.FileNameUnconfirmed);
    swap(a.Notes, b.Notes);
    swap(a.GMNotes, b.GMNotes);
    swap(a.EpochYear, b.EpochYear);
    swap(a.Time, b.Time);
    swap(a.DateFormat, b.DateFormat);
    swap(a.RandomSeed, b.RandomSeed);
    swap(a.Modified, b.Modified);
    swap(a.UnitStarMeasureName, b.UnitStarMeasureName);
    swap(a.UnitStarMeasureAbbrev, b.UnitStarMeasureAbbrev);
    swap(a.UnitStarMeasureRatio, b.UnitStarMeasureRatio);
    swap(a.SizeX, b.SizeX);
    swap(a.SizeY, b.SizeY);
    swap(a.SizeZ, b.SizeZ);
    swap(a.Frequency, b.Frequency);
    swap(a.Spherical, b.Spherical);

    swap(a.Systems, b.Systems);
    swap(a.Selection, b.Selection);
    swap(a.VisibleCount, b.VisibleCount);
    swap(a.Routes, b.Routes);
    swap(a.Subsectors, b.Subsectors);
    swap(a.DeletedObjects, b.DeletedObjects);
    swap(a.Views, b.Views);
    swap(a.PoliticalList, b.PoliticalList);
    swap(a.RouteTypeList, b.RouteTypeList);

    swap(a.GridStyle, b.GridStyle);
    swap(a.GridX, b.GridX);
    swap(a.GridY, b.GridY);
    swap(a.GridZ, b.GridZ);
    swap(a.GridTick, b.GridTick);
    swap(a.GridTickLabels, b.GridTickLabels);
    swap(a.GridColor, b.GridColor);
    swap(a.GridsEnabled, b.GridsEnabled);
    swap(a.BackgroundColor, b.BackgroundColor);
    swap(a.BaseFont, b.BaseFont);
    swap(a.FilterStyle, b.FilterStyle);
    swap(a.FilterHabitable, b.FilterHabitable);
    swap(a.FilterPopulation, b.FilterPopulation);
    swap(a.FilterHideUnassignedSubsector, b.FilterHideUnassignedSubsector);

    swap(a.SystemDataDefaults.Configs, b.SystemDataDefaults.Configs);
    swap(a.ImageResources.Resources, b.ImageResources.Resources);

    swap(a.Camera, b.Camera);
    swap(a.Target, b.Target);
    swap(a.OriginCamera, b.OriginCamera);
    swap(a.OriginTarget, b.OriginTarget);
    swap(a.SlideStartCamera, b.SlideStartCamera);
    swap(a.SlideStartTarget, b.SlideStartTarget);
    swap(a.RenderStatus, b.RenderStatus);
    swap(a.RenderMessageBig, b.RenderMessageBig);
    swap(a.RenderMessageSmall, b.RenderMessageSmall);
    swap(a.Store, b.Store);

    // Routes point back at their sector, deleted ones (kept until the next
    // save) too: the other document may be freed right after the swap.
    for (TVexaSector *s : {&a, &b}) {
        for (auto &route : s->Routes)
            route->Sector = s;
        for (auto &o : s->DeletedObjects)
            if (auto *route = dynamic_cast<TStellarRoute *>(o.get()))
                route->Sector = s;
    }
}

} // namespace kalvion
