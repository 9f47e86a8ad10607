#include "app/MainWindow.h"

#include "app/ActionTable.h"
#include "app/AppMessages.h"
#include "app/QtMessages.h"
#include "app/RecoveryCopies.h"
#include "app/ScriptedMessages.h"
#include "app/SettingsStore.h"
#include "app/surface/TerrainProgramDetect.h"
#include "app/SystemTree.h"
#include "app/ToolbarIcons.h"
#include "app/pictures/PrintSectorDialog.h"
#include "app/sector/SectorPropertiesDialog.h"
#include "app/WindowCaption.h"
#include "app/scripts/WindowScriptHost.h"
#include "app/scripts/WindowScriptUI.h"
#include "app/travel/RoutePlannerWindow.h"
#include "app/video/RecordVideoDialog.h"
#include "app/video/ViewCapture.h"

#include "base/TextEncoding.h"
#include "files/SectorFile.h"
#include "generation/SectorGenerator.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "model/history/SectorHistory.h"
#include "plugins/PluginMgr.h"
#include "scripting/ScriptRegistry.h"
#include "scripting/ZentScripter.h"
#include "travel/TravelCalculator.h"
#include "render/RenderSectorOGL.h"
#include "render/models/ModelManager.h"
#include "render/SectorGLWidget.h"
#include "render/orbit/RenderOrbitOGL.h"
#include "render/video/VideoRecorder.h"
#include "search/Searcher.h"
#include "render/RenderSources.h"
#include "surface/manager/SurfaceMapMgr.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QSplitterHandle>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kalvion::app {

namespace {

// Menus in the order the window shows them.  ">Id" opens a submenu, "<"
// closes it, "-" is a separator, "@Id" marks a place filled at run time.
// clang-format off
const char *const FILE_MENU[] = {">File.New", "File.NewBlank", "File.NewStandard", "@File.GeneratorPlugins", "<",
    "File.Open", ">File.OpenTemplate", "<", "File.Save", "File.SaveAs", "-", "File.ExportImage", "File.Export2D", "-",
    "File.Preferences", "-", ">File.Import", "File.ImportMerge", "File.ImportCsv", "<", "File.Report", "-", "File.Print",
    "-File.RecentSeparator", "File.Recent1", "File.Recent2", "File.Recent3", "-", "File.Exit", nullptr};
const char *const EDIT_MENU[] = {"Edit.Undo", "Edit.Redo", nullptr};
const char *const SECTOR_MENU[] = {"Sector.Properties", "Sector.Subsectors", "-", "Sector.DisplayGrids",
    "Sector.DisplayDate", "Sector.Lock", "-", "Sector.Date", nullptr};
const char *const NAVIGATION_MENU[] = {"Navigation.ResetView", "Navigation.Center", "Navigation.Slide",
    "Navigation.ComboSlide", "-", ">Navigation.SetOrigin", "Navigation.OriginCurrent", "Navigation.OriginRestore", "<",
    nullptr};
const char *const ACTIONS_MENU[] = {"Actions.NewSystem", "Actions.DeleteSystems", "-", ">Actions.MassEdit",
    "Actions.MassPolitical", "Actions.MassDisplayStyle", "Actions.MassLabelDistances", "Actions.MassBlazons",
    "Actions.MassSphere", "Actions.MassDeleteRoutes", "<", "-", "Actions.CreateRoute", "Actions.ProximityRoutes",
    "Actions.PlanRoute", "-", "Actions.Search", nullptr};
const char *const VIEWS_MENU[] = {"Views.Add", "Views.Saved", "-", "@Views.List", nullptr};
const char *const ORBITS_MENU[] = {"Orbits.Forwards", "Orbits.Backwards", "-", "Orbits.Stopped", "Orbits.RealTime",
    "Orbits.Minute", "Orbits.Hours", "Orbits.Days", "Orbits.Week", "Orbits.Month", "Orbits.Year", "-",
    "Orbits.DisplayText", "Orbits.BodyNames", "Orbits.OrbitalPaths", "Orbits.PlanetAxis", nullptr};
const char *const FILTERS_MENU[] = {"Filters.HideFiltered", "Filters.HideLabels", "-", "Filters.ShowAll",
    "Filters.Populated", "-", "Filters.AnyHabitable", "Filters.Habitable", "Filters.Hospitable", "-",
    ">Filters.Subsector", "Filters.AllSubsectors", "Filters.HideAllSubsectors", "Filters.HideUnassigned", "-",
    "@Filters.SubsectorList", "<", ">Filters.Political", "Filters.AllPolitical", "-", "@Filters.PoliticalList", "<",
    ">Filters.Routes", "Filters.AllRoutes", "Filters.HideAllRoutes", "-", "@Filters.RouteList", "<",
    "@Filters.Plugins", nullptr};
const char *const ANIMATIONS_MENU[] = {"Animations.Rotate", "Animations.Whirl", "Animations.TourGuide",
    "Animations.BonVoyage", "-", "Animations.RecordVideo", nullptr};
const char *const PLUGINS_MENU[] = {"Plugins.Halt", "Plugins.RunFile", "-", "@Plugins.List", nullptr};
const char *const HELP_MENU[] = {"Help.Contents", "Help.Updates", "-", "Help.About", nullptr};
const TMenuDef MENUS[] = {
    {"File", "&File", FILE_MENU}, {"Edit", "Edit", EDIT_MENU}, {"Sector", "Sector", SECTOR_MENU}, {"Navigation", "Navigation", NAVIGATION_MENU},
    {"Actions", "Actions", ACTIONS_MENU}, {"Views", "Views", VIEWS_MENU}, {"Orbits", "Orbits", ORBITS_MENU},
    {"Filters", "Filters", FILTERS_MENU}, {"Animations", "Animations", ANIMATIONS_MENU},
    {"Plugins", "Plugins", PLUGINS_MENU}, {"Help", "Help", HELP_MENU}};
const char *const SUBMENU_TITLES[][2] = {{"File.New", "New"}, {"File.OpenTemplate", "Open Template"},
    {"File.Import", "Import"}, {"Navigation.SetOrigin", "Set Origin"}, {"Actions.MassEdit", "Mass Edit"},
    {"Filters.Subsector", "Subsector"}, {"Filters.Political", "Political"}, {"Filters.Routes", "Routes"}};
// clang-format on

QString SubmenuTitle(const QString &id)
{
    for (const auto &t : SUBMENU_TITLES)
        if (id == QLatin1String(t[0]))
            return QString::fromLatin1(t[1]);
    return id;
}

} // namespace

TfrmVexaMain::TfrmVexaMain(TAppMessages &messages, TSettingsStore &store, TOptions options, QWidget *parent)
    : QMainWindow(parent), FMessages(messages), FStore(store), FOptions(std::move(options)),
      FSettings(FOptions.ProgramFolder, QString()), FSector(std::make_unique<TVexaSector>()),
      FRenderer(std::make_unique<TRenderSectorOGL>()), FSearcher(std::make_unique<TVexaSearcher3>()),
      FActions(std::make_unique<TActionTable>(this))
{
    setObjectName(QStringLiteral("frmVexaMain"));
    resize(1100, 760);
    BuildActions();
    BuildMenus();
    BuildToolbar();
    BuildDataPanel();
    BuildStatusBar();
    ConnectCommands();
    StartUp();
}

TfrmVexaMain::~TfrmVexaMain()
{
    // The 3D view releases its GL resources through the renderer when it
    // goes; it must go before the renderer, which is a member and would
    // otherwise be destroyed before Qt deletes the child widgets.
    ReleaseOrbitGL();
    // Its path is handed to the renderer, which goes with the members.
    delete FRoutePlanner;
    delete FView;
    FView = nullptr;
    ShutDownVideo();
    // The generator's worker must not outlive the window that drains it.
    if (FSector->GenThreadMgr)
        SectorGenThreadMgr(*FSector).TerminateAndWait();
    FSector->OnGenerateFinished = nullptr;
}

void TfrmVexaMain::BuildActions()
{
    int count = 0;
    const TActionDef *defs = MainActionDefs(count);
    for (int i = 0; i < count; ++i)
        FActions->Add(defs[i]);
}

void TfrmVexaMain::BuildMenus()
{
    for (const auto &m : MENUS) {
        QMenu *menu = menuBar()->addMenu(QString::fromLatin1(m.Title));
        menu->setObjectName(QStringLiteral("menu") + QString::fromLatin1(m.Id));
        FActions->AddMenu(QString::fromLatin1(m.Id), menu);
        std::vector<QMenu *> stack{menu};
        for (const char *const *item = m.Items; *item; ++item) {
            const QString id = QString::fromLatin1(*item);
            if (id.startsWith(QLatin1Char('>'))) {
                QMenu *sub = stack.back()->addMenu(SubmenuTitle(id.mid(1)));
                sub->setObjectName(QStringLiteral("menu") + id.mid(1));
                FActions->AddMenu(id.mid(1), sub);
                stack.push_back(sub);
            } else if (id == QLatin1String("<")) {
                stack.pop_back();
            } else if (id.startsWith(QLatin1Char('-'))) {
                QAction *sep = stack.back()->addSeparator();
                if (id.size() > 1)
                    sep->setObjectName(id.mid(1));
            } else if (id.startsWith(QLatin1Char('@'))) {
                // A place filled at run time: remember the menu and the
                // action that follows the place.
                FActions->AddMenu(id.mid(1), stack.back());
            } else if (QAction *a = FActions->Action(id)) {
                stack.back()->addAction(a);
            }
        }
    }
    // Right-click menu of the 3D view.
    FContextMenu = new QMenu(this);
    FContextMenu->setObjectName(QStringLiteral("menuContext"));
    FContextMenu->addAction(FActions->Action(QStringLiteral("Body.Properties")));
    static const char *const STAR_KINDS[] = {"Blank", "Red Dwarf", "Yellow", "White / Blue", "Red Giant", "Blue Giant",
                                             "White Dwarf", "Brown Dwarf"};
    static const char *const PLANET_KINDS[] = {"Blank", "Earthlike", "Large, Barren", "Large, Thick Atmosphere",
                                               "Small, Rocky"};
    static const char *const GIANT_KINDS[] = {"Blank", "Small", "Large", "Massive"};
    static const char *const OTHER_KINDS[] = {"Asteroid Belt", "Planetoid", "Small Bodies", "Planetary System",
                                              "Ring", "Space Station", "Mega Structure", "Fleet", "Ship", "Marker"};
    // The kinds of body to add or insert; the editing commands wire them
    // and enable them (MainWindowEdit.cpp).
    const auto bodyKinds = [&](QMenu *menu) {
        QMenu *stars = menu->addMenu(QStringLiteral("Star"));
        for (const char *k : STAR_KINDS)
            stars->addAction(QString::fromLatin1(k))->setEnabled(false);
        menu->addAction(QStringLiteral("Close Multiple"))->setEnabled(false);
        QMenu *planets = menu->addMenu(QStringLiteral("Planet / Moon"));
        for (const char *k : PLANET_KINDS)
            planets->addAction(QString::fromLatin1(k))->setEnabled(false);
        QMenu *giants = menu->addMenu(QStringLiteral("Gas Giant"));
        for (const char *k : GIANT_KINDS)
            giants->addAction(QString::fromLatin1(k))->setEnabled(false);
        for (const char *k : OTHER_KINDS)
            menu->addAction(QString::fromLatin1(k))->setEnabled(false);
    };
    QMenu *addChild = FContextMenu->addMenu(QStringLiteral("Add Child"));
    addChild->setObjectName(QStringLiteral("menuAddChild"));
    bodyKinds(addChild);
    QMenu *insert = FContextMenu->addMenu(QStringLiteral("Insert Body"));
    insert->setObjectName(QStringLiteral("menuInsertBody"));
    bodyKinds(insert);
    QMenu *del = FContextMenu->addMenu(QStringLiteral("Delete"));
    del->addAction(FActions->Action(QStringLiteral("Body.DeleteBody")));
    del->addAction(FActions->Action(QStringLiteral("Body.DeleteContents")));
    del->addAction(FActions->Action(QStringLiteral("Body.DeleteRoute")));
    FContextMenu->addSeparator();
    FContextMenu->addAction(FActions->Action(QStringLiteral("Body.Regenerate")));
    FContextMenu->addAction(FActions->Action(QStringLiteral("Body.GenerateContents")));
    FContextMenu->addAction(FActions->Action(QStringLiteral("Body.GenerateContentsKeepName")));
    QMenu *changeType = FContextMenu->addMenu(QStringLiteral("Change Body Type"));
    changeType->setObjectName(QStringLiteral("menuChangeBodyType"));
    changeType->setEnabled(false);
    FContextMenu->addAction(FActions->Action(QStringLiteral("Body.ConvertToRoot")));
    FContextMenu->addSeparator();
    FContextMenu->addAction(FActions->Action(QStringLiteral("Body.TravelCalculator")));
    FContextMenu->addAction(FActions->Action(QStringLiteral("Body.CreateSurfaceMap")));
    FContextMenu->addAction(FActions->Action(QStringLiteral("Body.EditSurfaceMap")));
    FContextMenu->addAction(FActions->Action(QStringLiteral("Body.SystemDiagram")));
    FContextMenu->addAction(FActions->Action(QStringLiteral("Body.SectorMap")));
    FActions->AddMenu(QStringLiteral("Context"), FContextMenu);
    FActions->AddMenu(QStringLiteral("Context.AddChild"), addChild);
}

void TfrmVexaMain::BuildToolbar()
{
    QToolBar *bar = addToolBar(QStringLiteral("Tools"));
    bar->setObjectName(QStringLiteral("toolbarMain"));
    bar->setMovable(false);
    static const char *const BUTTONS[] = {"File.NewStandard", "File.Open", "File.Save", "File.Print", "Actions.Search",
                                          "-", "Edit.Undo", "Edit.Redo", "-", "Actions.NewSystem", "Actions.DeleteSystems", "Actions.CreateRoute",
                                          "Actions.ProximityRoutes", "Actions.PlanRoute", "-", "Navigation.ResetView", "Navigation.Center",
                                          "Navigation.Slide", "Navigation.ComboSlide", "Animations.TourGuide",
                                          "Animations.Rotate", "-", "Mode.Pan", "Mode.Pointer", "-", "Plugins.Halt",
                                          "Animations.RecordVideo"};
    // Toolbar buttons carry short captions; the hints say the rest.
    static const char *const SHORT[][2] = {{"File.NewStandard", "New"}, {"Actions.NewSystem", "New System"},
                                           {"Actions.DeleteSystems", "Delete"}, {"Actions.CreateRoute", "Route"},
                                           {"Actions.ProximityRoutes", "Proximity"}, {"Navigation.ResetView", "Reset"},
                                           {"Navigation.Center", "Center"}, {"Navigation.Slide", "Slide"},
                                           {"Navigation.ComboSlide", "Combined"}, {"Animations.TourGuide", "Tour"},
                                           {"Animations.Rotate", "Rotate"}, {"Plugins.Halt", "Halt"},
                                           {"Animations.RecordVideo", "Record"}, {"File.Open", "Open"},
                                           {"File.Save", "Save"}, {"File.Print", "Print"}, {"Edit.Undo", "Undo"},
                                           {"Edit.Redo", "Redo"},
                                           {"Actions.PlanRoute", "Plan Route"}};
    for (const auto &s : SHORT)
        FActions->Action(QString::fromLatin1(s[0]))->setIconText(QString::fromLatin1(s[1]));
    for (const char *id : BUTTONS) {
        if (*id == '-') {
            bar->addSeparator();
            continue;
        }
        QAction *a = FActions->Action(QString::fromLatin1(id));
        DressToolbarAction(*a, QString::fromLatin1(id));
        bar->addAction(a);
    }
    // Pictures only: 26 captions do not fit beside each other; the
    // tooltips name each button.  The icons are drawn for the screen's scale.
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->setIconSize(QSize(24, 24));
    auto *modes = new QActionGroup(this);
    modes->addAction(FActions->Action(QStringLiteral("Mode.Pan")));
    modes->addAction(FActions->Action(QStringLiteral("Mode.Pointer")));
    modes->setExclusive(true);
}

void TfrmVexaMain::BuildDataPanel()
{
    FDataPanel = new QWidget;
    FDataPanel->setObjectName(QStringLiteral("panelData"));
    auto *layout = new QVBoxLayout(FDataPanel);
    layout->setContentsMargins(2, 2, 2, 2);
    auto *heading = new QLabel(QStringLiteral("System Data"));
    heading->setObjectName(QStringLiteral("labelSystemData"));
    layout->addWidget(heading);
    FTree = new TSystemTree;
    layout->addWidget(FTree, 3);
    auto *searchRow = new QHBoxLayout;
    FSearchBox = new QLineEdit;
    FSearchBox->setObjectName(QStringLiteral("editQuickSearch"));
    auto *searchButton = new QPushButton(QStringLiteral("Search"));
    searchButton->setObjectName(QStringLiteral("buttonQuickSearch"));
    searchRow->addWidget(FSearchBox, 1);
    searchRow->addWidget(searchButton);
    layout->addLayout(searchRow);
    FRootOnly = new QCheckBox(QStringLiteral("Root bodies only"));
    FRootOnly->setObjectName(QStringLiteral("checkRootOnly"));
    layout->addWidget(FRootOnly);
    FResults = new QTableWidget(0, 2);
    FResults->setObjectName(QStringLiteral("gridQuickSearch"));
    FResults->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Type")});
    FResults->horizontalHeader()->setStretchLastSection(true);
    FResults->verticalHeader()->hide();
    FResults->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FResults->setSelectionBehavior(QAbstractItemView::SelectRows);
    layout->addWidget(FResults, 2);
    connect(searchButton, &QPushButton::clicked, this, &TfrmVexaMain::QuickSearch);
    connect(FSearchBox, &QLineEdit::returnPressed, this, &TfrmVexaMain::QuickSearch);

    FCentre = new QWidget;
    auto *centreLayout = new QVBoxLayout(FCentre);
    centreLayout->setContentsMargins(0, 0, 0, 0);
    if (!FOptions.SkipGL) {
        FView = new TSectorGLWidget(*FRenderer);
        FView->setObjectName(QStringLiteral("viewSector"));
        FView->setFocusPolicy(Qt::StrongFocus);
        FView->installEventFilter(this);
        FView->setMouseTracking(false);
        centreLayout->addWidget(FView);
    } else {
        auto *placeholder = new QWidget;
        placeholder->setObjectName(QStringLiteral("viewSector"));
        placeholder->setFocusPolicy(Qt::StrongFocus);
        centreLayout->addWidget(placeholder);
    }

    FSplitter = new QSplitter(Qt::Horizontal);
    FSplitter->setObjectName(QStringLiteral("splitterMain"));
    FSplitter->addWidget(FDataPanel);
    FSplitter->addWidget(FCentre);
    FSplitter->setStretchFactor(1, 1);
    FSplitter->setSizes({FRememberedPanelWidth, 840});
    // The button on the splitter collapses the data panel and restores it.
    FSplitter->setHandleWidth(14);
    QSplitterHandle *handle = FSplitter->handle(1);
    auto *handleLayout = new QVBoxLayout(handle);
    handleLayout->setContentsMargins(0, 0, 0, 0);
    FSplitterButton = new QToolButton(handle);
    FSplitterButton->setObjectName(QStringLiteral("buttonCollapsePanel"));
    FSplitterButton->setText(QStringLiteral("◀"));
    FSplitterButton->setAutoRaise(true);
    FSplitterButton->setFixedWidth(14);
    handleLayout->addStretch(1);
    handleLayout->addWidget(FSplitterButton);
    handleLayout->addStretch(1);
    connect(FSplitterButton, &QToolButton::clicked, this, [this] {
        const QList<int> sizes = FSplitter->sizes();
        if (sizes[0] > 0) {
            FRememberedPanelWidth = sizes[0];
            FSplitter->setSizes({0, sizes[0] + sizes[1]});
            FSplitterButton->setText(QStringLiteral("▶"));
        } else {
            FSplitter->setSizes({FRememberedPanelWidth, std::max(1, sizes[1] - FRememberedPanelWidth)});
            FSplitterButton->setText(QStringLiteral("◀"));
        }
    });
    setCentralWidget(FSplitter);
}

void TfrmVexaMain::BuildStatusBar()
{
    static const int WIDTHS[4] = {150, 200, 200, 300};
    for (int i = 0; i < 4; ++i) {
        FStatus[i] = new QLabel;
        FStatus[i]->setObjectName(QStringLiteral("statusPanel") + QString::number(i));
        FStatus[i]->setMinimumWidth(WIDTHS[i]);
        statusBar()->addWidget(FStatus[i], i == 3 ? 1 : 0);
    }
    // Unsaved changes, at the right end; the caption stays as it is.
    FModifiedPanel = new QLabel;
    FModifiedPanel->setObjectName(QStringLiteral("statusModified"));
    statusBar()->addPermanentWidget(FModifiedPanel);
}

void TfrmVexaMain::RestoreWindowPlace()
{
    // A place saved on a screen that is gone is moved onto one that is
    // there by Qt itself.
    if (!FSettings.WindowGeometry.isEmpty())
        restoreGeometry(QByteArray::fromBase64(FSettings.WindowGeometry.toLatin1()));
    if (!FSettings.SplitterState.isEmpty())
        FSplitter->restoreState(QByteArray::fromBase64(FSettings.SplitterState.toLatin1()));
}

void TfrmVexaMain::UpdateModifiedPanel()
{
    if (FModifiedPanel)
        FModifiedPanel->setText(FSector->Modified ? QStringLiteral("Modified") : QString());
}

void TfrmVexaMain::StartUp()
{
    // The installation record: where the program lies, for scripts and
    // companion programs that look for it.
    FStore.SetValue(QStringLiteral("InstallDir"), FOptions.ProgramFolder);
    FStore.SetValue(QStringLiteral("ExeFile"), QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    FSettings.Read(FStore);
    FSector->History().SetLimit(FSettings.UndoLimit);
    RestoreWindowPlace();
    SetUpRecovery();
    FRecent.Entries = FSettings.RecentFiles;
    // The view was made before the settings were read; it has not been
    // shown yet, so its format can still change.
    if (FView)
        FView->setFormat(SectorSurfaceFormat(FSettings.EnableMultisample ? 4 : 0));
    SetUpModels();
    // Before the surface map manager starts, so that it follows a choice
    // made now.
    ApplyDetectedTerrainProgram(FSettings, FMessages, DetectTerrainProgram());
    FLock = FSettings.AutoLock;
    for (int i = 0; i < 16; ++i) {
        const QColor c(FSettings.CustomColors[static_cast<std::size_t>(i)]);
        if (c.isValid())
            TQtMessages::SetCustomColor(i, c);
    }
    ApplySettings();
    StartSurfaceMaps();
    StartEditing();
    InitEmptySector();
    // "Sector Properties" lives for the whole run.
    FSectorProperties = new TfrmSectorProperties(FMessages, this);
    BuildVideo();
    BuildOrbitView();
    FOrbit->ModelManager = FModelManager.get();
    ConnectSurfaceMapUsers();
    // So is "Print Sector", keeping its printer and choices.
    FPrintSector = new TfrmPrintSector(FMessages, this);
    SetUpScripting();
    SetUpPlugins();
    FSearcher->Sector = FSector.get();
    FSearcher->ResultLimit = 500;
    if (FView) {
        FView->SetSector(FSector.get());
        connect(FView, &TSectorGLWidget::frameDrawn, this, &TfrmVexaMain::OnViewFirstPaint);
    }
    FGenerationTimer = new QTimer(this);
    FGenerationTimer->setInterval(100);
    connect(FGenerationTimer, &QTimer::timeout, this, &TfrmVexaMain::OnGenerationTimer);
    if (!FOptions.FileToOpen.isEmpty() && QFileInfo::exists(FOptions.FileToOpen)) {
        // Opened as File ▸ Open opens it: an older file is converted only
        // when the user agrees and names the new file.
        OpenSectorFile(FOptions.FileToOpen);
    }
    SetMouseMode(MOUSE_MODE_POINTER);
    RebuildRecentMenu();
    RebuildTemplateMenu();
    RebuildSubmenus();
    RecountBodies();
    UpdateCaption();
    UpdateStatus();
    UpdateActions();
}

void TfrmVexaMain::ApplySettings()
{
    FRenderer->LensFlare = FSettings.ShowLensFlares;
    FRenderer->ShowDate = FSettings.DisplaySectorDate;
    FActions->Action(QStringLiteral("Sector.DisplayDate"))->setChecked(FSettings.DisplaySectorDate);
    ApplyDataPanelColors();
}

void TfrmVexaMain::ApplyDataPanelColors()
{
    FTree->SetColors(FSettings.DataBackgroundColor, FSettings.DataLabelColor, FSettings.DataPopulatedColor);
    const QString label = QColor::fromRgb(ColorToQRgb(FSettings.DataLabelColor)).name();
    const QString back = QColor::fromRgb(ColorToQRgb(FSettings.DataBackgroundColor)).name();
    if (auto *heading = FDataPanel->findChild<QLabel *>(QStringLiteral("labelSystemData")))
        heading->setStyleSheet(QStringLiteral("QLabel { color: %1; background-color: %2; "
                                              "border-top: 1px solid %1; border-bottom: 1px solid %1; }")
                                   .arg(label, back));
}

void TfrmVexaMain::InitEmptySector()
{
    TVexaSector &s = *FSector;
    if (FSettings.SectorX > 0) {
        s.SizeX = s.GridX = FSettings.SectorX;
        s.SizeY = s.GridY = FSettings.SectorY;
        s.SizeZ = s.GridZ = FSettings.SectorZ;
        s.Spherical = FSettings.SectorIsSphere;
        s.GridStyle = FSettings.SectorGrid;
        s.GridTick = FSettings.SectorGridTick;
        s.GridTickLabels = FSettings.SectorTickLabels;
        s.GridColor = FSettings.SectorGridColor;
        s.RestoreDefaultOrigins();
        s.ResetCamera();
        s.SetCameraDistance(2.5 * s.SizeX);
    }
    s.SetFilters();
    s.Modified = false;
}

QString TfrmVexaMain::CaptionText() const { return SectorCaption(*FSector, FBodyCount); }

void TfrmVexaMain::UpdateCaption()
{
    setWindowTitle(CaptionText());
    UpdateModifiedPanel();
}

void TfrmVexaMain::RecountBodies()
{
    FSector->UpdateVisibleCount();
    FBodyCount = FSector->GetSectorBodyCount();
}

void TfrmVexaMain::UpdateStatus()
{
    const TVexaSector &s = *FSector;
    UpdateModifiedPanel();
    FStatus[1]->setText(QStringLiteral("Camera: ") + PointText(s.Camera));
    FStatus[2]->setText(QStringLiteral("Target: ") + PointText(s.Target));
    if (s.SelectedCount() > 0) {
        const TStellarBody *b = s.GetSelected(0);
        FStatus[3]->setText(QString::fromStdString(BytesToUtf8(b->Name)) + QLatin1Char(' ') +
                            PointText(TVexaPoint{b->X, b->Y, b->Z}));
    } else {
        FStatus[3]->clear();
    }
}

void TfrmVexaMain::Redraw()
{
    UpdateStatus();
    if (FView)
        FView->repaint();
}

void TfrmVexaMain::SectorChanged(bool contents)
{
    if (FRecovery)
        FRecovery->NoteChange();
    if (contents)
        RecountBodies();
    else
        FSector->UpdateVisibleCount();
    UpdateCaption();
    RefillTree();
    RebuildSubmenus();
    UpdateActions();
    RoutePlannerSectorChanged();
    Redraw();
}

bool TfrmVexaMain::GenerationRunning() const
{
    return FSector->GenThreadMgr && FSector->GenThreadMgr->IsRunning();
}

const QString &TfrmVexaMain::QuickSearchText() const
{
    static QString text;
    text = FSearchBox->text();
    return text;
}

void TfrmVexaMain::UpdateActions()
{
    UpdateUndoActions();
    const auto set = [this](const char *id, bool on) { FActions->Action(QString::fromLatin1(id))->setEnabled(on); };
    const bool busy = GenerationRunning() || FLongOperations > 0;
    const int selected = FSector->SelectedCount();
    for (const char *id : {"File.NewBlank", "File.NewStandard", "File.Open", "File.Save", "File.SaveAs",
                           "Sector.Properties", "Sector.Subsectors", "Sector.Date", "Views.Add", "Views.Saved",
                           "Navigation.OriginCurrent", "Navigation.OriginRestore"})
        set(id, !busy);
    set("File.ExportImage", FView != nullptr);
    set("Actions.DeleteSystems", !busy && selected > 0);
    set("Navigation.Center", selected > 0);
    set("Navigation.Slide", selected > 0);
    set("Navigation.ComboSlide", selected >= 2);
    const bool hasSystems = FSector->SystemCount() > 0;
    set("Animations.TourGuide", !busy && hasSystems);
    set("Animations.BonVoyage", !busy && hasSystems);
    set("Animations.Rotate", !busy);
    set("Animations.Whirl", !busy);
    set("Body.SectorMap", FViewMode == VIEW_MODE_ORBIT);
    set("Body.SystemDiagram", !busy && FCurrentBody != nullptr);
    set("Actions.Search", !busy);
    set("Actions.ProximityRoutes", !busy && hasSystems);
    set("Body.TravelCalculator", !busy && selected > 0);
    set("Actions.PlanRoute", !busy && FSector->SystemCount() > 1);
    set("Body.Properties", !busy && selected == 1 && FCurrentBody != nullptr);
    // Commands whose windows belong to features not in this program yet:
    // shown, never enabled.
    set("File.Export2D", !busy);
    set("File.Print", !busy);
    set("File.ImportCsv", !busy);
    set("File.Report", !busy);
    set("File.ImportMerge", !busy);
    UpdateOrbitActions();
    UpdateEditActions(busy);
    UpdatePluginActions();
}

void TfrmVexaMain::RefillTree()
{
    FTree->Clear();
    FSector->FillTreeSelected(*FTree);
    if (FSector->SelectedCount() == 1)
        FCurrentBody = FSector->GetSelected(0);
    else if (FSector->SelectedCount() == 0)
        FCurrentBody = nullptr;
}

void TfrmVexaMain::PickBody(TStellarBody *body)
{
    FCurrentBody = body;
    FRenderer->PreviewBody = body;
    RequestSurfaceMap(body);
    if (FViewMode == VIEW_MODE_ORBIT && body) {
        ShowOrbitView(body);
        return;
    }
    Redraw();
}

void TfrmVexaMain::ReportError(const QString &text) { FMessages.Tell(text, QStringLiteral("Kalvion"), TMsgIcon::Error); }

void TfrmVexaMain::OnViewFirstPaint()
{
    if (FFirstFrame)
        return;
    FFirstFrame = true;
    emit firstFrame();
    if (auto *scripted = dynamic_cast<TScriptedMessages *>(&FMessages); scripted && FView) {
        const QPoint origin = FView->mapToGlobal(QPoint(0, 0));
        scripted->Note(QStringLiteral("view"), QStringLiteral("%1 %2 %3 %4")
                                                   .arg(origin.x())
                                                   .arg(origin.y())
                                                   .arg(FView->width())
                                                   .arg(FView->height()));
    }
    if (FOptions.ExitAfterFirstFrame) {
        QTimer::singleShot(0, this, [this] { close(); });
        return;
    }
    if (!FOptions.ScreenshotFile.isEmpty()) {
        QTimer::singleShot(300, this, [this] {
            if (!grab().save(FOptions.ScreenshotFile))
                qWarning("kalvion: cannot write %s", qPrintable(FOptions.ScreenshotFile));
            close();
        });
        return;
    }
    if (!FSettings.PerformanceSkip && !FPerformanceChecked) {
        FPerformanceChecked = true;
        QTimer::singleShot(0, this, &TfrmVexaMain::PerformanceCheck);
    }
}

void TfrmVexaMain::closeEvent(QCloseEvent *event)
{
    if (FScriptRunning) {
        // Closing halts the running script; the window closes once it ends.
        HaltScript();
        event->ignore();
        QTimer::singleShot(50, this, [this] { close(); });
        return;
    }
    if (FLongOperations > 0 || GenerationRunning()) {
        // A close request while work runs on the sector: stop the work and
        // close once nothing runs, never free the sector under it.
        FCloseWhenIdle = true;
        StopAll();
        event->ignore();
        QTimer::singleShot(50, this, [this] { close(); });
        return;
    }
    FCloseWhenIdle = false;
    if (FSector->Modified) {
        const QString name = FSector->FileName.empty() || FSector->FileName == GenerateTempFile()
                                 ? QStringLiteral("Untitled")
                                 : QFileInfo(QString::fromStdString(FSector->FileName)).fileName();
        const TMsgAnswer a =
            FMessages.Ask(QStringLiteral("Do you want to save the changes you made to \"") + name + QLatin1Char('"'),
                          QStringLiteral("Kalvion"), TMsgButtons::YesNoCancel, TMsgIcon::Warning);
        if (a == TMsgAnswer::Cancel || (a == TMsgAnswer::Yes && (!Save() || FSector->Modified))) {
            event->ignore();
            return;
        }
    }
    // Closed as the user chose: nothing is left to recover.
    FRecovery->DocumentClosed();
    FinishVideoOnClose();
    FSettings.DisabledPlugins = DisabledPluginNames();
    FSettings.WindowGeometry = QString::fromLatin1(saveGeometry().toBase64());
    FSettings.SplitterState = QString::fromLatin1(FSplitter->saveState().toBase64());
    // Settings of the closing list that follow the current sector.
    FSettings.RecentFiles = FRecent.Entries;
    FSettings.SectorX = FSector->SizeX;
    FSettings.SectorY = FSector->SizeY;
    FSettings.SectorZ = FSector->SizeZ;
    FSettings.SectorIsSphere = FSector->Spherical;
    FSettings.SectorGrid = FSector->GridStyle;
    FSettings.SectorGridTick = FSector->GridTick;
    FSettings.SectorTickLabels = FSector->GridTickLabels;
    FSettings.SectorGridColor = FSector->GridColor;
    for (int i = 0; i < 16; ++i) {
        const QColor c = TQtMessages::CustomColor(i);
        FSettings.CustomColors[static_cast<std::size_t>(i)] = c.isValid() ? c.name() : QString();
    }
    FSettings.Write(FStore, FOptions.ProgramFolder);
    StopSurfaceMaps();
    event->accept();
}

void TfrmVexaMain::StopAll()
{
    if (GenerationRunning())
        SectorGenThreadMgr(*FSector).Terminate();
    // Animations poll for a waiting key; a synthetic Escape stops them.
    if (FLongOperations > 0)
        FWaitingKeys.push_back(
            std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString()));
}

} // namespace kalvion::app
