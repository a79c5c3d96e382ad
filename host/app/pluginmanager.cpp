#include "pluginmanager.h"

#include "host/framework/iplugin.h"

#include <QDir>
#include <QJsonObject>
#include <QLibrary>
#include <QPluginLoader>

PluginManager::PluginManager() = default;

PluginManager::~PluginManager()
{
    Shutdown();
}

int PluginManager::LoadAll(const QString& folder, const QStringList& arguments)
{
    const QDir dir(folder);
    if (!dir.exists()) {
        m_messages << tr("no plug-in folder %1").arg(QDir::toNativeSeparators(folder));
        return 0;
    }
    QList<QPluginLoader*> candidates;
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    for (const QString& file : files) {
        const QString path = dir.absoluteFilePath(file);
        if (!QLibrary::isLibrary(path))
            continue;
        auto* loader = new QPluginLoader(path);
        const QString iid = loader->metaData().value(QStringLiteral("IID")).toString();
        if (iid != QLatin1String(StampReader_IPlugin_IID)) {
            m_messages << tr("skipped %1: not a reader plug-in").arg(file);
            delete loader;
            continue;
        }
        auto* plugin = qobject_cast<ExtensionSystem::IPlugin*>(loader->instance());
        if (!plugin) {
            m_messages << tr("skipped %1: %2").arg(file, loader->errorString());
            loader->unload();
            delete loader;
            continue;
        }
        QString error;
        if (!plugin->Initialize(arguments, &error)) {
            m_messages << tr("skipped %1: initialisation failed: %2").arg(file, error);
            loader->unload();
            delete loader;
            continue;
        }
        candidates << loader;
        m_plugins << plugin;
        m_messages << tr("loaded %1").arg(file);
    }
    m_loaders << candidates;
    for (ExtensionSystem::IPlugin* plugin : qAsConst(m_plugins))
        plugin->InitializeComponents();
    return candidates.size();
}

void PluginManager::Shutdown()
{
    for (ExtensionSystem::IPlugin* plugin : qAsConst(m_plugins))
        plugin->AboutToShutdown();
    m_plugins.clear();
    while (!m_loaders.isEmpty()) {
        QPluginLoader* loader = m_loaders.takeLast();
        loader->unload(); // deletes the plug-in object
        delete loader;
    }
}

QList<ExtensionSystem::IPlugin*> PluginManager::Plugins() const
{
    return m_plugins;
}
