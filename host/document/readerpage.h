#pragma once

#include "ig_page.h"

#include <QList>
#include <QTransform>
#include <memory>
#include <vector>

class ReaderAnnot;
class ReaderDocument;
class ReaderLayer;

// A page of the model. Size and rotation are known from the start; annotations from the
// file are read on first use (Load), so opening a long document touches no page content.
class ReaderPage : public IG_Page {
public:
    ReaderPage(ReaderDocument* doc, int index, const CCA_GSize& sizeMm, int rotation);
    ~ReaderPage() override;

    IG_Document* Document() const override;
    int Index() const override { return m_index; }
    bool Load() override;
    float Width() const override { return m_size.width; }
    float Height() const override { return m_size.height; }
    CCA_GSize PageSize() const override { return m_size; }
    int Rotation() const override { return m_rotation; }
    void DisplayMatrix(CCA_Matrix* out, int left, int top, int width, int height,
                       int rotate) const override;

    int LayerCount() const override;
    IG_Layer* LayerAt(int index) const override;
    IG_Layer* NewLayer(int position) override;

    int AnnotCount() const override;
    IG_Annot* AnnotAt(int index) const override;
    IG_Annot* AnnotById(unsigned int id) const override;
    IG_Annot* NewAnnot(G_AnnotType type, const CCA_String& subType, const CCA_GRect& rect,
                       const std::string& contentJson) override;
    bool RemoveAnnot(unsigned int id, bool reserved) override;
    bool RestoreAnnot(IG_Annot* annot) override;

    bool Render(QPainter* painter, const CCA_Matrix& mmToDevice, int flags) override;

    // Model side.
    ReaderDocument* OwnerDocument() const { return m_doc; }
    bool IsLoaded() const { return m_loaded; }
    int IndexOfLayer(const ReaderLayer* layer) const;
    ReaderLayer* Layer(int index) const;
    // Annotations currently on the page, bottom first (loads the page first).
    QList<ReaderAnnot*> Annots() const;
    // Puts an annotation read from the file onto the page (used by back ends while loading).
    ReaderAnnot* AddLoadedAnnot(G_AnnotType type);

    // Page millimetres → pixels of a `sx` × `sy` scaled picture of the page turned by
    // `rotation` degrees (a multiple of 90), whose top-left corner is at (left, top).
    static QTransform RotatedTransform(float widthMm, float heightMm, int rotation, double sx,
                                       double sy, double left, double top);

private:
    bool EnsureLoaded() const;
    void DrawAnnot(QPainter* painter, const ReaderAnnot* annot) const;

    ReaderDocument* m_doc;
    int m_index;
    CCA_GSize m_size;
    int m_rotation;
    bool m_loaded = false;
    bool m_loading = false;
    std::vector<std::unique_ptr<ReaderLayer>> m_layers;
    QList<ReaderAnnot*> m_annots; // on the page, z-order; owned by the document
};
