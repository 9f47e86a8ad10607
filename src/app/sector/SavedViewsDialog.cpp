#include "app/sector/SavedViewsDialog.h"

#include "app/DialogValues.h"
#include "model/VexaSector.h"
#include "ui_SavedViewsDialog.h"

namespace kalvion::app {

bool AddViewAsked(TVexaSector &sector, TAppMessages &messages)
{
    const auto name = messages.InputBox(QStringLiteral("Add View"), QStringLiteral("Enter the name of this view"),
                                        QString());
    if (!name || name->trimmed().isEmpty())
        return false;
    const std::string viewName = name->toStdString();
    if (sector.FindView(viewName) >= 0 &&
        messages.Ask(QStringLiteral("A view with this name already exists.  Replace it?"),
                     QStringLiteral("View Exists"), TMsgButtons::YesNo, TMsgIcon::Question) != TMsgAnswer::Yes)
        return false;
    sector.AddCurrentViewAsView(viewName);
    sector.Modified = true;
    return true;
}

TfrmSavedViews::TfrmSavedViews(TVexaSector &sector, std::function<void()> redraw, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmSavedViews>()), FSector(sector), FRedraw(std::move(redraw))
{
    ui->setupUi(this);
    connect(ui->btnShowView, &QPushButton::clicked, this, [this] { ShowSelected(); });
    connect(ui->btnDelete, &QPushButton::clicked, this, [this] { DeleteSelected(); });
    connect(ui->btnClose, &QPushButton::clicked, this, &TfrmSavedViews::reject);
    connect(ui->lbViews, &QListWidget::itemDoubleClicked, this, [this] { ShowSelected(); });
    Refresh();
}

TfrmSavedViews::~TfrmSavedViews() = default;

void TfrmSavedViews::Refresh()
{
    FNames.clear();
    FSector.ViewsToList(FNames);
    ui->lbViews->clear();
    for (const std::string &name : FNames)
        ui->lbViews->addItem(ShownText(name));
    if (ui->lbViews->count() > 0)
        ui->lbViews->setCurrentRow(0);
}

void TfrmSavedViews::ShowSelected()
{
    const int row = ui->lbViews->currentRow();
    if (row < 0 || row >= static_cast<int>(FNames.size()))
        return;
    FSector.LoadView(FNames[static_cast<std::size_t>(row)]);
    if (FRedraw)
        FRedraw();
}

void TfrmSavedViews::DeleteSelected()
{
    const int row = ui->lbViews->currentRow();
    if (row < 0 || row >= static_cast<int>(FNames.size()))
        return;
    FSector.DeleteView(FNames[static_cast<std::size_t>(row)]);
    FNames.erase(FNames.begin() + row);
    delete ui->lbViews->takeItem(row);
    FSector.Modified = true;
}

} // namespace kalvion::app
