#include "choosestampdialog.h"

#include "choosestampdialogform.h"
#include "host/document/ig_document.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_uicontext.h"
#include "host/utils/nex_dpi.h"
#include "host/utils/nex_filedialog.h"
#include "host/utils/nex_messagebox.h"
#include "host/utils/nex_path.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QtMath>

namespace
{

const char* const kTipStyle =
    "background:#FFFFFF; border:none;font-size:9pt; font-family:Microsoft "
    "YaHei;color:#B7BFD0;";

const char* const kCancelStyle =
    "QPushButton{background:#FFFFFF;border-radius:2px;border:1px solid #D7D9DE;}"
    "QPushButton:hover{background:#EDF0F2;border:1px solid #B9BDC6;}"
    "QPushButton:pressed{background:#E8EBEF;border:1px solid #AFB3BD;}"
    "QPushButton:disabled{background:#FFFFFF;border:1px solid #ECECEC;color:#B7BFD0;}";

const char* const kDialogStyle =
    "QWidget#WidgetPreview{border:1px solid #E4E6EB;}"
    "QLabel#LabWidth,QLabel#LabHeight{color:#4F5D79;}"
    "QPushButton#BtnChooseImg{background:#FFFFFF;color:#4F5D79;padding:2px 8px;"
    "border-radius:2px;border:1px solid #D7D9DE;}"
    "QPushButton#BtnChooseImg:hover{background:#F4F5F7;}"
    "QPushButton#BtnChooseImg:pressed{background:#DDE2E6;}"
    "QDoubleSpinBox{color:#4F5D79;border-radius:2px;border:1px solid #D7D9DE;}"
    "QDoubleSpinBox:hover{border:1px solid #B9BDC6;}"
    "QDoubleSpinBox:focus{border:1px solid #14A8F0;}"
    "QDoubleSpinBox:disabled{color:#D4DBE9;border:1px solid #ECECEC;}"
    "QDoubleSpinBox::up-button{image:url(:/arrowup.svg);border-radius:0px 1px 0px 0px;"
    "background:rgba(198, 206, 214, 0);}"
    "QDoubleSpinBox::down-button{image:url(:/arrowdown.svg);border-radius:0px 0px 1px 0px;"
    "background:rgba(198, 206, 214, 0);}"
    "QDoubleSpinBox::up-button:hover,QDoubleSpinBox::down-button:hover{"
    "background:rgba(198, 206, 214, 20%);}"
    "QDoubleSpinBox::up-button:disabled,QDoubleSpinBox::down-button:disabled{"
    "background:rgba(198, 206, 214, 0);}";

const char* const kComboStyle =
    "QComboBox{color:#4F5D79;border-radius:2px;border:1px solid #D7D9DE;}"
    "QComboBox::drop-down{width:22px;background:#FFFFFF;}"
    "QComboBox::down-arrow{image:url(:/combox_down_normal.svg);width:10px;height:10px;}"
    "QComboBox::down-arrow:disabled{image:url(:/combox_down_disable.svg);}"
    "QComboBox:disabled{color:#B7BFD0;}"
    "QComboBox QAbstractItemView{border:1px solid #D7D9DE;outline:0px;}"
    "QComboBox QAbstractItemView::item{color:#4F5D79;background:transparent;}"
    "QComboBox QAbstractItemView::item:selected{background:rgba(198, 206, 214, 0.6);}";

struct Preset {
    const char* text;
    int width;
    int height;
};

const Preset kPresets[] = {
    {QT_TRANSLATE_NOOP("ChooseStampDialog", "official seal = 42 x 42 mm"), 42, 42},
    {QT_TRANSLATE_NOOP("ChooseStampDialog", "Special seal = 40 x 40 mm"), 40, 40},
    {QT_TRANSLATE_NOOP("ChooseStampDialog", "person private = 38 x 38 mm"), 38, 38},
    {QT_TRANSLATE_NOOP("ChooseStampDialog", "contractual seal = 58 x 58 mm"), 58, 58},
    {QT_TRANSLATE_NOOP("ChooseStampDialog", "invoice seal = 40 x 30 mm"), 40, 30},
    {QT_TRANSLATE_NOOP("ChooseStampDialog", "foreign seal = 45 x 30 mm"), 45, 30},
};
constexpr int kInvoicePreset = 5;

} // namespace

ChooseStampDialog::ChooseStampDialog(G_UIContext* uiContext, QWidget* parent)
    : Utils::Widgets::Nex_Dialog(parent, false), ui(new ChooseStampDialogForm), uiContext(uiContext)
{
    RegisterStampParamType();
    ui->setupUi(this);
    InitDialog();
}

ChooseStampDialog::~ChooseStampDialog() = default;

void ChooseStampDialog::InitDialog()
{
    ScaleDialog(true, QString());
    ResetState();
    InitSizeCombo();
    setModal(true);
    ui->DSpinBWidth->setObjectName(QStringLiteral("width"));
    ui->DSpinBHeight->setObjectName(QStringLiteral("height"));

    connect(ui->BtnClose, &QPushButton::clicked, this, &ChooseStampDialog::ResetStateWithClose);
    connect(ui->BtnCanceled, &QPushButton::clicked, this, &ChooseStampDialog::ResetStateWithClose);
    connect(ui->BtnOk, &QPushButton::clicked, this, &ChooseStampDialog::AddCustomStamp);
    connect(ui->BtnChooseImg, &QPushButton::clicked, this, &ChooseStampDialog::ChooseImg);
    connect(ui->DSpinBWidth, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
            &ChooseStampDialog::WHChanged);
    connect(ui->DSpinBHeight, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
            &ChooseStampDialog::WHChanged);
    connect(ui->ComboStampSize, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &ChooseStampDialog::ChangeDSpinValue);

    ui->BtnClose->setProperty("class", QStringLiteral("closeBtn"));
    ui->BtnOk->setProperty("class", QStringLiteral("okBtn"));
    ui->LabAddTitle->setProperty("class", QStringLiteral("normalTitle"));
    ui->BtnOk->setDefault(true);
    ui->LabTip->setStyleSheet(QString::fromUtf8(kTipStyle));
    ui->BtnCanceled->setStyleSheet(QString::fromUtf8(kCancelStyle));
    setStyleSheet(Utils::DPI::Nex_Util::ScaleStyleSheet(QString::fromUtf8(kDialogStyle)));
}

void ChooseStampDialog::InitSizeCombo()
{
    ui->ComboStampSize->addItem(tr("Custom size"));
    for (const Preset& preset : kPresets) {
        ui->ComboStampSize->addItem(tr(preset.text));
        const int row = ui->ComboStampSize->count() - 1;
        ui->ComboStampSize->setItemData(row, QString::number(preset.width), Qt::UserRole);
        ui->ComboStampSize->setItemData(row, QString::number(preset.height), Qt::UserRole + 1);
    }
    ui->ComboStampSize->setStyleSheet(QString::fromUtf8(kComboStyle));
}

void ChooseStampDialog::ResetState()
{
    ui->ChkFixRadio->setChecked(false);
    ui->ChkFixRadio->setEnabled(false);
    for (QDoubleSpinBox* box : {ui->DSpinBWidth, ui->DSpinBHeight}) {
        box->setMinimum(0);
        box->setMaximum(999);
        const QSignalBlocker quiet(box);
        box->setValue(0);
        box->setEnabled(false);
    }
    ui->ComboStampSize->setEnabled(false);
    ui->ComboStampSize->setCurrentIndex(0);
    ui->LabImgPreview->clear();
    imagePath.clear();
}

void ChooseStampDialog::SetInvoiceMode()
{
    invoiceMode = true;
    ui->ComboStampSize->setCurrentIndex(kInvoicePreset);
}

void ChooseStampDialog::ClearInvoiceMode()
{
    invoiceMode = false;
}

void ChooseStampDialog::setSize(double width, double height)
{
    {
        const QSignalBlocker quiet(ui->DSpinBWidth);
        ui->DSpinBWidth->setValue(width);
    }
    const QSignalBlocker quiet(ui->DSpinBHeight);
    ui->DSpinBHeight->setValue(height);
}

void ChooseStampDialog::ChooseImg()
{
    QString folder;
    G_DocView* view = uiContext ? uiContext->CurrentDocView() : nullptr;
    if (view && view->GDocument())
        folder = QFileInfo(GQ_ToQStringFromUtf8(view->GDocument()->FilePath())).absolutePath();
    const QString file = Utils::Widgets::Nex_FileDialog::getOpenFileName(
        this, QObject::tr("choose img"), folder, QObject::tr("Img files(*.png *.jpg)"));
    if (file.isEmpty() || QFileInfo(file).size() > kMaxFileSize)
        return;
    const QPixmap picture(file);
    if (picture.isNull()) {
        const QString title = QObject::tr("tips");
        const QString text =
            QObject::tr("The file format is corrupt. Please re select the picture.");
        if (uiContext)
            uiContext->InformationMessageBox(title, text, QMessageBox::Close, QMessageBox::Close);
        return;
    }
    if (!invoiceMode) {
        const QSignalBlocker quiet(ui->ComboStampSize);
        ui->ComboStampSize->setCurrentIndex(0);
    }

    // A copy of its own, so the stamp outlives the original and never collides with one
    // imported earlier under the same name.
    const QString folderPath = QStringLiteral("%1stamp").arg(Utils::Nex_Path::UserPath());
    QDir().mkpath(folderPath);
    const QString copy =
        folderPath + QStringLiteral("/%1_%2").arg(
                         QDateTime::currentDateTime().toString(QStringLiteral("yy_MM_dd_hh_mm_ss")),
                         QFileInfo(file).fileName());
    imagePath = QFile::copy(file, copy) ? copy : file;

    const int widthMM = picture.widthMM();
    const int heightMM = picture.heightMM();
    double fit = 1.0;
    if (widthMM > ui->DSpinBWidth->maximum())
        fit = widthMM / ui->DSpinBWidth->maximum();
    else if (heightMM > ui->DSpinBHeight->maximum())
        fit = heightMM / ui->DSpinBHeight->maximum();
    const int width = int(qCeil(widthMM / fit));
    const int height = int(qCeil(heightMM / fit));

    ui->DSpinBWidth->setEnabled(true);
    ui->DSpinBHeight->setEnabled(true);
    {
        const QSignalBlocker quietWidth(ui->DSpinBWidth);
        const QSignalBlocker quietHeight(ui->DSpinBHeight);
        ui->DSpinBWidth->setMinimum(1);
        ui->DSpinBHeight->setMinimum(1);
        ui->DSpinBWidth->setValue(width);
        ui->DSpinBHeight->setValue(height);
    }
    ratio = ui->DSpinBWidth->value() / ui->DSpinBHeight->value();
    ui->ChkFixRadio->setEnabled(true);
    ui->ComboStampSize->setEnabled(true);
    UpdatePreview();

    if (invoiceMode) {
        ui->DSpinBWidth->setValue(40);
        ui->DSpinBHeight->setValue(30);
        ui->ComboStampSize->setCurrentIndex(kInvoicePreset);
    }
}

void ChooseStampDialog::ChangeDSpinValue(int index)
{
    if (ui->ComboStampSize->currentIndex() == 0)
        return;
    const int width = ui->ComboStampSize->itemData(index, Qt::UserRole).toInt();
    const int height = ui->ComboStampSize->itemData(index, Qt::UserRole + 1).toInt();
    if (ui->ChkFixRadio->isChecked()) {
        setSize(width, height);
        ratio = ui->DSpinBWidth->value() / ui->DSpinBHeight->value();
        on_ChkFixRadio_stateChanged(Qt::Checked);
    }
    setSize(width, height);
    UpdatePreview();
}

void ChooseStampDialog::WHChanged(double)
{
    const int index = ui->ComboStampSize->currentIndex();
    const double presetWidth = ui->ComboStampSize->itemData(index, Qt::UserRole).toDouble();
    const double presetHeight = ui->ComboStampSize->itemData(index, Qt::UserRole + 1).toDouble();
    if (ui->DSpinBWidth->value() != presetWidth || ui->DSpinBHeight->value() != presetHeight)
        ui->ComboStampSize->setCurrentIndex(0);

    if (ui->ChkFixRadio->isChecked()) {
        const QString sender = QObject::sender() ? QObject::sender()->objectName() : QString();
        if (sender == QLatin1String("width")) {
            const QSignalBlocker quiet(ui->DSpinBHeight);
            ui->DSpinBHeight->setValue(ui->DSpinBWidth->value() / ratio);
        } else if (sender == QLatin1String("height")) {
            const QSignalBlocker quiet(ui->DSpinBWidth);
            ui->DSpinBWidth->setValue(ui->DSpinBHeight->value() * ratio);
        }
    }
    UpdatePreview();
}

void ChooseStampDialog::on_ChkFixRadio_stateChanged(int state)
{
    if (state != Qt::Checked) {
        for (QDoubleSpinBox* box : {ui->DSpinBWidth, ui->DSpinBHeight}) {
            box->setMaximum(999);
            box->setMinimum(1);
        }
        return;
    }
    // Limits that keep the dependent side within 1 to 999 mm while the ratio holds.
    ratio = ui->DSpinBWidth->value() / ui->DSpinBHeight->value();
    if (ratio > 1.0) {
        ui->DSpinBHeight->setMaximum(999 / ratio);
        ui->DSpinBWidth->setMinimum(ratio);
    } else {
        ui->DSpinBWidth->setMaximum(ratio * 999);
        ui->DSpinBHeight->setMinimum(1 / ratio);
    }
}

void ChooseStampDialog::UpdatePreview()
{
    ui->LabImgPreview->clear();
    const QPixmap picture(imagePath);
    if (picture.isNull() || ui->DSpinBHeight->value() <= 0)
        return; // nothing chosen yet
    const int side = ui->LabImgPreview->width();
    const double r = ui->DSpinBWidth->value() / ui->DSpinBHeight->value();
    int width = side;
    int height = side;
    if (r > 1.0)
        height = int(side / r);
    else
        width = int(side * r);
    ui->LabImgPreview->setPixmap(
        picture.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    ui->LabImgPreview->setAlignment(Qt::AlignCenter);
}

void ChooseStampDialog::AddCustomStamp()
{
    if (imagePath.isEmpty()) {
        if (uiContext)
            uiContext->WarningMessageBox(tr("Waring"), tr("Please choose stamp img"),
                                         QMessageBox::Close, QMessageBox::Close);
        return;
    }
    const StampParam param{imagePath,
                           QSize(int(ui->DSpinBWidth->value()), int(ui->DSpinBHeight->value()))};
    emit NewCustomStamp(param);
    ResetState();
    hide();
}

void ChooseStampDialog::ResetStateWithClose()
{
    ResetState();
    close();
}

void ChooseStampDialog::showEvent(QShowEvent* event)
{
    SetDragArea(QRect(0, 0, width(), ui->LabAddTitle->geometry().bottom()));
    Nex_Dialog::showEvent(event);
}
