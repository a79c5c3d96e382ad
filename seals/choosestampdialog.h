#pragma once
// Turns a picture from the user's disk into a custom stamp of a chosen physical size. The
// user picks a PNG or JPG file of at most 2 MiB; it is copied into the user stamp folder
// under a time-stamped name (so two pictures of the same name never overwrite each other),
// a size in millimetres is proposed from the picture's own physical size (fitted into
// 999 mm), a preset or a typed size (optionally holding the width-to-height ratio) can be
// chosen, and OK emits NewCustomStamp. In invoice mode a new picture is sized 40 × 30 mm.

#include "host/utils/nex_dialog.h"
#include "picker/stampparam.h"

#include <memory>

class ChooseStampDialogForm;
class G_UIContext;

class ChooseStampDialog : public Utils::Widgets::Nex_Dialog
{
    Q_OBJECT
public:
    ChooseStampDialog(G_UIContext* uiContext, QWidget* parent);
    ~ChooseStampDialog() override;

    void SetInvoiceMode();
    void ClearInvoiceMode();

    static constexpr qint64 kMaxFileSize = 2097152; // bytes

signals:
    void NewCustomStamp(StampParam param);

private slots:
    void ChooseImg();
    void AddCustomStamp();
    void WHChanged(double value);
    void ResetStateWithClose();
    void on_ChkFixRadio_stateChanged(int state);
    void ChangeDSpinValue(int index);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void InitDialog();
    void InitSizeCombo();
    void ResetState();
    void UpdatePreview();
    void setSize(double width, double height); // with the boxes' signals blocked

    std::unique_ptr<ChooseStampDialogForm> ui;
    QString imagePath;
    G_UIContext* uiContext;
    double ratio = 1.0;
    bool invoiceMode = false;
};
