// standardstamps: draws the reader's standard stamp pictures into a folder (the build puts
// them in <bin>/stamps/). The reader sizes a standard stamp by counting each pixel as one
// point, so a picture w px wide becomes a stamp w × 25.4 / 72 mm wide.
//   standardstamps <folder>

#include <QDate>
#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>
#include <QtMath>
#include <functional>

namespace
{

const QColor kInk(216, 38, 44);

int pixelsForMillimetres(double mm)
{
    return qRound(mm * 72.0 / 25.4);
}

QFont boldFont(double pixelSize)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(qMax(1, qRound(pixelSize)));
    return font;
}

// A text scaled horizontally to fill `box`, centred in it.
void drawFittedText(QPainter& p, const QRectF& box, const QString& text, double pixelSize)
{
    const QFont font = boldFont(pixelSize);
    const QFontMetricsF metrics(font);
    const double stretch = box.width() / qMax(1.0, metrics.horizontalAdvance(text));
    p.save();
    p.setFont(font);
    p.translate(box.center());
    p.scale(qMin(stretch, 1.6), 1.0);
    p.drawText(QRectF(-box.width(), -box.height() / 2, 2 * box.width(), box.height()),
               Qt::AlignCenter, text);
    p.restore();
}

void drawFramed(QPainter& p, const QSizeF& size, const std::function<void(const QRectF&)>& body)
{
    const double line = qMax(1.5, size.height() / 22);
    p.setPen(QPen(kInk, line));
    p.setBrush(Qt::NoBrush);
    const QRectF outer = QRectF(QPointF(0, 0), size).adjusted(line, line, -line, -line);
    p.drawRoundedRect(outer, line * 3, line * 3);
    const QRectF inner = outer.adjusted(line * 2, line * 2, -line * 2, -line * 2);
    p.setPen(QPen(kInk, line / 2));
    p.drawRoundedRect(inner, line * 2, line * 2);
    body(inner.adjusted(line * 2, line, -line * 2, -line));
}

void drawWordStamp(QPainter& p, const QSizeF& size, const QString& word)
{
    drawFramed(p, size, [&](const QRectF& area) {
        p.setPen(kInk);
        drawFittedText(p, area, word, area.height() * 0.8);
    });
}

void drawReceived(QPainter& p, const QSizeF& size)
{
    drawFramed(p, size, [&](const QRectF& area) {
        p.setPen(kInk);
        const QRectF top(area.left(), area.top(), area.width(), area.height() * 0.55);
        drawFittedText(p, top, QStringLiteral("RECEIVED"), top.height() * 0.85);
        // The date line: filled in by hand, or by whoever prints the stamp.
        const QRectF bottom(area.left(), top.bottom(), area.width(), area.height() * 0.45);
        p.setFont(boldFont(bottom.height() * 0.5));
        p.drawText(bottom, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("DATE"));
        const double x = bottom.left() + QFontMetricsF(p.font()).horizontalAdvance("DATE ") + 2;
        p.setPen(QPen(kInk, 1));
        const double y = bottom.center().y() + bottom.height() * 0.2;
        p.drawLine(QPointF(x, y), QPointF(bottom.right(), y));
    });
}

QPolygonF star(const QPointF& centre, double outer)
{
    QPolygonF points;
    for (int i = 0; i < 10; ++i) {
        const double r = (i % 2) ? outer * 0.382 : outer;
        const double a = qDegreesToRadians(-90.0 + 36.0 * i);
        points << centre + QPointF(r * qCos(a), r * qSin(a));
    }
    return points;
}

void drawRoundSeal(QPainter& p, const QSizeF& size, const QString& arcText)
{
    const double side = qMin(size.width(), size.height());
    const QPointF centre(size.width() / 2, size.height() / 2);
    const double line = side / 28;
    const double radius = side / 2 - line;
    p.setPen(QPen(kInk, line));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, radius, radius);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawPolygon(star(centre, radius * 0.3));

    // Characters along the upper arc, centred on the top.
    const QFont font = boldFont(side * 0.105);
    p.setFont(font);
    const double textRadius = radius - line - side * 0.075;
    const int n = arcText.size();
    const double span = 250.0;
    for (int i = 0; i < n; ++i) {
        const double angle = -90.0 - span / 2 + span * (i + 0.5) / n;
        p.save();
        p.translate(centre);
        p.rotate(angle + 90.0);
        p.translate(0, -textRadius);
        p.setPen(kInk);
        p.drawText(QRectF(-side * 0.1, -side * 0.02, side * 0.2, side * 0.16), Qt::AlignCenter,
                   QString(arcText.at(i)));
        p.restore();
    }
    p.setFont(boldFont(side * 0.1));
    p.setPen(kInk);
    p.drawText(QRectF(0, centre.y() + radius * 0.42, size.width(), side * 0.14), Qt::AlignCenter,
               QStringLiteral("SEAL"));
}

bool save(const QDir& dir, const QString& name, const QSizeF& mm,
          const std::function<void(QPainter&, const QSizeF&)>& draw)
{
    const QSize px(pixelsForMillimetres(mm.width()), pixelsForMillimetres(mm.height()));
    QImage image(px, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    draw(painter, QSizeF(px));
    painter.end();
    return image.save(dir.filePath(name), "PNG");
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        err << "usage: standardstamps <folder>\n";
        return 2;
    }
    QDir dir(args.at(1));
    if (!dir.mkpath(QStringLiteral("."))) {
        err << "cannot create " << args.at(1) << "\n";
        return 1;
    }
    const bool ok = save(dir, QStringLiteral("approved.png"), QSizeF(50, 18),
                         [](QPainter& p, const QSizeF& s) {
                             drawWordStamp(p, s, QStringLiteral("APPROVED"));
                         }) &&
                    save(dir, QStringLiteral("confidential.png"), QSizeF(60, 16),
                         [](QPainter& p, const QSizeF& s) {
                             drawWordStamp(p, s, QStringLiteral("CONFIDENTIAL"));
                         }) &&
                    save(dir, QStringLiteral("received.png"), QSizeF(50, 26), drawReceived) &&
                    save(dir, QStringLiteral("round_seal.png"), QSizeF(40, 40),
                         [](QPainter& p, const QSizeF& s) {
                             drawRoundSeal(p, s, QStringLiteral("STANDARD COMPANY"));
                         });
    if (!ok) {
        err << "cannot write the stamps into " << args.at(1) << "\n";
        return 1;
    }
    return 0;
}
