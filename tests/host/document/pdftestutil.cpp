#include "pdftestutil.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>

namespace PdfTestUtil {

int Run(const QString& program, const QStringList& args, QString* output, int timeoutMs)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForStarted(10000))
        return -1;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    if (output)
        *output = QString::fromLocal8Bit(p.readAll());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QImage RenderWithPoppler(const QString& pdf, int page, int dpi)
{
    QTemporaryDir dir;
    const QString prefix = dir.filePath(QStringLiteral("page"));
    if (Run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"),
                                         QString::number(dpi), QStringLiteral("-f"),
                                         QString::number(page), QStringLiteral("-l"),
                                         QString::number(page), QStringLiteral("-singlefile"),
                                         pdf, prefix})
        != 0)
        return QImage();
    return QImage(prefix + QStringLiteral(".png"));
}

bool Near(QRgb pixel, const QColor& colour, int tolerance)
{
    return std::abs(qRed(pixel) - colour.red()) <= tolerance
        && std::abs(qGreen(pixel) - colour.green()) <= tolerance
        && std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

QPoint PixelAt(double x, double y, double W, double H, int rotation, int dpi)
{
    const double q = dpi / 25.4;
    double u = q * x, v = q * y;
    switch (rotation) {
    case 90:
        u = q * (H - y);
        v = q * x;
        break;
    case 180:
        u = q * (W - x);
        v = q * (H - y);
        break;
    case 270:
        u = q * y;
        v = q * (W - x);
        break;
    default:
        break;
    }
    return QPoint(int(std::floor(u)), int(std::floor(v)));
}

QString Sample(const QString& name) { return QDir(QStringLiteral(SAMPLES_DIR)).filePath(name); }

} // namespace PdfTestUtil

namespace PdfTestUtil {

QStringList AnnotSubtypes(const QString& pdf)
{
    QString out;
    const QString script = QDir(QStringLiteral(TESTDATA_DIR)).filePath(QStringLiteral("annots.js"));
    if (Run(QStringLiteral("mutool"), {QStringLiteral("run"), script, pdf}, &out) != 0)
        return {QStringLiteral("mutool failed: ") + out};
    QStringList pages;
    for (const QString& line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const int colon = line.indexOf(QLatin1String(": "));
        if (colon > 0)
            pages << line.mid(colon + 2).trimmed();
        else if (line.endsWith(QLatin1Char(':')))
            pages << QString();
    }
    return pages;
}

QStringList ImageObjects(const QString& pdf, QString* listing)
{
    QString out;
    if (Run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}, &out) != 0)
        return {};
    if (listing)
        *listing = out;
    QStringList objects;
    const QStringList lines = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (int i = 2; i < lines.size(); ++i) {
        const QStringList cols = lines.at(i).simplified().split(QLatin1Char(' '));
        if (cols.size() > 11)
            objects << cols.at(10);
    }
    return objects;
}

bool QpdfCheck(const QString& pdf, QString* output)
{
    QString out;
    const int rc = Run(QStringLiteral("qpdf"), {QStringLiteral("--check"), pdf}, &out);
    if (output)
        *output = out;
    return rc == 0;
}

} // namespace PdfTestUtil

#include <QFile>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

namespace PdfTestUtil {

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString PdfSig(const QString& pdf)
{
    QString out;
    Run(QStringLiteral("pdfsig"), {pdf}, &out);
    return out;
}

QString SignPdf(const QString& in, const QString& out, const QString& workDir, bool linearize)
{
    const QDir dir(workDir);
    const QString key = dir.filePath("key.pem"), cert = dir.filePath("cert.pem");
    if (!QFile::exists(cert)
        && Run("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key,
                           "-out", cert, "-days", "2", "-subj", "/CN=Test Signer"})
               != 0)
        return QStringLiteral("openssl could not make a key");
    const int holder = 8192; // bytes kept for the signature
    try {
        QPDF pdf;
        pdf.processFile(QFile::encodeName(in).constData());
        auto N = [](const char* n) { return QPDFObjectHandle::newName(n); };
        QPDFObjectHandle sig = pdf.makeIndirectObject(QPDFObjectHandle::parse(
            "<< /Type /Sig /Filter /Adobe.PPKLite /SubFilter /adbe.pkcs7.detached "
            "/ByteRange [0 9999999999 9999999999 9999999999] /M (D:20240101120000Z) >>"));
        sig.replaceKey("/Contents", QPDFObjectHandle::newString(std::string(holder, '\0')));
        QPDFObjectHandle page = QPDFPageDocumentHelper(pdf).getAllPages().at(0).getObjectHandle();
        QPDFObjectHandle seal = pdf.newStream(std::string("0 0 1 rg 0 0 100 50 re f\n"));
        seal.getDict().replaceKey("/Type", N("/XObject"));
        seal.getDict().replaceKey("/Subtype", N("/Form"));
        seal.getDict().replaceKey("/BBox", QPDFObjectHandle::parse("[0 0 100 50]"));
        QPDFObjectHandle field = pdf.makeIndirectObject(QPDFObjectHandle::parse(
            "<< /Type /Annot /Subtype /Widget /FT /Sig /T (Signature1) /F 132 "
            "/Rect [50 50 150 100] >>"));
        field.replaceKey("/V", sig);
        field.replaceKey("/P", page);
        QPDFObjectHandle ap = QPDFObjectHandle::newDictionary();
        ap.replaceKey("/N", seal);
        field.replaceKey("/AP", ap);
        if (!page.getKey("/Annots").isArray())
            page.replaceKey("/Annots", QPDFObjectHandle::newArray());
        page.getKey("/Annots").appendItem(field);
        QPDFObjectHandle form = QPDFObjectHandle::parse("<< /SigFlags 3 >>");
        form.replaceKey("/Fields", QPDFObjectHandle::newArray({field}));
        pdf.getRoot().replaceKey("/AcroForm", form);
        const QByteArray name = QFile::encodeName(out);
        QPDFWriter w(pdf, name.constData());
        w.setObjectStreamMode(qpdf_o_preserve);
        w.setLinearization(linearize);
        w.write();
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    }
    QByteArray bytes = ReadFile(out);
    const int start = bytes.indexOf("<" + QByteArray(2 * holder, '0') + ">");
    const int range = bytes.indexOf("9999999999 9999999999 9999999999");
    if (start < 0 || range < 0)
        return QStringLiteral("the placeholders were not found");
    const int end = start + 2 * holder + 2;
    const QByteArray numbers = QByteArray::number(start) + ' ' + QByteArray::number(end) + ' '
                             + QByteArray::number(bytes.size() - end);
    bytes.replace(range, numbers.size(), numbers);
    bytes.replace(range + numbers.size(), 32 - numbers.size(), QByteArray(32 - numbers.size(), ' '));
    const QString data = dir.filePath("signed-data.bin"), der = dir.filePath("sig.der");
    QFile f(data);
    if (!f.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write %1").arg(data);
    f.write(bytes.left(start) + bytes.mid(end));
    f.close();
    if (Run("openssl", {"cms", "-sign", "-binary", "-outform", "DER", "-noattr", "-signer", cert,
                        "-inkey", key, "-in", data, "-out", der})
        != 0)
        return QStringLiteral("openssl could not sign");
    const QByteArray hex = ReadFile(der).toHex();
    if (hex.size() > 2 * holder)
        return QStringLiteral("the signature is too long");
    bytes.replace(start + 1, hex.size(), hex);
    QFile o(out);
    if (!o.open(QIODevice::WriteOnly) || o.write(bytes) != bytes.size())
        return QStringLiteral("cannot write %1").arg(out);
    return QString();
}

} // namespace PdfTestUtil
