#include "thumbnailpanel.h"

#include "host/document/ig_page.h"
#include "host/framework/g_docview.h"

#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QUndoStack>
#include <QVBoxLayout>

ThumbnailPanel::ThumbnailPanel(QWidget* parent)
    : Core::G_NavigationPage(parent), m_list(new QListWidget(this))
{
    setObjectName(QStringLiteral("thumbnails"));
    m_list->setObjectName(QStringLiteral("thumbnailList"));
    m_list->setViewMode(QListView::IconMode);
    m_list->setFlow(QListView::TopToBottom);
    m_list->setWrapping(false);
    m_list->setMovement(QListView::Static);
    m_list->setIconSize(QSize(kWidth, kWidth * 3 / 2));
    // Every cell holds a page picture and its number, drawn or not yet: the list lays out
    // once, and pictures drawn later fill their cells instead of squeezing into them.
    m_list->setGridSize(QSize(kWidth + 16, kWidth * 3 / 2 + 28));
    m_list->setUniformItemSizes(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);
    connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int page = m_list->row(item);
        if (m_view)
            m_view->GoToPage(page);
        emit ChangeShowIndexSignal(page);
    });
    connect(m_list->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &ThumbnailPanel::drawVisible);
}

void ThumbnailPanel::SetView(G_DocView* view)
{
    if (m_view) {
        disconnect(m_view, nullptr, this, nullptr);
        disconnect(m_view->UndoStack(), nullptr, this, nullptr);
    }
    m_view = view;
    m_list->clear();
    if (!view)
        return;
    QPixmap blank(kWidth, kWidth * 3 / 2);
    blank.fill(Qt::transparent);
    const QIcon placeholder(blank);
    for (int i = 0; i < view->PageCount(); ++i)
        m_list->addItem(new QListWidgetItem(placeholder, QString::number(i + 1)));
    connect(view, &G_DocView::CurrentPageChanged, this, &ThumbnailPanel::followView);
    // A change to the document (placed, moved, deleted or embedded stamps, undo and redo)
    // makes every picture old: those in sight are drawn again, the others when they come.
    connect(view->UndoStack(), &QUndoStack::indexChanged, this, [this] {
        for (int row = 0; row < m_list->count(); ++row)
            m_list->item(row)->setData(Qt::UserRole, false);
        QTimer::singleShot(0, this, &ThumbnailPanel::drawVisible);
    });
    followView(view->CurrentPageIndex());
    // After the list is laid out, so the rows in sight are known.
    QTimer::singleShot(0, this, &ThumbnailPanel::drawVisible);
}

void ThumbnailPanel::followView(int page)
{
    const QSignalBlocker quiet(m_list);
    m_list->setCurrentRow(page);
}

void ThumbnailPanel::drawVisible()
{
    if (!m_view)
        return;
    const QRect sight = m_list->viewport()->rect();
    for (int row = 0; row < m_list->count(); ++row) {
        QListWidgetItem* item = m_list->item(row);
        if (item->data(Qt::UserRole).toBool() || !sight.intersects(m_list->visualItemRect(item)))
            continue;
        IG_Page* page = m_view->Page(row);
        if (!page)
            continue;
        const QSizeF shape = m_view->PageRect(row).size();
        const int height = shape.width() > 0 ? int(kWidth * shape.height() / shape.width()) : 0;
        QImage image(kWidth, qMax(1, height), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        CCA_Matrix matrix;
        page->DisplayMatrix(&matrix, 0, 0, image.width(), image.height(), 0);
        page->Render(&painter, matrix, G_Render_All);
        painter.end();
        item->setIcon(QIcon(QPixmap::fromImage(image)));
        item->setData(Qt::UserRole, true); // drawn
    }
}
