#include "choosestampdialogform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMetaObject>
#include <QPushButton>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace
{

template <typename T> T* named(QWidget* parent, const char* name)
{
    auto* widget = new T(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

template <typename Layout> Layout* namedLayout(const char* name, int spacing)
{
    auto* layout = new Layout;
    layout->setObjectName(QString::fromLatin1(name));
    if (spacing >= 0)
        layout->setSpacing(spacing);
    return layout;
}

QSpacerItem* expandingSpacer()
{
    return new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
}

QDoubleSpinBox* sizeBox(QWidget* parent, const char* name)
{
    auto* box = named<QDoubleSpinBox>(parent, name);
    box->setFixedSize(93, 28);
    box->setDecimals(0);
    box->setRange(0, 999);
    box->setValue(0);
    return box;
}

} // namespace

void ChooseStampDialogForm::setupUi(QWidget* dialog)
{
    if (dialog->objectName().isEmpty())
        dialog->setObjectName(QStringLiteral("ChooseStampDialog"));
    dialog->resize(460, 340);
    dialog->setMinimumSize(460, 340);
    dialog->setMaximumSize(460, 340);

    auto* outer = namedLayout<QVBoxLayout>("verticalLayout_2", 12);
    outer->setContentsMargins(30, 24, 30, 30);
    dialog->setLayout(outer);

    auto* titleRow = namedLayout<QHBoxLayout>("horizontalLayout_3", -1);
    LabAddTitle = named<QLabel>(dialog, "LabAddTitle");
    LabAddTitle->setMinimumSize(150, 28);
    LabAddTitle->setMaximumHeight(28);
    BtnClose = named<QPushButton>(dialog, "BtnClose");
    BtnClose->setFixedSize(24, 24);
    titleRow->addWidget(LabAddTitle);
    titleRow->addItem(expandingSpacer());
    titleRow->addWidget(BtnClose);
    outer->addLayout(titleRow);

    auto* grid = namedLayout<QGridLayout>("gridLayout_3", 0);
    auto* pickColumn = namedLayout<QVBoxLayout>("verticalLayout", 0);
    pickColumn->setContentsMargins(-1, 8, -1, 8);
    auto* pickRow = namedLayout<QHBoxLayout>("horizontalLayout_5", 0);
    BtnChooseImg = named<QPushButton>(dialog, "BtnChooseImg");
    BtnChooseImg->setFixedHeight(28);
    pickRow->addWidget(BtnChooseImg);
    pickRow->addItem(expandingSpacer());
    pickColumn->addLayout(pickRow);
    LabTip = named<QLabel>(dialog, "LabTip");
    LabTip->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    LabTip->setMinimumWidth(256);
    LabTip->setMaximumWidth(16777210);
    pickColumn->addWidget(LabTip);
    grid->addLayout(pickColumn, 0, 0);

    auto* sizeGrid = namedLayout<QGridLayout>("gridLayout_2", -1);
    sizeGrid->setHorizontalSpacing(0);
    sizeGrid->setVerticalSpacing(4);
    sizeGrid->setContentsMargins(-1, 10, -1, 0);
    LabStampSize = named<QLabel>(dialog, "LabStampSize");
    ComboStampSize = named<QComboBox>(dialog, "ComboStampSize");
    ComboStampSize->setFixedSize(150, 28);
    LabWidth = named<QLabel>(dialog, "LabWidth");
    DSpinBWidth = sizeBox(dialog, "DSpinBWidth");
    LabHeight = named<QLabel>(dialog, "LabHeight");
    DSpinBHeight = sizeBox(dialog, "DSpinBHeight");
    const QList<QPair<QWidget*, QWidget*>> rows = {
        {LabStampSize, ComboStampSize}, {LabWidth, DSpinBWidth}, {LabHeight, DSpinBHeight}};
    for (int row = 0; row < rows.size(); ++row) {
        sizeGrid->addWidget(rows.at(row).first, row, 0);
        sizeGrid->addWidget(rows.at(row).second, row, 1);
        sizeGrid->addItem(expandingSpacer(), row, 2);
    }
    grid->addLayout(sizeGrid, 1, 0);

    WidgetPreview = named<QWidget>(dialog, "WidgetPreview");
    WidgetPreview->setFixedSize(140, 140);
    auto* previewLayout = namedLayout<QHBoxLayout>("horizontalLayout_4", 0);
    previewLayout->setContentsMargins(10, 10, 10, 10);
    WidgetPreview->setLayout(previewLayout);
    LabImgPreview = named<QLabel>(WidgetPreview, "LabImgPreview");
    LabImgPreview->setFixedSize(120, 120);
    previewLayout->addWidget(LabImgPreview);
    grid->addWidget(WidgetPreview, 0, 1, 2, 1);
    outer->addLayout(grid);

    auto* ratioRow = namedLayout<QHBoxLayout>("horizontalLayout", -1);
    ChkFixRadio = named<QCheckBox>(dialog, "ChkFixRadio");
    ChkFixRadio->setMinimumSize(100, 28);
    ratioRow->addWidget(ChkFixRadio);
    ratioRow->addItem(expandingSpacer());
    outer->addLayout(ratioRow);

    auto* buttonRow = namedLayout<QHBoxLayout>("horizontalLayout_2", 12);
    BtnOk = named<QPushButton>(dialog, "BtnOk");
    BtnOk->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    BtnOk->setFixedSize(80, 30);
    BtnCanceled = named<QPushButton>(dialog, "BtnCanceled");
    BtnCanceled->setFixedSize(80, 30);
    buttonRow->addItem(expandingSpacer());
    buttonRow->addWidget(BtnOk);
    buttonRow->addWidget(BtnCanceled);
    outer->addLayout(buttonRow);

    retranslateUi(dialog);
    QMetaObject::connectSlotsByName(dialog);
}

void ChooseStampDialogForm::retranslateUi(QWidget* dialog)
{
    dialog->setWindowTitle(QString());
    LabAddTitle->setText(QCoreApplication::translate("ChooseStampDialog", "Add picture stamp"));
    BtnChooseImg->setText(QCoreApplication::translate("ChooseStampDialog", "Choose local img"));
    LabTip->setText(QCoreApplication::translate(
        "ChooseStampDialog", "Supported img format:jpg,png,size can't be large than 2M."));
    LabStampSize->setText(QCoreApplication::translate("ChooseStampDialog", "Stamp size:"));
    LabWidth->setText(QCoreApplication::translate("ChooseStampDialog", "Stamp width:"));
    LabHeight->setText(QCoreApplication::translate("ChooseStampDialog", "Stamp height:"));
    const QString mm = QCoreApplication::translate("ChooseStampDialog", "mm");
    DSpinBWidth->setSuffix(mm);
    DSpinBHeight->setSuffix(mm);
    ChkFixRadio->setText(QCoreApplication::translate("ChooseStampDialog", "Fixed scale"));
    BtnOk->setText(QCoreApplication::translate("ChooseStampDialog", "OK"));
    BtnCanceled->setText(QCoreApplication::translate("ChooseStampDialog", "Cancel"));
}
