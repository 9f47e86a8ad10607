#include "app/search/SearchWindow.h"

#include "app/DialogValues.h"
#include "app/search/QueryBuilder.h"
#include "base/AsciiText.h"
#include "model/BodyTypes.h"
#include "search/SearchColumns.h"
#include "search/Searcher.h"
#include "ui_SearchWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>

#include <algorithm>
#include <string>
#include <vector>

namespace kalvion::app {

namespace {

// Where the search window stops collecting.
constexpr int SEARCH_WINDOW_RESULT_LIMIT = 1000;
constexpr int FIXED_COLUMNS = 6;

const std::string &RootName(const TStellarBody *b)
{
    static const std::string none;
    const TStellarBody *root = b->GetRootBody();
    return root ? root->Name : none;
}

// A shown number: digits with grouping and decimal separators and a sign.
bool LooksNumeric(const std::string &text)
{
    if (text.empty())
        return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || c == ',' || c == '.' || c == '-' || c == ' ' || c == '\''))
            return false;
    return true;
}

} // namespace

TfrmVexaSearch3::TfrmVexaSearch3(TAppMessages &messages, QStringList &history, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmVexaSearch3>()), FMessages(messages), FHistory(history),
      FSearcher(std::make_unique<TVexaSearcher3>())
{
    ui->setupUi(this);
    FQuery = ui->editQuery;
    FGrid = ui->gridResults;
    FBuilderToggle = ui->btnQueryBuilder;
    // The Query Builder's two columns read left to right in the order the
    // query is written; closed, it leaves the grid most of the window.
    FBuilder = ui->pnlQueryBuilder;
    FBuilder->setVisible(false);
    FReturnRoots = ui->chkReturnRoots;
    FRootsOnly = ui->chkRootsOnly;
    FName = ui->editBuilderName;
    FNameMode = ui->cmbNameMode;
    FHabit = ui->cmbHabitability;
    FType = ui->cmbType;
    FParentType = ui->cmbParentType;
    FPopulation = ui->editPopulation;
    FWithin = ui->editWithin;
    FOnRoute = ui->chkOnRoute;
    FHabit->setItemText(0, QString::fromLatin1(QUERY_BUILDER_ANY));
    const QStringList types = QueryBuilderTypeNames();
    FType->addItems(types);
    FParentType->addItems(types);

    // Two lines of query; Enter runs it instead of breaking its line.
    FQuery->setFixedHeight(FQuery->fontMetrics().lineSpacing() * 2 + 14);
    FQuery->installEventFilter(this);
    FGrid->verticalHeader()->setDefaultSectionSize(FGrid->fontMetrics().height() + 6);
    FGrid->horizontalHeader()->setSectionsClickable(true);
    FillGrid();

    connect(ui->btnSearch, &QPushButton::clicked, this, &TfrmVexaSearch3::RunSearch);
    connect(ui->btnHistoryUp, &QToolButton::clicked, this, &TfrmVexaSearch3::HistoryOlder);
    connect(ui->btnHistoryDown, &QToolButton::clicked, this, &TfrmVexaSearch3::HistoryNewer);
    connect(FBuilderToggle, &QToolButton::toggled, this, [this](bool open) {
        FBuilder->setVisible(open);
        FBuilderToggle->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
    });
    connect(FGrid->horizontalHeader(), &QHeaderView::sectionClicked, this, &TfrmVexaSearch3::SortByColumn);
    connect(FGrid, &QTableWidget::cellClicked, this, [this](int row, int) { ResultClicked(row); });
    connect(ui->btnSelectAll, &QPushButton::clicked, this, [this] {
        if (OnSelectAll)
            OnSelectAll(Results());
    });
    connect(ui->btnClose, &QPushButton::clicked, this, &QDialog::close);
    connect(ui->btnBuild, &QPushButton::clicked, this, &TfrmVexaSearch3::Build);
}

TfrmVexaSearch3::~TfrmVexaSearch3() = default;

const TStellarBodyList &TfrmVexaSearch3::Results() const { return FSearcher->Results; }

QString TfrmVexaSearch3::QueryText() const { return FQuery->toPlainText(); }

void TfrmVexaSearch3::SetQueryText(const QString &text) { FQuery->setPlainText(text); }

bool TfrmVexaSearch3::eventFilter(QObject *watched, QEvent *event)
{
    // Enter runs the query instead of breaking its line.
    if (watched == FQuery && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            RunSearch();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmVexaSearch3::RunSearch()
{
    const QString query = QueryText().trimmed();
    if (FHistory.isEmpty() || FHistory.back() != query)
        FHistory << query;
    FHistoryPos = 0;
    FSortColumn = -1;
    FSearcher->Sector = FSector;
    // The quick-search box's "Root bodies only" is not this window's: only
    // the query's own words ask for root bodies here.
    FSearcher->RootOnly = false;
    FSearcher->ResultLimit = SEARCH_WINDOW_RESULT_LIMIT;
    if (FSector) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        FSearcher->Search(query.toStdString());
        QApplication::restoreOverrideCursor();
    } else {
        FSearcher->Clear();
    }
    FillGrid();
    if (!FSearcher->ErrorText.empty())
        FMessages.Tell(QString::fromStdString(FSearcher->ErrorText), QStringLiteral("Search"), TMsgIcon::Warning);
    setWindowTitle(QStringLiteral("Search - ") + QString::number(FSearcher->GetResultCount()) +
                   QStringLiteral(" Results"));
}

void TfrmVexaSearch3::FillGrid()
{
    const auto &columns = FSearcher->Parser.Columns;
    const TStellarBodyList &results = FSearcher->Results;
    std::vector<std::string> headers = SearchResultHeaders(columns);
    FGrid->clearContents();
    FGrid->setColumnCount(static_cast<int>(headers.size()));
    QStringList labels;
    for (const std::string &h : headers)
        labels << QString::fromStdString(h);
    FGrid->setHorizontalHeaderLabels(labels);
    // One empty row stands for "nothing found".
    FGrid->setRowCount(std::max<int>(1, static_cast<int>(results.size())));
    std::vector<std::string> cells;
    for (int row = 0; row < static_cast<int>(results.size()); ++row) {
        SearchResultCells(results[static_cast<std::size_t>(row)], columns, cells);
        for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
            auto *item = new QTableWidgetItem(ShownText(cells[static_cast<std::size_t>(c)]));
            // Numbers read best against the right edge.
            if (c == 3 || (c >= FIXED_COLUMNS && LooksNumeric(cells[static_cast<std::size_t>(c)])))
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            FGrid->setItem(row, c, item);
        }
    }
    FGrid->resizeColumnsToContents();
    for (int c = 0; c < FGrid->columnCount(); ++c)
        FGrid->setColumnWidth(c, std::clamp(FGrid->columnWidth(c) + 12, 70, 260));
}

void TfrmVexaSearch3::HistoryOlder()
{
    if (FHistoryPos >= FHistory.size())
        return;
    ++FHistoryPos;
    SetQueryText(FHistory[FHistory.size() - FHistoryPos]);
}

void TfrmVexaSearch3::HistoryNewer()
{
    if (FHistoryPos <= 0)
        return;
    --FHistoryPos;
    if (FHistoryPos > 0)
        SetQueryText(FHistory[FHistory.size() - FHistoryPos]);
}

void TfrmVexaSearch3::SortByColumn(int column)
{
    TStellarBodyList &results = FSearcher->Results;
    if (column == FSortColumn) {
        std::reverse(results.begin(), results.end());
        FillGrid();
        return;
    }
    const auto &columns = FSearcher->Parser.Columns;
    if (column < 0 || column >= FIXED_COLUMNS + static_cast<int>(columns.size()))
        return;
    FSortColumn = column;
    const auto byText = [&results](auto key) {
        std::stable_sort(results.begin(), results.end(),
                         [&key](const TStellarBody *a, const TStellarBody *b) { return key(a) < key(b); });
    };
    switch (column) {
    case 0: byText([](const TStellarBody *b) -> const std::string & { return b->Name; }); break;
    case 1: byText([](const TStellarBody *b) { return NameFromBodyType(b->TypeID); }); break;
    case 2: byText([](const TStellarBody *b) -> const std::string & { return RootName(b); }); break;
    case 3:
        std::stable_sort(results.begin(), results.end(),
                         [](const TStellarBody *a, const TStellarBody *b) { return a->Population > b->Population; });
        break;
    case 4:
        std::stable_sort(results.begin(), results.end(), [](const TStellarBody *a, const TStellarBody *b) {
            return a->Habitability > b->Habitability;
        });
        break;
    case 5: byText([](const TStellarBody *b) { return b->PoliticalAffiliation.view(); }); break;
    default: {
        const TVexa3SearchColumn &c = columns[static_cast<std::size_t>(column - FIXED_COLUMNS)];
        VexaSearch3SortPropertyName = c.Property;
        VexaSearch3SortFieldName = c.FieldName;
        VexaSearch3SortTarget = c.Scope;
        std::stable_sort(results.begin(), results.end(), [](const TStellarBody *a, const TStellarBody *b) {
            return VexaSearch3SortByProp(a, b) < 0;
        });
    }
    }
    FillGrid();
}

void TfrmVexaSearch3::ClearResults()
{
    FSearcher->Clear();
    FSortColumn = -1;
    FillGrid();
}

void TfrmVexaSearch3::ResultClicked(int row)
{
    const TStellarBodyList &results = FSearcher->Results;
    if (row < 0 || row >= static_cast<int>(results.size()) || !OnResultClicked)
        return;
    OnResultClicked(results[static_cast<std::size_t>(row)]);
}

TQueryBuilderInputs TfrmVexaSearch3::BuilderInputs() const
{
    TQueryBuilderInputs in;
    in.ReturnRootBodies = FReturnRoots->isChecked();
    in.RootBodiesOnly = FRootsOnly->isChecked();
    in.Name = FName->text();
    in.NameExact = FNameMode->currentIndex() == 1;
    in.Habitability = FHabit->currentText();
    in.Type = FType->currentText();
    in.ParentType = FParentType->currentText();
    in.PopulationAtLeast = FPopulation->text();
    in.WithinDistance = FWithin->text();
    in.ConnectedByRoute = FOnRoute->isChecked();
    return in;
}

void TfrmVexaSearch3::Build() { SetQueryText(BuildQueryText(BuilderInputs())); }

} // namespace kalvion::app
