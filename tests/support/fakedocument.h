#pragma once
// One small in-memory document for the tests that need a document the reader's model would
// not make: pages without layers, annotations of any kind, a document that forbids changes.
// One A4 page; annotations and layers are plain members for the test to set up and read.

#include "host/document/ig_annot.h"
#include "host/document/ig_document.h"
#include "host/document/ig_layer.h"
#include "host/document/ig_page.h"

#include <QImage>
#include <QPainter>
#include <memory>
#include <vector>

class FakeLayer : public IG_Layer
{
public:
    FakeLayer(IG_Page* page, int index) : m_page(page), m_index(index) {}
    IG_Page* Page() const override { return m_page; }
    int Index() const override { return m_index; }
    int ObjectCount() const override { return objects; }
    int objects = 0;

private:
    IG_Page* m_page;
    int m_index;
};

class FakeAnnot : public IG_Annot
{
public:
    FakeAnnot(IG_Page* page, unsigned int id, G_AnnotType type = G_AnnotType_Stamp,
              const char* subType = "Stamp", bool signature = false)
        : m_page(page), m_id(id), m_type(type), m_subType(subType), m_signature(signature)
    {
    }
    IG_Page* Page() const override { return m_page; }
    unsigned int ID() const override { return m_id; }
    G_AnnotType Type() const override { return m_type; }
    CCA_String SubType() const override { return m_subType; }
    void SetSubType(const CCA_String& s) override { m_subType = s; }
    bool IsSignature() const override { return m_signature; }
    bool IsLocked() const override { return false; }
    CCA_GRect GetRect() const override { return rect; }
    void SetRect(const CCA_GRect& r) override { rect = r; }
    void Offset(float dx, float dy) override
    {
        rect = {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
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
        if (!embeddable || !layer || layer->Page() != m_page)
            return false;
        ++static_cast<FakeLayer*>(layer)->objects;
        embeddedInto = layer;
        return true;
    }

    CCA_GRect rect{20, 20, 60, 50};
    bool onPage = true;
    bool embeddable = true; // false: a stamp with nothing that could become page content
    IG_Layer* embeddedInto = nullptr;

private:
    IG_Page* m_page;
    unsigned int m_id;
    G_AnnotType m_type;
    CCA_String m_subType;
    bool m_signature;
};

class FakePage : public IG_Page
{
public:
    FakePage(IG_Document* doc, int index) : m_doc(doc), m_index(index) {}
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
    IG_Layer* LayerAt(int i) const override
    {
        return i >= 0 && i < LayerCount() ? layers[size_t(i)].get() : nullptr;
    }
    IG_Layer* NewLayer(int) override
    {
        layers.push_back(std::make_unique<FakeLayer>(this, LayerCount()));
        return layers.back().get();
    }
    int AnnotCount() const override { return int(annots.size()); }
    IG_Annot* AnnotAt(int i) const override { return annots[size_t(i)].get(); }
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
        auto* a = static_cast<FakeAnnot*>(AnnotById(id));
        const bool was = a && a->onPage;
        if (a)
            a->onPage = false;
        return was;
    }
    bool RestoreAnnot(IG_Annot* a) override { return static_cast<FakeAnnot*>(a)->onPage = true; }
    bool Render(QPainter* painter, const CCA_Matrix& m, int) override
    {
        painter->fillRect(QRectF(m.e, m.f, m.a * Width(), m.d * Height()), Qt::white);
        return true;
    }

    std::vector<std::unique_ptr<FakeLayer>> layers;
    std::vector<std::unique_ptr<FakeAnnot>> annots;

private:
    IG_Document* m_doc;
    int m_index;
};

class FakeDocument : public IG_Document
{
public:
    int PageCount() const override { return 1; }
    IG_Page* PageAt(int index) const override { return index == 0 ? page.get() : nullptr; }
    CCA_String FilePath() const override { return CCA_String(); }
    bool IsReadOnly() const override { return readOnly; }
    int AddResource(ICA_StreamReader*, int, int) override { return 0; }
    QImage ResourceImage(int) const override { return QImage(); }
    quint64 Revision() const override { return 0; }
    quint64 ContentRevision() const override { return 0; }
    bool IsModified() const override { return false; }
    bool SaveAs(const QString&, QString*) override { return false; }

    std::unique_ptr<FakePage> page = std::make_unique<FakePage>(this, 0);
    bool readOnly = false;
};
