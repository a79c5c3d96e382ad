#pragma once
// The stamp maker link: the method the picker's RPC server serves under the name
// "stampannotserver". The stamp maker program (started by the picker with the command line
// `"<program>" reader <port> "<folder of the current document>"`) reports each finished
// stamp with a request whose "RequesType" is "AddCustomStamp" ("ImagePath", "ImageWidth",
// "ImageHeight" in millimetres) and may report its own port with "CustomServerPort"
// ("Port"). Both get the reply "ok"; a report without a picture path and any other request
// get no reply. Requests arrive on the server's worker thread: this object only reads them
// and emits signals, which reach the picker through its event loop.

#include "host/rpc/iservermethod.h"
#include "stampparam.h"

#include <QObject>

class CustomStampEvent : public QObject, public IServerMethod
{
    Q_OBJECT
public:
    CustomStampEvent();
    ~CustomStampEvent() override;

    void HandleRequest(const char* method, IRPCParams* request, IRPCParams* reply) override;

    // The stamp maker program and the seal maker library it needs, as this platform names
    // them: the program in the reader's folder, the library beside the running program.
    static QString ProgramPath();
    static QString SealMakerLibraryPath();
    static constexpr const char* kMethodName = "stampannotserver";

signals:
    void CreateCustomStamp(StampParam param);
    void CustomStampPort(QString port);
    void CustomDisconnect();
};
