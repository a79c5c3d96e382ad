#pragma once
// Pictures as PDF objects, shared by saving and conversion. qpdf headers stay out of the
// model: only the PDF back end and the converter include this.

#include <QByteArray>
#include <QImage>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <string>

namespace PdfImage
{
// A picture's pixels as the image streams will hold them. Making it touches no qpdf
// object, so it may run on another thread while the document is being stamped.
struct EncodedPicture {
    int width = 0, height = 0;
    bool jpeg = false, grey = false;
    std::string colour; // JPEG bytes, or Flate-compressed RGB
    std::string alpha;  // Flate-compressed grey alpha; empty when opaque
};
EncodedPicture Encode(const QByteArray& bytes, const QImage& image);
QPDFObjectHandle MakeImage(QPDF& pdf, const EncodedPicture& encoded);
// An image XObject (indirect) for picture bytes: a JPEG in RGB or grey is stored as it
// is; anything else as Flate-compressed RGB with a /SMask grey image for its alpha.
QPDFObjectHandle MakeImage(QPDF& pdf, const QByteArray& bytes, const QImage& image);
// A form XObject (indirect) with /BBox [0 0 1 1] that draws `image` over the unit square:
// viewers scale it to any annotation rectangle, so one form serves every stamp.
QPDFObjectHandle MakeUnitForm(QPDF& pdf, QPDFObjectHandle image);
// The physical resolution recorded in PNG (pHYs) or JPEG (JFIF) bytes; 0 when none.
double RecordedDpi(const QByteArray& bytes);
} // namespace PdfImage
