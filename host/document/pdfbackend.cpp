#include "pdfbackend.h"

#include "pdfimage.h"
#include "readerannot.h"
#include "readerdocument.h"
#include "readerlayer.h"
#include "readerpage.h"
#include "siblingtempfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimeZone>
#include <QUuid>
#include <cmath>
#include <poppler-qt5.h>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFAnnotationObjectHelper.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <nlohmann/json.hpp>
#include <set>

namespace {
constexpr double kPtPerMm = 72.0 / 25.4;

int NormalisedRotation(long long degrees)
{
    long long r = degrees % 360;
    if (r < 0)
        r += 360;
    return int(((r + 45) / 90 % 4) * 90);
}

QByteArray EncodePath(const QString& path) { return QFile::encodeName(path); }

// "yyyy-MM-dd hh:mm:ss" (local time) → "D:yyyyMMddhhmmss+hh'mm'".
std::string ToPdfDate(const QString& text)
{
    QDateTime dt = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    if (!dt.isValid())
        dt = QDateTime::currentDateTime();
    const int offset = dt.offsetFromUtc();
    const int a = std::abs(offset);
    QString s = QStringLiteral("D:") + dt.toString(QStringLiteral("yyyyMMddhhmmss"));
    if (offset == 0)
        s += QLatin1Char('Z');
    else
        s += QString::asprintf("%c%02d'%02d'", offset < 0 ? '-' : '+', a / 3600, (a % 3600) / 60);
    return s.toStdString();
}

// A PDF date → "yyyy-MM-dd hh:mm:ss" as written (the time zone is not applied, so a
// date written by this reader reads back unchanged); empty when not a date.
QString FromPdfDate(const std::string& pdf)
{
    QString s = QString::fromStdString(pdf);
    if (s.startsWith(QLatin1String("D:")))
        s = s.mid(2);
    QString digits;
    for (const QChar c : s) {
        if (!c.isDigit())
            break;
        digits += c;
    }
    if (digits.size() < 4)
        return QString();
    const QString full = digits + QStringLiteral("0101000000").mid(digits.size() - 4);
    const QDateTime dt = QDateTime::fromString(full.left(14), QStringLiteral("yyyyMMddhhmmss"));
    return dt.isValid() ? dt.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) : QString();
}

QString Utf8Text(QPDFObjectHandle value)
{
    return value.isString() ? QString::fromStdString(value.getUTF8Value()) : QString();
}

QString ExceptionMessage(const std::exception& e)
{
    return QString::fromLocal8Bit(e.what());
}

// Page millimetres → the PDF default user space of a page whose crop box is `box`.
QPDFObjectHandle::Rectangle ToPdfRect(const CCA_GRect& r, const QPDFObjectHandle::Rectangle& box)
{
    return QPDFObjectHandle::Rectangle(box.llx + r.left * kPtPerMm, box.ury - r.bottom * kPtPerMm,
                                       box.llx + r.right * kPtPerMm, box.ury - r.top * kPtPerMm);
}

CCA_GRect FromPdfRect(const QPDFObjectHandle::Rectangle& r, const QPDFObjectHandle::Rectangle& box)
{
    const double l = std::min(r.llx, r.urx), rr = std::max(r.llx, r.urx);
    const double b = std::min(r.lly, r.ury), t = std::max(r.lly, r.ury);
    return CCA_GRect(float((l - box.llx) / kPtPerMm), float((box.ury - t) / kPtPerMm),
                     float((rr - box.llx) / kPtPerMm), float((box.ury - b) / kPtPerMm));
}

QPDFObjectHandle::Rectangle CropBoxOf(QPDFPageObjectHelper& page)
{
    QPDFObjectHandle box = page.getCropBox(false, false);
    if (box.isRectangle()) {
        QPDFObjectHandle::Rectangle r = box.getArrayAsRectangle();
        if (r.urx > r.llx && r.ury > r.lly)
            return r;
    }
    return QPDFObjectHandle::Rectangle(0, 0, 612, 792); // the default media box
}

QPDFObjectHandle Name(const char* n) { return QPDFObjectHandle::newName(n); }

// True when "%%EOF" is among the file's last 1024 bytes (a file written to its end).
bool EndsWithEof(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    f.seek(std::max<qint64>(0, f.size() - 1024));
    return f.read(1024).contains("%%EOF");
}
} // namespace

// What the back end remembers of one page: the keys a save rewrites, as the file had them.
struct PageState {
    bool captured = false;
    bool hadAnnots = false, hadContents = false, hadResources = false;
    QPDFObjectHandle annots, contents, resources;
    std::vector<QPDFObjectHandle> otherAnnots; // annotations outside the model, in order
};

struct PdfBackend::Private {
    QString path; // the file poppler draws; empty for a document made in memory
    std::unique_ptr<QPDF> qpdf;
    std::vector<QPDFPageObjectHelper> pages;
    std::vector<PageState> pageStates;
    std::vector<QPDFObjectHandle> sourceAnnots; // file stamps by SourceObject() − 1
    std::map<int, QPDFObjectHandle> forms;      // picture resource → its unit form
    QPDFObjectHandle frameForm;                 // drawn for a stamp without picture
    std::unique_ptr<Poppler::Document> poppler;
    bool popplerTried = false;
    QCache<QString, QImage> rasters{96 * 1024}; // cost in KiB
    quint64 generation = 1;

    void Capture(size_t index)
    {
        PageState& st = pageStates[index];
        if (st.captured)
            return;
        QPDFObjectHandle page = pages[index].getObjectHandle();
        st.hadAnnots = page.hasKey("/Annots");
        st.annots = page.getKey("/Annots");
        st.hadContents = page.hasKey("/Contents");
        st.contents = page.getKey("/Contents");
        st.hadResources = page.hasKey("/Resources");
        st.resources = page.getKey("/Resources");
        st.captured = true;
    }

    void Restore(size_t index)
    {
        PageState& st = pageStates[index];
        QPDFObjectHandle page = pages[index].getObjectHandle();
        auto put = [&page](const char* key, bool had, const QPDFObjectHandle& value) {
            if (had)
                page.replaceKey(key, value);
            else
                page.removeKey(key);
        };
        put("/Annots", st.hadAnnots, st.annots);
        put("/Contents", st.hadContents, st.contents);
        put("/Resources", st.hadResources, st.resources);
    }

    QPDFObjectHandle FormFor(int resourceId, const ReaderDocument* doc)
    {
        const auto it = forms.find(resourceId);
        if (it != forms.end())
            return it->second;
        const PictureResource* res = doc->Resource(resourceId);
        if (!res)
            return FrameForm();
        QPDFObjectHandle image = PdfImage::MakeImage(*qpdf, res->bytes, res->image);
        QPDFObjectHandle form = PdfImage::MakeUnitForm(*qpdf, image);
        forms.emplace(resourceId, form);
        return form;
    }

    QPDFObjectHandle FrameForm()
    {
        if (frameForm.isInitialized())
            return frameForm;
        frameForm = qpdf->newStream();
        QPDFObjectHandle dict = QPDFObjectHandle::newDictionary();
        dict.replaceKey("/Type", Name("/XObject"));
        dict.replaceKey("/Subtype", Name("/Form"));
        dict.replaceKey("/BBox",
                        QPDFObjectHandle::newArray(QPDFObjectHandle::Rectangle(0, 0, 1, 1)));
        frameForm.replaceDict(dict);
        frameForm.replaceStreamData("0.86 0.16 0.16 RG 0.02 w 0.01 0.01 0.98 0.98 re S\n",
                                    QPDFObjectHandle::newNull(), QPDFObjectHandle::newNull());
        return frameForm;
    }

    // The appearance a stamp of the model is saved with.
    QPDFObjectHandle AppearanceOf(const ReaderAnnot* a, const ReaderDocument* doc)
    {
        if (a->SourceObject() > 0 && size_t(a->SourceObject()) <= sourceAnnots.size()) {
            QPDFAnnotationObjectHelper helper(sourceAnnots[size_t(a->SourceObject() - 1)]);
            QPDFObjectHandle ap = helper.getAppearanceStream("/N");
            if (ap.isStream())
                return ap;
            return FrameForm();
        }
        return FormFor(a->ResourceID(), doc);
    }
};

PdfBackend::PdfBackend() : d(std::make_unique<Private>()) {}

PdfBackend::~PdfBackend()
{
    d->rasters.clear();
    d->poppler.reset(); // poppler pages are never kept, so only the document goes
}

std::unique_ptr<ReaderDocument> PdfBackend::Open(const QString& path, QString* error)
{
    auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return std::unique_ptr<ReaderDocument>();
    };
    const QFileInfo info(path);
    if (!info.exists())
        return fail(QStringLiteral("The file %1 does not exist.").arg(path));
    if (!info.isFile())
        return fail(QStringLiteral("%1 is not a file.").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("The file %1 cannot be read.").arg(path));
    const QByteArray head = file.read(1024);
    file.close();
    if (!head.contains("%PDF-"))
        return fail(QStringLiteral("The file %1 is not a PDF document.").arg(path));

    std::unique_ptr<PdfBackend> backend(new PdfBackend());
    Private* d = backend->d.get();
    d->path = path;
    auto doc = std::make_unique<ReaderDocument>();
    try {
        d->qpdf = std::make_unique<QPDF>();
        d->qpdf->setSuppressWarnings(true);
        const QByteArray name = EncodePath(path);
        d->qpdf->processFile(name.constData(), "");
        d->pages = QPDFPageDocumentHelper(*d->qpdf).getAllPages();
        if (d->pages.empty())
            return fail(QStringLiteral("The document %1 has no pages.").arg(path));
        d->pageStates.resize(d->pages.size());
        for (QPDFPageObjectHelper& page : d->pages) {
            const QPDFObjectHandle::Rectangle box = CropBoxOf(page);
            QPDFObjectHandle rotate = page.getAttribute("/Rotate", false);
            const int rotation = rotate.isInteger() ? NormalisedRotation(rotate.getIntValue()) : 0;
            doc->AppendPage(CCA_GSize(float((box.urx - box.llx) / kPtPerMm),
                                      float((box.ury - box.lly) / kPtPerMm)),
                            rotation);
        }
        backend->m_allowAnnotations = d->qpdf->allowModifyAnnotation();
    } catch (const QPDFExc& e) {
        if (e.getErrorCode() == qpdf_e_password)
            return fail(QStringLiteral("The document %1 is protected by a password.").arg(path));
        return fail(QStringLiteral("The file %1 is damaged: %2").arg(path, ExceptionMessage(e)));
    } catch (const std::exception& e) {
        return fail(QStringLiteral("The file %1 is damaged: %2").arg(path, ExceptionMessage(e)));
    }
    // A file cut short and rebuilt from its pieces would be saved with whatever could be
    // found: refuse it rather than lose the rest. A whole file whose cross-reference table
    // is merely off (common in files from simple generators) is rebuilt by qpdf and opens.
    if (d->qpdf->anyWarnings() && !EndsWithEof(path)) {
        bool rebuilt = false;
        for (const QPDFExc& w : d->qpdf->getWarnings()) {
            const std::string m = w.getMessageDetail();
            if (m.find("reconstruct") != std::string::npos
                || m.find("xref") != std::string::npos)
                rebuilt = true;
        }
        if (rebuilt)
            return fail(QStringLiteral("The file %1 is damaged (its cross-reference table is "
                                       "missing or broken).").arg(path));
    }
    // The pages must also be drawable.
    if (!backend->PopplerDocument())
        return fail(QStringLiteral("The file %1 cannot be displayed.").arg(path));

    doc->SetPath(QFileInfo(path).absoluteFilePath());
    doc->SetFileWritable(info.isWritable() && QFileInfo(info.absolutePath()).isWritable());
    doc->SetBackend(std::move(backend));
    return doc;
}

std::unique_ptr<PdfBackend> PdfBackend::CreateBlank(const ReaderDocument* doc, QString* error)
{
    std::unique_ptr<PdfBackend> backend(new PdfBackend());
    Private* d = backend->d.get();
    try {
        d->qpdf = std::make_unique<QPDF>();
        d->qpdf->emptyPDF();
        QPDFPageDocumentHelper pages(*d->qpdf);
        for (int i = 0; i < doc->PageCount(); ++i) {
            const ReaderPage* p = doc->Page(i);
            QPDFObjectHandle page = QPDFObjectHandle::newDictionary();
            page.replaceKey("/Type", Name("/Page"));
            page.replaceKey("/MediaBox", QPDFObjectHandle::newArray(QPDFObjectHandle::Rectangle(
                                             0, 0, p->Width() * kPtPerMm, p->Height() * kPtPerMm)));
            if (p->Rotation() != 0)
                page.replaceKey("/Rotate", QPDFObjectHandle::newInteger(p->Rotation()));
            page.replaceKey("/Resources", QPDFObjectHandle::newDictionary());
            page.replaceKey("/Contents", d->qpdf->newStream(std::string()));
            pages.addPage(QPDFPageObjectHelper(d->qpdf->makeIndirectObject(page)), false);
        }
        d->pages = pages.getAllPages();
        d->pageStates.resize(d->pages.size());
    } catch (const std::exception& e) {
        if (error)
            *error = ExceptionMessage(e);
        return nullptr;
    }
    return backend;
}

bool PdfBackend::LoadPage(ReaderPage* page)
{
    const size_t index = size_t(page->Index());
    if (index >= d->pages.size())
        return false;
    try {
        QPDFPageObjectHelper& helper = d->pages[index];
        const QPDFObjectHandle::Rectangle box = CropBoxOf(helper);
        d->Capture(index);
        QPDFObjectHandle annots = d->pageStates[index].annots;
        if (!annots.isArray())
            return true;
        for (QPDFObjectHandle item : annots.aitems()) {
            if (!item.isDictionary())
                continue;
            QPDFObjectHandle subtype = item.getKey("/Subtype");
            if (!(subtype.isName() && subtype.getName() == "/Stamp")) {
                d->pageStates[index].otherAnnots.push_back(item);
                continue;
            }
            QPDFAnnotationObjectHelper ah(item);
            QPDFObjectHandle rect = item.getKey("/Rect");
            if (!rect.isRectangle()) { // not drawable: keep it as it is
                d->pageStates[index].otherAnnots.push_back(item);
                continue;
            }
            d->sourceAnnots.push_back(item);
            ReaderAnnot* a = page->AddLoadedAnnot(G_AnnotType_Stamp);
            a->SetSource(int(d->sourceAnnots.size()), 0, ah.getAppearanceStream("/N").isStream());
            a->InitRect(FromPdfRect(rect.getArrayAsRectangle(), box));
            QString sub = Utf8Text(item.getKey("/Subj"));
            if (sub.isEmpty())
                sub = QStringLiteral("Stamp");
            QString date = FromPdfDate(item.getKey("/CreationDate").isString()
                                           ? item.getKey("/CreationDate").getUTF8Value()
                                           : std::string());
            if (date.isEmpty() && item.getKey("/M").isString())
                date = FromPdfDate(item.getKey("/M").getUTF8Value());
            a->InitText(GQ_ToCAS(sub), GQ_ToCAS(Utf8Text(item.getKey("/T"))), GQ_ToCAS(date));
            QString nm = Utf8Text(item.getKey("/NM"));
            if (nm.isEmpty())
                nm = QStringLiteral("stampannot-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
            a->SetUniqueName(nm);
            const int flags = item.getKey("/F").isInteger() ? int(item.getKey("/F").getIntValue()) : 0;
            a->SetHidden(flags & (1 << 1));
            a->SetLocked(flags & (1 << 7));
            nlohmann::ordered_json content = nlohmann::ordered_json::object();
            content["RunTime"] = false;
            content["SubType"] = sub.toStdString();
            content["Appearance"] = nlohmann::ordered_json::array();
            a->SetContent(content.dump());
        }
    } catch (const std::exception& e) {
        qWarning("Page %d: annotations could not be read: %s", page->Index() + 1, e.what());
        return false;
    }
    return true;
}

Poppler::Document* PdfBackend::PopplerDocument()
{
    if (d->poppler || d->popplerTried || d->path.isEmpty())
        return d->poppler.get();
    d->popplerTried = true;
    std::unique_ptr<Poppler::Document> doc(Poppler::Document::load(d->path));
    if (!doc || doc->isLocked())
        return nullptr;
    doc->setRenderHint(Poppler::Document::HideAnnotations, true);
    doc->setRenderHint(Poppler::Document::Antialiasing, true);
    doc->setRenderHint(Poppler::Document::TextAntialiasing, true);
    d->poppler = std::move(doc);
    return d->poppler.get();
}

QImage PdfBackend::PageImage(int pageIndex, int dpi)
{
    if (pageIndex < 0 || dpi <= 0)
        return QImage();
    const QString key = QStringLiteral("%1/%2/%3").arg(pageIndex).arg(dpi).arg(d->generation);
    if (QImage* cached = d->rasters.object(key))
        return *cached;
    Poppler::Document* doc = PopplerDocument();
    if (!doc || pageIndex >= doc->numPages())
        return QImage();
    std::unique_ptr<Poppler::Page> page(doc->page(pageIndex));
    if (!page)
        return QImage();
    QImage image = page->renderToImage(dpi, dpi);
    page.reset();
    if (image.isNull())
        return image;
    const int cost = std::max(1, int(image.sizeInBytes() / 1024));
    d->rasters.insert(key, new QImage(image), cost);
    return image;
}

QImage PdfBackend::AnnotAppearance(const ReaderAnnot* annot)
{
    if (!annot || annot->SourceObject() <= 0 || size_t(annot->SourceObject()) > d->sourceAnnots.size())
        return QImage();
    QByteArray bytes;
    double w = 0, h = 0;
    try {
        QPDFAnnotationObjectHelper helper(d->sourceAnnots[size_t(annot->SourceObject() - 1)]);
        QPDFObjectHandle ap = helper.getAppearanceStream("/N");
        if (!ap.isStream())
            return QImage();
        QPDFObjectHandle bboxObj = ap.getDict().getKey("/BBox");
        if (!bboxObj.isRectangle())
            return QImage();
        const QPDFObjectHandle::Rectangle bbox = bboxObj.getArrayAsRectangle();
        QPDFObjectHandle::Matrix m(1, 0, 0, 1, 0, 0);
        QPDFObjectHandle matrix = ap.getDict().getKey("/Matrix");
        if (matrix.isMatrix())
            m = matrix.getArrayAsMatrix();
        // The appearance alone on a page the size of its transformed box: what a viewer
        // maps onto the annotation's rectangle.
        double xs[4], ys[4];
        const double cx[4] = {bbox.llx, bbox.urx, bbox.urx, bbox.llx};
        const double cy[4] = {bbox.lly, bbox.lly, bbox.ury, bbox.ury};
        for (int i = 0; i < 4; ++i) {
            xs[i] = m.a * cx[i] + m.c * cy[i] + m.e;
            ys[i] = m.b * cx[i] + m.d * cy[i] + m.f;
        }
        const double x0 = *std::min_element(xs, xs + 4), x1 = *std::max_element(xs, xs + 4);
        const double y0 = *std::min_element(ys, ys + 4), y1 = *std::max_element(ys, ys + 4);
        w = x1 - x0;
        h = y1 - y0;
        if (!(w > 0) || !(h > 0))
            return QImage();
        QPDF mini;
        mini.emptyPDF();
        QPDFObjectHandle copy = mini.copyForeignObject(ap);
        QPDFObjectHandle xobjects = QPDFObjectHandle::newDictionary();
        xobjects.replaceKey("/Ap", copy);
        QPDFObjectHandle resources = QPDFObjectHandle::newDictionary();
        resources.replaceKey("/XObject", xobjects);
        QPDFObjectHandle page = QPDFObjectHandle::newDictionary();
        page.replaceKey("/Type", Name("/Page"));
        page.replaceKey("/MediaBox",
                        QPDFObjectHandle::newArray(QPDFObjectHandle::Rectangle(x0, y0, x1, y1)));
        page.replaceKey("/Resources", resources);
        page.replaceKey("/Contents", mini.newStream(std::string("/Ap Do\n")));
        QPDFPageDocumentHelper(mini).addPage(QPDFPageObjectHelper(mini.makeIndirectObject(page)),
                                             false);
        QPDFWriter writer(mini);
        writer.setOutputMemory();
        writer.write();
        std::shared_ptr<Buffer> buffer = writer.getBufferSharedPointer();
        bytes = QByteArray(reinterpret_cast<const char*>(buffer->getBuffer()),
                           int(buffer->getSize()));
    } catch (const std::exception& e) {
        qWarning("A stamp's appearance could not be read: %s", e.what());
        return QImage();
    }
    std::unique_ptr<Poppler::Document> doc(Poppler::Document::loadFromData(bytes));
    if (!doc || doc->numPages() < 1)
        return QImage();
    // No paper: the appearance keeps its own transparency.
    doc->setRenderHint(Poppler::Document::IgnorePaperColor, true);
    doc->setRenderHint(Poppler::Document::Antialiasing, true);
    doc->setRenderHint(Poppler::Document::TextAntialiasing, true);
    // About 300 dpi at the annotation's size on the page (a form's own units may be
    // anything, e.g. a unit square), 64 to 2000 pixels on the long side.
    // Each direction on its own, so that a unit-square form gets the rectangle's shape.
    const CCA_GRect r = annot->GetRect();
    auto pixels = [](double mm) { return std::min(2000.0, std::max(16.0, mm / 25.4 * 300.0)); };
    const double xres = pixels(r.Width()) * 72.0 / w;
    const double yres = pixels(r.Height()) * 72.0 / h;
    std::unique_ptr<Poppler::Page> page(doc->page(0));
    if (!page)
        return QImage();
    QImage image = page->renderToImage(xres, yres);
    page.reset();
    return image;
}

bool PdfBackend::ApplyModel(ReaderDocument* doc)
{
    QPDF& pdf = *d->qpdf;
    const std::string now = ToPdfDate(QDateTime::currentDateTime().toString(
        QStringLiteral("yyyy-MM-dd hh:mm:ss")));
    for (int i = 0; i < doc->PageCount() && size_t(i) < d->pages.size(); ++i) {
        ReaderPage* page = doc->Page(i);
        if (!page->IsLoaded())
            continue; // nothing of it was read, so nothing of it changed
        const size_t index = size_t(i);
        d->Capture(index);
        d->Restore(index);
        QPDFPageObjectHelper& helper = d->pages[index];
        QPDFObjectHandle pageObj = helper.getObjectHandle();
        const QPDFObjectHandle::Rectangle box = CropBoxOf(helper);

        // Annotations: those outside the model as they were, then the model's stamps.
        QPDFObjectHandle annots = QPDFObjectHandle::newArray();
        for (const QPDFObjectHandle& other : d->pageStates[index].otherAnnots)
            annots.appendItem(other);
        for (ReaderAnnot* a : page->Annots()) {
            if (a->IsRunTime() || a->Type() != G_AnnotType_Stamp)
                continue;
            QPDFObjectHandle dict;
            if (a->SourceObject() > 0) {
                dict = d->sourceAnnots[size_t(a->SourceObject() - 1)];
                if (!a->IsEdited()) {
                    annots.appendItem(dict);
                    continue;
                }
            } else {
                dict = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
                dict.replaceKey("/Type", Name("/Annot"));
                dict.replaceKey("/Subtype", Name("/Stamp"));
                dict.replaceKey("/F", QPDFObjectHandle::newInteger(4)); // print
                QPDFObjectHandle ap = QPDFObjectHandle::newDictionary();
                ap.replaceKey("/N", d->AppearanceOf(a, doc));
                dict.replaceKey("/AP", ap);
                dict.replaceKey("/P", pageObj);
            }
            dict.replaceKey("/Rect", QPDFObjectHandle::newArray(ToPdfRect(a->GetRect(), box)));
            dict.replaceKey("/T", QPDFObjectHandle::newUnicodeString(a->Creator().str()));
            dict.replaceKey("/Subj", QPDFObjectHandle::newUnicodeString(a->SubType().str()));
            dict.replaceKey("/NM", QPDFObjectHandle::newUnicodeString(a->UniqueName().toStdString()));
            if (!a->CreationDate().IsEmpty())
                dict.replaceKey("/CreationDate", QPDFObjectHandle::newString(
                                                     ToPdfDate(GQ_ToQString(a->CreationDate()))));
            dict.replaceKey("/M", QPDFObjectHandle::newString(now));
            annots.appendItem(dict);
        }
        if (annots.getArrayNItems() > 0 || d->pageStates[index].hadAnnots)
            pageObj.replaceKey("/Annots", annots);

        // Embedded appearances become content drawn after the page's own, each through an
        // XObject of its own name; the page's content is wrapped in q … Q so that what it
        // leaves in the graphics state does not move them.
        std::string added;
        QPDFObjectHandle xobjects;
        QPDFObjectHandle resources;
        for (int l = 0; l < page->LayerCount(); ++l) {
            for (const LayerObject& o : page->Layer(l)->Objects()) {
                QPDFObjectHandle form;
                if (o.source)
                    form = d->AppearanceOf(o.source, doc);
                else
                    form = d->FormFor(o.resourceId, doc);
                if (!resources.isInitialized()) {
                    QPDFObjectHandle inherited = helper.getAttribute("/Resources", false);
                    resources = inherited.isDictionary() ? inherited.shallowCopy()
                                                         : QPDFObjectHandle::newDictionary();
                    QPDFObjectHandle xo = resources.getKey("/XObject");
                    xobjects = xo.isDictionary() ? xo.shallowCopy()
                                                 : QPDFObjectHandle::newDictionary();
                    resources.replaceKey("/XObject", xobjects);
                }
                std::string name;
                for (int n = 1;; ++n) {
                    name = "/StampEmb" + std::to_string(n);
                    if (!xobjects.hasKey(name))
                        break;
                }
                xobjects.replaceKey(name, form);
                QPDFObjectHandle temp = QPDFObjectHandle::newDictionary();
                temp.replaceKey("/Type", Name("/Annot"));
                temp.replaceKey("/Subtype", Name("/Stamp"));
                temp.replaceKey("/Rect", QPDFObjectHandle::newArray(ToPdfRect(o.rect, box)));
                QPDFObjectHandle ap = QPDFObjectHandle::newDictionary();
                ap.replaceKey("/N", form);
                temp.replaceKey("/AP", ap);
                QPDFAnnotationObjectHelper ah(temp);
                added += ah.getPageContentForAppearance(name, page->Rotation(), 0, 0);
            }
        }
        if (!added.empty()) {
            pageObj.replaceKey("/Resources", resources);
            QPDFObjectHandle contents = QPDFObjectHandle::newArray();
            contents.appendItem(pdf.newStream(std::string("q\n")));
            QPDFObjectHandle old = d->pageStates[index].contents;
            if (old.isArray()) {
                for (const QPDFObjectHandle& c : old.aitems())
                    contents.appendItem(c);
            } else if (old.isStream()) {
                contents.appendItem(old);
            }
            contents.appendItem(pdf.newStream("\nQ\n" + added));
            pageObj.replaceKey("/Contents", contents);
        }
    }
    return true;
}

bool PdfBackend::Verify(const QString& path, int pageCount, QString* error) const
{
    try {
        QPDF check;
        check.setSuppressWarnings(true);
        const QByteArray name = EncodePath(path);
        check.processFile(name.constData(), "");
        const size_t n = QPDFPageDocumentHelper(check).getAllPages().size();
        if (int(n) != pageCount) {
            if (error)
                *error = QStringLiteral("The written file has %1 pages instead of %2.")
                             .arg(n)
                             .arg(pageCount);
            return false;
        }
    } catch (const std::exception& e) {
        if (error)
            *error = QStringLiteral("The written file cannot be read back: %1")
                         .arg(ExceptionMessage(e));
        return false;
    }
    std::unique_ptr<Poppler::Document> doc(Poppler::Document::load(path));
    if (!doc || doc->numPages() != pageCount) {
        if (error)
            *error = QStringLiteral("The written file cannot be displayed.");
        return false;
    }
    return true;
}

bool PdfBackend::Save(ReaderDocument* doc, const QString& path, QString* error)
{
    auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    const QFileInfo target(path);
    if (target.exists() && !target.isFile())
        return fail(QStringLiteral("%1 is not a file.").arg(path));

    SiblingTempFile file(path);
    QString message;
    if (!file.Reserve(&message))
        return fail(message);
    const QString temp = file.Path();
    try {
        ApplyModel(doc);
        // qpdf keeps the name it is given: the bytes must outlive the writer.
        const QByteArray tempName = EncodePath(temp);
        QPDFWriter writer(*d->qpdf, tempName.constData());
        writer.setObjectStreamMode(qpdf_o_generate);
        writer.write();
    } catch (const std::exception& e) {
        return fail(QStringLiteral("The document could not be written: %1").arg(ExceptionMessage(e)));
    }
    QString why;
    if (!Verify(temp, doc->PageCount(), &why))
        return fail(why);
    // qpdf and poppler keep reading the file they opened: it stays open, so its data
    // remains after the name points at the new file.
    if (!file.Commit(&message))
        return fail(message);
    return true;
}
