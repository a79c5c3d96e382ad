#include "sealmaker.h"

#include "host/document/ofdwriter.h"

#include <QFile>
#include <QtMath>
#include <cmath>

namespace SMK
{

namespace
{
constexpr float kMaxMm = 1000;
// Where a character's ink sits, in ems, without asking the font (the maker may run where
// no font database exists): CJK and other wide characters take a full em, the rest a
// little more than half; the ink's middle is about 0.36 em above the baseline in both the
// CJK faces and the Latin ones a seal uses.
constexpr double kInkMiddle = 0.36;

double Advance(uint ch)
{
    const bool wide = (ch >= 0x1100 && ch <= 0x115F) || (ch >= 0x2E80 && ch <= 0xA4CF) ||
                      (ch >= 0xAC00 && ch <= 0xD7A3) || (ch >= 0xF900 && ch <= 0xFAFF) ||
                      (ch >= 0xFE30 && ch <= 0xFE4F) || (ch >= 0xFF00 && ch <= 0xFF60) ||
                      (ch >= 0xFFE0 && ch <= 0xFFE6) || ch >= 0x20000;
    return wide ? 1.0 : 0.55;
}

QColor Colour(std::uint32_t bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

bool Finite(std::initializer_list<float> values)
{
    for (float v : values)
        if (!std::isfinite(v) || std::fabs(v) > kMaxMm)
            return false;
    return true;
}

QStringList Characters(const std::string& utf8)
{
    const QVector<uint> codes = QString::fromStdString(utf8).toUcs4();
    QStringList out;
    for (uint c : codes)
        out.append(QString::fromUcs4(&c, 1));
    return out;
}

// AbbreviatedData for a shape around the page's centre.
QString ShapeData(const SealShape& s, const QSizeF& page)
{
    const double cx = page.width() / 2, cy = page.height() / 2, half = s.lineWidth / 2.0;
    double rx = s.width / 2.0 - half, ry = s.height / 2.0 - half;
    auto n = [](double v) { return OfdWriter::Number(v); };
    if (s.type == SealRectangle) {
        return QStringLiteral("M %1 %2 L %3 %2 L %3 %4 L %1 %4 C")
            .arg(n(cx - rx), n(cy - ry), n(cx + rx), n(cy + ry));
    }
    if (s.type == SealCircle)
        rx = ry = std::min(rx, ry);
    // Four cubic quarters: within 0.03 % of the ellipse and drawn alike by every reader.
    const double k = 0.5522847498;
    return QStringLiteral("M %1 %2 B %3 %2 %4 %5 %4 %6 B %4 %7 %3 %8 %1 %8 B %9 %8 %10 %7 "
                          "%10 %6 B %10 %5 %9 %2 %1 %2 C")
        .arg(n(cx), n(cy - ry), n(cx + k * rx), n(cx + rx), n(cy - k * ry), n(cy), n(cy + k * ry),
             n(cy + ry), n(cx - k * rx))
        .arg(n(cx - rx));
}

bool SameShape(const SealShape& a, const SealShape& b)
{
    return a.type == b.type && a.width == b.width && a.height == b.height &&
           a.lineWidth == b.lineWidth && a.colour == b.colour;
}

bool AddShape(OfdWriter* w, const SealShape& s, const QSizeF& page)
{
    if (!Finite({s.width, s.height, s.lineWidth}) || s.width <= 0 || s.height <= 0 ||
        s.lineWidth < 0)
        return false;
    if (s.lineWidth > 0)
        w->AddPath(QRectF(QPointF(0, 0), page), ShapeData(s, page), s.lineWidth, Colour(s.colour));
    return true;
}

bool AddText(OfdWriter* w, const SealTextItem& t, const QSizeF& page)
{
    if (!Finite({t.fontSize, t.stretch, t.x, t.y, t.charWidth, t.radiusX, t.radiusY}) ||
        !Finite({t.startAngle, t.endAngle}))
        return false;
    const QStringList chars = Characters(t.text);
    if (chars.isEmpty() || t.fontSize <= 0)
        return true; // nothing to draw
    if (chars.size() > 1000)
        return false;
    const double size = t.fontSize;
    const double stretch = t.stretch > 0 ? t.stretch : 1.0;
    const QColor colour = Colour(t.colour);
    const int font = w->AddFont(t.fontName.empty() ? QStringLiteral("sans-serif")
                                                   : QString::fromStdString(t.fontName));
    const QPointF centre(page.width() / 2, page.height() / 2);
    if (t.onArc) {
        const int n = chars.size();
        for (int i = 0; i < n; ++i) {
            const double a = n == 1 ? (t.startAngle + t.endAngle) / 2.0
                                    : t.startAngle + (t.endAngle - t.startAngle) * i / (n - 1);
            const double r = qDegreesToRadians(a);
            const QPointF at(centre.x() + t.radiusX * std::sin(r),
                             centre.y() - t.radiusY * std::cos(r));
            // Upright along the ray from the centre, so on an oval the foot faces the centre.
            const double turn =
                qRadiansToDegrees(std::atan2(t.radiusX * std::sin(r), t.radiusY * std::cos(r)));
            QTransform ctm;
            ctm.translate(size, size);
            ctm.rotate(turn);
            ctm.scale(stretch, 1);
            const double advance = Advance(chars[i].toUcs4().value(0)) * size;
            w->AddText(QRectF(at.x() - size, at.y() - size, 2 * size, 2 * size), ctm, font, size,
                       colour, QPointF(-advance / 2, kInkMiddle * size), {}, chars[i]);
        }
        return true;
    }
    // A straight line: each character centred in its share of the line.
    QVector<double> shares, inks;
    double total = 0;
    for (const QString& c : chars) {
        const double ink = Advance(c.toUcs4().value(0)) * size * stretch;
        inks.append(ink);
        shares.append(t.charWidth > 0 ? double(t.charWidth) : ink);
        total += shares.last();
    }
    const QRectF box(centre.x() + t.x - total / 2 - size, centre.y() + t.y - size, total + 2 * size,
                     2 * size);
    // Object space is stretched by the CTM: positions are divided by the stretch.
    QVector<double> starts;
    double cell = size;
    for (int i = 0; i < chars.size(); ++i) {
        starts.append((cell + (shares[i] - inks[i]) / 2) / stretch);
        cell += shares[i];
    }
    QVector<double> deltas;
    for (int i = 1; i < starts.size(); ++i)
        deltas.append(starts[i] - starts[i - 1]);
    w->AddText(box, QTransform::fromScale(stretch, 1), font, size, colour,
               QPointF(starts.first(), size + kInkMiddle * size), deltas, chars.join(QString()));
    return true;
}

bool AddPicture(OfdWriter* w, const SealPictureItem& p, const QSizeF& page, QString* error)
{
    if (!Finite({p.x, p.y, p.width, p.height}) || p.width <= 0 || p.height <= 0) {
        *error = QStringLiteral("a picture item has no size");
        return false;
    }
    QFile file(QString::fromStdString(p.path));
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    QByteArray format;
    if (bytes.startsWith(QByteArray("\x89PNG", 4)))
        format = "PNG";
    else if (bytes.startsWith(QByteArray("\xFF\xD8\xFF", 3)))
        format = "JPEG";
    else {
        *error = QStringLiteral("the picture %1 is not a PNG or JPEG file")
                     .arg(QString::fromStdString(p.path));
        return false;
    }
    const QRectF box(page.width() / 2 + p.x - p.width / 2, page.height() / 2 + p.y - p.height / 2,
                     p.width, p.height);
    w->AddImage(box, w->AddImage(bytes, format));
    return true;
}
} // namespace

void SealMaker::SetSealDescription(const SealDescription* description)
{
    m_hasDescription = description != nullptr;
    m_description = description ? *description : SealDescription();
}

bool SealMaker::SaveSealDocument(const char* utf8Path)
{
    if (!utf8Path || !*utf8Path)
        return false;
    QString error;
    const bool ok = Save(QString::fromUtf8(utf8Path), &error);
    if (!ok)
        qWarning("Seal document not written: %s", qPrintable(error));
    return ok;
}

bool SealMaker::Save(const QString& path, QString* error) const
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (!m_hasDescription)
        return fail(QStringLiteral("no seal description was given"));
    const SealDescription& d = m_description;
    const SealShape& outline = d.outline;
    if (!Finite({outline.width, outline.height}) || outline.width <= 0 || outline.height <= 0)
        return fail(QStringLiteral("the outline has no size"));
    const QSizeF page(outline.width, outline.height);
    OfdWriter writer(page);
    writer.SetTitle(QStringLiteral("Seal"));
    if (!AddShape(&writer, outline, page))
        return fail(QStringLiteral("the outline's line width is not usable"));
    for (const SealShape& s : d.shapes)
        if (!SameShape(s, outline) && !AddShape(&writer, s, page))
            return fail(QStringLiteral("a shape's size is not usable"));
    for (const SealPictureItem& p : d.pictures) {
        QString why;
        if (!AddPicture(&writer, p, page, &why))
            return fail(why);
    }
    if (d.texts.size() > 100)
        return fail(QStringLiteral("too many text items"));
    for (const SealTextItem& t : d.texts)
        if (!AddText(&writer, t, page))
            return fail(QStringLiteral("a text item's numbers are not usable"));
    return writer.Save(path, error);
}

ISealMaker* CreateSealMaker()
{
    return new SealMaker();
}

void DestorySealMaker(ISealMaker* maker)
{
    delete maker;
}

} // namespace SMK
