#pragma once
// The stamp maker's form: shape, arc text, star and centre text, colour and size in
// millimetres, with a preview that follows every change. "Save" writes the PNG to the user
// stamp folder and, when started by the reader, reports it to the reader's picker.
//
// Object names: "shapeBox", "arcTextEdit", "starCheck", "centreTextEdit", "colourButton",
// "widthSpin", "heightSpin", "preview", "saveButton", "status". Messages go through the
// reader's message box seam.

#include "sealdesign.h"
#include "sealrenderer.h"

#include <QList>
#include <QTimer>
#include <QWidget>
#include <functional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QThread;

class StampMakerWindow : public QWidget
{
    Q_OBJECT
public:
    // `port` 0: not started by a reader; the stamp is only saved.
    explicit StampMakerWindow(quint16 port, QWidget* parent = nullptr);
    // Waits for a report still on its way, so that it is not cut off.
    ~StampMakerWindow() override;

    SealDesign Design() const;

signals:
    // After each save: the PNG's path, or empty when it failed.
    void Saved(const QString& path);

private:
    void UpdatePreview();
    void ChooseColour();
    void ShowColour();
    void Save();
    void ShowError(const QString& text);
    // Runs `work` on a thread of its own and hands its message (empty: success) to `done`
    // here: RPC calls block, and a reader that hangs must not freeze the form.
    void InBackground(std::function<QString()> work, std::function<void(QString)> done);

    quint16 m_port;
    SealRenderer m_renderer;
    QColor m_colour = QColor(255, 0, 0);
    QComboBox* m_shape;
    QLineEdit* m_arcText;
    QCheckBox* m_star;
    QLineEdit* m_centreText;
    QPushButton* m_colourButton;
    QDoubleSpinBox* m_width;
    QDoubleSpinBox* m_height;
    QLabel* m_preview;
    QPushButton* m_save;
    QLabel* m_status;
    QTimer m_previewTimer;
    QList<QThread*> m_calls;
};
