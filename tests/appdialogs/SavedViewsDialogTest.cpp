// The "Saved Views" window: lists the views, applies one with a redraw,
// deletes one and marks the sector changed.
#include "DialogTestSupport.h"

#include "app/sector/SavedViewsDialog.h"
#include "model/VexaSector.h"

#include <QListWidget>
#include <QPushButton>

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;

namespace {

class SavedViewsDialogTest : public DialogTest {
protected:
    void SetUp() override
    {
        Sector.Camera = {1, 2, 3};
        Sector.AddCurrentViewAsView("Home");
        Sector.Camera = {40, 50, 60};
        Sector.AddCurrentViewAsView("Far Out");
        Sector.Camera = {0, 0, 99};
    }
    TVexaSector Sector;
    int Redraws = 0;
};

TEST_F(SavedViewsDialogTest, ShowViewAppliesTheSelectedViewAndRedraws)
{
    TfrmSavedViews dlg(Sector, [this] { ++Redraws; });
    EXPECT_EQ(dlg.windowTitle(), "Saved Views");
    auto *list = Find<QListWidget>(dlg, "lbViews");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(1)->text(), "Far Out");
    list->setCurrentRow(1);
    Find<QPushButton>(dlg, "btnShowView")->click();
    EXPECT_EQ(Sector.Camera, (TVexaPoint{40, 50, 60}));
    EXPECT_EQ(Redraws, 1);
    EXPECT_FALSE(Sector.Modified);
}

TEST_F(SavedViewsDialogTest, DeleteRemovesTheViewFromSectorAndListAndMarksTheSector)
{
    TfrmSavedViews dlg(Sector, [this] { ++Redraws; });
    auto *list = Find<QListWidget>(dlg, "lbViews");
    list->setCurrentRow(0);
    Find<QPushButton>(dlg, "btnDelete")->click();
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), "Far Out");
    EXPECT_EQ(Sector.FindView("Home"), -1);
    EXPECT_EQ(Sector.Views.size(), 1u);
    EXPECT_TRUE(Sector.Modified);
    EXPECT_EQ(Redraws, 0);
}

TEST_F(SavedViewsDialogTest, NothingSelectedDoesNothing)
{
    TfrmSavedViews dlg(Sector, [this] { ++Redraws; });
    auto *list = Find<QListWidget>(dlg, "lbViews");
    list->setCurrentRow(-1);
    Find<QPushButton>(dlg, "btnShowView")->click();
    Find<QPushButton>(dlg, "btnDelete")->click();
    EXPECT_EQ(Redraws, 0);
    EXPECT_EQ(Sector.Views.size(), 2u);
    EXPECT_FALSE(Sector.Modified);
    EXPECT_EQ(Sector.Camera, (TVexaPoint{0, 0, 99}));
}

TEST_F(SavedViewsDialogTest, AddAsViewAsksForANameAndBeforeReplacing)
{
    Messages.Push("Cancel");
    EXPECT_FALSE(AddViewAsked(Sector, Messages));
    EXPECT_EQ(Messages.Log().value(0), "input\tAdd View\tEnter the name of this view");

    Messages.Push("home"); // names compare ignoring case
    Messages.Push("No");
    EXPECT_FALSE(AddViewAsked(Sector, Messages));
    EXPECT_EQ(Messages.Log().value(2), "ask\tView Exists\tA view with this name already exists.  Replace it?");
    EXPECT_EQ(Sector.Views[Sector.FindView("Home")]->Camera, (TVexaPoint{1, 2, 3}));
    EXPECT_FALSE(Sector.Modified);

    Messages.Push("Home");
    Messages.Push("Yes");
    EXPECT_TRUE(AddViewAsked(Sector, Messages));
    EXPECT_EQ(Sector.Views.size(), 2u);
    EXPECT_EQ(Sector.Views[Sector.FindView("Home")]->Camera, (TVexaPoint{0, 0, 99}));
    EXPECT_TRUE(Sector.Modified);

    Messages.Push("Rim");
    EXPECT_TRUE(AddViewAsked(Sector, Messages));
    EXPECT_EQ(Sector.Views.size(), 3u);
}

} // namespace
