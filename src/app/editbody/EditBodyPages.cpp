#include "app/editbody/EditBodyPages.h"

#include "base/NumberFormat.h"
#include "base/PhysicalFormulas.h"
#include "base/Rounding.h"
#include "model/VexaSector.h"
#include "travel/SpaceTravel.h"

#include <cmath>

namespace kalvion::app {

namespace {

bool PlacedInParentFrame(int parentType)
{
    return parentType == BODY_TYPE_MULT || parentType == BODY_TYPE_CLOSEMULT || parentType == BODY_TYPE_PLANETSYSTEM;
}

// The parents whose children's distances are measured from a star.
bool IsStarParent(int type)
{
    return type == BODY_TYPE_STAR || type == BODY_TYPE_NEUTRON || type == BODY_TYPE_WHITEDWARF ||
           type == BODY_TYPE_REDGIANT || type == BODY_TYPE_BLUEGIANT;
}

} // namespace

TEditPage TypePageFor(int typeID)
{
    switch (typeID) {
    case BODY_TYPE_STAR:
        return TEditPage::Star;
    case BODY_TYPE_TERRESTRIAL:
    case BODY_TYPE_GASGIANT:
    case BODY_TYPE_PLANETOID:
        return TEditPage::Planet;
    case BODY_TYPE_ASTEROIDBELT:
    case BODY_TYPE_RING:
        return TEditPage::Ring;
    case BODY_TYPE_STATION:
    case BODY_TYPE_SMALLBODY:
    case BODY_TYPE_MEGASTRUCTURE:
    case BODY_TYPE_FLEET:
    case BODY_TYPE_SHIP:
    case BODY_TYPE_MARKER:
        return TEditPage::Population;
    default:
        return TEditPage::Default;
    }
}

const TSystemDataConfig *EffectiveDisplayFields(const TStellarBody &body, const TVexaSector &sector)
{
    if (body.SystemDataConfig())
        return body.SystemDataConfig();
    return sector.SystemDataDefaults.GetConfigForType(body.TypeID);
}

TEditPageSet PagesFor(const TStellarBody &body, const TVexaSector &sector)
{
    TEditPageSet pages;
    const int type = body.TypeID;
    pages.Add(TypePageFor(type));
    if (body.Parent && type != BODY_TYPE_SMALLBODY)
        pages.Add(PlacedInParentFrame(body.Parent->TypeID) ? TEditPage::Component : TEditPage::Orbit);
    if (!body.Parent)
        pages.Add(TEditPage::Position);
    pages.Add(TEditPage::ModelBlazon);
    if (const TSystemDataConfig *fields = EffectiveDisplayFields(body, sector))
        for (const TSystemDataRec &r : fields->Records)
            if (r.Source == "custom field") {
                pages.Add(TEditPage::AdditionalFields);
                break;
            }
    const bool mapped = type == BODY_TYPE_TERRESTRIAL || type == BODY_TYPE_GASGIANT;
    pages.Add(mapped ? TEditPage::SurfaceMap : TEditPage::ImagePreview);
    if (type == BODY_TYPE_TERRESTRIAL || type == BODY_TYPE_PLANETOID)
        pages.Add(TEditPage::Terrain);
    pages.Add(TEditPage::Notes);
    pages.Add(TEditPage::GMNotes);
    pages.Add(TEditPage::DisplayFields);
    return pages;
}

bool ComponentInKm(const TStellarBody &body) { return body.Parent && body.Parent->TypeID == BODY_TYPE_PLANETSYSTEM; }

TPlanetDerived PlanetDerivedValues(double radiusKm, double density, double rotationHours)
{
    TPlanetDerived d;
    const double mass = MassRelEarth(radiusKm, density);
    d.Mass = VexaFloatStr(mass);
    d.Gravity = FormatFloat(VEXA_FLOAT_FMT, SurfaceGravity(radiusKm, density));
    d.EscapeVelocity = VexaFloatStrRead(RoundToDecimals(3, EscapeVelocity(mass, radiusKm))) + " km/s";
    double geo = Round(Geostationary(mass, rotationHours, radiusKm) - radiusKm);
    if (!(geo >= 0))
        geo = 0;
    d.Geostationary = VexaFloatStrRead(geo) + " km";
    return d;
}

std::string EquilibriumTempText(const TStellarBody &body, std::optional<double> typedAlbedo,
                                std::optional<double> typedDistance, double *rounded)
{
    const double albedo = typedAlbedo && *typedAlbedo >= 0 && *typedAlbedo <= 1 ? *typedAlbedo : body.Albedo;
    double d = body.DistanceToParentStar();
    if (d > 0 && body.Parent && IsStarParent(body.Parent->TypeID) && typedDistance)
        d = *typedDistance;
    double t = 0;
    if (d > 0)
        if (const TStellarBody *star = body.GetParentStar())
            t = star->TempAt(d, albedo);
    double r = Round(t);
    // A star without light or a distance typed as zero gives no number
    // worth showing; the label then reads as for no star at all.
    if (!std::isfinite(r))
        r = 0;
    if (rounded)
        *rounded = r;
    return FormatFloat("0", r) + "K / " + FormatFloat("0", r - KELVIN_BASE) + "C";
}

std::string OrbitalPeriodText(const TStellarBody &body, double distanceKm, TStellarBody &scratch)
{
    scratch.Parent = body.Parent;
    scratch.TypeID = body.TypeID;
    scratch.Radius = body.Radius;
    scratch.Distance = distanceKm;
    const double days = scratch.YearLength();
    scratch.Parent = nullptr;
    return FormatTravelDuration(std::trunc(days * 86400));
}

} // namespace kalvion::app
