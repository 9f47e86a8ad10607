#pragma once
// What the dialogs share: reading numbers typed into boxes, showing numbers
// in them, and colour panels that open the program's colour chooser.
#include "app/AppMessages.h"
#include "base/Colour.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>

class QAbstractButton;
class QTableWidgetItem;

namespace kalvion::app {

// A decimal number typed by the user: "." or the locale's decimal separator,
// surrounding blanks ignored.  Nothing for anything else.
std::optional<double> NumberFromText(const QString &text);
// The text trimmed, with the locale's decimal separator turned into "."
// (when the text holds no "." already).
QString PointDecimalText(const QString &text);
// A whole number within 32 bits, or within 64 bits.
std::optional<std::int32_t> Int32FromText(const QString &text);
std::optional<std::int64_t> Int64FromText(const QString &text);
// A number as a box shows it: up to six decimals, no trailing zeros.
QString TextFromNumber(double value);

// Sector texts are bytes: shown as UTF-8 when they are, else as
// Windows-1252.  A shown text the user left as it was goes back as the
// original bytes; an edited one as UTF-8.
QString ShownText(const std::string &bytes);
std::string StoredText(const QString &shown, const std::string &original);

// A table cell or list entry holding sector bytes, and the bytes it stands
// for afterwards.
QTableWidgetItem *BytesItem(const std::string &bytes);
std::string ItemBytes(const QTableWidgetItem *item);

// A colour panel: a button painted in its colour, which it keeps.
void SetPanelColor(QAbstractButton *panel, TColor colour);
TColor PanelColor(const QAbstractButton *panel);
// Opens the colour chooser preset to the panel's colour; on OK the panel
// takes the chosen colour and true is returned.
bool ChoosePanelColor(TAppMessages &messages, QAbstractButton *panel);

} // namespace kalvion::app
