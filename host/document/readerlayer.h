#pragma once

#include "../base/ca_types.h"
#include "ig_layer.h"

#include <vector>

class ReaderAnnot;
class ReaderPage;

// One appearance that became page content: a picture resource stretched to `rect`
// (page millimetres), or the appearance of an annotation read from the file.
struct LayerObject {
    int resourceId = 0;
    CCA_GRect rect;
    const ReaderAnnot* source = nullptr; // the annotation whose look was embedded
};

class ReaderLayer : public IG_Layer {
public:
    explicit ReaderLayer(ReaderPage* page) : m_page(page) {}

    IG_Page* Page() const override;
    int Index() const override;
    int ObjectCount() const override { return int(m_objects.size()); }

    ReaderPage* OwnerPage() const { return m_page; }
    void AddObject(const LayerObject& object) { m_objects.push_back(object); }
    const std::vector<LayerObject>& Objects() const { return m_objects; }

private:
    ReaderPage* m_page;
    std::vector<LayerObject> m_objects;
};
