// Keys and mouse in the 3D sector view: Pan and Pointer modes, the lock,
// axis keys, drags, the wheel and the right-click menu.
#include "app/MainWindow.h"

#include "app/ActionTable.h"
#include "app/ScriptedMessages.h"
#include "app/SystemTree.h"

#include "generation/SectorGenerator.h"
#include "model/VexaSector.h"
#include "model/history/SectorHistory.h"
#include "render/RenderSectorOGL.h"
#include "render/SectorGLWidget.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QWheelEvent>

#include <cmath>

namespace kalvion::app {

void TfrmVexaMain::SetMouseMode(int mode)
{
    FMouseMode = mode;
    FActions->Action(QStringLiteral("Mode.Pan"))->setChecked(mode == MOUSE_MODE_PAN);
    FActions->Action(QStringLiteral("Mode.Pointer"))->setChecked(mode == MOUSE_MODE_POINTER);
    if (FView) {
        FView->SetPointerMode(mode == MOUSE_MODE_POINTER);
        FView->setCursor(mode == MOUSE_MODE_PAN ? Qt::OpenHandCursor : Qt::CrossCursor);
    }
}

void TfrmVexaMain::SetLock(bool on)
{
    FLock = on;
    FSettings.AutoLock = on;
    FActions->Action(QStringLiteral("Sector.Lock"))->setChecked(on);
}

void TfrmVexaMain::UpdateAxisKeys(QKeyEvent *event, bool down)
{
    const int k = event->key();
    if (k != Qt::Key_X && k != Qt::Key_Y && k != Qt::Key_Z)
        return;
    if (event->isAutoRepeat())
        return;
    if (down)
        FAxisKeys.insert(k);
    else
        FAxisKeys.remove(k);
    FRenderer->AxisMode = FAxisKeys.contains(Qt::Key_X)   ? 1
                          : FAxisKeys.contains(Qt::Key_Y) ? 2
                          : FAxisKeys.contains(Qt::Key_Z) ? 3
                                                          : 0;
}

void TfrmVexaMain::EndDragStep()
{
    if (!FDragStepOpen)
        return;
    FDragStepOpen = false;
    FSector->History().EndStep();
    UpdateUndoActions();
}

void TfrmVexaMain::keyReleaseEvent(QKeyEvent *event)
{
    UpdateAxisKeys(event, false);
    QMainWindow::keyReleaseEvent(event);
}

void TfrmVexaMain::keyPressEvent(QKeyEvent *event)
{
    if (FSearchBox->hasFocus()) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    UpdateAxisKeys(event, true);
    TVexaSector &s = *FSector;
    // A key that moves the selected systems is one step; camera keys change
    // nothing the history keeps.
    struct TAfterKey {
        TfrmVexaMain &Window;
        ~TAfterKey() { Window.UpdateUndoActions(); }
    } afterKey{*this}; // runs once the step below is closed
    TEditStep keyStep(s.History(), "Move System");
    const bool pointer = FMouseMode == MOUSE_MODE_POINTER;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool canMove = pointer && !FLock && s.SelectedCount() > 0;
    bool moved = false;
    bool camera = false;
    switch (event->key()) {
    case Qt::Key_Escape:
        if (GenerationRunning()) {
            SectorGenThreadMgr(s).TerminateAndWait();
        }
        s.RenderMessageBig.clear();
        s.RenderMessageSmall.clear();
        Redraw();
        return;
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const double sign = event->key() == Qt::Key_Left ? -1 : 1;
        if (!pointer) {
            s.RotateCameraAroundTarget(0, 2 * sign, 0);
            camera = true;
        } else if (canMove) {
            s.RotateSelectedAroundCamera(0, 0.2 * sign, 0);
            moved = true;
        }
        break;
    }
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const bool up = event->key() == Qt::Key_Up;
        if (!pointer) {
            if (shift)
                s.AdjustDistanceToTarget(up ? 0.9 : 1.1);
            else
                s.AdjustElevation((up ? 1 : -1) * s.SizeX / 10);
            camera = true;
        } else if (canMove) {
            if (shift)
                s.AdjustSelectedDistanceToCamera(up ? 1.02 : 0.98);
            else
                s.MoveSelected(0, up ? 0.05 : -0.05, 0);
            moved = true;
        }
        break;
    }
    case Qt::Key_Plus:
    case Qt::Key_Minus:
        if ((event->modifiers() & Qt::KeypadModifier) && canMove && !FAxisKeys.isEmpty()) {
            const double d = event->key() == Qt::Key_Plus ? 0.5 : -0.5;
            const int axis = FAxisKeys.contains(Qt::Key_X) ? 0 : FAxisKeys.contains(Qt::Key_Y) ? 1 : 2;
            s.MoveSelectedAxis(axis, d);
            moved = true;
        }
        break;
    default:
        QMainWindow::keyPressEvent(event);
        return;
    }
    if (moved) {
        s.Modified = true;
        s.UpdateRoutesSelected();
    }
    if (moved || camera) {
        UpdateCaption();
        Redraw();
    }
}

bool TfrmVexaMain::eventFilter(QObject *watched, QEvent *event)
{
    if (KeyEventCapture(event))
        return true;
    if (watched == FView && HandleViewMouse(event))
        return true;
    return QMainWindow::eventFilter(watched, event);
}

bool TfrmVexaMain::HandleViewMouse(QEvent *event)
{
    TVexaSector &s = *FSector;
    if (FViewMode == VIEW_MODE_ORBIT)
        return HandleOrbitMouse(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *e = static_cast<QMouseEvent *>(event);
        FView->setFocus(Qt::MouseFocusReason);
        const QPoint pos = e->position().toPoint();
        FLastMouse = pos;
        if (e->button() == Qt::MiddleButton) {
            SetMouseMode(FMouseMode == MOUSE_MODE_PAN ? MOUSE_MODE_POINTER : MOUSE_MODE_PAN);
            return true;
        }
        if (e->button() == Qt::RightButton) {
            if (e->modifiers() & Qt::ControlModifier) {
                SetMouseMode(FMouseMode == MOUSE_MODE_PAN ? MOUSE_MODE_POINTER : MOUSE_MODE_PAN);
                return true;
            }
            SetMouseMode(MOUSE_MODE_POINTER);
            if (s.SelectedCount() == 1)
                FCurrentBody = s.GetSelected(0);
            ShowContextMenu(e->globalPosition().toPoint());
            return true;
        }
        if (e->button() != Qt::LeftButton)
            return false;
        // The inset is laid out in framebuffer pixels.
        const QPoint device = FView->ToDevicePixels(pos);
        if (FRenderer->PointInPreviewCorner(device.x(), device.y())) {
            OpenPreviewSystem();
            return true;
        }
        FDragging = true;
        FDragButton = Qt::LeftButton;
        FPointerDragMoved = false;
        // A drag inside the inset turns its camera; the map and the systems
        // behind it stay as they are.
        FPreviewDragging = FRenderer->PreviewBody && FRenderer->PointInPreview(device.x(), device.y());
        if (FPreviewDragging)
            return true;
        if (FMouseMode == MOUSE_MODE_POINTER) {
            // A click beside the inset closes it.
            FRenderer->PreviewBody = nullptr;
            const QPoint fb = FView->ToFramebuffer(pos);
            s.SelectBodies(fb.x(), fb.y(), e->modifiers() & Qt::ShiftModifier);
            if (auto *scripted = dynamic_cast<TScriptedMessages *>(&FMessages))
                scripted->Note(QStringLiteral("select"), QStringLiteral("%1 %2 %3").arg(fb.x()).arg(fb.y()).arg(
                                                             s.SelectedCount() ? QString::fromStdString(s.GetSelected(0)->Name) : QString()));
            RefillTree();
            UpdateActions();
            Redraw();
        }
        return true;
    }
    case QEvent::MouseMove: {
        auto *e = static_cast<QMouseEvent *>(event);
        if (!FDragging)
            return false;
        const QPoint pos = e->position().toPoint();
        const int dx = pos.x() - FLastMouse.x();
        const int dy = pos.y() - FLastMouse.y();
        if (dx == 0 && dy == 0)
            return true;
        FLastMouse = pos;
        if (FPreviewDragging) {
            FRenderer->PreviewCamera.Rotate(dx, dy);
            Redraw();
            return true;
        }
        const bool shift = e->modifiers() & Qt::ShiftModifier;
        const bool horizontal = std::abs(dx) > std::abs(dy);
        if (FMouseMode == MOUSE_MODE_PAN) {
            if (horizontal)
                s.RotateCameraAroundTarget(0, dx > 0 ? 2 : -2, 0);
            else if (shift)
                s.AdjustDistanceToTarget(dy > 0 ? 1.05 : 0.95);
            else
                s.AdjustCameraLatitude(dy > 0 ? 1 : -1);
            Redraw();
            return true;
        }
        if (FLock || s.SelectedCount() == 0)
            return true;
        // A whole drag is one step, closed when the button is let go.
        if (!FDragStepOpen) {
            s.History().BeginStep("Move System");
            FDragStepOpen = true;
        }
        if (!FAxisKeys.isEmpty()) {
            const int axis = FAxisKeys.contains(Qt::Key_X) ? 0 : FAxisKeys.contains(Qt::Key_Y) ? 1 : 2;
            // Along X and Z the drag direction follows the camera's view.
            double sign;
            if (axis == 1) {
                sign = dy < 0 ? 1 : -1;
            } else {
                const double viewX = s.Target.X - s.Camera.X, viewZ = s.Target.Z - s.Camera.Z;
                const int d = horizontal ? dx : -dy;
                const double facing = axis == 0 ? (horizontal ? -viewZ : viewX) : (horizontal ? viewX : viewZ);
                sign = (d > 0 ? 1 : -1) * (facing >= 0 ? 1 : -1);
            }
            s.MoveSelectedAxis(axis, 0.1 * sign);
        } else if (horizontal) {
            s.RotateSelectedAroundCamera(0, dx > 0 ? 0.2 : -0.2, 0);
        } else if (shift) {
            s.AdjustSelectedDistanceToCamera(dy < 0 ? 1.02 : 0.98);
        } else {
            s.MoveSelected(0, dy < 0 ? 0.05 : -0.05, 0);
        }
        s.Modified = true;
        FPointerDragMoved = true;
        Redraw();
        return true;
    }
    case QEvent::MouseButtonRelease: {
        if (!FDragging)
            return false;
        FDragging = false;
        FPreviewDragging = false;
        if (FPointerDragMoved) {
            s.UpdateRoutesSelected();
            FPointerDragMoved = false;
            UpdateCaption();
            Redraw();
        }
        EndDragStep();
        return true;
    }
    case QEvent::Wheel: {
        auto *e = static_cast<QWheelEvent *>(event);
        const int delta = e->angleDelta().y();
        if (delta != 0) {
            s.AdjustDistanceToTarget(delta > 0 ? 0.9 : 1.1);
            Redraw();
        }
        return true;
    }
    default:
        return false;
    }
}

void TfrmVexaMain::ShowContextMenu(const QPoint &globalPos)
{
    UpdateActions();
    FContextMenu->popup(globalPos);
    // End-to-end runs wait for the menu before they send it keys: keys
    // sent too early reach the map and move the selected systems.
    if (auto *scripted = dynamic_cast<TScriptedMessages *>(&FMessages))
        scripted->Note(QStringLiteral("menu"), QStringLiteral("context"));
}

} // namespace kalvion::app
