// Real PDF files through the model: open or refuse, stamp, embed, delete, save, reopen,
// checked with qpdf, poppler-utils and mutool; a failed save leaves every file as it was.
#include "host/document/readerpage.h"
#include "pdftestutil.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

using namespace PdfTestUtil;

namespace
{
const QColor kSealRed(220, 30, 30);
const QColor kForeignBlue(0, 102, 230);

// Inside the stamp's ring (1 mm in from each edge's middle, and the star at the centre)
// the picture is red; 0.5 mm outside each edge it is not. Empty when so, else where not.
QString CheckProbes(const QImage& image, IG_Page* page, const CCA_GRect& r, int dpi)
{
    if (image.isNull())
        return QStringLiteral("no image");
    const double cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    const QList<QPointF> in = {
        {cx, cy}, {r.left + 1, cy}, {r.right - 1, cy}, {cx, r.top + 0.9}, {cx, r.bottom - 0.9}};
    const QList<QPointF> out = {
        {r.left - 0.5, cy}, {r.right + 0.5, cy}, {cx, r.top - 0.5}, {cx, r.bottom + 0.5}};
    for (const QPointF& mm : in + out) {
        const bool red = in.contains(mm);
        const QPoint px =
            PixelAt(mm.x(), mm.y(), page->Width(), page->Height(), page->Rotation(), dpi);
        if (Near(image.pixel(px), kSealRed, 60) != red)
            return QStringLiteral("at %1,%2 mm: %3, expected %4red")
                .arg(mm.x())
                .arg(mm.y())
                .arg(QColor(image.pixel(px)).name(), red ? "" : "not ");
    }
    return QString();
}
} // namespace

class TestPdfDocument : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString contract = Sample("contract.pdf");
        const QByteArray bytes = ReadFile(contract);
        QVERIFY(WriteFile(Path("truncated-half.pdf"), bytes.left(bytes.size() / 2)) &&
                WriteFile(Path("truncated-head.pdf"), bytes.left(400)) &&
                WriteFile(Path("text.pdf"), "This is a letter, not a PDF document.\n") &&
                WriteFile(Path("header-only.pdf"), "%PDF-1.7\n%%EOF\n"));
        QDir().mkpath(Path("folder.pdf"));
        QCOMPARE(Run("qpdf", {"--encrypt", "", "owner", "256", "--annotate=n", "--modify=none",
                              "--", contract, Path("no-annotations.pdf")}),
                 0);
        QCOMPARE(Run("qpdf", {"--encrypt", "", "owner", "256", "--print=none", "--", contract,
                              Path("no-print.pdf")}),
                 0);
        QCOMPARE(Run("qpdf", {"--encrypt", "pw", "pw", "256", "--", contract, Path("pw.pdf")}), 0);
        // Every page inherits a landscape box with its corners reversed, and /Rotate 270.
        QCOMPARE(Run("qpdf", {"--qdf", "--object-streams=disable", contract, Path("q.pdf")}), 0);
        QByteArray qdf = ReadFile(Path("q.pdf"));
        const QByteArray own = "  /MediaBox [\n    0\n    0\n    595.276\n    841.890\n  ]\n";
        QCOMPARE(qdf.count(own), 3);
        qdf.replace(own, "").replace("  /Type /Pages\n", "  /Type /Pages\n  /Rotate 270\n"
                                                         "  /MediaBox [ 841.890 595.276 0 0 ]\n");
        const QString fix =
            QString("fix-qdf '%1' > '%2'").arg(Path("q.pdf"), Path("inherited.pdf"));
        QVERIFY(WriteFile(Path("q.pdf"), qdf) && Run("sh", {"-c", fix}) == 0);
        QVERIFY(QFile::copy(contract, Path("readonly-bits.pdf")));
        QFile::setPermissions(Path("readonly-bits.pdf"), QFileDevice::ReadOwner);
    }

    void open_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("pages"); // 0: refused with a message that says...
        QTest::addColumn<QString>("says");
        QTest::addColumn<QSizeF>("size"); // of page 1, millimetres
        QTest::addColumn<int>("rotation");
        QTest::newRow("contract") << Sample("contract.pdf") << 3 << "" << QSizeF(210, 297) << 0;
        QTest::newRow("landscape") << Sample("landscape.pdf") << 1 << "" << QSizeF(297, 210) << 0;
        QTest::newRow("rotated") << Sample("rotated.pdf") << 1 << "" << QSizeF(210, 297) << 90;
        QTest::newRow("inherited") << Path("inherited.pdf") << 3 << "" << QSizeF(297, 210) << 270;
        for (const char* r :
             {"missing.pdf:does not exist", "folder.pdf:not a file", "text.pdf:not a PDF",
              "header-only.pdf:damaged", "truncated-half.pdf:damaged", "truncated-head.pdf:damaged",
              "seal.ofd:OFD", "pw.pdf:password"}) {
            const QStringList fileSays = QString(r).split(':');
            QTest::newRow(r) << Path(fileSays[0]) << 0 << fileSays[1] << QSizeF() << 0;
        }
        QTest::newRow("no name") << QString() << 0 << "No file" << QSizeF() << 0;
    }
    void open()
    {
        QFETCH(QString, file);
        QFETCH(int, pages);
        QFETCH(QString, says);
        QFETCH(QSizeF, size);
        QFETCH(int, rotation);
        QString error;
        std::unique_ptr<IG_Document> doc(DocumentIO::Open(file, &error));
        QCOMPARE(doc != nullptr, pages > 0);
        if (!doc) {
            QVERIFY2(error.contains(says, Qt::CaseInsensitive), qPrintable(error));
            QVERIFY(!DocumentIO::Open(file, nullptr)); // no message wanted: still no crash
            return;
        }
        QCOMPARE(doc->PageCount(), pages);
        QVERIFY(qAbs(doc->PageAt(0)->Width() - size.width()) < 0.05);
        QVERIFY(qAbs(doc->PageAt(0)->Height() - size.height()) < 0.05);
        QCOMPARE(doc->PageAt(0)->Rotation(), rotation);
        QCOMPARE(GQ_ToQString(doc->FilePath()), QFileInfo(file).absoluteFilePath());
        QVERIFY(!doc->IsModified() && !doc->HasSignatures());
        QCOMPARE(doc->PageAt(0)->AnnotCount(), 0);
    }

    // The stamp's colour is where its rectangle is, and not beyond it, in the saved file
    // (drawn by pdftoppm) and in our own rendering, before and after reopening.
    void stampSavedWhereItIsShown_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("embed");
        for (const char* f : {"contract.pdf", "landscape.pdf", "rotated.pdf", "cropped.pdf", ""}) {
            QTest::addRow("%s, annotation", *f ? f : "made in memory") << f << false;
            QTest::addRow("%s, embedded", *f ? f : "made in memory") << f << true;
        }
    }
    void stampSavedWhereItIsShown()
    {
        QFETCH(QString, file);
        QFETCH(bool, embed);
        const int dpi = 150;
        // A document made in memory: a turned page after a plain one.
        std::unique_ptr<IG_Document> doc(
            file.isEmpty() ? DocumentIO::CreateBlank({{210, 297}, {297, 210}}, {0, 90})
                           : OpenPdf(Sample(file)).release());
        QVERIFY(doc);
        const int index = doc->PageCount() - 1;
        IG_Page* page = doc->PageAt(index);
        const int before = page->AnnotCount(); // another program's stamp on cropped.pdf
        const CCA_GRect rect = CornerRect(page);
        IG_Annot* a = Stamp(page, AddSeal(doc.get()), rect);
        QVERIFY(a);
        if (embed) {
            QVERIFY(a->EmbedInto(page->NewLayer(-1), true));
            QVERIFY(page->RemoveAnnot(a->ID(), false));
        }
        QString problem = CheckProbes(RenderModel(page, dpi), page, rect, dpi);
        QVERIFY2(problem.isEmpty(), qPrintable("view: " + problem));

        const QString out = Path(QStringLiteral("out-%1-%2").arg(embed).arg(file));
        G_SaveReport report;
        problem = SaveChecked(doc.get(), out, &report);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QVERIFY(!doc->IsModified() && !report.rewritten);
        QCOMPARE(report.incremental, !file.isEmpty());
        problem = CheckProbes(RenderWithPoppler(out, index + 1, dpi), page, rect, dpi);
        QVERIFY2(problem.isEmpty(), qPrintable("pdftoppm: " + problem));

        QString subtypes = QString("Stamp,").repeated(before + (embed ? 0 : 1));
        subtypes.chop(1);
        QCOMPARE(AnnotSubtypes(out).value(index), subtypes);
        QCOMPARE(ImageObjects(out).size(), 2); // picture and mask, one object

        auto again = OpenPdf(out);
        QVERIFY(again);
        IG_Page* reopened = again->PageAt(index);
        QCOMPARE(reopened->Rotation(), page->Rotation());
        QCOMPARE(reopened->AnnotCount(), before + (embed ? 0 : 1));
        problem = CheckProbes(RenderModel(reopened, dpi), page, rect, dpi);
        QVERIFY2(problem.isEmpty(), qPrintable("reopened: " + problem));
    }

    // Properties survive a save; run-time stamps are not saved; deleted ones are gone and
    // come back with undo; one picture on every page is stored once, as it is, with its
    // transparency as a mask.
    void savedStampsAsModelled()
    {
        auto doc = OpenPdf(Sample("contract.pdf"));
        const int res = AddSeal(doc.get());
        const CCA_GRect rect(33.25f, 47.5f, 73.25f, 77.5f);
        IG_Annot* a = Stamp(doc->PageAt(1), res, rect);
        a->SetSubType("PreSeal");
        a->SetCreator("张三 Zhang");
        a->SetCreationDate("2023-12-31 23:59:58");
        Stamp(doc->PageAt(0), res, CornerRect(doc->PageAt(0)), true);
        Stamp(doc->PageAt(0), 0, CCA_GRect(10, 10, 50, 40), true); // preview, no picture yet
        IG_Annot* drop = Stamp(doc->PageAt(2), res, CCA_GRect(60, 10, 100, 40));
        for (int i = 0; i < 3; ++i) {
            IG_Page* page = doc->PageAt(i);
            IG_Annot* e = Stamp(page, res, CCA_GRect(20, 20, 60, 50));
            QVERIFY(e->EmbedInto(page->NewLayer(-1), true) && page->RemoveAnnot(e->ID(), false));
        }
        Stamp(doc->PageAt(2), res, CornerRect(doc->PageAt(2)));
        QVERIFY(doc->PageAt(2)->RemoveAnnot(drop->ID(), false));
        const QString out = Path("modelled.pdf");
        QCOMPARE(SaveChecked(doc.get(), out), QString());
        QCOMPARE(GQ_ToQString(doc->FilePath()), out);
        QCOMPARE(AnnotSubtypes(out), QStringList({"", "Stamp", "Stamp"}));
        QString listing;
        const QStringList images = ImageObjects(out, &listing);
        QCOMPARE(images.size(), 10); // picture + mask: 3 embedded, 2 stamps (run-time not)
        QCOMPARE(QSet<QString>(images.begin(), images.end()).size(), 1);
        QVERIFY2(listing.count(QRegularExpression(" smask +473 +355 ")) == 5, qPrintable(listing));

        auto again = OpenPdf(out);
        QCOMPARE(again->PageAt(0)->AnnotCount(), 0);
        IG_Page* p = again->PageAt(1);
        QCOMPARE(p->AnnotCount(), 1);
        IG_Annot* b = p->AnnotAt(0);
        QVERIFY(b->Type() == G_AnnotType_Stamp && SameRect(b->GetRect(), rect));
        QCOMPARE(QString(b->SubType()), QStringLiteral("PreSeal"));
        QCOMPARE(GQ_ToQString(b->Creator()), QStringLiteral("张三 Zhang"));
        QCOMPARE(QString(b->CreationDate()), QStringLiteral("2023-12-31 23:59:58"));

        // Put back (undo) and saved again over the same file: both are there, once each; the
        // stamp moved since is where it is now.
        QVERIFY(doc->PageAt(2)->RestoreAnnot(drop));
        a->Offset(10, 5);
        QCOMPARE(SaveChecked(doc.get(), out), QString());
        QCOMPARE(AnnotSubtypes(out).value(2), QStringLiteral("Stamp,Stamp"));
        QVERIFY(SameRect(OpenPdf(out)->PageAt(1)->AnnotAt(0)->GetRect(), a->GetRect()));
        // Both gone again: the page is as the file had it before (an update back).
        for (IG_Annot* gone : {drop, doc->PageAt(2)->AnnotAt(0)})
            QVERIFY(doc->PageAt(2)->RemoveAnnot(gone->ID(), false));
        QCOMPARE(SaveChecked(doc.get(), out), QString());
        QCOMPARE(AnnotSubtypes(out).value(2), QString());
        const QStringList parts = QDir(m_dir.path()).entryList({"*.part"}, QDir::Hidden);
        QVERIFY2(parts.isEmpty(), qPrintable(parts.join(',')));
    }

    // A stamp made by another program: read into the model with its own appearance, movable
    // and embeddable; the link beside it stays, in its place.
    void foreignStampIsEditable()
    {
        auto doc = OpenPdf(Sample("stamped.pdf"));
        IG_Page* page = doc->PageAt(0);
        QCOMPARE(page->AnnotCount(), 1);
        IG_Annot* a = page->AnnotAt(0);
        QCOMPARE(QString(a->SubType()), QStringLiteral("Approved"));
        QCOMPARE(QString(a->Creator()), QStringLiteral("Alice"));
        QCOMPARE(QString(a->CreationDate()), QStringLiteral("2024-01-02 03:04:05"));
        const double k = 25.4 / 72;
        QVERIFY(SameRect(a->GetRect(), CCA_GRect(350 * k, 691.89 * k, 450 * k, 741.89 * k)));
        QVERIFY(!a->IsLocked() && !a->IsSignature());

        // Its appearance: a blue box, white inside, with a blue bar in the middle.
        const int dpi = 100;
        const QImage view = RenderModel(page, dpi);
        auto at = [&](const QImage& img, const CCA_GRect& r, double fx, double fy) {
            return img.pixel(PixelAt(r.left + fx * r.Width(), r.top + fy * r.Height(),
                                     page->Width(), page->Height(), 0, dpi));
        };
        QVERIFY(Near(at(view, a->GetRect(), 0.5, 0.5), kForeignBlue));
        QVERIFY(Near(at(view, a->GetRect(), 0.03, 0.5), kForeignBlue));
        QVERIFY(Near(at(view, a->GetRect(), 0.15, 0.3), Qt::white));

        a->Offset(-100, -50);
        const CCA_GRect moved = a->GetRect();
        const QString out = Path("foreign.pdf");
        QCOMPARE(SaveChecked(doc.get(), out), QString());
        QCOMPARE(AnnotSubtypes(out).value(0), QStringLiteral("Stamp,Link"));
        QVERIFY(Near(at(RenderWithPoppler(out, 1, dpi), moved, 0.5, 0.5), kForeignBlue));
        auto again = OpenPdf(out);
        IG_Page* p2 = again->PageAt(0);
        IG_Annot* b = p2->AnnotAt(0);
        QVERIFY(SameRect(b->GetRect(), moved) && QString(b->SubType()) == "Approved");

        // Embedded, then deleted: page content, and only the link remains an annotation.
        QVERIFY(b->EmbedInto(p2->LayerAt(p2->LayerCount() - 1), true));
        QVERIFY(p2->RemoveAnnot(b->ID(), false));
        const QString out2 = Path("foreign2.pdf");
        QCOMPARE(SaveChecked(again.get(), out2), QString());
        QCOMPARE(AnnotSubtypes(out2).value(0), QStringLiteral("Link"));
        QVERIFY(Near(at(RenderWithPoppler(out2, 1, dpi), moved, 0.5, 0.5), kForeignBlue));
    }

    // A stamp of the file that is moved is written again with every key it has, by the
    // update's own serializer: each value reads back with qpdf as it was, byte for byte.
    void movedStampKeepsItsValues_data()
    {
        QTest::addColumn<QByteArray>("value"); // in PDF syntax, under /Extra of the stamp
        QTest::newRow("name with delimiters")
            << QByteArray("/a#28b#29c#3Cd#3E#5B#5D#7B#7D#2F#25#23#20z");
        QTest::newRow("name with non-ASCII bytes") << QByteArray("/caf#C3#A9#E4#B8#AD#7F#01");
        QTest::newRow("brackets and backslashes") << QByteArray("(a\\(b\\) (nested) \\\\n\\))");
        QTest::newRow("CR, LF and the other escapes") << QByteArray("(a\\r\\nb\\rc\\n\\t\\b\\f)");
        QTest::newRow("octal escapes, then a digit")
            << QByteArray("(caf\\351 na\\357ve, \\2002 \\0373: a literal string still)");
        QTest::newRow("binary") << QByteArray("<00FF0D0A28295C8081>");
        QTest::newRow("UTF-16 text") << QByteArray("<FEFF00E4002800294E2D>");
        QTest::newRow("reals as written") << QByteArray("[ -0.5 .25 3. 0.000001 -12345.678901 ]");
        QTest::newRow("nested, with nulls")
            << QByteArray("[ 1 [ true false null ] << /K [ /N () ] /E << >> /Z null >> [ ] ]");
        QTest::newRow("reference") << QByteArray("6 0 R");
    }
    void movedStampKeepsItsValues()
    {
        QFETCH(QByteArray, value);
        const QString input = Path("values-in.pdf"), out = Path("values-out.pdf");
        // A name of the value's length goes in first, then the value's bytes over it: the
        // file has them exactly (qpdf would spell some of them its own way).
        const QByteArray stand = "/" + QByteArray(value.size() - 1, 'X');
        {
            QPDF pdf;
            pdf.processFile(Sample("contract.pdf").toLocal8Bit().constData());
            QPDFObjectHandle annot = pdf.makeIndirectObject(QPDFObjectHandle::parse(
                "<< /Type /Annot /Subtype /Stamp /Rect [ 100 100 200 150 ] >>"));
            annot.replaceKey("/Extra", QPDFObjectHandle::newName(stand.toStdString()));
            QPDFPageDocumentHelper(pdf).getAllPages()[0].getObjectHandle().replaceKey(
                "/Annots", QPDFObjectHandle::newArray({annot}));
            const QByteArray name = input.toLocal8Bit(); // qpdf keeps the pointer
            QPDFWriter writer(pdf, name.constData());
            writer.write();
        }
        QByteArray bytes = ReadFile(input);
        QVERIFY(bytes.count(stand) == 1);
        QVERIFY(WriteFile(input, bytes.replace(stand, value)));
        auto doc = OpenPdf(input);
        QVERIFY(doc && doc->PageAt(0)->AnnotCount() == 1);
        doc->PageAt(0)->AnnotAt(0)->Offset(5, 5);
        G_SaveReport report;
        QCOMPARE(SaveChecked(doc.get(), out, &report), QString()); // qpdf --check
        QVERIFY(report.incremental);
        QVERIFY(ReadFile(out).mid(ReadFile(input).size()).contains("/Extra"));

        auto extra = [](const QString& file, std::string* text) {
            QPDF pdf;
            pdf.processFile(file.toLocal8Bit().constData());
            QPDFObjectHandle annots =
                QPDFPageDocumentHelper(pdf).getAllPages()[0].getObjectHandle().getKey("/Annots");
            // Strings in hexadecimal, so that the bytes are compared and not one spelling.
            *text = annots.getArrayItem(0).getKey("/Extra").unparseBinary();
        };
        std::string before, after;
        extra(input, &before);
        extra(out, &after);
        QCOMPARE(QByteArray::fromStdString(after), QByteArray::fromStdString(before));
    }

    // Pages of different sizes, stamped and saved at once, keep each its own box.
    void mixedSizesSavedAtOnce()
    {
        const QString mixed = Path("mixed.pdf"), out = Path("mixed-out.pdf");
        const QString landscape = Sample("landscape.pdf");
        QCOMPARE(Run("qpdf", {"--empty", "--pages", landscape, Sample("contract.pdf"), "1",
                              landscape, "--", mixed}),
                 0);
        auto doc = OpenPdf(mixed);
        const int res = AddSeal(doc.get());
        for (int i = 0; i < 3; ++i)
            Stamp(doc->PageAt(i), res, CornerRect(doc->PageAt(i)));
        QCOMPARE(SaveChecked(doc.get(), out), QString());
        auto again = OpenPdf(out);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(again->PageAt(i)->Width(), doc->PageAt(i)->Width());
    }

    // A long document opens without reading its pages' annotations; pages never loaded
    // keep theirs when saved.
    void pagesLoadLazily()
    {
        const QString big = Path("big.pdf");
        QStringList args{"--empty", "--pages"};
        for (int i = 0; i < 100; ++i)
            args << Sample("stamped.pdf");
        QCOMPARE(Run("qpdf", args << "--" << big), 0);
        auto doc = OpenPdf(big);
        QCOMPARE(doc->PageCount(), 100);
        auto loaded = [&doc](int i) {
            return static_cast<ReaderPage*>(doc->PageAt(i))->IsLoaded();
        };
        for (int i = 0; i < doc->PageCount(); ++i)
            QVERIFY(!loaded(i));
        QCOMPARE(doc->PageAt(57)->AnnotCount(), 1);
        QVERIFY(loaded(57) && !loaded(58));
        QCOMPARE(SaveChecked(doc.get(), Path("big-out.pdf")), QString());
        QCOMPARE(AnnotSubtypes(Path("big-out.pdf")).count(QStringLiteral("Stamp,Link")), 100);
    }

    void restrictedFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("annotations forbidden") << "no-annotations.pdf" << true;
        QTest::newRow("only printing forbidden") << "no-print.pdf" << false;
        // Changed in memory and saved elsewhere.
        QTest::newRow("file without write permission") << "readonly-bits.pdf" << false;
    }
    void restrictedFiles()
    {
        QFETCH(QString, file);
        QFETCH(bool, readOnly);
        const QByteArray before = ReadFile(Path(file));
        auto doc = OpenPdf(Path(file));
        QVERIFY(doc);
        QCOMPARE(doc->IsReadOnly(), readOnly);
        Stamp(doc->PageAt(0), AddSeal(doc.get()), CCA_GRect(10, 10, 50, 40));
        const QString out = Path("restricted-out.pdf");
        const QString error = SaveChecked(doc.get(), out);
        QVERIFY2(readOnly ? error.contains("permit") && !QFile::exists(out) : error.isEmpty(),
                 qPrintable(error));
        QString info; // the encryption is kept: still no printing
        Run("qpdf", {"--show-encryption", out}, &info);
        QCOMPARE(info.contains("print low resolution: not allowed"), file == "no-print.pdf");
        QCOMPARE(ReadFile(Path(file)), before);
    }

    // Saves that cannot succeed fail with a message and leave every file as it was (also
    // for root, who may write anywhere: these places cannot hold a file at all).
    void saveFails_data()
    {
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("says");
        QTest::newRow("parent is a file") << Path("text.pdf/out.pdf") << "folder";
        QTest::newRow("missing folder") << Path("no/such/folder/out.pdf") << "folder";
        QTest::newRow("destination is a folder") << Path("folder.pdf") << "not a file";
        QTest::newRow("no name") << QString() << "No file";
        QTest::newRow("read-only file system") << QString("/proc/out.pdf") << QString();
    }
    void saveFails()
    {
        QFETCH(QString, destination);
        QFETCH(QString, says);
        const QString in = Path("save-source.pdf");
        QFile::remove(in);
        QVERIFY(QFile::copy(Sample("contract.pdf"), in));
        const QByteArray before = ReadFile(in);
        auto doc = OpenPdf(in);
        Stamp(doc->PageAt(0), AddSeal(doc.get()), CCA_GRect(10, 10, 50, 40));
        QString error;
        QVERIFY(!doc->SaveAs(destination, &error));
        QVERIFY2(!error.isEmpty() && error.contains(says), qPrintable(error));
        QVERIFY(doc->IsModified());
        QCOMPARE(ReadFile(in), before);
        QCOMPARE(GQ_ToQString(doc->FilePath()), QFileInfo(in).absoluteFilePath());
        QCOMPARE(SaveChecked(doc.get(), in), QString()); // still whole: a good save works
        QCOMPARE(AnnotSubtypes(in).value(0), QStringLiteral("Stamp"));
    }

private:
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestPdfDocument)
#include "tst_pdfdocument.moc"
