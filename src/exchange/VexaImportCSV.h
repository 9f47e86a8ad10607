#pragma once
// Comma-separated star lists brought in from spreadsheets and catalogues:
// one star, white dwarf, multiple system or route per line.  Consecutive
// body lines that share a system key become one multiple system.
#include "base/TextHash.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kalvion {

class TVexaSector;
class TStellarBody;

// Longer lines are failed lines (their bytes are never held whole).
inline constexpr std::size_t CSV_MAX_LINE = 1 << 20;
// ErrorLines names at most this many failed lines; ErrorCount counts all.
inline constexpr int CSV_MAX_ERROR_LINES = 1000;

class TVexaImportCSV {
public:
    explicit TVexaImportCSV(TVexaSector &sector) : Sector(sector) {}

    TVexaSector &Sector;
    std::string LastSystemKey;
    std::string ErrorLines;  // "Line N[ Body: name]" CR LF per failed line
    int ErrorCount = 0;
    int ImportedCount = 0; // lines that made a system or a route, and blank lines
    // Whether any system or route was added; the caller's document flag
    // follows it.
    bool Changed = false;

    // Imports a file line by line, reading it as a stream.  False (and
    // nothing done) when the file does not exist or cannot be read.
    bool Import(const std::string &fileName);
    // The same for text already in memory (a byte-order mark, CR LF ends and
    // a missing last line end are accepted).
    void ImportText(std::string_view text);

    // Splits one line: field 0 is the text before the first comma as it
    // stands; after each comma the rest is trimmed before it is split again,
    // so later fields lose their leading blanks and the last one also its
    // trailing blanks.
    static void SplitFields(std::string_view line, std::vector<std::string_view> &fields);

private:
    // Counts, imports or reports one line (its line end still on it).
    void ProcessLine(std::string_view line, int lineNo, bool first);
    void FailLine(int lineNo, std::string_view name);
    // One non-comment line; false when it fails.
    bool ImportLine(const std::vector<std::string_view> &f);
    bool ImportStar(const std::vector<std::string_view> &f);
    bool ImportWhiteDwarf(const std::vector<std::string_view> &f);
    bool ImportMultiple(const std::vector<std::string_view> &f);
    bool ImportRoute(const std::vector<std::string_view> &f);
    void PlaceBody(std::unique_ptr<TStellarBody> body, std::string_view key);
    // The system a route line names: the first in the sector's order whose
    // name matches ignoring case, as TVexaSector::FindRootBodyByName finds it.
    TStellarBody *FindSystem(std::string_view name);
    void ResetIndex();

    std::vector<std::string_view> FFields;
    // Names of the sector's systems, built at the first route line and kept
    // up to date as lines add systems, so each route costs two look-ups and
    // not two scans of every system.
    std::unordered_map<std::string, TStellarBody *, TextNoCaseHash, TextNoCaseEqual> FSystemsByName;
    bool FIndexReady = false;
};

// Moves every system, route and subsector of the sector to its deleted
// lists, so the next save removes their rows (stored contents of systems
// never loaded included) and they do not come back on reopening.
void RemoveAllSectorContents(TVexaSector &sector);

// The "Data Import" command without its window: optionally empties the
// sector, imports the file and returns the report lines.  The document is
// marked modified when anything changed.
std::vector<std::string> ImportCSVWithReport(TVexaSector &sector, const std::string &fileName, bool replace,
                                             int *errorCount = nullptr);

} // namespace kalvion
