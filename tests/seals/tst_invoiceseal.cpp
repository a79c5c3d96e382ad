// The invoice seal: the seal record the dialog builds, the picture it renders, where it
// places the seal, and the invoice command's interceptor on invoices and plain documents.

#include "hostfixture.h"
#include "stampkit.h"

#include "host/utils/nex_dpi.h"
#include "host/utils/nex_path.h"
#include "host/utils/popupseam.h"
#include "picker/stampdialog.h"
#include "seals/autoinvoicesealdlg.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cmath>

using Utils::Widgets::PopupSeam;

namespace
{

double averageWidth(const char* family, double size)
{
    QFont font(QString::fromLatin1(family));
    font.setPointSizeF(size);
    return QFontMetricsF(font).averageCharWidth();
}

QString sample(const char* name)
{
    return QStringLiteral(SAMPLES_DIR "/") + QLatin1String(name);
}

// Red pixels of the seal picture (300 dpi) in a rectangle in mm from the seal's centre.
int redIn(const QImage& image, const QRectF& mm)
{
    const double q = 300 / 25.4;
    int n = 0;
    for (int v = int((15 + mm.top()) * q); v <= int((15 + mm.bottom()) * q); ++v)
        for (int u = int((20 + mm.left()) * q); u <= int((20 + mm.right()) * q); ++u) {
            const QColor c = image.rect().contains(u, v) ? image.pixelColor(u, v) : Qt::white;
            n += c.red() > 180 && c.green() < 120;
        }
    return n;
}

} // namespace

class TestInvoiceSeal : public QObject
{
    Q_OBJECT

    std::unique_ptr<HostFixture> m_fx;

    // Answers the dialog of a several-page invoice: all pages and Add, or Cancel.
    static void answerDialog(bool add)
    {
        QTimer::singleShot(0, [add] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            dialog->findChild<QRadioButton*>("radioBtnAllPage")->setChecked(true);
            dialog->findChild<QPushButton*>(add ? "btnAdd" : "btnCancel")->click();
        });
    }

private slots:
    void initTestCase() { StampKit::InitPlugin(); }
    void init() { m_fx.reset(new HostFixture); }
    void cleanup()
    {
        PopupSeam::SetAnswerer(nullptr);
        delete StampDialog::Existing();
        m_fx.reset();
        Utils::DPI::Nex_Mgr::Instance().SetScale(0);
    }

    void nameArcFollowsTheNameLength_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<float>("angle");
        QTest::addColumn<float>("radiusX");
        QTest::addColumn<float>("radiusY");
        QTest::newRow("6 units") << 6 << 100.0f << 16.9f << 11.9f;
        QTest::newRow("14 units") << 14 << 260.0f << 16.9f << 11.9f;
        QTest::newRow("15 units: held at 270") << 15 << 270.0f << 17.0f << 12.0f;
    }
    void nameArcFollowsTheNameLength()
    {
        QFETCH(int, length);
        QFETCH(float, angle);
        QFETCH(float, radiusX);
        QFETCH(float, radiusY);
        Utils::DPI::Nex_Mgr::Instance().SetScale(1.0f);
        QVERIFY(m_fx->OpenBlank({CCA_GSize(210, 297)}));
        AutoInvoiceSealDlg dialog(m_fx->Context(), nullptr);
        dialog.PrepareSealRecord(); // the outline, and texts of no invoice (empty)
        dialog.AddSealTexts(QString(length, QChar(0x5370)), QStringLiteral("91330106MA2KXYZ12P"));
        const std::vector<SMK::SealTextItem> texts(dialog.SealRecord().texts.begin() + 3,
                                                   dialog.SealRecord().texts.end());
        QCOMPARE(int(texts.size()), 3);
        const SMK::SealTextItem& name = texts.at(0);
        QCOMPARE(name.startAngle, -angle / 2);
        QCOMPARE(name.endAngle, angle / 2);
        QVERIFY(std::abs(name.radiusX - radiusX) < 1e-4f &&
                std::abs(name.radiusY - radiusY) < 1e-4f);
        QCOMPARE(name.fontSize, 4.2f); // the smaller metrics only narrow the arc and stretch
        const double metrics = angle < 270 ? 4.2 : 4.0;
        QCOMPARE(name.stretch, float(0.7 * 3.0 / averageWidth("FangSong", metrics)));
        QCOMPARE(texts.at(2).stretch, name.stretch);
        QCOMPARE(texts.at(1).stretch, float(0.7 * 1.3 / averageWidth("Arial", 3.7)));
        QVERIFY(std::signbit(texts.at(1).y) && texts.at(2).y == 6.5f);
    }

    void pictureSizeFollowsRotation_data()
    {
        QTest::addColumn<int>("rotation");
        QTest::addColumn<QSize>("pixels");
        QTest::newRow("upright") << 0 << QSize(473, 355);
        QTest::newRow("quarter turn") << 90 << QSize(355, 473);
        QTest::newRow("half turn") << 180 << QSize(473, 355);
    }
    void pictureSizeFollowsRotation()
    {
        QFETCH(int, rotation);
        QFETCH(QSize, pixels);
        QVERIFY(m_fx->OpenBlank({CCA_GSize(40, 30)}, {rotation}));
        AutoInvoiceSealDlg dialog(m_fx->Context(), nullptr);
        G_Engine* engine = G_Application::Instance()->Engine();
        G_EngineHandle handle = engine->AcquireHandle(0);
        QVERIFY(dialog.RenderSealPicture(engine, handle));
        engine->ReleaseHandle(&handle);
        QCOMPARE(QImage(Utils::Nex_Path::TempPath() + "invoice.png").size(), pixels);
    }

    // The seal goes 6 mm from the right and bottom edges (whole millimetres of the page):
    // on the first page alone through "tp_stamp", or on every page in one batch request.
    void placesTheSealOnTheChosenPages_data()
    {
        QTest::addColumn<QList<CCA_GSize>>("pages");
        QTest::addColumn<bool>("allPages");
        QTest::addColumn<QString>("batch"); // empty: no batch request
        const CCA_GSize a4(210, 297);
        QTest::newRow("portrait and landscape")
            << QList<CCA_GSize>{a4, CCA_GSize(297, 210)} << true << "0:164,261/1:251,174";
        QTest::newRow("width with a fraction") << QList<CCA_GSize>{CCA_GSize(210.9f, 297), a4, a4}
                                               << true << "0:164,261/1:164,261/2:164,261";
        QTest::newRow("one page, all chosen") << QList<CCA_GSize>{a4} << true << "";
        QTest::newRow("first page only") << QList<CCA_GSize>{a4, a4} << false << "";
    }
    void placesTheSealOnTheChosenPages()
    {
        QFETCH(QList<CCA_GSize>, pages);
        QFETCH(bool, allPages);
        QFETCH(QString, batch);
        QVERIFY(m_fx->OpenBlank(pages));
        StampKit::RunRecorder recorder("batchaddinvoice");
        AutoInvoiceSealDlg dialog(m_fx->Context(), nullptr);
        dialog.findChild<QRadioButton*>("radioBtnAllPage")->setChecked(allPages);
        dialog.AddInvoiceSeal();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(recorder.runs, int(!batch.isEmpty()));
        QCOMPARE(recorder.values.value("pageandposition").toString(), batch);
        const int sealed = batch.isEmpty() ? 1 : pages.size();
        for (int i = 0; i < pages.size(); ++i) {
            IG_Page* page = m_fx->Document()->PageAt(i);
            QCOMPARE(page->AnnotCount(), i < sealed ? 1 : 0);
            if (i < sealed) {
                const float x = std::trunc(pages.at(i).width) - 46;
                const float y = std::trunc(pages.at(i).height) - 36;
                QCOMPARE(page->AnnotAt(0)->GetRect(), CCA_GRect(x, y, x + 40, y + 30));
            }
        }
        QCOMPARE(m_fx->View()->UndoStack()->count(), 1);
    }

    // A one-page invoice is sealed at once; its seal picture shows the record's oval and
    // texts; the saved file shows the seal 6 mm from the edges.
    void sealsAOnePageInvoice()
    {
        QVERIFY(m_fx->OpenFile(sample("invoice_1page.pdf")));
        QCOMPARE(m_fx->Run("d_invoiceseal"), 0);
        QVERIFY(PopupSeam::History().isEmpty());
        const auto notices = m_fx->Events(173);
        QCOMPARE(notices.size(), 1);
        QCOMPARE(static_cast<const G_StringEvent*>(notices.first())->Text(), "Add success!");
        QCOMPARE(m_fx->Context()->CommandBarSelection(), QStringLiteral("t_handtool"));
        QCOMPARE(m_fx->Document()->PageAt(0)->AnnotCount(), 1);

        const QImage seal(Utils::Nex_Path::TempPath() + "invoice.png");
        auto near = [&](double radius, double degrees) { // a 0.5 mm square on an ellipse
            const double a = qDegreesToRadians(degrees);
            const QPointF at(radius * std::sin(a), -(radius - 5) * std::cos(a));
            return redIn(seal, QRectF(at - QPointF(0.25, 0.25), QSizeF(0.5, 0.5)));
        };
        // The outline (19.5 × 14.5 mm) all round, nothing just outside it where the
        // caption (wider than the seal in English) does not run out.
        for (int degrees = 0; degrees < 360; degrees += 30) {
            QVERIFY2(near(19.5, degrees) > 5, qPrintable(QString::number(degrees)));
            if (degrees % 180 < 90 || degrees == 180)
                QCOMPARE(near(20.6, degrees), 0);
        }
        // The name along the upper arc, the number across the middle, nothing between.
        QVERIFY(redIn(seal, QRectF(-4, -13, 8, 2.5)) > 50);
        QVERIFY(redIn(seal, QRectF(-12, -1.5, 24, 3)) > 200);
        QCOMPARE(redIn(seal, QRectF(-6, -6.5, 12, 3)), 0);

        const QString saved = m_fx->TempDir() + "/sealed.pdf";
        QVERIFY(m_fx->Document()->SaveAs(saved, nullptr));
        QVERIFY2(PdfTools::Check(saved).isEmpty(), qPrintable(PdfTools::Check(saved)));
        const QImage page = PdfTools::Render(saved, 0);
        QVERIFY(PdfTools::RedAround(page, CCA_GPoint(203.5f, 276)) > 0); // right of the oval
        QVERIFY(PdfTools::RedAround(page, CCA_GPoint(184, 290.5f)) > 0); // its bottom
        QCOMPARE(PdfTools::RedAround(page, CCA_GPoint(206.5f, 276)), 0);
        QCOMPARE(PdfTools::RedAround(page, CCA_GPoint(184, 293.5f)), 0);
    }

    void asksOnASeveralPageInvoice_data()
    {
        QTest::addColumn<bool>("add");
        QTest::newRow("added") << true;
        QTest::newRow("cancelled") << false;
    }
    void asksOnASeveralPageInvoice()
    {
        QFETCH(bool, add);
        QVERIFY(m_fx->OpenFile(sample("invoice_3pages.pdf")));
        answerDialog(add);
        QCOMPARE(m_fx->Run("d_invoiceseal"), 0);
        QCOMPARE(m_fx->Events(173).size(), add ? 1 : 0);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(m_fx->Document()->PageAt(i)->AnnotCount(), add ? 1 : 0);
        QCOMPARE(m_fx->Context()->CommandBarSelection(), QStringLiteral("t_handtool"));
    }

    void selectsTheCommandWhenAskedTo()
    {
        QVERIFY(m_fx->OpenFile(StampKit::ContractPath()));
        m_fx->Context()->ClearEventLog();
        QCOMPARE(m_fx->Run("d_invoiceseal", {{"ActionSelected", true}}), 0);
        QStringList selected;
        for (const G_Event* event : m_fx->Events(G_Event::CommandBarOpChanged))
            selected << static_cast<const G_CommandBarOpChangedEvent*>(event)->Data().names;
        QCOMPARE(selected, (QStringList{"tab_receipt", "d_invoiceseal"}));
        QVERIFY(PopupSeam::History().isEmpty());
    }

    // On a plain document the picker chooses; the automatic position goes on as whole
    // millimetres.
    void plainDocumentPicksWithThePicker()
    {
        QVERIFY(m_fx->OpenBlank({CCA_GSize(209.75f, 296.9f)}));
        StampKit::AddCustomSeal(m_fx->View(), QSize(40, 30));
        PopupSeam::SetAnswerer([](Utils::Widgets::Nex_Popup* popup) {
            auto* picker = qobject_cast<StampDialog*>(popup);
            QVERIFY(picker->findChild<QCheckBox*>("ChkApplySig")->isChecked());
            picker->findChild<QLineEdit*>("LiedLRPageMar")->setText("46");
            picker->findChild<QLineEdit*>("LiedTBPageMar")->setText("186");
            picker->findChild<QCheckBox*>("ApplyDigitalSignatureBox")->setChecked(false);
            picker->SelectStamp(StampParam{StampKit::SealPath(), QSize(40, 30)});
        });
        QVariantMap out;
        m_fx->Run("d_invoiceseal", {{"position", QVariant::fromValue(CCA_GRect(300, 20, 360, 50))}},
                  &out);
        QCOMPARE(out.value("position").value<CCA_Point>(), CCA_Point(123, 80));
        IG_Annot* seal = m_fx->Document()->PageAt(0)->AnnotAt(0);
        QVERIFY(seal);
        QCOMPARE(seal->GetRect(), CCA_GRect(123, 80, 163, 110));
    }
};

QTEST_MAIN(TestInvoiceSeal)
#include "tst_invoiceseal.moc"
