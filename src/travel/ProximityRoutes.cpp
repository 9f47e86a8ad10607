#include "travel/ProximityRoutes.h"

#include "base/NumberFormat.h"
#include "base/NumberParse.h"
#include "base/Rounding.h"
#include "base/SharedRandom.h"
#include "model/VexaSector.h"
#include "travel/ProximityGrid.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_set>

#include <unistd.h>

namespace kalvion {

namespace {

bool Qualifies(const TStellarBody &root, int style)
{
    switch (style) {
    case PROXIMITY_ROUTES_ALL:
        return true;
    case PROXIMITY_ROUTES_POP:
        return root.ChildPopulation >= 1;
    case PROXIMITY_ROUTES_POPSEL:
        return root.ChildPopulation >= 1 || root.Selected;
    case PROXIMITY_ROUTES_SEL:
        return root.Selected;
    default:
        return false;
    }
}

double Distance(const TVexaPoint &a, const TVexaPoint &b)
{
    const double dx = a.X - b.X, dy = a.Y - b.Y, dz = a.Z - b.Z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

struct TCandidate {
    double Key;
    int Index;
    friend bool operator<(const TCandidate &a, const TCandidate &b)
    {
        // Distances that print alike tie; sector order settles them so that
        // every way of finding the candidates gives the same routes.
        return a.Key != b.Key ? a.Key < b.Key : a.Index < b.Index;
    }
};

class TProximityRun {
public:
    TProximityRun(TVexaSector &sector, const TProximityRouteOptions &o, const TProximityProgress &progress)
        : S(sector), O(o), Progress(progress)
    {
    }

    int Run();
    // How many routes Run would make at most, without making any.
    double ExpectedRoutes();

private:
    void Prepare();
    bool Report(double fraction);
    bool InBand(double d) const
    {
        // A distance that is not a number (a damaged coordinate) is never in
        // the band, whatever the limits.
        return std::isfinite(d) && (O.MinLength <= 0 || d >= O.MinLength) && (O.MaxLength <= 0 || d <= O.MaxLength);
    }
    void Collect(int i);
    void MakeRoutes(int i);

    TVexaSector &S;
    const TProximityRouteOptions &O;
    const TProximityProgress &Progress;
    std::vector<TVexaPoint> Points;
    std::vector<char> Member;
    std::vector<int> Members;
    TProximityGrid Grid;
    bool Indexed = false;
    std::vector<int> Near;
    std::vector<TCandidate> Candidates;
    std::unordered_set<std::string> Pairs;
    int Made = 0;
};

bool TProximityRun::Report(double fraction)
{
    if (Progress)
        return Progress(PROXIMITY_ROUTES_CAPTION, fraction);
    if (S.OnProgress)
        S.OnProgress(PROXIMITY_ROUTES_CAPTION, fraction);
    return false;
}

void TProximityRun::Collect(int i)
{
    Candidates.clear();
    const TVexaPoint &p = Points[static_cast<std::size_t>(i)];
    auto consider = [&](int j) {
        if (j == i)
            return;
        const double d = Distance(p, Points[static_cast<std::size_t>(j)]);
        if (InBand(d))
            Candidates.push_back({ProximitySortKey(d), j});
    };
    if (Indexed) {
        Near.clear();
        Grid.Near(p, Near);
        for (int j : Near)
            consider(j);
    } else {
        for (int j : Members)
            consider(j);
    }
    std::sort(Candidates.begin(), Candidates.end());
}

void TProximityRun::MakeRoutes(int i)
{
    TStellarBody *from = S.Systems[static_cast<std::size_t>(i)].get();
    std::string pair, reverse;
    double position = 0;
    for (const TCandidate &c : Candidates) {
        TStellarBody *to = S.Systems[static_cast<std::size_t>(c.Index)].get();
        double red, green, blue;
        if (O.RandomColor) {
            red = RoundToDecimals(4, (50 + SharedRandomInt(50)) / 100.0);
            green = RoundToDecimals(4, (50 + SharedRandomInt(50)) / 100.0);
            blue = RoundToDecimals(4, (50 + SharedRandomInt(50)) / 100.0);
        } else {
            red = RoundToDecimals(4, ColorRed(O.Color) / 255.0);
            green = RoundToDecimals(4, ColorGreen(O.Color) / 255.0);
            blue = RoundToDecimals(4, ColorBlue(O.Color) / 255.0);
        }
        pair.assign(from->IDString).append(to->IDString);
        reverse.assign(to->IDString).append(from->IDString);
        if (!Pairs.count(pair) && !Pairs.count(reverse)) {
            auto route = TStellarRoute::Create();
            route->Name = O.Label;
            route->RouteType = O.RouteType;
            route->AddSystem(from);
            route->AddSystem(to);
            route->Red = red;
            route->Green = green;
            route->Blue = blue;
            route->LineStyle = O.LineStyle;
            route->LineWidth = O.LineWidth;
            route->Modified = true;
            S.AddRouteType(O.RouteType);
            S.AddRoute(std::move(route));
            Pairs.insert(pair);
            ++Made;
        }
        // A discarded duplicate uses its place too.  A limit that is not a
        // whole number stops at the first place at or beyond it.
        position += 1;
        if (O.MaxRoutes > 0 && position >= O.MaxRoutes)
            break;
    }
}

void TProximityRun::Prepare()
{
    const int n = S.SystemCount();
    Members.clear();
    Points.resize(static_cast<std::size_t>(n));
    Member.assign(static_cast<std::size_t>(n), 0);
    for (int i = 0; i < n; ++i) {
        const TStellarBody &root = *S.Systems[static_cast<std::size_t>(i)];
        Points[static_cast<std::size_t>(i)] = {root.X, root.Y, root.Z};
        if (Qualifies(root, O.Style)) {
            Member[static_cast<std::size_t>(i)] = 1;
            Members.push_back(i);
        }
    }
    Indexed = O.UseSpatialIndex && O.MaxLength > 0 && Grid.Build(Points, Member, O.MaxLength);
}

double TProximityRun::ExpectedRoutes()
{
    Prepare();
    const int n = S.SystemCount();
    double sources = 0;
    for (int i : Members)
        if (S.Systems[static_cast<std::size_t>(i)]->Visible)
            ++sources;
    const double others = Members.empty() ? 0 : static_cast<double>(Members.size()) - 1;
    const double pairs = static_cast<double>(Members.size()) * others / 2;
    if (O.MaxRoutes > 0)
        return std::min(sources * std::min(std::ceil(O.MaxRoutes), others), pairs);
    if (O.MaxLength <= 0 && O.MinLength <= 0)
        return std::min(sources * others, pairs);
    // A distance band without a count: the candidates are counted as a run
    // would find them (a pair found from both ends makes one route).
    double found = 0;
    for (int i = 0; i < n; ++i)
        if (S.Systems[static_cast<std::size_t>(i)]->Visible && Member[static_cast<std::size_t>(i)]) {
            Collect(i);
            found += static_cast<double>(Candidates.size());
        }
    Candidates = {};
    return std::min(found, pairs);
}

int TProximityRun::Run()
{
    Report(0);
    Prepare();
    const int n = S.SystemCount();
    const std::string total = std::to_string(n);
    for (int i = 0; i < n; ++i) {
        const int position = i + 1;
        if (position % 10 == 0) {
            S.RenderMessageBig = "Generating Proximity Routes.  Hit Escape to cancel";
            S.RenderMessageSmall = std::to_string(position) + " of " + total + " systems examined";
            if (Report(static_cast<double>(position) / n))
                break;
        }
        const TStellarBody &root = *S.Systems[static_cast<std::size_t>(i)];
        if (!root.Visible || !Member[static_cast<std::size_t>(i)])
            continue;
        Collect(i);
        MakeRoutes(i);
    }
    S.RenderMessageBig.clear();
    S.RenderMessageSmall.clear();
    return Made;
}

} // namespace

double ProximitySortKey(double distance)
{
    const double scaled = distance * 1000.0;
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 4503599627370496.0)
        return std::floor(scaled);
    const double whole = std::floor(scaled);
    const double frac = scaled - whole;
    // The product is off the exact decimal by a few units in its last place.
    if (std::fabs(frac - 0.5) > std::max(1e-6, scaled * 1e-15))
        return frac > 0.5 ? whole + 1 : whole;
    // Close to a half: the pattern rounds the shortest decimal form of the
    // distance, which the product above may have moved across the half.
    const auto printed = ParseDouble(FormatFloat("0.000", distance));
    return printed ? Round(*printed * 1000.0) : whole;
}

double ExpectedProximityRoutes(TVexaSector &sector, const TProximityRouteOptions &options)
{
    const TProximityProgress none;
    TProximityRun run(sector, options, none);
    return run.ExpectedRoutes();
}

double MaxProximityRoutes()
{
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    const double memory = pages > 0 && pageSize > 0 ? static_cast<double>(pages) * static_cast<double>(pageSize)
                                                    : 4.0 * 1024 * 1024 * 1024;
    return memory / 2 / PROXIMITY_ROUTE_BYTES;
}

std::string CheckProximityRoutes(TVexaSector &sector, const TProximityRouteOptions &options)
{
    const double expected = ExpectedProximityRoutes(sector, options);
    const double limit = MaxProximityRoutes();
    if (expected <= limit)
        return {};
    char text[320];
    std::snprintf(text, sizeof text,
                  "These options would make up to %.3g routes, needing about %.3g GB of memory; this machine can "
                  "hold about %.3g.  Give a maximum length or a number of routes per system.",
                  expected, expected * PROXIMITY_ROUTE_BYTES / 1.0e9, limit);
    return text;
}

int CreateProximityRoutes(TVexaSector &sector, const TProximityRouteOptions &options,
                          const TProximityProgress &progress)
{
    TProximityRun run(sector, options, progress);
    return run.Run();
}

int CreateProximityRoutes(TVexaSector &sector, int style, double minLength, double maxLength, double maxRoutes,
                          const std::string &routeType, const std::string &label, TColor color, bool randomColor,
                          int lineStyle, double lineWidth, const TProximityProgress &progress)
{
    TProximityRouteOptions o;
    o.Style = style;
    o.MinLength = minLength;
    o.MaxLength = maxLength;
    o.MaxRoutes = maxRoutes;
    o.RouteType = routeType;
    o.Label = label;
    o.Color = color;
    o.RandomColor = randomColor;
    o.LineStyle = lineStyle;
    o.LineWidth = lineWidth;
    return CreateProximityRoutes(sector, o, progress);
}

} // namespace kalvion
