#pragma once
// The reader's command bar as data: tabs of entries, each entry named like the tool or
// operation it stands for. Windows build their command bar from it; plug-ins may add
// entries. Texts are source texts, translated in the context "G_CommandBarModel" when shown.
//
// Kinds of entry:
//   Tool       makes the tool handler of that name current ("t_handtool", "t_textselect")
//   Operation  runs the operation of that name
//   Anchored   runs the operation with "position" = the button's screen rectangle, so what
//              it opens appears under the button ("ti_stamp", "d_invoiceseal")
//   Toggle     a checked state kept by the UI context under the entry's name ("t_annot")
//   Action     a window command named by the entry ("open", "save", "zoomin", ...)

#include <QList>
#include <QString>

class G_CommandBarModel
{
public:
    enum Kind { Tool, Operation, Anchored, Toggle, Action };

    struct Entry {
        QString name;
        const char* text = ""; // source text
        Kind kind = Action;
    };

    struct Tab {
        QString name; // "tab_home", "tab_receipt"
        const char* text = "";
        QList<Entry> entries;
    };

    // The reader's own command bar.
    static G_CommandBarModel Default();

    const QList<Tab>& Tabs() const { return m_tabs; }
    // Appends `entry` to the tab named `tab`, making the tab when it is new.
    void AddEntry(const QString& tab, const char* tabText, const Entry& entry);
    // The tab holding the entry `name` (empty when none); a tab's own name finds itself.
    QString TabOf(const QString& name) const;
    const Entry* Find(const QString& name) const;

private:
    QList<Tab> m_tabs;
};
