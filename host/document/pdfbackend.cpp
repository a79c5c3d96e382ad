#include "pdfbackend.h"

#include "pdfimage.h"
#include "pdfobjectwriter.h"
#include "pdfraster.h"
#include "pdfupdatecipher.h"
#include "pdfupdatewriter.h"
#include "readerannot.h"
#include "readerdocument.h"
#include "readerlayer.h"
#include "readerpage.h"
#include "siblingtempfile.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimeZone>
#include <QUuid>
#include <array>
#include <charconv>
#include <cmath>
#include <future>
#include <nlohmann/json.hpp>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFAnnotationObjectHelper.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <set>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

namespace
{
constexpr double kPtPerMm = 72.0 / 25.4;
constexpr qint64 kInMemoryBytes = 64LL << 20;

int NormalisedRotation(long long degrees)
{
    long long r = degrees % 360;
    if (r < 0)
        r += 360;
    return int(((r + 45) / 90 % 4) * 90);
}

QByteArray EncodePath(const QString& path)
{
    return QFile::encodeName(path);
}

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

// A number's value; false when it is not a number. Reals are read here as their text
// says, whatever the locale: qpdf's own reading of them is slow enough to show in a batch.
bool NumberOf(QPDFObjectHandle item, double* value)
{
    switch (item.getTypeCode()) {
    case ::ot_integer:
        *value = double(item.getIntValue());
        return true;
    case ::ot_real: {
        const std::string text = item.getRealValue();
        const char* begin = text.data();
        const char* const end = begin + text.size();
        if (begin != end && *begin == '+')
            ++begin;
        const auto [stop, failure] = std::from_chars(begin, end, *value);
        if (failure != std::errc() || stop != end)
            *value = item.getNumericValue();
        return true;
    }
    default:
        return false;
    }
}

// The corners of a rectangle array, ordered; false when it is not four numbers.
bool ReadRect(QPDFObjectHandle box, QPDFObjectHandle::Rectangle* r)
{
    if (!box.isInitialized() || !box.isArray() || box.getArrayNItems() != 4)
        return false;
    double v[4];
    for (int i = 0; i < 4; ++i)
        if (!NumberOf(box.getArrayItem(i), &v[i]))
            return false;
    *r = QPDFObjectHandle::Rectangle(std::min(v[0], v[2]), std::min(v[1], v[3]),
                                     std::max(v[0], v[2]), std::max(v[1], v[3]));
    return true;
}

// A crop box (else the media box), or the default media box when neither is a rectangle
// of some size.
QPDFObjectHandle::Rectangle BoxOf(QPDFObjectHandle box)
{
    QPDFObjectHandle::Rectangle r;
    if (ReadRect(box, &r) && r.urx > r.llx && r.ury > r.lly)
        return r;
    return QPDFObjectHandle::Rectangle(0, 0, 612, 792);
}

QPDFObjectHandle::Rectangle CropBoxOf(QPDFPageObjectHelper& page)
{
    return BoxOf(page.getCropBox(false, false));
}

// The inheritable attributes a page is drawn with.
struct PageAttributes {
    QPDFObjectHandle crop, media, rotate;
    bool Complete() const
    {
        return crop.isInitialized() && media.isInitialized() && rotate.isInitialized();
    }
};

// Takes what `a` lacks from the node's own non-null entries; its /Parent, if any.
QPDFObjectHandle TakeAttributes(QPDFObjectHandle node, PageAttributes& a)
{
    if (!node.isDictionary())
        return QPDFObjectHandle();
    // Keys a node seldom has are asked for with hasKey first: getKey of a missing key makes
    // a described null, which costs more. Those it nearly always has are got at once.
    auto take = [&node](const char* key, QPDFObjectHandle* slot, bool usual) {
        if (slot->isInitialized() || (!usual && !node.hasKey(key)))
            return;
        QPDFObjectHandle value = node.getKey(key);
        if (!value.isNull())
            *slot = value;
    };
    QPDFObjectHandle parent;
    take("/CropBox", &a.crop, false);
    take("/MediaBox", &a.media, true);
    take("/Rotate", &a.rotate, false);
    take("/Parent", &parent, true);
    return parent;
}

// What a page inherits through `parent`: for each attribute, the first node up the
// /Parent chain that has it, each node visited once, as qpdf's page helper finds it. That
// helper walks the chain once per attribute and page; the pages of a long document share a
// few parents, so what each parent passes down is kept in `known`.
PageAttributes Inherited(QPDFObjectHandle parent, std::map<QPDFObjGen, PageAttributes>& known)
{
    const QPDFObjGen og = parent.getObjGen();
    if (parent.isIndirect()) {
        const auto found = known.find(og);
        if (found != known.end())
            return found->second;
    }
    PageAttributes a;
    std::set<QPDFObjGen> seen;
    for (QPDFObjectHandle node = parent; node.isInitialized() && !a.Complete();) {
        if (!seen.insert(node.getObjGen()).second)
            break; // a loop
        node = TakeAttributes(node, a);
    }
    if (parent.isIndirect())
        known.emplace(og, a);
    return a;
}

QPDFObjectHandle Name(const char* n)
{
    return QPDFObjectHandle::newName(n);
}

// A text string: plain ASCII as it is (most creators and names), anything else through
// qpdf's encoding choice.
QPDFObjectHandle TextString(const std::string& utf8)
{
    for (const char c : utf8)
        if (uchar(c) < 0x20 || uchar(c) > 0x7e)
            return QPDFObjectHandle::newUnicodeString(utf8);
    return QPDFObjectHandle::newString(utf8);
}

// A rectangle as an array of reals with four decimals (a ten-thousandth of a point), put
// into text here: qpdf's own number formatting is slow enough to show in a batch.
QPDFObjectHandle RectArray(const QPDFObjectHandle::Rectangle& r)
{
    std::vector<QPDFObjectHandle> items;
    for (double v : {r.llx, r.lly, r.urx, r.ury}) {
        if (!std::isfinite(v) || std::fabs(v) > 1e12) {
            items.push_back(QPDFObjectHandle::newReal(0.0));
            continue;
        }
        const long long units = std::llround(std::fabs(v) * 10000);
        std::string text = (v < 0 && units != 0 ? "-" : "") + std::to_string(units / 10000);
        if (const int frac = int(units % 10000)) {
            char digits[4] = {char('0' + frac / 1000), char('0' + frac / 100 % 10),
                              char('0' + frac / 10 % 10), char('0' + frac % 10)};
            int n = 4;
            while (digits[n - 1] == '0')
                --n;
            text += '.';
            text.append(digits, size_t(n));
        }
        items.push_back(QPDFObjectHandle::newReal(text));
    }
    return QPDFObjectHandle::newArray(items);
}

// What an object was written as, to tell later whether it changed: small ones (nearly all)
// as they are, which compares faster than hashing them; large ones by their hash.
QByteArray Digest(const std::string& body)
{
    if (body.size() <= 2048)
        return QByteArray(body.data(), int(body.size()));
    return QCryptographicHash::hash(QByteArray::fromRawData(body.data(), int(body.size())),
                                    QCryptographicHash::Sha256);
}

// True when a signed signature field is among the form's fields (kids followed, /FT
// inherited, each object visited once).
bool CarriesSignatures(QPDF& pdf)
{
    QPDFObjectHandle form = pdf.getRoot().getKey("/AcroForm");
    if (!form.isDictionary() || !form.getKey("/Fields").isArray())
        return false;
    std::vector<std::pair<QPDFObjectHandle, std::string>> stack;
    for (QPDFObjectHandle f : form.getKey("/Fields").aitems())
        stack.emplace_back(f, std::string());
    std::set<QPDFObjGen> seen;
    for (int visited = 0; !stack.empty() && visited < 100000; ++visited) {
        auto [field, inherited] = stack.back();
        stack.pop_back();
        if (!field.isDictionary() || (field.isIndirect() && !seen.insert(field.getObjGen()).second))
            continue;
        QPDFObjectHandle ft = field.getKey("/FT");
        const std::string type = ft.isName() ? ft.getName() : inherited;
        if (type == "/Sig" && field.getKey("/V").isDictionary())
            return true;
        if (field.getKey("/Kids").isArray())
            for (QPDFObjectHandle kid : field.getKey("/Kids").aitems())
                stack.emplace_back(kid, type);
    }
    return false;
}

// A widget of a signed signature field (its own /FT and /V, or its parent's).
bool IsSignedWidget(QPDFObjectHandle annot)
{
    QPDFObjectHandle field = annot;
    for (int depth = 0; depth < 8 && field.isDictionary(); ++depth) {
        QPDFObjectHandle ft = field.getKey("/FT");
        if (ft.isName())
            return ft.getName() == "/Sig" && field.getKey("/V").isDictionary();
        field = field.getKey("/Parent");
    }
    return false;
}

struct FileStamp {
    qint64 size = -1;
    QDateTime modified;
    bool operator==(const FileStamp& o) const { return size == o.size && modified == o.modified; }
};

FileStamp StampOf(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() ? FileStamp{info.size(), info.lastModified()} : FileStamp();
}

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
    // The /Annots entries in order, each with the model's stamp read from it (null for
    // those outside the model, which are kept as they are).
    std::vector<std::pair<QPDFObjectHandle, ReaderAnnot*>> items;
    QPDFObjectHandle closing; // the content stream after the page's own, once made
    std::string closingText;
    bool changed = false; // a save put the model into the page dictionary
};

struct PdfBackend::Private {
    QString path; // the file poppler draws; empty for a document made in memory
    std::unique_ptr<QPDF> qpdf;
    std::vector<QPDFPageObjectHelper> pages;
    std::vector<PageState> pageStates;
    std::vector<QPDFObjectHandle::Rectangle> boxes; // each page's crop box, read once
    std::vector<QPDFObjectHandle> sourceAnnots;     // file stamps by SourceObject() − 1
    std::map<int, QPDFObjectHandle> forms;          // picture resource → its unit form
    // Pictures being compressed on a worker thread while the document is stamped.
    std::map<int, std::shared_future<PdfImage::EncodedPicture>> encodings;
    QPDFObjectHandle frameForm; // drawn for a stamp without picture
    QPDFObjectHandle opening;   // "q" before a page's own content
    std::unique_ptr<PdfRaster> raster;
    bool rasterTried = false;
    QCache<QString, QImage> rasters{96 * 1024}; // cost in KiB
    quint64 generation = 1;
    QByteArray bytes; // the file as read, when read at once (qpdf and poppler parse it)
    std::string password;
    bool signatures = false;
    bool repaired = false;   // qpdf rebuilt the cross-reference table on opening
    bool renumbered = false; // written whole once: qpdf's numbers are not the file's
    QString base;            // the file whose bytes an update keeps: the last one saved
    FileStamp baseStamp;
    int firstNew = 0; // objects from this number on were made here (0: not known yet)
    std::map<QPDFObjGen, QByteArray> written; // digest of objects as the file now has them
    std::unordered_map<const ReaderAnnot*, QPDFObjectHandle> newAnnots; // stamps made here, once
    // What a stamp made here is written as, put together from its prototype's text when it
    // was made; dropped when the stamp's keys change.
    struct MadeText {
        std::string body;
        std::vector<QPDFObjGen> refs;
    };
    std::map<QPDFObjGen, MadeText> madeTexts;
    std::map<QPDFObjGen, QByteArray> pendingWritten; // this save's, until committed
    int fileSize = 0, pendingSize = 0; // the /Size of the last update written, and this one's

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
        if (!st.changed)
            return; // as the file has it
        st.changed = false;
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
        const auto encoded = encodings.find(resourceId);
        QPDFObjectHandle image = encoded != encodings.end()
                                     ? PdfImage::MakeImage(*qpdf, encoded->second.get())
                                     : PdfImage::MakeImage(*qpdf, res->bytes, res->image);
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
    d->raster.reset();
}

std::unique_ptr<ReaderDocument> PdfBackend::Open(const QString& path, const QString& password,
                                                 QString* error, bool* passwordNeeded)
{
    if (passwordNeeded)
        *passwordNeeded = false;
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
    if (!head.contains("%PDF-"))
        return fail(QStringLiteral("The file %1 is not a PDF document.").arg(path));

    std::unique_ptr<PdfBackend> backend(new PdfBackend());
    Private* d = backend->d.get();
    // A file of usual size is read at once: qpdf and poppler then parse from memory
    // instead of seeking and reading the file for every object.
    if (file.size() <= kInMemoryBytes) {
        file.seek(0);
        d->bytes = file.readAll();
    }
    file.close();
    d->path = path;
    d->base = path;
    d->baseStamp = StampOf(path);
    d->password = password.toStdString();
    auto doc = std::make_unique<ReaderDocument>();
    try {
        d->qpdf = std::make_unique<QPDF>();
        d->qpdf->setSuppressWarnings(true);
        const QByteArray name = EncodePath(path);
        if (d->bytes.isEmpty())
            d->qpdf->processFile(name.constData(), d->password.c_str());
        else
            d->qpdf->processMemoryFile(name.constData(), d->bytes.constData(),
                                       size_t(d->bytes.size()), d->password.c_str());
        d->pages = QPDFPageDocumentHelper(*d->qpdf).getAllPages();
        if (d->pages.empty())
            return fail(QStringLiteral("The document %1 has no pages.").arg(path));
        d->pageStates.resize(d->pages.size());
        std::map<QPDFObjGen, PageAttributes> parents;
        for (QPDFPageObjectHelper& page : d->pages) {
            QPDFObjectHandle::Rectangle box;
            QPDFObjectHandle rotate;
            QPDFObjectHandle pageObj = page.getObjectHandle();
            if (pageObj.isDictionary()) {
                PageAttributes a;
                QPDFObjectHandle parent = TakeAttributes(pageObj, a);
                if (!a.Complete() && parent.isInitialized()) {
                    const PageAttributes up = Inherited(parent, parents);
                    for (auto [mine, theirs] : {std::pair(&a.crop, &up.crop),
                                                {&a.media, &up.media},
                                                {&a.rotate, &up.rotate}})
                        if (!mine->isInitialized())
                            *mine = *theirs;
                }
                box = BoxOf(a.crop.isInitialized() ? a.crop : a.media);
                rotate = a.rotate;
            } else { // not a page dictionary: as qpdf's helper reads it
                box = CropBoxOf(page);
                rotate = page.getAttribute("/Rotate", false);
            }
            d->boxes.push_back(box);
            const int rotation = rotate.isInitialized() && rotate.isInteger()
                                     ? NormalisedRotation(rotate.getIntValue())
                                     : 0;
            doc->AppendPage(CCA_GSize(float((box.urx - box.llx) / kPtPerMm),
                                      float((box.ury - box.lly) / kPtPerMm)),
                            rotation);
        }
        backend->m_allowAnnotations = d->qpdf->allowModifyAnnotation();
        d->signatures = CarriesSignatures(*d->qpdf);
    } catch (const QPDFExc& e) {
        if (e.getErrorCode() == qpdf_e_password) {
            if (passwordNeeded)
                *passwordNeeded = true;
            if (!password.isEmpty())
                return fail(QStringLiteral("The password for %1 is not correct.").arg(path));
            return fail(QStringLiteral("The document %1 is protected by a password.").arg(path));
        }
        return fail(QStringLiteral("The file %1 is damaged: %2").arg(path, ExceptionMessage(e)));
    } catch (const std::exception& e) {
        return fail(QStringLiteral("The file %1 is damaged: %2").arg(path, ExceptionMessage(e)));
    }
    // A file cut short and rebuilt from its pieces would be saved with whatever could be
    // found: refuse it rather than lose the rest. A whole file whose cross-reference table
    // is merely off (common in files from simple generators) is rebuilt by qpdf and opens.
    if (d->qpdf->anyWarnings()) {
        for (const QPDFExc& w : d->qpdf->getWarnings()) {
            const std::string m = w.getMessageDetail();
            if (m.find("reconstruct") != std::string::npos || m.find("xref") != std::string::npos)
                d->repaired = true;
        }
        if (d->repaired && !EndsWithEof(path))
            return fail(QStringLiteral("The file %1 is damaged (its cross-reference table is "
                                       "missing or broken).")
                            .arg(path));
    }

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
        for (QPDFPageObjectHelper& page : d->pages)
            d->boxes.push_back(CropBoxOf(page));
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
        const QPDFObjectHandle::Rectangle box = d->boxes[index];
        d->Capture(index);
        QPDFObjectHandle annots = d->pageStates[index].annots;
        if (!annots.isArray())
            return true;
        std::vector<std::pair<QPDFObjectHandle, ReaderAnnot*>>& items = d->pageStates[index].items;
        for (QPDFObjectHandle item : annots.aitems()) {
            items.emplace_back(item, nullptr);
            if (!item.isDictionary())
                continue;
            QPDFObjectHandle subtype = item.getKey("/Subtype");
            QPDFObjectHandle rect = item.getKey("/Rect");
            QPDFAnnotationObjectHelper ah(item);
            if (subtype.isName() && subtype.getName() == "/Widget" && rect.isRectangle() &&
                IsSignedWidget(item) && ah.getAppearanceStream("/N").isStream()) {
                // A signature's own seal: the model knows it, the page draws it (poppler
                // draws signature widgets with the content) and the file keeps it as it is.
                d->sourceAnnots.push_back(item);
                ReaderAnnot* a = page->AddLoadedAnnot(G_AnnotType_Stamp);
                a->SetSource(int(d->sourceAnnots.size()), 0, true);
                a->InitRect(FromPdfRect(rect.getArrayAsRectangle(), box));
                a->InitText("Signature", CCA_String(), CCA_String());
                a->SetSignature(true);
                a->SetLocked(true);
                a->SetHidden(true);
                a->SetUniqueName(Utf8Text(item.getKey("/T")));
                a->SetContent("{\"RunTime\":false,\"SubType\":\"Signature\",\"Appearance\":[]}");
                continue;
            }
            if (!(subtype.isName() && subtype.getName() == "/Stamp") || !rect.isRectangle())
                continue; // not a stamp, or not drawable: kept as it is
            d->sourceAnnots.push_back(item);
            ReaderAnnot* a = page->AddLoadedAnnot(G_AnnotType_Stamp);
            items.back().second = a;
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
                nm = QStringLiteral("stampannot-") +
                     QUuid::createUuid().toString(QUuid::WithoutBraces);
            a->SetUniqueName(nm);
            const int flags =
                item.getKey("/F").isInteger() ? int(item.getKey("/F").getIntValue()) : 0;
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

PdfRaster* PdfBackend::Raster()
{
    if (d->raster || d->rasterTried || d->path.isEmpty())
        return d->raster.get();
    d->rasterTried = true;
    d->raster = PdfRaster::Open(d->path, d->bytes, QByteArray::fromStdString(d->password),
                                PdfRaster::HideAnnotations);
    return d->raster.get();
}

bool PdfBackend::CanDraw()
{
    return Raster() != nullptr;
}

QImage PdfBackend::PageImage(int pageIndex, int dpi)
{
    if (pageIndex < 0 || dpi <= 0)
        return QImage();
    const QString key = QStringLiteral("%1/%2/%3").arg(pageIndex).arg(dpi).arg(d->generation);
    if (QImage* cached = d->rasters.object(key))
        return *cached;
    PdfRaster* raster = Raster();
    if (!raster)
        return QImage();
    QImage image = raster->Render(pageIndex, dpi, dpi);
    if (image.isNull())
        return image;
    const int cost = std::max(1, int(image.sizeInBytes() / 1024));
    d->rasters.insert(key, new QImage(image), cost);
    return image;
}

QImage PdfBackend::AnnotAppearance(const ReaderAnnot* annot)
{
    if (!annot || annot->SourceObject() <= 0 ||
        size_t(annot->SourceObject()) > d->sourceAnnots.size())
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
        bytes =
            QByteArray(reinterpret_cast<const char*>(buffer->getBuffer()), int(buffer->getSize()));
    } catch (const std::exception& e) {
        qWarning("A stamp's appearance could not be read: %s", e.what());
        return QImage();
    }
    // No paper: the appearance keeps its own transparency.
    std::unique_ptr<PdfRaster> raster = PdfRaster::Open(QString(), bytes, {}, PdfRaster::NoPaper);
    if (!raster)
        return QImage();
    // About 300 dpi at the annotation's size on the page (a form's own units may be
    // anything, e.g. a unit square), 64 to 2000 pixels on the long side.
    // Each direction on its own, so that a unit-square form gets the rectangle's shape.
    const CCA_GRect r = annot->GetRect();
    auto pixels = [](double mm) { return std::min(2000.0, std::max(16.0, mm / 25.4 * 300.0)); };
    const double xres = pixels(r.Width()) * 72.0 / w;
    const double yres = pixels(r.Height()) * 72.0 / h;
    return raster->Render(0, xres, yres);
}

bool PdfBackend::HasSignatures() const
{
    return d->signatures;
}

QMap<QString, QString> PdfBackend::Fields() const
{
    QMap<QString, QString> fields;
    if (!d->qpdf)
        return fields;
    try {
        QPDFObjectHandle info = d->qpdf->getTrailer().getKey("/Info");
        if (!info.isDictionary())
            return fields;
        for (const std::string& key : info.getKeys()) {
            const QString value = Utf8Text(info.getKey(key));
            if (!value.isEmpty())
                fields.insert(QString::fromStdString(key.substr(1)), value);
        }
    } catch (const std::exception&) {
        // A damaged /Info says nothing; the document itself is still usable.
    }
    return fields;
}

void PdfBackend::PictureAdded(const PictureResource* picture)
{
    if (picture && !d->encodings.count(picture->id))
        d->encodings[picture->id] =
            std::async(std::launch::async, PdfImage::Encode, picture->bytes, picture->image)
                .share();
}

void PdfBackend::ApplyModel(ReaderDocument* doc, std::vector<QPDFObjectHandle>* touched)
{
    QPDF& pdf = *d->qpdf;
    const std::string now =
        ToPdfDate(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
    // A batch gives its stamps the same creator, sub-type and date: each text is made once
    // and shared (they are never changed in place).
    std::map<std::string, QPDFObjectHandle> texts, dates;
    auto text = [&texts](const std::string& utf8) {
        auto found = texts.find(utf8);
        return found != texts.end() ? found->second
                                    : texts.emplace(utf8, TextString(utf8)).first->second;
    };
    const QPDFObjectHandle modified = QPDFObjectHandle::newString(now);
    // Stamps of one size on pages of one size share their /Rect array too.
    std::map<std::array<double, 4>, QPDFObjectHandle> rects;
    using Keys = std::map<std::string, QPDFObjectHandle>;
    // The keys the model decides, into `keys`: a new stamp's dictionary is made from them
    // at once, an edited one gets each (replaceKey is slow enough to show in a batch).
    auto modelKeys = [&](Keys& keys, const ReaderAnnot* a, const QPDFObjectHandle::Rectangle& box) {
        const QPDFObjectHandle::Rectangle r = ToPdfRect(a->GetRect(), box);
        auto rect = rects.find({r.llx, r.lly, r.urx, r.ury});
        if (rect == rects.end())
            rect = rects.emplace(std::array<double, 4>{r.llx, r.lly, r.urx, r.ury}, RectArray(r))
                       .first;
        keys["/Rect"] = rect->second;
        keys["/T"] = text(a->Creator().str());
        keys["/Subj"] = text(a->SubType().str());
        keys["/NM"] = TextString(a->UniqueName().toStdString());
        if (!a->CreationDate().IsEmpty()) {
            const std::string date = a->CreationDate().str();
            auto found = dates.find(date);
            if (found == dates.end())
                found = dates
                            .emplace(date, QPDFObjectHandle::newString(
                                               ToPdfDate(GQ_ToQString(a->CreationDate()))))
                            .first;
            keys["/CreationDate"] = found->second;
        }
        keys["/M"] = modified;
    };
    auto setKeys = [&](QPDFObjectHandle dict, const ReaderAnnot* a,
                       const QPDFObjectHandle::Rectangle& box) {
        Keys keys;
        modelKeys(keys, a, box);
        for (const auto& [key, value] : keys)
            dict.replaceKey(key, value);
    };
    const QPDFObjectHandle annotName = Name("/Annot"), stampName = Name("/Stamp");
    const QPDFObjectHandle printFlag = QPDFObjectHandle::newInteger(4);
    // The stamps of a batch differ in /NM and /P alone: each new one is a copy of a
    // prototype holding the rest, and stamps of one picture share their /AP. Like the texts,
    // these values are shared and never changed in place (an edit replaces the key).
    std::map<QPDFObjGen, QPDFObjectHandle> appearances;
    auto appearanceDict = [&appearances](QPDFObjectHandle form) {
        auto found = appearances.find(form.getObjGen());
        if (found == appearances.end() || !form.isIndirect())
            found = appearances
                        .insert_or_assign(form.getObjGen(),
                                          QPDFObjectHandle::newDictionary(Keys{{"/N", form}}))
                        .first;
        return found->second;
    };
    // A prototype's entries are serialised once, for the text of the stamps made from it.
    struct Prototype {
        Keys keys;
        std::string text;
        std::vector<QPDFObjGen> refs;
    };
    std::map<std::tuple<std::array<double, 4>, std::string, std::string, std::string, QPDFObjGen>,
             Prototype>
        prototypes;
    const ReaderAnnot* lastAnnot = nullptr; // the stamp the last prototype was asked for
    const Prototype* lastPrototype = nullptr;
    std::array<double, 4> lastRect{};
    QPDFObjGen lastForm;
    // `form`: the stamp's appearance when it exists already, else uninitialised.
    auto prototypeOf = [&](const ReaderAnnot* a, const QPDFObjectHandle::Rectangle& box,
                           QPDFObjectHandle form) -> const Prototype& {
        const QPDFObjectHandle::Rectangle r = ToPdfRect(a->GetRect(), box);
        const std::array<double, 4> rect{r.llx, r.lly, r.urx, r.ury};
        const QPDFObjGen formNumber = form.isInitialized() ? form.getObjGen() : QPDFObjGen();
        // Consecutive stamps of a batch mostly ask for the same one.
        if (lastAnnot && rect == lastRect && formNumber == lastForm &&
            a->Creator() == lastAnnot->Creator() && a->SubType() == lastAnnot->SubType() &&
            a->CreationDate() == lastAnnot->CreationDate()) {
            lastAnnot = a;
            return *lastPrototype;
        }
        auto key = std::make_tuple(rect, a->Creator().str(), a->SubType().str(),
                                   a->CreationDate().str(), formNumber);
        auto found = prototypes.find(key);
        if (found == prototypes.end()) {
            Keys keys{{"/Type", annotName}, {"/Subtype", stampName}, {"/F", printFlag}};
            if (form.isIndirect())
                keys["/AP"] = appearanceDict(form);
            modelKeys(keys, a, box);
            keys.erase("/NM");
            PdfObjectWriter writer;
            std::string text = writer.Entries(keys);
            found = prototypes
                        .emplace(std::move(key),
                                 Prototype{std::move(keys), std::move(text), writer.References()})
                        .first;
        }
        lastAnnot = a;
        lastRect = rect;
        lastForm = formNumber;
        lastPrototype = &found->second;
        return found->second;
    };
    for (int i = 0; i < doc->PageCount() && size_t(i) < d->pages.size(); ++i) {
        ReaderPage* page = doc->Page(i);
        if (!page->IsLoaded())
            continue; // nothing of it was read, so nothing of it changed
        const size_t index = size_t(i);
        d->Capture(index);
        d->Restore(index);
        PageState& state = d->pageStates[index];
        QPDFPageObjectHelper& helper = d->pages[index];
        QPDFObjectHandle pageObj = helper.getObjectHandle();
        const QPDFObjectHandle::Rectangle box = d->boxes[index];
        const QList<ReaderAnnot*> onPage = page->Annots();

        // Annotations in the file's order (stamps deleted in the model left out), then the
        // stamps made here. The page keeps its own /Annots when that changes nothing.
        QPDFObjectHandle annots = QPDFObjectHandle::newArray();
        bool same = true;
        for (const auto& [item, a] : state.items) {
            if (a && !onPage.contains(a)) {
                same = false;
                continue;
            }
            if (a && a->IsEdited()) {
                setKeys(item, a, box);
                if (item.isIndirect())
                    touched->push_back(item);
                else
                    same = false;
            }
            annots.appendItem(item);
        }
        for (ReaderAnnot* a : onPage) {
            if (a->IsRunTime() || a->Type() != G_AnnotType_Stamp || a->SourceObject() > 0)
                continue;
            auto found = d->newAnnots.find(a);
            if (found == d->newAnnots.end()) {
                // A picture's appearance is made with its first stamp, and numbered after
                // it, as it always was; later stamps find it in their prototype.
                const auto made = d->forms.find(a->ResourceID());
                QPDFObjectHandle form = made != d->forms.end() ? made->second : QPDFObjectHandle();
                const Prototype& proto = prototypeOf(a, box, form);
                const bool apInPrototype = proto.keys.count("/AP") != 0;
                QPDFObjectHandle nm = TextString(a->UniqueName().toStdString());
                QPDFObjectHandle dict =
                    pdf.makeIndirectObject(QPDFObjectHandle::newDictionary(proto.keys));
                dict.replaceKey("/NM", nm);
                dict.replaceKey("/P", pageObj);
                if (!apInPrototype) {
                    form = d->AppearanceOf(a, doc);
                    dict.replaceKey("/AP", appearanceDict(form));
                }
                found = d->newAnnots.emplace(a, dict).first;
                if (form.isIndirect() && pageObj.isIndirect()) {
                    Private::MadeText& text = d->madeTexts[dict.getObjGen()];
                    text.refs.clear();
                    text.body.reserve(proto.text.size() + 160);
                    text.body = "<< ";
                    if (!apInPrototype) {
                        text.body += "/AP << /N ";
                        PdfObjectWriter::AppendRef(form.getObjGen(), &text.body);
                        text.body += " >> ";
                        text.refs.push_back(form.getObjGen());
                    }
                    text.body += "/NM ";
                    PdfObjectWriter::AppendString(nm.getStringValue(), &text.body);
                    text.body += " /P ";
                    PdfObjectWriter::AppendRef(pageObj.getObjGen(), &text.body);
                    text.body += ' ';
                    text.body += proto.text;
                    text.body += ">>";
                    text.refs.insert(text.refs.end(), proto.refs.begin(), proto.refs.end());
                    text.refs.push_back(pageObj.getObjGen());
                }
            } else if (a->IsEdited()) {
                setKeys(found->second, a, box);
                d->madeTexts.erase(found->second.getObjGen());
            }
            annots.appendItem(found->second);
            same = false;
        }
        if (!same) {
            pageObj.replaceKey("/Annots", annots);
            state.changed = true;
        }

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
                    xobjects =
                        xo.isDictionary() ? xo.shallowCopy() : QPDFObjectHandle::newDictionary();
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
                temp.replaceKey("/Rect", RectArray(ToPdfRect(o.rect, box)));
                QPDFObjectHandle ap = QPDFObjectHandle::newDictionary();
                ap.replaceKey("/N", form);
                temp.replaceKey("/AP", ap);
                QPDFAnnotationObjectHelper ah(temp);
                added += ah.getPageContentForAppearance(name, page->Rotation(), 0, 0);
            }
        }
        if (!added.empty()) {
            pageObj.replaceKey("/Resources", resources);
            // The two streams around the page's own content are made once and refilled,
            // so saving again writes them again only when what they draw changed.
            if (!d->opening.isInitialized())
                d->opening = pdf.newStream(std::string("q\n")); // one for every page
            if (!state.closing.isInitialized())
                state.closing = pdf.newStream(std::string());
            if (state.closingText != added) {
                state.closingText = added;
                state.closing.replaceStreamData("\nQ\n" + added, QPDFObjectHandle::newNull(),
                                                QPDFObjectHandle::newNull());
            }
            QPDFObjectHandle contents = QPDFObjectHandle::newArray();
            contents.appendItem(d->opening);
            if (state.contents.isArray()) {
                for (const QPDFObjectHandle& c : state.contents.aitems())
                    contents.appendItem(c);
            } else if (state.contents.isStream()) {
                contents.appendItem(state.contents);
            }
            contents.appendItem(state.closing);
            pageObj.replaceKey("/Contents", contents);
            state.changed = true;
        }
        // A page the file already holds differently (an earlier save) is looked at too.
        if (!same || !added.empty() || d->written.count(pageObj.getObjGen()))
            touched->push_back(pageObj);
    }
}

QString PdfBackend::IncrementalRefusal() const
{
    if (d->base.isEmpty())
        return QStringLiteral("The document was not read from a file.");
    if (d->renumbered)
        return QStringLiteral("The file was written anew by an earlier save.");
    if (d->repaired)
        return QStringLiteral("The file was damaged and was repaired when it was opened.");
    if (d->qpdf->isEncrypted() && !PdfUpdateCipher().Init(*d->qpdf))
        return QStringLiteral("The file's encryption is of a kind this reader cannot add to.");
    if (!(StampOf(d->base) == d->baseStamp))
        return QStringLiteral("The file was changed by another program since it was opened.");
    PdfUpdateWriter probe;
    if (!probe.Inspect(d->base))
        return QStringLiteral("The end of the file could not be read.");
    return QString();
}

bool PdfBackend::SaveUpdate(ReaderDocument* doc, const QString& path, const QString& temp,
                            QString* error)
{
    PdfUpdateWriter writer;
    PdfObjectWriter text;
    std::vector<QPDFObjGen> numbers;
    QPDF& pdf = *d->qpdf;
    // An encrypted file's update is encrypted like the rest of it.
    PdfUpdateCipher cipher;
    const bool encrypted = pdf.isEncrypted() && cipher.Init(pdf);
    try {
        if (!writer.Inspect(d->base)) {
            if (error)
                *error = QStringLiteral("The end of the file %1 could not be read.").arg(d->base);
            return false;
        }
        QPDFObjectHandle trailer = pdf.getTrailer();
        const int oldSize =
            trailer.getKey("/Size").isInteger() ? int(trailer.getKey("/Size").getIntValue()) : 0;
        if (d->firstNew == 0) {
            // Numbers the file's table marks free stay unused: every object made here is
            // numbered above what the file names.
            QPDFObjectHandle mark = pdf.makeIndirectObject(QPDFObjectHandle::newNull());
            while (mark.getObjectID() < oldSize)
                mark = pdf.makeIndirectObject(QPDFObjectHandle::newNull());
            d->firstNew = mark.getObjectID();
        }
        std::vector<QPDFObjectHandle> queue;
        ApplyModel(doc, &queue);
        // What the touched objects now are, and every object made here that they reach,
        // written when it differs from what the file holds.
        std::unordered_set<unsigned long long> seen; // as key() packs number and generation
        auto key = [](const QPDFObjGen& og) {
            return (static_cast<unsigned long long>(unsigned(og.getObj())) << 32) |
                   unsigned(og.getGen());
        };
        while (!queue.empty()) {
            QPDFObjectHandle obj = queue.back();
            queue.pop_back();
            const QPDFObjGen og = obj.getObjGen();
            if (!seen.insert(key(og)).second)
                continue;
            size_t dictEnd = 0;
            const auto made = d->madeTexts.find(og);
            const bool madeHere = made != d->madeTexts.end();
            std::string body = madeHere ? made->second.body : text.Body(obj, &dictEnd);
            if (madeHere)
                dictEnd = body.size();
            for (const QPDFObjGen& r : madeHere ? made->second.refs : text.References())
                if (r.getObj() >= d->firstNew && !seen.count(key(r)))
                    queue.push_back(pdf.getObject(r));
            const QByteArray digest = Digest(body);
            const auto old = d->written.find(og);
            if (old == d->written.end() || old->second != digest) {
                writer.Add(og.getObj(), og.getGen(),
                           encrypted ? cipher.Body(obj, &dictEnd) : std::move(body));
                d->pendingWritten[og] = digest;
                numbers.push_back(og);
            }
        }
        int xrefNumber = 0;
        if (!writer.IsEmpty() && writer.LastKind() == PdfUpdateWriter::Kind::Stream)
            xrefNumber = pdf.makeIndirectObject(QPDFObjectHandle::newNull()).getObjectID();
        // /Size covers every object the file now holds, also those of earlier updates.
        int size = std::max({oldSize, d->fileSize, xrefNumber + 1});
        for (const QPDFObjGen& og : numbers)
            size = std::max(size, og.getObj() + 1);
        d->pendingSize = size;
        std::string keys;
        for (const char* key : {"/Root", "/Info", "/ID", "/Encrypt"})
            if (trailer.hasKey(key))
                keys += std::string(key) + ' ' + trailer.getKey(key).unparse() + ' ';
        if (writer.IsEmpty()) {
            // Nothing differs: the same file needs no write, another gets a copy.
            if (QFileInfo(path).absoluteFilePath() == QFileInfo(d->base).absoluteFilePath())
                return true;
        }
        if (writer.IsEmpty() ? !QFile::remove(temp) || !QFile::copy(d->base, temp)
                             : !writer.Write(d->base, temp, keys, size, xrefNumber, error)) {
            if (error && error->isEmpty())
                *error = QStringLiteral("The document could not be written to %1.").arg(path);
            return false;
        }
    } catch (const std::exception& e) {
        if (error)
            *error =
                QStringLiteral("The document could not be written: %1").arg(ExceptionMessage(e));
        return false;
    }
    return Verify(temp, doc->PageCount(), numbers, error);
}

bool PdfBackend::SaveWhole(ReaderDocument* doc, const QString& temp, QString* error)
{
    try {
        std::vector<QPDFObjectHandle> touched;
        ApplyModel(doc, &touched);
        // qpdf keeps the name it is given: the bytes must outlive the writer.
        const QByteArray tempName = EncodePath(temp);
        QPDFWriter writer(*d->qpdf, tempName.constData());
        writer.setObjectStreamMode(qpdf_o_generate);
        writer.write();
    } catch (const std::exception& e) {
        if (error)
            *error =
                QStringLiteral("The document could not be written: %1").arg(ExceptionMessage(e));
        return false;
    }
    return Verify(temp, doc->PageCount(), {}, error);
}

// Reads the written file back: every cross-reference section and trailer, the catalog,
// and for an update the first and the last object it added (an offset gone wrong shows at
// one end or the other), else the page count. A file written anew must also open in poppler; an
// update leaves the bytes poppler already read as they were.
bool PdfBackend::Verify(const QString& path, int pageCount, const std::vector<QPDFObjGen>& objects,
                        QString* error) const
{
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    try {
        QPDF check;
        check.setSuppressWarnings(true);
        const QByteArray name = EncodePath(path);
        check.processMemoryFile(name.constData(), bytes.constData(), size_t(bytes.size()),
                                d->password.c_str());
        // The file opened cleanly, so a complaint now is about what was written.
        if (!d->repaired && check.anyWarnings())
            throw std::runtime_error(check.getWarnings().front().what());
        // An update leaves the page tree as it was; the catalog must still be found.
        QPDFObjectHandle root = check.getRoot();
        QPDFObjectHandle count =
            objects.empty() ? root.getKey("/Pages").getKey("/Count") : QPDFObjectHandle();
        const long long n = !objects.empty()    ? pageCount
                            : count.isInteger() ? count.getIntValue()
                                                : -1;
        if (!root.isDictionary() || n != pageCount) {
            if (error)
                *error = QStringLiteral("The written file has %1 pages instead of %2.")
                             .arg(n)
                             .arg(pageCount);
            return false;
        }
        if (!objects.empty()) {
            const auto [low, high] = std::minmax_element(objects.begin(), objects.end());
            for (const QPDFObjGen& og : {*low, *high}) {
                if (check.getObject(og).isNull() || check.anyWarnings())
                    throw std::runtime_error("object " + og.unparse(' ') + " is unreadable");
            }
        }
    } catch (const std::exception& e) {
        if (error)
            *error =
                QStringLiteral("The written file cannot be read back: %1").arg(ExceptionMessage(e));
        return false;
    }
    if (!objects.empty())
        return true;
    std::unique_ptr<PdfRaster> raster =
        PdfRaster::Open(QString(), bytes, QByteArray::fromStdString(d->password), 0);
    if (!raster || raster->PageCount() != pageCount) {
        if (error)
            *error = QStringLiteral("The written file cannot be displayed.");
        return false;
    }
    return true;
}

bool PdfBackend::Save(ReaderDocument* doc, const QString& path, QString* error,
                      G_SaveReport* report)
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
    const QString refusal = IncrementalRefusal();
    const bool incremental = refusal.isEmpty();
    d->pendingWritten.clear();
    if (incremental ? !SaveUpdate(doc, path, temp, &message) : !SaveWhole(doc, temp, &message))
        return fail(message);
    // An update with nothing in it leaves the same file as it is.
    const bool unchanged = incremental && QFileInfo(temp).size() == 0;
    // qpdf and poppler keep reading the file they opened: it stays open, so its data
    // remains after the name points at the new file.
    if (!unchanged && !file.Commit(&message))
        return fail(message);
    if (incremental) {
        for (const auto& [og, digest] : d->pendingWritten)
            d->written[og] = digest;
        d->fileSize = std::max(d->fileSize, d->pendingSize);
    } else {
        d->renumbered = true;
        d->written.clear();
    }
    d->base = QFileInfo(path).absoluteFilePath();
    d->baseStamp = StampOf(d->base);
    if (report) {
        report->incremental = incremental;
        report->rewritten = !incremental && !refusal.isEmpty() && !d->path.isEmpty();
        report->reason = report->rewritten ? refusal : QString();
    }
    return true;
}
