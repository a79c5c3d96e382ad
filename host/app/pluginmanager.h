#pragma once
// Loads the reader's plug-ins: every library in a folder whose metadata names the reader's
// plug-in interface and whose instance is an ExtensionSystem::IPlugin. Initialize runs for
// each, then InitializeComponents once for each that initialised. Shutdown asks each
// AboutToShutdown and unloads them in reverse order; call it after every view is gone,
// since views hold tool instances made by plug-in code.

#include <QCoreApplication>
#include <QList>
#include <QStringList>
#include <memory>

class QPluginLoader;

namespace ExtensionSystem
{
class IPlugin;
}

class PluginManager
{
    Q_DECLARE_TR_FUNCTIONS(PluginManager)

public:
    PluginManager();
    ~PluginManager(); // shuts down what is still loaded

    // Returns the number of plug-ins initialised; what happened is in Messages.
    int LoadAll(const QString& folder, const QStringList& arguments);
    void Shutdown();

    QList<ExtensionSystem::IPlugin*> Plugins() const;
    QStringList Messages() const { return m_messages; }

private:
    QList<QPluginLoader*> m_loaders;
    QList<ExtensionSystem::IPlugin*> m_plugins;
    QStringList m_messages;
};
