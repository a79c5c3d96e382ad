#pragma once
// Reads an OFD document (the first document of the package) into plain data: pages with
// their size, rotation and the graphic objects of their layers, the pictures they show, and
// the fields of the document's custom tags. What is read: path objects (AbbreviatedData
// with S, M, L, Q, B, A and C; stroke and fill colours, line width), text objects (font,
// size, fill colour, HScale, TextCode with X, Y, DeltaX and DeltaY including the "g N v"
// shorthand), image objects (MultiMedia pictures), each with Boundary, CTM and Alpha;
// layers in the order background, body, foreground; page blocks. Templates, annotations,
// clipping and draw parameters are not read.
//
// Page size: the page's own Area/PhysicalBox, else the document's PageArea. Rotation: the
// page entry's `Rotate` attribute in Document.xml (degrees, a quarter turn multiple), which
// some producers write; 0 when absent.
//
// Everything the package says is checked against limits: a page at most kMaxPageMm on a
// side, kMaxPages pages, kMaxObjects objects in all, blocks nested kMaxDepth deep, pictures
// of at most kMaxImagePixels. Files in the wild break the schema's order and namespaces,
// so elements are matched by local name and unknown ones are skipped.

#include <QHash>
#include <QImage>
#include <QMap>
#include <QPainterPath>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QTransform>
#include <QVector>
#include <vector>

class OfdPackage;

// A run of characters: the first one's baseline starts at `start` (object space); each next
// one moves by the matching DeltaX/DeltaY entry, or by the character's own advance where
// the list ends.
struct OfdTextCode {
    QPointF start;
    QVector<double> deltaX;
    QVector<double> deltaY;
    QString text;
};

struct OfdObject {
    enum Kind { Path, Text, Image };
    Kind kind = Path;
    QString id;
    QRectF boundary;    // page millimetres
    QTransform ctm;     // object space → boundary space
    double alpha = 1.0; // 0..1
    // Path
    QPainterPath path;
    bool stroke = true;
    bool fill = false;
    double lineWidth = 0.353;
    QColor strokeColor = Qt::black;
    QColor fillColor = Qt::transparent;
    bool evenOdd = false;
    // Text (fill colour above)
    QString fontFamily;
    double fontSize = 0; // millimetres
    double hScale = 1.0;
    QVector<OfdTextCode> codes;
    // Image
    QString imageId;
};

struct OfdPageData {
    QSizeF size; // millimetres
    int rotation = 0;
    std::vector<OfdObject> objects; // drawing order
};

struct OfdDocumentData {
    QVector<OfdPageData> pages;
    QHash<QString, QImage> images; // MultiMedia ID → picture
    // Custom tag element (local name) → its text, or the text of the objects its
    // ObjectRef children name.
    QMap<QString, QString> tags;
};

namespace OfdReader
{
constexpr double kMaxPageMm = 5000;
constexpr int kMaxPages = 10000;
constexpr int kMaxObjects = 200000;
constexpr int kMaxDepth = 64;
constexpr qint64 kMaxImagePixels = 40LL * 1000 * 1000;

// Reads the package's first document. False with a message saying what is wrong.
bool Read(OfdPackage& package, OfdDocumentData* out, QString* error);
} // namespace OfdReader
