// The sector's own dialogs, opened from the main window.
#include "app/MainWindow.h"

#include "app/AppMessages.h"
#include "app/SettingsStore.h"

#include "model/VexaSector.h"

namespace kalvion::app {

std::optional<TNewSectorOptions> TfrmVexaMain::AskNewSectorOptions()
{
    const auto tables = NameTableFiles();
    return ReadNewSectorOptions(FStore, *FSector, tables.empty() ? std::string() : tables.front());
}

void TfrmVexaMain::SetSectorDate() {}
void TfrmVexaMain::ShowSectorProperties() {}
void TfrmVexaMain::EditSubsectors() {}
void TfrmVexaMain::ShowSavedViews() {}
void TfrmVexaMain::ShowPreferences() {}

} // namespace kalvion::app
