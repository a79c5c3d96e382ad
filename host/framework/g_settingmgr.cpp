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
    // Read each time: the folder may be redirected while the reader runs (tests, demos).
    QSettings file(settingsFile(), QSettings::IniFormat);
    return file.value(key, defaultValue);
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
}

void G_SettingMgr::ClearCache()
{
    m_cache.clear();
}
