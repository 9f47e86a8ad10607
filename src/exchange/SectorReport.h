#pragma once
// The HTML sector report: totals, an index of systems with planet symbols, a
// symbol legend and one section per system laid out by the sector's display
// fields.  Surface maps and the symbol images are written next to the page.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>
#include <unordered_map>

namespace kalvion {

class TSystemDataConfigHolder;

class TVexaSector;
class TStellarBody;
class TExchangePrompt;

inline constexpr int REPORTSTYLE_ALL = 0;
inline constexpr int REPORTSTYLE_POPULATED = 1;
inline constexpr int REPORTSTYLE_SELECTED = 2;
inline constexpr int REPORTSTYLE_VISIBLE = 3;
// Above this many systems the user is asked before a report is written.
inline constexpr int REPORTWARN_LIMIT = 1000;

inline constexpr const char *REPORT_CANCELLED = "The report was not written: the user declined.";

// Bodies whose surface map was written for the report, with the file name
// (inside the report's folder) it was written under.
using TReportMapMarks = std::unordered_map<const TStellarBody *, std::string>;

// Writes the whole report to fileName (through a temporary file, so a failed
// write leaves an older report intact; the map images this run added beside
// it are removed again).  False when the user declined the
// size question (error = REPORT_CANCELLED) or the page could not be written
// (error says why).  With confirmLarge and no prompt, the question gets the
// answer of every unanswered question, No (UNANSWERED_QUESTION_ANSWER).
bool ExportToHTML(TVexaSector &sector, const std::string &fileName, int style, bool gmNotes, bool surfaceMaps,
                  bool confirmLarge, TExchangePrompt *prompt, std::string *error = nullptr);

// The index-only page: totals, index and legend, no sections, images or maps.
bool ExportToHTML2(TVexaSector &sector, const std::string &fileName, int style, bool confirmLarge,
                   TExchangePrompt *prompt, std::string *error = nullptr);

// The name a body's map is written under in the report's folder: always the
// body's GUID with an image extension (that of its PreviewImageFile when it
// is one, else ".png"), never a name taken from the sector, so a sector
// cannot make the report write over another file there.  None when IDString
// is not a GUID.
std::optional<std::string> ReportMapFileName(const TStellarBody &body);

// Writes the preview images or stored surface maps of a body and all its
// descendants into folder (a folder path ending in "/"), each under
// ReportMapFileName, and marks them.  Bodies without a GUID are skipped.  storedMapIds, when
// given, lists (sorted) the row ids of the bodies with a stored map: bodies
// without a preview file and not in it are known to have none.  created,
// when given, gets the paths of the files that did not exist before, so a
// report that fails afterwards can take them away again.
void ExportSurfaceMapsForReport(TVexaSector &sector, TStellarBody &body, const std::string &folder,
                                TReportMapMarks &marks, const std::vector<std::int64_t> *storedMapIds = nullptr,
                                std::vector<std::string> *created = nullptr);

// The report section of one body and its descendants (no map images), with
// the display fields of holder (the built-in defaults when none).
std::string ExportBodyHTML(const TStellarBody &body, const TSystemDataConfigHolder *holder, bool gmNotes);

// The symbol row of a body: one linked image per direct child, then "<br>".
std::string ExportSolarSystemHTML(const TStellarBody &body);

} // namespace kalvion
