#include "stampannotplugin.h"

#include "operations/gp_barcodeaddimage.h"
#include "operations/gp_barcodeofficialdocument.h"
#include "operations/gp_barcoderecordsgenerated.h"
#include "operations/gp_barcodesaveimage.h"
#include "operations/gp_delstamp.h"
#include "operations/gp_embedstamp.h"
#include "operations/gp_invoiceseal.h"
#include "operations/gp_stampannot.h"
#include "operations/gpi_barcodeofficialdocument.h"
#include "operations/gpi_barcodesaveimage.h"
#include "operations/gpi_invoicestampannot.h"
#include "operations/gpi_stampannot.h"
#include "placement/ga_stamp.h"
#include "placement/gp_stamp.h"
#include "placement/gpi_cancelannot.h"
#include "placement/gt_stamp.h"

#include <QtGlobal>

// The icon bundle is compiled into the library; it is registered while the library is
// loaded. Q_INIT_RESOURCE must be used outside any namespace.
static void initStampResources()
{
    Q_INIT_RESOURCE(stampannot);
}

static void cleanupStampResources()
{
    Q_CLEANUP_RESOURCE(stampannot);
}

namespace
{
struct StampResourceBundle {
    StampResourceBundle() { initStampResources(); }
    ~StampResourceBundle() { cleanupStampResources(); }
};
const StampResourceBundle stampResourceBundle;
} // namespace

StampAnnotPlugin::StampAnnotPlugin() = default;

StampAnnotPlugin::~StampAnnotPlugin()
{
    // The handlers and interceptors stay with the reader's registries, which may still
    // use them while the reader shuts down.
    if (m_gpStampAnnot)
        delete m_gpStampAnnot;
    if (m_gpStamp)
        delete m_gpStamp;
    if (m_gpDelStamp)
        delete m_gpDelStamp;
    if (m_gpEmbedStamp)
        delete m_gpEmbedStamp;
    if (m_gpInvoiceSeal)
        delete m_gpInvoiceSeal;
    if (m_gpBarcodeOfficialDocument)
        delete m_gpBarcodeOfficialDocument;
    if (m_gpBarcodeRecordsGenerated)
        delete m_gpBarcodeRecordsGenerated;
    if (m_gpBarcodeAddImage)
        delete m_gpBarcodeAddImage;
    if (m_gpBarcodeSaveImage)
        delete m_gpBarcodeSaveImage;
    if (m_gpiBarcodeOfficialDocument)
        delete m_gpiBarcodeOfficialDocument;
}

bool StampAnnotPlugin::Initialize(const QStringList&, QString*)
{
    return true;
}

void StampAnnotPlugin::InitializeComponents()
{
    m_gpStampAnnot = new GP_StampAnnot;
    m_gpStampAnnot->RegisterToGlobal();

    m_gpStamp = new GP_Stamp;
    m_gpStamp->RegisterToGlobal();

    m_gaStamp = new GA_Stamp;
    m_gaStamp->RegisterAnnotHandlerToGlobal();

    m_gpDelStamp = new GP_DelStamp;
    m_gpDelStamp->RegisterToGlobal();

    m_gpEmbedStamp = new GP_EmbedStamp;
    m_gpEmbedStamp->RegisterToGlobal();

    m_gpBarcodeOfficialDocument = new GP_BarcodeOfficialDocument;
    m_gpBarcodeOfficialDocument->RegisterToGlobal();

    m_gpBarcodeRecordsGenerated = new GP_BarcodeRecordsGenerated;
    m_gpBarcodeRecordsGenerated->RegisterToGlobal();

    m_gpBarcodeAddImage = new GP_BarcodeAddImage;
    m_gpBarcodeAddImage->RegisterToGlobal();

    m_gpBarcodeSaveImage = new GP_BarcodeSaveImage;
    m_gpBarcodeSaveImage->RegisterToGlobal();

    m_gpInvoiceSeal = new GP_InvoiceSeal;
    m_gpInvoiceSeal->RegisterToGlobal();

    // Constructing an interceptor is all it takes for it to join operation runs, in
    // construction order: the invoice seal interceptor first, then the stamp picker's, the
    // barcode ones, and the cancel one last.
    m_gpiInvoiceStampAnnot = new GPI_InvoiceStampAnnot;
    m_gpiStampAnnot = new GPI_StampAnnot;
    m_gpiBarcodeOfficialDocument = new GPI_BarcodeOfficialDocument;
    m_gpiBarcodeSaveImage = new GPI_BarcodeSaveImage;

    CancelAnnotInstance = new GPI_CancelAnnot(nullptr);

    m_gtStamp = new GT_Stamp;
    static_cast<G_ToolHandler*>(m_gtStamp)->RegisterHandlerToGlobal();
}
