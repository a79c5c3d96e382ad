#include "sealdesign.h"

#include <QRectF>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace
{

// The maker's colours are 0x00BBGGRR.
std::uint32_t MakerColour(const QColor& colour)
{
    return std::uint32_t(colour.blue()) << 16 | std::uint32_t(colour.green()) << 8 |
           std::uint32_t(colour.red());
}

SMK::SealTextItem TextItem(const QString& text, float size, std::uint32_t colour)
{
    SMK::SealTextItem item;
    item.text = text.toStdString();
    item.fontName = "FangSong"; // readers without it use a face with the glyphs
    item.fontSize = size;
    item.flag1 = 1;
    item.colour = colour;
    return item;
}

bool ParseSize(const QString& text, QSizeF* size)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(\\d+(?:\\.\\d+)?)\\s*(?:[xX*]\\s*(\\d+(?:\\.\\d+)?))?\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    const double width = match.captured(1).toDouble();
    const double height = match.captured(2).isEmpty() ? width : match.captured(2).toDouble();
    *size = QSizeF(width, height);
    return true;
}

} // namespace

QSizeF SealDesign::DrawnSize() const
{
    return shape == Round ? QSizeF(size.width(), size.width()) : size;
}

bool SealDesign::Check(QString* error) const
{
    const QSizeF drawn = DrawnSize();
    if (!(drawn.width() >= kMinSide && drawn.width() <= kMaxSide && drawn.height() >= kMinSide &&
          drawn.height() <= kMaxSide)) {
        *error = QStringLiteral("A seal is %1 to %2 mm wide and high; %3 × %4 mm is not.")
                     .arg(kMinSide)
                     .arg(kMaxSide)
                     .arg(drawn.width())
                     .arg(drawn.height());
        return false;
    }
    if (!colour.isValid()) {
        *error = QStringLiteral("The seal has no valid colour.");
        return false;
    }
    if (arcText.trimmed().isEmpty() && centreText.trimmed().isEmpty() && !star) {
        *error = QStringLiteral("The seal is empty: give it a text or a star.");
        return false;
    }
    return true;
}

bool SealDesign::Set(const QString& name, const QString& value, QString* error)
{
    const QString key = name.trimmed().toLower();
    const QString word = value.trimmed().toLower();
    const char* expected = nullptr;
    if (key == QLatin1String("text")) {
        arcText = value;
    } else if (key == QLatin1String("centre") || key == QLatin1String("center")) {
        centreText = value;
    } else if (key == QLatin1String("shape")) {
        if (word != QLatin1String("round") && word != QLatin1String("oval"))
            expected = "round or oval";
        shape = word == QLatin1String("oval") ? Oval : Round;
    } else if (key == QLatin1String("star")) {
        if (!QStringList{"yes", "no", "1", "0", "true", "false"}.contains(word))
            expected = "yes or no";
        star = word == QLatin1String("yes") || word == QLatin1String("1") ||
               word == QLatin1String("true");
    } else if (key == QLatin1String("colour") || key == QLatin1String("color")) {
        colour = QColor(word);
        if (!colour.isValid())
            expected = "a colour like #ff0000 or red";
    } else if (key == QLatin1String("size")) {
        if (!ParseSize(value, &size))
            expected = "millimetres like 40x30";
    } else {
        *error = QStringLiteral("Unknown setting \"%1\" (known: text, centre, star, shape, "
                                "colour, size).")
                     .arg(key);
        return false;
    }
    if (expected) {
        *error = QStringLiteral("Bad %1 \"%2\": expected %3.").arg(key, value, expected);
        return false;
    }
    return true;
}

bool SealDesign::Parse(const QString& settings, SealDesign* design, QString* error)
{
    SealDesign parsed = *design;
    for (const QString& pair : settings.split(';', Qt::SkipEmptyParts)) {
        const int equals = pair.indexOf('=');
        if (equals <= 0) {
            *error = QStringLiteral("Bad setting \"%1\": expected key=value.").arg(pair);
            return false;
        }
        if (!parsed.Set(pair.left(equals), pair.mid(equals + 1), error))
            return false;
    }
    *design = parsed;
    return true;
}

QRectF SealDesign::StarBox() const
{
    const QSizeF drawn = DrawnSize();
    const double side = std::min(drawn.width(), drawn.height()) * 0.3;
    const double lift = centreText.trimmed().isEmpty() ? 0 : side * 0.2;
    return QRectF(-side / 2, -side / 2 - lift, side, side);
}

SMK::SealDescription SealDesign::Description(const QString& starPicture) const
{
    const QSizeF drawn = DrawnSize();
    const double shortSide = std::min(drawn.width(), drawn.height());
    const std::uint32_t colour = MakerColour(this->colour);

    SMK::SealDescription d;
    d.outline.type = shape == Round ? SMK::SealCircle : SMK::SealOval;
    d.outline.width = float(drawn.width());
    d.outline.height = float(drawn.height());
    d.outline.lineWidth = float(std::max(0.6, shortSide * 0.03));
    d.outline.colour = colour;
    d.shapes.push_back(d.outline);

    const QString arc = arcText.trimmed();
    if (!arc.isEmpty()) {
        const float fontSize = float(shortSide * 0.14);
        SMK::SealTextItem item = TextItem(arc, fontSize, colour);
        item.onArc = 1;
        const float inset = d.outline.lineWidth + 0.5f + fontSize * 0.5f;
        item.radiusX = d.outline.width * 0.5f - inset;
        item.radiusY = d.outline.height * 0.5f - inset;
        // Characters a little more than their width apart along the smaller radius (wide
        // scripts take the full height, others about 0.6 of it), on at most two thirds of
        // the ellipse, so the ends stay clear of the centre text; longer texts get
        // narrower characters.
        double width = 0;
        const QVector<uint> characters = arc.toUcs4();
        for (const uint c : characters)
            width += (c >= 0x2E80 ? 1.0 : 0.6) * fontSize;
        const int n = characters.size();
        const double step = width / n * 1.15 / std::min(item.radiusX, item.radiusY) * 180 / M_PI;
        const double wanted = step * (n - 1);
        const double angle = std::min(wanted, 240.0);
        if (wanted > angle)
            item.stretch = float(angle / wanted);
        item.startAngle = float(-angle / 2);
        item.endAngle = float(angle / 2);
        d.texts.push_back(item);
    }
    const QString centre = centreText.trimmed();
    if (!centre.isEmpty()) {
        SMK::SealTextItem item = TextItem(centre, float(shortSide * 0.11), colour);
        const QRectF box = StarBox();
        item.y = float(star ? box.bottom() + item.fontSize * 0.8 : 0);
        // Keep the line inside the outline: narrower characters for long lines.
        const double room = drawn.width() * (star ? 0.6 : 0.7);
        const int n = int(centre.toUcs4().size());
        if (n * item.fontSize > room) {
            item.charWidth = float(room / n);
            item.stretch = item.charWidth / item.fontSize;
        }
        d.texts.push_back(item);
    }
    if (star && !starPicture.isEmpty()) {
        SMK::SealPictureItem picture;
        const QRectF box = StarBox();
        picture.path = starPicture.toStdString();
        picture.x = float(box.center().x());
        picture.y = float(box.center().y());
        picture.width = float(box.width());
        picture.height = float(box.height());
        d.pictures.push_back(picture);
    }
    return d;
}
