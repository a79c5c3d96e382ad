#pragma once
// The reader's plug-in interface. A plug-in is a Qt plug-in whose instance derives from
// IPlugin and whose metadata carries IID StampReader_IPlugin_IID. The reader loads each
// library in <bin>/plugins, calls Initialize, then InitializeComponents once, and deletes
// the instance at shutdown (after AboutToShutdown).

#include <QObject>
#include <QStringList>

#define StampReader_IPlugin_IID "org.stampreader.ExtensionSystem.IPlugin/1.0"

namespace ExtensionSystem
{

class IPlugin : public QObject
{
    Q_OBJECT
public:
    enum ShutdownFlag { SynchronousShutdown, AsynchronousShutdown };

    IPlugin() = default;
    ~IPlugin() override = default;

    virtual bool Initialize(const QStringList& arguments, QString* errorString) = 0;
    virtual void InitializeComponents() = 0;
    virtual bool DelayedInitialize() { return false; }
    virtual ShutdownFlag AboutToShutdown() { return SynchronousShutdown; }
    virtual void MainInstanceInitialized() {}
};

} // namespace ExtensionSystem
