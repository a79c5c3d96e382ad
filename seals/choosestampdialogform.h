#pragma once
// The widgets of the picture stamp dialog, built in code with the object names, sizes and
// texts its style sheets and tests refer to. Texts are translated in the context
// "ChooseStampDialog".

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QWidget;

class ChooseStampDialogForm
{
public:
    // Builds the widgets on `dialog` and connects on_<name>_<signal> slots by name.
    void setupUi(QWidget* dialog);
    void retranslateUi(QWidget* dialog);

    QLabel* LabAddTitle = nullptr;
    QPushButton* BtnClose = nullptr;
    QPushButton* BtnChooseImg = nullptr;
    QLabel* LabTip = nullptr;
    QLabel* LabStampSize = nullptr;
    QComboBox* ComboStampSize = nullptr;
    QLabel* LabWidth = nullptr;
    QDoubleSpinBox* DSpinBWidth = nullptr;
    QLabel* LabHeight = nullptr;
    QDoubleSpinBox* DSpinBHeight = nullptr;
    QWidget* WidgetPreview = nullptr;
    QLabel* LabImgPreview = nullptr;
    QCheckBox* ChkFixRadio = nullptr;
    QPushButton* BtnOk = nullptr;
    QPushButton* BtnCanceled = nullptr;
};
