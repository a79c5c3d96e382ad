// The document model in memory: pages, resources, stamp annotations, layers, rendering.
#include "host/document/documentio.h"
#include "host/document/g_annottype.h"
#include "host/document/ica_streamreader.h"
#include "host/document/ig_annot.h"
#include "host/document/ig_document.h"
#include "host/document/ig_layer.h"
#include "host/document/ig_page.h"
#include "pdftestutil.h"

#include <QBuffer>
#include <QPainter>
#include <QtTest>
#include <memory>

namespace {
std::string StampJson(int resourceId, bool runTime, const char* subType = "Stamp")
{
    return QStringLiteral("{\"RunTime\":%1,\"SubType\":\"%2\",\"Appearance\":[{\"Type\":\"Image\","
                          "\"ResourceID\":%3,\"Width\":40.0,\"Height\":30.0,\"RunTime\":%1}]}")
        .arg(runTime ? "true" : "false", subType)
        .arg(resourceId)
        .toStdString();
}

QByteArray SolidPng(const QColor& colour, int w = 40, int h = 30)
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
} // namespace

class TestDocumentModel : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_doc.reset(DocumentIO::CreateBlank({CCA_GSize(210, 297), CCA_GSize(297, 210)}, {0, 90}));
    }
    void cleanup() { m_doc.reset(); }

    void typeNames_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("annot");
        QTest::addColumn<QString>("object");
        QTest::newRow("stamp") << 8 << "Stamp" << "Unknown";
        QTest::newRow("text / image") << 1 << "Text" << "Image";
        QTest::newRow("unknown") << 0 << "Unknown" << "Unknown";
        QTest::newRow("form") << 4 << "Line" << "Form";
        QTest::newRow("negative") << -1 << "Unknown" << "Unknown";
        QTest::newRow("past the end") << 99 << "Unknown" << "Unknown";
    }
    void typeNames()
    {
        QFETCH(int, type);
        QFETCH(QString, annot);
        QFETCH(QString, object);
        QCOMPARE(QString(AnnotTypeToString(type)), annot);
        QCOMPARE(QString(PageObjTypeToString(type)), object);
    }

    void blankPagesKeepSizesAndRotations()
    {
        QCOMPARE(m_doc->PageCount(), 2);
        QCOMPARE(m_doc->PageAt(1)->Width(), 297.f);
        QCOMPARE(m_doc->PageAt(1)->Height(), 210.f);
        QCOMPARE(m_doc->PageAt(1)->Rotation(), 90);
        QCOMPARE(m_doc->PageAt(0)->Index(), 0);
        QVERIFY(!m_doc->PageAt(2));
        QVERIFY(!m_doc->PageAt(-1));
        QVERIFY(m_doc->FilePath().IsEmpty());
        QVERIFY(!m_doc->IsReadOnly());
    }

    void resourcesAreSharedByContent()
    {
        const QByteArray red = SolidPng(Qt::red);
        const int a = AddBytes(m_doc.get(), red);
        QVERIFY(a > 0);
        QCOMPARE(AddBytes(m_doc.get(), red), a);
        const int b = AddBytes(m_doc.get(), SolidPng(Qt::blue));
        QVERIFY(b > 0 && b != a);
        QCOMPARE(m_doc->ResourceImage(a).size(), QSize(40, 30));
        QVERIFY(m_doc->ResourceImage(999).isNull());
    }

    void nonPicturesGiveNoResource_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("text") << QByteArray("hello, this is not a picture");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("png header only") << QByteArray("\x89PNG\r\n\x1a\n", 8);
        QTest::newRow("jpeg header, then junk") << QByteArray("\xFF\xD8\xFF\xE0junkjunk", 11);
        QTest::newRow("pdf") << QByteArray("%PDF-1.7\n%%EOF\n");
    }
    void nonPicturesGiveNoResource()
    {
        QFETCH(QByteArray, bytes);
        QCOMPARE(AddBytes(m_doc.get(), bytes), 0);
        QCOMPARE(m_doc->AddResource(nullptr, 1, 0), 0);
    }

    void fileStreamReaders()
    {
        QVERIFY(!ICA_StreamReader::CreateFileStreamReader(L"/no/such/file.png", 0));
        QVERIFY(!ICA_StreamReader::CreateFileStreamReader(static_cast<const char*>(nullptr), 0));
        const QString path = PdfTestUtil::Sample(QStringLiteral("seal_red.png"));
        const std::wstring wide = path.toStdWString();
        ICA_StreamReader* s = ICA_StreamReader::CreateFileStreamReader(wide.c_str(), 0);
        QVERIFY(s);
        QCOMPARE(s->GetSize(), QFileInfo(path).size());
        QVERIFY(m_doc->AddResource(s, 1, 0) > 0);
        s->Release();
    }

    void newAnnotFromContent()
    {
        const int res = AddBytes(m_doc.get(), SolidPng(Qt::red));
        IG_Page* page = m_doc->PageAt(0);
        const quint64 before = m_doc->Revision();
        IG_Annot* a = page->NewAnnot(G_AnnotType_Stamp, "Stamp", CCA_GRect(10, 20, 50, 50),
                                     StampJson(res, false));
        QVERIFY(a);
        QVERIFY(m_doc->Revision() > before);
        QVERIFY(m_doc->IsModified());
        QCOMPARE(a->Type(), G_AnnotType_Stamp);
        QCOMPARE(a->ResourceID(), res);
        QCOMPARE(QString(a->SubType()), QStringLiteral("Stamp"));
        QVERIFY(!a->IsRunTime());
        QVERIFY(a->IsOnPage());
        QCOMPARE(page->AnnotById(a->ID()), a);
        QCOMPARE(page->AnnotCount(), 1);
        QVERIFY(a->Content().find("\"ResourceID\"") != std::string::npos);
    }

    void runTimeAnnotsDoNotModify()
    {
        IG_Annot* a = m_doc->PageAt(0)->NewAnnot(G_AnnotType_Stamp, "Stamp",
                                                 CCA_GRect(0, 0, 40, 30), StampJson(0, true));
        QVERIFY(a);
        QVERIFY(a->IsRunTime());
        const quint64 content = m_doc->ContentRevision();
        const quint64 any = m_doc->Revision();
        a->Offset(5, 5);
        QVERIFY(!m_doc->IsModified());
        QVERIFY(m_doc->Revision() > any);
        QCOMPARE(m_doc->ContentRevision(), content); // page images stay valid
    }

    void permanentChangesAdvanceContentRevision()
    {
        const int res = AddBytes(m_doc.get(), SolidPng(Qt::red));
        quint64 content = m_doc->ContentRevision();
        IG_Annot* a = m_doc->PageAt(0)->NewAnnot(G_AnnotType_Stamp, "Stamp",
                                                 CCA_GRect(0, 0, 40, 30), StampJson(res, false));
        QVERIFY(a);
        QVERIFY(m_doc->ContentRevision() > content);
        content = m_doc->ContentRevision();
        a->Offset(5, 5);
        QVERIFY(m_doc->ContentRevision() > content);
        content = m_doc->ContentRevision();
        QVERIFY(m_doc->PageAt(0)->RemoveAnnot(a->ID(), false));
        QVERIFY(m_doc->ContentRevision() > content);
    }

    void unusableContent_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("json");
        QTest::addColumn<bool>("made");
        QTest::newRow("resource 0: placeholder") << 8 << QString::fromStdString(StampJson(0, false)) << true;
        QTest::newRow("unknown resource: placeholder") << 8 << QString::fromStdString(StampJson(77, true)) << true;
        QTest::newRow("not JSON") << 8 << "{not json" << false;
        QTest::newRow("JSON array") << 8 << "[1,2]" << false;
        QTest::newRow("empty object") << 8 << "{}" << true;
        QTest::newRow("not a stamp") << 1 << QString::fromStdString(StampJson(0, false)) << false;
    }
    void unusableContent()
    {
        QFETCH(int, type);
        QFETCH(QString, json);
        QFETCH(bool, made);
        IG_Annot* a = m_doc->PageAt(0)->NewAnnot(G_AnnotType(type), "Stamp",
                                                 CCA_GRect(0, 0, 10, 10), json.toStdString());
        QCOMPARE(a != nullptr, made);
        if (a) {
            // No picture: nothing to embed, but it draws (a frame) without crashing.
            QVERIFY(!a->EmbedInto(m_doc->PageAt(0)->LayerAt(0), true));
            QImage image(100, 100, QImage::Format_ARGB32);
            QPainter p(&image);
            CCA_Matrix m;
            m_doc->PageAt(0)->DisplayMatrix(&m, 0, 0, 100, 141, 0);
            QVERIFY(m_doc->PageAt(0)->Render(&p, m, G_Render_All));
        }
    }

    void removedAnnotsStayAliveAndComeBack()
    {
        IG_Page* page = m_doc->PageAt(0);
        IG_Annot* a = page->NewAnnot(G_AnnotType_Stamp, "Stamp", CCA_GRect(0, 0, 10, 10),
                                     StampJson(0, false));
        const unsigned id = a->ID();
        QVERIFY(page->RemoveAnnot(id, false));
        QVERIFY(!a->IsOnPage());
        QVERIFY(!page->AnnotById(id));
        QVERIFY(!page->RemoveAnnot(id, false));
        // Still a valid object: undo entries call it.
        a->Offset(1, 1);
        QCOMPARE(a->GetRect(), CCA_GRect(1, 1, 11, 11));
        QVERIFY(page->RestoreAnnot(a));
        QVERIFY(!page->RestoreAnnot(a));
        QCOMPARE(page->AnnotById(id), a);
        QVERIFY(!m_doc->PageAt(1)->RestoreAnnot(a)); // another page's annotation
    }

    void editing()
    {
        IG_Annot* a = m_doc->PageAt(0)->NewAnnot(G_AnnotType_Stamp, "Stamp",
                                                 CCA_GRect(50, 40, 10, 10), StampJson(0, false));
        QCOMPARE(a->GetRect(), CCA_GRect(10, 10, 50, 40)); // corners ordered
        a->Offset(2.5f, -1);
        QCOMPARE(a->GetRect(), CCA_GRect(12.5f, 9, 52.5f, 39));
        a->SetRect(CCA_GRect(1, 2, 3, 4));
        QCOMPARE(a->GetRect(), CCA_GRect(1, 2, 3, 4));
        a->SetSubType("PreSeal");
        a->SetCreator("Zhang San 张三");
        a->SetCreationDate("2024-05-06 07:08:09");
        QCOMPARE(QString(a->SubType()), QStringLiteral("PreSeal"));
        QCOMPARE(GQ_ToQString(a->Creator()), QStringLiteral("Zhang San 张三"));
        QCOMPARE(QString(a->CreationDate()), QStringLiteral("2024-05-06 07:08:09"));
        QVERIFY(!a->IsLocked());
        QVERIFY(!a->IsSignature());
        const quint64 rev = m_doc->Revision();
        a->Offset(qQNaN(), 1);
        QCOMPARE(m_doc->Revision(), rev); // ignored
    }

    void layers()
    {
        IG_Page* page = m_doc->PageAt(0);
        QCOMPARE(page->LayerCount(), 1); // the original content
        IG_Layer* l1 = page->NewLayer(-1);
        QCOMPARE(page->LayerCount(), 2);
        QCOMPARE(l1->Index(), 1);
        IG_Layer* l0 = page->NewLayer(0); // the original content stays first
        QCOMPARE(l0->Index(), 1);
        QCOMPARE(l1->Index(), 2);
        QCOMPARE(page->LayerAt(2), l1);
        QVERIFY(!page->LayerAt(3));
        QCOMPARE(l1->Page(), page);
    }

    void embedding()
    {
        const int res = AddBytes(m_doc.get(), SolidPng(Qt::red));
        IG_Page* page = m_doc->PageAt(0);
        IG_Annot* a = page->NewAnnot(G_AnnotType_Stamp, "Stamp", CCA_GRect(10, 10, 50, 40),
                                     StampJson(res, false));
        IG_Layer* layer = page->NewLayer(-1);
        QVERIFY(!a->EmbedInto(m_doc->PageAt(1)->LayerAt(0), true)); // another page
        QVERIFY(!a->EmbedInto(nullptr, true));
        QVERIFY(a->EmbedInto(layer, true));
        QCOMPARE(layer->ObjectCount(), 1);
        QVERIFY(a->IsOnPage()); // the caller deletes it
        QVERIFY(page->RemoveAnnot(a->ID(), false));

        // The embedded picture is drawn as content, where the stamp was.
        QImage image = RenderPage(page, 2.0);
        QVERIFY(PdfTestUtil::Near(image.pixel(60, 50), Qt::red));
        QVERIFY(PdfTestUtil::Near(image.pixel(10, 10), Qt::white));
        image = RenderPage(page, 2.0, G_Render_Content | G_Render_Annots);
        QVERIFY(PdfTestUtil::Near(image.pixel(60, 50), Qt::white));
    }

    void renderFlags_data()
    {
        QTest::addColumn<bool>("runTime");
        QTest::addColumn<int>("flags");
        QTest::addColumn<bool>("shown");
        QTest::newRow("saved, all") << false << int(G_Render_All) << true;
        QTest::newRow("saved, 127") << false << 127 << true;
        QTest::newRow("saved, content only") << false << int(G_Render_Content) << false;
        QTest::newRow("run-time, annots only") << true << int(G_Render_Content | G_Render_Annots) << false;
        QTest::newRow("run-time, run-time flag") << true << int(G_Render_RunTimeAnnots) << true;
    }
    void renderFlags()
    {
        QFETCH(bool, runTime);
        QFETCH(int, flags);
        QFETCH(bool, shown);
        const int res = AddBytes(m_doc.get(), SolidPng(QColor(0, 0, 255)));
        IG_Page* page = m_doc->PageAt(0);
        page->NewAnnot(G_AnnotType_Stamp, "Stamp", CCA_GRect(10, 10, 50, 40),
                       StampJson(res, runTime));
        const QImage image = RenderPage(page, 2.0, flags);
        QCOMPARE(PdfTestUtil::Near(image.pixel(60, 50), QColor(0, 0, 255)), shown);
    }

    void displayMatrix_data()
    {
        QTest::addColumn<int>("pageIndex");
        QTest::addColumn<int>("extra");
        QTest::addColumn<QPointF>("topLeftMm");   // maps to device (0, 0)
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
        const QPointF tl = map(topLeftMm);
        QVERIFY2(qAbs(tl.x() - 10) < 0.01 && qAbs(tl.y() - 20) < 0.01,
                 qPrintable(QStringLiteral("%1,%2").arg(tl.x()).arg(tl.y())));
        const QPointF c = map(centreMm);
        QVERIFY(qAbs(c.x() - (10 + w / 2.0)) < 0.01 && qAbs(c.y() - (20 + h / 2.0)) < 0.01);
    }

    void resourceImagesAreUnchanged()
    {
        QImage src(5, 4, QImage::Format_ARGB32);
        src.fill(QColor(10, 20, 30, 128));
        QByteArray bytes;
        QBuffer b(&bytes);
        b.open(QIODevice::WriteOnly);
        src.save(&b, "PNG");
        const int id = AddBytes(m_doc.get(), bytes);
        const QImage back = m_doc->ResourceImage(id).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(qAlpha(back.pixel(2, 2)), 128); // alpha kept
    }

private:
    QImage RenderPage(IG_Page* page, double pxPerMm, int flags = G_Render_All)
    {
        const int w = int(page->Width() * pxPerMm), h = int(page->Height() * pxPerMm);
        QImage image(w, h, QImage::Format_ARGB32);
        image.fill(Qt::gray);
        QPainter p(&image);
        CCA_Matrix m;
        page->DisplayMatrix(&m, 0, 0, w, h, -page->Rotation());
        page->Render(&p, m, flags);
        return image;
    }

    std::unique_ptr<IG_Document> m_doc;
};

QTEST_MAIN(TestDocumentModel)
#include "tst_documentmodel.moc"
