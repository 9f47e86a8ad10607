#include "model/StellarBody.h"

#include "base/AsciiText.h"
#include "base/SharedRandom.h"

#include <cmath>
#include <string>

namespace kalvion {

TStellarBody::TStellarBody() : RandomSeed(SharedRandomInt(1000000000)) {}

TStellarBody::~TStellarBody() = default;

std::unique_ptr<TStellarBody> TStellarBody::Create()
{
    return std::make_unique<TStellarBody>();
}

void TStellarBody::CopyTo(TStellarBody &t) const
{
    CopyValuesTo(t);
    t.Children.reserve(t.Children.size() + Children.size());
    for (const auto &child : Children) {
        auto copy = std::make_unique<TStellarBody>();
        child->CopyTo(*copy);
        copy->Parent = &t;
        t.Children.push_back(std::move(copy));
    }
}

std::unique_ptr<TStellarBody> TStellarBody::CloneTree() const
{
    std::unique_ptr<TStellarBody> t(new TStellarBody(TNoIdentity{}));
    CopyValuesTo(*t);
    t->RecordID = RecordID;
    t->Children.reserve(Children.size());
    for (const auto &child : Children) {
        auto copy = child->CloneTree();
        copy->Parent = t.get();
        t->Children.push_back(std::move(copy));
    }
    if (const TBodyList *gone = DeletedChildren())
        for (const auto &g : *gone) {
            auto copy = g->CloneTree();
            copy->Parent = t.get();
            t->AddDeletedChild(std::move(copy));
        }
    return t;
}

std::unique_ptr<TStellarBody> TStellarBody::CloneRow() const
{
    std::unique_ptr<TStellarBody> t(new TStellarBody(TNoIdentity{}));
    t->IDString = IDString;
    t->RecordID = RecordID;
    t->Loaded = false;
    t->Modified = false;
    return t;
}

void TStellarBody::CopyValuesTo(TStellarBody &t) const
{
    t.IDString = IDString;
    t.Loaded = Loaded;
    t.Modified = Modified;
    if (DBOffset() != 0 || t.DBOffset() != 0)
        t.SetDBOffset(DBOffset());
    if (DBChildOffset() != 0 || t.DBChildOffset() != 0)
        t.SetDBChildOffset(DBChildOffset());
    t.Fields = Fields;

    t.Name = Name;
    t.TypeID = TypeID;
    t.BodyType = BodyType;
    t.Spectral = Spectral;
    t.Distance = Distance;
    t.Radius = Radius;
    t.Density = Density;
    t.Mass = Mass;
    t.Rotation = Rotation;
    t.Luminosity = Luminosity;
    t.Albedo = Albedo;
    t.Temp = Temp;
    t.Atmosphere = Atmosphere;
    t.AtmosphereNotes = AtmosphereNotes;
    t.Water = Water;
    t.AtmElements = AtmElements;
    t.Population = Population;
    t.ChildPopulation = ChildPopulation;
    t.Habitability = Habitability;
    t.ChildHabitability = ChildHabitability;
    t.BodyCount = BodyCount;
    t.PoliticalAffiliation = PoliticalAffiliation;
    t.SphereInfluence = SphereInfluence;
    t.SphereInfluenceColor = SphereInfluenceColor;
    t.SphereInfluenceSize = SphereInfluenceSize;
    t.Notes = Notes;
    t.GMNotes = GMNotes;
    t.Color = Color;
    t.LabelColor = LabelColor;
    t.FontStyle = FontStyle;
    t.DSOIntensity = DSOIntensity;
    t.RenderDistance = RenderDistance;
    t.LabelDistance = LabelDistance;
    t.RouteDistance = RouteDistance;
    t.Selected = Selected;
    t.Visible = Visible;
    t.RetrogradeOrbit = RetrogradeOrbit;
    t.BlazonDisplay = BlazonDisplay;
    t.BlazonWrap = BlazonWrap;
    t.Eccentricity = Eccentricity;
    t.Inclination = Inclination;
    t.AngleAscendingNode = AngleAscendingNode;
    t.AnglePeriapsis = AnglePeriapsis;
    t.TimeOffset = TimeOffset;
    t.AxialTilt = AxialTilt;
    t.OrbitalPlaneX = OrbitalPlaneX;
    t.OrbitalPlaneY = OrbitalPlaneY;
    t.OrbitalPlaneZ = OrbitalPlaneZ;
    t.OrbitColor = OrbitColor;
    t.X = X;
    t.Y = Y;
    t.Z = Z;
    t.RasterX = RasterX;
    t.RasterY = RasterY;
    t.HitRect = HitRect;
    t.Depth = Depth;
    t.RandomSeed = RandomSeed;
    t.PreviewImageFile = PreviewImageFile;
    t.BlazonImageFile = BlazonImageFile;
    t.ModelFile = ModelFile;

    if (SystemDataConfig()) {
        auto cfg = std::make_unique<TSystemDataConfig>();
        cfg->CopyFrom(SystemDataConfig());
        t.SetSystemDataConfig(std::move(cfg));
    }
    if (ColorGroup())
        t.SetGexColorGroup(*ColorGroup());
    // RenderInfo and DeletedChildren belong to the source alone.
}

std::string TStellarBody::GetAtmElement(int index) const
{
    if (index < 0 || index >= GetAtmElementCount())
        return {};
    return AtmElements[static_cast<std::size_t>(index)].Gas;
}

double TStellarBody::GetAtmElementPercent(int index) const
{
    if (index < 0 || index >= GetAtmElementCount())
        return 0;
    return AtmElements[static_cast<std::size_t>(index)].Percent;
}

double TStellarBody::GetAtmElementPercentByName(std::string_view gas) const
{
    const std::string key = AsciiUpper(TrimView(gas));
    if (key.empty())
        return 0;
    for (const auto &e : AtmElements)
        if (e.Gas == key)
            return e.Percent;
    return 0;
}

void TStellarBody::SetAtmElement(std::string_view gas, double percent)
{
    std::string key = AsciiUpper(TrimView(gas));
    if (key.empty())
        return;
    for (auto &e : AtmElements) {
        if (e.Gas == key) {
            e.Percent = percent;
            return;
        }
    }
    AtmElements.push_back({std::move(key), percent});
}

TStellarBody::TParts &TStellarBody::Parts()
{
    if (!FParts)
        FParts = std::make_unique<TParts>();
    return *FParts;
}

void TStellarBody::DropEmptyParts()
{
    if (FParts && !FParts->DeletedChildren && !FParts->SystemDataConfig && !FParts->ColorGroup && !FParts->RenderInfo)
        FParts.reset();
}

void TStellarBody::AddDeletedChild(std::unique_ptr<TStellarBody> child)
{
    TParts &parts = Parts();
    if (!parts.DeletedChildren)
        parts.DeletedChildren = std::make_unique<TBodyList>();
    parts.DeletedChildren->push_back(std::move(child));
}

void TStellarBody::ClearDeletedChildren()
{
    if (FParts) {
        FParts->DeletedChildren.reset();
        DropEmptyParts();
    }
}

void TStellarBody::SetSystemDataConfig(std::unique_ptr<TSystemDataConfig> config)
{
    if (!config && !FParts)
        return;
    Parts().SystemDataConfig = std::move(config);
    DropEmptyParts();
}

void TStellarBody::SetGexColorGroup(const TGexColorGroup &group)
{
    TParts &parts = Parts();
    if (!parts.ColorGroup)
        parts.ColorGroup = std::make_unique<TGexColorGroup>();
    parts.ColorGroup->CopyFrom(group);
}

void TStellarBody::ClearGexColorGroup()
{
    if (FParts) {
        FParts->ColorGroup.reset();
        DropEmptyParts();
    }
}

void TStellarBody::InitRenderInfo()
{
    TParts &parts = Parts();
    if (!parts.RenderInfo)
        parts.RenderInfo = std::make_unique<TVexaRenderInfo>(*this);
    else if (!parts.RenderInfo->Matches(*this))
        parts.RenderInfo->Assign(*this);
}

bool TVexaRenderInfo::Matches(const TStellarBody &body) const
{
    return SourceColor_ == body.Color && SourceType_ == body.TypeID && SourceLuminosity_ == body.Luminosity &&
           SourceModelFile_ == body.ModelFile;
}

void TVexaRenderInfo::Assign(const TStellarBody &body)
{
    SourceColor_ = body.Color;
    SourceType_ = body.TypeID;
    SourceLuminosity_ = body.Luminosity;
    SourceModelFile_ = body.ModelFile;
    Red = ColorRed(body.Color) / 255.0;
    Green = ColorGreen(body.Color) / 255.0;
    Blue = ColorBlue(body.Color) / 255.0;
    SizeFactor = body.Luminosity > 0 ? std::sqrt(body.Luminosity) : 0.0;
    HasModel = !body.ModelFile.empty();
    ModelIndex = -1;
    ModelFailed = false;
}

std::string TStellarBody::GexSurfaceMapLaunchParam() const
{
    if (TypeID != BODY_TYPE_TERRESTRIAL)
        return {};
    return "vexadb:" + std::to_string(RecordID);
}

std::string RomanNumeral(int value)
{
    if (value < 1 || value > 9999)
        return {};
    static constexpr struct { int v; const char *s; } table[] = {
        {1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"},
        {50, "L"},   {40, "XL"},  {10, "X"},  {9, "IX"},   {5, "V"},   {4, "IV"}, {1, "I"},
    };
    std::string out;
    for (const auto &e : table) {
        while (value >= e.v) {
            out += e.s;
            value -= e.v;
        }
    }
    return out;
}

namespace {

template <class T>
int Cmp(const T &a, const T &b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace

int SortOnDistance(const TStellarBody *a, const TStellarBody *b) { return Cmp(a->Distance, b->Distance); }
int SortOnName(const TStellarBody *a, const TStellarBody *b) { return CompareStr(a->Name, b->Name); }
int SortOnSystemName(const TStellarBody *a, const TStellarBody *b)
{
    return CompareStr(a->GetRootBody()->Name, b->GetRootBody()->Name);
}
int SortOnType(const TStellarBody *a, const TStellarBody *b)
{
    return CompareStr(NameFromBodyType(a->TypeID), NameFromBodyType(b->TypeID));
}
int SortOnPopulation(const TStellarBody *a, const TStellarBody *b) { return Cmp(b->Population, a->Population); }
int SortOnHabitability(const TStellarBody *a, const TStellarBody *b) { return Cmp(b->Habitability, a->Habitability); }
int SortOnPolitical(const TStellarBody *a, const TStellarBody *b)
{
    return CompareStr(a->PoliticalAffiliation, b->PoliticalAffiliation);
}

} // namespace kalvion
