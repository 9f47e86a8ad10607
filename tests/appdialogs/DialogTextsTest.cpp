// The captions, button texts and list entries the windows show.
#include "DialogTestSupport.h"

#include "app/PreferencesDialog.h"
#include "app/generation/NewSectorDialog.h"
#include "app/sector/SavedViewsDialog.h"
#include "app/sector/SectorDateDialog.h"
#include "app/sector/SectorPropertiesDialog.h"
#include "app/sector/SubsectorEditor.h"
#include "model/VexaSector.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;

namespace {

class DialogTextsTest : public DialogTest {
protected:
    QString Text(QObject &dlg, const char *button) { return Find<QPushButton>(dlg, button)->text(); }
    QStringList Items(QObject &dlg, const char *combo)
    {
        QStringList items;
        const auto *c = Find<QComboBox>(dlg, combo);
        for (int i = 0; i < c->count(); ++i)
            items << c->itemText(i);
        return items;
    }
};

TEST_F(DialogTextsTest, OkCancelWindows)
{
    TfrmNewSector newSector(Messages);
    TfrmSectorDate date(Messages);
    TfrmSectorProperties properties(Messages);
    TfrmPreferences preferences(Messages);
    for (QDialog *d : std::initializer_list<QDialog *>{&newSector, &date, &properties, &preferences}) {
        EXPECT_EQ(Text(*d, "btnOk"), "&Ok") << d->windowTitle().toStdString();
        EXPECT_EQ(Text(*d, "btnCancel"), "&Cancel") << d->windowTitle().toStdString();
    }
    EXPECT_EQ(Items(newSector, "cmbSubX"),
              QStringList({"1", "2", "3", "4", "5", "8", "10", "16", "20", "25", "32"}));
    EXPECT_EQ(Items(newSector, "cmbUnit"), QStringList({"Light Years", "Parsecs"}));
    EXPECT_EQ(Items(properties, "cmbGridStyle"), QStringList({"No Grid", "Cube Grid", "Sphere Grid"}));
    EXPECT_EQ(Items(preferences, "cmbUpdateChannel"),
              QStringList({"release", "beta", "special1", "special2", "special3", "special4"}));
}

TEST_F(DialogTextsTest, SectorDateBoxesStartAsTheWindowIsMade)
{
    TfrmSectorDate date(Messages);
    const std::pair<const char *, const char *> boxes[] = {{"edYear", "0"},   {"edMonth", "1"},  {"edDay", "1"},
                                                           {"edHour", "0"},   {"edMinute", "0"}, {"edSecond", "0"},
                                                           {"edAdd", "0"}};
    for (const auto &[name, text] : boxes)
        EXPECT_EQ(Find<QLineEdit>(date, name)->text(), text) << name;
    EXPECT_EQ(Items(date, "cmbInc"), QStringList({"years", "months", "days", "hours", "minutes", "seconds"}));
    EXPECT_EQ(Text(date, "btnGo"), "Go");
}

TEST_F(DialogTextsTest, SubsectorAndViewWindows)
{
    TVexaSector sector;
    TfrmSubsectors subsectors(sector, Messages);
    EXPECT_EQ(subsectors.windowTitle(), "Subsectors");
    EXPECT_EQ(Text(subsectors, "btnDone"), "&Done");
    EXPECT_EQ(Text(subsectors, "btnNew"), "New");
    EXPECT_EQ(Text(subsectors, "btnDelete"), "Delete");
    EXPECT_EQ(subsectors.CurrentIndex(), -1);
    EXPECT_FALSE(Find<QLineEdit>(subsectors, "edName")->isEnabled());
    subsectors.NewSubsector();
    EXPECT_TRUE(Find<QLineEdit>(subsectors, "edName")->isEnabled());
    TfrmSavedViews views(sector, {});
    EXPECT_EQ(Text(views, "btnShowView"), "Show View");
    EXPECT_EQ(Text(views, "btnDelete"), "Delete");
    EXPECT_EQ(Text(views, "btnClose"), "Close");
}

} // namespace
