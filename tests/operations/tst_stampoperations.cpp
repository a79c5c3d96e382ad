// The stamp operations and the plug-in's interceptors around them: forwarding to
// "tp_stamp", the picker's stamp command, deleting and embedding the last selection, and
// saving barcode pictures.
#include "fakedocument.h"
#include "hostfixture.h"
#include "stampkit.h"

#include "host/framework/g_toolhandler.h"
#include "host/utils/popupseam.h"
#include "operations/gpi_stampannot.h"
#include "picker/stampdialog.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>

using Utils::Widgets::PopupSeam;

namespace
{

const CCA_GSize kSize(40, 30);

class NamedOperation : public G_Operation
{
public:
    explicit NamedOperation(const QByteArray& name) : m_name(name) {}
    G_Operation* Clone() override { return new NamedOperation(m_name); }
    const char* Name() override { return m_name.constData(); }
    int DoAction() override { return 1; }

private:
    QByteArray m_name;
};

// A command-bar entry that is itself a tool, as the stamp command is in some readers.
class CommandTool : public G_ToolHandler
{
public:
    G_ToolHandler* CreateInstance() override { return new CommandTool; }
    CCA_String HandlerName() override { return "ti_stamp"; }
};

const CCA_GRect kButton(300, 20, 360, 50);

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
    const char* source;      // "picture", "text", "missing" or "" (not given)
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
    void initTestCase()
    {
        StampKit::InitPlugin();
        static CommandTool commandTool;
        commandTool.RegisterHandlerToGlobal();
    }
    void init()
    {
        m_fx.reset(new HostFixture);
        if (qstrcmp(QTest::currentTestFunction(), "barcodeSaveImage") == 0) // any document
            QVERIFY(m_fx->OpenBlank({CCA_GSize(210, 297)}));
        else
            QVERIFY(m_fx->OpenFile(StampKit::ContractPath()));
        PopupSeam::Clear();
    }
    void cleanup()
    {
        PopupSeam::SetAnswerer(nullptr);
        delete StampDialog::Existing();
        m_fx.reset();
    }

    void forwarderPassesStampKeys_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("isAuto");
        QTest::addColumn<bool>("applySign");
        QTest::newRow("interactive") << "ti_stamp" << false << false;
        QTest::newRow("interactive, sign") << "ti_stamp" << false << true;
        QTest::newRow("automatic") << "ti_stamp" << true << false;
        // The invoice command forwards through the same function.
        QTest::newRow("invoice seal, automatic, sign") << "d_invoiceseal" << true << true;
    }
    void forwarderPassesStampKeys()
    {
        QFETCH(QString, name);
        QFETCH(bool, isAuto);
        QFETCH(bool, applySign);
        StampKit::RunRecorder placement("tp_stamp");
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
        const int annotId = op->Param()->GetInt32("annotid", 0);
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
        // Where and how the stamp goes is the placement's own suite's.
        QCOMPARE(annotId, passed.value("annotid after").toInt());
        QCOMPARE(annotId > 0, isAuto);
    }

    void takesTheStampCommandByName_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("taken");
        QTest::newRow("plain") << QByteArray("ti_stamp") << true;
        QTest::newRow("any case") << QByteArray("Ti_Stamp") << true;
        QTest::newRow("after a prefix") << QByteArray("reader/tools/ti_stamp") << true;
        QTest::newRow("ending in a slash") << QByteArray("ti_stamp/") << false;
        QTest::newRow("placement") << QByteArray("tp_stamp") << false;
    }
    void takesTheStampCommandByName()
    {
        QFETCH(QByteArray, name);
        QFETCH(bool, taken);
        GPI_StampAnnot interceptor;
        NamedOperation op(name);
        QCOMPARE(interceptor.Intercepts(&op), taken);
        QVERIFY(!interceptor.PrepareDataHandle(&op, true)); // no view: nothing to stamp on
        QVERIFY(PopupSeam::History().isEmpty());
    }

    void closingThePickerRestoresTheTool_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<bool>("annotsShown");
        QTest::addColumn<QString>("selectedBefore"); // on the command bar while it shows
        QTest::addColumn<QString>("selectedAfter");
        QTest::newRow("hand tool") << "t_handtool" << true << QString() << "t_handtool";
        QTest::newRow("stamp tool") << "tp_stamp" << false << "t_handtool"
                                    << "tp_stamp";
        QTest::newRow("stamp command") << "ti_stamp" << true << QString() << "t_handtool";
    }
    void closingThePickerRestoresTheTool()
    {
        QFETCH(QString, tool);
        QFETCH(bool, annotsShown);
        QFETCH(QString, selectedBefore);
        QFETCH(QString, selectedAfter);
        G_DocView* view = m_fx->View();
        G_UIContext* context = m_fx->Context();
        view->SetToolHandler(view->ToolHandlerByName(tool.toUtf8().constData()));
        view->SetAnnotStatus(annotsShown);
        context->SetCommandBarButtonChecked("t_annot", !annotsShown);
        context->ClearEventLog();
        QString before = QStringLiteral("picker not opened");
        bool annotButton = !annotsShown;
        PopupSeam::SetAnswerer([&](Utils::Widgets::Nex_Popup*) {
            const bool fired = !m_fx->Events(G_Event::CommandBarOpChanged).isEmpty();
            before = fired ? context->CommandBarSelection() : QString();
            annotButton = context->CommandBarButtonChecked("t_annot");
        }); // and closes it without a choice
        QCOMPARE(m_fx->Run("ti_stamp"), 0);
        QCOMPARE(before, selectedBefore);
        QCOMPARE(context->CommandBarSelection(), selectedAfter);
        QCOMPARE(m_fx->CurrentTool(), selectedAfter);
        QVERIFY(!StampKit::Pending(view));
        // Shown annotations are confirmed visible; hidden ones only uncheck the button.
        QCOMPARE(annotButton, annotsShown);
        QCOMPARE(view->AnnotStatus(), annotsShown);
    }

    void handPlacementLeavesThePositionAlone()
    {
        m_fx->Context()->ClearEventLog();
        const QVariantMap out = runStamp(false, false);
        QCOMPARE(PopupSeam::History().last().second, QPoint(300, 50));
        QCOMPARE(out.value("position").value<CCA_GRect>(), kButton);
        QVERIFY(!out.contains("pageIndex") && !out.contains("applysign"));
        QVERIFY(StampKit::Pending(m_fx->View()));
        QVERIFY(m_fx->Events(G_Event::CommandBarOpChanged).isEmpty());
        QVERIFY(m_fx->Context()->SignatureRequests().isEmpty());
    }

    void automaticPlacementScrollsAndSigns()
    {
        G_DocView* view = m_fx->View();
        view->GoToPage(2);
        view->verticalScrollBar()->setValue(view->PageRect(2).top()); // the page's top in sight
        const QVariantMap out = runStamp(true, true);
        QCOMPARE(out.value("stampSize").value<CCA_GSize>(), CCA_GSize(40.0f, 30.0f));
        const int annotId = out.value("annotid").toInt();

        IG_Annot* stamp = view->Page(2)->AnnotById(unsigned(annotId));
        QVERIFY(stamp); // at the bottom right, scrolled into sight
        const QRect visible(view->ScrollOffset(), view->viewport()->size());
        QVERIFY(visible.contains(view->SceneRectFromDocRect(2, stamp->GetRect())));
        const auto requests = m_fx->Context()->SignatureRequests(); // its fields: tst_placement
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests.first().annotId, annotId);
        auto* docContext = G_Application::Instance()->DocumentContext(m_fx->Document());
        QCOMPARE(docContext->PreparedSignatures(), 1);
        QCOMPARE(m_fx->Context()->CommandBarSelection(), QStringLiteral("t_handtool"));
    }

    void barcodeDocumentCommandsAreStopped_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("official document") << QByteArray("tb_barcode_officialdocument");
        QTest::newRow("records generated") << QByteArray("tb_barcode_recordsgenerated");
    }
    void barcodeDocumentCommandsAreStopped()
    {
        QFETCH(QByteArray, name);
        NamedOperation op(name);
        op.SetContext(m_fx->Context(), m_fx->View());
        QCOMPARE(op.PerformAction(), 0);
        QVERIFY(!op.WasRun()); // stopped before it acted
    }
    void deleteNamesCachedPageAndId_data()
    {
        QTest::addColumn<int>("page"); // −1: nothing selected yet
        QTest::addColumn<int>("annotId");
        QTest::addColumn<QString>("text");
        QTest::newRow("page 3, id 17") << 3 << 17 << "3:17";
        QTest::newRow("nothing selected") << -1 << -1 << "";
    }
    void deleteNamesCachedPageAndId()
    {
        QFETCH(int, page);
        QFETCH(int, annotId);
        QFETCH(QString, text);
        if (page >= 0)
            select(page, annotId);
        StampKit::RunRecorder del("d_delannot");
        QCOMPARE(m_fx->Run("d_delpageannot"), int(!text.isEmpty()));
        QCOMPARE(del.runs, int(!text.isEmpty()));
        QCOMPARE(del.values.value("pageAndAnnotID").toString(), text);
    }

    void embedChoosesLayer_data()
    {
        // A fake document stands in for documents whose pages come without any layer.
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
        StampKit::RunRecorder del("d_delannot");
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

    void barcodeSaveImage_data()
    {
        QTest::addColumn<Save>("row");
        QTest::newRow("new png") << Save{"picture", "saved.png", false, 1, 1, "moved"};
        QTest::newRow("replaces a file of that name")
            << Save{"picture", "saved.png", true, 1, 1, "moved"};
        QTest::newRow("upper-case .PDF") << Save{"picture", "barcode.PDF", false, 1, 1, "pdf"};
        QTest::newRow("no destination") << Save{"picture", "", false, 0, 0, "kept"};
        QTest::newRow("no source") << Save{"", "target.png", true, 0, 0, "kept"};
        QTest::newRow("source gone meanwhile") << Save{"missing", "older.png", true, 1, 0, "kept"};
        QTest::newRow("destination is the source")
            << Save{"picture", "source.png", false, 1, 1, "kept"};
        QTest::newRow("copy fails") << Save{"picture", "no folder/saved.png", false, 1, 0, "kept"};
        QTest::newRow("not convertible") << Save{"text", "saved.ofd", false, 1, 0, "kept"};
    }
    void barcodeSaveImage()
    {
        QFETCH(Save, row);
        const QString dir = m_fx->TempDir() + "/barcodes/";
        QVERIFY(QDir().mkpath(dir));
        QImage image(120, 40, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        const QString from = dir + (qstrcmp(row.source, "picture") ? "missing.png" : "source.png");
        if (!qstrcmp(row.source, "picture"))
            QVERIFY(image.save(from, "PNG"));
        if (!qstrcmp(row.source, "text"))
            QVERIFY(QFile(from).open(QIODevice::WriteOnly));
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
        // The interceptor tells how a save that ran went.
        const auto boxes = m_fx->MessageBoxes();
        QCOMPARE(boxes.size(), row.result);
        if (row.result) {
            QCOMPARE(boxes[0].title, row.saveFile ? "save file" : "error");
            QCOMPARE(boxes[0].text, row.saveFile ? "Save File Success!" : "Save File failed!");
            QCOMPARE(boxes[0].buttons, int(QMessageBox::Close));
        }
    }

private:
    // Runs "ti_stamp" from the button; the picker chooses the seal (40 × 30 mm), placed
    // 10 and 20 mm from the right and bottom edges when `automatic`. The parameters after.
    QVariantMap runStamp(bool automatic, bool sign)
    {
        PopupSeam::SetAnswerer([=](Utils::Widgets::Nex_Popup* popup) {
            auto* picker = qobject_cast<StampDialog*>(popup);
            picker->findChild<QCheckBox*>("ChkApplySig")->setChecked(automatic);
            picker->findChild<QLineEdit*>("LiedLRPageMar")->setText("10");
            picker->findChild<QLineEdit*>("LiedTBPageMar")->setText("20");
            picker->findChild<QCheckBox*>("ApplyDigitalSignatureBox")->setChecked(sign);
            picker->SelectStamp(StampParam{StampKit::SealPath(), QSize(40, 30)});
        });
        QVariantMap out;
        m_fx->Run("ti_stamp", {{"position", QVariant::fromValue(kButton)}}, &out);
        return out;
    }

    std::unique_ptr<HostFixture> m_fx;
};

QTEST_MAIN(TestStampOperations)
#include "tst_stampoperations.moc"
