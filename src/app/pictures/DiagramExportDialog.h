#pragma once
// "Export 2D System Diagram": the flat diagram of the system the orbit view
// shows, written to a picture file.  Made on first use; its entries last
// for the rest of the run.
#include "app/AppMessages.h"

#include <QDialog>

#include <memory>

namespace Ui { class TfrmDiagramExport; }

namespace kalvion::app {

struct TDiagramChoice {
    QString FileName;
    int Width = 1000, Height = 1000;
    // 0 draws every child.
    int Orbits = 0;
};

class TfrmDiagramExport : public QDialog {
    Q_OBJECT
public:
    explicit TfrmDiagramExport(TAppMessages &messages, QWidget *parent = nullptr);
    ~TfrmDiagramExport() override;

    // The shown system's number of children presets the orbit limit.
    void Load(int children, const QString &folder);
    QString Validate() const;
    TDiagramChoice Choice() const;
    void accept() override;

private:
    void Browse();

    std::unique_ptr<Ui::TfrmDiagramExport> ui;
    TAppMessages &FMessages;
    QString FFolder;
};

} // namespace kalvion::app
