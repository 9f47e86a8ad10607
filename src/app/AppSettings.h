#pragma once
// The main window's settings: read once when the window is created, changed
// while the program runs, written once when it closes.  No other part of
// the window layer reads or writes the settings key, apart from the dialogs'
// own memories (see TSettingsStore).
#include "base/Colour.h"
#include "model/GexColorGroup.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

namespace kalvion::app {

class TSettingsStore;

struct TAppSettings {
    TColor DataBackgroundColor = 0;
    TColor DataLabelColor = 0x008000;
    TColor DataPopulatedColor = 0x00FFFF;
    double AnimationPerformanceAdjust = 1.0;
    QString DialogPath;  // the program folder + "Samples" until read
    bool AutoLock = false;
    std::int32_t TerrainEngine = 0;
    QString RWFilePathAlt;
    bool ShowLensFlares = true;
    TGexColorGroup Palette;  // Gex* colours
    bool GenAtmospheres = true;
    double SectorX = 0, SectorY = 0, SectorZ = 0;
    bool SectorIsSphere = false;
    std::int32_t SectorGrid = 0;
    double SectorGridTick = 0;
    bool SectorTickLabels = false;
    TColor SectorGridColor = 0;
    double PerformanceFactor = 1.0;
    bool PerformanceSkip = false;
    std::int32_t GeneratorDistribution = 0;
    std::int32_t GeneratorDensity = 0;
    std::array<QString, 16> CustomColors;  // "ColorA" … "ColorP"; empty when none
    std::int32_t SurfaceMapResolution = 3;
    QStringList SearchHistory;
    std::int32_t SublightSpeedUnit = 0;
    QString InterstellarSpeedMethod;
    bool AllowIntrasystemHyperlight = false;
    bool DisplaySectorDate = true;
    double LastUpdateTime = 0;
    bool DoAutomaticUpdateChecks = false;
    QString UpdateChannel = QStringLiteral("release");
    std::int32_t VideoFrameWidth = 1280;
    std::int32_t VideoFrameHeight = 720;
    double VideoFPS = 10.0;
    QString VideoFolder;  // the documents folder with a trailing separator
    bool VideoQuick = false;
    bool EnableMultisample = true;
    // Minutes between recovery copies of an unsaved sector; 0 writes none.
    std::int32_t RecoveryMinutes = 2;
    // How many steps the edit history keeps; at least 1.
    std::int32_t UndoLimit = 100;
    // The main window's place and size and its splitter, as Qt saves them
    // (base64); empty before the first close.
    QString WindowGeometry, SplitterState;
    QStringList DisabledPlugins;
    std::array<QString, 3> RecentFiles;  // "MRU1" … "MRU3"

    // The defaults that depend on the machine.
    explicit TAppSettings(const QString &programFolder = QString(), const QString &documentsFolder = QString());

    // Reads the values in the program's order; a value that is missing or
    // not of its type stops the reading, keeps its own default or its
    // group's defaults, as each value's rule says.  Afterwards an animation
    // adjustment outside 0.1 … 1000 is reset to 1.0.
    void Read(const TSettingsStore &store);
    // Writes every value of the closing list, in its order.
    void Write(TSettingsStore &store, const QString &programFolder) const;

    // The animation frame count for a nominal count x.
    int Frames(double x) const;
};

// The names of the values in the order Read takes them (for tests and the
// closing list).
QStringList SettingsReadOrder();

} // namespace kalvion::app
