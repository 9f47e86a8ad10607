#pragma once
// TfrmEditBody, "Edit Properties": one body's names and numbers, its orbit
// or position, display style, pictures, 3D model, terrain data, notes,
// custom fields and its own display fields.  The body is not touched before
// "&Ok"; then every visible page is checked first and only a dialog whose
// pages all pass writes into the body.
#include "app/AppMessages.h"
#include "app/editbody/EditBodyPages.h"
#include "model/StellarBody.h"

#include <QDialog>
#include <QImage>
#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;
namespace Ui { class TfrmEditBody; }

namespace kalvion {
class TVexaSector;
}

namespace kalvion::app {

class TDisplayFieldsPage;

// What "&Ok" found: the warnings met on the way (shown, then saving goes
// on) and the first failure (the dialog stays open), in page order.
struct TEditBodyCheck {
    QStringList Warnings;
    QString Error;
};

class TfrmEditBody final : public QDialog {
    Q_OBJECT
public:
    explicit TfrmEditBody(TAppMessages &messages, QWidget *parent = nullptr);
    ~TfrmEditBody() override;

    // Fills the pages from the body.  politicalList: the sector's non-empty
    // affiliations; programFolder (with a trailing separator) holds "Models/".
    void Load(TStellarBody &body, TVexaSector &sector, const QStringList &politicalList,
              const QString &programFolder);

    // The checks of "&Ok" over the visible pages, in order, without writing.
    TEditBodyCheck Check() const;
    // Writes every visible page into the body; call after a passing Check.
    void Apply();

    void accept() override;
    void reject() override;

    TStellarBody *Body() const { return FBody; }
    const TEditPageSet &Pages() const { return FPages; }
    bool PageShown(TEditPage page) const { return FPages.Has(page); }
    // The page's tab, for tests and the screenshot.
    QWidget *PageWidget(TEditPage page) const;
    TDisplayFieldsPage &DisplayFields() { return *FFields; }

    // After "&Ok": what the main window still has to do.
    const QString &ChosenWorldFile() const { return FWorldFile; }
    bool TerrainCleared() const { return FClearTerrain; }
    bool SurfaceMapPicked() const { return FSurfaceMapPicked; }
    bool ModelChanged() const { return FModelChanged; }
    // The chosen world file drawn as a map (null when none was read).
    const QImage &TerrainImage() const { return FTerrainImage; }

    // Live values, also driven by the benchmark.
    void UpdatePlanetDerived();
    void UpdateEquilibriumTemp();
    void UpdateOrbitalPeriod();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    struct TValues;
    struct TIdentity {
        QLineEdit *Name;
        QLineEdit *Uabi;
        QComboBox *Political;
    };

    void ConnectControls();
    // In a run answered from a file: where the tabs and the boxes of the
    // shown page lie on the screen, for end-to-end tests that click them.
    void NoteLayout(const QString &kind);
    void ShowPages();
    void LoadIdentity(const TIdentity &id);
    void LoadTypePage();
    void LoadPlanetPage();
    void LoadPosition();
    void LoadPlacement();
    void LoadCustomFields();
    void FillGases(const TStellarBody &from);
    TIdentity IdentityOf(TEditPage page) const;

    // Atmosphere tools and star buttons.
    void ClearAtmosphere();
    void MakeEarthlike();
    void RandomAtmosphere();
    void CalcFromMass(bool radius);
    void SetLabelStyle();
    void UpdateDsoLabel();

    // Pictures, models and terrain (EditBodyPictures.cpp).
    void LoadPictures();
    void SelectPicture(QLineEdit *edit, QWidget *check, QLabel *box, bool stretch);
    void ShowPicture(const QString &name, QLabel *box, bool stretch);
    QImage ReadPicture(const QString &name) const;
    void FillModelList();
    void ShowModelPreview();
    QString ModelFolder() const;
    void LoadTerrainPicture();
    void SelectWorldFile();
    void ClearWorldFile();
    void ApplyModel();

    bool Collect(TValues &v, TEditBodyCheck &check) const;
    void ApplyValues(const TValues &v);

    std::unique_ptr<Ui::TfrmEditBody> ui;
    TAppMessages &FMessages;
    std::unique_ptr<TDisplayFieldsPage> FFields;
    TStellarBody *FBody = nullptr;
    TVexaSector *FSector = nullptr;
    QString FProgramFolder;
    TEditPageSet FPages;
    TEditPage FTypePage = TEditPage::Default;
    std::vector<std::pair<TEditPage, QWidget *>> FPageWidgets;
    std::vector<QString> FPageTitles;
    // The body behind the orbital period label, kept so a keystroke
    // allocates nothing.
    TStellarBody FScratch;
    double FEquilibriumK = 0;
    QString FWorldFile;
    QImage FTerrainImage;
    bool FClearTerrain = false;
    bool FSurfaceMapPicked = false;
    bool FModelChanged = false;
};

} // namespace kalvion::app
