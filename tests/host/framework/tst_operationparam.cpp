// The parameter store: replacement, conversions between the value kinds the plug-in and
// the reader mix, and the empty answers for missing or unusable values.

#include "host/framework/g_operationparam.h"

#include <QtTest>

class TestOperationParam : public QObject
{
    Q_OBJECT
private slots:
    void laterAddReplacesAndKeepsThePlace();
    void intAnswers_data();
    void intAnswers();
    void boolAnswers_data();
    void boolAnswers();
    void floatAnswers_data();
    void floatAnswers();
    void stringAnswers_data();
    void stringAnswers();
    void pointAnswers_data();
    void pointAnswers();
    void sizeAndRectAnswers();
    void integerPointFromFloatPointRounds();
    void removeAndClear();
};

void TestOperationParam::laterAddReplacesAndKeepsThePlace()
{
    G_OperationParam p;
    p.Add("position", CCA_GRect(1, 2, 3, 4));
    p.Add("other", 1);
    p.Add("position", CCA_GPoint(5.5f, 6.5f));
    QCOMPARE(p.Keys(), QStringList({"position", "other"}));
    QCOMPARE(p.GetGPoint("position"), CCA_GPoint(5.5f, 6.5f));
    QCOMPARE(p.GetGRect("position"), CCA_GRect()); // the rectangle is gone
}

void TestOperationParam::intAnswers_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("expected"); // with default −1
    QTest::newRow("int") << QVariant(17) << 17;
    QTest::newRow("unsigned") << QVariant(17u) << 17;
    QTest::newRow("bool true") << QVariant(true) << 1;
    QTest::newRow("float cut toward zero") << QVariant(2.9f) << 2;
    QTest::newRow("negative double cut toward zero") << QVariant(-2.9) << -2;
    QTest::newRow("numeric text") << QVariant(QStringLiteral(" 42 ")) << 42;
    QTest::newRow("other text") << QVariant(QStringLiteral("abc")) << -1;
    QTest::newRow("too large") << QVariant(5e12) << -1;
    QTest::newRow("point") << QVariant::fromValue(CCA_Point(1, 2)) << -1;
    QTest::newRow("missing") << QVariant() << -1;
}

void TestOperationParam::intAnswers()
{
    QFETCH(QVariant, value);
    QFETCH(int, expected);
    G_OperationParam p;
    if (value.isValid())
        p.AddVariant(QStringLiteral("k"), value);
    QCOMPARE(p.GetInt32("k", -1), expected);
}

void TestOperationParam::boolAnswers_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("defaultValue");
    QTest::addColumn<bool>("expected");
    QTest::newRow("true") << QVariant(true) << false << true;
    QTest::newRow("int 1") << QVariant(1) << false << true;
    QTest::newRow("int 0") << QVariant(0) << true << false;
    QTest::newRow("int -5") << QVariant(-5) << false << true;
    QTest::newRow("float 0.5") << QVariant(0.5f) << false << true;
    QTest::newRow("text true") << QVariant(QStringLiteral("True")) << false << true;
    QTest::newRow("text false") << QVariant(QStringLiteral("false")) << true << false;
    QTest::newRow("text 0") << QVariant(QStringLiteral("0")) << true << false;
    QTest::newRow("unusable keeps default") << QVariant(QStringLiteral("maybe")) << true << true;
    QTest::newRow("missing keeps default") << QVariant() << true << true;
}

void TestOperationParam::boolAnswers()
{
    QFETCH(QVariant, value);
    QFETCH(bool, defaultValue);
    QFETCH(bool, expected);
    G_OperationParam p;
    if (value.isValid())
        p.AddVariant(QStringLiteral("k"), value);
    QCOMPARE(p.GetBool("k", defaultValue), expected);
}

void TestOperationParam::floatAnswers_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<float>("expected"); // with default 9
    QTest::newRow("float") << QVariant(9.9f) << 9.9f;
    QTest::newRow("double") << QVariant(500.1) << 500.1f;
    QTest::newRow("int") << QVariant(10) << 10.0f;
    QTest::newRow("text") << QVariant(QStringLiteral("2.5")) << 2.5f;
    QTest::newRow("not a number") << QVariant(QStringLiteral("nan")) << 9.0f;
    QTest::newRow("size") << QVariant::fromValue(CCA_GSize(1, 2)) << 9.0f;
    QTest::newRow("missing") << QVariant() << 9.0f;
}

void TestOperationParam::floatAnswers()
{
    QFETCH(QVariant, value);
    QFETCH(float, expected);
    G_OperationParam p;
    if (value.isValid())
        p.AddVariant(QStringLiteral("k"), value);
    QCOMPARE(p.GetFloat("k", 9.0f), expected);
}

void TestOperationParam::stringAnswers_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("text") << QVariant(QStringLiteral("3:17")) << QStringLiteral("3:17");
    QTest::newRow("int") << QVariant(17) << QStringLiteral("17");
    QTest::newRow("point has no text") << QVariant::fromValue(CCA_GPoint(1, 2)) << QString();
    QTest::newRow("missing") << QVariant() << QString();
}

void TestOperationParam::stringAnswers()
{
    QFETCH(QVariant, value);
    QFETCH(QString, expected);
    G_OperationParam p;
    if (value.isValid())
        p.AddVariant(QStringLiteral("k"), value);
    QCOMPARE(p.GetQString("k"), expected);
}

void TestOperationParam::pointAnswers_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<CCA_GPoint>("expected");
    QTest::newRow("float point") << QVariant::fromValue(CCA_GPoint(123.75f, 80.5f))
                                 << CCA_GPoint(123.75f, 80.5f);
    QTest::newRow("integer point")
        << QVariant::fromValue(CCA_Point(123, 80)) << CCA_GPoint(123.0f, 80.0f);
    QTest::newRow("rectangle gives its top-left")
        << QVariant::fromValue(CCA_GRect(10, 20, 110, 60)) << CCA_GPoint(10, 20);
    QTest::newRow("QPointF") << QVariant(QPointF(1.5, 2.5)) << CCA_GPoint(1.5f, 2.5f);
    QTest::newRow("size is no point") << QVariant::fromValue(CCA_GSize(4, 5)) << CCA_GPoint();
    QTest::newRow("number is no point") << QVariant(5) << CCA_GPoint();
    QTest::newRow("missing") << QVariant() << CCA_GPoint();
}

void TestOperationParam::pointAnswers()
{
    QFETCH(QVariant, value);
    QFETCH(CCA_GPoint, expected);
    G_OperationParam p;
    if (value.isValid())
        p.AddVariant(QStringLiteral("k"), value);
    const CCA_GPoint got = p.GetGPoint("k");
    QCOMPARE(got.x, expected.x);
    QCOMPARE(got.y, expected.y);
}

void TestOperationParam::sizeAndRectAnswers()
{
    G_OperationParam p;
    p.Add("size", CCA_GSize(40, 30));
    p.Add("rect", CCA_GRect(1, 2, 41, 32));
    p.AddVariant(QStringLiteral("qrect"), QRectF(1, 2, 40, 30));
    p.Add("text", "abc");
    QCOMPARE(p.GetGSize("size"), CCA_GSize(40, 30));
    QCOMPARE(p.GetGSize("rect"), CCA_GSize(40, 30));
    QCOMPARE(p.GetGRect("rect"), CCA_GRect(1, 2, 41, 32));
    QCOMPARE(p.GetGRect("qrect"), CCA_GRect(1, 2, 41, 32));
    QCOMPARE(p.GetGSize("text"), CCA_GSize());
    QCOMPARE(p.GetGRect("size"), CCA_GRect());
    QCOMPARE(p.GetGRect("missing"), CCA_GRect());
}

void TestOperationParam::integerPointFromFloatPointRounds()
{
    G_OperationParam p;
    p.Add("a", CCA_GPoint(10.6f, -3.4f));
    QCOMPARE(p.GetPoint("a"), CCA_Point(11, -3));
    p.Add("b", CCA_Point(7, 8));
    QCOMPARE(p.GetPoint("b"), CCA_Point(7, 8));
    QCOMPARE(p.GetPoint("missing"), CCA_Point());
}

void TestOperationParam::removeAndClear()
{
    G_OperationParam p;
    p.Add("a", 1);
    p.Add("b", 2);
    QVERIFY(p.Has("a"));
    p.Remove("a");
    QVERIFY(!p.Has("a"));
    QCOMPARE(p.GetInt32("a", -1), -1);
    QCOMPARE(p.Keys(), QStringList({"b"}));
    p.Clear();
    QVERIFY(p.Keys().isEmpty());
}

QTEST_MAIN(TestOperationParam)
#include "tst_operationparam.moc"
