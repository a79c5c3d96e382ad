#include "ofdrender.h"

#include "ofdreader.h"

#include <QFontMetricsF>
#include <QPainter>

namespace
{
// Glyph outlines are made at this pixel size and scaled to the text's size, as QFont
// sizes are whole pixels and OFD sizes are fractions of a millimetre.
constexpr int kEm = 256;

void DrawText(QPainter* p, const OfdObject& o)
{
    QFont font(o.fontFamily.isEmpty() ? QStringLiteral("sans-serif") : o.fontFamily);
    font.setPixelSize(kEm);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    const QFontMetricsF metrics(font);
    const double scale = o.fontSize / kEm;
    p->setPen(Qt::NoPen);
    for (const OfdTextCode& code : o.codes) {
        QPointF at = code.start;
        int index = 0;
        for (int i = 0; i < code.text.size(); ++index) {
            const int len = code.text.at(i).isHighSurrogate() && i + 1 < code.text.size() ? 2 : 1;
            const QString ch = code.text.mid(i, len);
            i += len;
            if (!ch.at(0).isSpace()) {
                QPainterPath glyph;
                glyph.addText(0, 0, font, ch);
                p->save();
                p->translate(at);
                p->scale(scale * o.hScale, scale);
                p->fillPath(glyph, o.fillColor);
                p->restore();
            }
            const double dx = index < code.deltaX.size()
                                  ? code.deltaX.at(index)
                                  : metrics.horizontalAdvance(ch) * scale * o.hScale;
            const double dy = index < code.deltaY.size() ? code.deltaY.at(index) : 0;
            at += QPointF(dx, dy);
        }
    }
}
} // namespace

namespace OfdRender
{
void DrawPage(QPainter* p, const OfdPageData& page, const OfdDocumentData& doc)
{
    for (const OfdObject& o : page.objects) {
        p->save();
        p->setOpacity(p->opacity() * o.alpha);
        p->translate(o.boundary.topLeft());
        p->setTransform(o.ctm, true);
        switch (o.kind) {
        case OfdObject::Path: {
            QPainterPath path = o.path;
            path.setFillRule(o.evenOdd ? Qt::OddEvenFill : Qt::WindingFill);
            if (o.fill)
                p->fillPath(path, o.fillColor);
            if (o.stroke && o.lineWidth > 0) {
                QPen pen(o.strokeColor, o.lineWidth);
                p->strokePath(path, pen);
            }
            break;
        }
        case OfdObject::Text:
            if (o.fill)
                DrawText(p, o);
            break;
        case OfdObject::Image: {
            const QImage image = doc.images.value(o.imageId);
            if (!image.isNull())
                p->drawImage(QRectF(0, 0, 1, 1), image);
            break;
        }
        }
        p->restore();
    }
}
} // namespace OfdRender
