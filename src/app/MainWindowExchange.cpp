// The main window's exchange commands: "Import CSV Data", "Generate Sector
// Report" and "Merge and Update Sectors".
#include "app/MainWindow.h"

#include "app/exchange/DataImportDialog.h"
#include "app/exchange/SectorMergeDialog.h"
#include "app/exchange/SectorReportDialog.h"
#include "exchange/ExchangePrompt.h"
#include "exchange/SectorReport.h"
#include "files/LegacyConvert.h"
#include "files/SectorImport.h"
#include "model/VexaSector.h"
#include "model/history/SectorHistory.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace kalvion::app {

namespace {

// The report's size question as a message box.
class TMessagesPrompt final : public TExchangePrompt {
public:
    explicit TMessagesPrompt(TAppMessages &messages) : FMessages(messages) {}
    bool ConfirmWarning(const std::string &caption, const std::string &text) override
    {
        return FMessages.Ask(QString::fromStdString(text), QString::fromStdString(caption), TMsgButtons::YesNo,
                             TMsgIcon::Warning) == TMsgAnswer::Yes;
    }

private:
    TAppMessages &FMessages;
};

} // namespace

void TfrmVexaMain::ReportCommand()
{
    if (!FSectorReport)
        FSectorReport = new TfrmSectorReport(FMessages, this);
    FSectorReport->Load(FSettings.DialogPath);
    if (FSectorReport->exec() != QDialog::Accepted)
        return;
    WriteReport(FSectorReport->Choice(), true);
}

QString TfrmVexaMain::WriteReport(const TReportChoice &choice, bool open)
{
    const QString file = choice.FileName.isEmpty() ? DefaultReportFile() : choice.FileName;
    if (file.isEmpty()) {
        ReportError(QStringLiteral("The report folder could not be made."));
        return {};
    }
    TMessagesPrompt prompt(FMessages);
    std::string error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool written = ExportToHTML(*FSector, file.toStdString(), choice.Style, choice.GMNotes, choice.SurfaceMaps,
                                      true, &prompt, &error);
    QApplication::restoreOverrideCursor();
    if (!written) {
        if (error != REPORT_CANCELLED)
            ReportError(QString::fromStdString(error));
        return {};
    }
    if (open)
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
    return file;
}

void TfrmVexaMain::ImportCsv()
{
    if (!FDataImport)
        FDataImport = new TfrmDataImport(FMessages, this);
    FDataImport->Load(*FSector, FSettings.DialogPath);
    // An import may update any system (matched by name) as well as add
    // and replace them.
    FSector->History().TouchEverything();
    FDataImport->exec();
    if (!FDataImport->Imported())
        return;
    // Emptied systems are gone from the tree and the view.
    if (FDataImport->Replaced())
        FCurrentBody = nullptr;
    FSector->SetFilters();
    SectorChanged();
}

void TfrmVexaMain::MergeCommand()
{
    if (!FSectorMerge)
        FSectorMerge = new TfrmSectorMerge(FMessages, this);
    FSectorMerge->Load(FSettings.DialogPath);
    if (FSectorMerge->exec() != QDialog::Accepted)
        return;
    MergeWith(FSectorMerge->Choice());
}

bool TfrmVexaMain::MergeWith(const TMergeChoice &choice)
{
    std::string error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool done = false;
    const std::string file = choice.FileName.toStdString();
    // A merge updates matching systems in place as well as adding others.
    TEditStep step(FSector->History(), choice.Catalogue ? "Import Catalogue" : "Merge and Update Sectors");
    FSector->History().TouchEverything();
    if (choice.Catalogue) {
        const int added = ImportGliese(*FSector, file, &error);
        done = error.empty();
        if (added > 0)
            FSector->Modified = true;
    } else {
        done = ImportSector(*FSector, file, choice.Mode, choice.Placement, choice.DX, choice.DY, choice.DZ, &error);
    }
    QApplication::restoreOverrideCursor();
    // Updated systems were replaced by their imported copies.
    FCurrentBody = nullptr;
    FSector->SetFilters();
    SectorChanged();
    if (!done)
        ReportError(QString::fromStdString(error));
    return done;
}

} // namespace kalvion::app
