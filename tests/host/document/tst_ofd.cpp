// OFD documents through the model and the engine: packages made by hand and by the samples
// script open, render and tell invoices; damaged and hostile ones are refused with a message
// that says why.
#include "pdftestutil.h"

#include <quazip/quacrc32.h>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

using namespace PdfTestUtil;

using Parts = QMap<QString, QByteArray>;
Q_DECLARE_METATYPE(Parts)

namespace
{
const QByteArray kNs = "xmlns:ofd=\"http://www.ofdspec.org/2016\"";

// A small valid package written by hand: one 100 × 50 mm page with a red square path at
// (10, 10) of 20 mm and a picture.
Parts BasePackage()
{
    return {
        {"OFD.xml", "<ofd:OFD " + kNs +
                        " Version=\"1.0\" DocType=\"OFD\"><ofd:DocBody>"
                        "<ofd:DocRoot>/Doc_0/Document.xml</ofd:DocRoot></ofd:DocBody></ofd:OFD>"},
        {"Doc_0/Document.xml",
         "<ofd:Document " + kNs +
             "><ofd:CommonData><ofd:MaxUnitID>9</ofd:MaxUnitID>"
             "<ofd:PageArea><ofd:PhysicalBox>0 0 100 50</ofd:PhysicalBox></ofd:PageArea>"
             "<ofd:DocumentRes>DocumentRes.xml</ofd:DocumentRes></ofd:CommonData><ofd:Pages>"
             "<ofd:Page ID=\"1\" "
             "BaseLoc=\"Pages/Page_0/Content.xml\"/></ofd:Pages></ofd:Document>"},
        {"Doc_0/DocumentRes.xml",
         "<ofd:Res " + kNs +
             " BaseLoc=\"Res\"><ofd:MultiMedias><ofd:MultiMedia ID=\"2\" "
             "Type=\"Image\"><ofd:MediaFile>pic.png</ofd:MediaFile></ofd:MultiMedia>"
             "</ofd:MultiMedias></ofd:Res>"},
        {"Doc_0/Res/pic.png", ReadFile(Sample("seal_blue_nodpi.png"))},
        {"Doc_0/Pages/Page_0/Content.xml",
         "<ofd:Page " + kNs +
             "><ofd:Content><ofd:Layer ID=\"3\"><ofd:PageBlock ID=\"4\">"
             "<ofd:PathObject ID=\"5\" Boundary=\"10 10 20 20\" Fill=\"true\" Stroke=\"false\">"
             "<ofd:FillColor Value=\"255 0 0\"/><ofd:AbbreviatedData>M 0 0 L 20 0 L 20 20 L 0 20 C"
             "</ofd:AbbreviatedData></ofd:PathObject></ofd:PageBlock>"
             "<ofd:ImageObject ID=\"6\" Boundary=\"60 10 30 20\" CTM=\"30 0 0 20 0 0\" "
             "ResourceID=\"2\"/></ofd:Layer></ofd:Content></ofd:Page>"},
    };
}

bool Zip(const QString& path, const Parts& parts)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    for (auto it = parts.constBegin(); it != parts.constEnd(); ++it) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(it.key())))
            return false;
        file.write(it.value());
        file.close();
    }
    zip.close();
    return zip.getZipError() == 0;
}

// A PNG whose header claims `w` × `h` pixels (the data is that of a 1 × 1 picture).
QByteArray PngClaiming(quint32 w, quint32 h)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImage(1, 1, QImage::Format_RGB32).save(&buffer, "PNG");
    for (int i = 0; i < 4; ++i) {
        png[16 + i] = char(w >> (24 - 8 * i));
        png[20 + i] = char(h >> (24 - 8 * i));
    }
    QuaCrc32 crc;
    const quint32 sum = crc.calculate(png.mid(12, 17));
    for (int i = 0; i < 4; ++i)
        png[29 + i] = char(sum >> (24 - 8 * i));
    return png;
}

} // namespace

class TestOfd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void refusesBadPackages_data()
    {
        QTest::addColumn<Parts>("parts"); // empty: the file below is written as it is
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<QString>("says");
        auto raw = [](const char* row, const QByteArray& bytes, const char* says) {
            QTest::newRow(row) << Parts() << bytes << QString(says);
        };
        // The base package with one part replaced, or removed when `bytes` is null.
        auto part = [](const char* row, const QString& name, const QByteArray& bytes,
                       const char* says) {
            Parts p = BasePackage();
            if (bytes.isNull())
                p.remove(name);
            else
                p[name] = bytes;
            QTest::newRow(row) << p << QByteArray() << QString(says);
        };
        const QString doc = "Doc_0/Document.xml", page = "Doc_0/Pages/Page_0/Content.xml";
        const QString pic = "Doc_0/Res/pic.png";
        const QByteArray pageXml = BasePackage()[page], docXml = BasePackage()[doc];
        raw("not a zip", "OFD? no.", "not a zip");
        raw("cut short", QByteArray("PK\x03\x04\x14\0\0\0", 8), "not a zip");
        part("no OFD.xml", "OFD.xml", QByteArray(), "OFD.xml");
        part("no DocRoot", "OFD.xml", "<ofd:OFD " + kNs + "><ofd:DocBody/></ofd:OFD>", "DocRoot");
        part("document missing", doc, QByteArray(), "Document.xml is missing");
        part("page missing", page, QByteArray(), "Content.xml is missing");
        part("picture missing", pic, QByteArray(), "pic.png is missing");
        part(".. above the root", "OFD.xml",
             BasePackage()["OFD.xml"].replace("/Doc_0/Document.xml", "../../etc/Document.xml"),
             "outside the package");
        part("not well-formed", page, pageXml.left(pageXml.size() - 20), "not well-formed");
        part("no pages", doc, QByteArray(docXml).replace("<ofd:Page ID", "<ofd:Other ID"),
             "no pages");
        part("huge page", doc, QByteArray(docXml).replace("0 0 100 50", "0 0 100 90000"),
             "too large");
        part("no page size", doc, QByteArray(docXml).replace("0 0 100 50", "0 0 0 50"), "no size");
        part("huge picture", pic, PngClaiming(60000, 60000), "too large");
        part("zip bomb", pic, QByteArray(70 << 20, '\0'), "too large");
        const QByteArray blocks = QByteArray("<ofd:PageBlock>").repeated(200) +
                                  QByteArray("</ofd:PageBlock>").repeated(200);
        part("deep nesting", page,
             "<ofd:Page " + kNs + "><ofd:Content><ofd:Layer ID=\"3\">" + blocks +
                 "</ofd:Layer></ofd:Content></ofd:Page>",
             "nested too deeply");
        part("deep nesting in the document", doc,
             QByteArray(docXml).replace("</ofd:Document>", blocks + "</ofd:Document>"),
             "nested too deeply");
    }
    void refusesBadPackages()
    {
        QFETCH(Parts, parts);
        QFETCH(QByteArray, raw);
        QFETCH(QString, says);
        const QString path = m_dir.filePath(QString(QTest::currentDataTag()) + ".ofd");
        QVERIFY(parts.isEmpty() ? WriteFile(path, raw) : Zip(path, parts));
        QString error;
        std::unique_ptr<IG_Document> doc(DocumentIO::Open(path, &error));
        QVERIFY(!doc);
        QVERIFY2(error.contains(says) && error.contains(path), qPrintable(error));
    }

    // Our hand-made package behind names differing in case and under a .pdf name: the
    // content decides. A PDF named .ofd is still a PDF. A page
    // entry's Rotate turns the page as PDF's /Rotate does.
    void opensByContent_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("ofd");
        QTest::addColumn<int>("rotation");
        QTest::newRow("ofd named pdf") << "base-as.pdf" << true << 0;
        QTest::newRow("pdf named ofd") << "contract-as.ofd" << false << 0;
        QTest::newRow("turned page") << "rotated.ofd" << true << 90;
    }
    void opensByContent()
    {
        QFETCH(QString, name);
        QFETCH(bool, ofd);
        QFETCH(int, rotation);
        const QString path = m_dir.filePath(name);
        Parts parts = BasePackage();
        parts["doc_0/pages/PAGE_0/content.xml"] = parts.take("Doc_0/Pages/Page_0/Content.xml");
        if (rotation)
            parts["Doc_0/Document.xml"].replace("<ofd:Page ID=\"1\"",
                                                "<ofd:Page ID=\"1\" Rotate=\"90\"");
        QVERIFY(ofd ? Zip(path, parts) : QFile::copy(Sample("contract.pdf"), path));
        QString error;
        std::unique_ptr<IG_Document> doc(DocumentIO::Open(path, &error));
        QVERIFY2(doc, qPrintable(error));
        QCOMPARE(doc->PageCount(), ofd ? 1 : 3);
        if (!ofd)
            return;
        QCOMPARE(doc->PageAt(0)->PageSize(), CCA_GSize(100, 50));
        QCOMPARE(doc->PageAt(0)->Rotation(), rotation);
        const QImage image = RenderModel(doc->PageAt(0), 96);
        QCOMPARE(image.size(), rotation ? QSize(189, 378) : QSize(378, 189));
        const auto at = [&](double x, double y) {
            return image.pixel(PixelAt(x, y, 100, 50, rotation, 96));
        };
        QVERIFY(Near(at(20, 20), Qt::red));              // inside the square in its block
        QVERIFY(Near(at(35, 20), Qt::white));            // beside it
        QVERIFY(Near(at(75, 20), QColor(30, 60, 220)));  // the blue seal picture's ring...
        QVERIFY(!Near(at(61, 11), QColor(30, 60, 220))); // ...not its corner
        // Stamps can be put on it, but saving says that OFD is not saved.
        QVERIFY(AddSeal(doc.get()) > 0);
        QVERIFY(Stamp(doc->PageAt(0), 1, CCA_GRect(10, 10, 50, 40)));
        const QString out = m_dir.filePath("saved.ofd");
        QVERIFY(!doc->SaveAs(out, &error));
        QVERIFY2(error.contains("OFD") && error.contains("stay"), qPrintable(error));
        QVERIFY(!QFile::exists(out) && doc->IsModified());
    }

    // Invoices are known by their own fields: the samples' /Info and OFD custom tags (the
    // OFD's seller name comes from the text object its tag refers to).
    void invoiceService_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("seller"); // empty: not an invoice
        QTest::addColumn<QString>("taxId");
        QTest::newRow("one page") << Sample("invoice_1page.pdf") << 1
                                  << QString::fromUtf8("杭州青禾印务有限公司")
                                  << "91330106MA2KXYZ12P";
        QTest::newRow("three pages")
            << Sample("invoice_3pages.pdf") << 3 << QString::fromUtf8("南京同舟商贸有限公司")
            << "91320102MA1N8Q7R3T";
        QTest::newRow("ofd") << Sample("invoice.ofd") << 1
                             << QString::fromUtf8("杭州青禾印务有限公司") << "91330106MA2KXYZ12P";
        QTest::newRow("contract") << Sample("contract.pdf") << 3 << QString() << QString();
    }
    void invoiceService()
    {
        QFETCH(QString, file);
        QFETCH(int, pages);
        QFETCH(QString, seller);
        QFETCH(QString, taxId);
        QString error;
        std::unique_ptr<IG_Document> doc(DocumentIO::Open(file, &error));
        QVERIFY2(doc, qPrintable(error));
        G_Application* app = G_Application::Instance();
        app->RegisterDocument(doc.get());
        G_DocumentContext* context = app->DocumentContext(doc.get());
        G_InvoiceService* service = app->Engine()->InvoiceService();
        G_InvoiceInfoData info;
        info.SellerName = GQ_ToCAS("unchanged");
        const bool invoice = !seller.isEmpty();
        QCOMPARE(service->IsInvoice(context), invoice);
        QCOMPARE(service->ReadInvoiceInfo(context, info), invoice);
        QCOMPARE(GQ_ToQStringFromUtf8(info.SellerName), invoice ? seller : "unchanged");
        QCOMPARE(GQ_ToQStringFromUtf8(info.SellerTaxId), taxId);
        QCOMPARE(service->InvoiceKind(context, pages - 1), invoice ? 1 : 0);
        QCOMPARE(service->InvoiceKind(context, pages), 0);
        QVERIFY(!service->IsInvoice(nullptr));
        app->UnregisterDocument(doc.get());
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestOfd)
#include "tst_ofd.moc"
