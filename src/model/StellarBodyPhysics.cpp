// Physical quantities of a body derived from its fields and its ancestors.
#include "model/StellarBody.h"

#include "base/NumberFormat.h"
#include "base/PhysicalFormulas.h"

#include <algorithm>
#include <cmath>

namespace kalvion {

double TStellarBody::TempAt(double distanceKm, double albedo) const
{
    return EquilibriumTemp(Luminosity, distanceKm * 1000, albedo);
}

double TStellarBody::GetSurfaceTempInMultSystem(double distanceKm, double albedo) const
{
    const TStellarBody *star = GetParentStar();
    if (!star)
        return 0;
    double t = star->TempAt(distanceKm, albedo);
    const TStellarBody *group = star->Parent;
    if (group && group->TypeID == BODY_TYPE_CLOSEMULT) {
        for (const auto &c : group->Children)
            if (IsStarLikeComponent(c->TypeID))
                t = std::max(t, c->TempAt(group->Distance, albedo));
    }
    return t;
}

double TStellarBody::GreenhouseEffectK() const
{
    const TStellarBody *star = GetParentStar();
    if (!star)
        return 0;
    return Temp - star->TempAt(DistanceFromParentStar(), Albedo);
}

double TStellarBody::GreenhouseRatio() const
{
    const TStellarBody *star = GetParentStar();
    if (Temp == 0 || !star)
        return 1;
    const double ref = star->TempAt(DistanceFromParentStar(), Albedo);
    // A star without luminosity gives no reference temperature to compare with.
    if (ref == 0)
        return 1;
    return Temp / ref;
}

double TStellarBody::DistanceToParentStar() const
{
    if (!Parent)
        return 0;
    const TStellarBody *b = this;
    for (int level = 0; b->Parent; ++level) {
        if (level >= 20)
            return -1;
        if (b->Parent->TypeID == BODY_TYPE_STAR)
            return b->Distance;
        b = b->Parent;
    }
    return -1;
}

double TStellarBody::DistanceFromParentStar() const
{
    if (!Parent)
        return -1;
    for (const TStellarBody *b = this; b->Parent; b = b->Parent)
        if (b->Parent->TypeID == BODY_TYPE_STAR)
            return b->Distance;
    return -1;
}

namespace {

// Parents whose Mass is in solar masses: a planet around them follows the
// star formula.
bool HasSolarMass(int type)
{
    switch (type) {
    case BODY_TYPE_STAR:
    case BODY_TYPE_BLACKHOLE:
    case BODY_TYPE_NEUTRON:
    case BODY_TYPE_WHITEDWARF:
    case BODY_TYPE_REDGIANT:
    case BODY_TYPE_BLUEGIANT:
    case BODY_TYPE_BROWNDWARF:
        return true;
    default:
        return false;
    }
}

} // namespace

double TStellarBody::YearLength() const
{
    if (!Parent)
        return 0;
    const int pt = Parent->TypeID;
    if (!HasSolarMass(pt) && pt != BODY_TYPE_PLANETSYSTEM)
        return CalcMoonPeriod(GetOrbitRadius(), Parent->Mass);
    const TStellarBody *ref = Parent;
    if (pt == BODY_TYPE_PLANETSYSTEM) {
        ref = GetParentStar();
        if (!ref)
            return 0;
    }
    double mass = ref->Mass;
    if (ref->TypeID == BODY_TYPE_BLACKHOLE && mass == 0)
        mass = BLACK_HOLE_MASS;
    return CalcYearLength(Distance, mass);
}

std::string TStellarBody::FormatYearLength() const
{
    const double days = YearLength();
    if (days > 730)
        return FormatFloat("####0.##", days / 365) + " years";
    return FormatFloat("###0.##", days) + " days";
}

double TStellarBody::GetOrbitRadius() const
{
    if (Parent && IsSolidParent(Parent->TypeID))
        return Distance + Parent->Radius;
    return Distance;
}

int TStellarBody::GetOrbitDirection() const
{
    int dir = RetrogradeOrbit ? -1 : 1;
    for (const TStellarBody *a = Parent; a && IsRotationCarrier(a->TypeID); a = a->Parent)
        if (a->Rotation < 0)
            dir = -dir;
    return dir;
}

double TStellarBody::GetHillSphere() const
{
    if (!(Distance >= 1))
        return 0;
    const TStellarBody *star = GetParentStar();
    if (!star || star->Mass == 0)
        return 0;
    const double bodyKg = Mass * EARTH_MASS_KG;
    const double starKg = star->Mass * SUN_MASS_KG;
    if (bodyKg < 1 || starKg < 1)
        return 0;
    return HillSphere(bodyKg, starKg, Distance);
}

double TStellarBody::GetGeostationary() const
{
    if (Rotation == 0)
        return 0;
    const double g = Geostationary(MassRelEarth(Radius, Density), std::fabs(Rotation), Radius);
    const double hill = GetHillSphere();
    if (hill > 0 && hill < g)
        return -1;
    return g;
}

double TStellarBody::GetSurfaceGravity() const { return SurfaceGravity(Radius, Density); }

void TStellarBody::SetStarMetrics()
{
    Luminosity = StarLuminosityFromMass(Mass);
    Radius = StarRadiusFromMass(Mass);
}

double TStellarBody::GetFarthestChildOrbit() const
{
    double best = 0;
    const bool grouped = TypeID == BODY_TYPE_MULT || TypeID == BODY_TYPE_CLOSEMULT;
    for (const auto &c : Children) {
        const double d = grouped ? std::sqrt(c->X * c->X + c->Y * c->Y + c->Z * c->Z) : c->Distance;
        best = std::max(best, d);
    }
    return best;
}

} // namespace kalvion
