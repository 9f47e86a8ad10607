// Undo and Redo in the window: the Edit menu names the step, the commands
// come back as they were, the tree and the caption follow, and the saved
// state is where the sector is unmodified again.
#include "EditTestSupport.h"

#include "app/ActionTable.h"
#include "app/edit/MassEditDialogs.h"
#include "files/SectorFile.h"
#include "model/history/SectorHistory.h"

#include <QAction>
#include <QComboBox>
#include <QMenuBar>
#include <QTest>

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;

namespace {

using UndoCommands = EditWindowFixture;

QAction *Act(TfrmVexaMain &w, const char *id) { return w.Actions().Action(QString::fromLatin1(id)); }

TEST_F(UndoCommands, AUsersDeleteEditAndMoveComeBackInTurn)
{
    QStringList menus;
    for (QAction *m : window->menuBar()->actions())
        menus << m->text();
    ASSERT_GE(menus.size(), 3);
    EXPECT_EQ(menus[1], QStringLiteral("Edit"));
    EXPECT_EQ(menus[2], QStringLiteral("Sector"));
    QAction *undo = Act(*window, "Edit.Undo");
    QAction *redo = Act(*window, "Edit.Redo");
    EXPECT_EQ(undo->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
    EXPECT_TRUE(redo->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+Y"))));
    EXPECT_FALSE(undo->isEnabled());

    TStellarBody *a = AddSystem("Alpha", 0);
    TStellarBody *b = AddSystem("Beta", 1);
    AddChild(b, "Beta I", 100);
    AddSystem("Gamma", 2);
    const std::string file = dir.filePath(QStringLiteral("s.VexaDB")).toStdString();
    ASSERT_TRUE(SaveToFile(Sector(), file, false));
    window->SectorChanged();
    EXPECT_FALSE(undo->isEnabled()) << "saving is no step";

    Select({a, b});
    Act(*window, "Actions.DeleteSystems")->trigger();
    ASSERT_EQ(Sector().SystemCount(), 1);
    EXPECT_TRUE(Sector().Modified);
    EXPECT_EQ(undo->text(), QStringLiteral("Undo Delete Systems"));
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());

    undo->trigger();
    ASSERT_EQ(Sector().SystemCount(), 3);
    EXPECT_EQ(Sector().GetSystem(0)->Name, "Alpha");
    EXPECT_EQ(Sector().GetSystem(1)->Name, "Beta");
    EXPECT_FALSE(Sector().Modified) << "back at the saved state";
    EXPECT_FALSE(window->windowTitle().contains(QLatin1Char('*')));
    EXPECT_EQ(redo->text(), QStringLiteral("Redo Delete Systems"));
    redo->trigger();
    EXPECT_EQ(Sector().SystemCount(), 1);
    EXPECT_TRUE(Sector().Modified);
    undo->trigger();

    // A mass edit through its dialog is one step.
    TStellarBody *alpha = Sector().GetSystem(0);
    TStellarBody *gamma = Sector().GetSystem(2);
    Select({alpha, gamma});
    WhenShown<TfrmMassPolitical>(window.get(), [](TfrmMassPolitical *d) {
        Control<QComboBox>(d, "cmbPolitical")->setEditText(QStringLiteral("Concord"));
        Click(d, "btnOk");
    });
    Act(*window, "Actions.MassPolitical")->trigger();
    EXPECT_EQ(Sector().GetSystem(2)->PoliticalAffiliation, "Concord");
    EXPECT_EQ(undo->text(), QStringLiteral("Undo Political Affiliations"));
    undo->trigger();
    EXPECT_EQ(Sector().GetSystem(0)->PoliticalAffiliation, "");
    EXPECT_EQ(Sector().GetSystem(2)->PoliticalAffiliation, "");

    // A key that moves the selected system.
    Act(*window, "Mode.Pointer")->trigger();
    Select({Sector().GetSystem(2)});
    const double y = Sector().GetSystem(2)->Y;
    QTest::keyClick(window.get(), Qt::Key_Up);
    EXPECT_NE(Sector().GetSystem(2)->Y, y);
    EXPECT_EQ(undo->text(), QStringLiteral("Undo Move System"));
    undo->trigger();
    EXPECT_EQ(Sector().GetSystem(2)->Y, y);
    EXPECT_EQ(redo->text(), QStringLiteral("Redo Move System"));
    // A key that only turns the camera leaves no step, and a new step ends
    // what could be redone.
    Act(*window, "Mode.Pan")->trigger();
    QTest::keyClick(window.get(), Qt::Key_Up);
    EXPECT_EQ(undo->text(), QStringLiteral("Undo"));
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_TRUE(redo->isEnabled());

    // Saved and read back as a user would: the file holds the undone state,
    // a redo saved after it holds the step again, and a blank sector starts
    // a history of its own.
    const auto stored = [&file]() {
        TVexaSector back;
        EXPECT_TRUE(LoadFromFile(back, file));
        std::string names;
        for (int i = 0; i < back.SystemCount(); ++i) {
            TStellarBody *root = back.GetSystem(i);
            back.DynaLoad(root);
            names += root->Name + "(" + std::to_string(root->ChildrenCount()) + ")" +
                     std::string(root->PoliticalAffiliation.view()) + " ";
        }
        return names;
    };
    Act(*window, "File.Save")->trigger();
    EXPECT_FALSE(Sector().Modified);
    EXPECT_EQ(stored(), "Alpha(0) Beta(1) Gamma(0) ");
    Select({Sector().GetSystem(1)});
    Act(*window, "Actions.DeleteSystems")->trigger();
    Act(*window, "File.Save")->trigger();
    EXPECT_EQ(stored(), "Alpha(0) Gamma(0) ");
    undo->trigger();
    EXPECT_TRUE(Sector().Modified);
    Act(*window, "File.Save")->trigger();
    EXPECT_EQ(stored(), "Alpha(0) Beta(1) Gamma(0) ") << "the deleted system comes back with its body";
    redo->trigger();
    Act(*window, "File.Save")->trigger();
    EXPECT_EQ(stored(), "Alpha(0) Gamma(0) ");
    Act(*window, "File.NewBlank")->trigger();
    EXPECT_EQ(Sector().SystemCount(), 0);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
}

} // namespace
