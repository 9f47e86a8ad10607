#pragma once
// The file choosers' filters, in the program's "Caption|pattern" form.
namespace kalvion::app {

inline constexpr const char *SECTOR_FILE_FILTER =
    "Kalvion Sector Maps (*.VexaDB)|*.VexaDB|Kalvion v2 Sector Maps (*.Sector)|*.Sector|All Files (*.*)|*.*";
inline constexpr const char *IMAGE_FILE_FILTER =
    "All Files (*.*)|*.*|JPEG (*.jpg)|*.jpg|Portable Network Graphics (*.png)|*.png|Windows Bitmaps (*.bmp)|*.bmp";

} // namespace kalvion::app
