#pragma once
// The seal maker library (libsealmaker.so): turns a SealDescription into a one-page seal
// document (OFD) that the reader's engine opens and renders.
//
//   SMK::ISealMaker* maker = SMK::CreateSealMaker();
//   maker->SetSealDescription(&description); // copies what it needs
//   bool ok = maker->SaveSealDocument(utf8Path);
//   SMK::DestorySealMaker(maker);
//
// What the document shows (millimetres, y down; the seal's centre is the page's centre):
// - The page is the outline's width × height. The outline is drawn inside it with its line
//   width and colour: an oval touching the page's edges, a circle of the smaller side, or
//   a rectangle. Further shapes are drawn the same way around the same centre (a copy of
//   the outline is drawn once).
// - Colours are 0x00BBGGRR: red in the low byte, blue in the high byte.
// - A text item is drawn in its colour with the font named by `fontName` (the document
//   names it; a reader without that face uses another) at `fontSize`, the character
//   height. `stretch` scales each character horizontally (1 = as the font has it).
// - An arc item (`onArc` 1) puts its characters on the ellipse of radii radiusX/radiusY
//   around the centre, each character's centre on the ellipse, spread evenly from
//   `startAngle` (the first character) to `endAngle` (the last). Angles are degrees from
//   the top of the outline, growing clockwise, so negative angles lie left of the top and
//   a character at angle a sits at (radiusX·sin a, −radiusY·cos a) from the centre. Each
//   character stands upright with its foot towards the centre. One character sits midway.
// - A straight item (`onArc` 0) is one line centred on (x, y) from the centre: its
//   characters' middle height is at y, and each character takes `charWidth` of the line
//   (its own width times `stretch` when charWidth is 0), centred in its share.
// - A picture item is drawn in the box of width × height centred on (x, y).
// SaveSealDocument fails (and writes nothing) without a description, for an outline with
// no size, for numbers that are not finite or beyond a metre, and for a picture that
// cannot be read.

#include "sealdescription.h"

#if defined(SEALMAKER_LIBRARY)
#define SEALMAKER_EXPORT __attribute__((visibility("default")))
#else
#define SEALMAKER_EXPORT
#endif

namespace SMK
{

class ISealMaker
{
public:
    virtual ~ISealMaker() = default;
    virtual void SetSealDescription(const SealDescription* description) = 0;
    // Writes the seal document at `utf8Path` (replacing a file there only when complete).
    virtual bool SaveSealDocument(const char* utf8Path) = 0;
};

SEALMAKER_EXPORT ISealMaker* CreateSealMaker();
SEALMAKER_EXPORT void DestorySealMaker(ISealMaker* maker);

} // namespace SMK
