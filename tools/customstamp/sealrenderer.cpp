#include "sealrenderer.h"

#include "sealdesign.h"

#include "host/document/ofdpackage.h"
#include "host/document/ofdreader.h"
#include "host/document/ofdrender.h"
#include "host/sealmaker/isealmaker.h"
#include "host/utils/nex_path.h"

#include <QCoreApplication>
#include <QFile>
#include <QPainter>
#include <QPolygonF>
#include <cmath>

namespace
{
// The library exports C++ functions; these are their names under the platform's C++ ABI.
constexpr const char* kCreateSymbol = "_ZN3SMK15CreateSealMakerEv";
constexpr const char* kDestroySymbol = "_ZN3SMK16DestorySealMakerEPNS_10ISealMakerE";
} // namespace

QString SealRenderer::LibraryPath()
{
    // Beside the program in the build tree, in the reader's library folder when installed.
#ifdef Q_OS_WIN
    return Utils::Nex_Path::LibraryPath() + QStringLiteral("sealmaker.dll");
#else
    return Utils::Nex_Path::LibraryPath() + QStringLiteral("libsealmaker.so");
#endif
}

SealRenderer::SealRenderer() : m_library(LibraryPath())
{
    if (!QFile::exists(LibraryPath())) {
        m_loadError = QStringLiteral("The seal maker library %1 is missing: reinstall the "
                                     "reader.")
                          .arg(LibraryPath());
        return;
    }
    if (!m_library.load()) {
        m_loadError = QStringLiteral("The seal maker library %1 could not be loaded: %2")
                          .arg(LibraryPath(), m_library.errorString());
        return;
    }
    m_create = reinterpret_cast<CreateFn>(m_library.resolve(kCreateSymbol));
    m_destroy = reinterpret_cast<DestroyFn>(m_library.resolve(kDestroySymbol));
    if (!IsLoaded())
        m_loadError = QStringLiteral("%1 is not a seal maker library.").arg(LibraryPath());
}

bool SealRenderer::WriteStar(const QColor& colour, const QString& path) const
{
    const int side = 512;
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const double radius = (i % 2 ? 0.19 : 0.5) * side;
        const double angle = i * M_PI / 5;
        star << QPointF(side / 2 + radius * std::sin(angle),
                        side * 0.55 - radius * std::cos(angle));
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(star);
    painter.end();
    return image.save(path, "PNG");
}

QImage SealRenderer::Render(const SealDesign& design, double dotsPerInch, QString* error)
{
    if (!IsLoaded()) {
        *error = m_loadError;
        return QImage();
    }
    if (!design.Check(error))
        return QImage();
    if (!m_work.isValid()) {
        *error = QStringLiteral("No temporary folder for the seal: %1").arg(m_work.errorString());
        return QImage();
    }
    const QString starPath = m_work.filePath(QStringLiteral("star.png"));
    if (design.star && !WriteStar(design.colour, starPath)) {
        *error = QStringLiteral("Could not write the star picture %1.").arg(starPath);
        return QImage();
    }
    const SMK::SealDescription description = design.Description(design.star ? starPath : "");
    const QString documentPath = m_work.filePath(QStringLiteral("seal.ofd"));
    SMK::ISealMaker* maker = m_create();
    if (!maker) {
        *error = QStringLiteral("The seal maker library did not start.");
        return QImage();
    }
    maker->SetSealDescription(&description);
    const bool saved = maker->SaveSealDocument(documentPath.toUtf8().constData());
    m_destroy(maker);
    OfdPackage package;
    OfdDocumentData document;
    QString why;
    if (!saved || !package.OpenFile(documentPath, &why) ||
        !OfdReader::Read(package, &document, &why) || document.pages.isEmpty()) {
        *error = QStringLiteral("The seal maker could not make this seal%1")
                     .arg(why.isEmpty() ? QStringLiteral(".") : QStringLiteral(": ") + why);
        return QImage();
    }
    const OfdPageData& page = document.pages.first();
    const double scale = dotsPerInch / 25.4;
    // Whole pixels that cover the page; rounding noise must not add one.
    const QSize pixels(int(std::ceil(page.size.width() * scale - 1e-6)),
                       int(std::ceil(page.size.height() * scale - 1e-6)));
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        *error = QStringLiteral("Not enough memory for a %1 × %2 picture.")
                     .arg(pixels.width())
                     .arg(pixels.height());
        return QImage();
    }
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(scale, scale);
    OfdRender::DrawPage(&painter, page, document);
    painter.end();
    const int dotsPerMetre = int(std::lround(dotsPerInch / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    return image;
}
