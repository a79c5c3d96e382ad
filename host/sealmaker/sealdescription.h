#pragma once
// The description of a seal that the seal maker draws: an outline (oval, circle or
// rectangle), further shapes, text items set along the outline's arc or on a straight line,
// and pictures. Callers hand it to the maker by address, so its layout is part of the
// library's interface: the static_asserts below pin every offset (64-bit, the standard
// library's 32-byte strings and 24-byte vectors).
//
// Units are millimetres; positions of straight texts are relative to the seal's centre,
// y down; angles are degrees, 0 at the top of the outline, growing clockwise; colours are
// 0x00BBGGRR (blue in the high byte).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace SMK
{

enum SealShapeType : std::int32_t {
    SealCircle = 1,
    SealOval = 2,
    SealRectangle = 3,
};

struct SealShape {
    std::int32_t type = SealOval;
    float height = 0;
    float width = 0;
    float lineWidth = 0;
    std::int32_t reserved[2] = {0, 0};
    std::uint32_t colour = 0;
    std::uint8_t flag = 0;
    std::int32_t last = 0;
};

struct SealTextItem {
    std::string text;     // UTF-8
    std::string fontName; // family
    float fontSize = 0;   // character height
    std::uint8_t flag1 = 0;
    float stretch = 1.0f; // horizontal stretch of each character
    std::uint32_t colour = 0;
    std::int32_t onArc = 0; // 1: along the outline's arc; 0: on a straight line
    std::uint8_t flag2 = 0;
    float x = 0;         // straight text: centre of the line, from the seal's centre
    float y = 0;         // straight text: middle of the line's height, from the centre, down
    float charWidth = 0; // straight text: advance of each character
    float radiusX = 0;   // arc text: radii of the ellipse the characters stand on
    float radiusY = 0;
    float startAngle = 0; // arc text: first and last character, degrees
    float endAngle = 0;
    std::uint8_t flag3 = 0;
};

struct SealPictureItem {
    std::string path; // a picture file
    float x = 0;      // its box's centre, from the seal's centre
    float y = 0;
    float width = 0;
    float height = 0;
};

struct SealDescription {
    SealShape outline;
    std::vector<SealShape> shapes;
    std::vector<SealTextItem> texts;
    std::vector<SealPictureItem> pictures;
};

static_assert(sizeof(void*) == 8, "the seal maker's interface is 64-bit");
static_assert(sizeof(std::string) == 32 && sizeof(std::vector<int>) == 24,
              "the seal maker's interface needs 32-byte strings and 24-byte vectors");
static_assert(sizeof(SealShape) == 36, "SealShape layout");
static_assert(offsetof(SealShape, height) == 4 && offsetof(SealShape, width) == 8
                  && offsetof(SealShape, lineWidth) == 12 && offsetof(SealShape, colour) == 24
                  && offsetof(SealShape, flag) == 28 && offsetof(SealShape, last) == 32,
              "SealShape layout");
static_assert(sizeof(SealTextItem) == 120, "SealTextItem layout");
static_assert(offsetof(SealTextItem, fontName) == 32 && offsetof(SealTextItem, fontSize) == 64
                  && offsetof(SealTextItem, flag1) == 68 && offsetof(SealTextItem, stretch) == 72
                  && offsetof(SealTextItem, colour) == 76 && offsetof(SealTextItem, onArc) == 80
                  && offsetof(SealTextItem, flag2) == 84 && offsetof(SealTextItem, x) == 88
                  && offsetof(SealTextItem, y) == 92 && offsetof(SealTextItem, charWidth) == 96
                  && offsetof(SealTextItem, radiusX) == 100
                  && offsetof(SealTextItem, radiusY) == 104
                  && offsetof(SealTextItem, startAngle) == 108
                  && offsetof(SealTextItem, endAngle) == 112
                  && offsetof(SealTextItem, flag3) == 116,
              "SealTextItem layout");
static_assert(sizeof(SealPictureItem) == 48, "SealPictureItem layout");
static_assert(sizeof(SealDescription) == 112 && offsetof(SealDescription, shapes) == 40
                  && offsetof(SealDescription, texts) == 64
                  && offsetof(SealDescription, pictures) == 88,
              "SealDescription layout");

} // namespace SMK
