#pragma once
// Display-field configurations: which lines of data the system tree and the
// reports show for each body type.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kalvion {

struct TSystemDataRec {
    std::string DisplayText;
    std::string Source;
    std::string Field;
    bool HideIfEmpty = false;
};

class TSystemDataConfig {
public:
    std::vector<TSystemDataRec> Records;
    std::int32_t TypeID = 0;

    void CopyFrom(const TSystemDataConfig *other)
    {
        if (!other)
            return;
        TypeID = other->TypeID;
        Records = other->Records;
    }
    int Count() const { return static_cast<int>(Records.size()); }
    void Clear() { Records.clear(); }
};

inline constexpr int SYSTEMDATACONFIG_HOLDER_COUNT = 300;

class TSystemDataConfigHolder {
public:
    static constexpr std::size_t SLOT_COUNT = 301;
    std::array<std::unique_ptr<TSystemDataConfig>, SLOT_COUNT> Configs;

    void SetConfigForType(std::unique_ptr<TSystemDataConfig> config, int type)
    {
        if (type >= 0 && type < SYSTEMDATACONFIG_HOLDER_COUNT)
            Configs[static_cast<std::size_t>(type)] = std::move(config);
    }
    TSystemDataConfig *GetConfigForType(int type) const
    {
        if (type < 0 || type >= static_cast<int>(SLOT_COUNT))
            return nullptr;
        return Configs[static_cast<std::size_t>(type)].get();
    }
    void CopyFrom(const TSystemDataConfigHolder &other)
    {
        for (std::size_t i = 0; i < SLOT_COUNT; ++i) {
            Configs[i].reset();
            if (other.Configs[i]) {
                Configs[i] = std::make_unique<TSystemDataConfig>();
                Configs[i]->CopyFrom(other.Configs[i].get());
            }
        }
    }
    void Clear()
    {
        for (auto &c : Configs)
            c.reset();
    }
};

} // namespace kalvion
