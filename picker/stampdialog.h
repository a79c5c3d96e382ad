#pragma once
// The stamp picker: a popup under the reader's stamp command with the usual, standard and
// custom stamps (StampLibrary) on three tabs, an "Add" menu that makes picture stamps
// (ChooseStampDialog) or starts the stamp maker program (CustomStampEvent: the stamps it
// reports join the custom list), and the auto-stamp panel: automatic placement at page margins and
// the apply-signature choice. Clicking a stamp chooses it and closes the popup; the
// stamping interceptors then ask GetStampSelection for the placement.
//
// One picker exists per process (Instance). It is parented to the reader's dialog parent
// and destroyed with it, which writes the lists back to "stamps.ini". The auto-stamp keys
// of "stamps.ini" are written at once when a stamp is chosen or the popup closes, and reset
// at teardown. "uiconfig.ini" (AppConfigsPath) may hide the apply-signature box with
// [stamp] stamp.applysignature.show=false.

#include "host/base/ca_types.h"
#include "host/utils/fileversion.h"
#include "host/utils/nex_popup.h"
#include "stamplibrary.h"
#include "stampparam.h"
#include "stampselection.h"

#include <QPointer>
#include <QProcess>
#include <QVariant>
#include <memory>

class ChooseStampDialog;
class CustomStampEvent;
class G_DocView;
class G_Event;
class G_Operation;
class G_UIContext;
class IG_Document;
class QAbstractItemModel;
class QModelIndex;
class QSettings;
class QStandardItemModel;
class StampDialogForm;

class StampDialog : public Utils::Widgets::Nex_Popup
{
    Q_OBJECT
public:
    // The first call creates the picker (parent: the reader's dialog parent); later calls
    // bind it to `view`, its document and UI context; `anchor` then has no effect.
    static StampDialog* Instance(G_DocView* view, const CCA_GRect& anchor);
    static StampDialog* Existing(); // the picker when it was created, else null
    ~StampDialog() override;

    void InitStampWidget();        // prepares a normal use
    void InitInvoiceStampWidget(); // prepares and runs an invoice use
    // Hands out the chosen stamp (once); false when nothing is to be stamped.
    bool GetStampSelection(StampSelection& out);
    // False (after a warning) when the view's document file cannot be opened for writing.
    bool CheckFileWritable(G_DocView* view);
    void InitApplySignatureVisible();

    bool AddStampItem(StampListKind kind, const StampParam& entry);
    void RemoveRepeatItem(QStandardItemModel* list);
    QStandardItemModel* ListModel(StampListKind kind) const;
    void SelectStamp(const StampParam& entry);
    // For callers that reach the picker only through Qt's meta-object system, such as the
    // reader's batch command answering it through the popup seam: SelectStamp with plain
    // values, and the standard and custom lists as maps {"list": "standard" or "custom",
    // "path", "width", "height" (millimetres)} in list order.
    Q_INVOKABLE void SelectStampFile(const QString& imagePath, const QSize& size);
    Q_INVOKABLE QVariantList LibraryStamps() const;

    G_DocView* DocView() const;
    bool IsInvoiceMode() const { return m_invoiceMode; }

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

    // Builds the stamp maker's command line and starts it, unless one started earlier runs.
    void StartCustomStampProcess(const QString& program, int port);

private slots:
    void AddCustomStamp();
    void FinishCustomStampProcess(int exitCode, QProcess::ExitStatus exitStatus);
    void ChooseStamp();
    void AddCustomStamp(StampParam entry);
    void AddCustomStampUnused(StampParam entry);
    void DelItem(QAbstractItemModel* list, QModelIndex index);
    void AddItem(QAbstractItemModel* model, QModelIndex index);
    void MainWindowRectChanged(G_Event* event);
    void DocClose(G_Operation* op, IG_Document* document);
    void AllDocClose(G_Operation* op);
    void on_BtnUsualStamp_clicked();
    void on_BtnStandardStamp_clicked();
    void on_BtnCustomStamp_clicked();
    void CheckBoxStateChanged(int state);
    void WarnToolTip(QString text);
    void ActivedScreenChanged(G_DocView* docView);

private:
    StampDialog(G_DocView* view, const CCA_GRect& anchor, QWidget* parent);
    void bind(G_DocView* view);
    void InitDialog();
    void InitListW();
    void InitPageMargin();
    void applyStyleSheets();
    void chooseRow(QStandardItemModel* list, int row);
    void saveOnClose();
    void storeStampMargins(QSettings& ini);
    // "stamps.ini", kept open while the picker lives: the choices of a long batch go to one
    // cached copy that Qt writes out when the event loop next runs (and at teardown),
    // instead of a locked rewrite of the file for every stamp. Reopened when the file's
    // place changes.
    QSettings& stampsIni();
    void showTab(int page, QWidget* button);
    // A picture is decoded once to know it loads; asked again for the same unchanged file
    // (every page of a batch run), the answer is remembered.
    bool pictureLoads(const QString& path);

    std::unique_ptr<StampDialogForm> m_ui;
    std::unique_ptr<QSettings> m_stampsIni;
    QString m_stampsIniPath;
    QPointer<G_DocView> m_view; // views go away before the picker hears of it
    IG_Document* m_document = nullptr;
    QPointer<G_UIContext> m_context;
    StampLibrary m_library;
    ChooseStampDialog* m_chooseStampDialog = nullptr;
    CustomStampEvent* m_customStampEvent = nullptr;
    QProcess* customStampProcess = nullptr; // a stamp maker this picker started, while it runs
    QString m_marginTexts[2];
    int m_directionIndexes[4] = {0, 0, 0, 0}; // invoice LR, invoice TB, stamp LR, stamp TB
    bool m_invoiceMode = false;
    StampParam m_pendingStamp;
    // The versions of "uiconfig.ini" and of the chosen picture last read, and what the
    // first said.
    Utils::FileVersion m_uiConfigVersion;
    bool m_showApplySign = true;
    Utils::FileVersion m_loadedPicture; // known to load
};
