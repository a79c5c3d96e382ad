#pragma once
// What the plug-in's view-driven tests share: the plug-in initialised as the reader does it,
// the sample seal, and placements started the way the reader's stamp command starts them.

#include "host/base/ca_types.h"
#include "host/framework/g_operation.h"
#include "host/framework/g_operationinterceptor.h"

#include <QSize>
#include <QString>
#include <QVariantMap>

class G_DocView;
class GT_Stamp;
class HostFixture;
class IG_Annot;
class IG_Document;
class IG_Page;

class StampKit
{
public:
    // qt_plugin_instance, Initialize, InitializeComponents: once per process.
    static void InitPlugin();

    static QString SealPath();
    static QString ContractPath(); // three A4 pages
    static int EmbedSeal(IG_Document* doc);
    // Gives the view's picker a custom stamp: the seal at `size` (the invoice seal command
    // opens the picture dialog instead of the picker while that list is empty).
    static void AddCustomSeal(G_DocView* view, const QSize& size);

    // Puts the mouse pointer over a page point: the cursor position and a move event.
    static void PointerTo(HostFixture& fx, int page, const CCA_GPoint& mm);
    // While it lives, the stamp picker that "ti_stamp" opens is answered by choosing the
    // seal at `size` (auto stamping off), as a person would.
    struct PickerChoice {
        explicit PickerChoice(const CCA_GSize& size, bool applySign = false);
        ~PickerChoice();
    };
    // Pointer over the point, then "ti_stamp" choosing the seal; returns the preview.
    static IG_Annot* StartInteractive(HostFixture& fx, int page, const CCA_GPoint& mm,
                                      const CCA_GSize& size, bool applySign = false);

    // While it lives, records the runs of the operation named `name`: its parameters as
    // each run starts, and "annotid" after it (interceptors join runs when constructed).
    class RunRecorder : public G_OperationInterceptor
    {
    public:
        explicit RunRecorder(const char* name) : m_name(name) {}
        bool Intercepts(G_Operation* op) override { return m_name == op->Name(); }
        bool PrepareDataHandle(G_Operation* op, bool) override
        {
            ++runs;
            keys = op->Param()->Keys();
            for (const QString& key : qAsConst(keys))
                values.insert(key, op->Param()->Value(key));
            return true;
        }
        void AfterDoActionHandle(G_Operation* op) override
        {
            values.insert("annotid after", op->Param()->Value("annotid"));
        }
        int runs = 0;
        QStringList keys;
        QVariantMap values;

    private:
        QByteArray m_name;
    };

    static GT_Stamp* StampTool(G_DocView* view); // the view's own "tp_stamp"
    static IG_Annot* Pending(G_DocView* view);   // the preview its command holds
    static int RunTimeCount(IG_Page* page);      // previews on the page
    static CCA_GPoint Centre(const CCA_GRect& r);
};
