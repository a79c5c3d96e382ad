#include "g_application.h"

#include "pdfconvert.h"

#include <QFileInfo>

bool G_ConvertService::ConvertFile(G_EngineHandle /*handle*/, const wchar_t* source,
                                   const wchar_t* destination,
                                   const NexSharedPtr<const NexJson>& /*options*/)
{
    if (!source || !destination)
        return false;
    const QString from = QString::fromWCharArray(source);
    const QString to = QString::fromWCharArray(destination);
    const QString suffix = QFileInfo(to).suffix().toLower();
    if (suffix == QLatin1String("pdf"))
        return PdfConvert::PictureToPdf(from, to, nullptr);
    return false; // OFD output is not written yet
}
