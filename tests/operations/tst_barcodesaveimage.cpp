// "tb_barcodesaveimage": a barcode picture moved to where the user wants it, or converted
// to a PDF; bad input, and a move that cannot happen, lose nothing.

#include "hostfixture.h"
#include "stampkit.h"

#include <QDir>

namespace
{
QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class TestBarcodeSaveImage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { StampKit::InitPlugin(); }
    void save_data()
    {
        QTest::addColumn<QString>("source");      // "picture", "missing" or "" (not given)
        QTest::addColumn<QString>("destination"); // in the test folder; "" not given
        QTest::addColumn<bool>("older");          // a file of that name is there already
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("saveFile");
        QTest::addColumn<QString>("after"); // "moved", "pdf" or "kept" (nothing changed)

        QTest::newRow("new png") << "picture" << "saved.png" << false << 1 << 1 << "moved";
        QTest::newRow("replaces a file of that name") << "picture" << "saved.png" << true << 1 << 1
                                                      << "moved";
        QTest::newRow("other suffix") << "picture" << "saved.bmp" << false << 1 << 1 << "moved";
        QTest::newRow("no suffix") << "picture" << "saved" << true << 1 << 1 << "moved";
        QTest::newRow("upper-case .PDF") << "picture" << "barcode.PDF" << false << 1 << 1 << "pdf";
        QTest::newRow("lower-case .pdf") << "picture" << "barcode.pdf" << false << 1 << 1 << "pdf";
        QTest::newRow("no destination") << "picture" << "" << false << 0 << 0 << "kept";
        QTest::newRow("no source") << "" << "target.png" << true << 0 << 0 << "kept";
        QTest::newRow("neither") << "" << "" << false << 0 << 0 << "kept";
        QTest::newRow("source gone meanwhile") << "missing" << "older.png" << true << 1 << 0 << "kept";
        QTest::newRow("destination is the source") << "picture" << "source.png" << false << 1 << 1
                                                   << "kept";
        QTest::newRow("copy fails") << "picture" << "no folder/saved.png" << false << 1 << 0
                                    << "kept";
    }

    void save()
    {
        QFETCH(QString, source);
        QFETCH(QString, destination);
        QFETCH(bool, older);
        QFETCH(int, result);
        QFETCH(int, saveFile);
        QFETCH(QString, after);
        HostFixture fx;
        const QString dir = fx.TempDir() + "/barcodes/";
        QVERIFY(QDir().mkpath(dir));
        // A small black-and-white bar pattern, as a barcode picture would be.
        QImage image(120, 40, QImage::Format_RGB32);
        image.fill(Qt::white);
        for (int x = 4; x < 116; x += 6) {
            for (int y = 4; y < 36; ++y)
                image.setPixel(x, y, qRgb(0, 0, 0));
        }
        const QString from = dir + (source == "picture" ? "source.png" : "missing.png");
        if (source == "picture")
            QVERIFY(image.save(from, "PNG"));
        const QByteArray picture = readAll(from);
        const QString to = dir + destination;
        if (older) {
            QFile file(to);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("older") == 5);
        }
        const QByteArray before = readAll(to);

        QVariantMap out;
        QCOMPARE(fx.Run("tb_barcodesaveimage",
                        {{"saveFilePath", source.isEmpty() ? QString() : from},
                         {"saveDestPath", destination.isEmpty() ? QString() : to}},
                        &out),
                 result);
        QCOMPARE(out.value("saveFile", -1).toInt(), saveFile);
        if (after == "moved") {
            QCOMPARE(readAll(to), picture);
            QVERIFY(!QFile::exists(from));
        } else if (after == "pdf") {
            QVERIFY(readAll(to).startsWith("%PDF-"));
        } else {
            QCOMPARE(readAll(from), picture);
            QCOMPARE(readAll(to), before);
        }
    }
};

QTEST_MAIN(TestBarcodeSaveImage)
#include "tst_barcodesaveimage.moc"
