// The stamp handler and command: which annotations it takes, what selecting a stamp
// publishes, the stamp context menu, and the content a stamp is created with.

#include "fakedocument.h"
#include "hostfixture.h"
#include "stampkit.h"

#include "host/document/g_application.h"
#include "host/document/readerannot.h"
#include "host/document/readerdocument.h"
#include "host/framework/g_contextmenu.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_settingmgr.h"
#include "host/framework/g_uicontext.h"
#include "placement/ga_stamp.h"
#include "placement/gac_stamp.h"

#include <QtTest>
#include <memory>

namespace
{
int cachedInt(const char* key)
{
    return G_SettingMgr::Instance()->ConfigValue(QString::fromLatin1(key), QVariant(-1)).toInt();
}
} // namespace

class TestGaStamp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { StampKit::InitPlugin(); }
    void init();
    void cleanup() { m_fx.reset(); }

    void filterTakesPlainStamps_data();
    void filterTakesPlainStamps();
    void everySelectionPublishesTheStamp();
    void contextMenuStates_data();
    void contextMenuStates();
    void appearanceJsonOrderAndValues_data();
    void appearanceJsonOrderAndValues();
    void flushCreatesStampWithThatContent();

private:
    std::unique_ptr<HostFixture> m_fx;
};

void TestGaStamp::init()
{
    m_fx.reset(new HostFixture);
    QString error;
    QVERIFY2(m_fx->OpenFile(StampKit::ContractPath(), &error), qPrintable(error));
}

void TestGaStamp::filterTakesPlainStamps_data()
{
    QTest::addColumn<int>("type"); // −1: no annotation at all
    QTest::addColumn<QString>("subType");
    QTest::addColumn<bool>("signature");
    QTest::addColumn<bool>("taken");

    const int stamp = G_AnnotType_Stamp;
    QTest::newRow("Stamp") << stamp << "Stamp" << false << true;
    QTest::newRow("DateStamp") << stamp << "DateStamp" << false << true;
    QTest::newRow("pdfsign") << stamp << "pdfsign" << false << true;
    QTest::newRow("no sub-type") << stamp << "" << false << true;
    QTest::newRow("Tablet") << stamp << "Tablet" << false << false;
    QTest::newRow("PreSeal") << stamp << "PreSeal" << false << false;
    QTest::newRow("tablet, other case") << stamp << "tablet" << false << true;
    QTest::newRow("PRESEAL, other case") << stamp << "PRESEAL" << false << true;
    QTest::newRow("signature") << stamp << "Stamp" << true << false;
    QTest::newRow("signature, DateStamp") << stamp << "DateStamp" << true << false;
    QTest::newRow("square") << int(G_AnnotType_Square) << "Stamp" << false << false;
    QTest::newRow("ink") << int(G_AnnotType_Ink) << "" << false << false;
    QTest::newRow("none") << -1 << "" << false << false;
}

void TestGaStamp::filterTakesPlainStamps()
{
    QFETCH(int, type);
    QFETCH(QString, subType);
    QFETCH(bool, signature);
    QFETCH(bool, taken);
    FakeAnnot annot(nullptr, 77, G_AnnotType(type), subType.toUtf8().constData(), signature);
    GA_Stamp handler;
    G_Application::Instance()->Logger()->Clear();
    QCOMPARE(handler.Filter(type < 0 ? nullptr : &annot), taken);
    if (type < 0)
        return;
    QCOMPARE(G_Application::Instance()->Logger()->Lines(),
             QStringList{QStringLiteral("GA_Stamp::Filter subannotType: %1, IsSignature is %2, "
                                        "annitID is 77")
                             .arg(type)
                             .arg(signature ? 1 : 0)});
}

void TestGaStamp::everySelectionPublishesTheStamp()
{
    IG_Annot* a = m_fx->AddStamp(0, CCA_GRect(30, 40, 70, 70));
    IG_Annot* b = m_fx->AddStamp(2, CCA_GRect(60, 60, 100, 90));
    QVERIFY(a && b);
    QCOMPARE(cachedInt("stampAnnotID"), -1);
    for (IG_Annot* annot : {a, b, a}) {
        m_fx->ClickAt(annot->Page()->Index(), StampKit::Centre(annot->GetRect()));
        QCOMPARE(cachedInt("stampPageIndex"), annot->Page()->Index());
        QCOMPARE(cachedInt("stampAnnotID"), int(annot->ID()));
    }
    // A right click straight on another stamp: the keys name it when the menu opens.
    int pageSeen = -2, idSeen = -2;
    G_ContextMenu* menu = m_fx->Context()->ContextMenu();
    menu->SetChooser([&](const QString&, const QList<G_ContextMenu::Entry>&) {
        pageSeen = cachedInt("stampPageIndex");
        idSeen = cachedInt("stampAnnotID");
        return QString();
    });
    m_fx->ClickAt(2, StampKit::Centre(b->GetRect()), Qt::RightButton);
    menu->SetChooser(nullptr);
    QCOMPARE(pageSeen, 2);
    QCOMPARE(idSeen, int(b->ID()));
}

void TestGaStamp::contextMenuStates_data()
{
    QTest::addColumn<QString>("subType");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<bool>("readOnly");    // the document forbids changes
    QTest::addColumn<bool>("editEnabled"); // delete and embed
    QTest::addColumn<bool>("signVisible"); // apply signature

    QTest::newRow("Stamp") << "Stamp" << false << false << true << true;
    QTest::newRow("PDFSign, pdfsign in other case")
        << "PDFSign" << false << false << false << false;
    QTest::newRow("pdfsign") << "pdfsign" << false << false << false << false;
    QTest::newRow("datestamp, DateStamp in other case")
        << "datestamp" << false << false << true << false;
    QTest::newRow("DateStamp") << "DateStamp" << false << false << true << false;
    QTest::newRow("locked") << "Stamp" << true << false << false << false;
    QTest::newRow("read-only document") << "Stamp" << false << true << false << false;
}

void TestGaStamp::contextMenuStates()
{
    QFETCH(QString, subType);
    QFETCH(bool, locked);
    QFETCH(bool, readOnly);
    QFETCH(bool, editEnabled);
    QFETCH(bool, signVisible);
    IG_Annot* annot = m_fx->AddStamp(1, CCA_GRect(50, 50, 90, 80), subType.toUtf8().constData());
    QVERIFY(annot);
    if (locked)
        dynamic_cast<ReaderAnnot&>(*annot).SetLocked(true);
    if (readOnly)
        dynamic_cast<ReaderDocument&>(*m_fx->Document()).SetReadOnly(true);

    // Applying the signature is chosen: it runs, with the stamp's page and id, when shown.
    const auto entries = m_fx->RightClickMenu(annot, QStringLiteral("d_applysignature"));
    QCOMPARE(entries.size(), 3);
    QHash<QString, G_ContextMenu::Entry> byName;
    for (const auto& e : entries)
        byName.insert(e.name, e);
    for (const char* name : {"d_delpageannot", "d_embedpageannot"}) {
        QVERIFY2(byName.contains(name), name);
        QCOMPARE(byName[name].enabled, editEnabled);
        QVERIFY(byName[name].visible && !byName[name].checkable && !byName[name].checked);
    }
    const G_ContextMenu::Entry sign = byName.value("d_applysignature");
    QVERIFY(sign.enabled && !sign.checkable);
    QCOMPARE(sign.visible, signVisible);
    const auto requests = m_fx->Context()->SignatureRequests();
    QCOMPARE(requests.size(), signVisible ? 1 : 0);
    if (signVisible) {
        QCOMPARE(requests.first().operation, QStringLiteral("d_applysignature"));
        QCOMPARE(requests.first().pageIndex, 1);
        QCOMPARE(requests.first().annotId, int(annot->ID()));
    }
    QVERIFY(annot->IsOnPage());
}

void TestGaStamp::appearanceJsonOrderAndValues_data()
{
    QTest::addColumn<bool>("runTime");
    QTest::addColumn<QString>("subType");
    QTest::addColumn<int>("resource");
    QTest::addColumn<float>("width");
    QTest::addColumn<float>("height");
    QTest::addColumn<QString>("expected");

    QTest::newRow("preview") << true << "Stamp" << 3 << 40.f << 30.f
                             << R"({"RunTime":true,"SubType":"Stamp","Appearance":[{"Type":)"
                                R"("Image","ResourceID":3,"Width":40.0,"Height":30.0,)"
                                R"("RunTime":true}]})";
    QTest::newRow("placed") << false << "Tablet" << 12 << 42.5f << 17.25f
                            << R"({"RunTime":false,"SubType":"Tablet","Appearance":[{"Type":)"
                               R"("Image","ResourceID":12,"Width":42.5,"Height":17.25,)"
                               R"("RunTime":false}]})";
    QTest::newRow("fresh command") << false << "" << 0 << 0.f << 0.f
                                   << R"({"RunTime":false,"SubType":"","Appearance":[{"Type":)"
                                      R"("Image","ResourceID":0,"Width":0.0,"Height":0.0,)"
                                      R"("RunTime":false}]})";
}

void TestGaStamp::appearanceJsonOrderAndValues()
{
    QFETCH(bool, runTime);
    QFETCH(QString, subType);
    QFETCH(int, resource);
    QFETCH(float, width);
    QFETCH(float, height);
    QFETCH(QString, expected);
    GAC_Stamp command;
    if (!subType.isEmpty() || resource) {
        command.subType = GQ_ToCAS(subType);
        command.resourceId = resource;
        command.width = width;
        command.height = height;
    }
    const std::string text = NexJsonFactory::BuildJsonString(command.BuildAppearanceJson(runTime));
    QCOMPARE(QString::fromStdString(text), expected);
}

void TestGaStamp::flushCreatesStampWithThatContent()
{
    GAC_Stamp command;
    command.view = m_fx->View();
    command.pageIndex = 1;
    command.annotType = 8;
    command.subType = "Stamp";
    command.resourceId = StampKit::EmbedSeal(m_fx->Document());
    command.width = 40;
    command.height = 30;
    IG_Annot* annot = command.Flush(CCA_GRect(10, 20, 50, 50), true);
    QVERIFY(annot);
    QCOMPARE(command.Annot(), annot);
    QCOMPARE(annot->Page()->Index(), 1);
    QVERIFY(annot->IsRunTime());
    QCOMPARE(annot->ResourceID(), command.resourceId);
    QCOMPARE(QString::fromStdString(annot->Content()),
             QString::fromStdString(
                 NexJsonFactory::BuildJsonString(command.BuildAppearanceJson(true))));
}

QTEST_MAIN(TestGaStamp)
#include "tst_ga_stamp.moc"
