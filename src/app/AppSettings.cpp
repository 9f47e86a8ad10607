#include "app/AppSettings.h"

#include "app/SettingsStore.h"

#include <cmath>
#include <functional>
#include <vector>

namespace kalvion::app {

namespace {

enum class TOnMissing { Stop, Default, Group, Empty, OnlyWhenPresent };

// One value of the reading order.  `Group` names the bracketed group for
// values whose rule is Group; `Apply` takes the read value and answers
// whether it was of the right type.
struct TEntry {
    QString Name;
    TOnMissing Rule;
    QString Group;
    std::function<bool(const TSettingsStore &, const QString &)> Apply;
};

template <class T>
auto IntInto(T &out)
{
    return [&out](const TSettingsStore &s, const QString &n) {
        const auto v = s.Int(n);
        if (v)
            out = static_cast<T>(*v);
        return v.has_value();
    };
}
auto BoolInto(bool &out)
{
    return [&out](const TSettingsStore &s, const QString &n) {
        const auto v = s.Bool(n);
        if (v)
            out = *v;
        return v.has_value();
    };
}
auto FloatInto(double &out)
{
    return [&out](const TSettingsStore &s, const QString &n) {
        const auto v = s.Float(n);
        if (v)
            out = *v;
        return v.has_value();
    };
}
auto StringInto(QString &out)
{
    return [&out](const TSettingsStore &s, const QString &n) {
        const auto v = s.Value(n);
        if (v)
            out = *v;
        return v.has_value();
    };
}

const char *const GEX_NAMES[7] = {"GexDeepWater", "GexLowWater", "GexBeach", "GexLowLand",
                                  "GexHighLand",  "GexIce",      "GexDry"};

std::array<TColor *, 7> PaletteSlots(TGexColorGroup &p)
{
    return {&p.DeepWater, &p.ShallowWater, &p.Beach, &p.Lowland, &p.Highland, &p.Ice, &p.Desert};
}

QString CustomColorName(int i) { return QStringLiteral("Color") + QChar(u'A' + i); }

std::vector<TEntry> ReadingOrder(TAppSettings &s, std::int32_t &historyCount)
{
    using R = TOnMissing;
    std::vector<TEntry> e;
    const auto add = [&](const char *name, R rule, auto apply, const char *group = "") {
        e.push_back({QString::fromLatin1(name), rule, QString::fromLatin1(group), apply});
    };
    add("DataBackgroundColor", R::Stop, IntInto(s.DataBackgroundColor));
    add("DataLabelColor", R::Stop, IntInto(s.DataLabelColor));
    add("DataPopulatedColor", R::Stop, IntInto(s.DataPopulatedColor));
    add("AnimationPerformanceAdjust", R::Stop, FloatInto(s.AnimationPerformanceAdjust));
    add("DialogPath", R::Empty, StringInto(s.DialogPath));
    add("AutoLock", R::Stop, BoolInto(s.AutoLock));
    add("TerrainEngine", R::Stop, IntInto(s.TerrainEngine));
    add("RWFilePathAlt", R::Empty, StringInto(s.RWFilePathAlt));
    add("ShowLensFlares", R::Default, BoolInto(s.ShowLensFlares));
    const auto gex = PaletteSlots(s.Palette);
    for (int i = 0; i < 7; ++i)
        add(GEX_NAMES[i], R::Default, IntInto(*gex[static_cast<std::size_t>(i)]));
    add("GenAtmospheres", R::Default, BoolInto(s.GenAtmospheres));
    add("SectorX", R::Stop, FloatInto(s.SectorX));
    add("SectorY", R::Stop, FloatInto(s.SectorY));
    add("SectorZ", R::Stop, FloatInto(s.SectorZ));
    add("SectorIsSphere", R::Stop, BoolInto(s.SectorIsSphere));
    add("SectorGrid", R::Stop, IntInto(s.SectorGrid));
    add("SectorGridTick", R::Stop, FloatInto(s.SectorGridTick));
    add("SectorTickLabels", R::Stop, BoolInto(s.SectorTickLabels));
    add("SectorGridColor", R::Stop, IntInto(s.SectorGridColor));
    add("PerformanceFactor", R::Stop, FloatInto(s.PerformanceFactor));
    add("PerformanceSkip", R::Stop, BoolInto(s.PerformanceSkip));
    add("GeneratorDistribution", R::Stop, IntInto(s.GeneratorDistribution));
    add("GeneratorDensity", R::Stop, IntInto(s.GeneratorDensity));
    for (int i = 0; i < 16; ++i)
        e.push_back({CustomColorName(i), R::Default, QString(), StringInto(s.CustomColors[static_cast<std::size_t>(i)])});
    add("SurfaceMapResolution", R::Stop, IntInto(s.SurfaceMapResolution));
    add("SearchHistoryCount", R::Stop, IntInto(historyCount));
    // The history entries themselves are read after the count (see Read).
    add("SublightSpeedUnit", R::Group, IntInto(s.SublightSpeedUnit), "travel");
    add("InterstellarSpeedMethod", R::Group, StringInto(s.InterstellarSpeedMethod), "travel");
    add("AllowIntrasystemHyperlight", R::Group, BoolInto(s.AllowIntrasystemHyperlight), "travel");
    add("DisplaySectorDate", R::Default, BoolInto(s.DisplaySectorDate));
    add("LastUpdateTime", R::Group, FloatInto(s.LastUpdateTime), "update");
    add("DoAutomaticUpdateChecks", R::Group, BoolInto(s.DoAutomaticUpdateChecks), "update");
    add("UpdateChannel", R::OnlyWhenPresent, StringInto(s.UpdateChannel));
    add("VideoFrameWidth", R::Group, IntInto(s.VideoFrameWidth), "video");
    add("VideoFrameHeight", R::Group, IntInto(s.VideoFrameHeight), "video");
    add("VideoFPS", R::Group, FloatInto(s.VideoFPS), "video");
    add("VideoFolder", R::Group, StringInto(s.VideoFolder), "video");
    add("VideoQuick", R::Group, BoolInto(s.VideoQuick), "video");
    add("EnableMultisample", R::Default, BoolInto(s.EnableMultisample));
    add("RecoveryMinutes", R::Default, IntInto(s.RecoveryMinutes));
    add("UndoLimit", R::Default, IntInto(s.UndoLimit));
    add("WindowGeometry", R::Default, StringInto(s.WindowGeometry));
    add("SplitterState", R::Default, StringInto(s.SplitterState));
    return e;
}

QString WithSeparator(const QString &folder)
{
    return folder.isEmpty() || folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

TAppSettings::TAppSettings(const QString &programFolder, const QString &documentsFolder)
    : DialogPath(WithSeparator(programFolder) + QStringLiteral("Samples")), VideoFolder(WithSeparator(documentsFolder))
{
}

QStringList SettingsReadOrder()
{
    TAppSettings s;
    std::int32_t count = 0;
    QStringList names;
    for (const auto &e : ReadingOrder(s, count))
        names << e.Name;
    return names;
}

void TAppSettings::Read(const TSettingsStore &store)
{
    std::int32_t historyCount = 0;
    const TAppSettings defaults = *this;
    QString skippedGroup;
    for (const auto &e : ReadingOrder(*this, historyCount)) {
        if (!e.Group.isEmpty() && e.Group == skippedGroup)
            continue;
        // A value of the wrong type is read as missing; the entry may have
        // written nothing, but a half-read value must not stay either.
        if (e.Apply(store, e.Name))
            continue;
        switch (e.Rule) {
        case TOnMissing::Stop:
            goto done;
        case TOnMissing::Group:
            skippedGroup = e.Group;
            // The values of the group already read go back to their defaults.
            if (e.Group == QLatin1String("travel")) {
                SublightSpeedUnit = defaults.SublightSpeedUnit;
                InterstellarSpeedMethod = defaults.InterstellarSpeedMethod;
                AllowIntrasystemHyperlight = defaults.AllowIntrasystemHyperlight;
            } else if (e.Group == QLatin1String("update")) {
                LastUpdateTime = defaults.LastUpdateTime;
                DoAutomaticUpdateChecks = defaults.DoAutomaticUpdateChecks;
            } else if (e.Group == QLatin1String("video")) {
                VideoFrameWidth = defaults.VideoFrameWidth;
                VideoFrameHeight = defaults.VideoFrameHeight;
                VideoFPS = defaults.VideoFPS;
                VideoFolder = defaults.VideoFolder;
                VideoQuick = defaults.VideoQuick;
            }
            break;
        case TOnMissing::Empty:
            if (e.Name == QLatin1String("DialogPath"))
                DialogPath.clear();
            else if (e.Name == QLatin1String("RWFilePathAlt"))
                RWFilePathAlt.clear();
            break;
        case TOnMissing::Default:
        case TOnMissing::OnlyWhenPresent:
            break;
        }
    }
    // The search history follows its count, which is taken only for 1 … 99.
    if (historyCount >= 1 && historyCount <= 99) {
        SearchHistory.clear();
        for (int i = 1; i <= historyCount; ++i)
            SearchHistory << store.Value(QStringLiteral("SearchHistory") + QString::number(i)).value_or(QString());
    }
done:
    if (!(AnimationPerformanceAdjust >= 0.1 && AnimationPerformanceAdjust <= 1000))
        AnimationPerformanceAdjust = 1.0;
    if (RecoveryMinutes < 0)
        RecoveryMinutes = 0;
    if (UndoLimit < 1)
        UndoLimit = 1;
    for (int i = 0; i < 3; ++i)
        RecentFiles[static_cast<std::size_t>(i)] =
            store.Value(QStringLiteral("MRU") + QString::number(i + 1)).value_or(QString());
}

void TAppSettings::Write(TSettingsStore &store, const QString &programFolder) const
{
    for (int i = 0; i < 3; ++i)
        store.SetValue(QStringLiteral("MRU") + QString::number(i + 1), RecentFiles[static_cast<std::size_t>(i)]);
    store.SetInt(QStringLiteral("DataBackgroundColor"), DataBackgroundColor);
    store.SetInt(QStringLiteral("DataLabelColor"), DataLabelColor);
    store.SetInt(QStringLiteral("DataPopulatedColor"), DataPopulatedColor);
    store.SetBool(QStringLiteral("ShowLensFlares"), ShowLensFlares);
    store.SetInt(QStringLiteral("TerrainEngine"), TerrainEngine == 0 ? 1 : TerrainEngine);
    store.SetFloat(QStringLiteral("AnimationPerformanceAdjust"), AnimationPerformanceAdjust);
    store.SetValue(QStringLiteral("DialogPath"), DialogPath.isEmpty() ? WithSeparator(programFolder) : DialogPath);
    store.SetBool(QStringLiteral("AutoLock"), AutoLock);
    store.SetValue(QStringLiteral("RWFilePathAlt"), RWFilePathAlt);
    TGexColorGroup palette = Palette;
    const auto gex = PaletteSlots(palette);
    for (int i = 0; i < 7; ++i)
        store.SetInt(QString::fromLatin1(GEX_NAMES[i]), *gex[static_cast<std::size_t>(i)]);
    store.SetBool(QStringLiteral("GenAtmospheres"), GenAtmospheres);
    store.SetFloat(QStringLiteral("SectorX"), SectorX);
    store.SetFloat(QStringLiteral("SectorY"), SectorY);
    store.SetFloat(QStringLiteral("SectorZ"), SectorZ);
    store.SetBool(QStringLiteral("SectorIsSphere"), SectorIsSphere);
    store.SetInt(QStringLiteral("SectorGrid"), SectorGrid);
    store.SetFloat(QStringLiteral("SectorGridTick"), SectorGridTick);
    store.SetBool(QStringLiteral("SectorTickLabels"), SectorTickLabels);
    store.SetInt(QStringLiteral("SectorGridColor"), SectorGridColor);
    for (int i = 0; i < DisabledPlugins.size(); ++i)
        store.SetValue(QStringLiteral("PluginDisabled") + QString::number(i + 1), DisabledPlugins[i]);
    store.SetInt(QStringLiteral("PluginDisabledCount"), DisabledPlugins.size());
    store.SetFloat(QStringLiteral("PerformanceFactor"), PerformanceFactor);
    store.SetBool(QStringLiteral("PerformanceSkip"), PerformanceSkip);
    store.SetInt(QStringLiteral("GeneratorDistribution"), GeneratorDistribution);
    store.SetInt(QStringLiteral("GeneratorDensity"), GeneratorDensity);
    for (int i = 0; i < 16; ++i)
        store.SetValue(CustomColorName(i), CustomColors[static_cast<std::size_t>(i)]);
    store.SetInt(QStringLiteral("SurfaceMapResolution"), SurfaceMapResolution);
    const qsizetype first = std::max<qsizetype>(0, SearchHistory.size() - 10);
    for (qsizetype i = first; i < SearchHistory.size(); ++i)
        store.SetValue(QStringLiteral("SearchHistory") + QString::number(i - first + 1), SearchHistory[i]);
    store.SetInt(QStringLiteral("SearchHistoryCount"), SearchHistory.size() - first);
    store.SetInt(QStringLiteral("SublightSpeedUnit"), SublightSpeedUnit);
    store.SetValue(QStringLiteral("InterstellarSpeedMethod"), InterstellarSpeedMethod);
    store.SetBool(QStringLiteral("AllowIntrasystemHyperlight"), AllowIntrasystemHyperlight);
    store.SetBool(QStringLiteral("DisplaySectorDate"), DisplaySectorDate);
    store.SetFloat(QStringLiteral("LastUpdateTime"), LastUpdateTime);
    store.SetBool(QStringLiteral("DoAutomaticUpdateChecks"), DoAutomaticUpdateChecks);
    store.SetValue(QStringLiteral("UpdateChannel"), UpdateChannel);
    store.SetInt(QStringLiteral("VideoFrameWidth"), VideoFrameWidth);
    store.SetInt(QStringLiteral("VideoFrameHeight"), VideoFrameHeight);
    store.SetFloat(QStringLiteral("VideoFPS"), VideoFPS);
    store.SetValue(QStringLiteral("VideoFolder"), VideoFolder);
    store.SetBool(QStringLiteral("VideoQuick"), VideoQuick);
    store.SetBool(QStringLiteral("EnableMultisample"), EnableMultisample);
    store.SetInt(QStringLiteral("RecoveryMinutes"), RecoveryMinutes);
    store.SetInt(QStringLiteral("UndoLimit"), UndoLimit);
    store.SetValue(QStringLiteral("WindowGeometry"), WindowGeometry);
    store.SetValue(QStringLiteral("SplitterState"), SplitterState);
    store.Sync();
}

int TAppSettings::Frames(double x) const
{
    const double n = x / PerformanceFactor * AnimationPerformanceAdjust;
    if (!std::isfinite(n))
        return 1;
    return static_cast<int>(std::clamp(std::trunc(n), 0.0, 1.0e6));
}

} // namespace kalvion::app
