#pragma once

#include "../base/ca_types.h"
#include "g_annottype.h"

#include <string>

class IG_Page;
class IG_Layer;

// An annotation of the document model. Rectangles are page millimetres (left, top, right,
// bottom from the top-left of the unrotated page). Objects stay alive until their document
// is closed, also after RemoveAnnot, so that events and undo entries may keep pointers.
class IG_Annot {
public:
    virtual ~IG_Annot() = default;

    virtual IG_Page* Page() const = 0;
    virtual unsigned int ID() const = 0;
    virtual G_AnnotType Type() const = 0;
    virtual CCA_String SubType() const = 0;
    virtual void SetSubType(const CCA_String& subType) = 0;
    virtual bool IsSignature() const = 0;
    virtual bool IsLocked() const = 0;

    virtual CCA_GRect GetRect() const = 0;
    virtual void SetRect(const CCA_GRect& rect) = 0;
    virtual void Offset(float dx, float dy) = 0;

    virtual void SetCreator(const CCA_String& utf8) = 0;
    virtual CCA_String Creator() const = 0;
    virtual void SetCreationDate(const CCA_String& utf8) = 0; // "yyyy-MM-dd hh:mm:ss"
    virtual CCA_String CreationDate() const = 0;

    // The content JSON the annotation was created with ("RunTime", "SubType", "Appearance").
    virtual std::string Content() const = 0;
    // Run-time (provisional) annotations are shown but never saved.
    virtual bool IsRunTime() const = 0;
    // Identifier of the picture resource its appearance shows; 0 when none.
    virtual int ResourceID() const = 0;
    // False while removed from its page (RemoveAnnot); such an annotation is neither shown nor saved.
    virtual bool IsOnPage() const = 0;

    // Writes the appearance into the layer as page content. With removeAfter true the
    // annotation stays in the page's list until the caller deletes it (the reader deletes
    // it through "d_delannot"). False when the annotation has no appearance or the layer
    // belongs to another page.
    virtual bool EmbedInto(IG_Layer* layer, bool removeAfter) = 0;
};
