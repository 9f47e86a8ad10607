#pragma once
// The plug-in list of the preferences window: every plug-in with its source
// file, author, version, kind and an "Active" check box.  Clicking the
// Active cell switches the plug-in at once (the switch stands even when the
// window is cancelled); clicking a row shows its description.  Files the
// scan could not read are listed under the table.
#include <QObject>

class QLabel;
class QTableWidget;

namespace kalvion {
class TVexaPluginMgr;
}

namespace kalvion::app {

inline constexpr int PLUGIN_COLUMN_ACTIVE = 5;

class TPluginListPanel final : public QObject {
    Q_OBJECT
public:
    TPluginListPanel(QTableWidget &table, QLabel &description, QLabel &messages, QObject *parent = nullptr);

    void Load(TVexaPluginMgr &mgr);
    // What a click on a cell does (also for tests).
    void CellClicked(int row, int column);

private:
    QTableWidget &FTable;
    QLabel &FDescription;
    QLabel &FMessages;
    TVexaPluginMgr *FMgr = nullptr;
};

} // namespace kalvion::app
