#pragma once
// The PDF back end: qpdf holds the file's objects (read lazily, written on save) and
// poppler draws the pages' original content. The model keeps what changed; a save applies
// it to the page dictionaries afresh each time from the state the file was opened with, so
// saving twice writes the same thing once.
//
// Stamps read from the file keep their own /AP and are drawn by rendering that appearance
// alone through poppler (a one-page PDF made in memory), so they look as other readers
// show them. Saved stamps carry: /Rect, /AP /N (a shared form drawing the picture over
// /BBox [0 0 1 1]), /T creator, /CreationDate and /M, /NM unique name, and the model's
// sub-type in /Subj. Annotations that are not stamps are kept as they are and are not
// part of the model.
//
// One back end is used from one thread only (the GUI thread); no qpdf or poppler call is
// made elsewhere. qpdf's exceptions are caught here and turned into results.

#include "documentbackend.h"

#include <QCache>
#include <QHash>
#include <QString>
#include <map>
#include <memory>
#include <vector>

class ReaderDocument;
class QPDF;
class QPDFObjectHandle;
namespace Poppler {
class Document;
}

class PdfBackend : public DocumentBackend {
public:
    ~PdfBackend() override;

    // Opens the file into a new document; null with a message when it cannot.
    static std::unique_ptr<ReaderDocument> Open(const QString& path, QString* error);
    // A back end for a document made in memory: blank pages of the document's sizes.
    static std::unique_ptr<PdfBackend> CreateBlank(const ReaderDocument* doc, QString* error);

    bool LoadPage(ReaderPage* page) override;
    QImage PageImage(int pageIndex, int dpi) override;
    QImage AnnotAppearance(const ReaderAnnot* annot) override;
    bool Save(ReaderDocument* doc, const QString& path, QString* error) override;
    bool AllowsAnnotationChanges() const override { return m_allowAnnotations; }

private:
    struct Private;
    PdfBackend();
    bool ApplyModel(ReaderDocument* doc);
    bool Verify(const QString& path, int pageCount, QString* error) const;
    Poppler::Document* PopplerDocument();

    std::unique_ptr<Private> d;
    bool m_allowAnnotations = true;
};
