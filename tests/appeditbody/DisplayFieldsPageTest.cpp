// The "System Data Fields" page: a copy of the display fields, its tree,
// the line editor, the right-click commands and what "&Ok" keeps.
#include "EditBodyTestSupport.h"

#include "app/editbody/DisplayFieldsPage.h"

#include <QMenu>
#include <QTreeWidget>

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;

namespace {

class DisplayFieldsTest : public EditBodyTest {
protected:
    TDisplayFieldsPage &Page() { return Dlg.DisplayFields(); }
    QTreeWidget *Tree() { return Find<QTreeWidget>(Dlg, "treeFields"); }
    QCheckBox *Override() { return Find<QCheckBox>(Dlg, "chkOverride"); }
    QStringList Lines()
    {
        QStringList list;
        QTreeWidgetItem *root = Tree()->topLevelItem(0);
        for (int i = 0; root && i < root->childCount(); ++i)
            list << root->child(i)->text(0);
        return list;
    }
};

TEST_F(DisplayFieldsTest, StartsFromTheSectorDefaultsUnticked)
{
    Open(Star);
    EXPECT_FALSE(Override()->isChecked());
    EXPECT_EQ(Override()->text(),
              "If checked, use these settings for this body instead of the sector's default System Data Field "
              "settings.");
    EXPECT_EQ(Tree()->topLevelItem(0)->text(0), "Star");
    EXPECT_EQ(Lines().first(), "Spectral Class (spectral)");
    EXPECT_FALSE(Edit("edFieldText")->isEnabled());
    EXPECT_FALSE(Label("lblSelectHint")->isHidden());
    EXPECT_EQ(Label("lblSelectHint")->text(), "Select a sub-item to edit the display properties");
}

TEST_F(DisplayFieldsTest, EditingALineUpdatesItsTextAndTicksTheBox)
{
    Open(Star);
    Page().Select(1);
    EXPECT_TRUE(Edit("edFieldText")->isEnabled());
    EXPECT_EQ(Edit("edFieldText")->text(), "Mass");
    EXPECT_TRUE(Find<QCheckBox>(Dlg, "chkHideIfEmpty")->isChecked());
    Edit("edFieldText")->setText("Weight");
    emit Edit("edFieldText")->textEdited("Weight");
    EXPECT_EQ(Lines()[1], "Weight (mass)");
    EXPECT_TRUE(Override()->isChecked());
    // The sector's own configuration is a different object, untouched.
    EXPECT_EQ(Sector.SystemDataDefaults.GetConfigForType(BODY_TYPE_STAR)->Records[1].DisplayText, "Mass");
}

TEST_F(DisplayFieldsTest, InsertNewRefusesANameThatExistsInAnyCase)
{
    Open(Star);
    const int before = Page().Config().Count();
    Messages.Push(QStringLiteral("MASS"));
    Page().InsertNew();
    EXPECT_EQ(Told(), QStringList{"\"MASS\" already exists"});
    EXPECT_EQ(Page().Config().Count(), before);
    EXPECT_FALSE(Override()->isChecked());
}

TEST_F(DisplayFieldsTest, InsertNewAppendsOnTheRootAndInsertsBeforeALine)
{
    Open(Star);
    const int before = Page().Config().Count();
    Page().Select(-1);
    Messages.Push(QStringLiteral("Moons"));
    Page().InsertNew();
    EXPECT_EQ(Lines().last(), "Moons ()");
    EXPECT_TRUE(Page().Config().Records.back().HideIfEmpty);
    Page().Select(0);
    Messages.Push(QStringLiteral("Catalogue"));
    Page().InsertNew();
    EXPECT_EQ(Lines().first(), "Catalogue ()");
    EXPECT_FALSE(Page().Config().Records.front().HideIfEmpty);
    EXPECT_EQ(Page().SelectedIndex(), 0);
    EXPECT_EQ(Page().Config().Count(), before + 2);
    EXPECT_TRUE(Override()->isChecked());
}

TEST_F(DisplayFieldsTest, MoveKeepsTheMovedLineSelectedAndDeleteRemovesIt)
{
    Open(Star);
    Page().Select(0);
    Page().Move(+1);
    EXPECT_EQ(Lines()[1], "Spectral Class (spectral)");
    EXPECT_EQ(Page().SelectedIndex(), 1);
    Page().Move(-1);
    Page().Move(-1);  // the first line stays first
    EXPECT_EQ(Page().SelectedIndex(), 0);
    EXPECT_EQ(Lines()[0], "Spectral Class (spectral)");
    Page().DeleteSelected();
    EXPECT_EQ(Lines()[0], "Mass (mass)");
}

TEST_F(DisplayFieldsTest, MenuOffersLineCommandsOnlyForLines)
{
    Open(Star);
    Page().Select(-1);
    std::unique_ptr<QMenu> root(Page().BuildMenu());
    ASSERT_EQ(root->actions().size(), 1);
    EXPECT_EQ(root->actions()[0]->text(), "Insert New");
    Page().Select(2);
    std::unique_ptr<QMenu> line(Page().BuildMenu());
    QStringList texts;
    for (QAction *a : line->actions())
        texts << a->text();
    EXPECT_EQ(texts, (QStringList{"Insert New", "Move Up", "Move Down", "Delete"}));
}

TEST_F(DisplayFieldsTest, OkGivesTheBodyItsOwnCopyOrTakesItAway)
{
    Open(Star);
    Page().Select(0);
    Page().DeleteSelected();
    Dlg.accept();
    ASSERT_NE(Star->SystemDataConfig(), nullptr);
    EXPECT_EQ(Star->SystemDataConfig()->Records[0].DisplayText, "Mass");
    EXPECT_EQ(Star->SystemDataConfig()->TypeID, BODY_TYPE_STAR);
    Open(Star);
    EXPECT_TRUE(Override()->isChecked());
    EXPECT_EQ(Lines().first(), "Mass (mass)");
    Override()->setChecked(false);
    Dlg.accept();
    EXPECT_EQ(Star->SystemDataConfig(), nullptr);
}

} // namespace
