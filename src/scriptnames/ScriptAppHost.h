#pragma once
// What the names registered for scripts need from the program that runs
// them.  The main window and the command line each implement this host; the
// defaults serve a program without a window: services that only make sense
// with one (the body editor, the system diagram, the window's size) fail
// with a script error that says so, display refreshes do nothing, and the
// keyboard never has a key waiting.
//
// RegisterKalvionScriptNames is the one entry point: every global routine,
// class, variable and constant of the script object model (the script
// dialogs' and the video routines' included), bound to a host.  Without a
// window, showing a dialog and recording video are script errors too.  The
// host must outlive every script run that uses the registry.
#include "generation/SectorGenerator.h" // TVexaGenerateOptions
#include "model/VexaBase.h"                // TObjectRef

#include <memory>
#include <stdexcept>
#include <string>

namespace kalvion {

class TScriptRegistry;
class TStellarBody;
class TVexaSector;
class TScriptObjectPool;

// Raised by a host service the program cannot give; the bridge turns it into
// a script error that names the routine.
class TScriptHostError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The travel calculator's leg as a travel-method plug-in sees it, and the
// plug-in's answer (TravelCalc… variables).  The ends are checked
// references: a script may set them to a body it frees, and the calculator's
// bodies may go while the variables still name them.
struct TScriptTravelCalc {
    TObjectRef<TStellarBody> StartBody;
    TObjectRef<TStellarBody> EndBody;
    double Distance = 0;
    std::string DistanceUnit;  // "km" inside one system, "ly" between systems
    double SublightSpeed = 0;
    std::string SpeedUnit;     // free for plug-ins; the program neither sets nor reads it
    double InterstellarSpeed = 0;
    double TravelTime = 0;     // seconds; the plug-in's answer
    std::string ErrorMsg;      // empty means success
};

class TScriptAppHost {
public:
    TScriptAppHost();
    virtual ~TScriptAppHost();
    TScriptAppHost(const TScriptAppHost &) = delete;
    TScriptAppHost &operator=(const TScriptAppHost &) = delete;

    // True for the main window; the window-only services below need it.
    virtual bool HasWindow() const { return false; }

    // The sector scripts work on (GetCurrentSector); nullptr when none, which
    // makes GetCurrentSector a script error.
    virtual TVexaSector *CurrentSector() { return nullptr; }
    // ClearMap: the sector emptied like "Blank Sector", without asking to
    // save.  The default empties CurrentSector().
    virtual void ClearMap();
    // UpdateCaption: recount the sector's bodies and rewrite the caption.
    // The default recounts only.
    virtual void UpdateCaption();
    // RefreshScene: redraw the views.  Nothing to do without a window.
    virtual void RefreshScene() {}

    // The current body of the window (EditingBody, DeselectEditingBody).
    virtual TStellarBody *EditingBody() { return nullptr; }
    virtual void DeselectEditingBody() {}
    // Window-only: the body property dialog, the system diagram, the size.
    virtual void EditBody(TStellarBody *body);
    virtual void ShowSystemDiagram(TStellarBody *body);
    virtual void SetMainWindowSize(int width, int height);

    // Print: the sector's 2D map over pages of the printer (preview, pages
    // across, colour mode, grid, depth scaling, routes, system and label
    // size factors, plane); the number of pages.  Needs the main window.
    virtual int PrintSector(TVexaSector &sector, bool preview, double pagesAcross, int colourMode, bool showGrid,
                            bool scaleByDepth, bool showRoutes, double systemFactor, double labelFactor, int plane);

    // Pause sleeps without processing window messages; ProcessMessages
    // processes the pending ones once (nothing to do without a window).
    virtual void Pause(int milliseconds);
    virtual void ProcessMessages() {}
    // The low byte of the next keyboard message's key code, removed from the
    // queue; -1 when none is waiting (always without a window).
    virtual int GetKey() { return -1; }

    // The program's folder, ending in a path separator (VexaDirectory); the
    // default is the program's data folder.
    virtual std::string ProgramDirectory() const;
    // While a file-handler plug-in runs: the full path of the file it opens.
    virtual std::string FileHandlerFileName() const { return {}; }
    // The "Tables/" folder of the separately installed random-table program
    // (CreateIloomTable); empty when it is not installed.
    virtual std::string IdealoomTablesFolder() const { return {}; }
    // A Yes/No question of an operation a script started ("Regenerate a
    // completely new star system?"); the default answers Yes, the script
    // having asked for the operation.
    virtual bool Confirm(const std::string &, const std::string &) { return true; }
    // Saves the sector after a script's own save call wants it written where
    // the host keeps it; the default does nothing beyond the call itself.
    virtual void SectorSaved(TVexaSector &) {}

    // Program state behind the application variables.
    TScriptTravelCalc Travel;
    bool FilterTurningOn = false;
    // The sector-generation options a generator plug-in reads (GetGenerateOptions).
    TVexaGenerateOptions GenerateOptions;

    // Objects scripts created and did not hand to an owner (a body never
    // added to a system, a list, a generator).  Released when the host goes,
    // or earlier by ReleaseScriptObjects (the window calls it when its
    // outermost run ends); references scripts still hold become nil.
    TScriptObjectPool &ScriptObjects() { return *FPool; }
    void ReleaseScriptObjects();

protected:
    // The script error of a service that needs the main window.
    [[noreturn]] static void NeedsWindow(const std::string &routine);

private:
    std::unique_ptr<TScriptObjectPool> FPool;
};

// Registers every name of the script object model bound to `host`.  Names
// already in the registry keep their first registration.
void RegisterKalvionScriptNames(TScriptRegistry &reg, TScriptAppHost &host);

// The texts of the application's version routines.
inline constexpr const char *APP_VERSION_MAJOR = "3.0";
inline constexpr const char *APP_VERSION_MINOR = "301";
inline constexpr const char *APP_VERSION_BUILD = "f";

} // namespace kalvion
