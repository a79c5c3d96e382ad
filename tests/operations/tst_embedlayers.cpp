// Which layer "d_embedpageannot" writes a stamp into. The reader's own pages always have
// their content layer, so a small in-memory document stands in for documents whose pages
// come without any layer.

#include "hostfixture.h"
#include "stampkit.h"

#include "host/document/ig_annot.h"
#include "host/document/ig_document.h"
#include "host/document/ig_layer.h"
#include "host/document/ig_page.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_event.h"
#include "host/framework/g_operation.h"
#include "host/framework/g_settingmgr.h"
#include "host/framework/g_uicontext.h"

#include <QImage>
#include <QPainter>
#include <QUndoStack>
#include <QtTest>
#include <memory>
#include <vector>

namespace
{

class PlainPage;

class PlainLayer : public IG_Layer
{
public:
    PlainLayer(IG_Page* page, int index) : m_page(page), m_index(index) {}
    IG_Page* Page() const override { return m_page; }
    int Index() const override { return m_index; }
    int ObjectCount() const override { return objects; }
    int objects = 0;

private:
    IG_Page* m_page;
    int m_index;
};

class PlainAnnot : public IG_Annot
{
public:
    PlainAnnot(IG_Page* page, unsigned int id, const CCA_GRect& rect)
        : m_page(page), m_id(id), m_rect(rect)
    {
    }
    IG_Page* Page() const override { return m_page; }
    unsigned int ID() const override { return m_id; }
    G_AnnotType Type() const override { return G_AnnotType_Stamp; }
    CCA_String SubType() const override { return "Stamp"; }
    void SetSubType(const CCA_String&) override {}
    bool IsSignature() const override { return false; }
    bool IsLocked() const override { return false; }
    CCA_GRect GetRect() const override { return m_rect; }
    void SetRect(const CCA_GRect& r) override { m_rect = r; }
    void Offset(float dx, float dy) override
    {
        m_rect =
            CCA_GRect(m_rect.left + dx, m_rect.top + dy, m_rect.right + dx, m_rect.bottom + dy);
    }
    void SetCreator(const CCA_String&) override {}
    CCA_String Creator() const override { return CCA_String(); }
    void SetCreationDate(const CCA_String&) override {}
    CCA_String CreationDate() const override { return CCA_String(); }
    std::string Content() const override { return "{}"; }
    bool IsRunTime() const override { return false; }
    int ResourceID() const override { return 1; }
    bool IsOnPage() const override { return onPage; }
    bool EmbedInto(IG_Layer* layer, bool) override
    {
        if (!layer || layer->Page() != m_page)
            return false;
        ++static_cast<PlainLayer*>(layer)->objects;
        embeddedInto = layer;
        return true;
    }

    bool onPage = true;
    IG_Layer* embeddedInto = nullptr;

private:
    IG_Page* m_page;
    unsigned int m_id;
    CCA_GRect m_rect;
};

class PlainPage : public IG_Page
{
public:
    PlainPage(IG_Document* doc, int index) : m_doc(doc), m_index(index) {}
    IG_Document* Document() const override { return m_doc; }
    int Index() const override { return m_index; }
    bool Load() override { return true; }
    float Width() const override { return 210; }
    float Height() const override { return 297; }
    CCA_GSize PageSize() const override { return CCA_GSize(210, 297); }
    int Rotation() const override { return 0; }
    void DisplayMatrix(CCA_Matrix* out, int left, int top, int width, int height,
                       int) const override
    {
        *out = CCA_Matrix();
        out->a = float(width) / Width();
        out->d = float(height) / Height();
        out->e = float(left);
        out->f = float(top);
    }
    int LayerCount() const override { return int(layers.size()); }
    IG_Layer* LayerAt(int index) const override
    {
        return index >= 0 && index < LayerCount() ? layers[size_t(index)].get() : nullptr;
    }
    IG_Layer* NewLayer(int) override
    {
        layers.push_back(std::make_unique<PlainLayer>(this, LayerCount()));
        return layers.back().get();
    }
    int AnnotCount() const override { return int(annots.size()); }
    IG_Annot* AnnotAt(int index) const override { return annots[size_t(index)].get(); }
    IG_Annot* AnnotById(unsigned int id) const override
    {
        for (const auto& a : annots) {
            if (a->ID() == id)
                return a.get();
        }
        return nullptr;
    }
    IG_Annot* NewAnnot(G_AnnotType, const CCA_String&, const CCA_GRect&,
                       const std::string&) override
    {
        return nullptr;
    }
    bool RemoveAnnot(unsigned int id, bool) override
    {
        auto* a = static_cast<PlainAnnot*>(AnnotById(id));
        if (!a || !a->onPage)
            return false;
        a->onPage = false;
        return true;
    }
    bool RestoreAnnot(IG_Annot* annot) override
    {
        auto* a = static_cast<PlainAnnot*>(annot);
        a->onPage = true;
        return true;
    }
    bool Render(QPainter* painter, const CCA_Matrix& m, int) override
    {
        painter->fillRect(QRectF(m.e, m.f, m.a * Width(), m.d * Height()), Qt::white);
        return true;
    }

    std::vector<std::unique_ptr<PlainLayer>> layers;
    std::vector<std::unique_ptr<PlainAnnot>> annots;

private:
    IG_Document* m_doc;
    int m_index;
};

class PlainDocument : public IG_Document
{
public:
    PlainDocument()
    {
        page = std::make_unique<PlainPage>(this, 0);
        page->annots.push_back(
            std::make_unique<PlainAnnot>(page.get(), 5, CCA_GRect(20, 20, 60, 50)));
    }
    int PageCount() const override { return 1; }
    IG_Page* PageAt(int index) const override { return index == 0 ? page.get() : nullptr; }
    CCA_String FilePath() const override { return CCA_String(); }
    bool IsReadOnly() const override { return false; }
    int AddResource(ICA_StreamReader*, int, int) override { return 0; }
    QImage ResourceImage(int) const override { return QImage(); }
    quint64 Revision() const override { return 0; }
    quint64 ContentRevision() const override { return 0; }
    bool IsModified() const override { return false; }
    bool SaveAs(const QString&, QString*) override { return false; }

    std::unique_ptr<PlainPage> page;
};

} // namespace

class TestEmbedLayers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void embedChoosesLayer_data();
    void embedChoosesLayer();
};

void TestEmbedLayers::initTestCase()
{
    StampKit::InitPlugin();
}

void TestEmbedLayers::embedChoosesLayer_data()
{
    QTest::addColumn<int>("layersBefore");
    QTest::addColumn<int>("selectedId"); // −1: nothing selected yet
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("layersAfter");
    QTest::addColumn<int>("targetLayer"); // −1: nothing embedded

    QTest::newRow("no layer: one is made") << 0 << 5 << 1 << 1 << 0;
    QTest::newRow("two layers: the last") << 2 << 5 << 1 << 2 << 1;
    QTest::newRow("nothing selected, no layer") << 0 << -1 << 0 << 1 << -1;
    QTest::newRow("nothing selected, one layer") << 1 << -1 << 0 << 1 << -1;
}

void TestEmbedLayers::embedChoosesLayer()
{
    QFETCH(int, layersBefore);
    QFETCH(int, selectedId);
    QFETCH(int, result);
    QFETCH(int, layersAfter);
    QFETCH(int, targetLayer);

    HostFixture fx;
    PlainDocument doc;
    for (int i = 0; i < layersBefore; ++i)
        doc.page->NewLayer(-1);
    auto view = std::make_unique<G_DocView>(fx.Context(), &doc);
    view->resize(600, 400);
    fx.Context()->SetCurrentDocView(view.get());
    view->SetToolHandler(view->ToolHandlerByName("t_handtool"));
    view->UndoStack()->push(new QUndoCommand(QStringLiteral("earlier change")));
    if (selectedId >= 0) {
        G_SettingMgr::Instance()->SetConfigCache(QStringLiteral("stampPageIndex"), 0);
        G_SettingMgr::Instance()->SetConfigCache(QStringLiteral("stampAnnotID"), selectedId);
    }
    fx.Context()->ClearEventLog();

    G_Operation* op = fx.Context()->CreateOperationByName("d_embedpageannot", QString());
    QVERIFY(op);
    op->Param()->Add("pageIndex", 0);
    QCOMPARE(op->PerformAction(), result);
    op->DeleteLater();

    PlainAnnot* stamp = doc.page->annots.front().get();
    QCOMPARE(doc.page->LayerCount(), layersAfter);
    if (targetLayer < 0) {
        QVERIFY(!stamp->embeddedInto);
        QVERIFY(stamp->onPage);
        QCOMPARE(view->UndoStack()->count(), 1);
    } else {
        QCOMPARE(stamp->embeddedInto, doc.page->LayerAt(targetLayer));
        QCOMPARE(doc.page->layers[size_t(targetLayer)]->objects, 1);
        QVERIFY(!stamp->onPage);
        QCOMPARE(view->UndoStack()->count(), 0);
        const auto changed = StampKit::Events(fx.Context(), 110);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(static_cast<const G_DocumentChangedEvent*>(changed.first())->SubType(), 0);
    }
    view.reset();
}

QTEST_MAIN(TestEmbedLayers)
#include "tst_embedlayers.moc"
