// The stamp operations: what "ti_stamp" and "d_invoiceseal" hand to "tp_stamp", deleting
// and embedding the stamp selected last (also from its context menu), which layer an
// embedded stamp goes to, what a saved file holds afterwards (read back by programs of
// other makers), and "tb_barcodesaveimage" moving or converting a barcode picture.

#include "fakedocument.h"
#include "hostfixture.h"
#include "stampkit.h"

#include "host/framework/g_operationinterceptor.h"

#include <QDir>

namespace
{

// Watches the runs of one operation: its parameters as the run starts and its
// "annotid" once the action is done.
class RunRecorder : public G_OperationInterceptor
{
public:
    explicit RunRecorder(const char* name) : m_name(name) {}
    bool Intercepts(G_Operation* op) override { return m_name == op->Name(); }
    bool PrepareDataHandle(G_Operation* op, bool) override
    {
        ++runs;
        keys = op->Param()->Keys();
        for (const QString& key : qAsConst(keys))
            values.insert(key, op->Param()->Value(key));
        return true;
    }
    void AfterDoActionHandle(G_Operation* op) override
    {
        values.insert("annotid after", op->Param()->Value("annotid"));
    }
    int runs = 0;
    QStringList keys;
    QVariantMap values;

private:
    QByteArray m_name;
};

const CCA_GSize kSize(40, 30);

void select(int page, int annotId)
{
    G_SettingMgr::Instance()->SetConfigCache(QStringLiteral("stampPageIndex"), page);
    G_SettingMgr::Instance()->SetConfigCache(QStringLiteral("stampAnnotID"), annotId);
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Embed {
    int layersBefore, selectedId; // −1: nothing selected yet
    bool embeddable;
    int layersAfter, targetLayer; // −1: nothing embedded
};
struct Save {
    const char* source;      // "picture", "missing" or "" (not given)
    const char* destination; // in the test folder; "" not given
    bool older;              // a file of that name is there already
    int result, saveFile;
    const char* after; // "moved", "pdf" or "kept" (nothing changed)
};
} // namespace
Q_DECLARE_METATYPE(Embed)
Q_DECLARE_METATYPE(Save)

class TestStampOperations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { StampKit::InitPlugin(); }
    void init()
    {
        m_fx.reset(new HostFixture);
        if (qstrcmp(QTest::currentTestFunction(), "barcodeSaveImage") != 0) // needs no document
            QVERIFY(m_fx->OpenFile(StampKit::ContractPath()));
    }
    void cleanup() { m_fx.reset(); }

    void forwarderPassesStampKeys_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("isAuto");
        QTest::addColumn<bool>("applySign");
        for (const char* name : {"ti_stamp", "d_invoiceseal"}) {
            QTest::addRow("%s, interactive", name) << name << false << false;
            QTest::addRow("%s, interactive, sign", name) << name << false << true;
            QTest::addRow("%s, automatic", name) << name << true << false;
            QTest::addRow("%s, automatic, sign", name) << name << true << true;
        }
    }
    void forwarderPassesStampKeys()
    {
        QFETCH(QString, name);
        QFETCH(bool, isAuto);
        QFETCH(bool, applySign);
        RunRecorder placement("tp_stamp");
        StampKit::PointerTo(*m_fx, 0, CCA_GPoint(100, 100));
        const QVariantMap given{{"stampId", StampKit::EmbedSeal(m_fx->Document())},
                                {"stampSize", QVariant::fromValue(kSize)},
                                {"imgPath", StampKit::SealPath()},
                                {"pageIndex", 2},
                                {"position", QVariant::fromValue(CCA_GPoint(15, 25))},
                                {"applysign", applySign},
                                {"auto", isAuto}};
        // The forwarding itself, without the picker interceptors in front of it.
        G_Operation* op = m_fx->Context()->CreateOperationByName(name.toUtf8().constData(), {});
        for (auto it = given.cbegin(); it != given.cend(); ++it)
            op->Param()->AddVariant(it.key(), it.value());
        QCOMPARE(op->DoAction(), 1);
        const QVariantMap out{{"annotid", op->Param()->GetInt32("annotid", 0)}};
        op->DeleteLater();
        QCOMPARE(placement.runs, 1);
        QStringList keys{"name", "stampId", "stampSize", "imgPath"};
        keys << (isAuto ? QStringList{"pageIndex", "position"} : QStringList())
             << (applySign ? QStringList{"applysign"} : QStringList()) << "auto";
        QCOMPARE(placement.keys, keys);
        const QVariantMap& passed = placement.values;
        QCOMPARE(passed.value("stampId"), given.value("stampId"));
        QCOMPARE(passed.value("stampSize").value<CCA_GSize>(), kSize);
        QCOMPARE(passed.value("imgPath"), given.value("imgPath"));
        if (isAuto) {
            QCOMPARE(passed.value("pageIndex").toInt(), 2);
            QCOMPARE(passed.value("position").value<CCA_GPoint>(), CCA_GPoint(15, 25));
        }
        QCOMPARE(passed.value("applysign").toBool(), applySign);
        QCOMPARE(passed.value("auto").userType(), int(QMetaType::Int));
        QCOMPARE(passed.value("auto").toInt(), int(isAuto));
        QCOMPARE(out.value("annotid").toInt(), passed.value("annotid after").toInt());
        QCOMPARE(bool(StampKit::Pending(m_fx->View())), !isAuto);
        IG_Annot* placed = m_fx->View()->Page(2)->AnnotById(out.value("annotid").toUInt());
        QCOMPARE(bool(placed), isAuto);
        if (placed)
            QCOMPARE(placed->GetRect(), CCA_GRect(15, 25, 55, 55));
    }

    void deleteNamesCachedPageAndId_data()
    {
        QTest::addColumn<int>("page"); // −1: nothing selected yet
        QTest::addColumn<int>("annotId");
        QTest::addColumn<QString>("text");
        QTest::newRow("page 3, id 17") << 3 << 17 << "3:17";
        QTest::newRow("page 0, id 1024") << 0 << 1024 << "0:1024";
        QTest::newRow("nothing selected") << -1 << -1 << "";
    }
    void deleteNamesCachedPageAndId()
    {
        QFETCH(int, page);
        QFETCH(int, annotId);
        QFETCH(QString, text);
        IG_Annot* stamp = StampKit::PlaceAuto(*m_fx, 0, CCA_GPoint(20, 20), kSize);
        if (page >= 0)
            select(page, annotId);
        const quint64 revision = m_fx->Document()->Revision();
        RunRecorder del("d_delannot");
        QCOMPARE(m_fx->Run("d_delpageannot"), int(!text.isEmpty()));
        QCOMPARE(del.runs, int(!text.isEmpty()));
        QCOMPARE(del.values.value("pageAndAnnotID").toString(), text);
        QVERIFY(stamp->IsOnPage());
        QCOMPARE(m_fx->Document()->Revision(), revision);
    }

    void menuActsOnTheLastSelection()
    {
        IG_Annot* a = StampKit::PlaceAuto(*m_fx, 0, CCA_GPoint(30, 40), kSize);
        IG_Annot* b = StampKit::PlaceAuto(*m_fx, 1, CCA_GPoint(100, 150), kSize);
        IG_Page* page = m_fx->View()->Page(1);
        const int layers = page->LayerCount();
        const int objects = layers > 0 ? page->LayerAt(layers - 1)->ObjectCount() : -1;
        QUndoStack* undo = m_fx->View()->UndoStack();
        m_fx->ClickAt(0, StampKit::Centre(a->GetRect()));
        m_fx->ClickAt(1, StampKit::Centre(b->GetRect()));
        m_fx->RightClickMenu(b, QStringLiteral("d_embedpageannot"));
        QVERIFY(!b->IsOnPage() && a->IsOnPage());
        QCOMPARE(page->LayerCount(), layers);
        QCOMPARE(page->LayerAt(layers - 1)->ObjectCount(), objects + 1);
        QCOMPARE(undo->count(), 0); // page content has no way back
        m_fx->ClickAt(0, StampKit::Centre(a->GetRect()));
        m_fx->RightClickMenu(a, QStringLiteral("d_delpageannot"));
        QVERIFY(!a->IsOnPage());
        QCOMPARE(undo->count(), 1);
    }

    void embedChoosesLayer_data()
    {
        // Pages of the reader's own documents always have their content layer, so a small
        // in-memory document stands in for documents whose pages come without any layer.
        QTest::addColumn<Embed>("row");
        QTest::newRow("no layer: one is made") << Embed{0, 5, true, 1, 0};
        QTest::newRow("two layers: the last") << Embed{2, 5, true, 2, 1};
        QTest::newRow("nothing selected, no layer") << Embed{0, -1, true, 1, -1};
        QTest::newRow("nothing selected, one layer") << Embed{1, -1, true, 1, -1};
        QTest::newRow("stamp that cannot be page content stays") << Embed{1, 5, false, 1, -1};
    }
    void embedChoosesLayer()
    {
        QFETCH(Embed, row);
        FakeDocument doc;
        doc.page->annots.push_back(std::make_unique<FakeAnnot>(doc.page.get(), 5));
        FakeAnnot* stamp = doc.page->annots.front().get();
        stamp->embeddable = row.embeddable;
        for (int i = 0; i < row.layersBefore; ++i)
            doc.page->NewLayer(-1);
        m_fx->CloseDocument();
        G_DocView view(m_fx->Context(), &doc);
        m_fx->Context()->SetCurrentDocView(&view);
        view.UndoStack()->push(new QUndoCommand(QStringLiteral("earlier change")));
        if (row.selectedId >= 0)
            select(0, row.selectedId);
        m_fx->Context()->ClearEventLog();
        RunRecorder del("d_delannot");
        const bool embeds = row.targetLayer >= 0;
        QCOMPARE(m_fx->Run("d_embedpageannot", {{"pageIndex", 0}}), int(embeds));
        QCOMPARE(doc.page->LayerCount(), row.layersAfter);
        QCOMPARE(stamp->embeddedInto, doc.page->LayerAt(row.targetLayer));
        QCOMPARE(stamp->onPage, !embeds);
        QCOMPARE(del.runs, int(embeds));
        QCOMPARE(view.UndoStack()->count(), int(!embeds));
        const auto changed = m_fx->Events(110);
        QCOMPARE(changed.size(), int(embeds));
        if (embeds) {
            QCOMPARE(doc.page->layers[size_t(row.targetLayer)]->objects, 1);
            QCOMPARE(static_cast<const G_DocumentChangedEvent*>(changed[0])->SubType(), 0);
        }
    }

    void savedFileReadsBack_data()
    {
        QTest::addColumn<QString>("sample");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("annotsInFile"); // on the first page, once saved
        QTest::addColumn<bool>("sealShown");   // drawn with annotations hidden unless placed
        QTest::newRow("embedded stamp is page content") << "contract.pdf"
                                                        << "embed" << 0 << true;
        QTest::newRow("stamp on a page whose crop box is offset") << "cropped.pdf"
                                                                  << "place" << 2 << true;
        QTest::newRow("last stamp of a page deleted") << "cropped.pdf"
                                                      << "delete" << 0 << false;
    }
    void savedFileReadsBack()
    {
        QFETCH(QString, sample);
        QFETCH(QString, action);
        QFETCH(int, annotsInFile);
        QFETCH(bool, sealShown);
        if (!PdfTools::Has("qpdf") || !PdfTools::Has("pdftoppm"))
            QSKIP("qpdf and pdftoppm are needed to read the saved file");
        QVERIFY(m_fx->OpenFile(QStringLiteral(SAMPLES_DIR "/") + sample));
        // 60 × 45 mm with its top-left at (40, 50) mm: the seal's star is at its middle.
        IG_Annot* stamp = action == "delete" ? m_fx->View()->Page(0)->AnnotAt(0)
                                             : StampKit::PlaceAuto(*m_fx, 0, CCA_GPoint(40, 50),
                                                                   CCA_GSize(60, 45));
        if (action != "place") {
            m_fx->ClickAt(0, StampKit::Centre(stamp->GetRect()));
            m_fx->RightClickMenu(stamp, action == "embed" ? "d_embedpageannot" : "d_delpageannot");
            QVERIFY(!stamp->IsOnPage());
        }
        const QString out = m_fx->TempDir() + "/saved.pdf";
        QString error;
        QVERIFY2(m_fx->Document()->SaveAs(out, &error), qPrintable(error));
        const QString check = PdfTools::Check(out);
        QVERIFY2(check.isEmpty(), qPrintable(check));
        QCOMPARE(PdfTools::AnnotCount(out, 0), annotsInFile);
        const QImage page = PdfTools::Render(out, 0, action == "embed");
        const int red = PdfTools::RedAround(page, CCA_GPoint(70, 72.5f));
        QVERIFY2(!page.isNull() && (red > 40) == sealShown, qPrintable(QString::number(red)));
        QCOMPARE(PdfTools::RedAround(page, CCA_GPoint(150, 20)), 0); // nothing where none was
        // Opened again, the reader finds what the other programs found.
        QVERIFY(m_fx->OpenFile(out));
        int onPage = 0;
        for (int i = 0; i < m_fx->View()->Page(0)->AnnotCount(); ++i)
            onPage += m_fx->View()->Page(0)->AnnotAt(i)->IsOnPage();
        QCOMPARE(onPage, annotsInFile);
    }

    void barcodeSaveImage_data()
    {
        QTest::addColumn<Save>("row");
        QTest::newRow("new png") << Save{"picture", "saved.png", false, 1, 1, "moved"};
        QTest::newRow("replaces a file of that name")
            << Save{"picture", "saved.png", true, 1, 1, "moved"};
        QTest::newRow("other suffix") << Save{"picture", "saved.bmp", false, 1, 1, "moved"};
        QTest::newRow("no suffix") << Save{"picture", "saved", true, 1, 1, "moved"};
        QTest::newRow("upper-case .PDF") << Save{"picture", "barcode.PDF", false, 1, 1, "pdf"};
        QTest::newRow("lower-case .pdf") << Save{"picture", "barcode.pdf", false, 1, 1, "pdf"};
        QTest::newRow("no destination") << Save{"picture", "", false, 0, 0, "kept"};
        QTest::newRow("no source") << Save{"", "target.png", true, 0, 0, "kept"};
        QTest::newRow("neither") << Save{"", "", false, 0, 0, "kept"};
        QTest::newRow("source gone meanwhile") << Save{"missing", "older.png", true, 1, 0, "kept"};
        QTest::newRow("destination is the source")
            << Save{"picture", "source.png", false, 1, 1, "kept"};
        QTest::newRow("copy fails") << Save{"picture", "no folder/saved.png", false, 1, 0, "kept"};
    }
    void barcodeSaveImage()
    {
        QFETCH(Save, row);
        const QString dir = m_fx->TempDir() + "/barcodes/";
        QVERIFY(QDir().mkpath(dir));
        QImage image(120, 40, QImage::Format_RGB32); // black bars, as a barcode has
        image.fill(Qt::white);
        for (int x = 4; x < 116; x += 6)
            for (int y = 4; y < 36; ++y)
                image.setPixel(x, y, qRgb(0, 0, 0));
        const QString from = dir + (qstrcmp(row.source, "picture") ? "missing.png" : "source.png");
        if (!qstrcmp(row.source, "picture"))
            QVERIFY(image.save(from, "PNG"));
        const QString to = dir + row.destination;
        QFile older(to);
        if (row.older)
            QVERIFY(older.open(QIODevice::WriteOnly) && older.write("older") == 5);
        older.close();
        const QByteArray picture = readAll(from), before = readAll(to);
        QVariantMap out;
        QCOMPARE(m_fx->Run("tb_barcodesaveimage",
                           {{"saveFilePath", *row.source ? from : QString()},
                            {"saveDestPath", *row.destination ? to : QString()}},
                           &out),
                 row.result);
        QCOMPARE(out.value("saveFile", -1).toInt(), row.saveFile);
        const QString after = row.after;
        if (after == "moved")
            QVERIFY(readAll(to) == picture && !QFile::exists(from));
        else if (after == "pdf")
            QVERIFY(readAll(to).startsWith("%PDF-"));
        else
            QVERIFY(readAll(from) == picture && readAll(to) == before);
    }

private:
    std::unique_ptr<HostFixture> m_fx;
};

QTEST_MAIN(TestStampOperations)
#include "tst_stampoperations.moc"
