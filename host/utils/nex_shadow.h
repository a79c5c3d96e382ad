#pragma once

namespace Utils
{
namespace Widgets
{

// The shadow frame drawn around the reader's frameless dialogs.
class Nex_Shadow
{
public:
    static constexpr int kBaseWidth = 8;
    static int ShadowWidth(); // pixels of the frameless dialogs' shadow, DPI-scaled
};

} // namespace Widgets
} // namespace Utils
