#pragma once
// The PDF back end: qpdf holds the file's objects (read lazily, written on save) and
// poppler draws the pages' original content. The model keeps what changed; a save applies
// it to the page dictionaries afresh each time from the state the file was opened with, so
// saving twice writes the same thing once.
//
// A save keeps the file's bytes and appends the objects that differ from what the file
// holds (an incremental update, encrypted like the file when it is), so signatures made
// before stay valid. The file is written anew instead, and the save's report says why,
// when it was repaired on opening, when its encryption is of an unknown kind, when another
// program changed it since, when its end cannot be read, and from then on (a rewrite
// renumbers the objects the back end knows).
//
// Stamps read from the file keep their own /AP and are drawn by rendering that appearance
// alone through poppler (a one-page PDF made in memory), so they look as other readers
// show them. Saved stamps carry: /Rect, /AP /N (a shared form drawing the picture over
// /BBox [0 0 1 1]), /T creator, /CreationDate and /M, /NM unique name, and the model's
// sub-type in /Subj. Annotations that are not stamps are kept as they are and are not
// part of the model.
//
// One back end is used from one thread only (the GUI thread); no qpdf or poppler call is
// made elsewhere (pictures are compressed on a worker thread with Qt and zlib alone). poppler
// is loaded when a page is first drawn, not on opening. qpdf's exceptions are caught here
// and turned into results.

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
class QPDFObjGen;
class PdfRaster;

class PdfBackend : public DocumentBackend
{
public:
    ~PdfBackend() override;

    // Opens the file into a new document; null with a message when it cannot.
    // `passwordNeeded` (may be null) is set when the file needs a password it was not given
    // (or was given a wrong one).
    static std::unique_ptr<ReaderDocument> Open(const QString& path, const QString& password,
                                                QString* error, bool* passwordNeeded);
    // A back end for a document made in memory: blank pages of the document's sizes.
    static std::unique_ptr<PdfBackend> CreateBlank(const ReaderDocument* doc, QString* error);

    bool LoadPage(ReaderPage* page) override;
    QImage PageImage(int pageIndex, int dpi) override;
    QImage AnnotAppearance(const ReaderAnnot* annot) override;
    bool Save(ReaderDocument* doc, const QString& path, QString* error,
              G_SaveReport* report) override;
    bool AllowsAnnotationChanges() const override { return m_allowAnnotations; }
    bool HasSignatures() const override;
    bool CanDraw() override;
    void PictureAdded(const PictureResource* picture) override;
    // The text entries of the trailer's /Info dictionary, keys without the slash.
    QMap<QString, QString> Fields() const override;

private:
    struct Private;
    PdfBackend();
    // Puts the model into the qpdf objects; `touched` gets the file's objects that may now
    // differ from what the file holds.
    void ApplyModel(ReaderDocument* doc, std::vector<QPDFObjectHandle>* touched);
    QString IncrementalRefusal() const;
    bool SaveUpdate(ReaderDocument* doc, const QString& path, const QString& temp, QString* error);
    bool SaveWhole(ReaderDocument* doc, const QString& temp, QString* error);
    bool Verify(const QString& path, int pageCount, const std::vector<QPDFObjGen>& objects,
                QString* error) const;
    PdfRaster* Raster(); // the file's pages as poppler draws them; null when it cannot

    std::unique_ptr<Private> d;
    bool m_allowAnnotations = true;
};
