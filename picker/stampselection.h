#pragma once
// What the stamp picker hands to the stamping interceptors once a stamp was chosen: the
// placement parameters of one stamp.

#include <QSize>
#include <QString>

struct StampSelection {
    int stampId = 0;   // resource identifier of the picture in the document
    QSize stampSize;   // millimetres
    int pageIndex = 0; // automatic placement only
    double x = 0;      // automatic placement only: left edge, page millimetres
    double y = 0;      // automatic placement only: top edge, y down
    bool isAuto = false;
    bool applySign = false;
    QString imagePath;
};

// Where an automatic stamp goes on a page of `pageWidth` × `pageHeight` mm: `marginLR` mm
// from the right edge (directionLR 0) or the left edge (any other index), and `marginTB` mm
// from the bottom (directionTB 0) or the top. Computed in float, as the page sizes are.
inline void AutoStampPosition(float pageWidth, float pageHeight, const QSize& stampSize,
                              int marginLR, int marginTB, int directionLR, int directionTB,
                              double* x, double* y)
{
    *x = directionLR == 0 ? double(pageWidth - float(marginLR) - float(stampSize.width()))
                          : double(marginLR);
    *y = directionTB == 0 ? double(pageHeight - float(marginTB) - float(stampSize.height()))
                          : double(marginTB);
}
