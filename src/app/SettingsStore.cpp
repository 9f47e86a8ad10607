#include "app/SettingsStore.h"

#include "base/NumberParse.h"
#include "base/SettingsBool.h"

#include <QSettings>

#include <cmath>
#include <limits>

namespace kalvion::app {

TSettingsStore::TSettingsStore(const QString &iniPath)
{
    if (iniPath.isEmpty())
        FSettings = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                                QStringLiteral("Zent Software"), QStringLiteral("Kalvion"));
    else
        FSettings = std::make_unique<QSettings>(iniPath, QSettings::IniFormat);
    FSettings->beginGroup(QStringLiteral("CurrentVersion"));
}

TSettingsStore::~TSettingsStore()
{
    FSettings->endGroup();
}

std::optional<QString> TSettingsStore::Value(const QString &name) const
{
    const QVariant v = FSettings->value(name);
    if (!v.isValid())
        return std::nullopt;
    return v.toString();
}

QString TSettingsStore::CompanionProgram(const QString &application, const QString &version)
{
    QSettings record(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Zent Software"), application);
    record.beginGroup(version);
    const QString dir = record.value(QStringLiteral("InstallDir")).toString();
    const QString exe = record.value(QStringLiteral("ExeFile")).toString();
    if (dir.isEmpty() && exe.isEmpty())
        return QString();
    if (dir.isEmpty() || dir.endsWith(QLatin1Char('/')) || dir.endsWith(QLatin1Char('\\')))
        return dir + exe;
    return dir + QLatin1Char('/') + exe;
}

QString TSettingsStore::CompanionRecordFile(const QString &application)
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Zent Software"), application)
        .fileName();
}

void TSettingsStore::SetValue(const QString &name, const QString &value) { FSettings->setValue(name, value); }
void TSettingsStore::Remove(const QString &name) { FSettings->remove(name); }
void TSettingsStore::Sync() { FSettings->sync(); }
QString TSettingsStore::FileName() const { return FSettings->fileName(); }

std::optional<std::int32_t> TSettingsStore::Int(const QString &name) const
{
    const auto text = Value(name);
    if (!text)
        return std::nullopt;
    bool ok = false;
    const qlonglong v = text->trimmed().toLongLong(&ok);
    // Colours and other 32-bit values may have been kept unsigned.
    if (!ok || v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::uint32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
}

std::optional<bool> TSettingsStore::Bool(const QString &name) const
{
    const auto text = Value(name);
    if (!text)
        return std::nullopt;
    return ParseSettingsBool(text->toStdString());
}

std::optional<double> TSettingsStore::Float(const QString &name) const
{
    const auto text = Value(name);
    if (!text)
        return std::nullopt;
    const auto v = ParseDouble(text->toStdString());
    if (!v || !std::isfinite(*v))
        return std::nullopt;
    return v;
}

void TSettingsStore::SetInt(const QString &name, std::int64_t value) { SetValue(name, QString::number(value)); }

void TSettingsStore::SetFloat(const QString &name, double value)
{
    SetValue(name, QString::number(value, 'g', 17));
}

std::optional<std::string> TSettingsStore::Read(std::string_view name) const
{
    const auto v = Value(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    if (!v)
        return std::nullopt;
    return v->toStdString();
}

void TSettingsStore::Write(std::string_view name, const std::string &value)
{
    SetValue(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())), QString::fromStdString(value));
}

} // namespace kalvion::app
