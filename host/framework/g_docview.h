#pragma once
// A view of one document: pages laid out top to bottom, centred horizontally, with
// kPageGap scene pixels around each page. The scene is the whole layout in pixels at the
// current zoom: MM2Px(mm) = mm / 25.4 × 96 × DPI scale × zoom / 100. Page rectangles are
// the pages as shown (rotated pages take their rotated size). Mouse events arrive at the
// current tool handler in scene pixels with the Qt keyboard modifiers as flags; tool
// handlers paint with the painter in scene pixels.
//
// Pages are drawn from a cache of page images keyed by page, zoom, DPI scale and document
// revision; run-time (provisional) annotations are drawn live on top.

#include "../base/ca_types.h"
#include "g_uicontext.h"

#include <QAbstractScrollArea>
#include <QHash>
#include <QImage>
#include <QPointer>
#include <QVector>
#include <memory>

class G_ToolHandler;
class IG_Annot;
class IG_Document;
class IG_Page;
class QPainter;
class QUndoStack;

class G_DocView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    G_DocView(G_UIContext* context, IG_Document* document, QWidget* parent = nullptr);
    ~G_DocView() override;

    static constexpr int kPageGap = 12;

    G_UIContext* UIContext() const { return m_context; }
    IG_Document* GDocument() const { return m_document; }
    int PageCount() const;
    IG_Page* Page(int index) const;
    int CurrentPageIndex() const;

    float GetZoom() const { return m_zoom; }
    void SetZoom(float percent); // no clamping: the "v_zoom" operation keeps 10–500
    float MM2Px(float mm) const;
    float Px2MM(float px) const;

    QRect PageRect(int index) const; // scene pixels; empty for a bad index
    // Page under a scene point, or −1. `exact`: only the page rectangle counts (else the
    // gap around it too); `nearest`: the closest page when the point is on none.
    int PageIndexByPoint(const CCA_Point& scenePoint, bool exact, bool nearest) const;
    CCA_Point ScenePointFromGlobalPoint(const QPoint& global) const;
    QPoint GlobalPointFromScenePoint(const CCA_Point& scene) const;
    // Scene point → page units of `pageIndex`; when pageIndex < 0 it is set to the page
    // under the point (or the nearest).
    CCA_GPoint DocPointFromScenePoint(const CCA_Point& scenePoint, int& pageIndex) const;
    CCA_Point ScenePointFromDocPoint(int pageIndex, const CCA_GPoint& docPoint) const;
    QRect SceneRectFromDocRect(int pageIndex, const CCA_GRect& rect) const;

    // Tool handlers. SetToolHandler deactivates the old one and runs the new one's
    // OnActivate before returning.
    virtual void SetToolHandler(G_ToolHandler* handler);
    G_ToolHandler* ToolHandler() const { return m_tool; }
    G_ToolHandler* PreviousToolHandler() const { return m_previousTool; }
    // This view's own instance of the registered handler (created on first use). A
    // registered prototype handed to SetToolHandler is replaced by this view's instance.
    G_ToolHandler* ToolHandlerByName(const char* name);
    // The topmost annotation shown under a scene point (run-time annotations excluded);
    // null when annotations are hidden or none is there.
    IG_Annot* AnnotAtScenePoint(const CCA_Point& scenePoint) const;
    // Drops every selection of this view's tools that holds `annot` (null: any annotation
    // that is no longer on its page).
    void ForgetAnnot(IG_Annot* annot);
    // Matrix from page millimetres of `pageIndex` to scene pixels.
    CCA_Matrix PageMatrix(int pageIndex) const;
    // All views that exist, in creation order.
    static QList<G_DocView*> AllViews();

    QUndoStack* UndoStack() const { return m_undo.get(); }

    // Repaints what changed in the document (or everything).
    void Refresh();
    // JSON {"RenderParams":[{"IsRender":bool,"RenderType":int,"ID":[ids]}]}: the listed
    // annotations changed. The view drops its page images so the next paint shows them;
    // run-time annotations are drawn live anyway, and page images are keyed by the
    // document's content revision, so no per-annotation state is kept. A request that is
    // not of this form is ignored.
    void ApplyRenderParams(const QString& json);
    // Ends any half-done tool gesture: drops the selected annotation and drag state.
    void ResetToolState();
    // Drops cached page images (all when `key` is empty, else the page index in `key`).
    void ClearViewCache(const QString& key);
    // Scrolls so that `rect` (page units) of `pageIndex` is in sight; `select` also makes
    // it the current page. `view` is the view to move (this one when null).
    void GoToPage(G_DocView* view, int pageIndex, const CCA_GRect& rect, bool select);
    void GoToPage(int pageIndex);
    // Whether annotations are shown.
    bool AnnotStatus() const { return m_showAnnots; }
    void SetAnnotStatus(bool visible);
    // With false, the view drops its annotation selection (called after a stamp is
    // picked, so the new placement is not mixed up with a selected stamp).
    void SetAnnotSelectionKept(bool kept);

    // The page image as currently shown (for tests and the reader's thumbnails).
    QImage RenderPageImage(int pageIndex) const;
    bool AnnotSelectionKept() const;
    QSize SceneSize() const;
    QPoint ScrollOffset() const;

signals:
    void ZoomChanged(float percent);
    void CurrentPageChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void ensureLayout() const;
    void updateScrollBars();
    void updateCurrentPage();
    int renderFlags() const;
    QImage renderPart(int pageIndex, const QRect& part, int flags) const;
    void drawLiveAnnots(QPainter* painter, int pageIndex) const;

    struct Private;
    std::unique_ptr<Private> d;
    QPointer<G_UIContext> m_context; // the context may go before its views
    IG_Document* m_document;
    float m_zoom = 100.0f;
    bool m_showAnnots = true;
    G_ToolHandler* m_tool = nullptr;
    G_ToolHandler* m_previousTool = nullptr;
    std::unique_ptr<QUndoStack> m_undo;
};
