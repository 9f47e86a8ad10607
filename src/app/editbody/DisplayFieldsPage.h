#pragma once
// The "System Data Fields" page of the body property dialog: a tree over an
// owned copy of the body's display fields (or the sector's for its type),
// the editor of the selected line and the right-click menu that adds,
// moves and deletes lines.  Every change ticks the override box.
#include "app/AppMessages.h"
#include "model/SystemDataConfig.h"

#include <QObject>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;

namespace kalvion {
class TStellarBody;
class TVexaSector;
} // namespace kalvion

namespace kalvion::app {

struct TDisplayFieldsWidgets {
    QCheckBox *Override;
    QTreeWidget *Tree;
    QLineEdit *Text;
    QComboBox *Source;
    QLineEdit *Field;
    QCheckBox *HideIfEmpty;
    QLabel *SelectHint;
};

class TDisplayFieldsPage final : public QObject {
    Q_OBJECT
public:
    TDisplayFieldsPage(TAppMessages &messages, TDisplayFieldsWidgets widgets, QObject *parent = nullptr);

    void Load(const TStellarBody &body, const TVexaSector &sector);
    const TSystemDataConfig &Config() const { return FConfig; }
    bool Override() const;

    // The selected line (-1 for the root or nothing) and selecting one.
    int SelectedIndex() const;
    void Select(int index);
    // The commands of the right-click menu, on the selected node.
    void InsertNew();
    void Move(int direction);
    void DeleteSelected();
    // The menu for the selected node ("Insert New", then for lines "Move
    // Up", "Move Down", "Delete"); the caller owns it.
    QMenu *BuildMenu();

private:
    void Rebuild(int selectIndex);
    void ShowSelected();
    void EditChanged();
    void Touch();
    QString LineText(const TSystemDataRec &r) const;

    TAppMessages &FMessages;
    TDisplayFieldsWidgets W;
    TSystemDataConfig FConfig;
    QString FRootText;
    bool FFilling = false;
};

} // namespace kalvion::app
