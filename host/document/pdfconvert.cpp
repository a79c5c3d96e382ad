#include "pdfconvert.h"

namespace PdfConvert {
bool PictureToPdf(const QString&, const QString&, QString* error)
{
    if (error)
        *error = QStringLiteral("not yet");
    return false;
}
} // namespace PdfConvert
