#include "stampmakerwindow.h"

#include "stampoutput.h"

#include "host/utils/nex_messagebox.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>
#include <memory>

namespace
{
constexpr double kPreviewPixels = 260;
constexpr double kSavedDotsPerInch = 300;

QDoubleSpinBox* SideSpin(const QString& name, double value, QWidget* parent)
{
    auto* spin = new QDoubleSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(SealDesign::kMinSide, SealDesign::kMaxSide);
    spin->setDecimals(0);
    spin->setSuffix(QStringLiteral(" mm"));
    spin->setValue(value);
    return spin;
}
} // namespace

StampMakerWindow::StampMakerWindow(quint16 port, QWidget* parent)
    : QWidget(parent), m_port(port), m_shape(new QComboBox(this)), m_arcText(new QLineEdit(this)),
      m_star(new QCheckBox(tr("Star in the middle"), this)), m_centreText(new QLineEdit(this)),
      m_colourButton(new QPushButton(this)),
      m_width(SideSpin(QStringLiteral("widthSpin"), 40, this)),
      m_height(SideSpin(QStringLiteral("heightSpin"), 30, this)), m_preview(new QLabel(this)),
      m_save(new QPushButton(tr("Save"), this)), m_status(new QLabel(this))
{
    setWindowTitle(tr("Make a stamp"));
    m_shape->setObjectName(QStringLiteral("shapeBox"));
    m_shape->addItem(tr("Round"), int(SealDesign::Round));
    m_shape->addItem(tr("Oval"), int(SealDesign::Oval));
    m_arcText->setObjectName(QStringLiteral("arcTextEdit"));
    m_arcText->setPlaceholderText(tr("Text along the edge"));
    m_star->setObjectName(QStringLiteral("starCheck"));
    m_star->setChecked(true);
    m_centreText->setObjectName(QStringLiteral("centreTextEdit"));
    m_centreText->setPlaceholderText(tr("Text across the middle"));
    m_colourButton->setObjectName(QStringLiteral("colourButton"));
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setMinimumSize(int(kPreviewPixels), int(kPreviewPixels));
    m_preview->setAlignment(Qt::AlignCenter);
    m_save->setObjectName(QStringLiteral("saveButton"));
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);

    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(m_width);
    sizeRow->addWidget(new QLabel(QStringLiteral("×"), this));
    sizeRow->addWidget(m_height);
    auto* form = new QFormLayout;
    form->addRow(tr("Shape"), m_shape);
    form->addRow(tr("Arc text"), m_arcText);
    form->addRow(QString(), m_star);
    form->addRow(tr("Centre text"), m_centreText);
    form->addRow(tr("Colour"), m_colourButton);
    form->addRow(tr("Size (width × height)"), sizeRow);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_preview, 1);
    layout->addWidget(m_status);
    layout->addWidget(m_save, 0, Qt::AlignRight);

    // Typing would render on every key; a short pause renders once.
    m_previewTimer.setSingleShot(true);
    m_previewTimer.setInterval(120);
    connect(&m_previewTimer, &QTimer::timeout, this, &StampMakerWindow::UpdatePreview);
    auto later = [this]() { m_previewTimer.start(); };
    connect(m_shape, qOverload<int>(&QComboBox::currentIndexChanged), this, later);
    connect(m_arcText, &QLineEdit::textChanged, this, later);
    connect(m_star, &QCheckBox::toggled, this, later);
    connect(m_centreText, &QLineEdit::textChanged, this, later);
    connect(m_width, qOverload<double>(&QDoubleSpinBox::valueChanged), this, later);
    connect(m_height, qOverload<double>(&QDoubleSpinBox::valueChanged), this, later);
    connect(m_colourButton, &QPushButton::clicked, this, &StampMakerWindow::ChooseColour);
    connect(m_save, &QPushButton::clicked, this, &StampMakerWindow::Save);

    ShowColour();
    if (!m_renderer.IsLoaded()) {
        m_save->setEnabled(false);
        m_status->setText(m_renderer.LoadError());
        return;
    }
    UpdatePreview();
    if (m_port) {
        m_status->setText(tr("Connecting to the reader on port %1…").arg(m_port));
        const quint16 port = m_port;
        InBackground(
            [port]() {
                QString error;
                return StampOutput::AnnouncePort(port, &error) ? QString() : error;
            },
            [this](const QString& error) {
                m_status->setText(
                    error.isEmpty() ? tr("Saved stamps go to the reader's custom stamps.") : error);
            });
    }
}

StampMakerWindow::~StampMakerWindow()
{
    for (QThread* call : qAsConst(m_calls)) {
        call->wait();
        delete call;
    }
}

SealDesign StampMakerWindow::Design() const
{
    SealDesign design;
    design.shape = SealDesign::Shape(m_shape->currentData().toInt());
    design.arcText = m_arcText->text();
    design.star = m_star->isChecked();
    design.centreText = m_centreText->text();
    design.colour = m_colour;
    design.size = QSizeF(m_width->value(), m_height->value());
    return design;
}

void StampMakerWindow::UpdatePreview()
{
    const SealDesign design = Design();
    m_height->setEnabled(design.shape == SealDesign::Oval);
    const QSizeF mm = design.DrawnSize();
    const double dpi = kPreviewPixels / std::max(mm.width(), mm.height()) * 25.4;
    QString error;
    const QImage image = m_renderer.Render(design, dpi, &error);
    if (image.isNull()) {
        m_preview->setPixmap(QPixmap());
        m_preview->setText(error);
    } else {
        m_preview->setPixmap(QPixmap::fromImage(image));
    }
}

void StampMakerWindow::ChooseColour()
{
    const QColor chosen = QColorDialog::getColor(m_colour, this, tr("Seal colour"));
    if (!chosen.isValid())
        return;
    m_colour = chosen;
    ShowColour();
    m_previewTimer.start();
}

void StampMakerWindow::ShowColour()
{
    QPixmap swatch(32, 16);
    swatch.fill(m_colour);
    m_colourButton->setIcon(QIcon(swatch));
    m_colourButton->setText(m_colour.name());
}

void StampMakerWindow::Save()
{
    const SealDesign design = Design();
    QString error;
    const QImage image = m_renderer.Render(design, kSavedDotsPerInch, &error);
    const QString path =
        image.isNull() ? QString() : StampOutput::SavePicture(image, design.arcText, &error);
    if (path.isEmpty()) {
        ShowError(error);
        emit Saved(QString());
        return;
    }
    if (!m_port) {
        m_status->setText(tr("Saved as %1.").arg(path));
        emit Saved(path);
        return;
    }
    m_save->setEnabled(false);
    m_status->setText(tr("Saved as %1; adding it to the reader…").arg(path));
    const quint16 port = m_port;
    const QSize mm = design.DrawnSize().toSize();
    InBackground(
        [port, path, mm]() {
            QString why;
            return StampOutput::Report(port, path, mm, &why) ? QString() : why;
        },
        [this, path](const QString& why) {
            m_save->setEnabled(true);
            if (why.isEmpty()) {
                m_status->setText(
                    tr("Saved as %1 and added to the reader's custom stamps.").arg(path));
            } else {
                m_status->setText(tr("Saved as %1.").arg(path));
                ShowError(tr("%1\nThe picture is kept as %2; you can add it from the "
                             "stamp picker's Add menu.")
                              .arg(why, path));
            }
            emit Saved(path);
        });
}

void StampMakerWindow::ShowError(const QString& text)
{
    Utils::Widgets::MessageBoxRequest request;
    request.kind = Utils::Widgets::MessageBoxRequest::Warning;
    request.title = tr("Make a stamp");
    request.text = text;
    Utils::Widgets::Nex_MessageBox::Show(this, request);
}

void StampMakerWindow::InBackground(std::function<QString()> work,
                                    std::function<void(QString)> done)
{
    auto result = std::make_shared<QString>();
    QThread* call = QThread::create([work, result]() { *result = work(); });
    m_calls << call;
    connect(call, &QThread::finished, this, [this, call, result, done]() {
        m_calls.removeOne(call);
        call->deleteLater();
        done(*result);
    });
    call->start();
}
