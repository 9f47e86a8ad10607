// The "Subsectors" editor: check-and-apply before selecting, "New" and
// "&Done", the shape switch, "New" defaults and "Delete".
#include "DialogTestSupport.h"

#include "app/sector/SubsectorEditor.h"
#include "model/VexaSector.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;

namespace {

class SubsectorEditorTest : public DialogTest {
protected:
    void SetUp() override
    {
        for (const char *name : {"Alpha", "Beta", "Gamma"}) {
            auto s = TVexaSubsector::Create();
            s->Name = name;
            s->SizeX = s->SizeY = s->SizeZ = 4;
            s->GridTick = 2;
            Sector.AddSubsector(std::move(s));
        }
        Sector.Modified = false;
    }
    QLineEdit *Edit(TfrmSubsectors &dlg, const char *name) { return Find<QLineEdit>(dlg, name); }
    TVexaSector Sector;
};

TEST_F(SubsectorEditorTest, EachPositionAndSizeBoxMustHoldANumberInOrder)
{
    TfrmSubsectors dlg(Sector, Messages);
    const char *boxes[] = {"edX", "edY", "edZ", "edSizeX", "edSizeY", "edSizeZ"};
    const char *messages[] = {"Subsector X Position must be a number",      "Subsector Y Position must be a number",
                              "Subsector Z Position must be a number",      "Subsector Width (X) Size must be a number",
                              "Subsector Height (Y) Size must be a number", //
                              "Subsector Depth (Z) Size must be a number"};
    for (const char *box : boxes)
        Edit(dlg, box)->setText("?");
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(dlg.Validate(), messages[i]);
        Edit(dlg, boxes[i])->setText("1");
    }
    EXPECT_EQ(dlg.Validate(), "");
}

TEST_F(SubsectorEditorTest, AFailedCheckKeepsTheSelectionAndStopsNewAndDone)
{
    TfrmSubsectors dlg(Sector, Messages);
    auto *list = Find<QListWidget>(dlg, "lbSubsectors");
    EXPECT_EQ(dlg.CurrentIndex(), 0);
    Edit(dlg, "edY")->setText("north");
    list->setCurrentRow(2);
    EXPECT_EQ(dlg.CurrentIndex(), 0);
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(Messages.Log().value(0), "tell\tKalvion\tSubsector Y Position must be a number");
    EXPECT_FALSE(dlg.NewSubsector());
    EXPECT_EQ(Sector.SubsectorCount(), 3);
    dlg.accept();
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(Messages.Log().size(), 3);
    EXPECT_FALSE(Sector.Modified);
}

TEST_F(SubsectorEditorTest, SelectingAnotherAppliesTheShownValues)
{
    Sector.AddCurrentViewAsView("Overview");
    TfrmSubsectors dlg(Sector, Messages);
    Edit(dlg, "edName")->setText("Core");
    Edit(dlg, "edX")->setText("1.5");
    Edit(dlg, "edSizeZ")->setText("9");
    Edit(dlg, "edRotateZ")->setText("not an angle"); // taken unchecked: keeps its value
    Edit(dlg, "edGridX")->setText("2");
    Find<QListWidget>(dlg, "lbSubsectors")->setCurrentRow(1);
    EXPECT_EQ(dlg.CurrentIndex(), 1);
    const TVexaSubsector *s = Sector.GetSubsector(0);
    EXPECT_EQ(s->Name, "Core");
    EXPECT_EQ(s->X, 1.5);
    EXPECT_EQ(s->SizeZ, 9);
    EXPECT_EQ(s->RotateZ, 0);
    EXPECT_EQ(s->GridX, 2);
    EXPECT_EQ(s->GridTick, 5); // shown as 5, so applied as 5
    EXPECT_TRUE(s->Modified);
    EXPECT_TRUE(Sector.Modified);
    EXPECT_EQ(Find<QListWidget>(dlg, "lbSubsectors")->item(0)->text(), "Core");
    // The rename reaches the saved views.
    ASSERT_FALSE(Sector.Views[0]->SubsectorVisibility.empty());
    EXPECT_EQ(Sector.Views[0]->SubsectorVisibility[0].Name, "Core");
}

TEST_F(SubsectorEditorTest, AnUntouchedNameKeepsItsBytes)
{
    Sector.GetSubsector(1)->Name = "K\xF6nigreich";
    TfrmSubsectors dlg(Sector, Messages);
    EXPECT_EQ(Find<QListWidget>(dlg, "lbSubsectors")->item(1)->text(), QString::fromUtf8("K\u00F6nigreich"));
    dlg.Select(1);
    dlg.Select(0);
    EXPECT_EQ(Sector.GetSubsector(1)->Name, "K\xF6nigreich");
}

TEST_F(SubsectorEditorTest, SphereShapeShowsRadiusAndTicksInsteadOfBoxSizes)
{
    TfrmSubsectors dlg(Sector, Messages);
    dlg.show();
    Find<QRadioButton>(dlg, "rbSphere")->setChecked(true);
    EXPECT_EQ(Find<QLabel>(dlg, "lblSizeX")->text(), "Radius:");
    EXPECT_FALSE(Edit(dlg, "edSizeY")->isVisible());
    EXPECT_FALSE(Edit(dlg, "edGridZ")->isVisible());
    EXPECT_TRUE(Find<QComboBox>(dlg, "cmbGridTick")->isVisible());
    EXPECT_EQ(Find<QComboBox>(dlg, "cmbGridTick")->currentText(), "5");
    Find<QComboBox>(dlg, "cmbGridTick")->setCurrentText("30");
    dlg.accept();
    EXPECT_EQ(Sector.GetSubsector(0)->Shape, VEXA_SUBSECTOR_SPHERE);
    EXPECT_EQ(Sector.GetSubsector(0)->GridTick, 30);
    dlg.show(); // "&Done" closed it
    Find<QRadioButton>(dlg, "rbCube")->setChecked(true);
    EXPECT_EQ(Find<QLabel>(dlg, "lblSizeX")->text(), "Width (X):");
    EXPECT_TRUE(Edit(dlg, "edSizeY")->isVisible());
    EXPECT_FALSE(Find<QComboBox>(dlg, "cmbGridTick")->isVisible());
}

TEST_F(SubsectorEditorTest, NewUsesTheEditorDefaultsAndDeleteSelectsTheOneBefore)
{
    TfrmSubsectors dlg(Sector, Messages);
    Find<QPushButton>(dlg, "btnNew")->click();
    ASSERT_EQ(Sector.SubsectorCount(), 4);
    EXPECT_EQ(dlg.CurrentIndex(), 3);
    const TVexaSubsector *s = Sector.GetSubsector(3);
    EXPECT_EQ(s->Name, "New Subsector");
    EXPECT_TRUE(s->ShowLabel);
    EXPECT_TRUE(s->Visible);
    EXPECT_EQ(s->Color, ColorRGB(0, 0, 255));
    EXPECT_EQ(s->Shape, VEXA_SUBSECTOR_RECT);
    EXPECT_EQ(s->SizeX, 10);
    EXPECT_EQ(s->SizeZ, 10);
    EXPECT_FALSE(s->ShowGrid);
    EXPECT_EQ(Edit(dlg, "edName")->text(), "New Subsector");

    dlg.Select(2);
    Find<QPushButton>(dlg, "btnDelete")->click();
    ASSERT_EQ(Sector.SubsectorCount(), 3);
    EXPECT_EQ(dlg.CurrentIndex(), 1);
    EXPECT_EQ(Edit(dlg, "edName")->text(), "Beta");
    EXPECT_EQ(Find<QListWidget>(dlg, "lbSubsectors")->count(), 3);
    dlg.Select(0);
    dlg.DeleteSelected();
    EXPECT_EQ(dlg.CurrentIndex(), 0);
    EXPECT_EQ(Edit(dlg, "edName")->text(), "Beta");
    EXPECT_EQ(Sector.DeletedObjects.size(), 2u);
}

} // namespace
