// Recovery copies of the open sector: the periodic write, its removal when
// the changes are saved or given up, and the offer at start-up.
#include "app/MainWindow.h"

#include "app/AppMessages.h"
#include "app/RecoveryCopies.h"

#include "base/Paths.h"
#include "files/SectorFile.h"
#include "files/SectorRecovery.h"
#include "model/SectorDocumentSwap.h"
#include "model/VexaSector.h"
#include "model/history/SectorHistory.h"

#include <QFileInfo>

#include <unistd.h>

namespace kalvion::app {

void TfrmVexaMain::SetUpRecovery()
{
    FRecovery = new TRecoveryCopies(this);
    FRecovery->Wanted = [this] {
        return FSector->Modified && !GenerationRunning() && FLongOperations == 0 && !FScriptRunning;
    };
    FRecovery->StartSnapshot = [this] {
        TRecoveryOrigin origin;
        if (FRecovered)
            origin.FileName = FRecoveredTarget.toStdString();
        else if (FSector->FileName != GenerateTempFile())
            origin.FileName = FSector->FileName;
        origin.Name = FSector->Name.empty() ? std::string("Untitled") : FSector->Name;
        origin.ProcessId = static_cast<long>(::getpid());
        return std::make_unique<TRecoverySnapshotBuilder>(*FSector, std::move(origin));
    };
    ApplyRecoverySettings();
}

void TfrmVexaMain::ApplyRecoverySettings() { FRecovery->SetIntervalMinutes(FSettings.RecoveryMinutes); }

void TfrmVexaMain::ForgetRecovered()
{
    FRecovery->DocumentClosed();
    FRecovered = false;
    FRecoveredTarget.clear();
}

bool TfrmVexaMain::OfferRecoveryCopies()
{
    for (const TRecoveryCopy &copy : FindRecoveryCopies()) {
        if (copy.InUse)
            continue;
        if (copy.Stale) {
            // The sector's file was saved after the copy: it holds nothing
            // the file lacks.
            RemoveRecoveryCopy(copy.Folder);
            continue;
        }
        const auto setAside = [&](const std::string &why) {
            std::string moved, error;
            const bool ok = SetRecoveryCopyAside(copy.Folder, &moved, &error);
            FMessages.Tell(QStringLiteral("A recovery copy could not be read (") + QString::fromStdString(why) +
                               QStringLiteral("). ") +
                               (ok ? QStringLiteral("It was kept as \"") + QString::fromStdString(moved) +
                                         QLatin1Char('"')
                                   : QStringLiteral("It was left in \"") + QString::fromStdString(copy.Folder) +
                                         QStringLiteral("\": ") + QString::fromStdString(error)),
                           QStringLiteral("Kalvion"), TMsgIcon::Warning);
        };
        if (!copy.Problem.empty()) {
            setAside(copy.Problem);
            continue;
        }
        const std::string name =
            copy.Origin.FileName.empty() ? copy.Origin.Name : ExtractFileName(copy.Origin.FileName);
        const TMsgAnswer a = FMessages.Ask(QStringLiteral("Kalvion was closed while \"") +
                                               QString::fromStdString(name) +
                                               QStringLiteral("\" had unsaved changes. Recover them?"),
                                           QStringLiteral("Kalvion"), TMsgButtons::YesNoCancel, TMsgIcon::Question);
        if (a == TMsgAnswer::No) {
            RemoveRecoveryCopy(copy.Folder);
            continue;
        }
        if (a != TMsgAnswer::Yes)
            continue;
        if (!SaveCheck())
            return false;
        auto loaded = std::make_unique<TVexaSector>();
        std::string error;
        if (!OpenRecoveryCopy(*loaded, copy, &error)) {
            setAside(error);
            continue;
        }
        ClearForNewDocument();
        SwapSectorDocuments(*FSector, *loaded);
        loaded.reset();
        FSector->Modified = true;
        // Nothing undone from here reaches a saved state.
        FSector->History().LoseCleanPoint();
        FRecovered = true;
        FRecoveredTarget = QString::fromStdString(copy.Origin.FileName);
        FRecovery->AdoptRecovered(copy.Folder);
        SurfaceMapsForNewSector();
        RebuildViewsMenu();
        SectorChanged();
        return true;
    }
    return false;
}

} // namespace kalvion::app
