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
