#pragma once
// Where CreateIloomTable finds a table file named by a script.
#include <string>

namespace kalvion {
class TScriptAppHost;
} // namespace kalvion

namespace kalvion::names {

struct TIloomTableFile {
    std::string File;
    std::string Library;  // where its includes are looked for; empty: "Common/"
};

// A name with a folder is taken as it is.  A bare name comes from the
// random-table program's "Tables/" folder when the host knows one, else
// from the tables this program installs ("LangData/", then "Common/").
TIloomTableFile FindIloomTable(const TScriptAppHost &host, const std::string &name);

} // namespace kalvion::names
