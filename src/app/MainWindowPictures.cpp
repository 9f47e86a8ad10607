// The main window's map pictures: "Export as 2D Map..." (the sector map, or
// in the orbit view the system diagram) and "&Print".
#include "app/MainWindow.h"

#include "app/AppMessages.h"
#include "app/pictures/DiagramExportDialog.h"
#include "app/pictures/PrintSectorDialog.h"
#include "app/pictures/SectorExportDialog.h"
#include "graphics/RenderOrbitNG.h"
#include "graphics/RenderSectorNG.h"
#include "graphics/SectorPrint.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QPrinter>
#include <QUrl>

namespace kalvion::app {

namespace {

QString FirstSelectedName(TVexaSector &sector)
{
    const TStellarBody *first = sector.SelectedCount() > 0 ? sector.GetSelected(0) : nullptr;
    return first ? QString::fromStdString(first->Name) : QString();
}

} // namespace

void TfrmVexaMain::ExportMap()
{
    if (FViewMode == VIEW_MODE_ORBIT && FCurrentBody) {
        ExportSystemDiagram();
        return;
    }
    if (!FSectorExport)
        FSectorExport = new TfrmSectorExport(FMessages, this);
    double extents[3][2];
    for (int plane = 0; plane < 3; ++plane)
        SectorMapExtent(*FSector, plane, extents[plane][0], extents[plane][1]);
    FSectorExport->Load(extents, FirstSelectedName(*FSector), QString::fromStdString(FSector->UnitStarMeasureName),
                        FSettings.DialogPath);
    if (FSectorExport->exec() != QDialog::Accepted)
        return;
    WriteMap(FSectorExport->Choice());
}

bool TfrmVexaMain::WriteMap(const TSectorExportChoice &choice)
{
    std::unique_ptr<TVexaSector> submap;
    const TVexaSector &subject = MapSubject(*FSector, choice.Area, submap);
    std::string error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const TMapOptions &o = choice.Map;
    const bool written = Export2D(subject, choice.FileName.toStdString(), o.ColourMode, o.Plane, choice.Width,
                                  o.SystemFactor, o.LabelFactor, o.ShowGrid, o.ScaleByDepth, o.ShowRoutes, &error);
    QApplication::restoreOverrideCursor();
    if (!written) {
        ReportError(QString::fromStdString(error));
        return false;
    }
    if (choice.ShowImage)
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(choice.FileName).absoluteFilePath()));
    return true;
}

void TfrmVexaMain::ExportSystemDiagram()
{
    if (!FCurrentBody)
        return;
    if (!FDiagramExport)
        FDiagramExport = new TfrmDiagramExport(FMessages, this);
    FDiagramExport->Load(FCurrentBody->ChildrenCount(), FSettings.DialogPath);
    if (FDiagramExport->exec() != QDialog::Accepted)
        return;
    WriteDiagram(*FCurrentBody, FDiagramExport->Choice());
}

bool TfrmVexaMain::WriteDiagram(const TStellarBody &body, const TDiagramChoice &choice)
{
    std::string error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool written = ExportDiagram(*FSector, body, choice.FileName.toStdString(), choice.Width, choice.Height,
                                       choice.Orbits, &error);
    QApplication::restoreOverrideCursor();
    if (!written)
        ReportError(QString::fromStdString(error));
    return written;
}

void TfrmVexaMain::PrintMap()
{
    FPrintSector->Load(*FSector);
    if (FPrintSector->exec() != QDialog::Accepted || !FPrintSector->Choice())
        return;
    PrintWithChoice(*FPrintSector->Choice(), true);
}

int TfrmVexaMain::PrintWithChoice(const TPrintChoice &choice)
{
    return PrintWithChoice(choice, false);
}

int TfrmVexaMain::PrintWithChoice(const TPrintChoice &choice, bool askForFile)
{
    std::unique_ptr<TVexaSector> submap;
    const TVexaSector &subject = MapSubject(*FSector, choice.Area, submap);
    return PrintOnPrinter(subject, choice.Map, choice.PagesAcross, askForFile);
}

int TfrmVexaMain::PrintForScript(const TVexaSector &sector, const TMapOptions &map, double pagesAcross, bool preview)
{
    if (preview) {
        // The sheets the printer's pages would take; nothing is printed.
        double w = 0, h = 0;
        SectorMapExtent(sector, map.Plane, w, h);
        return static_cast<int>(PrintLayout(w, h, FPrintSector->Page(), pagesAcross).Offsets.size());
    }
    return PrintOnPrinter(sector, map, pagesAcross, true);
}

int TfrmVexaMain::PrintOnPrinter(const TVexaSector &sector, const TMapOptions &map, double pagesAcross,
                                 bool askForFile)
{
    QPrinter &printer = FPrintSector->Printer();
    // Without an installed printer the sheets go to a PDF file of the
    // user's choosing.
    const bool toChosenFile =
        askForFile && printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty();
    if (toChosenFile) {
        const auto file = FMessages.SaveFileName(QStringLiteral("Print Sector"), QStringLiteral("PDF (*.pdf)|*.pdf"),
                                                 FSettings.DialogPath, QStringLiteral("pdf"));
        if (!file)
            return 0;
        printer.setOutputFileName(*file);
    }
    std::string error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const int sheets = PrintSector(sector, map, pagesAcross, printer, &error);
    QApplication::restoreOverrideCursor();
    if (toChosenFile)
        printer.setOutputFileName(QString());
    if (sheets == 0) {
        ReportError(QString::fromStdString(error));
        return 0;
    }
    // The layout stops at a number of sheets nobody would glue together;
    // a map cut there must not pass for the whole map.
    double w = 0, h = 0;
    SectorMapExtent(sector, map.Plane, w, h);
    if (PrintLayout(w, h, TPrintPage{printer.width(), printer.height(), printer.logicalDpiX()}, pagesAcross).Cut)
        FMessages.Tell(QStringLiteral("Only the first %1 sheets were printed: the whole map needs more.  Print it "
                                      "fewer pages across to get all of it.")
                           .arg(PRINT_MAX_SHEETS),
                       QStringLiteral("Kalvion"), TMsgIcon::Warning);
    return sheets;
}

} // namespace kalvion::app
