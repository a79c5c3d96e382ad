#pragma once
// Reader settings. ConfigValue answers from the in-memory cache first, then from the
// settings file (AppConfigsPath() + "reader.ini"), then with the default. What the file
// said is remembered until the file's place or modification time changes, so a long batch
// asking for the same key on every page reads the file once.

#include "host/utils/fileversion.h"

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
    mutable QHash<QString, QVariant> m_read; // from the file; invalid: not there
    mutable Utils::FileVersion m_readVersion;
};
