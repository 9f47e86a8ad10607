#pragma once
// Every command of the main window is one QAction registered under a stable
// id ("File.Save"); menus are registered by id too, so a plug-in's or a
// script's menu item goes through the same table.  Texts, shortcuts and
// hints live in the table, not in the window's code.
#include <QHash>
#include <QString>

class QAction;
class QMenu;
class QObject;

namespace kalvion::app {

struct TActionDef {
    const char *Id;
    const char *Text;
    const char *Shortcut;  // "" for none
    const char *Hint;      // toolbar and status hint; "" for none
    bool Checkable;
};

// One menu's contents: action ids, "-" for a separator, ">Id" to open the
// submenu Id, "<" to close it.
struct TMenuDef {
    const char *Id;
    const char *Title;
    const char *const *Items;
};

class TActionTable {
public:
    explicit TActionTable(QObject *owner);

    QAction *Add(const TActionDef &def);
    QAction *Action(const QString &id) const;
    QAction *operator[](const QString &id) const { return Action(id); }
    void AddMenu(const QString &id, QMenu *menu) { FMenus.insert(id, menu); }
    QMenu *Menu(const QString &id) const { return FMenus.value(id); }
    const QHash<QString, QAction *> &All() const { return FActions; }

private:
    QObject *FOwner;
    QHash<QString, QAction *> FActions;
    QHash<QString, QMenu *> FMenus;
};

// The main window's commands, in menu order.
const TActionDef *MainActionDefs(int &count);

} // namespace kalvion::app
