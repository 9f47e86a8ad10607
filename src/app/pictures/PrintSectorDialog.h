#pragma once
// "Print Sector": printer, orientation, size in pages and the map's options,
// with a preview of the sheets.  Made once when the program starts and kept,
// so its choices last from one printing to the next.
#include "app/AppMessages.h"
#include "app/pictures/MapOptionsBox.h"

#include <QDialog>
#include <QImage>
#include <QRect>

#include <memory>
#include <optional>
#include <vector>

class QPrinter;
namespace Ui { class TfrmPrintSector; }

namespace kalvion {
class TVexaSector;
}

namespace kalvion::app {

struct TPrintChoice {
    double PagesAcross = 1;
    TMapOptions Map;
    TMapArea Area;
};

// Where the preview puts each sheet and how big it makes the picture.
struct TPreviewLayout {
    int ThumbWidth = 0, ThumbHeight = 0;
    QSize Picture;
    std::vector<QRect> Sheets;
};
inline constexpr int PREVIEW_GAP = 20;
inline constexpr int PREVIEW_MAX_SIZE = 2000;
TPreviewLayout PreviewLayout(const TPrintPage &page, double pagesAcross, int sheets, QSize area);
// The sheets drawn as thumbnails with shadow and frame.
QImage PreviewPicture(const TPreviewLayout &layout, const TPrintPage &page, const std::vector<QPicture> &sheets);

// The sector a map command draws: the sector itself, or the systems within
// the chosen distance of the first selected one as a new sector (kept in
// `submap`, freed by the caller).
const TVexaSector &MapSubject(TVexaSector &sector, const TMapArea &area, std::unique_ptr<TVexaSector> &submap);

class TfrmPrintSector : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPrintSector(TAppMessages &messages, QWidget *parent = nullptr);
    ~TfrmPrintSector() override;

    // The sector to print (kept until the next Load).
    void Load(TVexaSector &sector);
    QPrinter &Printer() { return *FPrinter; }
    TPrintPage Page() const;

    // The settings read as "&Ok" and "Preview >>" read them: the first
    // failing check's message, or the choice.
    std::optional<TPrintChoice> ReadSettings(QString *message) const;
    std::optional<TPrintChoice> Choice() const { return FChoice; }

    // "Preview >>": false when a check failed (its message was shown).
    bool Preview();
    const QImage &PreviewImage() const { return FPreview; }
    const TPreviewLayout &LastPreviewLayout() const { return FPreviewLayout; }

    TMapOptionsBox &MapBox();
    void accept() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FillPrinters();
    void PrinterChosen(const QString &name);
    void OrientationChosen();
    void FollowPrinter();
    void Properties();

    std::unique_ptr<Ui::TfrmPrintSector> ui;
    TAppMessages &FMessages;
    std::unique_ptr<QPrinter> FPrinter;
    TVexaSector *FSector = nullptr;
    std::optional<TPrintChoice> FChoice;
    QImage FPreview;
    TPreviewLayout FPreviewLayout;
};

} // namespace kalvion::app
