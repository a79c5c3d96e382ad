#include "g_docview.h"

#include "../document/ig_annot.h"
#include "../document/ig_document.h"
#include "../document/ig_page.h"
#include "../json/nexjson.h"
#include "../utils/nex_dpi.h"
#include "g_annotationhandler.h"
#include "g_toolhandler.h"
#include "gt_handtool.h"

#include <QHash>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QUndoStack>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace
{

QList<G_DocView*>& allViews()
{
    static auto* list = new QList<G_DocView*>;
    return *list;
}

// Past this many pixels a page is rendered only around the visible part.
constexpr qint64 kWholePageLimit = 4000000;
constexpr int kRenderMargin = 256;
const QMargins kRenderMargins(kRenderMargin, kRenderMargin, kRenderMargin, kRenderMargin);
constexpr int kCacheEntries = 24;

int normalisedRotation(int degrees)
{
    int r = degrees % 360;
    if (r < 0)
        r += 360;
    return (r / 90) * 90;
}

} // namespace

struct G_DocView::Private {
    // Layout, rebuilt when one of its inputs changes.
    QVector<QRect> pageRects;
    QSize sceneSize;
    float layoutZoom = -1;
    float layoutScale = -1;
    int layoutWidth = -1;
    int layoutCount = -1;

    struct CacheEntry {
        float zoom = 0;
        float scale = 0;
        quint64 revision = 0;
        bool annots = true;
        QRect part; // scene pixels covered by the image
        QImage image;
    };
    QHash<int, CacheEntry> cache;
    QHash<QByteArray, G_ToolHandler*> tools; // this view's instances, owned
    int currentPage = 0;
    bool selectionKept = true;
};

G_DocView::G_DocView(G_UIContext* context, IG_Document* document, QWidget* parent)
    : QAbstractScrollArea(parent), d(new Private), m_context(context), m_document(document),
      m_undo(new QUndoStack)
{
    setObjectName(QStringLiteral("G_DocView"));
    viewport()->setObjectName(QStringLiteral("G_DocViewViewport"));
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    allViews().append(this);
    if (m_context)
        m_context->AddDocView(this);
    updateScrollBars();
}

G_DocView::~G_DocView()
{
    if (m_tool)
        m_tool->OnDeactivate();
    m_tool = nullptr;
    m_previousTool = nullptr;
    // Tools go before the undo stack and the document: their destructors may still take
    // a pending annotation off its page.
    const QList<G_ToolHandler*> tools = d->tools.values();
    for (G_ToolHandler* tool : tools)
        tool->OnDestroy();
    d->tools.clear();
    qDeleteAll(tools);
    m_undo->clear();
    allViews().removeAll(this);
    if (m_context)
        m_context->RemoveDocView(this);
}

QList<G_DocView*> G_DocView::AllViews()
{
    return allViews();
}

int G_DocView::PageCount() const
{
    return m_document ? m_document->PageCount() : 0;
}

IG_Page* G_DocView::Page(int index) const
{
    if (!m_document || index < 0 || index >= m_document->PageCount())
        return nullptr;
    return m_document->PageAt(index);
}

int G_DocView::CurrentPageIndex() const
{
    const int count = PageCount();
    if (count == 0)
        return -1;
    return qBound(0, d->currentPage, count - 1);
}

void G_DocView::SetZoom(float percent)
{
    if (!(percent > 0) || !std::isfinite(percent) || percent == m_zoom)
        return;
    // Keep the point at the middle of the viewport where it is on its page.
    const QPoint middle(viewport()->width() / 2, viewport()->height() / 2);
    const CCA_Point before(middle.x() + ScrollOffset().x(), middle.y() + ScrollOffset().y());
    int page = PageIndexByPoint(before, false, true);
    const CCA_GPoint anchor = page >= 0 ? DocPointFromScenePoint(before, page) : CCA_GPoint();
    m_zoom = percent;
    updateScrollBars();
    if (page >= 0) {
        const CCA_Point after = ScenePointFromDocPoint(page, anchor);
        horizontalScrollBar()->setValue(after.x - middle.x());
        verticalScrollBar()->setValue(after.y - middle.y());
    }
    viewport()->update();
    emit ZoomChanged(m_zoom);
}

float G_DocView::MM2Px(float mm) const
{
    return mm / 25.4f * 96.0f * Utils::DPI::Nex_Mgr::Instance().Scale() * m_zoom / 100.0f;
}

float G_DocView::Px2MM(float px) const
{
    const float perMM = MM2Px(1.0f);
    return perMM > 0 ? px / perMM : 0;
}

void G_DocView::ensureLayout() const
{
    const float scale = Utils::DPI::Nex_Mgr::Instance().Scale();
    const int width = viewport()->width();
    const int count = PageCount();
    if (d->layoutZoom == m_zoom && d->layoutScale == scale && d->layoutWidth == width &&
        d->layoutCount == count)
        return;
    d->layoutZoom = m_zoom;
    d->layoutScale = scale;
    d->layoutWidth = width;
    d->layoutCount = count;
    d->pageRects.resize(count);
    QVector<QSize> sizes(count);
    int widest = 0;
    for (int i = 0; i < count; ++i) {
        IG_Page* page = m_document->PageAt(i);
        float w = page ? page->Width() : 0;
        float h = page ? page->Height() : 0;
        if (page && (normalisedRotation(page->Rotation()) % 180) != 0)
            std::swap(w, h);
        sizes[i] = QSize(qMax(1, int(std::lround(MM2Px(w)))), qMax(1, int(std::lround(MM2Px(h)))));
        widest = qMax(widest, sizes[i].width());
    }
    const int sceneWidth = qMax(width, widest + 2 * kPageGap);
    int y = kPageGap;
    for (int i = 0; i < count; ++i) {
        const int x = (sceneWidth - sizes[i].width()) / 2;
        d->pageRects[i] = QRect(QPoint(x, y), sizes[i]);
        y += sizes[i].height() + kPageGap;
    }
    d->sceneSize = QSize(sceneWidth, count > 0 ? y : 0);
}

QSize G_DocView::SceneSize() const
{
    ensureLayout();
    return d->sceneSize;
}

QPoint G_DocView::ScrollOffset() const
{
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

QRect G_DocView::PageRect(int index) const
{
    ensureLayout();
    if (index < 0 || index >= d->pageRects.size())
        return QRect();
    return d->pageRects[index];
}

int G_DocView::PageIndexByPoint(const CCA_Point& scenePoint, bool exact, bool nearest) const
{
    ensureLayout();
    const QPoint p(scenePoint.x, scenePoint.y);
    // Pages go down the scene in order, a gap apart: only the last page starting above the
    // point and the next one can hold it or the gap around it. Long documents are stamped
    // page by page, and every scroll asks.
    const auto below = std::upper_bound(d->pageRects.cbegin(), d->pageRects.cend(), p.y(),
                                        [](int y, const QRect& r) { return y < r.top(); });
    const int first = qMax(0, int(below - d->pageRects.cbegin()) - 1);
    const int last = qMin(int(d->pageRects.size()), first + 2);
    for (int i = first; i < last; ++i) {
        if (d->pageRects[i].contains(p))
            return i;
    }
    if (!exact) {
        // The gap belongs to the page it surrounds (the nearer one between two pages).
        int best = -1;
        int bestDistance = 0;
        for (int i = first; i < last; ++i) {
            const int g = kPageGap;
            const QRect around = d->pageRects[i].adjusted(-g, -g, g, g);
            if (!around.contains(p))
                continue;
            const QRect& r = d->pageRects[i];
            const int dx = qMax(0, qMax(r.left() - p.x(), p.x() - r.right()));
            const int dy = qMax(0, qMax(r.top() - p.y(), p.y() - r.bottom()));
            if (best < 0 || dx + dy < bestDistance) {
                best = i;
                bestDistance = dx + dy;
            }
        }
        if (best >= 0)
            return best;
    }
    if (nearest && !d->pageRects.isEmpty()) {
        int best = 0;
        qint64 bestDistance = -1;
        for (int i = 0; i < d->pageRects.size(); ++i) {
            const QRect& r = d->pageRects[i];
            const qint64 dx = qMax(0, qMax(r.left() - p.x(), p.x() - r.right()));
            const qint64 dy = qMax(0, qMax(r.top() - p.y(), p.y() - r.bottom()));
            const qint64 distance = dx * dx + dy * dy;
            if (bestDistance < 0 || distance < bestDistance) {
                best = i;
                bestDistance = distance;
            }
        }
        return best;
    }
    return -1;
}

CCA_Point G_DocView::ScenePointFromGlobalPoint(const QPoint& global) const
{
    const QPoint local = viewport()->mapFromGlobal(global) + ScrollOffset();
    return CCA_Point(local.x(), local.y());
}

QPoint G_DocView::GlobalPointFromScenePoint(const CCA_Point& scene) const
{
    return viewport()->mapToGlobal(QPoint(scene.x, scene.y) - ScrollOffset());
}

CCA_Matrix G_DocView::PageMatrix(int pageIndex) const
{
    CCA_Matrix m;
    IG_Page* page = Page(pageIndex);
    if (!page)
        return m;
    const QRect r = PageRect(pageIndex);
    const float q = MM2Px(1.0f);
    const float w = page->Width();
    const float h = page->Height();
    const float left = float(r.left());
    const float top = float(r.top());
    switch (normalisedRotation(page->Rotation())) {
    case 90: // u = q(H − Y), v = qX
        m = {0, q, -q, 0, left + q * h, top};
        break;
    case 180: // u = q(W − X), v = q(H − Y)
        m = {-q, 0, 0, -q, left + q * w, top + q * h};
        break;
    case 270: // u = qY, v = q(W − X)
        m = {0, -q, q, 0, left, top + q * w};
        break;
    default:
        m = {q, 0, 0, q, left, top};
        break;
    }
    return m;
}

CCA_GPoint G_DocView::DocPointFromScenePoint(const CCA_Point& scenePoint, int& pageIndex) const
{
    if (pageIndex < 0)
        pageIndex = PageIndexByPoint(scenePoint, false, true);
    if (!Page(pageIndex))
        return CCA_GPoint();
    const CCA_Matrix m = PageMatrix(pageIndex);
    const double det = double(m.a) * m.d - double(m.b) * m.c;
    if (det == 0)
        return CCA_GPoint();
    const double u = scenePoint.x - double(m.e);
    const double v = scenePoint.y - double(m.f);
    const double x = (double(m.d) * u - double(m.c) * v) / det;
    const double y = (-double(m.b) * u + double(m.a) * v) / det;
    return CCA_GPoint(float(x), float(y));
}

CCA_Point G_DocView::ScenePointFromDocPoint(int pageIndex, const CCA_GPoint& docPoint) const
{
    if (!Page(pageIndex))
        return CCA_Point();
    const CCA_Matrix m = PageMatrix(pageIndex);
    const double u = double(m.a) * docPoint.x + double(m.c) * docPoint.y + m.e;
    const double v = double(m.b) * docPoint.x + double(m.d) * docPoint.y + m.f;
    return CCA_Point(int(std::lround(u)), int(std::lround(v)));
}

QRect G_DocView::SceneRectFromDocRect(int pageIndex, const CCA_GRect& rect) const
{
    if (!Page(pageIndex))
        return QRect();
    const CCA_Matrix m = PageMatrix(pageIndex);
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    const double xs[2] = {rect.left, rect.right};
    const double ys[2] = {rect.top, rect.bottom};
    bool first = true;
    for (double x : xs) {
        for (double y : ys) {
            const double u = m.a * x + m.c * y + m.e;
            const double v = m.b * x + m.d * y + m.f;
            if (first) {
                minX = maxX = u;
                minY = maxY = v;
                first = false;
            }
            minX = qMin(minX, u);
            maxX = qMax(maxX, u);
            minY = qMin(minY, v);
            maxY = qMax(maxY, v);
        }
    }
    const int l = int(std::lround(minX));
    const int t = int(std::lround(minY));
    return QRect(l, t, int(std::lround(maxX)) - l, int(std::lround(maxY)) - t);
}

void G_DocView::SetToolHandler(G_ToolHandler* handler)
{
    if (handler) {
        // A prototype from the registry works here through this view's own instance.
        const CCA_String name = handler->HandlerName();
        if (handler->DocView() != this && G_ToolHandler::FindGlobal(name.c_str()) == handler) {
            if (G_ToolHandler* own = ToolHandlerByName(name.c_str()))
                handler = own;
        }
        // Prototypes serve every view and never work in one themselves.
        if (G_ToolHandler::FindGlobal(name.c_str()) == handler ||
            G_AnnotationHandler::FindGlobalAnnotHandler(name.c_str()) == handler)
            return;
        if (!handler->DocView())
            handler->SetDocView(this);
    }
    if (handler == m_tool)
        return;
    G_ToolHandler* old = m_tool;
    m_tool = handler;
    if (old) {
        m_previousTool = old;
        old->OnDeactivate();
    }
    if (m_tool)
        m_tool->OnActivate();
    viewport()->update();
}

G_ToolHandler* G_DocView::ToolHandlerByName(const char* name)
{
    if (!name || !*name)
        return nullptr;
    const QByteArray key(name);
    if (G_ToolHandler* existing = d->tools.value(key))
        return existing;
    G_ToolHandler* prototype = G_ToolHandler::FindGlobal(name);
    if (!prototype)
        return nullptr;
    G_ToolHandler* instance = prototype->CreateInstance();
    if (!instance)
        return nullptr;
    instance->SetDocView(this);
    d->tools.insert(key, instance);
    return instance;
}

IG_Annot* G_DocView::AnnotAtScenePoint(const CCA_Point& scenePoint) const
{
    if (!m_showAnnots)
        return nullptr;
    const int pageIndex = PageIndexByPoint(scenePoint, true, false);
    IG_Page* page = Page(pageIndex);
    if (!page)
        return nullptr;
    const QPoint p(scenePoint.x, scenePoint.y);
    for (int i = page->AnnotCount() - 1; i >= 0; --i) {
        IG_Annot* annot = page->AnnotAt(i);
        if (!annot || !annot->IsOnPage() || annot->IsRunTime())
            continue;
        // Tiny annotations stay hittable: a few pixels around them count.
        const QRect r = SceneRectFromDocRect(pageIndex, annot->GetRect()).adjusted(-2, -2, 2, 2);
        if (r.contains(p))
            return annot;
    }
    return nullptr;
}

void G_DocView::ForgetAnnot(IG_Annot* annot)
{
    const QList<G_ToolHandler*> tools = d->tools.values();
    for (G_ToolHandler* tool : tools) {
        auto* hand = dynamic_cast<GT_HandTool*>(tool);
        G_AnnotationHandler* handler = tool->AnnotationHandler();
        if (!hand || !handler)
            continue;
        IG_Annot* held = handler->CurrentAnnot();
        if (!held || (annot ? held == annot : !held->IsOnPage()))
            hand->DropSelection();
    }
    viewport()->update();
}

void G_DocView::Refresh()
{
    updateScrollBars();
    updateCurrentPage();
    viewport()->update();
}

void G_DocView::ApplyRenderParams(const QString& json)
{
    const QByteArray utf8 = json.toUtf8();
    if (!NexJsonHelper::HasArrayMember(utf8.constData(), size_t(utf8.size()), "RenderParams"))
        return;
    d->cache.clear();
    viewport()->update();
}

void G_DocView::ResetToolState()
{
    const QList<G_ToolHandler*> tools = d->tools.values();
    for (G_ToolHandler* tool : tools) {
        if (auto* hand = dynamic_cast<GT_HandTool*>(tool))
            hand->DropSelection();
        else if (G_AnnotationHandler* handler = tool->AnnotationHandler())
            handler->ResetViewRender();
    }
    if (m_tool && !d->tools.values().contains(m_tool))
        m_tool->ResetViewRender();
    viewport()->update();
}

void G_DocView::ClearViewCache(const QString& key)
{
    if (key.isEmpty()) {
        d->cache.clear();
    } else {
        bool ok = false;
        const int page = key.toInt(&ok);
        if (ok)
            d->cache.remove(page);
    }
    viewport()->update();
}

void G_DocView::GoToPage(G_DocView* view, int pageIndex, const CCA_GRect& rect, bool select)
{
    if (view && view != this) {
        view->GoToPage(view, pageIndex, rect, select);
        return;
    }
    if (!Page(pageIndex))
        return;
    updateScrollBars();
    const QRect visible(ScrollOffset(), viewport()->size());
    if (rect.IsEmpty()) {
        const QRect page = PageRect(pageIndex);
        verticalScrollBar()->setValue(page.top() - kPageGap);
        if (page.width() > visible.width() || !visible.contains(page.left(), visible.top()))
            horizontalScrollBar()->setValue(page.left() - kPageGap);
    } else {
        const QRect target = SceneRectFromDocRect(pageIndex, rect);
        if (!visible.contains(target)) {
            horizontalScrollBar()->setValue(target.center().x() - visible.width() / 2);
            verticalScrollBar()->setValue(target.center().y() - visible.height() / 2);
        }
    }
    if (select && d->currentPage != pageIndex) {
        d->currentPage = pageIndex;
        emit CurrentPageChanged(pageIndex);
    }
    viewport()->update();
}

void G_DocView::GoToPage(int pageIndex)
{
    GoToPage(this, pageIndex, CCA_GRect(), true);
}

void G_DocView::SetAnnotStatus(bool visible)
{
    if (m_showAnnots == visible)
        return;
    m_showAnnots = visible;
    if (!visible)
        ResetToolState(); // a hidden annotation cannot stay selected
    d->cache.clear();
    viewport()->update();
}

void G_DocView::SetAnnotSelectionKept(bool kept)
{
    d->selectionKept = kept;
    if (!kept)
        ResetToolState();
}

bool G_DocView::AnnotSelectionKept() const
{
    return d->selectionKept;
}

int G_DocView::renderFlags() const
{
    return G_Render_Content | G_Render_Layers | (m_showAnnots ? G_Render_Annots : 0);
}

QImage G_DocView::renderPart(int pageIndex, const QRect& part, int flags) const
{
    QImage image(part.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    IG_Page* page = Page(pageIndex);
    if (!page || part.isEmpty())
        return image;
    page->Load();
    CCA_Matrix m = PageMatrix(pageIndex);
    m.e -= float(part.left());
    m.f -= float(part.top());
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::Antialiasing);
    page->Render(&painter, m, flags);
    return image;
}

void G_DocView::drawLiveAnnots(QPainter* painter, int pageIndex) const
{
    IG_Page* page = Page(pageIndex);
    if (!page || !m_showAnnots)
        return;
    painter->save();
    page->Render(painter, PageMatrix(pageIndex), G_Render_RunTimeAnnots);
    painter->restore();
}

QImage G_DocView::RenderPageImage(int pageIndex) const
{
    const QRect r = PageRect(pageIndex);
    if (r.isEmpty())
        return QImage();
    QImage image = renderPart(pageIndex, r, renderFlags());
    QPainter painter(&image);
    painter.translate(-r.topLeft());
    drawLiveAnnots(&painter, pageIndex);
    return image;
}

void G_DocView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), QColor(0x80, 0x86, 0x8f));
    const QPoint offset = ScrollOffset();
    const QRect visible(offset, viewport()->size());
    painter.translate(-offset);
    if (m_tool)
        m_tool->PaintSceneStart(&painter, visible);
    const float scale = Utils::DPI::Nex_Mgr::Instance().Scale();
    const quint64 revision = m_document ? m_document->ContentRevision() : 0;
    const int flags = renderFlags();
    const bool annots = m_showAnnots;
    for (int i = 0; i < PageCount(); ++i) {
        const QRect r = PageRect(i);
        if (!r.intersects(visible))
            continue;
        if (m_tool)
            m_tool->PaintBeforePage(&painter, i);
        const QRect needed = r.intersected(visible);
        Private::CacheEntry& entry = d->cache[i];
        const bool fresh = entry.zoom == m_zoom && entry.scale == scale &&
                           entry.revision == revision && entry.annots == annots &&
                           entry.part.contains(needed) && !entry.image.isNull();
        if (!fresh) {
            QRect part = r;
            if (qint64(r.width()) * r.height() > kWholePageLimit)
                part = needed.marginsAdded(kRenderMargins).intersected(r);
            entry.zoom = m_zoom;
            entry.scale = scale;
            entry.revision = revision;
            entry.annots = annots;
            entry.part = part;
            entry.image = renderPart(i, part, flags);
        }
        painter.drawImage(entry.part.topLeft(), entry.image);
        drawLiveAnnots(&painter, i);
        if (m_tool)
            m_tool->PaintAfterPage(&painter, i);
    }
    if (m_tool)
        m_tool->PaintSceneEnd(&painter, visible);
    if (d->cache.size() > kCacheEntries) {
        for (auto it = d->cache.begin(); it != d->cache.end();) {
            if (!PageRect(it.key()).intersects(visible))
                it = d->cache.erase(it);
            else
                ++it;
        }
    }
}

void G_DocView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    updateCurrentPage();
}

void G_DocView::scrollContentsBy(int, int)
{
    updateCurrentPage();
    viewport()->update();
}

void G_DocView::updateScrollBars()
{
    const QSize scene = SceneSize();
    const QSize port = viewport()->size();
    horizontalScrollBar()->setRange(0, qMax(0, scene.width() - port.width()));
    horizontalScrollBar()->setPageStep(port.width());
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setRange(0, qMax(0, scene.height() - port.height()));
    verticalScrollBar()->setPageStep(port.height());
    verticalScrollBar()->setSingleStep(20);
}

void G_DocView::updateCurrentPage()
{
    if (PageCount() == 0)
        return;
    const QPoint offset = ScrollOffset();
    const CCA_Point probe(offset.x() + viewport()->width() / 2,
                          offset.y() + viewport()->height() / 3);
    const int page = PageIndexByPoint(probe, false, true);
    if (page >= 0 && page != d->currentPage) {
        d->currentPage = page;
        emit CurrentPageChanged(page);
    }
}

namespace
{
CCA_Point scenePointOf(const QPoint& pos, const QPoint& offset)
{
    return CCA_Point(pos.x() + offset.x(), pos.y() + offset.y());
}
} // namespace

void G_DocView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (!m_tool)
        return QAbstractScrollArea::mousePressEvent(event);
    const CCA_Point p = scenePointOf(event->pos(), ScrollOffset());
    const unsigned int flags = unsigned(event->modifiers());
    switch (event->button()) {
    case Qt::LeftButton:
        m_tool->OnLButtonDown(flags, p);
        break;
    case Qt::MiddleButton:
        m_tool->OnMButtonDown(flags, p);
        break;
    case Qt::RightButton:
        m_tool->OnRButtonDown(flags, p);
        break;
    default:
        break;
    }
    event->accept();
}

void G_DocView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_tool)
        return QAbstractScrollArea::mouseReleaseEvent(event);
    const CCA_Point p = scenePointOf(event->pos(), ScrollOffset());
    const unsigned int flags = unsigned(event->modifiers());
    switch (event->button()) {
    case Qt::LeftButton:
        m_tool->OnLButtonUp(flags, p);
        break;
    case Qt::MiddleButton:
        m_tool->OnMButtonUp(flags, p);
        break;
    case Qt::RightButton:
        m_tool->OnRButtonUp(flags, p);
        break;
    default:
        break;
    }
    event->accept();
}

void G_DocView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!m_tool)
        return QAbstractScrollArea::mouseDoubleClickEvent(event);
    const CCA_Point p = scenePointOf(event->pos(), ScrollOffset());
    const unsigned int flags = unsigned(event->modifiers());
    switch (event->button()) {
    case Qt::LeftButton:
        m_tool->OnLButtonDblClk(flags, p);
        break;
    case Qt::MiddleButton:
        m_tool->OnMButtonDblClk(flags, p);
        break;
    case Qt::RightButton:
        m_tool->OnRButtonDblClk(flags, p);
        break;
    default:
        break;
    }
    event->accept();
}

void G_DocView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_tool)
        return QAbstractScrollArea::mouseMoveEvent(event);
    m_tool->OnMouseMove(unsigned(event->modifiers()), scenePointOf(event->pos(), ScrollOffset()));
    event->accept();
}

void G_DocView::wheelEvent(QWheelEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const int delta = event->angleDelta().y();
    if (m_tool && m_tool->OnMouseWheel(unsigned(event->modifiers()), delta,
                                       scenePointOf(pos, ScrollOffset()))) {
        event->accept();
        return;
    }
    if ((event->modifiers() & Qt::ControlModifier) && delta != 0) {
        const float factor = delta > 0 ? 1.1f : 1.0f / 1.1f;
        SetZoom(qBound(10.0f, m_zoom * factor, 500.0f));
        event->accept();
        return;
    }
    QAbstractScrollArea::wheelEvent(event);
}

void G_DocView::keyPressEvent(QKeyEvent* event)
{
    if (m_tool && m_tool->OnKeyDown(event->key(), unsigned(event->modifiers()))) {
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void G_DocView::keyReleaseEvent(QKeyEvent* event)
{
    if (m_tool && m_tool->OnKeyUp(event->key(), unsigned(event->modifiers()))) {
        event->accept();
        return;
    }
    QAbstractScrollArea::keyReleaseEvent(event);
}

void G_DocView::enterEvent(QEvent* event)
{
    if (m_tool)
        m_tool->OnMouseEnter();
    QAbstractScrollArea::enterEvent(event);
}

void G_DocView::leaveEvent(QEvent* event)
{
    if (m_tool)
        m_tool->OnMouseLeave();
    QAbstractScrollArea::leaveEvent(event);
}
