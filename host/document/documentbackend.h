#pragma once
// What a file format contributes to a ReaderDocument: the annotations of a page when the
// page is first loaded, page rasters of the original content, the look of annotations
// that came from the file, and writing the model back to a file. Back ends report
// failure by return value and message; nothing is thrown out of them.

#include <QImage>
#include <QMap>
#include <QString>

struct G_SaveReport;
struct PictureResource;
class ReaderDocument;
class ReaderPage;
class ReaderAnnot;

class DocumentBackend
{
public:
    virtual ~DocumentBackend() = default;

    // Adds the page's annotations from the file to the model (called once per page).
    virtual bool LoadPage(ReaderPage* page) = 0;
    // The page's original content at `dpi`, with the page's own rotation applied;
    // a null image when it cannot be drawn.
    virtual QImage PageImage(int pageIndex, int dpi) = 0;
    // The appearance of an annotation read from the file, upright in its rectangle;
    // a null image when it has none.
    virtual QImage AnnotAppearance(const ReaderAnnot* annot) = 0;
    // Writes the document to `path` (a new file renamed over it when complete); `report`
    // (may be null) tells whether the file was updated or written anew, and why.
    virtual bool Save(ReaderDocument* doc, const QString& path, QString* error,
                      G_SaveReport* report) = 0;
    // False when the file forbids changing annotations.
    virtual bool AllowsAnnotationChanges() const = 0;
    // True when the file carries digital signatures.
    virtual bool HasSignatures() const { return false; }
    // True when the file's pages can be drawn (the renderer is loaded on first use, so
    // opening a file does not check it).
    virtual bool CanDraw() { return true; }
    // A picture was added to the document; a back end may start preparing it for saving.
    virtual void PictureAdded(const PictureResource* /*picture*/) {}
    // What the file says about the document as named text fields (the invoice service
    // reads them): a PDF's document information dictionary, an OFD's custom tags.
    virtual QMap<QString, QString> Fields() const { return {}; }
};
