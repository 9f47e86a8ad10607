#pragma once
// The "Program Preferences" window: the part of the settings a user edits.
// Only "&Ok" changes the settings, and nothing reaches the settings key
// before the program closes.
#include "app/AppMessages.h"
#include "app/AppSettings.h"

#include <QDialog>
#include <QImage>

#include <memory>

namespace Ui { class TfrmPreferences; }

namespace kalvion {
class TVexaPluginMgr;
}

namespace kalvion::app {

class TPluginListPanel;

inline constexpr const char *TERRAIN_PROGRAM_FILTER = "RW.exe|RW.exe|All Files|*.*";

// What the main window does after the settings were applied, in this order:
// lens flares to the 3D view, the data panel colours, the surface map
// manager's engine (the external program with RWFilePathAlt when
// TerrainEngine is 2, else the built-in one), the palette, the surface map
// resolution, then the plug-in menus.  The restart message for a changed
// multisampling choice has already been shown.
struct TPreferencesResult {
    bool MultisampleChanged = false;
    bool LensFlaresChanged = false;
    bool DataColorsChanged = false;
    bool TerrainEngineChanged = false;  // the engine or its program file
    bool PaletteChanged = false;
    bool ResolutionChanged = false;
};

// The colour of pixel row y (1 … height) of the palette strip: highland at
// the top, lowland at the bottom.
TColor GradientRowColor(TColor high, TColor low, int y, int height);
QImage GradientStrip(TColor high, TColor low, int width, int height);

class TfrmPreferences : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPreferences(TAppMessages &messages, QWidget *parent = nullptr);
    ~TfrmPreferences() override;

    void Load(const TAppSettings &settings);
    // Writes the controls into the settings in the program's order and
    // shows the restart message when multisampling changed.
    TPreferencesResult Apply(TAppSettings &settings);
    // The "Plug-Ins" page lists these plug-ins; its Active switches act on
    // them at once.
    void LoadPlugins(TVexaPluginMgr &plugins);

private:
    void ChooseColour(QPushButton *panel);
    void RestorePalette();
    void RepaintGradient();
    void BrowseTerrainProgram();

    std::unique_ptr<Ui::TfrmPreferences> ui;
    TAppMessages &FMessages;
    TPluginListPanel *FPluginList = nullptr;
};

} // namespace kalvion::app
