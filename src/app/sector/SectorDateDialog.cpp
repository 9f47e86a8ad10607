#include "app/sector/SectorDateDialog.h"

#include "app/DialogValues.h"
#include "ui_SectorDateDialog.h"

#include <algorithm>

namespace kalvion::app {

TfrmSectorDate::TfrmSectorDate(TAppMessages &messages, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmSectorDate>()), FMessages(messages)
{
    ui->setupUi(this);
    const std::pair<TSectorDateBox, std::pair<QToolButton *, QToolButton *>> steps[] = {
        {TSectorDateBox::Year, {ui->udYearUp, ui->udYearDown}},
        {TSectorDateBox::Month, {ui->udMonthUp, ui->udMonthDown}},
        {TSectorDateBox::Day, {ui->udDayUp, ui->udDayDown}},
        {TSectorDateBox::Hour, {ui->udHourUp, ui->udHourDown}},
        {TSectorDateBox::Minute, {ui->udMinuteUp, ui->udMinuteDown}},
        {TSectorDateBox::Second, {ui->udSecondUp, ui->udSecondDown}},
    };
    for (const auto &[box, buttons] : steps) {
        const TSectorDateBox b = box;
        connect(buttons.first, &QToolButton::clicked, this, [this, b] { Step(b, +1); });
        connect(buttons.second, &QToolButton::clicked, this, [this, b] { Step(b, -1); });
    }
    connect(ui->btnGo, &QPushButton::clicked, this, [this] { Go(); });
    connect(ui->btnOk, &QPushButton::clicked, this, &TfrmSectorDate::accept);
    connect(ui->btnCancel, &QPushButton::clicked, this, &TfrmSectorDate::reject);
}

TfrmSectorDate::~TfrmSectorDate() = default;

void TfrmSectorDate::Load(double time, std::int64_t epochYear)
{
    FResult.reset();
    FEditor.Open(epochYear, time);
    EditorToBoxes();
}

void TfrmSectorDate::BoxesToEditor() const
{
    FEditor.Fields.Year = ui->edYear->text().trimmed().toStdString();
    FEditor.Fields.Month = ui->edMonth->text().trimmed().toStdString();
    FEditor.Fields.Day = ui->edDay->text().trimmed().toStdString();
    FEditor.Fields.Hour = ui->edHour->text().trimmed().toStdString();
    FEditor.Fields.Minute = ui->edMinute->text().trimmed().toStdString();
    FEditor.Fields.Second = ui->edSecond->text().trimmed().toStdString();
    // The amount may use the locale's decimal separator.
    FEditor.Amount = PointDecimalText(ui->edAdd->text()).toStdString();
    FEditor.Unit = static_cast<TSectorDateUnit>(std::clamp(ui->cmbInc->currentIndex(), 0, 5));
}

void TfrmSectorDate::EditorToBoxes()
{
    ui->edYear->setText(QString::fromStdString(FEditor.Fields.Year));
    ui->edMonth->setText(QString::fromStdString(FEditor.Fields.Month));
    ui->edDay->setText(QString::fromStdString(FEditor.Fields.Day));
    ui->edHour->setText(QString::fromStdString(FEditor.Fields.Hour));
    ui->edMinute->setText(QString::fromStdString(FEditor.Fields.Minute));
    ui->edSecond->setText(QString::fromStdString(FEditor.Fields.Second));
}

QString TfrmSectorDate::Validate() const
{
    BoxesToEditor();
    return QString::fromStdString(FEditor.Check());
}

void TfrmSectorDate::Step(TSectorDateBox box, int delta)
{
    BoxesToEditor();
    FEditor.Step(box, delta);
    EditorToBoxes();
}

void TfrmSectorDate::Go()
{
    BoxesToEditor();
    const std::string message = FEditor.Go();
    if (!message.empty()) {
        FMessages.Tell(QString::fromStdString(message), QStringLiteral("Kalvion"), TMsgIcon::Warning);
        return;
    }
    EditorToBoxes();
}

void TfrmSectorDate::accept()
{
    const QString message = Validate();
    if (!message.isEmpty()) {
        FMessages.Tell(message, QStringLiteral("Kalvion"), TMsgIcon::Warning);
        return;
    }
    FResult = FEditor.ResultTime();
    QDialog::accept();
}

void TfrmSectorDate::reject()
{
    FResult.reset();
    QDialog::reject();
}

} // namespace kalvion::app
