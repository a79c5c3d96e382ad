#pragma once
// Draws the objects of an OFD page read by OfdReader. The painter's coordinates must be
// the page's millimetres (y down). Fonts are taken by family name; a family the machine
// lacks falls back to an installed face with the glyphs, so texts stay readable.

class QPainter;
struct OfdDocumentData;
struct OfdPageData;

namespace OfdRender
{
void DrawPage(QPainter* painter, const OfdPageData& page, const OfdDocumentData& doc);
}
