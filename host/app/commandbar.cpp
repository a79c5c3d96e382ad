#include "commandbar.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QToolButton>

CommandBar::CommandBar(const G_CommandBarModel& model, QWidget* parent)
    : QTabWidget(parent), m_model(model)
{
    setObjectName(QStringLiteral("commandBar"));
    setDocumentMode(true);
    auto* tools = new QButtonGroup(this);
    for (const G_CommandBarModel::Tab& tab : m_model.Tabs()) {
        auto* page = new QWidget;
        page->setObjectName(tab.name);
        auto* row = new QHBoxLayout(page);
        row->setContentsMargins(4, 2, 4, 2);
        for (const G_CommandBarModel::Entry& entry : tab.entries) {
            auto* button = new QToolButton(page);
            button->setObjectName(entry.name);
            button->setText(QCoreApplication::translate("G_CommandBarModel", entry.text));
            button->setAutoRaise(true);
            const int kind = entry.kind;
            if (kind == G_CommandBarModel::Tool || kind == G_CommandBarModel::Toggle)
                button->setCheckable(true);
            if (kind == G_CommandBarModel::Tool)
                tools->addButton(button);
            const QString name = entry.name;
            connect(button, &QToolButton::clicked, this, [this, button, name, kind](bool on) {
                const QRect rect(button->mapToGlobal(QPoint(0, 0)), button->size());
                emit Triggered(name, kind, rect, on);
            });
            row->addWidget(button);
            m_buttons.insert(entry.name, button);
        }
        row->addStretch(1);
        addTab(page, QCoreApplication::translate("G_CommandBarModel", tab.text));
    }
}

void CommandBar::Select(const QString& name)
{
    const QString tab = m_model.TabOf(name);
    for (int i = 0; i < count(); ++i) {
        if (widget(i)->objectName() == tab)
            setCurrentIndex(i);
    }
    if (QToolButton* button = Button(name)) {
        if (button->isCheckable())
            button->setChecked(true);
        else
            button->setFocus();
    }
}

void CommandBar::SetChecked(const QString& name, bool checked)
{
    if (QToolButton* button = Button(name))
        button->setChecked(checked);
}

void CommandBar::SetEnabled(const QString& name, bool enabled)
{
    if (QToolButton* button = Button(name))
        button->setEnabled(enabled);
}
