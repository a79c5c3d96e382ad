#pragma once
// The reader's context menu. Entries belong to groups ("annot" holds the annotation
// commands); ShowMenu lists a group's entries with translated labels, applies the given
// states (an entry without a state is shown enabled), runs the chosen operation with a
// copy of the parameters through the UI context, and takes over the parameter set.
//
// An entry is enabled with flag 4 and visible with flag 8 of its state; a non-empty state
// text replaces the label. Only an entry that is both enabled and visible can run.
//
// Seam: while a chooser is set (SetChooser), no menu is shown; the chooser receives the
// entries as they would be shown (hidden ones included, marked) and returns the chosen
// operation name (empty: none). Without a chooser the menu is a QMenu whose actions are
// named after their operations, so a test can answer it through activePopupWidget().

#include "contextmenuitemstate.h"

#include <QMap>
#include <QPoint>
#include <QStringList>
#include <functional>

class G_OperationParam;
class G_UIContext;

class G_ContextMenu
{
public:
    struct Entry {
        QString name;
        QString label;
        bool enabled = true;
        bool visible = true;
        bool checkable = false;
        bool checked = false;
    };
    using Chooser = std::function<QString(const QString& group, const QList<Entry>& entries)>;

    explicit G_ContextMenu(G_UIContext* context);

    void RegisterEntry(const QString& group, const QString& operationName,
                       const char* untranslatedLabel);
    QStringList GroupEntries(const QString& group) const;

    // Returns the name of the operation run, empty when none.
    QString ShowMenu(const QString& group, const QMap<QString, ContextMenuItemState>& states,
                     G_OperationParam* params);
    QString ShowMenu(const QString& group, const QMap<QString, ContextMenuItemState>& states,
                     G_OperationParam* params, const QPoint& globalPos);

    void SetChooser(Chooser chooser) { m_chooser = std::move(chooser); }
    QList<Entry> LastEntries() const { return m_lastEntries; }

private:
    G_UIContext* m_context;
    QMap<QString, QList<QPair<QString, const char*>>> m_groups;
    Chooser m_chooser;
    QList<Entry> m_lastEntries;
};
