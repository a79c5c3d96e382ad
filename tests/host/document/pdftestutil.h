#pragma once
// Helpers of the document tests: stamping through the model, and checking written PDF
// files with programs nobody here wrote.

#include "host/base/ca_types.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>

class IG_Annot;
class IG_Document;
class IG_Page;

namespace PdfTestUtil
{
// Runs a program; its standard output and error (merged) in `output`. Exit code, or −1.
int Run(const QString& program, const QStringList& args, QString* output = nullptr,
        int timeoutMs = 60000);
QString Sample(const QString& name); // a path under SAMPLES_DIR
QByteArray ReadFile(const QString& path);
bool WriteFile(const QString& path, const QByteArray& bytes);

// The model on a file (null with a warning when it cannot be opened).
std::unique_ptr<IG_Document> OpenPdf(const QString& path, const QString& password = {});
// A sample picture embedded into the document; its resource id.
int AddSeal(IG_Document* doc, const QString& name = QStringLiteral("seal_red.png"));
std::string StampJson(int resourceId, bool runTime = false);
// The usual automatic place: 40 × 30 mm, 6 mm from the right and bottom edges.
CCA_GRect CornerRect(const IG_Page* page);
// A stamp of picture `res` with a creator and a date, as the plug-in places it.
IG_Annot* Stamp(IG_Page* page, int res, const CCA_GRect& rect, bool runTime = false);

// pdftoppm's picture of one page (1-based) at `dpi`; null on failure.
QImage RenderWithPoppler(const QString& pdf, int page, int dpi);
// True when each channel of the pixel is within `tolerance` of `colour`.
bool Near(QRgb pixel, const QColor& colour, int tolerance = 40);
// The pixel at page millimetres (x, y) of a W × H mm page shown with `rotation`, at `dpi`.
QPoint PixelAt(double xMm, double yMm, double widthMm, double heightMm, int rotation, int dpi);
// Subtypes of each page's /Annots entries as written (mutool), e.g. {"Stamp,Link", ""}.
QStringList AnnotSubtypes(const QString& pdf);
// `pdfimages -list` rows: the object number of every image (SMasks included) drawn.
QStringList ImageObjects(const QString& pdf, QString* listing = nullptr);
// `qpdf --check` passes.
bool QpdfCheck(const QString& pdf, QString* output = nullptr, const QString& password = {});

// Signs `in` into `out` as a signing program does: a signature field on page 1 with a
// visible seal and its /Sig dictionary, written by qpdf (object streams kept, or
// linearized), then the /ByteRange filled in and a detached PKCS#7 signature over it made
// by `openssl cms` with a throw-away key made in `workDir`. Empty, or what failed.
QString SignPdf(const QString& in, const QString& out, const QString& workDir,
                bool linearize = false);
QString PdfSig(const QString& pdf); // pdfsig's report
} // namespace PdfTestUtil
