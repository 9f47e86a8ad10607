// The editing commands of the main window: New System, Create Route, the
// Mass Edit windows, the grid styles and the right-click menu's body
// commands.
#include "app/MainWindow.h"

#include "app/ActionTable.h"
#include "app/AppMessages.h"
#include "app/SettingsStore.h"
#include "app/SystemTree.h"
#include "app/edit/BodyKinds.h"
#include "app/edit/CreateRouteDialog.h"
#include "app/edit/GridStylesDialog.h"
#include "app/edit/MassEditDialogs.h"
#include "app/edit/NewSystemDialog.h"

#include "generation/QuickGenerate.h"
#include "generation/SectorGenerator.h"
#include "generation/SystemGenerator.h"
#include "model/BodyTypes.h"
#include "model/RouteStops.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "model/history/SectorHistory.h"
#include "render/RenderSectorOGL.h"
#include "search/Searcher.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QProcess>
#include <QTableWidget>

namespace kalvion::app {

namespace {

// Every body type code, in the order of the "Change Body Type" menu.
constexpr int BODY_TYPE_CODES[] = {0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12, 13,
                                   100, 101, 102, 103, 104, 105, 106, 107, 200, 201, 202};

bool IsWithin(const TStellarBody *candidate, const TStellarBody *body)
{
    for (const TStellarBody *b = candidate; b; b = b->Parent)
        if (b == body)
            return true;
    return false;
}

std::string NameTableOrDefault(const std::string &table)
{
    return table.empty() ? std::string(VEXA_DEFAULT_NAME_TABLE) : table;
}

} // namespace

void TfrmVexaMain::StartEditing()
{
    FEditHooks.WorldEditor = TSettingsStore::CompanionProgram(QStringLiteral("Gexworld"), QStringLiteral("1.8"));
    FEditHooks.EditNewBody = [this](TStellarBody *body) { return EditNewBody(body); };
    FEditHooks.StartProgram = [](const QString &program, const QStringList &arguments) {
        return QProcess::startDetached(program, arguments);
    };
}

TStellarBody *TfrmVexaMain::PreviewBody() const { return FRenderer->PreviewBody; }

void TfrmVexaMain::ConnectEditCommands()
{
    // Each command is one step of the undo history, named after it.
    const auto on = [this](const char *id, auto slot) { ConnectAsStep(id, StepSlot(slot)); };
    on("Actions.NewSystem", [this] { NewSystemCommand(); });
    on("Actions.CreateRoute", [this] { CreateRouteCommand(); });
    for (const char *id : {"Actions.MassPolitical", "Actions.MassDisplayStyle", "Actions.MassLabelDistances",
                           "Actions.MassBlazons", "Actions.MassSphere", "Actions.MassDeleteRoutes"}) {
        const QString qid = QString::fromLatin1(id);
        on(id, [this, qid] { MassEditCommand(qid); });
    }
    on("Sector.GridStyles", [this] { GridStylesCommand(); });
    // Ctrl+G has no menu item: the window itself carries the action.
    addAction(FActions->Action(QStringLiteral("Sector.GridStyles")));
    on("Body.DeleteBody", [this] { DeleteCurrentBody(); });
    on("Body.DeleteContents", [this] { DeleteSystemContents(); });
    on("Body.DeleteRoute", [this] { DeleteSelectedRoutesCommand(); });
    on("Body.Regenerate", [this] { RegenerateCommand(0); });
    on("Body.GenerateContents", [this] { RegenerateCommand(1); });
    on("Body.GenerateContentsKeepName", [this] { RegenerateCommand(2); });
    on("Body.ConvertToRoot", [this] { ConvertToRootCommand(); });
    on("Body.CreateSurfaceMap", [this] { CreateSurfaceMapCommand(); });
    on("Body.EditSurfaceMap", [this] { EditSurfaceMapCommand(); });

    // The kinds of "Add Child" and "Insert Body" stand in the menus in the
    // order of the kinds table.
    const auto wireKinds = [this](QMenu *menu, bool insert, const QString &prefix) {
        if (!menu)
            return;
        int kind = 0;
        std::function<void(QMenu *)> walk = [&](QMenu *m) {
            for (QAction *a : m->actions()) {
                if (a->menu()) {
                    walk(a->menu());
                } else if (!a->isSeparator() && kind < BodyKindCount()) {
                    const int k = kind++;
                    a->setObjectName(prefix + QString::number(k));
                    a->setEnabled(true);
                    connect(a, &QAction::triggered, this, [this, k, insert] {
                        RunAsStep(insert ? QStringLiteral("Insert Body") : QStringLiteral("Add Child"),
                                  [&] { AddBodyCommand(k, insert); });
                    });
                }
            }
        };
        walk(menu);
    };
    wireKinds(FActions->Menu(QStringLiteral("Context.AddChild")), false, QStringLiteral("AddChild."));
    wireKinds(FContextMenu->findChild<QMenu *>(QStringLiteral("menuInsertBody")), true, QStringLiteral("InsertBody."));
    for (int k = 0; k < BodyKindCount(); ++k)
        if (QString::fromLatin1(BodyKindAt(k).Text) == QLatin1String("Close Multiple"))
            on("Body.CloseMultiple", [this, k] { AddBodyCommand(k, false); });

    if (auto *changeType = FContextMenu->findChild<QMenu *>(QStringLiteral("menuChangeBodyType"))) {
        for (int code : BODY_TYPE_CODES) {
            QAction *a = changeType->addAction(QString::fromStdString(NameFromBodyType(code)));
            a->setObjectName(QStringLiteral("ChangeType.") + QString::number(code));
            connect(a, &QAction::triggered, this, [this, code] {
                RunAsStep(QStringLiteral("Change Body Type"), [&] { ChangeBodyTypeCommand(code); });
            });
        }
    }
    // The enabled states follow the body picked in the tree.
    connect(FTree, &TSystemTree::bodyPicked, this, [this] { UpdateActions(); });
}

void TfrmVexaMain::UpdateEditActions(bool busy)
{
    const auto set = [this](const char *id, bool on) { FActions->Action(QString::fromLatin1(id))->setEnabled(on); };
    const int selected = FSector->SelectedCount();
    TStellarBody *body = FCurrentBody;
    for (const char *id : {"Sector.GridStyles", "Actions.NewSystem", "Actions.MassPolitical",
                           "Actions.MassDisplayStyle", "Actions.MassLabelDistances", "Actions.MassBlazons",
                           "Actions.MassSphere", "Actions.MassDeleteRoutes"})
        set(id, !busy);
    set("Actions.CreateRoute", !busy && selected >= 2);
    const bool oneSystem = !busy && selected == 1 && body;
    set("Body.CloseMultiple", oneSystem);
    for (const char *id : {"Body.DeleteBody", "Body.DeleteContents", "Body.Regenerate", "Body.GenerateContents",
                           "Body.GenerateContentsKeepName", "Body.CreateSurfaceMap", "Body.EditSurfaceMap"})
        set(id, !busy && body);
    set("Body.DeleteRoute", !busy && FSector->RoutesSelected());
    set("Body.ConvertToRoot", !busy && body && body->Parent);
    if (QMenu *add = FActions->Menu(QStringLiteral("Context.AddChild")))
        add->setEnabled(oneSystem);
    if (auto *insert = FContextMenu->findChild<QMenu *>(QStringLiteral("menuInsertBody")))
        insert->setEnabled(!busy && body && body->Parent);
    if (auto *changeType = FContextMenu->findChild<QMenu *>(QStringLiteral("menuChangeBodyType")))
        changeType->setEnabled(!busy && body);
}

void TfrmVexaMain::ForgetBody(const TStellarBody *body)
{
    if (!body)
        return;
    if (IsWithin(FCurrentBody, body))
        FCurrentBody = nullptr;
    if (IsWithin(FRenderer->PreviewBody, body))
        FRenderer->PreviewBody = nullptr;
    FTree->Clear();
    // The result lists point at bodies anywhere in the sector.
    FSearcher->Clear();
    FResults->setRowCount(0);
    ForgetSearchResults();
}

// ---- New System ----

TStellarBody *TfrmVexaMain::NewSystemCommand()
{
    if (!FEditDialogs.NewSystem) {
        FEditDialogs.NewSystem = new TfrmNewSystem(this);
        TNewSystemChoice defaults;
        defaults.NameTable = VEXA_DEFAULT_NAME_TABLE;
        // The standard generator leads the list; the plug-ins' follow it.
        std::vector<std::string> plugins = BodyGeneratorNames();
        if (!plugins.empty())
            plugins.erase(plugins.begin());
        FEditDialogs.NewSystem->Prepare(NameTableFiles(), plugins, ReadNewSystemChoice(FStore, defaults));
    }
    if (!FLastNameTable.empty())
        FEditDialogs.NewSystem->PresetNameTable(FLastNameTable);
    if (FEditDialogs.NewSystem->exec() != QDialog::Accepted)
        return nullptr;
    const TNewSystemChoice choice = FEditDialogs.NewSystem->Choice();
    WriteNewSystemChoice(FStore, choice);
    return PlaceNewSystem(choice);
}

TStellarBody *TfrmVexaMain::PlaceNewSystem(const TNewSystemChoice &choice)
{
    FLastNameTable = NameTableOrDefault(choice.NameTable);
    if (choice.Generator != 0) {
        // Generators of plug-ins place their systems themselves, from the
        // dialog's choices in the generate options.
        const std::vector<std::string> names = BodyGeneratorNames();
        if (choice.Generator < 0 || static_cast<std::size_t>(choice.Generator) >= names.size())
            return nullptr;
        TVexaGenerateOptions options;
        options.BodyType = choice.SystemType;
        options.NameGenerator = FLastNameTable;
        options.GenContents = choice.GenerateContents;
        options.GenPopulations = choice.Populations;
        RunBodyGenerator(names[static_cast<std::size_t>(choice.Generator)], options);
        SectorChanged();
        return nullptr;
    }
    FSector->Modified = true;
    TSystemGeneratorOptions options = NewSystemGeneratorOptions(choice);
    options.NameTableFile = FLastNameTable;
    TStellarBody *root = FSector->NewSystem(BODY_TYPE_NOTASSIGNED);
    CreateSystemOfType(*root, choice.SystemType, options);
    if (!choice.GenerateContents)
        root->DeleteChildren();
    root->UpdateRootBody();
    root->TVexaBase::Modified = true;
    FSector->SelectBody(root);
    RecountBodies();
    RefillTree();
    if (FEditHooks.EditNewBody && !FEditHooks.EditNewBody(root)) {
        ForgetBody(root);
        FSector->ExtractSystem(root);  // freed here: it was never stored
        SectorChanged();
        return nullptr;
    }
    FSector->UpdatePoliticalFrom(*root);
    SectorChanged();
    return root;
}

// ---- Create Route ----

void TfrmVexaMain::CreateRouteCommand()
{
    if (!FEditDialogs.CreateRoute)
        FEditDialogs.CreateRoute = new TfrmCreateRoute(FMessages, this);
    FEditDialogs.CreateRoute->Load(*FSector);
    if (FEditDialogs.CreateRoute->exec() != QDialog::Accepted)
        return;
    FSector->Modified = true;
    FEditDialogs.CreateRoute->Apply(*FSector);
    SectorChanged(false);
}

// ---- Mass Edit ----

void TfrmVexaMain::MassEditCommand(const QString &id)
{
    const auto run = [this](auto *&dialog, auto make) {
        if (!dialog)
            dialog = make();
        dialog->Load(*FSector);
        if (dialog->exec() != QDialog::Accepted)
            return;
        FSector->Modified = true;
        // The dialogs write into the selected systems and the lists.
        TSectorHistory &history = FSector->History();
        for (TStellarBody *root : FSector->Selection)
            history.TouchSystem(root);
        history.TouchPart(TSectorPart::Routes);
        history.TouchPart(TSectorPart::Settings);
        dialog->Apply(*FSector);
        SectorChanged(false);
    };
    if (id == QLatin1String("Actions.MassPolitical"))
        run(FEditDialogs.Political, [this] { return new TfrmMassPolitical(FMessages, this); });
    else if (id == QLatin1String("Actions.MassDisplayStyle"))
        run(FEditDialogs.DisplayStyle, [this] { return new TfrmMassDisplayStyle(FMessages, this); });
    else if (id == QLatin1String("Actions.MassLabelDistances"))
        run(FEditDialogs.LabelDistances, [this] { return new TfrmMassLabelDistances(FMessages, this); });
    else if (id == QLatin1String("Actions.MassBlazons"))
        run(FEditDialogs.Blazons, [this] { return new TfrmMassBlazons(FMessages, *FSector, this); });
    else if (id == QLatin1String("Actions.MassSphere"))
        run(FEditDialogs.Sphere, [this] { return new TfrmMassSphere(FMessages, this); });
    else if (id == QLatin1String("Actions.MassDeleteRoutes"))
        run(FEditDialogs.DeleteRoutes, [this] { return new TfrmMassDeleteRoutes(FMessages, this); });
}

void TfrmVexaMain::GridStylesCommand()
{
    if (!FEditDialogs.Grids)
        FEditDialogs.Grids = new TfrmGridStyles(FMessages, this);
    FEditDialogs.Grids->Load(*FSector);
    if (FEditDialogs.Grids->exec() != QDialog::Accepted)
        return;
    FSector->Modified = true;
    FSector->History().TouchPart(TSectorPart::Settings);
    FEditDialogs.Grids->Apply(*FSector);
    Redraw();
}

// ---- Body commands ----

TStellarBody *TfrmVexaMain::AddBodyCommand(int kind, bool insert)
{
    TStellarBody *at = FCurrentBody;
    if (!at || kind < 0 || kind >= BodyKindCount())
        return nullptr;
    const std::string table = NameTableOrDefault(FLastNameTable);
    FSector->History().TouchSystem(at);
    TStellarBody *body = insert ? InsertBodyOfKind(*at, kind, table) : AddChildOfKind(*at, kind, table);
    if (!body)
        return nullptr;
    FSector->Modified = true;
    SectorChanged();
    // Further children go to the same place.
    FCurrentBody = at;
    UpdateActions();
    return body;
}

void TfrmVexaMain::DeleteCurrentBody()
{
    TStellarBody *body = FCurrentBody;
    if (!body)
        return;
    ForgetBody(body);
    if (!body->Parent)
        FSector->DeleteSystemFromRoutes(body);
    TStellarBody *root = body->Parent ? body->GetRootBody() : nullptr;
    FSector->DeleteChildBody(body->Parent, body);
    // Systems moved into this one earlier kept their routes until now.
    ForgetStopsOfGoneSystems(*FSector);
    if (root)
        root->UpdateRootBody();
    FSector->Modified = true;
    SectorChanged();
}

void TfrmVexaMain::DeleteSystemContents()
{
    TStellarBody *body = FCurrentBody;
    if (!body || body->ChildrenCount() == 0)
        return;
    for (int i = 0; i < body->ChildrenCount(); ++i)
        ForgetBody(body->GetChild(i));
    while (body->ChildrenCount() > 0)
        FSector->DeleteChildBody(body, body->GetChild(body->ChildrenCount() - 1));
    ForgetStopsOfGoneSystems(*FSector);
    body->GetRootBody()->UpdateRootBody();
    FSector->Modified = true;
    SectorChanged();
    FCurrentBody = body;
}

void TfrmVexaMain::DeleteSelectedRoutesCommand()
{
    if (!FSector->RoutesSelected())
        return;
    FSector->DeleteSelectedRoutes();
    FSector->Modified = true;
    SectorChanged(false);
}

void TfrmVexaMain::RegenerateCommand(int how)
{
    TStellarBody *body = FCurrentBody;
    if (!body)
        return;
    const TConfirmFunc confirm = [this](const std::string &text, const std::string &caption) {
        return FMessages.Ask(QString::fromStdString(text), QString::fromStdString(caption), TMsgButtons::YesNo,
                             TMsgIcon::Question) == TMsgAnswer::Yes;
    };
    // The children may be replaced: nothing may keep pointing at them.
    for (int i = 0; i < body->ChildrenCount(); ++i)
        ForgetBody(body->GetChild(i));
    FSector->History().TouchSystem(body);
    bool changed = false;
    if (how == 0)
        changed = QuickGenerateChildren(*body, true, confirm);
    else if (how == 1)
        changed = QuickGenerateSystemContents(*body, true, confirm);
    else
        changed = QuickGenerateSystemContentsDesignated(*body, true, confirm);
    // A complete regeneration names the system again even when the
    // question was declined.
    ForgetStopsOfGoneSystems(*FSector);
    if (changed || how == 0) {
        body->GetRootBody()->UpdateRootBody();
        FSector->Modified = true;
    }
    SectorChanged();
    FCurrentBody = body;
    UpdateActions();
}

void TfrmVexaMain::ChangeBodyTypeCommand(int typeCode)
{
    TStellarBody *body = FCurrentBody;
    if (!body || body->TypeID == typeCode)
        return;
    FSector->History().TouchSystem(body);
    body->TypeID = typeCode;
    body->ModifySystem();
    body->GetRootBody()->UpdateRootBody();
    FSector->Modified = true;
    SectorChanged();
    FCurrentBody = body;
}

void TfrmVexaMain::ConvertToRootCommand()
{
    TStellarBody *body = FCurrentBody;
    if (!body || !body->Parent)
        return;
    ForgetBody(body);
    FSector->ReassignChild(body, nullptr);
    FSector->Modified = true;
    SectorChanged();
}

} // namespace kalvion::app
