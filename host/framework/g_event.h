#pragma once
// Events handed to G_UIContext::FireEvent, which takes them over.

#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariant>

class G_DocView;
class IG_Annot;
class IG_Document;

class G_Event
{
public:
    enum Type {
        DocumentChanged = 110,   // G_DocumentChangedEvent; sub-type 1 after a committed stamp
        AnnotationRemoved = 111, // G_AnnotationEvent
        ShowString = 173,        // G_StringEvent: the text is shown to the user
        CommandBarOpChanged = 200,
    };

    // What the command bar should show: the named entries, the setting kind (7 = select
    // the entry and make its tool current) and the value.
    struct CommandBarSettingData {
        QStringList names;
        int kind = 0;
        QVariant value;
        CommandBarSettingData() = default;
        CommandBarSettingData(const QStringList& n, int k, const QVariant& v)
            : names(n), kind(k), value(v)
        {
        }
    };

    explicit G_Event(int type) : m_type(type) {}
    virtual ~G_Event() = default;
    int Type() const { return m_type; }
    virtual G_Event* Clone() const = 0; // observers keep copies

private:
    int m_type;
};

class G_DocumentChangedEvent : public G_Event
{
public:
    G_DocumentChangedEvent(G_DocView* view, int type, int subType, IG_Annot* annot = nullptr)
        : G_Event(type), m_view(view), m_subType(subType), m_annot(annot)
    {
    }
    G_DocView* View() const { return m_view; }
    int SubType() const { return m_subType; }
    IG_Annot* Annot() const { return m_annot; }
    G_Event* Clone() const override { return new G_DocumentChangedEvent(*this); }

private:
    G_DocView* m_view;
    int m_subType;
    IG_Annot* m_annot;
};

class G_AnnotationEvent : public G_Event
{
public:
    G_AnnotationEvent(IG_Document* doc, IG_Annot* annot, int type)
        : G_Event(type), m_doc(doc), m_annot(annot)
    {
    }
    IG_Document* Document() const { return m_doc; }
    IG_Annot* Annot() const { return m_annot; }
    G_Event* Clone() const override { return new G_AnnotationEvent(*this); }

private:
    IG_Document* m_doc;
    IG_Annot* m_annot;
};

class G_StringEvent : public G_Event
{
public:
    G_StringEvent(const QString& text, int type) : G_Event(type), m_text(text) {}
    QString Text() const { return m_text; }
    G_Event* Clone() const override { return new G_StringEvent(*this); }

private:
    QString m_text;
};

class G_CommandBarOpChangedEvent : public G_Event
{
public:
    explicit G_CommandBarOpChangedEvent(const G_Event::CommandBarSettingData& data)
        : G_Event(CommandBarOpChanged), m_data(data)
    {
    }
    const G_Event::CommandBarSettingData& Data() const { return m_data; }
    G_Event* Clone() const override { return new G_CommandBarOpChangedEvent(*this); }

private:
    G_Event::CommandBarSettingData m_data;
};

Q_DECLARE_METATYPE(const G_Event*)
Q_DECLARE_METATYPE(G_Event*)
