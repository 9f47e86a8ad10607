#pragma once
// TVexaSector: the document.  One sector of space with its root systems,
// selection, routes, subsectors, saved views, political and route-type lists,
// image resources, display-field defaults and settings.  Only the main thread
// changes it.
#include "base/Colour.h"
#include "model/ImageResources.h"
#include "model/SectorJob.h"
#include "model/StellarBody.h"
#include "model/StellarRoute.h"
#include "model/Subsector.h"
#include "model/SystemDataConfig.h"
#include "model/VexaBase.h"
#include "model/VexaPoint.h"
#include "model/VexaView.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kalvion {

class TSectorStore;
class TSectorHistory;
class TTreeSink;

inline constexpr int SECTOR_FILE_VERSION = 4;
inline constexpr int SECTOR_FILE_V2 = 4;
inline constexpr int GRID_STYLE_NONE = 0;
inline constexpr int GRID_STYLE_CUBE = 1;
inline constexpr int GRID_STYLE_SPHERE = 2;
inline constexpr int SECTOR_FILTER_HIDE = 0;
inline constexpr int SECTOR_FILTER_NOLABEL = 1;
inline constexpr int SECTOR_MAX_GRID_ACROSS = 20;
// Sector sizes (light years) stay within this wherever they are set: typed,
// passed by a script, or read from a file.  Drawing one line per light year
// or placing systems over more than this would never finish.
inline constexpr double SECTOR_MAX_SIZE = 1.0e6;
inline constexpr double SECTOR_MIN_SIZE = 0.01;
// A size read from outside: itself when within [SECTOR_MIN_SIZE,
// SECTOR_MAX_SIZE], the nearer limit when outside, fallback when not a
// positive number.
double CheckedSectorSize(double size, double fallback) noexcept;
inline constexpr int MAX_BODIES_IN_TREE = 20;

struct TVexaPolitical {
    std::string Name;
    bool Visible = true;
};

struct TStellarRouteType {
    std::string Name;
    bool Visible = true;
};

// (IDString, root) pairs sorted by IDString for FastFindRootBodyByID.  The
// roots keep their identities in binary, so the list holds the texts; it
// still points at the roots and lives no longer than they do.
using TRootIdIndex = std::vector<std::pair<std::string, TStellarBody *>>;

class TVexaSector : public TVexaBase {
public:
    TVexaSector();
    ~TVexaSector() override;
    static std::unique_ptr<TVexaSector> Create() { return std::make_unique<TVexaSector>(); }

    std::string Name;
    std::string FileName;
    // True while FileName is the temporary file a save left behind when its
    // last step (moving the file into place) failed.  The sector still reads
    // its unloaded systems from there, but nobody chose that name: the next
    // Save asks for a name again instead of writing to it.
    bool FileNameUnconfirmed = false;
    std::string Notes;
    std::string GMNotes;
    std::int64_t EpochYear = 2000;
    double Time = 0;
    std::string DateFormat = "dd mmm y h:n:s";
    std::int32_t RandomSeed = 0;
    // The document flag behind "Save Changes?"; not the inherited object flag
    // (TVexaBase::Modified).  Only the main window sets it.
    bool Modified = false;
    std::string UnitStarMeasureName = "Light Years";
    std::string UnitStarMeasureAbbrev = "ly";
    double UnitStarMeasureRatio = 1.0;
    double SizeX = 20.0, SizeY = 20.0, SizeZ = 20.0;
    double Frequency = 5.0;
    bool Spherical = false;

    std::vector<std::unique_ptr<TStellarBody>> Systems;
    std::vector<TStellarBody *> Selection;
    std::int32_t VisibleCount = 0;
    std::vector<std::unique_ptr<TStellarRoute>> Routes;
    std::vector<std::unique_ptr<TVexaSubsector>> Subsectors;
    std::vector<std::unique_ptr<TVexaBase>> DeletedObjects;
    std::vector<std::unique_ptr<TVexaView>> Views;
    std::vector<TVexaPolitical> PoliticalList;
    std::vector<TStellarRouteType> RouteTypeList;

    std::int32_t GridStyle = GRID_STYLE_CUBE;
    double GridX = 20.0, GridY = 20.0, GridZ = 20.0;
    double GridTick = 5.0;
    bool GridTickLabels = true;
    TColor GridColor = ColorRGB(128, 128, 128);
    bool GridsEnabled = true;
    TColor BackgroundColor = 0;
    std::string BaseFont = "Verdana";
    std::int32_t FilterStyle = SECTOR_FILTER_HIDE;
    std::int32_t FilterHabitable = 0;
    std::int32_t FilterPopulation = 0;
    bool FilterHideUnassignedSubsector = false;

    TSystemDataConfigHolder SystemDataDefaults;
    TVexaImageResourceList ImageResources;

    TVexaPoint Camera, Target, OriginCamera, OriginTarget;
    TVexaPoint SlideStartCamera, SlideStartTarget;

    std::string RenderStatus, RenderMessageBig, RenderMessageSmall;

    // The sector generator's worker while one exists; destroying the sector
    // stops it first.
    std::unique_ptr<TSectorJob> GenThreadMgr;
    std::function<void()> OnGenerateFinished;
    // When set, the trees that DynaUnload lets go of are handed here rather
    // than freed at once (a generation hands them to the thread that made
    // them: freeing memory of another thread's heap contends for its lock).
    std::function<void(std::vector<std::unique_ptr<TStellarBody>> &&)> OnChildrenUnloaded;
    // Progress of saving and generating: a message and a fraction 0 to 1.
    std::function<void(const std::string &, double)> OnProgress;

    // The files behind the document (set by the sector-file layer); none for
    // a sector that lives in memory only.
    TSectorStore *Store = nullptr;

    // The undo history: commands open steps on it, the operations below
    // record what they change into the open step.
    TSectorHistory &History() const { return *FHistory; }

    // Life cycle
    void clear();
    void New();
    void ClearViews() { Views.clear(); }
    void ClearDeleted() { DeletedObjects.clear(); }

    // Dynamic loading
    void DynaLoad(TStellarBody *root);
    void DynaUnload(TStellarBody *root);
    void DynaLoadResource(TVexaImageResource *resource);
    void DynaLoadAll();
    void DynaClearActiveDB();

    // Systems
    int AddSystem(std::unique_ptr<TStellarBody> body);
    TStellarBody *NewSystem(int typeCode);
    int SystemCount() const { return static_cast<int>(Systems.size()); }
    TStellarBody *GetSystem(int index) const;
    int IndexOfSystem(const TStellarBody *root) const;
    void DeleteRootBody(TStellarBody *root);
    void DeleteChildBody(TStellarBody *parent, TStellarBody *child);
    void DeleteSelectedSystems();
    // Takes a root out of Systems (for a caller that replaces or moves it);
    // the selection and the route waypoints let go of it first.
    std::unique_ptr<TStellarBody> ExtractSystem(TStellarBody *root);
    // Removes the roots whose flag is set (one flag per root, in order) in
    // one pass.  A root already stored goes to DeletedObjects so the next
    // save deletes its rows; one never stored is freed.
    void RemoveSystems(const std::vector<bool> &drop);
    void ReassignChild(TStellarBody *body, TStellarBody *newParent);
    TStellarBody *FindRootBodyById(std::string_view idString) const;
    TStellarBody *FindRootBodyById(const TIdentityText &id) const;
    TRootIdIndex BuildRootIdIndex() const;
    static TStellarBody *FastFindRootBodyByID(std::string_view idString, const TRootIdIndex &sortedList);
    static TStellarBody *FastFindRootBodyByID(const TIdentityText &id, const TRootIdIndex &sortedList)
    {
        return FastFindRootBodyByID(id.str(), sortedList);
    }
    TStellarBody *FindRootBodyByName(std::string_view name) const;
    void UpdateRootAttribs();
    void UpdateVisibleCount();
    double GetSectorPopulation() const;
    double GetSectorBodyCount() const;
    void CreateSubmapFromSelected(TVexaSector &target, double size, int shape);
    void ResetRecordIDs();

    // Selection
    TStellarBody *BodyAtXY(int x, int y) const;
    int SelectBodies(int x, int y, bool add);
    void SelectAll(bool value);
    void SelectBody(TStellarBody *root);
    void SelectAllHabitable(int level);
    int SelectedCount() const { return static_cast<int>(Selection.size()); }
    TStellarBody *GetSelected(int index) const;
    void FillTreeShort(TTreeSink &tree, int node, TStellarBody *body) const;
    // The selected systems (at most MAX_BODIES_IN_TREE) with their display lines.
    void FillTreeSelected(TTreeSink &tree);
    void MoveSelected(double dx, double dy, double dz);
    void MoveSelectedAxis(int axis, double delta);
    void SetPoliticalSelected(const std::string &name);
    void SetDisplayStyleSelected(TColor color, TColor labelColor, bool underline, bool bold);
    void SetSphereStyleSelected(int style, TColor color, double size);
    void ChangeBodyTypeSelected(int typeCode);
    void SetLabelDistanceSelected(double routeDistance, double labelDistance);

    // Filters
    void SetFilters();
    void ShowAll();

    // Political affiliations and route types
    int FindPolitical(std::string_view name) const;
    int AddPolitical(const std::string &name);
    void UpdatePoliticalFrom(const TStellarBody &body);
    void BuildPoliticalList(bool reset);
    int FindRouteType(std::string_view name) const;
    int AddRouteType(const std::string &name);
    void BuildRouteTypeList(bool reset);
    void DeleteRouteType(std::string_view name);

    // Units
    void UpdateUnits();
    double DistanceInUnits(double ly) const { return ly / UnitStarMeasureRatio; }
    std::string DistanceString(double ly, bool withUnit) const;

    // 3D models, relative to the program's "Models/" folder
    std::string GetModelFileName(const TStellarBody &body) const;
    std::string FindDefaultModel(const TStellarBody &body) const;

    // Routes
    int AddRoute(std::unique_ptr<TStellarRoute> route);
    int RouteCount() const { return static_cast<int>(Routes.size()); }
    TStellarRoute *GetRoute(int index) const;
    void DeleteRoute(int index);
    bool RoutesSelected() const;
    void DeleteSelectedRoutes();
    void DeleteAllRoutes();
    void DeleteSystemFromRoutes(const TStellarBody *body);
    void UpdateRoutes();
    void UpdateRouteBodies();
    void UpdateRoutesForBody(const TStellarBody *body);
    void UpdateRoutesSelected();
    // A route through the systems of the selection list, in selection order;
    // none unless at least two systems are selected.
    TStellarRoute *CreateRouteSelected(const std::string &routeType, const std::string &name, double red,
                                       double green, double blue, int lineStyle, double lineWidth);
    // A one-segment route between two systems; none unless both are given.
    TStellarRoute *CreateRouteSegment(TStellarBody *fromBody, TStellarBody *toBody, const std::string &routeType,
                                      const std::string &name, TColor color, int lineStyle, double lineWidth);
    // Appends every system on a route through a system of the selection list,
    // each once, in the order met.
    void GetAllOnRoutesWithSelected(TStellarBodyList &list) const;

    // Subsectors
    int AddSubsector(std::unique_ptr<TVexaSubsector> subsector);
    int SubsectorCount() const { return static_cast<int>(Subsectors.size()); }
    TVexaSubsector *GetSubsector(int index) const;
    int GetSubsectorIndexByName(std::string_view name) const;
    void DeleteSubsector(int index);
    // Renames a subsector and its entries in every saved view.
    void ChangeSubsectorName(TVexaSubsector *subsector, const std::string &newName);

    // Camera home position
    void ResetCamera();
    void CenterOnOrigin() { ResetCamera(); }
    void RestoreDefaultOrigins();
    void SetOriginsFromCurrentView();

    // Camera moves.  Animated moves take (steps, step): the caller calls them
    // for step = 1 … steps; step 1 remembers the start, the last step lands
    // exactly on the destination.
    void CenterCameraOnSelected();
    void PanCameraToOrigin(int steps, int step);
    void PanCameraToBody(const TStellarBody *body, int steps, int step);
    void PanCameraToSelected(int steps, int step);
    void SlideCameraToSelected(int steps, int step);
    void ComboSlideReset(int steps, int step);
    void ComboSlideToSelected(int steps, int step);
    void AdjustDistanceToTarget(double factor);
    void SetCameraDistance(double distance);
    void AdjustElevation(double dy);
    void AdjustCameraLatitude(double degrees);
    void RotateCameraAroundTarget(double ax, double ay, double az);
    void TourGuide() {}
    void AdjustSelectedDistanceToCamera(double factor);
    void RotateSelectedAroundCamera(double ax, double ay, double az);

    // Saved views
    int FindView(std::string_view name) const;
    void AddCurrentViewAsView(const std::string &name);
    void DeleteView(std::string_view name);
    void LoadView(std::string_view name);
    void ViewsToList(std::vector<std::string> &list) const;

    // Display fields
    TSystemDataConfigHolder *GetSystemDataConfigHolder() { return &SystemDataDefaults; }

    // Image resources
    void SetBlazonSelected(bool display, bool wrap, const std::string &fileName);
    void AddResourceFile(const std::string &fileName);
    int ResourceCount() const { return ImageResources.Count(); }
    int FindResource(std::string_view name) const { return ImageResources.FindResource(name); }
    std::string GetResourceName(int index) const;
    bool SaveResourceToFile(std::string_view name, const std::string &fileName);
    bool SaveResourceByIndex(int index, const std::string &fileName);
    std::optional<TByteStream> GetResourceImageStream(const std::string &name);
    void SetPreviewImage(TStellarBody *body, const std::string &fileName);
    void SetBlazonImage(TStellarBody *body, const std::string &fileName);
    std::optional<TByteStream> GetPreviewImageStream(const TStellarBody *body);
    std::optional<TByteStream> GetSurfaceMapImageStream(const TStellarBody *body);

private:
    friend class TSectorHistory;
    std::unique_ptr<TSectorHistory> FHistory;
    // Lets go of every non-owning reference to a root leaving Systems.
    void ReleaseRootReferences(TStellarBody *root);
    void MoveRouteToDeleted(std::size_t index);
};

} // namespace kalvion
