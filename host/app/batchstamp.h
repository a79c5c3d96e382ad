#pragma once
// Stamps one document the way a person does in the reader, through the plug-in's own
// operations: it makes a page current, runs "ti_stamp" and answers the stamp picker through
// the popup seam (auto stamping checked, the margins typed, the page edges chosen, the stamp
// chosen), then, when asked, embeds the placed stamp with "d_embedpageannot", and saves the
// document to another file with its own SaveAs.
//
// The picker's answer for a page depends on the page's size alone (margins, edges and stamp
// stay the same for the whole run), so it is asked once per page size; the other pages of
// that size go straight to the placement operation "tp_stamp" with the answer it gave, as
// "ti_stamp" itself passes it on.
//
// The plug-ins must be loaded first. The view is never shown. A hidden main window owns the
// picker and its dialogs while this object lives, so delete it before the plug-ins are
// unloaded. Message boxes are answered with their default (or most cautious) button and
// printed.

#include "batchoptions.h"
#include "host/base/ca_types.h"
#include "host/document/ig_document.h"

#include <QSize>
#include <QString>
#include <QVariantList>
#include <QVector>
#include <future>
#include <memory>

class G_DocView;
class QTextStream;
class QWidget;

namespace Utils
{
namespace Widgets
{
class Nex_Popup;
}
} // namespace Utils

// A file opened on another thread while the reader starts up (plug-ins, picker, fonts);
// BatchStamp::StampFile takes the document when it gets to that file.
class OpenAhead
{
public:
    OpenAhead(const QString& path, const QString& password);
    ~OpenAhead();
    OpenAhead(const OpenAhead&) = delete;
    OpenAhead& operator=(const OpenAhead&) = delete;
    // True until the document is taken.
    bool Holds(const QString& path) const { return m_result.valid() && path == m_path; }
    // Waits for the document; null with the message of DocumentIO::Open. Only while Holds.
    std::unique_ptr<IG_Document> Take(QString* error, bool* passwordNeeded);

private:
    struct Result {
        std::unique_ptr<IG_Document> document;
        QString error;
        bool passwordNeeded = false;
    };
    QString m_path;
    std::future<Result> m_result;
};

class BatchStamp
{
public:
    // `out` receives the saved copies, `err` the problems, messages and the progress line.
    BatchStamp(const BatchOptions& options, QTextStream& out, QTextStream& err);
    ~BatchStamp();
    BatchStamp(const BatchStamp&) = delete;
    BatchStamp& operator=(const BatchStamp&) = delete;

    // Finds the stamp and its size in millimetres: a picture file as it is, or a library
    // stamp by name, looked up in the picker's lists (opened on a blank page). False after
    // a message when there is no such stamp. Comes before StampFile.
    bool FindStamp();
    QString StampPath() const { return m_stampPath; }
    // Builds the stamp picker (its lists, the fonts it shows) on a blank page unless that is
    // done, and loads the stamp's picture, so that both are ready for the first page: worth
    // it while a document is being read.
    void PreparePicker();
    QSize StampSize() const { return m_stampSize; }

    // Stamps the pages of `input` with the stamp found and saves them to `output` (never
    // `input` itself). False after a message naming `input`; nothing is written then.
    // `ahead` may hold `input` already being opened.
    bool StampFile(const QString& input, const QString& output, OpenAhead* ahead = nullptr);
    // The first stamped page (from 0) of the last file stamped.
    int FirstStampedPage() const { return m_pages.isEmpty() ? 0 : m_pages.first(); }

    // Draws page `page` (from 0) of a saved PDF as other readers show it (annotations
    // included) at 96 dpi and writes it as a PNG. False with a message in `error`.
    static bool RenderPreview(const QString& pdf, const QString& password, int page,
                              const QString& png, QString* error);

private:
    QVariantList pickerLibrary();
    bool findLibraryStamp(const QVariantList& entries);
    bool sizeStamp(const QSize& libraryMillimetres);
    void answerPicker(Utils::Widgets::Nex_Popup* popup);
    // The picker's fields that a run fills in, found once per picker: the picker is one
    // object kept for the whole run, and searching its widget tree by name on every page
    // costs more than the rest of the answer.
    struct PickerFields;
    const PickerFields& pickerFields(Utils::Widgets::Nex_Popup* popup);
    bool stampPage(G_DocView* view, int index);
    int placeByPicker(G_DocView* view, int index);
    int placeAsBefore(G_DocView* view, int index);
    void showProgress(int done, int total, bool finished);
    void fail(const QString& message);

    const BatchOptions& m_options;
    QTextStream& m_out;
    QTextStream& m_err;
    std::unique_ptr<QWidget> m_window; // stands in for the reader's main window
    QString m_input;                   // the file being stamped, for messages
    QString m_stampPath;
    QSize m_stampSize;
    QString m_pickerProblem; // what kept the picker from choosing in the last run
    std::unique_ptr<PickerFields> m_fields;
    // What the picker answered for pages of one size, as "ti_stamp" passes it on.
    struct Answer {
        float pageWidth = -1, pageHeight = -1;
        int stampId = 0;
        CCA_GSize stampSize;
        QString imgPath;
        CCA_GPoint position;
        bool applySign = false;
    };
    QVector<Answer> m_answers;
    // The last file's document is freed on another thread while the run goes on; waited
    // for before the next file and at the end.
    std::future<void> m_disposal;
    QVector<int> m_pages;
    bool m_pickerBuilt = false;
    bool m_progress = false;
    bool m_terminal = false;
    qint64 m_lastProgress = -1; // ms since the file was opened
};
