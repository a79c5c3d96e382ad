#include "pdfraster.h"

#include <QFileInfo>
#include <QLibrary>
#include <dlfcn.h>
#include <mutex>

namespace
{
using OpenFn = PdfRaster* (*)(const QString*, const QByteArray*, const QByteArray*, int);

// The module's entry, loaded once; the module lives beside this library.
OpenFn Entry()
{
    static OpenFn entry = nullptr;
    static std::once_flag once;
    std::call_once(once, [] {
        Dl_info info{};
        if (!dladdr(reinterpret_cast<void*>(&Entry), &info) || !info.dli_fname)
            return;
        static QLibrary module(QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath() +
                               QStringLiteral("/libreaderraster.so"));
        entry = reinterpret_cast<OpenFn>(module.resolve("stampannot_open_raster"));
        if (!entry)
            qWarning("Pages cannot be drawn: %s", qPrintable(module.errorString()));
    });
    return entry;
}
} // namespace

std::unique_ptr<PdfRaster> PdfRaster::Open(const QString& path, const QByteArray& bytes,
                                           const QByteArray& password, int hints)
{
    const OpenFn open = Entry();
    return std::unique_ptr<PdfRaster>(open ? open(&path, &bytes, &password, hints) : nullptr);
}
