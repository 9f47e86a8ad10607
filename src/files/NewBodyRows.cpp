#include "files/NewBodyRows.h"

#include "files/SectorSchema.h"
#include "files/VexaDBSQLiteInternal.h"
#include "model/StellarBody.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

namespace kalvion {

namespace {

constexpr int BODY_VALUES = 62;                  // every stored column but id
constexpr int BODY_ROW_VALUES = BODY_VALUES + 1; // with the id
constexpr int GAS_VALUES = 3;

std::string RowMarks(int values)
{
    std::string marks = "(";
    for (int i = 0; i < values; ++i)
        marks += i ? ", ?" : "?";
    return marks + ")";
}

std::string ManyRowsSql(const std::string &head, int values, int rows)
{
    const std::string row = RowMarks(values);
    std::string sql = head;
    sql.reserve(head.size() + static_cast<std::size_t>(rows) * (row.size() + 2));
    for (int r = 0; r < rows; ++r) {
        if (r)
            sql += ", ";
        sql += row;
    }
    return sql;
}

const std::string &BodyHead()
{
    static const std::string head = [] {
        std::string cols;
        for (std::size_t i = 0; i < BODY_COLUMN_COUNT; ++i) {
            if (i)
                cols += ", ";
            cols += BODY_COLUMNS[i];
        }
        return "insert into bodies (" + cols + ") values ";
    }();
    return head;
}

constexpr const char *GAS_HEAD = "insert into atm_components (body_id, gas, percent) values ";

// Ids this close to the top of the range are left to SQLite, which then
// looks for a free one.
constexpr std::int64_t LAST_HANDED_OUT_ID = std::numeric_limits<std::int64_t>::max() - (std::int64_t(1) << 32);

void BindGas(TZentStatement &st, int first, std::int64_t bodyId, const TVexaAtmElement &gas)
{
    st.BindInt(first, bodyId);
    st.BindText(first + 1, gas.Gas);
    st.BindFloat(first + 2, gas.Percent);
}

// Binds through a statement, or through TNewBodyRows::TReusedBindings: any
// type with the statement's BindInt, BindFloat and BindText.
template <class TBinder>
void BindValues(TBinder &st, int first, const TStellarBody &b, std::int64_t parentId, std::int64_t systemId,
                TIdentityText::TBuffer &identity)
{
    int c = first;
    st.BindInt(c++, parentId);
    st.BindInt(c++, systemId);
    st.BindText(c++, b.IDString.View(identity));
    st.BindText(c++, b.Name);
    st.BindInt(c++, b.TypeID);
    st.BindText(c++, b.BodyType);
    st.BindText(c++, b.Spectral);
    st.BindFloat(c++, b.Distance);
    st.BindFloat(c++, b.Radius);
    st.BindFloat(c++, b.Density);
    st.BindFloat(c++, b.Mass);
    st.BindFloat(c++, b.Rotation);
    st.BindFloat(c++, b.Luminosity);
    st.BindFloat(c++, b.Albedo);
    st.BindFloat(c++, b.Temp);
    st.BindFloat(c++, b.Atmosphere);
    st.BindText(c++, b.AtmosphereNotes);
    st.BindFloat(c++, b.Water);
    st.BindFloat(c++, b.Population);
    st.BindFloat(c++, b.ChildPopulation);
    st.BindInt(c++, b.Habitability);
    st.BindInt(c++, b.ChildHabitability);
    st.BindInt(c++, b.BodyCount);
    st.BindText(c++, b.PoliticalAffiliation);
    st.BindInt(c++, b.SphereInfluence);
    st.BindInt(c++, StoredColor(b.SphereInfluenceColor));
    st.BindFloat(c++, b.SphereInfluenceSize);
    st.BindText(c++, b.Notes);
    st.BindText(c++, b.GMNotes);
    st.BindInt(c++, StoredColor(b.Color));
    st.BindInt(c++, StoredColor(b.LabelColor));
    st.BindInt(c++, b.FontStyle);
    st.BindInt(c++, b.DSOIntensity);
    st.BindFloat(c++, b.RenderDistance);
    st.BindFloat(c++, b.LabelDistance);
    st.BindFloat(c++, b.RouteDistance);
    st.BindInt(c++, b.Visible);
    st.BindInt(c++, b.RetrogradeOrbit);
    st.BindFloat(c++, b.Eccentricity);
    st.BindFloat(c++, b.Inclination);
    st.BindFloat(c++, b.AngleAscendingNode);
    st.BindFloat(c++, b.AnglePeriapsis);
    st.BindFloat(c++, b.TimeOffset);
    st.BindFloat(c++, b.AxialTilt);
    st.BindFloat(c++, b.OrbitalPlaneX);
    st.BindFloat(c++, b.OrbitalPlaneY);
    st.BindFloat(c++, b.OrbitalPlaneZ);
    st.BindInt(c++, StoredColor(b.OrbitColor));
    st.BindFloat(c++, b.X);
    st.BindFloat(c++, b.Y);
    st.BindFloat(c++, b.Z);
    st.BindInt(c++, b.RandomSeed);
    st.BindInt(c++, 0); // gex_color_group
    st.BindText(c++, b.PreviewImageFile);
    st.BindText(c++, b.BlazonImageFile);
    st.BindInt(c++, b.BlazonDisplay);
    st.BindInt(c++, b.BlazonWrap);
    st.BindInt(c++, !b.AtmElements.empty());
    st.BindInt(c++, !b.Fields.empty());
    st.BindInt(c++, b.SystemDataConfig() != nullptr);
    st.BindInt(c++, b.ColorGroup() != nullptr);
    st.BindText(c++, b.ModelFile);
}

} // namespace

// A statement keeps its bindings from one step to the next: a number
// equal to the one already bound in its place is not bound again.  Most of
// a generated body's numbers (colours, flags, distances of display) are the
// same from body to body, and binding is a fifth of a large save.
class TNewBodyRows::TReusedBindings {
public:
    explicit TReusedBindings(std::size_t parameters) : FSlots(parameters) {}
    void Attach(TZentStatement &st) noexcept { FSt = &st; }
    void Forget() noexcept { std::fill(FSlots.begin(), FSlots.end(), TSlot{}); }

    void BindInt(int index, std::int64_t value)
    {
        if (Same(index, INT, static_cast<std::uint64_t>(value)))
            return;
        FSt->BindInt(index, value);
    }
    void BindFloat(int index, double value)
    {
        std::uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        if (Same(index, FLOAT, bits))
            return;
        FSt->BindFloat(index, value);
    }
    // Texts are bound in place: another text may lie at the same address.
    void BindText(int index, std::string_view value)
    {
        FSlots[static_cast<std::size_t>(index - 1)].Kind = NONE;
        FSt->BindText(index, value);
    }

private:
    enum : std::uint8_t { NONE, INT, FLOAT };
    struct TSlot {
        std::uint8_t Kind = NONE;
        std::uint64_t Bits = 0;
    };
    // True when the slot holds the value; otherwise records it.
    bool Same(int index, std::uint8_t kind, std::uint64_t bits) noexcept
    {
        TSlot &slot = FSlots[static_cast<std::size_t>(index - 1)];
        if (slot.Kind == kind && slot.Bits == bits)
            return true;
        slot.Kind = kind;
        slot.Bits = bits;
        return false;
    }

    TZentStatement *FSt = nullptr;
    std::vector<TSlot> FSlots;
};

void BindBodyValues(TZentStatement &st, int first, const TStellarBody &b, std::int64_t parentId,
                    std::int64_t systemId, TIdentityText::TBuffer &identity)
{
    BindValues(st, first, b, parentId, systemId, identity);
}

TNewBodyRows::~TNewBodyRows() = default;

TNewBodyRows::TNewBodyRows(TZentSqliteInterface &db)
    : FDb(db), FManyBindings(std::make_unique<TReusedBindings>(std::size_t(BODY_ROW_VALUES) * BODIES_PER_STATEMENT))
{
    FBodies.reserve(BODIES_PER_STATEMENT);
    FGases.reserve(GASES_PER_STATEMENT);
}

bool TNewBodyRows::Start()
{
    FBodies.clear();
    FRoots.clear();
    FGases.clear();
    FGasesFailed = false;
    // An aggregate always yields its row: none means the read failed.
    TZentStatement top(FDb, "select max(id) from bodies");
    if (!top.Step())
        return false;
    const std::int64_t highest = top.IsNull(0) ? 0 : top.ColumnInt64(0);
    top.Reset();
    FNextId = highest < LAST_HANDED_OUT_ID ? std::max<std::int64_t>(highest, 0) + 1 : 0;
    return true;
}

std::int64_t TNewBodyRows::Add(const TStellarBody &body, std::int64_t parentId, std::int64_t systemId)
{
    if (FNextId <= 0 || FNextId > LAST_HANDED_OUT_ID)
        return AddWithStoredId(body, parentId, systemId);
    const std::int64_t id = FNextId++;
    std::vector<TPendingBody> &rows = systemId == 0 ? FRoots : FBodies;
    rows.push_back({&body, id, parentId, systemId == 0 ? id : systemId});
    // Roots wait for Flush; the others go as soon as a statement is full.
    if (&rows == &FBodies && rows.size() == BODIES_PER_STATEMENT && !FlushBodies(rows))
        return 0;
    return id;
}

std::int64_t TNewBodyRows::AddWithStoredId(const TStellarBody &body, std::int64_t parentId, std::int64_t systemId)
{
    if (!Flush())
        return 0;
    if (!FBodyOne.Prepared())
        FBodyOne = TZentStatement(FDb, ManyRowsSql(BodyHead(), BODY_ROW_VALUES, 1));
    FBodyOne.BindNull(1);
    BindBodyValues(FBodyOne, 2, body, parentId, systemId, FIdentities[0]);
    if (!FBodyOne.Exec())
        return 0;
    const std::int64_t id = FDb.LastInsertID();
    if (id > 0 && systemId == 0) {
        if (!FSetSystem.Prepared())
            FSetSystem = TZentStatement(FDb, "update bodies set system_id = ?1 where id = ?1");
        FSetSystem.BindInt(1, id);
        if (!FSetSystem.Exec())
            return 0;
    }
    return id;
}

std::int64_t TNewBodyRows::AddWithId(const TStellarBody &body, std::int64_t parentId, std::int64_t systemId,
                                     std::int64_t id)
{
    if (id <= 0 || id > LAST_HANDED_OUT_ID || !Flush())
        return Add(body, parentId, systemId);
    {
        TZentStatement taken(FDb, "select 1 from bodies where id = ?");
        taken.BindInt(1, id);
        if (taken.Step())
            return Add(body, parentId, systemId);
    }
    if (!FBodyOne.Prepared())
        FBodyOne = TZentStatement(FDb, ManyRowsSql(BodyHead(), BODY_ROW_VALUES, 1));
    FBodyOne.BindInt(1, id);
    BindBodyValues(FBodyOne, 2, body, parentId, systemId == 0 ? id : systemId, FIdentities[0]);
    if (!FBodyOne.Exec())
        return 0;
    if (FNextId > 0 && id >= FNextId)
        FNextId = id + 1;
    return id;
}

void TNewBodyRows::AddGas(std::int64_t bodyId, const TVexaAtmElement &gas)
{
    FGases.push_back({bodyId, &gas});
    // A failure is reported by the next Flush.
    if (FGases.size() == GASES_PER_STATEMENT && !FlushGases())
        FGasesFailed = true;
}

bool TNewBodyRows::Flush()
{
    const bool ok = FlushBodies(FBodies) && FlushBodies(FRoots) && FlushGases() && !FGasesFailed;
    FGasesFailed = false;
    return ok;
}

bool TNewBodyRows::FlushBodies(std::vector<TPendingBody> &rows)
{
    std::size_t done = 0;
    bool ok = true;
    if (rows.size() >= BODIES_PER_STATEMENT && !FBodyMany.Prepared()) {
        FBodyMany = TZentStatement(FDb, ManyRowsSql(BodyHead(), BODY_ROW_VALUES, BODIES_PER_STATEMENT));
        FManyBindings->Attach(FBodyMany);
        FManyBindings->Forget();
    }
    TReusedBindings &many = *FManyBindings;
    for (; ok && rows.size() - done >= BODIES_PER_STATEMENT; done += BODIES_PER_STATEMENT) {
        int first = 1;
        for (std::size_t i = 0; i < BODIES_PER_STATEMENT; ++i) {
            const TPendingBody &p = rows[done + i];
            many.BindInt(first, p.Id);
            BindValues(many, first + 1, *p.Body, p.ParentId, p.SystemId, FIdentities[i]);
            first += BODY_ROW_VALUES;
        }
        ok = FBodyMany.Exec();
    }
    if (ok && done < rows.size() && !FBodyOne.Prepared())
        FBodyOne = TZentStatement(FDb, ManyRowsSql(BodyHead(), BODY_ROW_VALUES, 1));
    for (; ok && done < rows.size(); ++done) {
        const TPendingBody &p = rows[done];
        FBodyOne.BindInt(1, p.Id);
        BindBodyValues(FBodyOne, 2, *p.Body, p.ParentId, p.SystemId, FIdentities[0]);
        ok = FBodyOne.Exec();
    }
    rows.clear();
    return ok;
}

bool TNewBodyRows::FlushGases()
{
    if (FGases.empty())
        return true;
    bool ok = true;
    if (FGases.size() == GASES_PER_STATEMENT) {
        if (!FGasMany.Prepared())
            FGasMany = TZentStatement(FDb, ManyRowsSql(GAS_HEAD, GAS_VALUES, GASES_PER_STATEMENT));
        int first = 1;
        for (const TPendingGas &p : FGases) {
            BindGas(FGasMany, first, p.BodyId, *p.Gas);
            first += GAS_VALUES;
        }
        ok = FGasMany.Exec();
    } else {
        if (!FGasOne.Prepared())
            FGasOne = TZentStatement(FDb, ManyRowsSql(GAS_HEAD, GAS_VALUES, 1));
        for (const TPendingGas &p : FGases) {
            BindGas(FGasOne, 1, p.BodyId, *p.Gas);
            if (!(ok = FGasOne.Exec()))
                break;
        }
    }
    FGases.clear();
    return ok;
}

} // namespace kalvion
