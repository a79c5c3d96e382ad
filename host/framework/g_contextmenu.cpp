#include "g_contextmenu.h"

#include "g_operation.h"
#include "g_operationparam.h"
#include "g_uicontext.h"

#include <QAction>
#include <QCoreApplication>
#include <QCursor>
#include <QMenu>
#include <memory>

G_ContextMenu::G_ContextMenu(G_UIContext* context) : m_context(context) {}

void G_ContextMenu::RegisterEntry(const QString& group, const QString& operationName,
                                  const char* untranslatedLabel)
{
    QList<QPair<QString, const char*>>& entries = m_groups[group];
    for (auto& entry : entries) {
        if (entry.first == operationName) {
            entry.second = untranslatedLabel;
            return;
        }
    }
    entries.append({operationName, untranslatedLabel});
}

QStringList G_ContextMenu::GroupEntries(const QString& group) const
{
    QStringList names;
    const QList<QPair<QString, const char*>> entries = m_groups.value(group);
    for (const auto& entry : entries)
        names.append(entry.first);
    return names;
}

QString G_ContextMenu::ShowMenu(const QString& group,
                                const QMap<QString, ContextMenuItemState>& states,
                                G_OperationParam* params)
{
    return ShowMenu(group, states, params, QCursor::pos());
}

QString G_ContextMenu::ShowMenu(const QString& group,
                                const QMap<QString, ContextMenuItemState>& states,
                                G_OperationParam* params, const QPoint& globalPos)
{
    const std::unique_ptr<G_OperationParam> owned(params); // taken over whatever happens
    QList<Entry> entries;
    const QList<QPair<QString, const char*>> registered = m_groups.value(group);
    for (const auto& item : registered) {
        Entry entry;
        entry.name = item.first;
        entry.label = QCoreApplication::translate("G_ContextMenu", item.second);
        const auto state = states.constFind(item.first);
        if (state != states.constEnd()) {
            entry.enabled = state->TestFlag(ContextMenuItemState::Enabled);
            entry.visible = state->TestFlag(ContextMenuItemState::Visible);
            entry.checkable = state->TestFlag(ContextMenuItemState::Checkable);
            entry.checked = state->TestFlag(ContextMenuItemState::Checked);
            if (!state->text.isEmpty())
                entry.label = state->text;
        }
        entries.append(entry);
    }
    m_lastEntries = entries;

    QString chosen;
    if (m_chooser) {
        const Chooser chooser = m_chooser;
        chosen = chooser(group, entries);
    } else {
        QMenu menu;
        menu.setObjectName(QStringLiteral("G_ContextMenu"));
        for (const Entry& entry : qAsConst(entries)) {
            if (!entry.visible)
                continue;
            QAction* action = menu.addAction(entry.label);
            action->setObjectName(entry.name);
            action->setData(entry.name);
            action->setEnabled(entry.enabled);
            action->setCheckable(entry.checkable);
            action->setChecked(entry.checked);
        }
        if (menu.actions().isEmpty())
            return QString();
        if (QAction* action = menu.exec(globalPos))
            chosen = action->data().toString();
    }
    if (chosen.isEmpty())
        return QString();
    // Only what the user could really pick runs.
    bool allowed = false;
    for (const Entry& entry : qAsConst(entries)) {
        if (entry.name == chosen)
            allowed = entry.enabled && entry.visible;
    }
    if (!allowed || !m_context)
        return QString();
    const QByteArray name = chosen.toUtf8();
    G_Operation* op = m_context->CreateOperationByName(name.constData(), QString());
    if (!op)
        return QString();
    if (params) {
        const QStringList keys = params->Keys();
        for (const QString& key : keys)
            op->Param()->AddVariant(key, params->Value(key));
    }
    op->PerformAction();
    op->DeleteLater();
    return chosen;
}
