#pragma once

#include "ig_annot.h"

#include <QImage>
#include <QString>

class ReaderPage;

// An annotation of the model. Stamps made in this session show a picture resource of the
// document; stamps read from a file keep a reference to their file object (`SourceObject`)
// and show that object's own appearance.
class ReaderAnnot : public IG_Annot {
public:
    ReaderAnnot(ReaderPage* page, unsigned int id, G_AnnotType type);

    IG_Page* Page() const override;
    unsigned int ID() const override { return m_id; }
    G_AnnotType Type() const override { return m_type; }
    CCA_String SubType() const override { return m_subType; }
    void SetSubType(const CCA_String& subType) override;
    bool IsSignature() const override { return m_signature; }
    bool IsLocked() const override { return m_locked; }

    CCA_GRect GetRect() const override { return m_rect; }
    void SetRect(const CCA_GRect& rect) override;
    void Offset(float dx, float dy) override;

    void SetCreator(const CCA_String& utf8) override;
    CCA_String Creator() const override { return m_creator; }
    void SetCreationDate(const CCA_String& utf8) override;
    CCA_String CreationDate() const override { return m_creationDate; }

    std::string Content() const override { return m_content; }
    bool IsRunTime() const override { return m_runTime; }
    int ResourceID() const override { return m_resourceId; }
    bool IsOnPage() const override { return m_onPage; }

    bool EmbedInto(IG_Layer* layer, bool removeAfter) override;

    // Model-side state, set by the page and the back ends.
    ReaderPage* OwnerPage() const { return m_page; }
    void SetOnPage(bool on) { m_onPage = on; }
    void SetContent(const std::string& json) { m_content = json; }
    void SetRunTime(bool runTime) { m_runTime = runTime; }
    void SetResourceID(int id) { m_resourceId = id; }
    void SetLocked(bool locked) { m_locked = locked; }
    void SetSignature(bool signature) { m_signature = signature; }
    bool IsHidden() const { return m_hidden; }
    void SetHidden(bool hidden) { m_hidden = hidden; }
    // The annotation's unique name in the file (/NM); made when the annotation is made.
    QString UniqueName() const { return m_uniqueName; }
    void SetUniqueName(const QString& name) { m_uniqueName = name; }
    // The back end's reference to the file object the annotation was read from
    // (0: made in this session).
    int SourceObject() const { return m_sourceObj; }
    int SourceGeneration() const { return m_sourceGen; }
    void SetSource(int obj, int gen, bool hasAppearance)
    {
        m_sourceObj = obj;
        m_sourceGen = gen;
        m_sourceHasAppearance = hasAppearance;
    }
    bool SourceHasAppearance() const { return m_sourceHasAppearance; }
    // Changed since it was read from the file or last saved.
    bool IsEdited() const { return m_edited; }
    void ClearEdited() { m_edited = false; }
    // True when it has something to draw other than a placeholder frame.
    bool HasAppearance() const;
    // The picture it shows (a resource, or its own appearance read from the file).
    QImage AppearanceImage() const;
    // Set without marking the document changed (used while loading a page).
    void InitRect(const CCA_GRect& rect) { m_rect = rect; }
    void InitText(const CCA_String& subType, const CCA_String& creator, const CCA_String& date)
    {
        m_subType = subType;
        m_creator = creator;
        m_creationDate = date;
    }

private:
    void Changed();

    ReaderPage* m_page;
    unsigned int m_id;
    G_AnnotType m_type;
    CCA_String m_subType;
    CCA_String m_creator;
    CCA_String m_creationDate;
    CCA_GRect m_rect;
    std::string m_content;
    QString m_uniqueName;
    int m_resourceId = 0;
    int m_sourceObj = 0;
    int m_sourceGen = 0;
    bool m_runTime = false;
    bool m_onPage = true;
    bool m_locked = false;
    bool m_signature = false;
    bool m_hidden = false;
    bool m_edited = false;
    bool m_sourceHasAppearance = false;
    mutable QImage m_sourceAppearance; // cached look of a file annotation
    mutable bool m_sourceAppearanceTried = false;
};
