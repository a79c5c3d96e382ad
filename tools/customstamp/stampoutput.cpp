#include "stampoutput.h"

#include "host/rpc/rpcclient.h"
#include "host/utils/nex_path.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace StampOutput
{

namespace
{

const char* const kMethod = "stampannotserver";

bool Call(quint16 port, const RpcWire::StringMap& params, QString* error, int timeoutMs)
{
    const RpcClient::Result result =
        RpcClient::Call(QStringLiteral("127.0.0.1"), port, kMethod, params, timeoutMs);
    if (!result.ok) {
        *error = QStringLiteral("The reader does not answer on port %1 (%2). Is it still "
                                "running?")
                     .arg(port)
                     .arg(result.error);
        return false;
    }
    if (!result.replies.contains(QStringLiteral("ok"))) {
        *error = QStringLiteral("The reader on port %1 did not accept the stamp.").arg(port);
        return false;
    }
    return true;
}

QString SafeName(const QString& name)
{
    QString safe;
    for (const QChar c : name.trimmed()) {
        if (safe.size() >= 40)
            break;
        safe += c.isLetterOrNumber() ? c : QChar('_');
    }
    return safe.isEmpty() ? QStringLiteral("seal") : safe;
}

} // namespace

QString UserStampFolder()
{
    return Utils::Nex_Path::UserPath() + QStringLiteral("stamp");
}

QString SavePicture(const QImage& picture, const QString& name, QString* error)
{
    const QString folder = UserStampFolder();
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("Could not create the stamp folder %1.").arg(folder);
        return QString();
    }
    const QString stem = QStringLiteral("%1/%2_%3")
                             .arg(folder, SafeName(name),
                                  QDateTime::currentDateTime().toString("yy_MM_dd_hh_mm_ss"));
    QString path = stem + QStringLiteral(".png");
    for (int n = 2; QFile::exists(path); ++n)
        path = QStringLiteral("%1_%2.png").arg(stem).arg(n);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !picture.save(&file, "PNG") || !file.commit()) {
        *error = QStringLiteral("Could not save the stamp as %1: %2").arg(path, file.errorString());
        return QString();
    }
    return path;
}

bool Report(quint16 port, const QString& path, const QSize& sizeMm, QString* error, int timeoutMs)
{
    return Call(port,
                {{QStringLiteral("RequesType"), QStringLiteral("AddCustomStamp")},
                 {QStringLiteral("ImagePath"), path},
                 {QStringLiteral("ImageWidth"), QString::number(sizeMm.width())},
                 {QStringLiteral("ImageHeight"), QString::number(sizeMm.height())}},
                error, timeoutMs);
}

bool AnnouncePort(quint16 port, QString* error, int timeoutMs)
{
    return Call(port,
                {{QStringLiteral("RequesType"), QStringLiteral("CustomServerPort")},
                 {QStringLiteral("Port"), QString::number(port)}},
                error, timeoutMs);
}

} // namespace StampOutput
