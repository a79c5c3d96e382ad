#pragma once

#include "../base/ca_types.h"

#include <QImage>
#include <QString>

class IG_Page;
class ICA_StreamReader;

// What a save did, so the reader can tell the user when a file was written anew.
struct G_SaveReport {
    bool incremental = false; // the file's bytes were kept and the changes appended
    bool rewritten = false;   // the file was written anew: earlier signatures no longer hold
    QString reason;           // why it was written anew (for the user); empty otherwise
};

class IG_Document
{
public:
    virtual ~IG_Document() = default;

    virtual int PageCount() const = 0;
    virtual IG_Page* PageAt(int index) const = 0;
    virtual CCA_String FilePath() const = 0; // UTF-8; empty for a document never saved
    virtual bool IsReadOnly() const = 0;

    // Embeds a picture (type 1: PNG or JPEG bytes, alpha kept) read from the stream and
    // returns its resource identifier (> 0), or 0 when the stream is null or not a picture.
    // The same bytes embedded twice give the same identifier. `flag` is reserved.
    virtual int AddResource(ICA_StreamReader* stream, int type, int flag) = 0;
    virtual QImage ResourceImage(int resourceId) const = 0;

    // Increases with every change; views key their caches by it.
    virtual quint64 Revision() const = 0;
    // Increases with every change that alters what the pages show apart from run-time
    // annotations, so a view can keep its page images while a preview follows the pointer.
    virtual quint64 ContentRevision() const = 0;
    virtual bool IsModified() const = 0;

    // Writes the document to `path` (a new file beside it, renamed over it when
    // complete). False with a message in `error` when it fails; the old file stays.
    virtual bool SaveAs(const QString& path, QString* error) = 0;
    // The same, telling how the file was written.
    virtual bool SaveAs(const QString& path, QString* error, G_SaveReport* report)
    {
        if (report)
            *report = G_SaveReport();
        return SaveAs(path, error);
    }
    // True when the file carries digital signatures, which a change to the page content
    // would break (adding annotations keeps them).
    virtual bool HasSignatures() const { return false; }
};
