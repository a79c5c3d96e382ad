// The picture stamp dialog as a person uses it: choose a picture (answered through the
// file dialog seam), see the proposed size, pick presets, hold the ratio, press OK.

#include "hostfixture.h"

#include "host/framework/g_uicontext.h"
#include "host/utils/filedialogseam.h"
#include "seals/choosestampdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace
{

// A picture that the painting system reports as `mm` millimetres (it measures pixels at
// the screen's resolution), padded to `bytes` when given.
QString writePicture(const QString& path, const QSize& mm, qint64 bytes = 0)
{
    const double dpi = QPixmap(1, 1).logicalDpiX();
    QImage image(qRound(mm.width() * dpi / 25.4), qRound(mm.height() * dpi / 25.4),
                 QImage::Format_RGB32);
    image.fill(Qt::red);
    QFile file(path);
    if (!image.save(path, "PNG") || !file.open(QIODevice::Append))
        return QString();
    if (bytes > file.size()) // padding after the end chunk, which readers ignore
        file.write(QByteArray(int(bytes - file.size()), '\0'));
    return path;
}

} // namespace

class TestChooseStampDialog : public QObject
{
    Q_OBJECT

    QDoubleSpinBox* width() const { return m_dialog->findChild<QDoubleSpinBox*>("width"); }
    QDoubleSpinBox* height() const { return m_dialog->findChild<QDoubleSpinBox*>("height"); }
    QComboBox* presets() const { return m_dialog->findChild<QComboBox*>("ComboStampSize"); }
    QString temp(const QString& name) const { return m_fx->TempDir() + "/" + name; }

    std::unique_ptr<HostFixture> m_fx;
    std::unique_ptr<ChooseStampDialog> m_dialog;
    void choose(const QString& path)
    {
        Utils::FileDialogSeam::Enqueue(path);
        QTest::mouseClick(m_dialog->findChild<QPushButton*>("BtnChooseImg"), Qt::LeftButton);
    }

private slots:
    void init()
    {
        m_fx.reset(new HostFixture);
        m_dialog.reset(new ChooseStampDialog(m_fx->Context(), nullptr));
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    }
    void cleanup()
    {
        m_dialog.reset();
        Utils::FileDialogSeam::Clear();
        m_fx.reset();
    }
    void picturesUpToTwoMebibytes_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<bool>("taken");
        QTest::newRow("exactly 2 MiB") << qint64(2097152) << true;
        QTest::newRow("one byte more") << qint64(2097153) << false;
    }
    void picturesUpToTwoMebibytes()
    {
        QFETCH(qint64, bytes);
        QFETCH(bool, taken);
        const QString path = writePicture(temp("big.png"), QSize(42, 42), bytes);
        QCOMPARE(QFileInfo(path).size(), bytes);
        choose(path);
        QCOMPARE(width()->isEnabled(), taken);
        QCOMPARE(width()->value(), taken ? 42.0 : 0.0);
        QVERIFY(m_fx->MessageBoxes().isEmpty()); // a large file is refused without a word
    }
    void aPictureThatDoesNotLoadKeepsTheEarlierOne()
    {
        choose(writePicture(temp("seal.png"), QSize(40, 30)));
        QFile fake(temp("notes.png"));
        QVERIFY(fake.open(QIODevice::WriteOnly));
        fake.write("just some text, not a picture\n");
        fake.close();
        choose(fake.fileName());
        const auto boxes = m_fx->MessageBoxes();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.first().title, QStringLiteral("tips"));
        QCOMPARE(boxes.first().text,
                 QStringLiteral("The file format is corrupt. Please re select the picture."));
        QCOMPARE(QSizeF(width()->value(), height()->value()), QSizeF(40, 30));
        QSignalSpy made(m_dialog.get(), &ChooseStampDialog::NewCustomStamp);
        QTest::mouseClick(m_dialog->findChild<QPushButton*>("BtnOk"), Qt::LeftButton);
        QCOMPARE(made.count(), 1);
        const QString copy = made.first().first().value<StampParam>().imagePath;
        QVERIFY2(
            QRegularExpression("/user/stamp/\\d\\d(_\\d\\d){5}_seal\\.png$").match(copy).hasMatch(),
            qPrintable(copy)); // a time-stamped copy of its own
    }
    void proposedSizeFitsTheBoxes_data()
    {
        QTest::addColumn<QSize>("mm");
        QTest::addColumn<QSizeF>("proposed");
        QTest::newRow("fits") << QSize(40, 30) << QSizeF(40, 30);
        QTest::newRow("too wide") << QSize(1200, 600) << QSizeF(999, 500);
        QTest::newRow("too tall") << QSize(301, 1998) << QSizeF(151, 999); // 150.5 up
    }
    void proposedSizeFitsTheBoxes()
    {
        QFETCH(QSize, mm);
        QFETCH(QSizeF, proposed);
        choose(writePicture(temp("p.png"), mm));
        QCOMPARE(QSizeF(width()->value(), height()->value()), proposed);
        QCOMPARE(presets()->currentIndex(), 0);
        QVERIFY(presets()->isEnabled());
    }
    void fixedScaleHoldsTheRatio()
    {
        choose(writePicture(temp("wide.png"), QSize(200, 100)));
        m_dialog->findChild<QCheckBox*>("ChkFixRadio")->setChecked(true);
        width()->setValue(100);
        QCOMPARE(height()->value(), 50.0);
        width()->setValue(1); // the height could not follow below 1 mm
        QCOMPARE(width()->value(), 2.0);
        QCOMPARE(height()->maximum(), 500.0); // 999 / 2, shown without decimals
        m_dialog->findChild<QCheckBox*>("ChkFixRadio")->setChecked(false);
        QCOMPARE(QSizeF(width()->minimum(), height()->maximum()), QSizeF(1, 999));
    }
    void presetsAndHandEdits()
    {
        choose(writePicture(temp("logo.png"), QSize(80, 80)));
        presets()->setCurrentIndex(6); // foreign seal
        QCOMPARE(QSizeF(width()->value(), height()->value()), QSizeF(45, 30));
        width()->setValue(46);
        QCOMPARE(presets()->currentIndex(), 0);
        QCOMPARE(height()->value(), 30.0);
    }
    void invoiceModeSizesTheSeal()
    {
        m_dialog->SetInvoiceMode();
        choose(writePicture(temp("invoice.png"), QSize(100, 100)));
        QCOMPARE(QSizeF(width()->value(), height()->value()), QSizeF(40, 30));
        QCOMPARE(presets()->currentText(), QStringLiteral("invoice seal = 40 x 30 mm"));
    }
    void okHandsOutACopyAndEarlierCopiesStay()
    {
        QSignalSpy made(m_dialog.get(), &ChooseStampDialog::NewCustomStamp);
        QTest::mouseClick(m_dialog->findChild<QPushButton*>("BtnOk"), Qt::LeftButton);
        QCOMPARE(made.count(), 0);
        QCOMPARE(m_fx->MessageBoxes().last().title, QStringLiteral("Waring"));
        QCOMPARE(m_fx->MessageBoxes().last().text, QStringLiteral("Please choose stamp img"));

        // Earlier imports of a logo.png, under every name an import in these seconds gets.
        const QString folder = m_fx->TempDir() + "/user/stamp/";
        QVERIFY(QDir().mkpath(folder));
        QStringList earlier;
        const QDateTime now = QDateTime::currentDateTime();
        for (int second = -1; second < 10; ++second)
            earlier << writePicture(folder + now.addSecs(second).toString("yy_MM_dd_hh_mm_ss") +
                                        "_logo.png",
                                    QSize(40, 40));
        choose(writePicture(temp("logo.png"), QSize(10, 10)));
        QTest::mouseClick(m_dialog->findChild<QPushButton*>("BtnOk"), Qt::LeftButton);
        QCOMPARE(made.count(), 1);
        const StampParam param = made.first().first().value<StampParam>();
        QCOMPARE(param.imageSize, QSize(10, 10));
        QVERIFY(!earlier.contains(param.imagePath));
        for (const QString& path : qAsConst(earlier))
            QCOMPARE(QPixmap(path).widthMM(), 40); // none overwritten
        QVERIFY(!width()->isEnabled());            // OK leaves the dialog reset for the next use
    }
};

QTEST_MAIN(TestChooseStampDialog)
#include "tst_choosestampdialog.moc"
