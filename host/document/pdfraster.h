#pragma once
// Page pictures of a PDF file, drawn by poppler. poppler and the libraries it brings are
// loaded only when a document is first drawn or checked (from the module libreaderraster
// beside this library), so a process that never draws a page, such as a batch run,
// starts without them. One object is used from one thread at a time.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <memory>

class PdfRaster
{
public:
    enum Hint { HideAnnotations = 1, NoPaper = 2 };

    virtual ~PdfRaster() = default;
    virtual int PageCount() const = 0;
    // The page (0-based) at the given resolutions, its own rotation applied; null on failure.
    virtual QImage Render(int page, double xdpi, double ydpi) = 0;

    // Reads `bytes`, or the file at `path` when `bytes` is empty. Null when the file cannot
    // be read or the password does not open it, and when the module is missing.
    static std::unique_ptr<PdfRaster> Open(const QString& path, const QByteArray& bytes,
                                           const QByteArray& password, int hints);
};
