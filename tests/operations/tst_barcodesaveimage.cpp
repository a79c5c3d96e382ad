// "tb_barcodesaveimage": a barcode picture moved to where the user wants it, or converted
// to a PDF that other programs accept; bad input changes nothing.

#include "hostfixture.h"
#include "stampkit.h"

#include "host/framework/g_operation.h"
#include "host/framework/g_uicontext.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>
#include <memory>

namespace
{

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class TestBarcodeSaveImage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void moveBringsPictureOver_data();
    void moveBringsPictureOver();
    void pdfDestinationConverts_data();
    void pdfDestinationConverts();
    void missingPathChangesNothing_data();
    void missingPathChangesNothing();
    void moveThatCannotHappenLosesNothing_data();
    void moveThatCannotHappenLosesNothing();

private:
    int runSave(const QString& source, const QString& destination, int* saveFile);
    QString barcode(const QString& name);
    std::unique_ptr<HostFixture> m_fx;
    QString m_dir;
};

void TestBarcodeSaveImage::initTestCase()
{
    StampKit::InitPlugin();
}

void TestBarcodeSaveImage::init()
{
    m_fx.reset(new HostFixture);
    m_dir = m_fx->TempDir() + "/barcodes";
    QVERIFY(QDir().mkpath(m_dir));
}

void TestBarcodeSaveImage::cleanup()
{
    m_fx.reset();
}

QString TestBarcodeSaveImage::barcode(const QString& name)
{
    // A small black-and-white bar pattern, as a barcode picture would be.
    QImage image(120, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int x = 4; x < 116; x += 6) {
        for (int y = 4; y < 36; ++y)
            image.setPixel(x, y, qRgb(0, 0, 0));
    }
    const QString path = m_dir + "/" + name;
    image.save(path, "PNG");
    return path;
}

int TestBarcodeSaveImage::runSave(const QString& source, const QString& destination, int* saveFile)
{
    G_Operation* op = m_fx->Context()->CreateOperationByName("tb_barcodesaveimage", QString());
    if (!op)
        return -1;
    op->Param()->Add("saveFilePath", source);
    op->Param()->Add("saveDestPath", destination);
    const int result = op->PerformAction();
    *saveFile = op->Param()->Has("saveFile") ? op->Param()->GetInt32("saveFile", -1) : -1;
    op->DeleteLater();
    return result;
}

void TestBarcodeSaveImage::moveBringsPictureOver_data()
{
    QTest::addColumn<QString>("destination");
    QTest::addColumn<bool>("destinationExists");
    QTest::newRow("new png") << "saved.png" << false;
    QTest::newRow("replaces a file of that name") << "saved.png" << true;
    QTest::newRow("other suffix") << "saved.bmp" << false;
    QTest::newRow("no suffix") << "saved" << true;
}

void TestBarcodeSaveImage::moveBringsPictureOver()
{
    QFETCH(QString, destination);
    QFETCH(bool, destinationExists);
    const QString source = barcode("source.png");
    const QByteArray picture = readAll(source);
    QVERIFY(!picture.isEmpty());
    const QString target = m_dir + "/" + destination;
    if (destinationExists)
        QVERIFY(writeFile(target, "an older file that is replaced"));

    int saveFile = -1;
    QCOMPARE(runSave(source, target, &saveFile), 1);
    QCOMPARE(saveFile, 1);
    QCOMPARE(readAll(target), picture);
    QVERIFY(!QFile::exists(source));
}

void TestBarcodeSaveImage::pdfDestinationConverts_data()
{
    QTest::addColumn<QString>("destination");
    QTest::newRow("upper-case .PDF") << "barcode.PDF";
    QTest::newRow("lower-case .pdf") << "barcode.pdf";
}

void TestBarcodeSaveImage::pdfDestinationConverts()
{
    QFETCH(QString, destination);
    const QString qpdf = QStandardPaths::findExecutable("qpdf");
    const QString pdfinfo = QStandardPaths::findExecutable("pdfinfo");
    if (qpdf.isEmpty() || pdfinfo.isEmpty())
        QSKIP("qpdf and pdfinfo are needed to read the converted file");

    const QString source = barcode("code.png");
    const QString target = m_dir + "/" + destination;
    int saveFile = -1;
    QCOMPARE(runSave(source, target, &saveFile), 1);
    QCOMPARE(saveFile, 1);
    QVERIFY(QFile::exists(target));
    QVERIFY(readAll(target).startsWith("%PDF-"));

    QProcess check;
    check.start(qpdf, {"--check", target});
    QVERIFY(check.waitForFinished(30000));
    QVERIFY2(check.exitCode() == 0, check.readAllStandardOutput().constData());

    QProcess info;
    info.start(pdfinfo, {target});
    QVERIFY(info.waitForFinished(30000));
    QCOMPARE(info.exitCode(), 0);
    const QString text = QString::fromLocal8Bit(info.readAllStandardOutput());
    QVERIFY2(text.contains(QRegularExpression("Pages:\\s+1\\n")), qPrintable(text));
}

void TestBarcodeSaveImage::missingPathChangesNothing_data()
{
    QTest::addColumn<bool>("giveSource");
    QTest::addColumn<bool>("giveDestination");
    QTest::newRow("no destination") << true << false;
    QTest::newRow("no source") << false << true;
    QTest::newRow("neither") << false << false;
}

void TestBarcodeSaveImage::missingPathChangesNothing()
{
    QFETCH(bool, giveSource);
    QFETCH(bool, giveDestination);
    const QString source = barcode("kept.png");
    const QByteArray picture = readAll(source);
    const QString target = m_dir + "/target.png";
    QVERIFY(writeFile(target, "kept as it is"));

    int saveFile = -1;
    QCOMPARE(
        runSave(giveSource ? source : QString(), giveDestination ? target : QString(), &saveFile),
        0);
    QCOMPARE(saveFile, 0);
    QCOMPARE(readAll(source), picture);
    QCOMPARE(readAll(target), QByteArray("kept as it is"));
}

void TestBarcodeSaveImage::moveThatCannotHappenLosesNothing_data()
{
    QTest::addColumn<bool>("sourceExists");
    QTest::addColumn<bool>("samePath");
    QTest::addColumn<int>("expectedSaveFile");
    QTest::newRow("source gone meanwhile") << false << false << 0;
    QTest::newRow("destination is the source") << true << true << 1;
}

void TestBarcodeSaveImage::moveThatCannotHappenLosesNothing()
{
    QFETCH(bool, sourceExists);
    QFETCH(bool, samePath);
    QFETCH(int, expectedSaveFile);
    const QString source = sourceExists ? barcode("only.png") : m_dir + "/missing.png";
    const QByteArray picture = readAll(source);
    const QString target = samePath ? source : m_dir + "/older.png";
    if (!samePath)
        QVERIFY(writeFile(target, "the older file stays"));

    int saveFile = -1;
    QCOMPARE(runSave(source, target, &saveFile), 1);
    QCOMPARE(saveFile, expectedSaveFile);
    if (samePath) {
        QCOMPARE(readAll(source), picture);
    } else {
        QCOMPARE(readAll(target), QByteArray("the older file stays"));
    }
}

QTEST_MAIN(TestBarcodeSaveImage)
#include "tst_barcodesaveimage.moc"
