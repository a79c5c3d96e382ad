#pragma once
// An annotation command: the record from which a new annotation is made. Flush creates the
// annotation on page `pageIndex` of the view's document with `annotType`, `subType`, the
// rectangle and the content BuildAppearanceJson returns, and holds it (Annot). The holder
// records the undo entry with CreateAnnotCmd and detaches the annotation (SetAnnot(null)).

#include "../base/ca_types.h"
#include "../json/nexjson.h"

class G_DocView;
class IG_Annot;

class GAC_Common
{
public:
    GAC_Common();
    virtual ~GAC_Common();

    virtual NexSharedPtr<NexJson> BuildAppearanceJson(bool runTime);
    // Null when there is no view, document or page, or the document refuses the content.
    virtual IG_Annot* Flush(const CCA_GRect& rect, bool runTime);

    IG_Annot* Annot() const { return m_annot; }
    void SetAnnot(IG_Annot* annot) { m_annot = annot; }
    // Pushes "add annotation" onto the view's undo stack (the annotation is already on its
    // page: the first redo does nothing). False without a view or annotation.
    bool CreateAnnotCmd(IG_Annot* annot);

    int pageIndex = 0;
    CCA_String subType;
    int annotType = 0;
    G_DocView* view = nullptr;

private:
    IG_Annot* m_annot = nullptr;
};
