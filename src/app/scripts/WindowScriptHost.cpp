#include "app/scripts/WindowScriptHost.h"

#include "app/MainWindow.h"
#include "app/SettingsStore.h"

#include "graphics/SectorPrint.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>

namespace kalvion::app {

namespace {

// Keys a script has not read yet are kept up to this many.
constexpr std::size_t MAX_WAITING_KEYS = 256;
constexpr double MAX_PRINT_FACTOR = 20;

} // namespace

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

int TWindowScriptHost::PrintSector(TVexaSector &sector, bool preview, double pagesAcross, int colourMode,
                                   bool showGrid, bool scaleByDepth, bool showRoutes, double systemFactor,
                                   double labelFactor, int plane)
{
    if (!(pagesAcross > 0 && pagesAcross <= PRINT_MAX_PAGES_ACROSS))
        throw TScriptHostError("Print: pages across must be more than 0 and at most 20");
    if (colourMode < 0 || colourMode > 2 || plane < 0 || plane > 2)
        throw TScriptHostError("Print: the colour mode and the plane are 0, 1 or 2");
    // The dialog's sliders give 0.2 to 2; far beyond that a map is all label.
    if (!(systemFactor > 0 && systemFactor <= MAX_PRINT_FACTOR && labelFactor > 0 && labelFactor <= MAX_PRINT_FACTOR))
        throw TScriptHostError("Print: the size factors must be more than 0 and at most 20");
    TMapOptions map;
    map.ColourMode = colourMode;
    map.Plane = plane;
    map.SystemFactor = systemFactor;
    map.LabelFactor = labelFactor;
    map.ShowGrid = showGrid;
    map.ScaleByDepth = scaleByDepth;
    map.ShowRoutes = showRoutes;
    return FWindow.PrintForScript(sector, map, pagesAcross, preview);
}

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

void TWindowScriptHost::QueueKey(int code)
{
    if (code >= 0 && FKeys.size() < MAX_WAITING_KEYS)
        FKeys.push_back(code & 0xFF);
}

bool TWindowScriptHost::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // The key is the script's: no menu shortcut fires while GetKey looks.
        event->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: break;
    default: return QObject::eventFilter(watched, event);
    }
    // Each key gives its messages in the keyboard's order: down, the
    // character it types (if any), up.  A held key repeats down and
    // character, never up.
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool keypad = key->modifiers().testFlag(Qt::KeypadModifier);
    if (event->type() == QEvent::KeyRelease) {
        if (!key->isAutoRepeat())
            QueueKey(ScriptKeyCode(key->key(), keypad));
        return true;
    }
    QueueKey(ScriptKeyCode(key->key(), keypad));
    if (!key->text().isEmpty())
        QueueKey(key->text().at(0).unicode());
    return true;
}

std::string TWindowScriptHost::ProgramDirectory() const
{
    return FWindow.ProgramFolder().toStdString();
}

std::string TWindowScriptHost::IdealoomTablesFolder() const
{
    const QString program = TSettingsStore::CompanionProgram(QStringLiteral("Idealoom"), QStringLiteral("CurrentVersion"));
    if (program.isEmpty())
        return {};
    const QString tables = QFileInfo(program).absolutePath() + QStringLiteral("/Tables/");
    return QFileInfo(tables).isDir() ? tables.toStdString() : std::string();
}

int ScriptKeyCode(int qtKey, bool keypad)
{
    if (keypad) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
            return 96 + (qtKey - Qt::Key_0);
        switch (qtKey) {
        case Qt::Key_Asterisk: return 106;
        case Qt::Key_Plus: return 107;
        case Qt::Key_Minus: return 109;
        case Qt::Key_Period:
        case Qt::Key_Comma: return 110;
        case Qt::Key_Slash: return 111;
        default: break;
        }
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) ||
        qtKey == Qt::Key_Space)
        return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 112 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Clear: return 12;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return 27;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Print: return 44;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Meta: return 91;
    case Qt::Key_Menu: return 93;
    case Qt::Key_NumLock: return 144;
    case Qt::Key_ScrollLock: return 145;
    // The punctuation keys of a US keyboard, shifted or not.
    case Qt::Key_Semicolon:
    case Qt::Key_Colon: return 186;
    case Qt::Key_Equal:
    case Qt::Key_Plus: return 187;
    case Qt::Key_Comma:
    case Qt::Key_Less: return 188;
    case Qt::Key_Minus:
    case Qt::Key_Underscore: return 189;
    case Qt::Key_Period:
    case Qt::Key_Greater: return 190;
    case Qt::Key_Slash:
    case Qt::Key_Question: return 191;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde: return 192;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return 219;
    case Qt::Key_Backslash:
    case Qt::Key_Bar: return 220;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight: return 221;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl: return 222;
    default: return -1;
    }
}

} // namespace kalvion::app
