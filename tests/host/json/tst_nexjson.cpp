// The reader's JSON library: the member check that render requests go through.
#include "host/json/nexjson.h"

#include <QtTest>

class TestNexJson : public QObject
{
    Q_OBJECT
private slots:
    void findsAnArrayMemberOfTheRoot_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("found");
        QTest::newRow("array") << QByteArray(R"({"A":1,"RenderParams":[{"ID":[3]}]})") << true;
        QTest::newRow("object") << QByteArray(R"({"RenderParams":{"ID":[3]}})") << false;
        QTest::newRow("number") << QByteArray(R"({"RenderParams":0})") << false;
        QTest::newRow("absent") << QByteArray(R"({"Render":[]})") << false;
        QTest::newRow("nested only") << QByteArray(R"({"A":{"RenderParams":[]}})") << false;
        QTest::newRow("in an array") << QByteArray(R"([{"RenderParams":[]}])") << false;
        QTest::newRow("last of two wins")
            << QByteArray(R"({"RenderParams":[],"RenderParams":1})") << false;
        QTest::newRow("last of two, an array")
            << QByteArray(R"({"RenderParams":{},"RenderParams":[]})") << true;
        QTest::newRow("cut short") << QByteArray(R"({"RenderParams":[)") << false;
        QTest::newRow("text after") << QByteArray(R"({"RenderParams":[]} x)") << false;
        QTest::newRow("empty") << QByteArray() << false;
    }
    void findsAnArrayMemberOfTheRoot()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, found);
        QCOMPARE(
            NexJsonHelper::HasArrayMember(text.constData(), size_t(text.size()), "RenderParams"),
            found);
    }
};

QTEST_APPLESS_MAIN(TestNexJson)
#include "tst_nexjson.moc"
