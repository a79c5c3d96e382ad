// The document model in memory (pages, resources, stamp annotations, layers, rendering),
// the application object, the engine's handles and its services.
#include "host/document/ica_streamreader.h"
#include "host/document/ig_layer.h"
#include "pdftestutil.h"

#include <QBuffer>

using namespace PdfTestUtil;

namespace
{
QByteArray Png(const QColor& colour, int w = 40, int h = 30)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

int AddBytes(IG_Document* doc, const QByteArray& bytes)
{
    ICA_StreamReader* s = ICA_StreamReader::CreateMemoryStreamReader(bytes);
    const int id = doc->AddResource(s, 1, 0);
    s->Release();
    return id;
}

// How many pixels of `picture` on white paper `image` shows otherwise, sampled away from
// the picture's edges, where resampling blurs; −1 when too few could be sampled.
int Differences(const QImage& image, const QImage& picture)
{
    QImage paper(picture.size(), QImage::Format_RGB32);
    paper.fill(Qt::white);
    QPainter(&paper).drawImage(0, 0, picture);
    int differ = 0, sampled = 0, points = 0;
    for (int y = 4; y < paper.height() - 4; y += 9)
        for (int x = 4; x < paper.width() - 4; x += 9, ++points) {
            const QColor c(paper.pixel(x, y));
            bool flat = true;
            for (const QPoint d : {QPoint(1, 1), QPoint(-1, -1), QPoint(3, 0), QPoint(-3, 0),
                                   QPoint(0, 3), QPoint(0, -3)})
                flat = flat && Near(paper.pixel(QPoint(x, y) + d), c, 10);
            if (flat) {
                ++sampled;
                differ += Near(image.pixel(x, y), c, 30) ? 0 : 1;
            }
        }
    return 2 * sampled > points ? differ : -1;
}

IG_Annot* NewStamp(IG_Page* page, int res, bool runTime, const CCA_GRect& r = {10, 10, 50, 40})
{
    return page->NewAnnot(G_AnnotType_Stamp, "Stamp", r, StampJson(res, runTime));
}
} // namespace

class TestDocumentModel : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        // Sizes and turns of the pages are checked by displayMatrix.
        m_doc.reset(DocumentIO::CreateBlank({CCA_GSize(210, 297), CCA_GSize(297, 210)}, {0, 90}));
        QVERIFY(!m_doc->PageAt(2) && !m_doc->PageAt(-1));
    }
    void cleanup() { m_doc.reset(); }

    void resources_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("picture");
        const QByteArray png = ReadFile(Sample("seal_red.png"));
        QTest::newRow("png") << png << true;
        QTest::newRow("text") << QByteArray("GIF89a? no, plain text") << false;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("png cut short") << png.left(png.size() / 3) << false;
        QTest::newRow("jpeg header, then junk") << QByteArray("\xFF\xD8\xFF\xE0junk", 8) << false;
    }
    void resources()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, picture);
        const int id = AddBytes(m_doc.get(), bytes);
        QCOMPARE(id > 0, picture);
        QCOMPARE(m_doc->ResourceImage(id).isNull(), !picture);
        QCOMPARE(m_doc->AddResource(nullptr, 1, 0), 0);
    }

    void resourcesAreSharedByContent()
    {
        const int a = AddBytes(m_doc.get(), Png(QColor(10, 20, 30, 128)));
        QVERIFY(a > 0);
        QCOMPARE(AddBytes(m_doc.get(), Png(QColor(10, 20, 30, 128))), a);
        const int b = AddBytes(m_doc.get(), Png(Qt::blue));
        QVERIFY(b > 0 && b != a);
        const QImage image = m_doc->ResourceImage(a).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(image.size(), QSize(40, 30));
        QCOMPARE(qAlpha(image.pixel(2, 2)), 128); // alpha kept
        QVERIFY(m_doc->ResourceImage(999).isNull());
        QVERIFY(!ICA_StreamReader::CreateFileStreamReader(L"/no/such/file.png", 0));
        QVERIFY(!ICA_StreamReader::CreateFileStreamReader(static_cast<const char*>(nullptr), 0));
    }

    // Saved stamps modify the document and change what the pages show; run-time ones
    // change neither, so page images stay valid.
    void revisions_data()
    {
        QTest::addColumn<bool>("runTime");
        QTest::newRow("saved stamp") << false;
        QTest::newRow("run-time stamp") << true;
    }
    void revisions()
    {
        QFETCH(bool, runTime);
        const int res = AddBytes(m_doc.get(), Png(Qt::red));
        IG_Page* page = m_doc->PageAt(0);
        quint64 any = m_doc->Revision(), content = m_doc->ContentRevision();
        auto changed = [&]() {
            const bool grew = m_doc->Revision() > any;
            const bool contentGrew = m_doc->ContentRevision() > content;
            any = m_doc->Revision();
            content = m_doc->ContentRevision();
            return grew && contentGrew == !runTime && m_doc->IsModified() == !runTime;
        };
        IG_Annot* a = NewStamp(page, res, runTime);
        QVERIFY(a && changed());
        QCOMPARE(a->IsRunTime(), runTime);
        a->Offset(5, 5);
        QVERIFY(changed());
        QVERIFY(page->RemoveAnnot(a->ID(), false));
        QVERIFY(changed());
    }

    void newAnnot_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("json");
        QTest::addColumn<int>("resource"); // −1: not made
        QTest::newRow("picture") << 8 << QString::fromStdString(StampJson(1)) << 1;
        QTest::newRow("resource 0: frame") << 8 << QString::fromStdString(StampJson(0)) << 0;
        QTest::newRow("unknown resource: frame")
            << 8 << QString::fromStdString(StampJson(77, true)) << 77;
        QTest::newRow("empty object") << 8 << "{}" << 0;
        QTest::newRow("not JSON") << 8 << "{not json" << -1;
        QTest::newRow("JSON array") << 8 << "[1,2]" << -1;
        QTest::newRow("not a stamp") << 1 << QString::fromStdString(StampJson(1)) << -1;
    }
    void newAnnot()
    {
        QFETCH(int, type);
        QFETCH(QString, json);
        QFETCH(int, resource);
        QCOMPARE(AddBytes(m_doc.get(), Png(Qt::red)), 1);
        IG_Page* page = m_doc->PageAt(0);
        IG_Annot* a = page->NewAnnot(G_AnnotType(type), "Stamp", CCA_GRect(50, 40, 10, 10),
                                     json.toStdString());
        QCOMPARE(a != nullptr, resource >= 0);
        if (!a)
            return;
        QCOMPARE(a->ResourceID(), resource);
        QCOMPARE(a->GetRect(), CCA_GRect(10, 10, 50, 40)); // corners ordered
        QVERIFY(a->IsOnPage() && !a->IsLocked() && !a->IsSignature());
        QCOMPARE(page->AnnotCount(), 1);
        // Only a picture can be embedded; anything draws (a frame) without crashing.
        QCOMPARE(a->EmbedInto(page->LayerAt(0), true), resource == 1);
        QVERIFY(!RenderModel(page, 25).isNull());
    }

    void editing()
    {
        IG_Page* page = m_doc->PageAt(0);
        IG_Annot* a = NewStamp(page, 0, false, CCA_GRect(10, 10, 50, 40));
        a->Offset(2.5f, -1);
        QCOMPARE(a->GetRect(), CCA_GRect(12.5f, 9, 52.5f, 39));
        a->SetRect(CCA_GRect(3, 4, 1, 2));
        QCOMPARE(a->GetRect(), CCA_GRect(1, 2, 3, 4));
        const quint64 rev = m_doc->Revision();
        a->Offset(qQNaN(), 1);
        a->SetRect(CCA_GRect(qInf(), 0, 1, 1));
        QCOMPARE(m_doc->Revision(), rev); // ignored

        // Removed, it stays a valid object (undo entries call it) and can come back.
        const unsigned id = a->ID();
        QVERIFY(page->RemoveAnnot(id, false));
        QVERIFY(!a->IsOnPage() && !page->AnnotById(id) && !page->RemoveAnnot(id, false));
        a->Offset(1, 1);
        QCOMPARE(a->GetRect(), CCA_GRect(2, 3, 4, 5));
        QVERIFY(!m_doc->PageAt(1)->RestoreAnnot(a)); // another page's annotation
        QVERIFY(page->RestoreAnnot(a));
        QVERIFY(!page->RestoreAnnot(a));
        QCOMPARE(page->AnnotById(id), a);
    }

    void layersAndEmbedding()
    {
        IG_Page* page = m_doc->PageAt(0);
        QCOMPARE(page->LayerCount(), 1); // the original content
        IG_Layer* l1 = page->NewLayer(-1);
        IG_Layer* l0 = page->NewLayer(0); // the original content stays first
        QCOMPARE(l0->Index(), 1);
        QCOMPARE(l1->Index(), 2);
        QCOMPARE(page->LayerAt(2), l1);
        QVERIFY(!page->LayerAt(3));

        IG_Annot* a = NewStamp(page, AddBytes(m_doc.get(), Png(Qt::red)), false);
        QVERIFY(!a->EmbedInto(m_doc->PageAt(1)->LayerAt(0), true)); // another page
        QVERIFY(!a->EmbedInto(nullptr, true));
        QVERIFY(a->EmbedInto(l1, true));
        QCOMPARE(l1->ObjectCount(), 1);
        QVERIFY(a->IsOnPage()); // the caller deletes it
        QVERIFY(page->RemoveAnnot(a->ID(), false));
    }

    void renderFlags_data()
    {
        QTest::addColumn<int>("kind"); // 0: saved, 1: run-time, 2: embedded into a layer
        QTest::addColumn<int>("flags");
        QTest::addColumn<bool>("shown");
        QTest::newRow("saved, all") << 0 << int(G_Render_All) << true;
        QTest::newRow("saved, content only") << 0 << int(G_Render_Content) << false;
        QTest::newRow("run-time, annots only")
            << 1 << int(G_Render_Content | G_Render_Annots) << false;
        QTest::newRow("run-time, run-time flag") << 1 << int(G_Render_RunTimeAnnots) << true;
        QTest::newRow("embedded, all") << 2 << int(G_Render_All) << true;
        QTest::newRow("embedded, no layers")
            << 2 << int(G_Render_Content | G_Render_Annots) << false;
    }
    void renderFlags()
    {
        QFETCH(int, kind);
        QFETCH(int, flags);
        QFETCH(bool, shown);
        IG_Page* page = m_doc->PageAt(0);
        IG_Annot* a = NewStamp(page, AddBytes(m_doc.get(), Png(Qt::blue)), kind == 1);
        if (kind == 2) // drawn as content where the stamp was, the stamp itself gone
            QVERIFY(a->EmbedInto(page->NewLayer(-1), true) && page->RemoveAnnot(a->ID(), false));
        const QImage image = RenderModel(page, 51, flags); // 2 px/mm
        QCOMPARE(Near(image.pixel(60, 50), Qt::blue), shown);
        QCOMPARE(Near(image.pixel(10, 10), Qt::white), bool(flags & G_Render_Content));
    }

    void displayMatrix_data()
    {
        QTest::addColumn<int>("pageIndex");
        QTest::addColumn<int>("extra");
        QTest::addColumn<QPointF>("topLeftMm"); // maps to device (10, 20)
        QTest::addColumn<QPointF>("centreMm");
        // Page 0 is 210 × 297 unrotated; page 1 is 297 × 210 with /Rotate 90.
        QTest::newRow("portrait") << 0 << 0 << QPointF(0, 0) << QPointF(105, 148.5);
        QTest::newRow("portrait + 90") << 0 << 90 << QPointF(0, 297) << QPointF(105, 148.5);
        QTest::newRow("portrait + 180") << 0 << 180 << QPointF(210, 297) << QPointF(105, 148.5);
        QTest::newRow("portrait + 270") << 0 << 270 << QPointF(210, 0) << QPointF(105, 148.5);
        QTest::newRow("portrait - 90") << 0 << -90 << QPointF(210, 0) << QPointF(105, 148.5);
        QTest::newRow("rotated page") << 1 << 0 << QPointF(0, 210) << QPointF(148.5, 105);
        QTest::newRow("rotated page + 270") << 1 << 270 << QPointF(0, 0) << QPointF(148.5, 105);
    }
    void displayMatrix()
    {
        QFETCH(int, pageIndex);
        QFETCH(int, extra);
        QFETCH(QPointF, topLeftMm);
        QFETCH(QPointF, centreMm);
        IG_Page* page = m_doc->PageAt(pageIndex);
        const int r = (page->Rotation() + extra + 360) % 360;
        const bool swap = r == 90 || r == 270;
        const int w = int((swap ? page->Height() : page->Width()) * 2);
        const int h = int((swap ? page->Width() : page->Height()) * 2);
        CCA_Matrix m;
        page->DisplayMatrix(&m, 10, 20, w, h, extra);
        auto map = [&m](QPointF p) {
            return QPointF(m.a * p.x() + m.c * p.y() + m.e, m.b * p.x() + m.d * p.y() + m.f);
        };
        const QPointF tl = map(topLeftMm), c = map(centreMm);
        QVERIFY2(qAbs(tl.x() - 10) < 0.01 && qAbs(tl.y() - 20) < 0.01,
                 qPrintable(QStringLiteral("%1,%2").arg(tl.x()).arg(tl.y())));
        QVERIFY(qAbs(c.x() - (10 + w / 2.0)) < 0.01 && qAbs(c.y() - (20 + h / 2.0)) < 0.01);
    }

    // Handles, and the document a handle opens (one at a time, closed with it).
    void handles()
    {
        G_Engine* engine = G_Application::Instance()->Engine();
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
        CCA_QtDevice idle;
        QVERIFY(!idle.Attach(nullptr, 0));
        QVERIFY(!engine->RenderService()->RenderPage(h, page, &idle, &m, 127, 0, 0, nullptr));
        engine->ReleaseHandle(&h);
    }

    // A picture → a one-page PDF or OFD file, the page being the picture at its physical
    // size; anything else is refused and nothing is written.
    void convertPicture_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<int>("dpi"); // the picture's; 0: refused
        const QString png = Sample("seal_red.png"), jpeg = m_temp.filePath("photo.jpg");
        QTest::newRow("png with dpi") << png << "a.pdf" << 300;
        QTest::newRow("png without dpi") << Sample("seal_blue_nodpi.png") << "b.pdf" << 96;
        QTest::newRow("jpeg, 200 dpi") << jpeg << "c.pdf" << 200;
        QTest::newRow("png to OFD") << png << "d.ofd" << 300;
        QTest::newRow("jpeg to OFD") << jpeg << "e.ofd" << 200;
        QTest::newRow("unknown destination") << png << "x.doc" << 0;
        QTest::newRow("not a picture") << Sample("contract.pdf") << "y.pdf" << 0;
        QTest::newRow("missing picture") << Sample("none.png") << "z.pdf" << 0;
        QTest::newRow("folder missing") << png << "no/dir/z.pdf" << 0;
    }
    void convertPicture()
    {
        QFETCH(QString, source);
        QFETCH(QString, destination);
        QFETCH(int, dpi);
        QImage photo(200, 100, QImage::Format_RGB32);
        photo.fill(QColor(20, 160, 40));
        photo.setDotsPerMeterX(int(200 / 0.0254 + 0.5));
        photo.setDotsPerMeterY(int(200 / 0.0254 + 0.5));
        QVERIFY(photo.save(m_temp.filePath("photo.jpg"), "JPEG", 90));
        G_Engine* engine = G_Application::Instance()->Engine();
        G_EngineHandle h = engine->AcquireHandle(0);
        const QString out = m_temp.filePath(destination);
        const std::wstring src = source.toStdWString(), dst = out.toStdWString();
        QCOMPARE(engine->ConvertService()->ConvertFile(h, src.c_str(), dst.c_str(),
                                                       std::make_shared<const NexJson>()),
                 dpi > 0);
        QVERIFY(!engine->ConvertService()->ConvertFile(h, nullptr, dst.c_str(), nullptr));
        engine->ReleaseHandle(&h);
        QCOMPARE(QFile::exists(out), dpi > 0);
        if (!dpi)
            return;
        QVERIFY(out.endsWith(".ofd") || QpdfCheck(out));
        std::unique_ptr<IG_Document> doc(DocumentIO::Open(out, nullptr));
        QVERIFY(doc && doc->PageCount() == 1);
        IG_Page* page = doc->PageAt(0);
        const QImage picture(source);
        QVERIFY(qAbs(page->Width() - picture.width() * 25.4 / dpi) < 0.01);
        QVERIFY(qAbs(page->Height() - picture.height() * 25.4 / dpi) < 0.01);
        const QImage image = RenderModel(page, dpi);
        QCOMPARE(image.size(), picture.size());
        QCOMPARE(Differences(image, picture), 0);
    }

private:
    std::unique_ptr<IG_Document> m_doc;
    QTemporaryDir m_temp;
};

QTEST_MAIN(TestDocumentModel)
#include "tst_documentmodel.moc"
