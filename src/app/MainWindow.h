#pragma once
// TfrmVexaMain: the program's one main window.  It owns the current sector,
// shows it in the 3D sector view, lists the selected systems as a tree of
// bodies and turns menu commands, toolbar buttons, keys and mouse gestures
// into operations of the model.
#include "app/AppSettings.h"
#include "app/FileFilters.h"
#include "app/RecentFiles.h"
#include "app/edit/EditHooks.h"
#include "generation/NewSectorOptions.h"
#include "model/VexaBase.h"

#include <QHash>
#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <QSet>

#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QSplitter;
class QTableWidget;
class QTimer;
class QToolBar;
class QToolButton;
class QKeyEvent;

namespace kalvion {
enum class TCameraAnimationKind;
class TRenderOrbitOGL;
class TRenderSectorOGL;
class T3dModelManager;
class TSectorGLWidget;
class TStellarBody;
class TVexaSector;
class TVexaSearcher3;
class TScriptRegistry;
class TVideoRecorder;
struct TMapOptions;
class TSurfaceMapMgr;
class TRenderSurfaceMaps;
class TZentScripter;
class TVexaPluginMgr;
class TTravelCalcMethod;
struct TTravelInputs;
struct TVexaGenerateOptions;
} // namespace kalvion

namespace kalvion::app {

class TRecoveryCopies;

class TAppMessages;
class TSettingsStore;
class TSystemTree;
class TActionTable;
class TfrmSectorProperties;
class TfrmSectorDate;
class TfrmSavedViews;
class TfrmSubsectors;
class TfrmPreferences;
class TfrmRecordVideo;
class TViewCapture;
class TfrmSectorExport;
class TfrmPrintSector;
class TfrmDiagramExport;
struct TDiagramChoice;
class TfrmDataImport;
class TfrmSectorReport;
class TfrmSectorMerge;
struct TMergeChoice;
struct TReportChoice;
struct TSectorExportChoice;
struct TPrintChoice;
class TfrmVexaSearch3;
class TfrmProximityRoutes;
class TfrmRoutePlanner;
struct TNewSystemChoice;
class TWindowScriptHost;
class TWindowScriptUI;
class TfrmEditBody;

inline constexpr int MOUSE_MODE_PAN = 0;
inline constexpr int MOUSE_MODE_POINTER = 1;
inline constexpr int VIEW_MODE_SECTOR = 0;
inline constexpr int VIEW_MODE_ORBIT = 1;

class TfrmVexaMain final : public QMainWindow {
    Q_OBJECT
public:
    struct TOptions {
        QString ProgramFolder;    // with a trailing separator
        QString FileToOpen;       // the first command-line argument
        std::optional<std::int32_t> Seed;  // set before the random work of a generation
        bool SkipGL = false;      // widget tests without OpenGL
        QString ScreenshotFile;   // saves the window after its first frame, then closes
        bool ExitAfterFirstFrame = false;  // start-up timing
    };
    TfrmVexaMain(TAppMessages &messages, TSettingsStore &store, TOptions options, QWidget *parent = nullptr);
    ~TfrmVexaMain() override;

    // State the commands work on.
    TVexaSector &Sector() { return *FSector; }
    TAppSettings &Settings() { return FSettings; }
    const TRecentFiles &RecentFiles() const { return FRecent; }
    int MouseMode() const { return FMouseMode; }
    int ViewMode() const { return FViewMode; }
    bool Locked() const { return FLock; }
    TStellarBody *CurrentBody() const { return FCurrentBody; }
    TSectorGLWidget *SectorView() const { return FView; }
    T3dModelManager *ModelManager() const { return FModelManager.get(); }
    TActionTable &Actions() { return *FActions; }
    bool GenerationRunning() const;
    bool ScriptRunning() const { return FScriptRunning; }
    const QString &QuickSearchText() const;

    // The caption from the sector and the kept body count.
    QString CaptionText() const;
    void UpdateCaption();
    void UpdateStatus();
    void RecountBodies();

    // File commands.  The save check asks "Save Changes?" when the sector
    // is modified; false when the user cancelled.
    bool SaveCheck();
    void BlankSector();
    bool NewStandardSector();
    // Starts a generation with these options (the dialog's, or a test's).
    bool GenerateNewSector(TNewSectorOptions options);
    void OpenCommand();
    bool OpenSectorFile(const QString &file);
    void OpenTemplate(const QString &file);
    bool Save();
    bool SaveAs();
    void OpenRecent(int index);
    void ExitCommand();

    // Recovery copies of unsaved changes (see RecoveryCopies.h).  At start
    // each copy left by a program that ended without closing is offered in
    // turn; Yes opens it and stops there.  True when one was opened.
    bool OfferRecoveryCopies();
    TRecoveryCopies &Recovery() { return *FRecovery; }
    // The file a recovered sector belongs to, which the next Save writes;
    // empty when the sector was not recovered or had no file.
    const QString &RecoveredTarget() const { return FRecoveredTarget; }
    void ExportImage();
    // "Export as 2D Map..." and "&Print": the dialogs, then the map written
    // or printed with the choices (also called by tests with their own).
    void ExportMap();
    bool WriteMap(const TSectorExportChoice &choice);
    void PrintMap();
    int PrintWithChoice(const TPrintChoice &choice);
    // A script's Print: the sector's map on the "Print Sector" window's
    // printer, or only the number of sheets it would take (preview).
    int PrintForScript(const TVexaSector &sector, const TMapOptions &map, double pagesAcross, bool preview);
    TfrmPrintSector &PrintDialog() { return *FPrintSector; }
    // "Export as 2D Map..." in the orbit view: the shown system's diagram.
    void ExportSystemDiagram();
    bool WriteDiagram(const TStellarBody &body, const TDiagramChoice &choice);
    // "Import CSV Data": the "Data Import" window on the current sector.
    void ImportCsv();
    TfrmDataImport *DataImportDialog() const { return FDataImport; }
    // "Generate Sector Report": the dialog, then the report written and
    // opened in the desktop's browser.  The file written, or "" on failure.
    void ReportCommand();
    QString WriteReport(const TReportChoice &choice, bool open);
    // "Merge and Update Sectors": another sector or a star catalogue
    // brought into this one.
    void MergeCommand();
    bool MergeWith(const TMergeChoice &choice);

    // Sector and navigation commands.
    void SetMouseMode(int mode);
    void SetLock(bool on);
    void ResetView();
    void CenterOnTarget();
    void SlideToSelected();
    void CombinedSlide();
    void AddAsView();
    void ApplyView(const QString &name);
    void DeleteSelectedSystems();
    void SetSectorDate();
    void ShowSectorProperties();
    void EditSubsectors();
    void ShowSavedViews();
    void ShowPreferences();

    // Camera animations; each stops when a key is waiting.
    void Rotate360();
    void Whirl();
    void TourGuide();
    void BonVoyage();
    // Runs a camera animation until it ends or a key is waiting; false
    // when a key stopped it.
    bool RunAnimation(TCameraAnimationKind kind);
    // steps camera moves, each followed by a frame; false when a key
    // stopped them.
    bool RunCameraSteps(int steps, const std::function<void(int)> &step);
    // The start-up performance check (Whirl's second half).
    void PerformanceCheck();

    // Filters menu.
    void FilterCommand(const QString &id);
    void RefreshFilterMenu();

    // Tree and selection.
    void RefillTree();
    void PickBody(TStellarBody *body);
    void QuickSearch();
    // The search window (made on first use and kept), a click on one of its
    // results and its "Select All"; the results are forgotten whenever the
    // bodies they point to may go.
    TfrmVexaSearch3 *ShowSearchWindow();
    void ShowSearchResult(TStellarBody *body);
    void SelectSearchResults(const std::vector<TStellarBody *> &results);
    void ForgetSearchResults();
    // "Create Proximity Routes": the dialog, then the run with Escape.
    void CreateProximityRoutesCommand();
    // "Travel Calculator" over the first and second selected systems.
    void ShowTravelCalculator();
    // "Plan Route...": the route planner (made on first use and kept) from
    // these systems, else from the first and second selected ones.
    TfrmRoutePlanner *ShowRoutePlanner(const TStellarBody *from = nullptr, const TStellarBody *to = nullptr);
    TfrmRoutePlanner *RoutePlannerWindow() const { return FRoutePlanner; }
    // Called by the commands that change the sector's contents.
    void SectorChanged(bool contents = true);
    // Enables and disables commands from the window's state.
    void UpdateActions();

    // Undo and redo (MainWindowUndo.cpp).  Every command runs as one step of
    // the sector's history, named after it; Undo and Redo take a step back
    // or forward and bring the views, the tree and the search results along.
    void UndoCommand();
    void RedoCommand();
    void UpdateUndoActions();
    // Runs f as one step of the history named `name`.
    void RunAsStep(const QString &name, const std::function<void()> &f);
    // Connects the action of the id to run `slot` (given whether the action
    // is checked) as a step named after the action.
    void ConnectAsStep(const char *id, std::function<void(bool)> slot);
    // The slot form ConnectAsStep takes, from a slot with or without the
    // checked state.
    template <class F>
    static std::function<void(bool)> StepSlot(F slot)
    {
        return [slot](bool checked) {
            if constexpr (std::is_invocable_v<F, bool>)
                slot(checked);
            else
                slot();
        };
    }
    // The step name of an action: its text without "&" and "...".
    static QString StepName(const QAction *action);

    // The body property dialog (MainWindowEditBody.cpp), made on first use
    // and kept.  "Properties" edits the current body; a new system is
    // edited with EditNewBody, false on Cancel (the caller then removes it).
    void EditBodyProperties();
    void EditBody(TStellarBody *body);
    bool EditNewBody(TStellarBody *body);
    TfrmEditBody *EditBodyDialog() const { return FEditBody; }
    // Repaints the 3D view now.
    void Redraw();

    // Long operations: the window as progress handler.  True when a key is
    // waiting (the operation should stop); the key is kept for the window.
    bool KeyWaiting();
    void BeginLongOperation();
    void EndLongOperation();

    // Video recording (MainWindowVideo.cpp).  The "Record Video" window,
    // kept for the whole run, and the recorder it shares with scripts.
    TfrmRecordVideo *RecordVideoWindow() const { return FRecordVideo; }
    TVideoRecorder &VideoRecorder() { return *FVideo; }
    // "Record Video": opens the window, or stops the recording it runs.
    void RecordVideoCommand();
    // The current sector view drawn at a video's frame size (null when it
    // cannot be drawn).
    QImage VideoFrame(int width, int height);
    // StartMovie, AddMovieFrame and FinishMovie for the window's scripts,
    // recording this window's view; the script host calls it once.
    void RegisterVideoScripting(TScriptRegistry &registry);

    // The 3D system view (MainWindowOrbit.cpp).  The preview inset's system
    // opened after the inset grew to the window; a body's system opened
    // directly; back to the sector view.
    void OpenPreviewSystem();
    void ShowOrbitView(TStellarBody *body);
    void ShowSectorView();
    TRenderOrbitOGL &OrbitView() { return *FOrbit; }
    TStellarBody *OrbitSystem() const;
    QTimer *OrbitTimer() const { return FOrbitTimer; }
    // Editing commands (MainWindowEdit.cpp).  The seams to the property
    // dialog and the surface maps, and the windows made on first use.
    TEditHooks &EditHooks() { return FEditHooks; }
    const TEditDialogs &EditDialogs() const { return FEditDialogs; }
    TStellarBody *PreviewBody() const;
    // "New System": the dialog, then PlaceNewSystem; the new root, or none.
    TStellarBody *NewSystemCommand();
    TStellarBody *PlaceNewSystem(const TNewSystemChoice &choice);
    void CreateRouteCommand();
    // The "Mass Edit" windows by action id ("Actions.MassPolitical", …).
    void MassEditCommand(const QString &id);
    void GridStylesCommand();
    // "Add Child" (or "Insert Body") of the kind (BodyKinds.h) at the
    // current body; the new body, or none.
    TStellarBody *AddBodyCommand(int kind, bool insert);
    void DeleteCurrentBody();
    void DeleteSystemContents();
    void DeleteSelectedRoutesCommand();
    // 0 "Completely Regenerate System", 1 "Generate System Contents", 2 the
    // same keeping the name.
    void RegenerateCommand(int how);
    void ChangeBodyTypeCommand(int typeCode);
    void ConvertToRootCommand();
    void CreateSurfaceMapCommand();
    void EditSurfaceMapCommand();
    // Lets go of every reference the window holds to the body and the
    // bodies below it, before they go.
    void ForgetBody(const TStellarBody *body);
    // Surface maps (MainWindowSurface.cpp): the background maker, a planet's
    // map requested as the user picks it, and made again after an edit.
    TSurfaceMapMgr &SurfaceMaps() { return *FSurfaceMaps; }
    void RequestSurfaceMap(TStellarBody *body);
    void SurfaceMapChanged(TStellarBody *body);
    // Scripts and plug-ins (MainWindowScripts.cpp, MainWindowPlugins.cpp).
    const QString &ProgramFolder() const { return FOptions.ProgramFolder; }
    TZentScripter &ScriptHost() { return *FScripter; }
    TWindowScriptHost &ScriptAppHost() { return *FScriptApp; }
    TVexaPluginMgr &PluginMgr() { return *FPlugins; }
    // Runs a script file as "Run from file..." and the plug-in commands do;
    // caption is the script dialogs' title (empty: the file's name).  False
    // when the script reported an error.
    bool RunScriptFile(const QString &file, const QString &caption = QString());
    void RunFromFileCommand();
    void HaltScript();
    // "Blank Sector" without the save check (the script routine ClearMap).
    void ClearMap();
    // Runs plug-in `index` with the context of its kind.
    void RunPlugin(int index);
    QAction *PluginAction(int index) const;
    // Opening a file: true when a file-handler plug-in took it.
    bool OpenWithFileHandler(const QString &file);
    QString OpenDialogFilter() const;
    // The New System dialog's generator list, and a generator other than
    // the standard one run with that dialog's choices.
    std::vector<std::string> BodyGeneratorNames() const;
    bool RunBodyGenerator(const std::string &name, const TVexaGenerateOptions &options);
    // The travel calculator's methods besides "Light Speed".
    std::vector<TTravelCalcMethod *> TravelMethods() const;
    // Makes the plug-in menu items follow their plug-ins' Active flags.
    void ApplyPluginActivation();
    QStringList DisabledPluginNames() const;

    // For tests: the rendering of one frame has happened at least once.
    bool FirstFrameDrawn() const { return FFirstFrame; }

signals:
    void firstFrame();
    void generationFinished();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Prints on the "Print Sector" window's printer; askForFile: a PDF
    // printer without a file asks for one.  The number of sheets, 0 when
    // nothing was printed (a failure has been reported).
    int PrintWithChoice(const TPrintChoice &choice, bool askForFile);
    int PrintOnPrinter(const TVexaSector &sector, const TMapOptions &map, double pagesAcross, bool askForFile);
    void BuildActions();
    void BuildMenus();
    void BuildToolbar();
    void BuildDataPanel();
    void BuildStatusBar();
    void RestoreWindowPlace();
    void UpdateModifiedPanel();
    void ConnectCommands();
    void StartUp();
    void ApplySettings();
    void InitEmptySector();
    void ClearForNewDocument();
    void SetUpRecovery();
    void ApplyRecoverySettings();
    // The document now comes from a file again (opened, saved) or from
    // nothing: no copy of the old one is kept.
    void ForgetRecovered();
    void RebuildRecentMenu();
    void RebuildTemplateMenu();
    void RebuildViewsMenu();
    void RebuildSubmenus();
    bool DoSave(const QString &file, bool viaTempFile);
    std::optional<TNewSectorOptions> AskNewSectorOptions();
    void OnGenerationTimer();
    void OnGenerationFinished();
    void OnViewFirstPaint();
    void ShowContextMenu(const QPoint &globalPos);
    bool HandleViewMouse(QEvent *event);
    void ApplyDataPanelColors();
    void StopAll();
    void ReportError(const QString &text);
    void UpdateAxisKeys(QKeyEvent *event, bool down);
    bool KeyEventCapture(QEvent *event);
    void ReplayKeys();
    void BuildVideo();
    void BuildOrbitView();
    void UpdateOrbitChecks();
    void UpdateOrbitActions();
    void UpdateOrbitTexts();
    void OnOrbitTimer();
    bool HandleOrbitMouse(QEvent *event);
    void LeaveOrbitView();
    void ReleaseOrbitGL();
    void OrbitSectorLookChanged();
    void StoreOrbitCamera();
    void StartEditing();
    void ConnectSurfaceMapUsers();
    void ConnectEditCommands();
    void ConnectUndo();
    void EndDragStep();
    void AfterHistoryMove(bool ok);
    void UpdateEditActions(bool busy);
    void SetUpModels();
    void OnVideoViewFrame();
    void OnVideoRecordingChanged(bool recording);
    void FinishVideoOnClose();
    void ShutDownVideo();
    void SetUpScripting();
    void SetUpPlugins();
    void AddPluginItem(int index);
    void AddPluginButton(int index);
    void UpdatePluginActions();
    // A line in the answers log of a run answered from a file (which the
    // end-to-end tests wait on); nothing otherwise.
    void NoteForAnswers(const QString &kind, const QString &text);
    void RoutePlannerSectorChanged();
    void StartSurfaceMaps();
    void ApplySurfaceMapSettings();
    void SurfaceMapsForNewSector();
    void StopSurfaceMaps();
    // The status bar tells while surface maps are being made.
    void ShowSurfaceWork(int making);

    // The script host and the names it reaches outlive every run.
    std::unique_ptr<TScriptRegistry> FScriptNames;
    std::unique_ptr<TWindowScriptHost> FScriptApp;
    std::unique_ptr<TWindowScriptUI> FScriptUI;
    std::unique_ptr<TZentScripter> FScripter;
    std::unique_ptr<TVexaPluginMgr> FPlugins;
    std::vector<std::unique_ptr<TTravelCalcMethod>> FTravelMethods;
    std::vector<QAction *> FPluginActions;  // by plug-in index; null: none
    std::vector<QToolButton *> FPluginButtons;
    void ConnectEditBody();
    TfrmEditBody &PrepareEditBody(TStellarBody &body, bool politicalList);
    void AfterBodyEdited(TStellarBody &body);
    void StoreTerrainChoice(TStellarBody &body);

    TAppMessages &FMessages;
    TSettingsStore &FStore;
    TOptions FOptions;
    TAppSettings FSettings;
    TRecentFiles FRecent;
    std::unique_ptr<TVexaSector> FSector;
    // Before the renderer and the video capture, which draw through it.
    std::unique_ptr<T3dModelManager> FModelManager;
    std::unique_ptr<TRenderSectorOGL> FRenderer;
    std::unique_ptr<TRenderOrbitOGL> FOrbit;
    QTimer *FOrbitTimer = nullptr;
    std::unique_ptr<TVexaSearcher3> FSearcher;
    std::unique_ptr<TActionTable> FActions;
    std::unique_ptr<TSurfaceMapMgr> FSurfaceMaps;
    std::unique_ptr<TRenderSurfaceMaps> FSurfaceMapSource;

    TSectorGLWidget *FView = nullptr;
    QWidget *FCentre = nullptr;
    TSystemTree *FTree = nullptr;
    QLineEdit *FSearchBox = nullptr;
    QCheckBox *FRootOnly = nullptr;
    QTableWidget *FResults = nullptr;
    QSplitter *FSplitter = nullptr;
    QToolButton *FSplitterButton = nullptr;
    QWidget *FDataPanel = nullptr;
    int FRememberedPanelWidth = 260;
    QLabel *FStatus[4] = {};
    QLabel *FModifiedPanel = nullptr;
    QMenu *FContextMenu = nullptr;
    // Dialogs kept for the whole run once made (Sector Properties from the
    // start).
    TfrmSectorProperties *FSectorProperties = nullptr;
    TfrmSectorDate *FSectorDate = nullptr;
    TfrmSavedViews *FSavedViews = nullptr;
    TfrmSubsectors *FSubsectorEditor = nullptr;
    TfrmPreferences *FPreferences = nullptr;
    TfrmRecordVideo *FRecordVideo = nullptr;
    std::unique_ptr<TVideoRecorder> FVideo;
    std::unique_ptr<TViewCapture> FVideoCapture;
    bool FVideoFailing = false;
    TfrmSectorExport *FSectorExport = nullptr;
    TfrmPrintSector *FPrintSector = nullptr;
    TfrmDiagramExport *FDiagramExport = nullptr;
    TfrmDataImport *FDataImport = nullptr;
    TfrmSectorReport *FSectorReport = nullptr;
    TfrmSectorMerge *FSectorMerge = nullptr;
    TfrmVexaSearch3 *FSearchWindow = nullptr;
    TfrmProximityRoutes *FProximityRoutes = nullptr;
    TfrmRoutePlanner *FRoutePlanner = nullptr;
    // The travel calculator's last inputs, which time the planner's trips.
    std::unique_ptr<TTravelInputs> FPlanTravel;
    TEditHooks FEditHooks;
    TEditDialogs FEditDialogs;
    TfrmEditBody *FEditBody = nullptr;
    std::string FLastNameTable;
    QTimer *FGenerationTimer = nullptr;
    TRecoveryCopies *FRecovery = nullptr;
    bool FRecovered = false;
    QString FRecoveredTarget;
    QTimer *FAxisTimer = nullptr;

    int FMouseMode = MOUSE_MODE_POINTER;
    int FViewMode = VIEW_MODE_SECTOR;
    bool FLock = false;
    // Checked: scripts and deletions may free the body the window names.
    TCheckedPtr<TStellarBody> FCurrentBody;
    double FBodyCount = 0;
    bool FScriptRunning = false;
    bool FCloseWhenIdle = false;
    bool FFirstFrame = false;
    bool FPerformanceChecked = false;
    bool FSubsectorsAfterGeneration = false;
    std::int32_t FSubsectorCounts[3] = {2, 2, 2};
    std::string FSubsectorNameTable;
    TColor FSubsectorColor = 0;
    QString FSaveAsAfterGeneration;

    // Mouse and keys.
    QPoint FLastMouse;
    bool FDragging = false;
    bool FPreviewDragging = false;  // the drag began inside the preview inset
    bool FPointerDragMoved = false;
    bool FDragStepOpen = false;  // the drag moving systems is one undo step
    Qt::MouseButton FDragButton = Qt::NoButton;
    QSet<int> FAxisKeys;  // Qt::Key_X, Key_Y, Key_Z held
    int FLongOperations = 0;
    std::vector<std::unique_ptr<QKeyEvent>> FWaitingKeys;
};

// The program: the window over the file named on the command line, or the
// command-line demonstration where there is no display.
int RunKalvion(int argc, char **argv);

} // namespace kalvion::app
