#pragma once
// The application object, its engine and the engine's services. No widgets here: the
// UI layer registers the documents it opens, and shows messages itself.

#include "../json/nexjson.h"
#include "g_invoiceinfodata.h"

#include <QList>
#include <QString>
#include <functional>
#include <memory>

class IG_Document;
class IG_Page;
class CCA_QtDevice;

using G_EngineHandle = void*;

// Engine-level state of a loaded document: what the signature and invoice services use.
class G_DocumentContext {
public:
    explicit G_DocumentContext(IG_Document* doc) : m_doc(doc) {}
    IG_Document* Document() const { return m_doc; }
    int PreparedSignatures() const { return m_preparedSignatures; }
    void NotePreparedSignature() { ++m_preparedSignatures; }

private:
    IG_Document* m_doc;
    int m_preparedSignatures = 0;
};

class G_SignatureService {
public:
    // Readies the document for a digital signature; false without a context.
    bool PrepareSignature(G_DocumentContext* context,
                          const NexSharedPtr<const NexJson>& options);
    // Opens a document for a working handle (one at a time per handle; the previous one is
    // closed). The handle owns it until CloseDocument.
    IG_Document* OpenDocument(G_EngineHandle handle, const wchar_t* path,
                              const NexSharedPtr<NexJson>& options);
    void CloseDocument(G_EngineHandle handle);
};

// Invoices are recognised from the document itself, by named fields the file carries:
// in a PDF the entries of the document information dictionary (/Info), in an OFD the
// elements of the document's custom tag files (by local name, in any namespace; an
// element whose ObjectRef children name text objects takes their text). The names read:
//   InvoiceCode; InvoiceNo or InvoiceNumber; IssueDate; SellerName; SellerTaxID;
//   BuyerName; BuyerTaxID; TotalAmount or TotalTax-includedAmount.
// A document is an invoice when it names an invoice number, the seller's name and the
// seller's tax number; then every one of its pages is an invoice page.
class G_InvoiceService {
public:
    bool IsInvoice(G_DocumentContext* context);
    // 1 when the document is an invoice and `pageIndex` is one of its pages; 0 otherwise.
    int InvoiceKind(G_DocumentContext* context, int pageIndex);
    // Fills `info` (UTF-8 texts) from an invoice; false, leaving `info` as it was, for a
    // document that is not one.
    bool ReadInvoiceInfo(G_DocumentContext* context, G_InvoiceInfoData& info);
};

class G_ConvertService {
public:
    // Picture → one-page PDF or OFD at the picture's physical size (its DPI, 96 when
    // unknown). Destination kind is chosen by suffix (".pdf", ".ofd"); others give false.
    bool ConvertFile(G_EngineHandle handle, const wchar_t* source, const wchar_t* destination,
                     const NexSharedPtr<const NexJson>& options);
};

class G_RenderService {
public:
    // Draws the page through the device with `matrix` (page millimetres → device pixels).
    // `flags` 127 draws everything; options may hold "Clip" (a rectangle in device pixels).
    bool RenderPage(G_EngineHandle handle, IG_Page* page, CCA_QtDevice* device,
                    const CCA_Matrix* matrix, int flags, int reserved1, int reserved2,
                    const NexSharedPtr<NexJson>& options);
};

class G_Engine {
public:
    G_Engine();
    ~G_Engine();
    G_EngineHandle AcquireHandle(int reserved);
    void ReleaseHandle(G_EngineHandle* handle); // sets *handle to null
    int OpenHandleCount() const;

    G_SignatureService* SignatureService();
    G_InvoiceService* InvoiceService();
    G_ConvertService* ConvertService();
    G_RenderService* RenderService();

    // The documents opened through a handle (host side).
    IG_Document* HandleDocument(G_EngineHandle handle) const;
    void SetHandleDocument(G_EngineHandle handle, IG_Document* doc);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// Receives one UTF-8 text per line.
class G_Logger {
public:
    void Write(const char* utf8);
    QStringList Lines() const { return m_lines; }
    void Clear() { m_lines.clear(); }

private:
    QStringList m_lines;
};

class G_Application {
public:
    static G_Application* Instance();

    G_Engine* Engine();
    G_Logger* Logger();

    // Documents the reader has open. Registering creates the engine-level context.
    void RegisterDocument(IG_Document* doc);
    void UnregisterDocument(IG_Document* doc);
    int DocumentCount() const;
    G_DocumentContext* DocumentContext(IG_Document* doc) const; // null when not registered

private:
    G_Application();
    struct Private;
    std::unique_ptr<Private> d;
};
