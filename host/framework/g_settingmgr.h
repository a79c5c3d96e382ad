#pragma once
// Reader settings. ConfigValue answers from the in-memory cache first, then from the
// settings file (AppConfigsPath() + "reader.ini"), then with the default.

#include <QHash>
#include <QString>
#include <QVariant>

class G_SettingMgr
{
public:
    static G_SettingMgr* Instance();

    QVariant ConfigValue(const QString& key, const QVariant& defaultValue = QVariant()) const;
    void SetConfigCache(const QString& key, const QVariant& value); // memory only
    void SetConfigValue(const QString& key, const QVariant& value); // written to the file
    void ClearCache();

private:
    G_SettingMgr() = default;
    QHash<QString, QVariant> m_cache;
};
