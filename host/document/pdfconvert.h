#pragma once

#include <QString>

namespace PdfConvert {
// Writes a one-page PDF showing the picture at its physical size (the resolution recorded
// in the file, 96 dpi when it has none). False with a message when it cannot.
bool PictureToPdf(const QString& picturePath, const QString& pdfPath, QString* error);
}
