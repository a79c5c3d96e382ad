#pragma once
// The widgets of the invoice seal dialog, built in code with the object names, sizes and
// texts its tests refer to. Texts are translated in the context "AutoInvoiceSealDlg".

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;

class AutoInvoiceSealDlgForm
{
public:
    void setupUi(QWidget* dialog);
    void retranslateUi(QWidget* dialog);

    QLabel* labTitle = nullptr;
    QPushButton* btnClose = nullptr;
    QRadioButton* radioBtnFirstPage = nullptr;
    QRadioButton* radioBtnAllPage = nullptr;
    QButtonGroup* btnGroupPage = nullptr;
    QPushButton* btnAdd = nullptr;
    QPushButton* btnCancel = nullptr;
};
