#include "app/DialogValues.h"

#include "base/NumberFormat.h"
#include "base/NumberParse.h"
#include "base/TextEncoding.h"

#include <QAbstractButton>
#include <QColor>
#include <QLocale>
#include <QTableWidgetItem>
#include <QVariant>

namespace kalvion::app {

namespace {
constexpr const char *COLOUR_PROPERTY = "kalvionColor";
}

QString PointDecimalText(const QString &text)
{
    QString t = text.trimmed();
    const QString sep = QLocale().decimalPoint();
    if (sep != QStringLiteral(".") && !t.contains(QLatin1Char('.')))
        t.replace(sep, QStringLiteral("."));
    return t;
}

std::optional<double> NumberFromText(const QString &text) { return ParseDouble(PointDecimalText(text).toStdString()); }

std::optional<std::int32_t> Int32FromText(const QString &text) { return ParseInt32(text.trimmed().toStdString()); }

std::optional<std::int64_t> Int64FromText(const QString &text) { return ParseInt64(text.trimmed().toStdString()); }

QString TextFromNumber(double value) { return QString::fromStdString(FormatFloat("0.######", value)); }

QString ShownText(const std::string &bytes) { return QString::fromStdString(BytesToUtf8(bytes)); }

std::string StoredText(const QString &shown, const std::string &original)
{
    return shown == ShownText(original) ? original : shown.toStdString();
}

QTableWidgetItem *BytesItem(const std::string &bytes)
{
    auto *item = new QTableWidgetItem(ShownText(bytes));
    item->setData(Qt::UserRole, QByteArray::fromStdString(bytes));
    return item;
}

std::string ItemBytes(const QTableWidgetItem *item)
{
    if (!item)
        return {};
    const QVariant original = item->data(Qt::UserRole);
    return original.isValid() ? StoredText(item->text(), original.toByteArray().toStdString())
                              : item->text().toStdString();
}

void SetPanelColor(QAbstractButton *panel, TColor colour)
{
    panel->setProperty(COLOUR_PROPERTY, static_cast<qulonglong>(colour));
    const QColor c = QColor::fromRgb(ColorToQRgb(colour));
    const QColor text = c.lightness() < 128 ? QColor(Qt::white) : QColor(Qt::black);
    panel->setStyleSheet(QStringLiteral("background-color: %1; color: %2;").arg(c.name(), text.name()));
}

TColor PanelColor(const QAbstractButton *panel)
{
    return static_cast<TColor>(panel->property(COLOUR_PROPERTY).toULongLong());
}

bool ChoosePanelColor(TAppMessages &messages, QAbstractButton *panel)
{
    const auto chosen = messages.ChooseColor(PanelColor(panel));
    if (!chosen)
        return false;
    SetPanelColor(panel, *chosen);
    return true;
}

} // namespace kalvion::app
