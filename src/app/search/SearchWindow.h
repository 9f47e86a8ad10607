#pragma once
// TfrmVexaSearch3: the "Search" window.  A query box with the query history,
// a grid of the matching bodies with the query's own columns, sorting by a
// click on a header, and the Query Builder that writes simple queries.  The
// window owns its searcher; what a click on a result does to the main window
// is the main window's business (OnResultClicked, OnSelectAll).
#include "app/AppMessages.h"
#include "model/StellarBody.h"

#include <QDialog>
#include <QStringList>

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QToolButton;
class QWidget;

namespace Ui {
class TfrmVexaSearch3;
}

namespace kalvion {
class TVexaSector;
class TVexaSearcher3;
} // namespace kalvion

namespace kalvion::app {

struct TQueryBuilderInputs;

class TfrmVexaSearch3 final : public QDialog {
    Q_OBJECT
public:
    // `history` is the main window's query history, newest last.
    TfrmVexaSearch3(TAppMessages &messages, QStringList &history, QWidget *parent = nullptr);
    ~TfrmVexaSearch3() override;

    void SetSector(TVexaSector *sector) { FSector = sector; }
    TVexaSearcher3 &Searcher() { return *FSearcher; }
    const TStellarBodyList &Results() const;

    QString QueryText() const;
    void SetQueryText(const QString &text);
    // Runs the query of the box and fills the grid.
    void RunSearch();
    // The history arrows: older (up) and newer (down).
    void HistoryOlder();
    void HistoryNewer();
    int HistoryPosition() const { return FHistoryPos; }
    // A click on a header of the grid.
    void SortByColumn(int column);
    // Forgets the results (their bodies are about to go).
    void ClearResults();
    // The Query Builder's controls, and "Build".
    TQueryBuilderInputs BuilderInputs() const;
    void Build();

    std::function<void(TStellarBody *)> OnResultClicked;
    std::function<void(const TStellarBodyList &)> OnSelectAll;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FillGrid();
    void ResultClicked(int row);

    std::unique_ptr<Ui::TfrmVexaSearch3> ui;
    TAppMessages &FMessages;
    QStringList &FHistory;
    std::unique_ptr<TVexaSearcher3> FSearcher;
    TVexaSector *FSector = nullptr;
    int FHistoryPos = 0;
    int FSortColumn = -1;

    // The layout's controls the behaviour works on.
    QPlainTextEdit *FQuery = nullptr;
    QTableWidget *FGrid = nullptr;
    QToolButton *FBuilderToggle = nullptr;
    QWidget *FBuilder = nullptr;
    QCheckBox *FReturnRoots = nullptr;
    QCheckBox *FRootsOnly = nullptr;
    QLineEdit *FName = nullptr;
    QComboBox *FNameMode = nullptr;
    QComboBox *FHabit = nullptr;
    QComboBox *FType = nullptr;
    QComboBox *FParentType = nullptr;
    QLineEdit *FPopulation = nullptr;
    QLineEdit *FWithin = nullptr;
    QCheckBox *FOnRoute = nullptr;
};

} // namespace kalvion::app
