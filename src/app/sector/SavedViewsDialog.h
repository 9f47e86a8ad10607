#pragma once
// The "Saved Views" window: shows or deletes the sector's saved views.
#include <QDialog>

#include <functional>
#include <memory>

namespace Ui { class TfrmSavedViews; }

namespace kalvion {
class TVexaSector;
}

namespace kalvion::app {

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
};

} // namespace kalvion::app
