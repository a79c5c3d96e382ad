#include "readerpage.h"

#include "documentbackend.h"
#include "readerannot.h"
#include "readerdocument.h"
#include "readerlayer.h"

#include <QPainter>
#include <QUuid>
#include <cmath>

namespace
{
int NormalisedRotation(int degrees)
{
    int r = degrees % 360;
    if (r < 0)
        r += 360;
    // Only quarter turns exist for pages; round anything else to the nearest one.
    return ((r + 45) / 90 % 4) * 90;
}

QTransform ToQTransform(const CCA_Matrix& m)
{
    return QTransform(m.a, m.b, m.c, m.d, m.e, m.f);
}
} // namespace

ReaderPage::ReaderPage(ReaderDocument* doc, int index, const CCA_GSize& sizeMm, int rotation)
    : m_doc(doc), m_index(index), m_size(sizeMm), m_rotation(NormalisedRotation(rotation))
{
    m_layers.push_back(std::make_unique<ReaderLayer>(this)); // the original content
}

ReaderPage::~ReaderPage() = default;

IG_Document* ReaderPage::Document() const
{
    return m_doc;
}

bool ReaderPage::Load()
{
    return EnsureLoaded();
}

bool ReaderPage::EnsureLoaded() const
{
    if (m_loaded)
        return true;
    auto* self = const_cast<ReaderPage*>(this);
    if (m_loading) // a back end asking for the page while it fills it
        return true;
    self->m_loading = true;
    bool ok = true;
    if (DocumentBackend* backend = m_doc->Backend())
        ok = backend->LoadPage(self);
    self->m_loading = false;
    self->m_loaded = true; // a page that failed to load stays empty rather than retrying
    return ok;
}

QTransform ReaderPage::RotatedTransform(float widthMm, float heightMm, int rotation, double sx,
                                        double sy, double left, double top)
{
    const double W = widthMm, H = heightMm;
    switch (NormalisedRotation(rotation)) {
    case 90: // u = sx(H − Y), v = sy·X
        return QTransform(0, sy, -sx, 0, left + sx * H, top);
    case 180: // u = sx(W − X), v = sy(H − Y)
        return QTransform(-sx, 0, 0, -sy, left + sx * W, top + sy * H);
    case 270: // u = sx·Y, v = sy(W − X)
        return QTransform(0, -sy, sx, 0, left, top + sy * W);
    default:
        return QTransform(sx, 0, 0, sy, left, top);
    }
}

void ReaderPage::DisplayMatrix(CCA_Matrix* out, int left, int top, int width, int height,
                               int rotate) const
{
    if (!out)
        return;
    const int r = NormalisedRotation(m_rotation + rotate);
    const bool swap = r == 90 || r == 270;
    const double rw = swap ? m_size.height : m_size.width;
    const double rh = swap ? m_size.width : m_size.height;
    const double sx = rw > 0 ? width / rw : 0;
    const double sy = rh > 0 ? height / rh : 0;
    const QTransform t = RotatedTransform(m_size.width, m_size.height, r, sx, sy, left, top);
    out->a = float(t.m11());
    out->b = float(t.m12());
    out->c = float(t.m21());
    out->d = float(t.m22());
    out->e = float(t.dx());
    out->f = float(t.dy());
}

int ReaderPage::LayerCount() const
{
    return int(m_layers.size());
}

IG_Layer* ReaderPage::LayerAt(int index) const
{
    return Layer(index);
}

ReaderLayer* ReaderPage::Layer(int index) const
{
    if (index < 0 || index >= int(m_layers.size()))
        return nullptr;
    return m_layers[size_t(index)].get();
}

IG_Layer* ReaderPage::NewLayer(int position)
{
    EnsureLoaded();
    auto layer = std::make_unique<ReaderLayer>(this);
    ReaderLayer* raw = layer.get();
    // The original content stays first: a new layer goes at 1 at the earliest.
    if (position < 0 || position >= int(m_layers.size()))
        m_layers.push_back(std::move(layer));
    else
        m_layers.insert(m_layers.begin() + std::max(1, position), std::move(layer));
    m_doc->Changed(false);
    return raw;
}

int ReaderPage::IndexOfLayer(const ReaderLayer* layer) const
{
    for (size_t i = 0; i < m_layers.size(); ++i)
        if (m_layers[i].get() == layer)
            return int(i);
    return -1;
}

QList<ReaderAnnot*> ReaderPage::Annots() const
{
    EnsureLoaded();
    return m_annots;
}

int ReaderPage::AnnotCount() const
{
    EnsureLoaded();
    return m_annots.size();
}

IG_Annot* ReaderPage::AnnotAt(int index) const
{
    EnsureLoaded();
    return index >= 0 && index < m_annots.size() ? m_annots.at(index) : nullptr;
}

IG_Annot* ReaderPage::AnnotById(unsigned int id) const
{
    EnsureLoaded();
    for (ReaderAnnot* a : m_annots)
        if (a->ID() == id)
            return a;
    return nullptr;
}

ReaderAnnot* ReaderPage::AddLoadedAnnot(G_AnnotType type)
{
    auto annot = std::make_unique<ReaderAnnot>(this, m_doc->NextAnnotId(), type);
    ReaderAnnot* raw = m_doc->Adopt(std::move(annot));
    m_annots.append(raw);
    return raw;
}

IG_Annot* ReaderPage::NewAnnot(G_AnnotType type, const CCA_String& subType, const CCA_GRect& rect,
                               const std::string& contentJson)
{
    // The model makes stamps; other kinds have no appearance it could draw or save.
    if (type != G_AnnotType_Stamp)
        return nullptr;
    if (!std::isfinite(rect.left) || !std::isfinite(rect.top) || !std::isfinite(rect.right) ||
        !std::isfinite(rect.bottom))
        return nullptr;
    const ReaderDocument::StampContent& content = m_doc->ParseStampContent(contentJson);
    if (!content.valid)
        return nullptr;
    EnsureLoaded();
    const bool runTime = content.runTime;
    const int resourceId = content.resourceId;
    CCA_String sub = subType;
    if (sub.IsEmpty())
        sub = CCA_String(content.subType);

    // A stamp whose picture is missing (a preview made before the picture is embedded,
    // or a stale identifier) is still made: it shows a frame until it has a picture.
    auto annot = std::make_unique<ReaderAnnot>(this, m_doc->NextAnnotId(), type);
    annot->InitRect(CCA_GRect(std::min(rect.left, rect.right), std::min(rect.top, rect.bottom),
                              std::max(rect.left, rect.right), std::max(rect.top, rect.bottom)));
    annot->InitText(sub, CCA_String(), CCA_String());
    annot->SetContent(contentJson);
    annot->SetRunTime(runTime);
    annot->SetResourceID(resourceId);
    annot->SetUniqueName(QStringLiteral("stampannot-") +
                         QUuid::createUuid().toString(QUuid::WithoutBraces));
    ReaderAnnot* raw = m_doc->Adopt(std::move(annot));
    m_annots.append(raw);
    m_doc->Changed(!runTime);
    return raw;
}

bool ReaderPage::RemoveAnnot(unsigned int id, bool /*reserved*/)
{
    EnsureLoaded();
    for (int i = 0; i < m_annots.size(); ++i) {
        ReaderAnnot* a = m_annots.at(i);
        if (a->ID() == id) {
            if (a->IsSignature())
                return false; // a signature's seal stays with its signature
            m_annots.removeAt(i);
            a->SetOnPage(false);
            m_doc->Changed(!a->IsRunTime());
            return true;
        }
    }
    return false;
}

bool ReaderPage::RestoreAnnot(IG_Annot* annot)
{
    auto* a = dynamic_cast<ReaderAnnot*>(annot);
    if (!a || a->OwnerPage() != this || a->IsOnPage())
        return false;
    EnsureLoaded();
    a->SetOnPage(true);
    m_annots.append(a);
    m_doc->Changed(!a->IsRunTime());
    return true;
}

void ReaderPage::DrawAnnot(QPainter* painter, const ReaderAnnot* annot) const
{
    const QRectF r(QPointF(annot->GetRect().left, annot->GetRect().top),
                   QPointF(annot->GetRect().right, annot->GetRect().bottom));
    const QImage image = annot->AppearanceImage();
    if (!image.isNull()) {
        painter->drawImage(r, image);
        return;
    }
    // No picture yet: a frame where the stamp will be.
    QPen pen(QColor(220, 40, 40), 0, Qt::DashLine);
    pen.setCosmetic(true);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(r);
}

bool ReaderPage::Render(QPainter* painter, const CCA_Matrix& mmToDevice, int flags)
{
    if (!painter || !painter->isActive())
        return false;
    EnsureLoaded();
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter->setRenderHint(QPainter::Antialiasing, true);
    const QTransform toDevice = ToQTransform(mmToDevice);
    painter->setTransform(toDevice, true);
    const QRectF pageRect(0, 0, m_size.width, m_size.height);

    if (flags & G_Render_Content) {
        QImage raster;
        double dpi = 0;
        if (DocumentBackend* backend = m_doc->Backend()) {
            // Resolution from the painter's full mapping, so that a zoomed or scaled painter
            // gets a sharp raster; whole dpi values keep the back end's cache useful.
            const QTransform full = painter->worldTransform();
            const double pxPerMm = std::sqrt(std::fabs(full.determinant()));
            dpi = std::min(600.0, std::max(9.0, std::round(pxPerMm * 25.4)));
            raster = backend->PageImage(m_index, int(dpi));
        }
        if (raster.isNull()) {
            painter->fillRect(pageRect, Qt::white);
        } else {
            const double q = dpi / 25.4;
            const QTransform mmToRaster =
                RotatedTransform(m_size.width, m_size.height, m_rotation, q, q, 0, 0);
            const bool swap = m_rotation == 90 || m_rotation == 270;
            const QRectF target(0, 0, (swap ? m_size.height : m_size.width) * q,
                                (swap ? m_size.width : m_size.height) * q);
            painter->save();
            painter->setTransform(mmToRaster.inverted() * painter->worldTransform());
            painter->drawImage(target, raster);
            painter->restore();
        }
    }
    if (flags & G_Render_Layers) {
        for (const auto& layer : m_layers) {
            for (const LayerObject& o : layer->Objects()) {
                const QImage image =
                    o.source ? o.source->AppearanceImage() : m_doc->ResourceImage(o.resourceId);
                if (!image.isNull())
                    painter->drawImage(QRectF(QPointF(o.rect.left, o.rect.top),
                                              QPointF(o.rect.right, o.rect.bottom)),
                                       image);
            }
        }
    }
    if (flags & (G_Render_Annots | G_Render_RunTimeAnnots)) {
        for (const ReaderAnnot* a : m_annots) {
            if (a->IsHidden())
                continue;
            const int need = a->IsRunTime() ? G_Render_RunTimeAnnots : G_Render_Annots;
            if (flags & need)
                DrawAnnot(painter, a);
        }
    }
    painter->restore();
    return true;
}
