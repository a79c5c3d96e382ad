#include "autoinvoicesealdlgform.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMetaObject>
#include <QPushButton>
#include <QRadioButton>
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

QHBoxLayout* row(const char* name)
{
    auto* layout = new QHBoxLayout;
    layout->setObjectName(QString::fromLatin1(name));
    return layout;
}

QSpacerItem* expandingSpacer()
{
    return new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
}

} // namespace

void AutoInvoiceSealDlgForm::setupUi(QWidget* dialog)
{
    if (dialog->objectName().isEmpty())
        dialog->setObjectName(QStringLiteral("AutoInvoiceSealDlg"));
    dialog->resize(420, 180);

    auto* outer = new QVBoxLayout(dialog);
    outer->setObjectName(QStringLiteral("verticalLayout"));
    outer->setSpacing(27);
    outer->setContentsMargins(27, 18, 29, 22);

    auto* titleRow = row("horizontalLayout_2");
    titleRow->setContentsMargins(-1, -1, -1, 0);
    labTitle = named<QLabel>(dialog, "labTitle");
    labTitle->setFixedHeight(28);
    btnClose = named<QPushButton>(dialog, "btnClose");
    btnClose->setFixedSize(16, 16);
    titleRow->addWidget(labTitle);
    titleRow->addItem(expandingSpacer());
    titleRow->addWidget(btnClose);
    outer->addLayout(titleRow);

    auto* pageRow = row("horizontalLayout_3");
    pageRow->setSpacing(80);
    pageRow->setContentsMargins(0, -1, -1, 0);
    radioBtnFirstPage = named<QRadioButton>(dialog, "radioBtnFirstPage");
    radioBtnFirstPage->setFixedHeight(22);
    radioBtnAllPage = named<QRadioButton>(dialog, "radioBtnAllPage");
    radioBtnAllPage->setFixedHeight(22);
    btnGroupPage = new QButtonGroup(dialog);
    btnGroupPage->setObjectName(QStringLiteral("btnGroupPage"));
    btnGroupPage->addButton(radioBtnFirstPage);
    btnGroupPage->addButton(radioBtnAllPage);
    pageRow->addWidget(radioBtnFirstPage);
    pageRow->addWidget(radioBtnAllPage);
    pageRow->addItem(expandingSpacer());
    outer->addLayout(pageRow);

    auto* buttonRow = row("horizontalLayout");
    buttonRow->setSpacing(8);
    btnAdd = named<QPushButton>(dialog, "btnAdd");
    btnAdd->setFixedSize(80, 30);
    btnCancel = named<QPushButton>(dialog, "btnCancel");
    btnCancel->setFixedSize(80, 30);
    buttonRow->addItem(expandingSpacer());
    buttonRow->addWidget(btnAdd);
    buttonRow->addWidget(btnCancel);
    outer->addLayout(buttonRow);

    retranslateUi(dialog);
    QMetaObject::connectSlotsByName(dialog);
}

void AutoInvoiceSealDlgForm::retranslateUi(QWidget* dialog)
{
    dialog->setWindowTitle(QCoreApplication::translate("AutoInvoiceSealDlg", "Dialog"));
    labTitle->setText(QCoreApplication::translate("AutoInvoiceSealDlg", "AddInvoiceSeal"));
    radioBtnFirstPage->setText(QCoreApplication::translate("AutoInvoiceSealDlg", "OnleFirstPage"));
    radioBtnAllPage->setText(
        QCoreApplication::translate("AutoInvoiceSealDlg", "AllPage(Including bill details)"));
    btnAdd->setText(QCoreApplication::translate("AutoInvoiceSealDlg", "Add"));
    btnCancel->setText(QCoreApplication::translate("AutoInvoiceSealDlg", "Cancel"));
}
