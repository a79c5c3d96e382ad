#pragma once
// A reader in a test: its folders in a temporary directory, the host's tools and operations
// registered, a UI context and a shown view of a document with the hand tool active. Message
// boxes are answered without windows (Ok unless told otherwise) and recorded. Mouse moves
// are real move events carrying the held buttons (QTest's own move does not carry them).

#include "host/base/ca_types.h"
#include "host/document/g_application.h"
#include "host/document/ig_annot.h"
#include "host/document/ig_document.h"
#include "host/document/ig_layer.h"
#include "host/document/ig_page.h"
#include "host/framework/g_contextmenu.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_event.h"
#include "host/framework/g_operation.h"
#include "host/framework/g_settingmgr.h"
#include "host/framework/g_uicontext.h"
#include "host/utils/messageboxseam.h"

#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QVariantMap>
#include <QtTest>
#include <memory>

// Readable values in failed comparisons.
namespace QTest
{
template <> inline char* toString(const CCA_GRect& r)
{
    return qstrdup(qPrintable(QString::asprintf("CCA_GRect(%g, %g, %g, %g)", double(r.left),
                                                double(r.top), double(r.right), double(r.bottom))));
}
} // namespace QTest

class HostFixture
{
public:
    HostFixture();
    ~HostFixture();
    HostFixture(const HostFixture&) = delete;
    HostFixture& operator=(const HostFixture&) = delete;

    // Blank pages of the given sizes (millimetres) and rotations; false when the model
    // refuses them. Replaces an open document.
    bool OpenBlank(const QList<CCA_GSize>& pageSizes, const QList<int>& rotations = {});
    // Opens a document file; false with the model's message in `error`.
    bool OpenFile(const QString& path, QString* error = nullptr);
    // Deletes the view and the document (also done by the destructor).
    void CloseDocument();

    G_UIContext* Context() const { return m_context.get(); }
    G_DocView* View() const { return m_view; }
    IG_Document* Document() const { return m_document; }
    QString TempDir() const { return m_dir.path(); } // holds the reader's folders
    // The folder STAMPREADER_APP_DIR points at (not redirected unless set here).
    void SetAppDir(const QString& path);

    // A point of page `page` (millimetres) in viewport coordinates; the view is scrolled
    // first so the point is in sight.
    QPoint ViewportPoint(int page, const CCA_GPoint& mm);
    CCA_Point ScenePoint(int page, const CCA_GPoint& mm) const;
    // The same for a scene point.
    QPoint ViewportPointOfScene(const CCA_Point& scene);
    void ClickAt(int page, const CCA_GPoint& mm, Qt::MouseButton button = Qt::LeftButton);
    // Press at `from`, move in a few steps, release at `to` (left button).
    void DragOnPage(int page, const CCA_GPoint& from, const CCA_GPoint& to);
    // The same at viewport points.
    void PressAtViewport(const QPoint& pos);
    void ReleaseAtViewport(const QPoint& pos);
    void MoveToViewport(const QPoint& pos, Qt::MouseButtons held = Qt::NoButton);

    // Puts a picture stamp on a page of the open document, as a placed stamp would be
    // (no undo entry: test set-up). Null when the model refuses it.
    IG_Annot* AddStamp(int page, const CCA_GRect& rect, const char* subType = "Stamp",
                       bool runTime = false);
    // The resource identifier of the picture AddStamp uses (embedded on first use).
    int StampResource();
    // The same stamp on a page of any document, with a picture embedded for it.
    static IG_Annot* AddStampTo(IG_Document* doc, int page, const CCA_GRect& rect,
                                const char* subType = "Stamp", bool runTime = false,
                                int resource = 0);

    // Message boxes: answered with `button` (a QMessageBox::StandardButton) from now on.
    void AnswerMessageBoxes(int button);
    QList<Utils::Widgets::MessageBoxRequest> MessageBoxes() const; // since set-up

    // Runs the operation `name` made by the context with `params`: PerformAction, or
    // ExecuteAction when `perform` is false. Its parameters after the run go to `out`.
    // −1 when no such operation is registered.
    int Run(const char* name, const QVariantMap& params = {}, QVariantMap* out = nullptr,
            bool perform = true);
    QList<const G_Event*> Events(int type) const; // logged by the context, of that type
    QString CurrentTool() const;                  // the view's current tool's name

private:
    bool makeView(); // false when no document was made

    QTemporaryDir m_dir;
    QList<QPair<QByteArray, QByteArray>> m_savedEnv;
    std::unique_ptr<G_UIContext> m_context;
    IG_Document* m_document = nullptr;
    G_DocView* m_view = nullptr;
    int m_answer = 0;
    int m_stampResource = 0;
};

// Programs of other makers that read saved files.
namespace PdfTools
{
// The exit code (−1 when it could not run); standard output and error to `output`.
int Run(const QString& program, const QStringList& args, QByteArray* output = nullptr);
QString Check(const QString& pdf);            // qpdf --check: empty when the file is sound
int AnnotCount(const QString& pdf, int page); // from qpdf's JSON; −1 when unreadable
// Page `page` (from 0) as readers show it (its crop box) drawn by pdftoppm at 72 dpi,
// annotations hidden when asked.
QImage Render(const QString& pdf, int page, bool hideAnnots = false);
// Pixels in the (2r+1)² square around the point (millimetres at 72 dpi) that are seal red.
int RedAround(const QImage& image, const CCA_GPoint& mm, int r = 4);
} // namespace PdfTools
