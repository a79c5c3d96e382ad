#pragma once
// The invoice seal: a small dialog that asks whether the generated seal goes on the first
// page only or on every page, and the generator behind its "Add" button. The generator
// reads the invoice's seller name and tax number from the reader, describes an oval red
// seal of 40 × 30 mm (the name along the upper arc, the number on the centre line, a
// caption below), has the seal maker write it as "invoice.ofd" in the reader's temporary
// folder, renders that at 300 dpi into "invoice.png" and places the picture 6 mm from the
// right and bottom edges: on the first page with "tp_stamp", or on every page at once with
// the reader's "batchaddinvoice". No step reports failure; the dialog is accepted anyway.

#include "host/sealmaker/sealdescription.h"
#include "host/utils/nex_dialog.h"

#include <memory>

class AutoInvoiceSealDlgForm;
class G_Engine;
class G_UIContext;
class IG_Document;

class AutoInvoiceSealDlg : public Utils::Widgets::Nex_Dialog
{
    Q_OBJECT
public:
    AutoInvoiceSealDlg(G_UIContext* uiContext, QWidget* parent);
    ~AutoInvoiceSealDlg() override;

    void PrepareSealRecord();
    // Appends the name (on the arc), number and caption items to the record.
    void AddSealTexts(const QString& name, const QString& number);
    bool RenderSealPicture(G_Engine* engine, void* handle);
    void PlaceInvoiceSeal();
    const SMK::SealDescription& SealRecord() const { return m_record; }

    static constexpr int kSealWidth = 40; // millimetres
    static constexpr int kSealHeight = 30;
    static constexpr int kSealMargin = 6; // from the right and bottom page edges
    static constexpr int kRenderDpi = 300;

public slots:
    void AddInvoiceSeal();

private slots:
    void CreateInvoiceSeal();

private:
    void InitDialog();

    std::unique_ptr<AutoInvoiceSealDlgForm> ui;
    G_UIContext* uiContext;
    IG_Document* m_document = nullptr;
    SMK::SealDescription m_record;
    float dpiScale = 1.0f;
};
