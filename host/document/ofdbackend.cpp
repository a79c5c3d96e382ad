#include "ofdbackend.h"

#include "ofdpackage.h"
#include "ofdrender.h"
#include "readerdocument.h"
#include "readerpage.h"

#include <QFileInfo>
#include <QPainter>
#include <cmath>

namespace
{
// A page picture larger than this is drawn at a lower resolution and scaled up.
constexpr double kMaxRasterPixels = 64.0 * 1000 * 1000;
} // namespace

std::unique_ptr<ReaderDocument> OfdBackend::Open(const QString& path, QString* error)
{
    auto fail = [error, &path](const QString& why) {
        if (error)
            *error = QStringLiteral("The file %1 cannot be opened as an OFD document: %2.")
                         .arg(path, why);
        return std::unique_ptr<ReaderDocument>();
    };
    const QFileInfo info(path);
    if (!info.exists())
        return fail(QStringLiteral("it does not exist"));
    if (!info.isFile())
        return fail(QStringLiteral("it is not a file"));
    auto backend = std::make_unique<OfdBackend>();
    OfdPackage package;
    QString why;
    if (!package.OpenFile(path, &why) || !OfdReader::Read(package, &backend->m_data, &why))
        return fail(why);
    auto doc = std::make_unique<ReaderDocument>();
    for (const OfdPageData& page : qAsConst(backend->m_data.pages))
        doc->AppendPage(CCA_GSize(float(page.size.width()), float(page.size.height())),
                        page.rotation);
    doc->SetPath(info.absoluteFilePath());
    doc->SetFileWritable(info.isWritable() && QFileInfo(info.absolutePath()).isWritable());
    doc->SetBackend(std::move(backend));
    return doc;
}

bool OfdBackend::LoadPage(ReaderPage* /*page*/)
{
    return true; // annotations of the package are not read into the model
}

QImage OfdBackend::PageImage(int pageIndex, int dpi)
{
    if (pageIndex < 0 || pageIndex >= m_data.pages.size() || dpi <= 0)
        return QImage();
    if (pageIndex == m_cachedPage && dpi == m_cachedDpi)
        return m_cached;
    const OfdPageData& page = m_data.pages.at(pageIndex);
    const bool swap = page.rotation == 90 || page.rotation == 270;
    const double w = swap ? page.size.height() : page.size.width();
    const double h = swap ? page.size.width() : page.size.height();
    double q = dpi / 25.4;
    const double area = w * q * h * q;
    if (area > kMaxRasterPixels)
        q *= std::sqrt(kMaxRasterPixels / area);
    const QSize size(std::max(1, int(std::ceil(w * q))), std::max(1, int(std::ceil(h * q))));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return QImage();
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.setTransform(ReaderPage::RotatedTransform(
        float(page.size.width()), float(page.size.height()), page.rotation, q, q, 0, 0));
    OfdRender::DrawPage(&painter, page, m_data);
    painter.end();
    m_cachedPage = pageIndex;
    m_cachedDpi = dpi;
    m_cached = image;
    return image;
}

QImage OfdBackend::AnnotAppearance(const ReaderAnnot* /*annot*/)
{
    return QImage();
}

bool OfdBackend::Save(ReaderDocument* doc, const QString& /*path*/, QString* error,
                      G_SaveReport* /*report*/)
{
    if (error)
        *error = QStringLiteral("%1 is an OFD document, which this reader shows but does not "
                                "save. Your changes stay in the open document.")
                     .arg(doc ? doc->Path() : QString());
    return false;
}
