#include "model/history/StateParts.h"

namespace kalvion {

void PutFields(const TVexaBase &o, TStateWriter &w)
{
    w.Put(static_cast<std::uint32_t>(o.Fields.size()));
    for (const auto &f : o.Fields) {
        w.Text(f.Name);
        w.Text(f.Value);
    }
}

void GetFields(TVexaBase &o, TStateReader &r)
{
    o.Fields.clear();
    const auto n = r.Get<std::uint32_t>();
    for (std::uint32_t i = 0; i < n && !r.Failed(); ++i) {
        TVexaFieldRec f;
        f.Name = std::string(r.Text());
        f.Value = std::string(r.Text());
        o.Fields.push_back(std::move(f));
    }
}

void PutDataConfig(const TSystemDataConfig *cfg, TStateWriter &w)
{
    w.Put(cfg != nullptr);
    if (!cfg)
        return;
    w.Put(cfg->TypeID);
    w.Put(static_cast<std::uint32_t>(cfg->Records.size()));
    for (const auto &rec : cfg->Records) {
        w.Text(rec.DisplayText);
        w.Text(rec.Source);
        w.Text(rec.Field);
        w.Put(rec.HideIfEmpty);
    }
}

std::unique_ptr<TSystemDataConfig> GetDataConfig(TStateReader &r)
{
    if (!r.Get<bool>())
        return nullptr;
    auto cfg = std::make_unique<TSystemDataConfig>();
    cfg->TypeID = r.Get<std::int32_t>();
    const auto n = r.Get<std::uint32_t>();
    for (std::uint32_t i = 0; i < n && !r.Failed(); ++i) {
        TSystemDataRec rec;
        rec.DisplayText = std::string(r.Text());
        rec.Source = std::string(r.Text());
        rec.Field = std::string(r.Text());
        rec.HideIfEmpty = r.Get<bool>();
        cfg->Records.push_back(std::move(rec));
    }
    return cfg;
}

} // namespace kalvion
