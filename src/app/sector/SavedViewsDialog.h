#pragma once
// The "Saved Views" window: shows or deletes the sector's saved views.
#include "app/AppMessages.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Ui { class TfrmSavedViews; }

namespace kalvion {
class TVexaSector;
}

namespace kalvion::app {

// "Add as View": asks for the view's name and, when a view of that name
// exists, whether to replace it; the current camera and filters become the
// view and the sector is marked changed.  False when nothing was added.
bool AddViewAsked(TVexaSector &sector, TAppMessages &messages);

class TfrmSavedViews : public QDialog {
    Q_OBJECT
public:
    // redraw is called after a view has been applied.
    TfrmSavedViews(TVexaSector &sector, std::function<void()> redraw, QWidget *parent = nullptr);
    ~TfrmSavedViews() override;

    // Fills the list with the sector's views, in their order.
    void Refresh();
    // "Show View" and "Delete" on the selected view; nothing without one.
    void ShowSelected();
    void DeleteSelected();

private:
    std::unique_ptr<Ui::TfrmSavedViews> ui;
    TVexaSector &FSector;
    std::function<void()> FRedraw;
    std::vector<std::string> FNames;  // the views' names as stored, by row
};

} // namespace kalvion::app
