// The window's script host: the names scripts reach bound to this window,
// "Run from file...", "Halt Script", and the window's state while a script
// runs (plug-in items and buttons, New and Open disabled, "Halt Script"
// enabled, no exit).
#include "app/MainWindow.h"

#include "app/ActionTable.h"
#include "app/AppMessages.h"
#include "app/plugins/PluginFolders.h"
#include "app/scripts/WindowScriptHost.h"
#include "app/scripts/WindowScriptUI.h"

#include "model/RouteStops.h"
#include "model/VexaSector.h"
#include "model/history/SectorHistory.h"
#include "search/Searcher.h"
#include "scripting/ScriptRegistry.h"
#include "scripting/ZentScripter.h"
#include "scriptnames/ScriptAppHost.h"
#include "scriptui/ZentScripterUI.h"

#include <QAction>
#include <QFileInfo>
#include <QTableWidget>
#include <QToolButton>

#include <filesystem>
#include <utility>

namespace kalvion::app {

namespace {

constexpr const char *SCRIPT_FILE_FILTER =
    "Kalvion Plugins (*.VexaScript,*.vbs)|*.vbs;*.VexaScript|All Files (*.*)|*.*";

QString Text(const std::string &s) { return QString::fromStdString(s); }

} // namespace

void TfrmVexaMain::SetUpScripting()
{
    // The names belong to this window: its registry binds them to its own
    // host, so a second window never reaches the first one's sector.
    FScriptNames = std::make_unique<TScriptRegistry>();
    FScriptApp = std::make_unique<TWindowScriptHost>(*this);
    FScriptApp->OnEditBody = [this](TStellarBody *body) { EditBody(body); };
    FScriptApp->OnShowSystemDiagram = [this](TStellarBody *body) { ShowOrbitView(body); };
    // The window's video routines first: the object model's own are the
    // windowless ones, and a name keeps its first registration.
    RegisterVideoScripting(*FScriptNames);
    RegisterKalvionScriptNames(*FScriptNames, *FScriptApp);
    FScriptUI = std::make_unique<TWindowScriptUI>(FMessages);
    FScripter = std::make_unique<TZentScripter>();
    FScripter->Registry = FScriptNames.get();
    FScripter->UI = FScriptUI.get();
    FScripter->OwnerWindow = this;
    FScripter->OnShowMessage = [this](const std::string &caption, const std::string &text) {
        QString t = Text(text);
        t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        FMessages.Tell(t, Text(caption), TMsgIcon::Error);
    };
    FScripter->OnRunsFinished = [this] {
        ReleaseScriptDialogs();
        FScriptApp->ReleaseScriptObjects();
    };
    connect(FActions->Action(QStringLiteral("Plugins.RunFile")), &QAction::triggered, this,
            [this] { RunFromFileCommand(); });
    connect(FActions->Action(QStringLiteral("Plugins.Halt")), &QAction::triggered, this, [this] { HaltScript(); });
}

bool TfrmVexaMain::RunScriptFile(const QString &file, const QString &caption)
{
    TZentScripter &host = *FScripter;
    const std::string path = QFileInfo(file).absoluteFilePath().toStdString();
    // A missing file runs as an empty script; one that is there but cannot be
    // taken (a pipe, a folder, too large) is refused with its reason, before
    // the window changes its state.  A run that waits in the message loop
    // keeps its own error text.
    const std::string outerErrors = host.ErrorText;
    std::error_code ec;
    const bool loaded = host.LoadScriptFile(path);
    const std::string loadError = std::exchange(host.ErrorText, outerErrors);
    if (!loaded && std::filesystem::exists(path, ec)) {
        host.ShowError(loadError);
        return false;
    }
    host.IncludeFolders = ScriptIncludeFolders(path, UserPluginFolder().toStdString(),
                                               ProgramPluginFolder(FOptions.ProgramFolder).toStdString());
    FScriptRunning = true;
    UpdatePluginActions();
    FActions->Action(QStringLiteral("Plugins.Halt"))->setEnabled(true);
    std::string &dialogCaption = ZSUI_WindowCaption();
    if (!caption.isEmpty())
        dialogCaption = caption.toStdString();
    else if (dialogCaption.empty())
        dialogCaption = QFileInfo(file).fileName().toStdString() + " (Plugin)";
    FActions->Action(QStringLiteral("File.NewStandard"))->setEnabled(false);
    FActions->Action(QStringLiteral("File.Open"))->setEnabled(false);
    // Colour selectors of script dialogs share the window's custom colours;
    // the hook is the program's one, so it lives only while this window runs.
    TZentScripterUI::ColorDialog() = [this](TColor &color) {
        const auto chosen = FMessages.ChooseColor(color);
        if (chosen)
            color = *chosen;
        return chosen.has_value();
    };
    bool ok = false;
    {
        // The whole run is one step, named after the script: it may change
        // anything through the object model.
        const QString stepName = caption.isEmpty() ? QFileInfo(file).completeBaseName() : caption;
        TEditStep step(FSector->History(), stepName.toStdString());
        FSector->History().TouchEverything();
        try {
            ok = host.Run();
        } catch (...) {
            // Whatever the run let through, the window goes on.
            ok = false;
        }
    }
    FSector->RenderMessageBig.clear();
    FSector->RenderMessageSmall.clear();
    if (host.RunDepth == 0) {
        FScriptRunning = false;
        dialogCaption.clear();
        TZentScripterUI::ColorDialog() = nullptr;
    }
    // The script may have replaced or emptied anything the window shows;
    // the search results name bodies it may have freed.
    if (host.RunDepth == 0) {
        FSearcher->Clear();
        FResults->setRowCount(0);
        ForgetSearchResults();
        ForgetStopsOfGoneSystems(*FSector);
    }
    SectorChanged(false);
    UpdateUndoActions();
    return ok;
}

void TfrmVexaMain::RunFromFileCommand()
{
    const auto file = FMessages.OpenFileName(QStringLiteral("Run Script"), QString::fromLatin1(SCRIPT_FILE_FILTER),
                                             FOptions.ProgramFolder + QStringLiteral("Plugins/"));
    if (file)
        RunScriptFile(*file);
}

void TfrmVexaMain::HaltScript()
{
    if (FScripter)
        FScripter->Halt();
}

void TfrmVexaMain::ClearMap()
{
    ClearForNewDocument();
    FSector->Modified = false;
    SectorChanged();
}

void TfrmVexaMain::UpdatePluginActions()
{
    const bool idle = !FScriptRunning;
    for (QAction *a : FPluginActions)
        if (a)
            a->setEnabled(idle);
    for (QToolButton *b : FPluginButtons)
        b->setEnabled(idle);
    // A second script may start from a file while one waits in the message
    // loop; New and Open wait until every script has ended.
    FActions->Action(QStringLiteral("Plugins.Halt"))->setEnabled(!idle);
    if (!idle) {
        FActions->Action(QStringLiteral("File.NewStandard"))->setEnabled(false);
        FActions->Action(QStringLiteral("File.Open"))->setEnabled(false);
    }
}

} // namespace kalvion::app
