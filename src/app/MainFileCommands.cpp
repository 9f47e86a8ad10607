// The File menu: the save check, new, blank, open (with conversion of older
// files), templates, save, save as, recent files, image export and exit.
#include "app/MainWindow.h"

#include "app/ActionTable.h"
#include "app/AppMessages.h"
#include "app/RecoveryCopies.h"
#include "app/SettingsStore.h"
#include "app/SystemTree.h"
#include "app/video/ViewCapture.h"

#include "base/SafeFile.h"
#include "base/SharedRandom.h"
#include "files/LegacyConvert.h"
#include "files/LegacySectorFiles.h"
#include "files/SectorFile.h"
#include "files/SectorSchema.h"
#include "generation/NewSectorOptions.h"
#include "generation/SectorGenerator.h"
#include "graphics/ZentImages.h"
#include "model/SectorDocumentSwap.h"
#include "model/VexaSector.h"
#include "model/history/SectorHistory.h"
#include "render/RenderSectorOGL.h"
#include "render/SectorGLWidget.h"
#include "search/Searcher.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QTableWidget>
#include <QTimer>

namespace kalvion::app {

namespace {

class TBusyCursor {
public:
    TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
};

bool IsScratchFile(const TVexaSector &s) { return !s.FileName.empty() && s.FileName == GenerateTempFile(); }

constexpr const char *CONVERT_QUESTION =
    "This file is from an earlier version of Kalvion, and needs to be converted into the current file format "
    "before it can be opened.  Convert the file now?";

void TellCannotOpen(TAppMessages &messages, const QString &text)
{
    messages.Tell(text, QStringLiteral("Cannot Open"), TMsgIcon::Warning);
}

// The window's Open of an older file: the question, then the name of the new
// file; the converted file, or none when the user declined or it failed.
std::optional<QString> ConvertOnRequest(TAppMessages &messages, const QString &oldFile)
{
    if (messages.Ask(QString::fromLatin1(CONVERT_QUESTION), QStringLiteral("Convert File"), TMsgButtons::YesNo,
                      TMsgIcon::Question) != TMsgAnswer::Yes)
        return std::nullopt;
    const QFileInfo info(oldFile);
    const auto target = messages.SaveFileName(
        QStringLiteral("Save Sector"), QString::fromLatin1(SECTOR_FILE_FILTER),
        info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".VexaDB"),
        QStringLiteral(".VexaDB"));
    if (!target)
        return std::nullopt;
    const QString newFile = QFileInfo(*target).absoluteFilePath();
    if (SameFilePath(oldFile.toStdString(), newFile.toStdString())) {
        messages.Tell(QString::fromLatin1(CONVERT_SAME_NAME), QStringLiteral("Cannot convert"), TMsgIcon::Warning);
        return std::nullopt;
    }
    std::string error;
    bool ok;
    {
        TBusyCursor busy;
        ok = ConvertLegacySector(oldFile.toStdString(), newFile.toStdString(), &error);
    }
    if (!ok) {
        messages.Tell(QString::fromStdString(error), QStringLiteral("Kalvion"), TMsgIcon::Error);
        return std::nullopt;
    }
    return newFile;
}

} // namespace

bool TfrmVexaMain::SaveCheck()
{
    if (!FSector->Modified)
        return true;
    switch (FMessages.Ask(QStringLiteral("Save Changes?"), QStringLiteral("Kalvion"), TMsgButtons::YesNoCancel,
                          TMsgIcon::Question)) {
    case TMsgAnswer::Yes: return Save();
    case TMsgAnswer::No: FRecovery->DiscardCopy(); return true;
    default: return false;
    }
}

void TfrmVexaMain::ClearForNewDocument()
{
    if (FSector->GenThreadMgr)
        SectorGenThreadMgr(*FSector).TerminateAndWait();
    FTree->Clear();
    FCurrentBody = nullptr;
    FRenderer->PreviewBody = nullptr;
    LeaveOrbitView();
    FSearcher->Clear();
    FSearcher->Sector = FSector.get();
    ForgetSearchResults();
    // A new document has no file: keeping the old name would make the next
    // save write the new contents into the old file (and a generation start
    // from a copy of it).
    FSector->New();
    SurfaceMapsForNewSector();
    // The renderer's fonts, textures and lists belong to the old sector.
    if (FView) {
        FView->makeCurrent();
        FRenderer->ReleaseAll();
        FView->doneCurrent();
    }
    if (FVideoCapture)
        FVideoCapture->Release();
    ForgetRecovered();
}

void TfrmVexaMain::BlankSector()
{
    if (!SaveCheck())
        return;
    TBusyCursor busy;
    ClearForNewDocument();
    FSector->Modified = false;
    SectorChanged();
}

bool TfrmVexaMain::NewStandardSector()
{
    if (!SaveCheck())
        return false;
    const auto o = AskNewSectorOptions();
    if (!o)
        return false;
    return GenerateNewSector(*o);
}

bool TfrmVexaMain::GenerateNewSector(TNewSectorOptions o)
{
    // The command always generates with the even distribution.
    o.Distribution = DISTRIBUTION_EVEN;
    // A generation refused for its size leaves the open sector as it was.
    if (o.Placements) {
        TVexaSector probe;
        SetUpNewSector(probe, o);
        const std::string tooLarge = CheckGenerationSize(probe, GenerateParamsFrom(o));
        if (!tooLarge.empty()) {
            ReportError(QString::fromStdString(tooLarge));
            return false;
        }
    }
    ClearForNewDocument();
    TVexaSector &s = *FSector;
    SetUpNewSector(s, o);
    s.RestoreDefaultOrigins();
    s.ResetCamera();
    // The sector grows in the scratch file; a named save file is replaced
    // only when the run has ended, so a cancelled run loses nothing.
    const std::string scratch = GenerateTempFile();
    QDir().mkpath(QFileInfo(QString::fromStdString(scratch)).absolutePath());
    QFile::remove(QString::fromStdString(scratch));
    QFile::remove(QString::fromStdString(scratch + "-journal"));
    std::string error;
    if (!SaveToFile(s, scratch, false, &error)) {
        ReportError(QString::fromStdString(error));
        return false;
    }
    FSubsectorsAfterGeneration = o.Subsectors;
    FSubsectorCounts[0] = o.SubsectorX;
    FSubsectorCounts[1] = o.SubsectorY;
    FSubsectorCounts[2] = o.SubsectorZ;
    FSubsectorNameTable = o.NameTable;
    FSubsectorColor = o.ColorSubsector;
    FSaveAsAfterGeneration = QString::fromStdString(o.SaveAs);
    FSettings.GeneratorDistribution = 1;
    FSettings.GeneratorDensity = o.Frequency;

    s.OnGenerateFinished = [this] { QTimer::singleShot(0, this, &TfrmVexaMain::OnGenerationFinished); };
    if (FOptions.Seed)
        SetSharedRandomSeed(*FOptions.Seed);
    TVexaGenThreadMgr &mgr = SectorGenThreadMgr(s);
    if (o.Placements) {
        mgr.Start(GenerateParamsFrom(o));
        FGenerationTimer->start();
        FStatus[0]->setText(QStringLiteral("Press 'Esc' to cancel"));
    } else {
        GenerateFinished(s);
    }
    SectorChanged();
    return true;
}

void TfrmVexaMain::OnGenerationTimer()
{
    if (!FSector->GenThreadMgr) {
        FGenerationTimer->stop();
        return;
    }
    auto &mgr = SectorGenThreadMgr(*FSector);
    const bool running = mgr.ProcessHandOvers();
    // The view and caption follow once a second; the hand-overs are drained
    // every tick so the worker never waits long for the window.
    static int ticks = 0;
    if (!running || ++ticks % 10 == 0) {
        RecountBodies();
        UpdateCaption();
        Redraw();
    }
    if (!running)
        FGenerationTimer->stop();
}

void TfrmVexaMain::OnGenerationFinished()
{
    TVexaSector &s = *FSector;
    FStatus[0]->clear();
    const std::string generateError =
        s.GenThreadMgr ? SectorGenThreadMgr(s).ErrorMessage() : std::string();
    if (FSubsectorsAfterGeneration)
        GenerateSubsectors(s, FSubsectorCounts[0], FSubsectorCounts[1], FSubsectorNameTable, FSubsectorColor,
                           FSubsectorCounts[2]);
    FSubsectorsAfterGeneration = false;
    s.Modified = true;
    if (!FSaveAsAfterGeneration.isEmpty()) {
        std::string error;
        if (SaveGenerateTempFile(s, FSaveAsAfterGeneration.toStdString(), &error))
            FRecent.Add(QString::fromStdString(s.FileName));
        else
            ReportError(QString::fromStdString(error));
        FSaveAsAfterGeneration.clear();
    }
    if (!generateError.empty())
        ReportError(QString::fromStdString(generateError));
    s.RenderMessageBig.clear();
    s.RenderMessageSmall.clear();
    // A new sector starts a new history.
    s.History().Clear();
    if (s.Modified)
        s.History().LoseCleanPoint();
    RebuildRecentMenu();
    SectorChanged();
    emit generationFinished();
    if (FCloseWhenIdle)
        close();
}

void TfrmVexaMain::OpenCommand()
{
    if (!SaveCheck())
        return;
    const auto file = FMessages.OpenFileName(QStringLiteral("Open Sector"), OpenDialogFilter(), FSettings.DialogPath);
    if (file)
        OpenSectorFile(*file);
}

bool TfrmVexaMain::OpenSectorFile(const QString &file)
{
    if (OpenWithFileHandler(file))
        return true;
    QString path = QFileInfo(file).absoluteFilePath();
    const std::string problem = FileReadProblem(path.toStdString());
    if (!problem.empty()) {
        TellCannotOpen(FMessages, QStringLiteral("File could not be opened: \"") + path + QStringLiteral("\" ") +
                                      QString::fromStdString(problem));
        return false;
    }
    // The file is looked at before anything of the open sector is let go.
    switch (GetVexaFileVersion(path.toStdString())) {
    case 1:
    case 2: {
        const auto converted = ConvertOnRequest(FMessages, path);
        if (!converted)
            return false;
        path = *converted;
        break;
    }
    case 3: break;
    default: TellCannotOpen(FMessages, QString::fromLatin1(LEGACY_FILE_CORRUPTED)); return false;
    }
    // Read into a sector of its own: a file that fails halfway leaves the
    // open sector, its file name and its changes as they were.
    auto loaded = std::make_unique<TVexaSector>();
    std::string error;
    bool ok;
    {
        TBusyCursor busy;
        BeginLongOperation();
        ok = LoadFromFile(*loaded, path.toStdString(), &error);
        EndLongOperation();
    }
    if (!ok) {
        TellCannotOpen(FMessages, QString::fromLatin1(LEGACY_FILE_CORRUPTED));
        return false;
    }
    ClearForNewDocument();
    SwapSectorDocuments(*FSector, *loaded);
    loaded.reset();
    FRecent.Add(path);
    SurfaceMapsForNewSector();
    FSettings.DialogPath = QFileInfo(path).absolutePath() + QLatin1Char('/');
    RebuildRecentMenu();
    RebuildViewsMenu();
    SectorChanged();
    return true;
}

void TfrmVexaMain::OpenTemplate(const QString &file)
{
    if (!SaveCheck())
        return;
    auto loaded = std::make_unique<TVexaSector>();
    std::string error;
    bool ok;
    {
        TBusyCursor busy;
        ok = LoadFromTemplate(*loaded, file.toStdString(), &error);
    }
    if (!ok) {
        ReportError(QString::fromStdString(error));
        return;
    }
    ClearForNewDocument();
    SwapSectorDocuments(*FSector, *loaded);
    loaded.reset();
    SurfaceMapsForNewSector();
    RebuildViewsMenu();
    SectorChanged();
}

bool TfrmVexaMain::DoSave(const QString &file, bool viaTempFile)
{
    // The shown system's camera is kept with the file.
    StoreOrbitCamera();
    std::string path = file.toStdString();
    // A file written by a newer program may hold what this one would drop.
    const std::string newer = NewerSectorFileWarning(path);
    if (!newer.empty() && FMessages.Ask(QString::fromStdString(newer), QStringLiteral("Kalvion"), TMsgButtons::YesNo,
                                        TMsgIcon::Warning) != TMsgAnswer::Yes)
        return false;
    // Saving lets go of the written systems' bodies (unless selected): the
    // search results must not point into them afterwards.
    if (FSector->Modified) {
        FSearcher->Clear();
        FResults->setRowCount(0);
        ForgetSearchResults();
    }
    // The copy's worker may be reading the file the save writes.
    FRecovery->WaitIdle();
    std::string error;
    bool ok;
    {
        TBusyCursor busy;
        ok = viaTempFile ? SaveGenerateTempFile(*FSector, path, &error) : SaveToFile(*FSector, path, false, &error);
    }
    if (!ok) {
        ReportError(QString::fromStdString(error));
        return false;
    }
    ForgetRecovered();
    FRecent.Add(QFileInfo(QString::fromStdString(FSector->FileName)).absoluteFilePath());
    RebuildRecentMenu();
    UpdateCaption();
    return true;
}

bool TfrmVexaMain::Save()
{
    // A recovered sector lives in its copy until it is saved where it belongs.
    if (FRecovered)
        return FRecoveredTarget.isEmpty() ? SaveAs() : DoSave(FRecoveredTarget, false);
    if (!FSector->FileName.empty() && !IsScratchFile(*FSector) && !FSector->FileNameUnconfirmed)
        return DoSave(QString::fromStdString(FSector->FileName), false);
    return SaveAs();
}

bool TfrmVexaMain::SaveAs()
{
    const QString initial = FRecovered ? (FRecoveredTarget.isEmpty() ? FSettings.DialogPath : FRecoveredTarget)
                            : FSector->FileName.empty() || IsScratchFile(*FSector)
                                ? FSettings.DialogPath
                                : QString::fromStdString(FSector->FileName);
    const auto file = FMessages.SaveFileName(QStringLiteral("Save Sector"), QString::fromLatin1(SECTOR_FILE_FILTER),
                                             initial, QStringLiteral(".VexaDB"));
    if (!file)
        return false;
    TStellarBody *current = FCurrentBody;
    const bool ok = DoSave(*file, IsScratchFile(*FSector));
    FCurrentBody = current;
    return ok;
}

void TfrmVexaMain::OpenRecent(int index)
{
    if (index < 0 || index > 2 || FRecent.Entries[static_cast<std::size_t>(index)].isEmpty())
        return;
    if (!SaveCheck())
        return;
    OpenSectorFile(FRecent.Entries[static_cast<std::size_t>(index)]);
}

void TfrmVexaMain::RebuildRecentMenu()
{
    bool any = false;
    for (int i = 0; i < 3; ++i) {
        QAction *a = FActions->Action(QStringLiteral("File.Recent") + QString::number(i + 1));
        const QString &f = FRecent.Entries[static_cast<std::size_t>(i)];
        a->setText(f);
        a->setVisible(!f.isEmpty());
        any = any || !f.isEmpty();
    }
    for (QAction *a : FActions->Menu(QStringLiteral("File"))->actions())
        if (a->objectName() == QLatin1String("File.RecentSeparator"))
            a->setVisible(!FRecent.Entries[0].isEmpty());
    (void)any;
}

void TfrmVexaMain::RebuildTemplateMenu()
{
    QMenu *menu = FActions->Menu(QStringLiteral("File.OpenTemplate"));
    menu->clear();
    const QDir dir(FOptions.ProgramFolder + QStringLiteral("Templates"));
    const QStringList files = dir.entryList({QStringLiteral("*.VexaDB")}, QDir::Files, QDir::Name);
    for (const QString &f : files) {
        const QString path = dir.absoluteFilePath(f);
        menu->addAction(QFileInfo(f).completeBaseName(), this, [this, path] { OpenTemplate(path); });
    }
    menu->setEnabled(!files.isEmpty());
}

void TfrmVexaMain::ExitCommand()
{
    if (FScriptRunning) {
        FMessages.Tell(QStringLiteral("Plugins are running - cannot exit until they terminate"),
                       QStringLiteral("Kalvion"), TMsgIcon::Warning);
        return;
    }
    close();
}

void TfrmVexaMain::ExportImage()
{
    if (!FView)
        return;
    const auto file = FMessages.SaveFileName(QStringLiteral("Export as Image File"),
                                             QString::fromLatin1(IMAGE_FILE_FILTER), FSettings.DialogPath,
                                             QStringLiteral(".png"));
    if (!file)
        return;
    // On a high-density screen the view's pixels outnumber its size; the
    // picture has the view's size, as on any other screen.
    const QImage image = ViewSizedSnapshot(FView->grabFramebuffer(), FView->size());
    // The extension picks the format: JPEG, PNG, TIFF, anything else BMP.
    std::string error;
    if (!SaveBitmapToFile(image, file->toStdString(), &error))
        ReportError(QStringLiteral("Could not save the image as ") + *file + QStringLiteral(": ") +
                    QString::fromStdString(error));
}

} // namespace kalvion::app
