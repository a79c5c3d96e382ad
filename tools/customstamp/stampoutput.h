#pragma once
// Where a finished seal goes: a PNG in the user stamp folder that the reader's stamp picker
// uses, and a report to the picker over the reader's RPC channel (host/rpc/rpcwire.h).

#include <QImage>
#include <QSize>
#include <QString>

namespace StampOutput
{
// The picker's folder for stamps the user made (created when missing).
QString UserStampFolder();
// Writes `picture` as "<folder>/<name>_<yy_MM_dd_hh_mm_ss>.png", `name` made safe for a
// file name, never over an existing file, never half-written. The path, or empty and a
// message.
QString SavePicture(const QImage& picture, const QString& name, QString* error);
// Tells the picker listening on `port` about the picture at `path`, `sizeMm` millimetres
// wide and high. False with a message when the picker does not answer or refuses.
bool Report(quint16 port, const QString& path, const QSize& sizeMm, QString* error,
            int timeoutMs = 5000);
// Tells the picker on `port` which port this maker was given: checks the link early.
bool AnnouncePort(quint16 port, QString* error, int timeoutMs = 5000);
} // namespace StampOutput
