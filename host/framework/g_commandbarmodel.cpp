#include "g_commandbarmodel.h"

#include <QtGlobal>

G_CommandBarModel G_CommandBarModel::Default()
{
    G_CommandBarModel model;
    const char* home = QT_TRANSLATE_NOOP("G_CommandBarModel", "Home");
    const Entry homeEntries[] = {
        {"open", QT_TRANSLATE_NOOP("G_CommandBarModel", "Open"), Action},
        {"save", QT_TRANSLATE_NOOP("G_CommandBarModel", "Save"), Action},
        {"t_handtool", QT_TRANSLATE_NOOP("G_CommandBarModel", "Hand"), Tool},
        {"t_textselect", QT_TRANSLATE_NOOP("G_CommandBarModel", "Select"), Tool},
        {"ti_stamp", QT_TRANSLATE_NOOP("G_CommandBarModel", "Stamp"), Anchored},
        {"t_annot", QT_TRANSLATE_NOOP("G_CommandBarModel", "Annotations"), Toggle},
        {"undo", QT_TRANSLATE_NOOP("G_CommandBarModel", "Undo"), Action},
        {"redo", QT_TRANSLATE_NOOP("G_CommandBarModel", "Redo"), Action},
        {"zoomout", QT_TRANSLATE_NOOP("G_CommandBarModel", "Zoom Out"), Action},
        {"zoomin", QT_TRANSLATE_NOOP("G_CommandBarModel", "Zoom In"), Action},
        {"fitwidth", QT_TRANSLATE_NOOP("G_CommandBarModel", "Fit Width"), Action},
        {"fitpage", QT_TRANSLATE_NOOP("G_CommandBarModel", "Fit Page"), Action},
    };
    for (const Entry& entry : homeEntries)
        model.AddEntry(QStringLiteral("tab_home"), home, entry);
    model.AddEntry(QStringLiteral("tab_receipt"), QT_TRANSLATE_NOOP("G_CommandBarModel", "Receipt"),
                   {QStringLiteral("d_invoiceseal"),
                    QT_TRANSLATE_NOOP("G_CommandBarModel", "Invoice Seal"), Anchored});
    return model;
}

void G_CommandBarModel::AddEntry(const QString& tab, const char* tabText, const Entry& entry)
{
    for (Tab& existing : m_tabs) {
        if (existing.name == tab) {
            existing.entries.append(entry);
            return;
        }
    }
    m_tabs.append(Tab{tab, tabText, {entry}});
}

QString G_CommandBarModel::TabOf(const QString& name) const
{
    for (const Tab& tab : m_tabs) {
        if (tab.name == name)
            return tab.name;
        for (const Entry& entry : tab.entries) {
            if (entry.name == name)
                return tab.name;
        }
    }
    return QString();
}

const G_CommandBarModel::Entry* G_CommandBarModel::Find(const QString& name) const
{
    for (const Tab& tab : m_tabs) {
        for (const Entry& entry : tab.entries) {
            if (entry.name == name)
                return &entry;
        }
    }
    return nullptr;
}
