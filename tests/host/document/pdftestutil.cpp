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
