#pragma once
// Names from name-table files: the namer every generator starts with, the
// lookup of a table file in "LangData/", the coordinate codes of roots the
// table leaves unnamed, and subsector names.
#include "generation/SystemGenerator.h"

#include <memory>
#include <string>

namespace kalvion {

class TTKTableApplication;

// The table file to load for a name: "LangData/" + file when it exists, else
// the file itself when it is a path to an existing file (scripts and the
// command line pass paths), else "LangData/" + VEXA_DEFAULT_NAME_TABLE.
// Empty when none of these exists.
std::string NameTablePath(const std::string &file);

// Loads a name table with the no-built-ins flag: a table file sees only the
// variables the namer sets and its own.  A missing file leaves it empty.
std::unique_ptr<TTKTableApplication> LoadNameTables(const std::string &file);

// Digits of the coordinate code per axis for a sector about size wide.
int CoordinateCodeWidth(double size);
// The letter of a root's coordinate code by its type.
char CoordinateCodeLetter(int typeID);
// Letter + X, Y and Z each formatted with pad ("S05-0312").
std::string CoordinateCode(const TStellarBody &root, const std::string &pad);

// The name-table namer: loads the generator's name table on first use and
// keeps it for the generator's life.
class TTableSystemNamer final : public TSystemNamer {
public:
    TTableSystemNamer();
    ~TTableSystemNamer() override;
    std::string RandomSystemName(TSystemGenerator &gen, TStellarBody *body, bool defaultName,
                                 const std::string &padPattern) override;
    void GenerateNames(TSystemGenerator &gen, TStellarBody &body, double size) override;
    void ReGenerateNames(TSystemGenerator &gen, TStellarBody &body, double size) override;

private:
    std::unique_ptr<TTKTableApplication> FTables;
};

std::unique_ptr<TSystemNamer> MakeTableSystemNamer();

// Names for the subsectors of a new sector: one result of the table each,
// with "BodyType" "Subsector" and "NameType" "SystemName".
class TSubsectorNameSource {
public:
    explicit TSubsectorNameSource(const std::string &nameTableFile);
    ~TSubsectorNameSource();
    TSubsectorNameSource(const TSubsectorNameSource &) = delete;
    TSubsectorNameSource &operator=(const TSubsectorNameSource &) = delete;
    std::string Next();

private:
    std::unique_ptr<TTKTableApplication> FTables;
};

} // namespace kalvion
