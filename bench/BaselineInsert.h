#pragma once
// The baseline that sector saves are measured against: the same body rows,
// the same 62 values, inserted into a plain table of the same columns
// without indexes, with one prepared statement in one transaction.
#include "files/SectorSchema.h"
#include "files/ZentDatabaseSQLite.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"

#include <cstdint>
#include <string>

namespace kalvion::bench {

inline void BindRow(TZentStatement &st, const TStellarBody &b, std::int64_t parent, TIdentityText::TBuffer &identity)
{
    // The same 62 values the sector writer binds for a body.
    int c = 1;
    st.BindInt(c++, parent);
    st.BindInt(c++, 0);
    st.BindText(c++, b.IDString.View(identity));
    st.BindText(c++, b.Name);
    st.BindInt(c++, b.TypeID);
    st.BindText(c++, b.BodyType);
    st.BindText(c++, b.Spectral);
    for (double v : {b.Distance, b.Radius, b.Density, b.Mass, b.Rotation, b.Luminosity, b.Albedo, b.Temp,
                     b.Atmosphere})
        st.BindFloat(c++, v);
    st.BindText(c++, b.AtmosphereNotes);
    for (double v : {b.Water, b.Population, b.ChildPopulation})
        st.BindFloat(c++, v);
    for (int v : {b.Habitability, b.ChildHabitability, b.BodyCount})
        st.BindInt(c++, v);
    st.BindText(c++, b.PoliticalAffiliation);
    st.BindInt(c++, b.SphereInfluence);
    st.BindInt(c++, b.SphereInfluenceColor);
    st.BindFloat(c++, b.SphereInfluenceSize);
    st.BindText(c++, b.Notes);
    st.BindText(c++, b.GMNotes);
    for (std::int64_t v : {std::int64_t(b.Color), std::int64_t(b.LabelColor), std::int64_t(b.FontStyle),
                           std::int64_t(b.DSOIntensity)})
        st.BindInt(c++, v);
    for (double v : {b.RenderDistance, b.LabelDistance, b.RouteDistance})
        st.BindFloat(c++, v);
    st.BindInt(c++, b.Visible);
    st.BindInt(c++, b.RetrogradeOrbit);
    for (double v : {b.Eccentricity, b.Inclination, b.AngleAscendingNode, b.AnglePeriapsis, b.TimeOffset,
                     b.AxialTilt, b.OrbitalPlaneX, b.OrbitalPlaneY, b.OrbitalPlaneZ})
        st.BindFloat(c++, v);
    st.BindInt(c++, b.OrbitColor);
    for (double v : {b.X, b.Y, b.Z})
        st.BindFloat(c++, v);
    st.BindInt(c++, b.RandomSeed);
    st.BindInt(c++, 0);
    st.BindText(c++, b.PreviewImageFile);
    st.BindText(c++, b.BlazonImageFile);
    for (int v : {int(b.BlazonDisplay), int(b.BlazonWrap), 0, 0, 0, 0})
        st.BindInt(c++, v);
    st.BindText(c++, b.ModelFile);
}

inline void InsertTree(TZentStatement &st, TZentSqliteInterface &db, const TStellarBody &b, std::int64_t parent)
{
    TIdentityText::TBuffer identity;
    BindRow(st, b, parent, identity);
    st.Exec();
    const std::int64_t id = db.LastInsertID();
    for (const auto &c : b.Children)
        InsertTree(st, db, *c, id);
}

class TBaselineInsert {
public:
    TBaselineInsert()
    {
        for (std::size_t i = 1; i < BODY_COLUMN_COUNT; ++i) {
            FCols += (i > 1 ? ", " : "") + std::string(BODY_COLUMNS[i]);
            FMarks += (i > 1 ? ", ?" : "?");
        }
        // The same table as in a sector file, column types included, without
        // indexes.
        for (const std::string &stmt : SplitSqlScript(EmbeddedSchemaText()))
            if (stmt.find("create table bodies") != std::string::npos)
                FCreate = stmt.substr(stmt.find("create table bodies"));
    }
    // Inserts every body of the sector into a new file; false on failure.
    bool Run(const TVexaSector &s, const std::string &file, std::string &error) const
    {
        TZentSqliteInterface db(file);
        db.Execute(FCreate);
        db.Execute("begin transaction");
        TZentStatement st(db, InsertSql());
        for (const auto &root : s.Systems)
            InsertTree(st, db, *root, 0);
        db.Execute("commit transaction");
        error = db.ErrorMessage;
        return !db.HasError;
    }

    const std::string &CreateSql() const { return FCreate; }
    std::string InsertSql() const { return "insert into bodies (" + FCols + ") values (" + FMarks + ")"; }

private:
    std::string FCols, FMarks, FCreate;
};

} // namespace kalvion::bench
