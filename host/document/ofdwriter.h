#pragma once
// Writes a one-page OFD package: OFD.xml, the document with its common data, a public
// resource file for fonts, a document resource file for pictures, and the page's content
// with one body layer holding the objects in the order they were added. IDs are given
// when the package is written: the page first, then fonts, pictures, the layer and the
// objects, and MaxUnitID is the last one. Lengths are millimetres, y down; colours are
// written as "r g b". Shared by the convert service and the seal maker.

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QTransform>
#include <QVector>

class OfdWriter
{
public:
    explicit OfdWriter(const QSizeF& pageMm);

    void SetTitle(const QString& title) { m_title = title; }
    // Returns the font's index for TextObject (one per family).
    int AddFont(const QString& family);
    // A PNG or JPEG picture's bytes; returns its index for ImageObject.
    int AddImage(const QByteArray& bytes, const QByteArray& format);

    // `data` in AbbreviatedData form, relative to the boundary.
    void AddPath(const QRectF& boundary, const QString& data, double lineWidth,
                 const QColor& stroke);
    // One run of text: `start` is the first character's baseline (object space, mapped by
    // `ctm` into the boundary); `deltaX` the advances between characters (may be empty).
    void AddText(const QRectF& boundary, const QTransform& ctm, int font, double size,
                 const QColor& fill, const QPointF& start, const QVector<double>& deltaX,
                 const QString& text);
    // The picture fills the boundary.
    void AddImage(const QRectF& boundary, int image);

    // Writes the package (a new file renamed over `path` when complete). False with a
    // message when it cannot.
    bool Save(const QString& path, QString* error) const;
    // The package's bytes; empty when zipping failed.
    QByteArray Package(QString* error) const;

    static QString Number(double v);

private:
    struct Object {
        enum Kind { Path, Text, Image } kind;
        QRectF boundary;
        QTransform ctm;
        QString data;
        double lineWidth = 0;
        QColor colour;
        int font = 0;
        double size = 0;
        QPointF start;
        QVector<double> deltaX;
        QString text;
        int image = 0;
    };
    struct Picture {
        QByteArray bytes;
        QByteArray format;
    };
    QSizeF m_page;
    QString m_title;
    QStringList m_fonts;
    QList<Picture> m_images;
    QList<Object> m_objects;
};
