// The name-table namer and the coordinate codes.
#include "generation/SystemNames.h"

#include "base/AsciiText.h"
#include "base/NumberFormat.h"
#include "base/Paths.h"
#include "tables/ClassTKTable.h"
#include "model/StellarBody.h"

#include <algorithm>
#include <cmath>

namespace kalvion {

namespace {

// A generated name: the first result, without the blanks a table line may leave.
std::string FirstResult(TTKTableApplication &tables)
{
    tables.Go(1);
    return tables.ResultCount() > 0 ? Trim(tables.GetResult(0)) : std::string();
}

std::string CutText(double v)
{
    if (!std::isfinite(v))
        return "0";
    return std::to_string(static_cast<long long>(std::trunc(std::clamp(v, -9.0e15, 9.0e15))));
}

// An empty pad pattern still writes a whole number.
std::string PadText(const std::string &pad, double v) { return FormatFloat(pad.empty() ? "0" : pad, v); }

} // namespace

std::string NameTablePath(const std::string &file)
{
    const std::string folder = ProgramSubfolder("LangData");
    if (!file.empty()) {
        const std::string inFolder = JoinPath(folder, file);
        if (FileExists(inFolder))
            return inFolder;
        if (FileExists(file))
            return file;
    }
    const std::string fallback = JoinPath(folder, VEXA_DEFAULT_NAME_TABLE);
    return FileExists(fallback) ? fallback : std::string();
}

std::unique_ptr<TTKTableApplication> LoadNameTables(const std::string &file)
{
    auto tables = std::make_unique<TTKTableApplication>();
    tables->NoBuiltIns = true;
    const std::string path = NameTablePath(file);
    if (!path.empty())
        tables->Load(path);
    return tables;
}

int CoordinateCodeWidth(double size)
{
    if (size > 99999)
        return 6;
    if (size > 9999)
        return 5;
    if (size >= 1000)
        return 4;
    if (size >= 100)
        return 3;
    return 2;
}

char CoordinateCodeLetter(int typeID)
{
    switch (typeID) {
    case BODY_TYPE_BLACKHOLE: return 'V';
    case BODY_TYPE_STATION: return 'T';
    case BODY_TYPE_FREEOBJECT:
    case BODY_TYPE_TERRESTRIAL:
    case BODY_TYPE_GASGIANT: return 'F';
    case BODY_TYPE_NEUTRON: return 'R';
    case BODY_TYPE_NEBULA: return 'N';
    case BODY_TYPE_WHITEDWARF: return 'W';
    default: return 'S';
    }
}

std::string CoordinateCode(const TStellarBody &root, const std::string &pad)
{
    std::string code(1, CoordinateCodeLetter(root.TypeID));
    code += PadText(pad, root.X);
    code += PadText(pad, root.Y);
    code += PadText(pad, root.Z);
    return code;
}

TTableSystemNamer::TTableSystemNamer() = default;
TTableSystemNamer::~TTableSystemNamer() = default;

std::string TTableSystemNamer::RandomSystemName(TSystemGenerator &gen, TStellarBody *body, bool defaultName,
                                                const std::string &padPattern)
{
    if (!FTables)
        FTables = LoadNameTables(gen.NameTableFile);
    TTKTableApplication &t = *FTables;
    t.ClearAllVars();
    // Host definitions survive the re-initialisation that every result starts with.
    t.ClearHostDefinitions();
    if (body) {
        t.AddHostDefinition("BodyType", NameFromBodyType(body->TypeID));
        t.AddHostDefinition("Habitability", HabitNameFromHabitCode(body->Habitability));
        t.AddHostDefinition("Population", body->Population > 0 ? "Populated" : "NotPopulated");
        t.AddHostDefinition("NameType", defaultName ? "DefaultName" : "SystemName");
        if (!body->Parent) {
            t.AddHostDefinition("PositionX", CutText(body->X));
            t.AddHostDefinition("PositionY", CutText(body->Y));
            t.AddHostDefinition("PositionZ", CutText(body->Z));
            t.AddHostDefinition("PositionXPad", PadText(padPattern, body->X));
            t.AddHostDefinition("PositionYPad", PadText(padPattern, body->Y));
            t.AddHostDefinition("PositionZPad", PadText(padPattern, body->Z));
        }
    }
    return FirstResult(t);
}

void TTableSystemNamer::GenerateNames(TSystemGenerator &gen, TStellarBody &body, double size)
{
    const int width = CoordinateCodeWidth(size);
    switch (body.TypeID) {
    case BODY_TYPE_STAR: gen.GenerateSolarSystemNames(body); break;
    case BODY_TYPE_MULT: gen.GenerateMultNames(body); break;
    case BODY_TYPE_CLOSEMULT: gen.GenerateCloseMultNames(body); break;
    default: break;
    }
    if (body.Name.empty()) {
        const std::string pad(static_cast<std::size_t>(width), '0');
        body.Name = gen.RandomSystemName(&body, true, pad);
        if (body.Name.empty())
            body.Name = CoordinateCode(body, pad);
    }
    body.SetChildDesignations(body.Name);
}

void TTableSystemNamer::ReGenerateNames(TSystemGenerator &gen, TStellarBody &body, double)
{
    switch (body.TypeID) {
    case BODY_TYPE_STAR:
    case BODY_TYPE_TERRESTRIAL: gen.GenerateSolarSystemNames(body); break;
    case BODY_TYPE_MULT: gen.GenerateMultNames(body); break;
    case BODY_TYPE_CLOSEMULT: gen.GenerateCloseMultNames(body); break;
    default: break;
    }
    body.SetChildDesignations(body.Name);
}

std::unique_ptr<TSystemNamer> MakeTableSystemNamer() { return std::make_unique<TTableSystemNamer>(); }

TSubsectorNameSource::TSubsectorNameSource(const std::string &nameTableFile) : FTables(LoadNameTables(nameTableFile))
{
    FTables->AddHostDefinition("BodyType", "Subsector");
    FTables->AddHostDefinition("NameType", "SystemName");
}

TSubsectorNameSource::~TSubsectorNameSource() = default;

std::string TSubsectorNameSource::Next() { return FirstResult(*FTables); }

} // namespace kalvion
