#include "batchstamp.h"

#include "host/document/documentio.h"
#include "host/document/g_application.h"
#include "host/document/ig_annot.h"
#include "host/document/ig_document.h"
#include "host/document/ig_page.h"
#include "host/document/pdfraster.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_operation.h"
#include "host/framework/g_settingmgr.h"
#include "host/framework/g_uicontext.h"
#include "host/framework/icore.h"
#include "host/utils/messageboxseam.h"
#include "host/utils/nex_popup.h"
#include "host/utils/popupseam.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPointer>
#include <QTextStream>
#include <QWidget>
#include <cmath>
#include <unistd.h>

namespace
{

QString tr(const char* text)
{
    return QCoreApplication::translate("BatchStamp", text);
}

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The button a person who cannot be asked would take: the box's default, else the most
// cautious one it offers.
int cautiousAnswer(const Utils::Widgets::MessageBoxRequest& request)
{
    if (request.defaultButton > 0)
        return request.defaultButton;
    for (const int button : {QMessageBox::No, QMessageBox::Cancel, QMessageBox::Close}) {
        if (request.buttons & button)
            return button;
    }
    return QMessageBox::Ok;
}

// Owns a document opened for a run and its registration with the application. Given
// `disposal`, the document is freed there on another thread (a long document takes a while
// to free, and nothing refers to it once its view is gone).
struct OpenDocument {
    explicit OpenDocument(std::unique_ptr<IG_Document> doc, std::future<void>* disposal = nullptr)
        : document(std::move(doc)), disposal(disposal)
    {
        if (document)
            G_Application::Instance()->RegisterDocument(document.get());
    }
    ~OpenDocument()
    {
        if (!document)
            return;
        G_Application::Instance()->UnregisterDocument(document.get());
        if (disposal) {
            if (disposal->valid())
                disposal->wait();
            *disposal = std::async(std::launch::async, [doc = document.release()] { delete doc; });
        }
    }
    std::unique_ptr<IG_Document> document;
    std::future<void>* disposal;
};

// A view of the document, as the reader makes one, never shown.
struct HiddenView {
    HiddenView(IG_Document* doc, QWidget* window) : view(&context, doc, window)
    {
        view.resize(1000, 800);
        context.SetCurrentDocView(&view);
        view.SetToolHandler(view.ToolHandlerByName("t_handtool"));
    }
    G_UIContext context;
    G_DocView view;
};

} // namespace

struct BatchStamp::PickerFields {
    QPointer<Utils::Widgets::Nex_Popup> popup;
    QPointer<QCheckBox> autoStamp;
    QPointer<QCheckBox> sign;
    QPointer<QLineEdit> marginLR;
    QPointer<QLineEdit> marginTB;
    QPointer<QComboBox> edgeLR;
    QPointer<QComboBox> edgeTB;
    QPointer<QWidget> lists;
};

BatchStamp::BatchStamp(const BatchOptions& options, QTextStream& out, QTextStream& err)
    : m_options(options), m_out(out), m_err(err), m_window(new QWidget)
{
    m_window->setObjectName(QStringLiteral("BatchMainWindow"));
    Core::ICore::setMainWindow(m_window.get());
    m_terminal = isatty(STDERR_FILENO) == 1;
    m_progress = options.progress || m_terminal;
    using Utils::Widgets::MessageBoxRequest;
    Utils::Widgets::MessageBoxSeam::SetAnswerer([this](const MessageBoxRequest& request) {
        const int answer = cautiousAnswer(request);
        m_err << "message: " << native(m_input) << ": " << request.title << ": " << request.text
              << "\n";
        m_err.flush();
        return answer;
    });
}

BatchStamp::~BatchStamp()
{
    Utils::Widgets::PopupSeam::SetAnswerer(nullptr);
    Utils::Widgets::MessageBoxSeam::SetAnswerer(nullptr);
    // The picker and its dialogs go with the window, as they go with the reader's.
    Core::ICore::setMainWindow(nullptr);
    m_window.reset();
    if (m_disposal.valid())
        m_disposal.wait();
}

void BatchStamp::fail(const QString& message)
{
    m_err << "error: " << native(m_input) << ": " << message << "\n";
    m_err.flush();
}

bool BatchStamp::FindStamp()
{
    const QString& stamp = m_options.stamp;
    if (QFileInfo(stamp).isFile()) {
        m_stampPath = QFileInfo(stamp).absoluteFilePath();
        if (sizeStamp(QSize()))
            return true;
        m_stampPath.clear();
        return false;
    }
    const QByteArray suffix = QFileInfo(stamp).suffix().toLower().toUtf8();
    if (stamp.contains(QLatin1Char('/')) || stamp.contains(QDir::separator()) ||
        QImageReader::supportedImageFormats().contains(suffix)) {
        m_err << "error: " << tr("there is no picture file %1.").arg(native(stamp)) << "\n";
        return false;
    }
    if (!G_Operation::FindGlobal("ti_stamp")) {
        m_err << "error: "
              << tr("the stamp plug-in is not loaded, so its library cannot be searched.") << "\n";
        return false;
    }
    return findLibraryStamp(pickerLibrary());
}

QVariantList BatchStamp::pickerLibrary()
{
    // The picker opens on a view; a blank page will do.
    OpenDocument blank(
        std::unique_ptr<IG_Document>(DocumentIO::CreateBlank({CCA_GSize(210, 297)})));
    HiddenView hidden(blank.document.get(), m_window.get());
    // Open the picker as the stamp command does, read its lists and close it unchosen.
    QVariantList entries;
    Utils::Widgets::PopupSeam::SetAnswerer([&entries](Utils::Widgets::Nex_Popup* popup) {
        QMetaObject::invokeMethod(popup, "LibraryStamps", Qt::DirectConnection,
                                  Q_RETURN_ARG(QVariantList, entries));
    });
    if (G_Operation* op = hidden.context.CreateOperationByName("ti_stamp", QString())) {
        op->PerformAction();
        op->DeleteLater();
    }
    Utils::Widgets::PopupSeam::SetAnswerer(nullptr);
    m_pickerBuilt = true;
    return entries;
}

void BatchStamp::PreparePicker()
{
    if (!m_pickerBuilt && G_Operation::FindGlobal("ti_stamp"))
        pickerLibrary();
    // The picker checks the chosen picture by loading it as a pixmap, which Qt keeps in its
    // pixmap cache: loaded here, the first page finds it decoded.
    if (!m_stampPath.isEmpty())
        (void)QPixmap(m_stampPath);
}

bool BatchStamp::findLibraryStamp(const QVariantList& entries)
{
    const QString& stamp = m_options.stamp;
    QVariantMap found;
    QStringList names;
    QStringList matches;
    for (const QVariant& value : qAsConst(entries)) {
        const QVariantMap entry = value.toMap();
        const QString path = entry.value(QStringLiteral("path")).toString();
        const QString name = QFileInfo(path).completeBaseName();
        names << name;
        if (name.compare(stamp, Qt::CaseInsensitive) != 0 || matches.contains(path))
            continue;
        matches << path;
        found = entry;
    }
    if (matches.isEmpty()) {
        names.removeDuplicates();
        m_err << "error: "
              << tr("there is no stamp named %1 in the library; its stamps are: %2.")
                     .arg(stamp, names.isEmpty() ? tr("none") : names.join(QStringLiteral(", ")))
              << "\n";
        return false;
    }
    if (matches.size() > 1) {
        QStringList shown;
        for (const QString& path : qAsConst(matches))
            shown << native(path);
        m_err << "error: "
              << tr("%1 stamps of the library are named %2: %3. Give the picture file instead.")
                     .arg(matches.size())
                     .arg(stamp, shown.join(QStringLiteral(", ")))
              << "\n";
        return false;
    }
    m_stampPath = found.value(QStringLiteral("path")).toString();
    if (sizeStamp(QSize(found.value(QStringLiteral("width")).toInt(),
                        found.value(QStringLiteral("height")).toInt())))
        return true;
    m_stampPath.clear();
    return false;
}

bool BatchStamp::sizeStamp(const QSize& libraryMillimetres)
{
    QImageReader reader(m_stampPath);
    const QSize pixels = reader.size();
    if (!pixels.isValid() || pixels.isEmpty()) {
        m_err << "error: "
              << tr("%1 is not a picture that can be read (%2).")
                     .arg(native(m_stampPath), reader.errorString())
              << "\n";
        return false;
    }
    const QSize& asked = m_options.size;
    if (asked.width() > 0) {
        // A width alone keeps the picture's shape.
        const int height =
            asked.height() > 0
                ? asked.height()
                : qMax(1,
                       int(std::lround(double(asked.width()) * pixels.height() / pixels.width())));
        m_stampSize = QSize(asked.width(), height);
    } else if (!libraryMillimetres.isEmpty()) {
        m_stampSize = libraryMillimetres;
    } else {
        // A pixel counts as a point, as for the standard stamps.
        m_stampSize = QSize(qMax(1, int(POINT2OFD(float(pixels.width())))),
                            qMax(1, int(POINT2OFD(float(pixels.height())))));
    }
    return true;
}

const BatchStamp::PickerFields& BatchStamp::pickerFields(Utils::Widgets::Nex_Popup* popup)
{
    if (m_fields && m_fields->popup == popup)
        return *m_fields;
    m_fields.reset(new PickerFields);
    PickerFields& f = *m_fields;
    f.popup = popup;
    f.autoStamp = popup->findChild<QCheckBox*>(QStringLiteral("ChkApplySig"));
    f.sign = popup->findChild<QCheckBox*>(QStringLiteral("ApplyDigitalSignatureBox"));
    f.marginLR = popup->findChild<QLineEdit*>(QStringLiteral("LiedLRPageMar"));
    f.marginTB = popup->findChild<QLineEdit*>(QStringLiteral("LiedTBPageMar"));
    f.edgeLR = popup->findChild<QComboBox*>(QStringLiteral("ComLRPageMar"));
    f.edgeTB = popup->findChild<QComboBox*>(QStringLiteral("ComTBPageMar"));
    f.lists = popup->findChild<QWidget*>(QStringLiteral("stackedWidget"));
    return f;
}

void BatchStamp::answerPicker(Utils::Widgets::Nex_Popup* popup)
{
    const PickerFields& fields = pickerFields(popup);
    QCheckBox* autoStamp = fields.autoStamp;
    QCheckBox* sign = fields.sign;
    QLineEdit* marginLR = fields.marginLR;
    QLineEdit* marginTB = fields.marginTB;
    QComboBox* edgeLR = fields.edgeLR;
    QComboBox* edgeTB = fields.edgeTB;
    if (!autoStamp || !marginLR || !marginTB || !edgeLR || !edgeTB) {
        m_pickerProblem = tr("the stamp picker has no auto-stamp panel.");
        return;
    }
    // The edges are chosen by the words the panel shows.
    const QString lrText = QCoreApplication::translate(
        "StampDialog", m_options.directionLR == 0 ? "page right" : "page left");
    const QString tbText = QCoreApplication::translate(
        "StampDialog", m_options.directionTB == 0 ? "page bottom" : "page top");
    const int lr = edgeLR->findText(lrText);
    const int tb = edgeTB->findText(tbText);
    if (lr < 0 || tb < 0) {
        m_pickerProblem =
            tr("the auto-stamp panel offers no \"%1\" or no \"%2\".").arg(lrText, tbText);
        return;
    }
    autoStamp->setChecked(true);
    if (sign)
        sign->setChecked(false); // a batch run signs nothing: nobody is there to sign
    edgeLR->setCurrentIndex(lr);
    edgeTB->setCurrentIndex(tb);
    // As a person would, only where the field does not show the margin already.
    for (const auto& field : {std::make_pair(marginLR, m_options.marginLR),
                              std::make_pair(marginTB, m_options.marginTB)}) {
        const QString text = QString::number(field.second);
        if (field.first->text() != text)
            field.first->setText(text);
    }
    // The panel greys out its stamp lists while a margin lies past the page range.
    if (QWidget* lists = fields.lists) {
        if (!lists->isEnabled()) {
            m_pickerProblem = tr("the auto-stamp panel refuses the margins (%1 mm, %2 mm): "
                                 "they lie past the page.")
                                  .arg(m_options.marginLR)
                                  .arg(m_options.marginTB);
            return;
        }
    }
    if (!QMetaObject::invokeMethod(popup, "SelectStampFile", Qt::DirectConnection,
                                   Q_ARG(QString, m_stampPath), Q_ARG(QSize, m_stampSize)))
        m_pickerProblem = tr("the stamp picker cannot be told which stamp to place.");
}

OpenAhead::OpenAhead(const QString& path, const QString& password) : m_path(path)
{
    m_result = std::async(std::launch::async, [path, password] {
        Result result;
        result.document.reset(
            DocumentIO::Open(path, password, &result.error, &result.passwordNeeded));
        return result;
    });
}

OpenAhead::~OpenAhead()
{
    if (m_result.valid())
        m_result.wait();
}

std::unique_ptr<IG_Document> OpenAhead::Take(QString* error, bool* passwordNeeded)
{
    Result result = m_result.get();
    *error = result.error;
    *passwordNeeded = result.passwordNeeded;
    return std::move(result.document);
}

bool BatchStamp::StampFile(const QString& input, const QString& output, OpenAhead* ahead)
{
    m_input = input;
    m_pages.clear();
    m_answers.clear(); // its stamp is a resource of the last document
    const QFileInfo in(input);
    const QFileInfo out(output);
    if (in.exists() && out.exists() && in.canonicalFilePath() == out.canonicalFilePath()) {
        fail(tr("the copy would replace the file itself; give another output."));
        return false;
    }
    if (out.isDir()) {
        fail(tr("the copy cannot be written: %1 is a folder.").arg(native(output)));
        return false;
    }

    QString error;
    bool passwordNeeded = false;
    std::unique_ptr<IG_Document> document =
        ahead && ahead->Holds(input) ? ahead->Take(&error, &passwordNeeded)
                                     : std::unique_ptr<IG_Document>(DocumentIO::Open(
                                           input, m_options.password, &error, &passwordNeeded));
    OpenDocument opened(std::move(document), &m_disposal);
    IG_Document* doc = opened.document.get();
    if (!doc) {
        if (passwordNeeded && m_options.password.isEmpty())
            error += QLatin1Char(' ') + tr("Give it with --password.");
        fail(error);
        return false;
    }
    HiddenView hidden(doc, m_window.get());
    G_DocView* view = &hidden.view;
    if (!m_options.pages.Resolve(doc->PageCount(), view->CurrentPageIndex(), &m_pages, &error)) {
        fail(error);
        return false;
    }

    if (!G_Operation::FindGlobal("ti_stamp")) {
        fail(tr("the stamp plug-in is not loaded: \"ti_stamp\" is unknown."));
        return false;
    }
    Utils::Widgets::PopupSeam::SetAnswerer(
        [this](Utils::Widgets::Nex_Popup* popup) { answerPicker(popup); });
    bool stamped = true;
    m_lastProgress = -1;
    QElapsedTimer clock;
    clock.start();
    for (int n = 0; n < m_pages.size() && stamped; ++n) {
        stamped = stampPage(view, m_pages.at(n));
        // On a terminal the line appears once a file takes a while; asked for, it always
        // does, at most five times a second and once at the end.
        const qint64 now = clock.elapsed();
        const bool due =
            m_lastProgress < 0 ? m_options.progress || now > 1000 : now - m_lastProgress >= 200;
        if (m_progress && (due || (m_options.progress && n + 1 == m_pages.size()))) {
            m_lastProgress = now;
            showProgress(n + 1, m_pages.size(), false);
        }
    }
    Utils::Widgets::PopupSeam::SetAnswerer(nullptr);
    if (m_lastProgress >= 0)
        showProgress(m_pages.size(), m_pages.size(), true);
    if (!stamped)
        return false;

    QDir().mkpath(out.absolutePath());
    G_SaveReport report;
    if (!doc->SaveAs(output, &error, &report)) {
        fail(tr("saving %1 failed: %2").arg(native(output), error));
        return false;
    }
    const QString path = native(out.absoluteFilePath());
    const QString embedded = m_options.embed ? tr(", embedded") : QString();
    m_out << (m_pages.size() == 1 ? tr("saved %1 (1 page stamped%2)").arg(path, embedded)
                                  : tr("saved %1 (%2 pages stamped%3)")
                                        .arg(path, QString::number(m_pages.size()), embedded))
          << "\n";
    m_out.flush();
    if (report.rewritten)
        m_err << "note: " << native(input) << ": " << report.reason << "\n";
    return true;
}

bool BatchStamp::stampPage(G_DocView* view, int index)
{
    auto where = [index] { return tr("page %1: ").arg(index + 1); }; // for messages only
    m_pickerProblem.clear();
    int placed = placeAsBefore(view, index);
    if (placed <= 0)
        placed = placeByPicker(view, index);
    G_UIContext* context = view->UIContext();
    IG_Page* page = view->Page(index);
    IG_Annot* annot = placed > 0 && page ? page->AnnotById(unsigned(placed)) : nullptr;
    if (!annot) {
        fail(where() + (m_pickerProblem.isEmpty() ? tr("no stamp was placed.") : m_pickerProblem));
        return false;
    }
    const CCA_GRect r = annot->GetRect();
    if (r.left < 0 || r.top < 0 || r.right > page->Width() || r.bottom > page->Height())
        m_err << "note: " << native(m_input) << ": " << where()
              << tr("the stamp reaches past the page's edge.") << "\n";
    if (!m_options.embed)
        return true;

    // Selected as the stamp handler selects a stamp: embedding reads these two keys.
    G_SettingMgr* settings = G_SettingMgr::Instance();
    settings->SetConfigCache(QStringLiteral("stampPageIndex"), index);
    settings->SetConfigCache(QStringLiteral("stampAnnotID"), placed);
    int embedded = 0;
    if (G_Operation* op = context->CreateOperationByName("d_embedpageannot", QString())) {
        op->Param()->Add("pageIndex", index);
        embedded = op->PerformAction();
        op->DeleteLater();
    }
    settings->SetConfigCache(QStringLiteral("stampAnnotID"), -1);
    if (embedded != 1 || page->AnnotById(unsigned(placed))) {
        fail(where() + tr("the stamp could not be embedded into the page."));
        return false;
    }
    return true;
}

int BatchStamp::placeByPicker(G_DocView* view, int index)
{
    view->GoToPage(index);
    G_Operation* op = view->UIContext()->CreateOperationByName("ti_stamp", QString());
    if (!op)
        return 0;
    // No command button: the picker is anchored at the top-left corner.
    op->Param()->Add("position", CCA_GRect(0, 0, 0, 0));
    op->PerformAction();
    const G_OperationParam* chosen = op->Param();
    const int annotId = chosen->GetInt32("annotid", 0);
    IG_Page* page = view->Page(index);
    if (annotId > 0 && page && chosen->GetBool("auto", false) &&
        chosen->GetInt32("pageIndex", -1) == index) {
        Answer answer;
        answer.pageWidth = page->Width();
        answer.pageHeight = page->Height();
        answer.stampId = chosen->GetInt32("stampId", 0);
        answer.stampSize = chosen->GetGSize("stampSize");
        answer.imgPath = chosen->GetQString("imgPath");
        answer.position = chosen->GetGPoint("position");
        answer.applySign = chosen->GetBool("applysign", false);
        m_answers.append(answer);
    }
    op->DeleteLater();
    return annotId;
}

int BatchStamp::placeAsBefore(G_DocView* view, int index)
{
    IG_Page* page = view->Page(index);
    if (!page)
        return 0;
    const float width = page->Width();
    const float height = page->Height();
    for (const Answer& answer : qAsConst(m_answers)) {
        if (answer.pageWidth != width || answer.pageHeight != height)
            continue;
        G_Operation* op = view->UIContext()->CreateOperationByName("tp_stamp", QString());
        if (!op)
            return 0;
        // The keys and their order are those "ti_stamp" hands on.
        G_OperationParam* param = op->Param();
        param->Add("stampId", answer.stampId);
        param->Add("stampSize", answer.stampSize);
        param->Add("imgPath", answer.imgPath);
        param->Add("pageIndex", index);
        param->Add("position", answer.position);
        if (answer.applySign)
            param->Add("applysign", true);
        param->Add("auto", 1);
        op->PerformAction();
        const int annotId = op->Param()->GetInt32("annotid", 0);
        op->DeleteLater();
        return annotId;
    }
    return 0;
}

void BatchStamp::showProgress(int done, int total, bool finished)
{
    const QString line = tr("stamping %1: page %2 of %3").arg(native(m_input)).arg(done).arg(total);
    if (m_terminal) {
        // One line, rewritten; cleared once the file is done.
        m_err << "\r" << (finished ? QString(line.size(), QLatin1Char(' ')) + "\r" : line);
    } else if (!finished) {
        m_err << line << "\n";
    }
    m_err.flush();
}

bool BatchStamp::RenderPreview(const QString& pdf, const QString& password, int page,
                               const QString& png, QString* error)
{
    std::unique_ptr<PdfRaster> raster = PdfRaster::Open(pdf, QByteArray(), password.toUtf8(), 0);
    if (!raster) {
        *error = tr("%1 cannot be drawn.").arg(native(pdf));
        return false;
    }
    const QImage image = raster->Render(page, 96, 96);
    if (image.isNull()) {
        *error = tr("page %1 of %2 cannot be drawn.").arg(page + 1).arg(native(pdf));
        return false;
    }
    QDir().mkpath(QFileInfo(png).absolutePath());
    if (!image.save(png, "PNG")) {
        *error = tr("the picture %1 cannot be written.").arg(native(png));
        return false;
    }
    return true;
}
