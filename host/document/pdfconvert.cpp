#include "pdfconvert.h"

#include "pdfimage.h"
#include "siblingtempfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

namespace PdfConvert {

bool PictureToPdf(const QString& picturePath, const QString& pdfPath, QString* error)
{
    auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    QFile in(picturePath);
    if (!in.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("The picture %1 cannot be read.").arg(picturePath));
    const QByteArray bytes = in.readAll();
    const QImage image = QImage::fromData(bytes);
    if (image.isNull())
        return fail(QStringLiteral("%1 is not a picture.").arg(picturePath));
    double dpi = PdfImage::RecordedDpi(bytes);
    if (!(dpi >= 1 && dpi <= 100000))
        dpi = 96;
    const double w = image.width() * 72.0 / dpi, h = image.height() * 72.0 / dpi;

    SiblingTempFile file(pdfPath);
    QString message;
    if (!file.Reserve(&message))
        return fail(message);
    const QString temp = file.Path();
    try {
        QPDF pdf;
        pdf.emptyPDF();
        // JPEG and PNG bytes go in as they are where PDF can hold them (see MakeImage);
        // other formats Qt reads are stored from the decoded picture.
        const bool native = bytes.startsWith(QByteArray("\x89PNG", 4))
                         || bytes.startsWith(QByteArray("\xFF\xD8\xFF", 3));
        QPDFObjectHandle img = PdfImage::MakeImage(pdf, native ? bytes : QByteArray(), image);
        QPDFObjectHandle xobjects = QPDFObjectHandle::newDictionary();
        xobjects.replaceKey("/Im0", img);
        QPDFObjectHandle resources = QPDFObjectHandle::newDictionary();
        resources.replaceKey("/XObject", xobjects);
        QPDFObjectHandle page = QPDFObjectHandle::newDictionary();
        page.replaceKey("/Type", QPDFObjectHandle::newName("/Page"));
        page.replaceKey("/MediaBox",
                        QPDFObjectHandle::newArray(QPDFObjectHandle::Rectangle(0, 0, w, h)));
        page.replaceKey("/Resources", resources);
        const QByteArray content = QByteArray("q ") + QByteArray::number(w, 'f', 4) + " 0 0 "
                                 + QByteArray::number(h, 'f', 4) + " 0 0 cm /Im0 Do Q\n";
        page.replaceKey("/Contents", pdf.newStream(content.toStdString()));
        QPDFPageDocumentHelper(pdf).addPage(QPDFPageObjectHelper(pdf.makeIndirectObject(page)),
                                            false);
        // qpdf keeps the name it is given: the bytes must outlive the writer.
        const QByteArray tempName = QFile::encodeName(temp);
        QPDFWriter writer(pdf, tempName.constData());
        writer.write();
        QPDF check;
        check.setSuppressWarnings(true);
        check.processFile(tempName.constData());
        if (QPDFPageDocumentHelper(check).getAllPages().size() != 1)
            throw std::runtime_error("the written file has no page");
    } catch (const std::exception& e) {
        return fail(QStringLiteral("The PDF could not be written: %1").arg(QString::fromLocal8Bit(e.what())));
    }
    if (!file.Commit(&message))
        return fail(message);
    return true;
}

} // namespace PdfConvert
