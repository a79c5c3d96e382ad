// The plug-in's interceptors: which runs each takes; what the stamp command's does around
// the picker (answered here through the popup seam as a person would answer it) and after
// an automatic placement; what the barcode ones tell the user or stop.

#include "hostfixture.h"
#include "stampkit.h"

#include "host/framework/g_toolhandler.h"
#include "host/utils/popupseam.h"
#include "operations/gpi_stampannot.h"
#include "picker/stampdialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QScrollBar>

using Utils::Widgets::PopupSeam;

namespace
{

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

} // namespace

class TestInterceptors : public QObject
{
    Q_OBJECT

    std::unique_ptr<HostFixture> m_fx;

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
        QVERIFY(m_fx->OpenFile(StampKit::ContractPath()));
        PopupSeam::Clear();
    }
    void cleanup()
    {
        PopupSeam::SetAnswerer(nullptr);
        delete StampDialog::Existing();
        m_fx.reset();
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
        QTest::newRow("hand tool") << "t_handtool" << true << ""
                                   << "t_handtool";
        QTest::newRow("stamp tool") << "tp_stamp" << false << "t_handtool"
                                    << "tp_stamp";
        QTest::newRow("stamp command") << "ti_stamp" << true << ""
                                       << "t_handtool";
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
        const auto requests = m_fx->Context()->SignatureRequests();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests.first().operation, QStringLiteral("d_digitalsignature"));
        QCOMPARE(requests.first().annotId, annotId);
        QCOMPARE(requests.first().pageIndex, 2);
        auto* docContext = G_Application::Instance()->DocumentContext(m_fx->Document());
        QCOMPARE(docContext->PreparedSignatures(), 1);
        QCOMPARE(m_fx->Context()->CommandBarSelection(), QStringLiteral("t_handtool"));
    }

    void barcodeSavingIsReported_data()
    {
        QTest::addColumn<QString>("source"); // "seal": a copy of the sample seal
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("title"); // empty: nothing said
        QTest::addColumn<QString>("text");
        QTest::newRow("moved") << "seal"
                               << "saved.png"
                               << "save file"
                               << "Save File Success!";
        QTest::newRow("not convertible") << "notes.txt"
                                         << "saved.ofd"
                                         << "error"
                                         << "Save File failed!";
        QTest::newRow("no destination") << "seal"
                                        << ""
                                        << ""
                                        << "";
    }
    void barcodeSavingIsReported()
    {
        QFETCH(QString, source);
        QFETCH(QString, destination);
        QFETCH(QString, title);
        QFETCH(QString, text);
        const QString from = m_fx->TempDir() + "/barcode";
        QVERIFY(source == "seal" ? QFile::copy(StampKit::SealPath(), from)
                                 : QFile(from).open(QIODevice::WriteOnly));
        const QString to = destination.isEmpty() ? "" : m_fx->TempDir() + "/" + destination;
        m_fx->Run("tb_barcodesaveimage", {{"saveFilePath", from}, {"saveDestPath", to}});
        const auto boxes = m_fx->MessageBoxes();
        QCOMPARE(boxes.size(), int(!title.isEmpty()));
        if (boxes.isEmpty())
            return;
        QCOMPARE(boxes.first().title, title);
        QCOMPARE(boxes.first().text, text);
        QCOMPARE(boxes.first().buttons, 0x200000);
    }

    void barcodeDocumentCommandsAreStopped_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("official document") << QByteArray("tb_barcode_officialdocument");
        QTest::newRow("capitals") << QByteArray("TB_BARCODE_RECORDSGENERATED");
        QTest::newRow("after a prefix") << QByteArray("reader/tb_barcode_recordsgenerated");
    }
    void barcodeDocumentCommandsAreStopped()
    {
        QFETCH(QByteArray, name);
        NamedOperation op(name);
        op.SetContext(m_fx->Context(), m_fx->View());
        QCOMPARE(op.PerformAction(), 0);
        QVERIFY(!op.WasRun()); // stopped before it acted
    }
};

QTEST_MAIN(TestInterceptors)
#include "tst_interceptors.moc"
