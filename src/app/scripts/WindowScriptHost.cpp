#include "app/scripts/WindowScriptHost.h"

#include "app/MainWindow.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace kalvion::app {

TWindowScriptHost::TWindowScriptHost(TfrmVexaMain &window) : FWindow(window) {}

TWindowScriptHost::~TWindowScriptHost() = default;

TVexaSector *TWindowScriptHost::CurrentSector() { return &FWindow.Sector(); }

void TWindowScriptHost::ClearMap() { FWindow.ClearMap(); }

void TWindowScriptHost::UpdateCaption()
{
    FWindow.RecountBodies();
    FWindow.UpdateCaption();
}

void TWindowScriptHost::RefreshScene() { FWindow.Redraw(); }

TStellarBody *TWindowScriptHost::EditingBody() { return FWindow.CurrentBody(); }

void TWindowScriptHost::DeselectEditingBody() { FWindow.PickBody(nullptr); }

void TWindowScriptHost::EditBody(TStellarBody *body)
{
    FWindow.PickBody(body);
    if (!OnEditBody)
        throw TScriptHostError("EditBody: the body property dialog is not available");
    OnEditBody(body);
}

void TWindowScriptHost::ShowSystemDiagram(TStellarBody *body)
{
    FWindow.PickBody(body);
    if (!OnShowSystemDiagram)
        throw TScriptHostError("ShowSystemDiagram: the system diagram window is not available");
    OnShowSystemDiagram(body);
}

void TWindowScriptHost::SetMainWindowSize(int width, int height)
{
    if (width > 0 && height > 0 && width <= 16384 && height <= 16384)
        FWindow.resize(width, height);
}

void TWindowScriptHost::ProcessMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

int TWindowScriptHost::GetKey()
{
    // Only while GetKey looks are keys taken from the queue; at any other
    // time they reach the window and the script's own dialogs.
    qApp->installEventFilter(this);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    qApp->removeEventFilter(this);
    if (FKeys.empty())
        return -1;
    const int k = FKeys.front();
    FKeys.pop_front();
    return k;
}

bool TWindowScriptHost::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const int code = ScriptKeyCode(static_cast<QKeyEvent *>(event)->key());
    if (code >= 0 && FKeys.size() < 256)
        FKeys.push_back(code);
    return true;
}

std::string TWindowScriptHost::ProgramDirectory() const
{
    return FWindow.ProgramFolder().toStdString();
}

int ScriptKeyCode(int qtKey)
{
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) ||
        qtKey == Qt::Key_Space)
        return qtKey;
    switch (qtKey) {
    case Qt::Key_Escape: return 27;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Home: return 36;
    case Qt::Key_End: return 35;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    default: break;
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return 112 + (qtKey - Qt::Key_F1);
    return -1;
}

} // namespace kalvion::app
