// The reader's JSON library: its own compact writer (which must write what the library's
// serializer writes) and the member check that render requests go through.
#include "host/json/nexjson.h"

#include <QtTest>

class TestNexJson : public QObject
{
    Q_OBJECT
private slots:
    void writesWhatTheLibraryWrites_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<bool>("ascii"); // else the library writes it
        QTest::newRow("appearance") << QByteArray("{\"RunTime\":false,\"SubType\":\"Stamp\","
                                                  "\"Appearance\":[{\"Type\":\"Image\","
                                                  "\"ResourceID\":3,\"Width\":40.0,"
                                                  "\"Height\":30.5,\"RunTime\":true}]}")
                                    << true;
        QTest::newRow("numbers") << QByteArray("[0,-7,18446744073709551615,-9223372036854775808,"
                                               "0.0,-0.0,1e-7,1.5e300,123.456,0.1,1e21,-2.5]")
                                 << true;
        QTest::newRow("empty and nested")
            << QByteArray("{\"\":{},\"a\":[],\"b\":[[null,true],{\"c\":{\"d\":[]}}]}") << true;
        QTest::newRow("escapes") << QByteArray("[\"q\\\"b\\\\s\\/ \\b\\f\\n\\r\\t \\u0001\\u001f"
                                               "\\u007f\", {\"k\\\"\\n\":1}]")
                                 << true;
        QTest::newRow("not ASCII") << QByteArray("[\"seal \\u5370\", 1]") << false;
        QTest::newRow("key not ASCII") << QByteArray("{\"\\u00e9\":1}") << false;
    }
    void writesWhatTheLibraryWrites()
    {
        QFETCH(QByteArray, json);
        QFETCH(bool, ascii);
        const NexSharedPtr<NexJson> value = NexJsonFactory::ParseJsonString(json.toStdString());
        QVERIFY(!value->IsNull());
        const std::string library =
            value->Json().dump(-1, ' ', false, NexJson::Value::error_handler_t::replace);
        std::string ours;
        QCOMPARE(CompactAscii(value->Json(), &ours), ascii);
        if (ascii)
            QCOMPARE(QByteArray::fromStdString(ours), QByteArray::fromStdString(library));
        QCOMPARE(QByteArray::fromStdString(NexJsonFactory::BuildJsonString(value)),
                 QByteArray::fromStdString(library));
    }
    void findsAnArrayMemberOfTheRoot_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("found");
        QTest::newRow("array") << QByteArray("{\"A\":1,\"RenderParams\":[{\"ID\":[3]}]}") << true;
        QTest::newRow("object") << QByteArray("{\"RenderParams\":{\"ID\":[3]}}") << false;
        QTest::newRow("number") << QByteArray("{\"RenderParams\":0}") << false;
        QTest::newRow("absent") << QByteArray("{\"Render\":[]}") << false;
        QTest::newRow("nested only") << QByteArray("{\"A\":{\"RenderParams\":[]}}") << false;
        QTest::newRow("in an array") << QByteArray("[{\"RenderParams\":[]}]") << false;
        QTest::newRow("last of two wins")
            << QByteArray("{\"RenderParams\":[],\"RenderParams\":1}") << false;
        QTest::newRow("last of two, an array")
            << QByteArray("{\"RenderParams\":{},\"RenderParams\":[]}") << true;
        QTest::newRow("cut short") << QByteArray("{\"RenderParams\":[") << false;
        QTest::newRow("text after") << QByteArray("{\"RenderParams\":[]} x") << false;
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
