// Real PDF files: open, stamp, embed, delete, save, reopen; the written files are checked
// with qpdf, poppler-utils and mutool.
#include "host/document/documentio.h"
#include "host/document/ica_streamreader.h"
#include "host/document/ig_annot.h"
#include "host/document/ig_document.h"
#include "host/document/ig_layer.h"
#include "host/document/ig_page.h"
#include "host/document/readerpage.h"
#include "pdftestutil.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace PdfTestUtil;

namespace {
const QColor kSealRed(220, 30, 30);
const QColor kForeignBlue(0, 102, 230);

std::unique_ptr<IG_Document> OpenPdf(const QString& path)
{
    QString error;
    std::unique_ptr<IG_Document> doc(DocumentIO::Open(path, &error));
    if (!doc)
        qWarning("%s", qPrintable(error));
    return doc;
}

int AddSeal(IG_Document* doc, const QString& name = QStringLiteral("seal_red.png"))
{
    const std::wstring path = Sample(name).toStdWString();
    ICA_StreamReader* s = ICA_StreamReader::CreateFileStreamReader(path.c_str(), 0);
    if (!s)
        return 0;
    const int id = doc->AddResource(s, 1, 0);
    s->Release();
    return id;
}

std::string StampJson(int resourceId, bool runTime)
{
    return QStringLiteral("{\"RunTime\":%1,\"SubType\":\"Stamp\",\"Appearance\":[{\"Type\":"
                          "\"Image\",\"ResourceID\":%2,\"Width\":40,\"Height\":30,\"RunTime\":%1}]}")
        .arg(runTime ? "true" : "false")
        .arg(resourceId)
        .toStdString();
}

// The usual automatic place: 40 × 30 mm, 6 mm from the right and bottom edges.
CCA_GRect CornerRect(IG_Page* page)
{
    const float x = page->Width() - 46, y = page->Height() - 36;
    return CCA_GRect(x, y, x + 40, y + 30);
}

IG_Annot* Stamp(IG_Page* page, int res, const CCA_GRect& rect, bool runTime = false)
{
    IG_Annot* a = page->NewAnnot(G_AnnotType_Stamp, "Stamp", rect, StampJson(res, runTime));
    if (a) {
        a->SetCreator("tester");
        a->SetCreationDate("2024-05-06 07:08:09");
    }
    return a;
}

// What our own renderer shows for a page, the same way the view draws it.
QImage RenderModel(IG_Page* page, int dpi)
{
    const double q = dpi / 25.4;
    const bool swap = page->Rotation() == 90 || page->Rotation() == 270;
    const int w = int(std::lround((swap ? page->Height() : page->Width()) * q));
    const int h = int(std::lround((swap ? page->Width() : page->Height()) * q));
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::gray);
    QPainter p(&image);
    CCA_Matrix m;
    page->DisplayMatrix(&m, 0, 0, w, h, 0);
    page->Render(&p, m, G_Render_All);
    return image;
}

struct Probe {
    QPointF mm;
    bool red;
};

// Points around a stamp's rectangle: inside its ring (1 mm in from each edge's middle, and
// the star at the centre) it is red; 0.5 mm outside each edge it is not.
QList<Probe> Probes(const CCA_GRect& r)
{
    const double cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    return {{{cx, cy}, true},
            {{r.left + 1.0, cy}, true},
            {{r.right - 1.0, cy}, true},
            {{cx, r.top + 0.9}, true},
            {{cx, r.bottom - 0.9}, true},
            {{r.left - 0.5, cy}, false},
            {{r.right + 0.5, cy}, false},
            {{cx, r.top - 0.5}, false},
            {{cx, r.bottom + 0.5}, false}};
}

QString CheckProbes(const QImage& image, IG_Page* page, const CCA_GRect& rect, int dpi)
{
    if (image.isNull())
        return QStringLiteral("no image");
    for (const Probe& p : Probes(rect)) {
        const QPoint px = PixelAt(p.mm.x(), p.mm.y(), page->Width(), page->Height(),
                                  page->Rotation(), dpi);
        const QRgb c = image.pixel(px);
        if (Near(c, kSealRed, 60) != p.red)
            return QStringLiteral("at %1,%2 mm (pixel %3,%4): %5, expected %6red")
                .arg(p.mm.x()).arg(p.mm.y()).arg(px.x()).arg(px.y())
                .arg(QColor(c).name(), p.red ? "" : "not ");
    }
    return QString();
}
} // namespace

class TestPdfDocument : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void openSamples_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("pages");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<int>("rotation");
        QTest::newRow("contract") << "contract.pdf" << 3 << 210.0 << 297.0 << 0;
        QTest::newRow("landscape") << "landscape.pdf" << 1 << 297.0 << 210.0 << 0;
        QTest::newRow("rotated") << "rotated.pdf" << 1 << 210.0 << 297.0 << 90;
    }
    void openSamples()
    {
        QFETCH(QString, file);
        QFETCH(int, pages);
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(int, rotation);
        auto doc = OpenPdf(Sample(file));
        QVERIFY(doc);
        QCOMPARE(doc->PageCount(), pages);
        QVERIFY(qAbs(doc->PageAt(0)->Width() - width) < 0.05);
        QVERIFY(qAbs(doc->PageAt(0)->Height() - height) < 0.05);
        QCOMPARE(doc->PageAt(0)->Rotation(), rotation);
        QCOMPARE(GQ_ToQString(doc->FilePath()), QFileInfo(Sample(file)).absoluteFilePath());
        QVERIFY(!doc->IsModified());
        QCOMPARE(doc->PageAt(0)->AnnotCount(), 0);
    }

    // The stamp's colour is where its rectangle is, and not beyond it, in the saved file
    // (drawn by poppler's pdftoppm) and in our own rendering alike.
    void stampSavedWhereItIsShown_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("embed");
        for (const char* f : {"contract.pdf", "landscape.pdf", "rotated.pdf"}) {
            QTest::addRow("%s, annotation", f) << f << false;
            QTest::addRow("%s, embedded", f) << f << true;
        }
    }
    void stampSavedWhereItIsShown()
    {
        QFETCH(QString, file);
        QFETCH(bool, embed);
        const int dpi = 150;
        auto doc = OpenPdf(Sample(file));
        QVERIFY(doc);
        const int res = AddSeal(doc.get());
        QVERIFY(res > 0);
        IG_Page* page = doc->PageAt(0);
        const CCA_GRect rect = CornerRect(page);
        IG_Annot* a = Stamp(page, res, rect);
        QVERIFY(a);
        if (embed) {
            QVERIFY(a->EmbedInto(page->NewLayer(-1), true));
            QVERIFY(page->RemoveAnnot(a->ID(), false));
        }
        const QString viewProblem = CheckProbes(RenderModel(page, dpi), page, rect, dpi);
        QVERIFY2(viewProblem.isEmpty(), qPrintable("view: " + viewProblem));

        const QString out = m_dir.filePath(QStringLiteral("out-%1-%2").arg(embed).arg(file));
        QString error;
        QVERIFY2(doc->SaveAs(out, &error), qPrintable(error));
        QVERIFY(!doc->IsModified());
        QString check;
        QVERIFY2(QpdfCheck(out, &check), qPrintable(check));
        const QString fileProblem = CheckProbes(RenderWithPoppler(out, 1, dpi), page, rect, dpi);
        QVERIFY2(fileProblem.isEmpty(), qPrintable("pdftoppm: " + fileProblem));
        // mupdf draws it in the same place.
        const QString png = m_dir.filePath(QStringLiteral("mu.png"));
        QCOMPARE(Run(QStringLiteral("mutool"), {QStringLiteral("draw"), QStringLiteral("-q"),
                                                QStringLiteral("-r"), QString::number(dpi),
                                                QStringLiteral("-o"), png, out, QStringLiteral("1")}),
                 0);
        const QString muProblem = CheckProbes(QImage(png), page, rect, dpi);
        QVERIFY2(muProblem.isEmpty(), qPrintable("mutool: " + muProblem));

        const QStringList subtypes = AnnotSubtypes(out);
        QCOMPARE(subtypes.value(0), embed ? QString() : QStringLiteral("Stamp"));
        QString listing;
        const QStringList images = ImageObjects(out, &listing);
        QCOMPARE(images.size(), 2); // the picture and its alpha mask (listed under one object)
        QVERIFY2(listing.contains(QRegularExpression(QStringLiteral("473 +355"))), qPrintable(listing));
        QVERIFY(listing.contains(QLatin1String("smask")));

        // Reopened, the saved file shows the same as before.
        auto again = OpenPdf(out);
        QVERIFY(again);
        QCOMPARE(again->PageAt(0)->AnnotCount(), embed ? 0 : 1);
        const QString reopened = CheckProbes(RenderModel(again->PageAt(0), dpi), page, rect, dpi);
        QVERIFY2(reopened.isEmpty(), qPrintable("reopened: " + reopened));
    }

    void savedStampKeepsItsProperties()
    {
        auto doc = OpenPdf(Sample(QStringLiteral("contract.pdf")));
        const int res = AddSeal(doc.get());
        IG_Page* page = doc->PageAt(1);
        const CCA_GRect rect(33.25f, 47.5f, 73.25f, 77.5f);
        IG_Annot* a = Stamp(page, res, rect);
        a->SetSubType("PreSeal");
        a->SetCreator("张三 Zhang");
        a->SetCreationDate("2023-12-31 23:59:58");
        const QString out = m_dir.filePath(QStringLiteral("props.pdf"));
        QString error;
        QVERIFY2(doc->SaveAs(out, &error), qPrintable(error));
        QCOMPARE(GQ_ToQString(doc->FilePath()), out);

        auto again = OpenPdf(out);
        QVERIFY(again);
        QCOMPARE(again->PageAt(0)->AnnotCount(), 0);
        IG_Page* p = again->PageAt(1);
        QCOMPARE(p->AnnotCount(), 1);
        IG_Annot* b = p->AnnotAt(0);
        QCOMPARE(b->Type(), G_AnnotType_Stamp);
        QVERIFY(qAbs(b->GetRect().left - rect.left) < 0.01);
        QVERIFY(qAbs(b->GetRect().top - rect.top) < 0.01);
        QVERIFY(qAbs(b->GetRect().right - rect.right) < 0.01);
        QVERIFY(qAbs(b->GetRect().bottom - rect.bottom) < 0.01);
        QCOMPARE(QString(b->SubType()), QStringLiteral("PreSeal"));
        QCOMPARE(GQ_ToQString(b->Creator()), QStringLiteral("张三 Zhang"));
        QCOMPARE(QString(b->CreationDate()), QStringLiteral("2023-12-31 23:59:58"));
        QVERIFY(b->ID() > 0);
        QCOMPARE(p->AnnotById(b->ID()), b);
    }

    void runTimeStampsAreNotSaved()
    {
        auto doc = OpenPdf(Sample(QStringLiteral("contract.pdf")));
        const int res = AddSeal(doc.get());
        Stamp(doc->PageAt(0), res, CornerRect(doc->PageAt(0)), true);
        Stamp(doc->PageAt(0), 0, CCA_GRect(10, 10, 50, 40), true); // preview before its picture
        QVERIFY(!doc->IsModified());
        const QString out = m_dir.filePath(QStringLiteral("runtime.pdf"));
        QString error;
        QVERIFY2(doc->SaveAs(out, &error), qPrintable(error));
        QCOMPARE(AnnotSubtypes(out), QStringList({QString(), QString(), QString()}));
        QVERIFY(ImageObjects(out).isEmpty());
    }

    void deletedStampsAreGone()
    {
        auto doc = OpenPdf(Sample(QStringLiteral("contract.pdf")));
        const int res = AddSeal(doc.get());
        IG_Annot* keep = Stamp(doc->PageAt(0), res, CCA_GRect(10, 10, 50, 40));
        IG_Annot* drop = Stamp(doc->PageAt(0), res, CCA_GRect(60, 10, 100, 40));
        QVERIFY(keep && drop);
        QVERIFY(doc->PageAt(0)->RemoveAnnot(drop->ID(), false));
        const QString out = m_dir.filePath(QStringLiteral("deleted.pdf"));
        QString error;
        QVERIFY2(doc->SaveAs(out, &error), qPrintable(error));
        QCOMPARE(AnnotSubtypes(out).value(0), QStringLiteral("Stamp"));
        // Put back (undo) and saved again: both are there, once each.
        QVERIFY(doc->PageAt(0)->RestoreAnnot(drop));
        QVERIFY2(doc->SaveAs(out, &error), qPrintable(error));
        QCOMPARE(AnnotSubtypes(out).value(0), QStringLiteral("Stamp,Stamp"));
        QVERIFY(QpdfCheck(out));
    }

    // One picture on every page is stored once.
    void samePictureStoredOnce()
    {
        auto doc = OpenPdf(Sample(QStringLiteral("contract.pdf")));
        const int res = AddSeal(doc.get());
        for (int i = 0; i < doc->PageCount(); ++i) {
            IG_Page* page = doc->PageAt(i);
            Stamp(page, res, CornerRect(page));
            IG_Annot* e = Stamp(page, res, CCA_GRect(20, 20, 60, 50));
            QVERIFY(e->EmbedInto(page->NewLayer(-1), true));
            page->RemoveAnnot(e->ID(), false);
        }
        const QString out = m_dir.filePath(QStringLiteral("shared.pdf"));
        QString error;
        QVERIFY2(doc->SaveAs(out, &error), qPrintable(error));
        QCOMPARE(AnnotSubtypes(out), QStringList({"Stamp", "Stamp", "Stamp"}));
        const QStringList images = ImageObjects(out);
        QCOMPARE(images.size(), 12); // picture + mask, drawn twice on each of 3 pages
        QCOMPARE(QSet<QString>(images.begin(), images.end()).size(), 1); // one object
        const qint64 growth = QFileInfo(out).size() - QFileInfo(Sample("contract.pdf")).size();
        QVERIFY2(growth < QFileInfo(Sample("seal_red.png")).size() + 3 * 1800,
                 qPrintable(QString::number(growth)));
    }

    // A stamp made by another program: read into the model, drawn with its own appearance,
    // movable and deletable; the link beside it stays.
    void foreignStampIsEditable()
    {
        auto doc = OpenPdf(Sample(QStringLiteral("stamped.pdf")));
        QVERIFY(doc);
        IG_Page* page = doc->PageAt(0);
        QCOMPARE(page->AnnotCount(), 1);
        IG_Annot* a = page->AnnotAt(0);
        QCOMPARE(a->Type(), G_AnnotType_Stamp);
        QCOMPARE(QString(a->SubType()), QStringLiteral("Approved"));
        QCOMPARE(QString(a->Creator()), QStringLiteral("Alice"));
        QCOMPARE(QString(a->CreationDate()), QStringLiteral("2024-01-02 03:04:05"));
        const double k = 72 / 25.4;
        QVERIFY(qAbs(a->GetRect().left - 350 / k) < 0.01);
        QVERIFY(qAbs(a->GetRect().top - (841.89 - 150) / k) < 0.01);
        QVERIFY(qAbs(a->GetRect().right - 450 / k) < 0.01);
        QVERIFY(qAbs(a->GetRect().bottom - (841.89 - 100) / k) < 0.01);
        QVERIFY(!a->IsLocked());

        // Its appearance: a blue box with a white inside and a blue bar in the middle.
        const int dpi = 100;
        QImage view = RenderModel(page, dpi);
        view.save("/tmp/foreign-view.png");
        const CCA_GRect r = a->GetRect();
        auto at = [&](const QImage& img, double fx, double fy) {
            return img.pixel(PixelAt(r.left + fx * (r.right - r.left),
                                     r.top + fy * (r.bottom - r.top), page->Width(),
                                     page->Height(), 0, dpi));
        };
        QVERIFY(Near(at(view, 0.5, 0.5), kForeignBlue));
        QVERIFY(Near(at(view, 0.03, 0.5), kForeignBlue));
        QVERIFY(Near(at(view, 0.15, 0.3), Qt::white));

        a->Offset(-100, -50);
        const CCA_GRect moved = a->GetRect();
        const QString out = m_dir.filePath(QStringLiteral("foreign.pdf"));
        QString error;
        QVERIFY2(doc->SaveAs(out, &error), qPrintable(error));
        QVERIFY(QpdfCheck(out));
        QCOMPARE(AnnotSubtypes(out).value(0), QStringLiteral("Stamp,Link"));
        const QImage saved = RenderWithPoppler(out, 1, dpi);
        const QPoint c = PixelAt((moved.left + moved.right) / 2, (moved.top + moved.bottom) / 2,
                                 page->Width(), page->Height(), 0, dpi);
        QVERIFY(Near(saved.pixel(c), kForeignBlue));
        auto again = OpenPdf(out);
        IG_Annot* b = again->PageAt(0)->AnnotAt(0);
        QVERIFY(qAbs(b->GetRect().left - moved.left) < 0.01);
        QCOMPARE(QString(b->SubType()), QStringLiteral("Approved"));
        QCOMPARE(QString(b->Creator()), QStringLiteral("Alice"));

        // Embedded, then deleted: page content, and only the link remains an annotation.
        IG_Page* p2 = again->PageAt(0);
        QVERIFY(b->EmbedInto(p2->LayerAt(p2->LayerCount() - 1), true));
        QVERIFY(p2->RemoveAnnot(b->ID(), false));
        const QString out2 = m_dir.filePath(QStringLiteral("foreign2.pdf"));
        QVERIFY2(again->SaveAs(out2, &error), qPrintable(error));
        QCOMPARE(AnnotSubtypes(out2).value(0), QStringLiteral("Link"));
        QVERIFY(Near(RenderWithPoppler(out2, 1, dpi).pixel(c), kForeignBlue));
        QVERIFY(QpdfCheck(out2));
    }

    // Saving over the file that is open, again and again: every result is whole, and the
    // document keeps rendering and saving.
    void saveOverTheOpenFile()
    {
        const QString path = m_dir.filePath(QStringLiteral("inplace.pdf"));
        QFile::remove(path);
        QVERIFY(QFile::copy(Sample(QStringLiteral("contract.pdf")), path));
        auto doc = OpenPdf(path);
        QVERIFY(doc);
        const int res = AddSeal(doc.get());
        QString error;
        for (int round = 0; round < 3; ++round) {
            IG_Page* page = doc->PageAt(round);
            Stamp(page, res, CornerRect(page));
            QVERIFY2(doc->SaveAs(path, &error), qPrintable(error));
            QString check;
            QVERIFY2(QpdfCheck(path, &check), qPrintable(check));
            const QImage view = RenderModel(page, 72);
            QVERIFY(!view.isNull());
            // The page's own text is still drawn (not a blank page).
            QVERIFY(view.pixel(PixelAt(60, 25, 210, 297, 0, 72)) != QColor(Qt::white).rgb()
                    || view.pixel(PixelAt(20, 28.2, 210, 297, 0, 72)) != QColor(Qt::white).rgb());
        }
        QCOMPARE(AnnotSubtypes(path), QStringList({"Stamp", "Stamp", "Stamp"}));
        const QStringList images = ImageObjects(path);
        QCOMPARE(QSet<QString>(images.begin(), images.end()).size(), 1);
        const QStringList leftovers = QDir(m_dir.path()).entryList({"*.part"}, QDir::Files | QDir::Hidden);
        QVERIFY2(leftovers.isEmpty(), qPrintable(leftovers.join(',')));
    }

    void blankDocumentSaves()
    {
        std::unique_ptr<IG_Document> doc(DocumentIO::CreateBlank({CCA_GSize(210, 297), CCA_GSize(297, 210)}, {0, 90}));
        const int res = AddSeal(doc.get());
        IG_Page* page = doc->PageAt(1);
        const CCA_GRect rect = CornerRect(page);
        Stamp(page, res, rect);
        const QString out = m_dir.filePath(QStringLiteral("blank.pdf"));
        QString error;
        QVERIFY2(doc->SaveAs(out, &error), qPrintable(error));
        QVERIFY(QpdfCheck(out));
        const QString problem = CheckProbes(RenderWithPoppler(out, 2, 100), page, rect, 100);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        auto again = OpenPdf(out);
        QCOMPARE(again->PageCount(), 2);
        QCOMPARE(again->PageAt(1)->Rotation(), 90);
        QVERIFY(qAbs(again->PageAt(1)->Width() - 297) < 0.01);
    }

    // A long document opens without reading its pages' annotations or content.
    void pagesLoadLazily()
    {
        const QString big = m_dir.filePath(QStringLiteral("big.pdf"));
        QStringList args{QStringLiteral("--empty"), QStringLiteral("--pages")};
        for (int i = 0; i < 100; ++i)
            args << Sample(QStringLiteral("stamped.pdf"));
        args << QStringLiteral("--") << big;
        QCOMPARE(Run(QStringLiteral("qpdf"), args), 0);
        QElapsedTimer timer;
        timer.start();
        auto doc = OpenPdf(big);
        QVERIFY(doc);
        QCOMPARE(doc->PageCount(), 100);
        for (int i = 0; i < doc->PageCount(); ++i)
            QVERIFY(!static_cast<ReaderPage*>(doc->PageAt(i))->IsLoaded());
        QCOMPARE(doc->PageAt(57)->AnnotCount(), 1);
        QVERIFY(static_cast<ReaderPage*>(doc->PageAt(57))->IsLoaded());
        QVERIFY(!static_cast<ReaderPage*>(doc->PageAt(58))->IsLoaded());
        // Saved untouched pages keep their stamps (they were never loaded into the model).
        const QString out = m_dir.filePath(QStringLiteral("big-out.pdf"));
        QString error;
        QVERIFY2(doc->SaveAs(out, &error), qPrintable(error));
        const QStringList subtypes = AnnotSubtypes(out);
        QCOMPARE(subtypes.size(), 100);
        QCOMPARE(subtypes.count(QStringLiteral("Stamp,Link")), 100);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestPdfDocument)
#include "tst_pdfdocument.moc"
