#include "g_settingmgr.h"

#include "../utils/nex_path.h"

#include <QSettings>

namespace
{
QString settingsFile()
{
    return Utils::Nex_Path::AppConfigsPath() + QStringLiteral("reader.ini");
}
} // namespace

G_SettingMgr* G_SettingMgr::Instance()
{
    static G_SettingMgr instance;
    return &instance;
}

QVariant G_SettingMgr::ConfigValue(const QString& key, const QVariant& defaultValue) const
{
    const auto it = m_cache.constFind(key);
    if (it != m_cache.constEnd())
        return it.value();
    // The folder may be redirected while the reader runs (tests, demos), and the file
    // changed by hand: both forget what was read.
    const QString path = settingsFile();
    const Utils::FileVersion version = Utils::FileVersion::Of(path);
    if (version != m_readVersion) {
        m_read.clear();
        m_readVersion = version;
    }
    auto read = m_read.constFind(key);
    if (read == m_read.constEnd())
        read = m_read.insert(key, QSettings(path, QSettings::IniFormat).value(key));
    return read.value().isValid() ? read.value() : defaultValue;
}

void G_SettingMgr::SetConfigCache(const QString& key, const QVariant& value)
{
    m_cache.insert(key, value);
}

void G_SettingMgr::SetConfigValue(const QString& key, const QVariant& value)
{
    QSettings file(settingsFile(), QSettings::IniFormat);
    file.setValue(key, value);
    file.sync();
    m_cache.insert(key, value);
    m_read.clear();
}

void G_SettingMgr::ClearCache()
{
    m_cache.clear();
}
