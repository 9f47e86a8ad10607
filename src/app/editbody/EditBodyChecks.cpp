// "&Ok" of the body property dialog: every visible page is read and checked
// in page order, then the values are written into the body.
#include "app/DialogValues.h"
#include "app/editbody/DisplayFieldsPage.h"
#include "app/editbody/EditBodyDialog.h"
#include "base/PhysicalFormulas.h"
#include "model/VexaSector.h"
#include "ui_EditBodyDialog.h"

#include <cmath>

namespace kalvion::app {

namespace {

// Populations are stored as 64-bit integers: a typed one must lie within
// them and be no less than nobody.
constexpr double POPULATION_LIMIT = 9223372036854775807.0;

// Reads numbers off a page until the first one that fails; later reads
// then give 0 and leave the first message standing.
class TNumberReader {
public:
    explicit TNumberReader(TEditBodyCheck &check) : FCheck(check) {}
    bool Failed() const { return !FCheck.Error.isEmpty(); }
    void Fail(const QString &message)
    {
        if (!Failed())
            FCheck.Error = message;
    }
    double Number(const QLineEdit *edit, const QString &label)
    {
        if (Failed())
            return 0;
        const auto v = NumberFromText(edit->text());
        if (!v || !std::isfinite(*v)) {
            Fail(label + QStringLiteral(" must be a number"));
            return 0;
        }
        return *v;
    }
    double Angle(const QLineEdit *edit, const QString &label)
    {
        if (Failed())
            return 0;
        const auto v = NumberFromText(edit->text());
        if (!v || !(*v >= -360 && *v <= 360)) {
            Fail(label + QStringLiteral(" must be an angle, from -360 to 360"));
            return 0;
        }
        return *v;
    }
    double Population(const QLineEdit *edit)
    {
        const double p = Number(edit, QStringLiteral("Population"));
        if (!Failed() && !(p >= 0 && p < POPULATION_LIMIT))
            Fail(QStringLiteral("Population must be a number"));
        return p;
    }

private:
    TEditBodyCheck &FCheck;
};

} // namespace

struct TfrmEditBody::TValues {
    std::string Name, Political, Spectral, AtmosphereNotes;
    double Mass = 0, Luminosity = 0, Radius = 0, Rotation = 0;
    double Density = 0, Albedo = 0, Temp = 0, Atmosphere = 0, Water = 0, Population = 0;
    std::int32_t Habitability = 0;
    std::vector<TVexaAtmElement> Gases;
    double X = 0, Y = 0, Z = 0, SphereSize = 0, LabelDistance = 0, RouteDistance = 0;
    double Distance = 0, Eccentricity = 0, Inclination = 0, AscendingNode = 0, Periapsis = 0;
    double TimeOffset = 0, OrbitRotation = 0, AxialTilt = 0;
};

TEditBodyCheck TfrmEditBody::Check() const
{
    TValues v;
    TEditBodyCheck check;
    Collect(v, check);
    return check;
}

void TfrmEditBody::Apply()
{
    TValues v;
    TEditBodyCheck check;
    if (Collect(v, check))
        ApplyValues(v);
}

bool TfrmEditBody::Collect(TValues &v, TEditBodyCheck &check) const
{
    TNumberReader read(check);
    const TVexaImageResourceList &resources = FSector->ImageResources;
    const auto pictureKnown = [&resources](const QLineEdit *edit) {
        return resources.ResourceExists(edit->text().trimmed().toStdString());
    };
    if (!pictureKnown(ui->edBlazonFile))
        read.Fail(QStringLiteral("Blazon image file doesn't exist, or is not stored in the sector file"));
    else if (FPages.Has(TEditPage::ImagePreview) && !pictureKnown(ui->edPreviewFile))
        read.Fail(QStringLiteral("Preview image file doesn't exist, or is not stored in the sector file"));
    else if (FPages.Has(TEditPage::SurfaceMap) && !pictureKnown(ui->edSurfaceFile))
        read.Fail(QStringLiteral("Surface map image file doesn't exist, or is not stored in the sector file"));
    if (read.Failed())
        return false;

    const TIdentity id = IdentityOf(FTypePage);
    v.Name = StoredText(id.Name->text(), FBody->Name);
    v.Political = StoredText(id.Political->currentText(), FBody->PoliticalAffiliation);

    switch (FTypePage) {
    case TEditPage::Star:
        v.Mass = read.Number(ui->edStarMass, QStringLiteral("Star Mass"));
        v.Radius = read.Number(ui->edStarRadius, QStringLiteral("Star Radius"));
        v.Luminosity = read.Number(ui->edLuminosity, QStringLiteral("Star Luminosity"));
        v.Rotation = read.Number(ui->edStarRotation, QStringLiteral("Star Rotation"));
        v.Spectral = StoredText(ui->cbSpectral->currentText(), FBody->Spectral);
        break;
    case TEditPage::Planet: {
        v.Radius = read.Number(ui->edRadius, QStringLiteral("Radius"));
        // A radius or density whose mass no double holds does not fit (the
        // mass formula itself answers 0 for an overflow).
        const double cube = std::pow(v.Radius / EARTH_RADIUS_KM, 3);
        if (!read.Failed() && !std::isfinite(cube))
            read.Fail(QStringLiteral("Radius must be a number"));
        v.Density = read.Number(ui->edDensity, QStringLiteral("Density"));
        if (!read.Failed() && !std::isfinite(cube * v.Density))
            read.Fail(QStringLiteral("Density must be a number"));
        v.Mass = MassRelEarth(v.Radius, v.Density);
        v.Albedo = read.Number(ui->edAlbedo, QStringLiteral("Albedo"));
        v.Temp = read.Number(ui->edTemp, QStringLiteral("Mean Temperature"));
        v.Atmosphere = read.Number(ui->edPressure, QStringLiteral("Atmospheric Pressure"));
        const double water = read.Number(ui->edWater, QStringLiteral("Water Index"));
        if (!read.Failed() && !(water >= 0 && water <= 100))
            read.Fail(QStringLiteral("Water Index must be a decimal number under 100"));
        v.Water = water / 100;
        v.Population = read.Population(ui->edPlanetPopulation);
        double total = 0;
        for (int row = 0; row < ui->gridGases->rowCount() && !read.Failed(); ++row) {
            const QTableWidgetItem *gas = ui->gridGases->item(row, 0);
            if (!gas || gas->text().trimmed().isEmpty())
                continue;
            const QTableWidgetItem *percent = ui->gridGases->item(row, 1);
            const auto p = NumberFromText(percent ? percent->text() : QString());
            if (!p || !std::isfinite(*p)) {
                read.Fail(QStringLiteral("Atmosphere Gas Percentage for ") + gas->text().trimmed() +
                          QStringLiteral(" must be a number"));
                break;
            }
            total += *p;
            v.Gases.push_back({ItemBytes(gas), *p});
        }
        if (read.Failed())
            return false;
        if (total > 100)
            check.Warnings << QStringLiteral("Warning: Atmosphere gas percentages exceed 100%");
        v.AtmosphereNotes = StoredText(ui->edAtmNotes->text(), FBody->AtmosphereNotes);
        v.Habitability = ui->cbHabitability->currentIndex();
        break;
    }
    case TEditPage::Population:
        v.Population = read.Population(ui->edPopPopulation);
        break;
    case TEditPage::Ring:
        v.Radius = read.Number(ui->edWidth,
                               QString::fromStdString(NameFromBodyType(FBody->TypeID)) + QStringLiteral(" Width"));
        v.Population = read.Population(ui->edRingPopulation);
        break;
    default:
        break;
    }

    if (FPages.Has(TEditPage::Position)) {
        v.X = read.Number(ui->edPosX, QStringLiteral("X Coordinate"));
        v.Y = read.Number(ui->edPosY, QStringLiteral("Y Coordinate"));
        v.Z = read.Number(ui->edPosZ, QStringLiteral("Z Coordinate"));
        v.SphereSize = read.Number(ui->edSphereSize, QStringLiteral("Sphere of Influence size"));
        v.LabelDistance = read.Number(ui->edLabelDistance, QStringLiteral("Label Distance"));
        v.RouteDistance = read.Number(ui->edRouteDistance, QStringLiteral("Route Label Distance"));
    }
    if (FPages.Has(TEditPage::Component)) {
        v.X = read.Number(ui->edCompX, QStringLiteral("X Coordinate"));
        v.Y = read.Number(ui->edCompY, QStringLiteral("Y Coordinate"));
        v.Z = read.Number(ui->edCompZ, QStringLiteral("Z Coordinate"));
    }
    if (FPages.Has(TEditPage::Orbit)) {
        v.Distance = read.Number(ui->edDistance, QStringLiteral("Distance"));
        v.Eccentricity = read.Number(ui->edEccentricity, QStringLiteral("Eccentricity"));
        v.TimeOffset = read.Number(ui->edTimeOffset, QStringLiteral("Time Past Periapsis"));
        v.OrbitRotation = read.Number(ui->edOrbitRotation, QStringLiteral("Rotation"));
        v.Inclination = read.Angle(ui->edInclination, QStringLiteral("Inclination"));
        v.AscendingNode = read.Angle(ui->edAscNode, QStringLiteral("Ascending Node"));
        v.Periapsis = read.Angle(ui->edPeriapsis, QStringLiteral("Periapsis Angle"));
        v.AxialTilt = read.Angle(ui->edAxialTilt, QStringLiteral("Axial Tilt"));
        if (!read.Failed() && !(v.Eccentricity >= 0 && v.Eccentricity <= 0.999999))
            check.Warnings << QStringLiteral("Eccentricity must be between 0 and 1.0");
    }
    return !read.Failed();
}

void TfrmEditBody::ApplyValues(const TValues &v)
{
    TStellarBody &b = *FBody;
    b.TVexaBase::Modified = true;
    b.Name = v.Name;
    b.PoliticalAffiliation = v.Political;
    switch (FTypePage) {
    case TEditPage::Star:
        b.Mass = v.Mass;
        b.Luminosity = v.Luminosity;
        b.Radius = v.Radius;
        b.Rotation = v.Rotation;
        b.Spectral = v.Spectral;
        break;
    case TEditPage::Planet:
        b.ResetAtmElements();
        for (const TVexaAtmElement &gas : v.Gases)
            b.SetAtmElement(gas.Gas, gas.Percent);
        b.Mass = v.Mass;
        b.Radius = v.Radius;
        b.Density = v.Density;
        b.Albedo = v.Albedo;
        b.Temp = v.Temp;
        b.Atmosphere = v.Atmosphere;
        b.Water = v.Water;
        b.AtmosphereNotes = v.AtmosphereNotes;
        b.Population = v.Population;
        b.Habitability = v.Habitability;
        break;
    case TEditPage::Population:
        b.Population = v.Population;
        break;
    case TEditPage::Ring:
        b.Radius = v.Radius;
        b.Population = v.Population;
        break;
    default:
        break;
    }
    if (FPages.Has(TEditPage::Position)) {
        b.X = v.X;
        b.Y = v.Y;
        b.Z = v.Z;
        b.Color = PanelColor(ui->btnColor);
        b.LabelColor = PanelColor(ui->btnLabelColor);
        b.FontStyle = (ui->tbBold->isChecked() ? LABEL_FONT_BOLD : 0) |
                      (ui->tbUnderline->isChecked() ? LABEL_FONT_UNDERLINE : 0);
        b.SphereInfluence = ui->rbSphereCube->isChecked()        ? SPHERE_INFLUENCE_CUBE
                            : ui->rbSphereSpherical->isChecked() ? SPHERE_INFLUENCE_SPHERE
                                                                 : SPHERE_INFLUENCE_NONE;
        b.SphereInfluenceColor = PanelColor(ui->btnSphereColor);
        b.SphereInfluenceSize = v.SphereSize;
        b.LabelDistance = v.LabelDistance;
        b.RouteDistance = v.RouteDistance;
        if (b.TypeID == BODY_TYPE_DSO)
            b.DSOIntensity = ui->sldDso->value();
    }
    FSector->SetBlazonImage(&b, ui->edBlazonFile->text().trimmed().toStdString());
    b.BlazonDisplay = ui->chkBlazonDisplay->isChecked();
    b.BlazonWrap = ui->chkBlazonWrap->isChecked();
    ApplyModel();
    if (FPages.Has(TEditPage::Component)) {
        b.X = v.X;
        b.Y = v.Y;
        b.Z = v.Z;
    }
    const auto applyPreview = [this, &b](const QLineEdit *edit, const QCheckBox *use) {
        const std::string name = edit->text().trimmed().toStdString();
        if (use->isChecked() && !name.empty())
            FSector->SetPreviewImage(&b, name);
        else
            b.PreviewImageFile.clear();
    };
    if (FPages.Has(TEditPage::ImagePreview))
        applyPreview(ui->edPreviewFile, ui->chkUsePreview);
    if (FPages.Has(TEditPage::SurfaceMap))
        applyPreview(ui->edSurfaceFile, ui->chkUseSurface);
    b.Notes = StoredText(ui->memNotes->toPlainText(), b.Notes);
    b.GMNotes = StoredText(ui->memGMNotes->toPlainText(), b.GMNotes);
    if (FFields->Override()) {
        auto own = std::make_unique<TSystemDataConfig>();
        own->CopyFrom(&FFields->Config());
        own->TypeID = b.TypeID;
        b.SetSystemDataConfig(std::move(own));
    } else {
        b.SetSystemDataConfig(nullptr);
    }
    if (FPages.Has(TEditPage::AdditionalFields)) {
        for (int row = 0; row < ui->gridCustomFields->rowCount(); ++row) {
            const QTableWidgetItem *name = ui->gridCustomFields->item(row, 0);
            const std::string field = name ? name->data(Qt::UserRole + 1).toByteArray().toStdString() : std::string();
            if (!field.empty())
                b.SetField(field, ItemBytes(ui->gridCustomFields->item(row, 1)));
        }
    }
    if (FPages.Has(TEditPage::Orbit)) {
        b.Distance = v.Distance;
        b.RetrogradeOrbit = ui->chkRetrograde->isChecked();
        b.Eccentricity = v.Eccentricity;
        b.Inclination = v.Inclination;
        b.AngleAscendingNode = v.AscendingNode;
        b.AnglePeriapsis = v.Periapsis;
        b.TimeOffset = v.TimeOffset;
        b.Rotation = v.OrbitRotation;
        b.AxialTilt = v.AxialTilt;
        b.OrbitColor = PanelColor(ui->btnOrbitColor);
    }
}

} // namespace kalvion::app
