// The picture pages of the body property dialog: blazon, preview image,
// surface map, the 3D model list and the terrain data.
#include "app/DialogValues.h"
#include "app/editbody/EditBodyDialog.h"
#include "base/Paths.h"
#include "model/VexaSector.h"
#include "surface/GexTerrain.h"
#include "ui_EditBodyDialog.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>

namespace kalvion::app {

namespace {

const QString PICTURE_FILTER =
    QStringLiteral("Image Files (*.bmp, *.jpg, *.png)|*.bmp;*.png;*.jpg|All Files (*.*)|*.*");
const QString WORLD_FILTER = QStringLiteral("Gexworld Files (*.gex)|*.gex|All Files (*.*)|*.*");
const QString NO_MODEL = QStringLiteral("(none)");

void PaintInto(QLabel *box, const QImage &image, bool stretch)
{
    if (image.isNull()) {
        box->clear();
        return;
    }
    const QSize size = box->minimumSize().isEmpty() ? box->size() : box->minimumSize();
    box->setPixmap(QPixmap::fromImage(
        image.scaled(size, stretch ? Qt::IgnoreAspectRatio : Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

} // namespace

QImage TfrmEditBody::ReadPicture(const QString &name) const
{
    const std::string file = name.trimmed().toStdString();
    if (file.empty())
        return {};
    std::optional<TByteStream> bytes;
    if (TVexaImageResource *r = FSector->ImageResources.GetResourceFromFile(file)) {
        FSector->DynaLoadResource(r);
        if (r->Loaded && !r->Data.empty())
            bytes = r->Data;
    }
    if (!bytes)
        bytes = ReadFileBytes(file);
    QImage image;
    if (bytes)
        image.loadFromData(bytes->data(), static_cast<int>(bytes->size()));
    return image;
}

void TfrmEditBody::ShowPicture(const QString &name, QLabel *box, bool stretch)
{
    PaintInto(box, ReadPicture(name), stretch);
}

void TfrmEditBody::LoadPictures()
{
    const TStellarBody &b = *FBody;
    ui->edBlazonFile->setText(ShownText(b.BlazonImageFile));
    ui->chkBlazonDisplay->setChecked(b.BlazonDisplay);
    ui->chkBlazonWrap->setChecked(b.BlazonWrap);
    ShowPicture(ui->edBlazonFile->text(), ui->lblBlazonPreview, false);
    const QString preview = ShownText(b.PreviewImageFile);
    const bool map = FPages.Has(TEditPage::SurfaceMap);
    ui->edPreviewFile->setText(map ? QString() : preview);
    ui->chkUsePreview->setChecked(!map && !preview.isEmpty());
    ui->edSurfaceFile->setText(map ? preview : QString());
    ui->chkUseSurface->setChecked(map && !preview.isEmpty());
    if (map)
        ShowPicture(preview, ui->lblSurfacePicture, true);
    else
        ShowPicture(preview, ui->lblPreviewPicture, false);
    if (FPages.Has(TEditPage::Terrain))
        LoadTerrainPicture();
}

void TfrmEditBody::SelectPicture(QLineEdit *edit, QWidget *check, QLabel *box, bool stretch)
{
    const auto file = FMessages.OpenFileName(QStringLiteral("Select Image"), PICTURE_FILTER, edit->text());
    if (!file || file->isEmpty())
        return;
    edit->setText(*file);
    if (auto *c = qobject_cast<QCheckBox *>(check))
        c->setChecked(true);
    if (edit == ui->edSurfaceFile)
        FSurfaceMapPicked = true;
    ShowPicture(*file, box, stretch);
}

QString TfrmEditBody::ModelFolder() const
{
    return FProgramFolder + QStringLiteral("Models/") + QString::fromStdString(NameFromBodyType(FBody->TypeID)) +
           QLatin1Char('/');
}

void TfrmEditBody::FillModelList()
{
    ui->lstModels->clear();
    ui->lstModels->addItem(NO_MODEL);
    const QDir folder(ModelFolder());
    if (folder.exists())
        ui->lstModels->addItems(folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name));
    // The body's model file names its folder last.
    const QString current = QString::fromStdString(ExtractFileName(NormalizeStoredPath(FBody->ModelFile)));
    int row = 0;
    if (!current.isEmpty())
        for (int i = 1; i < ui->lstModels->count(); ++i)
            if (ui->lstModels->item(i)->text() == current)
                row = i;
    ui->lstModels->setCurrentRow(row);
    ShowModelPreview();
}

void TfrmEditBody::ShowModelPreview()
{
    const QSize size = ui->lblModelPreview->minimumSize();
    QImage box(size, QImage::Format_RGB32);
    box.fill(Qt::black);
    const QListWidgetItem *item = ui->lstModels->currentItem();
    if (item && item->text() != NO_MODEL) {
        const QImage preview(ModelFolder() + item->text() + QStringLiteral("/preview.jpg"));
        if (!preview.isNull()) {
            QPainter p(&box);
            p.drawImage(QRect(QPoint(0, 0), size), preview);
        }
    }
    ui->lblModelPreview->setPixmap(QPixmap::fromImage(box));
}

void TfrmEditBody::ApplyModel()
{
    const QListWidgetItem *item = ui->lstModels->currentItem();
    const std::string chosen = item && item->text() != NO_MODEL ? item->text().toStdString() : std::string();
    FModelChanged = chosen != FBody->ModelFile;
    FBody->ModelFile = chosen;
}

void TfrmEditBody::LoadTerrainPicture()
{
    ui->lblTerrainPicture->clear();
    if (const auto bytes = FSector->GetSurfaceMapImageStream(FBody)) {
        QImage image;
        if (image.loadFromData(bytes->data(), static_cast<int>(bytes->size())))
            PaintInto(ui->lblTerrainPicture, image, false);
    }
}

void TfrmEditBody::SelectWorldFile()
{
    const auto file = FMessages.OpenFileName(QStringLiteral("Select Gexworld File"), WORLD_FILTER, FWorldFile);
    if (!file || file->isEmpty())
        return;
    FWorldFile = *file;
    FClearTerrain = false;
    FTerrainImage = QImage();
    ui->edGexFile->setText(QFileInfo(*file).fileName());
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TGexTerrain world(SURFACEMAP_DEFAULT_WIDTH, SURFACEMAP_DEFAULT_HEIGHT);
    if (world.LoadFromFile(file->toStdString())) {
        TRgbImage bitmap(world.Width(), world.Height());
        world.Render(bitmap, 0, world.Height() - 1, world.Width() - 1, 0);
        const QImage image(bitmap.Pixels.data(), bitmap.Width, bitmap.Height, bitmap.Width * 3,
                           QImage::Format_RGB888);
        FTerrainImage = image.copy();
        PaintInto(ui->lblTerrainPicture, FTerrainImage, true);
    }
    QApplication::restoreOverrideCursor();
}

void TfrmEditBody::ClearWorldFile()
{
    FWorldFile.clear();
    FTerrainImage = QImage();
    FClearTerrain = true;
    ui->edGexFile->clear();
    ui->lblTerrainPicture->clear();
}

} // namespace kalvion::app
