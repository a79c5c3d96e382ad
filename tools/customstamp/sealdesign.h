#pragma once
// What a person chooses for a seal, as a value: the form edits one, the non-interactive mode
// reads one from text, and Description() turns it into the seal maker's record.

#include "host/sealmaker/sealdescription.h"

#include <QColor>
#include <QRectF>
#include <QString>

struct SealDesign {
    enum Shape { Round, Oval };

    Shape shape = Round;
    QString arcText;    // set along the upper arc
    QString centreText; // one straight line across the middle (below the star if any)
    bool star = true;
    QColor colour = QColor(255, 0, 0);
    QSizeF size = QSizeF(40, 40); // millimetres; a round seal uses the width for both

    static constexpr double kMinSide = 10;
    static constexpr double kMaxSide = 100;

    // The seal's size in millimetres as drawn: a round seal is as high as it is wide.
    QSizeF DrawnSize() const;
    // False with a message for people when the design cannot make a seal.
    bool Check(QString* error) const;

    // One setting by its key (below); false with a message naming the bad value.
    bool Set(const QString& key, const QString& value, QString* error);
    // "text=…;shape=round|oval;colour=#rrggbb;size=40x30" plus "centre=…" and
    // "star=yes|no". Keys may come in any order; those left out keep their value in
    // `design`. False with a message naming the bad key or value.
    static bool Parse(const QString& settings, SealDesign* design, QString* error);

    // The seal maker's record: the outline, the arc text and the centre text. The star is a
    // picture (the maker draws no stars), so it is passed separately: `starPicture` is a
    // PNG file of the star in the seal's colour, or empty for none.
    SMK::SealDescription Description(const QString& starPicture) const;
    // The star's box: centred on the seal's middle, a little above it when there is text
    // below; millimetres from the centre.
    QRectF StarBox() const;
};
