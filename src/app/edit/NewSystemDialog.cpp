#include "app/edit/NewSystemDialog.h"

#include "base/NumberParse.h"
#include "base/SettingsBool.h"
#include "generation/QuickGenerate.h"
#include "model/BodyTypes.h"

#include "ui_NewSystemDialog.h"

#include <QSlider>

#include <algorithm>

namespace kalvion::app {

namespace {

// The settings' order of the remembered body frequencies, with the slider
// each belongs to and the body type it sets in the generator.
struct TFreqMemory {
    const char *Name;
    TNewSystemSlider Slider;
    std::int32_t Type;
};
constexpr TFreqMemory FREQ_MEMORY[] = {
    {"GeneratorFreqStation", NS_STATIONS, BODY_TYPE_STATION},
    {"GeneratorFreqTerrestrial", NS_TERRESTRIAL, BODY_TYPE_TERRESTRIAL},
    {"GeneratorFreqGasGiant", NS_GAS_GIANTS, BODY_TYPE_GASGIANT},
    {"GeneratorFreqPlanetSystem", NS_PLANET_SYSTEMS, BODY_TYPE_PLANETSYSTEM},
    {"GeneratorFreqAsteroidBelt", NS_ASTEROID_BELTS, BODY_TYPE_ASTEROIDBELT},
    {"GeneratorFreqPlanetoid", NS_PLANETOIDS, BODY_TYPE_PLANETOID},
};

QString Q(const std::string &s) { return QString::fromStdString(s); }

} // namespace

TNewSystemChoice ReadNewSystemChoice(const TSettingsValues &memory, TNewSystemChoice c)
{
    if (const auto t = memory.Read("GeneratorNameTable"))
        c.NameTable = *t;
    else
        return c;
    for (auto [name, target] : {std::pair{"GeneratorPopulations", &c.Populations},
                                std::pair{"OrganicNaming", &c.OrganicNaming}}) {
        const auto t = memory.Read(name);
        if (!t) {
            *target = true;
            continue;
        }
        const auto v = ParseSettingsBool(*t);
        if (!v)
            return c;
        *target = *v;
    }
    for (const TFreqMemory &f : FREQ_MEMORY) {
        const auto t = memory.Read(f.Name);
        const auto v = t ? ParseInt64(*t) : std::nullopt;
        if (!v)
            return c;
        c.Freq[f.Slider] = static_cast<std::int32_t>(std::clamp<std::int64_t>(*v, 0, 50));
    }
    const auto t = memory.Read("GeneratorTerraforming");
    if (const auto v = t ? ParseInt64(*t) : std::nullopt)
        c.Terraforming = static_cast<std::int32_t>(std::clamp<std::int64_t>(*v, 0, 10));
    return c;
}

void WriteNewSystemChoice(TSettingsValues &memory, const TNewSystemChoice &c)
{
    memory.Write("GeneratorNameTable", c.NameTable);
    memory.Write("GeneratorPopulations", SettingsBoolText(c.Populations));
    memory.Write("OrganicNaming", SettingsBoolText(c.OrganicNaming));
    for (const TFreqMemory &f : FREQ_MEMORY)
        memory.Write(f.Name, std::to_string(c.Freq[f.Slider]));
    memory.Write("GeneratorTerraforming", std::to_string(c.Terraforming));
}

TSystemGeneratorOptions NewSystemGeneratorOptions(const TNewSystemChoice &c)
{
    TSystemGeneratorOptions o;
    o.KeepDefaults = false;
    o.WithPopulations = c.Populations;
    o.NameTableFile = c.NameTable;
    o.OrganicNaming = c.OrganicNaming;
    o.TerraformingLevel = c.Terraforming;
    for (const TFreqMemory &f : FREQ_MEMORY)
        o.Frequencies[static_cast<std::size_t>(f.Type)] = c.Freq[f.Slider];
    return o;
}

TfrmNewSystem::TfrmNewSystem(QWidget *parent) : QDialog(parent), ui(std::make_unique<Ui::TfrmNewSystem>())
{
    ui->setupUi(this);
    connect(ui->btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    std::vector<std::string> types;
    AddSystemBodyList(types);
    for (const std::string &t : types)
        ui->cmbSystemType->addItem(Q(t));
    ui->cmbSystemType->setCurrentIndex(0);
}

TfrmNewSystem::~TfrmNewSystem() = default;

void TfrmNewSystem::Prepare(const std::vector<std::string> &nameTables,
                            const std::vector<std::string> &pluginGenerators, const TNewSystemChoice &c)
{
    ui->cmbSystemGenerator->clear();
    ui->cmbSystemGenerator->addItem(QString::fromLatin1(STANDARD_GENERATOR_NAME));
    std::vector<std::string> plugins = pluginGenerators;
    std::sort(plugins.begin(), plugins.end());
    for (const std::string &p : plugins)
        ui->cmbSystemGenerator->addItem(Q(p));
    ui->cmbSystemGenerator->setCurrentIndex(0);
    ui->cmbNameGenerator->clear();
    for (const std::string &t : nameTables)
        ui->cmbNameGenerator->addItem(Q(t));
    ui->cmbNameGenerator->setCurrentIndex(0);
    PresetNameTable(c.NameTable);
    const int type = ui->cmbSystemType->findText(Q(c.SystemType));
    ui->cmbSystemType->setCurrentIndex(type < 0 ? 0 : type);
    ui->chkGenerateContents->setChecked(c.GenerateContents);
    ui->chkGeneratePopulations->setChecked(c.Populations);
    ui->chkOrganicNaming->setChecked(c.OrganicNaming);
    QSlider *sliders[NS_SLIDER_COUNT] = {ui->sldTerrestrial, ui->sldGasGiants,  ui->sldPlanetSystems,
                                         ui->sldAsteroidBelts, ui->sldPlanetoids, ui->sldStations};
    for (int i = 0; i < NS_SLIDER_COUNT; ++i)
        sliders[i]->setValue(c.Freq[static_cast<std::size_t>(i)]);
    ui->sldTerraforming->setValue(c.Terraforming);
}

void TfrmNewSystem::PresetNameTable(const std::string &table)
{
    const int i = ui->cmbNameGenerator->findText(Q(table));
    if (i >= 0)
        ui->cmbNameGenerator->setCurrentIndex(i);
}

TNewSystemChoice TfrmNewSystem::Choice() const
{
    TNewSystemChoice c;
    c.SystemType = ui->cmbSystemType->currentText().toStdString();
    c.Generator = std::max(0, ui->cmbSystemGenerator->currentIndex());
    c.NameTable = ui->cmbNameGenerator->currentText().toStdString();
    c.GenerateContents = ui->chkGenerateContents->isChecked();
    c.Populations = ui->chkGeneratePopulations->isChecked();
    c.OrganicNaming = ui->chkOrganicNaming->isChecked();
    const QSlider *sliders[NS_SLIDER_COUNT] = {ui->sldTerrestrial, ui->sldGasGiants,  ui->sldPlanetSystems,
                                               ui->sldAsteroidBelts, ui->sldPlanetoids, ui->sldStations};
    for (int i = 0; i < NS_SLIDER_COUNT; ++i)
        c.Freq[static_cast<std::size_t>(i)] = sliders[i]->value();
    c.Terraforming = ui->sldTerraforming->value();
    return c;
}

} // namespace kalvion::app
