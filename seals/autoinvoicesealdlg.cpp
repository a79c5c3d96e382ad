#include "autoinvoicesealdlg.h"

#include "autoinvoicesealdlgform.h"
#include "host/document/cca_qtdevice.h"
#include "host/document/g_application.h"
#include "host/document/g_invoiceinfodata.h"
#include "host/document/ica_streamreader.h"
#include "host/document/ig_document.h"
#include "host/document/ig_page.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_operation.h"
#include "host/framework/g_uicontext.h"
#include "host/json/nexjson.h"
#include "host/sealmaker/isealmaker.h"
#include "host/utils/nex_dpi.h"
#include "host/utils/nex_path.h"

#include <QButtonGroup>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>
#include <cstdlib>

namespace
{

constexpr std::uint32_t kRed = 0 * 65536 + 0 * 256 + 255; // blue, green, red of 0xFF0000

double averageCharWidth(const char* family, double size)
{
    QFont font(QString::fromLatin1(family));
    font.setPointSizeF(size);
    return QFontMetricsF(font).averageCharWidth();
}

QString fromInvoiceText(const CCA_String& utf8)
{
    // Through the local code page, as the invoice texts always went.
    return QString::fromLocal8Bit(Utf82Local(utf8.c_str()).c_str());
}

} // namespace

AutoInvoiceSealDlg::AutoInvoiceSealDlg(G_UIContext* uiContext, QWidget* parent)
    : Utils::Widgets::Nex_Dialog(parent, false), ui(new AutoInvoiceSealDlgForm),
      uiContext(uiContext)
{
    ui->setupUi(this);
    InitDialog();
}

AutoInvoiceSealDlg::~AutoInvoiceSealDlg() = default;

void AutoInvoiceSealDlg::InitDialog()
{
    dpiScale = Utils::DPI::Nex_Mgr::Instance().Scale();
    G_DocView* view = uiContext ? uiContext->CurrentDocView() : nullptr;
    m_document = view ? view->GDocument() : nullptr;
    ui->radioBtnFirstPage->setChecked(true);
    ui->radioBtnFirstPage->setProperty("page", 0);
    ui->radioBtnAllPage->setProperty("page", 1);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->btnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->btnAdd, &QPushButton::clicked, this, &AutoInvoiceSealDlg::AddInvoiceSeal);
    ui->btnAdd->setProperty("class", QStringLiteral("okBtn"));
    ui->btnClose->setProperty("class", QStringLiteral("closeBtn"));
    ui->labTitle->setProperty("class", QStringLiteral("normalTitle"));
    ui->btnCancel->setProperty("class", QStringLiteral("normalBtn"));
    ScaleDialog(true, QString());
}

void AutoInvoiceSealDlg::AddInvoiceSeal()
{
    PrepareSealRecord();
    CreateInvoiceSeal();
    PlaceInvoiceSeal();
    accept();
}

void AutoInvoiceSealDlg::PrepareSealRecord()
{
    G_Application* app = G_Application::Instance();
    G_DocumentContext* context = app->DocumentContext(m_document);
    G_InvoiceService* invoices = app->Engine() ? app->Engine()->InvoiceService() : nullptr;
    G_InvoiceInfoData info;
    if (context && invoices)
        invoices->ReadInvoiceInfo(context, info);

    SMK::SealShape& outline = m_record.outline;
    outline = SMK::SealShape();
    outline.type = SMK::SealOval;
    outline.height = kSealHeight;
    outline.width = kSealWidth;
    outline.lineWidth = 1.0f;
    outline.colour = kRed;
    m_record.shapes.clear();
    m_record.shapes.push_back(outline);
    m_record.texts.clear();
    AddSealTexts(fromInvoiceText(info.SellerName), fromInvoiceText(info.SellerTaxId));
}

void AutoInvoiceSealDlg::AddSealTexts(const QString& name, const QString& number)
{
    const SMK::SealShape& outline = m_record.outline;
    // The arc widens with the name; a long name is set a little smaller on 270 degrees.
    int angle = 100 + 20 * (int(name.size()) - 6);
    float metricsSize = 4.2f;
    if (angle > 270) {
        angle = 270;
        metricsSize = float(4.2 - 0.2 * double(dpiScale));
    }
    const float nameStretch =
        float(0.7 * 3.0 / (averageCharWidth("FangSong", double(metricsSize)) / double(dpiScale)));

    SMK::SealTextItem nameItem;
    nameItem.text = name.toStdString();
    nameItem.fontName = "FangSong";
    nameItem.fontSize = 4.2f;
    nameItem.flag1 = 1;
    nameItem.stretch = nameStretch;
    nameItem.colour = outline.colour;
    nameItem.onArc = 1;
    nameItem.radiusX = outline.width * 0.5f - outline.lineWidth * 0.5f - 0.5f - metricsSize * 0.5f;
    nameItem.radiusY = outline.height * 0.5f - outline.lineWidth * 0.5f - 0.5f - metricsSize * 0.5f;
    nameItem.startAngle = -float(angle) * 0.5f;
    nameItem.endAngle = float(angle) * 0.5f;

    SMK::SealTextItem numberItem;
    numberItem.text = number.toStdString();
    numberItem.fontName = "Arial";
    numberItem.fontSize = 3.7f;
    numberItem.flag1 = 1;
    numberItem.stretch = float(0.7 * 1.3 / (averageCharWidth("Arial", 3.7) / double(dpiScale)));
    numberItem.colour = outline.colour;
    numberItem.y = -0.0f;
    numberItem.charWidth = 1.3f;

    SMK::SealTextItem captionItem;
    captionItem.text = QObject::tr("invoice stamp").toStdString();
    captionItem.fontName = "FangSong";
    captionItem.fontSize = 4.6f;
    captionItem.flag1 = 1;
    captionItem.stretch = nameStretch;
    captionItem.colour = outline.colour;
    captionItem.y = 6.5f;
    captionItem.charWidth = 3.2f;

    m_record.texts.push_back(nameItem);
    m_record.texts.push_back(numberItem);
    m_record.texts.push_back(captionItem);
}

void AutoInvoiceSealDlg::CreateInvoiceSeal()
{
    const QString path = Utils::Nex_Path::TempPath() + QStringLiteral("invoice.ofd");
    SMK::ISealMaker* maker = SMK::CreateSealMaker();
    if (!maker)
        return;
    maker->SetSealDescription(&m_record);
    const bool ok = maker->SaveSealDocument(path.toUtf8().constData());
    SMK::DestorySealMaker(maker);
    if (!ok)
        return;

    G_Engine* engine = G_Application::Instance()->Engine();
    if (!engine)
        return;
    G_EngineHandle handle = engine->AcquireHandle(0);
    G_SignatureService* documents = engine->SignatureService();
    if (documents) {
        const CCA_WString wide = CCA_StringConverter::utf8_to_unicode(path.toUtf8().constData());
        m_document = documents->OpenDocument(handle, wide.c_str(), std::make_shared<NexJson>());
        RenderSealPicture(engine, handle);
        documents->CloseDocument(handle);
    }
    m_document = nullptr; // closed with the handle
    engine->ReleaseHandle(&handle);
}

bool AutoInvoiceSealDlg::RenderSealPicture(G_Engine* engine, void* handle)
{
    const QString out = Utils::Nex_Path::TempPath() + QStringLiteral("/invoice.png");
    IG_Page* page = m_document && m_document->PageCount() > 0 ? m_document->PageAt(0) : nullptr;
    G_RenderService* renderer = engine ? engine->RenderService() : nullptr;
    if (!handle || !page || !renderer)
        return false;
    const CCA_GSize size = page->PageSize();
    float width = size.width;
    float height = size.height;
    const int rotation = page->Rotation();
    if (std::abs(rotation - 180 * (rotation / 180)) > 1)
        std::swap(width, height);
    const int pixelWidth = int(std::ceil(width * float(kRenderDpi) / 25.4f));
    const int pixelHeight = int(std::ceil(height * float(kRenderDpi) / 25.4f));

    NexSharedPtr<NexJson> options = NexJsonFactory::ParseJsonString("{}");
    options->SetMember(
        "Clip", NexJsonHelper::FromRect(CCA_GRect(0, 0, float(pixelWidth), float(pixelHeight))));
    QImage image(pixelWidth, pixelHeight, QImage::Format_RGB32);
    image.fill(0xFFFFFFFF);
    QPainter painter(&image);
    CCA_QtDevice device;
    device.Attach(&painter, 0);
    CCA_Matrix matrix;
    page->DisplayMatrix(&matrix, 0, 0, pixelWidth, pixelHeight, 0);
    const bool rendered = renderer->RenderPage(handle, page, &device, &matrix, 127, 0, 0, options);
    painter.end();
    return rendered && image.save(out);
}

void AutoInvoiceSealDlg::PlaceInvoiceSeal()
{
    G_DocView* view = uiContext ? uiContext->CurrentDocView() : nullptr;
    m_document = view ? view->GDocument() : nullptr;
    const QString path = Utils::Nex_Path::TempPath() + QStringLiteral("invoice.png");
    if (!m_document || m_document->PageCount() < 1 || QPixmap(path).isNull())
        return;

    ICA_StreamReader* reader =
        ICA_StreamReader::CreateFileStreamReader(GQ_ToCAS(path, true).c_str(), 0);
    if (!reader)
        reader = ICA_StreamReader::CreateFileStreamReader(GQ_ToCAWS(path).c_str(), 0);
    if (!reader)
        return;
    const int stampId = m_document->AddResource(reader, 1, 0);
    reader->Release();

    auto topLeft = [](IG_Page* page) {
        return QPoint(int(page->Width()) - kSealWidth - kSealMargin,
                      int(page->Height()) - kSealHeight - kSealMargin);
    };
    const bool allPages = ui->btnGroupPage->checkedButton() &&
                          ui->btnGroupPage->checkedButton()->property("page").toBool();
    const int count = m_document->PageCount();
    const CCA_GSize sealSize(kSealWidth, kSealHeight);

    if (count == 1 || !allPages) {
        const QPoint at = topLeft(m_document->PageAt(0));
        G_Operation* op = uiContext->CreateOperationByName("tp_stamp", QString());
        if (!op)
            return;
        op->Param()->Add("stampId", stampId);
        op->Param()->Add("stampSize", sealSize);
        op->Param()->Add("auto", 1);
        op->Param()->Add("position", CCA_GPoint(float(at.x()), float(at.y())));
        op->Param()->Add("pageIndex", 0);
        op->ExecuteAction();
        op->DeleteLater();
        view->GoToPage(view, 0, GQ_ToCAGRect(QRectF(at, QSizeF(kSealWidth, kSealHeight))), false);
        return;
    }

    G_Operation* batch = uiContext->CreateOperationByName("batchaddinvoice", QString());
    if (!batch)
        return;
    batch->Param()->Add("stampId", stampId);
    batch->Param()->Add("stampSize", sealSize);
    QString placements;
    for (int i = 0; i < count; ++i) {
        const QPoint at = topLeft(m_document->PageAt(i));
        placements +=
            QStringLiteral("%1:%2/").arg(i).arg(QStringLiteral("%1,%2").arg(at.x()).arg(at.y()));
    }
    placements.chop(1);
    batch->Param()->Add("pageandposition", placements);
    batch->PerformAction();
    batch->DeleteLater();
}
