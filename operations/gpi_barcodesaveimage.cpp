#include "gpi_barcodesaveimage.h"

#include "gpi_stampannot.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_operation.h"
#include "host/framework/g_uicontext.h"

#include <QCoreApplication>
#include <QMessageBox>

GPI_BarcodeSaveImage::GPI_BarcodeSaveImage() = default;

GPI_BarcodeSaveImage::~GPI_BarcodeSaveImage() = default;

bool GPI_BarcodeSaveImage::Intercepts(G_Operation* op)
{
    return GPI_StampAnnot::NameMatches(op, "tb_barcodesaveimage", false);
}

void GPI_BarcodeSaveImage::AfterDoActionHandle(G_Operation* op)
{
    G_UIContext* context = op && op->DocView() ? op->DocView()->UIContext() : nullptr;
    if (!context || op->ActionResult() == 0)
        return;
    auto tr = [](const char* text) {
        return QCoreApplication::translate("GPI_BarcodeSaveImage", text);
    };
    if (op->Param()->GetBool("saveFile", false))
        context->InformationMessageBox(tr("save file"), tr("Save File Success!"),
                                       QMessageBox::Close, -1, {}, QSize());
    else
        context->ErrorMessageBox(tr("error"), tr("Save File failed!"), QMessageBox::Close, -1, {},
                                 QSize());
}
