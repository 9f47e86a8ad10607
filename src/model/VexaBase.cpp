#include "model/VexaBase.h"

#include "base/AsciiText.h"
#include "base/Guid.h"

namespace kalvion {

TVexaBase::TVexaBase() : IDString(TIdentityText::NewGuid()) {}

TVexaBase::~TVexaBase() = default;

std::string FieldKey(std::string_view name)
{
    return AsciiLower(name.substr(0, FIELD_NAME_MAX));
}

int TVexaBase::GetFieldIndex(std::string_view name) const
{
    const std::string key = FieldKey(name);
    for (std::size_t i = 0; i < Fields.size(); ++i)
        if (Fields[i].Name == key)
            return static_cast<int>(i);
    return -1;
}

std::string TVexaBase::GetField(std::string_view name) const
{
    const int i = GetFieldIndex(name);
    return i < 0 ? std::string() : Fields[static_cast<std::size_t>(i)].Value;
}

void TVexaBase::SetField(std::string_view name, std::string_view value)
{
    const std::string key = FieldKey(name);
    for (auto &f : Fields) {
        if (f.Name == key) {
            f.Value.assign(value);
            Modified = true;
            return;
        }
    }
    // An empty value never creates a field.
    if (value.empty())
        return;
    Fields.push_back({key, std::string(value)});
    Modified = true;
}

void TVexaBase::RestoreField(std::string_view name, std::string_view value)
{
    std::string key = FieldKey(name);
    for (auto &f : Fields) {
        if (f.Name == key) {
            f.Value.assign(value);
            return;
        }
    }
    Fields.push_back({std::move(key), std::string(value)});
}

std::string TVexaBase::GetFieldByIndex(int index) const
{
    if (index < 0 || index >= GetFieldCount())
        return {};
    return Fields[static_cast<std::size_t>(index)].Value;
}

std::string TVexaBase::GetFieldNameByIndex(int index) const
{
    if (index < 0 || index >= GetFieldCount())
        return {};
    return Fields[static_cast<std::size_t>(index)].Name;
}

std::weak_ptr<void> TVexaBase::LifetimeToken() const
{
    if (!FLifetime)
        FLifetime = std::make_unique<std::shared_ptr<void>>(std::make_shared<char>(0));
    return *FLifetime;
}

} // namespace kalvion
