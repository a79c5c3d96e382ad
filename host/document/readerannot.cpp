#include "readerannot.h"

#include "documentbackend.h"
#include "readerdocument.h"
#include "readerlayer.h"
#include "readerpage.h"

#include <cmath>

ReaderAnnot::ReaderAnnot(ReaderPage* page, unsigned int id, G_AnnotType type)
    : m_page(page), m_id(id), m_type(type)
{
}

IG_Page* ReaderAnnot::Page() const { return m_page; }

void ReaderAnnot::Changed()
{
    m_edited = true;
    m_page->OwnerDocument()->Changed(!m_runTime);
}

void ReaderAnnot::SetSubType(const CCA_String& subType)
{
    if (subType == m_subType)
        return;
    m_subType = subType;
    Changed();
}

void ReaderAnnot::SetRect(const CCA_GRect& rect)
{
    if (!std::isfinite(rect.left) || !std::isfinite(rect.top) || !std::isfinite(rect.right)
        || !std::isfinite(rect.bottom))
        return;
    // Callers may hand corners in any order; the model keeps left < right, top < bottom.
    const CCA_GRect r(std::min(rect.left, rect.right), std::min(rect.top, rect.bottom),
                      std::max(rect.left, rect.right), std::max(rect.top, rect.bottom));
    if (r == m_rect)
        return;
    m_rect = r;
    Changed();
}

void ReaderAnnot::Offset(float dx, float dy)
{
    if (!std::isfinite(dx) || !std::isfinite(dy) || (dx == 0 && dy == 0))
        return;
    m_rect.left += dx;
    m_rect.right += dx;
    m_rect.top += dy;
    m_rect.bottom += dy;
    Changed();
}

void ReaderAnnot::SetCreator(const CCA_String& utf8)
{
    if (utf8 == m_creator)
        return;
    m_creator = utf8;
    Changed();
}

void ReaderAnnot::SetCreationDate(const CCA_String& utf8)
{
    if (utf8 == m_creationDate)
        return;
    m_creationDate = utf8;
    Changed();
}

bool ReaderAnnot::HasAppearance() const
{
    if (m_sourceObj != 0)
        return m_sourceHasAppearance;
    return m_resourceId > 0 && m_page->OwnerDocument()->Resource(m_resourceId) != nullptr;
}

QImage ReaderAnnot::AppearanceImage() const
{
    if (m_sourceObj != 0) {
        if (!m_sourceAppearanceTried) {
            m_sourceAppearanceTried = true;
            if (DocumentBackend* backend = m_page->OwnerDocument()->Backend())
                m_sourceAppearance = backend->AnnotAppearance(this);
        }
        return m_sourceAppearance;
    }
    if (const PictureResource* res = m_page->OwnerDocument()->Resource(m_resourceId))
        return res->image;
    return QImage();
}

bool ReaderAnnot::EmbedInto(IG_Layer* layer, bool /*removeAfter*/)
{
    auto* target = dynamic_cast<ReaderLayer*>(layer);
    if (!target || target->OwnerPage() != m_page || !HasAppearance() || m_rect.IsEmpty())
        return false;
    LayerObject object;
    object.resourceId = m_sourceObj != 0 ? 0 : m_resourceId;
    object.rect = m_rect;
    object.source = m_sourceObj != 0 ? this : nullptr;
    target->AddObject(object);
    // The annotation itself stays on the page: the caller deletes it (with undo).
    m_page->OwnerDocument()->Changed(true);
    return true;
}
