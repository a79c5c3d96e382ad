// The empty-list placeholder: grey text centred in the viewport of an empty view, nothing
// otherwise, and never an event taken from the view.

#include "operations/eventobject.h"

#include <QListView>
#include <QStandardItemModel>
#include <QtTest>

class TestEventObject : public QObject
{
    Q_OBJECT

private slots:
    void placeholderOnEmptyViewsOnly_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("onViewport"); // where the filter is installed
        QTest::addColumn<bool>("drawn");
        QTest::newRow("empty list") << 0 << "No usual stamp" << true << true;
        QTest::newRow("one stamp") << 1 << "No usual stamp" << true << false;
        QTest::newRow("on the view, not its viewport") << 0 << "No stamp" << false << false;
        QTest::newRow("empty text") << 0 << "" << true << false;
        QTest::newRow("wider than the view") << 0 << QString(60, QChar('W')) << true << true;
    }
    void placeholderOnEmptyViewsOnly()
    {
        QFETCH(int, rows);
        QFETCH(QString, text);
        QFETCH(bool, onViewport);
        QFETCH(bool, drawn);
        QListView view;
        QStandardItemModel model(rows, 1);
        view.setModel(&model);
        view.resize(240, 120);
        auto* filter = new EventObject(&view);
        filter->placeholderText = text;
        (onViewport ? static_cast<QWidget*>(view.viewport()) : &view)->installEventFilter(filter);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));

        const QImage shot = view.viewport()->grab().toImage();
        QRect ink; // where the placeholder colour landed
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                if (shot.pixelColor(x, y) == QColor(0xB7, 0xBF, 0xD0))
                    ink |= QRect(x, y, 1, 1);
            }
        }
        QCOMPARE(!ink.isEmpty(), drawn);
        if (!drawn)
            return;
        QFont font(QStringLiteral("Microsoft YaHei"));
        font.setPointSizeF(9.0);
        const QFontMetrics metrics(font);
        // The baseline lies half a line above the middle.
        const int baseline = (shot.height() - metrics.height()) / 2;
        QVERIFY(ink.bottom() <= baseline + metrics.descent());
        QVERIFY(ink.top() >= baseline - metrics.ascent());
        if (metrics.horizontalAdvance(text) > shot.width())
            QVERIFY(ink.left() <= 3 && ink.right() >= shot.width() - 4); // clipped at both ends
        else
            QVERIFY(qAbs(ink.center().x() - shot.width() / 2) <= 3);
    }
};

QTEST_MAIN(TestEventObject)
#include "tst_eventobject.moc"
