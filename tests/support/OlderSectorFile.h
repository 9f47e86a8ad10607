#pragma once
// A stream file of version 2 (an older sector file, ".Sector") with stars of
// the given names, built byte by byte so the window's conversion is checked
// against the layout rather than against the program's own writer.
#include "../streams/ByteWriter.h"

#include "model/BodyTypes.h"
#include "model/VexaSector.h"

#include <fstream>
#include <string>
#include <vector>

namespace kalvion::test {

inline void WriteOlderSectorFile(const std::string &path, const std::vector<std::string> &names)
{
    ByteWriter w;
    w.str("Kalvion 2.0").i32(2);
    // Sector settings.
    w.str("Old Sector").str("").str("").boolean(false).f64(30).f64(30).f64(30).i32(9);
    w.f64(0).f64(0).f64(0).f64(15).f64(0).f64(150);
    w.i32(GRID_STYLE_CUBE).f64(10).f64(10).f64(10).f64(5).boolean(true).i32(0x808080).str("Arial");
    w.i32(0).i32(0).i32(0);
    w.i32(1).str("").boolean(true);
    w.str("Light Years").str("ly").f64(1).f64(5);
    w.boolean(false); // hide unassigned
    w.i32(0);         // subsectors
    w.i32(static_cast<std::int32_t>(names.size()));
    for (std::size_t i = 0; i < names.size(); ++i) {
        w.raw({0x33, 0x22, 0x11, static_cast<int>(i & 0xFF), 0x55, 0x44, 0x77, 0x66, 0x88, 0x99, 0xAA, 0xBB, 0xCC,
               0xDD, 0xEE, 0xFF});
        w.str(names[i]).i32(7).f64(static_cast<double>(i)).f64(0).f64(0).i32(BODY_TYPE_STAR).str("").str("G2");
        w.i32(0xFFFFFF).i32(0xFF).i32(0);
        w.f64(20).f64(40);
        for (double v : {1.5e8, 6000.0, 1.0, 1.0, 24.0, 1.0, 0.3, 5800.0})
            w.f64(v);
        w.f64(0).str("").f64(0);
        w.i32(HAB_INHOSPITABLE).f64(0).str("");
        w.i32(0).i32(0).f64(0);
        w.str("").str("").i32(0);
    }
    w.i32(1).str("").boolean(true); // route types
    w.i32(0);                       // routes
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char *>(w.b.data()), static_cast<std::streamsize>(w.b.size()));
}

} // namespace kalvion::test
