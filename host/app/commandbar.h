#pragma once
// The window's command bar, built from the reader's command-bar model: a tab per model
// tab, a button per entry (object name = the entry's name). Tools and toggles are
// checkable; the window answers what the buttons ask for.

#include "host/framework/g_commandbarmodel.h"

#include <QHash>
#include <QTabWidget>

class QToolButton;

class CommandBar : public QTabWidget
{
    Q_OBJECT
public:
    explicit CommandBar(const G_CommandBarModel& model, QWidget* parent = nullptr);

    QToolButton* Button(const QString& name) const { return m_buttons.value(name); }
    QStringList Names() const { return m_buttons.keys(); }
    // Shows what the reader selected: its tab, and the entry checked (tools) or focused.
    void Select(const QString& name);
    void SetChecked(const QString& name, bool checked);
    void SetEnabled(const QString& name, bool enabled);

signals:
    // A button was pressed: `kind` as in the model; `globalRect` is the button on screen.
    void Triggered(const QString& name, int kind, const QRect& globalRect, bool checked);

private:
    G_CommandBarModel m_model;
    QHash<QString, QToolButton*> m_buttons;
};
