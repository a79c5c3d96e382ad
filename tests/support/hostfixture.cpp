#include "hostfixture.h"

#include "host/document/documentio.h"
#include "host/document/ica_streamreader.h"
#include "host/framework/g_toolhandler.h"
#include "host/framework/hostcomponents.h"
#include "host/utils/nex_dpi.h"
#include "host/utils/nex_style.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProcess>
#include <QScrollBar>

HostFixture::HostFixture() : m_answer(QMessageBox::Ok)
{
    m_savedEnv.append({"STAMPREADER_APP_DIR", qgetenv("STAMPREADER_APP_DIR")});
    for (const char* folder : {"USER", "CONFIG", "TEMP"}) {
        const QByteArray name = "STAMPREADER_" + QByteArray(folder) + "_DIR";
        const QString path = m_dir.filePath(QString::fromLatin1(folder).toLower());
        m_savedEnv.append({name, qgetenv(name.constData())});
        QDir().mkpath(path);
        qputenv(name.constData(), QFile::encodeName(path));
    }
    HostComponents::RegisterAll();
    Utils::Widgets::Nex_Style::Apply(qobject_cast<QApplication*>(QCoreApplication::instance()));
    G_SettingMgr::Instance()->ClearCache();
    Utils::Widgets::MessageBoxSeam::Clear();
    Utils::Widgets::MessageBoxSeam::SetAnswerer(
        [this](const Utils::Widgets::MessageBoxRequest&) { return m_answer; });
    m_context.reset(new G_UIContext);
}

HostFixture::~HostFixture()
{
    CloseDocument();
    m_context.reset();
    Utils::Widgets::MessageBoxSeam::SetAnswerer(nullptr);
    Utils::Widgets::MessageBoxSeam::Clear();
    G_SettingMgr::Instance()->ClearCache();
    for (const auto& saved : qAsConst(m_savedEnv)) {
        if (saved.second.isNull())
            qunsetenv(saved.first.constData());
        else
            qputenv(saved.first.constData(), saved.second);
    }
}

void HostFixture::SetAppDir(const QString& path)
{
    qputenv("STAMPREADER_APP_DIR", QFile::encodeName(path));
}

bool HostFixture::OpenBlank(const QList<CCA_GSize>& pageSizes, const QList<int>& rotations)
{
    CloseDocument();
    m_document = DocumentIO::CreateBlank(pageSizes, rotations);
    return makeView();
}

bool HostFixture::OpenFile(const QString& path, QString* error)
{
    CloseDocument();
    m_document = DocumentIO::Open(path, error);
    return makeView();
}

bool HostFixture::makeView()
{
    if (!m_document)
        return false;
    G_Application::Instance()->RegisterDocument(m_document);
    m_view = new G_DocView(m_context.get(), m_document);
    m_view->resize(1000, 800);
    m_view->show();
    if (!QTest::qWaitForWindowExposed(m_view))
        qWarning("HostFixture: the view was not exposed");
    m_context->SetCurrentDocView(m_view);
    m_view->SetToolHandler(m_view->ToolHandlerByName("t_handtool"));
    return true;
}

void HostFixture::CloseDocument()
{
    delete m_view;
    m_view = nullptr;
    if (m_document) {
        G_Application::Instance()->UnregisterDocument(m_document);
        delete m_document;
        m_document = nullptr;
    }
}

CCA_Point HostFixture::ScenePoint(int page, const CCA_GPoint& mm) const
{
    return m_view ? m_view->ScenePointFromDocPoint(page, mm) : CCA_Point();
}

QPoint HostFixture::ViewportPoint(int page, const CCA_GPoint& mm)
{
    return m_view ? ViewportPointOfScene(ScenePoint(page, mm)) : QPoint();
}

QPoint HostFixture::ViewportPointOfScene(const CCA_Point& scene)
{
    const QRect visible(m_view->ScrollOffset(), m_view->viewport()->size());
    if (!visible.adjusted(8, 8, -8, -8).contains(scene.x, scene.y)) {
        m_view->horizontalScrollBar()->setValue(scene.x - visible.width() / 2);
        m_view->verticalScrollBar()->setValue(scene.y - visible.height() / 2);
    }
    return QPoint(scene.x, scene.y) - m_view->ScrollOffset();
}

void HostFixture::PressAtViewport(const QPoint& pos)
{
    QTest::mousePress(m_view->viewport(), Qt::LeftButton, Qt::NoModifier, pos);
}

void HostFixture::ReleaseAtViewport(const QPoint& pos)
{
    QTest::mouseRelease(m_view->viewport(), Qt::LeftButton, Qt::NoModifier, pos);
}

void HostFixture::MoveToViewport(const QPoint& pos, Qt::MouseButtons held)
{
    QWidget* port = m_view->viewport();
    QMouseEvent move(QEvent::MouseMove, pos, port->mapToGlobal(pos), Qt::NoButton, held,
                     Qt::NoModifier);
    QApplication::sendEvent(port, &move);
}

void HostFixture::ClickAt(int page, const CCA_GPoint& mm, Qt::MouseButton button)
{
    QTest::mouseClick(m_view->viewport(), button, Qt::NoModifier, ViewportPoint(page, mm));
}

void HostFixture::DragOnPage(int page, const CCA_GPoint& from, const CCA_GPoint& to)
{
    const QPoint start = ViewportPoint(page, from);
    PressAtViewport(start);
    // Scene positions of the path, mapped with the scroll offset fixed at the press.
    const CCA_Point a = ScenePoint(page, from);
    const CCA_Point b = ScenePoint(page, to);
    const QPoint offset = m_view->ScrollOffset();
    constexpr int kSteps = 4;
    QPoint pos = start;
    for (int i = 1; i <= kSteps; ++i) {
        pos = QPoint(a.x + (b.x - a.x) * i / kSteps, a.y + (b.y - a.y) * i / kSteps) - offset;
        MoveToViewport(pos, Qt::LeftButton);
    }
    ReleaseAtViewport(pos);
}

namespace
{
int embedPicture(IG_Document* doc)
{
    QImage picture(40, 40, QImage::Format_ARGB32);
    picture.fill(QColor(220, 30, 30, 200));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    ICA_StreamReader* stream = ICA_StreamReader::CreateMemoryStreamReader(png);
    const int id = doc->AddResource(stream, 1, 0);
    if (stream)
        stream->Release();
    return id;
}
} // namespace

int HostFixture::StampResource()
{
    if (m_document && m_stampResource <= 0)
        m_stampResource = embedPicture(m_document);
    return m_document ? m_stampResource : 0;
}

IG_Annot* HostFixture::AddStamp(int page, const CCA_GRect& rect, const char* subType, bool runTime)
{
    if (!m_view || !m_view->Page(page))
        return nullptr;
    IG_Annot* annot = AddStampTo(m_document, page, rect, subType, runTime, StampResource());
    m_view->Refresh();
    return annot;
}

IG_Annot* HostFixture::AddStampTo(IG_Document* doc, int page, const CCA_GRect& rect,
                                  const char* subType, bool runTime, int resource)
{
    IG_Page* target = doc ? doc->PageAt(page) : nullptr;
    if (!target)
        return nullptr;
    const QString content =
        QStringLiteral("{\"RunTime\":%1,\"SubType\":\"%2\",\"Appearance\":[{\"Type\":"
                       "\"Image\",\"ResourceID\":%3,\"Width\":%4,\"Height\":%5,"
                       "\"RunTime\":%1}]}")
            .arg(runTime ? "true" : "false")
            .arg(QString::fromUtf8(subType))
            .arg(resource > 0 ? resource : embedPicture(doc))
            .arg(double(rect.Width()))
            .arg(double(rect.Height()));
    return target->NewAnnot(G_AnnotType_Stamp, subType, rect, content.toStdString());
}

void HostFixture::AnswerMessageBoxes(int button)
{
    m_answer = button;
}

QList<Utils::Widgets::MessageBoxRequest> HostFixture::MessageBoxes() const
{
    return Utils::Widgets::MessageBoxSeam::History();
}

int HostFixture::Run(const char* name, const QVariantMap& params, QVariantMap* out, bool perform)
{
    G_Operation* op = m_context->CreateOperationByName(name, QString());
    if (!op)
        return -1;
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        op->Param()->AddVariant(it.key(), it.value());
    const int result = perform ? op->PerformAction() : op->ExecuteAction();
    if (out) {
        out->clear();
        for (const QString& key : op->Param()->Keys())
            out->insert(key, op->Param()->Value(key));
    }
    op->DeleteLater();
    return result;
}

QList<const G_Event*> HostFixture::Events(int type) const
{
    QList<const G_Event*> found;
    for (const G_Event* event : m_context->EventLog()) {
        if (event->Type() == type)
            found.append(event);
    }
    return found;
}

QString HostFixture::CurrentTool() const
{
    G_ToolHandler* tool = m_view ? m_view->ToolHandler() : nullptr;
    return tool ? GQ_ToQString(tool->HandlerName()) : QString();
}

int PdfTools::Run(const QString& program, const QStringList& args, QByteArray* output)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(60000))
        process.kill();
    if (output)
        *output = process.readAllStandardOutput() + process.readAllStandardError();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QString PdfTools::Check(const QString& pdf)
{
    QByteArray said;
    return Run("qpdf", {"--check", pdf}, &said) == 0 ? QString() : QString::fromLocal8Bit(said);
}

int PdfTools::AnnotCount(const QString& pdf, int page)
{
    QByteArray json;
    if (Run("qpdf", {"--json=2", "--json-key=pages", "--json-key=qpdf", pdf}, &json) != 0)
        return -1;
    const QJsonObject root = QJsonDocument::fromJson(json).object();
    const QJsonArray pages = root.value("pages").toArray();
    const QJsonObject objects = root.value("qpdf").toArray().at(1).toObject();
    auto resolve = [&objects](const QJsonValue& v) { // "N 0 R" stands for object N
        return v.isString() ? objects.value("obj:" + v.toString()).toObject().value("value") : v;
    };
    if (page >= pages.size())
        return -1;
    const QJsonValue pageObject = resolve(pages.at(page).toObject().value("object"));
    return resolve(pageObject.toObject().value("/Annots")).toArray().size();
}

QImage PdfTools::Render(const QString& pdf, int page, bool hideAnnots)
{
    const QString prefix = pdf + QStringLiteral(".page");
    const QString n = QString::number(page + 1);
    QStringList args{"-r", "72", "-cropbox", "-png", "-singlefile", "-f", n, "-l", n};
    if (hideAnnots)
        args << "-hide-annotations";
    Run("pdftoppm", args << pdf << prefix);
    return QImage(prefix + QStringLiteral(".png"));
}

int PdfTools::RedAround(const QImage& image, const CCA_GPoint& mm, int r)
{
    const double k = 72.0 / 25.4;
    const QPoint centre(int(mm.x * k), int(mm.y * k));
    int red = 0;
    for (int dy = -r; dy <= r; ++dy) {
        for (int dx = -r; dx <= r; ++dx) {
            const QColor c = image.pixelColor(centre + QPoint(dx, dy));
            red += c.red() > 170 && c.green() < 110 && c.blue() < 110;
        }
    }
    return red;
}
