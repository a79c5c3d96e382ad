#include "pdfimage.h"

#include <QtEndian>
#include <qpdf/QUtil.hh>

namespace
{
// zlib stream of `data` (qCompress puts a 4-byte length before the zlib stream).
std::string Deflate(const QByteArray& data)
{
    const QByteArray z = qCompress(data, 6);
    return z.size() > 4 ? std::string(z.constData() + 4, size_t(z.size() - 4)) : std::string();
}

// Number of colour components of a baseline or progressive JPEG; 0 when unreadable.
int JpegComponents(const QByteArray& b)
{
    int i = 2;
    while (i + 9 < b.size()) {
        if (uchar(b[i]) != 0xFF)
            return 0;
        const uchar marker = uchar(b[i + 1]);
        if (marker == 0xFF) {
            ++i;
            continue;
        }
        const int len = (uchar(b[i + 2]) << 8) | uchar(b[i + 3]);
        if ((marker >= 0xC0 && marker <= 0xCF) && marker != 0xC4 && marker != 0xC8 &&
            marker != 0xCC)
            return uchar(b[i + 9]);
        i += 2 + len;
    }
    return 0;
}

QPDFObjectHandle ImageDict(int width, int height, const char* colourSpace, const char* filter)
{
    QPDFObjectHandle dict = QPDFObjectHandle::newDictionary();
    dict.replaceKey("/Type", QPDFObjectHandle::newName("/XObject"));
    dict.replaceKey("/Subtype", QPDFObjectHandle::newName("/Image"));
    dict.replaceKey("/Width", QPDFObjectHandle::newInteger(width));
    dict.replaceKey("/Height", QPDFObjectHandle::newInteger(height));
    dict.replaceKey("/ColorSpace", QPDFObjectHandle::newName(colourSpace));
    dict.replaceKey("/BitsPerComponent", QPDFObjectHandle::newInteger(8));
    dict.replaceKey("/Filter", QPDFObjectHandle::newName(filter));
    return dict;
}
} // namespace

namespace PdfImage
{

EncodedPicture Encode(const QByteArray& bytes, const QImage& image)
{
    EncodedPicture e;
    e.width = image.width();
    e.height = image.height();
    const bool jpeg = bytes.startsWith(QByteArray("\xFF\xD8\xFF", 3));
    const int components = jpeg ? JpegComponents(bytes) : 0;
    if (jpeg && (components == 1 || components == 3)) {
        e.jpeg = true;
        e.grey = components == 1;
        e.colour = std::string(bytes.constData(), size_t(bytes.size()));
        return e;
    }
    const int w = e.width, h = e.height;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QByteArray rgb(w * h * 3, Qt::Uninitialized);
    QByteArray alpha(w * h, Qt::Uninitialized);
    bool opaque = true;
    char* out = rgb.data();
    char* a = alpha.data();
    for (int y = 0; y < h; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb px = line[x];
            *out++ = char(qRed(px));
            *out++ = char(qGreen(px));
            *out++ = char(qBlue(px));
            *a++ = char(qAlpha(px));
            opaque = opaque && qAlpha(px) == 255;
        }
    }
    if (!opaque && image.hasAlphaChannel())
        e.alpha = Deflate(alpha);
    e.colour = Deflate(rgb);
    return e;
}

QPDFObjectHandle MakeImage(QPDF& pdf, const EncodedPicture& e)
{
    if (e.jpeg) {
        QPDFObjectHandle img = pdf.newStream();
        img.replaceDict(
            ImageDict(e.width, e.height, e.grey ? "/DeviceGray" : "/DeviceRGB", "/DCTDecode"));
        img.replaceStreamData(e.colour, QPDFObjectHandle::newName("/DCTDecode"),
                              QPDFObjectHandle::newNull());
        return img;
    }
    const QPDFObjectHandle flate = QPDFObjectHandle::newName("/FlateDecode");
    QPDFObjectHandle dict = ImageDict(e.width, e.height, "/DeviceRGB", "/FlateDecode");
    if (!e.alpha.empty()) {
        QPDFObjectHandle mask = pdf.newStream();
        mask.replaceDict(ImageDict(e.width, e.height, "/DeviceGray", "/FlateDecode"));
        mask.replaceStreamData(e.alpha, flate, QPDFObjectHandle::newNull());
        dict.replaceKey("/SMask", mask);
    }
    QPDFObjectHandle img = pdf.newStream();
    img.replaceDict(dict);
    img.replaceStreamData(e.colour, flate, QPDFObjectHandle::newNull());
    return img;
}

QPDFObjectHandle MakeImage(QPDF& pdf, const QByteArray& bytes, const QImage& image)
{
    return MakeImage(pdf, Encode(bytes, image));
}

QPDFObjectHandle MakeUnitForm(QPDF& pdf, QPDFObjectHandle image)
{
    QPDFObjectHandle form = pdf.newStream();
    QPDFObjectHandle dict = QPDFObjectHandle::newDictionary();
    dict.replaceKey("/Type", QPDFObjectHandle::newName("/XObject"));
    dict.replaceKey("/Subtype", QPDFObjectHandle::newName("/Form"));
    dict.replaceKey("/BBox", QPDFObjectHandle::newArray(QPDFObjectHandle::Rectangle(0, 0, 1, 1)));
    QPDFObjectHandle xobjects = QPDFObjectHandle::newDictionary();
    xobjects.replaceKey("/Im0", image);
    QPDFObjectHandle resources = QPDFObjectHandle::newDictionary();
    resources.replaceKey("/XObject", xobjects);
    dict.replaceKey("/Resources", resources);
    form.replaceDict(dict);
    form.replaceStreamData("/Im0 Do\n", QPDFObjectHandle::newNull(), QPDFObjectHandle::newNull());
    return form;
}

double RecordedDpi(const QByteArray& b)
{
    if (b.startsWith(QByteArray("\x89PNG\r\n\x1a\n", 8))) {
        int i = 8;
        while (i + 12 <= b.size()) {
            const quint32 len = qFromBigEndian<quint32>(b.constData() + i);
            const QByteArray type = b.mid(i + 4, 4);
            if (type == "pHYs" && len >= 9 && i + 8 + 9 <= b.size()) {
                const quint32 ppuX = qFromBigEndian<quint32>(b.constData() + i + 8);
                const uchar unit = uchar(b[i + 16]);
                if (unit == 1 && ppuX > 0) // pixels per metre
                    return ppuX * 0.0254;
                return 0;
            }
            if (type == "IDAT" || type == "IEND" || len > quint32(b.size()))
                return 0;
            i += 12 + int(len);
        }
        return 0;
    }
    if (b.startsWith(QByteArray("\xFF\xD8\xFF", 3))) {
        int i = 2;
        while (i + 4 < b.size() && uchar(b[i]) == 0xFF) {
            const uchar marker = uchar(b[i + 1]);
            const int len = (uchar(b[i + 2]) << 8) | uchar(b[i + 3]);
            if (marker == 0xE0 && len >= 14 && i + 4 + 12 <= b.size() &&
                b.mid(i + 4, 5) == QByteArray("JFIF\0", 5)) {
                const uchar units = uchar(b[i + 11]);
                const int xDensity = (uchar(b[i + 12]) << 8) | uchar(b[i + 13]);
                if (xDensity <= 0)
                    return 0;
                if (units == 1)
                    return xDensity;
                if (units == 2)
                    return xDensity * 2.54;
                return 0;
            }
            if (marker == 0xDA || len < 2)
                return 0;
            i += 2 + len;
        }
    }
    return 0;
}

} // namespace PdfImage
