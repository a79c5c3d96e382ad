#include "ofdreader.h"

#include "ofdpackage.h"

#include <QBuffer>
#include <QImageReader>
#include <QRegExp>
#include <QSet>
#include <QStringList>
#include <QXmlStreamReader>
#include <cmath>

namespace
{
constexpr double kMaxCoordinate = 1e6; // millimetres; beyond this a number is nonsense

const QString kRootPart = QStringLiteral("OFD.xml");

bool ParseNumbers(const QString& text, QVector<double>* out, int expected = -1)
{
    out->clear();
    const QVector<QStringRef> parts =
        text.splitRef(QRegExp(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
    for (const QStringRef& p : parts) {
        bool ok = false;
        const double v = p.toDouble(&ok);
        if (!ok || !std::isfinite(v) || std::fabs(v) > kMaxCoordinate)
            return false;
        out->append(v);
    }
    return expected < 0 || out->size() == expected;
}

bool ParseBox(const QString& text, QRectF* box)
{
    QVector<double> v;
    if (!ParseNumbers(text, &v, 4) || v[2] < 0 || v[3] < 0)
        return false;
    *box = QRectF(v[0], v[1], v[2], v[3]);
    return true;
}

QColor ParseColor(const QXmlStreamReader& x, const QColor& fallback)
{
    QVector<double> v;
    const QString value = x.attributes().value(QLatin1String("Value")).toString();
    QColor c = fallback;
    if (ParseNumbers(value, &v) && v.size() >= 3)
        c = QColor::fromRgb(qBound(0, int(v[0]), 255), qBound(0, int(v[1]), 255),
                            qBound(0, int(v[2]), 255));
    else if (ParseNumbers(value, &v, 1)) // a grey level
        c = QColor::fromRgb(qBound(0, int(v[0]), 255), qBound(0, int(v[0]), 255),
                            qBound(0, int(v[0]), 255));
    bool ok = false;
    const int alpha = x.attributes().value(QLatin1String("Alpha")).toInt(&ok);
    if (ok)
        c.setAlpha(qBound(0, alpha, 255));
    return c;
}

// "1 2 g 3 0.5 4": "g N v" stands for N copies of v.
bool ParseDeltas(const QString& text, QVector<double>* out)
{
    out->clear();
    const QStringList parts = text.split(QRegExp(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    for (int i = 0; i < parts.size(); ++i) {
        bool ok = false;
        if (parts[i] == QLatin1String("g")) {
            if (i + 2 >= parts.size())
                return false;
            const int n = parts[i + 1].toInt(&ok);
            bool okV = false;
            const double v = parts[i + 2].toDouble(&okV);
            // A count beyond the part's own size can only be an attack on memory.
            if (!ok || !okV || n < 0 || n > 100000 || !std::isfinite(v) ||
                std::fabs(v) > kMaxCoordinate)
                return false;
            for (int k = 0; k < n; ++k)
                out->append(v);
            i += 2;
            continue;
        }
        const double v = parts[i].toDouble(&ok);
        if (!ok || !std::isfinite(v) || std::fabs(v) > kMaxCoordinate)
            return false;
        out->append(v);
    }
    return true;
}

// An elliptical arc from the current point, given as its end point (the SVG way), as
// cubic segments.
void ArcTo(QPainterPath* path, double rx, double ry, double angleDeg, bool large, bool sweep,
           const QPointF& end)
{
    const QPointF start = path->currentPosition();
    rx = std::fabs(rx);
    ry = std::fabs(ry);
    if (rx < 1e-9 || ry < 1e-9 || start == end) {
        path->lineTo(end);
        return;
    }
    const double phi = angleDeg * M_PI / 180.0;
    const double cphi = std::cos(phi), sphi = std::sin(phi);
    const double dx = (start.x() - end.x()) / 2, dy = (start.y() - end.y()) / 2;
    const double x1 = cphi * dx + sphi * dy, y1 = -sphi * dx + cphi * dy;
    const double lambda = (x1 * x1) / (rx * rx) + (y1 * y1) / (ry * ry);
    if (lambda > 1) {
        rx *= std::sqrt(lambda);
        ry *= std::sqrt(lambda);
    }
    const double num = rx * rx * ry * ry - rx * rx * y1 * y1 - ry * ry * x1 * x1;
    const double den = rx * rx * y1 * y1 + ry * ry * x1 * x1;
    double coef = den > 0 ? std::sqrt(std::max(0.0, num / den)) : 0;
    if (large == sweep)
        coef = -coef;
    const double cx1 = coef * rx * y1 / ry, cy1 = -coef * ry * x1 / rx;
    const double cx = cphi * cx1 - sphi * cy1 + (start.x() + end.x()) / 2;
    const double cy = sphi * cx1 + cphi * cy1 + (start.y() + end.y()) / 2;
    auto angle = [](double ux, double uy, double vx, double vy) {
        return std::atan2(ux * vy - uy * vx, ux * vx + uy * vy);
    };
    const double t1 = angle(1, 0, (x1 - cx1) / rx, (y1 - cy1) / ry);
    double dt = angle((x1 - cx1) / rx, (y1 - cy1) / ry, (-x1 - cx1) / rx, (-y1 - cy1) / ry);
    if (!sweep && dt > 0)
        dt -= 2 * M_PI;
    else if (sweep && dt < 0)
        dt += 2 * M_PI;
    const int segments = int(std::ceil(std::fabs(dt) / (M_PI / 2) - 1e-9));
    const double step = segments > 0 ? dt / segments : 0;
    const double k = 4.0 / 3.0 * std::tan(step / 4);
    auto point = [&](double t, double ddx, double ddy) {
        const double ex = rx * std::cos(t) + ddx, ey = ry * std::sin(t) + ddy;
        return QPointF(cx + cphi * ex - sphi * ey, cy + sphi * ex + cphi * ey);
    };
    double t = t1;
    for (int i = 0; i < segments; ++i) {
        const double t2 = t + step;
        const QPointF c1 = point(t, -k * rx * std::sin(t), k * ry * std::cos(t));
        const QPointF c2 = point(t2, k * rx * std::sin(t2), -k * ry * std::cos(t2));
        path->cubicTo(c1, c2, i + 1 == segments ? end : point(t2, 0, 0));
        t = t2;
    }
}

bool ParsePath(const QString& data, QPainterPath* path)
{
    const QStringList tokens = data.split(QRegExp(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    int i = 0;
    auto numbers = [&](int n, QVector<double>* v) {
        v->clear();
        for (int k = 0; k < n; ++k, ++i) {
            bool ok = false;
            const double d = i < tokens.size() ? tokens[i].toDouble(&ok) : 0;
            if (!ok || !std::isfinite(d) || std::fabs(d) > kMaxCoordinate)
                return false;
            v->append(d);
        }
        return true;
    };
    QVector<double> v;
    while (i < tokens.size()) {
        const QString op = tokens[i++];
        if (op == QLatin1String("S") || op == QLatin1String("M")) {
            if (!numbers(2, &v))
                return false;
            path->moveTo(v[0], v[1]);
        } else if (op == QLatin1String("L")) {
            if (!numbers(2, &v))
                return false;
            path->lineTo(v[0], v[1]);
        } else if (op == QLatin1String("Q")) {
            if (!numbers(4, &v))
                return false;
            path->quadTo(v[0], v[1], v[2], v[3]);
        } else if (op == QLatin1String("B")) {
            if (!numbers(6, &v))
                return false;
            path->cubicTo(v[0], v[1], v[2], v[3], v[4], v[5]);
        } else if (op == QLatin1String("A")) {
            if (!numbers(7, &v))
                return false;
            ArcTo(path, v[0], v[1], v[2], v[3] != 0, v[4] != 0, QPointF(v[5], v[6]));
        } else if (op == QLatin1String("C")) {
            path->closeSubpath();
        } else {
            return false;
        }
    }
    return true;
}

QString Local(const QXmlStreamReader& x)
{
    return x.name().toString();
}

QString Attr(const QXmlStreamReader& x, const char* name)
{
    return x.attributes().value(QLatin1String(name)).toString();
}

// Walks the start elements of a part, keeping the names of the open elements (their path),
// so a reader can ask where it is; the path never grows past the depth the reader accepts.
class ElementWalk
{
public:
    explicit ElementWalk(QXmlStreamReader& x) : m_x(x) {}

    // The next start element, its name appended to Path(); false at the part's end.
    bool Next()
    {
        while (!m_x.atEnd()) {
            const QXmlStreamReader::TokenType t = m_x.readNext();
            if (t == QXmlStreamReader::EndElement && !m_path.isEmpty())
                m_path.removeLast();
            else if (t == QXmlStreamReader::StartElement) {
                m_path.append(Local(m_x));
                return true;
            }
        }
        return false;
    }
    bool TooDeep() const { return m_path.size() > OfdReader::kMaxDepth; }
    const QStringList& Path() const { return m_path; }
    QString Name() const { return m_path.last(); }
    QString Parent() const { return m_path.size() > 1 ? m_path.at(m_path.size() - 2) : QString(); }
    // The current element's text, its children's included; the element is then closed.
    QString Text()
    {
        m_path.removeLast();
        return m_x.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
    }

private:
    QXmlStreamReader& m_x;
    QStringList m_path;
};

class Reader
{
public:
    Reader(OfdPackage& package, OfdDocumentData* out) : m_package(package), m_out(out) {}
    bool Read(QString* error);

private:
    bool Fail(const QString& message)
    {
        if (m_error.isEmpty())
            m_error = message;
        return false;
    }
    bool Load(const QString& part, QByteArray* bytes);
    bool XmlFailed(const QXmlStreamReader& x, const QString& part);
    bool ReadDocument(const QString& part);
    bool ReadResources(const QString& part);
    bool ReadPage(const QString& part, OfdPageData* page);
    bool ReadContainer(QXmlStreamReader& x, int depth, int layer, std::vector<OfdObject>* layers);
    bool ReadObject(QXmlStreamReader& x, OfdObject* object);
    bool ReadTags(const QString& part);
    void ResolveTagRefs();

    OfdPackage& m_package;
    OfdDocumentData* m_out;
    QString m_error;
    QHash<QString, QString> m_fonts;
    QSet<QString> m_resourceParts;
    int m_objects = 0;
    QMap<QString, QStringList> m_tagRefs;
};

bool Reader::Load(const QString& part, QByteArray* bytes)
{
    QString why;
    if (part.isEmpty())
        return Fail(QStringLiteral("a reference points outside the package or is empty"));
    if (!m_package.Read(part, bytes, &why))
        return Fail(why);
    return true;
}

bool Reader::XmlFailed(const QXmlStreamReader& x, const QString& part)
{
    if (!x.hasError())
        return false;
    Fail(QStringLiteral("the part %1 is not well-formed (line %2: %3)")
             .arg(part)
             .arg(x.lineNumber())
             .arg(x.errorString()));
    return true;
}

bool Reader::Read(QString* error)
{
    auto done = [&](bool ok) {
        if (!ok && error)
            *error = m_error;
        return ok;
    };
    QByteArray bytes;
    if (!m_package.Contains(kRootPart))
        return done(Fail(QStringLiteral("it has no OFD.xml, so it is not an OFD package")));
    if (!Load(kRootPart, &bytes))
        return done(false);
    QXmlStreamReader x(bytes);
    QString docRoot;
    while (!x.atEnd() && docRoot.isEmpty()) {
        if (x.readNext() == QXmlStreamReader::StartElement && Local(x) == QLatin1String("DocRoot"))
            docRoot = x.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
    }
    if (XmlFailed(x, kRootPart))
        return done(false);
    if (docRoot.isEmpty())
        return done(Fail(QStringLiteral("OFD.xml names no document (DocRoot)")));
    if (!ReadDocument(OfdPackage::Resolve(kRootPart, docRoot)))
        return done(false);
    ResolveTagRefs();
    return done(true);
}

bool Reader::ReadDocument(const QString& part)
{
    QByteArray bytes;
    if (!Load(part, &bytes))
        return false;
    QXmlStreamReader x(bytes);
    ElementWalk walk(x);
    QRectF defaultBox;
    struct PageRef {
        QString part;
        int rotation = 0;
    };
    QVector<PageRef> pages;
    QStringList resources;
    QString tags;
    while (walk.Next()) {
        if (walk.TooDeep())
            return Fail(QStringLiteral("the part %1 is nested too deeply").arg(part));
        const QString name = walk.Name();
        const QString parent = walk.Parent();
        auto text = [&walk]() { return walk.Text(); };
        if (name == QLatin1String("PhysicalBox") && parent == QLatin1String("PageArea")) {
            if (!ParseBox(text(), &defaultBox))
                return Fail(QStringLiteral("the document's page size is not readable"));
        } else if (name == QLatin1String("PublicRes") || name == QLatin1String("DocumentRes")) {
            resources.append(OfdPackage::Resolve(part, text()));
        } else if (name == QLatin1String("Page") && parent == QLatin1String("Pages")) {
            PageRef ref;
            ref.part = OfdPackage::Resolve(part, Attr(x, "BaseLoc"));
            ref.rotation = Attr(x, "Rotate").toInt();
            pages.append(ref);
            if (pages.size() > OfdReader::kMaxPages)
                return Fail(QStringLiteral("the document has more than %1 pages")
                                .arg(OfdReader::kMaxPages));
        } else if (name == QLatin1String("CustomTags")) {
            tags = OfdPackage::Resolve(part, text());
        }
    }
    if (XmlFailed(x, part))
        return false;
    if (pages.isEmpty())
        return Fail(QStringLiteral("the document has no pages"));
    for (const QString& res : qAsConst(resources))
        if (!ReadResources(res))
            return false;
    m_out->pages.clear();
    for (const PageRef& ref : qAsConst(pages)) {
        OfdPageData page;
        page.size = defaultBox.size();
        int r = ref.rotation % 360;
        r = r < 0 ? r + 360 : r;
        page.rotation = (r + 45) / 90 % 4 * 90; // pages turn by quarters only
        if (!ReadPage(ref.part, &page))
            return false;
        m_out->pages.append(std::move(page));
    }
    if (!tags.isEmpty() && !ReadTags(tags))
        return false;
    return true;
}

bool Reader::ReadResources(const QString& part)
{
    if (m_resourceParts.contains(part))
        return true; // named twice (document and page), read once
    m_resourceParts.insert(part);
    QByteArray bytes;
    if (!Load(part, &bytes))
        return false;
    QXmlStreamReader x(bytes);
    QString base;
    QString mediaId;
    ElementWalk walk(x);
    while (walk.Next()) {
        if (walk.TooDeep())
            return Fail(QStringLiteral("the part %1 is nested too deeply").arg(part));
        const QString name = walk.Name();
        if (name == QLatin1String("Res") && walk.Path().size() == 1) {
            base = Attr(x, "BaseLoc");
        } else if (name == QLatin1String("Font")) {
            QString family = Attr(x, "FamilyName");
            if (family.isEmpty())
                family = Attr(x, "FontName");
            m_fonts.insert(Attr(x, "ID"), family);
        } else if (name == QLatin1String("MultiMedia")) {
            mediaId = Attr(x, "Type").compare(QLatin1String("Image"), Qt::CaseInsensitive) == 0
                          ? Attr(x, "ID")
                          : QString();
        } else if (name == QLatin1String("MediaFile") && !mediaId.isEmpty()) {
            const QString file = walk.Text();
            const QString ref = file.startsWith(QLatin1Char('/')) || base.isEmpty()
                                    ? file
                                    : base + QLatin1Char('/') + file;
            const QString media = OfdPackage::Resolve(part, ref);
            QByteArray data;
            if (!Load(media, &data))
                return false;
            QBuffer buffer(&data);
            QImageReader reader(&buffer);
            const QSize size = reader.size();
            if (size.isValid() &&
                (qint64(size.width()) * size.height() > OfdReader::kMaxImagePixels ||
                 size.width() > 30000 || size.height() > 30000))
                return Fail(QStringLiteral("the picture %1 is too large (%2 × %3 pixels)")
                                .arg(media)
                                .arg(size.width())
                                .arg(size.height()));
            // Formats Qt cannot decode (or an undeclared size) leave the picture out.
            if (size.isValid()) {
                const QImage image = reader.read();
                if (!image.isNull())
                    m_out->images.insert(mediaId, image);
            }
            mediaId.clear();
        }
    }
    return !XmlFailed(x, part);
}

bool Reader::ReadPage(const QString& part, OfdPageData* page)
{
    QByteArray bytes;
    if (!Load(part, &bytes))
        return false;
    QXmlStreamReader x(bytes);
    if (!x.readNextStartElement()) {
        if (!XmlFailed(x, part))
            Fail(QStringLiteral("the part %1 is empty").arg(part));
        return false;
    }
    std::vector<OfdObject> layers[3]; // background, body, foreground
    while (x.readNextStartElement()) {
        const QString name = Local(x);
        if (name == QLatin1String("Area")) {
            while (x.readNextStartElement()) {
                if (Local(x) == QLatin1String("PhysicalBox")) {
                    QRectF box;
                    if (!ParseBox(x.readElementText(QXmlStreamReader::IncludeChildElements), &box))
                        return Fail(
                            QStringLiteral("the size of the page %1 is not readable").arg(part));
                    page->size = box.size();
                } else {
                    x.skipCurrentElement();
                }
            }
        } else if (name == QLatin1String("PageRes")) {
            const QString res = OfdPackage::Resolve(
                part, x.readElementText(QXmlStreamReader::IncludeChildElements).trimmed());
            if (!ReadResources(res))
                return false;
        } else if (name == QLatin1String("Content")) {
            if (!ReadContainer(x, 0, 1, layers))
                return false;
        } else {
            x.skipCurrentElement();
        }
    }
    if (XmlFailed(x, part))
        return false;
    if (!(page->size.width() > 0 && page->size.height() > 0))
        return Fail(QStringLiteral("the page %1 has no size").arg(part));
    if (page->size.width() > OfdReader::kMaxPageMm || page->size.height() > OfdReader::kMaxPageMm)
        return Fail(QStringLiteral("the page %1 is too large (%2 × %3 mm)")
                        .arg(part)
                        .arg(page->size.width())
                        .arg(page->size.height()));
    for (auto& layer : layers)
        for (OfdObject& o : layer)
            page->objects.push_back(std::move(o));
    return true;
}

bool Reader::ReadContainer(QXmlStreamReader& x, int depth, int layer,
                           std::vector<OfdObject>* layers)
{
    while (x.readNextStartElement()) {
        const QString name = Local(x);
        if (name == QLatin1String("Layer") || name == QLatin1String("PageBlock")) {
            if (depth >= OfdReader::kMaxDepth)
                return Fail(QStringLiteral("the page content is nested too deeply"));
            int inner = layer;
            if (name == QLatin1String("Layer")) {
                const QString type = Attr(x, "Type");
                inner = type == QLatin1String("Background")   ? 0
                        : type == QLatin1String("Foreground") ? 2
                                                              : 1;
            }
            if (!ReadContainer(x, depth + 1, inner, layers))
                return false;
        } else if (name == QLatin1String("PathObject") || name == QLatin1String("TextObject") ||
                   name == QLatin1String("ImageObject")) {
            if (++m_objects > OfdReader::kMaxObjects)
                return Fail(QStringLiteral("the document has more than %1 objects")
                                .arg(OfdReader::kMaxObjects));
            OfdObject object;
            if (ReadObject(x, &object))
                layers[layer].push_back(std::move(object));
        } else {
            x.skipCurrentElement();
        }
    }
    return !x.hasError() || Fail(QStringLiteral("the page content is not well-formed (line "
                                                "%1: %2)")
                                     .arg(x.lineNumber())
                                     .arg(x.errorString()));
}

// False (with the element skipped) for an object that cannot be drawn; other producers'
// odd objects are left out rather than refusing the page.
bool Reader::ReadObject(QXmlStreamReader& x, OfdObject* o)
{
    const QString name = Local(x);
    o->kind = name == QLatin1String("PathObject")   ? OfdObject::Path
              : name == QLatin1String("TextObject") ? OfdObject::Text
                                                    : OfdObject::Image;
    o->id = Attr(x, "ID");
    bool usable = ParseBox(Attr(x, "Boundary"), &o->boundary);
    QVector<double> v;
    const QString ctm = Attr(x, "CTM");
    if (!ctm.isEmpty()) {
        if (ParseNumbers(ctm, &v, 6))
            o->ctm = QTransform(v[0], v[1], v[2], v[3], v[4], v[5]);
        else
            usable = false;
    }
    bool ok = false;
    const int alpha = Attr(x, "Alpha").toInt(&ok);
    if (ok)
        o->alpha = qBound(0, alpha, 255) / 255.0;
    const double lineWidth = Attr(x, "LineWidth").toDouble(&ok);
    if (ok && std::isfinite(lineWidth) && lineWidth >= 0 && lineWidth < kMaxCoordinate)
        o->lineWidth = lineWidth;
    auto flag = [&](const char* attr, bool fallback) {
        const QString value = Attr(x, attr);
        return value.isEmpty() ? fallback : value == QLatin1String("true");
    };
    o->stroke = flag("Stroke", o->kind == OfdObject::Path);
    o->fill = flag("Fill", o->kind == OfdObject::Text);
    o->evenOdd = Attr(x, "Rule") == QLatin1String("Even-Odd");
    if (o->kind == OfdObject::Text) {
        o->fontFamily = m_fonts.value(Attr(x, "Font"));
        o->fontSize = Attr(x, "Size").toDouble(&ok);
        if (!ok || !(o->fontSize > 0) || o->fontSize > kMaxCoordinate)
            usable = false;
        const double h = Attr(x, "HScale").toDouble(&ok);
        if (ok && std::isfinite(h) && h > 0 && h < 1000)
            o->hScale = h;
        o->fillColor = Qt::black;
    } else if (o->kind == OfdObject::Image) {
        o->imageId = Attr(x, "ResourceID");
    }
    QPointF next;
    while (x.readNextStartElement()) {
        const QString child = Local(x);
        if (child == QLatin1String("StrokeColor")) {
            o->strokeColor = ParseColor(x, Qt::black);
            x.skipCurrentElement();
        } else if (child == QLatin1String("FillColor")) {
            o->fillColor = ParseColor(x, Qt::black);
            x.skipCurrentElement();
        } else if (child == QLatin1String("AbbreviatedData") && o->kind == OfdObject::Path) {
            if (!ParsePath(x.readElementText(QXmlStreamReader::IncludeChildElements), &o->path))
                usable = false;
        } else if (child == QLatin1String("TextCode") && o->kind == OfdObject::Text) {
            OfdTextCode code;
            const double cx = Attr(x, "X").toDouble(&ok);
            bool okY = false;
            const double cy = Attr(x, "Y").toDouble(&okY);
            code.start = QPointF(ok && std::isfinite(cx) ? cx : next.x(),
                                 okY && std::isfinite(cy) ? cy : next.y());
            if (!ParseDeltas(Attr(x, "DeltaX"), &code.deltaX) ||
                !ParseDeltas(Attr(x, "DeltaY"), &code.deltaY))
                usable = false;
            code.text = x.readElementText(QXmlStreamReader::IncludeChildElements);
            next = code.start;
            for (double d : qAsConst(code.deltaX))
                next.rx() += d;
            o->codes.append(code);
        } else {
            x.skipCurrentElement();
        }
    }
    if (std::fabs(o->boundary.x()) > kMaxCoordinate || std::fabs(o->boundary.y()) > kMaxCoordinate)
        usable = false;
    return usable && !x.hasError();
}

bool Reader::ReadTags(const QString& part)
{
    QByteArray bytes;
    if (!Load(part, &bytes))
        return false;
    QStringList files;
    QXmlStreamReader x(bytes);
    while (!x.atEnd()) {
        if (x.readNext() == QXmlStreamReader::StartElement && Local(x) == QLatin1String("FileLoc"))
            files.append(OfdPackage::Resolve(
                part, x.readElementText(QXmlStreamReader::IncludeChildElements).trimmed()));
    }
    if (XmlFailed(x, part))
        return false;
    for (const QString& file : qAsConst(files)) {
        QByteArray tagBytes;
        if (!Load(file, &tagBytes))
            return false;
        QXmlStreamReader t(tagBytes);
        QStringList stack;
        QString pendingText;
        while (!t.atEnd()) {
            const QXmlStreamReader::TokenType type = t.readNext();
            if (type == QXmlStreamReader::StartElement) {
                const QString name = Local(t);
                if (name == QLatin1String("ObjectRef") && !stack.isEmpty()) {
                    const QString id = t.readElementText(QXmlStreamReader::IncludeChildElements);
                    m_tagRefs[stack.last()].append(id.trimmed());
                    continue;
                }
                stack.append(name);
                pendingText.clear();
                if (stack.size() > OfdReader::kMaxDepth)
                    return Fail(QStringLiteral("the part %1 is nested too deeply").arg(file));
            } else if (type == QXmlStreamReader::Characters) {
                pendingText += t.text();
            } else if (type == QXmlStreamReader::EndElement && !stack.isEmpty()) {
                const QString value = pendingText.trimmed();
                if (!value.isEmpty() && !m_out->tags.contains(stack.last()))
                    m_out->tags.insert(stack.last(), value);
                pendingText.clear();
                stack.removeLast();
            }
        }
        if (XmlFailed(t, file))
            return false;
    }
    return true;
}

void Reader::ResolveTagRefs()
{
    if (m_tagRefs.isEmpty())
        return;
    QHash<QString, const OfdObject*> byId;
    for (const OfdPageData& page : qAsConst(m_out->pages))
        for (const OfdObject& o : page.objects)
            if (o.kind == OfdObject::Text && !o.id.isEmpty())
                byId.insert(o.id, &o);
    for (auto it = m_tagRefs.constBegin(); it != m_tagRefs.constEnd(); ++it) {
        if (m_out->tags.contains(it.key()))
            continue;
        QString value;
        for (const QString& id : it.value())
            if (const OfdObject* o = byId.value(id))
                for (const OfdTextCode& code : o->codes)
                    value += code.text;
        if (!value.trimmed().isEmpty())
            m_out->tags.insert(it.key(), value.trimmed());
    }
}

} // namespace

namespace OfdReader
{
bool Read(OfdPackage& package, OfdDocumentData* out, QString* error)
{
    *out = OfdDocumentData();
    Reader reader(package, out);
    return reader.Read(error);
}
} // namespace OfdReader
