#pragma once

class QPainter;

// A graphics device that draws onto a QPainter owned by the caller.
class CCA_QtDevice {
public:
    CCA_QtDevice() = default;
    // `flags` is reserved (pass 0). The painter must outlive the drawing calls.
    bool Attach(QPainter* painter, int flags);
    QPainter* Painter() const { return m_painter; }

private:
    QPainter* m_painter = nullptr;
};
