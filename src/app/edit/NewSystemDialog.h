#pragma once
// The "Create New System" window: which system type to place, which
// generator and name table fill it, and the body frequencies it uses.  The
// window is made on first use and kept; its choices are remembered in the
// settings.
#include "generation/NewSectorOptions.h"
#include "generation/SystemGenerator.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Ui { class TfrmNewSystem; }

namespace kalvion::app {

inline constexpr const char *STANDARD_GENERATOR_NAME = "Kalvion Standard Generator";

// The body sliders in the window's order.
enum TNewSystemSlider { NS_TERRESTRIAL, NS_GAS_GIANTS, NS_PLANET_SYSTEMS, NS_ASTEROID_BELTS, NS_PLANETOIDS,
                        NS_STATIONS, NS_SLIDER_COUNT };

struct TNewSystemChoice {
    std::string SystemType = "Star, Yellow";
    int Generator = 0;  // 0 the standard generator, else a plug-in's place in the list
    std::string NameTable;
    bool GenerateContents = true;
    bool Populations = true;
    bool OrganicNaming = true;
    std::array<std::int32_t, NS_SLIDER_COUNT> Freq{10, 10, 10, 10, 10, 10};
    std::int32_t Terraforming = 10;
};

// The choices the settings keep, read in their order up to the first value
// that is missing or unreadable (the two switches count as on when missing).
TNewSystemChoice ReadNewSystemChoice(const TSettingsValues &memory, TNewSystemChoice defaults);
void WriteNewSystemChoice(TSettingsValues &memory, const TNewSystemChoice &choice);
// What the standard generator is given for the choice.
TSystemGeneratorOptions NewSystemGeneratorOptions(const TNewSystemChoice &choice);

class TfrmNewSystem : public QDialog {
    Q_OBJECT
public:
    explicit TfrmNewSystem(QWidget *parent = nullptr);
    ~TfrmNewSystem() override;

    // Fills the lists (plug-in generators after the standard one, sorted)
    // and shows the choice.
    void Prepare(const std::vector<std::string> &nameTables, const std::vector<std::string> &pluginGenerators,
                 const TNewSystemChoice &choice);
    // The name table used last in this run, when it is listed.
    void PresetNameTable(const std::string &table);
    TNewSystemChoice Choice() const;

private:
    std::unique_ptr<Ui::TfrmNewSystem> ui;
};

} // namespace kalvion::app
