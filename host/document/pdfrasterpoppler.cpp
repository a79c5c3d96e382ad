// The module behind PdfRaster: poppler-qt5 draws the pages.
#include "pdfraster.h"

#include <poppler-qt5.h>

namespace
{
class PopplerRaster : public PdfRaster
{
public:
    explicit PopplerRaster(std::unique_ptr<Poppler::Document> doc) : m_doc(std::move(doc)) {}
    int PageCount() const override { return m_doc->numPages(); }
    QImage Render(int page, double xdpi, double ydpi) override
    {
        if (page < 0 || page >= m_doc->numPages())
            return QImage();
        std::unique_ptr<Poppler::Page> p(m_doc->page(page)); // must not outlive the document
        return p ? p->renderToImage(xdpi, ydpi) : QImage();
    }

private:
    std::unique_ptr<Poppler::Document> m_doc;
};
} // namespace

extern "C" Q_DECL_EXPORT PdfRaster* stampannot_open_raster(const QString* path,
                                                           const QByteArray* bytes,
                                                           const QByteArray* password, int hints)
{
    std::unique_ptr<Poppler::Document> doc(
        bytes->isEmpty() ? Poppler::Document::load(*path, *password, *password)
                         : Poppler::Document::loadFromData(*bytes, *password, *password));
    if (!doc || doc->isLocked())
        return nullptr;
    doc->setRenderHint(Poppler::Document::HideAnnotations, hints & PdfRaster::HideAnnotations);
    doc->setRenderHint(Poppler::Document::IgnorePaperColor, hints & PdfRaster::NoPaper);
    doc->setRenderHint(Poppler::Document::Antialiasing, true);
    doc->setRenderHint(Poppler::Document::TextAntialiasing, true);
    return new PopplerRaster(std::move(doc));
}
