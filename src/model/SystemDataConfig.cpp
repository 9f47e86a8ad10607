#include "model/SystemDataConfig.h"

#include "base/AsciiText.h"

#include <utility>

namespace kalvion {

int TSystemDataConfig::FindField(std::string_view displayText) const
{
    for (std::size_t i = 0; i < Records.size(); ++i)
        if (SameText(Records[i].DisplayText, displayText))
            return static_cast<int>(i);
    return -1;
}

void TSystemDataConfig::AddField(std::string_view displayText, std::string_view source, std::string_view field,
                                 bool hideIfEmpty)
{
    const int i = FindField(displayText);
    if (i >= 0) {
        TSystemDataRec &r = Records[static_cast<std::size_t>(i)];
        r.Source.assign(source);
        r.Field.assign(field);
        r.HideIfEmpty = hideIfEmpty;
        return;
    }
    Records.push_back({std::string(displayText), std::string(source), std::string(field), hideIfEmpty});
}

void TSystemDataConfig::Insert(std::string_view displayText, std::string_view source, std::string_view field,
                               int index)
{
    if (index < 0 || index > Count() || FindField(displayText) >= 0)
        return;
    Records.insert(Records.begin() + index,
                   TSystemDataRec{std::string(displayText), std::string(source), std::string(field), false});
}

void TSystemDataConfig::MoveUpDown(int index, int direction)
{
    if (index < 0 || index >= Count() || direction == 0)
        return;
    const int other = direction < 0 ? index - 1 : index + 1;
    if (other < 0 || other >= Count())
        return;
    std::swap(Records[static_cast<std::size_t>(index)], Records[static_cast<std::size_t>(other)]);
}

void TSystemDataConfig::DeleteField(std::string_view displayText)
{
    const int i = FindField(displayText);
    if (i >= 0)
        Records.erase(Records.begin() + i);
}

void TSystemDataConfig::SetFieldArrayLength(int n)
{
    Records.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
}

void SystemDataGetSourceTypeList(std::vector<std::string> &list)
{
    static const char *const sources[] = {
        "",           "angleperiapsis", "ascendingnode", "atmosphere",    "axialtilt",      "children",
        "distance",   "distance-au",    "eccentricity",  "gravity",       "habitability",   "inclination",
        "luminosity", "mass",           "orbitalring",   "orbitperiod",   "pastperiapsis",  "political",
        "population", "radius",         "rotation",      "solradius",     "spectral",       "systempopulation",
        "temperature", "water",         "custom field"};
    for (const char *s : sources)
        list.emplace_back(s);
}

} // namespace kalvion
