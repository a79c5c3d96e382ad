#include "ofdwriter.h"

#include <QBuffer>
#include <QDate>
#include <QSaveFile>
#include <QUuid>
#include <QXmlStreamWriter>
#include <functional>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

namespace
{
const QString kNs = QStringLiteral("http://www.ofdspec.org/2016");

// One XML part with the OFD namespace declared on its root element.
QByteArray Part(const QString& root, const std::function<void(QXmlStreamWriter&)>& body,
                const QList<QPair<QString, QString>>& rootAttributes = {})
{
    QByteArray bytes;
    QXmlStreamWriter x(&bytes);
    x.setCodec("UTF-8");
    x.writeStartDocument();
    x.writeNamespace(kNs, QStringLiteral("ofd"));
    x.writeStartElement(kNs, root);
    for (const auto& a : rootAttributes)
        x.writeAttribute(a.first, a.second);
    body(x);
    x.writeEndElement();
    x.writeEndDocument();
    return bytes;
}

void Element(QXmlStreamWriter& x, const QString& name, const QString& text)
{
    x.writeTextElement(kNs, name, text);
}

QString Colour(const QColor& c)
{
    return QStringLiteral("%1 %2 %3").arg(c.red()).arg(c.green()).arg(c.blue());
}

QString Box(const QRectF& r)
{
    return QStringList{OfdWriter::Number(r.x()), OfdWriter::Number(r.y()),
                       OfdWriter::Number(r.width()), OfdWriter::Number(r.height())}
        .join(QLatin1Char(' '));
}

QString Matrix(const QTransform& m)
{
    return QStringList{OfdWriter::Number(m.m11()), OfdWriter::Number(m.m12()),
                       OfdWriter::Number(m.m21()), OfdWriter::Number(m.m22()),
                       OfdWriter::Number(m.dx()),  OfdWriter::Number(m.dy())}
        .join(QLatin1Char(' '));
}
} // namespace

OfdWriter::OfdWriter(const QSizeF& pageMm) : m_page(pageMm) {}

QString OfdWriter::Number(double v)
{
    QString s = QString::number(v, 'f', 4);
    while (s.contains(QLatin1Char('.')) && (s.endsWith(QLatin1Char('0'))))
        s.chop(1);
    if (s.endsWith(QLatin1Char('.')))
        s.chop(1);
    return s == QLatin1String("-0") ? QStringLiteral("0") : s;
}

int OfdWriter::AddFont(const QString& family)
{
    const int index = m_fonts.indexOf(family);
    if (index >= 0)
        return index;
    m_fonts.append(family);
    return m_fonts.size() - 1;
}

int OfdWriter::AddImage(const QByteArray& bytes, const QByteArray& format)
{
    m_images.append(Picture{bytes, format.toUpper()});
    return m_images.size() - 1;
}

void OfdWriter::AddPath(const QRectF& boundary, const QString& data, double lineWidth,
                        const QColor& stroke)
{
    Object o{Object::Path, boundary, QTransform(), data, lineWidth, stroke};
    m_objects.append(o);
}

void OfdWriter::AddText(const QRectF& boundary, const QTransform& ctm, int font, double size,
                        const QColor& fill, const QPointF& start, const QVector<double>& deltaX,
                        const QString& text)
{
    Object o{Object::Text, boundary, ctm, QString(), 0, fill};
    o.font = font;
    o.size = size;
    o.start = start;
    o.deltaX = deltaX;
    o.text = text;
    m_objects.append(o);
}

void OfdWriter::AddImage(const QRectF& boundary, int image)
{
    Object o{Object::Image, boundary, QTransform(boundary.width(), 0, 0, boundary.height(), 0, 0)};
    o.image = image;
    m_objects.append(o);
}

QByteArray OfdWriter::Package(QString* error) const
{
    // IDs in a fixed order, so that the same content always gives the same package.
    int next = 0;
    const int pageId = ++next;
    QList<int> fontIds, imageIds;
    for (int i = 0; i < m_fonts.size(); ++i)
        fontIds.append(++next);
    for (int i = 0; i < m_images.size(); ++i)
        imageIds.append(++next);
    const int layerId = ++next;
    const int firstObjectId = next + 1;
    const int maxId = next + m_objects.size();
    const QString pageBox = Box(QRectF(QPointF(0, 0), m_page));
    auto imageName = [&](int i) {
        const QString suffix = m_images[i].format == "JPEG"
                                   ? QStringLiteral("jpg")
                                   : QString::fromLatin1(m_images[i].format.toLower());
        return QStringLiteral("Image_%1.%2").arg(imageIds[i]).arg(suffix);
    };

    QList<QPair<QString, QByteArray>> parts;
    parts.append(
        {QStringLiteral("OFD.xml"),
         Part(QStringLiteral("OFD"),
              [&](QXmlStreamWriter& x) {
                  x.writeStartElement(kNs, QStringLiteral("DocBody"));
                  x.writeStartElement(kNs, QStringLiteral("DocInfo"));
                  Element(x, QStringLiteral("DocID"), QUuid::createUuid().toString(QUuid::Id128));
                  if (!m_title.isEmpty())
                      Element(x, QStringLiteral("Title"), m_title);
                  Element(x, QStringLiteral("CreationDate"),
                          QDate::currentDate().toString(Qt::ISODate));
                  x.writeEndElement();
                  Element(x, QStringLiteral("DocRoot"), QStringLiteral("Doc_0/Document.xml"));
                  x.writeEndElement();
              },
              {{QStringLiteral("Version"), QStringLiteral("1.0")},
               {QStringLiteral("DocType"), QStringLiteral("OFD")}})});
    parts.append({QStringLiteral("Doc_0/Document.xml"),
                  Part(QStringLiteral("Document"), [&](QXmlStreamWriter& x) {
                      x.writeStartElement(kNs, QStringLiteral("CommonData"));
                      Element(x, QStringLiteral("MaxUnitID"), QString::number(maxId));
                      x.writeStartElement(kNs, QStringLiteral("PageArea"));
                      Element(x, QStringLiteral("PhysicalBox"), pageBox);
                      x.writeEndElement();
                      if (!m_fonts.isEmpty())
                          Element(x, QStringLiteral("PublicRes"), QStringLiteral("PublicRes.xml"));
                      if (!m_images.isEmpty())
                          Element(x, QStringLiteral("DocumentRes"),
                                  QStringLiteral("DocumentRes.xml"));
                      x.writeEndElement();
                      x.writeStartElement(kNs, QStringLiteral("Pages"));
                      x.writeEmptyElement(kNs, QStringLiteral("Page"));
                      x.writeAttribute(QStringLiteral("ID"), QString::number(pageId));
                      x.writeAttribute(QStringLiteral("BaseLoc"),
                                       QStringLiteral("Pages/Page_0/Content.xml"));
                      x.writeEndElement();
                  })});
    if (!m_fonts.isEmpty())
        parts.append({QStringLiteral("Doc_0/PublicRes.xml"),
                      Part(QStringLiteral("Res"),
                           [&](QXmlStreamWriter& x) {
                               x.writeStartElement(kNs, QStringLiteral("Fonts"));
                               for (int i = 0; i < m_fonts.size(); ++i) {
                                   x.writeEmptyElement(kNs, QStringLiteral("Font"));
                                   x.writeAttribute(QStringLiteral("ID"),
                                                    QString::number(fontIds[i]));
                                   x.writeAttribute(QStringLiteral("FontName"), m_fonts[i]);
                                   x.writeAttribute(QStringLiteral("FamilyName"), m_fonts[i]);
                               }
                               x.writeEndElement();
                           },
                           {{QStringLiteral("BaseLoc"), QStringLiteral("Res")}})});
    if (!m_images.isEmpty())
        parts.append(
            {QStringLiteral("Doc_0/DocumentRes.xml"),
             Part(QStringLiteral("Res"),
                  [&](QXmlStreamWriter& x) {
                      x.writeStartElement(kNs, QStringLiteral("MultiMedias"));
                      for (int i = 0; i < m_images.size(); ++i) {
                          x.writeStartElement(kNs, QStringLiteral("MultiMedia"));
                          x.writeAttribute(QStringLiteral("ID"), QString::number(imageIds[i]));
                          x.writeAttribute(QStringLiteral("Type"), QStringLiteral("Image"));
                          x.writeAttribute(QStringLiteral("Format"),
                                           QString::fromLatin1(m_images[i].format));
                          Element(x, QStringLiteral("MediaFile"), imageName(i));
                          x.writeEndElement();
                      }
                      x.writeEndElement();
                  },
                  {{QStringLiteral("BaseLoc"), QStringLiteral("Res")}})});
    parts.append(
        {QStringLiteral("Doc_0/Pages/Page_0/Content.xml"),
         Part(QStringLiteral("Page"), [&](QXmlStreamWriter& x) {
             x.writeStartElement(kNs, QStringLiteral("Area"));
             Element(x, QStringLiteral("PhysicalBox"), pageBox);
             x.writeEndElement();
             x.writeStartElement(kNs, QStringLiteral("Content"));
             x.writeStartElement(kNs, QStringLiteral("Layer"));
             x.writeAttribute(QStringLiteral("ID"), QString::number(layerId));
             x.writeAttribute(QStringLiteral("Type"), QStringLiteral("Body"));
             int id = firstObjectId;
             for (const Object& o : m_objects) {
                 static const char* const kNames[] = {"PathObject", "TextObject", "ImageObject"};
                 x.writeStartElement(kNs, QLatin1String(kNames[o.kind]));
                 x.writeAttribute(QStringLiteral("ID"), QString::number(id++));
                 x.writeAttribute(QStringLiteral("Boundary"), Box(o.boundary));
                 if (!o.ctm.isIdentity())
                     x.writeAttribute(QStringLiteral("CTM"), Matrix(o.ctm));
                 if (o.kind == Object::Path) {
                     x.writeAttribute(QStringLiteral("LineWidth"), Number(o.lineWidth));
                     x.writeEmptyElement(kNs, QStringLiteral("StrokeColor"));
                     x.writeAttribute(QStringLiteral("Value"), Colour(o.colour));
                     Element(x, QStringLiteral("AbbreviatedData"), o.data);
                 } else if (o.kind == Object::Text) {
                     x.writeAttribute(QStringLiteral("Font"), QString::number(fontIds[o.font]));
                     x.writeAttribute(QStringLiteral("Size"), Number(o.size));
                     x.writeEmptyElement(kNs, QStringLiteral("FillColor"));
                     x.writeAttribute(QStringLiteral("Value"), Colour(o.colour));
                     x.writeStartElement(kNs, QStringLiteral("TextCode"));
                     x.writeAttribute(QStringLiteral("X"), Number(o.start.x()));
                     x.writeAttribute(QStringLiteral("Y"), Number(o.start.y()));
                     if (!o.deltaX.isEmpty()) {
                         QStringList d;
                         for (double v : o.deltaX)
                             d.append(Number(v));
                         x.writeAttribute(QStringLiteral("DeltaX"), d.join(QLatin1Char(' ')));
                     }
                     x.writeCharacters(o.text);
                     x.writeEndElement();
                 } else {
                     x.writeAttribute(QStringLiteral("ResourceID"),
                                      QString::number(imageIds[o.image]));
                 }
                 x.writeEndElement();
             }
             x.writeEndElement();
             x.writeEndElement();
         })});
    for (int i = 0; i < m_images.size(); ++i)
        parts.append({QStringLiteral("Doc_0/Res/") + imageName(i), m_images[i].bytes});

    QByteArray zipped;
    QBuffer buffer(&zipped);
    QuaZip zip(&buffer);
    zip.setUtf8Enabled(true);
    auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return QByteArray();
    };
    if (!zip.open(QuaZip::mdCreate))
        return fail(
            QStringLiteral("the package cannot be started (zip error %1)").arg(zip.getZipError()));
    for (const auto& part : qAsConst(parts)) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(part.first)) ||
            file.write(part.second) != part.second.size()) {
            return fail(QStringLiteral("the part %1 cannot be written").arg(part.first));
        }
        file.close();
        if (file.getZipError() != 0)
            return fail(QStringLiteral("the part %1 cannot be written").arg(part.first));
    }
    zip.close();
    if (zip.getZipError() != 0)
        return fail(
            QStringLiteral("the package cannot be finished (zip error %1)").arg(zip.getZipError()));
    return zipped;
}

bool OfdWriter::Save(const QString& path, QString* error) const
{
    const QByteArray bytes = Package(error);
    if (bytes.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = QStringLiteral("%1 cannot be written: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}
