#include "customstampevent.h"

#include "host/rpc/irpcparams.h"
#include "host/rpc/irpcvalue.h"
#include "host/utils/nex_path.h"

#include <QCoreApplication>

namespace
{

QString text(IRPCParams* request, const char* key)
{
    IRPCValue* value = request ? request->GetMap(key) : nullptr;
    const char* utf8 = value ? value->GetString() : nullptr;
    return utf8 ? QString::fromUtf8(utf8) : QString();
}

} // namespace

CustomStampEvent::CustomStampEvent()
{
    RegisterStampParamType();
}

CustomStampEvent::~CustomStampEvent() = default;

QString CustomStampEvent::ProgramPath()
{
#ifdef Q_OS_WIN
    return QStringLiteral("%1customstamp").arg(Utils::Nex_Path::AppPath()) + ".exe";
#else
    return QStringLiteral("%1customstamp").arg(Utils::Nex_Path::AppPath());
#endif
}

QString CustomStampEvent::SealMakerLibraryPath()
{
#ifdef Q_OS_WIN
    return QStringLiteral("%1/sealmaker.dll").arg(QCoreApplication::applicationDirPath());
#else
    return Utils::Nex_Path::LibraryPath() + QStringLiteral("libsealmaker.so");
#endif
}

void CustomStampEvent::HandleRequest(const char*, IRPCParams* request, IRPCParams* reply)
{
    const QString type = text(request, "RequesType");
    if (type == QLatin1String("AddCustomStamp")) {
        const QString path = text(request, "ImagePath");
        const QString width = text(request, "ImageWidth");
        const QString height = text(request, "ImageHeight");
        if (path.isEmpty())
            return;
        const StampParam param{path, QSize(width.toInt(nullptr, 10), height.toInt(nullptr, 10))};
        if (reply)
            reply->AddString("ok");
        emit CreateCustomStamp(param);
    } else if (type == QLatin1String("CustomServerPort")) {
        const QString port = text(request, "Port");
        if (reply)
            reply->AddString("ok");
        emit CustomStampPort(port);
    }
}
