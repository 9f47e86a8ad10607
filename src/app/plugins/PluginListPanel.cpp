#include "app/plugins/PluginListPanel.h"

#include "base/TextEncoding.h"
#include "plugins/PluginMgr.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

namespace kalvion::app {

namespace {

QString Text(const std::string &s) { return QString::fromStdString(BytesToUtf8(s)); }

QString FileNameOnly(const std::string &path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return Text(slash == std::string::npos ? path : path.substr(slash + 1));
}

} // namespace

TPluginListPanel::TPluginListPanel(QTableWidget &table, QLabel &description, QLabel &messages, QObject *parent)
    : QObject(parent), FTable(table), FDescription(description), FMessages(messages)
{
    FTable.setColumnCount(6);
    FTable.setHorizontalHeaderLabels({QStringLiteral("Plug-In Name"), QStringLiteral("Source File"),
                                      QStringLiteral("Author"), QStringLiteral("Version"), QStringLiteral("Type"),
                                      QStringLiteral("Active")});
    FTable.verticalHeader()->hide();
    FTable.setEditTriggers(QAbstractItemView::NoEditTriggers);
    FTable.setSelectionBehavior(QAbstractItemView::SelectRows);
    FTable.setSelectionMode(QAbstractItemView::SingleSelection);
    FTable.horizontalHeader()->setStretchLastSection(true);
    connect(&FTable, &QTableWidget::cellClicked, this, &TPluginListPanel::CellClicked);
}

void TPluginListPanel::Load(TVexaPluginMgr &mgr)
{
    FMgr = &mgr;
    FTable.setRowCount(0);
    FTable.setRowCount(static_cast<int>(mgr.Plugins.size()));
    for (int row = 0; row < FTable.rowCount(); ++row) {
        const TVexaPluginInfo &p = mgr.Plugins[static_cast<std::size_t>(row)];
        FTable.setItem(row, 0, new QTableWidgetItem(Text(p.PluginName)));
        FTable.setItem(row, 1, new QTableWidgetItem(FileNameOnly(p.FileName)));
        FTable.setItem(row, 2, new QTableWidgetItem(Text(p.Author)));
        FTable.setItem(row, 3, new QTableWidgetItem(Text(p.Version)));
        FTable.setItem(row, 4, new QTableWidgetItem(QString::fromLatin1(PluginKindName(p.Kind))));
        auto *active = new QTableWidgetItem;
        // The check box answers the click on its cell only, never its own.
        active->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        active->setCheckState(p.Active ? Qt::Checked : Qt::Unchecked);
        FTable.setItem(row, PLUGIN_COLUMN_ACTIVE, active);
    }
    FDescription.clear();
    QStringList lines;
    for (const std::string &m : mgr.ScanMessages)
        lines << Text(m);
    FMessages.setText(lines.join(QLatin1Char('\n')));
    FMessages.setVisible(!lines.isEmpty());
}

void TPluginListPanel::CellClicked(int row, int column)
{
    if (!FMgr || row < 0 || row >= static_cast<int>(FMgr->Plugins.size()))
        return;
    TVexaPluginInfo &p = FMgr->Plugins[static_cast<std::size_t>(row)];
    if (column == PLUGIN_COLUMN_ACTIVE) {
        p.Active = !p.Active;
        FTable.item(row, PLUGIN_COLUMN_ACTIVE)->setCheckState(p.Active ? Qt::Checked : Qt::Unchecked);
    }
    FDescription.setText(Text(p.Description));
}

} // namespace kalvion::app
