#pragma once
// TStellarBody: the one node type of every system tree.  A star, a multiple
// system, a planet, a moon, a belt, a station, a fleet are all bodies told
// apart by TypeID.  A body owns its children; Parent is a back reference.
#include "base/Colour.h"
#include "base/CompactText.h"
#include "model/BodyTypes.h"
#include "model/GexColorGroup.h"
#include "model/RenderInfo.h"
#include "model/SystemDataConfig.h"
#include "model/VexaBase.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kalvion {

struct TVexaAtmElement {
    std::string Gas;     // trimmed, upper case ("N2")
    double Percent = 0;  // 0 to 100
};

struct TVexaHitRect {
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

class TStellarBody;
using TStellarBodyList = std::vector<TStellarBody *>;

class TStellarBody : public TVexaBase {
public:
    TStellarBody();
    ~TStellarBody() override;

    // What the 3D sector view reads and writes for every root in every
    // frame, kept together: a frame of a hundred thousand systems then
    // touches two cache lines per root instead of six.
    // The filters read the roll-ups of every root as well.
    double X = 0, Y = 0, Z = 0;
    double Luminosity = 0;
    double LabelDistance = 20.0;
    double ChildPopulation = 0;
    TColor Color = ColorRGB(250, 250, 255);
    std::int32_t TypeID = 0;
    std::int32_t DSOIntensity = 0;
    std::int32_t SphereInfluence = 0;
    std::int32_t ChildHabitability = 0;
    // Written by the 3D sector view
    std::int32_t RasterX = 0, RasterY = 0;
    TVexaHitRect HitRect;
    // Members from here on are ordered by size so that none pads: a sector
    // holds millions of bodies.
    std::int32_t RandomSeed;
    double Depth = 0;
    bool Selected = false;
    bool Visible = true;
    bool RetrogradeOrbit = false;
    bool BlazonDisplay = false;
    bool BlazonWrap = false;
    TColor SphereInfluenceColor = ColorRGB(192, 192, 192);
    std::int32_t FontStyle = 0;

    // Identity and description.  The texts that most bodies leave empty are
    // compact: one pointer each until they are set.
    std::string Name;
    TStellarBody *Parent = nullptr;
    TCompactText BodyType;
    TCompactText Spectral;

    // Physical and orbital values (units in the member comments of the docs:
    // Distance km, planet Radius km, star Radius solar radii, Mass solar or
    // Earth masses, Temp kelvin, Rotation hours, Atmosphere atmospheres).
    double Distance = 0;
    double Radius = 0;
    double Density = 0;
    double Mass = 0;
    double Rotation = 0;
    double Albedo = 0;
    double Temp = 0;
    double Atmosphere = 0;
    TCompactText AtmosphereNotes;
    double Water = 0;
    TCompactList<TVexaAtmElement> AtmElements;

    // Society and roll-ups
    double Population = 0;
    std::int32_t Habitability = 0;
    std::int32_t BodyCount = 0;
    TCompactText PoliticalAffiliation;

    // Appearance in the sector views
    double SphereInfluenceSize = 0.5;
    TCompactText Notes;
    TCompactText GMNotes;
    TColor LabelColor = ColorRGB(255, 0, 0);
    TColor OrbitColor = ColorRGB(0, 0, 255);
    double RenderDistance = 30.0;
    double RouteDistance = 40.0;

    // Orbit
    double Eccentricity = 0;
    double Inclination = 0;
    double AngleAscendingNode = 0;
    double AnglePeriapsis = 0;
    double TimeOffset = 0;
    double AxialTilt = 0;
    double OrbitalPlaneX = 0, OrbitalPlaneY = 0, OrbitalPlaneZ = 0;

    TCompactText PreviewImageFile;
    TCompactText BlazonImageFile;
    TCompactText ModelFile;

    std::vector<std::unique_ptr<TStellarBody>> Children;

    // Owned parts that few bodies have (children waiting for their rows to
    // be deleted, a display override, a terrain palette, the render cache)
    // share one block behind one pointer; each reads as null when absent.
    using TBodyList = std::vector<std::unique_ptr<TStellarBody>>;
    TBodyList *DeletedChildren() const { return FParts ? FParts->DeletedChildren.get() : nullptr; }
    void ClearDeletedChildren();
    // Queues a body whose rows the next save deletes, as if it had been a
    // child deleted from this one (for copies that carry pending deletions).
    void AddDeletedChild(std::unique_ptr<TStellarBody> child);
    TSystemDataConfig *SystemDataConfig() const { return FParts ? FParts->SystemDataConfig.get() : nullptr; }
    TGexColorGroup *ColorGroup() const { return FParts ? FParts->ColorGroup.get() : nullptr; }
    void ClearGexColorGroup();
    TVexaRenderInfo *RenderInfo() const { return FParts ? FParts->RenderInfo.get() : nullptr; }

    // Creation and copying
    static std::unique_ptr<TStellarBody> Create();
    void CopyTo(TStellarBody &target) const;
    // A copy of the whole tree as it stands, for a snapshot of the document:
    // the same identities, row ids, change flags and pending deletions.  It
    // draws no identity and no random number, so taking it leaves the shared
    // random sequence where it was.
    std::unique_ptr<TStellarBody> CloneTree() const;
    // The body's row only (identity and row id), unloaded and unchanged: for
    // a snapshot that refers to a stored body without holding its tree.
    std::unique_ptr<TStellarBody> CloneRow() const;

    // Tree
    int ChildrenCount() const { return static_cast<int>(Children.size()); }
    TStellarBody *GetChild(int index) const;
    int AddChild(std::unique_ptr<TStellarBody> child);
    int InsertBefore(std::unique_ptr<TStellarBody> &body);
    int FindChildIndex(const TStellarBody *child) const;
    bool HasParent() const { return Parent != nullptr; }
    TStellarBody *GetRootBody();
    const TStellarBody *GetRootBody() const;
    void GetAllChildren(TStellarBodyList &list);
    TStellarBody *GetParentStar() const;
    TStellarBody *GetParentBody() const;
    TStellarBody *GetOrbitalParent() const;
    void DeleteChildren();
    void UnloadChildren();
    // Removes a child from Children and hands it over; the child's Parent is
    // left for the caller to set.  Null when it is not a child of this body.
    std::unique_ptr<TStellarBody> ExtractChild(const TStellarBody *child);
    bool SystemModified() const;
    void ModifySystem();
    void SortChildrenByDistance();
    void SetChildDesignations(const std::string &prefix);
    void ClearChildrenNames();

    // Roll-ups and formatting
    double GetSystemPopulation() const;
    double GetChildPopulation() const;
    int GetMaxHabitability() const;
    int GetMaxChildHabitability() const;
    int GetBodyCount() const;
    void UpdateRootBody();
    std::string FormatPopulation() const;
    std::string FormatSystemPopulation() const;
    std::string FormatChildPopulation() const;

    // Physical quantities
    double TempAt(double distanceKm, double albedo) const;
    double GetSurfaceTempInMultSystem(double distanceKm, double albedo) const;
    double GreenhouseEffectK() const;
    double GreenhouseRatio() const;
    double DistanceToParentStar() const;
    double DistanceFromParentStar() const;
    double YearLength() const;
    std::string FormatYearLength() const;
    double GetOrbitRadius() const;
    int GetOrbitDirection() const;
    double GetHillSphere() const;
    double GetGeostationary() const;
    double GetSurfaceGravity() const;
    double Gravity() const { return GetSurfaceGravity(); }
    double GetTempC() const { return Temp - 273; }
    void SetTempC(double value) { Temp = value + 273; }
    void SetStarMetrics();
    double GetFarthestChildOrbit() const;

    // Atmosphere
    int GetAtmElementCount() const { return static_cast<int>(AtmElements.size()); }
    std::string GetAtmElement(int index) const;
    double GetAtmElementPercent(int index) const;
    double GetAtmElementPercentByName(std::string_view gas) const;
    void SetAtmElement(std::string_view gas, double percent);
    void ResetAtmElements() { AtmElements.clear(); }

    // Other members
    void SetSystemDataConfig(std::unique_ptr<TSystemDataConfig> config);
    TGexColorGroup *GetGexColorGroup() const { return ColorGroup(); }
    void SetGexColorGroup(const TGexColorGroup &group);
    void InitRenderInfo();
    std::string GexSurfaceMapLaunchParam() const;

private:
    explicit TStellarBody(TNoIdentity tag) noexcept : TVexaBase(tag), RandomSeed(0) {}
    void CopyValuesTo(TStellarBody &target) const;

    struct TParts {
        std::unique_ptr<TBodyList> DeletedChildren;
        std::unique_ptr<TSystemDataConfig> SystemDataConfig;
        std::unique_ptr<TGexColorGroup> ColorGroup;
        std::unique_ptr<TVexaRenderInfo> RenderInfo;
    };
    TParts &Parts();
    // Frees the block once nothing is left in it.
    void DropEmptyParts();
    std::unique_ptr<TParts> FParts;
};

// Roman numeral of 1 … 9999; "" outside that range.
std::string RomanNumeral(int value);

// Comparers for sorting lists of bodies; each returns -1, 0 or 1.
int SortOnDistance(const TStellarBody *a, const TStellarBody *b);
int SortOnName(const TStellarBody *a, const TStellarBody *b);
int SortOnSystemName(const TStellarBody *a, const TStellarBody *b);
int SortOnType(const TStellarBody *a, const TStellarBody *b);
int SortOnPopulation(const TStellarBody *a, const TStellarBody *b);
int SortOnHabitability(const TStellarBody *a, const TStellarBody *b);
int SortOnPolitical(const TStellarBody *a, const TStellarBody *b);

} // namespace kalvion
