#pragma once
// Helpers of the document and seal maker tests: stamping through the model, checking written
// files with programs nobody here wrote, and signing a file as a signing program does. It
// brings the model's headers the tests use.

#include "host/document/cca_qtdevice.h"
#include "host/document/documentio.h"
#include "host/document/g_application.h"
#include "host/document/ig_annot.h"
#include "host/document/ig_document.h"
#include "host/document/ig_page.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <string>

namespace PdfTestUtil
{
// Runs a program; its output (stdout and stderr) in `output`. Exit code, or −1.
int Run(const QString& program, const QStringList& args, QString* output = nullptr);
QString Sample(const QString& name); // under SAMPLES_DIR
QByteArray ReadFile(const QString& path);
bool WriteFile(const QString& path, const QByteArray& bytes);

std::unique_ptr<IG_Document> OpenPdf(const QString& path, const QString& password = {});
// A sample picture embedded into the document: its resource id.
int AddSeal(IG_Document* doc, const QString& name = QStringLiteral("seal_red.png"));
std::string StampJson(int resourceId, bool runTime = false);
// 40 × 30 mm, 6 mm from the right and bottom edges (the usual automatic place).
CCA_GRect CornerRect(const IG_Page* page);
// A stamp of picture `res`, with a creator and a date, as the plug-in places it.
IG_Annot* Stamp(IG_Page* page, int res, const CCA_GRect& rect, bool runTime = false);

// What our own renderer shows for a page at `dpi`, turned as the page says (as the view does).
QImage RenderModel(IG_Page* page, int dpi, int flags = G_Render_All);
// pdftoppm's picture of one page (1-based, its crop box) at `dpi`; null on failure.
QImage RenderWithPoppler(const QString& pdf, int page, int dpi);
bool Near(QRgb pixel, const QColor& colour, int tolerance = 40); // each channel
// The pixel at page millimetres (x, y) of a W × H mm page shown with `rotation`, at `dpi`.
QPoint PixelAt(double xMm, double yMm, double widthMm, double heightMm, int rotation, int dpi);
// Subtypes of each page's /Annots entries as written (mutool), e.g. {"Stamp,Link", ""}.
QStringList AnnotSubtypes(const QString& pdf, const QString& password = {});
// `pdfimages -list`: the object number of every image (SMasks included) drawn.
QStringList ImageObjects(const QString& pdf, QString* listing = nullptr);
bool QpdfCheck(const QString& pdf, QString* output = nullptr, const QString& password = {});
// Saves the document to `out` and checks the file with qpdf: empty, or what went wrong.
QString SaveChecked(IG_Document* doc, const QString& out, G_SaveReport* report = nullptr);
bool SameRect(const CCA_GRect& a, const CCA_GRect& b, double tolerance = 0.01);

// Signs `in` into `out` as a signing program does: a signature field on page 1 with a
// visible seal and its /Sig dictionary, written by qpdf (object streams kept, or
// linearized), then the /ByteRange filled in and a detached PKCS#7 signature over it made
// by `openssl cms` with a throw-away key made in `workDir`. Empty, or what failed.
QString SignPdf(const QString& in, const QString& out, const QString& workDir,
                bool linearize = false, const QString& password = {});
QString PdfSig(const QString& pdf, const QString& password = {}); // pdfsig's report
} // namespace PdfTestUtil
