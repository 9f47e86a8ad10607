// Undo and redo of the main window: the commands run as steps of the
// sector's history; Undo and Redo move through it.
#include "app/ActionTable.h"
#include "app/AppMessages.h"
#include "app/MainWindow.h"
#include "app/SystemTree.h"
#include "model/VexaSector.h"
#include "model/history/SectorHistory.h"
#include "render/RenderSectorOGL.h"
#include "render/SectorGLWidget.h"
#include "search/Searcher.h"

#include <QAction>
#include <QKeySequence>
#include <QOpenGLContext>
#include <QTableWidget>

namespace kalvion::app {

QString TfrmVexaMain::StepName(const QAction *action)
{
    QString name = action ? action->text() : QString();
    name.remove(QLatin1Char('&'));
    if (name.endsWith(QLatin1String("...")))
        name.chop(3);
    return name.trimmed();
}

void TfrmVexaMain::RunAsStep(const QString &name, const std::function<void()> &f)
{
    {
        TEditStep step(FSector->History(), name.toStdString());
        f();
    }
    UpdateUndoActions();
}

void TfrmVexaMain::ConnectAsStep(const char *id, std::function<void(bool)> slot)
{
    QAction *a = FActions->Action(QString::fromLatin1(id));
    connect(a, &QAction::triggered, this,
            [this, a, slot = std::move(slot)](bool checked) { RunAsStep(StepName(a), [&] { slot(checked); }); });
}

void TfrmVexaMain::ConnectUndo()
{
    QAction *undo = FActions->Action(QStringLiteral("Edit.Undo"));
    QAction *redo = FActions->Action(QStringLiteral("Edit.Redo"));
    redo->setShortcuts({QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))});
    connect(undo, &QAction::triggered, this, [this] { UndoCommand(); });
    connect(redo, &QAction::triggered, this, [this] { RedoCommand(); });
    UpdateUndoActions();
}

void TfrmVexaMain::UndoCommand()
{
    TSectorHistory &h = FSector->History();
    if (!h.CanUndo() || GenerationRunning() || FScriptRunning)
        return;
    AfterHistoryMove(h.Undo());
}

void TfrmVexaMain::RedoCommand()
{
    TSectorHistory &h = FSector->History();
    if (!h.CanRedo() || GenerationRunning() || FScriptRunning)
        return;
    AfterHistoryMove(h.Redo());
}

void TfrmVexaMain::AfterHistoryMove(bool ok)
{
    // Bodies may have gone and come back as others: nothing the window
    // keeps may point into the old trees.
    FTree->Clear();
    FSearcher->Clear();
    FResults->setRowCount(0);
    ForgetSearchResults();
    if (TStellarBody *preview = FRenderer->PreviewBody)
        FRenderer->ForgetSurfaceTexture(preview->IDString.str());
    // Images and surface maps may have come back with other pixels under
    // the same names.
    if (FView && FView->context() && FView->context()->isValid()) {
        FView->makeCurrent();
        FRenderer->ReleaseTextures();
        FView->doneCurrent();
    }
    SectorChanged();
    if (!ok)
        FMessages.Tell(QStringLiteral("The sector no longer matched its undo history, which has been cleared.\n") +
                           QString::fromStdString(FSector->History().LastError),
                       QStringLiteral("Kalvion"), TMsgIcon::Warning);
    UpdateUndoActions();
}

void TfrmVexaMain::UpdateUndoActions()
{
    const TSectorHistory &h = FSector->History();
    const bool busy = GenerationRunning() || FScriptRunning || FLongOperations > 0;
    QAction *undo = FActions->Action(QStringLiteral("Edit.Undo"));
    QAction *redo = FActions->Action(QStringLiteral("Edit.Redo"));
    undo->setText(h.CanUndo() ? QStringLiteral("Undo ") + QString::fromStdString(h.UndoName()) : QStringLiteral("Undo"));
    redo->setText(h.CanRedo() ? QStringLiteral("Redo ") + QString::fromStdString(h.RedoName()) : QStringLiteral("Redo"));
    undo->setEnabled(!busy && h.CanUndo());
    redo->setEnabled(!busy && h.CanRedo());
}

} // namespace kalvion::app
