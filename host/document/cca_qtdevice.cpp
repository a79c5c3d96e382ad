#include "cca_qtdevice.h"

#include <QPainter>

bool CCA_QtDevice::Attach(QPainter* painter, int /*flags*/)
{
    // A painter that is not active has no device to draw on: refuse it rather than
    // let every later drawing call warn.
    if (!painter || !painter->isActive()) {
        m_painter = nullptr;
        return false;
    }
    m_painter = painter;
    return true;
}
