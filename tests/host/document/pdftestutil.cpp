#include "pdftestutil.h"

#include "host/document/ica_streamreader.h"

#include <QDir>
#include <QProcess>
#include <cmath>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

namespace PdfTestUtil
{

int Run(const QString& program, const QStringList& args, QString* output)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    const bool done = p.waitForStarted(10000) && p.waitForFinished(60000);
    if (!done)
        p.kill();
    if (output)
        *output = QString::fromLocal8Bit(p.readAll());
    return done && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QString Sample(const QString& name)
{
    return QDir(QStringLiteral(SAMPLES_DIR)).filePath(name);
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

std::unique_ptr<IG_Document> OpenPdf(const QString& path, const QString& password)
{
    QString error;
    std::unique_ptr<IG_Document> doc(DocumentIO::Open(path, password, &error));
    if (!doc)
        qWarning("%s", qPrintable(error));
    return doc;
}

int AddSeal(IG_Document* doc, const QString& name)
{
    const std::wstring path = Sample(name).toStdWString();
    ICA_StreamReader* s = ICA_StreamReader::CreateFileStreamReader(path.c_str(), 0);
    const int id = s ? doc->AddResource(s, 1, 0) : 0;
    if (s)
        s->Release();
    return id;
}

std::string StampJson(int resourceId, bool runTime)
{
    return QStringLiteral(
               "{\"RunTime\":%1,\"SubType\":\"Stamp\",\"Appearance\":[{\"Type\":"
               "\"Image\",\"ResourceID\":%2,\"Width\":40,\"Height\":30,\"RunTime\":%1}]}")
        .arg(runTime ? "true" : "false")
        .arg(resourceId)
        .toStdString();
}

CCA_GRect CornerRect(const IG_Page* page)
{
    const float x = page->Width() - 46, y = page->Height() - 36;
    return CCA_GRect(x, y, x + 40, y + 30);
}

IG_Annot* Stamp(IG_Page* page, int res, const CCA_GRect& rect, bool runTime)
{
    IG_Annot* a = page->NewAnnot(G_AnnotType_Stamp, "Stamp", rect, StampJson(res, runTime));
    if (a) {
        a->SetCreator("tester");
        a->SetCreationDate("2024-05-06 07:08:09");
    }
    return a;
}

QImage RenderModel(IG_Page* page, int dpi, int flags)
{
    const double q = dpi / 25.4;
    const bool swap = page->Rotation() == 90 || page->Rotation() == 270;
    const int w = int(std::lround((swap ? page->Height() : page->Width()) * q));
    const int h = int(std::lround((swap ? page->Width() : page->Height()) * q));
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::gray);
    QPainter p(&image);
    CCA_Matrix m;
    page->DisplayMatrix(&m, 0, 0, w, h, 0);
    page->Render(&p, m, flags);
    return image;
}

QImage RenderWithPoppler(const QString& pdf, int page, int dpi)
{
    QTemporaryDir dir;
    const QString prefix = dir.filePath(QStringLiteral("page")), n = QString::number(page);
    const QStringList args{"-png", "-cropbox", "-singlefile", "-r",  QString::number(dpi), "-f", n,
                           "-l",   n,          pdf,           prefix};
    return Run("pdftoppm", args) == 0 ? QImage(prefix + ".png") : QImage();
}

bool Near(QRgb pixel, const QColor& colour, int tolerance)
{
    return std::abs(qRed(pixel) - colour.red()) <= tolerance &&
           std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
           std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

QPoint PixelAt(double x, double y, double W, double H, int rotation, int dpi)
{
    const double q = dpi / 25.4;
    const QPointF p = rotation == 90    ? QPointF(H - y, x)
                      : rotation == 180 ? QPointF(W - x, H - y)
                      : rotation == 270 ? QPointF(y, W - x)
                                        : QPointF(x, y);
    return QPoint(int(std::floor(q * p.x())), int(std::floor(q * p.y())));
}

QStringList AnnotSubtypes(const QString& pdf, const QString& password)
{
    QString out;
    const QString script = QDir(QStringLiteral(TESTDATA_DIR)).filePath("annots.js");
    if (Run("mutool", {"run", script, pdf, password}, &out) != 0)
        return {"mutool failed: " + out};
    QStringList pages;
    for (const QString& line : out.split('\n', Qt::SkipEmptyParts))
        pages << line.section(':', 1).trimmed();
    return pages;
}

QStringList ImageObjects(const QString& pdf, QString* listing)
{
    QString out;
    if (Run("pdfimages", {"-list", pdf}, &out) != 0)
        return {};
    if (listing)
        *listing = out;
    QStringList objects;
    for (const QString& line : out.split('\n', Qt::SkipEmptyParts).mid(2)) {
        const QStringList cols = line.simplified().split(' ');
        if (cols.size() > 11)
            objects << cols.at(10);
    }
    return objects;
}

bool QpdfCheck(const QString& pdf, QString* output, const QString& password)
{
    QStringList args{"--check", pdf};
    if (!password.isEmpty())
        args << "--password=" + password;
    return Run("qpdf", args, output) == 0;
}

QString SaveChecked(IG_Document* doc, const QString& out, G_SaveReport* report)
{
    QString error;
    if (!doc->SaveAs(out, &error, report))
        return error.isEmpty() ? QStringLiteral("failed without a message") : error;
    return QpdfCheck(out, &error) ? QString() : error;
}

bool SameRect(const CCA_GRect& a, const CCA_GRect& b, double tolerance)
{
    return qAbs(a.left - b.left) < tolerance && qAbs(a.top - b.top) < tolerance &&
           qAbs(a.right - b.right) < tolerance && qAbs(a.bottom - b.bottom) < tolerance;
}

QString PdfSig(const QString& pdf, const QString& password)
{
    QString out;
    Run("pdfsig", password.isEmpty() ? QStringList{pdf} : QStringList{"-upw", password, pdf}, &out);
    return out;
}

QString SignPdf(const QString& in, const QString& out, const QString& workDir, bool linearize,
                const QString& password)
{
    const QDir dir(workDir);
    const QString key = dir.filePath("key.pem"), cert = dir.filePath("cert.pem");
    if (!QFile::exists(cert) &&
        Run("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out",
                        cert, "-days", "2", "-subj", "/CN=Test Signer"}) != 0)
        return QStringLiteral("openssl could not make a key");
    const int holder = 8192; // bytes kept for the signature
    try {
        QPDF pdf;
        pdf.processFile(QFile::encodeName(in).constData(), password.toUtf8().constData());
        QPDFObjectHandle sig = pdf.makeIndirectObject(QPDFObjectHandle::parse(
            "<< /Type /Sig /Filter /Adobe.PPKLite /SubFilter /adbe.pkcs7.detached "
            "/ByteRange [0 9999999999 9999999999 9999999999] /M (D:20240101120000Z) >>"));
        sig.replaceKey("/Contents", QPDFObjectHandle::newString(std::string(holder, '\0')));
        QPDFObjectHandle page = QPDFPageDocumentHelper(pdf).getAllPages().at(0).getObjectHandle();
        QPDFObjectHandle seal = pdf.newStream(std::string("0 0 1 rg 0 0 100 50 re f\n"));
        seal.replaceDict(QPDFObjectHandle::parse("<< /Subtype /Form /BBox [0 0 100 50] >>"));
        QPDFObjectHandle field = pdf.makeIndirectObject(QPDFObjectHandle::parse(
            "<< /Type /Annot /Subtype /Widget /FT /Sig /T (Signature1) /F 132 "
            "/Rect [50 50 150 100] /AP << >> >>"));
        field.replaceKey("/V", sig);
        field.replaceKey("/P", page);
        field.getKey("/AP").replaceKey("/N", seal);
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
    const QByteArray numbers = QByteArray::number(start) + ' ' + QByteArray::number(end) + ' ' +
                               QByteArray::number(bytes.size() - end);
    bytes.replace(range, 32, numbers.leftJustified(32, ' '));
    const QString data = dir.filePath("signed-data.bin"), der = dir.filePath("sig.der");
    if (!WriteFile(data, bytes.left(start) + bytes.mid(end)) ||
        Run("openssl", {"cms", "-sign", "-binary", "-outform", "DER", "-noattr", "-signer", cert,
                        "-inkey", key, "-in", data, "-out", der}) != 0)
        return QStringLiteral("openssl could not sign");
    const QByteArray hex = ReadFile(der).toHex();
    if (hex.size() > 2 * holder)
        return QStringLiteral("the signature is too long");
    bytes.replace(start + 1, hex.size(), hex);
    return WriteFile(out, bytes) ? QString() : QStringLiteral("cannot write %1").arg(out);
}

} // namespace PdfTestUtil
