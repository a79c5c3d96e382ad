#include "stampdialogform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMetaObject>
#include <QPushButton>
#include <QSpacerItem>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace
{

template <typename Layout>
Layout* makeLayout(const char* name, int spacing, int left, int top, int right, int bottom)
{
    auto* layout = new Layout;
    layout->setObjectName(QString::fromLatin1(name));
    layout->setSpacing(spacing);
    layout->setContentsMargins(left, top, right, bottom); // -1: the style's default
    return layout;
}

QSpacerItem* expandingSpacer(int width, int height)
{
    return new QSpacerItem(width, height, QSizePolicy::Expanding, QSizePolicy::Minimum);
}

QPushButton* tabButton(QWidget* parent, const char* name, int width, bool checked)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setFixedSize(width, 24);
    button->setCheckable(true);
    button->setChecked(checked);
    button->setAutoExclusive(false);
    return button;
}

QListView* stackPage(QStackedWidget* stack, const char* pageName, const char* layoutName,
                     const char* viewName)
{
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(pageName));
    auto* layout = makeLayout<QHBoxLayout>(layoutName, 0, 0, 0, 0, 0);
    page->setLayout(layout);
    auto* view = new QListView(page);
    view->setObjectName(QString::fromLatin1(viewName));
    layout->addWidget(view);
    stack->addWidget(page);
    return view;
}

QLineEdit* marginField(QWidget* parent, const char* name)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setFixedSize(42, 28);
    field->setMaxLength(5);
    field->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    return field;
}

QLabel* unitLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFixedSize(23, 22);
    label->setFont(QFont(QStringLiteral("Arial"), 10));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QComboBox* directionCombo(QWidget* parent, const char* name)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setFixedSize(91, 28);
    return combo;
}

} // namespace

void StampDialogForm::setupUi(QWidget* popup)
{
    if (popup->objectName().isEmpty())
        popup->setObjectName(QStringLiteral("StampDialog"));
    popup->resize(383, 402);
    popup->setMinimumSize(362, 346);
    popup->setMaximumSize(394, 402);

    verticalLayout = makeLayout<QVBoxLayout>("verticalLayout", 0, 12, 10, 12, 12);
    popup->setLayout(verticalLayout);

    auto* tabs = makeLayout<QHBoxLayout>("horizontalLayout_2", 0, -1, -1, -1, 12);
    BtnUsualStamp = tabButton(popup, "BtnUsualStamp", 72, true);
    BtnStandardStamp = tabButton(popup, "BtnStandardStamp", 72, false);
    BtnCustomStamp = tabButton(popup, "BtnCustomStamp", 88, false);
    tabs->addWidget(BtnUsualStamp);
    tabs->addWidget(BtnStandardStamp);
    tabs->addWidget(BtnCustomStamp);
    tabs->addItem(expandingSpacer(40, 20));
    verticalLayout->addLayout(tabs);

    stackedWidget = new QStackedWidget(popup);
    stackedWidget->setObjectName(QStringLiteral("stackedWidget"));
    ListVUsual = stackPage(stackedWidget, "page", "horizontalLayout_5", "ListVUsual");
    ListVStandard = stackPage(stackedWidget, "page_2", "horizontalLayout_4", "ListVStandard");
    ListVCustom = stackPage(stackedWidget, "page_3", "horizontalLayout_3", "ListVCustom");
    verticalLayout->addWidget(stackedWidget);

    stampVlayout = makeLayout<QVBoxLayout>("stampVlayout", 0, -1, 0, -1, -1);
    auto* signRow = makeLayout<QHBoxLayout>("horizontalLayout_6", 0, 0, 28, 0, 0);
    ApplyDigitalSignatureBox = new QCheckBox(popup);
    ApplyDigitalSignatureBox->setObjectName(QStringLiteral("ApplyDigitalSignatureBox"));
    ApplyDigitalSignatureBox->setFixedSize(100, 22);
    signRow->addWidget(ApplyDigitalSignatureBox);
    signRow->addItem(expandingSpacer(40, 0));
    stampVlayout->addLayout(signRow);

    WidPageMar = new QWidget(popup);
    WidPageMar->setObjectName(QStringLiteral("WidPageMar"));
    gridLayout = new QGridLayout(WidPageMar);
    gridLayout->setObjectName(QStringLiteral("gridLayout"));
    gridLayout->setContentsMargins(0, 8, 0, 0);
    ComLRPageMar = directionCombo(WidPageMar, "ComLRPageMar");
    LiedLRPageMar = marginField(WidPageMar, "LiedLRPageMar");
    LabLRUnit = unitLabel(WidPageMar, "LabLRUnit");
    ComTBPageMar = directionCombo(WidPageMar, "ComTBPageMar");
    LiedTBPageMar = marginField(WidPageMar, "LiedTBPageMar");
    LabTBUnit = unitLabel(WidPageMar, "LabTBUnit");
    gridLayout->addWidget(ComLRPageMar, 1, 0);
    gridLayout->addWidget(LiedLRPageMar, 1, 1);
    gridLayout->addWidget(LabLRUnit, 1, 2);
    gridLayout->addItem(expandingSpacer(40, 20), 1, 3);
    gridLayout->addWidget(ComTBPageMar, 1, 4);
    gridLayout->addWidget(LiedTBPageMar, 1, 5);
    gridLayout->addWidget(LabTBUnit, 1, 6);
    stampVlayout->addWidget(WidPageMar);

    auto* autoRow = makeLayout<QHBoxLayout>("horizontalLayout", 0, 0, 9, 0, 0);
    ChkApplySig = new QCheckBox(popup);
    ChkApplySig->setObjectName(QStringLiteral("ChkApplySig"));
    ChkApplySig->setFixedSize(70, 22);
    label = new QLabel(popup);
    label->setObjectName(QStringLiteral("label"));
    label->setMinimumSize(150, 22);
    label->setStyleSheet(QStringLiteral("color: rgb(183, 191, 208);"));
    AddBtn = new QPushButton(popup);
    AddBtn->setObjectName(QStringLiteral("AddBtn"));
    AddBtn->setFixedSize(80, 30);
    autoRow->addWidget(ChkApplySig);
    autoRow->addWidget(label);
    autoRow->addItem(expandingSpacer(40, 20));
    autoRow->addWidget(AddBtn);
    stampVlayout->addLayout(autoRow);
    verticalLayout->addLayout(stampVlayout);

    retranslateUi(popup);
    stackedWidget->setCurrentIndex(2);
    QMetaObject::connectSlotsByName(popup);
}

void StampDialogForm::retranslateUi(QWidget* popup)
{
    popup->setWindowTitle(QString());
    BtnUsualStamp->setText(QCoreApplication::translate("StampDialog", "Usual stamp"));
    BtnStandardStamp->setText(QCoreApplication::translate("StampDialog", "Standard stamp"));
    BtnCustomStamp->setText(QCoreApplication::translate("StampDialog", "Custom stamp"));
    ApplyDigitalSignatureBox->setText(
        QCoreApplication::translate("StampDialog", "applydigitalsignature"));
    LiedLRPageMar->setText(QStringLiteral("0"));
    LabLRUnit->setText(QStringLiteral("mm"));
    LiedTBPageMar->setText(QStringLiteral("0"));
    LabTBUnit->setText(QStringLiteral("mm"));
    ChkApplySig->setText(QCoreApplication::translate("StampDialog", "Auto Stamp"));
    label->setText(QCoreApplication::translate(
        "StampDialog", "（The stamp is automatically added to the specified location）"));
    AddBtn->setText(QCoreApplication::translate("StampDialog", "Add"));
}
