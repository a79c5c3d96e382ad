// The application object, the engine's handles and its services.
#include "host/document/cca_qtdevice.h"
#include "host/document/documentio.h"
#include "host/document/g_application.h"
#include "host/document/ig_document.h"
#include "host/document/ig_page.h"
#include "pdftestutil.h"

#include <QBuffer>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace PdfTestUtil;

class TestEngineServices : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // Handles, and the document a handle opens (one at a time, closed with it).
    void handles()
    {
        G_Engine* engine = G_Application::Instance()->Engine();
        QCOMPARE(G_Application::Instance()->Engine(), engine);
        const int before = engine->OpenHandleCount();
        G_EngineHandle a = engine->AcquireHandle(0), h = engine->AcquireHandle(0);
        QVERIFY(a && h && a != h);
        QCOMPARE(engine->OpenHandleCount(), before + 2);
        engine->ReleaseHandle(&a);
        QVERIFY(!a);
        engine->ReleaseHandle(&a); // twice: nothing
        engine->ReleaseHandle(nullptr);
        int notAHandle = 0;
        G_EngineHandle bogus = &notAHandle;
        engine->ReleaseHandle(&bogus); // not ours: refused, not followed
        QVERIFY(!engine->HandleDocument(&notAHandle));

        G_SignatureService* sign = engine->SignatureService();
        const std::wstring good = Sample("contract.pdf").toStdWString();
        const std::wstring bad = Sample("missing.pdf").toStdWString();
        auto options = std::make_shared<NexJson>();
        IG_Document* doc = sign->OpenDocument(h, good.c_str(), options);
        QVERIFY(doc);
        QCOMPARE(doc->PageCount(), 3);
        QCOMPARE(engine->HandleDocument(h), doc);
        // A second open replaces (and closes) the first; a failed one leaves none.
        QVERIFY(!sign->OpenDocument(h, bad.c_str(), options));
        QVERIFY(!engine->HandleDocument(h));
        QVERIFY(sign->OpenDocument(h, good.c_str(), options));
        sign->CloseDocument(h);
        QVERIFY(!engine->HandleDocument(h));
        QVERIFY(!sign->OpenDocument(nullptr, good.c_str(), options));
        QVERIFY(sign->OpenDocument(h, good.c_str(), options)); // released with it open
        engine->ReleaseHandle(&h);
        QCOMPARE(engine->OpenHandleCount(), before);
    }

    void documentsAndContexts()
    {
        G_Application* app = G_Application::Instance();
        std::unique_ptr<IG_Document> doc(DocumentIO::CreateBlank({CCA_GSize(100, 100)}));
        QVERIFY(!app->DocumentContext(doc.get()));
        const int count = app->DocumentCount();
        app->RegisterDocument(doc.get());
        app->RegisterDocument(doc.get());
        QCOMPARE(app->DocumentCount(), count + 1);
        G_DocumentContext* ctx = app->DocumentContext(doc.get());
        QVERIFY(ctx);
        QCOMPARE(ctx->Document(), doc.get());

        G_SignatureService* sign = app->Engine()->SignatureService();
        QVERIFY(!sign->PrepareSignature(nullptr, std::make_shared<NexJson>()));
        QVERIFY(sign->PrepareSignature(ctx, std::make_shared<NexJson>()));
        QCOMPARE(ctx->PreparedSignatures(), 1);

        G_InvoiceService* invoice = app->Engine()->InvoiceService();
        G_InvoiceInfoData info;
        QVERIFY(!invoice->IsInvoice(ctx));
        QVERIFY(!invoice->ReadInvoiceInfo(ctx, info));
        QCOMPARE(invoice->InvoiceKind(ctx, 0), 0);

        app->UnregisterDocument(doc.get());
        QVERIFY(!app->DocumentContext(doc.get()));
        QCOMPARE(app->DocumentCount(), count);
    }

    void logger()
    {
        G_Logger* log = G_Application::Instance()->Logger();
        log->Clear();
        log->Write("GA_Stamp::Filter subannotType: 8, IsSignature is 0, annitID is 3");
        log->Write(u8"两行\nsecond");
        log->Write(nullptr);
        QCOMPARE(log->Lines().size(), 4);
        QCOMPARE(log->Lines().at(1), QStringLiteral("两行"));
    }

    // The seal picture road: a document page rendered to a picture through the device.
    void renderPage()
    {
        G_Engine* engine = G_Application::Instance()->Engine();
        G_EngineHandle h = engine->AcquireHandle(0);
        const std::wstring path = Sample("rotated.pdf").toStdWString();
        IG_Document* doc =
            engine->SignatureService()->OpenDocument(h, path.c_str(), std::make_shared<NexJson>());
        QVERIFY(doc);
        IG_Page* page = doc->PageAt(0);
        const int pw = int(std::ceil(page->Height() * 100 / 25.4f)); // turned by 90
        const int ph = int(std::ceil(page->Width() * 100 / 25.4f));
        QImage image(pw, ph, QImage::Format_RGB32);
        image.fill(0xFF00FF00);
        CCA_Matrix m;
        page->DisplayMatrix(&m, 0, 0, pw, ph, 0);
        {
            QPainter painter(&image);
            CCA_QtDevice device;
            QVERIFY(device.Attach(&painter, 0));
            auto options = NexJsonFactory::ParseJsonString("{}");
            options->SetMember("Clip", NexJsonHelper::FromRect(CCA_GRect(0, 0, pw / 2, ph)));
            QVERIFY(engine->RenderService()->RenderPage(h, page, &device, &m, 127, 0, 0, options));
            QVERIFY(
                !engine->RenderService()->RenderPage(h, nullptr, &device, &m, 127, 0, 0, options));
            QVERIFY(!engine->RenderService()->RenderPage(h, page, &device, nullptr, 127, 0, 0,
                                                         options));
        }
        QCOMPARE(image.pixel(5, 5), QColor(Qt::white).rgb()); // page, inside the clip
        QCOMPARE(image.pixel(pw - 5, 5), 0xFF00FF00u);        // outside the clip
        // The same as pdftoppm shows (the grey box of the sample, turned with the page).
        const QImage ref = RenderWithPoppler(Sample("rotated.pdf"), 1, 100);
        QCOMPARE(ref.size(), QSize(pw, ph));
        int differ = 0;
        for (int y = 0; y < ph; y += 7)
            for (int x = 0; x < pw / 2 - 2; x += 7)
                if (!Near(image.pixel(x, y), QColor(ref.pixel(x, y)), 60))
                    ++differ;
        QVERIFY2(differ < 20, qPrintable(QString::number(differ)));
        CCA_QtDevice idle;
        QVERIFY(!idle.Attach(nullptr, 0));
        QVERIFY(!engine->RenderService()->RenderPage(h, page, &idle, &m, 127, 0, 0, nullptr));
        engine->ReleaseHandle(&h);
    }

    void convertPicture_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<double>("widthPt");
        QTest::addColumn<double>("heightPt");
        // 473 × 355 at 300 dpi (pHYs) → 113.5 × 85.2 pt; 236 × 177 without → 96 dpi.
        QTest::newRow("png with dpi")
            << Sample("seal_red.png") << 473 * 72 / 299.9994 << 355 * 72 / 299.9994;
        QTest::newRow("png without dpi")
            << Sample("seal_blue_nodpi.png") << 236 * 0.75 << 177 * 0.75;
        QTest::newRow("jpeg, 200 dpi")
            << m_dir.filePath("photo.jpg") << 200 * 72 / 200.0 << 100 * 72 / 200.0;
    }
    void convertPicture()
    {
        QFETCH(QString, picture);
        QFETCH(double, widthPt);
        QFETCH(double, heightPt);
        if (picture.endsWith(".jpg")) {
            QImage photo(200, 100, QImage::Format_RGB32);
            photo.fill(QColor(20, 160, 40));
            photo.setDotsPerMeterX(int(200 / 0.0254 + 0.5));
            photo.setDotsPerMeterY(int(200 / 0.0254 + 0.5));
            QVERIFY(photo.save(picture, "JPEG", 90));
        }
        G_Engine* engine = G_Application::Instance()->Engine();
        G_EngineHandle h = engine->AcquireHandle(0);
        const QString out = m_dir.filePath("converted.pdf");
        QFile::remove(out);
        const std::wstring src = picture.toStdWString(), dst = out.toStdWString();
        QVERIFY(engine->ConvertService()->ConvertFile(h, src.c_str(), dst.c_str(),
                                                      std::make_shared<const NexJson>()));
        QVERIFY(QpdfCheck(out));
        QString info;
        Run("pdfinfo", {out}, &info);
        const QRegularExpression re(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts"));
        const auto match = re.match(info);
        QVERIFY2(match.hasMatch(), qPrintable(info));
        QVERIFY2(qAbs(match.captured(1).toDouble() - widthPt) < 0.2, qPrintable(info));
        QVERIFY(qAbs(match.captured(2).toDouble() - heightPt) < 0.2);
        QString listing;
        QCOMPARE(ImageObjects(out, &listing).size() >= 1, true);
        // The picture fills the page.
        const QImage page = RenderWithPoppler(out, 1, 72);
        QVERIFY(!page.isNull());
        if (picture.endsWith(".jpg"))
            QVERIFY(Near(page.pixel(page.width() / 2, page.height() / 2), QColor(20, 160, 40)));
        engine->ReleaseHandle(&h);
    }

    void convertRefuses_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("destination");
        QTest::newRow("ofd destination") << Sample("seal_red.png") << m_dir.filePath("x.ofd");
        QTest::newRow("unknown destination") << Sample("seal_red.png") << m_dir.filePath("x.doc");
        QTest::newRow("not a picture") << Sample("contract.pdf") << m_dir.filePath("y.pdf");
        QTest::newRow("missing picture") << Sample("none.png") << m_dir.filePath("z.pdf");
        QTest::newRow("folder missing") << Sample("seal_red.png") << m_dir.filePath("no/dir/z.pdf");
    }
    void convertRefuses()
    {
        QFETCH(QString, source);
        QFETCH(QString, destination);
        G_Engine* engine = G_Application::Instance()->Engine();
        const std::wstring src = source.toStdWString(), dst = destination.toStdWString();
        QVERIFY(!engine->ConvertService()->ConvertFile(nullptr, src.c_str(), dst.c_str(),
                                                       std::make_shared<const NexJson>()));
        QVERIFY(!QFile::exists(destination));
        QVERIFY(!engine->ConvertService()->ConvertFile(nullptr, nullptr, dst.c_str(), nullptr));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestEngineServices)
#include "tst_engineservices.moc"
