// The main window's side of the body property dialog: "Properties" on the
// current body, the tree's double-click and menu, a new system's first
// edit, and what follows an "&Ok".
#include "app/MainWindow.h"

#include "app/ActionTable.h"
#include "app/AppMessages.h"
#include "app/SystemTree.h"
#include "app/editbody/EditBodyDialog.h"
#include "files/SurfaceMapStore.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "model/history/SectorHistory.h"
#include "surface/manager/SurfaceMapOps.h"

#include <QAction>
#include <QFile>
#include <QMenu>

namespace kalvion::app {

void TfrmVexaMain::ConnectEditBody()
{
    QAction *properties = FActions->Action(QStringLiteral("Body.Properties"));
    connect(properties, &QAction::triggered, this, &TfrmVexaMain::EditBodyProperties);
    connect(FTree, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        if (TStellarBody *body = FTree->BodyOf(item))
            EditBody(body);
    });
    // End-to-end runs click into the tree to reach a body: where it lies,
    // each time it is filled.
    connect(FTree->model(), &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex &parent) {
        if (parent.isValid())
            return;
        const QPoint origin = FTree->mapToGlobal(QPoint(0, 0));
        NoteForAnswers(QStringLiteral("tree"), QStringLiteral("%1 %2 %3 %4")
                                                   .arg(origin.x())
                                                   .arg(origin.y())
                                                   .arg(FTree->width())
                                                   .arg(FTree->height()));
    });
    FTree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(FTree, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        TStellarBody *body = FTree->BodyOf(FTree->itemAt(pos));
        if (!body)
            return;
        FTree->setCurrentItem(FTree->itemAt(pos));
        PickBody(body);
        QMenu menu(this);
        connect(menu.addAction(QStringLiteral("Properties")), &QAction::triggered, this, [this, body] { EditBody(body); });
        menu.exec(FTree->viewport()->mapToGlobal(pos));
    });
}

TfrmEditBody &TfrmVexaMain::PrepareEditBody(TStellarBody &body, bool politicalList)
{
    if (!FEditBody)
        FEditBody = new TfrmEditBody(FMessages, this);
    QStringList political;
    if (politicalList)
        for (const TVexaPolitical &p : FSector->PoliticalList)
            if (!p.Name.empty())
                political << QString::fromStdString(p.Name);
    FEditBody->Load(body, *FSector, political, FOptions.ProgramFolder);
    return *FEditBody;
}

void TfrmVexaMain::EditBodyProperties()
{
    if (FCurrentBody)
        EditBody(FCurrentBody);
}

void TfrmVexaMain::EditBody(TStellarBody *body)
{
    if (!body || GenerationRunning())
        return;
    PickBody(body);
    RunAsStep(QStringLiteral("Body Properties"), [&] {
        TfrmEditBody &dialog = PrepareEditBody(*body, true);
        // The dialog writes into the body when it is accepted; the political
        // list may take a new name.  A cancelled dialog leaves no step.
        FSector->History().TouchSystem(body);
        FSector->History().TouchPart(TSectorPart::Settings);
        if (dialog.exec() != QDialog::Accepted)
            return;
        AfterBodyEdited(*body);
    });
}

bool TfrmVexaMain::EditNewBody(TStellarBody *body)
{
    if (!body)
        return false;
    return PrepareEditBody(*body, false).exec() == QDialog::Accepted;
}

void TfrmVexaMain::AfterBodyEdited(TStellarBody &body)
{
    FSector->Modified = true;
    FSector->UpdatePoliticalFrom(body);
    body.UpdateRootBody();
    body.ModifySystem();
    if (!FEditBody->ChosenWorldFile().isEmpty() || FEditBody->TerrainCleared())
        StoreTerrainChoice(body);
    // The map in the background cache was made from the old values.
    SurfaceMapChanged(&body);
    UpdateCaption();
    RecountBodies();
    RefillTree();
    if (QTreeWidgetItem *item = FTree->ItemOf(&body))
        FTree->setCurrentItem(item);
    PickBody(&body);
    UpdateActions();
}

void TfrmVexaMain::StoreTerrainChoice(TStellarBody &body)
{
    // Terrain rows hang on the body's row in the sector file, so a body
    // never stored needs a save first.  The body's system is selected (the
    // tree shows only selected systems), and a save keeps selected systems
    // loaded, so the body outlives the save.
    if (body.RecordID <= 0) {
        if (FSector->Modified || FSector->FileName.empty()) {
            const TMsgAnswer answer = FMessages.Ask(
                QStringLiteral("Assigning or clearing a terrain map requires that the sector file first be saved.  "
                               "Save this sector?"),
                QStringLiteral("Save Sector"), TMsgButtons::YesNo, TMsgIcon::Question);
            if (answer != TMsgAnswer::Yes || !Save())
                return;
        }
        if (body.RecordID <= 0)
            return;
    }
    const std::string file = FSector->FileName;
    if (FEditBody->TerrainCleared()) {
        FSector->History().TouchSurfaceMap(body);
        DeleteSurfaceMap(file, body.RecordID);
        return;
    }
    // The stored picture is rendered from the very bytes stored, and a file
    // that does not load as a world is refused, so the sector never holds a
    // world without its picture.
    if (!StoreTerrainFile(*FSector, body, QFile::encodeName(FEditBody->ChosenWorldFile()).toStdString()))
        ReportError(QStringLiteral("The terrain file could not be stored: ") + FEditBody->ChosenWorldFile());
}

} // namespace kalvion::app
