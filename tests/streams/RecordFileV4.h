#pragma once
// A record file of version 4 (an older sector file of records read on
// demand), built byte by byte: a sector, two stars, a route and pictures.
#include "ByteWriter.h"

#include "model/BodyTypes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kalvion::test {

inline const std::string kIdA = "{00112233-4455-6677-8899-AABBCCDDEEFF}";
inline const std::string kIdB = "{10112233-4455-6677-8899-AABBCCDDEEFF}";

inline void BodyV4(ByteWriter &w, const std::string &id, const std::string &name, int type, int children,
            const std::string &fieldName = "")
{
    w.str(id).str(name).i32(5).i32(type).str("Terrestrial").str("").i32(1).i32(2).i32(0).i32(0);
    for (int i = 0; i < 8; ++i)
        w.f64(i);
    w.boolean(false);
    for (int i = 0; i < 6; ++i)
        w.f64(0);
    w.f64(1).str("").f64(0.5).i32(1).str("N2").f64(78);
    w.i32(0).i32(0).f64(77).f64(77).i32(1).str("").str("").str("").str("");
    w.boolean(false).boolean(false);
    if (fieldName.empty())
        w.i32(0);
    else
        w.i32(1).str(fieldName).str("value");
    w.i32(children);
}

inline void RecordHeader(ByteWriter &w, std::size_t &nextAt, int deleted, int type, const std::string &id)
{
    nextAt = w.size();
    w.i64(0).i32(deleted).i32(type).str(id);
}

inline std::vector<std::uint8_t> RecordFileV4()
{
    ByteWriter w;
    w.str("Kalvion 3.1").i32(4);
    const std::size_t firstAt = w.size();
    w.i32(0).i32(0).i32(0);
    for (int i = 0; i < 21; ++i)
        w.i32(i == 5 ? 2 : (i == 3 ? 99999999 : 1));
    w.patch32(firstAt, static_cast<std::int32_t>(w.size()));

    std::size_t next;
    // Sector settings.
    RecordHeader(w, next, 0, 1, "{S}");
    w.str("Record Sector").str("{SECTOR}").str("").str("").boolean(false).f64(20).f64(20).f64(20).i32(0);
    for (int i = 0; i < 6; ++i)
        w.f64(0);
    w.i32(1).f64(20).f64(20).f64(20).f64(5).boolean(true).i32(0).str("Verdana").i32(0).i32(0).i32(0);
    w.i32(1).str("").boolean(true).boolean(false).i32(1).str("").boolean(true).i32(0);
    w.str("Parsecs").str("pc").f64(3.2616).f64(5).i32(300).i32(0).i32(1).str("author").str("me");
    w.patch64(next, static_cast<std::int64_t>(w.size()));
    // A deleted system record.
    RecordHeader(w, next, 1, 5, kIdB);
    w.raw({1, 2, 3});
    w.patch64(next, static_cast<std::int64_t>(w.size()));
    // A system with its children in a later record.
    const std::size_t systemAt = w.size();
    RecordHeader(w, next, 0, 5, kIdA);
    const std::size_t childOffsetAt = w.size();
    w.i64(0).f64(7).f64(8).f64(9);
    BodyV4(w, kIdA, "Gamma", BODY_TYPE_STAR, 0, "founded");
    w.f64(11).f64(22).i32(SPHERE_INFLUENCE_SPHERE).i32(0x123456).f64(3.5).boolean(true).str("blazon.png").boolean(false);
    w.patch64(next, static_cast<std::int64_t>(w.size()));
    // A route.
    RecordHeader(w, next, 0, 3, "{R}");
    w.str("Lane").str("{ROUTE}").str("Trade").f64(0).f64(1).f64(0).i32(0).f64(1);
    w.i32(1).str(kIdA).f64(0).f64(0).f64(0).i32(0);
    w.patch64(next, static_cast<std::int64_t>(w.size()));
    // An image resource and its data.
    RecordHeader(w, next, 0, 6, "{IMG}");
    const std::size_t dataOffsetAt = w.size();
    w.i64(0).str("blazon.png").f64(45000.5);
    w.patch64(next, static_cast<std::int64_t>(w.size()));
    const std::size_t dataAt = w.size();
    RecordHeader(w, next, 0, 7, "{IMG}");
    w.i32(4).raw({0x89, 'P', 'N', 'G'});
    w.patch64(next, static_cast<std::int64_t>(w.size()));
    // The children of the system.
    const std::size_t childrenAt = w.size();
    RecordHeader(w, next, 0, 10, kIdA);
    w.i32(1);
    BodyV4(w, "{CHILD}", "Gamma I", BODY_TYPE_TERRESTRIAL, 0);
    w.patch64(next, static_cast<std::int64_t>(w.size()));
    w.patch64(childOffsetAt, static_cast<std::int64_t>(childrenAt));
    w.patch64(dataOffsetAt, static_cast<std::int64_t>(dataAt));
    (void)systemAt;
    return w.b;
}

} // namespace kalvion::test
