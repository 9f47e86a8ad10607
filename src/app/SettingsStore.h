#pragma once
// Where the program's per-user settings live: one key of typed values.  On
// Linux it is an INI file under the XDG config folder ("Zent Software/
// Kalvion.conf", group "CurrentVersion"); tests use a file of their own.
#include "generation/NewSectorOptions.h"

#include <QString>

#include <memory>
#include <optional>

class QSettings;

namespace kalvion::app {

class TSettingsStore : public TSettingsValues {
public:
    // The program's own key; a non-empty path opens that INI file instead.
    explicit TSettingsStore(const QString &iniPath = QString());
    ~TSettingsStore() override;

    std::optional<QString> Value(const QString &name) const;
    void SetValue(const QString &name, const QString &value);
    void Remove(const QString &name);
    void Sync();
    QString FileName() const;

    // Typed reads: nothing when the value is missing or not of the type.
    // Integers are 32-bit; booleans are stored as 1 or 0 and also read as
    // "true" or "false"; a float that is not finite counts as missing.
    std::optional<std::int32_t> Int(const QString &name) const;
    std::optional<bool> Bool(const QString &name) const;
    std::optional<double> Float(const QString &name) const;

    void SetInt(const QString &name, std::int64_t value);
    void SetBool(const QString &name, bool value) { SetInt(name, value ? 1 : 0); }
    void SetFloat(const QString &name, double value);

    // A companion program's install record: its settings key ("Zent
    // Software/<application>", group <version>) with "InstallDir" and
    // "ExeFile" joined; "" when the record is absent.
    static QString CompanionProgram(const QString &application, const QString &version);
    // The file of that installation record, where the program is named.
    static QString CompanionRecordFile(const QString &application);

    // TSettingsValues, for the dialogs' memories kept in the core's terms.
    std::optional<std::string> Read(std::string_view name) const override;
    void Write(std::string_view name, const std::string &value) override;

private:
    std::unique_ptr<QSettings> FSettings;
};

} // namespace kalvion::app
