#include "app/editbody/DisplayFieldsPage.h"

#include "app/DialogValues.h"
#include "app/editbody/EditBodyPages.h"
#include "model/VexaSector.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTreeWidget>

#include <algorithm>
#include <memory>

namespace kalvion::app {

TDisplayFieldsPage::TDisplayFieldsPage(TAppMessages &messages, TDisplayFieldsWidgets widgets, QObject *parent)
    : QObject(parent), FMessages(messages), W(widgets)
{
    std::vector<std::string> sources;
    SystemDataGetSourceTypeList(sources);
    W.Source->clear();
    for (const std::string &s : sources)
        W.Source->addItem(QString::fromStdString(s));
    connect(W.Tree, &QTreeWidget::currentItemChanged, this, [this] { ShowSelected(); });
    connect(W.Text, &QLineEdit::textEdited, this, [this] { EditChanged(); });
    connect(W.Field, &QLineEdit::textEdited, this, [this] { EditChanged(); });
    connect(W.Source, &QComboBox::currentIndexChanged, this, [this] { EditChanged(); });
    connect(W.HideIfEmpty, &QCheckBox::toggled, this, [this] { EditChanged(); });
    connect(W.Tree, &QTreeWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        if (QTreeWidgetItem *item = W.Tree->itemAt(pos))
            W.Tree->setCurrentItem(item);
        std::unique_ptr<QMenu> menu(BuildMenu());
        menu->exec(W.Tree->viewport()->mapToGlobal(pos));
    });
}

void TDisplayFieldsPage::Load(const TStellarBody &body, const TVexaSector &sector)
{
    FConfig = TSystemDataConfig();
    FConfig.TypeID = body.TypeID;
    FConfig.CopyFrom(EffectiveDisplayFields(body, sector));
    FRootText = QString::fromStdString(NameFromBodyType(body.TypeID));
    W.Override->setChecked(body.SystemDataConfig() != nullptr);
    Rebuild(-1);
}

bool TDisplayFieldsPage::Override() const { return W.Override->isChecked(); }

QString TDisplayFieldsPage::LineText(const TSystemDataRec &r) const
{
    return ShownText(r.DisplayText) + QStringLiteral(" (") + ShownText(r.Source) + QStringLiteral(")");
}

void TDisplayFieldsPage::Rebuild(int selectIndex)
{
    FFilling = true;
    W.Tree->clear();
    auto *root = new QTreeWidgetItem(W.Tree, QStringList{FRootText});
    for (const TSystemDataRec &r : FConfig.Records)
        new QTreeWidgetItem(root, QStringList{LineText(r)});
    root->setExpanded(true);
    FFilling = false;
    Select(selectIndex);
}

int TDisplayFieldsPage::SelectedIndex() const
{
    QTreeWidgetItem *item = W.Tree->currentItem();
    if (!item || !item->parent())
        return -1;
    return item->parent()->indexOfChild(item);
}

void TDisplayFieldsPage::Select(int index)
{
    QTreeWidgetItem *root = W.Tree->topLevelItem(0);
    if (!root)
        return;
    QTreeWidgetItem *item = index >= 0 && index < root->childCount() ? root->child(index) : root;
    W.Tree->setCurrentItem(item);
    ShowSelected();
}

void TDisplayFieldsPage::ShowSelected()
{
    if (FFilling)
        return;
    const int index = SelectedIndex();
    const bool line = index >= 0 && index < FConfig.Count();
    FFilling = true;
    for (QWidget *w : {static_cast<QWidget *>(W.Text), static_cast<QWidget *>(W.Source),
                       static_cast<QWidget *>(W.Field), static_cast<QWidget *>(W.HideIfEmpty)})
        w->setEnabled(line);
    W.SelectHint->setVisible(!line);
    if (line) {
        const TSystemDataRec &r = FConfig.Records[static_cast<std::size_t>(index)];
        W.Text->setText(ShownText(r.DisplayText));
        const int source = W.Source->findText(QString::fromStdString(r.Source), Qt::MatchFixedString);
        W.Source->setCurrentIndex(source >= 0 ? source : 0);
        W.Field->setText(ShownText(r.Field));
        W.HideIfEmpty->setChecked(r.HideIfEmpty);
    } else {
        W.Text->clear();
        W.Field->clear();
        W.Source->setCurrentIndex(0);
        W.HideIfEmpty->setChecked(false);
    }
    FFilling = false;
}

void TDisplayFieldsPage::EditChanged()
{
    if (FFilling)
        return;
    const int index = SelectedIndex();
    if (index < 0 || index >= FConfig.Count())
        return;
    TSystemDataRec &r = FConfig.Records[static_cast<std::size_t>(index)];
    r.DisplayText = StoredText(W.Text->text(), r.DisplayText);
    r.Source = W.Source->currentText().toStdString();
    r.Field = StoredText(W.Field->text(), r.Field);
    r.HideIfEmpty = W.HideIfEmpty->isChecked();
    if (QTreeWidgetItem *item = W.Tree->currentItem())
        item->setText(0, LineText(r));
    Touch();
}

void TDisplayFieldsPage::Touch() { W.Override->setChecked(true); }

void TDisplayFieldsPage::InsertNew()
{
    const auto name = FMessages.InputBox(QStringLiteral("New display field"), QStringLiteral("Field to create:"),
                                         QString());
    if (!name || name->isEmpty())
        return;
    const std::string text = name->toStdString();
    if (FConfig.FindField(text) >= 0) {
        FMessages.Tell(QLatin1Char('"') + *name + QStringLiteral("\" already exists"), QStringLiteral("Kalvion"),
                       TMsgIcon::Warning);
        return;
    }
    const int index = SelectedIndex();
    int selected;
    if (index < 0) {
        FConfig.AddField(text, "", "", true);
        selected = FConfig.Count() - 1;
    } else {
        FConfig.Insert(text, "", "", index);
        selected = index;
    }
    Rebuild(selected);
    Touch();
}

void TDisplayFieldsPage::Move(int direction)
{
    const int index = SelectedIndex();
    if (index < 0)
        return;
    FConfig.MoveUpDown(index, direction);
    const int moved = index + (direction < 0 ? -1 : 1);
    Rebuild(moved >= 0 && moved < FConfig.Count() ? moved : index);
    Touch();
}

void TDisplayFieldsPage::DeleteSelected()
{
    const int index = SelectedIndex();
    if (index < 0)
        return;
    // DeleteField goes by caption; the first record of that caption is the
    // selected one, as captions are kept unique.
    FConfig.Records.erase(FConfig.Records.begin() + index);
    Rebuild(std::min(index, FConfig.Count() - 1));
    Touch();
}

QMenu *TDisplayFieldsPage::BuildMenu()
{
    auto *menu = new QMenu(W.Tree);
    menu->setObjectName(QStringLiteral("menuDisplayFields"));
    connect(menu->addAction(QStringLiteral("Insert New")), &QAction::triggered, this, [this] { InsertNew(); });
    if (SelectedIndex() >= 0) {
        connect(menu->addAction(QStringLiteral("Move Up")), &QAction::triggered, this, [this] { Move(-1); });
        connect(menu->addAction(QStringLiteral("Move Down")), &QAction::triggered, this, [this] { Move(+1); });
        connect(menu->addAction(QStringLiteral("Delete")), &QAction::triggered, this, [this] { DeleteSelected(); });
    }
    return menu;
}

} // namespace kalvion::app
