#include "g_application.h"

#include "ofdwriter.h"
#include "pdfconvert.h"
#include "pdfimage.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>

namespace
{
// A one-page OFD whose page is the picture at its physical size.
bool PictureToOfd(const QString& from, const QString& to, QString* error)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("The picture %1 cannot be read.").arg(from);
        return false;
    }
    QByteArray bytes = in.readAll();
    const QImage image = QImage::fromData(bytes);
    if (image.isNull()) {
        *error = QStringLiteral("%1 is not a picture.").arg(from);
        return false;
    }
    double dpi = PdfImage::RecordedDpi(bytes);
    if (!(dpi >= 1 && dpi <= 100000))
        dpi = 96;
    QByteArray format;
    if (bytes.startsWith(QByteArray("\x89PNG", 4))) {
        format = "PNG";
    } else if (bytes.startsWith(QByteArray("\xFF\xD8\xFF", 3))) {
        format = "JPEG";
    } else { // other formats Qt reads are stored as PNG
        bytes.clear();
        QBuffer buffer(&bytes);
        if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
            *error = QStringLiteral("The picture %1 cannot be converted.").arg(from);
            return false;
        }
        format = "PNG";
    }
    const QSizeF mm(image.width() * 25.4 / dpi, image.height() * 25.4 / dpi);
    OfdWriter writer(mm);
    writer.SetTitle(QFileInfo(from).completeBaseName());
    writer.AddImage(QRectF(QPointF(0, 0), mm), writer.AddImage(bytes, format));
    return writer.Save(to, error);
}
} // namespace

bool G_ConvertService::ConvertFile(G_EngineHandle /*handle*/, const wchar_t* source,
                                   const wchar_t* destination,
                                   const NexSharedPtr<const NexJson>& /*options*/)
{
    if (!source || !destination)
        return false;
    const QString from = QString::fromWCharArray(source);
    const QString to = QString::fromWCharArray(destination);
    const QString suffix = QFileInfo(to).suffix().toLower();
    QString error; // the service answers by its result alone
    bool ok = false;
    if (suffix == QLatin1String("pdf"))
        ok = PdfConvert::PictureToPdf(from, to, &error);
    else if (suffix == QLatin1String("ofd"))
        ok = PictureToOfd(from, to, &error);
    else
        error = QStringLiteral("%1: only PDF and OFD files can be written.").arg(to);
    return ok;
}
