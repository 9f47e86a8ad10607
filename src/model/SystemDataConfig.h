#pragma once
// Display-field configurations: which lines of data the system tree and the
// reports show for each body type.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
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

    static std::unique_ptr<TSystemDataConfig> CreateSystemDataConfig()
    {
        return std::make_unique<TSystemDataConfig>();
    }
    // Replaces the record of that caption (ignoring case) or appends one.
    void AddField(std::string_view displayText, std::string_view source, std::string_view field,
                  bool hideIfEmpty);
    // Inserts a new record before index (0 to Count); refused for a caption
    // that is already present.  An inserted record always shows.
    void Insert(std::string_view displayText, std::string_view source, std::string_view field, int index);
    // Swaps a record with its neighbour before (direction < 0) or after (> 0).
    void MoveUpDown(int index, int direction);
    int FindField(std::string_view displayText) const;
    void DeleteField(std::string_view displayText);
    void SetFieldArrayLength(int n);
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

// The data-source keywords a record may name: "" first, then the sources in
// the order the field editor lists them.
void SystemDataGetSourceTypeList(std::vector<std::string> &list);

// Fills the holder with the built-in display fields of every body type; the
// slots without defaults are emptied.
void SetDefaultSystemDataConfig(TSystemDataConfigHolder &holder);

} // namespace kalvion
