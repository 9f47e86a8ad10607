// Wiring of the main window's commands, the Views menu, the Sector menu's
// switches, deleting systems, the quick search and the Help menu.
#include "app/MainWindow.h"

#include "app/ActionTable.h"
#include "app/AppMessages.h"
#include "app/SystemTree.h"
#include "app/sector/SavedViewsDialog.h"

#include "base/TextEncoding.h"
#include "base/Version.h"
#include "model/BodyTypes.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "render/RenderSectorOGL.h"
#include "search/QuickSearch.h"
#include "search/Searcher.h"

#include <QAction>
#include <QCheckBox>
#include <QDesktopServices>
#include <QEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QTableWidget>
#include <QUrl>

namespace kalvion::app {

namespace {
constexpr int MAX_VIEW_ITEMS = 20;

// Calls back whenever the watched widget is shown, moved or resized.
class TGeometryNote final : public QObject {
public:
    TGeometryNote(QObject *owner, std::function<void()> note) : QObject(owner), FNote(std::move(note)) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Move || event->type() == QEvent::Show)
            FNote();
        return false;
    }

private:
    std::function<void()> FNote;
};

QString Text(const std::string &s) { return QString::fromStdString(BytesToUtf8(s)); }
} // namespace

void TfrmVexaMain::ConnectCommands()
{
    // Each command is one step of the undo history, named after it.
    const auto on = [this](const char *id, auto slot) { ConnectAsStep(id, StepSlot(slot)); };
    on("File.NewBlank", [this] { BlankSector(); });
    on("File.NewStandard", [this] { NewStandardSector(); });
    on("File.Open", [this] { OpenCommand(); });
    on("File.Save", [this] { Save(); });
    on("File.SaveAs", [this] { SaveAs(); });
    on("File.ExportImage", [this] { ExportImage(); });
    on("File.Export2D", [this] { ExportMap(); });
    on("File.Print", [this] { PrintMap(); });
    on("File.ImportCsv", [this] { ImportCsv(); });
    on("File.Report", [this] { ReportCommand(); });
    on("File.ImportMerge", [this] { MergeCommand(); });
    on("File.Preferences", [this] { ShowPreferences(); });
    on("File.Recent1", [this] { OpenRecent(0); });
    on("File.Recent2", [this] { OpenRecent(1); });
    on("File.Recent3", [this] { OpenRecent(2); });
    on("File.Exit", [this] { ExitCommand(); });
    on("Sector.Properties", [this] { ShowSectorProperties(); });
    on("Sector.Subsectors", [this] { EditSubsectors(); });
    on("Sector.DisplayGrids", [this](bool checked) {
        FSector->GridsEnabled = checked;
        Redraw();
    });
    on("Sector.DisplayDate", [this](bool checked) {
        FSettings.DisplaySectorDate = checked;
        FRenderer->ShowDate = checked;
        if (!checked)
            FSector->RenderMessageSmall.clear();
        Redraw();
    });
    on("Sector.Lock", [this](bool checked) { SetLock(checked); });
    on("Sector.Date", [this] { SetSectorDate(); });
    on("Actions.Search", [this] { ShowSearchWindow(); });
    on("Actions.ProximityRoutes", [this] { CreateProximityRoutesCommand(); });
    on("Body.TravelCalculator", [this] { ShowTravelCalculator(); });
    on("Actions.PlanRoute", [this] { ShowRoutePlanner(); });
    on("Navigation.ResetView", [this] { ResetView(); });
    on("Navigation.Center", [this] { CenterOnTarget(); });
    on("Navigation.Slide", [this] { SlideToSelected(); });
    on("Navigation.ComboSlide", [this] { CombinedSlide(); });
    on("Navigation.OriginCurrent", [this] {
        FSector->SetOriginsFromCurrentView();
        FSector->Modified = true;
    });
    on("Navigation.OriginRestore", [this] {
        FSector->RestoreDefaultOrigins();
        ResetView();
    });
    on("Actions.DeleteSystems", [this] { DeleteSelectedSystems(); });
    on("Views.Add", [this] { AddAsView(); });
    on("Views.Saved", [this] { ShowSavedViews(); });
    for (const char *id : {"Filters.HideFiltered", "Filters.HideLabels", "Filters.ShowAll", "Filters.Populated",
                           "Filters.AnyHabitable", "Filters.Habitable", "Filters.Hospitable", "Filters.AllSubsectors",
                           "Filters.HideAllSubsectors", "Filters.HideUnassigned", "Filters.AllPolitical",
                           "Filters.AllRoutes", "Filters.HideAllRoutes"}) {
        const QString qid = QString::fromLatin1(id);
        on(id, [this, qid] { FilterCommand(qid); });
    }
    connect(FActions->Menu(QStringLiteral("Filters")), &QMenu::aboutToShow, this, &TfrmVexaMain::RefreshFilterMenu);
    on("Animations.Rotate", [this] { Rotate360(); });
    on("Animations.Whirl", [this] { Whirl(); });
    on("Animations.TourGuide", [this] { TourGuide(); });
    on("Animations.BonVoyage", [this] { BonVoyage(); });
    on("Animations.RecordVideo", [this] { RecordVideoCommand(); });
    on("Mode.Pan", [this] { SetMouseMode(MOUSE_MODE_PAN); });
    on("Mode.Pointer", [this] { SetMouseMode(MOUSE_MODE_POINTER); });
    on("Help.About", [this] {
        FMessages.Tell(QStringLiteral("Kalvion ") + QStringLiteral(KALVION_VERSION_TEXT) +
                           QStringLiteral("\nStar maps for writers and game masters."),
                       QStringLiteral("About Kalvion"), TMsgIcon::Information);
    });
    on("Help.Updates", [this] {
        FMessages.Tell(QStringLiteral("Updates to Kalvion come from your system's package manager."),
                       QStringLiteral("Check for Updates"), TMsgIcon::Information);
    });
    on("Help.Contents", [this] {
        // The user guide where it is installed, else the README beside it.
        const QStringList candidates = {
            FOptions.ProgramFolder + QStringLiteral("Help/guide.html"),
            FOptions.ProgramFolder + QStringLiteral("Help/guide.md"),
            FOptions.ProgramFolder + QStringLiteral("../doc/kalvion/guide.md"),
            FOptions.ProgramFolder + QStringLiteral("../../share/doc/kalvion/guide.md"),
            FOptions.ProgramFolder + QStringLiteral("README.md"),
            QStringLiteral(KALVION_SOURCE_DIR "/docs/guide.md"), QStringLiteral(KALVION_SOURCE_DIR "/README.md")};
        for (const QString &c : candidates) {
            if (QFileInfo::exists(c)) {
                QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(c).absoluteFilePath()));
                return;
            }
        }
        FMessages.Tell(QStringLiteral("The user guide could not be found."), QStringLiteral("Kalvion"),
                       TMsgIcon::Warning);
    });
    FTree->OnReassign = [this](TStellarBody *body, TStellarBody *newParent) {
        // A system dropped into another one is replaced by a copy and goes
        // with the next save: nothing may keep pointing at it, as after a
        // deletion.
        RunAsStep(QStringLiteral("Drag and Drop"), [&] {
            ForgetBody(body);
            FSector->ReassignChild(body, newParent);
            FSector->Modified = true;
            SectorChanged();
        });
    };
    connect(FTree, &TSystemTree::bodyPicked, this, &TfrmVexaMain::PickBody);
    // Where the quick-search box lies, for runs answered from a file: told
    // again whenever the layout moves it.
    FSearchBox->installEventFilter(new TGeometryNote(FSearchBox, [this] {
        const QPoint at = FSearchBox->mapToGlobal(QPoint(0, 0));
        NoteForAnswers(QStringLiteral("quicksearch"), QStringLiteral("%1 %2 %3 %4")
                                                          .arg(at.x())
                                                          .arg(at.y())
                                                          .arg(FSearchBox->width())
                                                          .arg(FSearchBox->height()));
    }));
    ConnectEditCommands();
    ConnectEditBody();
    ConnectUndo();
    connect(FResults, &QTableWidget::cellClicked, this, [this](int row, int) {
        TStellarBody *b = FSearcher->GetResult(row + 1);
        if (!b)
            return;
        TStellarBody *root = b;
        while (root->Parent)
            root = root->Parent;
        if (!root->Selected) {
            FSector->SelectAll(false);
            FSector->SelectBody(root);
        }
        RefillTree();
        PickBody(b);
        UpdateActions();
    });
}

void TfrmVexaMain::RebuildSubmenus()
{
    RebuildViewsMenu();
    RefreshFilterMenu();
    FActions->Action(QStringLiteral("Sector.DisplayGrids"))->setChecked(FSector->GridsEnabled);
    FActions->Action(QStringLiteral("Sector.Lock"))->setChecked(FLock);
}

void TfrmVexaMain::RebuildViewsMenu()
{
    QMenu *menu = FActions->Menu(QStringLiteral("Views"));
    for (QAction *a : menu->actions())
        if (a->objectName().startsWith(QLatin1String("Views.Item#")))
            delete a;
    std::vector<std::string> names;
    FSector->ViewsToList(names);
    for (int i = 0; i < static_cast<int>(names.size()) && i < MAX_VIEW_ITEMS; ++i) {
        const QString name = Text(names[static_cast<std::size_t>(i)]);
        QAction *a = menu->addAction(name);
        a->setObjectName(QStringLiteral("Views.Item#") + QString::number(i));
        const std::string raw = names[static_cast<std::size_t>(i)];
        connect(a, &QAction::triggered, this, [this, raw] { ApplyView(QString::fromStdString(raw)); });
    }
}

void TfrmVexaMain::AddAsView()
{
    if (AddViewAsked(*FSector, FMessages))
        RebuildViewsMenu();
}

void TfrmVexaMain::ApplyView(const QString &name)
{
    FSector->LoadView(name.toStdString());
    SectorChanged(false);
}

void TfrmVexaMain::DeleteSelectedSystems()
{
    if (FSector->SelectedCount() == 0)
        return;
    FTree->Clear();
    FCurrentBody = nullptr;
    FRenderer->PreviewBody = nullptr;
    FSearcher->Clear();
    FResults->setRowCount(0);
    ForgetSearchResults();
    FSector->DeleteSelectedSystems();
    FSector->Modified = true;
    SectorChanged();
}

void TfrmVexaMain::QuickSearch()
{
    const QString query = FSearchBox->text().trimmed();
    if (query.isEmpty())
        return;
    if (FSettings.SearchHistory.isEmpty() || FSettings.SearchHistory.back() != query)
        FSettings.SearchHistory << query;
    FSearcher->Sector = FSector.get();
    FSearcher->RootOnly = FRootOnly->isChecked();
    FSearcher->Search(QuickSearchQuery(query.toStdString(), FSector.get()));
    FResults->setRowCount(0);
    if (!FSearcher->ErrorText.empty()) {
        FMessages.Tell(Text(FSearcher->ErrorText), QStringLiteral("Search"), TMsgIcon::Warning);
        return;
    }
    const int n = FSearcher->GetResultCount();
    FResults->setRowCount(n);
    for (int i = 0; i < n; ++i) {
        const TStellarBody *b = FSearcher->GetResult(i + 1);
        FResults->setItem(i, 0, new QTableWidgetItem(Text(b->Name)));
        FResults->setItem(i, 1, new QTableWidgetItem(Text(NameFromBodyType(b->TypeID))));
    }
    QStringList names;
    for (int i = 0; i < n && i < 20; ++i)
        names << Text(FSearcher->GetResult(i + 1)->Name);
    NoteForAnswers(QStringLiteral("results"), names.join(QLatin1Char('|')));
}

} // namespace kalvion::app
