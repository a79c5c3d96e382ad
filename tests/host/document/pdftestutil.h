#pragma once
// Helpers for checking written PDF files with programs nobody here wrote.

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>

namespace PdfTestUtil {
// Runs a program; its standard output (and error, merged) in `output`. Exit code, or −1.
int Run(const QString& program, const QStringList& args, QString* output = nullptr,
        int timeoutMs = 60000);
// pdftoppm's picture of one page (1-based) at `dpi`; null on failure.
QImage RenderWithPoppler(const QString& pdf, int page, int dpi);
// True when the pixel is close to `colour` (each channel within `tolerance`).
bool Near(QRgb pixel, const QColor& colour, int tolerance = 40);
// The pixel at page millimetres (x, y) of a page W × H mm (unrotated) shown with
// `rotation`, in a picture rendered at `dpi`.
QPoint PixelAt(double xMm, double yMm, double widthMm, double heightMm, int rotation, int dpi);
// A sample path under SAMPLES_DIR.
QString Sample(const QString& name);
}

namespace PdfTestUtil {
// Subtypes of each page's /Annots entries as written (mutool), e.g. {"Stamp,Link", ""}.
QStringList AnnotSubtypes(const QString& pdf);
// `pdfimages -list` rows: object number of every image (SMasks included) drawn by the file.
QStringList ImageObjects(const QString& pdf, QString* listing = nullptr);
// `qpdf --check` passes.
bool QpdfCheck(const QString& pdf, QString* output = nullptr);
}

namespace PdfTestUtil {
// Signs `in` into `out` the way a signing program does: a signature field on page 1 with a
// visible seal, its /Sig dictionary with a placeholder, the file written by qpdf (keeping
// object streams, or linearized), then the /ByteRange filled in and a detached PKCS#7
// signature over it made by `openssl cms` with a throw-away key made in `workDir`.
// Empty on success, else what failed.
QString SignPdf(const QString& in, const QString& out, const QString& workDir,
                bool linearize = false);
// `pdfsig`'s report on the file.
QString PdfSig(const QString& pdf);
QByteArray ReadFile(const QString& path);
}
