// The seal maker's document: a package unzip and xmllint (our schema) accept, with unique
// IDs under MaxUnitID, that the engine draws as the description says.
#include "host/sealmaker/isealmaker.h"
#include "tests/host/document/pdftestutil.h"

#include <QRegularExpression>
#include <cmath>

using namespace PdfTestUtil;

namespace
{
SMK::SealTextItem Item(const QString& text, const char* font, float size, float stretch,
                       std::uint32_t colour)
{
    SMK::SealTextItem t;
    t.text = text.toStdString();
    t.fontName = font;
    t.fontSize = size;
    t.flag1 = 1;
    t.stretch = stretch;
    t.colour = colour;
    return t;
}

// The invoice seal: a 40 × 30 mm oval of 1 mm, the name on the arc, the number and caption.
SMK::SealDescription InvoiceSeal(const QString& name, std::uint32_t colour)
{
    SMK::SealDescription d;
    d.outline.type = SMK::SealOval;
    d.outline.width = 40;
    d.outline.height = 30;
    d.outline.lineWidth = 1;
    d.outline.colour = colour;
    d.shapes.push_back(d.outline);
    const float angle = float(std::min(270, 100 + 20 * (int(name.size()) - 6)));
    SMK::SealTextItem arc = Item(name, "FangSong", 4.2f, 0.7f, colour);
    arc.onArc = 1;
    arc.radiusX = 16.9f;
    arc.radiusY = 11.9f;
    arc.startAngle = -angle / 2;
    arc.endAngle = angle / 2;
    SMK::SealTextItem number = Item("91330106MA2KXYZ12P", "Arial", 3.7f, 0.45f, colour);
    number.y = -0.0f;
    number.charWidth = 1.3f;
    SMK::SealTextItem caption =
        Item(QString::fromUtf8("发票专用章"), "FangSong", 4.6f, 0.7f, colour);
    caption.y = 6.5f;
    caption.charWidth = 3.2f;
    d.texts = {arc, number, caption};
    return d;
}

bool Save(const SMK::SealDescription* d, const QString& path)
{
    SMK::ISealMaker* maker = SMK::CreateSealMaker();
    maker->SetSealDescription(d);
    const bool ok = maker->SaveSealDocument(path.toUtf8().constData());
    SMK::DestorySealMaker(maker);
    return ok;
}

// How many pixels of the rectangle `mm` (millimetres) are near `colour`.
int Count(const QImage& image, const QRectF& mm, const QColor& colour)
{
    const double q = 300 / 25.4;
    int n = 0;
    for (int v = int(mm.top() * q); v <= int(mm.bottom() * q); ++v)
        for (int u = int(mm.left() * q); u <= int(mm.right() * q); ++u)
            n += Near(image.pixel(u, v), colour, 69);
    return n;
}

// The same for a `side` mm square around (x, y).
int Count(const QImage& image, double x, double y, const QColor& colour, double side = 1.6)
{
    return Count(image, QRectF(x - side / 2, y - side / 2, side, side), colour);
}

QStringList Captures(const QString& pattern, const QString& text)
{
    QStringList out;
    QRegularExpressionMatchIterator it = QRegularExpression(pattern).globalMatch(text);
    while (it.hasNext())
        out << it.next().captured(1);
    return out;
}

QPointF OnArc(double degrees, double rx, double ry)
{
    const double r = degrees * M_PI / 180;
    return QPointF(20 + rx * std::sin(r), 15 - ry * std::cos(r));
}
} // namespace

class TestSealMaker : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void writesValidPackage()
    {
        const QString path = m_dir.filePath("valid.ofd");
        SMK::SealDescription d = InvoiceSeal(QString::fromUtf8("杭州青禾印务有限公司"), 0x0000FF);
        d.pictures.push_back({Sample("seal_red.png").toStdString(), 0, 0, 10, 8});
        QVERIFY(Save(&d, path));
        QString listing;
        QCOMPARE(Run("unzip", {"-Z1", path}, &listing), 0);
        const QStringList parts = listing.split('\n', Qt::SkipEmptyParts);
        QVERIFY(parts.contains("OFD.xml") && parts.contains("Doc_0/Pages/Page_0/Content.xml"));
        const QString dir = m_dir.filePath("valid");
        QCOMPARE(Run("unzip", {"-oq", path, "-d", dir}), 0);
        QStringList ids, fonts, fontRefs;
        for (const QString& part : parts) {
            if (!part.endsWith(".xml"))
                continue;
            const QString file = dir + "/" + part;
            QString out;
            QVERIFY2(Run("xmllint", {"--noout", "--schema", OFD_XSD, file}, &out) == 0,
                     qPrintable(out));
            Run("xmllint", {"--xpath", "//@ID", file}, &out);
            ids << Captures("ID=\"(\\d+)\"", out);
            Run("xmllint", {"--xpath", "//*[local-name()='Font']/@ID", file}, &out);
            fonts << Captures("ID=\"(\\d+)\"", out);
            Run("xmllint", {"--xpath", "//@Font", file}, &out);
            fontRefs << Captures("Font=\"(\\d+)\"", out);
        }
        QCOMPARE(ids.removeDuplicates(), 0);
        QVERIFY(ids.size() >= 14); // page, fonts, picture, layer, outline, 10 + 2 texts, image
        QString maxId;
        Run("xmllint",
            {"--xpath", "string(//*[local-name()='MaxUnitID'])", dir + "/Doc_0/Document.xml"},
            &maxId);
        int highest = 0;
        for (const QString& id : qAsConst(ids))
            highest = std::max(highest, id.toInt());
        QCOMPARE(maxId.trimmed().toInt(), highest);
        QVERIFY(!fontRefs.isEmpty());
        for (const QString& ref : qAsConst(fontRefs))
            QVERIFY2(fonts.contains(ref), qPrintable(ref));
    }

    void drawsWhatTheRecordSays_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<uint>("colour"); // 0x00BBGGRR
        QTest::addColumn<QColor>("seen");
        QTest::addColumn<double>("lastAngle"); // where the last character of the name sits
        const QString ten = QString::fromUtf8("杭州青禾印务有限公司");
        QTest::newRow("ten characters, red") << ten << 0x0000FFu << QColor(255, 0, 0) << 90.0;
        QTest::newRow("six characters, blue")
            << QString::fromUtf8("青禾印务公司") << 0xFF0000u << QColor(0, 0, 255) << 50.0;
    }
    void drawsWhatTheRecordSays()
    {
        QFETCH(QString, name);
        QFETCH(uint, colour);
        QFETCH(QColor, seen);
        QFETCH(double, lastAngle);
        const QString path = m_dir.filePath(QString(QTest::currentDataTag()) + ".ofd");
        const SMK::SealDescription d = InvoiceSeal(name, colour);
        QVERIFY(Save(&d, path));
        std::unique_ptr<IG_Document> doc(DocumentIO::Open(path, nullptr));
        QVERIFY(doc && doc->PageCount() == 1);
        QCOMPARE(doc->PageAt(0)->PageSize(), CCA_GSize(40, 30));
        const QImage image = RenderModel(doc->PageAt(0), 300);
        // The outline: its whole line width (1 mm, radii 19.5 × 14.5) all round; just inside
        // and outside it, where no text is, nothing.
        for (double a : {0.0, 45.0, 90.0, 180.0, 250.0}) {
            for (double d : {-0.3, 0.3}) {
                const QPointF on = OnArc(a, 19.5 + d, 14.5 + d);
                QVERIFY2(Count(image, on.x(), on.y(), seen, 0.2) > 2,
                         qPrintable(QString("%1 %2").arg(a).arg(d)));
            }
        }
        for (double a : {120.0, 150.0, 210.0, 240.0}) {
            const QPointF in = OnArc(a, 18.7, 13.7), out = OnArc(a, 20.8, 15.8);
            QCOMPARE(Count(image, in.x(), in.y(), seen, 0.3), 0);
            QCOMPARE(Count(image, out.x(), out.y(), seen, 0.3), 0);
        }
        // The name: a character at each end of its arc, none beyond it, none at the bottom.
        const QPointF first = OnArc(-lastAngle, 16.9, 11.9), last = OnArc(lastAngle, 16.9, 11.9);
        QVERIFY(Count(image, first.x(), first.y(), seen) > 20);
        QVERIFY(Count(image, last.x(), last.y(), seen) > 20);
        if (lastAngle < 80) {
            const QPointF beyond = OnArc(lastAngle + 30, 16.9, 11.9);
            QCOMPARE(Count(image, beyond.x(), beyond.y(), seen, 2.4), 0);
        }
        const QPointF bottom = OnArc(180, 16.9, 11.9);
        QCOMPARE(Count(image, QRectF(bottom.x() - 5, bottom.y() - 0.8, 10, 1.6), seen), 0);
        // The number across the middle, the caption below, space between them and the name.
        QVERIFY(Count(image, 16, 15, seen, 2.0) > 10 && Count(image, 24, 15, seen, 2.0) > 10);
        // Centred on the line's middle: ink just below the centre, none 1.9 mm above it.
        QVERIFY(Count(image, QRectF(10, 15.7, 20, 0.3), seen) > 10);
        QCOMPARE(Count(image, QRectF(10, 12.9, 20, 0.3), seen), 0);
        QCOMPARE(Count(image, 6.7, 15, seen, 1.0) + Count(image, 33.3, 15, seen, 1.0), 0);
        QVERIFY(Count(image, 20, 21.5, seen, 2.0) > 20);
        QCOMPARE(Count(image, 20, 9, seen, 2.0), 0);
        QCOMPARE(Count(image, 20, 26.6, seen, 1.0), 0);
    }

    void refusesWhatItCannotDraw_data()
    {
        QTest::addColumn<int>("fault");
        QTest::newRow("no description") << 0;
        QTest::newRow("no outline size") << 1;
        QTest::newRow("font size not a number") << 2;
        QTest::newRow("picture missing") << 3;
        QTest::newRow("folder missing") << 4;
    }
    void refusesWhatItCannotDraw()
    {
        QFETCH(int, fault);
        SMK::SealDescription d = InvoiceSeal(QString::fromUtf8("青禾印务公司"), 0x0000FF);
        QString path = m_dir.filePath("kept.ofd");
        QVERIFY(QFile(path).open(QIODevice::WriteOnly)); // an earlier file stays as it was
        if (fault == 1)
            d.outline.width = 0;
        if (fault == 2)
            d.texts[1].fontSize = std::nanf("");
        if (fault == 3)
            d.pictures.push_back({m_dir.filePath("none.png").toStdString(), 0, 0, 10, 10});
        if (fault == 4)
            path = m_dir.filePath("no/such/folder/seal.ofd");
        QVERIFY(!Save(fault == 0 ? nullptr : &d, path));
        QCOMPARE(QFileInfo(m_dir.filePath("kept.ofd")).size(), 0);
        QVERIFY(!QFile::exists(m_dir.filePath("no/such/folder/seal.ofd")));
        // and the same description without the fault is written
        if (fault == 2) {
            d.texts[1].fontSize = 3.7f;
            QVERIFY(Save(&d, path));
            QVERIFY(QFileInfo(path).size() > 0);
        }
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestSealMaker)
#include "tst_sealmaker.moc"
