#pragma once
// The pictures and tooltips of the toolbar's buttons.  The desktop's icon
// theme is asked first, by the freedesktop names; our own icons, drawn in
// one style, stand in for the rest and wherever no theme is installed.
#include <QIcon>
#include <QString>

class QAction;

namespace kalvion::app {

// The icon of a toolbar command by action id; a plug-in's button (any id
// not known) gets the plug-in icon.
QIcon ToolbarIcon(const QString &actionId);
// What the button does, in a sentence; "" for an id not known.
QString ToolbarTip(const QString &actionId);
// Gives the action its icon and a tooltip that names the command, its
// shortcut and what it does.
void DressToolbarAction(QAction &action, const QString &actionId);

} // namespace kalvion::app
