#pragma once
// The widgets of the stamp picker, built in code with the object names, sizes and texts
// its style sheets and tests refer to. Texts are translated in the context "StampDialog".

class QCheckBox;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QStackedWidget;
class QVBoxLayout;
class QWidget;

class StampDialogForm
{
public:
    // Builds the widgets on `popup` and connects on_<name>_<signal> slots by name.
    void setupUi(QWidget* popup);
    void retranslateUi(QWidget* popup);

    QVBoxLayout* verticalLayout = nullptr;
    QPushButton* BtnUsualStamp = nullptr;
    QPushButton* BtnStandardStamp = nullptr;
    QPushButton* BtnCustomStamp = nullptr;
    QStackedWidget* stackedWidget = nullptr;
    QListView* ListVUsual = nullptr;
    QListView* ListVStandard = nullptr;
    QListView* ListVCustom = nullptr;
    QVBoxLayout* stampVlayout = nullptr;
    QCheckBox* ApplyDigitalSignatureBox = nullptr;
    QWidget* WidPageMar = nullptr;
    QGridLayout* gridLayout = nullptr;
    QComboBox* ComLRPageMar = nullptr;
    QLineEdit* LiedLRPageMar = nullptr;
    QLabel* LabLRUnit = nullptr;
    QComboBox* ComTBPageMar = nullptr;
    QLineEdit* LiedTBPageMar = nullptr;
    QLabel* LabTBUnit = nullptr;
    QCheckBox* ChkApplySig = nullptr;
    QLabel* label = nullptr;
    QPushButton* AddBtn = nullptr;
};
