#include "nex_messagebox.h"

#include "nex_dpi.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace Utils
{
namespace Widgets
{

namespace
{

// Standard buttons in the order they are laid out, affirmative first.
const QList<int>& buttonOrder()
{
    static const QList<int> order = {QMessageBox::Ok,      QMessageBox::Save,
                                     QMessageBox::SaveAll, QMessageBox::Open,
                                     QMessageBox::Yes,     QMessageBox::YesToAll,
                                     QMessageBox::Apply,   QMessageBox::Retry,
                                     QMessageBox::Ignore,  QMessageBox::No,
                                     QMessageBox::NoToAll, QMessageBox::Discard,
                                     QMessageBox::Reset,   QMessageBox::RestoreDefaults,
                                     QMessageBox::Help,    QMessageBox::Abort,
                                     QMessageBox::Close,   QMessageBox::Cancel};
    return order;
}

QString standardText(int button)
{
    switch (button) {
    case QMessageBox::Ok:
        return Nex_MessageBox::tr("OK");
    case QMessageBox::Save:
        return Nex_MessageBox::tr("Save");
    case QMessageBox::SaveAll:
        return Nex_MessageBox::tr("Save All");
    case QMessageBox::Open:
        return Nex_MessageBox::tr("Open");
    case QMessageBox::Yes:
        return Nex_MessageBox::tr("Yes");
    case QMessageBox::YesToAll:
        return Nex_MessageBox::tr("Yes to All");
    case QMessageBox::Apply:
        return Nex_MessageBox::tr("Apply");
    case QMessageBox::Retry:
        return Nex_MessageBox::tr("Retry");
    case QMessageBox::Ignore:
        return Nex_MessageBox::tr("Ignore");
    case QMessageBox::No:
        return Nex_MessageBox::tr("No");
    case QMessageBox::NoToAll:
        return Nex_MessageBox::tr("No to All");
    case QMessageBox::Discard:
        return Nex_MessageBox::tr("Discard");
    case QMessageBox::Reset:
        return Nex_MessageBox::tr("Reset");
    case QMessageBox::RestoreDefaults:
        return Nex_MessageBox::tr("Restore Defaults");
    case QMessageBox::Help:
        return Nex_MessageBox::tr("Help");
    case QMessageBox::Abort:
        return Nex_MessageBox::tr("Abort");
    case QMessageBox::Close:
        return Nex_MessageBox::tr("Close");
    case QMessageBox::Cancel:
        return Nex_MessageBox::tr("Cancel");
    default:
        return QString();
    }
}

QStyle::StandardPixmap kindIcon(int kind)
{
    switch (kind) {
    case MessageBoxRequest::Question:
        return QStyle::SP_MessageBoxQuestion;
    case MessageBoxRequest::Warning:
        return QStyle::SP_MessageBoxWarning;
    case MessageBoxRequest::Error:
        return QStyle::SP_MessageBoxCritical;
    default:
        return QStyle::SP_MessageBoxInformation;
    }
}

} // namespace

Nex_MessageBox::Nex_MessageBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_icon(new QLabel(this)),
      m_title(new QLabel(this)), m_text(new QLabel(this)), m_detail(new QLabel(this)),
      m_buttonRow(new QHBoxLayout)
{
    setObjectName(QStringLiteral("Nex_MessageBox"));
    new Nex_Shadow(this);
    setModal(true);
    m_title->setObjectName(QStringLiteral("msgBoxTitle"));
    m_title->setProperty("class", QStringLiteral("normalTitle"));
    m_text->setObjectName(QStringLiteral("msgBoxText"));
    m_text->setWordWrap(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_detail->setObjectName(QStringLiteral("msgBoxDetail"));
    m_detail->setWordWrap(true);
    m_detail->hide();

    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(m_icon);
    titleRow->addWidget(m_title, 1);
    auto* layout = new QVBoxLayout(this);
    const int margin = DPI::Nex_Util::ScalePx(16);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->addLayout(titleRow);
    layout->addWidget(m_text);
    layout->addWidget(m_detail);
    m_buttonRow->addStretch(1);
    layout->addLayout(m_buttonRow);
    setMinimumWidth(DPI::Nex_Util::ScalePx(320));
    SetTitle(MessageBoxRequest::Information, QString());
    rebuildButtons();
}

Nex_MessageBox::~Nex_MessageBox() = default;

void Nex_MessageBox::SetTitle(int kind, const QString& title)
{
    m_request.kind = kind;
    m_request.title = title;
    m_title->setText(title);
    setWindowTitle(title);
    const int side = DPI::Nex_Util::ScalePx(24);
    m_icon->setPixmap(style()->standardIcon(kindIcon(kind)).pixmap(side, side));
}

void Nex_MessageBox::SetContent(const QString& text, const QString& detail)
{
    m_request.text = text;
    m_request.detail = detail;
    m_text->setText(text);
    m_detail->setText(detail);
    m_detail->setVisible(!detail.isEmpty());
}

void Nex_MessageBox::setTextOfRightBtn(const QString& text, bool accept)
{
    if (!m_rightBtn)
        return;
    m_rightBtn->setText(text);
    m_rightResult = accept ? int(QMessageBox::Ok) : int(QMessageBox::Close);
    const int standard = m_rightBtn->property("standardButton").toInt();
    m_request.buttonTexts.insert(standard, text);
}

void Nex_MessageBox::SetButtons(int buttons, int defaultButton, const QMap<int, QString>& texts)
{
    m_request.buttons = buttons;
    m_request.defaultButton = defaultButton;
    m_request.buttonTexts = texts;
    rebuildButtons();
}

void Nex_MessageBox::rebuildButtons()
{
    qDeleteAll(m_buttons);
    m_buttons.clear();
    m_rightBtn = nullptr;
    m_rightResult = 0;
    QList<int> wanted;
    for (int b : buttonOrder()) {
        if (m_request.buttons & b)
            wanted.append(b);
    }
    if (wanted.isEmpty())
        wanted.append(QMessageBox::Ok);
    for (int b : qAsConst(wanted)) {
        const QString text = m_request.buttonTexts.value(b, standardText(b));
        auto* button = new QPushButton(text, this);
        button->setObjectName(QStringLiteral("msgBoxBtn_%1").arg(b));
        button->setProperty("standardButton", b);
        button->setProperty("class", b == wanted.first() ? QStringLiteral("okBtn")
                                                         : QStringLiteral("normalBtn"));
        button->setDefault(b == m_request.defaultButton);
        connect(button, &QPushButton::clicked, this, [this, button, b]() {
            m_pressed = (button == m_rightBtn && m_rightResult) ? m_rightResult : b;
            done(m_pressed);
        });
        m_buttonRow->addWidget(button);
        m_buttons.append(button);
    }
    m_rightBtn = m_buttons.last();
}

int Nex_MessageBox::exec()
{
    MessageBoxSeam::Record(m_request);
    if (MessageBoxSeam::HasAnswerer())
        return MessageBoxSeam::Answer(m_request);
    m_pressed = 0;
    QDialog::exec();
    if (m_pressed)
        return m_pressed;
    // Closed without a button (Escape): report the most cautious button offered.
    for (int b : {int(QMessageBox::Cancel), int(QMessageBox::Close), int(QMessageBox::No)}) {
        if (m_request.buttons & b)
            return b;
    }
    return m_buttons.size() == 1 ? m_buttons.first()->property("standardButton").toInt() : 0;
}

int Nex_MessageBox::Show(QWidget* parent, const MessageBoxRequest& request)
{
    if (MessageBoxSeam::HasAnswerer()) {
        MessageBoxSeam::Record(request);
        return MessageBoxSeam::Answer(request);
    }
    Nex_MessageBox box(parent);
    box.SetTitle(request.kind, request.title);
    box.SetContent(request.text, request.detail);
    box.SetButtons(request.buttons, request.defaultButton, request.buttonTexts);
    return box.exec();
}

} // namespace Widgets
} // namespace Utils
