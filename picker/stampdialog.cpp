#include "stampdialog.h"

#include "customstampevent.h"
#include "host/document/g_application.h"
#include "host/document/ica_streamreader.h"
#include "host/document/ig_document.h"
#include "host/document/ig_page.h"
#include "host/framework/crf_eventmgr.h"
#include "host/framework/g_docview.h"
#include "host/framework/g_uicontext.h"
#include "host/framework/icore.h"
#include "host/rpc/hostrpc.h"
#include "host/rpc/iserver.h"
#include "host/utils/nex_dpi.h"
#include "host/utils/nex_messagebox.h"
#include "host/utils/nex_path.h"
#include "host/utils/nex_shadow.h"
#include "listwdelegate.h"
#include "operations/eventobject.h"
#include "plugin/stampsettingkeys.h"
#include "seals/choosestampdialog.h"
#include "stampdialogform.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegExpValidator>
#include <QSettings>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QToolTip>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace
{

StampDialog* g_stampDialog = nullptr;
// The stamp maker's server and the last port tried: one of each per process.
IServer* stampMakerServer = nullptr;
int stampMakerPort = 13750;

const char* const kPopupStyle =
    "QPushButton#BtnUsualStamp,QPushButton#BtnStandardStamp,QPushButton#BtnCustomStamp{"
    "background:#FFFFFF;color:#4F5D79;border:1px solid #DDE2E6;padding-left:4px;"
    "padding-right:4px;}"
    "QPushButton#BtnUsualStamp{border-top-left-radius:1px;border-bottom-left-radius:1px;}"
    "QPushButton#BtnCustomStamp{border-top-right-radius:1px;border-bottom-right-radius:1px;}"
    "QPushButton#BtnStandardStamp{border-left:none;border-right:none;}"
    "QPushButton#BtnUsualStamp:hover,QPushButton#BtnStandardStamp:hover,"
    "QPushButton#BtnCustomStamp:hover{background:#F4F5F7;}"
    "QPushButton#BtnUsualStamp:checked,QPushButton#BtnStandardStamp:checked,"
    "QPushButton#BtnCustomStamp:checked{background:#DDE2E6;}"
    "QListView{border:none;}"
    "QScrollBar:vertical{width:16px;background:#FFFFFF;padding-top:2px;padding-bottom:2px;}"
    "QScrollBar::handle:vertical{background:rgba(54, 66, 90, 20%);border-radius:8px;"
    "border:4px solid #FFFFFF;min-height:100px;}"
    "QScrollBar::handle:vertical:hover{background:rgba(54, 66, 90, 40%);}"
    "QScrollBar::handle:vertical:pressed{background:rgba(54, 66, 90, 30%);}"
    "QScrollBar::add-line:vertical,QScrollBar::sub-line:vertical{height:1px;"
    "background:transparent;}"
    "QScrollBar::add-page:vertical,QScrollBar::sub-page:vertical{height:1px;"
    "background:transparent;}"
    "QLineEdit{background:#FFFFFF;border-radius:2px;border:1px solid #D7D9DE;}"
    "QToolTip{background:#FFFFFF;border:1px solid rgba(54, 66, 90, 0.15);}";

const char* const kAddButtonStyle =
    "QPushButton{border-image: url(:/addBtn_normal.svg);color: rgb(255, 255, 255); "
    "text-align : center;padding-left:12px;outline:0px;font: 12px; font-family: Microsoft "
    "YaHei;}QPushButton:hover{font: 12px; font-family: Microsoft YaHei;border-image: "
    "url(:/addBtn_hover.svg);}QPushButton:clicked{font: 12px; font-family: Microsoft "
    "YaHei;border-image: url(:/addBtn_click.svg);}QPushButton::menu-indicator{image:none;}";

const char* const kAddMenuStyle =
    "QMenu { background-color: #FFFFFF;font: 12px; color:#4F5D79;border:1px solid rgb( 219, "
    "219, 219 );border-radius:2px; width : %1px;}QMenu::item {font: 12px; width : %2px; height "
    ": 25px; background-color:#FFFFFF; border-radius:0px; padding: 0px 0px 0px 8px;  margin:0px "
    "0px 0px 0px; }QMenu::icon{ padding-left:20px; }QMenu::item:hover{background-color:rgb(219, "
    "219, 219);}QMenu::item:!enabled { color:rgb( 160, 160, 160 ); background-color:rgb( 245, "
    "247, 249 ); }QMenu::item:selected { color:#4F5D79; background-color:rgb( 219, 219, 219 ); }";

const char* const kComboStyle =
    "QComboBox{color:#4F5D79;border-radius:2px; border:1px solid #D7D9DE;}"
    "QComboBox::drop-down{width:22px;background-color:#FFFFFF;}"
    "QComboBox::down-arrow{image: url(:/combox_down_normal.svg);height:10px;width:10px;}"
    "QListView{border: 1px solid #D7D9DE;outline:0px;}"
    "QListView::item{color:#4F5D79;background:transparent;}"
    "QListView::item:selected{background-color: rgba(198, 206, 214, 0.6);}";

const char* const kFieldNormalStyle =
    "QLineEdit{background: #FFFFFF;border-radius: 2px;border: 1px solid #D7D9DE;}";
const char* const kFieldErrorStyle = "QLineEdit{border:1px solid red }";

float dpiScale()
{
    return Utils::DPI::Nex_Mgr::Instance().Scale();
}

QString scaled(const char* sheet)
{
    return Utils::DPI::Nex_Util::ScaleStyleSheet(QString::fromUtf8(sheet));
}

} // namespace

StampDialog* StampDialog::Instance(G_DocView* view, const CCA_GRect& anchor)
{
    if (!g_stampDialog)
        g_stampDialog = new StampDialog(view, anchor, Core::ICore::dialogParent());
    else
        g_stampDialog->bind(view);
    return g_stampDialog;
}

StampDialog* StampDialog::Existing()
{
    return g_stampDialog;
}

StampDialog::StampDialog(G_DocView* view, const CCA_GRect& anchor, QWidget* parent)
    : Utils::Widgets::Nex_Popup(parent), m_ui(new StampDialogForm), m_library(this)
{
    RegisterStampParamType();
    bind(view);
    m_ui->setupUi(this);
    move(int(anchor.left), int(anchor.bottom));
    setFixedSize(392, 340);
    InitDialog();
    ScalePopup(QString());
}

StampDialog::~StampDialog()
{
    DestroyServer(stampMakerServer);
    stampMakerServer = nullptr;
    // No request reaches it once the server is gone.
    delete m_customStampEvent;
    if (g_stampDialog == this)
        g_stampDialog = nullptr;
    // A stamp maker still running ends with the picker (destroying its process kills it);
    // the process's last "finished" must not reach a picker that is half destroyed.
    if (customStampProcess)
        customStampProcess->disconnect(this);

    // The lists go back to the file; the auto-stamp margins last only as long as the reader.
    QSettings& ini = stampsIni();
    ini.clear();
    m_library.SaveLists(ini);
    m_marginTexts[0] = m_marginTexts[1] = QStringLiteral("0");
    m_directionIndexes[2] = m_directionIndexes[3] = 0;
    ini.setValue(StampSettingKeys::StampLrPage, m_marginTexts[0]);
    ini.setValue(StampSettingKeys::StampTbPage, m_marginTexts[1]);
    ini.setValue(StampSettingKeys::StampDirectionLr, QString::number(m_directionIndexes[2]));
    ini.setValue(StampSettingKeys::StampDirectionTb, QString::number(m_directionIndexes[3]));
    ini.setValue(StampSettingKeys::ApplySign, int(m_ui->ApplyDigitalSignatureBox->checkState()));
    ini.sync();
    if (ini.status() != QSettings::NoError)
        qWarning() << "StampDialog: the stamp library could not be saved to" << ini.fileName();
}

G_DocView* StampDialog::DocView() const
{
    return m_view;
}

void StampDialog::bind(G_DocView* view)
{
    m_view = view;
    m_document = view ? view->GDocument() : nullptr;
    m_context = view ? view->UIContext() : nullptr;
}

void StampDialog::InitDialog()
{
    m_ui->ListVUsual->setModel(m_library.Model(StampListKind::Usual));
    m_ui->ListVStandard->setModel(m_library.Model(StampListKind::Standard));
    m_ui->ListVCustom->setModel(m_library.Model(StampListKind::Custom));
    for (QListView* list : {m_ui->ListVUsual, m_ui->ListVStandard, m_ui->ListVCustom})
        list->setMouseTracking(true);

    if (m_context) {
        CRF_EventMgr* events = m_context->EventMgr();
        connect(events, &CRF_EventMgr::EventFired, this, &StampDialog::MainWindowRectChanged,
                Qt::QueuedConnection);
        connect(events, &CRF_EventMgr::DocClose, this, &StampDialog::DocClose,
                Qt::QueuedConnection);
        connect(events, &CRF_EventMgr::AllDocClose, this, &StampDialog::AllDocClose,
                Qt::QueuedConnection);
        connect(events, &CRF_EventMgr::ActivedScreenChanged, this,
                &StampDialog::ActivedScreenChanged, Qt::QueuedConnection);
    }

    m_chooseStampDialog = new ChooseStampDialog(m_context, Core::ICore::dialogParent());
    connect(m_chooseStampDialog, &ChooseStampDialog::NewCustomStamp, this,
            qOverload<StampParam>(&StampDialog::AddCustomStamp));

    connect(m_ui->ChkApplySig, &QCheckBox::stateChanged, this, &StampDialog::CheckBoxStateChanged);
    connect(m_ui->LiedLRPageMar, &QLineEdit::textChanged, this, &StampDialog::WarnToolTip);
    connect(m_ui->LiedTBPageMar, &QLineEdit::textChanged, this, &StampDialog::WarnToolTip);

    auto* addMenu = new QMenu(m_ui->AddBtn);
    addMenu->setObjectName(QStringLiteral("AddMenu"));
    QAction* addPicture = addMenu->addAction(tr("AddPic"), this, &StampDialog::ChooseStamp);
    addPicture->setObjectName(QStringLiteral("actionAddPic"));
    addPicture->setIconVisibleInMenu(false);
    QAction* maker =
        addMenu->addAction(tr("CustomStamp"), this, qOverload<>(&StampDialog::AddCustomStamp));
    maker->setObjectName(QStringLiteral("actionCustomStamp"));
    maker->setIconVisibleInMenu(false);
    maker->setVisible(QFile::exists(CustomStampEvent::ProgramPath()));
    m_ui->AddBtn->setMenu(addMenu);

    InitListW();
    InitPageMargin();

    m_ui->AddBtn->setDefault(true);
    m_ui->AddBtn->setProperty("class", QStringLiteral("okBtn"));

    auto* tabs = new QButtonGroup(this);
    tabs->setExclusive(true);
    tabs->addButton(m_ui->BtnUsualStamp);
    tabs->addButton(m_ui->BtnStandardStamp);
    tabs->addButton(m_ui->BtnCustomStamp);

    applyStyleSheets();

    m_customStampEvent = new CustomStampEvent;
    connect(m_customStampEvent, &CustomStampEvent::CreateCustomStamp, this,
            &StampDialog::AddCustomStampUnused);
}

void StampDialog::applyStyleSheets()
{
    setStyleSheet(scaled(kPopupStyle));
    m_ui->AddBtn->setStyleSheet(scaled(kAddButtonStyle));
    const int width = m_ui->AddBtn->width();
    m_ui->AddBtn->menu()->setStyleSheet(Utils::DPI::Nex_Util::ScaleStyleSheet(
        QString::fromUtf8(kAddMenuStyle).arg(width).arg(width)));
}

void StampDialog::InitListW()
{
    m_library.Load();
    const QList<QListView*> lists = {m_ui->ListVUsual, m_ui->ListVStandard, m_ui->ListVCustom};
    for (QListView* list : lists) {
        list->setResizeMode(QListView::Adjust);
        list->setViewMode(QListView::IconMode);
        list->setSpacing(Utils::DPI::Nex_Util::ScalePx(4));
    }
    auto* usualEmpty = new EventObject(m_ui->ListVUsual);
    usualEmpty->placeholderText = tr("No usual stamp");
    m_ui->ListVUsual->viewport()->installEventFilter(usualEmpty);
    auto* customEmpty = new EventObject(m_ui->ListVCustom);
    customEmpty->placeholderText = tr("No custom stamp");
    m_ui->ListVCustom->viewport()->installEventFilter(customEmpty);
    for (QListView* list : lists) {
        auto* delegate = new ListWDelegate(list);
        list->setItemDelegate(delegate);
        connect(delegate, &ListWDelegate::ItemDel, this, &StampDialog::DelItem);
        connect(delegate, &ListWDelegate::ItemAdd, this, &StampDialog::AddItem);
    }
}

void StampDialog::InitPageMargin()
{
    m_ui->ComLRPageMar->addItem(tr("page right"));
    m_ui->ComLRPageMar->addItem(tr("page left"));
    m_ui->ComTBPageMar->addItem(tr("page bottom"));
    m_ui->ComTBPageMar->addItem(tr("page top"));
    m_ui->LiedLRPageMar->setText(QStringLiteral("0"));
    m_ui->LiedTBPageMar->setText(QStringLiteral("0"));
    // Digits only, at most five of them; a single digit is still being typed.
    auto* digits =
        new QRegExpValidator(QRegExp(QStringLiteral("[0-9][0-9]+$")), m_ui->LiedLRPageMar);
    m_ui->LiedLRPageMar->setValidator(digits);
    m_ui->LiedTBPageMar->setValidator(digits);
    m_ui->LiedLRPageMar->setText(QStringLiteral("0"));
    m_ui->LiedTBPageMar->setText(QStringLiteral("0"));
    for (QComboBox* combo : {m_ui->ComLRPageMar, m_ui->ComTBPageMar}) {
        combo->setView(new QListView(combo));
        combo->setStyleSheet(QString::fromUtf8(kComboStyle));
    }
}

QStandardItemModel* StampDialog::ListModel(StampListKind kind) const
{
    return m_library.Model(kind);
}

bool StampDialog::AddStampItem(StampListKind kind, const StampParam& entry)
{
    return m_library.AddStampItem(kind, entry);
}

void StampDialog::RemoveRepeatItem(QStandardItemModel* list)
{
    m_library.RemoveRepeatItem(list);
}

void StampDialog::DelItem(QAbstractItemModel* list, QModelIndex index)
{
    m_library.DeleteItem(list, index);
}

void StampDialog::AddItem(QAbstractItemModel* model, QModelIndex index)
{
    if (!model || !index.isValid())
        return;
    const StampParam entry = model->data(index, StampParamRole).value<StampParam>();
    if (QPixmap(entry.imagePath).isNull()) {
        if (m_context)
            m_context->InformationMessageBox(
                tr("tips"),
                tr("The source file you specified could not be found, please select again."),
                QMessageBox::Close, QMessageBox::Close);
        return;
    }
    if (AddStampItem(StampListKind::Usual, entry))
        RemoveRepeatItem(ListModel(StampListKind::Usual));
    SelectStamp(entry);
}

void StampDialog::chooseRow(QStandardItemModel* list, int row)
{
    AddItem(list, list->index(row, 0));
}

void StampDialog::ChooseStamp()
{
    hide();
    if (m_invoiceMode)
        m_chooseStampDialog->SetInvoiceMode();
    else
        m_chooseStampDialog->ClearInvoiceMode();
    m_chooseStampDialog->exec();
}

void StampDialog::AddCustomStamp(StampParam entry)
{
    QStandardItemModel* custom = ListModel(StampListKind::Custom);
    const int rows = custom->rowCount();
    const bool known = AddStampItem(StampListKind::Custom, entry);
    // Only a stamp that made it into the list is chosen (a missing picture adds nothing).
    if (custom->rowCount() > rows)
        chooseRow(custom, custom->rowCount() - 1);
    if (known)
        RemoveRepeatItem(custom);
}

void StampDialog::AddCustomStamp()
{
    hide();
    const QString program = CustomStampEvent::ProgramPath();
    if (customStampProcess) {
        StartCustomStampProcess(program, stampMakerPort);
        return;
    }
    auto tell = [this](const QString& text) {
        if (m_context)
            m_context->InformationMessageBox(tr("tips"), text, QMessageBox::Close,
                                             QMessageBox::Close);
    };
    if (!QFile::exists(program)) {
        tell(tr("Unable not find a custom stamp program!"));
        return;
    }
    if (!QFile::exists(CustomStampEvent::SealMakerLibraryPath())) {
        tell(tr("Cannot find the sealmaker dynamic library!"));
        return;
    }
    if (!stampMakerServer) {
        stampMakerServer = CreateServer();
        stampMakerServer->RegisterMethod(CustomStampEvent::kMethodName, m_customStampEvent);
        do {
            ++stampMakerPort;
        } while (!stampMakerServer->Listen(QByteArray::number(stampMakerPort).constData()) &&
                 stampMakerPort < 65535);
    }
    StartCustomStampProcess(program, stampMakerPort);
}

void StampDialog::StartCustomStampProcess(const QString& program, int port)
{
    const QString quoted = QStringLiteral("\"%1\"");
    IG_Document* doc = m_view ? m_document : nullptr;
    const QString path = doc ? GQ_ToQStringFromUtf8(doc->FilePath()) : QString();
    const QString folder = path.isEmpty() ? QString() : QFileInfo(path).absoluteDir().path();
    const QString command = quoted.arg(QDir::toNativeSeparators(program)) + QStringLiteral(" ") +
                            QStringLiteral("reader") + QStringLiteral(" ") + QString::number(port) +
                            QStringLiteral(" ") + quoted.arg(QDir::toNativeSeparators(folder));
    if (!customStampProcess) {
        customStampProcess = new QProcess(this);
        connect(customStampProcess, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), this,
                &StampDialog::FinishCustomStampProcess);
        // The arguments of that command line, given one by one so that an empty folder
        // still arrives as an (empty) argument.
        customStampProcess->start(
            QDir::toNativeSeparators(program),
            {QStringLiteral("reader"), QString::number(port), QDir::toNativeSeparators(folder)},
            QIODevice::ReadWrite);
        if (G_Logger* logger = G_Application::Instance()->Logger())
            logger->Write(QStringLiteral("start: %1").arg(command).toUtf8().constData());
    }
    hide();
}

void StampDialog::FinishCustomStampProcess(int, QProcess::ExitStatus)
{
    if (!customStampProcess)
        return;
    disconnect(customStampProcess, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), this,
               &StampDialog::FinishCustomStampProcess);
    customStampProcess->deleteLater();
    customStampProcess = nullptr;
}

void StampDialog::AddCustomStampUnused(StampParam entry)
{
    AddCustomStamp(entry);
    // A stamp from the stamp maker joins the library; the user places it later.
    m_pendingStamp = StampParam();
}

void StampDialog::MainWindowRectChanged(G_Event*) {}

void StampDialog::ActivedScreenChanged(G_DocView*) {}

void StampDialog::DocClose(G_Operation*, IG_Document*)
{
    if (G_Application::Instance()->DocumentCount() == 0)
        bind(nullptr);
}

void StampDialog::AllDocClose(G_Operation*)
{
    bind(nullptr);
}

void StampDialog::showTab(int page, QWidget* button)
{
    m_ui->stackedWidget->setCurrentIndex(page);
    static_cast<QPushButton*>(button)->setChecked(true);
}

void StampDialog::on_BtnUsualStamp_clicked()
{
    showTab(0, m_ui->BtnUsualStamp);
}

void StampDialog::on_BtnStandardStamp_clicked()
{
    showTab(1, m_ui->BtnStandardStamp);
}

void StampDialog::on_BtnCustomStamp_clicked()
{
    showTab(2, m_ui->BtnCustomStamp);
}

void StampDialog::showEvent(QShowEvent* event)
{
    if (!m_invoiceMode) {
        if (ListModel(StampListKind::Usual)->rowCount() > 0)
            showTab(0, m_ui->BtnUsualStamp);
        else
            showTab(1, m_ui->BtnStandardStamp);
    }
    Nex_Popup::showEvent(event);
}

bool StampDialog::event(QEvent* event)
{
    if (m_view) {
        switch (event->type()) {
        case QEvent::ActivationChange:
            if (QApplication::activeWindow() != this)
                close();
            break;
        case QEvent::Close:
            if (G_Application::Instance()->DocumentCount() != 0) {
                m_ui->LiedLRPageMar->clearFocus();
                m_ui->LiedTBPageMar->clearFocus();
                saveOnClose();
            }
            break;
        case QEvent::WinIdChange: {
#ifdef Q_OS_WIN
            // The system's own drop shadow would double the drawn one.
            static bool shadowRemoved = false;
            if (!shadowRemoved) {
                shadowRemoved = true;
                const HWND window = reinterpret_cast<HWND>(winId());
                const ULONG_PTR style = GetClassLongPtrW(window, GCL_STYLE);
                SetClassLongPtrW(window, GCL_STYLE, style & ~ULONG_PTR(CS_DROPSHADOW));
            }
#endif
            break;
        }
        default:
            break;
        }
    }
    // The plain widget handling: the menu's own would treat the popup as a list of actions.
    return QWidget::event(event);
}

void StampDialog::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
}

// ---- auto-stamp panel ----

void StampDialog::InitStampWidget()
{
    m_ui->BtnUsualStamp->show();
    m_ui->BtnStandardStamp->show();
    m_ui->BtnCustomStamp->show();
    m_invoiceMode = false;
    m_ui->ChkApplySig->setChecked(false);
    m_ui->WidPageMar->hide();

    QSettings& ini = stampsIni();
    const QString lr = ini.value(StampSettingKeys::StampLrPage).toString();
    const QString tb = ini.value(StampSettingKeys::StampTbPage).toString();
    qDebug() << lr << tb << "StampDialog::InitStampWidget";
    const bool stored = !lr.isEmpty() || !tb.isEmpty();
    // Setting the text a field already shows would only lay it out again.
    auto show = [](QLineEdit* field, const QString& text) {
        if (field->text() != text)
            field->setText(text);
    };
    show(m_ui->LiedLRPageMar, stored ? lr : QStringLiteral("0"));
    show(m_ui->LiedTBPageMar, stored ? tb : QStringLiteral("0"));

    m_ui->ComLRPageMar->setFocusPolicy(Qt::NoFocus);
    m_ui->ComTBPageMar->setFocusPolicy(Qt::NoFocus);
    m_ui->ComLRPageMar->setCurrentIndex(ini.value(StampSettingKeys::StampDirectionLr, 0).toInt());
    m_ui->ComTBPageMar->setCurrentIndex(ini.value(StampSettingKeys::StampDirectionTb, 0).toInt());
    if (ini.value(StampSettingKeys::ApplySign, false).toBool())
        m_ui->ApplyDigitalSignatureBox->setChecked(true);
    InitApplySignatureVisible();
}

void StampDialog::InitApplySignatureVisible()
{
    const Utils::FileVersion version =
        Utils::FileVersion::Of(Utils::Nex_Path::AppConfigsPath() + QStringLiteral("uiconfig.ini"));
    if (version != m_uiConfigVersion) {
        QSettings config(version.path, QSettings::IniFormat);
        config.beginGroup(QStringLiteral("stamp"));
        m_showApplySign = config.value(QStringLiteral("stamp.applysignature.show"), true).toBool();
        config.endGroup();
        m_uiConfigVersion = version;
    }
    m_ui->ApplyDigitalSignatureBox->setVisible(m_showApplySign);
}

void StampDialog::InitInvoiceStampWidget()
{
    m_ui->BtnUsualStamp->hide();
    m_ui->BtnStandardStamp->hide();
    m_ui->BtnCustomStamp->hide();
    m_ui->stackedWidget->setCurrentIndex(2);
    m_invoiceMode = true;
    m_ui->ChkApplySig->setChecked(true);
    // The invoice seal goes 6 mm from the right and bottom edges.
    m_ui->ComLRPageMar->setCurrentIndex(0);
    m_ui->ComTBPageMar->setCurrentIndex(0);
    m_ui->LiedLRPageMar->setText(QStringLiteral("6"));
    m_ui->LiedTBPageMar->setText(QStringLiteral("6"));
    if (ListModel(StampListKind::Custom)->rowCount() > 0) {
        exec(geometry().topLeft());
    } else {
        hide();
        m_chooseStampDialog->SetInvoiceMode();
        m_chooseStampDialog->exec();
    }
}

void StampDialog::CheckBoxStateChanged(int state)
{
    auto* shadow = findChild<Utils::Widgets::Nex_Shadow*>();
    const int w = shadow ? shadow->ShadowWidth() : 0;
    int h = 0;
    if (state != 0) {
        m_ui->WidPageMar->show();
        h = 386;
    } else {
        m_ui->WidPageMar->hide();
        h = int(357 - 8 * dpiScale());
    }
    const QSize size = Utils::DPI::Nex_Util::ScaleSize(QSize(392, h));
    setFixedSize(size.width() + 2 * w, size.height() + 2 * w);
}

void StampDialog::WarnToolTip(QString)
{
    IG_Document* doc = m_view ? m_document : nullptr;
    // Without a page to measure against, every margin is allowed.
    IG_Page* last = doc && doc->PageCount() > 0 ? doc->PageAt(doc->PageCount() - 1) : nullptr;
    const int width = last ? int(last->Width()) : INT_MAX;
    const int height = last ? int(last->Height()) : INT_MAX;
    const int tipY = geometry().top() + Utils::DPI::Nex_Util::ScalePx(266);

    // Setting a style sheet re-polishes the field even when it is the same one, and the
    // margins are set on every use of the popup.
    auto style = [](QLineEdit* field, const char* sheet) {
        const QString text = QString::fromUtf8(sheet);
        if (field->styleSheet() != text)
            field->setStyleSheet(text);
    };
    auto check = [&](QLineEdit* field, int limit) {
        const bool fits = field->text().toInt() <= limit;
        if (fits) {
            style(field, kFieldNormalStyle);
        } else {
            QToolTip::showText(QPoint(field->mapToGlobal(QPoint(0, 0)).x(), tipY),
                               tr("Margins must not exceed the page range"));
            style(field, kFieldErrorStyle);
        }
        return fits;
    };
    const bool lrFits = check(m_ui->LiedLRPageMar, width);
    const bool tbFits = check(m_ui->LiedTBPageMar, height);
    m_ui->stackedWidget->setEnabled(lrFits && tbFits);
}

void StampDialog::SelectStamp(const StampParam& entry)
{
    m_pendingStamp = entry;
    hide();
    QSettings& ini = stampsIni();
    ini.setValue(StampSettingKeys::ApplySign, m_ui->ApplyDigitalSignatureBox->isChecked());
    if (m_invoiceMode) {
        m_directionIndexes[0] = m_ui->ComLRPageMar->currentIndex();
        m_directionIndexes[1] = m_ui->ComTBPageMar->currentIndex();
        ini.setValue(StampSettingKeys::InvoDirectionLr, m_directionIndexes[0]);
        ini.setValue(StampSettingKeys::InvoDirectionTb, m_directionIndexes[1]);
    } else {
        storeStampMargins(ini);
    }
}

void StampDialog::SelectStampFile(const QString& imagePath, const QSize& size)
{
    SelectStamp(StampParam{imagePath, size});
}

QVariantList StampDialog::LibraryStamps() const
{
    QVariantList stamps;
    const QPair<StampListKind, QString> lists[] = {
        {StampListKind::Standard, QStringLiteral("standard")},
        {StampListKind::Custom, QStringLiteral("custom")}};
    for (const auto& list : lists) {
        const QStandardItemModel* model = ListModel(list.first);
        for (int row = 0; row < model->rowCount(); ++row) {
            const StampParam entry = StampLibrary::EntryAt(model, row);
            stamps.append(QVariantMap{{QStringLiteral("list"), list.second},
                                      {QStringLiteral("path"), entry.imagePath},
                                      {QStringLiteral("width"), entry.imageSize.width()},
                                      {QStringLiteral("height"), entry.imageSize.height()}});
        }
    }
    return stamps;
}

void StampDialog::storeStampMargins(QSettings& ini)
{
    m_marginTexts[0] = m_ui->LiedLRPageMar->text();
    m_marginTexts[1] = m_ui->LiedTBPageMar->text();
    m_directionIndexes[2] = m_ui->ComLRPageMar->currentIndex();
    m_directionIndexes[3] = m_ui->ComTBPageMar->currentIndex();
    ini.setValue(StampSettingKeys::StampLrPage, m_marginTexts[0]);
    ini.setValue(StampSettingKeys::StampTbPage, m_marginTexts[1]);
    ini.setValue(StampSettingKeys::StampDirectionLr, m_directionIndexes[2]);
    ini.setValue(StampSettingKeys::StampDirectionTb, m_directionIndexes[3]);
}

QSettings& StampDialog::stampsIni()
{
    const QString path = StampLibrary::IniPath();
    if (!m_stampsIni || m_stampsIniPath != path) {
        m_stampsIni.reset(new QSettings(path, QSettings::IniFormat));
        m_stampsIniPath = path;
    }
    return *m_stampsIni;
}

void StampDialog::saveOnClose()
{
    QSettings& ini = stampsIni();
    if (!m_invoiceMode)
        storeStampMargins(ini);
    ini.setValue(StampSettingKeys::ApplySign, int(m_ui->ApplyDigitalSignatureBox->checkState()));
}

bool StampDialog::GetStampSelection(StampSelection& out)
{
    const QString path = m_pendingStamp.imagePath;
    IG_Document* doc = m_view ? m_document : nullptr;
    if (path.isEmpty() || !doc || !pictureLoads(path))
        return false;
    out.imagePath = path;
    m_pendingStamp.imagePath.clear();
    out.stampSize = m_pendingStamp.imageSize;

    int flag = 1; // placed by hand
    if (m_ui->ChkApplySig->isChecked()) {
        const int lr = m_ui->LiedLRPageMar->text().toInt();
        const int tb = m_ui->LiedTBPageMar->text().toInt();
        const int n = m_view->CurrentPageIndex();
        IG_Page* page = doc->PageAt(n);
        const float width = page ? page->Width() : 0.0f;
        const float height = page ? page->Height() : 0.0f;
        out.pageIndex = n;
        AutoStampPosition(width, height, out.stampSize, lr, tb, m_ui->ComLRPageMar->currentIndex(),
                          m_ui->ComTBPageMar->currentIndex(), &out.x, &out.y);
        out.isAuto = true;
        flag = 0;
    } else {
        out.isAuto = false;
    }

    if (ICA_StreamReader* stream =
            ICA_StreamReader::CreateFileStreamReader(GQ_ToCAWS(path).c_str(), 0)) {
        out.stampId = doc->AddResource(stream, 1, flag);
        stream->Release();
    } else {
        out.stampId = doc->AddResource(nullptr, 1, flag);
    }

    if (m_ui->ApplyDigitalSignatureBox->isChecked()) {
        out.applySign = true;
        if (!CheckFileWritable(m_view)) {
            m_ui->ApplyDigitalSignatureBox->setChecked(false);
            return false;
        }
    } else {
        out.applySign = false;
    }
    return true;
}

bool StampDialog::pictureLoads(const QString& path)
{
    const Utils::FileVersion version = Utils::FileVersion::Of(path);
    if (version == m_loadedPicture)
        return true;
    if (QPixmap(path).isNull())
        return false;
    m_loadedPicture = version;
    return true;
}

bool StampDialog::CheckFileWritable(G_DocView* view)
{
    if (!view)
        return false;
    IG_Document* doc = view->GDocument();
    if (!doc)
        return true;
    // ExistingOnly: checking must not leave an empty file behind.
    QFile file(GQ_ToQStringFromUtf8(doc->FilePath()));
    if (file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) {
        file.close();
        return true;
    }
    Utils::Widgets::Nex_MessageBox box(Core::ICore::mainWindow());
    box.SetTitle(Utils::Widgets::MessageBoxRequest::Warning, tr("Warring"));
    box.SetContent(tr("This file is read-only or occupied by another program. Please save it "
                      "as a new file before proceeding."),
                   QString());
    box.setTextOfRightBtn(tr("Sure"), true);
    box.exec();
    return false;
}
