#pragma once

#include "../base/ca_types.h"
#include "g_annottype.h"

#include <string>

class IG_Annot;
class IG_Document;
class IG_Layer;
class QPainter;

// Flags for IG_Page::Render.
enum G_RenderFlag {
    G_Render_Content = 1,            // original page content
    G_Render_Layers = 2,             // layers added in this session (embedded stamps)
    G_Render_Annots = 4,             // saved annotations
    G_Render_RunTimeAnnots = 8,      // provisional annotations
    G_Render_All = 15,
};

class IG_Page {
public:
    virtual ~IG_Page() = default;

    virtual IG_Document* Document() const = 0;
    virtual int Index() const = 0;
    // Parses what the page needs for rendering and editing; cheap when already loaded.
    virtual bool Load() = 0;
    virtual float Width() const = 0;  // millimetres, unrotated
    virtual float Height() const = 0; // millimetres, unrotated
    virtual CCA_GSize PageSize() const = 0;
    virtual int Rotation() const = 0; // 0, 90, 180 or 270
    // Matrix from page millimetres to device pixels for a page shown in the device
    // rectangle (left, top, width, height) with extra rotation `rotate` (degrees, added to
    // the page's own). The page's rotated bounding box fills the rectangle.
    virtual void DisplayMatrix(CCA_Matrix* out, int left, int top, int width, int height,
                               int rotate) const = 0;

    virtual int LayerCount() const = 0;
    virtual IG_Layer* LayerAt(int index) const = 0;
    // Appends a layer (position −1) or inserts it at `position`; returns it.
    virtual IG_Layer* NewLayer(int position) = 0;

    virtual int AnnotCount() const = 0;
    virtual IG_Annot* AnnotAt(int index) const = 0; // z-order, bottom first
    virtual IG_Annot* AnnotById(unsigned int id) const = 0;
    // Creates an annotation on this page from its content JSON; null when the content is
    // not JSON or the type is not a stamp. A stamp whose "ResourceID" is 0 or names no
    // picture of the document (a preview made before its picture is embedded) is still
    // made and draws a frame; it cannot be embedded and is saved with a frame appearance.
    virtual IG_Annot* NewAnnot(G_AnnotType type, const CCA_String& subType,
                               const CCA_GRect& rect, const std::string& contentJson) = 0;
    // Takes the annotation off the page. The object stays alive, owned by the document
    // until it closes, so events and undo entries that point at it stay valid; it can be
    // put back with RestoreAnnot. `reserved` has no effect (callers pass false).
    virtual bool RemoveAnnot(unsigned int id, bool reserved) = 0;
    virtual bool RestoreAnnot(IG_Annot* annot) = 0;

    // Paints the page in the painter's coordinates mapped by `mmToDevice`.
    virtual bool Render(QPainter* painter, const CCA_Matrix& mmToDevice, int flags) = 0;
};
