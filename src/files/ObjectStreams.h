#pragma once
// The stream form of every model object: what older sector files hold and
// what scripts read and write.  Writers always write the newest form; readers
// follow the stream's StreamVersion.  A damaged stream leaves the object with
// what was read before the damage and the stream Failed().
#include "files/AppFileStream.h"

namespace kalvion {

class TVexaBase;
class TStellarBody;
class TStellarRoute;
class TVexaSubsector;
class TVexaView;
class TVexaSector;
class TSystemDataConfig;
class TSystemDataConfigHolder;
class TGexColorGroup;
class TVexaImageResource;

// Bodies nest deeper than this only in a damaged file.
inline constexpr int STREAM_MAX_BODY_DEPTH = 256;

void SaveFieldsToStream(const TVexaBase &object, TAppFileStream &s);
void LoadFieldsFromStream(TVexaBase &object, TAppFileStream &s);

void SaveToStream(const TSystemDataConfig &config, TAppFileStream &s);
void LoadFromStream(TSystemDataConfig &config, TAppFileStream &s);
void SaveToStream(const TSystemDataConfigHolder &holder, TAppFileStream &s);
void LoadFromStream(TSystemDataConfigHolder &holder, TAppFileStream &s);
void SaveToStream(const TGexColorGroup &group, TAppFileStream &s);
void LoadFromStream(TGexColorGroup &group, TAppFileStream &s);

void SaveToStream(const TStellarBody &body, TAppFileStream &s, bool withoutChildren);
void SaveChildrenToStream(const TStellarBody &body, TAppFileStream &s);
void LoadFromStream(TStellarBody &body, TAppFileStream &s);
void LoadChildrenFromStream(TStellarBody &body, TAppFileStream &s);

void SaveToStream(const TStellarRoute &route, TAppFileStream &s);
void LoadFromStream(TStellarRoute &route, TAppFileStream &s);
void SaveToStream(const TVexaSubsector &subsector, TAppFileStream &s);
void LoadFromStream(TVexaSubsector &subsector, TAppFileStream &s);
void SaveToStream(const TVexaView &view, TAppFileStream &s);
void LoadFromStream(TVexaView &view, TAppFileStream &s);

void SaveSectorInfoToStream(const TVexaSector &sector, TAppFileStream &s);
void LoadSectorInfoFromStream(TVexaSector &sector, TAppFileStream &s);

void SaveToStream(const TVexaImageResource &resource, TAppFileStream &s, bool withData);
void LoadFromStream(TVexaImageResource &resource, TAppFileStream &s, bool withData);

} // namespace kalvion
