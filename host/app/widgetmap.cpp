#include "widgetmap.h"

#include "host/framework/g_docview.h"
#include "host/framework/g_toolhandler.h"
#include "mainwindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QSaveFile>
#include <QUndoStack>

namespace
{

QString rectText(const QPoint& topLeft, const QSize& size)
{
    return QStringLiteral("%1 %2 %3 %4")
        .arg(topLeft.x())
        .arg(topLeft.y())
        .arg(size.width())
        .arg(size.height());
}

void addItems(const QAbstractItemView* view, QStringList& lines)
{
    const QAbstractItemModel* model = view->model();
    if (!model)
        return;
    const QRect shown = view->viewport()->rect();
    for (int row = 0; row < model->rowCount(view->rootIndex()); ++row) {
        const QRect cell = view->visualRect(model->index(row, 0, view->rootIndex()));
        if (!cell.intersects(shown))
            continue;
        const QPoint at = view->viewport()->mapToGlobal(cell.topLeft());
        lines << QStringLiteral("item %1/%2 %3")
                     .arg(view->objectName())
                     .arg(row)
                     .arg(rectText(at, cell.size()));
    }
}

} // namespace

WidgetMap::WidgetMap(const MainWindow* window, const QString& path, QObject* parent)
    : QObject(parent), m_window(window), m_path(path)
{
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &WidgetMap::write);
    m_timer.start();
}

QStringList WidgetMap::Lines() const
{
    QStringList lines;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (const QWidget* top : windows) {
        if (!top->isVisible())
            continue;
        QList<QWidget*> widgets = top->findChildren<QWidget*>();
        widgets.prepend(const_cast<QWidget*>(top));
        for (const QWidget* widget : qAsConst(widgets)) {
            if (widget->objectName().isEmpty() || !widget->isVisible())
                continue;
            lines << QStringLiteral("widget %1 %2")
                         .arg(widget->objectName(),
                              rectText(widget->mapToGlobal(QPoint(0, 0)), widget->size()));
            if (auto* view = qobject_cast<const QAbstractItemView*>(widget))
                addItems(view, lines);
        }
    }
    const G_DocView* view = m_window ? m_window->View() : nullptr;
    if (!view)
        return lines;
    const QRect shown = view->viewport()->rect();
    for (int i = 0; i < view->PageCount(); ++i) {
        const QRect page = view->PageRect(i).translated(-view->ScrollOffset());
        if (page.intersects(shown)) {
            const QPoint at = view->viewport()->mapToGlobal(page.topLeft());
            lines << QStringLiteral("page %1 %2").arg(i).arg(rectText(at, page.size()));
        }
    }
    G_ToolHandler* tool = view->ToolHandler();
    lines << QStringLiteral("state %1 %2 %3")
                 .arg(tool ? GQ_ToQString(tool->HandlerName()) : QStringLiteral("none"))
                 .arg(view->UndoStack()->index())
                 .arg(view->UndoStack()->isClean() ? 1 : 0);
    return lines;
}

void WidgetMap::write()
{
    const QString text = Lines().join(QLatin1Char('\n')) + QLatin1Char('\n');
    if (text == m_written)
        return;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit())
        return; // the next tick tries again
    m_written = text;
}
