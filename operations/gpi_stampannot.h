#pragma once
// Gives "ti_stamp" its stamp. Before the operation acts it makes annotations visible, opens
// the stamp picker under the command's button (the "position" rectangle) and turns the
// choice into the placement parameters; when the picker closes without a choice it stops
// the run and puts the previous tool back on the command bar. After the run it scrolls to
// an automatically placed stamp, starts its digital signature when that was asked for, and
// returns the command bar to the hand tool.
//
// The steps are shared with the invoice seal interceptor, hence the static helpers.

#include "host/base/ca_types.h"
#include "host/framework/g_operationinterceptor.h"

#include <QString>

class G_DocView;
class G_Operation;
class G_UIContext;
struct StampSelection;

class GPI_StampAnnot : public G_OperationInterceptor
{
public:
    GPI_StampAnnot();
    ~GPI_StampAnnot() override;

    bool Intercepts(G_Operation* op) override;
    bool PrepareDataHandle(G_Operation* op, bool performed) override;
    void AfterDoActionHandle(G_Operation* op) override;

    // Whether the last segment of `op`'s name (split at "/"), in lower case, is `name`.
    static bool NameMatches(G_Operation* op, const char* name, bool log = true);

    // What the start of a stamping run found: the view, the anchor rectangle under the
    // command's button, the tool that was current and whether that was the hand or the
    // selection tool.
    struct RunStart {
        G_DocView* view = nullptr;
        CCA_GRect anchor;
        QString previousTool;
        bool fromHandOrSelect = false;
    };
    // Starts a run: hand tool first (unless the hand, selection or stamp command tool is
    // current), then annotations shown. False without a view.
    static bool StartRun(G_Operation* op, RunStart* start);
    // Nothing was chosen: the tool the run started from comes back.
    static void RestoreTool(G_Operation* op, const RunStart& start);
    // The command-bar and view steps after a run: scroll and sign an automatic placement,
    // then the hand tool.
    static void FinishRun(G_Operation* op, bool applySign);
    // Fires the command-bar event that selects `name`.
    static void SelectOnCommandBar(G_UIContext* context, const QString& name);
    // Makes annotations visible, or unchecks the command bar's annotation button.
    static void ShowAnnotations(G_DocView* view);
    // Writes a chosen stamp into the placement parameters of `op`; "position" as a point of
    // floats, or of whole numbers with `integerPosition`.
    static void WriteSelection(G_Operation* op, const StampSelection& selection,
                               bool integerPosition = false);
    // After an automatic placement: scroll to the stamp, sign it when asked.
    static void FollowAutoPlacement(G_Operation* op, bool applySign);

private:
    bool applySign = false;
};
