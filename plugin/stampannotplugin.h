#pragma once

#include "host/framework/iplugin.h"

class GA_Stamp;
class GP_BarcodeAddImage;
class GP_BarcodeOfficialDocument;
class GP_BarcodeRecordsGenerated;
class GP_BarcodeSaveImage;
class GP_DelStamp;
class GP_EmbedStamp;
class GP_InvoiceSeal;
class GP_Stamp;
class GP_StampAnnot;
class GPI_BarcodeOfficialDocument;
class GPI_BarcodeSaveImage;
class GPI_InvoiceStampAnnot;
class GPI_StampAnnot;
class GT_Stamp;

// The plug-in object. InitializeComponents makes one object of every operation, handler
// and interceptor the plug-in contributes and hands them to the reader; the object keeps
// them until the library is unloaded.
class StampAnnotPlugin : public ExtensionSystem::IPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID StampReader_IPlugin_IID FILE "stampannot.json")
public:
    StampAnnotPlugin();
    ~StampAnnotPlugin() override;

    bool Initialize(const QStringList& arguments, QString* errorString) override;
    void InitializeComponents() override;

private:
    GP_StampAnnot* m_gpStampAnnot = nullptr;
    GP_Stamp* m_gpStamp = nullptr;
    GA_Stamp* m_gaStamp = nullptr;
    GP_DelStamp* m_gpDelStamp = nullptr;
    GP_EmbedStamp* m_gpEmbedStamp = nullptr;
    GP_InvoiceSeal* m_gpInvoiceSeal = nullptr;
    GP_BarcodeOfficialDocument* m_gpBarcodeOfficialDocument = nullptr;
    GP_BarcodeRecordsGenerated* m_gpBarcodeRecordsGenerated = nullptr;
    GP_BarcodeAddImage* m_gpBarcodeAddImage = nullptr;
    GP_BarcodeSaveImage* m_gpBarcodeSaveImage = nullptr;
    GPI_StampAnnot* m_gpiStampAnnot = nullptr;
    GPI_BarcodeOfficialDocument* m_gpiBarcodeOfficialDocument = nullptr;
    GPI_BarcodeSaveImage* m_gpiBarcodeSaveImage = nullptr;
    GPI_InvoiceStampAnnot* m_gpiInvoiceStampAnnot = nullptr;
    GT_Stamp* m_gtStamp = nullptr;
};
