// The main window's editing commands: New System, Create Route, the mass
// edits on a selection, the right-click body commands and the safety of
// deleting bodies that something still shows.
#include "EditTestSupport.h"
#include "../support/TreeDrop.h"

#include "app/ActionTable.h"
#include "app/SystemTree.h"
#include "app/edit/CreateRouteDialog.h"
#include "app/edit/GridStylesDialog.h"
#include "app/edit/MassEditDialogs.h"
#include "app/edit/NewSystemDialog.h"
#include "files/SectorFile.h"
#include "base/SharedRandom.h"
#include "model/StellarRoute.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QRadioButton>

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;

namespace {

using EditCommands = EditWindowFixture;

QAction *Act(TfrmVexaMain &w, const char *id) { return w.Actions().Action(QString::fromLatin1(id)); }

// No body of the sector's routes, selection, tree, current body or preview
// is `gone` (compared by address only; it may be freed).
void ExpectNoReference(TfrmVexaMain &w, const TStellarBody *gone, const std::string &goneId)
{
    TVexaSector &s = w.Sector();
    for (const TStellarBody *b : s.Selection)
        EXPECT_NE(b, gone);
    EXPECT_NE(w.CurrentBody(), gone);
    EXPECT_NE(w.PreviewBody(), gone);
    auto *tree = w.findChild<TSystemTree *>();
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->ItemOf(gone), nullptr);
    for (const auto &route : s.Routes) {
        EXPECT_GE(route->WaypointCount(), 2);
        for (const auto &wp : route->Waypoints) {
            EXPECT_NE(wp->Body, gone);
            if (!goneId.empty()) {
                EXPECT_NE(wp->id, goneId);
            }
        }
    }
}

} // namespace

TEST_F(EditCommands, NewSystemWithoutContentsAndCancel)
{
    SetSharedRandomSeed(2024);
    TNewSystemChoice choice;
    choice.SystemType = "Star, Yellow";
    choice.GenerateContents = false;
    TStellarBody *seen = nullptr;
    window->EditHooks().EditNewBody = [&](TStellarBody *b) {
        seen = b;
        return true;
    };
    TStellarBody *root = window->PlaceNewSystem(choice);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(seen, root);
    EXPECT_EQ(root->ChildrenCount(), 0);
    EXPECT_EQ(root->TypeID, BODY_TYPE_STAR);
    EXPECT_FALSE(root->Name.empty());
    ASSERT_EQ(Sector().SelectedCount(), 1);
    EXPECT_EQ(Sector().GetSelected(0), root);
    EXPECT_TRUE(Sector().Modified);

    // With contents the typed creation's planets stay.
    choice.GenerateContents = true;
    TStellarBody *full = window->PlaceNewSystem(choice);
    ASSERT_NE(full, nullptr);
    EXPECT_GT(full->ChildrenCount(), 0);

    // Cancel in the property dialog takes the new system away again.
    window->EditHooks().EditNewBody = [&](TStellarBody *b) {
        window->PickBody(b);
        return false;
    };
    EXPECT_EQ(window->PlaceNewSystem(choice), nullptr);
    EXPECT_EQ(Sector().SystemCount(), 2);
    EXPECT_EQ(window->PreviewBody(), nullptr);
    for (const TStellarBody *b : Sector().Selection)
        EXPECT_TRUE(b == root || b == full);
}

TEST_F(EditCommands, NewSystemThroughItsWindow)
{
    window->EditHooks().EditNewBody = [](TStellarBody *) { return true; };
    WhenShown<TfrmNewSystem>(window.get(), [](TfrmNewSystem *d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Create New System"));
        auto *types = Control<QComboBox>(d, "cmbSystemType");
        EXPECT_EQ(types->itemText(0), QStringLiteral("Star, Yellow"));
        EXPECT_EQ(types->count(), 28);
        EXPECT_EQ(Control<QComboBox>(d, "cmbSystemGenerator")->itemText(0),
                  QStringLiteral("Kalvion Standard Generator"));
        types->setCurrentText(QStringLiteral("Black Hole"));
        Control<QCheckBox>(d, "chkGenerateContents")->setChecked(false);
        Click(d, "btnOk");
    });
    Act(*window, "Actions.NewSystem")->trigger();
    ASSERT_EQ(Sector().SystemCount(), 1);
    EXPECT_EQ(Sector().GetSystem(0)->TypeID, BODY_TYPE_BLACKHOLE);
    EXPECT_EQ(Sector().GetSystem(0)->Mass, 100);
    EXPECT_TRUE(store->Value(QStringLiteral("GeneratorTerraforming")).has_value());
    EXPECT_TRUE(window->CaptionText().contains(QStringLiteral("1 Systems")));
}

TEST_F(EditCommands, MassEditsActOnTheSelectionOnly)
{
    TStellarBody *a = AddSystem("A", 0);
    TStellarBody *b = AddSystem("B", 1);
    TStellarBody *c = AddSystem("C", 2);
    c->LabelDistance = 33;
    c->RouteDistance = 44;
    Select({c, a});
    // The preset comes from the first of the selection.
    WhenShown<TfrmMassLabelDistances>(window.get(), [](TfrmMassLabelDistances *d) {
        EXPECT_EQ(Control<QLineEdit>(d, "edLabelDistance")->text(), QStringLiteral("33"));
        Control<QLineEdit>(d, "edRouteDistance")->setText(QStringLiteral("far"));
        Click(d, "btnOk");
        // Refused: the window stays for another try.
        EXPECT_TRUE(d->isVisible());
        Control<QLineEdit>(d, "edRouteDistance")->setText(QStringLiteral("12"));
        Click(d, "btnOk");
    });
    const qsizetype mark = messages.Log().size();
    Act(*window, "Actions.MassLabelDistances")->trigger();
    EXPECT_EQ(LogSince(mark, QStringLiteral("tell")), QStringList{QStringLiteral("Kalvion\tDistances must be numbers")});
    EXPECT_EQ(a->LabelDistance, 33);
    EXPECT_EQ(a->RouteDistance, 12);
    EXPECT_EQ(c->RouteDistance, 12);
    EXPECT_EQ(b->RouteDistance, TStellarBody::Create()->RouteDistance);
    EXPECT_TRUE(Sector().Modified);

    WhenShown<TfrmMassPolitical>(window.get(), [](TfrmMassPolitical *d) {
        Control<QComboBox>(d, "cmbPolitical")->setEditText(QStringLiteral("Concord"));
        Click(d, "btnOk");
    });
    Act(*window, "Actions.MassPolitical")->trigger();
    EXPECT_EQ(a->PoliticalAffiliation, "Concord");
    EXPECT_EQ(c->PoliticalAffiliation, "Concord");
    EXPECT_EQ(b->PoliticalAffiliation, "");
    // The Filters menu lists the new affiliation.
    bool listed = false;
    for (QAction *item : window->Actions().Menu(QStringLiteral("Filters.Political"))->actions())
        listed = listed || item->text() == QStringLiteral("Concord");
    EXPECT_TRUE(listed);

    WhenShown<TfrmMassSphere>(window.get(), [](TfrmMassSphere *d) {
        Click(d, "rbCube");
        Control<QLineEdit>(d, "edSize")->setText(QStringLiteral("2.5"));
        Click(d, "btnOk");
    });
    Act(*window, "Actions.MassSphere")->trigger();
    EXPECT_EQ(a->SphereInfluence, 2);
    EXPECT_EQ(c->SphereInfluenceSize, 2.5);
    EXPECT_EQ(b->SphereInfluence, 0);

    // Cancel changes nothing.
    Sector().Modified = false;
    WhenShown<TfrmMassDisplayStyle>(window.get(), [](TfrmMassDisplayStyle *d) {
        Click(d, "btnBold");
        Click(d, "btnCancel");
    });
    Act(*window, "Actions.MassDisplayStyle")->trigger();
    EXPECT_EQ(a->FontStyle, 0);
    EXPECT_FALSE(Sector().Modified);
}

TEST_F(EditCommands, LabelDistancesWithoutSelectionShowANewBody)
{
    AddSystem("A", 0)->LabelDistance = 99;
    Select({});
    QString shown;
    WhenShown<TfrmMassLabelDistances>(window.get(), [&](TfrmMassLabelDistances *d) {
        shown = Control<QLineEdit>(d, "edLabelDistance")->text();
        Click(d, "btnCancel");
    });
    Act(*window, "Actions.MassLabelDistances")->trigger();
    EXPECT_EQ(shown, TextFromNumber(TStellarBody::Create()->LabelDistance));
}

TEST_F(EditCommands, CreateRouteThroughTheWindowAndDeleteRoutes)
{
    TStellarBody *a = AddSystem("A", 0);
    TStellarBody *b = AddSystem("B", 1);
    TStellarBody *c = AddSystem("C", 2);
    Select({b});
    EXPECT_FALSE(Act(*window, "Actions.CreateRoute")->isEnabled());
    Select({b, c, a});
    ASSERT_TRUE(Act(*window, "Actions.CreateRoute")->isEnabled());
    WhenShown<TfrmCreateRoute>(window.get(), [](TfrmCreateRoute *d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Routes"));
        // It names the systems the route joins, in the order selected.
        EXPECT_EQ(d->JoinedSystemsText(), QStringLiteral("B - C - A"));
        Control<QLineEdit>(d, "edRouteName")->setText(QStringLiteral("Loop"));
        Control<QComboBox>(d, "cmbRouteType")->setEditText(QStringLiteral("Courier"));
        const QByteArray shots = qgetenv("KALVION_SCREENSHOT_DIR");
        if (!shots.isEmpty())
            d->grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/create-route.png"));
        Click(d, "btnOk");
    });
    Act(*window, "Actions.CreateRoute")->trigger();
    ASSERT_EQ(Sector().RouteCount(), 1);
    const TStellarRoute *r = Sector().GetRoute(0);
    EXPECT_EQ(r->Name, "Loop");
    ASSERT_EQ(r->WaypointCount(), 3);
    EXPECT_EQ(r->GetWaypoint(0)->id, b->IDString);
    EXPECT_EQ(r->GetWaypoint(2)->id, a->IDString);
    EXPECT_EQ(r->Red, 1.0);  // white at first
    EXPECT_GE(Sector().FindRouteType("Courier"), 0);

    // The window keeps its values; the type list is filled again.
    WhenShown<TfrmCreateRoute>(window.get(), [](TfrmCreateRoute *d) {
        EXPECT_EQ(Control<QLineEdit>(d, "edRouteName")->text(), QStringLiteral("Loop"));
        EXPECT_EQ(Control<QComboBox>(d, "cmbRouteType")->findText(QStringLiteral("Courier")), 0);
        Click(d, "btnCancel");
    });
    Act(*window, "Actions.CreateRoute")->trigger();
    EXPECT_EQ(Sector().RouteCount(), 1);

    // A long selection shows its ends and how many systems there are.
    std::vector<TStellarBody *> many;
    for (int i = 0; i < 10; ++i)
        many.push_back(AddSystem("S" + std::to_string(i), 10 + i));
    Sector().SelectAll(false);
    for (TStellarBody *system : many)
        Sector().SelectBody(system);
    EXPECT_EQ(JoinedSystemsText(Sector()),
              QStringLiteral("S0 - S1 - S2 - S3 - ... - S6 - S7 - S8 - S9 (10 systems)"));
    Select({b});
    EXPECT_EQ(JoinedSystemsText(Sector()), QStringLiteral("(select two or more systems)"));

    messages.Push(QStringLiteral("Yes"));
    WhenShown<TfrmMassDeleteRoutes>(window.get(), [](TfrmMassDeleteRoutes *d) {
        EXPECT_EQ(Control<QComboBox>(d, "cmbRouteType")->currentText(), QStringLiteral("Courier"));
        const QByteArray shots = qgetenv("KALVION_SCREENSHOT_DIR");
        if (!shots.isEmpty())
            d->grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/mass-delete-routes.png"));
        Click(d, "btnDelete");
    });
    const qsizetype mark = messages.Log().size();
    Act(*window, "Actions.MassDeleteRoutes")->trigger();
    EXPECT_EQ(LogSince(mark, QStringLiteral("ask")),
              QStringList{QStringLiteral("Delete Routes\tDelete all 'Courier' routes?")});
    EXPECT_EQ(Sector().RouteCount(), 0);
    // The route type stays listed, with its visible flag, for the next routes.
    const int courier = Sector().FindRouteType("Courier");
    ASSERT_GE(courier, 0);
    Sector().RouteTypeList[static_cast<std::size_t>(courier)].Visible = false;

    // "Delete All Routes" too leaves the list as it was.
    Select({a, b});
    Sector().CreateRouteSelected("Courier", "again", 1, 1, 1, 0, 1);
    messages.Push(QStringLiteral("Yes"));
    WhenShown<TfrmMassDeleteRoutes>(window.get(), [](TfrmMassDeleteRoutes *d) {
        Click(d, "chkDeleteAll");
        Click(d, "btnDelete");
    });
    Act(*window, "Actions.MassDeleteRoutes")->trigger();
    EXPECT_EQ(Sector().RouteCount(), 0);
    ASSERT_EQ(Sector().FindRouteType("Courier"), courier);
    EXPECT_FALSE(Sector().RouteTypeList[static_cast<std::size_t>(courier)].Visible);
}

TEST_F(EditCommands, DeletingASelectedCurrentWaypointSystemLeavesNoReference)
{
    TStellarBody *a = AddSystem("A", 0);
    TStellarBody *b = AddSystem("B", 1);
    TStellarBody *c = AddSystem("C", 2);
    AddChild(b, "B I", BODY_TYPE_TERRESTRIAL);
    Sector().CreateRouteSegment(a, b, "", "ab", 0xFFFFFF, 0, 1);
    Select({a, b, c});
    Sector().CreateRouteSelected("", "abc", 1, 1, 1, 0, 1);
    Select({b});
    window->PickBody(b);
    ASSERT_EQ(window->CurrentBody(), b);
    ASSERT_EQ(window->PreviewBody(), b);
    const std::string id = b->IDString;
    Act(*window, "Body.DeleteBody")->trigger();
    EXPECT_EQ(Sector().SystemCount(), 2);
    EXPECT_EQ(Sector().FindRootBodyById(id), nullptr);
    EXPECT_EQ(Sector().SelectedCount(), 0);
    ExpectNoReference(*window, b, id);
    // The two-stop route lost a stop and went; the other goes on A to C.
    ASSERT_EQ(Sector().RouteCount(), 1);
    EXPECT_EQ(Sector().GetRoute(0)->Name, "abc");
    EXPECT_TRUE(Sector().Modified);
    EXPECT_TRUE(window->CaptionText().contains(QStringLiteral("2 Systems")));
}

TEST_F(EditCommands, DeletingAPickedChildOrContentsLeavesNoReference)
{
    TStellarBody *a = AddSystem("A", 0);
    TStellarBody *planet = AddChild(a, "A I", BODY_TYPE_TERRESTRIAL);
    TStellarBody *moon = AddChild(planet, "A I a", BODY_TYPE_TERRESTRIAL);
    TStellarBody *other = AddChild(a, "A II", BODY_TYPE_GASGIANT);
    Select({a});
    auto *tree = window->findChild<TSystemTree *>();
    ASSERT_NE(tree->ItemOf(planet), nullptr);
    window->PickBody(planet);
    window->UpdateActions();
    Act(*window, "Body.DeleteBody")->trigger();
    EXPECT_EQ(a->ChildrenCount(), 1);
    EXPECT_EQ(a->GetChild(0), other);
    ExpectNoReference(*window, planet, std::string());
    ExpectNoReference(*window, moon, std::string());
    EXPECT_EQ(Sector().SelectedCount(), 1);  // the system itself stays selected

    // The preview on a body inside the contents goes with them: the
    // grandchild is previewed, the system is the current body.
    const TStellarBody *inner = AddChild(other, "A II a", BODY_TYPE_PLANETOID);
    window->RefillTree();
    window->PickBody(const_cast<TStellarBody *>(inner));
    window->RefillTree();
    ASSERT_EQ(window->CurrentBody(), a);
    ASSERT_EQ(window->PreviewBody(), inner);
    window->UpdateActions();
    Act(*window, "Body.DeleteContents")->trigger();
    EXPECT_EQ(a->ChildrenCount(), 0);
    ExpectNoReference(*window, other, std::string());
    ExpectNoReference(*window, inner, std::string());
    EXPECT_EQ(window->CurrentBody(), a);
}

TEST_F(EditCommands, RegeneratingForgetsTheOldChildren)
{
    SetSharedRandomSeed(99);
    TStellarBody *a = AddSystem("A", 0, BODY_TYPE_STAR);
    a->Mass = 1;
    a->Luminosity = 1;
    TStellarBody *planet = AddChild(a, "A I", BODY_TYPE_TERRESTRIAL);
    Select({a});
    // The planet is previewed, the system is the current body.
    window->PickBody(planet);
    window->RefillTree();
    ASSERT_EQ(window->CurrentBody(), a);
    ASSERT_EQ(window->PreviewBody(), planet);
    const std::string planetId = planet->IDString;
    messages.Push(QStringLiteral("Yes"));
    const qsizetype mark = messages.Log().size();
    window->UpdateActions();
    Act(*window, "Body.GenerateContents")->trigger();
    EXPECT_EQ(LogSince(mark, QStringLiteral("ask")),
              QStringList{QStringLiteral("Generate System Contents\tGenerate new system contents?  Any existing "
                                         "child bodies will be removed")});
    EXPECT_EQ(window->PreviewBody(), nullptr);
    for (int i = 0; i < a->ChildrenCount(); ++i)
        EXPECT_NE(a->GetChild(i)->IDString, planetId);
    EXPECT_TRUE(Sector().Modified);

    // "No" keeps the contents.
    TStellarBody *first = a->ChildrenCount() ? a->GetChild(0) : nullptr;
    messages.Push(QStringLiteral("No"));
    Act(*window, "Body.GenerateContents")->trigger();
    EXPECT_EQ(a->ChildrenCount() ? a->GetChild(0) : nullptr, first);
}

TEST_F(EditCommands, AddChildAndInsertBodyFromTheRightClickMenu)
{
    SetSharedRandomSeed(7);
    TStellarBody *a = AddSystem("A", 0, BODY_TYPE_STAR);
    a->Mass = 1;
    a->Luminosity = 1;
    Select({});
    QMenu *add = window->Actions().Menu(QStringLiteral("Context.AddChild"));
    ASSERT_NE(add, nullptr);
    EXPECT_FALSE(add->isEnabled());  // no system selected
    Select({a});
    EXPECT_TRUE(add->isEnabled());
    auto *earthlike = window->findChild<QAction *>(QStringLiteral("AddChild.10"));
    ASSERT_NE(earthlike, nullptr);
    EXPECT_EQ(earthlike->text(), QStringLiteral("Earthlike"));
    earthlike->trigger();
    ASSERT_EQ(a->ChildrenCount(), 1);
    TStellarBody *planet = a->GetChild(0);
    EXPECT_EQ(planet->TypeID, BODY_TYPE_TERRESTRIAL);
    EXPECT_GT(planet->Radius, 0);
    EXPECT_TRUE(Sector().Modified);

    window->PickBody(planet);
    window->UpdateActions();
    auto *marker = window->findChild<QAction *>(QStringLiteral("InsertBody.27"));
    ASSERT_NE(marker, nullptr);
    EXPECT_EQ(marker->text(), QStringLiteral("Marker"));
    marker->trigger();
    ASSERT_EQ(a->ChildrenCount(), 2);
    EXPECT_EQ(a->GetChild(0)->TypeID, BODY_TYPE_MARKER);
    EXPECT_EQ(a->GetChild(1), planet);

    // Change Body Type and Convert to root body on the current body.
    window->PickBody(planet);
    window->UpdateActions();
    window->findChild<QAction *>(QStringLiteral("ChangeType.103"))->trigger();
    EXPECT_EQ(planet->TypeID, BODY_TYPE_PLANETOID);
    window->PickBody(planet);
    window->UpdateActions();
    Act(*window, "Body.ConvertToRoot")->trigger();
    EXPECT_EQ(Sector().SystemCount(), 2);
    EXPECT_EQ(planet->Parent, nullptr);
    EXPECT_EQ(a->ChildrenCount(), 1);
}

TEST_F(EditCommands, GridStylesRefuseSpacingsThatAreNotNumbers)
{
    Sector().GridX = 8;
    Sector().GridStyle = GRID_STYLE_CUBE;
    WhenShown<TfrmGridStyles>(window.get(), [](TfrmGridStyles *d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Grids"));
        Control<QLineEdit>(d, "edGridX")->setText(QStringLiteral("8,5,1"));
        Click(d, "rbNoGrid");
        Click(d, "btnOk");
        EXPECT_TRUE(d->isVisible());
        Click(d, "btnCancel");
    });
    const qsizetype mark = messages.Log().size();
    EXPECT_EQ(Act(*window, "Sector.GridStyles")->shortcut(), QKeySequence(QStringLiteral("Ctrl+G")));
    Act(*window, "Sector.GridStyles")->trigger();
    EXPECT_EQ(LogSince(mark, QStringLiteral("tell")),
              QStringList{QStringLiteral("Kalvion\tGrid spacings must be numbers")});
    EXPECT_EQ(Sector().GridX, 8);
    EXPECT_EQ(Sector().GridStyle, GRID_STYLE_CUBE);
}

TEST_F(EditCommands, DeleteRouteAndCompleteRegeneration)
{
    SetSharedRandomSeed(31);
    TStellarBody *a = AddSystem("A", 0, BODY_TYPE_STAR);
    TStellarBody *b = AddSystem("B", 1, BODY_TYPE_STAR);
    a->Mass = b->Mass = 1;
    a->Luminosity = b->Luminosity = 1;
    Sector().CreateRouteSegment(a, b, "", "kept", 0xFFFFFF, 0, 1);
    Sector().CreateRouteSegment(a, b, "", "picked", 0xFFFFFF, 0, 1);
    Select({a});
    EXPECT_FALSE(Act(*window, "Body.DeleteRoute")->isEnabled());
    Sector().GetRoute(1)->Selected = true;
    window->UpdateActions();
    Act(*window, "Body.DeleteRoute")->trigger();
    ASSERT_EQ(Sector().RouteCount(), 1);
    EXPECT_EQ(Sector().GetRoute(0)->Name, "kept");

    // "Completely Regenerate System" asks first; "No" leaves the system.
    TStellarBody *old = AddChild(a, "A I", BODY_TYPE_TERRESTRIAL);
    const std::string oldId = old->IDString;
    window->RefillTree();
    window->UpdateActions();
    messages.Push(QStringLiteral("No"));
    const qsizetype mark = messages.Log().size();
    Act(*window, "Body.Regenerate")->trigger();
    EXPECT_EQ(LogSince(mark, QStringLiteral("ask")),
              QStringList{QStringLiteral("Regenerate System?\tRegenerate a completely new star system?  All child "
                                         "bodies will be removed")});
    ASSERT_EQ(a->ChildrenCount(), 1);
    EXPECT_EQ(a->GetChild(0), old);
    messages.Push(QStringLiteral("Yes"));
    Act(*window, "Body.Regenerate")->trigger();
    for (int i = 0; i < a->ChildrenCount(); ++i)
        EXPECT_NE(a->GetChild(i)->IDString, oldId);
    EXPECT_TRUE(Sector().Modified);
}

namespace {

TStellarBody *ChildNamed(TStellarBody *parent, const std::string &name)
{
    for (int i = 0; parent && i < parent->ChildrenCount(); ++i)
        if (parent->GetChild(i)->Name == name)
            return parent->GetChild(i);
    return nullptr;
}

} // namespace

TEST_F(EditCommands, ASystemDroppedOntoAPlanetKeepsItsRoutesThroughSaveAndReopening)
{
    TStellarBody *vesk = AddSystem("Vesk", 0);
    TStellarBody *veskVI = AddChild(vesk, "Vesk VI", BODY_TYPE_TERRESTRIAL);
    TStellarBody *krog = AddSystem("Krog", 4);
    AddChild(krog, "Krog I", BODY_TYPE_GASGIANT);
    TStellarBody *amar = AddSystem("Amar", 8);
    TStellarBody *bren = AddSystem("Bren", 12);
    vesk->Y = 2;
    Sector().CreateRouteSegment(amar, krog, "", "amar-krog", 0xFFFFFF, 0, 1);
    Sector().CreateRouteSegment(krog, bren, "", "krog-bren", 0xFFFFFF, 0, 1);
    Select({amar, krog, bren});
    Sector().CreateRouteSelected("", "tour", 1, 1, 1, 0, 1);
    const std::string krogId = krog->IDString;

    window->show();
    Select({vesk, krog});
    auto *tree = window->findChild<TSystemTree *>();
    ASSERT_NE(tree, nullptr);
    DropInTree(*tree, krog, veskVI);
    // The dragged root is gone: nothing names it any more.
    ExpectNoReference(*window, krog, std::string());

    // Krog is a child of Vesk VI now, shown there in the tree.
    ASSERT_EQ(Sector().SystemCount(), 3);
    TStellarBody *moved = ChildNamed(veskVI, "Krog");
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved->IDString, krogId);
    QTreeWidgetItem *item = tree->ItemOf(moved);
    ASSERT_NE(item, nullptr);
    bool underPlanet = false;
    for (QTreeWidgetItem *p = item->parent(); p; p = p->parent())
        underPlanet = underPlanet || p == tree->ItemOf(veskVI);
    EXPECT_TRUE(underPlanet);

    // Its three routes still go through it, drawn to where it now is.
    const auto expectRoutesThroughVesk = [&](TVexaSector &s, TStellarBody *root, const char *when) {
        ASSERT_EQ(s.RouteCount(), 3) << when;
        int stops = 0;
        for (const auto &route : s.Routes) {
            EXPECT_GE(route->WaypointCount(), 2) << when;
            for (const auto &wp : route->Waypoints)
                if (wp->id == krogId) {
                    ++stops;
                    EXPECT_EQ(wp->Body, root) << when;
                    EXPECT_DOUBLE_EQ(wp->X, root->X) << when;
                    EXPECT_DOUBLE_EQ(wp->Y, root->Y) << when;
                }
        }
        EXPECT_EQ(stops, 3) << when;
    };
    expectRoutesThroughVesk(Sector(), vesk, "after the drop");

    // Save (asking for a name), then draw again.
    const QString file = dir.filePath(QStringLiteral("drop.VexaDB"));
    messages.Push(file);
    Act(*window, "File.Save")->trigger();
    ASSERT_FALSE(Sector().Modified);
    window->Redraw();
    ExpectNoReference(*window, krog, std::string());
    expectRoutesThroughVesk(Sector(), vesk, "after the save");

    // Moving Vesk takes the routes along.
    Select({vesk});
    Sector().MoveSelected(0, 0, 3);
    Sector().UpdateRoutesSelected();
    expectRoutesThroughVesk(Sector(), vesk, "after moving Vesk");
    Sector().Modified = true;
    Act(*window, "File.Save")->trigger();
    ASSERT_FALSE(Sector().Modified);

    TVexaSector back;
    ASSERT_TRUE(LoadFromFile(back, file.toStdString()));
    TStellarBody *backVesk = back.FindRootBodyByName("Vesk");
    ASSERT_NE(backVesk, nullptr);
    EXPECT_EQ(back.FindRootBodyById(krogId), nullptr);
    expectRoutesThroughVesk(back, backVesk, "after reopening");
    EXPECT_DOUBLE_EQ(backVesk->Z, vesk->Z);
    back.DynaLoad(backVesk);
    TStellarBody *backKrog = ChildNamed(ChildNamed(backVesk, "Vesk VI"), "Krog");
    ASSERT_NE(backKrog, nullptr);
    EXPECT_EQ(backKrog->IDString, krogId);
    EXPECT_NE(ChildNamed(backKrog, "Krog I"), nullptr);

    // Deleting Vesk VI takes Krog's stops with it: no route names a body
    // that is gone, and the two-stop routes go.
    Select({vesk});
    window->PickBody(veskVI);
    window->UpdateActions();
    Act(*window, "Body.DeleteBody")->trigger();
    EXPECT_EQ(ChildNamed(vesk, "Vesk VI"), nullptr);
    ASSERT_EQ(Sector().RouteCount(), 1);
    EXPECT_EQ(Sector().GetRoute(0)->Name, "tour");
    for (const auto &wp : Sector().GetRoute(0)->Waypoints)
        EXPECT_NE(wp->id, krogId);
}

// Emptying or regenerating the system that holds a dropped one takes the
// dropped system's stops too, so the file holds the routes the window shows.
TEST_F(EditCommands, EmptyingTheHolderOfADroppedSystemTakesItsStops)
{
    for (const char *command : {"Body.DeleteContents", "Body.Regenerate"}) {
        SCOPED_TRACE(command);
        Sector().clear();
        TStellarBody *vesk = AddSystem("Vesk", 0);
        TStellarBody *veskVI = AddChild(vesk, "Vesk VI", BODY_TYPE_TERRESTRIAL);
        TStellarBody *krog = AddSystem("Krog", 4);
        TStellarBody *amar = AddSystem("Amar", 8);
        Sector().CreateRouteSegment(amar, krog, "", "amar-krog", 0xFFFFFF, 0, 1);
        Select({krog, vesk});
        DropInTree(*window->findChild<TSystemTree *>(), krog, veskVI);
        ASSERT_EQ(Sector().RouteCount(), 1);
        Select({vesk});
        window->PickBody(vesk);
        window->UpdateActions();
        messages.Push(QStringLiteral("Yes"));
        Act(*window, command)->trigger();
        EXPECT_EQ(Sector().RouteCount(), 0);
    }
}
