#pragma once
// The "Mass Edit" windows: one setting applied to every selected root
// system at once.  Each is made on first use and kept.  Load presets the
// controls (from the first selected system, the first entry of the
// selection, where the window takes a preset), Validate returns the first
// failing check's message ("" when all pass) and Apply calls the sector
// operation.  OK that fails a check says so and keeps the window open.
#include "app/AppMessages.h"
#include "base/Colour.h"

#include <QDialog>
#include <QImage>

#include <memory>
#include <string>
#include <vector>

namespace Ui {
class TfrmMassPolitical;
class TfrmMassDisplayStyle;
class TfrmMassLabelDistances;
class TfrmMassBlazons;
class TfrmMassSphere;
class TfrmMassDeleteRoutes;
} // namespace Ui

namespace kalvion {
class TStellarBody;
class TVexaSector;
} // namespace kalvion

namespace kalvion::app {

inline constexpr const char *DISTANCES_MESSAGE = "Distances must be numbers";
inline constexpr const char *SPHERE_SIZE_MESSAGE = "Sphere size must be a number";
inline constexpr const char *BLAZON_FILTER = "Image Files (*.bmp, *.jpg, *.png)|*.bmp;*.png;*.jpg|All Files (*.*)|*.*";
inline constexpr const char *UNASSIGNED_ROUTE_TYPE = "(Unassigned)";

// The base of the windows: OK runs Validate, tells its message and stays,
// or closes.
class TMassEditDialog : public QDialog {
    Q_OBJECT
public:
    TMassEditDialog(TAppMessages &messages, QWidget *parent);
    virtual QString Validate() const { return QString(); }
    void accept() override;

protected:
    TAppMessages &FMessages;
};

class TfrmMassPolitical : public TMassEditDialog {
    Q_OBJECT
public:
    explicit TfrmMassPolitical(TAppMessages &messages, QWidget *parent = nullptr);
    ~TfrmMassPolitical() override;
    void Load(const TVexaSector &sector);
    void Apply(TVexaSector &sector) const;

private:
    std::unique_ptr<Ui::TfrmMassPolitical> ui;
};

class TfrmMassDisplayStyle : public TMassEditDialog {
    Q_OBJECT
public:
    explicit TfrmMassDisplayStyle(TAppMessages &messages, QWidget *parent = nullptr);
    ~TfrmMassDisplayStyle() override;
    void Load(const TVexaSector &sector);
    void Apply(TVexaSector &sector) const;

private:
    std::unique_ptr<Ui::TfrmMassDisplayStyle> ui;
};

class TfrmMassLabelDistances : public TMassEditDialog {
    Q_OBJECT
public:
    explicit TfrmMassLabelDistances(TAppMessages &messages, QWidget *parent = nullptr);
    ~TfrmMassLabelDistances() override;
    void Load(const TVexaSector &sector);
    QString Validate() const override;
    void Apply(TVexaSector &sector) const;

private:
    std::unique_ptr<Ui::TfrmMassLabelDistances> ui;
};

// The picture scaled to fit a box of the given size with its proportions
// kept, centred on a transparent background.  Null for a null picture.
QImage FitPictureCentred(const QImage &picture, QSize box);

class TfrmMassBlazons : public TMassEditDialog {
    Q_OBJECT
public:
    TfrmMassBlazons(TAppMessages &messages, TVexaSector &sector, QWidget *parent = nullptr);
    ~TfrmMassBlazons() override;
    // The window keeps its values between uses; only the sector changes.
    void Load(TVexaSector &sector);
    // "Select...": the file chooser, then ChooseFile.
    void SelectFile();
    // A chosen file: "Display Blazon instead of star" is checked and the
    // picture previewed.
    void ChooseFile(const QString &file);
    // The picture of a blazon name: the sector's image resource of that
    // name when there is one, else the file; null when neither reads.
    QImage BlazonPicture(const QString &name) const;
    QImage Preview() const { return FPreview; }
    void Apply(TVexaSector &sector) const;

private:
    std::unique_ptr<Ui::TfrmMassBlazons> ui;
    TVexaSector *FSector;
    QImage FPreview;
};

class TfrmMassSphere : public TMassEditDialog {
    Q_OBJECT
public:
    explicit TfrmMassSphere(TAppMessages &messages, QWidget *parent = nullptr);
    ~TfrmMassSphere() override;
    void Load(const TVexaSector &sector);
    QString Validate() const override;
    void Apply(TVexaSector &sector) const;

private:
    std::unique_ptr<Ui::TfrmMassSphere> ui;
};

class TfrmMassDeleteRoutes : public TMassEditDialog {
    Q_OBJECT
public:
    explicit TfrmMassDeleteRoutes(TAppMessages &messages, QWidget *parent = nullptr);
    ~TfrmMassDeleteRoutes() override;
    void Load(const TVexaSector &sector);
    // The question for "&Delete" ("Delete all routes?" or "Delete all '" +
    // type + "' routes?").
    QString Question() const;
    // "&Delete" asks; Yes closes the window with OK.
    void accept() override;
    // Deletes every route, or those of the chosen type ("(Unassigned)" is
    // the empty type).  The number of routes deleted.
    int Apply(TVexaSector &sector) const;

private:
    std::unique_ptr<Ui::TfrmMassDeleteRoutes> ui;
    std::vector<std::string> FTypes;  // the sector's bytes behind the list entries
};

} // namespace kalvion::app
